#include "platform/rtl/environment.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(Environment, SetGetUnsetTable)
{
    struct Case {
        const char* Name;
        std::string Value;
    };
    const Case cases[] = {{"QUENNARY_TEST_PLAIN", "value"},
                          {"QUENNARY_TEST_EMPTY", ""},
                          {"QUENNARY_TEST_TEXT", "a b=c;\"d\" é"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(SetEnvironmentVariable(c.Name, c.Value));
        EXPECT_EQ(FindEnvironmentVariable(c.Name), c.Value);  // present, even when empty
        EXPECT_EQ(GetEnvironmentVariable(c.Name), c.Value);
        ASSERT_TRUE(UnsetEnvironmentVariable(c.Name));
        EXPECT_EQ(FindEnvironmentVariable(c.Name), std::nullopt);
        EXPECT_EQ(GetEnvironmentVariable(c.Name), "");
    }
}

TEST(Environment, BadNamesAreRefused)
{
    for (const char* name : {"", "A=B", "=A"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(SetEnvironmentVariable(name, "x"));
        EXPECT_FALSE(UnsetEnvironmentVariable(name));
        EXPECT_EQ(FindEnvironmentVariable(name), std::nullopt);
    }
}

TEST(Environment, ExecutablePathAndFolder)
{
    const std::string path = GetExecutablePath();
    const std::string folder = GetExecutableFolder();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(path.substr(path.size() - std::string("tests_platform_rtl_test").size()), "tests_platform_rtl_test");
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder + path.substr(folder.size()), path);
    EXPECT_EQ(path.find('/', folder.size()), std::string::npos);
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
}
