// Conversion from the main window, headless, through the real encoder on real files: the Start command (its
// button and its menu item) with the shipped catalogue, the "Conversion" dialog while the run goes on (gauges,
// label, Pause/Resume, Cancel), and the end of the run (events log, the output folder opened, or the computer shut
// down through a stand-in `systemctl` found first on PATH). Outputs are checked with ffprobe.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "media/loader/engine.h"
#include "platform/win/message_queue.h"
#include "platform/win/messages.h"
#include "skin/controls/button_label.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/gauge.h"
#include "skin/controls/std_label.h"
#include "tests/app/conversion_fixture.h"
#include "tests/app/ui/conversion_window_rig.h"
#include "tests/platform/gui/gui_fixture.h"

namespace fs = std::filesystem;
using conversion_test::Probe;

namespace {

std::string ReadFile(const fs::path& APath)
{
    std::ifstream file(APath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class ConversionWindowTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(AllLibraries)) << TFFLoader::LastErrMsg();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
               ("conversion-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        for (const char* folder : {"config", "home", "bin"}) fs::create_directories(Root / folder);
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        OldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", (Root / "home").c_str(), 1);  // the fallback output folder is made in it
        Rig = std::make_unique<TConversionWindowRig>(*App, Root);
    }
    void TearDown() override
    {
        if (Rig) Rig->Release();
        TGuiFixture::TearDown();
        Rig.reset();
        StopMediaEngine();
        setenv("HOME", OldHome.c_str(), 1);
        if (!OldPath.empty()) setenv("PATH", OldPath.c_str(), 1);
        if (!HasFailure()) fs::remove_all(Root);
    }

    // Puts a stand-in for systemctl first on PATH: it writes its arguments and the output folder's names, as they
    // are when it is called, into a file.
    fs::path FakeSystemctl()
    {
        const fs::path log = Root / "systemctl.log";
        const fs::path script = Root / "bin" / "systemctl";
        std::ofstream(script) << "#!/bin/sh\necho \"$@\" >> '" << log.string() << "'\nls -a '" << Rig->Out()
                              << "' >> '" << log.string() << "'\n";
        fs::permissions(script, fs::perms::owner_all);
        OldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", ((Root / "bin").string() + ":" + OldPath).c_str(), 1);
        return log;
    }
    static double Seconds(std::map<std::string, std::string> AProbe)
    {
        return AProbe["duration"].empty() ? 0 : std::stod(AProbe["duration"]);
    }

    fs::path Root;
    std::string OldHome, OldPath;
    std::unique_ptr<TConversionWindowRig> Rig;
};

constexpr double kFrame15 = 1.0 / 15 + 0.002;  // one frame of the phone formats, and the container's rounding

TEST_F(ConversionWindowTest, StartButtonConvertsAClipIntoTheOutputFolder)
{
    TConvForm* conv = Rig->Conv;
    EXPECT_EQ(conv->Caption(), "Conversion");
    EXPECT_EQ(conv->lblConvertingTitle->Caption(), "Converting ...");
    EXPECT_EQ(conv->cbShutdownPC->Caption(), "Shut down computer when conversion completed");
    EXPECT_FALSE(conv->cbShutdownPC->Checked());
    EXPECT_EQ(conv->cbOpenOutput->Caption(), "Open output folder when conversion completed");
    EXPECT_TRUE(conv->cbOpenOutput->Checked());
    EXPECT_EQ(conv->PauseButton->Caption(), "Pause");
    EXPECT_EQ(conv->CancelButton->Caption(), "Cancel");

    const std::string clip = Rig->MakeClip("clip.avi", 2);
    const std::string before = ReadFile(clip);
    Rig->AddJob(clip);
    std::vector<std::string> labels;
    int height = 0;
    bool closeTried = false, shownAfterClose = false;
    Rig->WhileRunning = [&] {
        height = conv->Height();
        // As from the window manager: the dialog stays while the run goes on.
        shownAfterClose = shownAfterClose || closeTried;
        conv->Close();
        closeTried = true;
        if (labels.empty() || labels.back() != Rig->Conv->lblConvertingTitle->Caption())
            labels.push_back(Rig->Conv->lblConvertingTitle->Caption());
    };
    Rig->Bound();
    Display.Click(Rig->Form->StartButton->ClientToScreen({20, 20}));
    Pump();
    Rig->WaitForEnd();

    EXPECT_EQ(Rig->Reports, std::vector<std::string>{});
    EXPECT_TRUE(Rig->Form->Conversion()->Succeeded());
    EXPECT_EQ(Rig->Names(Rig->Out()), std::vector<std::string>{"clip.mp4"});
    auto probe = Probe(Rig->Out("clip.mp4"));
    EXPECT_EQ(probe["video"], "mpeg4");
    EXPECT_EQ(probe["audio"], "aac");
    EXPECT_EQ(probe["width"], "320");
    EXPECT_NEAR(Seconds(probe), 2.0, kFrame15);
    EXPECT_EQ(ReadFile(clip), before);

    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "Converting...");
    EXPECT_EQ(labels.back(), "Converting \"clip.avi\" to \"clip.mp4\"");
    EXPECT_EQ(height, 213);
    EXPECT_TRUE(shownAfterClose);
    EXPECT_EQ(Rig->Conv->ProgressTotal->Value(), 100);
    EXPECT_EQ(Rig->Conv->ProgressCurrent->Value(), 100);
    const std::vector<std::string>& log = Rig->State.EventsLog.Lines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_TRUE(log[log.size() - 2].ends_with("-> Started Conversion")) << log[log.size() - 2];
    EXPECT_TRUE(log.back().ends_with("-> Conversion successfully done.")) << log.back();
    EXPECT_EQ(Rig->Shown, std::vector<std::string>{"open " + Rig->Out()});
    EXPECT_FALSE(Rig->State.Jobs.Locked());
}

