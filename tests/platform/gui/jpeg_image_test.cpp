// JPEG pictures: a bitmap saved at a quality comes back close to itself, baseline; damaged files raise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/jpeg_image.h"

namespace {

TBitmap* Gradient()
{
    auto* bitmap = new TBitmap(64, 48, pf24bit);
    for (Integer y = 0; y < 48; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
        for (Integer x = 0; x < 64; ++x) {
            row[3 * x] = uint8_t(x * 4);
            row[3 * x + 1] = uint8_t(y * 5);
            row[3 * x + 2] = uint8_t(255 - x * 2);
        }
    }
    return bitmap;
}

std::vector<uint8_t> Save(TJPEGImage& AJpeg)
{
    TMemoryStream stream;
    AJpeg.SaveToStream(&stream);
    const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
    return {bytes, bytes + stream.Size()};
}

bool HasMarker(const std::vector<uint8_t>& AData, uint8_t AMarker)
{
    for (size_t i = 0; i + 1 < AData.size(); ++i)
        if (AData[i] == 0xFF && AData[i + 1] == AMarker) return true;
    return false;
}

TEST(JpegImage, SaveThenLoadIsCloseToTheOriginal)
{
    std::unique_ptr<TBitmap> original(Gradient());
    TJPEGImage jpeg;
    jpeg.Assign(original.get());
    std::vector<uint8_t> file = Save(jpeg);
    EXPECT_TRUE(HasMarker(file, 0xC0));   // baseline frame
    EXPECT_FALSE(HasMarker(file, 0xC2));  // never progressive

    TJPEGImage loaded;
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    loaded.LoadFromStream(&stream);
    ASSERT_EQ(loaded.Width(), 64);
    ASSERT_EQ(loaded.Height(), 48);
    TBitmap back;
    back.Assign(&loaded);
    ASSERT_EQ(back.PixelFormat(), pf24bit);
    long total = 0, worst = 0;
    for (Integer y = 0; y < 48; ++y) {
        auto* a = static_cast<uint8_t*>(original->ScanLine(y));
        auto* b = static_cast<uint8_t*>(back.ScanLine(y));
        for (int i = 0; i < 64 * 3; ++i) {
            long d = std::labs(long(a[i]) - long(b[i]));
            total += d;
            worst = std::max(worst, d);
        }
    }
    EXPECT_LT(double(total) / (64 * 48 * 3), 2.0);
    EXPECT_LT(worst, 24);

    // A loaded picture saves its own bytes; a lower quality makes a smaller file.
    EXPECT_EQ(Save(loaded), file);
    loaded.SetCompressionQuality(10);
    EXPECT_LT(Save(loaded).size(), file.size());
}

TEST(JpegImage, DamagedDataRaisesAndKeepsThePicture)
{
    std::unique_ptr<TBitmap> original(Gradient());
    TJPEGImage jpeg;
    jpeg.Assign(original.get());
    std::vector<uint8_t> file = Save(jpeg);
    std::vector<uint8_t> header_only(file.begin(), file.begin() + 20);
    std::vector<uint8_t> not_jpeg = {'B', 'M', 1, 2, 3};
    for (const auto& data : {header_only, not_jpeg, std::vector<uint8_t>{}}) {
        TMemoryStream stream;
        if (!data.empty()) stream.WriteBuffer(data.data(), Int64(data.size()));
        stream.SetPosition(0);
        EXPECT_THROW(jpeg.LoadFromStream(&stream), EInvalidGraphic);
        EXPECT_EQ(jpeg.Width(), 64);
    }
    TJPEGImage empty;
    TMemoryStream out;
    EXPECT_THROW(empty.SaveToStream(&out), EInvalidGraphicOperation);
}

}  // namespace
