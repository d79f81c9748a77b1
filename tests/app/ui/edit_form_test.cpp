// The Edit dialog on a generated 640 x 360 clip, with both players running on SDL's dummy drivers: what the first
// file-open loads from the job, what Apply, OK and Cancel write back, the live brightness cell reaching the output
// player's pictures only, dragging a handle, and the start-together wait when a player cannot open.
#include "app/ui/edit_form.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ui/converter_state.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/main_thread_queue.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/spin_edit.h"
#include "skin/controls/track_bar.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/platform/gui/gui_fixture.h"

namespace fs = std::filesystem;

namespace {

// The mean of all colour bytes of a 24-bit picture: 255 only for a white one.
double MeanLevel(TBitmap* ABitmap)
{
    if (!ABitmap || ABitmap->Width() == 0 || ABitmap->Height() == 0) return -1;
    double sum = 0;
    for (int y = 0; y < ABitmap->Height(); ++y) {
        const auto* row = static_cast<const uint8_t*>(ABitmap->ScanLine(y));
        for (int x = 0; x < ABitmap->Width() * 3; ++x) sum += row[x];
    }
    return sum / (3.0 * ABitmap->Width() * ABitmap->Height());
}

class EditFormTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        SetEnvironmentVariable("SDL_VIDEODRIVER", "dummy");
        SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
               ("edit-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        // The players' SDL copies are made once per process, in the temporary folder of that moment.
        static const fs::path temp = [] {
            const fs::path folder = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "edit-tmp";
            fs::create_directories(folder);
            return folder;
        }();
        fs::create_directories(Root);
        setenv("TMPDIR", temp.c_str(), 1);
        Clip = (Root / "clip640.mp4").string();
        const std::string make = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                                 "testsrc=size=640x360:rate=25 -t 20 -c:v mpeg4 -q:v 10 -an '" + Clip + "'";
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(PlayerLibraries)) << TFFLoader::LastErrMsg();
        Form = new TCropForm(App.get(), nullptr);
        Form->Attach(&State, "");
        Form->ReportError = [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back(AMark + ": " + AText);
        };
    }
    void TearDown() override
    {
        delete Form;
        TGuiFixture::TearDown();
        StopMediaEngine();
        unsetenv("TMPDIR");
    }

    TVideoFile& AddJob(const std::string& ASource)
    {
        TVideoFile job;
        job.Source = ASource;
        State.Jobs.Append(job);
        return *State.Jobs.SelectedJob();
    }
    // Shows the dialog as the Edit command does, and waits until the source player has played a picture.
    void ShowAndPlay()
    {
        Form->Show();
        Pump();
        ASSERT_TRUE(WaitForWithSlices([&] { return Form->FFPlayer1->CurrentPTS() >= 0; }, 10, 20000));
    }
    bool WaitUntil(const std::function<bool()>& ADone)
    {
        return WaitForWithSlices([&] { Pump(); return ADone(); }, 10, 20000);
    }
    void ClickOn(TControl* AControl)
    {
        Clock.Advance(1000000);  // never a double click with the last one
        Display.Click(AControl->ClientToScreen({AControl->Width() / 2, AControl->Height() / 2}));
        Pump();
    }
    TCropValues Margins(const TVideoFile& AJob) const
    {
        return {AJob.CropLeft, AJob.CropTop, AJob.CropRight, AJob.CropBottom};
    }

    fs::path Root;
    std::string Clip;
    TConverterState State;
    TCropForm* Form = nullptr;
    std::vector<std::string> Reports;
    // What the players' video hooks saw; fixture members, as the players run until the dialog goes.
    std::atomic<double> SourceLevel{-1}, OutputLevel{-1};
    std::atomic<int> SourcePictures{0}, OutputPictures{0};
};

