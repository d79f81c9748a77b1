#pragma once
// The "Edit" dialog: crop, output aspect and picture adjustments of the selected job, shown live by two players.
// The source player plays the file unchanged under "Original Preview" with the crop selection over it; the muted
// output player plays it through the native filters under "Output Preview", showing only the selected area at the
// chosen aspect. "Apply" and "OK" write the settings into the job.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/crop_geometry.h"
#include "app/error_report_event.h"
#include "app/native_filters.h"
#include "media/player/player.h"
#include "platform/gui/forms.h"

struct TConverterState;
struct TVideoFile;
class TPanel;
class TspCorvalis;
class TspPngImageList;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinComboBox;
class TspSkinData;
class TspSkinSpinEdit;
class TspSkinStdLabel;
class TspSkinTrackBar;

inline constexpr const char* kAspectChoices[] = {"Keep Original", "Full Screen", "4:3", "16:9"};
// The output player's aspect value for an index of the aspect list; 0 (the frame's shape) for an unknown index.
float AspectOfChoice(int AIndex);

// The selection the spin edits show for a job's margins on a W x H frame: the whole frame when it has none.
TCropValues CropValuesOfJob(const TVideoFile& AJob, int AFrameWidth, int AFrameHeight);
// The job's margins from a selection; the selection is first kept inside the frame, so no margin is negative.
void StoreCropValues(TVideoFile& AJob, const TCropValues& AValues, int AFrameWidth, int AFrameHeight);

// How long the start-together wait waits for both players to pause before it starts whichever opened.
inline constexpr DWORD kStartTogetherTimeoutMs = 5000;

class TCropForm : public TForm {
public:
    // ASkinData skins the frame and the controls (nullptr: the plain look) and outlives the form.
    TCropForm(TComponent* AOwner, TspSkinData* ASkinData);
    ~TCropForm() override;

    // The run's jobs and events log, and the folder of the executable (its "LibAV" holds the media libraries). Without them the dialog opens nothing and stores nothing.
    void Attach(TConverterState* AState, const std::string& AExeFolder);
    TReportErrorEvent ReportError;
    // The main window's volume for the source player; empty: full volume.
    std::function<int()> MainVolume;

    // The skin folder's Play, Pause and Stop pictures (play.png, pause.png, stop.png) in place of the buttons'
    // text; a button whose picture cannot be read keeps its text.
    void LoadButtonPictures(const std::string& ASkinFolder);

    // Show: filters registered, live filter text set, both players open the selected job and start together.
    void UpdateVideoFilters();
    void OpenVideo(const std::string& AFileName, bool AIsPaused);

    // Commands and handlers, as the controls call them.
    void PlayButtonClick(TObject* Sender);
    void PauseButtonClick(TObject* Sender);
    void StopButtonClick(TObject* Sender);
    void ResetAllClick(TObject* Sender);  // "Reset All"
    void ApplyClick(TObject* Sender);     // "Apply"
    void OKClick(TObject* Sender);
    void CancelClick(TObject* Sender);
    void cmbAspectRatioChange(TObject* Sender);
    void edLeftChange(TObject* Sender);  // shared by the four spin edits
    void videotrackbarStartDragButton(TObject* Sender);
    void videotrackbarLastChange(TObject* Sender);

    // The selection (handles, lines, spin edits, output preview).
    void ValuesToCropArea();
    void CropAreaToEdits(bool AIsReset);
    void ValuesToPreviewArea();
    void HandleMouseDown(TCropHandle AHandle, TMouseButton Button, int X, int Y);
    void HandleMouseMove(TCropHandle AHandle, int X, int Y);
    void HandleMouseUp();

    // The selection the spin edits hold, in picture pixels.
    TCropValues EditValues() const;
    int CropFrameWidth() const { return FCropFrameWidth; }
    int CropFrameHeight() const { return FCropFrameHeight; }
    const TPictureBounds& PictureBounds() const { return FPictureBounds; }
    const TLiveAdjustments& LiveAdjustments() const { return FLive; }
    // Whether this show's first file-open loaded the job's values; Apply and OK wait for it.
    bool ValuesLoaded() const { return FValuesLoaded; }
    TPlayState SourcePlayState() const { return FSourcePlayState; }

