#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include "media/decode/bitmap_transfer.h"
#include "tests/fixtures/media_fixtures.h"

class BitmapFormTest : public MediaEngineTest {};

TEST_F(BitmapFormTest, PixelsOfTheDecodedPictureReachTheBitmapAt24And32Bits)
{
    for (int bits : {24, 32}) {
        auto decoder = std::make_unique<TFFDecoder>(nullptr);
        ASSERT_TRUE(decoder->LoadFile(MediaFixture("bframes.mp4")));
        decoder->SetBitmapBitsPixel(bits);
        TBitmap bitmap;
        EXPECT_FALSE(CopyToBitmap(*decoder, &bitmap));
        EXPECT_EQ(decoder->LastErrMsg(), "picture not ready, please decode first");
        ASSERT_TRUE(decoder->Decode());
        ASSERT_TRUE(CopyToBitmap(*decoder, &bitmap));
        EXPECT_EQ(bitmap.Width(), 160);
        EXPECT_EQ(bitmap.Height(), 120);
        EXPECT_EQ(bitmap.PixelFormat(), bits == 24 ? pf24bit : pf32bit);
        const win::BITMAP& dib = *decoder->FormatConverter().DIB();
        for (int row : {0, 60, 119}) {
            const uint8_t* line = static_cast<const uint8_t*>(bitmap.ScanLine(row));
            const uint8_t* expected = static_cast<const uint8_t*>(dib.bmBits) + row * dib.bmWidthBytes;
            EXPECT_EQ(std::memcmp(line, expected, 160 * bits / 8), 0) << row;
        }
        // And back.
        static_cast<uint8_t*>(bitmap.ScanLine(5))[0] = 77;
        BitmapToRGB(decoder->FormatConverter(), &bitmap);
        EXPECT_EQ(static_cast<const uint8_t*>(dib.bmBits)[5 * dib.bmWidthBytes], 77);
        decoder.reset();
    }
}
