#include "platform/rtl/sysutils.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace {

std::string ReadAll(const std::string& AFileName)
{
    std::ifstream in(AFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtl-sysutils-XXXXXX").string();
        FPath = mkdtemp(pattern.data());
        FPath += "/";
    }
    ~TempFolder() { std::filesystem::remove_all(FPath); }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

}  // namespace

TEST(Format, SpecifiersWidthsAndPrecisions)
{
    struct Case {
        const char* Format;
        std::string Expected;
        std::string Actual;
    };
    const Case cases[] = {
        {"%d", "42", Format("%d", {42})},
        {"%5d|%-5d|", "   42|42   |", Format("%5d|%-5d|", {42, 42})},
        {"%.2d", "05", Format("%.2d", {5})},
        {"%.2d negative", "-05", Format("%.2d", {-5})},
        {"%2.2d", "07", Format("%2.2d", {7})},
        {"%.6d", "000123", Format("%.6d", {123})},
        {"%d int64", "-9000000000", Format("%d", {int64_t{-9000000000}})},
        {"%x", "FF", Format("%x", {255})},
        {"%.4X", "00FF", Format("%.4X", {255})},
        {"%x of -1 shows 32 bits", "FFFFFFFF", Format("%x", {-1})},
        {"%u of -1", "4294967295", Format("%u", {-1})},
        {"%u unsigned", "3000000000", Format("%u", {3000000000u})},
        {"%s", "a: 3", Format("%s: %d", {"a", 3})},
        {"%s std::string", "x=y", Format("%s=%s", {std::string("x"), std::string_view("y")})},
        {"%-10s", "abc       |", Format("%-10s|", {"abc"})},
        {"%5s counts characters", "   \xC3\xA4\xC3\xB6", Format("%5s", {"\xC3\xA4\xC3\xB6"})},
        {"%.2s", "ab", Format("%.2s", {"abcdef"})},
        {"%c", "x", Format("%c", {'x'})},
        {"%f defaults to 2 decimals", "1.50", Format("%f", {1.5})},
        {"%.0f halves away from zero", "3 -3", Format("%.0f %.0f", {2.5, -2.5})},
        {"%.2f of an exact tie", "0.13", Format("%.2f", {0.125})},
        {"%8.0f", "      -4", Format("%8.0f", {-3.5})},
        {"%0.3f", "0.333", Format("%0.3f", {1.0 / 3})},
        {"%6.1f", "  12.3", Format("%6.1f", {12.345})},
        {"%7.1f of a carry", "  100.0", Format("%7.1f", {99.96})},
        {"%.2f of zero", "0.00", Format("%.2f", {0.0})},
        {"%g", "0.1", Format("%g", {0.1})},
        {"%g large", "1E20", Format("%g", {1e20})},
        {"%g whole", "1234567", Format("%g", {1234567.0})},
        {"%g small", "0.0001 1E-5", Format("%g %g", {0.0001, 0.00001})},
        {"%e", "1.50000000000000E+000", Format("%e", {1.5})},
        {"%%", "100%", Format("%d%%", {100})},
        {"index", "b a", Format("%1:s %0:s", {"a", "b"})},
        {"star width", "   42", Format("%*d", {5, 42})},
    };
    for (const Case& c : cases) EXPECT_EQ(c.Actual, c.Expected) << c.Format;
}

TEST(Format, ArgumentOfTheWrongTypeOrMissingRaises)
{
    struct Case {
        const char* Format;
        std::function<std::string()> Call;
        const char* Message;
    };
    const Case cases[] = {
        {"%d", [] { return Format("%d", {"x"}); }, "Format '%d' invalid or incompatible with argument"},
        {"%s", [] { return Format("%s", {1}); }, "Format '%s' invalid or incompatible with argument"},
        {"%f", [] { return Format("%f", {1}); }, "Format '%f' invalid or incompatible with argument"},
        {"%y", [] { return Format("%y", {1}); }, "Format '%y' invalid or incompatible with argument"},
        {"missing", [] { return Format("%d %d", {1}); }, "No argument for format '%d %d'"},
    };
    for (const Case& c : cases) {
        try {
            c.Call();
            ADD_FAILURE() << c.Format << " did not raise";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.Message) << c.Format;
        }
    }
}

