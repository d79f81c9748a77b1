// Status bar: the grip's rectangle and the area left to the children, the hit codes over and beside the grip,
// sizing the form from the grip, and the drawn grip in both looks.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/graphics.h"
#include "skin/controls/status_bar.h"
#include "skin/core/skin_records.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

using controlstest::Fill;

constexpr TColor kBar = static_cast<TColor>(0x404040), kGrip = static_cast<TColor>(0x00C0FF),
                 kKey = static_cast<TColor>(0xFF00FF);

class StatusBarTest : public controlstest::TControlsFixture {
protected:
    TspSkinStatusBar* NewBar()
    {
        auto* b = new TspSkinStatusBar(Form);
        b->SetParent(Form);
        Pump();
        return b;
    }
    // A 40 x 21 nine-piece bar picture and a 12 x 12 grip picture whose corner is the key colour.
    void SkinBar(TspSkinStatusBar* ABar)
    {
        const Integer index = AddPicture(60, 21, kBar);
        Fill(PictureAt(index), Rect(40, 0, 52, 12), kGrip);
        Fill(PictureAt(index), Rect(40, 0, 44, 4), kKey);
        auto* r = AddRecord<TspDataSkinPanelControl>("statusbar");
        r->PictureIndex = index;
        r->SkinRect = Rect(0, 0, 40, 21);
        r->LTPoint = {2, 2};
        r->RTPoint = {38, 2};
        r->LBPoint = {2, 19};
        r->RBPoint = {38, 19};
        r->ClRect = Rect(2, 2, 38, 19);
        r->GripperRect = Rect(40, 0, 52, 12);
        r->GripperTransparent = true;
        r->GripperTransparentColor = kKey;
        ABar->SetSkinData(Skin);
        Pump();
    }
    win::LRESULT HitAt(TControl* AControl, Integer AX, Integer AY)
    {
        const TPoint at = ScreenPoint(AControl, AX, AY);
        return win::SendMessage(static_cast<TWinControl*>(AControl)->Handle(), win::WM_NCHITTEST, 0,
                                win::PointToLParam(at));
    }
};

TEST_F(StatusBarTest, GripRectangleAndChildAreaByMode)
{
    auto* b = NewBar();
    const Integer w = b->Width();
    ASSERT_EQ(b->Height(), 21);
    ASSERT_EQ(b->Top() + b->Height(), Form->ClientHeight());  // docked at the bottom
    struct Case {
        const char* Name;
        bool SizeGrip, ShowGrip;
        TRect Client;
    };
    const std::vector<Case> cases = {
        {"no grip", false, true, Rect(0, 0, w, 21)},
        {"grip", true, true, Rect(0, 0, w - 21, 21)},
        {"grip hidden (maximized form)", true, false, Rect(0, 0, w, 21)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        b->SetSizeGrip(c.SizeGrip);
        b->SetShowGrip(c.ShowGrip);
        EXPECT_EQ(b->GetSkinClientRect(), c.Client);
    }
    b->SetShowGrip(true);
    EXPECT_EQ(b->GripRect(), Rect(w - 19, 0, w, 19));
    SkinBar(b);
    b->Realign();
    // A borderless bar keeps its whole height; the grip picture stands in the bottom-right corner.
    EXPECT_EQ(b->GetSkinClientRect(), Rect(0, 0, w - 12, 21));
    EXPECT_EQ(b->GripRect(), Rect(w - 12, 9, w, 21));
}

TEST_F(StatusBarTest, HitCodesOverAndBesideTheGrip)
{
    auto* b = NewBar();
    const Integer w = b->Width();
    struct Case {
        const char* Name;
        TPoint At;
        win::LRESULT Hit;
    };
    const std::vector<Case> cases = {
        {"grip's middle", {w - 10, 10}, win::HTBOTTOMRIGHT},
        {"grip's left edge", {w - 19, 0}, win::HTBOTTOMRIGHT},
        {"grip's bottom edge", {w - 5, 19}, win::HTBOTTOMRIGHT},
        {"below the grip", {w - 5, 20}, win::HTCLIENT},
        {"left of the grip", {w - 20, 10}, win::HTCLIENT},
        {"the bar's left end", {3, 10}, win::HTCLIENT},
    };
    b->SetSizeGrip(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(HitAt(b, c.At.X, c.At.Y), c.Hit);
    }
    b->SetShowGrip(false);
    EXPECT_EQ(HitAt(b, w - 10, 10), win::HTCLIENT);
}

TEST_F(StatusBarTest, DraggingTheGripSizesTheForm)
{
    Form->SetBorderStyle(bsSizeable);
    Pump();
    auto* b = NewBar();
    b->SetSizeGrip(true);
    Pump();
    const TRect before = Form->BoundsRect();
    const TPoint from = ScreenPoint(b, b->Width() - 8, 12);
    Display.Drag(from, {from.X + 40, from.Y + 30}, 4);
    Pump();
    EXPECT_EQ(Form->Width(), before.Width() + 40);
    EXPECT_EQ(Form->Height(), before.Height() + 30);
    EXPECT_EQ(Form->Left(), before.Left);
    // The bar stays docked and keeps its height.
    EXPECT_EQ(b->Height(), 21);
    EXPECT_EQ(b->Top() + b->Height(), Form->ClientHeight());
    // A drag on the rest of the bar sizes nothing.
    const TRect sized = Form->BoundsRect();
    Display.Drag(ScreenPoint(b, 20, 10), ScreenPoint(b, 60, 15), 4);
    Pump();
    EXPECT_EQ(Form->BoundsRect(), sized);
}

TEST_F(StatusBarTest, GripIsDrawnInBothLooks)
{
    auto* b = NewBar();
    const Integer w = b->Width();
    b->SetSizeGrip(true);
    Pump();
    // The first stroke pair rises from 3 pixels into the grip's bottom edge (row 19).
    EXPECT_EQ(ScreenColor(b, w - 16, 19), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(ScreenColor(b, w - 15, 18), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(ScreenColor(b, w - 14, 18), static_cast<TColor>(ColorToRGB(clBtnHighlight)));
    EXPECT_EQ(ScreenColor(b, w - 30, 10), static_cast<TColor>(ColorToRGB(clBtnFace)));
    SkinBar(b);
    b->Repaint();
    Pump();
    EXPECT_EQ(ScreenColor(b, w - 3, 18), kGrip);
    EXPECT_EQ(ScreenColor(b, w - 11, 10), kBar);  // the key colour lets the bar show
}

TEST_F(StatusBarTest, SkinGoesOnToWindowedChildren)
{
    auto* b = NewBar();
    auto* child = new TspSkinPanel(b);
    child->SetParent(b);
    b->SetSkinData(Skin);
    EXPECT_EQ(child->SkinData(), Skin);
}

}  // namespace
