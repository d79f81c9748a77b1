// Conversion from the main window, headless, through the real encoder on real files: the Start command (its
// button and its menu item) with the shipped catalogue, the "Conversion" dialog while the run goes on (gauges,
// label, Pause/Resume, Cancel), and the end of the run (events log, the output folder opened, or the computer shut
// down through a stand-in `systemctl` found first on PATH). Outputs are checked with ffprobe.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/add_files.h"
#include "app/conversion_run.h"
#include "app/ui/conversion_form.h"
#include "app/ui/main_form.h"
#include "app/ui/main_thread_calls.h"
#include "media/encoder/encoder.h"
#include "media/loader/engine.h"
#include "platform/gui/menus.h"
#include "platform/rtl/main_thread_queue.h"
#include "skin/controls/button_label.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/gauge.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/directory_edit.h"
#include "tests/app/conversion_fixture.h"
#include "tests/app/ui/startup_services_fixture.h"
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
        for (const char* folder : {"config", "documents", "home", "media", "out", "bin"})
            fs::create_directories(Root / folder);
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        OldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", (Root / "home").c_str(), 1);  // the fallback output folder is made in it

        Calls = std::make_unique<TMainThreadCallsInLoop>();
        Form = App->CreateForm<TMainForm>(State, "");
        Form->ShowWarning = [this](const std::string& AText) { Shown.push_back(AText); };
        Form->OpenWithShell = [this](const std::string& ATarget) {
            Shown.push_back("open " + ATarget);
            return true;
        };
        ASSERT_TRUE(Form->Load(BuildTreeStartupServices(Root, Shown)));
        Encoder = new TFFEncoder(Form);  // released after the form's run, as in the program
        Adder = std::make_unique<TFileAdder>(State.Jobs, *Encoder->Decoder(), State.EventsLog, State.Catalogue);
        Adder->ShowMessage = [this](const std::string& AText) { Shown.push_back(AText); };
        Form->FileAdder = Adder.get();
        Conv = App->CreateForm<TConvForm>(Form->SkinData());
        Form->AttachConversion(*Encoder, *Conv, [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back(AMark + ": " + AText);
        });
        Form->edDestinationFolder->SetText(Out());
        Form->Show();
        Pump();
        App->OnIdle = [this](TObject*) { Idle(); };
    }
    void TearDown() override
    {
        if (App) App->OnIdle = nullptr;
        if (Form) Form->FileAdder = nullptr;
        TGuiFixture::TearDown();
        Adder.reset();
        Calls.reset();
        StopMediaEngine();
        setenv("HOME", OldHome.c_str(), 1);
        if (!OldPath.empty()) setenv("PATH", OldPath.c_str(), 1);
        if (!HasFailure()) fs::remove_all(Root);
    }

    // While the dialog is up: AWhile runs whenever the window has nothing else to do, and a run that does not end
    // is closed and failed (a bound for a broken encoder, not a measure of speed).
    void Idle()
    {
        if (!Conv->Visible()) return;
        if (WhileRunning) WhileRunning();
        if (std::chrono::steady_clock::now() > Limit) {
            ADD_FAILURE() << "the run did not end";
            Limit = std::chrono::steady_clock::time_point::max();
            Conv->CancelButton->ButtonClick();
            if (Conv->Modal()) Conv->Close();
        }
    }

    // A clip of test picture and tone made with the FFmpeg tool.
    std::string MakeClip(const std::string& AName, int ASeconds)
    {
        const std::string path = (Root / "media" / AName).string();
        const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi "
                                    "-i sine=frequency=440:sample_rate=44100 -t " + std::to_string(ASeconds) +
                                    " -c:v mpeg4 -q:v 5 -c:a mp2 '" + path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }
    // Dropped on the window with the shipped "Phone MP4" format chosen.
    void AddJob(const std::string& AFile)
    {
        State.Catalogue.Current = FormatPair("Phones and Tablets", "Phone MP4 - MPEG-4 Video");
        Form->AddDroppedFiles({AFile});
        ASSERT_EQ(State.Jobs.Jobs().back().Source, AFile);
    }
    TFormatIndex FormatPair(const std::string& AProfile, const std::string& AFormat)
    {
        const TCatalogue& catalogue = State.Catalogue;
        for (size_t p = 0; p < catalogue.Profiles.size(); ++p)
            for (size_t f = 0; f < catalogue.Profiles[p].Formats.size(); ++f)
                if (catalogue.Profiles[p].Title == AProfile && catalogue.Profiles[p].Formats[f].Title == AFormat)
                    return {static_cast<int>(p), static_cast<int>(f)};
        ADD_FAILURE() << "no format \"" << AFormat << "\" in \"" << AProfile << "\"";
        return {};
    }
    // The File menu's "Start Conversion"; returns when the run has closed its dialog.
    void StartFromMenu()
    {
        Limit = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        TMenuItem* file = Find(Form->MainMenu1->Items(), "File ");
        ASSERT_NE(file, nullptr);
        TMenuItem* start = Find(file, "Start Conversion");
        ASSERT_NE(start, nullptr);
        ASSERT_TRUE(start->Enabled());
        start->Click();
        WaitForEnd();
    }
    // A cancelled run's final event may come after its dialog has closed.
    void WaitForEnd()
    {
        while (Form->Conversion()->Running() && std::chrono::steady_clock::now() < Limit) CheckSynchronize(50);
        EXPECT_FALSE(Form->Conversion()->Running());
        EXPECT_FALSE(Conv->Visible());
        Pump();
    }
    static TMenuItem* Find(TMenuItem* AParent, const std::string& ACaption)
    {
        for (Integer i = 0; i < AParent->Count(); ++i)
            if (AParent->Items(i)->Caption() == ACaption) return AParent->Items(i);
        return nullptr;
    }
    // Puts a stand-in for systemctl first on PATH: it writes its arguments and the output folder's names, as they
    // are when it is called, into a file.
    fs::path FakeSystemctl()
    {
        const fs::path log = Root / "systemctl.log";
        const fs::path script = Root / "bin" / "systemctl";
        std::ofstream(script) << "#!/bin/sh\necho \"$@\" >> '" << log.string() << "'\nls -a '" << Out()
                              << "' >> '" << log.string() << "'\n";
        fs::permissions(script, fs::perms::owner_all);
        OldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", ((Root / "bin").string() + ":" + OldPath).c_str(), 1);
        return log;
    }

    std::string Out(const std::string& AName = {}) const { return (Root / "out" / AName).string(); }
    std::vector<std::string> Names(const fs::path& AFolder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(AFolder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool Logged(const std::string& AText) const
    {
        for (const std::string& line : State.EventsLog.Lines())
            if (line.ends_with("-> " + AText)) return true;
        return false;
    }
    static double Seconds(std::map<std::string, std::string> AProbe)
    {
        return AProbe["duration"].empty() ? 0 : std::stod(AProbe["duration"]);
    }

    fs::path Root;
    std::string OldHome, OldPath;
    TConverterState State;
    std::unique_ptr<TMainThreadCallsInLoop> Calls;
    TMainForm* Form = nullptr;
    TFFEncoder* Encoder = nullptr;
    std::unique_ptr<TFileAdder> Adder;
    TConvForm* Conv = nullptr;
    std::function<void()> WhileRunning;
    std::chrono::steady_clock::time_point Limit = std::chrono::steady_clock::time_point::max();
    std::vector<std::string> Shown, Reports;
};

constexpr double kFrame15 = 1.0 / 15 + 0.002;  // one frame of the phone formats, and the container's rounding

TEST_F(ConversionWindowTest, StartButtonConvertsAClipIntoTheOutputFolder)
{
    const std::string clip = MakeClip("clip.avi", 2);
    const std::string before = ReadFile(clip);
    AddJob(clip);
    std::vector<std::string> labels;
    WhileRunning = [&] {
        if (labels.empty() || labels.back() != Conv->lblConvertingTitle->Caption())
            labels.push_back(Conv->lblConvertingTitle->Caption());
    };
    Limit = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    Display.Click(Form->StartButton->ClientToScreen({20, 20}));
    Pump();
    WaitForEnd();

    EXPECT_EQ(Reports, std::vector<std::string>{});
    EXPECT_TRUE(Form->Conversion()->Succeeded());
    EXPECT_EQ(Names(Out()), std::vector<std::string>{"clip.mp4"});
    auto probe = Probe(Out("clip.mp4"));
    EXPECT_EQ(probe["video"], "mpeg4");
    EXPECT_EQ(probe["audio"], "aac");
    EXPECT_EQ(probe["width"], "320");
    EXPECT_NEAR(Seconds(probe), 2.0, kFrame15);
    EXPECT_EQ(ReadFile(clip), before);

    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "Converting...");
    EXPECT_EQ(labels.back(), "Converting \"clip.avi\" to \"clip.mp4\"");
    EXPECT_EQ(Conv->ProgressTotal->Value(), 100);
    EXPECT_EQ(Conv->ProgressCurrent->Value(), 100);
    const std::vector<std::string>& log = State.EventsLog.Lines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_TRUE(log[log.size() - 2].ends_with("-> Started Conversion")) << log[log.size() - 2];
    EXPECT_TRUE(log.back().ends_with("-> Conversion successfully done.")) << log.back();
    EXPECT_EQ(Shown, std::vector<std::string>{"open " + Out()});
    EXPECT_FALSE(State.Jobs.Locked());
}

