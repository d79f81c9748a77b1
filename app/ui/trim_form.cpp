#include "app/ui/trim_form.h"

#include <initializer_list>
#include <optional>
#include <utility>

#include "app/events_log.h"
#include "app/job_list.h"
#include "app/ui/dialog_parts.h"
#include "app/ui/main_commands.h"
#include "app/ui/player_screen.h"
#include "app/ui/player_sdl_copy.h"
#include "app/ui/startup_sequence.h"
#include "media/player/player.h"
#include "platform/gui/application.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/label_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/controls/time_edit.h"
#include "skin/controls/track_bar.h"
#include "skin/core/png_image_list.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr Integer kClientWidth = 494;
constexpr Integer kClientHeight = 467;
constexpr Integer kBarLeft = 19;
constexpr Integer kBarTop = 288;
constexpr Integer kBarWidth = 464;
constexpr Integer kBarHeight = 20;
constexpr Integer kPlayerRowTop = 332;
constexpr Integer kPlayerButtonSize = 25;
constexpr Integer kTimeRowTop = 378;
constexpr Integer kButtonRowTop = 428;
constexpr TColor kTrimLineColor = static_cast<TColor>(0x2A2AC8);  // the skin's red

// The player buttons' pictures, in the order of the main window's preview.
enum TPlayerImage { piPlay, piPause, piStop, piSetStart = 4, piSetEnd, piPlayPart };
constexpr const char* kPlayerImageFiles[] = {"play.png",     "pause.png",  "stop.png",    "photo.png",
                                             "setstart.png", "setend.png", "playpart.png"};

std::string NotATimeText(const std::string& AText) { return "'" + AText + "' is not a valid time"; }

}  // namespace

// The real player behind the trim rules.
class TClipForm::TPlayerLink : public TTrimPlayer {
public:
    explicit TPlayerLink(TClipForm& AForm) : FForm(AForm) {}

    bool OpenSource() override
    {
        TVideoFile* job = FForm.FJobs ? FForm.FJobs->SelectedJob() : nullptr;
        return job && FForm.OpenFile(job->Source);
    }
    TPlayState PlayState() const override { return Player().PlayState(); }
    bool Paused() const override { return Player().Paused(); }
    void Pause() override { Player().Pause(); }
    void Resume() override { Player().Resume(); }
    void TogglePause() override { Player().TogglePause(); }
    // The player takes one seek at a time and drops a request made while one is under way; a handle dragged
    // faster than the seeks keeps its latest time here, so that the picture still comes to where it stopped.
    void Seek(int64_t APTS, bool AWait) override
    {
        if (!AWait && Player().Seeking()) {
            FLaterSeek = APTS;
            return;
        }
        FLaterSeek.reset();
        Player().Seek(APTS, {}, AWait);
    }
    void WaitWhileSeeking() override
    {
        WaitForSeek();
        if (!FLaterSeek) return;
        Player().Seek(*FLaterSeek, {}, false);
        FLaterSeek.reset();
        WaitForSeek();
    }
    void StopAndWait() override { Player().Stop(true); }

private:
    TFFPlayer& Player() const { return *FForm.FFPlayer2; }
    // Bounded, so that a seek that never ends cannot hold the dialog for good.
    void WaitForSeek()
    {
        WaitForWithSlices([this] { return !Player().Seeking(); }, 10, 10000);
    }
    TClipForm& FForm;
    std::optional<int64_t> FLaterSeek;
};

TClipForm::TClipForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("ClipForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "Trim", kClientWidth, kClientHeight);
    spCorvalis1->SetSizeable(true);
    SetPosition(poScreenCenter);
    FFPlayer2 = new TFFPlayer(this);
    FFPlayer2->OnFileOpen = [this](TObject* S, int64_t D, int W, int H, int& SW, int& SH) {
        FFPlayer2FileOpen(S, D, W, H, SW, SH);
    };
    FFPlayer2->OnPosition = [this](TObject* S, int64_t P) { FFPlayer2Position(S, P); };
    FFPlayer2->OnState = [this](TObject* S, TPlayState A) { FFPlayer2State(S, A); };
    FPlayerLink = std::make_unique<TPlayerLink>(*this);
    FLogic = std::make_unique<TTrimLogic>(*FPlayerLink, kBarWidth);
    FLogic->OnStop = [this] {
        RaisePlayButtons();
        panPreview->Repaint();
    };
    BuildControls(ASkinData);
    ShowLogic();
}

