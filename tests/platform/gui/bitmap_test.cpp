// Bitmaps: BMP files in every pixel format come back as they were written; damaged files raise and leave the
// bitmap alone; scan lines and the canvas see the same picture.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/bmp_format.h"

namespace {

size_t RowBytes(TPixelFormat AFormat, Integer AWidth)
{
    int bits[] = {32, 1, 4, 8, 16, 16, 24, 32, 32};
    return (size_t(AWidth) * bits[AFormat] + 7) / 8;
}

void FillRandom(TBitmap& ABitmap, unsigned ASeed)
{
    std::mt19937 random(ASeed);
    for (Integer y = 0; y < ABitmap.Height(); ++y) {
        auto* row = static_cast<uint8_t*>(ABitmap.ScanLine(y));
        for (size_t i = 0; i < RowBytes(ABitmap.PixelFormat(), ABitmap.Width()); ++i) row[i] = uint8_t(random());
        if (ABitmap.PixelFormat() == pf15bit)  // the top bit of a 5-5-5 pixel is not part of it
            for (Integer x = 0; x < ABitmap.Width(); ++x) row[2 * x + 1] &= 0x7F;
    }
}

std::vector<uint8_t> Rows(TBitmap& ABitmap)
{
    std::vector<uint8_t> all;
    size_t used = RowBytes(ABitmap.PixelFormat(), ABitmap.Width());
    for (Integer y = 0; y < ABitmap.Height(); ++y) {
        auto* row = static_cast<uint8_t*>(ABitmap.ScanLine(y));
        if (ABitmap.PixelFormat() == pf1bit || ABitmap.PixelFormat() == pf4bit) {
            // Compare only the bits of real pixels in the last byte.
            int bits = ABitmap.PixelFormat() == pf1bit ? 1 : 4;
            std::vector<uint8_t> copy(row, row + used);
            int tail = (ABitmap.Width() * bits) % 8;
            if (tail) copy.back() &= uint8_t(0xFF << (8 - tail));
            all.insert(all.end(), copy.begin(), copy.end());
        } else {
            all.insert(all.end(), row, row + used);
        }
    }
    return all;
}

class BmpRoundTrip : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BmpRoundTrip, SavesAndLoadsThePixelsAndFormat)
{
    TBitmap original(7, 5, GetParam());
    FillRandom(original, 99);
    TMemoryStream stream;
    original.SaveToStream(&stream);
    original.SaveToStream(&stream);  // two files in a row, as stored skins keep them
    stream.SetPosition(0);

    TBitmap first, second;
    first.LoadFromStream(&stream);
    second.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), stream.Size());
    for (TBitmap* read : {&first, &second}) {
        EXPECT_EQ(read->PixelFormat(), GetParam());
        EXPECT_EQ(read->Width(), 7);
        EXPECT_EQ(read->Height(), 5);
        EXPECT_EQ(Rows(*read), Rows(original));
    }
}

INSTANTIATE_TEST_SUITE_P(PixelFormats, BmpRoundTrip,
                         ::testing::Values(pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit));

// A top-down 2 x 2 24-bit file, and the same picture as 8-bit run-length data.
std::vector<uint8_t> HandMadeBmp(int32_t AHeight, uint32_t ACompression, std::vector<uint8_t> APalette,
                                 std::vector<uint8_t> APixels, uint16_t ABitCount)
{
    std::vector<uint8_t> v = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    auto put32 = [&](uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i))); };
    auto put16 = [&](uint16_t x) { v.push_back(uint8_t(x)); v.push_back(uint8_t(x >> 8)); };
    put32(40);
    put32(2);
    put32(uint32_t(AHeight));
    put16(1);
    put16(ABitCount);
    put32(ACompression);
    for (int i = 0; i < 3; ++i) put32(0);
    put32(uint32_t(APalette.size() / 4));
    put32(0);
    v.insert(v.end(), APalette.begin(), APalette.end());
    uint32_t offset = uint32_t(v.size());
    std::memcpy(v.data() + 10, &offset, 4);
    v.insert(v.end(), APixels.begin(), APixels.end());
    uint32_t size = uint32_t(v.size());
    std::memcpy(v.data() + 2, &size, 4);
    return v;
}

