// The main window's preview with the real player on SDL's dummy drivers: playing a generated clip to its end,
// pause and resume, the position bar and its drag, opening failures, and snapshots written as BMP and JPEG files
// and read back. Headless, input injected.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/add_files.h"
#include "app/ui/main_form.h"
#include "media/decode/frame_decoder.h"
#include "media/player/player.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/jpeg_image.h"
#include "platform/gui/menus.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/main_thread_queue.h"
#include "skin/controls/menu_button.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/controls/track_bar.h"
#include "tests/app/ui/startup_services_fixture.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/platform/gui/gui_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSnapshotError = "Cannot take snapshot.\r\nMake sure Snapshot Folder is available.";

struct TReport {
    std::string Text, Mark;
};

class MainPreviewTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        SetEnvironmentVariable("SDL_VIDEODRIVER", "dummy");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
        TGuiFixture::SetUp();
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(PlayerLibraries)) << TFFLoader::LastErrMsg();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
               ("preview-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        for (const char* folder : {"config", "documents", "media", "tmp"}) fs::create_directories(Root / folder);
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        setenv("TMPDIR", (Root / "tmp").c_str(), 1);
        fs::copy_file(MediaFixture("clip.avi"), Root / "media" / "clip.avi");  // 1 s with sound
        fs::copy_file(MediaFixture("long.mp4"), Root / "media" / "clip.mp4");  // 30 s of a test picture
        Decoder = new TFFDecoder(App.get());
        Adder = std::make_unique<TFileAdder>(State.Jobs, *Decoder, State.EventsLog, State.Catalogue);
        Adder->ShowMessage = [this](const std::string& AText) { Shown.push_back(AText); };

        Form = App->CreateForm<TMainForm>(State, "");
        Form->FileAdder = Adder.get();
        Form->ReportPreviewError = [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back({AText, AMark});
        };
        Form->ShowError = [this](const std::string& AText) { Errors.push_back(AText); };
        EXPECT_TRUE(Form->Load(BuildTreeStartupServices(Root, Shown)));
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        if (Form) {
            Form->FFPlayer->Stop(true);
            Form->FileAdder = nullptr;
        }
        Adder.reset();
        TGuiFixture::TearDown();
        StopMediaEngine();
        unsetenv("TMPDIR");
    }

    std::string Media(const std::string& AName) const { return (Root / "media" / AName).string(); }
    void Add(const std::string& AName)
    {
        Form->AddDroppedFiles({Media(AName)});
        Pump();
        ASSERT_GT(State.Jobs.Count(), 0);
    }
    // Runs the window's messages and the player's handed-over events until ADone holds.
    bool WaitUntil(const std::function<bool()>& ADone, int ASeconds = 20)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(ASeconds);
        while (std::chrono::steady_clock::now() < end) {
            Pump();
            CheckSynchronize(2);
            if (ADone()) return true;
        }
        return ADone();
    }
    void ClickOn(TControl* AControl, TPoint AAt = {-1, -1})
    {
        Clock.Advance(1000000);  // never a double click with the last one
        if (AAt.X < 0) AAt = {AControl->Width() / 2, AControl->Height() / 2};
        Display.Click(AControl->ClientToScreen(AAt));
        Pump();
    }
    // The camera button's own part (its drop-down part is the right edge).
    void Snapshot() { ClickOn(Form->spSkinMenuButton1, {8, Form->spSkinMenuButton1->Height() / 2}); }
    bool Playing() { return Form->FFPlayer->PlayState() == psPlay && Form->FFPlayer->CurrentPTS() > 0; }
    bool Idle() { return Form->imgPlayerArea->Visible() && !Form->PauseButton->Visible(); }
    std::string Snapshots() const { return State.Settings.ScreenShotsPath + "/"; }

    fs::path Root;
    TConverterState State;
    TFFDecoder* Decoder = nullptr;
    std::unique_ptr<TFileAdder> Adder;
    TMainForm* Form = nullptr;
    std::vector<std::string> Shown, Errors;
    std::vector<TReport> Reports;
};