TClipForm::~TClipForm()
{
    // The player goes first among the owned components' users: no event may reach the half-destroyed form.
    FFPlayer2->OnFileOpen = nullptr;
    FFPlayer2->OnPosition = nullptr;
    FFPlayer2->OnState = nullptr;
    FFPlayer2->Stop(true);
}

void TClipForm::Attach(TJobList* AJobs, TEventsLog* AEventsLog, TReportErrorEvent AReportError,
                       std::string AExeFolder)
{
    FJobs = AJobs;
    FEventsLog = AEventsLog;
    FReportError = std::move(AReportError);
    FExeFolder = IncludeTrailingPathDelimiter(AExeFolder);
}

void TClipForm::BuildControls(TspSkinData* ASkin)
{
    panPreview = new TPanel(this);
    panPreview->SetName("panPreview");
    panPreview->SetParent(this);
    panPreview->SetBounds(15, 10, 464, 271);
    panPreview->SetColor(clBlack);
    panPreview->SetBevelOuter(bvNone);
    panPreview->SetCaption("");

    videotrackbar2 = PlaceControl<TspSkinTrackBar>(this, this, ASkin, "videotrackbar2", kBarLeft, kBarTop,
                                                   kBarWidth, kBarHeight);
    videotrackbar2->SetMinValue(0);
    videotrackbar2->SetMaxValue(kTrimBarMaxValue);
    videotrackbar2->SetValue(0);
    videotrackbar2->OnStartDragButton = [this](TObject* S) { videotrackbar2StartDragButton(S); };
    videotrackbar2->OnLastChange = [this](TObject* S) { videotrackbar2LastChange(S); };

    auto handle = [this](const char* AName, Integer ALeft) {
        auto* image = new TImage(this);
        image->SetName(AName);
        image->SetParent(this);
        image->SetBounds(ALeft, kBarTop + kBarHeight, kTrimHandleSize, kTrimHandleSize);
        image->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
            imgTrimMouseDown(S, B, Sh, X, Y);
        };
        image->OnMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) { imgTrimMouseMove(S, Sh, X, Y); };
        image->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
            imgTrimMouseUp(S, B, Sh, X, Y);
        };
        return image;
    };
    imgTrimLeft = handle("imgTrimLeft", 11);
    imgTrimRight = handle("imgTrimRight", 473);
    TrimmedTimeLine = new TShape(this);
    TrimmedTimeLine->SetName("TrimmedTimeLine");
    TrimmedTimeLine->SetParent(this);
    TrimmedTimeLine->SetBounds(0, kBarTop + kBarHeight, 0, 1);
    TrimmedTimeLine->Pen()->SetColor(kTrimLineColor);
    TrimmedTimeLine->Brush()->SetColor(kTrimLineColor);

    BuildPlayerButtons(ASkin);
    BuildTimeEdits(ASkin);

    spSkinButton4 = PlaceButton(this, ASkin, "spSkinButton4", "OK", 324, kButtonRowTop);
    spSkinButton4->OnClick = [this](TObject* S) { spSkinButton4Click(S); };
    spSkinButton5 = PlaceButton(this, ASkin, "spSkinButton5", "Cancel", 404, kButtonRowTop);
    spSkinButton5->SetCancel(true);
    spSkinButton5->OnClick = [this](TObject* S) { spSkinButton5Click(S); };
    spSkinButton6 = PlaceButton(this, ASkin, "spSkinButton6", "Reset", 15, kButtonRowTop);
    spSkinButton6->OnClick = [this](TObject* S) { spSkinButton6Click(S); };
}

