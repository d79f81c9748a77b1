// DrawText layout with a pinned font (DejaVu Sans, 13 pixels em): line heights, breaks, prefixes and ellipses.
// Widths are measured through GetTextExtentPoint32, so the cases read as layout rules, not as font numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "canvas_fixture.h"

using namespace win;
using gdi_test::Canvas;

namespace {

class PinnedFont {
public:
    explicit PinnedFont(HDC ADC) : Dc(ADC)
    {
        LOGFONT lf;
        lf.lfHeight = -13;
        std::strcpy(lf.lfFaceName, "DejaVu Sans");
        Font = CreateFontIndirect(&lf);
        Old = SelectObject(Dc, Font);
    }
    ~PinnedFont()
    {
        SelectObject(Dc, Old);
        DeleteObject(Font);
    }
    int Width(const char* AText) const
    {
        SIZE size;
        GetTextExtentPoint32(Dc, AText, -1, &size);
        return size.cx;
    }
    HDC Dc;
    HFONT Font;
    HGDIOBJ Old;
};

constexpr int kLine = 15; // DejaVu's Windows ascent 1901 and descent 483 of 2048, at 13 pixels: 12 + 3

TEST(PinnedFontTest, IsDejaVuSansWithWindowsMetrics)
{
    Canvas c(1, 1);
    PinnedFont f(c.Dc);
    EXPECT_NE(FontFileOf(f.Font).find("DejaVuSans.ttf"), std::string::npos) << FontFileOf(f.Font);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(c.Dc, &tm));
    EXPECT_EQ(tm.tmAscent, 12);
    EXPECT_EQ(tm.tmDescent, 3);
    EXPECT_EQ(tm.tmHeight, kLine);
    EXPECT_EQ(tm.tmInternalLeading, 2);
    EXPECT_GT(f.Width("WWW"), f.Width("iii"));
}

TEST(FontMapping, WindowsNamesFindInstalledFaces)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Tahoma", "DejaVuSans.ttf"},           {"MS Sans Serif", "DejaVuSans.ttf"},
        {"Verdana", "DejaVuSans.ttf"},          {"Arial", "LiberationSans-Regular.ttf"},
        {"Times New Roman", "LiberationSerif-Regular.ttf"}, {"Courier New", "LiberationMono-Regular.ttf"},
    };
    for (const auto& [name, file] : cases) {
        HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, name);
        EXPECT_NE(FontFileOf(font).find(file), std::string::npos) << name << " -> " << FontFileOf(font);
        DeleteObject(font);
    }
    HFONT bold = CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    EXPECT_NE(FontFileOf(bold).find("DejaVuSans-Bold.ttf"), std::string::npos) << FontFileOf(bold);
    DeleteObject(bold);
}

struct CalcCase {
    const char* Name;
    const char* Text;
    UINT Format;
    const char* WidthOf;    // the rectangle is this text's width (nullptr: 1000 pixels) ...
    int WidthAdjust;        // ... plus this
    const char* ResultWidth; // CALCRECT's width is this text's width
    int Lines;
};

void PrintTo(const CalcCase& ACase, std::ostream* AOut) { *AOut << ACase.Name; }

class CalcRect : public ::testing::TestWithParam<CalcCase> {};

