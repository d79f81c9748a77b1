#include "skin/core/parent_background.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/controls.h"
#include "platform/gui/jpeg_image.h"
#include "skin/core/skin_file_forms.h"

namespace {

class TFilledParent : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

class TFilledLabel : public TGraphicControl {
public:
    TFilledLabel(TComponent* AOwner, TColor AColor, bool AThrow = false)
        : TGraphicControl(AOwner), FColor(AColor), FThrow(AThrow) {}
    bool SawPaintCopy = false;

protected:
    void Paint() override {
        SawPaintCopy = ControlState().Contains(csPaintCopy);
        if (FThrow) throw Exception("paint failed");
        Canvas()->Brush()->SetColor(FColor);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }

private:
    TColor FColor;
    bool FThrow;
};

TEST(ParentBackground, ParentAndOnlyTheWindowlessSiblingsBelowTheControl)
{
    headless::THeadlessBackend display;
    win::SetBackend(&display);
    {
        TFilledParent parent(nullptr);
        parent.SetBounds(0, 0, 100, 100);
        auto* below = new TFilledLabel(&parent, clRed);
        below->SetBounds(5, 5, 10, 10);  // overlaps the control's top-left corner
        below->SetParent(&parent);
        auto* away = new TFilledLabel(&parent, clYellow);
        away->SetBounds(60, 60, 10, 10);
        away->SetParent(&parent);
        auto* control = new TFilledLabel(&parent, clBlack);
        control->SetBounds(10, 10, 20, 20);
        control->SetParent(&parent);
        auto* above = new TFilledLabel(&parent, clLime);
        above->SetBounds(20, 20, 10, 10);  // later in the list: not painted
        above->SetParent(&parent);

        TBitmap bmp(20, 20);
        PaintParentBackground(control, bmp.Canvas());
        EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), clRed);
        EXPECT_EQ(bmp.Canvas()->Pixels(4, 4), clRed);
        EXPECT_EQ(bmp.Canvas()->Pixels(5, 5), clBlue);
        EXPECT_EQ(bmp.Canvas()->Pixels(15, 15), clBlue);
        EXPECT_TRUE(below->SawPaintCopy);
        EXPECT_FALSE(away->SawPaintCopy);
        EXPECT_FALSE(above->SawPaintCopy);
        EXPECT_FALSE(parent.ControlState().Contains(csPaintCopy));
        EXPECT_FALSE(below->ControlState().Contains(csPaintCopy));

        // A sibling that fails still leaves no marks behind.
        TFilledParent other(nullptr);
        other.SetBounds(0, 0, 50, 50);
        auto* failing = new TFilledLabel(&other, clRed, true);
        failing->SetBounds(0, 0, 30, 30);
        failing->SetParent(&other);
        auto* second = new TFilledLabel(&other, clBlack);
        second->SetBounds(10, 10, 20, 20);
        second->SetParent(&other);
        EXPECT_THROW(PaintParentBackground(second, bmp.Canvas()), Exception);
        EXPECT_FALSE(other.ControlState().Contains(csPaintCopy));
        EXPECT_FALSE(failing->ControlState().Contains(csPaintCopy));
    }
    win::SetBackend(nullptr);
}

TEST(ParentBackground, PictureAndColourHelpers)
{
    const struct { const char* name; bool jpeg; } names[] = {
        {"photo.JPG", false}, {"a.jpeg.bmp", true}, {"skin.jpg", true}, {"skin.bmp", false}};
    for (const auto& n : names) EXPECT_EQ(IsJpegFileName(n.name), n.jpeg) << n.name;

    const struct { TColor in; Integer percent; TColor out; } colours[] = {
        {clWhite, 50, static_cast<TColor>(0x7F7F7F)}, {clWhite, 0, clWhite}, {clWhite, 100, clBlack},
        {static_cast<TColor>(0x0A6432), 10, static_cast<TColor>(0x095A2D)}};
    for (const auto& c : colours) EXPECT_EQ(DarkenColor(c.in, c.percent), c.out) << c.percent;

    const std::string path = (std::filesystem::temp_directory_path() / "skin_draw2_picture.jpg").string();
    TBitmap source(12, 8);
    source.Canvas()->Brush()->SetColor(static_cast<TColor>(0x3050C0));
    source.Canvas()->FillRect(Rect(0, 0, 12, 8));
    TJPEGImage jpeg;
    jpeg.Assign(&source);
    jpeg.SaveToFile(path);
    TBitmap loaded;
    LoadJpegIntoBitmap(&loaded, path);
    std::remove(path.c_str());
    EXPECT_EQ(loaded.Width(), 12);
    EXPECT_EQ(loaded.Height(), 8);
    const TColor c = loaded.Canvas()->Pixels(5, 4);
    EXPECT_NEAR(static_cast<int>(c & 0xFF), 0xC0, 4);
    EXPECT_NEAR(static_cast<int>((c >> 16) & 0xFF), 0x30, 4);

    TBitmap untouched(3, 3);
    EXPECT_THROW(LoadJpegIntoBitmap(&untouched, path), Exception);
    EXPECT_EQ(untouched.Width(), 3);
}

}  // namespace
