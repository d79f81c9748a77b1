// Characters the chosen face lacks are drawn with an installed font that has them, one character at a time.
// Cases whose script no installed font covers are skipped, not failed.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "canvas_fixture.h"
#include "platform/rtl/utf8.h"

using namespace win;
using gdi_test::Canvas;

namespace {

// Every installed font file that has ACode.
std::set<std::string> FilesWith(char32_t ACode)
{
    std::set<std::string> files;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* chars = FcCharSetCreate();
    FcCharSetAddChar(chars, FcChar32(ACode));
    FcPatternAddCharSet(pattern, FC_CHARSET, chars);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch)
                files.insert(reinterpret_cast<const char*>(file));
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcCharSetDestroy(chars);
    FcPatternDestroy(pattern);
    return files;
}

HFONT LatinFont(LONG AWeight = FW_NORMAL)
{
    LOGFONT lf;
    lf.lfHeight = -16;
    lf.lfWeight = AWeight;
    std::strcpy(lf.lfFaceName, "Liberation Sans");
    return CreateFontIndirect(&lf);
}

std::vector<uint32_t> Drawn(HFONT AFont, char32_t ACode)
{
    Canvas c(40, 24, 0xFFFFFFFFu);
    HGDIOBJ old = SelectObject(c.Dc, AFont);
    const std::string text = Utf8Encode(ACode);
    TextOut(c.Dc, 2, 2, text.c_str(), int(text.size()));
    SelectObject(c.Dc, old);
    return {c.Bits, c.Bits + c.Width * c.Height};
}

struct Script {
    const char* Name;
    char32_t Code;
};

const Script kScripts[] = {
    {"Japanese", U'\u3072'},  // hiragana hi
    {"Chinese", U'\u4E2D'},
    {"Arabic", U'\u0645'},
    {"Cyrillic", U'\u0416'},
    {"Greek", U'\u03A9'},
};

}  // namespace

TEST(FontFallback, PicksAFaceThatHasTheGlyph)
{
    HFONT latin = LatinFont(), bold = LatinFont(FW_BOLD);
    const std::string own = FontFileOf(latin);
    ASSERT_NE(own.find("LiberationSans"), std::string::npos) << own;
    EXPECT_EQ(FontFileFor(latin, U'A'), own) << "a character the face has stays with the face";
    int checked = 0;
    for (const Script& s : kScripts) {
        const std::set<std::string> have = FilesWith(s.Code);
        if (have.empty())
            continue;
        ++checked;
        for (HFONT font : {latin, bold}) {
            const std::string file = FontFileFor(font, s.Code);
            EXPECT_TRUE(have.count(file)) << s.Name << " drawn from " << file << ", which lacks it";
        }
    }
    DeleteObject(latin);
    DeleteObject(bold);
    if (checked == 0)
        GTEST_SKIP() << "no installed font covers any of the scripts";
}

TEST(FontFallback, DrawsTheGlyphNotTheMissingGlyphBox)
{
    constexpr char32_t kNowhere = 0x10FFFD;  // private use: no font has it, so it draws the box
    if (!FilesWith(kNowhere).empty())
        GTEST_SKIP() << "an installed font has a glyph for U+10FFFD";
    HFONT latin = LatinFont();
    const std::vector<uint32_t> box = Drawn(latin, kNowhere);
    int checked = 0;
    for (const Script& s : kScripts) {
        if (FilesWith(s.Code).empty() || FontFileFor(latin, s.Code) == FontFileOf(latin))
            continue;  // no font has it, or the face has it itself
        ++checked;
        EXPECT_NE(Drawn(latin, s.Code), box) << s.Name;
    }
    DeleteObject(latin);
    if (checked == 0)
        GTEST_SKIP() << "no installed font has a script Liberation Sans lacks";
}