TEST_F(MainPreviewTest, AClipPlaysToItsEndAndTheWindowStopsByItself)
{
    EXPECT_EQ(Form->lblPreview->Caption(), "Preview:");
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:00 / 00:00:00");
    EXPECT_EQ(Form->VolumeTrackBar->Value(), 128);
    // Nothing to play yet: Play leaves the preview idle.
    ClickOn(Form->PlayButton);
    EXPECT_FALSE(Form->PauseButton->Visible());
    EXPECT_EQ(Form->FFPlayer->PlayState(), psStop);

    Add("clip.avi");
    // The states the window was told of: the playback's last notice is its stop, and none follows it.
    std::vector<TPlayState> told;
    TPlayStateEvent windowHandler = Form->FFPlayer->OnState;
    Form->FFPlayer->OnState = [&](TObject* ASender, TPlayState AState) {
        windowHandler(ASender, AState);
        told.push_back(AState);
    };
    ClickOn(Form->PlayButton);
    EXPECT_EQ(Form->lblPreview->Caption(), "Preview: clip.avi");
    EXPECT_TRUE(Form->PauseButton->Visible());
    EXPECT_FALSE(Form->imgPlayerArea->Visible());
    std::vector<std::string> labels;
    ASSERT_TRUE(WaitUntil([&] {
        if (labels.empty() || labels.back() != Form->lblPlayTime->Caption())
            labels.push_back(Form->lblPlayTime->Caption());
        return Form->FFPlayer->PlayState() == psStop && Idle();
    })) << "the preview never stopped at the end: state " << Form->FFPlayer->PlayState() << " at "
        << Form->FFPlayer->CurrentPTS() << " label " << Form->lblPlayTime->Caption() << " pause shown "
        << Form->PauseButton->Visible() << " idle picture " << Form->imgPlayerArea->Visible() << " labels "
        << labels.size();
    EXPECT_NE(std::find(labels.begin(), labels.end(), "00:00:00 / 00:00:01"), labels.end());
    // At the end: the bar back at 0, the length on both sides of the label, the idle picture again.
    EXPECT_EQ(Form->VideoTrackBar->Value(), 0);
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:01 / 00:00:01");
    EXPECT_FALSE(Form->PlayButton->Down());
    // Whatever the player still had to tell when the end stopped it has been told once its stop arrives: no
    // late position moves the bar again, nor the label.
    ASSERT_TRUE(WaitUntil([&] { return !told.empty() && told.back() == psStop; }));
    EXPECT_NE(std::find(told.begin(), told.end(), psEnd), told.end());
    EXPECT_EQ(Form->VideoTrackBar->Value(), 0);
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:01 / 00:00:01");
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(Reports.empty());

    // Play after the end opens the file again from its start.
    ClickOn(Form->PlayButton);
    ASSERT_TRUE(WaitUntil([&] { return Playing(); }));
    EXPECT_LT(Form->FFPlayer->CurrentPTS(), 900000);
    Form->StopPreviewIfPlaying();
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Form->FFPlayer->PlayState(), psStop);
}

TEST_F(MainPreviewTest, PauseThenPlayResumesWhereItWas)
{
    Add("clip.mp4");
    ClickOn(Form->PlayButton);
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer->CurrentPTS() > 500000; }));
    ClickOn(Form->PauseButton);
    EXPECT_FALSE(Form->PauseButton->Visible());
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer->PlayState() == psPause; }));
    const int64_t paused = Form->FFPlayer->CurrentPTS();
    ClickOn(Form->PlayButton);
    EXPECT_TRUE(Form->PauseButton->Visible());
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer->CurrentPTS() > paused + 200000; }));
    EXPECT_EQ(Form->FFPlayer->FileName(), Media("clip.mp4"));
    // Resumed, not reopened: the position went on from the paused one.
    EXPECT_GE(Form->FFPlayer->CurrentPTS(), paused);

    // The volume bar sets the player's volume.
    Form->VolumeTrackBar->SetValue(40);
    EXPECT_EQ(Form->FFPlayer->AudioVolume(), 40);
    ClickOn(Form->StopButton);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Form->VideoTrackBar->Value(), 0);
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:30 / 00:00:30");
}