TEST_F(ConversionWindowTest, MergingTwoClipsWritesJoined)
{
    Rig->AddJob(Rig->MakeClip("first.avi", 2));
    Rig->AddJob(Rig->MakeClip("second.avi", 1));
    Rig->Form->chMerge->SetChecked(true);
    Rig->StartFromMenu();
    EXPECT_EQ(Rig->Reports, std::vector<std::string>{});
    EXPECT_EQ(Rig->Names(Rig->Out()), std::vector<std::string>{"Joined.mp4"});
    EXPECT_NEAR(Seconds(Probe(Rig->Out("Joined.mp4"))), 3.0, 2 * kFrame15);
    EXPECT_EQ(Rig->Conv->lblConvertingTitle->Caption(), "Converting \"first.avi\" to \"Joined.mp4\"");
    EXPECT_TRUE(Rig->Logged("Conversion successfully done."));

    // A second merge does not replace the first: it is numbered as snapshots are.
    const std::string first = ReadFile(Rig->Out("Joined.mp4"));
    Rig->StartFromMenu();
    EXPECT_EQ(Rig->Reports, std::vector<std::string>{});
    EXPECT_EQ(Rig->Names(Rig->Out()), (std::vector<std::string>{"Joined.mp4", "Joined_1.mp4"}));
    EXPECT_EQ(ReadFile(Rig->Out("Joined.mp4")), first);
    EXPECT_EQ(Rig->Conv->lblConvertingTitle->Caption(), "Converting \"first.avi\" to \"Joined_1.mp4\"");
    EXPECT_NEAR(Seconds(Probe(Rig->Out("Joined_1.mp4"))), 3.0, 2 * kFrame15);

    // Converting the jobs on their own, twice, and with one destination for both: every output keeps its file.
    Rig->Form->chMerge->SetChecked(false);
    Rig->State.Jobs.Job(1).DestinationTitle = "first";
    Rig->StartFromMenu();
    Rig->StartFromMenu();
    EXPECT_EQ(Rig->Reports, std::vector<std::string>{});
    EXPECT_EQ(Rig->Names(Rig->Out()), (std::vector<std::string>{"Joined.mp4", "Joined_1.mp4", "first.mp4", "first_1.mp4",
                                                                 "first_2.mp4", "first_3.mp4"}));
    EXPECT_NEAR(Seconds(Probe(Rig->Out("first.mp4"))), 2.0, 2 * kFrame15);
    EXPECT_NEAR(Seconds(Probe(Rig->Out("first_1.mp4"))), 1.0, 2 * kFrame15);
}

