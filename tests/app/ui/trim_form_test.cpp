// The "Trim" dialog with its real player on generated clips (SDL's dummy drivers), headless: what a show places,
// what "OK", "Cancel" and "Reset" do to the job, typed times, and a handle dragged with the mouse.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/events_log.h"
#include "app/job_list.h"
#include "app/ui/converter_state.h"
#include "app/ui/main_form.h"
#include "app/ui/trim_form.h"
#include "media/player/player.h"
#include "platform/gui/ext_controls.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/main_thread_queue.h"
#include "skin/controls/label_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/time_edit.h"
#include "skin/controls/track_bar.h"
#include "skin/core/png_image_list.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/platform/gui/gui_fixture.h"

namespace {

constexpr int64_t kSecond = 1000000;

class TrimFormTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        SetEnvironmentVariable("SDL_VIDEODRIVER", "dummy");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
        TGuiFixture::SetUp();
        StartMediaEngine();
        TFormat format;
        format.Title = "MPEG-4";
        format.VideoBitRate = "1000000";
        Catalogue.Profiles = {{"Video", "v", "v", {format}}};
        Form = new TClipForm(App.get(), nullptr);
        Form->Attach(&Jobs, &Log, [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back(AMark + ": " + AText);
        }, std::string(QUENNARY_BINARY_DIR) + "/app/");
        Form->RepaintJobs = [this] { ++Repaints; };
        Form->ShowError = [this](const std::string& AText) { Errors.push_back(AText); };
        Form->SetBounds(40, 40, Form->Width(), Form->Height());
    }
    void TearDown() override
    {
        delete Form;
        TGuiFixture::TearDown();
        StopMediaEngine();
    }

    // A new job for a fixture with the range as adding it gives.
    TVideoFile& AddJob(const std::string& AFixture, int64_t ALength)
    {
        TVideoFile job;
        job.Source = MediaFixture(AFixture);
        job.SourceTitleExt = AFixture;
        job.TrimmedLength = ALength;
        job.TimeEnd = ALength;
        Jobs.Append(job);
        return *Jobs.SelectedJob();
    }
    // Shows the dialog and waits until its file plays.
    void ShowDialog()
    {
        Form->Show();
        ASSERT_TRUE(Reports.empty()) << Reports.back();
        ASSERT_TRUE(WaitUntil([&] { return Form->Logic().LastTrimPosition() > 0; })) << "no position";
    }
    bool WaitUntil(const std::function<bool()>& ADone)
    {
        return WaitForWithSlices([&] {
            Pump();
            return ADone();
        }, 10, 20000);
    }
    void ClickOn(TControl* AControl)
    {
        Clock.Advance(1000000);  // never a double click with the last one
        Display.Click(AControl->ClientToScreen({AControl->Width() / 2, AControl->Height() / 2}));
        Pump();
    }
    void Type(TspSkinTimeEdit* AEdit, TControl* AOk, const std::string& AText)
    {
        AEdit->SetText(AText);
        ClickOn(AOk);
    }

    TCatalogue Catalogue;
    TJobList Jobs{Catalogue};
    TEventsLog Log{[] { return std::string("12:00:00"); }};
    TClipForm* Form = nullptr;
    std::vector<std::string> Reports;
    std::vector<std::string> Errors;
    int Repaints = 0;
};

TEST_F(TrimFormTest, DamagedSkinPicturesLeaveTheirPlacesEmptyAsMissingOnesDo)
{
    // A copy of the built skin's pictures with some of them cut to their first 60 bytes and one removed.
    const std::filesystem::path built = std::filesystem::path(QUENNARY_BINARY_DIR) / "app" / "skin-red";
    const std::filesystem::path skin = std::filesystem::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
                                       "trim-damaged-skin";
    std::filesystem::remove_all(skin);
    std::filesystem::create_directories(skin);
    for (const char* file : {"trim_left.bmp", "trim_right.bmp", "play.png", "pause.png", "stop.png", "photo.png",
                             "setstart.png", "setend.png"})
        std::filesystem::copy_file(built / file, skin / file);
    for (const char* file : {"trim_left.bmp", "play.png", "pause.png"})
        std::filesystem::resize_file(skin / file, 60);

    EXPECT_NO_THROW(Form->LoadPictures(skin.string()));
    EXPECT_EQ(Form->imgTrimLeft->Picture()->Graphic(), nullptr);
    ASSERT_NE(Form->imgTrimRight->Picture()->Graphic(), nullptr);
    EXPECT_FALSE(Form->imgTrimRight->Picture()->Graphic()->Empty());
    ASSERT_EQ(Form->PlayerImages->PngImages()->Count(), 7);
    const auto empty = [this](Integer AIndex) {
        return Form->PlayerImages->PngImages()->GetItem(AIndex)->PngImage()->Empty();
    };
    EXPECT_TRUE(empty(0));   // play.png, damaged
    EXPECT_TRUE(empty(1));   // pause.png, damaged
    EXPECT_FALSE(empty(2));  // stop.png
    EXPECT_TRUE(empty(6));   // playpart.png, missing
}

