#include <gtest/gtest.h>

#include "app/value_lists.h"

namespace {

using Strings = std::vector<std::string>;

TEST(ValueLists, Split)
{
    struct Case { const char* text; Strings values, captions; };
    const Case cases[] = {
        {"25000$25 fps,30000$30 fps", {"25000", "30000"}, {"25 fps", "30 fps"}},
        {"", {}, {""}},
        {"a$A,caption only,b$B", {"a", "b"}, {"A", "caption only", "B"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitValueList(c.text, true), c.values) << c.text;
        EXPECT_EQ(SplitValueList(c.text, false), c.captions) << c.text;
    }
    EXPECT_EQ(IndexOfValue("25000$25 fps,30000$30 fps", "30000"), 1);
    EXPECT_EQ(IndexOfValue("25000$25 fps,30000$30 fps", "24000"), -1);
}

TEST(ValueLists, Resolutions)
{
    struct Case { const char* text; const char* width; const char* height; bool valid; };
    const Case cases[] = {
        {"720*576", "720", "576", true},
        {"1920*1280", "1920", "1280", true},
        {"64*64", "64", "64", true},
        {"721*576", "721", "576", false},
        {"62*480", "62", "480", false},
        {"1920*1282", "1920", "1282", false},
        {"640x480", "-1", "-1", false},
        {"1*2*3", "1", "3", false},
        {"*", "-1", "-1", false},
        {"wide*480", "-1", "480", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolutionWidth(c.text), c.width) << c.text;
        EXPECT_EQ(ResolutionHeight(c.text), c.height) << c.text;
        EXPECT_EQ(IsValidResolution(std::stoi(ResolutionWidth(c.text)), std::stoi(ResolutionHeight(c.text))), c.valid)
            << c.text;
    }
    EXPECT_EQ(ResolutionText("", ""), "");
    EXPECT_EQ(ResolutionText("640", "480"), "640*480");
}

}  // namespace