TEST_F(MainPreviewTest, PositionsMoveTheBarAndLabelExceptWhileTheThumbIsDragged)
{
    // The handler's arithmetic alone: a 10-second file.
    int width = 0, height = 0;
    Form->FFPlayerFileOpen(nullptr, 10000000, 160, 120, width, height);
    EXPECT_EQ(width, Form->panPreview->Width());
    EXPECT_EQ(height, Form->panPreview->Height());
    Form->FFPlayerPosition(nullptr, 2500000);
    EXPECT_EQ(Form->VideoTrackBar->Value(), 250);
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:02 / 00:00:10");
    // Position 0 moves the bar but leaves the label.
    Form->FFPlayerPosition(nullptr, 0);
    EXPECT_EQ(Form->VideoTrackBar->Value(), 0);
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:02 / 00:00:10");

    // With the real player: while the thumb is held the bar stays where the user put it; the release seeks once.
    Add("clip.mp4");
    int releases = 0;
    auto lastChange = Form->VideoTrackBar->OnLastChange;
    Form->VideoTrackBar->OnLastChange = [&](TObject* S) {
        ++releases;
        lastChange(S);
    };
    ClickOn(Form->PlayButton);
    ASSERT_TRUE(WaitUntil([&] { return Form->VideoTrackBar->Value() > 0; }));
    const TRect thumb = Form->VideoTrackBar->ButtonPlace().BR;
    const TPoint from = Form->VideoTrackBar->ClientToScreen({(thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2});
    const TPoint to{from.X + Form->VideoTrackBar->Width() * 8 / 10, from.Y};
    Display.PressButton(from);
    Pump();
    Display.MoveMouse(to);
    Pump();
    const Integer dragged = Form->VideoTrackBar->Value();
    EXPECT_GT(dragged, 700);
    const int64_t before = Form->FFPlayer->CurrentPTS();
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer->CurrentPTS() > before + 200000; }));
    EXPECT_EQ(Form->VideoTrackBar->Value(), dragged);
    EXPECT_EQ(releases, 0);
    Display.ReleaseButton(to);
    Pump();
    EXPECT_EQ(releases, 1);
    const int64_t target = 30000000LL * dragged / 1000;
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer->CurrentPTS() >= target - 1000000; }))
        << "no seek to " << target << "; at " << Form->FFPlayer->CurrentPTS();
    // Positions move the bar again after the release.
    ASSERT_TRUE(WaitUntil([&] { return Form->VideoTrackBar->Value() != dragged; }));
    EXPECT_NEAR(Form->VideoTrackBar->Value(), dragged, 60);
}

TEST_F(MainPreviewTest, OpenFailuresAreLoggedAndReported)
{
    Add("clip.mp4");
    fs::remove(Root / "media" / "clip.mp4");
    ClickOn(Form->PlayButton);
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].Mark, "CLM_FFPlayerOpen");
    EXPECT_FALSE(Reports[0].Text.empty());
    EXPECT_NE(State.EventsLog.Lines().back().find("-> " + Reports[0].Text), std::string::npos);
    // The name is shown only for a file that exists; the failed open leaves Pause shown until Stop.
    EXPECT_EQ(Form->lblPreview->Caption(), "Preview:");
    EXPECT_TRUE(Form->PauseButton->Visible());
    EXPECT_FALSE(Form->imgPlayerArea->Visible());
    ClickOn(Form->StopButton);
    EXPECT_TRUE(Idle());
}

// Decoded back: the snapshot's size and its mean colour.
struct TPicture {
    int Width = 0, Height = 0;
    double R = 0, G = 0, B = 0;
};

