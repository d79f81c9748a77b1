// Resize modes, size fitting and placing picture rectangles at a new size.
#include <gtest/gtest.h>

#include "skin/controls/skin_geometry.h"

namespace {

TspSkinPieces PiecesOf(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect SkinRect = Rect(0, 0, 100, 40),
                       TRect ClRect = Rect(10, 10, 90, 30))
{
    return {LT, RT, LB, RB, SkinRect, ClRect};
}

TEST(ResizeModeTest, FollowsTheCornerPoints)
{
    struct Case {
        TPoint lt, rt, lb, rb;
        TRect skin;
        Integer mode;
    } cases[] = {
        {{0, 0}, {0, 0}, {0, 0}, {5, 5}, Rect(0, 0, 100, 40), rmNinePiece},   // RB alone is enough
        {{0, 0}, {0, 3}, {0, 0}, {0, 0}, Rect(0, 0, 100, 40), rmHorzStrip},
        {{0, 0}, {0, 0}, {3, 0}, {0, 0}, Rect(0, 0, 100, 40), rmVertStrip},
        {{0, 0}, {0, 0}, {0, 0}, {0, 0}, Rect(0, 0, 100, 40), rmFixed},
        {{0, 0}, {0, 0}, {0, 0}, {5, 0}, Rect(0, 0, 100, 40), rmFixed},       // RB needs both coordinates
        {{10, 10}, {90, 10}, {10, 30}, {90, 30}, Rect(5, 5, 5, 40), rmNone},   // empty SkinRect wins
        {{10, 10}, {90, 10}, {10, 30}, {90, 30}, Rect(0, 0, 100, 0), rmNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalcResizeMode(PiecesOf(c.lt, c.rt, c.lb, c.rb, c.skin)), c.mode)
            << c.rb.X << "," << c.rb.Y << " " << c.rt.X << "," << c.rt.Y;
}

TEST(FitSizeToSkinTest, EachModeKeepsItsFixedAxes)
{
    const TspSkinPieces p = PiecesOf({10, 10}, {90, 10}, {10, 30}, {90, 30});
    struct Case {
        Integer mode;
        bool skinned;
        Integer w, h;
    } cases[] = {
        {rmFixed, true, 100, 40},      // fixed keeps the picture's size
        {rmHorzStrip, true, 200, 40},  // the width follows, the height is the picture's
        {rmVertStrip, true, 100, 50},  // the height follows, the width is the picture's
        {rmNinePiece, true, 200, 50},
        {rmNone, true, 200, 50},
        {rmFixed, false, 200, 50},     // unskinned: nothing changes
    };
    for (const auto& c : cases) {
        Integer w = 200, h = 50;
        TspFittedPieces f;
        FitSizeToSkin(c.mode, c.skinned, p, w, h, f);
        EXPECT_EQ(w, c.w) << "mode " << c.mode;
        EXPECT_EQ(h, c.h) << "mode " << c.mode;
    }
}

TEST(FitSizeToSkinTest, NinePiecePointsAndClientFollowTheSize)
{
    const TspSkinPieces p = PiecesOf({10, 10}, {90, 10}, {10, 30}, {90, 30});
    Integer w = 150, h = 60;
    TspFittedPieces f;
    FitSizeToSkin(rmNinePiece, true, p, w, h, f);
    EXPECT_EQ(f.NewClRect, Rect(10, 10, 140, 50));
    EXPECT_EQ(f.NewRBPoint, Point(140, 50));
    EXPECT_EQ(f.NewRTPoint, Point(140, 10));
    EXPECT_EQ(f.NewLBPoint, Point(10, 50));
    EXPECT_EQ(f.NewLTPoint, Point(10, 10));

    // Smaller than the picture: no lower limit, the right and bottom pieces move over the others.
    w = 50;
    h = 20;
    FitSizeToSkin(rmNinePiece, true, p, w, h, f);
    EXPECT_EQ(f.NewRBPoint, Point(40, 10));
    EXPECT_EQ(f.NewClRect, Rect(10, 10, 40, 10));

    w = 150;
    FitSizeToSkin(rmHorzStrip, true, p, w, h, f);
    EXPECT_EQ(f.NewRTPoint, Point(140, 10));
    EXPECT_EQ(f.NewClRect, Rect(10, 10, 140, 30));
}

TEST(MapSkinRectTest, NinePieceCornersBandsAndEdges)
{
    // Picture 100 x 40; pieces TL (0,0,10,10), TR (90,0,100,10), BL (0,30,10,40), BR (90,30,100,40).
    const TspSkinPieces p = PiecesOf({10, 10}, {90, 10}, {10, 30}, {90, 30});
    const Integer w = 150, h = 60;  // dw 50, dh 20
    struct Case {
        const char* what;
        TRect s, d;
    } cases[] = {
        {"inside top-left", Rect(2, 2, 8, 8), Rect(2, 2, 8, 8)},
        {"inside top-right", Rect(92, 2, 98, 8), Rect(142, 2, 148, 8)},
        {"inside bottom-left", Rect(2, 32, 8, 38), Rect(2, 52, 8, 58)},
        {"inside bottom-right", Rect(92, 32, 98, 38), Rect(142, 52, 148, 58)},
        {"top band, top-left to top-right", Rect(5, 2, 95, 8), Rect(5, 2, 145, 8)},
        {"whole picture", Rect(0, 0, 100, 40), Rect(0, 0, 150, 60)},
        {"left band, top-left to bottom-left", Rect(2, 5, 8, 35), Rect(2, 5, 8, 55)},
        {"bottom band", Rect(5, 32, 95, 38), Rect(5, 52, 145, 58)},
        {"right band", Rect(92, 5, 98, 35), Rect(142, 5, 148, 55)},
        // The right side on the picture part's right edge: not inside the top-right piece, and no band rule
        // takes it, so it stays.
        {"top-right corner on the right edge", Rect(95, 2, 100, 8), Rect(95, 2, 100, 8)},
        // The bottom-right corner on the top-left piece's right edge is inside it for the band rules only.
        {"top-left to edge of top-right", Rect(2, 2, 90, 10), Rect(2, 2, 140, 10)},
        {"middle", Rect(40, 15, 60, 25), Rect(40, 15, 60, 25)},
    };
    for (const auto& c : cases) EXPECT_EQ(MapSkinRect(rmNinePiece, p, c.s, w, h), c.d) << c.what;
}

TEST(MapSkinRectTest, StripsMoveOrGrowAlongTheirAxis)
{
    const TspSkinPieces p = PiecesOf({10, 0}, {90, 0}, {0, 30}, {0, 0});
    struct Case {
        Integer mode;
        TRect s, d;
    } cases[] = {
        {rmHorzStrip, Rect(5, 0, 95, 40), Rect(5, 0, 145, 40)},   // spans the middle: grows
        {rmHorzStrip, Rect(90, 0, 95, 40), Rect(140, 0, 145, 40)}, // right of the middle: moves
        {rmHorzStrip, Rect(20, 0, 95, 40), Rect(20, 0, 95, 40)},   // starts in the middle: stays
        {rmVertStrip, Rect(0, 30, 10, 35), Rect(0, 50, 10, 55)},   // starts at LBPt.Y: moves down
        {rmVertStrip, Rect(0, 0, 10, 35), Rect(0, 0, 10, 55)},     // spans the middle: grows
        {rmVertStrip, Rect(0, 5, 10, 20), Rect(0, 5, 10, 20)},
        {rmFixed, Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)},
        {rmNone, Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapSkinRect(c.mode, p, c.s, 150, 60), c.d) << "mode " << c.mode << " left " << c.s.Left;
}

}  // namespace
