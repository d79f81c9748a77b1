#include "platform/rtl/strings.h"

#include "platform/rtl/streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::vector<std::string> Lines(const TStrings& AList)
{
    std::vector<std::string> out;
    for (Integer i = 0; i < AList.Count(); ++i) out.push_back(AList.Strings(i));
    return out;
}

void Fill(TStrings& AList, std::initializer_list<const char*> AItems)
{
    AList.Clear();
    for (const char* s : AItems) AList.Add(s);
}

using TLines = std::vector<std::string>;

}  // namespace

TEST(StringList, SortedListsAndDuplicates)
{
    struct Case {
        TDuplicates Duplicates;
        TLines Expected;
        bool Raises;
    };
    const Case cases[] = {
        {dupIgnore, {"A", "b", "c"}, false},
        {dupAccept, {"a", "A", "b", "c"}, false},
        {dupError, {"A", "b", "c"}, true},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.Duplicates);
        for (const char* s : {"b", "A", "c"}) list.Add(s);
        if (c.Raises) {
            try {
                list.Add("a");
                ADD_FAILURE() << "dupError accepted a duplicate";
            } catch (const EStringListError& e) {
                EXPECT_STREQ(e.what(), "String list does not allow duplicates");
            }
        } else {
            Integer at = list.Add("a");
            EXPECT_EQ(at, 0) << c.Duplicates;
        }
        EXPECT_EQ(Lines(list), c.Expected) << c.Duplicates;
        Integer index = -1;
        EXPECT_TRUE(list.Find("B", index));
        EXPECT_EQ(list.Strings(index), "b");
        EXPECT_FALSE(list.Find("bb", index));
        EXPECT_EQ(index, static_cast<Integer>(c.Expected.size()) - 1);
        EXPECT_EQ(list.IndexOf("C"), list.Count() - 1);
    }

    TStringList list;
    Fill(list, {"b", "a"});
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (TLines{"a", "b"}));
    try {
        list.Insert(0, "x");
        ADD_FAILURE();
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "Operation not allowed on sorted list");
    }
    // Case-sensitive lists order by byte value.
    list.SetCaseSensitive(true);
    list.Add("B");
    EXPECT_EQ(Lines(list), (TLines{"B", "a", "b"}));
}

TEST(StringList, IndexErrorsAndEditing)
{
    TStringList list;
    Fill(list, {"one", "two", "three"});
    try {
        list.Strings(3);
        ADD_FAILURE();
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list.Delete(-1), EStringListError);
    EXPECT_EQ(list.IndexOf("TWO"), 1);  // case-insensitive
    list.Exchange(0, 2);
    list.Move(0, 1);
    EXPECT_EQ(Lines(list), (TLines{"two", "three", "one"}));
    list.CustomSort([](TStringList* l, Integer a, Integer b) {
        return static_cast<Integer>(l->Strings(a).size()) - static_cast<Integer>(l->Strings(b).size());
    });
    EXPECT_EQ(Lines(list), (TLines{"two", "one", "three"}));
}

TEST(StringList, CommaTextQuotingBothWays)
{
    struct Out {
        TLines Items;
        const char* Expected;
    };
    for (const Out& c : {Out{{"a", "b c", "d\"e", ""}, "a,\"b c\",\"d\"\"e\","}, Out{{""}, "\"\""}, Out{{}, ""},
                         Out{{"x,y", "\xC3\xA4"}, "\"x,y\",\xC3\xA4"}, Out{{"tab\there"}, "\"tab\there\""}}) {
        TStringList list;
        for (const auto& s : c.Items) list.Add(s);
        EXPECT_EQ(list.CommaText(), c.Expected);
    }

    struct In {
        const char* Text;
        TLines Expected;
    };
    const In cases[] = {
        {"a, b ,\"c d\",,\"e\"\"f\"", {"a", "b", "c d", "", "e\"f"}},
        {"a b", {"a", "b"}},
        {"a,", {"a", ""}},
        {"\"unterminated", {"unterminated"}},
        {"   ", {}},
        {"\"a\"b", {"a", "b"}},
    };
    for (const In& c : cases) {
        TStringList list;
        list.SetCommaText(c.Text);
        EXPECT_EQ(Lines(list), c.Expected) << c.Text;
        // What CommaText writes reads back the same.
        TStringList again;
        again.SetCommaText(list.CommaText());
        EXPECT_EQ(Lines(again), c.Expected) << c.Text;
    }

    TStringList strict;
    strict.SetDelimiter(';');
    strict.SetStrictDelimiter(true);
    strict.SetDelimitedText("a b;c");
    EXPECT_EQ(Lines(strict), (TLines{"a b", "c"}));
    EXPECT_EQ(strict.DelimitedText(), "a b;c");
    EXPECT_EQ(strict.CommaText(), "\"a b\",c");
}

