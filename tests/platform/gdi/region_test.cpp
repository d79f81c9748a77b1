// Region operations checked pixel by pixel against sets built by brute force from random rectangles.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "platform/gdi/gdi.h"

using namespace win;

namespace {

constexpr int kSide = 40;
using PixelSet = std::array<bool, kSide * kSide>;

struct RandomRegion {
    HRGN Handle = nullptr;
    PixelSet Pixels{};
};

// A union of a few random rectangles, some of them inverted or partly outside the grid.
RandomRegion MakeRandom(std::mt19937& rng)
{
    std::uniform_int_distribution<int> coord(-5, kSide + 5), count(1, 5);
    RandomRegion r;
    r.Handle = CreateRectRgn(0, 0, 0, 0);
    const int n = count(rng);
    for (int i = 0; i < n; ++i) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        HRGN piece = CreateRectRgn(x0, y0, x1, y1);
        CombineRgn(r.Handle, r.Handle, piece, RGN_OR);
        DeleteObject(piece);
        for (int y = std::max(0, std::min(y0, y1)); y < std::min(kSide, std::max(y0, y1)); ++y)
            for (int x = std::max(0, std::min(x0, x1)); x < std::min(kSide, std::max(x0, x1)); ++x)
                r.Pixels[size_t(y * kSide + x)] = true;
    }
    // Keep every test region inside the grid, so that the brute-force set is the whole truth.
    HRGN grid = CreateRectRgn(0, 0, kSide, kSide);
    CombineRgn(r.Handle, r.Handle, grid, RGN_AND);
    DeleteObject(grid);
    return r;
}

bool Expected(int AMode, bool a, bool b)
{
    switch (AMode) {
    case RGN_AND:
        return a && b;
    case RGN_OR:
        return a || b;
    case RGN_XOR:
        return a != b;
    case RGN_DIFF:
        return a && !b;
    default:
        return a;
    }
}

int ExpectedKind(const PixelSet& APixels, HRGN ARegion)
{
    int n = 0;
    for (bool p : APixels)
        n += p;
    if (n == 0)
        return NULLREGION;
    RECT box;
    GetRgnBox(ARegion, &box);
    return box.Width() * box.Height() == n ? SIMPLEREGION : COMPLEXREGION;
}

class RegionOperation : public ::testing::TestWithParam<int> {};

TEST_P(RegionOperation, MatchesBruteForceOnRandomRectangles)
{
    const int mode = GetParam();
    std::mt19937 rng(1234u + unsigned(mode));
    for (int round = 0; round < 60; ++round) {
        RandomRegion a = MakeRandom(rng), b = MakeRandom(rng);
        // Half the rounds write into one of the sources, as callers often do.
        HRGN dest = round % 2 == 0 ? CreateRectRgn(0, 0, 0, 0) : a.Handle;
        const int kind = CombineRgn(dest, a.Handle, b.Handle, mode);
        PixelSet expected{};
        for (size_t i = 0; i < expected.size(); ++i)
            expected[i] = Expected(mode, a.Pixels[i], b.Pixels[i]);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                ASSERT_EQ(PtInRegion(dest, x, y) != 0, expected[size_t(y * kSide + x)])
                    << "round " << round << " at " << x << "," << y;
        EXPECT_EQ(kind, ExpectedKind(expected, dest));

        // The rectangle list must survive a trip through RGNDATA unchanged.
        std::vector<char> data(GetRegionData(dest, 0, nullptr));
        ASSERT_EQ(GetRegionData(dest, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data())), data.size());
        HRGN copy = ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
        EXPECT_TRUE(EqualRgn(copy, dest));
        DeleteObject(copy);

        if (dest != a.Handle)
            DeleteObject(dest);
        DeleteObject(a.Handle);
        DeleteObject(b.Handle);
    }
}

std::string ModeName(const ::testing::TestParamInfo<int>& AInfo)
{
    static const char* const kNames[] = {"", "And", "Or", "Xor", "Diff", "Copy"};
    return kNames[AInfo.param];
}

INSTANTIATE_TEST_SUITE_P(Modes, RegionOperation, ::testing::Values(RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY),
                         ModeName);

TEST(Region, QueriesAndOffset)
{
    HRGN r = CreateRectRgn(10, 10, 20, 20);
    HRGN bar = CreateRectRgn(30, 10, 40, 12);
    CombineRgn(r, r, bar, RGN_OR);
    EXPECT_TRUE(PtInRegion(r, 10, 10));
    EXPECT_FALSE(PtInRegion(r, 20, 10)) << "right edge excluded";
    EXPECT_FALSE(PtInRegion(r, 10, 20)) << "bottom edge excluded";
    RECT probe{20, 11, 30, 12};
    EXPECT_FALSE(RectInRegion(r, &probe)) << "the gap between the pieces";
    probe = {19, 19, 25, 25};
    EXPECT_TRUE(RectInRegion(r, &probe));
    EXPECT_EQ(OffsetRgn(r, -10, 5), COMPLEXREGION);
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 15, 30, 25}));
    EXPECT_EQ(GetRegionData(r, 0, nullptr), sizeof(RGNDATAHEADER) + 3 * sizeof(RECT)) << "two bands, three boxes";
    DeleteObject(r);
    DeleteObject(bar);
}

TEST(Region, ExtCreateRegionRefusesBadData)
{
    struct {
        RGNDATAHEADER Header;
        RECT Rects[2];
    } data;
    data.Header.nCount = 2;
    data.Rects[0] = {0, 0, 5, 5};
    data.Rects[1] = {3, 3, 8, 8}; // overlapping boxes are united
    HRGN ok = ExtCreateRegion(nullptr, sizeof(data), reinterpret_cast<RGNDATA*>(&data));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(PtInRegion(ok, 7, 7));
    EXPECT_FALSE(PtInRegion(ok, 7, 0));
    DeleteObject(ok);
    EXPECT_EQ(ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER) + sizeof(RECT), reinterpret_cast<RGNDATA*>(&data)),
              nullptr)
        << "a count beyond the buffer";
    data.Header.iType = 7;
    EXPECT_EQ(ExtCreateRegion(nullptr, sizeof(data), reinterpret_cast<RGNDATA*>(&data)), nullptr);
}

} // namespace
