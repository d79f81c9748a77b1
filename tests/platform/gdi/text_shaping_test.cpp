// Text in scripts that need shaping, drawn through DrawText and compared with what HarfBuzz itself makes of the same
// string in the same font file at the same size: glyph ids, their order on the line and their positions. Also
// colour emoji, the caret stops of shaped text and measuring what is drawn.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "canvas_fixture.h"
#include "platform/rtl/utf8.h"

using namespace win;
using gdi_test::Canvas;

namespace {

constexpr int kEm = 20;

struct Glyph {
    unsigned Id = 0;
    int X = 0;
    int Advance = 0;
    bool operator==(const Glyph&) const = default;
};

std::ostream& operator<<(std::ostream& AOut, const Glyph& AGlyph)
{
    return AOut << "{glyph " << AGlyph.Id << " at " << AGlyph.X << " +" << AGlyph.Advance << "}";
}

// One piece of the line as HarfBuzz is asked to shape it on its own.
struct Piece {
    const char* Text;
    hb_direction_t Direction;
    bool Plain = false; // Latin beside other scripts: no kerning, no ligatures
};

// What HarfBuzz makes of the pieces, laid one after the other in the order given, with the font file at kEm pixels
// and the FreeType load flags the glyphs are drawn with. A colour bitmap face is shaped at its strike and scaled.
std::vector<Glyph> HarfBuzzLine(const std::string& AFile, const std::vector<Piece>& APieces)
{
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    FT_Face face = nullptr;
    EXPECT_EQ(FT_New_Face(library, AFile.c_str(), 0, &face), 0) << AFile;
    if (face == nullptr) {
        FT_Done_FreeType(library);
        return {};
    }
    double scale = 1.0;
    FT_Int32 flags = FT_LOAD_DEFAULT;
    if (!FT_IS_SCALABLE(face)) {
        FT_Select_Size(face, 0);
        scale = kEm / (face->available_sizes[0].y_ppem / 64.0);
        flags = FT_LOAD_COLOR;
    } else {
        FT_Set_Pixel_Sizes(face, 0, kEm);
    }
    hb_font_t* font = hb_ft_font_create_referenced(face);
    hb_ft_font_set_load_flags(font, flags);
    const hb_feature_t plain[] = {{HB_TAG('k', 'e', 'r', 'n'), 0, 0, ~0u},
                                  {HB_TAG('l', 'i', 'g', 'a'), 0, 0, ~0u},
                                  {HB_TAG('c', 'l', 'i', 'g'), 0, 0, ~0u}};
    std::vector<Glyph> out;
    long long pen = 0;
    auto px = [](long long v) { return int((v + 32) >> 6); };
    for (const Piece& piece : APieces) {
        hb_buffer_t* buffer = hb_buffer_create();
        hb_buffer_add_utf8(buffer, piece.Text, -1, 0, -1);
        hb_buffer_guess_segment_properties(buffer);
        hb_buffer_set_direction(buffer, piece.Direction);
        hb_shape(font, buffer, piece.Plain ? plain : nullptr, piece.Plain ? 3 : 0);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
        for (unsigned i = 0; i < count; ++i) {
            const long long advance = std::llround(pos[i].x_advance * scale);
            const int before = px(pen);
            out.push_back({info[i].codepoint, px(pen + std::llround(pos[i].x_offset * scale)), px(pen + advance) - before});
            pen += advance;
        }
        hb_buffer_destroy(buffer);
    }
    hb_font_destroy(font);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return out;
}

// A canvas with DejaVu Sans at kEm pixels selected, recording what the text layer lays out while drawing.
struct ShapingCanvas : Canvas {
    HFONT Font;
    HGDIOBJ OldFont;
    std::vector<LaidOutLine> Lines;