TEST_F(EditFormTest, AFreshJobOpensWithTheWholeFrameKeepOriginalAndNoAdjustments)
{
    AddJob(Clip);
    ShowAndPlay();
    EXPECT_TRUE(Reports.empty()) << Reports.front();
    EXPECT_TRUE(Form->ValuesLoaded());
    EXPECT_EQ(Form->EditValues(), (TCropValues{0, 0, 640, 360}));
    EXPECT_EQ(Form->edWidth->MaxValue(), 640);
    EXPECT_EQ(Form->edHeight->MaxValue(), 360);
    EXPECT_EQ(Form->cmbAspectRatio->ItemIndex(), 0);
    EXPECT_EQ(Form->FFPlayer2->AspectRatio(), 0.0f);
    for (TspSkinCheckRadioBox* box : {Form->chBrightness, Form->chContrast, Form->chSaturation})
        EXPECT_FALSE(box->Checked()) << box->Caption();
    for (TspSkinTrackBar* slider : {Form->tbBrightness, Form->tbContrast, Form->tbSaturation})
        EXPECT_EQ(slider->Value(), 0);
    EXPECT_TRUE(Form->FFPlayer2->Mute());
    EXPECT_EQ(Form->FFPlayer2->VideoFilters().rfind("nativeeq=0:0:", 0), 0u) << Form->FFPlayer2->VideoFilters();

    // The selection's corners sit on the picture's corners; the clipping window takes the frame's shape.
    const TPictureBounds& b = Form->PictureBounds();
    EXPECT_EQ(Form->Handles[int(TCropHandle::LeftTop)]->Left() + 4, b.MinX);
    EXPECT_EQ(Form->Handles[int(TCropHandle::LeftTop)]->Top() + 4, b.MinY);
    EXPECT_EQ(Form->Handles[int(TCropHandle::RightBottom)]->Left() + 4, b.MaxX);
    EXPECT_EQ(Form->Handles[int(TCropHandle::RightBottom)]->Top() + 4, b.MaxY);
    EXPECT_EQ(Form->Panel2->Width(), 319);
    EXPECT_EQ(Form->Panel2->Height(), 179);

    // The output player's first picture has the output panel laid out again at the same size: a panel one pixel
    // smaller would move the picture against the selection.
    EXPECT_EQ(Form->panPreview2->Width(), 319);
    EXPECT_EQ(Form->panPreview2->Height(), 222);
}

TEST_F(EditFormTest, ApplyWritesBackTheMarginsTheDialogOpenedWith)
{
    TVideoFile& job = AddJob(Clip);
    job.CropLeft = 10, job.CropTop = 20, job.CropRight = 30, job.CropBottom = 40;
    job.Brightness = 25;
    ShowAndPlay();
    EXPECT_EQ(Form->EditValues(), (TCropValues{10, 20, 600, 300}));
    EXPECT_TRUE(Form->chBrightness->Checked());
    EXPECT_EQ(Form->tbBrightness->Value(), 25);
    EXPECT_EQ(Form->LiveAdjustments().Brightness(), 25);

    ClickOn(Form->spSkinButton1);  // Apply
    EXPECT_EQ(Margins(job), (TCropValues{10, 20, 30, 40}));
    EXPECT_EQ(job.Brightness, 25);
    EXPECT_EQ(job.AspectRatio, 0);

    // Typed values reach the job with OK; a selection reaching past the frame is kept inside it.
    Form->edLeft->SetValue(100);
    Form->edWidth->SetValue(600);
    Form->cmbAspectRatio->SetItemIndex(3);
    EXPECT_FLOAT_EQ(Form->FFPlayer2->AspectRatio(), 16.0f / 9.0f);
    ClickOn(Form->spSkinButton4);  // OK
    Pump();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Margins(job), (TCropValues{100, 20, 0, 40}));
    EXPECT_EQ(job.AspectRatio, 3);
}

TEST_F(EditFormTest, UncheckingContrastZeroesItsSliderAndApplyStoresZero)
{
    TVideoFile& job = AddJob(Clip);
    job.Contrast = 40;
    job.Saturation = -30;
    ShowAndPlay();
    ASSERT_TRUE(Form->chContrast->Checked());
    EXPECT_EQ(Form->tbContrast->Value(), 40);
    ClickOn(Form->chContrast);
    ASSERT_FALSE(Form->chContrast->Checked());
    EXPECT_EQ(Form->tbContrast->Value(), 0);
    EXPECT_EQ(Form->LiveAdjustments().Contrast(), 0);
    // Checking changes nothing.
    ClickOn(Form->chContrast);
    ASSERT_TRUE(Form->chContrast->Checked());
    EXPECT_EQ(Form->tbContrast->Value(), 0);
    ClickOn(Form->spSkinButton1);
    EXPECT_EQ(job.Contrast, 0);
    EXPECT_EQ(job.Saturation, -30);
}