TEST_P(CalcRect, MeasuresLinesAndWidth)
{
    const CalcCase& k = GetParam();
    Canvas c(1, 1);
    PinnedFont f(c.Dc);
    const int width = (k.WidthOf != nullptr ? f.Width(k.WidthOf) : 1000) + k.WidthAdjust;
    RECT r{10, 20, 10 + width, 20};
    const int height = DrawText(c.Dc, k.Text, -1, &r, k.Format | DT_CALCRECT);
    EXPECT_EQ(height, k.Lines * kLine);
    EXPECT_EQ(r.Top, 20);
    EXPECT_EQ(r.Bottom, 20 + k.Lines * kLine);
    EXPECT_EQ(r.Left, 10);
    EXPECT_EQ(r.Right - r.Left, f.Width(k.ResultWidth));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CalcRect,
    ::testing::Values(
        CalcCase{"single_line", "Hello world", DT_SINGLELINE, nullptr, 0, "Hello world", 1},
        CalcCase{"word_break_needed", "Hello world", DT_WORDBREAK, "Hello world", -1, "world", 2},
        CalcCase{"word_break_fits", "Hello world", DT_WORDBREAK, "Hello world", 0, "Hello world", 1},
        CalcCase{"break_keeps_words_whole", "one two three four", DT_WORDBREAK, "one two thr", 0, "three four", 2},
        CalcCase{"long_word_widens", "Supercalifragilistic a", DT_WORDBREAK, "Super", 0, "Supercalifragilistic", 2},
        CalcCase{"every_line_end", "a\r\nbb\nc\n\rd\re", 0, nullptr, 0, "bb", 5},
        CalcCase{"empty_line_counts", "a\n\nb", 0, nullptr, 0, "a", 3},
        CalcCase{"single_line_ignores_breaks", "a\nb", DT_SINGLELINE, nullptr, 0, "ab", 1},
        CalcCase{"prefix_hidden", "&File", DT_SINGLELINE, nullptr, 0, "File", 1},
        CalcCase{"double_ampersand", "a&&b", DT_SINGLELINE, nullptr, 0, "a&b", 1},
        CalcCase{"no_prefix", "&File", DT_SINGLELINE | DT_NOPREFIX, nullptr, 0, "&File", 1},
        CalcCase{"end_ellipsis", "Hello world", DT_SINGLELINE | DT_END_ELLIPSIS, "Hello w...", 0, "Hello w...", 1},
        CalcCase{"path_ellipsis", "/home/user/videos/clip.mp4", DT_SINGLELINE | DT_PATH_ELLIPSIS,
                 "/home/us.../clip.mp4", 0, "/home/us.../clip.mp4", 1},
        CalcCase{"nothing_fits_but_dots", "Hello", DT_SINGLELINE | DT_END_ELLIPSIS, "H", 0, "...", 1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DrawTextLayout, EmptyTextHasNoHeight)
{
    Canvas c(1, 1);
    PinnedFont f(c.Dc);
    RECT r{0, 0, 100, 100};
    EXPECT_EQ(DrawText(c.Dc, "", -1, &r, DT_CALCRECT), 0);
    EXPECT_EQ(r, (RECT{0, 0, 0, 0}));
}

TEST(DrawTextLayout, ExMarginsAndTabLength)
{
    Canvas c(1, 1);
    PinnedFont f(c.Dc);
    TEXTMETRIC tm;
    GetTextMetrics(c.Dc, &tm);
    DRAWTEXTPARAMS params;
    params.iLeftMargin = 5;
    params.iRightMargin = 7;
    params.iTabLength = 2;
    RECT r{0, 0, 1000, 0};
    EXPECT_EQ(DrawTextEx(c.Dc, "a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE, &params), kLine);
    EXPECT_EQ(r.Right, 5 + 2 * tm.tmAveCharWidth + f.Width("b") + 7);
    EXPECT_EQ(params.uiLengthDrawn, 3u);
}

TEST(DrawTextLayout, ExpandedTabsGoToEightAverageWidths)
{
    Canvas c(1, 1);
    PinnedFont f(c.Dc);
    TEXTMETRIC tm;
    GetTextMetrics(c.Dc, &tm);
    RECT r{0, 0, 1000, 0};
    DrawText(c.Dc, "a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_EQ(r.Right, 8 * tm.tmAveCharWidth + f.Width("b"));
}

TEST(DrawTextLayout, VerticalPlacementChangesTheReturnValue)
{
    Canvas c(100, 40);
    PinnedFont f(c.Dc);
    RECT r{0, 0, 100, 40};
    EXPECT_EQ(DrawText(c.Dc, "x", -1, &r, DT_SINGLELINE), kLine);
    EXPECT_EQ(DrawText(c.Dc, "x", -1, &r, DT_SINGLELINE | DT_VCENTER), (40 - kLine) / 2 + kLine);
    EXPECT_EQ(DrawText(c.Dc, "x", -1, &r, DT_SINGLELINE | DT_BOTTOM), 40);
    EXPECT_EQ(DrawText(c.Dc, "x\ny", -1, &r, DT_VCENTER), 2 * kLine) << "only single lines move";
}

// DrawText must put the same pixels as TextOut of what it lays out.
struct SameAsTextOut {
    const char* Name;
    const char* Text;
    UINT Format;
    const char* RectWidthOf;
    std::vector<const char*> Drawn; // the lines TextOut draws, one below the other
    bool Right;                     // right-aligned within the rectangle
};

void PrintTo(const SameAsTextOut& ACase, std::ostream* AOut) { *AOut << ACase.Name; }

class DrawnPixels : public ::testing::TestWithParam<SameAsTextOut> {};

TEST_P(DrawnPixels, MatchTextOut)
{
    const SameAsTextOut& k = GetParam();
    Canvas a(160, 50, 0xFFFFFFFFu), b(160, 50, 0xFFFFFFFFu);
    PinnedFont fa(a.Dc), fb(b.Dc);
    SetBkMode(a.Dc, TRANSPARENT);
    SetBkMode(b.Dc, TRANSPARENT);
    RECT r{2, 1, 2 + fa.Width(k.RectWidthOf), 50};
    DrawText(a.Dc, k.Text, -1, &r, k.Format);
    for (size_t line = 0; line < k.Drawn.size(); ++line) {
        const int x = k.Right ? r.Right - fb.Width(k.Drawn[line]) : r.Left;
        TextOut(b.Dc, x, r.Top + int(line) * kLine, k.Drawn[line], -1);
    }
    int differ = 0;
    for (int i = 0; i < a.Width * a.Height; ++i)
        differ += a.Bits[i] != b.Bits[i];
    EXPECT_EQ(differ, 0);
    EXPECT_LT(a.Count(0xFFFFFFFFu), a.Width * a.Height) << "something was drawn";
}

INSTANTIATE_TEST_SUITE_P(
    Table, DrawnPixels,
    ::testing::Values(
        SameAsTextOut{"end_ellipsis", "Hello world", DT_SINGLELINE | DT_END_ELLIPSIS, "Hello w...", {"Hello w..."}, false},
        SameAsTextOut{"second_line_after_break", "Hello world", DT_WORDBREAK, "Hello worl", {"Hello", "world"}, false},
        SameAsTextOut{"right_aligned", "abc", DT_SINGLELINE | DT_RIGHT, "abcdefgh", {"abc"}, true},
        SameAsTextOut{"no_prefix_draws_ampersand", "a&b", DT_SINGLELINE | DT_NOPREFIX, "a&bcdef", {"a&b"}, false},
        SameAsTextOut{"double_ampersand", "a&&b", DT_SINGLELINE, "a&bcdef", {"a&b"}, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DrawTextLayout, PrefixUnderlinesOnlyItsCharacter)
{
    Canvas a(80, 20, 0xFFFFFFFFu), b(80, 20, 0xFFFFFFFFu);
    PinnedFont fa(a.Dc), fb(b.Dc);
    RECT r{0, 0, 80, 20};
    DrawText(a.Dc, "F&ile", -1, &r, DT_SINGLELINE);
    TextOut(b.Dc, 0, 0, "File", -1);
    const int from = fa.Width("F"), to = fa.Width("Fi");
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            if (a.At(x, y) != b.At(x, y)) {
                EXPECT_GE(x, from);
                EXPECT_LT(x, to);
                EXPECT_GT(y, 12) << "below the baseline";
            }
    int differ = 0;
    for (int i = 0; i < 80 * 20; ++i)
        differ += a.Bits[i] != b.Bits[i];
    EXPECT_GT(differ, 0) << "the underline is missing";
}

// Sides at the ends of int: a far-out rectangle lays text out as a wide one does, and nothing overflows on the way
// (the sanitizer build turns any overflow into a failure).
TEST(DrawTextLayout, FarOutSidesLayOutLikeWideOnes)
{
    struct Case {
        const char* Name;
        UINT Format;
        RECT Far, Wide;
    };
    const Case cases[] = {
        {"centred on both axes", DT_SINGLELINE | DT_CENTER | DT_VCENTER, {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
         {-4000, -4000, 4000, 4000}},
        {"right, left side at the end", DT_SINGLELINE | DT_RIGHT | DT_END_ELLIPSIS, {INT_MIN, 0, 60, 20},
         {-4000, 0, 60, 20}},
        {"bottom, top side at the end", DT_SINGLELINE | DT_BOTTOM, {0, INT_MIN, 60, 20}, {0, -4000, 60, 20}},
        {"word break", DT_WORDBREAK | DT_CENTER, {INT_MIN, 0, INT_MAX, 40}, {-4000, 0, 4000, 40}},
    };
    for (const Case& k : cases) {
        Canvas a(60, 40, 0xFFFFFFFFu), b(60, 40, 0xFFFFFFFFu);
        PinnedFont fa(a.Dc), fb(b.Dc);
        RECT far = k.Far, wide = k.Wide;
        DrawText(a.Dc, "WWW WWW", -1, &far, k.Format);
        DrawText(b.Dc, "WWW WWW", -1, &wide, k.Format);
        int differ = 0;
        for (int i = 0; i < a.Width * a.Height; ++i)
            differ += a.Bits[i] != b.Bits[i];
        EXPECT_EQ(differ, 0) << k.Name;
        EXPECT_LT(b.Count(0xFFFFFFFFu), b.Width * b.Height) << k.Name << ": the wide rectangle shows text";
    }
}

TEST(DrawTextLayout, CalcRectAndMarginsAtTheEndsOfInt)
{
    Canvas c(60, 20, 0xFFFFFFFFu);
    PinnedFont f(c.Dc);
    RECT r{INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX};
    EXPECT_EQ(DrawText(c.Dc, "WWW", -1, &r, DT_CALCRECT | DT_SINGLELINE), kLine);
    EXPECT_EQ(r.Right, INT_MAX) << "saturated, not wrapped";
    EXPECT_EQ(r.Bottom, INT_MAX);

    DRAWTEXTPARAMS params;
    params.iLeftMargin = INT_MAX;
    params.iRightMargin = INT_MAX;
    RECT m{0, 0, 60, 20};
    EXPECT_EQ(DrawTextEx(c.Dc, "WWW", -1, &m, DT_SINGLELINE | DT_END_ELLIPSIS, &params), kLine);
    EXPECT_EQ(c.Count(0xFFFFFFFFu), 60 * 20) << "margins wider than the rectangle leave no room";
    RECT calc{INT_MIN, 0, 0, 0};
    params.iLeftMargin = INT_MIN;
    params.iRightMargin = INT_MIN;
    DrawTextEx(c.Dc, "", 0, &calc, DT_CALCRECT, &params);
    EXPECT_EQ(calc.Right, INT_MIN);
}

// Per-character extents count UTF-8 characters, not bytes, and agree with the extents of the prefixes.
TEST(TextExtents, PerCharacterExtentsAndFit)
{
    Canvas c(1, 1);
    PinnedFont f(c.Dc);
    const std::vector<const char*> chars = {"W", "\u00E9", "i", "\u03A9", "x"}; // 1, 2, 1, 2 and 1 bytes
    std::string text;
    for (const char* ch : chars)
        text += ch;
    std::vector<int> dx(chars.size() + 1, -1);
    int fit = -1;
    SIZE size;
    const int upToI = f.Width("W\u00E9i");
    ASSERT_TRUE(GetTextExtentExPoint(c.Dc, text.c_str(), int(text.size()), upToI, &fit, dx.data(), &size));
    std::string prefix;
    for (size_t i = 0; i < chars.size(); ++i) {
        prefix += chars[i];
        EXPECT_EQ(dx[i], f.Width(prefix.c_str())) << "after character " << i;
    }
    EXPECT_EQ(dx[chars.size()], -1) << "one extent per character, none past them";
    EXPECT_EQ(fit, 3) << "characters within the first three's width";
    EXPECT_EQ(size.cx, f.Width(text.c_str()));
    EXPECT_EQ(size.cy, kLine);

    ASSERT_TRUE(GetTextExtentExPoint(c.Dc, text.c_str(), int(text.size()), upToI - 1, &fit, nullptr, &size));
    EXPECT_EQ(fit, 2);
    ASSERT_TRUE(GetTextExtentExPoint(c.Dc, text.c_str(), -1, -5, &fit, nullptr, &size));
    EXPECT_EQ(fit, 0);
    ASSERT_TRUE(GetTextExtentExPoint(c.Dc, "", 0, 100, &fit, nullptr, &size));
    EXPECT_EQ(fit, 0);
    EXPECT_EQ(size.cx, 0);
    EXPECT_FALSE(GetTextExtentExPoint(c.Dc, text.c_str(), -1, 0, nullptr, nullptr, nullptr));
}

TEST(DrawTextLayout, ClipsToTheRectangleUnlessNoClip)
{
    Canvas c(60, 20, 0xFFFFFFFFu);
    PinnedFont f(c.Dc);
    RECT r{0, 0, 10, 20};
    DrawText(c.Dc, "WWWWWW", -1, &r, DT_SINGLELINE);
    for (int y = 0; y < 20; ++y)
        for (int x = 10; x < 60; ++x)
            ASSERT_EQ(c.At(x, y), 0xFFFFFFFFu) << x << "," << y;
    DrawText(c.Dc, "WWWWWW", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_LT(c.Count(0xFFFFFFFFu), 60 * 20 - 10 * 20);
}

TEST(TextOutput, ExtTextOutClipsAndFillsItsRectangle)
{
    Canvas c(60, 20, 0xFF000000u);
    PinnedFont f(c.Dc);
    SetBkColor(c.Dc, RGB(0, 255, 0));
    SetTextColor(c.Dc, RGB(255, 255, 255));
    RECT r{5, 2, 25, 18};
    ExtTextOut(c.Dc, 0, 2, ETO_CLIPPED | ETO_OPAQUE, &r, "WWWWWWWW", -1, nullptr);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inside = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
            if (!inside) {
                ASSERT_EQ(c.At(x, y), 0xFF000000u) << x << "," << y;
            }
        }
    EXPECT_EQ(c.At(r.Right - 1, r.Bottom - 1), 0x0000FF00u) << "the opaque fill, alpha 0";
    EXPECT_GT(c.Count(0x00FFFFFFu), 0) << "glyph pixels inside";
}

TEST(TextOutput, EscapementTurnsTheLine)
{
    Canvas c(40, 80, 0xFFFFFFFFu);
    HFONT up = CreateFont(-13, 0, 900, 900, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
    HGDIOBJ old = SelectObject(c.Dc, up);
    SetBkMode(c.Dc, TRANSPARENT);
    TextOut(c.Dc, 10, 70, "HHHHH", -1);
    RECT ink{40, 80, 0, 0};
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 40; ++x)
            if (c.At(x, y) != 0xFFFFFFFFu)
                ink = {std::min<int>(ink.Left, x), std::min<int>(ink.Top, y), std::max<int>(ink.Right, x + 1),
                       std::max<int>(ink.Bottom, y + 1)};
    EXPECT_GT(ink.Height(), 2 * ink.Width()) << "a tall, narrow run of text";
    EXPECT_LE(ink.Bottom, 70) << "it rises from the reference point";
    EXPECT_GE(ink.Left, 10) << "the cell's top faces left";
    SelectObject(c.Dc, old);
    DeleteObject(up);
}

TEST(TextOutput, TabbedTextOutStopsAtTheGivenPositions)
{
    Canvas c(200, 20, 0xFFFFFFFFu);
    PinnedFont f(c.Dc);
    const int stops[2] = {50, 120};
    const LONG extent = TabbedTextOut(c.Dc, 10, 0, "a\tb\tc", -1, 2, stops, 10);
    EXPECT_EQ(extent >> 16, kLine);
    EXPECT_EQ(extent & 0xFFFF, 120 + f.Width("c"));
}

} // namespace
