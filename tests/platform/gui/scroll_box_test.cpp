#include "gui_fixture.h"

#include "platform/gui/scroll_box.h"

namespace guitest {
namespace {

using namespace win;

class ScrollBox : public TGuiFixture {
protected:
    // A 200 x 100 box on a shown form.
    TScrollBox* NewBox()
    {
        TForm* form = NewForm();
        form->Show();
        auto* box = new TScrollBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 200, 100);
        return box;
    }
    TControl* Child(TScrollBox* ABox, TRect ABounds, bool AWindowed = false)
    {
        TControl* child = AWindowed ? static_cast<TControl*>(new TCustomControl(ABox))
                                    : static_cast<TControl*>(new TGraphicControl(ABox));
        child->SetBoundsRect(ABounds);
        child->SetParent(ABox);
        return child;
    }
};

TEST_F(ScrollBox, RangesFollowTheChildrensExtent)
{
    TScrollBox* box = NewBox();
    TControlScrollBar* horz = box->HorzScrollBar();
    TControlScrollBar* vert = box->VertScrollBar();
    EXPECT_TRUE(box->AutoScroll());
    EXPECT_EQ(horz->Range(), 0);
    EXPECT_FALSE(horz->IsScrollBarVisible());

    TControl* far = Child(box, Bounds(150, 250, 100, 20), true);
    Child(box, Bounds(0, 0, 20, 20));
    EXPECT_EQ(horz->Range(), 250);
    EXPECT_EQ(vert->Range(), 270);
    EXPECT_TRUE(horz->IsScrollBarVisible());
    EXPECT_TRUE(vert->IsScrollBarVisible());
    EXPECT_TRUE(GetWindowLong(box->Handle(), GWL_STYLE) & WS_VSCROLL);
    int low = -1, high = -1;
    GetScrollRange(box->Handle(), SB_VERT, &low, &high);
    EXPECT_EQ(high, 269);

    // Moving, hiding and the margin all count; a child that stretches with the box does not.
    far->SetLeft(40);
    EXPECT_EQ(horz->Range(), 140);
    vert->SetMargin(10);
    EXPECT_EQ(vert->Range(), 280);
    auto* stretched = Child(box, Bounds(0, 0, 900, 10));
    stretched->SetAnchors({akLeft, akTop, akRight});
    box->Realign();
    EXPECT_EQ(horz->Range(), 140);
    far->Hide();
    EXPECT_EQ(vert->Range(), 30);
    EXPECT_FALSE(vert->IsScrollBarVisible());
    EXPECT_FALSE(GetWindowLong(box->Handle(), GWL_STYLE) & WS_VSCROLL);

    // A range set by hand stops the box from measuring.
    vert->SetRange(500);
    EXPECT_FALSE(box->AutoScroll());
    far->Show();
    EXPECT_EQ(vert->Range(), 500);
}

TEST_F(ScrollBox, ScrollingMovesTheChildrenAndStaysInsideTheRange)
{
    TScrollBox* box = NewBox();
    TControl* windowed = Child(box, Bounds(20, 30, 50, 400), true);
    TControl* graphic = Child(box, Bounds(100, 40, 10, 10));
    auto* banner = Child(box, Bounds(0, 0, 5, 15));
    banner->SetAlign(alTop);
    TControlScrollBar* vert = box->VertScrollBar();
    ASSERT_EQ(vert->Range(), 430);

    struct TStep {
        const char* Name;
        WORD Code;
        int Thumb;
        int Expected;
    };
    // Page 100, increment 8, the farthest position 330.
    const std::vector<TStep> steps = {
        {"line down", SB_LINEDOWN, 0, 8},     {"page down", SB_PAGEDOWN, 0, 108},
        {"thumb", SB_THUMBPOSITION, 200, 200}, {"tracking off ignores the drag", SB_THUMBTRACK, 10, 200},
        {"bottom", SB_BOTTOM, 0, 330},         {"past the end", SB_LINEDOWN, 0, 330},
        {"page up", SB_PAGEUP, 0, 230},        {"top", SB_TOP, 0, 0},
        {"before the start", SB_LINEUP, 0, 0},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Name);
        box->Perform(WM_VSCROLL, MAKEWPARAM(step.Code, step.Thumb), 0);
        EXPECT_EQ(vert->Position(), step.Expected);
        EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), step.Expected);  // the window keeps the same state
        EXPECT_EQ(windowed->Top(), 30 - step.Expected);
        EXPECT_EQ(graphic->Top(), 40 - step.Expected);
        EXPECT_EQ(banner->Top(), -step.Expected);  // aligned children scroll with the content
        TRect window;
        GetWindowRect(static_cast<TWinControl*>(windowed)->Handle(), window);
        EXPECT_EQ(window.Top, box->ClientOrigin().Y + 30 - step.Expected);
    }

    // A taller box leaves less to scroll: the content comes back down with it.
    vert->SetPosition(330);
    box->SetHeight(300);
    EXPECT_EQ(vert->Position(), 130);
    EXPECT_EQ(windowed->Top(), 30 - 130);
    // Realigning after a scroll keeps everything where it is.
    box->Realign();
    EXPECT_EQ(banner->Top(), -130);
    EXPECT_EQ(graphic->Top(), 40 - 130);
}

TEST_F(ScrollBox, ScrollInViewBringsAChildIntoTheClientArea)
{
    TScrollBox* box = NewBox();
    TControl* right = Child(box, Bounds(500, 10, 40, 20));
    TControl* huge = Child(box, Bounds(0, 300, 20, 500));
    box->ScrollInView(right);
    EXPECT_EQ(box->HorzScrollBar()->Position(), 340);
    EXPECT_EQ(right->Left(), 160);
    box->ScrollInView(huge);  // larger than the box: its top edge shows
    EXPECT_EQ(box->VertScrollBar()->Position(), 300);
    EXPECT_EQ(huge->Top(), 0);
    box->HorzScrollBar()->SetPosition(400);
    box->ScrollInView(right);  // left of the view now
    EXPECT_EQ(box->HorzScrollBar()->Position(), 340);
    box->ScrollInView(nullptr);
    box->ScrollInView(box);
    EXPECT_EQ(box->HorzScrollBar()->Position(), 340);
}

}  // namespace
}  // namespace guitest