TEST_F(EditFormTest, CancelLeavesTheJobAsItWas)
{
    TVideoFile& job = AddJob(Clip);
    job.CropLeft = 8, job.CropBottom = 16, job.AspectRatio = 2, job.Saturation = 10;
    const TVideoFile before = job;
    ShowAndPlay();
    EXPECT_EQ(Form->cmbAspectRatio->ItemIndex(), 2);
    EXPECT_FLOAT_EQ(Form->FFPlayer2->AspectRatio(), 4.0f / 3.0f);
    Form->edTop->SetValue(50);
    Form->cmbAspectRatio->SetItemIndex(3);
    Form->tbSaturation->SetValue(-80);
    ClickOn(Form->spSkinButton5);  // Cancel
    Pump();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Margins(job), Margins(before));
    EXPECT_EQ(job.AspectRatio, 2);
    EXPECT_EQ(job.Saturation, 10);
    // Closing put the output preview's panels back.
    EXPECT_EQ(Form->Panel2->BoundsRect(), Bounds(0, 0, 319, 222));
    EXPECT_EQ(Form->panPreview2->BoundsRect(), Bounds(0, 0, 319, 222));
}

TEST_F(EditFormTest, TheBrightnessSliderChangesTheOutputPictureAndNotTheSource)
{
    AddJob(Clip);
    // The pictures of both players as they are shown; the dialog's own hook of the output player still runs.
    Form->FFPlayer1->SetVideoHook(true);
    Form->FFPlayer1->OnVideoHook = [this](TObject*, TBitmap* B, int64_t, bool& U) {
        U = false;
        SourceLevel = MeanLevel(B);
        ++SourcePictures;
    };
    auto dialogHook = Form->FFPlayer2->OnVideoHook;
    Form->FFPlayer2->OnVideoHook = [this, dialogHook](TObject* S, TBitmap* B, int64_t P, bool& U) {
        OutputLevel = MeanLevel(B);
        ++OutputPictures;
        dialogHook(S, B, P, U);
    };
    ShowAndPlay();
    ASSERT_TRUE(WaitUntil([&] { return SourcePictures > 2 && OutputPictures > 2; }));
    const double before = OutputLevel;
    EXPECT_NEAR(before, SourceLevel.load(), 8.0);  // no adjustment yet: the same picture

    // Brightness 100 puts every luma sample at 255: far brighter (not white, as the colours stay).
    Form->tbBrightness->SetValue(100);
    EXPECT_EQ(Form->LiveAdjustments().Brightness(), 100);
    EXPECT_TRUE(WaitUntil([&] { return OutputLevel > before + 80; })) << before << " then " << OutputLevel.load();
    const int seen = SourcePictures;
    ASSERT_TRUE(WaitUntil([&] { return SourcePictures > seen + 2; }));
    EXPECT_NEAR(SourceLevel.load(), before, 20.0);

    Form->tbBrightness->SetValue(0);
    EXPECT_TRUE(WaitUntil([&] { return OutputLevel < before + 20; })) << before << " then " << OutputLevel.load();
}

TEST_F(EditFormTest, DraggingTheTopLeftHandleMovesTheSelectionAndTheOutputPreview)
{
    AddJob(Clip);
    ShowAndPlay();
    const TRect clip = Form->Panel2->BoundsRect();
    TPanel* handle = Form->Handles[int(TCropHandle::LeftTop)];
    const TPoint from = handle->ClientToScreen({4, 4});
    Display.Drag(from, {from.X + 30, from.Y + 20}, 3);
    Pump();
    // The reference point moved from (0, 21.28) on the panel by (30, 20): picture column 60, row 40.
    EXPECT_EQ(Form->edLeft->Value(), 60);
    EXPECT_EQ(Form->edTop->Value(), 40);
    EXPECT_LT(Form->edWidth->Value(), 640);
    EXPECT_NE(Form->Panel2->BoundsRect(), clip);
    EXPECT_LT(Form->panPreview2->Left(), 0);

    // Reset All: the whole frame again, the sliders at 0.
    Form->tbBrightness->SetValue(30);
    ClickOn(Form->spSkinButton2);
    EXPECT_EQ(Form->EditValues(), (TCropValues{0, 0, 640, 360}));
    EXPECT_EQ(Form->tbBrightness->Value(), 0);
    EXPECT_EQ(Form->Panel2->BoundsRect(), clip);
}

