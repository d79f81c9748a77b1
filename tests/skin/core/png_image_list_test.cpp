#include "skin/core/png_image_list.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/streams.h"

namespace {

TEST(PngImageList, ItemsNamesPlaceholdersAndSizeChanges)
{
    TspPngImageList list(nullptr);
    for (int i = 0; i < 3; ++i) list.PngImages()->Add();
    EXPECT_EQ(list.Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.PngImages()->GetItem(i)->Name(), "PngImage" + std::to_string(i));
    list.PngImages()->GetItem(1)->SetName("");
    EXPECT_EQ(list.PngImages()->GetItem(1)->GetDisplayName(), list.PngImages()->GetItem(1)->TCollectionItem::GetDisplayName());
    delete list.PngImages()->GetItem(0);
    EXPECT_EQ(list.Count(), 2);
    list.SetPngWidth(list.PngWidth());
    EXPECT_EQ(list.PngImages()->Count(), 2);
    list.SetPngWidth(24);
    EXPECT_EQ(list.PngImages()->Count(), 0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(PngImageList, DisabledLookScalesAlpha)
{
    TspPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 4, 1);
    const Byte in[] = {200, 255, 3, 1};
    const Byte out[] = {100, 128, 2, 0};
    for (int x = 0; x < 4; ++x) png.AlphaScanline(0)[x] = in[x];
    ScalePngAlpha(&png, 127);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(png.AlphaScanline(0)[x], out[x]) << x;

    // Grey pictures are rebuilt with alpha: opaque pixels take the alpha itself.
    TspPngImage grey;
    grey.CreateBlank(COLOR_GRAYSCALE, 8, 2, 1);
    grey.SetPixels(0, 0, static_cast<TColor>(0x404040));
    ScalePngAlpha(&grey, 127);
    EXPECT_EQ(grey.Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(grey.AlphaScanline(0)[0], 127);
    EXPECT_EQ(grey.Pixels(0, 0), static_cast<TColor>(0x404040));

    // A true-colour picture gets an alpha channel first.
    TspPngImage rgb;
    rgb.CreateBlank(COLOR_RGB, 8, 1, 1);
    ScalePngAlpha(&rgb, 127);
    EXPECT_EQ(rgb.AlphaScanline(0)[0], 128);
}

TEST(PngImageList, DrawsEnabledOpaqueAndDisabledHalfBlended)
{
    TspPngImageList list(nullptr);
    list.SetPngWidth(4);
    list.SetPngHeight(4);
    TspPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            png.SetPixels(x, y, clBlack);
            png.AlphaScanline(y)[x] = 255;
        }
    auto* item = static_cast<TspPngImageItem*>(list.PngImages()->Add());
    item->SetPngImage(&png);
    TBitmap dest(10, 4);
    dest.Canvas()->Brush()->SetColor(clWhite);
    dest.Canvas()->FillRect(Rect(0, 0, 10, 4));
    list.Draw(dest.Canvas(), 0, 0, 0, true);
    list.Draw(dest.Canvas(), 5, 0, 0, false);
    EXPECT_EQ(dest.Canvas()->Pixels(1, 1), clBlack);
    const TColor faded = dest.Canvas()->Pixels(6, 1);
    EXPECT_NEAR(static_cast<int>(faded & 0xFF), 128, 2);
    EXPECT_EQ(dest.Canvas()->Pixels(9, 1), clWhite);
}

// A palette PNG as another program writes it: 8-bit indexes, a PLTE chunk and a tRNS chunk with one alpha per
// entry (0 clear, 128 half, 255 opaque).
std::string PaletteWithAlphaPng(Integer AWidth, Integer AHeight)
{
    auto be32 = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        const std::string body = type + data;
        const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
        return be32(static_cast<uint32_t>(data.size())) + body + be32(static_cast<uint32_t>(crc));
    };
    std::string rows;
    for (Integer y = 0; y < AHeight; ++y) {
        rows += '\0';  // no filter
        for (Integer x = 0; x < AWidth; ++x) rows += static_cast<char>(x % 3);
    }
    std::vector<Bytef> packed(compressBound(static_cast<uLong>(rows.size())));
    uLongf packed_size = packed.size();
    compress(packed.data(), &packed_size, reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()));
    const std::string header = be32(AWidth) + be32(AHeight) + std::string{8, 3, 0, 0, 0};
    const std::string palette = {'\xFF', 0, 0, 0, '\xFF', 0, 0, 0, '\xFF'};  // red, green, blue
    const std::string alphas = {0, '\x80', '\xFF'};
    return std::string("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) + chunk("PLTE", palette) +
           chunk("tRNS", alphas) + chunk("IDAT", std::string(reinterpret_cast<char*>(packed.data()), packed_size)) +
           chunk("IEND", "");
}

TEST(PngImageList, PalettePictureWithPartialTransparencyBlendsEachEntryByItsAlpha)
{
    const std::string bytes = PaletteWithAlphaPng(6, 2);
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream.SetPosition(0);
    TspPngImage png;
    png.LoadFromStream(&stream);
    ASSERT_EQ(png.Width(), 6);
    EXPECT_EQ(png.TransparencyMode(), ptmPartial);

    TspPngImageList list(nullptr);
    list.SetPngWidth(6);
    list.SetPngHeight(2);
    static_cast<TspPngImageItem*>(list.PngImages()->Add())->SetPngImage(&png);
    TBitmap dest(6, 4);
    dest.Canvas()->Brush()->SetColor(clWhite);
    dest.Canvas()->FillRect(Rect(0, 0, 6, 4));
    list.Draw(dest.Canvas(), 0, 0, 0, true);
    list.Draw(dest.Canvas(), 0, 2, 0, false);
    auto channels = [&](Integer x, Integer y) {
        const TColor c = dest.Canvas()->Pixels(x, y);
        return std::vector<int>{int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
    };
    for (Integer x : {0, 3}) {
        // Entry 0 is clear: the white stays, enabled or not.
        EXPECT_EQ(channels(x, 0), (std::vector<int>{255, 255, 255})) << x;
        EXPECT_EQ(channels(x, 2), (std::vector<int>{255, 255, 255})) << x;
        // Entry 1, green at half alpha: half green over white.
        const auto half = channels(x + 1, 0);
        EXPECT_NEAR(half[0], 127, 2);
        EXPECT_EQ(half[1], 255);
        EXPECT_NEAR(half[2], 127, 2);
        // Entry 2 is opaque blue; the disabled look halves it.
        EXPECT_EQ(channels(x + 2, 0), (std::vector<int>{0, 0, 255})) << x;
        const auto faded = channels(x + 2, 2);
        EXPECT_NEAR(faded[0], 127, 2);
        EXPECT_NEAR(faded[2], 255, 1);
        // The disabled half-alpha entry is lighter than the enabled one.
        EXPECT_GT(channels(x + 1, 2)[0], half[0]);
    }
}

}  // namespace
