#pragma once
// The converter's main window: the skinned frame and menu bar, the job grid with its buttons and context menu,
// the profile field, the output-folder box, the preview area and the links, built in code. Its start-up
// loading (Load) runs once the application has created every window, so that a failure it reports reaches the
// real "Error!" dialog.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/error_report_event.h"
#include "app/ui/main_commands.h"
#include "app/ui/startup_sequence.h"
#include "platform/gui/forms.h"
#include "skin/dialogs/grids/grid_types.h"

class TBitmap;
class TConvForm;
class TConversion;
class TCustomEncoder;
class TFFPlayer;
class TFileAdder;
class TImage;
class TMainMenu;
class TMenuItem;
class TPopupMenu;
class TspCorvalis;
class TspSkinHint;
class TspPngImageList;
class TspSkinButton;
class TspSkinButtonLabel;
class TspSkinCheckRadioBox;
class TspSkinData;
class TspSkinDirectoryEdit;
class TspSkinEdit;
class TspSkinMainMenuBar;
class TspSkinMenuButton;
class TspSkinNotebook;
class TspSkinOpenDialog;
class TspSkinPanel;
class TspSkinPopupMenu;
class TspSkinStdLabel;
class TspSkinSelectDirectoryDialog;
class TspSkinStringGrid;
class TspSkinTrackBar;

inline constexpr const char* kApplicationTitle = "Quennary";
inline constexpr const char* kJobGridCaptions[] = {"Source", "Length", "Size", "Destination", "Format"};

struct TVideoFile;
class TCatalogue;
// The text the job grid shows for a job in column ACol (Source, Length, Size, Destination, Format).
std::string JobCellText(const TVideoFile& AJob, const TCatalogue& ACatalogue, int ACol);

class TMainForm : public TForm {
public:
    // AState outlives the form. ASuiteArgument is the program's first command-line argument, empty when none.
    TMainForm(TComponent* AOwner, TConverterState& AState, std::string ASuiteArgument);

    // The start-up loading; answers whether every step ran.
    bool Load(TStartupServices AServices);
    TspSkinData* SkinData() const { return spSkinData1; }

    // What the other windows do for the main window's commands; an empty hook leaves the command without effect.
    std::function<void()> ShowEventsLog;
    std::function<void()> ShowAbout;
    std::function<void()> ShowFileInformation;
    std::function<void()> ShowProfileSettings;
    std::function<void(TPoint AFieldTopLeft)> ShowProfileChooser;  // the field's top-left corner on the screen
    std::function<bool(const std::string& ATarget)> OpenWithShell;       // a folder or an address
    std::function<bool(const std::string& AProgram)> StartSiblingProgram;  // a program beside the executable
    std::function<void(const std::string& AText)> ShowWarning;
    // Probes and appends added files; without one nothing is added.
    TFileAdder* FileAdder = nullptr;
    // Loads what the jobs need before the first file is added (the media libraries when start-up could not);
    // false, after reporting, when it cannot. Empty: nothing to load.
    std::function<bool()> PrepareMedia;
    // Edit dialog: opens it on the selected job.
    std::function<void()> ShowEdit;

    // Commands.
    void AddButtonClick(TObject* Sender);
    void FileInformation1Click(TObject* Sender);
    void StartButtonClick(TObject* Sender);
    void Exit1Click(TObject* Sender);
    void Remove1Click(TObject* Sender);
    void ClearAll1Click(TObject* Sender);
    void Rename1Click(TObject* Sender);
    void MoveUp1Click(TObject* Sender);
    void MoveDown1Click(TObject* Sender);
    void ClipButtonClick(TObject* Sender);
    void EditButtonClick(TObject* Sender);
    void SettingsButtonClick(TObject* Sender);
    void FindTargetButtonClick(TObject* Sender);
    void About1Click(TObject* Sender);
    void EventsLogMenuItemClick(TObject* Sender);
    void SwitchConverterClick(TObject* Sender);
    void Help2Click(TObject* Sender);
    void Support1Click(TObject* Sender);
    void MoreFreeware1Click(TObject* Sender);
    void LikeButtonClick(TObject* Sender);
    void TweetButtonClick(TObject* Sender);
    void OpenSnapshotFolderClick(TObject* Sender);
    void ChangeSnapshotFolderClick(TObject* Sender);
    void imgProfileFieldMouseEnter(TObject* Sender);
    void imgProfileFieldMouseLeave(TObject* Sender);
    void imgProfileButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The profile field shows a chosen format: its title and its profile's icon.
    void ShowProfileChoice(TFormatIndex AIndex);