TEST_F(EditFormTest, PauseAndPlayResumeBothPlayersAndPlayAfterStopOpensAgain)
{
    AddJob(Clip);
    ShowAndPlay();
    ClickOn(Form->PauseButton);
    ASSERT_TRUE(WaitUntil([&] { return Form->SourcePlayState() == psPause && Form->FFPlayer2->Paused(); }));
    ClickOn(Form->PlayButton);
    EXPECT_TRUE(WaitUntil([&] { return !Form->FFPlayer1->Paused() && !Form->FFPlayer2->Paused(); }));
    EXPECT_NE(Form->SourcePlayState(), psStop);

    ClickOn(Form->StopButton);
    EXPECT_TRUE(WaitUntil([&] { return Form->SourcePlayState() == psStop && Form->FFPlayer2->PlayState() == psStop; }));
    EXPECT_FALSE(Form->PlayButton->Down());
    ClickOn(Form->PlayButton);
    EXPECT_TRUE(WaitUntil([&] { return Form->FFPlayer1->CurrentPTS() >= 0 && Form->FFPlayer2->CurrentPTS() >= 0; }));
    EXPECT_FALSE(Form->FFPlayer1->Paused());
    EXPECT_TRUE(Reports.empty()) << Reports.front();
}

TEST_F(EditFormTest, TheStartTogetherWaitEndsWhenAPlayerCannotOpen)
{
    // The output player alone fails: the source player starts by itself and the dialog works.
    TVideoFile& job = AddJob(Clip);
    Form->FFPlayer2->SetForceFormat("wav");
    ShowAndPlay();
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].rfind("CLM_FFPlayer2Open: ", 0), 0u) << Reports[0];
    EXPECT_TRUE(Form->ValuesLoaded());
    Form->edLeft->SetValue(40);
    ClickOn(Form->spSkinButton1);
    EXPECT_EQ(job.CropLeft, 40);
    ClickOn(Form->spSkinButton5);
    Pump();

    // Neither can open an unreadable file: both are reported, nothing waits, and Apply stores nothing.
    Reports.clear();
    const std::string broken = (Root / "broken.mp4").string();
    fs::copy_file(MediaFixture("not_media.mp4"), broken);
    job.Source = broken;
    Form->Show();
    Pump();
    ASSERT_EQ(Reports.size(), 2u);
    EXPECT_EQ(Reports[0].rfind("CLM_FFPlayer1Open: ", 0), 0u) << Reports[0];
    EXPECT_EQ(Reports[1].rfind("CLM_FFPlayer2Open: ", 0), 0u) << Reports[1];
    EXPECT_FALSE(Form->ValuesLoaded());
    EXPECT_FALSE(Form->spSkinButton1->Enabled());
    Form->ApplyClick(nullptr);
    EXPECT_EQ(job.CropLeft, 40);
    EXPECT_EQ(State.EventsLog.Lines().size(), 3u);  // the first open's failure and these two
    ClickOn(Form->spSkinButton5);
    Pump();
    EXPECT_FALSE(Form->Visible());
}

}  // namespace

namespace {

// The dialog has a cancel button: Escape with the Aspect Ratio list open closes the list and keeps the choice,
// and only the next Escape is the dialog's.
TEST_F(EditFormTest, EscapeOnTheOpenAspectListClosesTheListNotTheDialog)
{
    AddJob(Clip);
    ShowAndPlay();
    TspSkinComboBox* aspect = Form->cmbAspectRatio;
    const Integer before = aspect->ItemIndex();
    ClickOn(aspect);
    ASSERT_TRUE(WaitUntil([&] { return aspect->IsPopupVisible(); }));
    aspect->ListBox()->SetItemIndex(3);
    Display.PressKey(win::VK_ESCAPE);
    Pump();
    EXPECT_FALSE(aspect->IsPopupVisible());
    EXPECT_EQ(aspect->ItemIndex(), before);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    EXPECT_TRUE(Form->Visible());

    // Enter takes the highlighted choice, and the dialog stays.
    ClickOn(aspect);
    ASSERT_TRUE(WaitUntil([&] { return aspect->IsPopupVisible(); }));
    aspect->ListBox()->SetItemIndex(3);
    Display.PressKey(win::VK_RETURN);
    Pump();
    EXPECT_FALSE(aspect->IsPopupVisible());
    EXPECT_EQ(aspect->ItemIndex(), 3);
    EXPECT_EQ(Form->ModalResult(), mrNone);

    Display.PressKey(win::VK_ESCAPE);
    Pump();
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

}  // namespace
