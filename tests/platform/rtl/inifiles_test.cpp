#include "platform/rtl/inifiles.h"

#include "platform/rtl/strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace {

const char* const Sample =
    "; comment\r\n"
    "[Main]\r\n"
    "  Name = Value with spaces  \r\n"
    "Empty=\r\n"
    "Eq=a=b\r\n"
    "NoEquals\r\n"
    "Hex=0x1F\r\n"
    "ShortHex=0x\r\n"
    "Dollar=$10\r\n"
    "Bad=12abc\r\n"
    "Bool=1\r\n"
    "[EmptySection]\r\n"
    "[main2]\r\n"
    "Float=1.5\r\n"
    "Quoted=\"  q  \"\r\n";

std::string ReadAll(const std::string& AFileName)
{
    std::ifstream in(AFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& AFileName, const std::string& AText)
{
    std::ofstream(AFileName, std::ios::binary) << AText;
}

std::vector<std::string> Lines(const TStrings& AList)
{
    std::vector<std::string> out;
    for (Integer i = 0; i < AList.Count(); ++i) out.push_back(AList.Strings(i));
    return out;
}

using TLines = std::vector<std::string>;

struct Kind {
    const char* Name;
    std::function<std::unique_ptr<TCustomIniFile>(const std::string&)> Open;
    bool WritesThrough;
};

const Kind Kinds[] = {
    {"TIniFile", [](const std::string& f) { return std::make_unique<TIniFile>(f); }, true},
    {"TMemIniFile", [](const std::string& f) { return std::make_unique<TMemIniFile>(f); }, false},
};

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtl-ini-XXXXXX").string();
        FDir = mkdtemp(pattern.data());
        FFile = FDir + "/sample.ini";
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }

    std::string FDir;
    std::string FFile;
};

}  // namespace

TEST_F(IniFileTest, ProfileReadingRules)
{
    struct Case {
        const char* Section;
        const char* Key;
        const char* Expected;
    };
    const Case strings[] = {
        {"main", "NAME", "Value with spaces"},  // names in any case, blanks around name and value dropped
        {"Main", "Empty", ""},                  // present but empty is not missing
        {"Main", "Missing", "<default>"},
        {"Main", "Eq", "a=b"},                  // everything after the first '='
        {"Main", "NoEquals", "<default>"},
        {"Nosuch", "Name", "<default>"},
    };
    struct IntCase {
        const char* Key;
        Integer Expected;
    };
    const IntCase integers[] = {{"Hex", 31}, {"ShortHex", -1}, {"Dollar", 16}, {"Bad", -1}, {"Empty", -1}, {"X", -1}};

    for (const Kind& kind : Kinds) {
        WriteAll(FFile, Sample);
        auto ini = kind.Open(FFile);
        for (const Case& c : strings) {
            EXPECT_EQ(ini->ReadString(c.Section, c.Key, "<default>"), c.Expected) << kind.Name << " " << c.Key;
        }
        for (const IntCase& c : integers) {
            EXPECT_EQ(ini->ReadInteger("MAIN", c.Key, -1), c.Expected) << kind.Name << " " << c.Key;
        }
        EXPECT_TRUE(ini->ReadBool("Main", "Bool", false)) << kind.Name;
        EXPECT_TRUE(ini->ReadBool("Main", "Missing", true)) << kind.Name;
        EXPECT_DOUBLE_EQ(ini->ReadFloat("main2", "Float", 0), 1.5) << kind.Name;
        EXPECT_DOUBLE_EQ(ini->ReadFloat("Main", "Name", 2.5), 2.5) << kind.Name;

        EXPECT_TRUE(ini->SectionExists("MAIN")) << kind.Name;
        EXPECT_FALSE(ini->SectionExists("EmptySection")) << kind.Name;  // only a section with a key exists
        EXPECT_FALSE(ini->SectionExists("Nosuch")) << kind.Name;
        EXPECT_TRUE(ini->ValueExists("Main", "empty")) << kind.Name;
        EXPECT_FALSE(ini->ValueExists("Main", "Missing")) << kind.Name;

        TStringList list;
        ini->ReadSections(&list);
        EXPECT_EQ(Lines(list), (TLines{"Main", "EmptySection", "main2"})) << kind.Name;
        ini->ReadSection("main", &list);
        EXPECT_EQ(Lines(list), (TLines{"Name", "Empty", "Eq", "Hex", "ShortHex", "Dollar", "Bad", "Bool"}))
            << kind.Name;
        ini->ReadSectionValues("main2", &list);
        EXPECT_EQ(list.Values("Float"), "1.5") << kind.Name;
    }
}