TEST(Conversion, IntegersParseLikeTheClassLibrary)
{
    struct Case {
        const char* Text;
        bool Valid;
        Integer Value;
    };
    const Case cases[] = {
        {"42", true, 42},        {"  -17", true, -17},    {"+8", true, 8},
        {"$FF", true, 255},      {"0x1f", true, 31},      {"-$10", true, -16},
        {"$FFFFFFFF", true, -1}, {"2147483647", true, INT_MAX}, {"-2147483648", true, INT_MIN},
        {"", false, 0},          {"42 ", false, 0},       {"4 2", false, 0},
        {"2147483648", false, 0}, {"abc", false, 0},      {"0x", false, 0},
        {"--1", false, 0},       {"+-1", false, 0},       {"1.5", false, 0},
    };
    for (const Case& c : cases) {
        Integer v = 0;
        EXPECT_EQ(TryStrToInt(c.Text, v), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_EQ(v, c.Value) << c.Text;
        }
        EXPECT_EQ(StrToIntDef(c.Text, -99), c.Valid ? c.Value : -99) << c.Text;
    }
    try {
        StrToInt("abc");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64{255}, 4), "00FF");
}

TEST(Conversion, FloatsUseTheCLocaleWhateverTheProcessLocale)
{
    struct Case {
        const char* Text;
        bool Valid;
        double Value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5},   {" -2.5e3 ", true, -2500}, {".5", true, 0.5}, {"+5.", true, 5},
        {"1,5", false, 0},    {"inf", false, 0},         {"nan", false, 0}, {"0x10", false, 0},
        {"", false, 0},       {"1e", false, 0},
    };
    for (const Case& c : cases) {
        double v = 0;
        EXPECT_EQ(TryStrToFloat(c.Text, v), c.Valid) << c.Text;
        if (c.Valid) {
            EXPECT_DOUBLE_EQ(v, c.Value) << c.Text;
        }
    }
    EXPECT_THROW(StrToFloat("x"), EConvertError);
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(-2.5), "-2.5");
    EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 15, 2), "1234.57");
    EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 1), "1,234.6");
}

TEST(Strings, OneBasedHelpersClipLikeTheClassLibrary)
{
    struct CopyCase {
        Integer Index, Count;
        const char* Expected;
    };
    for (const CopyCase& c : {CopyCase{2, 3, "ell"}, CopyCase{0, 2, "He"}, CopyCase{-5, 1, "H"},
                              CopyCase{4, 100, "lo"}, CopyCase{6, 1, ""}, CopyCase{2, -1, ""}}) {
        EXPECT_EQ(Copy("Hello", c.Index, c.Count), c.Expected) << c.Index << "," << c.Count;
    }
    struct PosCase {
        const char* Sub;
        Integer Expected;
    };
    for (const PosCase& c : {PosCase{"l", 3}, PosCase{"lo", 4}, PosCase{"", 0}, PosCase{"xyz", 0}, PosCase{"H", 1}}) {
        EXPECT_EQ(Pos(c.Sub, "Hello"), c.Expected) << c.Sub;
    }
    struct DeleteCase {
        Integer Index, Count;
        const char* Expected;
    };
    for (const DeleteCase& c : {DeleteCase{2, 2, "Hlo"}, DeleteCase{0, 2, "Hello"}, DeleteCase{5, 10, "Hell"},
                                DeleteCase{6, 1, "Hello"}, DeleteCase{1, 0, "Hello"}}) {
        std::string s = "Hello";
        Delete(s, c.Index, c.Count);
        EXPECT_EQ(s, c.Expected) << c.Index << "," << c.Count;
    }
    struct InsertCase {
        Integer Index;
        const char* Expected;
    };
    for (const InsertCase& c : {InsertCase{1, "XYHello"}, InsertCase{0, "XYHello"}, InsertCase{3, "HeXYllo"},
                                InsertCase{6, "HelloXY"}, InsertCase{100, "HelloXY"}}) {
        std::string s = "Hello";
        Insert("XY", s, c.Index);
        EXPECT_EQ(s, c.Expected) << c.Index;
    }
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a \x01"), "  a");
}

