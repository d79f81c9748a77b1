#include "skin/core/value_codecs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"

namespace {

// An ini file that only lives in memory: nothing is written unless UpdateFile is called.
TMemIniFile MakeIni() { return TMemIniFile(std::string(QUENNARY_BINARY_DIR) + "/no-such-skin.ini"); }

TEST(ValueCodecs, RectanglesAndPointsRoundTripIncludingNegativeNumbers)
{
    TMemIniFile ini = MakeIni();
    const TRect rects[] = {{10, 20, 30, 40}, {-1, 2, 3, 4}, {-2147483647 - 1, 0, 2147483647, -7}, {0, 0, 0, 0}};
    for (const TRect& r : rects) {
        WriteIniRect(&ini, "BUTTON", "skinrect", r);
        TRect back;
        ReadIniRect(&ini, "BUTTON", "skinrect", back);
        EXPECT_EQ(back, r) << RectToText(r);
    }
    EXPECT_EQ(ini.ReadString("BUTTON", "skinrect", ""), "0,0,0,0");
    WriteIniRect(&ini, "BUTTON", "skinrect", Rect(-1, 2, 3, 4));
    EXPECT_EQ(ini.ReadString("BUTTON", "skinrect", ""), "-1,2,3,4");

    const TPoint points[] = {{5, 3}, {-5, 3}, {0, -12}};
    for (const TPoint& p : points) {
        WriteIniPoint(&ini, "BUTTON", "lefttoppoint", p);
        TPoint back;
        ReadIniPoint(&ini, "BUTTON", "lefttoppoint", back);
        EXPECT_EQ(back, p);
    }
}

TEST(ValueCodecs, ParsingKeepsDigitsAndRaisesOnAnEmptyField)
{
    const struct { const char* text; TRect rect; } good[] = {
        {"10,20,30,40", {10, 20, 30, 40}},
        {"1 , 2 , 3 , 4", {1, 2, 3, 4}},
        {"x1,y2,3px,(4)", {1, 2, 3, 4}},
        {"1,2,3,4,5,6", {1, 2, 3, 4}},  // fields past the fourth are ignored
        {"- 5,3-,7,8", {-5, 3, 7, 8}},  // a minus counts only where it opens the field
    };
    for (const auto& c : good) {
        TRect r;
        ParseRectText(c.text, r);
        EXPECT_EQ(r, c.rect) << c.text;
    }
    for (const char* bad : {"1,2,3", "", "1,,3,4", "a,b,c,d", "-,1,2,3"}) {
        TRect r;
        EXPECT_THROW(ParseRectText(bad, r), EConvertError) << bad;
    }
    for (const char* bad : {"5", "", ",3"}) {
        TPoint p;
        EXPECT_THROW(ParsePointText(bad, p), EConvertError) << bad;
    }
    TMemIniFile ini = MakeIni();
    TRect missing{1, 1, 1, 1};
    ReadIniRect(&ini, "NONE", "skinrect", missing);
    EXPECT_EQ(missing, Rect(0, 0, 0, 0));
    ini.WriteString("X", "p", "7");
    TPoint p;
    EXPECT_THROW(ReadIniPoint(&ini, "X", "p", p), EConvertError);
}

TEST(ValueCodecs, BooleansFontStylesAndAlignments)
{
    TMemIniFile ini = MakeIni();
    const struct { const char* text; bool value; } bools[] = {{"1", true}, {"0", false}, {"2", false}, {"yes", false}};
    for (const auto& c : bools) {
        ini.WriteString("S", "flag", c.text);
        EXPECT_EQ(ReadIniBool(&ini, "S", "flag"), c.value) << c.text;
    }
    WriteIniBool(&ini, "S", "flag", true);
    EXPECT_EQ(ini.ReadString("S", "flag", ""), "1");
    EXPECT_FALSE(ReadIniBool(&ini, "S", "missing"));

    const struct { const char* text; TFontStyles styles; } styles[] = {
        {"fsbolditalic", {fsBold}},
        {"fsitalic,fsbold", {fsBold, fsItalic}},
        {"FSBOLD", {}},
        {"fsunderline;fsstrikeout", {fsUnderline, fsStrikeOut}},
    };
    for (const auto& c : styles) {
        ini.WriteString("S", "fontstyle", c.text);
        EXPECT_EQ(ReadIniFontStyle(&ini, "S", "fontstyle"), c.styles) << c.text;
    }
    const TFontStyles all = {fsStrikeOut, fsBold, fsUnderline, fsItalic};
    WriteIniFontStyle(&ini, "S", "fontstyle", all);
    EXPECT_EQ(ini.ReadString("S", "fontstyle", ""), "fsbold,fsitalic,fsunderline,fsstrikeout");
    EXPECT_EQ(ReadIniFontStyle(&ini, "S", "fontstyle"), all);
    WriteIniFontStyle(&ini, "S", "fontstyle", {});
    EXPECT_EQ(ini.ReadString("S", "fontstyle", "absent"), "");

    const struct { const char* text; TAlignment value; } alignments[] = {
        {"tacenter", taCenter}, {"taleftjustify", taLeftJustify}, {"tarightjustify", taRightJustify},
        {"TaCenter", taRightJustify}, {"", taRightJustify}};
    for (const auto& c : alignments) {
        ini.WriteString("S", "alignment", c.text);
        EXPECT_EQ(ReadIniAlignment(&ini, "S", "alignment"), c.value) << c.text;
    }
    EXPECT_EQ(ReadIniAlignment(&ini, "S", "missing"), taCenter);
    for (const TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
        WriteIniAlignment(&ini, "S", "alignment", a);
        EXPECT_EQ(ReadIniAlignment(&ini, "S", "alignment"), a);
    }
}

TEST(ValueCodecs, LineAndItemListsUseTheirKeysAndAppend)
{
    TMemIniFile ini = MakeIni();
    TStringList lines, items;
    lines.Add("first");
    lines.Add("");
    lines.Add("third, with comma");
    items.Add("a");
    items.Add("b");
    WriteIniLines(&ini, "L", "text", &lines);
    WriteIniList(&ini, "L", "items", &items);
    EXPECT_EQ(ini.ReadString("L", "textlinecount", ""), "3");
    EXPECT_EQ(ini.ReadString("L", "textline2", ""), "third, with comma");
    EXPECT_EQ(ini.ReadString("L", "itemscount", ""), "2");
    EXPECT_EQ(ini.ReadString("L", "1", ""), "b");

    TStringList back;
    back.Add("kept");
    ReadIniLines(&ini, "L", "text", &back);
    ReadIniList(&ini, "L", "items", &back);
    ASSERT_EQ(back.Count(), 6);
    EXPECT_EQ(back.Strings(0), "kept");
    EXPECT_EQ(back.Strings(3), "third, with comma");
    EXPECT_EQ(back.Strings(5), "b");

    ini.WriteString("L", "nonecount", "0");
    ini.WriteString("L", "negativelinecount", "-4");
    ReadIniList(&ini, "L", "none", &back);
    ReadIniLines(&ini, "L", "negative", &back);
    EXPECT_EQ(back.Count(), 6);
}

TEST(ValueCodecs, ALineMissingFromTheNumberingReadsAsEmpty)
{
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> keys;
        std::vector<std::string> lines;
    } cases[] = {
        {"gap in the middle", {{"symbolslinecount", "3"}, {"symbolsline0", "A"}, {"symbolsline2", "C"}}, {"A", "", "C"}},
        {"first line missing", {{"symbolslinecount", "2"}, {"symbolsline1", "B"}}, {"", "B"}},
        // A count past every line that is there is damage: the list ends with its last line.
        {"tail missing", {{"symbolslinecount", "3"}, {"symbolsline0", "A"}}, {"A"}},
        {"lines past the count ignored", {{"symbolslinecount", "1"}, {"symbolsline0", "A"}, {"symbolsline1", "B"}},
         {"A"}},
    };
    for (const auto& c : cases) {
        TMemIniFile ini = MakeIni();
        for (const auto& [key, value] : c.keys) ini.WriteString("bitlabel", key, value);
        TStringList back;
        ReadIniLines(&ini, "bitlabel", "symbols", &back);
        std::vector<std::string> got;
        for (Integer i = 0; i < back.Count(); ++i) got.push_back(back.Strings(i));
        EXPECT_EQ(got, c.lines) << c.what;
    }
    // A damaged count does not make the reader append lines without end.
    TMemIniFile ini = MakeIni();
    ini.WriteString("bitlabel", "symbolslinecount", "2000000000");
    TStringList back;
    ReadIniLines(&ini, "bitlabel", "symbols", &back);
    EXPECT_LE(back.Count(), 65536);
}

}  // namespace