TEST_F(ConversionWindowTest, MergingTwoClipsWritesJoined)
{
    AddJob(MakeClip("first.avi", 2));
    AddJob(MakeClip("second.avi", 1));
    Form->chMerge->SetChecked(true);
    StartFromMenu();
    EXPECT_EQ(Reports, std::vector<std::string>{});
    EXPECT_EQ(Names(Out()), std::vector<std::string>{"Joined.mp4"});
    EXPECT_NEAR(Seconds(Probe(Out("Joined.mp4"))), 3.0, 2 * kFrame15);
    EXPECT_EQ(Conv->lblConvertingTitle->Caption(), "Converting \"first.avi\" to \"Joined.mp4\"");
    EXPECT_TRUE(Logged("Conversion successfully done."));
}

TEST_F(ConversionWindowTest, CancelLeavesNoOutputAndTheInputAsItWas)
{
    const std::string clip = MakeClip("long.avi", 30);
    const std::string before = ReadFile(clip);
    AddJob(clip);
    AddJob(MakeClip("short.avi", 1));
    // Once the first file is under way, as a user would.
    bool cancelled = false;
    WhileRunning = [&] {
        if (cancelled || Conv->ProgressCurrent->Value() == 0) return;
        cancelled = true;
        Conv->CancelButton->ButtonClick();
    };
    StartFromMenu();
    EXPECT_FALSE(Form->Conversion()->Succeeded());
    EXPECT_EQ(Names(Out()), std::vector<std::string>{});  // no partial file, hidden or not
    EXPECT_EQ(ReadFile(clip), before);
    EXPECT_TRUE(Logged("Conversion cancelled by user."));
    EXPECT_FALSE(Logged("Conversion successfully done."));
    EXPECT_EQ(Shown, std::vector<std::string>{});  // nothing to open
    EXPECT_EQ(Reports, std::vector<std::string>{});
}

