// Image lists: sizes, adding strips and masks, index errors, and drawing enabled and disabled through the
// virtual hook.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/icon.h"
#include "platform/gui/image_list.h"

namespace {

// A 4 x 2 strip of two 2 x 2 images: image 0 red with a magenta corner, image 1 all blue.
std::unique_ptr<TBitmap> Strip()
{
    auto b = std::make_unique<TBitmap>(4, 2, pf24bit);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(Rect(0, 0, 2, 2));
    b->Canvas()->SetPixels(1, 1, clFuchsia);
    b->Canvas()->Brush()->SetColor(clBlue);
    b->Canvas()->FillRect(Rect(2, 0, 4, 2));
    return b;
}

std::unique_ptr<TBitmap> White(Integer AWidth, Integer AHeight)
{
    auto b = std::make_unique<TBitmap>(AWidth, AHeight, pf24bit);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
    return b;
}

TEST(ImageList, SizeChangesEmptyTheListAndIndexesAreChecked)
{
    TImageList list(nullptr, 2, 2);
    auto strip = Strip();
    EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);
    list.Insert(1, strip.get(), nullptr);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_THROW(list.Insert(5, strip.get(), nullptr), EInvalidOperation);
    EXPECT_THROW(list.Delete(4), EInvalidOperation);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 3);
    list.SetWidth(2);
    EXPECT_EQ(list.Count(), 3);  // the same width keeps the images
    list.SetHeight(3);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, DrawsEnabledWithItsMaskAndDisabledAsASilhouette)
{
    TImageList list(nullptr, 2, 2);
    auto strip = Strip();
    list.AddMasked(strip.get(), clFuchsia);

    auto canvas = White(4, 4);
    list.Draw(canvas->Canvas(), 1, 1, 0, true);
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(canvas->Canvas()->Pixels(2, 2), clWhite);  // masked corner
    EXPECT_EQ(canvas->Canvas()->Pixels(0, 0), clWhite);

    canvas = White(4, 4);
    list.Draw(canvas->Canvas(), 0, 0, 0, false);
    TColor shadow = ColorToRGB(clBtnShadow), highlight = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(canvas->Canvas()->Pixels(0, 0), shadow);
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 0), shadow);
    EXPECT_EQ(canvas->Canvas()->Pixels(2, 1), highlight);  // the highlight one pixel down and right
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 1), highlight);  // under the masked corner

    // An index outside the list draws nothing; GetBitmap and GetIcon give the image.
    canvas = White(4, 4);
    list.Draw(canvas->Canvas(), 0, 0, 7, true);
    EXPECT_EQ(canvas->Canvas()->Pixels(0, 0), clWhite);
    TBitmap image;
    list.GetBitmap(1, &image);
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.Canvas()->Pixels(1, 1), clBlue);
    TIcon icon;
    list.GetIcon(0, &icon);
    ASSERT_EQ(icon.Width(), 2);
    EXPECT_EQ(icon.Pixels()[3] >> 24, 0u);     // the masked corner
    EXPECT_EQ(icon.Pixels()[0], 0xFFFF0000u);  // opaque red
}

TEST(ImageList, AMaskBitmapAndThirtyTwoBitAlpha)
{
    TImageList list(nullptr, 2, 1);
    auto image = std::make_unique<TBitmap>(2, 1, pf32bit);
    auto* px = static_cast<uint8_t*>(image->ScanLine(0));
    px[2] = 255, px[3] = 255;              // opaque red
    px[4] = 255, px[7] = 0;                // blue with alpha 0
    list.Add(image.get(), nullptr);
    auto mask = std::make_unique<TBitmap>(2, 1, pf1bit);
    mask->Canvas()->SetPixels(0, 0, clWhite);  // white = transparent
    auto plain = White(2, 1);
    plain->Canvas()->SetPixels(1, 0, clGreen);
    list.Add(plain.get(), mask.get());

    auto canvas = White(2, 2);
    canvas->Canvas()->Brush()->SetColor(clBlack);
    canvas->Canvas()->FillRect(Rect(0, 0, 2, 2));
    list.Draw(canvas->Canvas(), 0, 0, 0, true);
    list.Draw(canvas->Canvas(), 0, 1, 1, true);
    EXPECT_EQ(canvas->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 0), clBlack);
    EXPECT_EQ(canvas->Canvas()->Pixels(0, 1), clBlack);
    EXPECT_EQ(canvas->Canvas()->Pixels(1, 1), clGreen);
}

class RecordingList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
    struct Call { Integer index, x, y; bool enabled; };
    std::vector<Call> Calls;

protected:
    void DrawListImage(Integer AIndex, TCanvas*, Integer AX, Integer AY, Cardinal, bool AEnabled) override
    {
        Calls.push_back({AIndex, AX, AY, AEnabled});
    }
};

TEST(ImageList, DrawGoesThroughTheVirtualHook)
{
    RecordingList list(nullptr, 2, 2);
    auto canvas = White(2, 2);
    list.Draw(canvas->Canvas(), 3, 4, 9, false);
    ASSERT_EQ(list.Calls.size(), 1u);
    EXPECT_EQ(list.Calls[0].index, 9);
    EXPECT_EQ(list.Calls[0].x, 3);
    EXPECT_EQ(list.Calls[0].y, 4);
    EXPECT_FALSE(list.Calls[0].enabled);
}

}  // namespace
