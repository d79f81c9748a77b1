#include "app/ui/edit_form.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

#include "app/ui/converter_state.h"
#include "app/ui/dialog_parts.h"
#include "app/ui/main_commands.h"
#include "app/ui/player_sdl_copy.h"
#include "app/ui/startup_sequence.h"
#include "app/video_file.h"
#include "media/player/player_display_bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/spin_edit.h"
#include "skin/controls/std_label.h"
#include "skin/controls/track_bar.h"
#include "skin/core/png_image_list.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr Integer kClientWidth = 700;
constexpr Integer kClientHeight = 466;
constexpr Integer kPreviewTop = 28;
constexpr Integer kSourceLeft = 10;
constexpr Integer kOutputLeft = 371;
constexpr Integer kPreviewWidth = 319;
constexpr Integer kPreviewHeight = 222;
constexpr Integer kPlayerRowTop = 258;
constexpr Integer kEditRowTop = 300;
constexpr Integer kRowStep = 32;
constexpr Integer kButtonTop = 428;

TPanel* BlackPanel(TForm* AForm, TWinControl* AParent, const std::string& AName, TRect ABounds)
{
    auto* panel = new TPanel(AForm);
    panel->SetName(AName);
    panel->SetParent(AParent);
    panel->SetBevelOuter(bvNone);
    panel->SetCaption("");
    panel->SetColor(clBlack);
    panel->SetBoundsRect(ABounds);
    return panel;
}

}  // namespace

float AspectOfChoice(int AIndex)
{
    switch (AIndex) {
    case 1: return static_cast<float>(kAspectFullScreen);
    case 2: return 4.0f / 3.0f;
    case 3: return 16.0f / 9.0f;
    default: return static_cast<float>(kAspectKeepOriginal);
    }
}

TCropValues CropValuesOfJob(const TVideoFile& AJob, int AFrameWidth, int AFrameHeight)
{
    if (AJob.CropLeft == 0 && AJob.CropTop == 0 && AJob.CropRight == 0 && AJob.CropBottom == 0)
        return {0, 0, AFrameWidth, AFrameHeight};
    return {AJob.CropLeft, AJob.CropTop, AFrameWidth - AJob.CropRight - AJob.CropLeft,
            AFrameHeight - AJob.CropBottom - AJob.CropTop};
}

void StoreCropValues(TVideoFile& AJob, const TCropValues& AValues, int AFrameWidth, int AFrameHeight)
{
    const TCropValues v = ClampCropValues(AValues, AFrameWidth, AFrameHeight);
    AJob.CropLeft = v.Left;
    AJob.CropTop = v.Top;
    AJob.CropRight = AFrameWidth - v.Width - v.Left;
    AJob.CropBottom = AFrameHeight - v.Height - v.Top;
}

TCropForm::TCropForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("CropForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "Edit", kClientWidth, kClientHeight);
    spCorvalis1->SetSizeable(true);
    // No border icons: the dialog closes through its buttons.
    spCorvalis1->SetBorderIcons({});
    spCorvalis1->SetHideCaptionButtons(true);
    BuildPreviews(ASkinData);
    BuildSelection();
    BuildControls(ASkinData);
    BindPlayers();
}

TCropForm::~TCropForm()
{
    FFPlayer1.reset();
    FFPlayer2.reset();
    // A resize the output player's video thread asked for must not reach a form that is gone.
    RemoveQueuedEvents(this);
}

