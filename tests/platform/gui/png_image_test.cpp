// PNG pictures: every colour type and depth survives a save and a load unchanged; transparency is read the way
// the drawing code relies on; damaged files raise.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/png_format.h"
#include "platform/gui/png_image.h"

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer's allocation hooks (its header does not come with every compiler).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*AMalloc)(const volatile void*, size_t),
                                                        void (*AFree)(const volatile void*));
#endif

namespace {

TPngPixels RandomPicture(TPngColorType AType, int ADepth, int32_t AWidth, int32_t AHeight, unsigned ASeed)
{
    std::mt19937 random(ASeed);
    TPngPixels p;
    p.Width = AWidth;
    p.Height = AHeight;
    p.ColorType = AType;
    p.BitDepth = ADepth;
    p.Allocate();
    auto fill = [&](std::vector<uint8_t>& v) { for (auto& b : v) b = uint8_t(random()); };
    fill(p.Data);
    fill(p.Alpha);
    fill(p.DataLow);
    fill(p.AlphaLow);
    if (AType == COLOR_PALETTE) {
        for (int i = 0; i < (1 << ADepth); ++i) p.Palette.push_back(random() & 0xFFFFFF);
        p.PaletteAlpha = {0, 128, 255};
        p.PaletteAlpha.resize(std::min<size_t>(3, p.Palette.size()));
    }
    // Unused bits at the end of a packed row are not part of the picture; keep them 0 for the comparison.
    if (ADepth < 8) {
        int used_bits = AWidth * ADepth;
        if (used_bits % 8 != 0)
            for (int32_t y = 0; y < AHeight; ++y) p.Data[y * p.RowBytes + p.RowBytes - 1] &= uint8_t(0xFF << (8 - used_bits % 8));
    }
    if (AType == COLOR_GRAYSCALE || AType == COLOR_RGB) {
        p.HasTransparentSample = true;
        uint16_t max = uint16_t((1u << ADepth) - 1);
        p.TransparentSample[0] = uint16_t(7 & max);
        p.TransparentSample[1] = AType == COLOR_RGB ? uint16_t(300 & max) : 0;
        p.TransparentSample[2] = AType == COLOR_RGB ? uint16_t(9 & max) : 0;
    }
    return p;
}

struct ColourTypeCase {
    TPngColorType type;
    int depth;
};

class PngRoundTrip : public ::testing::TestWithParam<ColourTypeCase> {};

TEST_P(PngRoundTrip, SavesAndLoadsEverySampleUnchanged)
{
    auto [type, depth] = GetParam();
    TPngPixels original = RandomPicture(type, depth, 13, 5, 1234);
    TPngPixels read = ReadPng(WritePng(original));
    EXPECT_EQ(read.Width, 13);
    EXPECT_EQ(read.Height, 5);
    EXPECT_EQ(read.ColorType, type);
    EXPECT_EQ(read.BitDepth, depth);
    EXPECT_EQ(read.Data, original.Data);
    EXPECT_EQ(read.Alpha, original.Alpha);
    EXPECT_EQ(read.DataLow, original.DataLow);
    EXPECT_EQ(read.AlphaLow, original.AlphaLow);
    EXPECT_EQ(read.Palette, original.Palette);
    EXPECT_EQ(read.PaletteAlpha, original.PaletteAlpha);
    EXPECT_EQ(read.HasTransparentSample, original.HasTransparentSample);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(read.TransparentSample[i], original.TransparentSample[i]);

    // The same through the picture class and a stream, which must leave the stream after the picture.
    TPngImage png;
    TMemoryStream stream;
    std::vector<uint8_t> file = WritePng(original);
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.WriteBuffer("tail", 4);
    stream.SetPosition(0);
    png.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), Int64(file.size()));
    TMemoryStream saved;
    png.SaveToStream(&saved);
    const auto* bytes = static_cast<const uint8_t*>(saved.Memory());
    EXPECT_EQ(ReadPng(std::vector<uint8_t>(bytes, bytes + saved.Size())).Data, original.Data);
}

