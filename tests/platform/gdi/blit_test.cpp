// Blits and stretches against hand-computed pixels, including rectangles partly outside both surfaces.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "canvas_fixture.h"

using namespace win;
using gdi_test::Canvas;

namespace {

constexpr uint32_t kBack = 0xFF000000u;

// Every source pixel is distinct and carries alpha 0xAA, so a copy shows where it came from and that alpha came along.
uint32_t SourcePixel(int x, int y) { return 0xAA000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8 | 0x33u; }

void PaintSource(Canvas& c)
{
    for (int y = 0; y < c.Height; ++y)
        for (int x = 0; x < c.Width; ++x)
            c.At(x, y) = SourcePixel(x, y);
}

enum class Call { Bit, Stretch };

struct BlitCase {
    const char* Name;
    Call Kind;
    int X, Y, W, H, SX, SY, SW, SH;
    RECT Clip;           // destination clip (logical); empty = none
    std::vector<int> Xs; // source column for each of the 6 destination columns; -1 = untouched
    std::vector<int> Ys; // source row for each of the 5 destination rows
};

void PrintTo(const BlitCase& ACase, std::ostream* AOut) { *AOut << ACase.Name; }

class BlitPixels : public ::testing::TestWithParam<BlitCase> {};

TEST_P(BlitPixels, EveryPixelComesFromTheExpectedSource)
{
    const BlitCase& k = GetParam();
    Canvas src(4, 3), dst(6, 5, kBack);
    PaintSource(src);
    SetStretchBltMode(dst.Dc, COLORONCOLOR);
    if (k.Clip.Width() > 0)
        IntersectClipRect(dst.Dc, k.Clip.Left, k.Clip.Top, k.Clip.Right, k.Clip.Bottom);
    if (k.Kind == Call::Bit)
        EXPECT_TRUE(BitBlt(dst.Dc, k.X, k.Y, k.W, k.H, src.Dc, k.SX, k.SY, SRCCOPY));
    else
        EXPECT_TRUE(StretchBlt(dst.Dc, k.X, k.Y, k.W, k.H, src.Dc, k.SX, k.SY, k.SW, k.SH, SRCCOPY));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const int sx = k.Xs[size_t(x)], sy = k.Ys[size_t(y)];
            const uint32_t expected = sx < 0 || sy < 0 ? kBack : SourcePixel(sx, sy);
            EXPECT_EQ(dst.At(x, y), expected) << "at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BlitPixels,
    ::testing::Values(
        BlitCase{"copy_inside", Call::Bit, 1, 1, 4, 3, 0, 0, 0, 0, {}, {-1, 0, 1, 2, 3, -1}, {-1, 0, 1, 2, -1}},
        BlitCase{"source_partly_outside", Call::Bit, 0, 0, 6, 5, -1, -1, 0, 0, {}, {-1, 0, 1, 2, 3, -1},
                 {-1, 0, 1, 2, -1}},
        BlitCase{"dest_partly_outside", Call::Bit, 4, 3, 4, 3, 0, 0, 0, 0, {}, {-1, -1, -1, -1, 0, 1},
                 {-1, -1, -1, 0, 1}},
        BlitCase{"both_partly_outside", Call::Bit, -2, -1, 6, 4, -1, 0, 0, 0, {}, {1, 2, 3, -1, -1, -1},
                 {1, 2, -1, -1, -1}},
        BlitCase{"clipped", Call::Bit, 0, 0, 4, 3, 0, 0, 0, 0, {1, 1, 3, 5}, {-1, 1, 2, -1, -1, -1},
                 {-1, 1, 2, -1, -1}},
        BlitCase{"enlarge_twice", Call::Stretch, 0, 0, 6, 4, 1, 1, 3, 2, {}, {1, 1, 2, 2, 3, 3}, {1, 1, 2, 2, -1}},
        BlitCase{"shrink", Call::Stretch, 0, 0, 2, 1, 0, 0, 4, 3, {}, {0, 2, -1, -1, -1, -1}, {1, -1, -1, -1, -1}},
        BlitCase{"mirror_by_dest", Call::Stretch, 3, 0, -4, 3, 0, 0, 4, 3, {}, {3, 2, 1, 0, -1, -1},
                 {0, 1, 2, -1, -1}},
        BlitCase{"mirror_by_source", Call::Stretch, 0, 0, 4, 3, 3, 0, -4, 3, {}, {3, 2, 1, 0, -1, -1},
                 {0, 1, 2, -1, -1}},
        BlitCase{"mirror_partly_outside", Call::Stretch, 0, 0, 4, 1, 4, 0, -4, 1, {}, {-1, 3, 2, 1, -1, -1},
                 {0, -1, -1, -1, -1}},
        BlitCase{"flip_vertically", Call::Stretch, 0, 2, 4, -3, 0, 0, 4, 3, {}, {0, 1, 2, 3, -1, -1},
                 {2, 1, 0, -1, -1}},
        BlitCase{"enormous_stretch", Call::Stretch, -5000000, 0, 10000000, 5, 0, 0, 4, 3, {}, {2, 2, 2, 2, 2, 2},
                 {0, 0, 1, 2, 2}},
        BlitCase{"enlarge_far_outside", Call::Stretch, -6, -4, 12, 9, -1, -1, 6, 3, {}, {2, 2, 3, 3, -1, -1},
                 {0, 0, 1, 1, 1}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Blit, RefusesCoordinatesBeyondRange)
{
    Canvas src(4, 3), dst(6, 5, kBack);
    EXPECT_FALSE(StretchBlt(dst.Dc, -2000000000, 0, 2100000000, 5, src.Dc, 0, 0, 4, 3, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst.Dc, 0, 0, 0, 5, src.Dc, 0, 0, SRCCOPY)) << "zero width";
    EXPECT_EQ(dst.Count(kBack), 30);
}

TEST(Blit, SelfOverlappingCopyScrolls)
{
    Canvas c(5, 1);
    PaintSource(c);
    EXPECT_TRUE(BitBlt(c.Dc, 1, 0, 4, 1, c.Dc, 0, 0, SRCCOPY));
    EXPECT_EQ(c.At(0, 0), SourcePixel(0, 0));
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(c.At(x, 0), SourcePixel(x - 1, 0));
}

TEST(Blit, RasterOperationsWriteAlphaZero)
{
    struct Case {
        DWORD Rop;
        uint32_t Expected; // destination 0xFF00F0F0, source 0xAA0FFF00, brush RGB(0x11,0x22,0x33)
    };
    const Case cases[] = {
        {SRCAND, 0x0000F000},     {SRCPAINT, 0x000FFFF0}, {SRCINVERT, 0x000F0FF0}, {NOTSRCCOPY, 0x00F000FF},
        {DSTINVERT, 0x00FF0F0F},  {PATCOPY, 0x00112233},  {BLACKNESS, 0x00000000}, {WHITENESS, 0x00FFFFFF},
        {PATINVERT, 0x0011D2C3},
    };
    for (const Case& k : cases) {
        Canvas src(1, 1, 0xAA0FFF00u), dst(1, 1, 0xFF00F0F0u);
        HBRUSH brush = CreateSolidBrush(RGB(0x11, 0x22, 0x33));
        HGDIOBJ old = SelectObject(dst.Dc, brush);
        EXPECT_TRUE(BitBlt(dst.Dc, 0, 0, 1, 1, src.Dc, 0, 0, k.Rop));
        EXPECT_EQ(dst.At(0, 0), k.Expected) << std::hex << "rop " << k.Rop;
        SelectObject(dst.Dc, old);
        DeleteObject(brush);
    }
}

TEST(Blit, ShrinkingInAndModeKeepsDarkPixels)
{
    // A one-pixel black line in a white source survives a 2:1 shrink only when the dropped pixels are folded in.
    Canvas src(4, 1, 0x00FFFFFF), dst(2, 1, kBack);
    src.At(1, 0) = 0;
    EXPECT_EQ(GetStretchBltMode(dst.Dc), BLACKONWHITE) << "the GDI default";
    StretchBlt(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), 0u);
    EXPECT_EQ(dst.At(1, 0), 0x00FFFFFFu);
    SetStretchBltMode(dst.Dc, COLORONCOLOR);
    StretchBlt(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), 0x00FFFFFFu) << "the nearest sample skips the line";
}

// A 3 x 2 DIB of 24 bits in either row order; pixel (x, y) is blue x+1, green y+1, red 0x44.
struct Dib {
    BITMAPINFO Info{};
    std::vector<uint8_t> Bytes;
    explicit Dib(bool ABottomUp)
    {
        Info.bmiHeader.biWidth = 3;
        Info.bmiHeader.biHeight = ABottomUp ? 2 : -2;
        Info.bmiHeader.biBitCount = 24;
        Bytes.assign(size_t(DibStride(3, 24)) * 2, 0);
        for (int y = 0; y < 2; ++y) {
            const int row = ABottomUp ? 1 - y : y;
            for (int x = 0; x < 3; ++x) {
                uint8_t* p = &Bytes[size_t(row * DibStride(3, 24) + x * 3)];
                p[0] = uint8_t(x + 1);
                p[1] = uint8_t(y + 1);
                p[2] = 0x44;
            }
        }
    }
    static uint32_t Pixel(int x, int y) { return 0x00440000u | uint32_t(y + 1) << 8 | uint32_t(x + 1); }
};

TEST(DibBlit, StretchDIBitsCountsRowsFromTheBottom)
{
    for (bool bottomUp : {true, false}) {
        Dib dib(bottomUp);
        Canvas dst(3, 2, kBack);
        // One row with its lower-left corner at the bottom: the bottom row, and alpha 0 from a 24-bit source.
        EXPECT_EQ(StretchDIBits(dst.Dc, 0, 0, 3, 1, 0, 0, 3, 1, dib.Bytes.data(), &dib.Info, DIB_RGB_COLORS, SRCCOPY),
                  1);
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dst.At(x, 0), Dib::Pixel(x, 1)) << "bottom-up " << bottomUp;
        EXPECT_EQ(dst.At(0, 1), kBack);
        // Both heights negative, as the skin's partial draws pass them (destination y + cy - 1, height 1 - cy;
        // source y Height - y, height 1 - cy): not mirrored, and the rows stay aligned.
        dst.Fill(kBack);
        StretchDIBits(dst.Dc, 0, 1, 3, -1, 0, 2, 3, -1, dib.Bytes.data(), &dib.Info, DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ(dst.At(0, 0), kBack) << "bottom-up " << bottomUp;
        EXPECT_EQ(dst.At(2, 1), Dib::Pixel(2, 1)) << "bottom-up " << bottomUp;
    }
}

TEST(DibBlit, SetDIBitsToDeviceTakesBandsOfScanLines)
{
    Dib dib(true);
    Canvas dst(3, 2, kBack);
    // Only the bottom scan line is passed (start 0, one line): it lands on the destination's lower row.
    EXPECT_EQ(SetDIBitsToDevice(dst.Dc, 0, 0, 3, 2, 0, 0, 0, 1, dib.Bytes.data(), &dib.Info, DIB_RGB_COLORS), 1);
    EXPECT_EQ(dst.At(1, 1), Dib::Pixel(1, 1));
    EXPECT_EQ(dst.At(1, 0), kBack) << "the top scan line was not given";
    EXPECT_EQ(SetDIBitsToDevice(dst.Dc, -1, 0, 3, 2, 0, 0, 0, 2, dib.Bytes.data(), &dib.Info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(dst.At(0, 0), Dib::Pixel(1, 0));
    EXPECT_EQ(dst.At(2, 0), kBack);
}

TEST(DibBlit, BottomUp24BitSectionDrawsUpright)
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2; // bottom-up: the top row is the last in memory
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT top{0, 0, 3, 1};
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(dc, &top, brush);
    const auto* bytes = static_cast<const uint8_t*>(bits);
    const int stride = DibStride(3, 24);
    EXPECT_EQ(bytes[0], 0) << "the bottom row is untouched";
    EXPECT_EQ(bytes[stride + 6], 3) << "blue of the top row's third pixel";
    EXPECT_EQ(bytes[stride + 7], 2);
    EXPECT_EQ(bytes[stride + 8], 1);
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(1, 2, 3));
    DIBSECTION ds;
    EXPECT_EQ(GetObject(bmp, sizeof(ds), &ds), int(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, 2);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, stride);
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteDC(dc);
    DeleteObject(bmp);
}

TEST(DibBlit, GetDIBitsConvertsToEitherOrder)
{
    Canvas src(3, 2);
    PaintSource(src);
    BITMAPINFO info{};
    EXPECT_EQ(GetDIBits(src.Dc, src.Bitmap, 0, 2, nullptr, &info, DIB_RGB_COLORS), 1);
    EXPECT_EQ(info.bmiHeader.biWidth, 3);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biHeight = 2; // bottom-up
    std::vector<uint8_t> rows(size_t(DibStride(3, 24)) * 2);
    EXPECT_EQ(GetDIBits(src.Dc, src.Bitmap, 0, 2, rows.data(), &info, DIB_RGB_COLORS), 2);
    const uint32_t bottomLeft = SourcePixel(0, 1);
    EXPECT_EQ(rows[0], uint8_t(bottomLeft));
    EXPECT_EQ(rows[1], uint8_t(bottomLeft >> 8));
    EXPECT_EQ(rows[2], uint8_t(bottomLeft >> 16));
}

TEST(AlphaBlendTest, PremultipliedSourceOverDestination)
{
    Canvas src(2, 1), dst(2, 1, 0xFF0000FFu);
    src.At(0, 0) = 0x80400000u; // half-covering red, premultiplied
    src.At(1, 0) = 0x00000000u; // fully transparent
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 2, 1, blend));
    EXPECT_EQ(dst.At(0, 0), 0xFF40007Fu);
    EXPECT_EQ(dst.At(1, 0), 0xFF0000FFu);

    // Constant alpha over an opaque source: a plain mix.
    Canvas opaque(1, 1, 0x00FFFFFFu), under(1, 1, 0xFF000000u);
    blend = {AC_SRC_OVER, 0, 128, 0};
    EXPECT_TRUE(AlphaBlend(under.Dc, 0, 0, 1, 1, opaque.Dc, 0, 0, 1, 1, blend));
    EXPECT_EQ(under.At(0, 0), 0xFF808080u);

    EXPECT_FALSE(AlphaBlend(dst.Dc, 0, 0, 2, 1, src.Dc, 1, 0, 2, 1, blend)) << "source beyond its surface";
    EXPECT_FALSE(AlphaBlend(dst.Dc, 2, 0, -2, 1, src.Dc, 0, 0, 2, 1, blend)) << "mirroring is refused";
}

} // namespace