TEST(Bitmap, ReadsTopDownAndRunLengthFiles)
{
    // Top row: blue, green; bottom row: red, white.
    auto top_down = HandMadeBmp(-2, 0, {}, {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0}, 24);
    std::vector<uint8_t> palette = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0};
    // Rows bottom-up: (2 red, white) then end of line, (blue, green), end of bitmap.
    auto rle = HandMadeBmp(2, 1, palette, {1, 2, 1, 3, 0, 0, 1, 0, 1, 1, 0, 1}, 8);
    for (const auto& file : {top_down, rle}) {
        TBitmap bitmap;
        TMemoryStream stream;
        stream.WriteBuffer(file.data(), Int64(file.size()));
        stream.SetPosition(0);
        bitmap.LoadFromStream(&stream);
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), TColor(0xFF0000));  // blue as TColor
        EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), TColor(0x00FF00));
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 1), TColor(0x0000FF));
        EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), TColor(0xFFFFFF));
    }
}

TEST(Bitmap, PaletteClaimingMoreColoursThanTheBitCountKeepsToItsOwnSize)
{
    // A 1-bit 2x2 picture whose header says 256 colours: entry 0 black, entry 1 white, the other 254 a marker
    // colour that no pixel may take.
    std::vector<uint8_t> palette = {0, 0, 0, 0, 255, 255, 255, 0};
    for (int i = 2; i < 256; ++i) palette.insert(palette.end(), {0x11, 0x22, 0x33, 0});
    // Bottom row: white, black; top row: black, white (one byte per row, padded to four).
    auto file = HandMadeBmp(2, 0, palette, {0x80, 0, 0, 0, 0x40, 0, 0, 0}, 1);
    TBitmap bitmap;
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    bitmap.LoadFromStream(&stream);
    EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), TColor(0x000000));
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), TColor(0xFFFFFF));
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 1), TColor(0xFFFFFF));
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 1), TColor(0x000000));
}

TEST(Bitmap, DamagedFilesRaiseAndKeepTheBitmap)
{
    TBitmap original(3, 3, pf24bit);
    TMemoryStream good;
    original.SaveToStream(&good);
    const auto* bytes = static_cast<const uint8_t*>(good.Memory());
    std::vector<uint8_t> file(bytes, bytes + good.Size());

    std::vector<uint8_t> truncated(file.begin(), file.end() - 10);
    std::vector<uint8_t> bad_magic = file;
    bad_magic[0] = 'X';
    std::vector<uint8_t> bad_depth = file;
    bad_depth[28] = 7;
    std::vector<uint8_t> huge = file;
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;  // width 2^31 - 1
    for (const auto& data : {truncated, bad_magic, bad_depth, huge}) {
        TBitmap bitmap(1, 1, pf8bit);
        TMemoryStream stream;
        stream.WriteBuffer(data.data(), Int64(data.size()));
        stream.SetPosition(0);
        EXPECT_THROW(bitmap.LoadFromStream(&stream), EInvalidGraphic);
        EXPECT_EQ(bitmap.Width(), 1);
        EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    }
}

TEST(Bitmap, ScanLinesAreBottomUpAndChecked)
{
    TBitmap bitmap(4, 3, pf32bit);
    auto* top = static_cast<uint8_t*>(bitmap.ScanLine(0));
    auto* next = static_cast<uint8_t*>(bitmap.ScanLine(1));
    EXPECT_EQ(top - next, 16);
    EXPECT_THROW(bitmap.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(Bitmap, SizeChangeKeepsTheTopLeftAndFormatChangeConvertsPixels)
{
    TBitmap bitmap(2, 2, pf24bit);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    bitmap.Canvas()->SetPixels(1, 1, clBlue);
    bitmap.SetSize(3, 1);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 0), clBlack);

    bitmap.SetPixelFormat(pf8bit);  // red is in the 3-3-2 palette
    EXPECT_EQ(static_cast<uint8_t*>(bitmap.ScanLine(0))[0], 7);
    bitmap.SetPixelFormat(pf32bit);
    auto* px = static_cast<uint8_t*>(bitmap.ScanLine(0));
    EXPECT_EQ(px[2], 255);
    EXPECT_EQ(px[3], 0);  // converted pixels carry no alpha
}

}  // namespace