void TCropForm::BuildPreviews(TspSkinData* ASkin)
{
    PlaceText(this, this, ASkin, "Original Preview", kSourceLeft, 8);
    PlaceText(this, this, ASkin, "Output Preview", kOutputLeft, 8);
    panPreview1 = BlackPanel(this, this, "panPreview1", Bounds(kSourceLeft, kPreviewTop, kPreviewWidth, kPreviewHeight));
    Panel1 = BlackPanel(this, this, "Panel1", Bounds(kOutputLeft, kPreviewTop, kPreviewWidth, kPreviewHeight));
    Panel2 = BlackPanel(this, Panel1, "Panel2", Bounds(0, 0, kPreviewWidth, kPreviewHeight));
    panPreview2 = BlackPanel(this, Panel2, "panPreview2", Bounds(0, 0, kPreviewWidth, kPreviewHeight));

    PlayButton = PlaceControl<TspSkinButton>(this, this, ASkin, "PlayButton", kSourceLeft, kPlayerRowTop, 25, 25);
    PauseButton = PlaceControl<TspSkinButton>(this, this, ASkin, "PauseButton", kSourceLeft + 30, kPlayerRowTop, 25, 25);
    StopButton = PlaceControl<TspSkinButton>(this, this, ASkin, "StopButton", kSourceLeft + 60, kPlayerRowTop, 25, 25);
    PlayButton->SetCaption(">");
    PauseButton->SetCaption("||");
    StopButton->SetCaption("[]");
    PlayButton->SetHint("Play full video");
    PauseButton->SetHint("Pause");
    for (TspSkinButton* b : {PlayButton, PauseButton}) {
        b->SetGroupIndex(1);
        b->SetShowHint(true);
    }
    PlayButton->OnClick = [this](TObject* S) { PlayButtonClick(S); };
    PauseButton->OnClick = [this](TObject* S) { PauseButtonClick(S); };
    StopButton->OnClick = [this](TObject* S) { StopButtonClick(S); };

    videotrackbar = PlaceControl<TspSkinTrackBar>(this, this, ASkin, "videotrackbar", kSourceLeft + 94,
                                                  kPlayerRowTop + 2, kOutputLeft + kPreviewWidth - kSourceLeft - 94, 20);
    videotrackbar->SetMinValue(0);
    videotrackbar->SetMaxValue(1000);
    videotrackbar->SetValue(0);
    videotrackbar->OnStartDragButton = [this](TObject* S) { videotrackbarStartDragButton(S); };
    videotrackbar->OnLastChange = [this](TObject* S) { videotrackbarLastChange(S); };
}

void TCropForm::BuildSelection()
{
    // The lines first: the handles lie over their ends and must take the mouse there.
    auto line = [this](const char* AName) {
        TPanel* panel = BlackPanel(this, panPreview1, AName, Bounds(0, 0, 1, 1));
        panel->SetColor(clWhite);
        auto* shape = new TShape(this);
        shape->SetParent(panel);
        shape->SetAlign(alClient);
        shape->Pen()->SetColor(clWhite);
        shape->Brush()->SetColor(clWhite);
        return panel;
    };
    lnleft = line("lnleft");
    lntop = line("lntop");
    lnright = line("lnright");
    lnBottom = line("lnBottom");
    static const char* const names[] = {"szLeftTop",    "szTopMiddle",    "szRightTop",   "szRightMiddle",
                                        "szRightBottom", "szBottomMiddle", "szLeftBottom", "szLeftMiddle"};
    for (int i = 0; i < 8; ++i) {
        TPanel* handle = BlackPanel(this, panPreview1, names[i], Bounds(0, 0, 8, 9));
        handle->SetColor(clWhite);
        const auto which = static_cast<TCropHandle>(i);
        handle->OnMouseDown = [this, which](TObject*, TMouseButton B, TShiftState, int X, int Y) {
            HandleMouseDown(which, B, X, Y);
        };
        handle->OnMouseMove = [this, which](TObject*, TShiftState, int X, int Y) { HandleMouseMove(which, X, Y); };
        handle->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { HandleMouseUp(); };
        Handles[i] = handle;
    }
}

