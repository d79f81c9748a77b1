#include "skin/core/mask_regions.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

namespace {

win::RGNDATAHEADER HeaderOf(const std::vector<uint8_t>& data) {
    win::RGNDATAHEADER h;
    std::memcpy(&h, data.data(), sizeof(h));
    return h;
}

void MakeMask(TBitmap& mask, Integer w, Integer h, bool (*inside)(Integer, Integer)) {
    mask.SetPixelFormat(pf32bit);
    mask.SetSize(w, h);
    for (Integer y = 0; y < h; ++y) {
        auto* row = static_cast<uint32_t*>(mask.ScanLine(y));
        for (Integer x = 0; x < w; ++x) row[x] = inside(x, y) ? 0 : 0xFFFFFF;
    }
}

TEST(MaskRegions, RegionDataFollowsTheBlackPixelsOfTheMask)
{
    const struct {
        const char* name;
        Integer w, h;
        bool (*inside)(Integer, Integer);
        Integer runs;
    } cases[] = {
        {"one run in row 0", 8, 2, [](Integer x, Integer y) { return y == 0 && x >= 2 && x < 5; }, 1},
        {"no black pixel", 5, 5, [](Integer, Integer) { return false; }, 0},
        {"run to the right edge", 6, 1, [](Integer x, Integer) { return x >= 3; }, 1},
        {"rings", 31, 17, [](Integer x, Integer y) { return (x / 3 + y / 2) % 2 == 0 || x == 30; }, -1},
        // 160 x 130 cells of one pixel: 10,400 runs, more than a fixed buffer of 10,000 would hold.
        {"checkerboard", 160, 130, [](Integer x, Integer y) { return (x + y) % 2 == 0; }, 10400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap mask;
        MakeMask(mask, c.w, c.h, c.inside);
        std::vector<uint8_t> data;
        const Integer size = RegionDataFromMask(&mask, 7, 11, data);
        const win::RGNDATAHEADER header = HeaderOf(data);
        ASSERT_EQ(size, static_cast<Integer>(32 + 16 * header.nCount));
        EXPECT_EQ(header.dwSize, 32u);
        EXPECT_EQ(header.iType, 1u);
        if (c.runs >= 0) EXPECT_EQ(header.nCount, static_cast<win::DWORD>(c.runs));
        EXPECT_EQ(header.rcBound.Left, 7);
        EXPECT_EQ(header.rcBound.Bottom, 11 + c.h);
        win::HRGN rgn = win::ExtCreateRegion(nullptr, size, reinterpret_cast<win::RGNDATA*>(data.data()));
        ASSERT_NE(rgn, nullptr);
        for (Integer y = 0; y < c.h; ++y)
            for (Integer x = 0; x < c.w; ++x)
                ASSERT_EQ(win::PtInRegion(rgn, x + 7, y + 11) != 0, c.inside(x, y)) << x << "," << y;
        win::DeleteObject(rgn);
    }
    TBitmap firstRun;
    MakeMask(firstRun, 8, 2, cases[0].inside);
    std::vector<uint8_t> data;
    ASSERT_EQ(RegionDataFromMask(&firstRun, 7, 11, data), 48);
    win::RECT r;
    std::memcpy(&r, data.data() + 32, sizeof(r));
    EXPECT_EQ(r.Left, 9);
    EXPECT_EQ(r.Top, 11);
    EXPECT_EQ(r.Right, 12);
    EXPECT_EQ(r.Bottom, 12);

    // Very dark is not black; an empty mask gives no data at all.
    TBitmap dark;
    dark.SetSize(2, 1);
    dark.Canvas()->SetPixels(0, 0, 0x000001);
    dark.Canvas()->SetPixels(1, 0, 0x010000);
    EXPECT_EQ(RegionDataFromMask(&dark, 0, 0, data), 32);
    TBitmap empty;
    std::vector<uint8_t> untouched{1, 2, 3};
    EXPECT_EQ(RegionDataFromMask(&empty, 0, 0, untouched), 0);
    EXPECT_EQ(untouched.size(), 3u);
    win::HRGN none = reinterpret_cast<win::HRGN>(1);
    RegionFromMask(none, &empty);
    EXPECT_EQ(none, nullptr);
}

// A 12 x 10 window mask with rounded-off corners: the corner pixels are white, all else black, and the client
// rectangle is (3, 3, 9, 7).
bool FrameMask(Integer x, Integer y) { return !((x == 0 || x == 11) && (y == 0 || y == 9)); }

TEST(MaskRegions, WindowRegionAtANewSizeUnitesClientAndStrips)
{
    TBitmap mask;
    MakeMask(mask, 12, 10, FrameMask);
    const TPoint lt{4, 4}, rt{8, 4}, lb{4, 6}, rb{8, 6};
    const TRect cl{3, 3, 9, 7};
    const Integer w = 40, h = 30;
    win::HRGN rgn = nullptr;
    BuildSkinWindowRegion(rgn, lt, rt, lb, rb, cl, lt, Point(w - 4, 4), Point(4, h - 4), Point(w - 4, h - 4),
                          Rect(3, 3, w - 3, h - 3), &mask, w, h);
    ASSERT_NE(rgn, nullptr);
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x) {
            const bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
            ASSERT_EQ(win::PtInRegion(rgn, x, y) != 0, !corner) << x << "," << y;
        }
    win::DeleteObject(rgn);

    // Inverted new points give no region.
    BuildSkinWindowRegion(rgn, lt, rt, lb, rb, cl, lt, Point(2, 4), Point(4, h - 4), Point(w - 4, h - 4),
                          Rect(3, 3, w - 3, h - 3), &mask, w, h);
    EXPECT_EQ(rgn, nullptr);

    // Without a top band (client rectangle at the top) the other strips and the client still make the window.
    const TRect clTop{3, 0, 9, 7};
    BuildSkinWindowRegion(rgn, Point(4, 2), Point(8, 2), lb, rb, clTop, Point(4, 2), Point(w - 4, 2), Point(4, h - 4),
                          Point(w - 4, h - 4), Rect(3, 0, w - 3, h - 3), &mask, w, h);
    ASSERT_NE(rgn, nullptr);
    EXPECT_TRUE(win::PtInRegion(rgn, 20, 1));        // client
    EXPECT_TRUE(win::PtInRegion(rgn, 20, h - 2));    // bottom strip
    EXPECT_TRUE(win::PtInRegion(rgn, 1, 10));        // left strip
    EXPECT_FALSE(win::PtInRegion(rgn, w - 1, h - 1)); // rounded corner
    win::DeleteObject(rgn);
}

}  // namespace