void TClipForm::BuildPlayerButtons(TspSkinData* ASkin)
{
    PlayerImages = new TspPngImageList(this);
    PlayerImages->SetPngWidth(24);
    PlayerImages->SetPngHeight(24);
    Integer left = 15;
    auto button = [&](const char* AName, const char* AHint, TPlayerImage AImage, Integer AGroup,
                      void (TClipForm::*AClick)(TObject*)) {
        auto* b = PlaceControl<TspSkinButton>(this, this, ASkin, AName, left, kPlayerRowTop, kPlayerButtonSize,
                                              kPlayerButtonSize);
        left += kPlayerButtonSize + 4;
        b->SetHint(AHint);
        b->SetShowHint(true);
        b->SetImageList(PlayerImages);
        b->SetImageIndex(AImage);
        if (AGroup != 0) {
            b->SetGroupIndex(AGroup);
            b->SetAllowAllUp(true);
        }
        b->OnClick = [this, AClick](TObject* S) { (this->*AClick)(S); };
        return b;
    };
    PlayButton = button("PlayButton", "Play full video", piPlay, 1, &TClipForm::PlayButtonClick);
    PauseButton = button("PauseButton", "Pause", piPause, 1, &TClipForm::PauseButtonClick);
    StopButton = button("StopButton", "Stop", piStop, 0, &TClipForm::StopButtonClick);
    left += 16;
    spSkinButton1 = button("spSkinButton1", "Set start", piSetStart, 0, &TClipForm::spSkinButton1Click);
    spSkinButton2 = button("spSkinButton2", "Play trimmed part", piPlayPart, 1, &TClipForm::spSkinButton2Click);
    spSkinButton3 = button("spSkinButton3", "Set end", piSetEnd, 0, &TClipForm::spSkinButton3Click);

    lblPlayTime = PlaceControl<TspSkinLabel>(this, this, ASkin, "lblPlayTime", 279, kPlayerRowTop, 200,
                                             kPlayerButtonSize);
    lblPlayTime->SetBorderStyle(TspSkinBorderStyle::bvFrame);
    lblPlayTime->SetAlignment(taCenter);
    lblPlayTime->SetCaption("00:00:00 / 00:00:00");
    PlaceText(this, this, ASkin, "Play time:", 220, kPlayerRowTop + 5);
}

void TClipForm::BuildTimeEdits(TspSkinData* ASkin)
{
    auto row = [&](const char* ACaption, const char* AEdit, const char* AOk, Integer ALeft, TspSkinTimeEdit*& AEditOut,
                   TspSkinSpeedButton*& AOkOut, void (TClipForm::*AClick)(TObject*)) {
        PlaceText(this, this, ASkin, ACaption, ALeft, kTimeRowTop + 3);
        AEditOut = PlaceControl<TspSkinTimeEdit>(this, this, ASkin, AEdit, ALeft + 88, kTimeRowTop, 76, 21);
        AEditOut->SetShowSec(true);
        AEditOut->SetShowMSec(false);
        AEditOut->SetTime("00:00:00");
        AOkOut = PlaceControl<TspSkinSpeedButton>(this, this, ASkin, AOk, ALeft + 168, kTimeRowTop, 34, 21);
        AOkOut->SetCaption("OK");
        AOkOut->OnClick = [this, AClick](TObject* S) { (this->*AClick)(S); };
    };
    row("Set start time:", "TimeStart", "spSkinSpeedButton1", 15, TimeStart, spSkinSpeedButton1,
        &TClipForm::spSkinSpeedButton1Click);
    row("Set end time:", "TimeEnd", "spSkinSpeedButton2", 263, TimeEnd, spSkinSpeedButton2,
        &TClipForm::spSkinSpeedButton2Click);
}