    // The job grid and its title editor.
    void sgListClick(TObject* Sender);
    void sgListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void sgListDrawCell(TObject* Sender, Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState);
    void edDestinationTitleExit(TObject* Sender);
    void edDestinationTitleKeyPress(TObject* Sender, char32_t& Key);
    void chApplyToAllClick(TObject* Sender);
    // Dropped files, in the order of the drop; the selected row stays.
    void AddDroppedFiles(const std::vector<std::string>& APaths);

    // The items and buttons that wait for the first file, the main menu's among them.
    void EnableJobCommands(bool AEnabled);
    // Those of them an emptied list disables again: the Edit, Trim and Advanced... buttons and those below the
    // grid, the list menu's job items and "Snapshot".
    void EnableListCommands(bool AEnabled);

    // ---- conversion from the window (main_form_conversion.cpp) ----
    // Runs the Start command through AEncoder, with AForm as its "Conversion" dialog; failures go to AReport.
    // Both must outlive the form.
    void AttachConversion(TCustomEncoder& AEncoder, TConvForm& AForm, TReportErrorEvent AReport);
    // Stops the preview when it plays or is paused; filled by the preview, empty until then.
    std::function<void()> StopPreviewIfPlaying;
    // The run of the Start command; nullptr until a conversion is attached.
    TConversion* Conversion() const { return FConversion.get(); }

