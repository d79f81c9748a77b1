#include <gtest/gtest.h>

#include <vector>

#include "platform/win/keys.h"
#include "tests/skin/dialogs/grid_fixture.h"

namespace {

using gridtest::TTestGrid;

class GridInput : public gridtest::TGridFixture {
protected:
    TTestGrid* FocusedGrid(Integer AWidth, Integer AHeight)
    {
        auto* G = NewGrid(AWidth, AHeight);
        Display.Click(ScreenPoint(G, 70, 30));  // cell (1, 1)
        Pump();
        return G;
    }
    void Key(int AKey, int AModifier = 0)
    {
        if (AModifier) Display.KeyDown(AModifier);
        Display.PressKey(AKey);
        if (AModifier) Display.KeyUp(AModifier);
        Pump();
    }
    // The screen's colours down the grid's data rows at client x = AX.
    std::vector<TColor> ColumnOfPixels(TTestGrid* G, Integer AX)
    {
        std::vector<TColor> Out;
        for (Integer Y = 30; Y < 120; ++Y) Out.push_back(ScreenColor(G, AX, Y));
        return Out;
    }
};

TEST_F(GridInput, KeyMap)
{
    auto* G = FocusedGrid(330, 130);
    G->SetOptions(TGridOptions(DefaultGridOptions).Include(goTabs));
    struct Case {
        const char* Name;
        int Key, Modifier;
        TGridCoord Expected;
    } Cases[] = {
        {"down", win::VK_DOWN, 0, {1, 2}},
        {"right", win::VK_RIGHT, 0, {2, 2}},
        {"end", win::VK_END, 0, {4, 2}},
        {"home", win::VK_HOME, 0, {1, 2}},
        {"ctrl+end", win::VK_END, win::VK_CONTROL, {4, 4}},
        {"down at the last row stays", win::VK_DOWN, 0, {4, 4}},
        {"ctrl+home", win::VK_HOME, win::VK_CONTROL, {1, 1}},
        {"up at the first scrollable row stays", win::VK_UP, 0, {1, 1}},
        {"shift+tab wraps back to the last row", win::VK_TAB, win::VK_SHIFT, {4, 4}},
        {"tab wraps forward to the first row", win::VK_TAB, 0, {1, 1}},
    };
    for (const Case& C : Cases) {
        Key(C.Key, C.Modifier);
        EXPECT_EQ((TGridCoord{G->Col(), G->Row()}), C.Expected) << C.Name;
    }
}

TEST_F(GridInput, RowSelectArrowsMoveRows)
{
    auto* G = FocusedGrid(330, 130);
    G->SetOptions(TGridOptions(DefaultGridOptions).Include(goRowSelect));
    Key(win::VK_RIGHT);
    EXPECT_EQ(G->Row(), 2);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 2, 4, 2}));
}

// The divider after column 1 lies at x = 129; with a 1-pixel line it is caught from 126 to 133.
TEST_F(GridInput, DividerSizingZoneAndFloor)
{
    auto* G = FocusedGrid(330, 130);
    G->SetOptions(TGridOptions(DefaultGridOptions).Include(goColSizing));
    struct Case {
        Integer From, To, ExpectedWidth;
    } Cases[] = {
        {131, 151, 84},  // grabbed 2 pixels right of the line
        {125, 160, 84},  // outside the zone: no sizing
    };
    for (const Case& C : Cases) {
        Display.Drag(ScreenPoint(G, C.From, 10), ScreenPoint(G, C.To, 10), 4);
        Pump();
        EXPECT_EQ(G->ColWidths(1), C.ExpectedWidth) << C.From;
    }
    // Sizing to less than 2 pixels keeps the width. The divider now lies at 65 + 84 = 149.
    Display.Drag(ScreenPoint(G, 149, 10), ScreenPoint(G, 66, 10), 4);
    Pump();
    EXPECT_EQ(G->ColWidths(1), 84);
}

TEST_F(GridInput, HeldDragBeyondTheBottomExtendsEverySixtyMs)
{
    auto* G = FocusedGrid(330, 130);
    G->SetRowCount(20);
    Display.PressButton(ScreenPoint(G, 70, 60));  // cell (1, 2)
    Pump();
    Display.MoveMouse(ScreenPoint(G, 70, 140));  // below the client: the cut row 5 lies there
    Pump();
    EXPECT_EQ(G->Anchor().Y, 5);
    Run(180);
    EXPECT_EQ(G->Anchor().Y, 8) << "one row per 60 ms tick";
    EXPECT_GT(G->TopRow(), 1) << "the anchor is scrolled into view";
    Display.ReleaseButton(ScreenPoint(G, 70, 140));
    Pump();
    const Integer After = G->Anchor().Y;
    Run(180);
    EXPECT_EQ(G->Anchor().Y, After) << "the timer stops with the button";
}

