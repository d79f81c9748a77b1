#include <gtest/gtest.h>

#include "platform/gdi/colors.h"
#include "tests/skin/dialogs/grid_fixture.h"

namespace {

using gridtest::TTestGrid;

class GridPaint : public gridtest::TGridFixture {
protected:
    TColor At(TTestGrid* G, Integer X, Integer Y)
    {
        G->Invalidate();
        Pump();
        return ScreenColor(G, X, Y);
    }
};

// Cells of 64 x 24 with 1-pixel lines: the first vertical line is at x = 64, the first horizontal at y = 24.
TEST_F(GridPaint, LineColoursFollowOptionsAndTheSilverRule)
{
    auto* G = NewGrid(300, 150);
    G->SetGridLineColor(clRed);
    G->SetColor(clWhite);
    EXPECT_EQ(At(G, 64 + 65, 60), clRed) << "data-area vertical line";
    G->SetOptions(TGridOptions(DefaultGridOptions).Exclude(goVertLine));
    EXPECT_EQ(At(G, 64 + 65, 60), clWhite) << "switched-off lines are drawn in the background colour";
    G->SetColor(clSilver);
    EXPECT_EQ(At(G, 80, 24 + 25), TColor(0x808080)) << "lines on silver are gray";
    G->SetGridLineWidth(0);
    EXPECT_EQ(G->ComputeLayout().Horz.FixedEnd, 64) << "no lines: cells touch";
}

TEST_F(GridPaint, DefaultDrawingOffLeavesCellsToDrawCell)
{
    auto* G = NewGrid(300, 150);
    G->SetColor(clWhite);
    G->SetDefaultDrawing(false);
    G->Drawn.clear();
    G->Invalidate();
    Pump();
    ASSERT_FALSE(G->Drawn.empty());
    const auto Corner = std::find_if(G->Drawn.begin(), G->Drawn.end(), [](auto& D) { return D.Col == 0 && D.Row == 0; });
    ASSERT_NE(Corner, G->Drawn.end());
    EXPECT_TRUE(Corner->State.Contains(gdFixed));
    EXPECT_EQ(Corner->Where, (TRect{0, 0, 64, 24}));
    // Columns 0..4 are 325 pixels wide: beyond them the background is filled.
    G->SetBounds(0, 0, 400, 150);
    EXPECT_EQ(At(G, 380, 10), clWhite);
}

TEST_F(GridPaint, SkinnedCellsUseTheRecordPictures)
{
    const Integer Pic = AddPicture(30, 60, clBlack);
    controlstest::Fill(PictureAt(Pic), Rect(0, 0, 30, 20), clBlue);    // fixed
    controlstest::Fill(PictureAt(Pic), Rect(0, 20, 30, 40), clLime);   // focused
    auto* R = AddRecord<TspDataSkinGridControl>("grid");
    R->PictureIndex = Pic;
    R->FixedCellRect = Rect(0, 0, 30, 20);
    R->FocusCellRect = Rect(0, 20, 30, 40);  // no select picture: selected cells take the focused one
    R->BGColor = clYellow;
    R->LinesColor = clRed;
    auto* G = NewGrid(300, 150);
    G->SetSkinData(Skin);
    Pump();
    EXPECT_EQ(G->DefaultRowHeight(), 20) << "the row height follows the cell picture";
    EXPECT_EQ(At(G, 10, 10), clBlue) << "fixed cell";
    EXPECT_EQ(At(G, 80, 30), clLime) << "selected cell with the focused picture";
    EXPECT_EQ(At(G, 150, 60), clYellow) << "plain cell on the record's background";
    EXPECT_EQ(At(G, 64, 60), clRed) << "record's line colour";

    R->FixedCellRect = TRect{};
    G->Invalidate();
    Pump();
    EXPECT_FALSE(G->Skinned()) << "no fixed picture: the plain look";
}

}  // namespace
