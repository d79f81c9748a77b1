// Lines and shapes where GDI puts them, and the rule that GDI drawing on a 32-bit surface leaves alpha 0.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "canvas_fixture.h"

using namespace win;
using gdi_test::Canvas;

namespace {

constexpr uint32_t kGrey = 0xFF808080u; // opaque: any pixel GDI touches must lose its alpha
constexpr uint32_t kRed = 0x00FF0000u;  // RGB(255, 0, 0) as GDI writes it

struct AlphaCase {
    const char* Name;
    std::function<void(HDC)> Draw;
};

void PrintTo(const AlphaCase& ACase, std::ostream* AOut) { *AOut << ACase.Name; }

void WithRedPenAndBrush(HDC dc, const std::function<void()>& draw)
{
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
    draw();
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

class AlphaZero : public ::testing::TestWithParam<AlphaCase> {};

TEST_P(AlphaZero, EveryTouchedPixelHasAlphaZero)
{
    Canvas c(40, 20, kGrey);
    WithRedPenAndBrush(c.Dc, [&] { GetParam().Draw(c.Dc); });
    int touched = 0;
    for (int y = 0; y < c.Height; ++y)
        for (int x = 0; x < c.Width; ++x)
            if (c.At(x, y) != kGrey) {
                ++touched;
                EXPECT_EQ(c.At(x, y) >> 24, 0u) << "at " << x << "," << y;
            }
    EXPECT_GT(touched, 0) << "nothing was drawn";
}

HBRUSH Stock(int index) { return static_cast<HBRUSH>(GetStockObject(index)); }

INSTANTIATE_TEST_SUITE_P(
    Calls, AlphaZero,
    ::testing::Values(
        AlphaCase{"FillRect", [](HDC dc) { RECT r{2, 2, 10, 10}; FillRect(dc, &r, Stock(WHITE_BRUSH)); }},
        AlphaCase{"FillRectSystemColour",
                  [](HDC dc) { RECT r{2, 2, 10, 10}; FillRect(dc, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)); }},
        AlphaCase{"FrameRect", [](HDC dc) { RECT r{2, 2, 10, 10}; FrameRect(dc, &r, Stock(BLACK_BRUSH)); }},
        AlphaCase{"LineTo", [](HDC dc) { MoveToEx(dc, 0, 0, nullptr); LineTo(dc, 30, 15); }},
        AlphaCase{"Polyline", [](HDC dc) { POINT p[3] = {{1, 1}, {20, 1}, {20, 15}}; Polyline(dc, p, 3); }},
        AlphaCase{"Rectangle", [](HDC dc) { Rectangle(dc, 1, 1, 30, 15); }},
        AlphaCase{"Ellipse", [](HDC dc) { Ellipse(dc, 1, 1, 30, 15); }},
        AlphaCase{"SetPixel", [](HDC dc) { SetPixel(dc, 3, 3, RGB(1, 2, 3)); }},
        AlphaCase{"InvertRect", [](HDC dc) { RECT r{0, 0, 5, 5}; InvertRect(dc, &r); }},
        AlphaCase{"NotPen", [](HDC dc) { SetROP2(dc, R2_NOT); MoveToEx(dc, 0, 5, nullptr); LineTo(dc, 30, 5); }},
        AlphaCase{"PatBlt", [](HDC dc) { PatBlt(dc, 0, 0, 8, 8, PATCOPY); }},
        AlphaCase{"TextOut", [](HDC dc) { TextOut(dc, 1, 1, "Wg", -1); }},
        AlphaCase{"TransparentText", [](HDC dc) { SetBkMode(dc, TRANSPARENT); TextOut(dc, 1, 1, "Wg", -1); }},
        AlphaCase{"DrawText", [](HDC dc) { RECT r{0, 0, 40, 20}; DrawText(dc, "&Ok", -1, &r, DT_CENTER); }},
        AlphaCase{"FillRgn",
                  [](HDC dc) {
                      HRGN rgn = CreateEllipticRgn(0, 0, 20, 20);
                      FillRgn(dc, rgn, Stock(GRAY_BRUSH));
                      DeleteObject(rgn);
                  }},
        AlphaCase{"BitBltFrom24Bit",
                  [](HDC dc) {
                      BITMAPINFO info{};
                      info.bmiHeader.biWidth = 4;
                      info.bmiHeader.biHeight = 4;
                      info.bmiHeader.biBitCount = 24;
                      void* bits = nullptr;
                      HBITMAP bmp = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
                      HDC src = CreateCompatibleDC(dc);
                      HGDIOBJ old = SelectObject(src, bmp);
                      BitBlt(dc, 0, 0, 4, 4, src, 0, 0, SRCCOPY);
                      SelectObject(src, old);
                      DeleteDC(src);
                      DeleteObject(bmp);
                  }}),
    [](const auto& info) { return std::string(info.param.Name); });

// The pixels of a shape as text rows: '#' for the pen, 'o' for the brush, '.' for untouched.
std::vector<std::string> Picture(Canvas& c)
{
    std::vector<std::string> rows;
    for (int y = 0; y < c.Height; ++y) {
        std::string row;
        for (int x = 0; x < c.Width; ++x)
            row += c.At(x, y) == kRed ? '#' : c.At(x, y) == 0x000000FFu ? 'o' : c.At(x, y) == kGrey ? '.' : '?';
        rows.push_back(row);
    }
    return rows;
}

struct ShapeCase {
    const char* Name;
    std::function<void(HDC)> Draw;
    std::vector<std::string> Expected;
};

void PrintTo(const ShapeCase& ACase, std::ostream* AOut) { *AOut << ACase.Name; }

class ShapePixels : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapePixels, MatchHandDrawnPicture)
{
    Canvas c(7, 5, kGrey);
    WithRedPenAndBrush(c.Dc, [&] { GetParam().Draw(c.Dc); });
    EXPECT_EQ(Picture(c), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, ShapePixels,
    ::testing::Values(
        ShapeCase{"line_leaves_out_its_end",
                  [](HDC dc) { MoveToEx(dc, 1, 1, nullptr); LineTo(dc, 5, 1); LineTo(dc, 5, 4); },
                  {".......", ".#####.", ".....#.", ".....#.", "......."}},
        ShapeCase{"diagonal",
                  [](HDC dc) { MoveToEx(dc, 0, 0, nullptr); LineTo(dc, 4, 4); },
                  {"#......", ".#.....", "..#....", "...#...", "......."}},
        ShapeCase{"line_backwards", [](HDC dc) { MoveToEx(dc, 5, 2, nullptr); LineTo(dc, 1, 2); },
                  {".......", ".......", "..####.", ".......", "......."}},
        ShapeCase{"rectangle_leaves_out_right_and_bottom", [](HDC dc) { Rectangle(dc, 1, 0, 6, 4); },
                  {".#####.", ".#ooo#.", ".#ooo#.", ".#####.", "......."}},
        ShapeCase{"null_pen_rectangle",
                  [](HDC dc) { SelectObject(dc, GetStockObject(NULL_PEN)); Rectangle(dc, 1, 0, 6, 4); },
                  {".oooo..", ".oooo..", ".oooo..", ".......", "......."}},
        ShapeCase{"hollow_ellipse",
                  [](HDC dc) { SelectObject(dc, GetStockObject(NULL_BRUSH)); Ellipse(dc, 0, 0, 7, 5); },
                  {".#####.", "##...##", "#.....#", "##...##", ".#####."}},
        ShapeCase{"dotted_pen_transparent",
                  [](HDC dc) {
                      HPEN dots = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
                      HGDIOBJ old = SelectObject(dc, dots);
                      SetBkMode(dc, TRANSPARENT);
                      MoveToEx(dc, 0, 2, nullptr);
                      LineTo(dc, 7, 2);
                      DeleteObject(SelectObject(dc, old));
                  },
                  {".......", ".......", "###...#", ".......", "......."}},
        ShapeCase{"origin_moves_shapes",
                  [](HDC dc) {
                      SetViewportOrgEx(dc, 2, 1, nullptr);
                      MoveToEx(dc, 0, 0, nullptr);
                      LineTo(dc, 0, 3);
                  },
                  {".......", "..#....", "..#....", "..#....", "......."}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Drawing, NotPenTwiceRestoresTheColour)
{
    Canvas c(4, 1, 0x00123456u);
    SetROP2(c.Dc, R2_NOT);
    for (int pass = 0; pass < 2; ++pass) {
        MoveToEx(c.Dc, 0, 0, nullptr);
        LineTo(c.Dc, 4, 0);
        EXPECT_EQ(c.At(2, 0), pass == 0 ? 0x00EDCBA9u : 0x00123456u);
    }
}

TEST(Drawing, PixelsAreClippedAndReadBack)
{
    Canvas c(4, 4, kGrey);
    EXPECT_EQ(SetPixel(c.Dc, 1, 2, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(c.Dc, 1, 2), RGB(10, 20, 30));
    EXPECT_EQ(SetPixel(c.Dc, 4, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.Dc, -1, 0), CLR_INVALID);
    ExcludeClipRect(c.Dc, 0, 0, 2, 2);
    EXPECT_EQ(GetPixel(c.Dc, 1, 1), CLR_INVALID);
}

TEST(Drawing, FarAwayCoordinatesAreSafe)
{
    Canvas c(10, 10, kGrey);
    MoveToEx(c.Dc, -2000000000, 5, nullptr);
    LineTo(c.Dc, 2000000000, 5);
    EXPECT_EQ(c.At(0, 5) >> 24, 0u);
    EXPECT_EQ(c.At(9, 5) >> 24, 0u);

    // Extreme rectangles, origins and shapes are clamped, not overflowed.
    SetViewportOrgEx(c.Dc, 5, 5, nullptr);
    RECT all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_TRUE(FillRect(c.Dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
    EXPECT_EQ(c.At(0, 0), 0x00FFFFFFu);
    EXPECT_NE(IntersectClipRect(c.Dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), ERROR);
    EXPECT_TRUE(Ellipse(c.Dc, -1000000000, -1000000000, 1000000000, 1000000000));
    HRGN huge = CreateEllipticRgn(0, 0, 1000000000, 1000000000);
    HRGN wide = CreateRectRgn(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_TRUE(PtInRegion(wide, 0, 0));
    EXPECT_NE(CombineRgn(wide, wide, huge, RGN_DIFF), ERROR);
    DeleteObject(huge);
    DeleteObject(wide);
}

TEST(Colours, SystemColoursResolve)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), int32_t(RGB(212, 208, 200)));
    EXPECT_EQ(ColorToRGB(clWindow), int32_t(RGB(255, 255, 255)));
    EXPECT_EQ(ColorToRGB(clHighlight), int32_t(RGB(10, 36, 106)));
    EXPECT_EQ(ColorToRGB(clRed), int32_t(RGB(255, 0, 0)));
    EXPECT_EQ(clBtnFace, int32_t(0xFF00000Fu));
    EXPECT_FALSE(HasTransparentBlt());
}

} // namespace