void TCropForm::BuildControls(TspSkinData* ASkin)
{
    auto spin = [&](const char* AName, const char* ACaption, int ARow) {
        const Integer top = kEditRowTop + ARow * kRowStep;
        PlaceText(this, this, ASkin, ACaption, kSourceLeft, top + 4);
        auto* edit = PlaceControl<TspSkinSpinEdit>(this, this, ASkin, AName, 124, top, 80, 22);
        edit->SetValueType(vtInteger);
        edit->SetMinValue(0);
        edit->SetMaxValue(5000);
        edit->OnChange = [this](TObject* S) { edLeftChange(S); };
        return edit;
    };
    edLeft = spin("edLeft", "Crop area left:", 0);
    edTop = spin("edTop", "Crop area top:", 1);
    edWidth = spin("edWidth", "Crop area width:", 2);
    edHeight = spin("edHeight", "Crop area height:", 3);

    PlaceText(this, this, ASkin, "Aspect Ratio:", 226, kEditRowTop + 4);
    cmbAspectRatio = PlaceControl<TspSkinComboBox>(this, this, ASkin, "cmbAspectRatio", 226, kEditRowTop + kRowStep,
                                                   120, 22);
    cmbAspectRatio->SetStyle(spcbFixedStyle);
    for (const char* choice : kAspectChoices) cmbAspectRatio->Items()->Add(choice);
    cmbAspectRatio->SetItemIndex(0);
    cmbAspectRatio->OnChange = [this](TObject* S) { cmbAspectRatioChange(S); };

    auto adjustment = [&](const char* ABoxName, const char* ACaption, const char* ASliderName, int ARow,
                          TspSkinCheckRadioBox*& ABox, TspSkinTrackBar*& ASlider, void (TLiveAdjustments::*ASet)(int32_t)) {
        const Integer top = kEditRowTop + ARow * kRowStep;
        ABox = PlaceControl<TspSkinCheckRadioBox>(this, this, ASkin, ABoxName, kOutputLeft, top, 100, 22);
        ABox->SetCaption(ACaption);
        ABox->SetChecked(false);
        ASlider = PlaceControl<TspSkinTrackBar>(this, this, ASkin, ASliderName, kOutputLeft + 104, top,
                                                kPreviewWidth - 104, 22);
        ASlider->SetMinValue(-100);
        ASlider->SetMaxValue(100);
        ASlider->SetValue(0);
        TspSkinCheckRadioBox* box = ABox;
        TspSkinTrackBar* slider = ASlider;
        // The output player's filters read the cell at their next slice.
        slider->OnChange = [this, slider, ASet](TObject*) { (FLive.*ASet)(slider->Value()); };
        slider->OnStartDragButton = [this, box](TObject*) { SliderStartDrag(box); };
        box->OnClick = [this, box, slider](TObject*) { CheckBoxClick(box, slider); };
    };
    adjustment("chBrightness", "Brightness", "tbBrightness", 0, chBrightness, tbBrightness,
               &TLiveAdjustments::SetBrightness);
    adjustment("chContrast", "Contrast", "tbContrast", 1, chContrast, tbContrast, &TLiveAdjustments::SetContrast);
    adjustment("chSaturation", "Saturation", "tbSaturation", 2, chSaturation, tbSaturation,
               &TLiveAdjustments::SetSaturation);

    spSkinButton2 = PlaceButton(this, ASkin, "spSkinButton2", "Reset All", kSourceLeft, kButtonTop);
    spSkinButton1 = PlaceButton(this, ASkin, "spSkinButton1", "Apply", kClientWidth - 10 - 3 * 75 - 2 * 8, kButtonTop);
    spSkinButton4 = PlaceButton(this, ASkin, "spSkinButton4", "OK", kClientWidth - 10 - 2 * 75 - 8, kButtonTop);
    spSkinButton5 = PlaceButton(this, ASkin, "spSkinButton5", "Cancel", kClientWidth - 10 - 75, kButtonTop);
    spSkinButton5->SetCancel(true);
    spSkinButton2->OnClick = [this](TObject* S) { ResetAllClick(S); };
    spSkinButton1->OnClick = [this](TObject* S) { ApplyClick(S); };
    spSkinButton4->OnClick = [this](TObject* S) { OKClick(S); };
    spSkinButton5->OnClick = [this](TObject* S) { CancelClick(S); };
}

void TCropForm::LoadButtonPictures(const std::string& ASkinFolder)
{
    if (!PlayerImages) {
        PlayerImages = new TspPngImageList(this);
        PlayerImages->SetPngWidth(24);
        PlayerImages->SetPngHeight(24);
    }
    const std::pair<TspSkinButton*, const char*> pictures[] = {
        {PlayButton, "play.png"}, {PauseButton, "pause.png"}, {StopButton, "stop.png"}};
    for (const auto& [button, file] : pictures) {
        TPngImage png;
        try {
            png.LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + file);
        } catch (const std::exception&) {
            continue;
        }
        const Integer index = PlayerImages->PngImages()->Count();
        static_cast<TspPngImageItem*>(PlayerImages->PngImages()->Add())->SetPngImage(&png);
        button->SetImageList(PlayerImages);
        button->SetImageIndex(index);
        button->SetCaption("");
    }
}