INSTANTIATE_TEST_SUITE_P(AllColourTypes, PngRoundTrip,
                         ::testing::Values(ColourTypeCase{COLOR_GRAYSCALE, 1}, ColourTypeCase{COLOR_GRAYSCALE, 2},
                                           ColourTypeCase{COLOR_GRAYSCALE, 4}, ColourTypeCase{COLOR_GRAYSCALE, 8},
                                           ColourTypeCase{COLOR_GRAYSCALE, 16},
                                           ColourTypeCase{COLOR_GRAYSCALEALPHA, 8},
                                           ColourTypeCase{COLOR_GRAYSCALEALPHA, 16}, ColourTypeCase{COLOR_PALETTE, 1},
                                           ColourTypeCase{COLOR_PALETTE, 4}, ColourTypeCase{COLOR_PALETTE, 8},
                                           ColourTypeCase{COLOR_RGB, 8}, ColourTypeCase{COLOR_RGB, 16},
                                           ColourTypeCase{COLOR_RGBALPHA, 8}, ColourTypeCase{COLOR_RGBALPHA, 16}));

TEST(PngImage, SixteenBitSamplesShowTheirHighBytesAndFullScaleStaysFullScale)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 16, 2, 1);
    png.SetPixels(0, 0, TColor(0x0000FF));  // red
    png.AlphaScanline(0)[0] = 255;
    TMemoryStream stream;
    png.SaveToStream(&stream);
    const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
    TPngPixels read = ReadPng(std::vector<uint8_t>(bytes, bytes + stream.Size()));
    EXPECT_EQ(read.Data[2], 0xFF);     // red, high byte
    EXPECT_EQ(read.DataLow[2], 0xFF);  // and low byte: 0xFFFF
    EXPECT_EQ(read.Data[0], 0x00);
    EXPECT_EQ(png.Pixels(0, 0), TColor(0x0000FF));
    EXPECT_EQ(png.Pixels(5, 0), clNone);
}

TEST(PngImage, TransparencyModeAndColour)
{
    TPngImage png;
    png.CreateBlank(COLOR_PALETTE, 8, 2, 2);
    EXPECT_EQ(png.TransparencyMode(), ptmNone);
    png.CreateAlpha();  // every palette entry gets alpha 255: still nothing transparent
    EXPECT_EQ(png.TransparencyMode(), ptmNone);

    // A palette picture with one fully transparent entry is a one-colour transparency.
    TPngPixels p = RandomPicture(COLOR_PALETTE, 8, 2, 2, 7);
    p.PaletteAlpha = {255, 0, 255};
    p.Palette[1] = 0x102030;
    png.Assign(nullptr);
    TMemoryStream stream;
    auto file = WritePng(p);
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    png.LoadFromStream(&stream);
    EXPECT_EQ(png.TransparencyMode(), ptmBit);
    EXPECT_EQ(png.TransparentColor(), TColor(0x302010));

    png.CreateBlank(COLOR_RGBALPHA, 8, 1, 1);
    EXPECT_EQ(png.TransparencyMode(), ptmPartial);
    EXPECT_EQ(png.TransparentColor(), clNone);
}