TEST_F(GridInput, WheelMovesTheRowWithinItsBounds)
{
    auto* G = FocusedGrid(330, 130);
    for (int I = 0; I < 10; ++I) Display.Wheel(ScreenPoint(G, 100, 50), -120);
    Pump();
    EXPECT_EQ(G->Row(), 4);
    for (int I = 0; I < 10; ++I) Display.Wheel(ScreenPoint(G, 100, 50), 120);
    Pump();
    EXPECT_EQ(G->Row(), 1);
}

}  // namespace

namespace {

// While a divider is dragged a dotted XOR line follows the pointer; it leaves nothing behind when it moves on or
// the drag is cancelled.
TEST_F(GridInput, SizingLineFollowsThePointerAndLeavesNoTrace)
{
    auto* G = FocusedGrid(330, 130);
    G->SetOptions(TGridOptions(DefaultGridOptions).Include(goColSizing));
    Pump();
    auto Column = [&](Integer AX) { return ColumnOfPixels(G, AX); };
    const auto Clean160 = Column(160), Clean180 = Column(180);
    Display.PressButton(ScreenPoint(G, 129, 10));  // the divider after column 1
    Display.MoveMouse(ScreenPoint(G, 160, 10));
    Pump();
    EXPECT_NE(Column(160), Clean160);
    Display.MoveMouse(ScreenPoint(G, 180, 10));
    Pump();
    EXPECT_EQ(Column(160), Clean160);
    EXPECT_NE(Column(180), Clean180);
    G->Perform(win::WM_CANCELMODE, 0, 0);
    Pump();
    EXPECT_EQ(Column(180), Clean180);
    Display.ReleaseButton(ScreenPoint(G, 180, 10));
    Pump();
    EXPECT_EQ(G->ColWidths(1), 64) << "a cancelled drag sizes nothing";
}

// Dragging column 2 by its title over column 3 marks the drop edge, the right edge of column 3 at x = 259; along
// the title row the drag timer does the tracking.
TEST_F(GridInput, ColumnMoveMarkerShowsTheDropEdgeUntilTheDragEnds)
{
    auto* G = FocusedGrid(330, 130);
    G->SetOptions(TGridOptions(DefaultGridOptions).Include(goColMoving));
    Pump();
    auto Column = [&](Integer AX) { return ColumnOfPixels(G, AX); };
    const auto Clean = Column(259);
    Display.PressButton(ScreenPoint(G, 150, 10));
    Display.MoveMouse(ScreenPoint(G, 220, 10));
    Run(100);
    EXPECT_NE(Column(259), Clean);
    G->Perform(win::WM_CANCELMODE, 0, 0);
    Pump();
    EXPECT_EQ(Column(259), Clean);
    Display.ReleaseButton(ScreenPoint(G, 220, 10));
    Pump();
}

}  // namespace

namespace {

// Twenty rows in a view of the fixed row and four full ones: a page is three rows (the last full row less the top).
class GridPaging : public GridInput {};

TEST_F(GridPaging, PageKeysCtrlScrollingAndShiftExtend)
{
    auto* G = FocusedGrid(330, 130);
    G->SetRowCount(20);
    G->SetOptions(TGridOptions(DefaultGridOptions).Include(goRangeSelect));
    Pump();
    struct Case {
        const char* Name;
        int Key, Modifier;
        Integer Row, TopRow;
    } Cases[] = {
        {"page down moves the cell and the view a page", win::VK_NEXT, 0, 4, 4},
        {"ctrl+down scrolls without moving the cell", win::VK_DOWN, win::VK_CONTROL, 4, 5},
        {"ctrl+up scrolls back", win::VK_UP, win::VK_CONTROL, 4, 4},
        {"ctrl+up again", win::VK_UP, win::VK_CONTROL, 4, 3},
        {"ctrl+page down goes to the last full row", win::VK_NEXT, win::VK_CONTROL, 6, 3},
        {"ctrl+page up goes to the top row", win::VK_PRIOR, win::VK_CONTROL, 3, 3},
        {"page up a page", win::VK_PRIOR, 0, 1, 1},
        {"ctrl+up stops at the first scrollable row", win::VK_UP, win::VK_CONTROL, 1, 1},
    };
    for (const Case& C : Cases) {
        Key(C.Key, C.Modifier);
        EXPECT_EQ(G->Row(), C.Row) << C.Name;
        EXPECT_EQ(G->TopRow(), C.TopRow) << C.Name;
    }
    // Page Down on the last page reaches the last row.
    for (int i = 0; i < 10; ++i) Key(win::VK_NEXT);
    EXPECT_EQ(G->Row(), 19);
    EXPECT_EQ(G->TopRow(), 16);

    // Shift with the arrows keeps the anchor; a plain arrow collapses the range to the current cell.
    Key(win::VK_HOME, win::VK_CONTROL);
    Key(win::VK_DOWN, win::VK_SHIFT);
    Key(win::VK_RIGHT, win::VK_SHIFT);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 2, 2}));
    Key(win::VK_DOWN);
    EXPECT_EQ(G->Selection(), (TGridRect{2, 3, 2, 3}));
}

}  // namespace