void TCropForm::BindPlayers()
{
    FFPlayer1 = std::make_unique<TFFPlayer>(nullptr);
    FFPlayer2 = std::make_unique<TFFPlayer>(nullptr);
    FFPlayer1->OnFileOpen = [this](TObject*, int64_t ADuration, int AWidth, int AHeight, int&, int&) {
        FFPlayer1FileOpen(ADuration, AWidth, AHeight);
    };
    FFPlayer1->OnPosition = [this](TObject*, int64_t APosition) { FFPlayer1Position(APosition); };
    FFPlayer1->OnState = [this](TObject*, TPlayState AState) { FFPlayer1State(AState); };
    FFPlayer2->SetMute(true);
    FFPlayer2->SetVideoHook(true);
    FFPlayer2->OnState = [this](TObject*, TPlayState AState) { FFPlayer2State(AState); };
    FFPlayer2->OnVideoHook = [this](TObject*, TBitmap*, int64_t, bool& AUpdate) {
        AUpdate = false;  // the picture is only looked at, never changed
        FFPlayer2VideoHook();
    };
}

void TCropForm::Attach(TConverterState* AState, const std::string& AExeFolder)
{
    FState = AState;
    FExeFolder = AExeFolder;
}

TVideoFile* TCropForm::SelectedJob() const { return FState ? FState->Jobs.SelectedJob() : nullptr; }

void TCropForm::Report(const std::string& AText, const std::string& AMark)
{
    if (ReportError) ReportError(AText, AMark);
}

// ---- show, open, close ----

void TCropForm::DoShow()
{
    FResizeOutputOnce = true;
    videotrackbar->SetMaxValue(std::max(1, videotrackbar->Width()));
    FFirstOpenAfterShow = true;
    FValuesLoaded = false;
    spSkinButton1->SetEnabled(false);
    spSkinButton4->SetEnabled(false);
    TForm::DoShow();
    RegisterEqFilter();
    RegisterHueFilter();
    UpdateVideoFilters();
    if (const TVideoFile* job = SelectedJob()) OpenVideo(job->Source, false);
}

void TCropForm::UpdateVideoFilters() { FFPlayer2->SetVideoFilters(FLive.ChainText()); }

bool TCropForm::OpenPlayer(TFFPlayer& APlayer, int APlayerNumber, TPanel* AScreen, const std::string& AFileName)
{
    const std::string number = std::to_string(APlayerNumber);
    if (!APlayer.AVLibLoaded() && !APlayer.LoadAVLib(FExeFolder + kMediaLibraryFolderName)) {
        Report(APlayer.LastErrMsg(), "CLM_FFPlayer" + number + "LoadAVLib");
        if (FState) FState->EventsLog.Add(APlayer.LastErrMsg());
        return false;
    }
    if (const std::string error = LoadPlayerSDLCopy(APlayer, APlayerNumber); !error.empty()) {
        if (FState) FState->EventsLog.AddBare(error);
        Report("Error loading SDL library for player" + number, "CLM_SDlLibLoad" + number);
        return false;
    }
    if (!APlayer.Open(AFileName, AScreen->Handle(), true)) {
        Report(APlayer.LastErrMsg(), "CLM_FFPlayer" + number + "Open");
        if (FState) FState->EventsLog.Add(APlayer.LastErrMsg());
        return false;
    }
    return true;
}

void TCropForm::OpenVideo(const std::string& AFileName, bool AIsPaused)
{
    Panel1->SetColor(clBlack);
    // The output player is set up even when the source player failed.
    const bool source = OpenPlayer(*FFPlayer1, kEditOriginalPlayer, panPreview1, AFileName);
    if (source) KeepSelectionAboveSource();
    const bool output = OpenPlayer(*FFPlayer2, kEditOutputPlayer, panPreview2, AFileName);
    if (AIsPaused || (!source && !output)) return;
    // Both start from their first picture together. A player that failed is not waited for, and one that never
    // pauses (a file without pictures) only holds the other back until the time limit.
    WaitForWithSlices(
        [&] {
            return (!source || FFPlayer1->PlayState() == psPause) && (!output || FFPlayer2->PlayState() == psPause);
        },
        10, kStartTogetherTimeoutMs);
    if (source) FFPlayer1->Resume();
    if (output) FFPlayer2->Resume();
}

