#pragma once
// The "Trim" dialog: the selected job's file plays in the dialog's own player, and the part to convert is chosen
// with two handles under the position bar, the playing position or typed times; "OK" stores the range in the job
// and has its size estimated again. The rules live in TTrimLogic; this form shows them and feeds them the mouse,
// the buttons and the player's events. Created once at start-up, shown modally for each trim.
#include <functional>
#include <memory>
#include <string>

#include "app/error_report_event.h"
#include "app/ui/trim_logic.h"
#include "platform/gui/forms.h"

class TEventsLog;
class TFFPlayer;
class TImage;
class TJobList;
class TPanel;
class TShape;
class TspCorvalis;
class TspPngImageList;
class TspSkinButton;
class TspSkinData;
class TspSkinLabel;
class TspSkinSpeedButton;
class TspSkinStdLabel;
class TspSkinTimeEdit;
class TspSkinTrackBar;

class TClipForm : public TForm {
public:
    // Builds the form and its controls in code in the given skin (nullptr: the plain look); the skin outlives the
    // form.
    TClipForm(TComponent* AOwner, TspSkinData* ASkinData);
    ~TClipForm() override;

    // The jobs whose selected job is trimmed, the events log and the error report; the folder beside the
    // executable that holds the media libraries ("LibAV"). All outlive the form. Without jobs the dialog shows
    // nothing and stores nothing.
    void Attach(TJobList* AJobs, TEventsLog* AEventsLog, TReportErrorEvent AReportError, std::string AExeFolder);
    // The handle pictures and the player buttons' pictures from the skin folder.
    void LoadPictures(const std::string& ASkinFolder);

    // The grid shows the new length and size after "OK"; a refused typed time is shown to the user. An empty hook
    // does nothing.
    std::function<void()> RepaintJobs;
    std::function<void(const std::string& AText)> ShowError;

    // Opens a file into the dialog's screen, playing, loading the player's libraries on first use.
    bool OpenFile(const std::string& AFileName);
    const TTrimLogic& Logic() const { return *FLogic; }

    void FFPlayer2FileOpen(TObject* Sender, int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                           int& AScreenHeight);
    void FFPlayer2Position(TObject* Sender, int64_t APos);
    void FFPlayer2State(TObject* Sender, TPlayState AState);
    void imgTrimMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void imgTrimMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void imgTrimMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void spSkinButton1Click(TObject* Sender);       // Set start
    void spSkinButton2Click(TObject* Sender);       // Play trimmed part
    void spSkinButton3Click(TObject* Sender);       // Set end
    void spSkinSpeedButton1Click(TObject* Sender);  // the typed start
    void spSkinSpeedButton2Click(TObject* Sender);  // the typed end
    void PlayButtonClick(TObject* Sender);
    void PauseButtonClick(TObject* Sender);
    void StopButtonClick(TObject* Sender);
    void videotrackbar2StartDragButton(TObject* Sender);
    void videotrackbar2LastChange(TObject* Sender);
    void spSkinButton4Click(TObject* Sender);  // OK
    void spSkinButton5Click(TObject* Sender);  // Cancel
    void spSkinButton6Click(TObject* Sender);  // Reset

    TspCorvalis* spCorvalis1 = nullptr;
    TFFPlayer* FFPlayer2 = nullptr;
    TPanel* panPreview = nullptr;
    TspSkinTrackBar* videotrackbar2 = nullptr;
    TImage* imgTrimLeft = nullptr;
    TImage* imgTrimRight = nullptr;
    TShape* TrimmedTimeLine = nullptr;
    TspPngImageList* PlayerImages = nullptr;
    TspSkinButton* PlayButton = nullptr;
    TspSkinButton* PauseButton = nullptr;
    TspSkinButton* StopButton = nullptr;
    TspSkinButton* spSkinButton1 = nullptr;
    TspSkinButton* spSkinButton2 = nullptr;
    TspSkinButton* spSkinButton3 = nullptr;
    TspSkinLabel* lblPlayTime = nullptr;
    TspSkinTimeEdit* TimeStart = nullptr;
    TspSkinTimeEdit* TimeEnd = nullptr;
    TspSkinSpeedButton* spSkinSpeedButton1 = nullptr;
    TspSkinSpeedButton* spSkinSpeedButton2 = nullptr;
    TspSkinButton* spSkinButton4 = nullptr;
    TspSkinButton* spSkinButton5 = nullptr;
    TspSkinButton* spSkinButton6 = nullptr;

protected:
    // Each show loads the selected job's range, opens its file playing and places the handles.
    void DoShow() override;
    // Closing ends the loop and stops the player.
    void DoClose(TCloseAction& AAction) override;

private:
    class TPlayerLink;
    void BuildControls(TspSkinData* ASkin);
    void BuildPlayerButtons(TspSkinData* ASkin);
    void BuildTimeEdits(TspSkinData* ASkin);
    bool LoadPlayerLibraries();
    void ReportOpenFailure(const std::string& AText, const std::string& AMark);
    // Shows what the logic holds: handles, line, bar, texts, and whether the trim commands can be used.
    void ShowLogic();
    TTrimSide SideOf(TObject* AHandle) const;
    void TypedTime(TspSkinTimeEdit* AEdit, bool (TTrimLogic::*AType)(const std::string&));
    void RaisePlayButtons();

    TJobList* FJobs = nullptr;
    TEventsLog* FEventsLog = nullptr;
    TReportErrorEvent FReportError;
    std::string FExeFolder;
    std::unique_ptr<TPlayerLink> FPlayerLink;
    std::unique_ptr<TTrimLogic> FLogic;
    TControl* FScreenControl = nullptr;  // panPreview while a file is open
};
