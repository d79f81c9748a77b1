// Tool bar: the scroll range after resizes and row changes (each case of the update), the step limits, the
// arrow buttons' hit codes, clicking, holding and hot scrolling on the virtual clock, and what the bar hands on
// to its buttons and plain children.
#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/tool_bar.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

TEST(ToolBarScrollTest, UpdateCases)
{
    struct Case {
        const char* Name;
        TspToolBarScroll Before;
        Integer RowEnd, ClientWidth;
        TspToolBarScroll After;  // SMax, SPosition, SPage, SOldPosition, HSizeOffset, Shown
        Integer Move;
    };
    const std::vector<Case> cases = {
        {"no children", {10, 5, 100, 5, 0, true}, 0, 100, {10, 5, 100, 5, 0, false}, 0},
        {"row fits", {0, 0, 0, 0, 0, false}, 80, 100, {0, 0, 0, 0, 0, false}, 0},
        {"row fits again while scrolled", {299, 30, 200, 30, 0, true}, 150, 200, {0, 0, 0, 0, 0, false}, 30},
        {"row too wide", {0, 0, 0, 0, 0, false}, 300, 200, {299, 0, 200, 0, 0, true}, 0},
        {"bar grew while scrolled", {299, 100, 176, 100, 30, true}, 190, 206, {289, 70, 206, 70, 30, true}, 30},
        {"gain larger than the scroll", {299, 10, 176, 10, 50, true}, 220, 226, {229, 0, 226, 0, 10, true}, 10},
        {"row shrank while scrolled", {299, 100, 176, 100, 0, true}, 150, 176, {249, 74, 176, 74, 0, true}, 26},
        {"scrolled, still too wide", {299, 50, 176, 50, 0, true}, 250, 176, {299, 50, 176, 50, 0, true}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TspToolBarScroll s = c.Before;
        EXPECT_EQ(s.Update(c.RowEnd, c.ClientWidth), c.Move);
        EXPECT_EQ(s.SMax, c.After.SMax);
        EXPECT_EQ(s.SPosition, c.After.SPosition);
        EXPECT_EQ(s.SPage, c.After.SPage);
        EXPECT_EQ(s.SOldPosition, c.After.SOldPosition);
        EXPECT_EQ(s.HSizeOffset, c.After.HSizeOffset);
        EXPECT_EQ(s.Shown, c.After.Shown);
    }
}

TEST(ToolBarScrollTest, StepsStopAtBothEnds)
{
    TspToolBarScroll s;
    s.Update(300, 200);  // SMax 299, page 200: the row scrolls up to 100
    std::vector<Integer> moves;
    for (int i = 0; i < 4; ++i) moves.push_back(s.Step(true, 40));
    EXPECT_EQ(moves, (std::vector<Integer>{-40, -40, -20, 0}));
    EXPECT_EQ(s.SPosition, 100);
    moves.clear();
    for (int i = 0; i < 4; ++i) moves.push_back(s.Step(false, 70));
    EXPECT_EQ(moves, (std::vector<Integer>{70, 30, 0, 0}));
    EXPECT_EQ(s.SPosition, 0);
}

class ToolBarTest : public controlstest::TControlsFixture {
protected:
    // A bar 200 wide holding five 60-pixel buttons side by side: the row ends at 300.
    TspSkinToolBar* NewBar()
    {
        auto* bar = new TspSkinToolBar(Form);
        bar->SetParent(Form);
        bar->SetBounds(10, 10, 200, 25);
        for (Integer i = 0; i < 5; ++i) {
            auto* b = new TspSkinSpeedButton(Form);
            b->SetParent(bar);
            b->SetBounds(i * 60, 0, 60, 25);
            Buttons.push_back(b);
        }
        bar->SetCanScroll(true);
        bar->UpdateScrollRange();
        Pump();
        return bar;
    }
    TPoint LeftArrow(TspSkinToolBar* ABar) { return ABar->ClientToScreen({-6, 12}); }
    TPoint RightArrow(TspSkinToolBar* ABar) { return ABar->ClientToScreen({ABar->ClientWidth() + 6, 12}); }
    win::LRESULT HitAt(TspSkinToolBar* ABar, TPoint AScreen)
    {
        return win::SendMessage(ABar->Handle(), win::WM_NCHITTEST, 0, win::PointToLParam(AScreen));
    }
    std::vector<TspSkinSpeedButton*> Buttons;
};

TEST_F(ToolBarTest, ArrowsAppearWithAWideRowAndAnswerTheirHitCodes)
{
    auto* bar = NewBar();
    EXPECT_TRUE(bar->Scroll().Shown);
    EXPECT_EQ(bar->ClientWidth(), 200 - 24);
    EXPECT_EQ(bar->Scroll().SMax, 299);
    EXPECT_EQ(bar->Scroll().SPage, 176);  // the width left between the arrows
    EXPECT_EQ(HitAt(bar, LeftArrow(bar)), kToolBarLeftArrowHit);
    EXPECT_EQ(HitAt(bar, RightArrow(bar)), kToolBarRightArrowHit);
    EXPECT_EQ(HitAt(bar, bar->ClientToScreen({50, 12})), win::HTCLIENT);
    // Removing children until the row fits hides the arrows.
    for (Integer i = 4; i >= 2; --i) delete Buttons[static_cast<size_t>(i)];
    bar->UpdateScrollRange();
    Pump();
    EXPECT_FALSE(bar->Scroll().Shown);
    EXPECT_EQ(bar->ClientWidth(), 200);
    EXPECT_EQ(HitAt(bar, bar->ClientToScreen({5, 12})), win::HTCLIENT);
}

TEST_F(ToolBarTest, AQuickClickScrollsOneStepOnRelease)
{
    auto* bar = NewBar();
    bar->SetScrollOffset(40);
    Display.PressButton(RightArrow(bar));
    Pump();
    EXPECT_EQ(bar->Scroll().SPosition, 0);  // nothing on the press
    EXPECT_EQ(bar->TimerMode(), 2);
    Display.ReleaseButton(RightArrow(bar));
    Pump();
    EXPECT_EQ(bar->Scroll().SPosition, 40);
    EXPECT_EQ(Buttons[0]->Left(), -40);
    EXPECT_EQ(bar->TimerMode(), 0);
    Display.Click(LeftArrow(bar));
    Pump();
    EXPECT_EQ(bar->Scroll().SPosition, 0);
    EXPECT_EQ(Buttons[0]->Left(), 0);
}

TEST_F(ToolBarTest, HoldingScrollsEveryIntervalToTheEndThenStops)
{
    auto* bar = NewBar();
    bar->SetScrollOffset(30);
    Display.PressButton(RightArrow(bar));
    Pump();
    std::vector<Integer> positions;
    for (int i = 0; i < 6; ++i) {
        Run(50);
        positions.push_back(bar->Scroll().SPosition);
    }
    // The end is SMax - SPage + 1 = 124.
    EXPECT_EQ(positions, (std::vector<Integer>{30, 60, 90, 120, 124, 124}));
    EXPECT_EQ(bar->TimerMode(), 0);
    Display.ReleaseButton(RightArrow(bar));
    Pump();
    EXPECT_EQ(bar->Scroll().SPosition, 124);
    EXPECT_EQ(Buttons[4]->Left() + Buttons[4]->Width(), bar->ClientWidth());  // the row's end in sight
}

TEST_F(ToolBarTest, HotScrollRunsWhileThePointerRestsOnAnArrow)
{
    auto* bar = NewBar();
    bar->SetScrollOffset(10);
    bar->SetHotScroll(true);
    bar->SetScrollTimerInterval(0);  // refused
    bar->SetScrollOffset(-1);        // refused
    EXPECT_EQ(bar->ScrollTimerInterval(), 50);
    EXPECT_EQ(bar->ScrollOffset(), 10);
    Display.MoveMouse(RightArrow(bar));
    Pump();
    Run(100);
    EXPECT_EQ(bar->Scroll().SPosition, 20);
    Display.MoveMouse(bar->ClientToScreen({80, 12}));  // into the client area: scrolling stops
    Pump();
    Run(100);
    EXPECT_EQ(bar->Scroll().SPosition, 20);
    EXPECT_EQ(bar->TimerMode(), 0);
}

TEST_F(ToolBarTest, GrowingTheBarWhileScrolledBringsTheRowBack)
{
    auto* bar = NewBar();
    bar->SetScrollOffset(100);
    Display.Click(RightArrow(bar));
    Pump();
    ASSERT_EQ(bar->Scroll().SPosition, 100);
    bar->SetWidth(260);
    EXPECT_EQ(bar->Scroll().SPosition, 40);
    EXPECT_EQ(Buttons[0]->Left(), -40);
    bar->SetWidth(400);  // everything fits: back to the start, arrows gone
    EXPECT_FALSE(bar->Scroll().Shown);
    EXPECT_EQ(Buttons[0]->Left(), 0);
}

TEST_F(ToolBarTest, HandsItsLooksToItsButtonsAndCentresPlainChildren)
{
    auto* bar = new TspSkinToolBar(Form);
    bar->SetParent(Form);
    bar->SetBounds(10, 10, 300, 40);
    auto* b = new TspSkinSpeedButton(Form);
    b->SetParent(bar);
    auto* panel = new TspSkinPanel(Form);  // skinned children centre themselves
    panel->SetParent(bar);
    panel->SetBounds(100, 0, 50, 20);
    EXPECT_EQ(panel->Top(), 10);
    auto* plain = new TCustomControl(Form);  // the bar centres the others when it is sized
    plain->SetParent(bar);
    plain->SetBounds(200, 0, 30, 16);
    bar->SetHeight(60);
    EXPECT_EQ(plain->Top(), 22);
    EXPECT_EQ(panel->Top(), 20);
    bar->SetFlat(true);
    EXPECT_TRUE(b->Flat());
    bar->SetSkinData(Skin);
    EXPECT_EQ(b->SkinData(), Skin);
    b->SetShowCaption(true);
    bar->SetAutoShowHideCaptions(true);
    bar->SetShowCaptions(true);
    bar->SetShowCaptions(false);
    EXPECT_FALSE(b->ShowCaption());
    bar->WidthWithCaptions = 500;
    bar->SetShowCaptions(true);  // only one width set: the width stays
    EXPECT_EQ(bar->Width(), 300);
    bar->WidthWithoutCaptions = 250;
    bar->SetShowCaptions(false);
    EXPECT_EQ(bar->Width(), 250);
}

}  // namespace
