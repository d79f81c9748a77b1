#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "skin/core/effect_bitmap.h"

namespace {

// Column-coded fixtures: own pixel (x, y) is blue x, green 0, red 0; the target look has blue 200 + x and
// green 255. Green therefore shows how much of the target a pixel holds, blue which column it came from.
// Vertical fixtures code rows the same way.
TspEffectBmp Coded(Integer w, Integer h, bool target, bool by_rows = false)
{
    TspEffectBmp bmp(w, h);
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x) {
            const Integer index = by_rows ? y : x;
            bmp.SetPixel(x, y, target ? (0xFF00 | (200 + index)) : index);
        }
    return bmp;
}

std::vector<Integer> Channel(const TspEffectBmp& bmp, int shift, bool by_rows = false)
{
    std::vector<Integer> out;
    const Integer n = by_rows ? bmp.Height() : bmp.Width();
    for (Integer i = 0; i < n; ++i) out.push_back((bmp.GetPixel(by_rows ? 0 : i, by_rows ? i : 0) >> shift) & 0xFF);
    return out;
}

struct TransitionCase {
    const char* name;
    TMorphKind kind;
    bool vertical;
    double kf;
    int shift;  // 8: green (share of the target), 0: blue (source column)
    std::vector<Integer> expected;
};

const std::vector<TransitionCase> kCases = {
    {"fade0", mkDefault, false, 0, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    {"fade_half", mkDefault, false, 0.5, 8, {128, 128, 128, 128, 128, 128, 128, 128, 128, 128}},
    {"fade1", mkDefault, false, 1, 0, {200, 201, 202, 203, 204, 205, 206, 207, 208, 209}},
    {"hgrad0", mkGradient, false, 0, 8, {0, 51, 102, 153, 204, 255, 204, 153, 102, 51}},
    {"hgrad_half", mkGradient, false, 0.5, 8, {0, 0, 128, 255, 255, 255, 255, 255, 128, 0}},
    {"hgrad1", mkGradient, false, 1, 8, {255, 255, 255, 255, 255, 255, 255, 255, 255, 255}},
    {"vgrad0", mkGradient, true, 0, 8, {0, 0, 64, 128, 191, 255, 191, 128, 64, 0}},
    {"vgrad_half", mkGradient, true, 0.5, 8, {0, 0, 128, 255, 255, 255, 255, 255, 128, 0}},
    {"vgrad1", mkGradient, true, 1, 8, {255, 255, 255, 255, 255, 255, 255, 255, 255, 255}},
    {"left_grad0", mkLeftGradient, false, 0, 8, {255, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"left_grad_half", mkLeftGradient, false, 0.5, 8, {255, 204, 153, 102, 51, 0, 0, 0, 0, 0}},
    {"left_grad1", mkLeftGradient, false, 1, 8, {255, 227, 198, 170, 142, 113, 85, 57, 28, 0}},
    {"right_grad0", mkRightGradient, false, 0, 8, {0, 0, 0, 0, 0, 0, 0, 0, 0, 255}},
    {"right_grad_half", mkRightGradient, false, 0.5, 8, {0, 0, 0, 0, 0, 51, 102, 153, 204, 255}},
    {"right_grad1", mkRightGradient, false, 1, 8, {26, 51, 77, 102, 128, 153, 178, 204, 230, 255}},
    {"push0", mkPush, false, 0, 0, {209, 0, 1, 2, 3, 4, 5, 6, 7, 8}},
    {"push_half", mkPush, false, 0.5, 0, {204, 205, 206, 207, 208, 209, 0, 1, 2, 3}},
    {"push1", mkPush, false, 1, 0, {200, 201, 202, 203, 204, 205, 206, 207, 208, 209}},
    {"left_slide0", mkLeftSlide, false, 0, 0, {209, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    {"left_slide_half", mkLeftSlide, false, 0.5, 0, {205, 206, 207, 208, 209, 5, 6, 7, 8, 9}},
    {"left_slide1", mkLeftSlide, false, 1, 0, {201, 202, 203, 204, 205, 206, 207, 208, 209, 9}},
    {"right_slide0", mkRightSlide, false, 0, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 200}},
    {"right_slide_half", mkRightSlide, false, 0.5, 0, {0, 1, 2, 3, 4, 200, 201, 202, 203, 204}},
    {"right_slide1", mkRightSlide, false, 1, 0, {0, 200, 201, 202, 203, 204, 205, 206, 207, 208}},
};

TEST(Transitions, ColumnCodedFixtureAtStartMiddleAndEnd)
{
    for (const auto& c : kCases) {
        // A vertical gradient needs a buffer taller than wide; every row (column) must agree.
        const Integer w = c.vertical ? 3 : 10, h = c.vertical ? 10 : 3;
        TspEffectBmp own = Coded(w, h, false, c.vertical);
        const TspEffectBmp target = Coded(w, h, true, c.vertical);
        own.MorphByKind(c.kind, target, c.kf);
        EXPECT_EQ(Channel(own, c.shift, c.vertical), c.expected) << c.name;
        for (Integer line = 1; line < 3; ++line)
            for (Integer i = 0; i < 10; ++i) {
                const Integer x = c.vertical ? line : i, y = c.vertical ? i : line;
                const Integer x0 = c.vertical ? 0 : i, y0 = c.vertical ? i : 0;
                EXPECT_EQ(own.GetPixel(x, y), own.GetPixel(x0, y0)) << c.name << " at " << x << "," << y;
            }
    }
}

TEST(Transitions, FactorsOutsideTheRangeActAsTheNearestEnd)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { double given, acts_as; } factors[] = {{-1, 0}, {-1e300, 0}, {nan, 0}, {2, 1}, {1e300, 1}};
    const TMorphKind kinds[] = {mkDefault, mkGradient, mkLeftGradient, mkRightGradient,
                                mkLeftSlide, mkRightSlide, mkPush};
    // Odd and tiny sizes too: the band limits are where writes outside the rows would happen.
    const struct { Integer w, h; } sizes[] = {{10, 3}, {3, 10}, {1, 1}, {2, 7}, {7, 2}, {1, 5}};
    for (const auto s : sizes)
        for (const TMorphKind kind : kinds)
            for (const auto f : factors) {
                TspEffectBmp given = Coded(s.w, s.h, false), reference = Coded(s.w, s.h, false);
                const TspEffectBmp target = Coded(s.w, s.h, true);
                given.MorphByKind(kind, target, f.given);
                reference.MorphByKind(kind, target, f.acts_as);
                EXPECT_EQ(std::vector<Byte>(given.Bits(), given.Bits() + given.Size()),
                          std::vector<Byte>(reference.Bits(), reference.Bits() + reference.Size()))
                    << "kind " << kind << " factor " << f.given << " size " << s.w << "x" << s.h;
            }
}

TEST(Transitions, TargetOfAnotherSizeChangesNothing)
{
    const TMorphKind kinds[] = {mkDefault, mkGradient, mkLeftGradient, mkRightGradient,
                                mkLeftSlide, mkRightSlide, mkPush};
    for (const TMorphKind kind : kinds) {
        TspEffectBmp own = Coded(10, 3, false);
        own.MorphByKind(kind, Coded(10, 4, true), 0.5);
        EXPECT_EQ(Channel(own, 0), (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9})) << kind;
    }
}

TEST(Transitions, FadeRoundsHalvesToEven)
{
    TspEffectBmp own(1, 1), target(1, 1);
    own.SetPixel(0, 0, 0x00FF00);  // green 255 fades to 0, blue 0 fades to 255
    target.SetPixel(0, 0, 0x0000FF);
    own.Morph(target, 0.5);
    EXPECT_EQ(own.GetPixel(0, 0), 0x008080);  // 127.5 becomes 128 in both channels
}

TEST(Transitions, MorphRectFadesOnlyThePartInsideBothBuffers)
{
    TspEffectBmp own = Coded(10, 3, false);
    const TspEffectBmp target = Coded(4, 4, true);
    // The rectangle runs off own's right edge and the source offset off the target's: both are cut, not trusted.
    own.MorphRect(target, 1.0, Rect(7, -1, 14, 2), 1, 0);
    for (Integer y = 0; y < 2; ++y)
        for (Integer x = 0; x < 10; ++x)
            EXPECT_EQ(own.GetPixel(x, y), x < 7 ? x : (0xFF00 | (194 + x))) << x << "," << y;
    for (Integer x = 0; x < 10; ++x) EXPECT_EQ(own.GetPixel(x, 2), x);
}

TEST(EffectBuffer, RowsArePaddedToFourBytesAndBadSizesGiveAnEmptyBuffer)
{
    const struct { Integer w, h, row, size; } cases[] = {{1, 2, 4, 8}, {2, 1, 8, 8}, {3, 3, 12, 36}, {5, 1, 16, 16},
                                                         {0, 4, 0, 0}, {-3, 2, 0, 0}, {70000, 70000, 0, 0}};
    for (const auto c : cases) {
        TspEffectBmp bmp(c.w, c.h);
        EXPECT_EQ(bmp.RowSize(), c.row) << c.w << "x" << c.h;
        EXPECT_EQ(bmp.Size(), c.size) << c.w << "x" << c.h;
        EXPECT_EQ(bmp.Empty(), c.size == 0);
        bmp.Invert();
        bmp.SplitBlur(1);
    }
}

TEST(EffectBuffer, ResizeEnlargesByNearestNeighbourBlocks)
{
    TspEffectBmp small(2, 1), big(5, 2);
    small.SetPixel(0, 0, 1);
    small.SetPixel(1, 0, 2);
    small.Resize(big);  // kx = 4 / 2 = 2: blocks of 3 columns at 0 and 2; ky = 1: rows 0..1
    const Integer expected[5] = {1, 1, 2, 2, 2};
    for (Integer y = 0; y < 2; ++y)
        for (Integer x = 0; x < 5; ++x) EXPECT_EQ(big.GetPixel(x, y), expected[x]) << x << "," << y;
}

}  // namespace

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

