#include "skin/dialogs/grids/string_grid.h"

#include <gtest/gtest.h>

#include "platform/gdi/colors.h"
#include "tests/skin/dialogs/grid_fixture.h"

namespace {

class StringGrid : public gridtest::TGridFixture {
protected:
    TspSkinStringGrid* NewStringGrid() { return NewGrid<TspSkinStringGrid>(330, 130); }
};

TEST_F(StringGrid, CellsAndObjectsAreStoredSparsely)
{
    auto* G = NewStringGrid();
    EXPECT_EQ(G->CellText(3, 3), "");
    EXPECT_EQ(G->Rows(3)->Count(), 5);
    G->SetCellText(2, 1, "a");
    EXPECT_EQ(G->CellText(2, 1), "a");
    EXPECT_EQ(G->Cols(2)->Strings(1), "a");
    TObject Obj;
    G->SetCellObjects(4, 1, &Obj);
    G->SetCellText(4, 1, "");
    EXPECT_EQ(G->CellObjects(4, 1), &Obj) << "a cell with an object keeps its item";
    EXPECT_THROW(G->CellText(0, -1), EListError);
    EXPECT_THROW(G->CellText(-1, 1), EListError) << "row 1 exists: the column index reaches its list";
    EXPECT_THROW(G->SetCellText(0, -1, "x"), EListError);
}

TEST_F(StringGrid, ViewsAddClearAndRefuseInsertDelete)
{
    auto* G = NewStringGrid();
    G->SetCellText(2, 0, "x");
    G->SetCellText(2, 1, "y");
    EXPECT_EQ(G->Cols(2)->Add("z"), 2);
    EXPECT_EQ(G->CellText(2, 2), "z");
    EXPECT_EQ(G->Cols(2)->Add(""), 3);
    EXPECT_EQ(G->CellText(2, 3), " ");
    G->Cols(2)->Add("w");
    EXPECT_EQ(G->Cols(2)->Add("full"), -1);

    G->Rows(2)->Clear();
    EXPECT_EQ(G->CellText(2, 2), "");
    try {
        G->Rows(0)->Insert(0, "a");
        ADD_FAILURE();
    } catch (const EInvalidGridOperation& E) {
        EXPECT_STREQ(E.what(), "Cannot insert or delete rows from grid");
    }
    EXPECT_THROW(G->Cols(0)->Delete(0), EInvalidGridOperation);
}

TEST_F(StringGrid, MovesCarryTextsAlong)
{
    auto* G = NewStringGrid();
    for (Integer R = 0; R < 5; ++R)
        for (Integer C = 0; C < 5; ++C) G->SetCellText(C, R, std::to_string(C) + "," + std::to_string(R));
    G->RelocateColumn(1, 3);
    EXPECT_EQ(G->CellText(3, 0), "1,0");
    EXPECT_EQ(G->CellText(1, 4), "2,4");
    G->RelocateRow(4, 1);
    EXPECT_EQ(G->CellText(0, 1), "0,4");
    EXPECT_EQ(G->CellText(0, 2), "0,1");
}

TEST_F(StringGrid, AnUpdateBlockRepaintsOnce)
{
    auto* G = NewStringGrid();
    Integer Paints = 0;
    G->OnDrawCell = [&](TObject*, Integer, Integer, const TRect&, TGridDrawState) { ++Paints; };
    Pump();
    Paints = 0;
    G->Cols(1)->BeginUpdate();
    for (Integer R = 0; R < 5; ++R) {
        G->SetCellText(1, R, "t");
        Pump();
    }
    EXPECT_EQ(Paints, 0);
    G->Cols(1)->EndUpdate();
    Pump();
    EXPECT_EQ(Paints, 25) << "one full repaint";
}

TEST_F(StringGrid, DefaultDrawingFillsFromTheCellParamEvent)
{
    auto* G = NewStringGrid();
    G->SetColor(clWhite);
    G->OnGetCellParam = [](TObject*, Integer ACol, Integer ARow, TGridDrawState, TColor& ABG, bool& AFill,
                           TColor&) {
        if (ACol == 2 && ARow == 2) {
            ABG = clLime;
            AFill = true;
        }
    };
    G->Invalidate();
    Pump();
    EXPECT_EQ(ScreenColor(G, 2 * 65 + 30, 2 * 25 + 12), clLime);
    EXPECT_EQ(ScreenColor(G, 3 * 65 + 30, 2 * 25 + 12), clWhite);

    // With default drawing off only OnDrawCell paints: the event is not asked.
    Integer Asked = 0;
    G->OnGetCellParam = [&](TObject*, Integer, Integer, TGridDrawState, TColor&, bool&, TColor&) { ++Asked; };
    G->SetDefaultDrawing(false);
    Pump();
    EXPECT_EQ(Asked, 0);
}

}  // namespace
