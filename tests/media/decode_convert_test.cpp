// Picture conversion between library pictures and bitmap rows, checked pixel by pixel on a test pattern.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "media/decode/format_converter.h"
#include "media/loader/av_bindings.h"
#include "platform/rtl/exceptions.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

class DecodeConvertTest : public MediaEngineTest {};

struct TRGB {
    uint8_t R, G, B;
};

// Four 8x8 blocks side by side in each of two rows: red, green, blue, white / black, yellow, cyan, magenta.
const TRGB Pattern[2][4] = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}},
                            {{0, 0, 0}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}}};
constexpr int Width = 32, Height = 16;

// The pattern in the library's RGB24 (red first): a format no bitmap uses, so it always goes through the scaler.
std::vector<uint8_t> PatternRGB24()
{
    std::vector<uint8_t> rows(Width * 3 * Height);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const TRGB c = Pattern[y / 8][x / 8];
            uint8_t* p = &rows[(y * Width + x) * 3];
            p[0] = c.R, p[1] = c.G, p[2] = c.B;
        }
    return rows;
}

// Block centres of the bitmap rows in the converter's layout (B, G, R[, A]).
void ExpectPattern(const win::BITMAP& ADib, int ATolerance)
{
    const int bytes = ADib.bmBitsPixel / 8;
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 4; ++bx) {
            const int x = bx * 8 + 4, y = by * 8 + 4;
            const uint8_t* p = static_cast<const uint8_t*>(ADib.bmBits) + y * ADib.bmWidthBytes + x * bytes;
            const TRGB c = Pattern[by][bx];
            EXPECT_NEAR(p[0], c.B, ATolerance) << bx << "," << by;
            EXPECT_NEAR(p[1], c.G, ATolerance) << bx << "," << by;
            EXPECT_NEAR(p[2], c.R, ATolerance) << bx << "," << by;
            if (bytes == 4) {
                EXPECT_EQ(p[3], 255);
            }
        }
}

TEST_F(DecodeConvertTest, ATestPatternSurvivesAt24And32Bits)
{
    std::vector<uint8_t> rgb = PatternRGB24();
    TAVPicture source;
    source.data[0] = rgb.data();
    source.linesize[0] = Width * 3;
    for (int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        TFormatConverter converter;
        converter.SetBitsPixel(bits);
        ASSERT_TRUE(converter.PictureToRGB(&source, AV_PIX_FMT_RGB24, Width, Height)) << converter.LastErrMsg();
        EXPECT_EQ(converter.RGBPictureRef(), converter.RGBPicture());
        const win::BITMAP& dib = *converter.DIB();
        EXPECT_EQ(dib.bmWidth, Width);
        EXPECT_EQ(dib.bmWidthBytes, Width * bits / 8);
        ExpectPattern(dib, 0);

        // Through a planar YUV picture and back, as a frame hook's round trip does.
        AVFrame* yuv = ff::av_frame_alloc();
        yuv->format = AV_PIX_FMT_YUV444P;
        yuv->width = Width;
        yuv->height = Height;
        ASSERT_GE(ff::av_frame_get_buffer(yuv, 0), 0);
        TAVPicture planar;
        for (int i = 0; i < 4; ++i) planar.data[i] = yuv->data[i], planar.linesize[i] = yuv->linesize[i];
        ASSERT_TRUE(converter.RGBToPicture(&planar, AV_PIX_FMT_YUV444P, Width, Height));
        TFormatConverter back;
        back.SetBitsPixel(bits);
        ASSERT_TRUE(back.PictureToRGB(&planar, AV_PIX_FMT_YUV444P, Width, Height));
        ExpectPattern(*back.DIB(), 3);
        ff::av_frame_free(&yuv);
    }
}

TEST_F(DecodeConvertTest, APictureAlreadyInBitmapLayoutIsUsedInPlaceUnlessItsWidthIsOdd)
{
    std::vector<uint8_t> rows(Width * 3 * Height, 7);
    TAVPicture picture;
    picture.data[0] = rows.data();
    picture.linesize[0] = Width * 3;
    TFormatConverter converter;
    ASSERT_TRUE(converter.PictureToRGB(&picture, AV_PIX_FMT_BGR24, Width, Height));
    EXPECT_EQ(converter.RGBPictureRef(), &picture);
    EXPECT_EQ(converter.DIB()->bmBits, rows.data());
    // Back into the same picture: nothing to scale, the pixels are already there.
    EXPECT_TRUE(converter.RGBToPicture(&picture, AV_PIX_FMT_BGR24, Width, Height));
    EXPECT_EQ(rows[5], 7);

    // 31 pixels of 3 bytes: rows of 93 bytes in, 96-byte bitmap rows out.
    picture.linesize[0] = 93;
    ASSERT_TRUE(converter.PictureToRGB(&picture, AV_PIX_FMT_BGR24, 31, Height));
    EXPECT_EQ(converter.RGBPictureRef(), converter.RGBPicture());
    EXPECT_EQ(converter.DIB()->bmWidthBytes, 96);
}

TEST_F(DecodeConvertTest, DepthsMapToTheBitmapRowLayouts)
{
    TFormatConverter converter;
    EXPECT_THROW(converter.SetBitsPixel(12), Exception);
    try {
        converter.SetBitsPixel(12);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid BitsPixel 12");
    }
    // Red in the high bits, as the bitmap's 16-bit rows keep it.
    const std::pair<TBMPPixelFormat, uint16_t> red[] = {{TBMPPixelFormat::pf15bit, 0x7C00},
                                                        {TBMPPixelFormat::pf16bit, 0xF800}};
    std::vector<uint8_t> rgb = PatternRGB24();
    TAVPicture source;
    source.data[0] = rgb.data();
    source.linesize[0] = Width * 3;
    for (const auto& [format, expected] : red) {
        SCOPED_TRACE(static_cast<int>(format));
        converter.SetBMPPixFmt(format);
        EXPECT_EQ(converter.BitsPixel(), 16);
        ASSERT_TRUE(converter.PictureToRGB(&source, AV_PIX_FMT_RGB24, Width, Height));
        const auto* row = static_cast<const uint16_t*>(converter.DIB()->bmBits) + 4 * converter.DIB()->bmWidthBytes / 2;
        EXPECT_EQ(row[4], expected);
    }
    // Asking for 16 bits while 15 are in use keeps the 15-bit layout.
    converter.SetBitsPixel(15);
    converter.SetBitsPixel(16);
    EXPECT_EQ(converter.BMPPixFmt(), TBMPPixelFormat::pf15bit);
    converter.SetBitsPixel(32);
    EXPECT_EQ(converter.RGBPictureRef(), nullptr);
    EXPECT_THROW(converter.RGBToPicture(&source, AV_PIX_FMT_RGB24, Width, Height), EInvalidOperation);
}

}  // namespace