TEST_F(ConversionWindowTest, PauseAndResumeAlternateAndANewRunStartsWithPause)
{
    AddJob(MakeClip("clip.avi", 10));
    std::vector<std::string> captions;
    WhileRunning = [&] {
        if (!captions.empty()) return;
        captions.push_back(Conv->PauseButton->Caption());
        for (int i = 0; i < 3; ++i) {
            Conv->PauseButton->ButtonClick();
            captions.push_back(Conv->PauseButton->Caption());
        }
        // Cancelled while paused: the next run must not show "Resume" while it runs.
        Conv->CancelButton->ButtonClick();
    };
    StartFromMenu();
    EXPECT_EQ(captions, (std::vector<std::string>{"Pause", "Resume", "Pause", "Resume"}));
    EXPECT_EQ(Names(Out()), std::vector<std::string>{});

    std::string shown;
    WhileRunning = [&] {
        if (shown.empty()) shown = Conv->PauseButton->Caption();
    };
    StartFromMenu();
    EXPECT_EQ(shown, "Pause");
    EXPECT_TRUE(Form->Conversion()->Succeeded());
    EXPECT_EQ(Names(Out()), std::vector<std::string>{"clip.mp4"});
}

TEST_F(ConversionWindowTest, PowerOffComesAfterTheLastJobAndOpensNothing)
{
    const fs::path calls = FakeSystemctl();
    AddJob(MakeClip("first.avi", 1));
    AddJob(MakeClip("second.avi", 1));
    Conv->cbShutdownPC->SetChecked(true);
    StartFromMenu();
    Conv->cbShutdownPC->SetChecked(false);
    EXPECT_EQ(Reports, std::vector<std::string>{});
    // Called once, when both outputs had their final names and no partial file was left.
    EXPECT_EQ(ReadFile(calls), "poweroff\n.\n..\nfirst.mp4\nsecond.mp4\n");
    EXPECT_EQ(Shown, std::vector<std::string>{});  // the output folder is not opened
    EXPECT_FALSE(Logged("Conversion successfully done."));
    // The settings are written before the computer goes down.
    EXPECT_TRUE(fs::exists(Root / "config" / "Brindlewave" / "Quennary" / "settings.ini"));
}

TEST_F(ConversionWindowTest, AMissingOutputFolderConvertsIntoTheFallbackAfterAWarning)
{
    AddJob(MakeClip("clip.avi", 1));
    const std::string missing = (Root / "gone").string();
    Form->edDestinationFolder->SetText(missing);
    StartFromMenu();
    const std::string fallback = (Root / "home" / "Brindlewave_temp").string();
    EXPECT_EQ(Shown, (std::vector<std::string>{"Output folder does not exit. Converting to \"" + fallback + "\".",
                                               "open " + fallback}));
    EXPECT_EQ(Names(fallback), std::vector<std::string>{"clip.mp4"});
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(Form->Conversion()->Succeeded());
}

}  // namespace
