#include <gtest/gtest.h>

#include "tests/skin/dialogs/expect_raises.h"
#include "tests/skin/dialogs/grid_fixture.h"

namespace {

using gridtest::TGridFixture;
using gridtest::TTestGrid;

// Default grid: 5 x 5 cells of 64 x 24, one fixed row and column, 1-pixel lines, on a 200 x 100 client.
class GridGeometry : public TGridFixture {};

TEST_F(GridGeometry, LayoutCountsFullAndCutCells)
{
    auto* G = NewGrid(200, 100);
    const TGridLayout L = G->ComputeLayout();
    EXPECT_EQ(L.Horz.FixedEnd, 65);
    EXPECT_EQ(L.Horz.LastFullCell, 2);
    EXPECT_EQ(L.Horz.FullCellsEnd, 195);
    EXPECT_EQ(L.Horz.GridEnd, 200);
    EXPECT_EQ(L.Vert.LastFullCell, 3);
    EXPECT_EQ(G->VisibleColCount(), 2);
    EXPECT_EQ(G->VisibleRowCount(), 3);

    // A first scrollable cell that does not fit at all still counts as the last full one.
    G->SetColWidths(1, 500);
    EXPECT_EQ(G->ComputeLayout().Horz.LastFullCell, 1);
}

TEST_F(GridGeometry, CellRectsForVisibleCutScrolledAndBeyondCells)
{
    auto* G = NewGrid(200, 100);
    struct Case {
        Integer Col, Row;
        TRect Expected;
    } Cases[] = {
        {0, 0, {0, 0, 64, 24}},       // fixed corner
        {1, 1, {65, 25, 129, 49}},    // first scrollable cell
        {3, 1, {195, 25, 200, 49}},   // cut at the client edge
        {4, 1, {0, 0, 0, 0}},         // beyond the last visible column plus one
    };
    for (const Case& C : Cases) EXPECT_EQ(G->CellBoxRect(C.Col, C.Row, C.Col, C.Row), C.Expected) << C.Col;

    G->SetLeftCol(2);
    EXPECT_EQ(G->CellBoxRect(1, 1, 1, 1), TRect{}) << "scrolled out of view";
    EXPECT_EQ(G->CellBoxRect(1, 1, 2, 1), (TRect{65, 25, 129, 49})) << "a range starting out of view is cut";
    EXPECT_EQ(G->CellBoxRect(0, 1, 0, 1), (TRect{0, 25, 64, 49})) << "fixed cells stay";
}

TEST_F(GridGeometry, MouseCoordGivesMinusOneOutsideTheCells)
{
    auto* G = NewGrid(400, 200);
    G->SetColCount(2);
    EXPECT_EQ(G->MouseCoord(10, 10), (TGridCoord{0, 0}));
    EXPECT_EQ(G->MouseCoord(100, 30), (TGridCoord{1, 1}));
    EXPECT_EQ(G->MouseCoord(64, 30), (TGridCoord{0, 1})) << "the line belongs to the cell before it";
    EXPECT_EQ(G->MouseCoord(300, 30), (TGridCoord{-1, -1})) << "right of the last column";
    EXPECT_EQ(G->MouseCoord(100, 190), (TGridCoord{-1, -1})) << "below the last row";
}

TEST_F(GridGeometry, MaxTopLeftSkipsZeroExtentCells)
{
    auto* G = NewGrid(200, 100);
    G->SetColCount(10);
    const TGridLayout L = G->ComputeLayout();
    EXPECT_EQ(G->MaxTopLeftFor({9, 4}, L), (TGridCoord{8, 2}));
    G->SetColWidths(8, 0);
    EXPECT_EQ(G->MaxTopLeftFor({9, 4}, G->ComputeLayout()).X, 7);
    EXPECT_EQ(G->MaxTopLeftFor({0, 0}, L), (TGridCoord{0, 0})) << "fixed cells answer themselves";
}

// Strips without area invalidate nothing, so only the ones with area are compared.
TEST(GridDiffRects, ProbeTable)
{
    struct Case {
        const char* Name;
        TRect R1, R2;
        std::vector<TRect> Expected;
    } Cases[] = {
        {"disjoint", {0, 0, 10, 10}, {20, 0, 30, 10}, {{0, 0, 10, 10}, {20, 0, 30, 10}}},
        {"grown downward", {0, 0, 10, 10}, {0, 0, 10, 20}, {{0, 10, 10, 20}}},
        {"grown to the right", {0, 0, 10, 10}, {0, 0, 20, 10}, {{10, 0, 20, 10}}},
        {"shifted down", {0, 0, 10, 10}, {0, 5, 10, 15}, {{0, 0, 10, 5}, {0, 10, 10, 15}}},
        {"grown both ways", {0, 0, 10, 10}, {0, 0, 20, 20}, {{10, 0, 20, 20}, {0, 10, 10, 20}}},
        {"same", {0, 0, 10, 10}, {0, 0, 10, 10}, {}},
    };
    for (const Case& C : Cases) {
        std::vector<TRect> WithArea;
        for (const TRect& R : DiffRects(C.R1, C.R2))
            if (R.Width() > 0 && R.Height() > 0) WithArea.push_back(R);
        EXPECT_EQ(WithArea, C.Expected) << C.Name;
    }
}

TEST_F(GridGeometry, RowSelectNormalisesTheSelection)
{
    auto* G = NewGrid(400, 200);
    G->SetOptions(G->Options().Include(goRowSelect).Include(goAlwaysShowEditor));
    EXPECT_FALSE(G->Options().Contains(goAlwaysShowEditor));
    G->MoveCurrentCell(3, 2, true, true);
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(G->Selection(), (TGridRect{1, 2, 4, 2}));
    EXPECT_THROW(G->MoveCurrentCell(5, 0, true, true), EInvalidGridOperation);

    auto* One = NewGrid(100, 100);
    One->SetColCount(1);
    One->SetRowCount(1);
    EXPECT_EQ(One->FixedCols(), 0);
    EXPECT_EQ(One->Selection(), (TGridRect{0, 0, 0, 0}));
}

TEST_F(GridGeometry, CountWritersAndTheirErrors)
{
    auto* G = NewGrid(200, 100);
    G->SetColWidths(2, 40);  // makes the width array, which then has to follow every count
    ExpectEachRaises<EInvalidGridOperation>({
        {"negative fixed", [&] { G->SetFixedCols(-1); }, "Grid index out of range"},
        {"fixed cols", [&] { G->SetFixedCols(5); }, "Fixed column count must be less than column count"},
        {"fixed rows", [&] { G->SetFixedRows(7); }, "Fixed row count must be less than row count"},
        {"width index", [&] { G->SetColWidths(5, 10); }, "Grid index out of range"},
        {"too large", [&] { G->SetColCount(MaxExtentCount + 1); }, "Grid too large for operation"},
    });
    // The failed resize rolled back: counts and stored widths as before.
    EXPECT_EQ(G->ColCount(), 5);
    EXPECT_EQ(G->StoredColWidths()->size(), 5u);
    EXPECT_EQ(G->ColWidths(2), 40);
    EXPECT_EQ(G->ColWidths(5), 64) << "reading beyond the grid gives the default";

    G->SetColCount(0);
    EXPECT_EQ(G->ColCount(), 1);
    EXPECT_EQ(G->FixedCols(), 0);
    G->SetRowCount(3);
    G->SetRow(2);
    G->SetRowCount(2);
    EXPECT_EQ(G->Row(), 1) << "shrinking below the current row moves it to the last row";
    G->SetDefaultColWidth(30);
    EXPECT_FALSE(G->StoredColWidths().has_value());
}

TEST_F(GridGeometry, RelocationMovesWidthsAndTheCurrentColumn)
{
    auto* G = NewGrid(400, 200);
    for (Integer I = 0; I < 5; ++I) G->SetColWidths(I, 10 + I);
    G->SetCol(2);
    G->RelocateColumn(0, 3);
    EXPECT_EQ(G->Col(), 1);
    EXPECT_EQ(*G->StoredColWidths(), (std::vector<Integer>{11, 12, 13, 10, 14}));
    G->SetCol(3);
    G->RelocateColumn(3, 1);
    EXPECT_EQ(G->Col(), 1);

    G->RemoveColumn(0);
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(*G->StoredColWidths(), (std::vector<Integer>{10, 12, 13, 14}));
    G->RemoveColumn(3);
    EXPECT_EQ(*G->StoredColWidths(), (std::vector<Integer>{10, 12, 13}));
}

// Inserting or deleting cells in the middle keeps the extents of the cells after them.
TEST_F(GridGeometry, AdjustCellCountShiftsStoredExtents)
{
    auto* G = NewGrid(400, 200);
    for (Integer I = 0; I < 5; ++I) G->SetRowHeights(I, 20 + I);
    G->AdjustCellCount(2, 2, true);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(*G->StoredRowHeights(), (std::vector<Integer>{20, 21, 24, 24, 22, 23, 24}));
    G->AdjustCellCount(1, -3, true);
    EXPECT_EQ(*G->StoredRowHeights(), (std::vector<Integer>{20, 22, 23, 24}));
    EXPECT_THROW(G->AdjustCellCount(3, -2, true), EInvalidGridOperation);
}

}  // namespace
