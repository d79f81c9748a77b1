// Hatched and pattern brushes and the dotted focus frame, pixel by pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas_fixture.h"

using namespace win;
using gdi_test::Canvas;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFFu; // as GDI writes white
constexpr uint32_t kBlue = 0x000000FFu;  // RGB(0, 0, 255) as GDI writes it
constexpr uint32_t kYellow = 0x00FFFF00u;
constexpr uint32_t kGrey = 0xFF808080u;  // the untouched canvas

// An 8 x 8 picture as rows of '#' (line) and '.' (gap).
std::vector<std::string> Picture(Canvas& c, int x0, int y0, uint32_t ALine)
{
    std::vector<std::string> rows;
    for (int y = y0; y < y0 + 8; ++y) {
        std::string row;
        for (int x = x0; x < x0 + 8; ++x)
            row += c.At(x, y) == ALine ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(HatchBrush, EveryStyleDrawsItsLinesEightPixelsApart)
{
    struct Case {
        int Hatch;
        std::vector<std::string> Cell;
    };
    const Case cases[] = {
        {HS_HORIZONTAL, {"########", "........", "........", "........", "........", "........", "........", "........"}},
        {HS_VERTICAL, {"#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#......."}},
        {HS_FDIAGONAL, {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.", ".......#"}},
        {HS_BDIAGONAL, {".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....", ".#......", "#......."}},
        {HS_CROSS, {"########", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#......."}},
        {HS_DIAGCROSS, {"#......#", ".#....#.", "..#..#..", "...##...", "...##...", "..#..#..", ".#....#.", "#......#"}},
    };
    for (const Case& k : cases) {
        Canvas c(24, 24, kGrey);
        HBRUSH brush = CreateHatchBrush(k.Hatch, RGB(0, 0, 255));
        ASSERT_NE(brush, nullptr);
        SetBkColor(c.Dc, RGB(255, 255, 0));
        RECT r{3, 5, 24, 24};
        FillRect(c.Dc, &r, brush);
        // Tiled from the device origin, not from the rectangle: the cell at (8, 8) is a whole one.
        EXPECT_EQ(Picture(c, 8, 8, kBlue), k.Cell) << "hatch " << k.Hatch;
        EXPECT_EQ(c.At(2, 10), kGrey) << "outside the rectangle";
        EXPECT_EQ(c.Count(kBlue) + c.Count(kYellow), 21 * 19) << "gaps take the background colour when opaque";
        DeleteObject(brush);
    }
}

TEST(HatchBrush, TransparentModeLeavesTheGapsAndShapesUseTheBrush)
{
    Canvas c(16, 16, kGrey);
    HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(0, 0, 255));
    SetBkMode(c.Dc, TRANSPARENT);
    HGDIOBJ oldBrush = SelectObject(c.Dc, brush), oldPen = SelectObject(c.Dc, GetStockObject(NULL_PEN));
    Rectangle(c.Dc, 0, 0, 17, 17); // a null pen: the interior reaches right and bottom minus one
    EXPECT_EQ(c.Count(kBlue), 2 * 16 + 2 * 16 - 4); // rows 0 and 8, columns 0 and 8
    EXPECT_EQ(c.Count(kGrey), 16 * 16 - c.Count(kBlue));
    SelectObject(c.Dc, oldBrush);
    SelectObject(c.Dc, oldPen);
    LOGBRUSH log;
    ASSERT_EQ(GetObject(brush, sizeof log, &log), int(sizeof log));
    EXPECT_EQ(log.lbStyle, BS_HATCHED);
    EXPECT_EQ(log.lbHatch, uintptr_t(HS_CROSS));
    DeleteObject(brush);
    EXPECT_EQ(CreateHatchBrush(6, 0), nullptr);
}

TEST(PatternBrush, TilesACopyOfTheBitmapFromTheDeviceOrigin)
{
    // A 3 x 2 pattern: red, green, blue over white, black, yellow.
    const COLORREF colours[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                    {RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)}};
    Canvas pattern(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            SetPixel(pattern.Dc, x, y, colours[y][x]);
    HBRUSH brush = CreatePatternBrush(pattern.Bitmap);
    ASSERT_NE(brush, nullptr);
    SetPixel(pattern.Dc, 0, 0, RGB(9, 9, 9)); // the brush keeps what the bitmap held when it was made

    Canvas c(20, 12, kGrey);
    HRGN region = CreateRectRgn(4, 3, 17, 11);
    ASSERT_TRUE(FillRgn(c.Dc, region, brush));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 4 && x < 17 && y >= 3 && y < 11;
            const COLORREF want = colours[y % 2][x % 3];
            ASSERT_EQ(c.At(x, y), inside ? (GetRValue(want) << 16 | GetGValue(want) << 8 | GetBValue(want)) : kGrey)
                << x << "," << y;
        }
    DeleteObject(region);
    DeleteObject(brush);
}

TEST(FocusRect, DotsEveryOtherBorderPixelAndASecondCallTakesItAway)
{
    Canvas c(20, 20, 0xFF000000u);
    RECT r{2, 3, 12, 9};
    ASSERT_TRUE(DrawFocusRect(c.Dc, &r));
    int dots = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool border = x >= 2 && x < 12 && y >= 3 && y < 9 && (x == 2 || x == 11 || y == 3 || y == 8);
            const bool dot = border && (x + y) % 2 == 0;
            dots += dot;
            ASSERT_EQ(c.At(x, y), dot ? kWhite : 0xFF000000u) << x << "," << y;
        }
    EXPECT_EQ(dots, 14);
    ASSERT_TRUE(DrawFocusRect(c.Dc, &r));
    EXPECT_EQ(c.Count(0xFF000000u) + c.Count(0x00000000u), 20 * 20) << "only alpha may stay changed";
    RECT empty{5, 5, 5, 9};
    EXPECT_TRUE(DrawFocusRect(c.Dc, &empty));
    EXPECT_EQ(c.Count(kWhite), 0);
}

TEST(PatternBrush, PatBltUsesTheSelectedPatternLikeFillRect)
{
    Canvas a(24, 16, kGrey), b(24, 16, kGrey);
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 255));
    RECT r{1, 2, 21, 15};
    FillRect(a.Dc, &r, hatch);
    HGDIOBJ old = SelectObject(b.Dc, hatch);
    ASSERT_TRUE(PatBlt(b.Dc, 1, 2, 20, 13, PATCOPY));
    EXPECT_EQ(std::vector<uint32_t>(a.Bits, a.Bits + 24 * 16), std::vector<uint32_t>(b.Bits, b.Bits + 24 * 16));
    SelectObject(b.Dc, old);
    DeleteObject(hatch);

    // A checkerboard inverted twice with PATINVERT, as drag feedback is drawn and taken away.
    Canvas tile(2, 2, 0);
    SetPixel(tile.Dc, 0, 0, RGB(255, 255, 255));
    SetPixel(tile.Dc, 1, 1, RGB(255, 255, 255));
    HBRUSH checker = CreatePatternBrush(tile.Bitmap);
    Canvas c(10, 10, 0x00102030u);
    old = SelectObject(c.Dc, checker);
    ASSERT_TRUE(PatBlt(c.Dc, 0, 0, 10, 10, PATINVERT));
    EXPECT_EQ(c.At(0, 0), 0x00EFDFCFu);
    EXPECT_EQ(c.At(1, 0), 0x00102030u);
    ASSERT_TRUE(PatBlt(c.Dc, 0, 0, 10, 10, PATINVERT));
    EXPECT_EQ(c.Count(0x00102030u), 100);
    SelectObject(c.Dc, old);
    DeleteObject(checker);
}