TEST_F(ConversionWindowTest, CancelLeavesNoOutputAndTheInputAsItWas)
{
    const std::string clip = Rig->MakeClip("long.avi", 30);
    const std::string before = ReadFile(clip);
    Rig->AddJob(clip);
    Rig->AddJob(Rig->MakeClip("short.avi", 1));
    // Once the first file is under way, as a user would.
    bool cancelled = false;
    Rig->WhileRunning = [&] {
        if (cancelled || Rig->Conv->ProgressCurrent->Value() == 0) return;
        cancelled = true;
        Rig->Conv->CancelButton->ButtonClick();
    };
    Rig->StartFromMenu();
    EXPECT_FALSE(Rig->Form->Conversion()->Succeeded());
    EXPECT_EQ(Rig->Names(Rig->Out()), std::vector<std::string>{});  // no partial file, hidden or not
    EXPECT_EQ(ReadFile(clip), before);
    EXPECT_TRUE(Rig->Logged("Conversion cancelled by user."));
    EXPECT_FALSE(Rig->Logged("Conversion successfully done."));
    EXPECT_EQ(Rig->Shown, std::vector<std::string>{});  // nothing to open
    EXPECT_EQ(Rig->Reports, std::vector<std::string>{});
}

// Closing the main window while a file converts (the window manager's close): the run ends as Cancel ends it
// before the program goes, and no hidden partial file stays in the output folder.
TEST_F(ConversionWindowTest, ClosingTheWindowDuringARunLeavesNoPartialFile)
{
    Rig->AddJob(Rig->MakeClip("long.avi", 30));
    bool closed = false;
    Rig->WhileRunning = [&] {
        if (closed || Rig->Conv->ProgressCurrent->Value() == 0) return;
        closed = true;
        // Half-written output is there at this moment.
        bool partial = false;
        for (const std::string& name : Rig->Names(Rig->Out())) partial = partial || name.starts_with(".");
        EXPECT_TRUE(partial);
        win::PostMessage(Rig->Form->Handle(), win::WM_CLOSE, 0, 0);
    };
    Rig->StartFromMenu();
    ASSERT_TRUE(closed);
    EXPECT_TRUE(App->Terminated());
    EXPECT_FALSE(Rig->Form->Conversion()->Running());
    EXPECT_FALSE(Rig->Form->Conversion()->Succeeded());
    EXPECT_EQ(Rig->Names(Rig->Out()), std::vector<std::string>{});
    EXPECT_TRUE(Rig->Logged("Conversion cancelled by user."));
    EXPECT_FALSE(Rig->Logged("Conversion successfully done."));
    EXPECT_EQ(Rig->Reports, std::vector<std::string>{});
}

