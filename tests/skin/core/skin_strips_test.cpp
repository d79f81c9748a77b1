#include "skin/core/skin_strips.h"

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

namespace {

const TColor kLeft = static_cast<TColor>(0x0000C0), kMidA = static_cast<TColor>(0x00C000),
             kMidB = static_cast<TColor>(0x00C0C0), kRight = static_cast<TColor>(0xC00000);

// A 12 x 3 strip at (1, 1): 3 left, 6 middle in two halves, 3 right.
void MakeStrip(TBitmap& pic) {
    pic.SetSize(14, 5);
    const struct { Integer l, r; TColor c; } parts[] = {{1, 4, kLeft}, {4, 7, kMidA}, {7, 10, kMidB}, {10, 13, kRight}};
    for (auto p : parts) {
        pic.Canvas()->Brush()->SetColor(p.c);
        pic.Canvas()->FillRect(Rect(p.l, 1, p.r, 4));
    }
}

std::string Row(TBitmap& b, Integer y = 0) {
    std::string s;
    for (Integer x = 0; x < b.Width(); ++x) {
        const TColor c = b.Canvas()->Pixels(x, y);
        s += c == kLeft ? 'L' : c == kMidA ? 'a' : c == kMidB ? 'b' : c == kRight ? 'R' : '.';
    }
    return s;
}

TEST(SkinStrips, ThreePartStrips)
{
    TBitmap pic;
    MakeStrip(pic);
    const TRect src = Rect(1, 1, 13, 4);
    const struct {
        const char* name;
        void (*build)(Integer, Integer, TBitmap*, TBitmap*, TRect, Integer, Integer, bool);
        Integer width;
        bool stretch;
        std::string expected;
    } cases[] = {
        {"ends only", BuildHStripImage, 6, false, "LLLRRR"},
        {"tiled", BuildHStripImage, 17, false, "LLLaaabbbaaabbRRR"},
        {"stretched", BuildHStripImage, 18, true, "LLLaaaaaabbbbbbRRR"},
        {"left strip", BuildLeftStripImage, 13, false, "LLLaaabbbaaab"},
        {"fill", FillHStripImage, 8, false, "aaabbbaa"},
    };
    for (const auto& c : cases) {
        TBitmap dest;
        c.build(3, 3, &dest, &pic, src, c.width, 99, c.stretch);
        EXPECT_EQ(dest.Height(), 3) << c.name;
        EXPECT_EQ(Row(dest), c.expected) << c.name;
    }
    // A middle of zero width draws no middle pixels, horizontally or vertically.
    TBitmap h, v;
    BuildHStripImage(6, 6, &h, &pic, Rect(1, 1, 13, 4), 16, 0, false);
    EXPECT_EQ(Row(h), "LLLaaa....bbbRRR");
    BuildVStripImage(1, 2, &v, &pic, Rect(1, 1, 13, 4), 0, 7, false);
    EXPECT_EQ(v.Width(), 12);
    EXPECT_EQ(v.Height(), 7);
    EXPECT_EQ(v.Canvas()->Pixels(0, 0), kLeft);
    EXPECT_EQ(v.Canvas()->Pixels(0, 6), kLeft);
    EXPECT_EQ(v.Canvas()->Pixels(0, 3), clBlack);  // the blank middle
}

TEST(SkinStrips, FrameStripsSkipWhatCannotBeBuiltAndKeepTheRest)
{
    TBitmap pic(20, 16);
    pic.Canvas()->Brush()->SetColor(kLeft);
    pic.Canvas()->FillRect(Rect(0, 0, 20, 16));
    TBitmap left(5, 5), top, right, bottom;
    left.Canvas()->Brush()->SetColor(clWhite);
    left.Canvas()->FillRect(Rect(0, 0, 5, 5));
    BuildSkinFrameStrips({6, 6}, {14, 6}, {6, 10}, {14, 10}, Rect(4, 4, 16, 12), {6, 6}, {30, 6}, {6, 20},
                         {30, 20}, Rect(0, 4, 32, 22), &left, &top, &right, &bottom, &pic, Rect(0, 0, 20, 16), 36,
                         26, false, false, false, false);
    EXPECT_EQ(left.Width(), 5);  // no left strip: left as it was
    EXPECT_EQ(left.Canvas()->Pixels(1, 1), clWhite);
    EXPECT_EQ(top.Width(), 36);
    EXPECT_EQ(top.Height(), 4);
    EXPECT_EQ(bottom.Height(), 4);
    EXPECT_EQ(right.Width(), 4);
    EXPECT_EQ(right.Height(), 18);

    // A mask whose left edge has no length keeps only its two end pieces in the left strip.
    TBitmap mask(12, 10), mtop, mleft, mright, mbottom;
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 12, 10));
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 3, 3, 5));
    BuildMaskFrameStrips({4, 5}, {8, 5}, {4, 5}, {8, 6}, Rect(3, 3, 9, 7), {4, 5}, {28, 5}, {4, 5}, {28, 6},
                         Rect(3, 3, 29, 17), &mask, &mtop, &mleft, &mright, &mbottom, 32, 20);
    ASSERT_EQ(mleft.Height(), 14);
    EXPECT_EQ(mleft.Canvas()->Pixels(0, 0), clBlack);   // piece above the edge
    EXPECT_EQ(mleft.Canvas()->Pixels(0, 1), clBlack);
    EXPECT_EQ(mleft.Canvas()->Pixels(0, 13), clWhite);  // piece below the edge
    EXPECT_EQ(mleft.Canvas()->Pixels(0, 6), clBlack);   // never drawn: the new strip's blank
}

}  // namespace
