// What a scroll of the grid paints: the pixels move, only the uncovered band is drawn, and the result equals a full
// repaint of the new position.
#include <gtest/gtest.h>

#include "platform/controls/lists/list_box.h"
#include "platform/gui/canvas.h"
#include "platform/win/messages.h"
#include "tests/skin/controls/scroll_check.h"
#include "tests/skin/dialogs/grid_fixture.h"

namespace {

using gridtest::TTestGrid;

// Every cell painted in a colour of its own, so a row drawn in the wrong place shows.
class TColouredGrid : public TTestGrid {
public:
    using TTestGrid::TTestGrid;

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override
    {
        TTestGrid::DrawCell(ACol, ARow, ARect, AState);
        Canvas()->Brush()->SetColor(win::RGB((ARow * 37) & 0xFF, ACol * 50, (ARow * 11) & 0xFF));
        Canvas()->FillRect(Rect(ARect.Left + 2, ARect.Top + 2, ARect.Right - 2, ARect.Bottom - 2));
    }
};

class GridScrollPaint : public gridtest::TGridFixture {
protected:
    // Rows of 24 pixels and a 1-pixel line: 160 pixels show the fixed row, five full rows and part of a sixth.
    TColouredGrid* Grid(TGridOptions AOptions = TGridOptions(DefaultGridOptions).Include(goRowSelect))
    {
        auto* G = NewGrid<TColouredGrid>(300, 160);
        G->SetColCount(5);
        G->SetRowCount(200);
        G->SetOptions(AOptions);
        G->SetFocus();
        Pump();
        return G;
    }
    // Sends the scroll, then paints; returns the cells drawn.
    size_t Scroll(TColouredGrid* G, win::WPARAM ACode)
    {
        Pump();
        G->Drawn.clear();
        G->Perform(win::WM_VSCROLL, ACode, 0);
        Pump();
        return G->Drawn.size();
    }
    // The grid's pixels after the scroll must be those of a full repaint.
    void ExpectFullRepaintLooksTheSame(TColouredGrid* G)
    {
        const auto scrolled = scrollcheck::ClientPixels(Display, G);
        G->Drawn.clear();
        G->Invalidate();
        Pump();
        const auto repainted = scrollcheck::ClientPixels(Display, G);
        const TPoint at = scrollcheck::FirstDifference(scrolled, repainted, G->ClientWidth());
        EXPECT_EQ(at, (TPoint{-1, -1})) << "the scrolled grid differs from a full repaint at " << at.X << ", " << at.Y;
    }
};

TEST_F(GridScrollPaint, ALineOrAPageScrollDrawsOnlyTheUncoveredRows)
{
    struct Case {
        const char* Name;
        win::WPARAM Code;
        Integer TopBefore, TopAfter;
        size_t MostCells;  // five columns a row
    };
    const Case cases[] = {
        // The new row and the partly visible one above the bottom edge.
        {"line down", win::SB_LINEDOWN, 1, 2, 2 * 5},
        {"line up", win::SB_LINEUP, 10, 9, 1 * 5},
        // A page moves four rows (to the last full one): the rows that come into view are drawn.
        {"page down", win::SB_PAGEDOWN, 1, 5, 5 * 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* G = Grid();
        G->SetTopRow(c.TopBefore);
        const size_t drawn = Scroll(G, c.Code);
        EXPECT_EQ(G->TopRow(), c.TopAfter);
        EXPECT_GT(drawn, 0u);
        EXPECT_LE(drawn, c.MostCells);
        ExpectFullRepaintLooksTheSame(G);
        // A full repaint draws every visible cell: the fixed row and six more.
        EXPECT_EQ(G->Drawn.size(), 7u * 5);
        delete G;
    }
}

TEST_F(GridScrollPaint, AJumpFartherThanAPageRepaintsTheWholeGrid)
{
    auto* G = Grid();
    // The fixed row and the last five rows.
    EXPECT_EQ(Scroll(G, win::SB_BOTTOM), 6u * 5);
    EXPECT_EQ(G->TopRow(), 195);
    ExpectFullRepaintLooksTheSame(G);
}

TEST_F(GridScrollPaint, ASelectedRowScrolledAlongIsRedrawnWhereItLands)
{
    auto* G = Grid();
    G->SetRow(3);
    // The new bottom row and the selected row.
    EXPECT_LE(Scroll(G, win::SB_LINEDOWN), 3u * 5);
    ExpectFullRepaintLooksTheSame(G);
}

TEST_F(GridScrollPaint, ABackgroundThatStaysPutRepaintsTheDataArea)
{
    auto* G = Grid();
    Form->SetColor(win::RGB(10, 120, 30));
    G->SetTransparent(true);  // the form shows through between the cells
    Pump();
    // Every row of the four scrolling columns (the first column is fixed and moves with its rows).
    EXPECT_GE(Scroll(G, win::SB_LINEDOWN), 6u * 4);
    ExpectFullRepaintLooksTheSame(G);
}

TEST_F(GridScrollPaint, ACoveredOrHalfHiddenGridScrollsRight)
{
    // A list box over the grid's middle, and the grid running out past the form's right edge.
    auto* G = Grid();
    G->SetBounds(200, 0, 300, 160);
    auto* cover = new TListBox(Form);
    cover->SetParent(Form);
    cover->SetBounds(260, 50, 60, 40);
    cover->Items()->Add("above the grid");
    Pump();
    const auto before = scrollcheck::ClientPixels(Display, cover);
    Scroll(G, win::SB_LINEDOWN);
    Scroll(G, win::SB_LINEDOWN);
    EXPECT_EQ(scrollcheck::ClientPixels(Display, cover), before);
    ExpectFullRepaintLooksTheSame(G);
    EXPECT_EQ(scrollcheck::ClientPixels(Display, cover), before);
}

}  // namespace
