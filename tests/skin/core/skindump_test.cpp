// The skindump tool as a skin author runs it: the listing of a skin and the error of a damaged one.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/rtl/inifiles.h"
#include "tools/make-test-skin/test_skin_writer.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int ExitCode = -1;
    std::string Output;  // stdout and stderr together
};

ToolRun RunSkindump(const std::string& AFolder)
{
    const std::string command = std::string(QUENNARY_BINARY_DIR "/tools/skindump/skindump '") + AFolder + "' 2>&1";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Output.append(buffer, n);
    const int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string TestSkin(const std::string& AName, const std::string& ASection, const std::string& AKey,
                     const std::string& AValue)
{
    const fs::path path = fs::path(QUENNARY_BINARY_DIR) / "skindump-test" / AName;
    fs::remove_all(path);
    fs::create_directories(path);
    const std::string folder = path.string() + "/";
    test_skin::WriteTestSkin(folder);
    TMemIniFile ini(folder + "skin.ini");
    ini.WriteString(ASection, AKey, AValue);
    ini.UpdateFile();
    return folder;
}

TEST(Skindump, AValueWithANulIsListedWholeAndTheListingGoesOn)
{
    const std::string name("before\0after", 12);
    const ToolRun run = RunSkindump(TestSkin("nul", "VERSION", "skinname", name));
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("skinname=" + name + "\n"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("[SKINCONTROLS]"), std::string::npos);
}

TEST(Skindump, ADamagedValueIsReportedWithItsFileSectionAndKey)
{
    const std::string folder = TestSkin("damaged", "ctl_button", "skinrect", "1,2,,4");
    const ToolRun run = RunSkindump(folder);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Output.find(folder + "skin.ini"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("[ctl_button]"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("\"skinrect\""), std::string::npos) << run.Output;
}

}  // namespace