void TCropForm::DoClose(TCloseAction& AAction)
{
    TForm::DoClose(AAction);
    if (AAction == caNone) return;
    StopButtonClick(this);
    Panel2->SetBounds(0, 0, panPreview1->Width(), panPreview1->Height());
    panPreview2->SetBounds(0, 0, panPreview1->Width(), panPreview1->Height());
}

// ---- players ----

void TCropForm::FFPlayer1FileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight)
{
    FDuration = ADuration;
    if (!FFirstOpenAfterShow) return;
    FFirstOpenAfterShow = false;
    FFPlayer1->SetAudioVolume(MainVolume ? MainVolume() : MaxAudioVolume);
    FCropFrameWidth = AFrameWidth;
    FCropFrameHeight = AFrameHeight;
    // A file without pictures has no frame to crop: the values stay as they were and are not stored.
    if (AFrameWidth <= 0 || AFrameHeight <= 0) return;
    edTop->SetMaxValue(AFrameHeight);
    edHeight->SetMaxValue(AFrameHeight);
    edLeft->SetMaxValue(AFrameWidth);
    edWidth->SetMaxValue(AFrameWidth);
    if (const TVideoFile* job = SelectedJob()) LoadJobValues(*job);
}

void TCropForm::LoadJobValues(const TVideoFile& AJob)
{
    const std::pair<TspSkinCheckRadioBox*, TspSkinTrackBar*> adjustments[] = {
        {chBrightness, tbBrightness}, {chContrast, tbContrast}, {chSaturation, tbSaturation}};
    const int values[] = {AJob.Brightness, AJob.Contrast, AJob.Saturation};
    for (int i = 0; i < 3; ++i) {
        adjustments[i].first->SetChecked(values[i] != 0);
        adjustments[i].second->SetValue(values[i]);
    }
    const TCropValues crop = CropValuesOfJob(AJob, FCropFrameWidth, FCropFrameHeight);
    SetQuietly(edLeft, crop.Left);
    SetQuietly(edTop, crop.Top);
    SetQuietly(edWidth, crop.Width);
    SetQuietly(edHeight, crop.Height);
    SelectAspectQuietly(AJob.AspectRatio);
    ValuesToCropArea();
    ValuesToPreviewArea();
    if (auto bounds = ::PictureBounds(FCropFrameWidth, FCropFrameHeight, panPreview1->Width(), panPreview1->Height()))
        FPictureBounds = *bounds;
    FValuesLoaded = true;
    spSkinButton1->SetEnabled(true);
    spSkinButton4->SetEnabled(true);
}

void TCropForm::SetQuietly(TspSkinSpinEdit* AEdit, int AValue)
{
    FSuppressCropEditChange = true;
    AEdit->SetValue(AValue);
    FSuppressCropEditChange = false;
}

void TCropForm::SelectAspectQuietly(int AIndex)
{
    FSuppressCropEditChange = true;
    cmbAspectRatio->SetItemIndex(AIndex);
    // The list tells of a change only when its text changes: the player's aspect follows here in any case.
    FFPlayer2->SetAspectRatio(AspectOfChoice(cmbAspectRatio->ItemIndex()));
    FSuppressCropEditChange = false;
}

void TCropForm::FFPlayer1Position(int64_t APosition)
{
    if (APosition < 0 || FDuration <= 0 || IsPrimaryButtonDown() || FEditTrackDragging) return;
    videotrackbar->SetValue(static_cast<Integer>(APosition * videotrackbar->MaxValue() / FDuration));
}

void TCropForm::FFPlayer1State(TPlayState AState)
{
    FSourcePlayState = AState;
    if (AState == psEnd) StopButtonClick(this);
    if (AState == psStop || AState == psEnd) panPreview1->Repaint();
}