void TClipForm::LoadPictures(const std::string& ASkinFolder)
{
    // A picture missing from the skin or damaged leaves its place empty; the skin's own loading has reported the
    // skin.
    const std::string folder = IncludeTrailingPathDelimiter(ASkinFolder);
    for (auto [image, file] : {std::pair{imgTrimLeft, "trim_left.bmp"}, std::pair{imgTrimRight, "trim_right.bmp"}}) {
        try {
            if (FileExists(folder + file)) image->Picture()->LoadFromFile(folder + file);
        } catch (const Exception&) {
            image->Picture()->SetGraphic(nullptr);
        }
    }
    PlayerImages->PngImages()->Clear();
    for (const char* file : kPlayerImageFiles) {
        TPngImage png;
        try {
            if (FileExists(folder + file)) png.LoadFromFile(folder + file);
        } catch (const Exception&) {
            // A failed load leaves the picture empty.
        }
        static_cast<TspPngImageItem*>(PlayerImages->PngImages()->Add())->SetPngImage(&png);
    }
}

// ---- opening ----

bool TClipForm::LoadPlayerLibraries()
{
    if (!FFPlayer2->AVLibLoaded() && !FFPlayer2->LoadAVLib(FExeFolder + kMediaLibraryFolderName)) {
        ReportOpenFailure("Error Loading AV Lib: " + FFPlayer2->LastErrMsg(), "CLM_FFPlayer2LoadAVLib");
        return false;
    }
    if (const std::string error = LoadPlayerSDLCopy(*FFPlayer2, kTrimPlayer); !error.empty()) {
        if (FEventsLog) FEventsLog->AddBare(error);
        if (FReportError) FReportError("Error loading SDL library", "CLM_SDlLibLoad");
        return false;
    }
    return true;
}

void TClipForm::ReportOpenFailure(const std::string& AText, const std::string& AMark)
{
    if (FReportError) FReportError(AText, AMark);
    if (FEventsLog) FEventsLog->Add(FFPlayer2->LastErrMsg());
}

bool TClipForm::OpenFile(const std::string& AFileName)
{
    if (!LoadPlayerLibraries()) return false;
    FScreenControl = panPreview;
    if (FFPlayer2->Open(AFileName, panPreview->Handle(), false)) return true;
    ReportOpenFailure("Error open file: " + FFPlayer2->LastErrMsg(), "CLM_FFPlayer2Open");
    return false;
}

// ---- the player's events ----

void TClipForm::FFPlayer2FileOpen(TObject*, int64_t ADuration, int, int, int& AScreenWidth, int& AScreenHeight)
{
    FitPictureToScreen(FScreenControl, AScreenWidth, AScreenHeight);
    FLogic->FileOpened(ADuration);
}

void TClipForm::FFPlayer2Position(TObject*, int64_t APos)
{
    FLogic->Position(APos);
    ShowLogic();
}

void TClipForm::FFPlayer2State(TObject*, TPlayState AState)
{
    FLogic->StateChanged(AState);
    ShowLogic();
}

// ---- showing ----

void TClipForm::DoShow()
{
    TForm::DoShow();
    if (spSkinButton4->CanFocus()) spSkinButton4->SetFocus();
    TVideoFile* job = FJobs ? FJobs->SelectedJob() : nullptr;
    FLogic->FileOpened(0);
    FLogic->LoadRange(job ? job->TimeStart : 0, job ? job->TimeEnd : 0);
    if (job) OpenFile(job->Source);
    FLogic->PlaceHandles();
    ShowLogic();
}

void TClipForm::DoClose(TCloseAction& AAction)
{
    TForm::DoClose(AAction);
    if (AAction == caNone) return;
    FLogic->Stop();
    ShowLogic();
}

void TClipForm::ShowLogic()
{
    const TTrimLogic& logic = *FLogic;
    imgTrimLeft->SetLeft(logic.LeftHandleX());
    imgTrimRight->SetLeft(logic.RightHandleX());
    const TTrimLineBounds line = TrimmedLineBounds(logic.LeftHandleX(), logic.RightHandleX());
    TrimmedTimeLine->SetBounds(line.Left, imgTrimLeft->Top(), line.Width, 1);
    TrimmedTimeLine->SetVisible(line.Width > 0);
    if (!logic.TrackDragging()) videotrackbar2->SetValue(logic.BarValue());
    lblPlayTime->SetCaption(logic.PlayTimeText());
    if (TimeStart->Time() != logic.StartText() && !TimeStart->Focused()) TimeStart->SetTime(logic.StartText());
    if (TimeEnd->Time() != logic.EndText() && !TimeEnd->Focused()) TimeEnd->SetTime(logic.EndText());
    const bool canTrim = logic.CanTrim();
    for (TControl* command : std::initializer_list<TControl*>{spSkinButton1, spSkinButton2, spSkinButton3,
                                                              spSkinSpeedButton1, spSkinSpeedButton2, spSkinButton6})
        command->SetEnabled(canTrim);
}

