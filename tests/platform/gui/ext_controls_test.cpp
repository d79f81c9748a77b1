#include "gui_fixture.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"

namespace guitest {
namespace {

using namespace win;

class SimpleControls : public TGuiFixture {};

TEST_F(SimpleControls, LabelAcceleratorFocusesItsControlAndSizesToItsText)
{
    TForm* form = NewForm();
    auto* edit = new TCustomControl(form);
    edit->SetTabStop(true);
    edit->SetBounds(100, 10, 80, 20);
    edit->SetParent(form);
    auto* other = new TCustomControl(form);
    other->SetTabStop(true);
    other->SetBounds(100, 40, 80, 20);
    other->SetParent(form);
    auto* label = new TLabel(form);
    label->SetCaption("&Name:");
    label->SetFocusControl(edit);
    label->SetParent(form);
    form->Show();
    other->SetFocus();
    Pump();

    EXPECT_GT(label->Width(), 10);
    EXPECT_GT(label->Height(), 8);
    int oneLine = label->Height();
    label->SetCaption("&Name:\nSecond line");
    EXPECT_GT(label->Height(), oneLine);

    Display.KeyDown(VK_MENU);
    Display.PressKey('N', U'n');
    Display.KeyUp(VK_MENU);
    Pump();
    EXPECT_TRUE(edit->Focused());

    // Without accelerators shown, or with the control gone, the key does nothing.
    other->SetFocus();
    Pump();
    label->SetShowAccelChar(false);
    Display.KeyDown(VK_MENU);
    Display.PressKey('N', U'n');
    Display.KeyUp(VK_MENU);
    Pump();
    EXPECT_TRUE(other->Focused());
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(SimpleControls, PanelBevelsNarrowTheAreaForAlignedChildren)
{
    TForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetBounds(0, 0, 100, 60);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    panel->SetParent(form);
    auto* child = new TGraphicControl(form);
    child->SetAlign(alClient);
    child->SetParent(panel);
    form->Show();
    EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 93, 53));  // 2 outer + 3 border + 2 inner
    panel->SetBevelOuter(bvNone);
    EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 95, 55));
}

TEST_F(SimpleControls, ImageSizesToItsPictureAndPlacesIt)
{
    TForm* form = NewForm();
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetAutoSize(true);
    image->Picture()->Bitmap()->SetSize(40, 20);
    EXPECT_EQ(image->Width(), 40);
    EXPECT_EQ(image->Height(), 20);

    image->SetAutoSize(false);
    image->SetBounds(0, 0, 100, 100);
    struct TCase {
        bool Stretch, Proportional, Center;
        TRect Expected;
    };
    const std::vector<TCase> cases = {
        {false, false, false, Rect(0, 0, 40, 20)},
        {false, false, true, Bounds(30, 40, 40, 20)},
        {true, false, false, Rect(0, 0, 100, 100)},
        {true, true, false, Rect(0, 0, 100, 50)},
        {true, true, true, Bounds(0, 25, 100, 50)},
    };
    for (const TCase& c : cases) {
        image->SetStretch(c.Stretch);
        image->SetProportional(c.Proportional);
        image->SetCenter(c.Center);
        EXPECT_EQ(image->DestRect(), c.Expected);
    }
}

}  // namespace
}  // namespace guitest