namespace {

TEST(EffectBuffer, CopiesFromAndDrawsToClassLibraryBitmaps)
{
    TBitmap source(5, 3, pf24bit);
    for (Integer y = 0; y < 3; ++y)
        for (Integer x = 0; x < 5; ++x) source.Canvas()->SetPixels(x, y, static_cast<TColor>(0x010203 * (x + 4 * y)));
    const auto buffer = TspEffectBmp::CreateFromhWnd(source.Handle());
    ASSERT_EQ(buffer->Width(), 5);
    ASSERT_EQ(buffer->Height(), 3);
    // $00BBGGRR colour 0x010203 * n is red 3n, green 2n, blue n: the buffer reads it back as $00RRGGBB.
    EXPECT_EQ(buffer->GetPixel(2, 1), (18 << 16) | (12 << 8) | 6);

    TBitmap whole(5, 3, pf32bit), part(4, 4, pf32bit);
    buffer->Draw(whole.Canvas()->Handle(), 0, 0);
    buffer->DrawRect(part.Canvas()->Handle(), 1, 1, 2, 1, 2, 2);
    for (Integer y = 0; y < 3; ++y)
        for (Integer x = 0; x < 5; ++x)
            EXPECT_EQ(whole.Canvas()->Pixels(x, y), source.Canvas()->Pixels(x, y)) << x << "," << y;
    EXPECT_EQ(part.Canvas()->Pixels(1, 1), source.Canvas()->Pixels(2, 1));
    EXPECT_EQ(part.Canvas()->Pixels(2, 2), source.Canvas()->Pixels(3, 2));
    EXPECT_EQ(part.Canvas()->Pixels(3, 3), 0);
    EXPECT_EQ(part.Canvas()->Pixels(0, 0), 0);

    TBitmap stretched(10, 6, pf32bit);
    buffer->Stretch(stretched.Canvas()->Handle(), 0, 0, 10, 6);
    EXPECT_EQ(stretched.Canvas()->Pixels(9, 5), source.Canvas()->Pixels(4, 2));
}

}  // namespace