TEST(Strings, CaseComparisonAndReplacement)
{
    EXPECT_EQ(UpperCase("abc\xC3\xA4"), "ABC\xC3\xA4");  // ASCII only
    EXPECT_EQ(AnsiUpperCase("abc \xC3\xA4\xC3\xB6 \xD0\xB6"), "ABC \xC3\x84\xC3\x96 \xD0\x96");
    EXPECT_EQ(AnsiLowerCase("\xC3\x84X"), "\xC3\xA4x");
    EXPECT_TRUE(SameText("Quennary", "qUENNARY"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_GT(CompareText("_", "a"), 0);  // letters fold to upper case, which sorts before '_'

    struct Case {
        const char* S;
        const char* Old;
        TReplaceFlags Flags;
        const char* Expected;
    };
    const Case cases[] = {
        {"aXbXc", "X", {}, "a-bXc"},
        {"aXbXc", "X", {rfReplaceAll}, "a-b-c"},
        {"aXbxc", "x", {rfReplaceAll, rfIgnoreCase}, "a-b-c"},
        {"aXbxc", "x", {rfReplaceAll}, "aXb-c"},
        {"abc", "", {rfReplaceAll}, "abc"},
        {"aaa", "aa", {rfReplaceAll}, "-a"},
    };
    for (const Case& c : cases) EXPECT_EQ(StringReplace(c.S, c.Old, "-", c.Flags), c.Expected) << c.S << "/" << c.Old;
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_TRUE(MatchesMask("Photo.PNG", "*.png"));
    EXPECT_FALSE(MatchesMask("photo.pngx", "*.png"));
    EXPECT_TRUE(MatchesMask("a1b", "a?b"));
}

TEST(Numbers, RoundHalfToEvenTruncAndMulDiv)
{
    struct RoundCase {
        double Value;
        Int64 Expected;
    };
    for (const RoundCase& c : {RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2}, RoundCase{3.5, 4},
                               RoundCase{-0.5, 0}, RoundCase{-1.5, -2}, RoundCase{-2.5, -2}, RoundCase{2.4999, 2},
                               RoundCase{2.5000001, 3}, RoundCase{1e15 + 0.5, 1000000000000000}}) {
        EXPECT_EQ(Round(c.Value), c.Expected) << c.Value;
    }
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_THROW(Round(1e300), EInvalidOperation);

    struct MulDivCase {
        Integer A, B, C, Expected;
    };
    for (const MulDivCase& c : {MulDivCase{10, 3, 4, 8}, MulDivCase{-10, 3, 4, -8}, MulDivCase{5, 1, 2, 3},
                                MulDivCase{-5, 1, 2, -3}, MulDivCase{5, 1, -2, -3}, MulDivCase{100, -1, 3, -33},
                                MulDivCase{1, 1, 0, -1}, MulDivCase{INT_MAX, 2, 1, -1},
                                MulDivCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX}}) {
        EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Expected) << c.A << "*" << c.B << "/" << c.C;
    }
    EXPECT_EQ(Min(3, 4), 3);
    EXPECT_EQ(Max(-1.5, -2.5), -1.5);
}

