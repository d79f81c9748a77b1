#include "skin/core/skin_records_factory.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "platform/rtl/inifiles.h"

namespace {

using KeyValues = std::vector<std::pair<const char*, const char*>>;

std::unique_ptr<TMemIniFile> MemoryIni(const std::vector<std::string>& ALines = {})
{
    auto ini = std::make_unique<TMemIniFile>("");
    TStringList lines;
    for (const auto& line : ALines) lines.Add(line);
    ini->SetStrings(&lines);
    return ini;
}

// What the record writes for AKey ("<none>" when it writes no such key).
template <typename Record>
std::string Written(Record& ARecord, const char* AKey)
{
    auto out = MemoryIni();
    ARecord.SaveToFile(out.get());
    return out->ReadString(ARecord.IDName, AKey, "<none>");
}

struct DefaultsRow {
    const char* Word;
    KeyValues Expected;
};

// The values a missing section gives, as the record writes them back.
const DefaultsRow kObjectDefaults[] = {
    {"menuitem", {{"fontname", "Arial"}, {"fontheight", "14"}, {"animateinterval", "25"}, {"activepictureindex", "-1"},
                  {"glowlayeralphablendvalue", "255"}, {"morphkind", "mkdefault"}}},
    {"mainmenubaritem", {{"fontname", "Arial"}, {"fontheight", "14"}, {"animateinterval", "25"}}},
    {"mainmenuitem", {{"fontname", "Arial"}, {"fontheight", "14"}, {"unenabledfontcolor", "0"}}},
    {"stdbutton",
     {{"command", "cmdefault"}, {"groupindex", "-1"}, {"alphamaskpictureindex", "-1"}, {"restorehint", ""}}},
    {"mainmenubarbutton", {{"command", "cmdefault"}, {"groupindex", "-1"}}},
    {"button", {{"groupindex", "-1"}, {"disableskinrsect", "0,0,0,0"}, {"alphamaskinactivepictureindex", "-1"}}},
    {"caption", {{"glowsize", "3"}, {"alignment", "tacenter"}, {"fontheight", "14"}, {"reflactioncolor", "0"}}},
    {"trackbar", {{"buttonrect", "0,0,0,0"}, {"beginpoint", "0,0"}, {"morphing", "0"}}},
    {"gauge", {{"kind", "gkhorizontal"}, {"maxvalue", "0"}}},
    {"framegauge", {{"framesplacement", "fphorizontal"}, {"countframes", "0"}}},
    {"frameregulator", {{"kind", "rkround"}, {"framesplacement", "fphorizontal"}}},
    {"label", {{"fontname", "Arial"}, {"fontheight", "14"}, {"alignment", "tacenter"}, {"textvalue", ""}}},
    {"bitlabel", {{"transparentcolor", "16711935"}, {"symbolslinecount", "0"}, {"morphing", "0"}}},
    {"switch", {{"cursorindex", "-1"}, {"skinrect", "0,0,0,0"}, {"glowlayerpictureindex", "-1"}}},
    {"animate", {{"countframes", "1"}, {"timerinterval", "50"}, {"command", "cmdefault"}}},
    {"userobject", {{"cursorindex", "-1"}, {"rollup", "0"}, {"skinrect", "0,0,0,0"}, {"hint", "<none>"}}},
};

const DefaultsRow kControlDefaults[] = {
    {"slider", {{"pictureindex", "-1"}, {"bgcolor", "0"}, {"edgesize", "0"}}},
    {"bevel", {{"maskpictureindex", "-1"}, {"lightcolor", "0"}, {"darkcolor", "0"}}},
    {"panel",
     {{"bgpictureindex", "-1"}, {"alignment", "tacenter"}, {"fontheight", "14"}, {"grippertransparentcolor", "0"}}},
    {"expanel", {{"fontheight", "14"}, {"buttonstransparentcolor", "0"}}},
    {"menubutton", {{"animateinterval", "25"}, {"fontheight", "14"}, {"trackbuttonrect", "0,0,0,0"}}},
    {"button", {{"animateinterval", "25"}, {"fontheight", "14"}, {"glowlayerpictureindex", "-1"},
                {"glowlayeralphablendvalue", "255"}, {"stretchtype", "stfull"}, {"lefttoppoint", "0,0"}}},
    {"checkradio", {{"fontheight", "14"}, {"morphkind", "mkdefault"}, {"framefontcolor", "0"}}},
    {"gauge", {{"fontheight", "14"}, {"progresstransparentcolor", "0"}}},
    {"splitter", {{"grippertransparentcolor", "0"}}},
    {"trackbar", {{"buttontransparentcolor", "0"}, {"vertical", "0"}}},
    {"label", {{"fontname", "Arial"}, {"fontheight", "14"}}},
    {"stdlabel", {{"activefontcolor", "16711680"}, {"fontheight", "14"}, {"clientrect", "<none>"}}},
    {"bitlabel", {{"symbolslinecount", "0"}, {"skintextrect", "0,0,0,0"}}},
    {"frameregulator", {{"framescount", "1"}, {"kind", "rkround"}}},
    {"framegauge", {{"framescount", "1"}, {"framesplacement", "fphorizontal"}}},
    {"animate", {{"framescount", "1"}}},
    {"updown", {{"rightbottompoint", "0,0"}, {"upbuttonrect", "0,0,0,0"}}},
    {"switch", {{"framescount", "1"}}},
    {"grid", {{"bgpictureindex", "-1"}, {"fixedfontname", "Arial"}, {"fixedfontheight", "14"}}},
    {"tab", {{"bgpictureindex", "-1"}, {"buttontransparentcolor", "0"}, {"stretchtype", "stfull"}}},
    {"mainmenubar", {{"menubaritem", ""}, {"trackmarkcolor", "0"}}},
    {"controlbar", {{"itemoffset1", "3"}, {"itemoffset2", "3"}, {"bgpictureindex", "-1"}}},
    {"memo", {{"bgcolor", "0"}, {"fontheight", "14"}, {"activeskinrect", "0,0,0,0"}}},
    {"edit", {{"fontheight", "14"}, {"unenabledbuttonrect", "0,0,0,0"}}},
    {"checklistbox", {{"vscrollbarname", "vscrollbar"}, {"itemcheckrect", "0,0,0,0"}}},
    {"listbox", {{"vscrollbarname", "vscrollbar"}, {"hscrollbarname", "hscrollbar"},
                 {"bothhscrollbarname", "bothhscrollbar"}, {"captionfontheight", "14"}}},
    {"combobox", {{"listboxname", ""}, {"fontheight", "14"}}},
    {"scrollbar", {{"thumbtransparentcolor", "0"}, {"glyphtransparentcolor", "0"}}},
    {"spinedit", {{"fontheight", "14"}}},
    {"scrollbox", {{"bgpictureindex", "-1"}}},
    {"treeview", {{"bgcolor", "0"}}},
    {"listview", {{"bgcolor", "0"}}},
    {"richedit", {{"bgcolor", "0"}}},
};

TEST(SkinRecords, EveryTypeWordReadsTheDocumentedDefaultsFromAnEmptySection)
{
    auto ini = MemoryIni({"[OTHER]", "fontheight=99"});
    std::set<std::string> objects, controls;
    for (const auto& row : kObjectDefaults) {
        auto record = CreateSkinObject(row.Word, "x");
        ASSERT_TRUE(record) << row.Word;
        EXPECT_EQ(SkinObjectTypeWord(*record), row.Word);
        record->LoadFromFile(ini.get());
        for (const auto& [key, value] : row.Expected) EXPECT_EQ(Written(*record, key), value) << row.Word << " " << key;
        objects.insert(row.Word);
    }
    for (const auto& row : kControlDefaults) {
        auto record = CreateSkinControl(row.Word, "x");
        ASSERT_TRUE(record) << row.Word;
        EXPECT_EQ(SkinControlTypeWord(*record), row.Word);
        record->LoadFromFile(ini.get());
        for (const auto& [key, value] : row.Expected) EXPECT_EQ(Written(*record, key), value) << row.Word << " " << key;
        controls.insert(row.Word);
    }
    EXPECT_EQ(objects, std::set<std::string>(SkinObjectTypeWords().begin(), SkinObjectTypeWords().end()));
    EXPECT_EQ(controls, std::set<std::string>(SkinControlTypeWords().begin(), SkinControlTypeWords().end()));
    EXPECT_EQ(objects.size(), 16u);
    EXPECT_EQ(controls.size(), 33u);
}

TEST(SkinRecords, ConstructorValuesDifferFromMissingKeyDefaultsWhereDocumented)
{
    const struct {
        bool Control;
        const char* Word;
        KeyValues Expected;
    } rows[] = {
        {true, "button", {{"fontheight", "12"}, {"animateinterval", "0"}}},
        {true, "stdlabel", {{"fontheight", "12"}, {"activefontcolor", "16711680"}}},
        {true, "listbox", {{"vscrollbarname", ""}, {"hscrollbarname", ""}, {"fontheight", "14"}}},
        {true, "treeview", {{"bgcolor", "16777215"}}},
        {true, "controlbar", {{"itemoffset1", "0"}}},
        {true, "panel", {{"grippertransparentcolor", "16711935"}, {"fontheight", "12"}}},
        {true, "scrollbar", {{"thumbtransparentcolor", "16711935"}}},
        {false, "caption", {{"glowsize", "0"}}},
        {false, "animate", {{"countframes", "0"}, {"timerinterval", "0"}, {"command", "cmclose"}}},
        {false, "button", {{"groupindex", "-1"}}},
    };
    for (const auto& row : rows) {
        if (row.Control) {
            auto record = CreateSkinControl(row.Word, "x");
            for (const auto& [key, value] : row.Expected) EXPECT_EQ(Written(*record, key), value) << row.Word << key;
        } else {
            auto record = CreateSkinObject(row.Word, "x");
            for (const auto& [key, value] : row.Expected) EXPECT_EQ(Written(*record, key), value) << row.Word << key;
        }
    }
}

TEST(SkinRecords, ReadingRulesOfSingleKinds)
{
    const struct {
        bool Control;
        const char* Word;
        std::vector<std::string> Section;
        const char* Key;
        const char* Expected;
    } rows[] = {
        {false, "stdbutton", {"command=cmClose"}, "command", "cmminimizetotray"},
        {false, "stdbutton", {"command=cmminimizetotray"}, "command", "cmminimizetotray"},
        {false, "stdbutton", {"hint=Maximize", "command=cmmaximize"}, "restorehint", "Restore"},
        {false, "stdbutton", {"hint=maximize", "command=cmmaximize"}, "restorehint", ""},
        {false, "animate", {"hint=Roll Up", "command=cmrollup"}, "restorehint", "Restore"},
        {false, "stdbutton", {"hint=Minimize", "command=cmminimize", "restorehint=Back"}, "restorehint", "Back"},
        {false, "trackbar", {"morphing=1"}, "morphing", "0"},
        {false, "animate", {"morphing=1"}, "morphing", "0"},
        {false, "button", {"morphing=1"}, "morphing", "1"},
        {false, "menuitem", {"checkimagerect=0,0,10,10"}, "activecheckimagerect", "0,0,10,10"},
        {false, "menuitem", {"arrowimagerect=1,1,5,5", "activearrowimagerect=2,2,9,9"}, "activearrowimagerect",
         "2,2,9,9"},
        {false, "gauge", {"kind=GKHORIZONTAL"}, "kind", "gkvertical"},
        {false, "label", {"alignment=tacentre"}, "alignment", "tarightjustify"},
        {false, "label", {"fontstyle=fsboldfsitalic"}, "fontstyle", "fsbold,fsitalic"},
        {false, "caption", {"glowsize=7"}, "glowsize", "7"},
        {true, "updown", {"rightbottompoint=5,5", "clientrect=1,2,3,4"}, "rightbottompoint", "0,0"},
        {true, "updown", {"rightbottompoint=5,5", "clientrect=1,2,3,4"}, "clientrect", "0,0,0,0"},
        {true, "framegauge", {"framescount=0"}, "framescount", "1"},
        {true, "animate", {"framescount=-3"}, "framescount", "1"},
        {true, "switch", {"framesplacement=FPVERTICAL"}, "framesplacement", "fpvertical"},
        {true, "frameregulator", {"kind=rkcircle"}, "kind", "rkvertical"},
        {true, "frameregulator", {"kind=rkhorizontal"}, "kind", "rkhorizontal"},
        {true, "button", {"stretchtype=STVERT"}, "stretchtype", "sthorz"},
        {true, "button", {"stretchtype=nonsense"}, "stretchtype", "sthorz"},
        {true, "button", {"stretchtype=stvert"}, "stretchtype", "stvert"},
        {true, "button", {"stretcheffect=true"}, "stretcheffect", "0"},
        {true, "button", {"topstretch=2"}, "topstretch", "0"},
        {true, "button", {"skinrect= 10 ,20,30,40"}, "skinrect", "10,20,30,40"},
        {true, "tab", {"leftstretch=1", "bottomstretch=1"}, "bottomstretch", "1"},
        {true, "controlbar", {"itemoffset1=0x10"}, "itemoffset1", "16"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> lines = {"[x]"};
        lines.insert(lines.end(), row.Section.begin(), row.Section.end());
        auto ini = MemoryIni(lines);
        std::string written;
        if (row.Control) {
            auto record = CreateSkinControl(row.Word, "x");
            record->LoadFromFile(ini.get());
            written = Written(*record, row.Key);
        } else {
            auto record = CreateSkinObject(row.Word, "x");
            record->LoadFromFile(ini.get());
            written = Written(*record, row.Key);
        }
        EXPECT_EQ(written, row.Expected) << row.Word << " " << row.Section.front();
    }
}

TEST(SkinRecords, UserObjectReadsOnlyItsThreeKeysAndBitLabelsAppendTheirLines)
{
    auto ini = MemoryIni({"[u]", "hint=Hello", "activepictureindex=3", "rollup=1", "[b]", "symbolslinecount=2",
                                 "symbolsline0=abc", "symbolsline1=def"});
    TspDataUserObject user("u");
    user.LoadFromFile(ini.get());
    EXPECT_EQ(user.Hint, "");
    EXPECT_EQ(user.ActivePictureIndex, -1);
    EXPECT_TRUE(user.RollUp);

    TspDataSkinBitLabel label("b");
    label.LoadFromFile(ini.get());
    ASSERT_EQ(label.Symbols->Count(), 2);
    EXPECT_EQ(label.Symbols->Strings(0), "abc");
    EXPECT_EQ(label.Symbols->Strings(1), "def");
}

TEST(SkinRecords, RectangleWithTooFewFieldsIsAConversionError)
{
    auto ini = MemoryIni({"[x]", "skinrect=1,2,3"});
    TspDataSkinButtonControl record("x");
    EXPECT_THROW(record.LoadFromFile(ini.get()), EConvertError);
}

TEST(SkinRecords, SavingWritesTheSectionWholeInRowOrderAndDropsForeignKeys)
{
    auto ini = MemoryIni({"[b]", "handadded=1", "fontname=Tahoma"});
    TspDataSkinButtonControl button("b");
    button.LoadFromFile(ini.get());
    button.SaveToFile(ini.get());
    EXPECT_FALSE(ini->ValueExists("b", "handadded"));
    TStringList keys;
    ini->ReadSection("b", &keys);
    const char* const head[] = {"pictureindex", "maskpictureindex", "cursorindex", "skinrect", "lefttoppoint",
                                "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect", "stretcheffect",
                                "leftstretch", "topstretch", "rightstretch", "bottomstretch", "stretchtype",
                                "fontname", "fontheight", "fontstyle", "fontcolor", "activefontcolor",
                                "downfontcolor", "disabledfontcolor", "morphing", "morphkind", "activeskinrect",
                                "downskinrect", "focusedskinrect", "disabledskinrect"};
    ASSERT_GE(keys.Count(), static_cast<Integer>(std::size(head)));
    for (size_t i = 0; i < std::size(head); ++i) EXPECT_EQ(keys.Strings(static_cast<Integer>(i)), head[i]);
    EXPECT_EQ(keys.Strings(keys.Count() - 1), "glowlayeralphablendvalue");
    EXPECT_EQ(ini->ReadString("b", "fontname", ""), "Tahoma");
}

TEST(SkinRecords, WindowRecordsAndColoursFromMissingSections)
{
    auto ini = MemoryIni({"[LAYERFRAME]", "alphablendvalue=0x80"});
    TspDataSkinHintWindow hint;
    EXPECT_EQ(hint.FontHeight, 12);
    hint.LoadFromFile(ini.get());
    EXPECT_EQ(hint.FontHeight, 14);
    EXPECT_EQ(hint.FontName, "Arial");
    EXPECT_EQ(hint.WindowPictureIndex, -1);
    TspDataSkinLayerFrame layer;
    layer.LoadFromFile(ini.get());
    EXPECT_EQ(layer.AlphaBlendValue, 128);
    EXPECT_EQ(layer.InActiveAlphaBlendValue, 255);
    EXPECT_EQ(layer.PictureIndex, -1);
    TspSkinColors colours;
    colours.SetColorsToDefault();
    EXPECT_EQ(colours.FcBtnFace, TColor(0xFF00000F));
    colours.LoadFromFile(ini.get());
    EXPECT_EQ(colours.FcBtnFace, 0);
    EXPECT_EQ(colours.Fc3DDkShadow, 0);
}

}  // namespace