TEST_F(IniFileTest, ErasedSectionIsWrittenAgainAtTheEnd)
{
    const char* const expected_text[] = {
        // The file-backed ini keeps the lines it did not touch, comments included.
        "; comment\r\n[EmptySection]\r\n[main2]\r\nFloat=1.5\r\nQuoted=\"  q  \"\r\nNew=1\r\n\r\n[main]\r\nK=v\r\n",
        // The in-memory ini writes its own normal form.
        "[EmptySection]\n\n[main2]\nFloat=1.5\nQuoted=\"  q  \"\nNew=1\n\n[main]\nK=v\n\n",
    };
    for (size_t k = 0; k < std::size(Kinds); ++k) {
        const Kind& kind = Kinds[k];
        WriteAll(FFile, Sample);
        auto ini = kind.Open(FFile);
        ini->EraseSection("MAIN");
        EXPECT_FALSE(ini->SectionExists("Main")) << kind.Name;
        EXPECT_EQ(ini->ReadString("Main", "Name", "gone"), "gone") << kind.Name;
        ini->WriteString("main", "K", "v");
        ini->WriteInteger("Main2", "New", 1);  // an existing section keeps its place
        EXPECT_EQ(ReadAll(FFile) == Sample, !kind.WritesThrough) << kind.Name;
        ini->UpdateFile();

        auto reread = kind.Open(FFile);
        TStringList sections;
        reread->ReadSections(&sections);
        EXPECT_EQ(Lines(sections), (TLines{"EmptySection", "main2", "main"})) << kind.Name;
        EXPECT_EQ(reread->ReadString("Main", "k", ""), "v") << kind.Name;
        EXPECT_EQ(ReadAll(FFile), expected_text[k]) << kind.Name;
    }
}

TEST_F(IniFileTest, WritesReplaceInPlaceAndDeleteKeys)
{
    for (const Kind& kind : Kinds) {
        WriteAll(FFile, Sample);
        auto ini = kind.Open(FFile);
        ini->WriteString("MAIN", "name", "new");
        ini->WriteBool("Main", "Bool", false);
        ini->WriteFloat("Main", "F", 0.25);
        ini->DeleteKey("main", "EQ");
        ini->WriteString("Main", "Multi", "line1\nline2");  // cannot start a line of its own
        ini->UpdateFile();
        auto reread = kind.Open(FFile);
        EXPECT_EQ(reread->ReadString("Main", "Name", ""), "new") << kind.Name;
        EXPECT_FALSE(reread->ReadBool("Main", "Bool", true)) << kind.Name;
        EXPECT_DOUBLE_EQ(reread->ReadFloat("Main", "F", 0), 0.25) << kind.Name;
        EXPECT_FALSE(reread->ValueExists("Main", "Eq")) << kind.Name;
        EXPECT_EQ(reread->ReadString("Main", "Multi", ""), "line1 line2") << kind.Name;
        TStringList keys;
        reread->ReadSection("Main", &keys);
        EXPECT_EQ(keys.IndexOf("Name"), 0) << kind.Name;
    }
}

TEST_F(IniFileTest, FileBackedIniSeesOtherWritersAndStripsQuotes)
{
    WriteAll(FFile, Sample);
    TIniFile ini(FFile);
    EXPECT_EQ(ini.ReadString("main2", "Quoted", ""), "  q  ");
    TMemIniFile mem(FFile);
    EXPECT_EQ(mem.ReadString("main2", "Quoted", ""), "\"  q  \"");

    WriteAll(FFile, "[Other]\nX=changed\n");
    EXPECT_EQ(ini.ReadString("Other", "X", ""), "changed");

    TIniFile nowhere(FDir + "/missing/folder/x.ini");
    EXPECT_EQ(nowhere.ReadString("a", "b", "d"), "d");
    EXPECT_THROW(nowhere.WriteString("a", "b", "c"), EIniFileException);
}

TEST_F(IniFileTest, MemIniStringsRoundTrip)
{
    TMemIniFile ini("");
    TStringList in;
    in.SetText("junk before any section\n[A]\n b = 1 \n; dropped\n\n[B]\nc=2\n");
    ini.SetStrings(&in);
    TStringList out;
    ini.GetStrings(&out);
    EXPECT_EQ(Lines(out), (TLines{"[A]", "b=1", "", "[B]", "c=2", ""}));
    ini.Rename(FFile, false);
    ini.UpdateFile();
    EXPECT_EQ(ReadAll(FFile), "[A]\nb=1\n\n[B]\nc=2\n\n");
}