TPicture Measure(TGraphic& AGraphic)
{
    TBitmap bitmap;
    bitmap.Assign(&AGraphic);
    bitmap.SetPixelFormat(pf32bit);
    TPicture p{bitmap.Width(), bitmap.Height()};
    for (int y = 0; y < p.Height; ++y) {
        const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < p.Width; ++x) {
            p.B += row[4 * x];
            p.G += row[4 * x + 1];
            p.R += row[4 * x + 2];
        }
    }
    const double n = double(p.Width) * p.Height;
    if (n > 0) p.R /= n, p.G /= n, p.B /= n;
    return p;
}

TEST_F(MainPreviewTest, SnapshotsAreNumberedPerFormatAndReadBack)
{
    Add("clip.mp4");
    // Nothing on screen: nothing written, nothing said.
    Snapshot();
    EXPECT_TRUE(fs::is_empty(Snapshots()));
    EXPECT_TRUE(Errors.empty());

    ClickOn(Form->PlayButton);
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer->CurrentPTS() > 300000; }));
    ClickOn(Form->PauseButton);
    ASSERT_TRUE(WaitUntil([&] { return Form->FFPlayer->PlayState() == psPause; }));
    EXPECT_TRUE(Form->Item12->Enabled());
    EXPECT_TRUE(Form->JPEG1->Checked());
    Form->BMP1->Click();
    EXPECT_TRUE(Form->BMP1->Checked());
    EXPECT_FALSE(Form->JPEG1->Checked());
    Snapshot();
    Snapshot();
    Form->Item12->Click();  // the menu's "Snapshot" does the same
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(fs::exists(Snapshots() + "clip_" + std::to_string(n) + ".bmp")) << n;
    // A file an earlier run left keeps its number: it is not overwritten.
    { std::ofstream(Snapshots() + "clip_2.jpg") << "an earlier run's"; }
    Form->JPEG1->Click();
    Snapshot();
    Snapshot();
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(fs::file_size(Snapshots() + "clip_2.jpg"), 16u);
    EXPECT_EQ(State.BmpSnapshotNumber, 4);
    EXPECT_EQ(State.JpegSnapshotNumber, 4);

    TBitmap bmp;
    bmp.LoadFromFile(Snapshots() + "clip_1.bmp");
    const TPicture fromBmp = Measure(bmp);
    for (const char* name : {"clip_1.jpg", "clip_3.jpg"}) {
        TJPEGImage jpeg;
        jpeg.LoadFromFile(Snapshots() + name);
        const TPicture fromJpeg = Measure(jpeg);
        EXPECT_EQ(fromJpeg.Width, 160) << name;
        EXPECT_EQ(fromJpeg.Height, 120) << name;
        // The same paused picture: the colours agree but for the compression.
        EXPECT_NEAR(fromJpeg.R, fromBmp.R, 6) << name;
        EXPECT_NEAR(fromJpeg.G, fromBmp.G, 6) << name;
        EXPECT_NEAR(fromJpeg.B, fromBmp.B, 6) << name;
    }
    EXPECT_EQ(fromBmp.Width, 160);
    EXPECT_EQ(fromBmp.Height, 120);
    EXPECT_GT(fromBmp.R + fromBmp.G + fromBmp.B, 60) << "a black picture";

    // A folder that is gone: the error box, no file, the number kept for the next snapshot.
    const std::string folder = State.Settings.ScreenShotsPath;
    State.Settings.ScreenShotsPath = (Root / "gone").string();
    Snapshot();
    EXPECT_EQ(Errors, std::vector<std::string>{kSnapshotError});
    EXPECT_EQ(State.JpegSnapshotNumber, 4);
    State.Settings.ScreenShotsPath = folder;
    Snapshot();
    EXPECT_TRUE(fs::exists(Snapshots() + "clip_4.jpg"));
    EXPECT_EQ(Errors.size(), 1u);
}

}  // namespace
