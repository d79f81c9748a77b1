#include "app/crop_geometry.h"

#include <gtest/gtest.h>

namespace {

constexpr int kPanelW = 319, kPanelH = 222;

TEST(CropGeometry, PictureBoundsOnTheSourcePanel)
{
    struct Case { int w, h; TPictureBounds expected; };
    const Case cases[] = {
        {720, 576, {21, 0, 298, 222}},   // limited by the height: shown width 277.5
        {1280, 544, {0, 43, 319, 179}},  // limited by the width: shown height 135.575
        {319, 222, {0, 0, 319, 222}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PictureBounds(c.w, c.h, kPanelW, kPanelH), c.expected) << c.w << "x" << c.h;
    EXPECT_FALSE(PictureBounds(0, 576, kPanelW, kPanelH));
}

TEST(CropGeometry, FitMapsPictureEdgesForEachAspect)
{
    struct Case { int w, h; double aspect; double x0, xw, y0, yh; };
    const Case cases[] = {
        {720, 576, kAspectKeepOriginal, 20.75, 298.25, 0, 222},
        {720, 576, kAspectFullScreen, -0.0625, 318.9375, 0, 222},
        {720, 576, 16.0 / 9.0, 0, 319, 21.28125, 200.71875},
        {1280, 544, kAspectKeepOriginal, 0, 319, 43.2125, 178.7875},
    };
    for (const auto& c : cases) {
        const auto fit = TPictureFit::Make(c.w, c.h, kPanelW, kPanelH, c.aspect);
        ASSERT_TRUE(fit);
        EXPECT_NEAR(fit->X(0), c.x0, 0.02) << c.aspect;
        EXPECT_NEAR(fit->X(c.w), c.xw, 0.02) << c.aspect;
        EXPECT_NEAR(fit->Y(0), c.y0, 0.02) << c.aspect;
        EXPECT_NEAR(fit->Y(c.h), c.yh, 0.02) << c.aspect;
        for (int px : {0, 100, c.w / 2, c.w})
            EXPECT_EQ(fit->PictureX(fit->X(px)), px) << c.aspect;
        for (int py : {0, 37, c.h})
            EXPECT_EQ(fit->PictureY(fit->Y(py)), py) << c.aspect;
    }
    EXPECT_FALSE(TPictureFit::Make(720, 0, kPanelW, kPanelH, 0));
    EXPECT_FALSE(TPictureFit::Make(720, 576, 0, kPanelH, 0));
}

TEST(CropGeometry, WholeFrameSelectionSitsOnThePictureCorners)
{
    const auto fit = TPictureFit::Make(720, 576, kPanelW, kPanelH, kAspectKeepOriginal);
    const auto bounds = PictureBounds(720, 576, kPanelW, kPanelH);
    TCropArea area;
    ValuesToCropArea(area, *fit, {0, 0, 720, 576});

    EXPECT_EQ(area[TCropHandle::LeftTop], Point(bounds->MinX - 4, bounds->MinY - 4));
    EXPECT_EQ(area[TCropHandle::RightBottom], Point(bounds->MaxX - 4, bounds->MaxY - 4));
    EXPECT_EQ(area[TCropHandle::RightTop], Point(294, -4));
    EXPECT_EQ(area[TCropHandle::LeftBottom], Point(17, 218));
    EXPECT_EQ(area[TCropHandle::TopMiddle], Point(17 + 277 / 2, -4));
    EXPECT_EQ(area[TCropHandle::RightMiddle], Point(294, -4 + 222 / 2));
    EXPECT_EQ(area.LineLeft, Bounds(21, 0, 1, 222));
    EXPECT_EQ(area.LineBottom, Bounds(21, 222, 277, 1));
}

TEST(CropGeometry, DraggingHandles)
{
    const auto fit = TPictureFit::Make(720, 576, kPanelW, kPanelH, kAspectKeepOriginal);
    const auto bounds = *PictureBounds(720, 576, kPanelW, kPanelH);
    TCropArea whole;
    ValuesToCropArea(whole, *fit, {0, 0, 720, 576});

    struct Case {
        const char* what;
        TCropHandle handle;
        TPoint offset;
        bool accepted;
        TCropHandle checked;
        TPoint expected;
    };
    using enum TCropHandle;
    const Case cases[] = {
        {"past the opposite handle", LeftTop, {300, 0}, false, LeftTop, {17, -4}},
        {"within 8 pixels stops 8 away", LeftTop, {270, 10}, true, LeftTop, {286, 6}},
        {"the dragged corner drags its neighbours", LeftTop, {270, 10}, true, RightTop, {294, 6}},
        {"outside the picture snaps to its edge", LeftTop, {-50, -50}, true, LeftTop, {17, -4}},
        {"a top handle moves vertically only", TopMiddle, {30, 20}, true, TopMiddle, {155, 16}},
        {"and re-lays the side handles", TopMiddle, {30, 20}, true, LeftMiddle, {17, 117}},
        {"a side handle moves horizontally only", RightMiddle, {-100, 40}, true, RightMiddle, {194, 107}},
        {"a side handle cannot pass its opposite", RightMiddle, {-277, 0}, false, RightMiddle, {294, 107}},
        {"bottom corner below the picture", RightBottom, {10, 10}, true, RightBottom, {294, 218}},
    };
    for (const auto& c : cases) {
        TCropArea area = whole;
        EXPECT_EQ(DragCropHandle(area, c.handle, c.offset, bounds), c.accepted) << c.what;
        EXPECT_EQ(area[c.checked], c.expected) << c.what;
    }
}

TEST(CropGeometry, ValuesAreKeptInsideTheFrame)
{
    struct Case { TCropValues in, out; };
    const Case cases[] = {
        {{10, 20, 600, 300}, {10, 20, 600, 300}},
        {{700, 0, 100, 576}, {700, 0, 20, 576}},
        {{0, 0, 0, 0}, {0, 0, 2, 2}},
        {{-5, 600, 10, 10}, {0, 574, 10, 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampCropValues(c.in, 720, 576), c.out);
}

TEST(CropGeometry, OutputPreviewLayout)
{
    const TSize panel{kPanelW, kPanelH};
    {
        // The whole frame with the frame's shape: the clipping window takes that shape and the player fills it.
        const auto fit = TPictureFit::Make(720, 576, kPanelW, kPanelH, kAspectKeepOriginal);
        const auto layout = ValuesToPreviewArea(*fit, {0, 0, 720, 576}, panel, panel);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->ClipWindow, Bounds(20, 0, 278, 222));
        EXPECT_EQ(layout->PlayerPanel, Bounds(-21, 0, 319, 222));
    }
    {
        // The top-left quarter of a wide picture is enlarged twice and shifted up past the letterbox.
        const auto fit = TPictureFit::Make(640, 360, kPanelW, kPanelH, kAspectKeepOriginal);
        const auto layout = ValuesToPreviewArea(*fit, {0, 0, 320, 180}, panel, panel);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->ClipWindow, Bounds(0, 22, 319, 179));
        EXPECT_EQ(layout->PlayerPanel, Bounds(0, -43, 638, 444));
    }
    const auto fit = TPictureFit::Make(640, 360, kPanelW, kPanelH, kAspectKeepOriginal);
    EXPECT_FALSE(ValuesToPreviewArea(*fit, {10, 10, 0, 100}, panel, panel));
}

}  // namespace
