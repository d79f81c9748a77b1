// The converter's start-up loading over a folder laid out as beside the executable: the shipped catalogue and
// skin, or copies with a file taken away, and the failure handling of each step.
#include "app/ui/startup_sequence.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/rtl/registry.h"

namespace fs = std::filesystem;

namespace {

const fs::path BuiltFolder = fs::path(QUENNARY_BINARY_DIR) / "app";

struct TReport {
    std::string Text, Mark;
};

class StartupSequenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
               ("startup-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        fs::create_directories(Root / "exe");
        fs::create_directories(Root / "config");
        fs::create_directories(Root / "documents");
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        fs::copy(BuiltFolder / kCatalogueFolderName, Root / "exe" / kCatalogueFolderName, fs::copy_options::recursive);
        fs::copy(BuiltFolder / kSkinFolderName, Root / "exe" / kSkinFolderName, fs::copy_options::recursive);
    }

    TStartupServices Services()
    {
        TStartupServices services;
        services.ExeFolder = (Root / "exe").string() + "/";
        services.DocumentsFolder = (Root / "documents").string();
        services.VideosFolder = (Root / "videos").string();
        services.ReportError = [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back({AText, AMark});
        };
        services.ShowPlainMessage = [this](const std::string& AText) { PlainMessages.push_back(AText); };
        services.TempFolder = [this] { return (Root / "tmp").string(); };
        // The loader as it answers when neither "LibAV" nor the system has the libraries.
        services.LoadMediaLibraries = [this](const std::string& AFolder, std::string& AError) {
            LibraryFolders.push_back(AFolder);
            if (LibrariesPresent) return true;
            AError = "Load library libavutil.so.57 error: libavutil.so.57: cannot open shared object file: "
                     "No such file or directory";
            return false;
        };
        return services;
    }

    // The window's steps, each noting that it ran; the skin step fails as loading a missing "skin.ini" does.
    TWindowSteps WindowSteps()
    {
        TWindowSteps steps;
        steps.LoadSkin = [this](const std::string& AFolder) {
            if (!fs::exists(fs::path(AFolder) / "skin.ini"))
                throw std::runtime_error("Cannot open file \"" + AFolder + "/skin.ini\".");
            WindowRan.push_back("skin");
        };
        steps.ShowOptionalPictures = [this](const std::string& AFolder) {
            Optional = FindOptionalPictures(AFolder);
            WindowRan.push_back("optional pictures");
        };
        steps.RepaintProfile = [this] { WindowRan.push_back("profile repaint"); };
        return steps;
    }

    bool Run()
    {
        TStartupSequence sequence(State, Services(), WindowSteps());
        const bool done = sequence.Run();
        Steps = sequence.StepsRun();
        return done;
    }

    fs::path Root;
    TConverterState State;
    bool LibrariesPresent = true;
    std::vector<TReport> Reports;
    std::vector<std::string> PlainMessages, LibraryFolders, WindowRan, Steps;
    TOptionalPictures Optional;
};

const std::vector<std::string> AllSteps = {
    "drop target", "skin", "pictures", "captions", "suite menu", "title", "temp folder", "add-files folder",
    "log history", "grid columns", "optional pictures", "profile icons", "snapshot counters",
    "open-dialog filter", "profiles", "formats", "user folders", "settings", "attach formats", "profile repaint",
    "media libraries"};

TEST_F(StartupSequenceTest, RunsEveryStepInOrderWithTheShippedFiles)
{
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps, AllSteps);
    EXPECT_TRUE(Reports.empty());
    EXPECT_TRUE(PlainMessages.empty());
    EXPECT_GT(State.Catalogue.Profiles.size(), 1u);
    EXPECT_TRUE(State.Catalogue.HasFormats());
    EXPECT_TRUE(State.SettingsStore.WasRead());
    EXPECT_EQ(State.Settings.OutputPath, (Root / "documents/Brindlewave/Quennary/Output").string());
    EXPECT_EQ(State.Settings.ScreenShotsPath, (Root / "documents/Brindlewave/Quennary/Snapshots").string());
    EXPECT_EQ(LibraryFolders, std::vector<std::string>{(Root / "exe/LibAV").string()});
    EXPECT_EQ(WindowRan, (std::vector<std::string>{"skin", "optional pictures", "profile repaint"}));
    EXPECT_FALSE(Optional.GettingStarted.empty());
    EXPECT_FALSE(Optional.Preview.empty());
}

TEST_F(StartupSequenceTest, MissingProfilesAreReportedAndAllProfilesTakesEveryFormat)
{
    fs::remove(Root / "exe" / kCatalogueFolderName / "Profiles.dat");
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps, AllSteps);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Text, "Error loading profiles");
    EXPECT_EQ(Reports[0].Mark, "CLM_LoadProfiles");
    ASSERT_EQ(State.Catalogue.Profiles.size(), 1u);
    EXPECT_EQ(State.Catalogue.Profiles[0].Title, kAllProfilesTitle);
    EXPECT_FALSE(State.Catalogue.Profiles[0].Formats.empty());
}

