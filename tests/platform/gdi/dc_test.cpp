// Origins, clipping and saved states of device contexts, checked by where a fill lands.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "canvas_fixture.h"

using namespace win;
using gdi_test::Canvas;

namespace {

constexpr uint32_t kBack = 0xFF000000u;
constexpr uint32_t kInk = 0x000000FFu; // blue as GDI writes it: alpha 0

struct Painted {
    RECT Box;
    int Count = 0;
};

Painted PaintedArea(Canvas& c)
{
    Painted p{{c.Width, c.Height, 0, 0}, 0};
    for (int y = 0; y < c.Height; ++y)
        for (int x = 0; x < c.Width; ++x)
            if (c.At(x, y) == kInk) {
                ++p.Count;
                p.Box = {std::min(p.Box.Left, x), std::min(p.Box.Top, y), std::max(p.Box.Right, x + 1),
                         std::max(p.Box.Bottom, y + 1)};
            }
    if (p.Count == 0)
        p.Box = {};
    return p;
}

void FillBlue(HDC dc, RECT r)
{
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

struct ClipCase {
    const char* Name;
    POINT WindowOrg;
    POINT ViewportOrg;
    RECT Intersect; // logical; empty = not called
    RECT Exclude;   // logical; empty = not called
    RECT Fill;      // logical
    RECT PaintedBox;
    int PaintedCount;
    RECT ClipBox; // logical
    int ClipKind;
};

void PrintTo(const ClipCase& ACase, std::ostream* AOut) { *AOut << ACase.Name; }

class ClipArithmetic : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipArithmetic, FillLandsWhereOriginsAndClipSay)
{
    const ClipCase& k = GetParam();
    Canvas c(20, 20, kBack);
    SetWindowOrgEx(c.Dc, k.WindowOrg.X, k.WindowOrg.Y, nullptr);
    SetViewportOrgEx(c.Dc, k.ViewportOrg.X, k.ViewportOrg.Y, nullptr);
    if (k.Intersect.Width() > 0)
        IntersectClipRect(c.Dc, k.Intersect.Left, k.Intersect.Top, k.Intersect.Right, k.Intersect.Bottom);
    if (k.Exclude.Width() > 0)
        ExcludeClipRect(c.Dc, k.Exclude.Left, k.Exclude.Top, k.Exclude.Right, k.Exclude.Bottom);
    FillBlue(c.Dc, k.Fill);
    const Painted p = PaintedArea(c);
    EXPECT_EQ(p.Box, k.PaintedBox);
    EXPECT_EQ(p.Count, k.PaintedCount);
    RECT box;
    EXPECT_EQ(GetClipBox(c.Dc, &box), k.ClipKind);
    EXPECT_EQ(box, k.ClipBox);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClipArithmetic,
    ::testing::Values(
        ClipCase{"plain", {0, 0}, {0, 0}, {}, {}, {2, 3, 7, 9}, {2, 3, 7, 9}, 30, {0, 0, 20, 20}, SIMPLEREGION},
        ClipCase{"window_origin", {5, 5}, {0, 0}, {}, {}, {5, 5, 10, 10}, {0, 0, 5, 5}, 25, {5, 5, 25, 25},
                 SIMPLEREGION},
        ClipCase{"viewport_origin", {0, 0}, {3, 4}, {}, {}, {0, 0, 5, 5}, {3, 4, 8, 9}, 25, {-3, -4, 17, 16},
                 SIMPLEREGION},
        ClipCase{"both_origins", {10, 0}, {2, 2}, {}, {}, {10, 0, 14, 3}, {2, 2, 6, 5}, 12, {8, -2, 28, 18},
                 SIMPLEREGION},
        ClipCase{"intersect_is_logical", {0, 0}, {5, 5}, {0, 0, 10, 10}, {}, {-100, -100, 100, 100},
                 {5, 5, 15, 15}, 100, {0, 0, 10, 10}, SIMPLEREGION},
        ClipCase{"exclude_makes_a_hole", {0, 0}, {0, 0}, {}, {4, 4, 6, 6}, {0, 0, 10, 10}, {0, 0, 10, 10}, 96,
                 {0, 0, 20, 20}, COMPLEXREGION},
        ClipCase{"fill_partly_outside", {0, 0}, {0, 0}, {}, {}, {15, 15, 30, 30}, {15, 15, 20, 20}, 25,
                 {0, 0, 20, 20}, SIMPLEREGION},
        ClipCase{"inverted_fill_is_empty", {0, 0}, {0, 0}, {}, {}, {8, 8, 2, 2}, {}, 0, {0, 0, 20, 20},
                 SIMPLEREGION},
        ClipCase{"everything_excluded", {0, 0}, {0, 0}, {2, 2, 6, 6}, {0, 0, 10, 10}, {0, 0, 20, 20}, {}, 0, {},
                 NULLREGION}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SavedState, RestoreReturnsOriginsClipAndObjects)
{
    Canvas c(10, 10, kBack);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    SetViewportOrgEx(c.Dc, 1, 1, nullptr);
    EXPECT_EQ(SaveDC(c.Dc), 1);
    HGDIOBJ oldPen = SelectObject(c.Dc, pen);
    SetViewportOrgEx(c.Dc, 4, 4, nullptr);
    IntersectClipRect(c.Dc, 0, 0, 2, 2);
    EXPECT_EQ(SaveDC(c.Dc), 2);
    SetROP2(c.Dc, R2_NOT);
    EXPECT_FALSE(DeleteObject(pen)) << "a selected pen must stay alive";

    EXPECT_TRUE(RestoreDC(c.Dc, -1));
    EXPECT_EQ(GetROP2(c.Dc), R2_COPYPEN);
    RECT box;
    GetClipBox(c.Dc, &box);
    EXPECT_EQ(box, (RECT{0, 0, 2, 2}));

    EXPECT_TRUE(RestoreDC(c.Dc, 1));
    POINT org;
    GetViewportOrgEx(c.Dc, &org);
    EXPECT_EQ(org, (POINT{1, 1}));
    EXPECT_EQ(GetCurrentObject(c.Dc, OBJ_PEN), oldPen);
    GetClipBox(c.Dc, &box);
    EXPECT_EQ(box, (RECT{-1, -1, 9, 9}));
    EXPECT_FALSE(RestoreDC(c.Dc, 1)) << "that level is gone";
    EXPECT_FALSE(RestoreDC(c.Dc, -1));
    EXPECT_TRUE(DeleteObject(pen));
}

TEST(SurfaceDC, OriginVisibleAreaAndClipCompose)
{
    constexpr int kW = 30, kH = 20;
    std::vector<uint32_t> pixels(kW * kH, kBack);
    HRGN visible = CreateRectRgn(0, 0, 8, 8);
    HRGN hole = CreateRectRgn(0, 0, 2, 2);
    CombineRgn(visible, visible, hole, RGN_DIFF);
    HDC dc = CreateSurfaceDC(SurfaceDesc{pixels.data(), kW, kH, kW * 4}, {10, 5}, visible);
    ASSERT_NE(dc, nullptr);
    DeleteObject(visible); // the DC keeps its own copy

    auto count = [&] { int n = 0; for (uint32_t p : pixels) n += p == kInk; return n; };
    FillBlue(dc, {-50, -50, 50, 50});
    EXPECT_EQ(count(), 64 - 4);
    EXPECT_EQ(pixels[5 * kW + 10], kBack) << "the visible area's hole";
    EXPECT_EQ(pixels[12 * kW + 17], kInk);
    EXPECT_EQ(pixels[13 * kW + 18], kBack);

    std::fill(pixels.begin(), pixels.end(), kBack);
    HRGN clip = CreateRectRgn(6, 6, 20, 20);
    EXPECT_EQ(SelectClipRgn(dc, clip), SIMPLEREGION);
    FillBlue(dc, {-50, -50, 50, 50});
    EXPECT_EQ(count(), 4) << "clip meets the visible area in 2 x 2 pixels";
    EXPECT_EQ(SelectClipRgn(dc, nullptr), COMPLEXREGION);

    // A move of the window: same DC, new origin; the clip the caller chose is dropped.
    std::fill(pixels.begin(), pixels.end(), kBack);
    EXPECT_TRUE(RebindSurfaceDC(dc, SurfaceDesc{pixels.data(), kW, kH, kW * 4}, {25, 15}, nullptr));
    FillBlue(dc, {0, 0, 50, 50});
    EXPECT_EQ(count(), 5 * 5) << "only what is left of the surface";
    EXPECT_EQ(pixels[15 * kW + 25], kInk);

    DeleteObject(clip);
    DeleteObject(hole);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc)) << "a stale handle is refused";
}

TEST(SurfaceDC, RefusesBadSurfaces)
{
    uint32_t pixel = 0;
    EXPECT_EQ(CreateSurfaceDC(SurfaceDesc{nullptr, 1, 1, 4}, {}, nullptr), nullptr);
    EXPECT_EQ(CreateSurfaceDC(SurfaceDesc{&pixel, 2, 1, 4}, {}, nullptr), nullptr) << "stride below the width";
    EXPECT_EQ(CreateSurfaceDC(SurfaceDesc{&pixel, 0, 1, 4}, {}, nullptr), nullptr);
}

} // namespace