TEST(Dates, EncodeDecodeAndFormat)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));

    TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(19, 8, 9, 45);
    Word y, m, d, h, n, s, ms;
    DecodeDate(t, y, m, d);
    DecodeTime(t, h, n, s, ms);
    EXPECT_EQ((std::vector<Word>{y, m, d, h, n, s, ms}), (std::vector<Word>{2024, 3, 5, 19, 8, 9, 45}));
    EXPECT_EQ(DayOfWeek(t), 3);  // a Tuesday

    struct Case {
        const char* Pattern;
        const char* Expected;
    };
    const Case cases[] = {
        {"yyyy-mm-dd hh:nn:ss", "2024-03-05 19:08:09"},
        {"d/m/yy", "5-3-24"},
        {"hh:mm", "19:08"},  // "m" right after an hour is minutes
        {"HH:NN:SS.zzz", "19:08:09.045"},
        {"h:nn am/pm", "7:08 pm"},
        {"dddd d mmmm", "Tuesday 5 March"},
        {"ddd mmm", "Tue Mar"},
        {"'yyyy' \"mm\" yyyy", "yyyy mm 2024"},
        {"c", "2024-03-05 19:08:09"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.Pattern, t), c.Expected) << c.Pattern;
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "2024-03-05");
    EXPECT_EQ(TimeToStr(t), "19:08:09");
}

TEST(Files, PathHelpers)
{
    struct Case {
        const char* Name;
        const char* Path;
        const char* File;
        const char* Ext;
        const char* Changed;
    };
    const Case cases[] = {
        {"/a/b/c.txt", "/a/b/", "c.txt", ".txt", "/a/b/c.bak"},
        {"/a.b/c", "/a.b/", "c", "", "/a.b/c.bak"},
        {"c.tar.gz", "", "c.tar.gz", ".gz", "c.tar.bak"},
        {"/", "/", "", "", "/.bak"},
        {"dir/", "dir/", "", "", "dir/.bak"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.Name), c.Path) << c.Name;
        EXPECT_EQ(ExtractFileName(c.Name), c.File) << c.Name;
        EXPECT_EQ(ExtractFileExt(c.Name), c.Ext) << c.Name;
        EXPECT_EQ(ChangeFileExt(c.Name, ".bak"), c.Changed) << c.Name;
    }
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
    EXPECT_EQ(ExtractFileDir("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
}

TEST(Files, FolderAndFileOperations)
{
    TempFolder tmp;
    std::string deep = tmp.Path() + "x/y/z";
    ASSERT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));

    std::string a = tmp.Path() + "a.PNG", b = tmp.Path() + "b.png";
    ASSERT_TRUE(WriteFileAtomically(a, "first"));
    ASSERT_TRUE(WriteFileAtomically(b, "second!"));
    EXPECT_TRUE(FileExists(a));
    EXPECT_FALSE(DirectoryExists(a));
    EXPECT_EQ(FileSizeByName(b), 7);
    EXPECT_EQ(FileSizeByName(tmp.Path() + "none"), -1);
    TDateTime age = 0;
    ASSERT_TRUE(FileAge(a, age));
    EXPECT_NEAR(age, Now(), 1.0 / 24);
    EXPECT_FALSE(FileAge(tmp.Path() + "none", age));

    // A rename never replaces what is already there.
    EXPECT_FALSE(RenameFile(a, b));
    EXPECT_EQ(ReadAll(b), "second!");
    EXPECT_TRUE(RenameFile(a, tmp.Path() + "c.png"));
    EXPECT_FALSE(FileExists(a));

    mkdir((tmp.Path() + "dir.png").c_str(), 0700);
    std::vector<std::string> found;
    TSearchRec rec;
    for (Integer r = FindFirst(tmp.Path() + "*.PNG", faAnyFile & ~faDirectory, rec); r == 0; r = FindNext(rec)) {
        found.push_back(rec.Name + ":" + std::to_string(rec.Size));
    }
    FindClose(rec);
    EXPECT_EQ(found, (std::vector<std::string>{"b.png:7", "c.png:5"}));

    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(deep));
}

TEST(Files, AtomicWriteKeepsPermissionsAndLinks)
{
    TempFolder tmp;
    std::string target = tmp.Path() + "settings.ini", link = tmp.Path() + "link.ini";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    chmod(target.c_str(), 0640);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    struct stat st{};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadAll(target), "new");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.Path()), {}), 2);
    // A folder in the way fails without touching anything.
    EXPECT_FALSE(WriteFileAtomically(tmp.Path() + "none/x.ini", "x"));
}