    ShapingCanvas() : Canvas(400, 60, 0xFFFFFFFFu)
    {
        LOGFONT lf;
        lf.lfHeight = -kEm;
        std::strcpy(lf.lfFaceName, "DejaVu Sans");
        Font = CreateFontIndirect(&lf);
        OldFont = SelectObject(Dc, Font);
        SetTextLayoutObserver([this](const LaidOutLine& ALine) { Lines.push_back(ALine); });
    }
    ~ShapingCanvas()
    {
        SetTextLayoutObserver({});
        SelectObject(Dc, OldFont);
        DeleteObject(Font);
    }
    // Draws one line through DrawText and returns what was laid out for it.
    LaidOutLine Draw(const std::string& AText)
    {
        Lines.clear();
        RECT r{10, 10, 390, 50};
        DrawText(Dc, AText, &r, DT_SINGLELINE | DT_NOPREFIX);
        EXPECT_EQ(Lines.size(), 1u);
        return Lines.empty() ? LaidOutLine{} : Lines.front();
    }
    std::string FileFor(const char* AChar) const { return FontFileFor(Font, Utf8ToUtf32(AChar).at(0)); }
};

std::vector<Glyph> GlyphsOf(const LaidOutLine& ALine)
{
    std::vector<Glyph> out;
    for (const LaidOutGlyph& g : ALine.Glyphs)
        out.push_back({g.GlyphId, g.X, g.Advance});
    return out;
}

std::vector<int> ClustersOf(const LaidOutLine& ALine)
{
    std::vector<int> out;
    for (const LaidOutGlyph& g : ALine.Glyphs)
        out.push_back(g.Cluster);
    return out;
}

std::vector<std::string> FilesOf(const LaidOutLine& ALine)
{
    std::vector<std::string> out;
    for (const LaidOutGlyph& g : ALine.Glyphs)
        if (out.empty() || out.back() != g.FontFile)
            out.push_back(g.FontFile);
    return out;
}

// The glyph the font maps a character to on its own (its isolated form).
unsigned CmapGlyph(const std::string& AFile, char32_t ACode)
{
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    FT_Face face = nullptr;
    unsigned id = 0;
    if (FT_New_Face(library, AFile.c_str(), 0, &face) == 0) {
        id = FT_Get_Char_Index(face, ACode);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return id;
}

// Pixels the drawing changed from white.
int Inked(const Canvas& ACanvas)
{
    return ACanvas.Width * ACanvas.Height - ACanvas.Count(0xFFFFFFFFu);
}

} // namespace

TEST(TextShaping, ArabicWordIsJoinedAndReadsRightToLeft)
{
    ShapingCanvas c;
    const std::string word = "\u0645\u0631\u062D\u0628\u0627"; // marhaba
    const std::string file = c.FileFor("\u0645");
    const LaidOutLine line = c.Draw(word);
    EXPECT_EQ(FilesOf(line), std::vector<std::string>{file});
    EXPECT_EQ(GlyphsOf(line), HarfBuzzLine(file, {{word.c_str(), HB_DIRECTION_RTL}}));
    // Joined: the first letter (drawn last, at the right) takes its initial form, not the isolated one.
    ASSERT_EQ(line.Glyphs.size(), 5u);
    EXPECT_EQ(ClustersOf(line), (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_NE(line.Glyphs.back().GlyphId, CmapGlyph(file, U'\u0645'));
    EXPECT_GT(Inked(c), 0);

    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32(c.Dc, word.c_str(), int(word.size()), &size));
    EXPECT_EQ(size.cx, line.Width) << "measured as drawn";
    RECT calc{0, 0, 0, 0};
    DrawText(c.Dc, word, &calc, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(calc.Right, line.Width);
}

TEST(TextShaping, MixedHebrewAndLatinLineKeepsEachRunInItsDirection)
{
    ShapingCanvas c;
    const std::string text = "abc \u05E9\u05DC\u05D5\u05DD def"; // "abc shalom def"
    const std::string file = c.FileFor("\u05E9");
    const LaidOutLine line = c.Draw(text);
    EXPECT_EQ(FilesOf(line), std::vector<std::string>{file});
    EXPECT_EQ(GlyphsOf(line), HarfBuzzLine(file, {{"abc ", HB_DIRECTION_LTR, true},
                                                  {"\u05E9\u05DC\u05D5\u05DD", HB_DIRECTION_RTL},
                                                  {" def", HB_DIRECTION_LTR, true}}));
    EXPECT_EQ(ClustersOf(line), (std::vector<int>{0, 1, 2, 3, 7, 6, 5, 4, 8, 9, 10, 11}));

    // Hebrew words around a Latin one on a line that reads left to right: each Hebrew word reads right to left.
    const std::string around = "\u05E9\u05DC\u05D5\u05DD abc \u05E2\u05D5\u05DC\u05DD";
    EXPECT_EQ(ClustersOf(c.Draw(around)), (std::vector<int>{3, 2, 1, 0, 4, 5, 6, 7, 8, 12, 11, 10, 9}));
}

TEST(TextShaping, DevanagariConjunctAndVowelSignAreShapedWithAFallbackFace)
{
    ShapingCanvas c;
    const std::string text = "\u0915\u094D\u0937\u093F"; // ksha with the vowel sign i, which goes before it
    const std::string file = c.FileFor("\u0915");
    ASSERT_EQ(file.find("DejaVu"), std::string::npos) << "a Devanagari font is installed (tools/install-deps.sh)";
    const LaidOutLine line = c.Draw(text);
    EXPECT_EQ(FilesOf(line), std::vector<std::string>{file});
    EXPECT_EQ(GlyphsOf(line), HarfBuzzLine(file, {{text.c_str(), HB_DIRECTION_LTR}}));
    EXPECT_LT(line.Glyphs.size(), 4u) << "the conjunct is one glyph";
    ASSERT_FALSE(line.Glyphs.empty());
    EXPECT_NE(line.Glyphs.front().GlyphId, CmapGlyph(file, U'\u0915')) << "the vowel sign is drawn first";
}

TEST(TextShaping, ColourEmojiIsDrawnInColourAtTheTextSize)
{
    ShapingCanvas c;
    const std::string text = "\U0001F600"; // grinning face
    const std::string file = c.FileFor("\U0001F600");
    ASSERT_NE(file.find("Emoji"), std::string::npos) << "a colour emoji font is installed: " << file;
    const LaidOutLine line = c.Draw(text);
    ASSERT_EQ(line.Glyphs.size(), 1u);
    EXPECT_TRUE(line.Glyphs[0].Color);
    EXPECT_EQ(GlyphsOf(line), HarfBuzzLine(file, {{text.c_str(), HB_DIRECTION_LTR}}));
    EXPECT_NEAR(line.Width, kEm * 1.2, kEm * 0.3) << "scaled to the text size";

    // Coloured pixels (far from grey), all within the line's cell.
    int colored = 0, top = c.Height, bottom = 0;
    for (int y = 0; y < c.Height; ++y)
        for (int x = 0; x < c.Width; ++x) {
            const uint32_t p = c.Bits[y * c.Width + x];
            const int r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
            if (std::max({r, g, b}) - std::min({r, g, b}) > 100) {
                ++colored;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    EXPECT_GT(colored, kEm * kEm / 4);

    // Digits and spaces after an emoji come from the text's own face, not from the emoji font's keycap digits.
    const LaidOutLine after = c.Draw("\U0001F600 2024");
    EXPECT_EQ(FilesOf(after), (std::vector<std::string>{file, FontFileOf(c.Font)}));
    TEXTMETRIC tm;
    GetTextMetrics(c.Dc, &tm);
    EXPECT_GE(top, 10);
    EXPECT_LT(bottom, 10 + tm.tmHeight + 2);
}

TEST(TextShaping, LatinTextLaysOutTheSameShapedOrNot)
{
    // Latin alone takes the one-glyph-per-character path; beside an Arabic word it is shaped. Both must agree.
    ShapingCanvas c;
    const LaidOutLine plain = c.Draw("Quennary AVA fi");
    const LaidOutLine mixed = c.Draw("Quennary AVA fi \u0645");
    ASSERT_GE(mixed.Glyphs.size(), plain.Glyphs.size());
    std::vector<Glyph> head = GlyphsOf(mixed);
    head.resize(plain.Glyphs.size());
    EXPECT_EQ(GlyphsOf(plain), head);
}

TEST(TextShaping, CaretStopsFollowClustersAndTheReadingDirection)
{
    ShapingCanvas c;
    // salaam: lam and alef join into one ligature, so no caret stands between them.
    const std::string word = "\u0633\u0644\u0627\u0645";
    const std::vector<TextCaretStop> stops = GetTextCaretStops(c.Dc, word.c_str(), int(word.size()));
    std::vector<size_t> bytes;
    for (const TextCaretStop& s : stops)
        bytes.push_back(s.Byte);
    EXPECT_EQ(bytes, (std::vector<size_t>{0, 2, 6, 8}));
    SIZE size;
    GetTextExtentPoint32(c.Dc, word.c_str(), int(word.size()), &size);
    ASSERT_EQ(stops.size(), 4u);
    EXPECT_EQ(stops.front().X, size.cx) << "right to left: the start is at the right";
    EXPECT_EQ(stops.back().X, 0);
    for (size_t i = 1; i < stops.size(); ++i) {
        EXPECT_LT(stops[i].X, stops[i - 1].X);
        EXPECT_GT(stops[i].Extent, stops[i - 1].Extent);
    }
    EXPECT_EQ(stops.back().Extent, size.cx);

    // A mark stays with its letter; Latin stops go left to right.
    const std::string marked = "a\u0301b";
    const std::vector<TextCaretStop> latin = GetTextCaretStops(c.Dc, marked.c_str(), int(marked.size()));
    ASSERT_EQ(latin.size(), 3u);
    EXPECT_EQ(latin[1].Byte, 3u);
    EXPECT_LT(latin[0].X, latin[1].X);
    EXPECT_LT(latin[1].X, latin[2].X);
}
