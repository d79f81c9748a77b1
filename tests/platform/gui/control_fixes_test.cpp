// A form made again for a new frame stays as the user saw it; a right-aligned label sizing itself keeps its
// right edge.
#include "gui_fixture.h"

#include "platform/gui/ext_controls.h"

namespace guitest {
namespace {

using namespace win;

class ControlFixes : public TGuiFixture {};

TEST_F(ControlFixes, ChangingTheFrameOfAShownFormKeepsItAsItWas)
{
    TForm* other = NewForm(Bounds(600, 100, 200, 150));
    other->Show();
    TForm* form = NewForm(Bounds(120, 80, 400, 300));
    form->SetCaption("Settings");
    auto* first = new TCustomControl(form);
    first->SetTabStop(true);
    first->SetBounds(10, 10, 80, 20);
    first->SetParent(form);
    auto* second = new TCustomControl(form);
    second->SetTabStop(true);
    second->SetBounds(10, 40, 80, 20);
    second->SetParent(form);
    form->Show();
    second->SetFocus();
    Pump();
    ASSERT_TRUE(second->Focused());

    struct TChange {
        const char* Name;
        std::function<void()> Apply;
    };
    const TChange changes[] = {
        {"border style", [&] { form->SetBorderStyle(bsSizeable); }},
        {"border icons", [&] { form->SetBorderIcons({biSystemMenu}); }},
        {"no frame", [&] { form->SetBorderStyle(bsNone); }},
    };
    for (const TChange& change : changes) {
        SCOPED_TRACE(change.Name);
        HWND before = form->Handle();
        change.Apply();
        Pump();
        EXPECT_NE(form->Handle(), before);  // really made again
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(GetActiveWindow(), form->Handle());
        EXPECT_TRUE(form->Active());
        EXPECT_TRUE(second->Focused());
        EXPECT_EQ(form->Left(), 120);
        EXPECT_EQ(form->Top(), 80);
        EXPECT_EQ(GetWindowText(form->Handle()), "Settings");
        EXPECT_TRUE(IsWindowVisible(first->Handle()));
    }

    // A form in the background stays in the background; a hidden one stays hidden.
    form->SetActiveControl(second);
    other->SetFocus();
    Pump();
    form->SetBorderStyle(bsSingle);
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(GetActiveWindow(), other->Handle());
    form->Hide();
    form->SetBorderStyle(bsDialog);
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(ControlFixes, RightAlignedAutoSizeLabelKeepsItsRightEdge)
{
    TForm* form = NewForm();
    struct TCase {
        TAlignment Alignment;
        bool KeepsRight;
    };
    for (TCase c : {TCase{taLeftJustify, false}, TCase{taRightJustify, true}, TCase{taCenter, false}}) {
        SCOPED_TRACE(static_cast<int>(c.Alignment));
        auto* label = new TLabel(form);
        label->SetParent(form);
        label->SetAlignment(c.Alignment);
        label->SetCaption("Short");
        label->SetLeft(300 - label->Width());
        int left = label->Left(), right = label->Left() + label->Width();
        label->SetCaption("A much longer caption");
        EXPECT_GT(label->Width(), right - left);
        if (c.KeepsRight)
            EXPECT_EQ(label->Left() + label->Width(), right);
        else
            EXPECT_EQ(label->Left(), left);
        label->SetCaption("S");
        if (c.KeepsRight)
            EXPECT_EQ(label->Left() + label->Width(), right);
        else
            EXPECT_EQ(label->Left(), left);
        delete label;
    }
}

}  // namespace
}  // namespace guitest