TEST_F(ConversionWindowTest, PauseAndResumeAlternateAndANewRunStartsWithPause)
{
    Rig->AddJob(Rig->MakeClip("clip.avi", 10));
    std::vector<std::string> captions;
    Rig->WhileRunning = [&] {
        if (!captions.empty()) return;
        captions.push_back(Rig->Conv->PauseButton->Caption());
        for (int i = 0; i < 3; ++i) {
            Rig->Conv->PauseButton->ButtonClick();
            captions.push_back(Rig->Conv->PauseButton->Caption());
        }
        // Cancelled while paused: the next run must not show "Resume" while it runs.
        Rig->Conv->CancelButton->ButtonClick();
    };
    Rig->StartFromMenu();
    EXPECT_EQ(captions, (std::vector<std::string>{"Pause", "Resume", "Pause", "Resume"}));
    EXPECT_EQ(Rig->Names(Rig->Out()), std::vector<std::string>{});

    std::string shown;
    Rig->WhileRunning = [&] {
        if (shown.empty()) shown = Rig->Conv->PauseButton->Caption();
    };
    Rig->StartFromMenu();
    EXPECT_EQ(shown, "Pause");
    EXPECT_TRUE(Rig->Form->Conversion()->Succeeded());
    EXPECT_EQ(Rig->Names(Rig->Out()), std::vector<std::string>{"clip.mp4"});
}

TEST_F(ConversionWindowTest, PowerOffComesAfterTheLastJobAndOpensNothing)
{
    const fs::path calls = FakeSystemctl();
    Rig->AddJob(Rig->MakeClip("first.avi", 1));
    Rig->AddJob(Rig->MakeClip("second.avi", 1));
    Rig->Conv->cbShutdownPC->SetChecked(true);
    Rig->StartFromMenu();
    Rig->Conv->cbShutdownPC->SetChecked(false);
    EXPECT_EQ(Rig->Reports, std::vector<std::string>{});
    // Called once, when both outputs had their final names and no partial file was left.
    EXPECT_EQ(ReadFile(calls), "poweroff\n.\n..\nfirst.mp4\nsecond.mp4\n");
    EXPECT_EQ(Rig->Shown, std::vector<std::string>{});  // the output folder is not opened
    EXPECT_FALSE(Rig->Logged("Conversion successfully done."));
    // The settings are written before the computer goes down.
    EXPECT_TRUE(fs::exists(Root / "config" / "Brindlewave" / "Quennary" / "settings.ini"));
}

TEST_F(ConversionWindowTest, AMissingOutputFolderConvertsIntoTheFallbackAfterAWarning)
{
    Rig->AddJob(Rig->MakeClip("clip.avi", 1));
    const std::string missing = (Root / "gone").string();
    Rig->Form->edDestinationFolder->SetText(missing);
    Rig->StartFromMenu();
    const std::string fallback = (Root / "home" / "Brindlewave_temp").string();
    EXPECT_EQ(Rig->Shown, (std::vector<std::string>{"Output folder does not exit. Converting to \"" + fallback + "\".",
                                               "open " + fallback}));
    EXPECT_EQ(Rig->Names(fallback), std::vector<std::string>{"clip.mp4"});
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(Rig->Form->Conversion()->Succeeded());
}

TEST_F(ConversionWindowTest, AFileSpoiltAfterAddingIsReportedAndTheRunIsNoSuccess)
{
    const std::string spoilt = Rig->MakeClip("spoilt.avi", 1);
    Rig->AddJob(spoilt);
    Rig->AddJob(Rig->MakeClip("good.avi", 1));
    std::ofstream(spoilt, std::ios::trunc) << "no longer a media file";
    Rig->StartFromMenu();
    ASSERT_EQ(Rig->Reports.size(), 1u);
    EXPECT_TRUE(Rig->Reports[0].starts_with("CLM_FFAddTaskToMeged: ")) << Rig->Reports[0];
    // The other job converts; the run is not written down as a success, nor its folder opened.
    EXPECT_EQ(Rig->Names(Rig->Out()), std::vector<std::string>{"good.mp4"});
    EXPECT_TRUE(Rig->Logged("Started Conversion"));
    EXPECT_FALSE(Rig->Logged("Conversion successfully done."));
    EXPECT_EQ(Rig->Shown, std::vector<std::string>{});
    EXPECT_FALSE(Rig->Form->Conversion()->Succeeded());
}

}  // namespace
