#include "platform/rtl/utf8.h"

#include <gtest/gtest.h>

#include <vector>

using namespace std::string_literals;

TEST(Utf8, DecodesEachFormAndTakesMalformedBytesOneByOne)
{
    struct Case {
        const char* Name;
        std::string Text;
        std::vector<char32_t> Codes;  // what Utf8Next returns, one per step
        std::vector<bool> Valid;
    };
    const Case cases[] = {
        {"ascii", "Az", {U'A', U'z'}, {true, true}},
        {"two to four bytes", "\u00E9\u65E5\U0001F600", {0xE9, 0x65E5, 0x1F600}, {true, true, true}},
        {"stray continuation", "\x80" "a", {0x80, U'a'}, {false, true}},
        {"overlong slash", "\xC0\xAF", {0xC0, 0xAF}, {false, false}},
        {"overlong three bytes", "\xE0\x80\xAF", {0xE0, 0x80, 0xAF}, {false, false, false}},
        {"surrogate", "\xED\xA0\x80", {0xED, 0xA0, 0x80}, {false, false, false}},
        {"past the last plane", "\xF4\x90\x80\x80", {0xF4, 0x90, 0x80, 0x80}, {false, false, false, false}},
        {"cut short", "\xE6\x97", {0xE6, 0x97}, {false, false}},
        {"lead then ascii", "\xE6" "a", {0xE6, U'a'}, {false, true}},
        {"nul kept", "a\0b"s, {U'a', 0, U'b'}, {true, true, true}},
    };
    for (const Case& c : cases) {
        std::vector<char32_t> codes;
        std::vector<bool> valid;
        for (size_t i = 0; i < c.Text.size();) {
            bool ok = false;
            codes.push_back(Utf8Next(c.Text, i, &ok));
            valid.push_back(ok);
        }
        EXPECT_EQ(codes, c.Codes) << c.Name;
        EXPECT_EQ(valid, c.Valid) << c.Name;
        EXPECT_EQ(Utf8Length(c.Text), c.Codes.size()) << c.Name;
        bool all = true;
        for (bool v : c.Valid) all = all && v;
        EXPECT_EQ(IsValidUtf8(c.Text), all) << c.Name;
    }
}

TEST(Utf8, EncodesEveryLengthAndReplacesWhatIsNoCharacter)
{
    EXPECT_EQ(Utf8Encode(U'A'), "A");
    EXPECT_EQ(Utf8Encode(0x7FF), "\xDF\xBF");
    EXPECT_EQ(Utf8Encode(0x800), "\xE0\xA0\x80");
    EXPECT_EQ(Utf8Encode(0xFFFF), "\xEF\xBF\xBF");
    EXPECT_EQ(Utf8Encode(0x10FFFF), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Utf8Encode(0xD800), "\uFFFD");
    EXPECT_EQ(Utf8Encode(0x110000), "\uFFFD");
    const std::u32string all = U"a\u00E9\u65E5\U0001F600";
    EXPECT_EQ(Utf8ToUtf32(Utf32ToUtf8(all)), all);
    EXPECT_EQ(Utf8ToUtf32("a\xFF" "b"), U"a\uFFFDb");
}

TEST(Utf8, OffsetsCountCharactersNotBytes)
{
    const std::string s = "a\u00E9\u65E5z";  // 1 + 2 + 3 + 1 bytes
    EXPECT_EQ(Utf8Offset(s, 0), 0u);
    EXPECT_EQ(Utf8Offset(s, 2), 3u);
    EXPECT_EQ(Utf8Offset(s, 3), 6u);
    EXPECT_EQ(Utf8Offset(s, 9), s.size());
}

TEST(Utf8, Utf16RoundTripsPairsAndReplacesLoneSurrogates)
{
    const std::string text = "x\u00E9\u65E5\U0001F600";
    const std::u16string units = Utf8ToUtf16(text);
    EXPECT_EQ(units, u"x\u00E9\u65E5\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(units), text);
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00};
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(lone, 4)), "a\uFFFDb\uFFFD");
}