void TClipForm::RaisePlayButtons()
{
    for (TspSkinButton* button : {spSkinButton2, PlayButton, PauseButton})
        if (button->Down()) button->SetDown(false);
}

// ---- the handles ----

TTrimSide TClipForm::SideOf(TObject* AHandle) const
{
    return AHandle == imgTrimRight ? TTrimSide::End : TTrimSide::Start;
}

void TClipForm::imgTrimMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int X, int)
{
    if (Button != mbLeft) return;
    FLogic->HandlePress(SideOf(Sender), X);
    ShowLogic();
}

void TClipForm::imgTrimMouseMove(TObject* Sender, TShiftState, int X, int)
{
    if (!FLogic->Dragging(SideOf(Sender))) return;
    FLogic->HandleMove(SideOf(Sender), X);
    ShowLogic();
}

void TClipForm::imgTrimMouseUp(TObject* Sender, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft) return;
    FLogic->HandleRelease(SideOf(Sender));
    ShowLogic();
}

// ---- commands ----

void TClipForm::spSkinButton1Click(TObject*)
{
    FLogic->SetStartHere();
    ShowLogic();
}

void TClipForm::spSkinButton2Click(TObject*)
{
    FLogic->PlayTrimmedPart();
    ShowLogic();
}

void TClipForm::spSkinButton3Click(TObject*)
{
    FLogic->SetEndHere();
    ShowLogic();
}

void TClipForm::TypedTime(TspSkinTimeEdit* AEdit, bool (TTrimLogic::*AType)(const std::string&))
{
    const std::string text = AEdit->Time();
    if (!((*FLogic).*AType)(text)) {
        if (FLogic->CanTrim() && ShowError) ShowError(NotATimeText(text));
        return;
    }
    AEdit->SetTime(AEdit == TimeStart ? FLogic->StartText() : FLogic->EndText());
    ShowLogic();
}

void TClipForm::spSkinSpeedButton1Click(TObject*) { TypedTime(TimeStart, &TTrimLogic::TypeStart); }

void TClipForm::spSkinSpeedButton2Click(TObject*) { TypedTime(TimeEnd, &TTrimLogic::TypeEnd); }

void TClipForm::PlayButtonClick(TObject*)
{
    FLogic->Play();
    ShowLogic();
}

void TClipForm::PauseButtonClick(TObject*)
{
    FLogic->Pause();
    ShowLogic();
}

void TClipForm::StopButtonClick(TObject*)
{
    FLogic->Stop();
    ShowLogic();
}

void TClipForm::videotrackbar2StartDragButton(TObject*)
{
    FLogic->BarStartDrag();
}

void TClipForm::videotrackbar2LastChange(TObject*)
{
    FLogic->BarLastChange(videotrackbar2->Value(), IsPrimaryButtonDown());
    ShowLogic();
}

void TClipForm::spSkinButton4Click(TObject*)
{
    TVideoFile* job = FJobs ? FJobs->SelectedJob() : nullptr;
    if (job) {
        job->TimeStart = FLogic->TrimStartPos();
        job->TimeEnd = FLogic->TrimEndPos();
        job->TrimmedLength = FLogic->TrimEndPos() - FLogic->TrimStartPos();
        FJobs->EstimateOutputSize(FJobs->Row() - 1);
        if (RepaintJobs) RepaintJobs();
    }
    Close();
}

void TClipForm::spSkinButton5Click(TObject*) { Close(); }

void TClipForm::spSkinButton6Click(TObject*)
{
    FLogic->Reset();
    ShowLogic();
}