TEST(PngImage, CreateAlphaTurnsTheTransparentColourIntoAlphaZero)
{
    TPngPixels p;
    p.Width = 3;
    p.Height = 1;
    p.ColorType = COLOR_GRAYSCALE;
    p.BitDepth = 2;
    p.Allocate();
    p.Data[0] = 0b00011011;  // samples 0, 1, 2, 3
    p.HasTransparentSample = true;
    p.TransparentSample[0] = 1;
    TPngImage png;
    TMemoryStream stream;
    auto file = WritePng(p);
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    png.LoadFromStream(&stream);
    png.CreateAlpha();
    EXPECT_EQ(png.Header().ColorType, COLOR_GRAYSCALEALPHA);
    EXPECT_EQ(png.Header().BitDepth, 8);
    ASSERT_NE(png.AlphaScanline(0), nullptr);
    EXPECT_EQ(png.AlphaScanline(0)[0], 255);
    EXPECT_EQ(png.AlphaScanline(0)[1], 0);
    EXPECT_EQ(png.AlphaScanline(0)[2], 255);
    EXPECT_EQ(png.Scanline(0)[2], 170);  // 2 of 3 scaled to 8 bits
    EXPECT_THROW(png.Scanline(1), EInvalidGraphicOperation);
}

TEST(PngImage, DamagedDataRaisesAndKeepsThePicture)
{
    std::vector<uint8_t> good = WritePng(RandomPicture(COLOR_RGB, 8, 4, 4, 3));
    std::vector<uint8_t> bad_crc = good;
    bad_crc[40] ^= 0xFF;
    std::vector<uint8_t> truncated(good.begin(), good.begin() + ptrdiff_t(good.size() / 2));
    std::vector<uint8_t> not_png = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};

    TPngImage png;
    png.CreateBlank(COLOR_RGB, 8, 1, 1);
    for (const auto& data : {bad_crc, truncated, not_png, std::vector<uint8_t>{}}) {
        TMemoryStream stream;
        if (!data.empty()) stream.WriteBuffer(data.data(), Int64(data.size()));
        stream.SetPosition(0);
        EXPECT_THROW(png.LoadFromStream(&stream), EInvalidGraphic);
        EXPECT_EQ(png.Width(), 1);
    }
}

#if defined(__SANITIZE_ADDRESS__)
std::atomic<size_t> LargestAllocation{0};
void NoteAllocation(const volatile void*, size_t ASize)
{
    size_t seen = LargestAllocation.load();
    while (ASize > seen && !LargestAllocation.compare_exchange_weak(seen, ASize)) {
    }
}
void NoteFree(const volatile void*) {}
#endif

TEST(PngImage, AChunkClaimingGigabytesIsNotAllocated)
{
#if defined(__SANITIZE_ADDRESS__)
    // A 1x1 picture's signature and header, then a text chunk whose length says 1.6 GB in a file of 203 bytes.
    std::vector<uint8_t> good = WritePng(RandomPicture(COLOR_RGB, 8, 1, 1, 5));
    std::vector<uint8_t> file(good.begin(), good.begin() + 33);
    file.insert(file.end(), {0x60, 0x00, 0x00, 0x00, 't', 'E', 'X', 't'});
    file.insert(file.end(), {'C', 'o', 'm', 'm', 'e', 'n', 't', 0});
    while (file.size() < 203) file.push_back('x');

    static const bool installed = __sanitizer_install_malloc_and_free_hooks(&NoteAllocation, &NoteFree) != 0;
    ASSERT_TRUE(installed);
    LargestAllocation = 0;
    TPngImage png;
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    EXPECT_THROW(png.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_LT(LargestAllocation.load(), size_t{16} << 20);
#else
    GTEST_SKIP() << "the allocation is watched through the address sanitizer's hooks";
#endif
}

TEST(PngImage, ToBitmapKeepsStraightAlpha)
{
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 1, 1);
    png.SetPixels(0, 0, TColor(0x336699));
    png.AlphaScanline(0)[0] = 100;
    TBitmap bitmap;
    bitmap.Assign(&png);
    ASSERT_EQ(bitmap.PixelFormat(), pf32bit);
    const auto* px = static_cast<const uint8_t*>(bitmap.ScanLine(0));
    EXPECT_EQ(px[0], 0x33);
    EXPECT_EQ(px[1], 0x66);
    EXPECT_EQ(px[2], 0x99);
    EXPECT_EQ(px[3], 100);
}

}  // namespace
