// The engine's small text and time helpers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "media/base/base_component.h"
#include "media/util/media_utils.h"

namespace {

TEST(MediaUtils, SplitHeadCutsAtTheFirstSeparator)
{
    struct TCase {
        const char *Source, *Separator;
        bool Remove;
        const char *Head, *Rest;
    };
    const TCase cases[] = {
        {"a=b=c", "=", true, "a", "b=c"},
        {"a=b=c", "=", false, "a", "a=b=c"},
        {"abc", "=", true, "abc", ""},
        {"abc", "=", false, "abc", "abc"},
        {"x<CRLF>y", "<CRLF>", true, "x", "y"},
        {"", ":", true, "", ""},
    };
    for (const TCase& c : cases) {
        std::string source = c.Source, head;
        SplitHead(source, c.Separator, c.Remove, head);
        EXPECT_EQ(head, c.Head) << c.Source;
        EXPECT_EQ(source, c.Rest) << c.Source;
    }
}

TEST(MediaUtils, SizeTextBoundsBelongToTheSmallerUnit)
{
    const std::pair<int64_t, const char*> cases[] = {
        {-5, "-5 Byte"},         {0, "0 Byte"},          {1024, "1024 Byte"},         {1025, "1.00 KB"},
        {1048576, "1024.00 KB"}, {1048577, "1.00 MB"},   {1073741825, "1.00 GB"},     {5368709120, "5.00 GB"},
    };
    for (const auto& [size, text] : cases) EXPECT_EQ(SizeToText(size), text) << size;
}

TEST(MediaUtils, UnixTimeToLocalUsesTheStandardBias)
{
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "<+03>-3", 1);
    EXPECT_DOUBLE_EQ(UnixTimeToLocal(0), 25569.125);
    setenv("TZ", "UTC", 1);
    EXPECT_DOUBLE_EQ(UnixTimeToLocal(86400), 25570.0);
    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
}

TEST(MediaUtils, UnixTimeToLocalOfDateAppliesThatDatesDaylightSaving)
{
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    // 2026-01-15 12:00 UTC is 13:00 in winter; 2026-07-15 12:00 UTC is 14:00 in summer.
    EXPECT_EQ(DateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToLocalOfDate(1768478400)), "2026-01-15 13:00:00");
    EXPECT_EQ(DateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToLocalOfDate(1784116800)), "2026-07-15 14:00:00");
    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
}

TEST(MediaUtils, SeekFlagsMapOneToOne)
{
    const std::pair<TSeekFlags, int> cases[] = {{{}, 0},       {{sfBackward}, 1}, {{sfByte}, 2},
                                                {{sfAny}, 4},  {{sfFrame}, 8},    {{sfBackward, sfAny, sfFrame}, 13}};
    for (const auto& [flags, value] : cases) EXPECT_EQ(SeekFlagsToAV(flags), value);
}

}  // namespace