    // ---- preview player and snapshots (main_form_preview.cpp) ----
    // Failures of the preview with their report marks, and the snapshot's error box.
    TReportErrorEvent ReportPreviewError;
    std::function<void(const std::string& AText)> ShowError;
    void OpenVideo(const std::string& AFileName);
    void PlayButtonClick(TObject* Sender);
    void PauseButtonClick(TObject* Sender);
    void StopButtonClick(TObject* Sender);
    void VideoTrackBarStartDragButton(TObject* Sender);
    void VideoTrackBarLastChange(TObject* Sender);
    void VolumeTrackBarChange(TObject* Sender);
    void FFPlayerFileOpen(TObject* Sender, int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(TObject* Sender, int64_t APTS);
    void FFPlayerState(TObject* Sender, int APlayState);
    void JPEG1Click(TObject* Sender);
    void BMP1Click(TObject* Sender);
    void spSkinMenuButton1Click(TObject* Sender);
    TFFPlayer* FFPlayer = nullptr;
    TspSkinButton* PlayButton = nullptr;
    TspSkinButton* PauseButton = nullptr;
    TspSkinButton* StopButton = nullptr;
    TspSkinTrackBar* VideoTrackBar = nullptr;
    TspSkinTrackBar* VolumeTrackBar = nullptr;
    TspSkinStdLabel* lblPlayTime = nullptr;
    TMenuItem* Item12 = nullptr;  // "Snapshot"
    TMenuItem* JPEG1 = nullptr;
    TMenuItem* BMP1 = nullptr;
    // ---- Trim dialog ----
    // Shows the "Trim" dialog modally for the selected job; empty: the Trim command does nothing.
    std::function<void()> ShowTrim;

    TspSkinData* spSkinData1 = nullptr;
    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinHint* spSkinHint1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TspSkinMainMenuBar* MainMenuBar = nullptr;
    TMenuItem* SuiteMenu = nullptr;
    TMenuItem* SuiteMenuItem = nullptr;
    TspSkinPopupMenu* ListMenu = nullptr;
    TspSkinPopupMenu* spSkinPopupMenu1 = nullptr;

    TspPngImageList* LeftButtonsImages = nullptr;
    TspPngImageList* ConvertButtonImages = nullptr;
    TspPngImageList* PlayerImages = nullptr;
    TspPngImageList* LikeImages2 = nullptr;

    TspSkinButtonLabel* AddButton = nullptr;
    TspSkinButtonLabel* ClipButton = nullptr;
    TspSkinButtonLabel* EditButton = nullptr;
    TspSkinButtonLabel* StartButton = nullptr;
    TspSkinButtonLabel* LikeButton = nullptr;
    TspSkinButtonLabel* TweetButton = nullptr;

    TspSkinNotebook* spSkinNotebook1 = nullptr;
    TspSkinPanel* GettingStartedPanel = nullptr;
    TImage* GettingStartedImage = nullptr;
    TspSkinStdLabel* gsLabel1 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TspSkinStringGrid* sgList = nullptr;
    TspSkinEdit* edDestinationTitle = nullptr;  // over the Destination cell while a title is edited
    TspSkinOpenDialog* dlgopen = nullptr;

    TspSkinButton* RemoveButton = nullptr;
    TspSkinButton* MoveUpButton = nullptr;
    TspSkinButton* MoveDownButton = nullptr;
    TspSkinButton* RenameButton = nullptr;
    TspSkinButton* FileInfoButton = nullptr;
    TspSkinButton* SettingsButton = nullptr;
    TspSkinButton* FindTargetButton = nullptr;
    TspSkinCheckRadioBox* chApplyToAll = nullptr;
    TspSkinCheckRadioBox* chMerge = nullptr;

    TImage* imgProfileField = nullptr;
    TspSkinStdLabel* lblProfile = nullptr;
    TImage* imgProfileIcon = nullptr;
    TspSkinDirectoryEdit* edDestinationFolder = nullptr;
    TspSkinSelectDirectoryDialog* spSkinSelectDirectoryDialog1 = nullptr;

    TspSkinPanel* panPreview = nullptr;
    TImage* imgPlayerArea = nullptr;
    TspSkinStdLabel* lblPreview = nullptr;
    TspSkinMenuButton* spSkinMenuButton1 = nullptr;

    // Hidden pictures the grid and the profile field draw with.
    TImage* ProfileComboImage = nullptr;
    TImage* ProfileComboImageOver = nullptr;
    TImage* imgTableRow = nullptr;
    TImage* imgTableColumnCaptionBar = nullptr;
    TImage* Image3 = nullptr;
    TImage* VolumeImg = nullptr;

protected:
    void DoClose(TCloseAction& AAction) override;
    void WndProc(TMessage& AMessage) override;

private:
    // Convert was pressed while files were being added: the run starts once they are in.
    bool FStartAfterAdding = false;

    void BuildMenus();
    void BuildLeftColumn();
    void BuildJobArea();
    void BuildBottomPanel();
    void BuildPreview();
    TWindowSteps WindowSteps();
    void LoadPictures(const std::string& ASkinFolder);
    void ShowOptionalPictures(const std::string& ASkinFolder);
    void RefreshGrid();
    void BuildJobGrid();
    // Loads what the jobs need, then shows the grid and the preview and enables the job commands; false when
    // loading failed.
    bool PrepareAfterAdd();
    void EditDestinationTitle(int ARow);

    // ---- preview player and snapshots ----
    void BuildPreviewPlayer();
    // Loads the preview player's own SDL copy when it has none; false, after reporting, when it cannot.
    bool PreparePreviewSDL();
    bool SaveSnapshot(TBitmap* AFrame);
    int64_t FDuration = 0;  // of the open file, in microseconds
    TWinControl* FScreenControl = nullptr;
    int PreviewPlayState = 0;  // the player's last reported state (psPlay at start)
    bool PreviewTrackDragging = false;
    int SnapshotFormat = 0;  // 0 JPEG, 1 BMP

    TConverterState& FState;
    std::string FSuiteArgument;
    std::vector<TMenuItem*> FMainMenuJobItems;  // enabled by the first file, kept after Clear All
    std::vector<TMenuItem*> FJobItems;          // enabled by the first file, disabled by Clear All
    std::vector<TControl*> FJobControls;        // the same

    // ---- conversion from the window ----
    std::shared_ptr<TConversion> FConversion;  // holds the encoder link it drives too
};