void TCropForm::FFPlayer2State(TPlayState AState)
{
    if (AState == psStop || AState == psEnd) panPreview2->Repaint();
}

// The output player's video thread: with the first picture of a show the player lays its picture out again in
// its panel's present size, asked for on the user-interface thread; the hook itself touches no window. (The panel
// keeps its size: one pixel less would move the picture against the selection.)
void TCropForm::FFPlayer2VideoHook()
{
    if (!FResizeOutputOnce.exchange(false)) return;
    QueueInMainThread(this, [this] { FFPlayer2->UpdateScreenPosition(); });
}

// ---- controls ----

void TCropForm::SliderStartDrag(TspSkinCheckRadioBox* ABox)
{
    ABox->SetChecked(true);
    if (FSourcePlayState == psPause) {
        PlayButton->SetDown(true);
        PlayButtonClick(PlayButton);
    }
}

void TCropForm::CheckBoxClick(TspSkinCheckRadioBox* ABox, TspSkinTrackBar* ASlider)
{
    if (!ABox->Checked()) ASlider->SetValue(0);
}

void TCropForm::cmbAspectRatioChange(TObject*)
{
    FFPlayer2->SetAspectRatio(AspectOfChoice(cmbAspectRatio->ItemIndex()));
    if (FSuppressCropEditChange) {
        FSuppressCropEditChange = false;
        return;
    }
    ValuesToCropArea();
    ValuesToPreviewArea();
}

void TCropForm::edLeftChange(TObject*)
{
    if (FSuppressCropEditChange) {
        FSuppressCropEditChange = false;
        return;
    }
    ValuesToCropArea();
    ValuesToPreviewArea();
}

void TCropForm::PlayButtonClick(TObject*)
{
    if (FSourcePlayState == psPause) {
        FFPlayer1->Resume();
        FFPlayer2->Resume();
        return;
    }
    if (const TVideoFile* job = SelectedJob()) OpenVideo(job->Source, false);
}

void TCropForm::PauseButtonClick(TObject*)
{
    FFPlayer1->Pause();
    FFPlayer2->Pause();
}

void TCropForm::StopButtonClick(TObject*)
{
    if (PlayButton->Down()) PlayButton->SetDown(false);
    if (PauseButton->Down()) PauseButton->SetDown(false);
    FFPlayer1->Stop(false);
    FFPlayer2->Stop(false);
    videotrackbar->SetValue(videotrackbar->MaxValue());
    Panel1->SetColor(clBlack);
}

void TCropForm::videotrackbarStartDragButton(TObject*) { FEditTrackDragging = true; }

void TCropForm::videotrackbarLastChange(TObject*)
{
    if (IsPrimaryButtonDown()) return;
    const int64_t target = FDuration * videotrackbar->Value() / std::max<Integer>(1, videotrackbar->MaxValue());
    FFPlayer1->Seek(target, {}, false);
    FFPlayer2->Seek(target, {}, false);
    FEditTrackDragging = false;
}

void TCropForm::ResetAllClick(TObject*) { CropAreaToEdits(true); }

void TCropForm::ApplyClick(TObject*)
{
    TVideoFile* job = SelectedJob();
    // Before this show's first file-open the controls still hold another job's values.
    if (!job || !FValuesLoaded) return;
    StoreCropValues(*job, EditValues(), FCropFrameWidth, FCropFrameHeight);
    job->AspectRatio = cmbAspectRatio->ItemIndex();
    job->Brightness = tbBrightness->Value();
    job->Saturation = tbSaturation->Value();
    job->Contrast = tbContrast->Value();
}

void TCropForm::OKClick(TObject* Sender)
{
    ApplyClick(Sender);
    SetModalResult(mrOk);
    Close();
}

void TCropForm::CancelClick(TObject*)
{
    SetModalResult(mrCancel);
    Close();
}

TCropValues TCropForm::EditValues() const
{
    return {static_cast<int>(std::nearbyint(edLeft->Value())), static_cast<int>(std::nearbyint(edTop->Value())),
            static_cast<int>(std::nearbyint(edWidth->Value())), static_cast<int>(std::nearbyint(edHeight->Value()))};
}
