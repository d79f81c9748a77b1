#include "skin/core/glyph_pictures.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

namespace {

using Pixels = std::set<std::pair<Integer, Integer>>;

Pixels SetPixels(TBitmap& bmp) {
    Pixels out;
    for (Integer y = 0; y < bmp.Height(); ++y)
        for (Integer x = 0; x < bmp.Width(); ++x)
            if (bmp.Canvas()->Pixels(x, y) == clRed) out.insert({x, y});
    return out;
}

Pixels Rows(std::initializer_list<std::tuple<Integer, Integer, Integer>> ARows) {
    Pixels out;
    for (auto [y, x0, x1] : ARows)
        for (Integer x = x0; x <= x1; ++x) out.insert({x, y});
    return out;
}

TEST(GlyphPictures, PixelSetsOfArrowsMarksAndFrames)
{
    const struct {
        const char* name;
        void (*draw)(TCanvas*);
        Pixels expected;
    } cases[] = {
        {"arrow down", [](TCanvas* c) { DrawArrowGlyph(c, Rect(0, 0, 10, 10), clRed, 4); },
         Rows({{4, 2, 8}, {5, 3, 7}, {6, 4, 6}, {7, 5, 5}})},
        {"arrow up", [](TCanvas* c) { DrawArrowGlyph(c, Rect(0, 0, 10, 10), clRed, 3); },
         Rows({{3, 5, 5}, {4, 4, 6}, {5, 3, 7}, {6, 2, 8}})},
        {"small arrow down", [](TCanvas* c) { DrawSmallArrowGlyph(c, Rect(0, 0, 10, 10), clRed, 4); },
         Rows({{4, 3, 7}, {5, 4, 6}, {6, 5, 5}})},
        {"drop down", [](TCanvas* c) { DrawDropDownGlyph(c, Rect(0, 0, 9, 9), clRed); },
         Rows({{4, 2, 6}, {5, 3, 5}, {6, 4, 4}})},
        {"unknown kind 0", [](TCanvas* c) { DrawArrowGlyph(c, Rect(0, 0, 10, 10), clRed, 0); }, {}},
        {"unknown kind 5", [](TCanvas* c) { DrawSmallArrowGlyph(c, Rect(0, 0, 10, 10), clRed, 5); }, {}},
        {"dotted focus", [](TCanvas* c) { c->Font()->SetColor(clRed); DrawDottedFocusRect(c, Rect(0, 0, 4, 3)); },
         {{0, 0}, {2, 0}, {3, 1}, {2, 2}, {0, 2}}},
        {"minimize", [](TCanvas* c) { DrawMinimizeGlyph(c, 0, 0, clRed); }, Rows({{8, 1, 8}, {9, 1, 8}})},
        {"roll up", [](TCanvas* c) { DrawRollUpGlyph(c, 0, 0, clRed); },
         Rows({{3, 4, 5}, {4, 3, 6}, {5, 2, 7}, {6, 1, 8}})},
        {"radio", [](TCanvas* c) { DrawRadioGlyph(c, 1, 2, clRed); },
         Rows({{2, 1, 6}, {3, 1, 6}, {4, 1, 6}, {5, 1, 6}, {6, 1, 6}, {7, 1, 6}})},
    };
    for (const auto& c : cases) {
        TBitmap bmp(12, 12);
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(Rect(0, 0, 12, 12));
        c.draw(bmp.Canvas());
        EXPECT_EQ(SetPixels(bmp), c.expected) << c.name;
    }
}

TEST(GlyphPictures, Frame3DHasTopLeftAndBottomRightColours)
{
    TBitmap bmp(6, 5);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 6, 5));
    DrawFrame3D(bmp.Canvas(), Rect(0, 0, 6, 5), clRed, clBlue);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 3), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(4, 0), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(5, 0), clBlue);
    EXPECT_EQ(bmp.Canvas()->Pixels(5, 4), clBlue);
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 4), clBlue);
    EXPECT_EQ(bmp.Canvas()->Pixels(2, 2), clWhite);
}

}  // namespace