    TspCorvalis* spCorvalis1 = nullptr;
    TPanel* panPreview1 = nullptr;
    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TPanel* panPreview2 = nullptr;
    // In the order of TCropHandle.
    std::array<TPanel*, 8> Handles{};
    TPanel* lnleft = nullptr;
    TPanel* lntop = nullptr;
    TPanel* lnright = nullptr;
    TPanel* lnBottom = nullptr;
    TspSkinButton* PlayButton = nullptr;
    TspSkinButton* PauseButton = nullptr;
    TspSkinButton* StopButton = nullptr;
    TspPngImageList* PlayerImages = nullptr;
    TspSkinTrackBar* videotrackbar = nullptr;
    TspSkinComboBox* cmbAspectRatio = nullptr;
    TspSkinSpinEdit* edLeft = nullptr;
    TspSkinSpinEdit* edTop = nullptr;
    TspSkinSpinEdit* edWidth = nullptr;
    TspSkinSpinEdit* edHeight = nullptr;
    TspSkinCheckRadioBox* chBrightness = nullptr;
    TspSkinCheckRadioBox* chContrast = nullptr;
    TspSkinCheckRadioBox* chSaturation = nullptr;
    TspSkinTrackBar* tbBrightness = nullptr;
    TspSkinTrackBar* tbContrast = nullptr;
    TspSkinTrackBar* tbSaturation = nullptr;
    TspSkinButton* spSkinButton2 = nullptr;  // Reset All
    TspSkinButton* spSkinButton1 = nullptr;  // Apply
    TspSkinButton* spSkinButton4 = nullptr;  // OK
    TspSkinButton* spSkinButton5 = nullptr;  // Cancel

private:
    // Declared before the players, so that it goes after them: they read its cells while they play.
    TLiveAdjustments FLive;

public:
    std::unique_ptr<TFFPlayer> FFPlayer1;  // source: SDL copy 1, draws into panPreview1
    std::unique_ptr<TFFPlayer> FFPlayer2;  // output: SDL copy 2, muted, through the filters into panPreview2

protected:
    void DoShow() override;
    void DoClose(TCloseAction& AAction) override;

private:
    void BuildPreviews(TspSkinData* ASkin);
    void BuildSelection();
    void BuildControls(TspSkinData* ASkin);
    void BindPlayers();
    // Opens one player into its panel; false when it failed (reported).
    bool OpenPlayer(TFFPlayer& APlayer, int APlayerNumber, TPanel* AScreen, const std::string& AFileName);
    void FFPlayer1FileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight);
    void FFPlayer1Position(int64_t APosition);
    void FFPlayer1State(TPlayState AState);
    void FFPlayer2State(TPlayState AState);
    void FFPlayer2VideoHook();
    void SliderStartDrag(TspSkinCheckRadioBox* ABox);
    void CheckBoxClick(TspSkinCheckRadioBox* ABox, TspSkinTrackBar* ASlider);
    void LoadJobValues(const TVideoFile& AJob);
    // Sets a spin edit or the aspect list without its change event laying out the selection.
    void SetQuietly(TspSkinSpinEdit* AEdit, int AValue);
    void SelectAspectQuietly(int AIndex);
    void ShowCropArea();
    // The source player's picture lies in a window of the display above everything painted in the form; the
    // plain white handles and lines get windows of their own above it so that they stay in sight.
    void KeepSelectionAboveSource();
    void Report(const std::string& AText, const std::string& AMark);
    TVideoFile* SelectedJob() const;

    TConverterState* FState = nullptr;
    std::string FExeFolder;
    int64_t FDuration = 0;
    int FCropFrameWidth = 0, FCropFrameHeight = 0;
    TPictureBounds FPictureBounds;
    TCropArea FArea;
    TPlayState FSourcePlayState = psStop;
    bool FFirstOpenAfterShow = false;
    bool FValuesLoaded = false;
    std::atomic<bool> FResizeOutputOnce{false};
    bool FEditTrackDragging = false;
    bool FSuppressCropEditChange = false;
    bool FHandleDragging = false;
    TPoint FGrab{};
};
