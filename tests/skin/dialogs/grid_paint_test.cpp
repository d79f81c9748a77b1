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

// A transparent grid lets what lies behind its scrollable cells show: the parent (the black form), a tiled
// wallpaper, or a stretched one; the fixed cells and the area beyond the cells keep no colour of their own.
TEST_F(GridPaint, TransparentCellsShowTheParentOrTheWallpaper)
{
    auto* G = NewGrid(400, 150);
    G->SetColor(clWhite);
    ASSERT_EQ(At(G, 210, 60), clWhite);  // cell (3, 2)
    G->SetTransparent(true);
    EXPECT_EQ(At(G, 210, 60), clBlack) << "a data cell shows the form";
    EXPECT_EQ(At(G, 380, 40), clBlack) << "so does the area beyond the cells";
    EXPECT_EQ(At(G, 30, 40), ColorToRGB(clBtnFace)) << "fixed cells stay filled";
    // A 20 x 20 wallpaper, red with a blue bottom-right quarter, tiled from the corner.
    TBitmap Paper(20, 20, pf24bit);
    controlstest::Fill(&Paper, Rect(0, 0, 20, 20), clRed);
    controlstest::Fill(&Paper, Rect(10, 10, 20, 20), clBlue);
    G->SetTransparent(false);
    G->SetWallpaper(&Paper);
    EXPECT_TRUE(G->Transparent()) << "a wallpaper makes the grid transparent";
    EXPECT_EQ(At(G, 202, 62), clRed);
    EXPECT_EQ(At(G, 215, 55), clBlue);
    // Stretched, the blue quarter covers the control's bottom-right quarter.
    G->SetWallpaperStretch(true);
    EXPECT_EQ(At(G, 150, 60), clRed);
    EXPECT_EQ(At(G, 250, 110), clBlue);
}

}  // namespace