TEST_F(TrimFormTest, ANewJobShowsTheHandlesAtBothEndsAndOKStoresTheFullLength)
{
    TVideoFile& job = AddJob("long.avi", 10 * kSecond);
    ShowDialog();
    EXPECT_EQ(Form->imgTrimLeft->Left(), 10);
    EXPECT_EQ(Form->imgTrimRight->Left(), 474);
    EXPECT_EQ(Form->TrimmedTimeLine->Left(), 22);
    EXPECT_EQ(Form->TrimmedTimeLine->Width(), 452);
    EXPECT_EQ(Form->TimeStart->Time(), "00:00:00");
    EXPECT_EQ(Form->TimeEnd->Time(), "00:00:10");
    EXPECT_GT(Form->Logic().Duration(), 9 * kSecond);
    EXPECT_TRUE(Form->spSkinButton1->Enabled());
    EXPECT_NE(Form->lblPlayTime->Caption(), "00:00:00 / 00:00:00");

    ClickOn(Form->spSkinButton4);
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(job.TimeStart, 0);
    EXPECT_EQ(job.TimeEnd, 10 * kSecond);
    EXPECT_EQ(job.TrimmedLength, 10 * kSecond);
    EXPECT_EQ(Form->FFPlayer2->PlayState(), psStop);
    EXPECT_TRUE(Reports.empty());
}

TEST_F(TrimFormTest, ATypedStartLaterThanTheEndMovesTheEndAndOKStoresNothingToConvert)
{
    TVideoFile& job = AddJob("long.avi", 10 * kSecond);
    ShowDialog();
    Type(Form->TimeEnd, Form->spSkinSpeedButton2, "00:00:03");
    Type(Form->TimeStart, Form->spSkinSpeedButton1, "00:00:05");
    EXPECT_EQ(Form->TimeEnd->Time(), "00:00:05");
    EXPECT_EQ(Form->imgTrimRight->Left(), Form->imgTrimLeft->Left() + 11);
    EXPECT_FALSE(Form->TrimmedTimeLine->Visible());

    // A text that is no time of day is refused with a message and changes nothing.
    Type(Form->TimeStart, Form->spSkinSpeedButton1, "25:00:00");
    EXPECT_EQ(Errors, (std::vector<std::string>{"'25:00:00' is not a valid time"}));
    EXPECT_EQ(Form->Logic().TrimStartPos(), 5 * kSecond);

    ClickOn(Form->spSkinButton4);
    EXPECT_EQ(job.TimeStart, 5 * kSecond);
    EXPECT_EQ(job.TimeEnd, 5 * kSecond);
    EXPECT_EQ(job.TrimmedLength, 0);
}

TEST_F(TrimFormTest, ResetAndCancelLeaveTheJobAlone)
{
    TVideoFile& job = AddJob("long.avi", 10 * kSecond);
    job.TimeStart = 2 * kSecond;
    job.TimeEnd = 4 * kSecond;
    job.TrimmedLength = 2 * kSecond;
    ShowDialog();
    EXPECT_EQ(Form->TimeStart->Time(), "00:00:02");
    EXPECT_EQ(Form->imgTrimLeft->Left(), 102);  // value 200 of 1000
    EXPECT_EQ(Form->imgTrimRight->Left(), 195);

    ClickOn(Form->spSkinButton6);
    EXPECT_EQ(Form->TimeStart->Time(), "00:00:00");
    EXPECT_EQ(Form->Logic().TrimEndPos(), Form->Logic().Duration());
    EXPECT_EQ(Form->imgTrimLeft->Left(), 10);
    EXPECT_EQ(Form->imgTrimRight->Left(), 474);
    EXPECT_EQ(job.TimeStart, 2 * kSecond);
    EXPECT_EQ(job.TimeEnd, 4 * kSecond);

    Type(Form->TimeStart, Form->spSkinSpeedButton1, "00:00:07");
    ClickOn(Form->spSkinButton5);
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(job.TimeStart, 2 * kSecond);
    EXPECT_EQ(job.TimeEnd, 4 * kSecond);
    EXPECT_EQ(job.TrimmedLength, 2 * kSecond);
    EXPECT_EQ(Repaints, 0);

    // The next show starts from the job's range again.
    ShowDialog();
    EXPECT_EQ(Form->Logic().TrimStartPos(), 2 * kSecond);
    EXPECT_EQ(Form->Logic().TrimEndPos(), 4 * kSecond);
    ClickOn(Form->spSkinButton5);
}

