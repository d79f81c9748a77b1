// The canvas draws through to the bitmap's pixels, with the GDI's rules (end points and right and bottom edges
// left out, alpha 0), in every pixel format, and pictures draw themselves onto it.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/png_image.h"

namespace {

// B, G, R, A of a 32-bit bitmap pixel.
uint32_t Raw(TBitmap& ABitmap, Integer AX, Integer AY)
{
    uint32_t v;
    std::memcpy(&v, static_cast<uint8_t*>(ABitmap.ScanLine(AY)) + 4 * AX, 4);
    return v;
}

TEST(Canvas, ShapesReachThePixelsWithAlphaZero)
{
    TBitmap bitmap(10, 10, pf32bit);
    std::memset(bitmap.ScanLine(9), 0xFF, 4 * 10 * 10);  // opaque white everywhere (rows are contiguous)
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(1, 1, 3, 3));
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 5);
    c->LineTo(4, 5);

    struct Case { Integer x, y; uint32_t raw; };
    for (Case k : {Case{1, 1, 0x00FF0000}, Case{2, 2, 0x00FF0000}, Case{3, 3, 0xFFFFFFFF}, Case{0, 5, 0x000000FF},
                   Case{3, 5, 0x000000FF}, Case{4, 5, 0xFFFFFFFF}}) {
        EXPECT_EQ(Raw(bitmap, k.x, k.y), k.raw) << k.x << "," << k.y;
    }
    EXPECT_EQ(c->PenPos(), Point(4, 5));

    // A clear brush fills nothing; giving it a colour makes it solid again.
    c->Brush()->SetStyle(bsClear);
    c->FillRect(Rect(6, 6, 8, 8));
    EXPECT_EQ(Raw(bitmap, 6, 6), 0xFFFFFFFFu);
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(6, 6, 8, 8));
    EXPECT_EQ(c->Pixels(6, 6), clLime);

    c->Pen()->SetMode(pmNot);
    c->MoveTo(0, 8);
    c->LineTo(2, 8);
    EXPECT_EQ(Raw(bitmap, 0, 8) & 0xFFFFFF, 0u);  // white inverted
}

TEST(Canvas, PackedFormatsSeeCanvasAndScanLinesAlike)
{
    TBitmap bitmap(4, 2, pf8bit);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(0, 0, 2, 2));
    auto* row = static_cast<uint8_t*>(bitmap.ScanLine(1));
    EXPECT_EQ(row[0], 7);  // red of the 3-3-2 palette
    EXPECT_EQ(row[2], 0);
    row[3] = 0xC0;  // blue
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 1), clBlue);

    TBitmap mono(3, 1, pf1bit);
    mono.Canvas()->SetPixels(1, 0, clWhite);
    EXPECT_EQ(static_cast<uint8_t*>(mono.ScanLine(0))[0], 0x40);
}

TEST(Canvas, TextIsDrawnAndMeasured)
{
    TBitmap bitmap(80, 30, pf24bit);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 80, 30));
    c->Font()->SetName("DejaVu Sans");
    c->Font()->SetHeight(-14);
    TSize extent = c->TextExtent("Hello");
    EXPECT_GT(extent.cx, 20);
    EXPECT_GE(extent.cy, 14);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(2, 2, "Hello");
    EXPECT_EQ(c->PenPos(), Point(2 + extent.cx, 2));
    int dark = 0;
    for (Integer y = 0; y < 30; ++y)
        for (Integer x = 0; x < 80; ++x) {
            bool inside = x >= 2 && x < 2 + extent.cx && y >= 2 && y < 2 + extent.cy;
            bool ink = c->Pixels(x, y) != clWhite;
            if (ink) {
                ++dark;
                EXPECT_TRUE(inside) << x << "," << y;
            }
        }
    EXPECT_GT(dark, 20);

    // TextRect clips to its rectangle.
    c->TextRect(Rect(40, 0, 45, 30), 40, 2, "WWWW");
    for (Integer y = 0; y < 30; ++y) EXPECT_EQ(c->Pixels(46, y), clWhite);
}

TEST(Canvas, DrawsBitmapsStretchedAndWithTheKeyColour)
{
    TBitmap source(2, 2, pf24bit);
    source.Canvas()->SetPixels(0, 0, clRed);
    source.Canvas()->SetPixels(1, 0, clLime);
    source.Canvas()->SetPixels(0, 1, clFuchsia);  // bottom-left: the automatic key
    source.Canvas()->SetPixels(1, 1, clBlue);

    TBitmap target(4, 4, pf24bit);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    target.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &source);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(2, 1), clLime);
    EXPECT_EQ(target.Canvas()->Pixels(1, 2), clFuchsia);

    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    source.SetTransparent(true);
    EXPECT_EQ(source.TransparentColor(), clFuchsia);
    target.Canvas()->Draw(1, 1, &source);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(1, 2), clWhite);  // keyed out
    EXPECT_EQ(target.Canvas()->Pixels(2, 2), clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clWhite);

    source.SetTransparentColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    target.Canvas()->Draw(0, 0, &source);
    EXPECT_EQ(target.Canvas()->Pixels(0, 1), clFuchsia);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clWhite);
}

TEST(Canvas, CopyRectAndAForeignHandle)
{
    TBitmap a(3, 3, pf32bit), b(3, 3, pf32bit);
    a.Canvas()->SetPixels(2, 2, clYellow);
    b.Canvas()->CopyRect(Rect(0, 0, 1, 1), a.Canvas(), Rect(2, 2, 3, 3));
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clYellow);

    // A canvas over another's DC draws into that bitmap and leaves the DC when released.
    TCanvas foreign;
    EXPECT_THROW(foreign.Handle(), EInvalidOperation);
    foreign.SetHandle(a.Canvas()->Handle());
    foreign.Brush()->SetColor(clNavy);
    foreign.FillRect(Rect(0, 0, 1, 1));
    foreign.SetHandle(nullptr);
    EXPECT_EQ(a.Canvas()->Pixels(0, 0), clNavy);
    a.Canvas()->Brush()->SetColor(clGreen);
    a.Canvas()->FillRect(Rect(1, 1, 2, 2));
    EXPECT_EQ(a.Canvas()->Pixels(1, 1), clGreen);
}

TEST(Canvas, PngDrawsWithAlphaAndScaling)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
    png.SetPixels(0, 0, clRed);
    png.SetPixels(1, 0, clBlue);
    png.AlphaScanline(0)[0] = 255;
    png.AlphaScanline(0)[1] = 128;

    TBitmap target(4, 2, pf32bit);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 4, 2));
    target.Canvas()->StretchDraw(Rect(0, 0, 4, 2), &png);
    EXPECT_EQ(target.Canvas()->Pixels(0, 1), clRed);
    TColor blended = target.Canvas()->Pixels(3, 1);
    EXPECT_NEAR(blended & 0xFF, 127, 2);          // red from the white behind
    EXPECT_NEAR((blended >> 16) & 0xFF, 255, 1);  // blue
}

}  // namespace
