#include "skin/core/skin_compose.h"

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

namespace {

// A 20 x 16 element at (2, 3) of a picture; every piece has its own colour, every edge and the client part have a
// first and a second half in two shades, so tiling and stretching tell apart.
constexpr Integer kSL = 2, kST = 3, kW = 20, kH = 16;
const TPoint kLT{6, 6}, kRT{14, 6}, kLB{6, 10}, kRB{14, 10};
const TRect kCl{4, 4, 16, 12};

enum Piece { TL, TopA, TopB, TR, LeftAbove, LeftA, LeftB, LB, RightAbove, RightA, RightB, RightBelow, BottomLeft,
             BottomA, BottomB, BR, ClTL, ClTR, ClBL, ClBR, kPieces };

TColor ColorOf(Piece p) { return static_cast<TColor>((p + 1) * 0x0B0905); }

void Fill(TBitmap& bmp, TRect r, Piece p) {
    bmp.Canvas()->Brush()->SetColor(ColorOf(p));
    bmp.Canvas()->FillRect(Rect(kSL + r.Left, kST + r.Top, kSL + r.Right, kST + r.Bottom));
}

void MakeFixture(TBitmap& bmp) {
    bmp.SetSize(30, 24);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 30, 24));
    Fill(bmp, {0, 0, 6, 4}, TL);
    Fill(bmp, {6, 0, 10, 4}, TopA);
    Fill(bmp, {10, 0, 14, 4}, TopB);
    Fill(bmp, {14, 0, 20, 4}, TR);
    Fill(bmp, {0, 4, 4, 6}, LeftAbove);
    Fill(bmp, {0, 6, 4, 8}, LeftA);
    Fill(bmp, {0, 8, 4, 10}, LeftB);
    Fill(bmp, {0, 10, 4, 16}, LB);
    Fill(bmp, {16, 4, 20, 6}, RightAbove);
    Fill(bmp, {16, 6, 20, 8}, RightA);
    Fill(bmp, {16, 8, 20, 10}, RightB);
    Fill(bmp, {16, 10, 20, 12}, RightBelow);
    Fill(bmp, {4, 12, 6, 16}, BottomLeft);
    Fill(bmp, {6, 12, 10, 16}, BottomA);
    Fill(bmp, {10, 12, 14, 16}, BottomB);
    Fill(bmp, {14, 12, 20, 16}, BR);
    Fill(bmp, {4, 4, 10, 8}, ClTL);
    Fill(bmp, {10, 4, 16, 8}, ClTR);
    Fill(bmp, {4, 8, 10, 12}, ClBL);
    Fill(bmp, {10, 8, 16, 12}, ClBR);
}

// Which half of a source of length ALen a destination offset lands in.
bool SecondHalf(bool AStretch, Integer AOffset, Integer ASpan, Integer ALen) {
    const Integer src = AStretch ? AOffset * ALen / ASpan : AOffset % ALen;
    return src >= ALen / 2;
}

struct Composed {
    TBitmap dest;
    Integer w, h;
};

void Compose(Composed& c, Integer w, Integer h, bool left, bool top, bool right, bool bottom, bool drawClient,
             bool stretchEffect, TspStretchType type, TBitmap& picture) {
    c.w = w;
    c.h = h;
    ComposeSkinImage(kLT, kRT, kLB, kRB, kCl, kLT, Point(w - 6, 6), Point(6, h - 6), Point(w - 6, h - 6),
                     Rect(4, 4, w - 4, h - 4), &c.dest, &picture, Rect(kSL, kST, kSL + kW, kST + kH), w, h,
                     drawClient, left, top, right, bottom, stretchEffect, type);
}

TEST(SkinCompose, NinePartsAtThreeSizesWithEveryEdgeAndClientMode)
{
    TBitmap picture;
    MakeFixture(picture);
    const TSize sizes[] = {{kW, kH}, {36, 28}, {52, 40}};
    const struct { bool stretch; TspStretchType type; } clientModes[] = {
        {false, spstFull}, {true, spstFull}, {true, spstHorz}, {true, spstVert}};
    for (TSize size : sizes)
        for (int flags = 0; flags < 16; ++flags)
            for (auto mode : clientModes) {
                const bool left = flags & 1, top = flags & 2, right = flags & 4, bottom = flags & 8;
                Composed c;
                Compose(c, size.cx, size.cy, left, top, right, bottom, true, mode.stretch, mode.type, picture);
                const Integer w = c.w, h = c.h;
                ASSERT_EQ(c.dest.Width(), w);
                ASSERT_EQ(c.dest.Height(), h);
                TCanvas* cv = c.dest.Canvas();
                SCOPED_TRACE(testing::Message() << w << "x" << h << " flags " << flags << " client "
                                                << mode.stretch << "/" << mode.type);
                // Corners and the fixed pieces keep their place from the nearest border.
                EXPECT_EQ(cv->Pixels(1, 1), ColorOf(TL));
                EXPECT_EQ(cv->Pixels(w - 2, 1), ColorOf(TR));
                EXPECT_EQ(cv->Pixels(1, h - 2), ColorOf(LB));
                EXPECT_EQ(cv->Pixels(w - 2, h - 2), ColorOf(BR));
                EXPECT_EQ(cv->Pixels(1, 5), ColorOf(LeftAbove));
                EXPECT_EQ(cv->Pixels(w - 2, 5), ColorOf(RightAbove));
                EXPECT_EQ(cv->Pixels(w - 2, h - 5), ColorOf(RightBelow));
                EXPECT_EQ(cv->Pixels(5, h - 2), ColorOf(BottomLeft));
                // Edges: tiles repeat the source, a stretch spreads it.
                const Integer hspan = w - 12, vspan = h - 12;
                for (Integer off : {1, 5, hspan - 2}) {
                    EXPECT_EQ(cv->Pixels(6 + off, 1), ColorOf(SecondHalf(top, off, hspan, 8) ? TopB : TopA)) << off;
                    EXPECT_EQ(cv->Pixels(6 + off, h - 2),
                              ColorOf(SecondHalf(bottom, off, hspan, 8) ? BottomB : BottomA)) << off;
                }
                for (Integer off : {0, 3, vspan - 1}) {
                    EXPECT_EQ(cv->Pixels(1, 6 + off), ColorOf(SecondHalf(left, off, vspan, 4) ? LeftB : LeftA)) << off;
                    EXPECT_EQ(cv->Pixels(w - 2, 6 + off),
                              ColorOf(SecondHalf(right, off, vspan, 4) ? RightB : RightA)) << off;
                }
                // Client part in its mode.
                const Integer cw = w - 8, ch = h - 8;
                const bool stretchX = mode.stretch && mode.type != spstHorz;
                const bool stretchY = mode.stretch && mode.type != spstVert;
                for (Integer ox : {1, cw - 2})
                    for (Integer oy : {1, ch - 2}) {
                        const bool right_half = SecondHalf(stretchX, ox, cw, 12);
                        const bool bottom_half = SecondHalf(stretchY, oy, ch, 8);
                        const Piece p = bottom_half ? (right_half ? ClBR : ClBL) : (right_half ? ClTR : ClTL);
                        EXPECT_EQ(cv->Pixels(4 + ox, 4 + oy), ColorOf(p)) << ox << "," << oy;
                    }
            }
}