TEST_F(TrimFormTest, OKStoresTheRangeAndEstimatesTheSizeAgain)
{
    TVideoFile& job = AddJob("long.avi", 10 * kSecond);
    EXPECT_EQ(JobCellText(job, Catalogue, 2), "1.22 MB");  // 10 s at 1,000,000 bit/s
    ShowDialog();
    Type(Form->TimeStart, Form->spSkinSpeedButton1, "00:00:02");
    Type(Form->TimeEnd, Form->spSkinSpeedButton2, "00:00:06");
    ClickOn(Form->spSkinButton4);
    EXPECT_EQ(job.TimeStart, 2 * kSecond);
    EXPECT_EQ(job.TimeEnd, 6 * kSecond);
    EXPECT_EQ(job.TrimmedLength, 4 * kSecond);
    EXPECT_DOUBLE_EQ(job.EstimatedSize, 4 * 125 / 1024.0);
    EXPECT_EQ(JobCellText(job, Catalogue, 1), "00:00:04");
    EXPECT_EQ(JobCellText(job, Catalogue, 2), "0.49 MB");
    EXPECT_EQ(Repaints, 1);
}

TEST_F(TrimFormTest, TheLeftHandleDraggedToTheMiddleTakesThePositionThePlayerReaches)
{
    AddJob("long.mp4", 30 * kSecond);
    ShowDialog();
    const TPoint grab = Form->imgTrimLeft->ClientToScreen({6, 6});
    Display.PressButton(grab);
    Pump();
    EXPECT_TRUE(Form->Logic().Dragging(TTrimSide::Start));
    for (int step = 1; step <= 4; ++step) {
        Display.MoveMouse({grab.X + 58 * step, grab.Y});
        Pump();
    }
    EXPECT_EQ(Form->imgTrimLeft->Left(), 242);
    Display.ReleaseButton({grab.X + 232, grab.Y});
    Pump();
    ASSERT_TRUE(WaitUntil([&] { return !Form->Logic().Capturing(TTrimSide::Start); }));
    const int64_t start = Form->Logic().TrimStartPos();
    EXPECT_NEAR(static_cast<double>(start), 15.0 * kSecond, 1.5 * kSecond);
    EXPECT_EQ(Form->TimeStart->Time(), Form->Logic().StartText());
    ClickOn(Form->spSkinButton5);
}

TEST_F(TrimFormTest, AFileThatDoesNotOpenLeavesTheHandlesAtTheEndsAndTheTrimCommandsOff)
{
    TVideoFile& job = AddJob("not_media.mp4", 4 * kSecond);
    Form->Show();
    Pump();
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].rfind("CLM_FFPlayer2Open: Error open file: ", 0), 0u) << Reports[0];
    EXPECT_EQ(Form->imgTrimLeft->Left(), 10);
    EXPECT_EQ(Form->imgTrimRight->Left(), 474);
    for (TControl* command : std::initializer_list<TControl*>{Form->spSkinButton1, Form->spSkinButton2,
                                                              Form->spSkinButton3, Form->spSkinSpeedButton1,
                                                              Form->spSkinButton6})
        EXPECT_FALSE(command->Enabled()) << command->Name();
    ClickOn(Form->spSkinButton4);
    EXPECT_EQ(job.TimeStart, 0);
    EXPECT_EQ(job.TimeEnd, 4 * kSecond);
    EXPECT_EQ(job.TrimmedLength, 4 * kSecond);
}

// A file that does not open after one that played: nothing of the earlier file shows, neither its play time
// nor its position on the bar.
TEST_F(TrimFormTest, AFailedOpenAfterAnotherFileShowsNoTimeOfThatFile)
{
    AddJob("long.avi", 10 * kSecond);
    ShowDialog();
    ASSERT_TRUE(WaitUntil([&] { return Form->lblPlayTime->Caption() != "00:00:00 / 00:00:10"; }));
    ClickOn(Form->spSkinButton5);
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:10 / 00:00:10");  // Stop shows the length on both sides
    AddJob("not_media.mp4", 4 * kSecond);
    Jobs.SetRow(2);
    Form->Show();
    Pump();
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Form->lblPlayTime->Caption(), "00:00:00 / 00:00:00");
    EXPECT_EQ(Form->videotrackbar2->Value(), 0);
    EXPECT_EQ(Form->Logic().LastTrimPosition(), 0);
    ClickOn(Form->spSkinButton5);
}

TEST_F(TrimFormTest, TheMainWindowsTrimCommandShowsTheDialogOnlyForAJob)
{
    TConverterState state;
    auto* main = new TMainForm(App.get(), state, "");
    int shown = 0;
    main->ShowTrim = [&] { ++shown; };
    main->ClipButtonClick(nullptr);
    EXPECT_EQ(shown, 0);
    TVideoFile job;
    job.Source = MediaFixture("long.avi");
    state.Jobs.Append(job);
    main->ClipButtonClick(nullptr);
    EXPECT_EQ(shown, 1);
    main->ShowTrim = nullptr;
    main->ClipButtonClick(nullptr);  // without the dialog the command does nothing
    EXPECT_EQ(shown, 1);
    delete main;
}

}  // namespace