TEST(StringList, NamesAndValues)
{
    TStringList list;
    Fill(list, {"Name=Value", "Key=a=b", "NoSeparator", "empty="});
    struct Case {
        Integer Index;
        const char* Name;
        const char* Value;
    };
    for (const Case& c : {Case{0, "Name", "Value"}, Case{1, "Key", "a=b"}, Case{2, "", ""}, Case{3, "empty", ""}}) {
        EXPECT_EQ(list.Names(c.Index), c.Name) << c.Index;
        EXPECT_EQ(list.ValueFromIndex(c.Index), c.Value) << c.Index;
    }
    EXPECT_EQ(list.Values("KEY"), "a=b");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName("EMPTY"), 3);
    EXPECT_EQ(list.IndexOfName("NoSeparator"), -1);

    list.SetValues("name", "");  // an empty value removes the entry
    list.SetValues("Key", "c");
    list.SetValues("New", "1");
    EXPECT_EQ(Lines(list), (TLines{"Key=c", "NoSeparator", "empty=", "New=1"}));
}

TEST(StringList, TextSplitsEveryLineBreak)
{
    TStringList list;
    list.SetText("a\r\nb\n\nc\rd\n");
    EXPECT_EQ(Lines(list), (TLines{"a", "b", "", "c", "d"}));
    EXPECT_EQ(list.Text(), "a\nb\n\nc\nd\n");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, ChangeEventsBatchInsideAnUpdate)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject* ASender) {
        EXPECT_EQ(ASender, &list);
        ++changes;
    };
    list.Add("a");
    list.Add("b");
    EXPECT_EQ(changes, 2);
    list.BeginUpdate();
    list.SetText("x\ny\nz");
    list.Delete(0);
    EXPECT_EQ(changes, 2);
    list.EndUpdate();
    EXPECT_EQ(changes, 3);
}

TEST(StringList, ObjectsAssignAndOwnership)
{
    struct TCounted : TObject {
        explicit TCounted(int& ACount) : FCount(ACount) { ++FCount; }
        ~TCounted() override { --FCount; }
        int& FCount;
    };
    int alive = 0;
    auto* first = new TCounted(alive);
    {
        TStringList owner(true);
        owner.AddObject("first", first);
        owner.AddObject("second", new TCounted(alive));
        owner.AddObject("third", new TCounted(alive));
        EXPECT_EQ(owner.IndexOfObject(first), 0);

        TStringList copy;  // not owning: shares the objects
        copy.Assign(&owner);
        EXPECT_EQ(copy.Objects(0), first);
        EXPECT_TRUE(copy.Equals(&owner));

        owner.Delete(2);
        EXPECT_EQ(alive, 2);
    }
    EXPECT_EQ(alive, 0);
}

TEST(StringList, LoadDecodesByteOrderMarksAndTheWindowsCodePage)
{
    struct Case {
        const char* Name;
        std::string Bytes;
        TLines Expected;
        bool KeepsMark;
    };
    const Case cases[] = {
        {"utf-8 with mark", "\xEF\xBB\xBF" "caf\xC3\xA9\r\nx", {"caf\xC3\xA9", "x"}, true},
        {"utf-8", "caf\xC3\xA9\nx\n", {"caf\xC3\xA9", "x"}, false},
        {"windows-1252", "caf\xE9 \x80", {"caf\xC3\xA9 \xE2\x82\xAC"}, false},
        {"utf-16le", std::string("\xFF\xFE" "a\0\xE9\0\n\0b\0", 10), {"a\xC3\xA9", "b"}, true},
        {"utf-16be", std::string("\xFE\xFF\0a\0\n", 6), {"a"}, true},
    };
    for (const Case& c : cases) {
        TStringStream in(c.Bytes);
        TStringList list;
        list.LoadFromStream(&in);
        EXPECT_EQ(Lines(list), c.Expected) << c.Name;
        TStringStream out;
        list.SaveToStream(&out);
        EXPECT_EQ(out.DataString().rfind("\xEF\xBB\xBF", 0) == 0, c.KeepsMark) << c.Name;
    }
}

TEST(StringList, SaveAndLoadAFile)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "rtl-strings-XXXXXX").string();
    std::string dir = mkdtemp(pattern.data());
    std::string file = dir + "/list.txt";
    TStringList list;
    Fill(list, {"one", "", "three"});
    list.SaveToFile(file);
    TStringList back;
    back.LoadFromFile(file);
    EXPECT_EQ(Lines(back), (TLines{"one", "", "three"}));
    EXPECT_THROW(back.LoadFromFile(dir + "/missing.txt"), EFOpenError);
    EXPECT_THROW(list.SaveToFile(dir + "/no/such/folder.txt"), EFCreateError);
    std::filesystem::remove_all(dir);
}
