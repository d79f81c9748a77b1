#include "gui_fixture.h"

#include "platform/gui/forms.h"

namespace guitest {
namespace {

using namespace win;

class Constraints : public TGuiFixture {};

TEST_F(Constraints, EverySizeGivenByCodeStaysWithinTheLimits)
{
    struct TCase {
        const char* Name;
        TConstraintSize MinW, MinH, MaxW, MaxH;
        TRect Asked;
        TRect Expected;
    };
    const std::vector<TCase> cases = {
        {"no limits", 0, 0, 0, 0, Bounds(1, 2, 3, 4), Bounds(1, 2, 3, 4)},
        {"raised to the minimum", 50, 40, 0, 0, Bounds(1, 2, 3, 4), Bounds(1, 2, 50, 40)},
        {"lowered to the maximum", 0, 0, 60, 30, Bounds(1, 2, 300, 400), Bounds(1, 2, 60, 30)},
        {"inside stays", 10, 10, 100, 100, Bounds(5, 5, 70, 80), Bounds(5, 5, 70, 80)},
        {"one axis only", 0, 25, 0, 0, Bounds(0, 0, 500, 1), Bounds(0, 0, 500, 25)},
    };
    TForm* form = NewForm();
    form->HandleNeeded();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // Both kinds of control: a windowless one and one with a window of its own.
        auto* graphic = new TGraphicControl(form);
        auto* windowed = new TCustomControl(form);
        for (TControl* control : {static_cast<TControl*>(graphic), static_cast<TControl*>(windowed)}) {
            control->SetParent(form);
            control->Constraints()->SetMinWidth(c.MinW);
            control->Constraints()->SetMinHeight(c.MinH);
            control->Constraints()->SetMaxWidth(c.MaxW);
            control->Constraints()->SetMaxHeight(c.MaxH);
            control->SetBoundsRect(c.Asked);
            EXPECT_EQ(control->BoundsRect(), c.Expected);
        }
        delete graphic;
        delete windowed;
    }
}

TEST_F(Constraints, LimitsNeverCrossAndAChangeResizesAtOnce)
{
    TForm* form = NewForm();
    auto* panel = new TCustomControl(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 100, 100);
    int resizes = 0;
    panel->OnResize = [&](TObject*) { ++resizes; };
    TSizeConstraints* limits = panel->Constraints();

    limits->SetMaxWidth(80);
    EXPECT_EQ(panel->Width(), 80);
    limits->SetMinWidth(120);  // above the maximum: the maximum follows
    EXPECT_EQ(limits->MaxWidth(), 120);
    EXPECT_EQ(panel->Width(), 120);
    limits->SetMaxWidth(90);  // below the minimum: the minimum follows
    EXPECT_EQ(limits->MinWidth(), 90);
    EXPECT_EQ(panel->Width(), 90);
    limits->SetMinHeight(-5);
    EXPECT_EQ(limits->MinHeight(), 0);
    EXPECT_EQ(resizes, 3);

    // Saving and restoring, as a panel that rolls up does.
    TSizeConstraints saved;
    saved.Assign(limits);
    limits->SetMinWidth(0);
    limits->SetMaxWidth(0);
    panel->SetWidth(10);
    EXPECT_EQ(panel->Width(), 10);
    limits->Assign(&saved);
    EXPECT_EQ(panel->Width(), 90);
}

TEST_F(Constraints, AlignmentRespectsTheLimitsOfTheAlignedControl)
{
    TForm* form = NewForm();
    form->SetClientSize(300, 200);
    form->HandleNeeded();
    auto* top = new TCustomControl(form);
    top->Constraints()->SetMaxWidth(120);
    top->SetHeight(30);
    top->SetAlign(alTop);
    top->SetParent(form);
    auto* client = new TGraphicControl(form);
    client->Constraints()->SetMinHeight(400);
    client->SetAlign(alClient);
    client->SetParent(form);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 120, 30));
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 30, 300, 400));
}

TEST_F(Constraints, TheUserSizingAFormStopsAtItsLimits)
{
    TForm* form = NewForm(Bounds(100, 100, 400, 300));
    form->SetBorderStyle(bsSizeable);
    form->Constraints()->SetMinWidth(300);
    form->Constraints()->SetMaxHeight(320);
    form->Show();
    Pump();
    // Bottom-right corner: narrower than allowed and higher than allowed.
    Display.Drag({498, 398}, {298, 448}, 4);
    Pump();
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 300, 320));
    // Left edge dragged far right: the right edge stays where it is.
    Display.Drag({101, 250}, {301, 250}, 4);
    Pump();
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 300, 320));
    // The window layer's own placement keeps the limits too.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 50, 900, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 300, 320));
    MINMAXINFO info = GetMinMaxInfo(form->Handle());
    EXPECT_EQ(info.ptMinTrackSize.X, 300);
    EXPECT_EQ(info.ptMaxTrackSize.Y, 320);
    // Minimizing is no sizing: the form comes back with its own size.
    form->SetWindowState(wsMinimized);
    form->SetWindowState(wsNormal);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 300, 320));
}

}  // namespace
}  // namespace guitest
