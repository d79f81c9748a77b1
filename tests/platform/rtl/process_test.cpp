#include "platform/rtl/environment.h"
#include "platform/rtl/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

TEST(Process, StartProgramTable)
{
    struct Case {
        const char* Name;
        std::vector<std::string> Args;
        bool Started;
        int ExitCode;
    };
    const Case cases[] = {
        {"exit code", {"/bin/sh", "-c", "exit 3"}, true, 3},
        {"found on PATH", {"sh", "-c", "exit 0"}, true, 0},
        // No shell in between: spaces, quotes and semicolons arrive as one argument.
        {"argument unchanged", {"/bin/sh", "-c", "test \"$1\" = 'a b;c\"d $HOME'", "sh", "a b;c\"d $HOME"}, true, 0},
        {"ended by a signal", {"/bin/sh", "-c", "kill -9 $$"}, true, -1},
        {"missing program", {"/nonexistent/quennary-tool"}, false, -1},
        {"not executable", {"/etc/hostname"}, false, -1},
        {"nothing to start", {}, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TStartResult result = StartProgram(c.Args, true);
        EXPECT_EQ(result.Started, c.Started) << result.Error;
        EXPECT_EQ(result.ExitCode, c.ExitCode);
        EXPECT_EQ(result.Error.empty(), c.Started) << result.Error;
    }
}

TEST(Process, PercentEncodeTable)
{
    const std::pair<std::string, std::string> table[] = {
        {"Plain-Text_1.0~", "Plain-Text_1.0~"},
        {"a b&c=d?e/f", "a%20b%26c%3Dd%3Fe%2Ff"},
        {"100%\r\n", "100%25%0D%0A"},
        {"h\xC3\xA9", "h%C3%A9"},
        {"", ""},
    };
    for (const auto& [text, encoded] : table)
        EXPECT_EQ(PercentEncode(text), encoded) << text;
}

// xdg-open is found on PATH; a stand-in script there records what it was given, so no desktop program opens.
TEST(Process, OpenWithDefaultProgramHandsTheTargetToXdgOpen)
{
    char pattern[] = "/tmp/quennary-process-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const std::string record = dir + "/args";
    {
        std::ofstream script(dir + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" << record << ".part'\n/bin/mv '" << record << ".part' '"
               << record << "'\n";
    }
    std::filesystem::permissions(dir + "/xdg-open", std::filesystem::perms::owner_all);
    const auto saved_path = FindEnvironmentVariable("PATH");
    SetEnvironmentVariable("PATH", dir);

    const std::pair<std::string, std::string> table[] = {
        {"mailto:a@b.example?subject=Hello%20there", "mailto:a@b.example?subject=Hello%20there"},
        {"/videos/my clip; rm -rf ~.mp4", "/videos/my clip; rm -rf ~.mp4"},
        {"-looks-like-an-option.avi", "./-looks-like-an-option.avi"},
    };
    for (const auto& [target, received] : table) {
        SCOPED_TRACE(target);
        std::filesystem::remove(record);
        ASSERT_TRUE(OpenWithDefaultProgram(target));
        // The program runs detached; wait for its record (bounded, not a fixed sleep).
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists(record) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::stringstream text;
        text << std::ifstream(record).rdbuf();
        EXPECT_EQ(text.str(), "1\n" + received + "\n");
    }

    SetEnvironmentVariable("PATH", dir + "/empty");
    EXPECT_FALSE(OpenWithDefaultProgram("/tmp"));
    saved_path ? SetEnvironmentVariable("PATH", *saved_path) : UnsetEnvironmentVariable("PATH");
    std::filesystem::remove_all(dir);
}
