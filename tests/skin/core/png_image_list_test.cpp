#include "skin/core/png_image_list.h"

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

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

}  // namespace