TEST_F(StartupSequenceTest, MissingFormatsEndTheLoadingWithAPlainMessage)
{
    fs::remove(Root / "exe" / kCatalogueFolderName / "Formats.dat");
    EXPECT_FALSE(Run());
    EXPECT_EQ(Steps.back(), "formats");
    ASSERT_EQ(PlainMessages.size(), 1u);
    EXPECT_NE(PlainMessages[0].find("Formats.dat"), std::string::npos) << PlainMessages[0];
    EXPECT_TRUE(Reports.empty());
    // No folders, no settings, no libraries in this run.
    EXPECT_FALSE(fs::exists(Root / "documents/Brindlewave"));
    EXPECT_FALSE(State.SettingsStore.WasRead());
    EXPECT_TRUE(LibraryFolders.empty());
    EXPECT_EQ(WindowRan, (std::vector<std::string>{"skin", "optional pictures"}));
}

TEST_F(StartupSequenceTest, MissingMediaLibrariesAreReportedAndLogged)
{
    LibrariesPresent = false;
    State.EventsLog = TEventsLog([] { return std::string("10:11:12 "); });
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps, AllSteps);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Mark, "CLM_FFAVLibLoad");
    EXPECT_EQ(Reports[0].Text.rfind("Load library libavutil.so.57 error: ", 0), 0u);
    ASSERT_FALSE(State.EventsLog.Lines().empty());
    EXPECT_EQ(State.EventsLog.Lines().back(), "10:11:12 -> " + Reports[0].Text);
}

TEST_F(StartupSequenceTest, DeferredLibrariesLoadAfterTheSequenceIsGone)
{
    LibrariesPresent = false;
    std::function<void()> deferred;
    {
        TStartupServices services = Services();
        services.DeferLastStep = [&deferred](std::function<void()> AStep) { deferred = std::move(AStep); };
        TStartupSequence sequence(State, services, WindowSteps());
        EXPECT_TRUE(sequence.Run());
    }
    EXPECT_TRUE(LibraryFolders.empty());
    ASSERT_TRUE(deferred);
    deferred();
    EXPECT_EQ(LibraryFolders.size(), 1u);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Mark, "CLM_FFAVLibLoad");
    EXPECT_EQ(State.EventsLog.Lines().size(), 1u);
}

TEST_F(StartupSequenceTest, SkinFolders)
{
    // Without the optional pictures the loading goes on and the window learns there are none.
    fs::remove(Root / "exe" / kSkinFolderName / "gettingstarted.bmp");
    fs::remove(Root / "exe" / kSkinFolderName / "preview.bmp");
    EXPECT_TRUE(Run());
    EXPECT_EQ(Steps, AllSteps);
    EXPECT_TRUE(Optional.GettingStarted.empty());
    EXPECT_TRUE(Optional.Preview.empty());

    // Without its description the skin step fails: a plain message and nothing after it.
    fs::remove(Root / "exe" / kSkinFolderName / "skin.ini");
    EXPECT_FALSE(Run());
    EXPECT_EQ(Steps, (std::vector<std::string>{"drop target", "skin"}));
    ASSERT_EQ(PlainMessages.size(), 1u);
    EXPECT_NE(PlainMessages[0].find("skin.ini"), std::string::npos);
}

TEST_F(StartupSequenceTest, ClosingWritesTheSettingsOnlyAfterTheyWereRead)
{
    // A run that never read the settings leaves what an earlier run stored.
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(kSettingsKey, true));
        registry.WriteString("OutputPath", "/earlier/run");
    }
    fs::remove(Root / "exe" / kCatalogueFolderName / "Formats.dat");
    EXPECT_FALSE(Run());
    SaveConverterSettings(State);
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(kSettingsKey, false));
        EXPECT_EQ(registry.ReadString("OutputPath"), "/earlier/run");
    }

    // A whole run writes what the user changed.
    fs::copy(BuiltFolder / kCatalogueFolderName / "Formats.dat", Root / "exe" / kCatalogueFolderName / "Formats.dat");
    TConverterState fresh;
    TStartupSequence sequence(fresh, Services(), WindowSteps());
    ASSERT_TRUE(sequence.Run());
    fs::create_directories(Root / "chosen");
    fresh.Settings.OutputPath = (Root / "chosen").string();
    SaveConverterSettings(fresh);
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kSettingsKey, false));
    EXPECT_EQ(registry.ReadString("OutputPath"), (Root / "chosen").string());
}

}  // namespace