TEST(SkinCompose, EarlyStopsAndSkippedPartsLeaveTheNewBitmapAlone)
{
    TBitmap picture;
    MakeFixture(picture);
    const TRect skin = Rect(kSL, kST, kSL + kW, kST + kH);
    // Without the client the new bitmap keeps its blank client area.
    Composed c;
    Compose(c, 36, 28, false, false, false, false, false, false, spstFull, picture);
    EXPECT_EQ(c.dest.Canvas()->Pixels(18, 14), clBlack);
    EXPECT_EQ(c.dest.Canvas()->Pixels(1, 1), ColorOf(TL));

    // Corner points that leave no width stop before drawing anything.
    TBitmap none;
    ComposeSkinImage(kLT, kRT, kLB, Point(kLT.X, kRB.Y), kCl, kLT, Point(30, 6), Point(6, 20), Point(30, 20),
                     Rect(4, 4, 32, 22), &none, &picture, skin, 36, 26, true, false, false, false, false, false,
                     spstFull);
    EXPECT_EQ(none.Width(), 36);
    EXPECT_EQ(none.Height(), 26);
    EXPECT_EQ(none.Canvas()->Pixels(1, 1), clBlack);

    // A tiled top edge of zero length is skipped; everything else is drawn.
    TBitmap zero;
    ComposeSkinImage(kLT, kLT, kLB, kRB, kCl, kLT, Point(30, 6), Point(6, 20), Point(30, 20), Rect(4, 4, 32, 22),
                     &zero, &picture, skin, 36, 26, true, false, false, false, false, false, spstFull);
    EXPECT_EQ(zero.Canvas()->Pixels(15, 1), clBlack);
    EXPECT_EQ(zero.Canvas()->Pixels(15, 24), ColorOf(BottomA));
    EXPECT_EQ(zero.Canvas()->Pixels(1, 1), ColorOf(TL));
}

TEST(SkinCompose, SimpleAtItsOwnSizeReproducesTheElementAndClientImageTiles)
{
    TBitmap picture;
    MakeFixture(picture);
    TBitmap dest(kW, kH);
    ComposeSkinImageSimple(&dest, &picture, Rect(kSL, kST, kSL + kW, kST + kH), kCl, true);
    for (Integer y = 0; y < kH; ++y)
        for (Integer x = 0; x < kW; ++x)
            ASSERT_EQ(dest.Canvas()->Pixels(x, y), picture.Canvas()->Pixels(kSL + x, kST + y)) << x << "," << y;

    TBitmap client;
    ComposeSkinClientImage(kCl, Rect(0, 0, 30, 20), &client, &picture, Rect(kSL, kST, kSL + kW, kST + kH), 30, 20,
                           false, spstFull);
    EXPECT_EQ(client.Canvas()->Pixels(13, 9), ColorOf(ClTL));
    EXPECT_EQ(client.Canvas()->Pixels(23, 11), ColorOf(ClTR));
    EXPECT_EQ(client.Canvas()->Pixels(16, 12), ColorOf(ClBL));

    // The right-edge-less twin runs the top edge and the client to the new right border.
    TBitmap noRight;
    ComposeSkinImageNoRightEdge(kLT, kRT, kLB, kRB, kCl, kLT, Point(30, 6), Point(6, 20), Point(30, 20),
                                Rect(4, 4, 32, 22), &noRight, &picture, Rect(kSL, kST, kSL + kW, kST + kH), 36, 26,
                                true, false, false, false, false, false, spstFull);
    EXPECT_EQ(noRight.Canvas()->Pixels(34, 1), ColorOf(TopB));
    EXPECT_EQ(noRight.Canvas()->Pixels(34, 5), ColorOf(ClTR));
}

}  // namespace
