#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "skin/core/color_helpers.h"
#include "skin/core/effect_bitmap.h"

namespace {

TspEffectBmp OnePixel(Integer rgb)
{
    TspEffectBmp bmp(1, 1);
    bmp.SetPixel(0, 0, rgb);
    return bmp;
}

TEST(PictureEffects, PerPixelEffectsRoundHalvesToEven)
{
    const struct {
        std::string name;
        std::function<void(TspEffectBmp&)> effect;
        Integer before, after;  // $00RRGGBB
    } cases[] = {
        {"brightness half of black", [](auto& b) { b.ChangeBrightness(0.5); }, 0x000000, 0x808080},
        {"brightness half of white", [](auto& b) { b.ChangeBrightness(0.5); }, 0xFFFFFF, 0xFFFFFF},
        {"brightness clamps factor", [](auto& b) { b.ChangeBrightness(7); }, 0x123456, 0xFFFFFF},
        {"darkness half", [](auto& b) { b.ChangeDarkness(0.5); }, 0xFF0102, 0x800001},
        {"darkness below zero is none", [](auto& b) { b.ChangeDarkness(-1); }, 0x123456, 0x123456},
        {"invert", [](auto& b) { b.Invert(); }, 0x00FF10, 0xFF00EF},
        {"gray of white", [](auto& b) { b.GrayScale(); }, 0xFFFFFF, 0xFFFFFF},
        {"gray of green", [](auto& b) { b.GrayScale(); }, 0x00FF00, 0x969696},
        {"gray of red", [](auto& b) { b.GrayScale(); }, 0xFF0000, 0x4C4C4C},
    };
    for (const auto& c : cases) {
        TspEffectBmp bmp = OnePixel(c.before);
        c.effect(bmp);
        EXPECT_EQ(bmp.GetPixel(0, 0), c.after) << c.name;
    }
}

TEST(PictureEffects, MonoNoiseMovesAllChannelsTogetherWithinTheAmount)
{
    TspEffectBmp bmp(64, 64);
    for (Integer y = 0; y < 64; ++y)
        for (Integer x = 0; x < 64; ++x) bmp.SetPixel(x, y, 0x808080);
    bmp.AddMonoNoise(50);
    for (Integer y = 0; y < 64; ++y)
        for (Integer x = 0; x < 64; ++x) {
            const Integer p = bmp.GetPixel(x, y), v = p & 0xFF;
            ASSERT_EQ(p, v * 0x010101) << x << "," << y;
            ASSERT_GE(v, 128 - 25);
            ASSERT_LE(v, 128 + 24);
        }
    TspEffectBmp white = OnePixel(0xFFFFFF);
    for (int i = 0; i < 50; ++i) white.AddColorNoise(100);  // clamps, never wraps
    EXPECT_GE(white.GetPixel(0, 0) & 0xFF, 0);
}

TEST(PictureEffects, SplitBlurAveragesFourDiagonalTapsAndNeedsRoom)
{
    TspEffectBmp row(5, 1);
    row.SetPixel(2, 0, 0xFFFFFF);
    row.SplitBlur(1);  // one row: the amount must be below the height
    EXPECT_EQ(row.GetPixel(2, 0), 0xFFFFFF);

    TspEffectBmp bmp(3, 3);
    bmp.SetPixel(0, 0, 0x0000FF);
    bmp.SplitBlur(1);
    // (0,0): up row 0, down row 1, left column 0, right column 1: (255 + 0 + 0 + 0) div 4.
    EXPECT_EQ(bmp.GetPixel(0, 0), 63);
    // In place: (1,0) becomes 63 div 4 = 15 and (2,0) (its right tap replaced by Width - x = 1) 30 div 4 = 7;
    // (1,1) then averages the blurred (0,0) and (2,0) with two black taps: 70 div 4.
    EXPECT_EQ(bmp.GetPixel(1, 1), 17);
}

TEST(PictureEffects, MosaicBlocksAreCutAtTheEdges)
{
    TspEffectBmp bmp(7, 7);
    for (Integer y = 0; y < 7; ++y)
        for (Integer x = 0; x < 7; ++x) bmp.SetPixel(x, y, y * 16 + x);
    bmp.Mosaic(3);
    const Integer block[7] = {0, 0, 0, 3, 3, 3, 6};
    for (Integer y = 0; y < 7; ++y)
        for (Integer x = 0; x < 7; ++x) EXPECT_EQ(bmp.GetPixel(x, y), block[y] * 16 + block[x]) << x << "," << y;
}

TEST(PictureEffects, RotationsAndFlipPlacePixels)
{
    TspEffectBmp bmp(3, 2);
    for (Integer y = 0; y < 2; ++y)
        for (Integer x = 0; x < 3; ++x) bmp.SetPixel(x, y, y * 16 + x);
    TspEffectBmp ccw(2, 3), cw(2, 3), flipped(3, 2), wrong(3, 3);
    bmp.Rotate90_1(ccw);
    bmp.Rotate90_2(cw);
    bmp.FlipVert(flipped);
    bmp.Rotate90_1(wrong);  // wrong shape: nothing
    EXPECT_EQ(ccw.GetPixel(1, 0), 0x12);  // own (2, 1) -> (y, W - 1 - x) = (1, 0)
    EXPECT_EQ(ccw.GetPixel(0, 2), 0x00);
    EXPECT_EQ(cw.GetPixel(0, 2), 0x12);   // own (2, 1) -> (H - 1 - y, x) = (0, 2)
    EXPECT_EQ(cw.GetPixel(1, 0), 0x00);
    EXPECT_EQ(flipped.GetPixel(2, 0), 0x12);
    EXPECT_EQ(wrong.GetPixel(0, 0), 0);
}

TEST(PictureEffects, MaskOperationsLeaveWhiteMaskPixelsAlone)
{
    TspEffectBmp bmp(6, 4), mask(6, 5), narrow(5, 4);
    for (Integer y = 0; y < 5; ++y)
        for (Integer x = 0; x < 6; ++x) mask.SetPixel(x, y, x < 2 ? 0xFFFFFF : 0);
    bmp.MaskFillColorRGB(mask, 0x0000FF, 1.0);    // $00BBGGRR red
    bmp.MaskFillColorRGB(narrow, 0x00FF00, 1.0);  // another width: nothing
    for (Integer y = 0; y < 4; ++y)
        for (Integer x = 0; x < 6; ++x) EXPECT_EQ(bmp.GetPixel(x, y), x < 2 ? 0 : 0xFF0000) << x << "," << y;

    // Column 2 has white mask pixels among its diagonal taps and is softened; column 3 (taps 2 and 4) keeps its
    // colour; the white columns are never touched.
    bmp.MaskAntialiasing(mask, 1);
    EXPECT_NE(bmp.GetPixel(2, 1), 0xFF0000);
    EXPECT_EQ(bmp.GetPixel(3, 1), 0xFF0000);
    EXPECT_EQ(bmp.GetPixel(1, 1), 0);
    bmp.MaskBlur(mask, 4);  // amount not below the height: nothing
    EXPECT_EQ(bmp.GetPixel(3, 1), 0xFF0000);
}

TEST(PictureEffects, WaveWithZeroDivisorIsNothingAndStaysInside)
{
    TspEffectBmp bmp(5, 5);
    for (Integer y = 0; y < 5; ++y)
        for (Integer x = 0; x < 5; ++x) bmp.SetPixel(x, y, y * 16 + x);
    bmp.Wave(0, 3, 100);
    EXPECT_EQ(bmp.GetPixel(4, 4), 0x44);
    bmp.Wave(1, 1, 1000000);  // huge displacement is clamped to the picture
    for (Integer y = 0; y < 5; ++y)
        for (Integer x = 0; x < 5; ++x) EXPECT_LE(bmp.GetPixel(x, y) & 0xF, 4);
}

TEST(ColorHelpers, ConversionsAndHslMoves)
{
    EXPECT_EQ(RGBToSpColor(0x00332211), 0xFF112233u);
    EXPECT_EQ(MakeSpColor(300, -5, 10, 0x1FF), 0xFFFF000Au);
    EXPECT_EQ(HSLToSpColor(0, 0, 0.5f), 0xFF808080u);  // 127.5 to even
    EXPECT_EQ(ChangeColorBrightness(0x00102030, 0x7FFFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(ChangeColorBrightness(0x80102030, -0x20), 0xFF000010u);

    float h, s, l;
    SpColorToHSL(0xFFFF0000, h, s, l);
    EXPECT_FLOAT_EQ(h, 0);
    EXPECT_FLOAT_EQ(s, 1);
    EXPECT_FLOAT_EQ(l, 0.5f);
    SpColorToHSL(0xFF0000FF, h, s, l);
    EXPECT_FLOAT_EQ(h, 4.0f / 6);

    const TspColor primaries[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF808080, 0xFF000000, 0xFFFFFFFF};
    for (const TspColor c : primaries) {
        SpColorToHSL(c, h, s, l);
        EXPECT_EQ(HSLToSpColor(h, s, l), c) << std::hex << c;
    }

    // 0xFFA42814 has S * 255 = 200; +100 wraps once to 45 instead of clamping.
    EXPECT_EQ(ChangeColorSat(0xFFA42814, 100), 0xFF6C504Cu);
    // Hue 161 + 100 wraps to 6.
    EXPECT_EQ(ChangeColorHue(0xFF2040C0, 100), 0xFFC03720u);
    EXPECT_EQ(SetColorHue(0xFFFF0000, 85), 0xFF00FF00u);
    EXPECT_EQ(SetColorHue(0xFFFF0000, 1000), SetColorHue(0xFFFF0000, 255));
    EXPECT_EQ(ChangeColorSat(0xFFA42814, 0x7FFFFFFF) >> 24, 0xFFu);  // absurd deltas stay defined
}

}  // namespace

namespace {

TEST(ColorHelpers, PlatformColoursWithAlpha)
{
    EXPECT_EQ(ColorToSpColor(clRed, 255), 0xFFFF0000u);
    EXPECT_EQ(ColorToSpColor(clRed, 0), 0x00FF0000u);
    EXPECT_EQ(ColorToSpColor(clBtnFace, 0x80),
              0x80000000u | (RGBToSpColor(static_cast<uint32_t>(ColorToRGB(clBtnFace))) & 0x00FFFFFF));

    TspEffectBmp bmp(1, 1), mask(1, 1);
    bmp.MaskFillColor(mask, clRed, 0.5);  // black towards red by half: 127.5 to even
    EXPECT_EQ(bmp.GetPixel(0, 0), 0x800000);
}

}  // namespace
