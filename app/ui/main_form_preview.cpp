// The main window's preview: the player drawing into panPreview's native window, its buttons, position and
// volume bars and time label, and snapshots of the picture on screen as JPEG or BMP files.
#include <unistd.h>

#include <cstdio>

#include "app/time_text.h"
#include "app/ui/main_form.h"
#include "app/ui/player_screen.h"
#include "app/ui/player_sdl_copy.h"
#include "media/player/player.h"
#include "media/player/player_display_bitmap.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/jpeg_image.h"
#include "platform/gui/menus.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/menu_button.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/controls/track_bar.h"
#include "skin/core/png_image_list.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/forms/popup_menu.h"

namespace {

constexpr const char* kSnapshotError = "Cannot take snapshot.\r\nMake sure Snapshot Folder is available.";
constexpr int kJpegSnapshotQuality = 90;

std::string PlayTimeText(int64_t APosition, int64_t ADuration)
{
    return FormatMicroseconds(APosition) + " / " + FormatMicroseconds(ADuration);
}

TMenuItem* AddMenuItem(TComponent* AOwner, TMenuItem* AParent, const std::string& ACaption, TNotifyEvent AClick)
{
    auto* item = new TMenuItem(AOwner);
    item->SetCaption(ACaption);
    item->OnClick = std::move(AClick);
    AParent->Add(item);
    return item;
}

}  // namespace

void TMainForm::BuildPreviewPlayer()
{
    lblPreview = new TspSkinStdLabel(this);
    lblPreview->SetParent(this);
    lblPreview->SetSkinData(spSkinData1);
    lblPreview->SetAutoSize(false);
    lblPreview->SetBounds(490, 310, 144, 18);
    lblPreview->SetCaption("Preview:");
    lblPlayTime = new TspSkinStdLabel(this);
    lblPlayTime->SetParent(this);
    lblPlayTime->SetSkinData(spSkinData1);
    lblPlayTime->SetAutoSize(false);
    lblPlayTime->SetAlignment(taRightJustify);
    lblPlayTime->SetBounds(634, 310, 120, 18);
    lblPlayTime->SetCaption(PlayTimeText(0, 0));

    // The player draws into the panel's own window; the idle picture covers it while nothing plays.
    panPreview = new TspSkinPanel(this);
    panPreview->SetParent(this);
    panPreview->SetSkinData(spSkinData1);
    panPreview->SetBounds(490, 328, 264, 178);
    imgPlayerArea = new TImage(panPreview);
    imgPlayerArea->SetParent(panPreview);
    imgPlayerArea->SetBounds(0, 0, 264, 178);
    imgPlayerArea->SetStretch(true);
    FScreenControl = panPreview;

    FFPlayer = new TFFPlayer(this);
    FFPlayer->OnFileOpen = [this](TObject* S, int64_t D, int W, int H, int& SW, int& SH) {
        FFPlayerFileOpen(S, D, W, H, SW, SH);
    };
    FFPlayer->OnPosition = [this](TObject* S, int64_t P) { FFPlayerPosition(S, P); };
    FFPlayer->OnState = [this](TObject* S, TPlayState A) { FFPlayerState(S, A); };
    PreviewPlayState = psPlay;
    StopPreviewIfPlaying = [this] {
        if (FFPlayer->PlayState() == psPlay || FFPlayer->PlayState() == psPause) StopButtonClick(nullptr);
    };

    VideoTrackBar = new TspSkinTrackBar(this);
    VideoTrackBar->SetParent(this);
    VideoTrackBar->SetSkinData(spSkinData1);
    VideoTrackBar->SetBounds(490, 508, 264, 16);
    VideoTrackBar->SetMinValue(0);
    VideoTrackBar->SetMaxValue(1000);
    VideoTrackBar->SetValue(0);
    VideoTrackBar->OnStartDragButton = [this](TObject* S) { VideoTrackBarStartDragButton(S); };
    VideoTrackBar->OnLastChange = [this](TObject* S) { VideoTrackBarLastChange(S); };

    auto button = [this](int ALeft, int AImage, TNotifyEvent AClick) {
        auto* b = new TspSkinButton(this);
        b->SetParent(this);
        b->SetSkinData(spSkinData1);
        b->SetBounds(ALeft, 526, 24, 24);
        b->SetImageList(PlayerImages);
        b->SetImageIndex(AImage);
        b->OnClick = std::move(AClick);
        return b;
    };
    PlayButton = button(490, 0, [this](TObject* S) { PlayButtonClick(S); });
    PauseButton = button(490, 1, [this](TObject* S) { PauseButtonClick(S); });
    StopButton = button(518, 2, [this](TObject* S) { StopButtonClick(S); });
    PlayButton->SetGroupIndex(1);
    PauseButton->SetGroupIndex(1);
    PauseButton->SetVisible(false);

    VolumeImg = new TImage(this);
    VolumeImg->SetParent(this);
    VolumeImg->SetBounds(552, 530, 16, 16);
    VolumeTrackBar = new TspSkinTrackBar(this);
    VolumeTrackBar->SetParent(this);
    VolumeTrackBar->SetSkinData(spSkinData1);
    VolumeTrackBar->SetBounds(572, 529, 100, 18);
    VolumeTrackBar->SetMinValue(0);
    VolumeTrackBar->SetMaxValue(MaxAudioVolume);
    VolumeTrackBar->SetValue(MaxAudioVolume);
    VolumeTrackBar->OnChange = [this](TObject* S) { VolumeTrackBarChange(S); };

    // The camera: a click takes a snapshot, the drop-down part opens the snapshot menu.
    spSkinPopupMenu1 = new TspSkinPopupMenu(this);
    spSkinPopupMenu1->SetSkinData(spSkinData1);
    TMenuItem* snapshots = spSkinPopupMenu1->Items();
    Item12 = AddMenuItem(this, snapshots, "Snapshot", [this](TObject* S) { spSkinMenuButton1Click(S); });
    FJobItems.push_back(Item12);
    AddMenuItem(this, snapshots, "Open Snapshot Folder", [this](TObject* S) { OpenSnapshotFolderClick(S); });
    AddMenuItem(this, snapshots, "Change Snapshot Folder", [this](TObject* S) { ChangeSnapshotFolderClick(S); });
    spSkinSelectDirectoryDialog1 = new TspSkinSelectDirectoryDialog(this);
    spSkinSelectDirectoryDialog1->Title = "Select folder";
    spSkinSelectDirectoryDialog1->SetSkinData(spSkinData1);
    spSkinSelectDirectoryDialog1->SetCtrlSkinData(spSkinData1);
    TMenuItem* format = AddMenuItem(this, snapshots, "Change Snapshot Format", {});
    JPEG1 = AddMenuItem(this, format, "JPEG", [this](TObject* S) { JPEG1Click(S); });
    BMP1 = AddMenuItem(this, format, "BMP", [this](TObject* S) { BMP1Click(S); });
    for (TMenuItem* item : {JPEG1, BMP1}) item->SetRadioItem(true);
    JPEG1->SetChecked(true);
    spSkinMenuButton1 = new TspSkinMenuButton(this);
    spSkinMenuButton1->SetParent(this);
    spSkinMenuButton1->SetSkinData(spSkinData1);
    spSkinMenuButton1->SetBounds(714, 526, 40, 24);
    spSkinMenuButton1->SetImageList(PlayerImages);
    spSkinMenuButton1->SetImageIndex(3);
    spSkinMenuButton1->SetTrackButtonMode(true);
    spSkinMenuButton1->SetSkinPopupMenu(spSkinPopupMenu1);
    spSkinMenuButton1->OnClick = [this](TObject* S) { spSkinMenuButton1Click(S); };
}

bool TMainForm::PreparePreviewSDL()
{
    const std::string error = LoadPlayerSDLCopy(*FFPlayer, kMainPreviewPlayer);
    if (error.empty()) return true;
    FState.EventsLog.AddBare(error);
    if (ReportPreviewError) ReportPreviewError("Error loading SDL library", "CLM_SDlLibLoad");
    return false;
}

void TMainForm::OpenVideo(const std::string& AFileName)
{
    auto fail = [this](const char* AMark) {
        FState.EventsLog.Add(FFPlayer->LastErrMsg());
        if (ReportPreviewError) ReportPreviewError(FFPlayer->LastErrMsg(), AMark);
    };
    if (!FFPlayer->AVLibLoaded() && !FFPlayer->LoadAVLib(GetExecutableFolder() + kMediaLibraryFolderName)) {
        fail("CLM_LoadAVLib");
        return;
    }
    FScreenControl = panPreview;
    if (FFPlayer->Open(AFileName, panPreview->Handle(), false))
        PauseButton->SetVisible(true);
    else
        fail("CLM_FFPlayerOpen");
}

void TMainForm::PlayButtonClick(TObject*)
{
    const TVideoFile* job = FState.Jobs.SelectedJob();
    if (!job) {
        PlayButton->SetDown(false);  // a grouped button left down would take no further click
        return;
    }
    PauseButton->SetVisible(true);
    imgPlayerArea->SetVisible(false);
    if (PreviewPlayState == psPause) {
        FFPlayer->Resume();
        return;
    }
    const std::string source = job->Source;  // the open's events may change the list
    if (FileExists(source)) lblPreview->SetCaption("Preview: " + ExtractFileName(source));
    OpenVideo(source);
}

void TMainForm::PauseButtonClick(TObject*)
{
    FFPlayer->TogglePause();
    PauseButton->SetVisible(false);
    PlayButton->Invalidate();  // the display does not repaint a sibling uncovered by a hidden window by itself
}

void TMainForm::StopButtonClick(TObject*)
{
    PlayButton->SetDown(false);
    PauseButton->SetDown(false);
    FFPlayer->Stop(true);
    VideoTrackBar->SetValue(0);
    panPreview->Repaint();
    imgPlayerArea->SetVisible(true);
    PauseButton->SetVisible(false);
    PlayButton->Invalidate();
    lblPlayTime->SetCaption(PlayTimeText(FDuration, FDuration));
}

void TMainForm::FFPlayerFileOpen(TObject*, int64_t ADuration, int, int, int& AScreenWidth, int& AScreenHeight)
{
    FitPictureToScreen(FScreenControl, AScreenWidth, AScreenHeight);
    FDuration = ADuration;
}

void TMainForm::FFPlayerPosition(TObject*, int64_t APTS)
{
    if (APTS >= 0 && FDuration > 0 && !IsPrimaryButtonDown() && !PreviewTrackDragging)
        VideoTrackBar->SetValue(static_cast<Integer>(APTS * VideoTrackBar->MaxValue() / FDuration));
    if (APTS > 0) lblPlayTime->SetCaption(PlayTimeText(APTS, FDuration));
}

void TMainForm::FFPlayerState(TObject*, int APlayState)
{
    PreviewPlayState = APlayState;
    if (APlayState == psEnd) StopButtonClick(nullptr);
}

void TMainForm::VideoTrackBarStartDragButton(TObject*) { PreviewTrackDragging = true; }

void TMainForm::VideoTrackBarLastChange(TObject*)
{
    if (IsPrimaryButtonDown()) return;
    FFPlayer->Seek(FDuration * VideoTrackBar->Value() / VideoTrackBar->MaxValue(), TSeekFlags{}, false);
    PreviewTrackDragging = false;
}

void TMainForm::VolumeTrackBarChange(TObject*) { FFPlayer->SetAudioVolume(VolumeTrackBar->Value()); }

void TMainForm::JPEG1Click(TObject*)
{
    SnapshotFormat = 0;
    JPEG1->SetChecked(true);
    BMP1->SetChecked(false);
}

void TMainForm::BMP1Click(TObject*)
{
    SnapshotFormat = 1;
    BMP1->SetChecked(true);
    JPEG1->SetChecked(false);
}

void TMainForm::spSkinMenuButton1Click(TObject*)
{
    TBitmap frame;
    if (TBitmap* shown = FFPlayer->CurrentFrame()) frame.Assign(shown);
    if (frame.Width() == 0) return;  // nothing on screen
    if (!SaveSnapshot(&frame) && ShowError) ShowError(kSnapshotError);
}

bool TMainForm::SaveSnapshot(TBitmap* AFrame)
{
    const TVideoFile* job = FState.Jobs.SelectedJob();
    if (!job || FState.Settings.ScreenShotsPath.empty()) return false;
    const bool jpeg = SnapshotFormat == 0;
    int& next = jpeg ? FState.JpegSnapshotNumber : FState.BmpSnapshotNumber;
    // Numbers restart with every run: a file an earlier run wrote keeps its number and is not overwritten.
    const std::string stem = IncludeTrailingPathDelimiter(FState.Settings.ScreenShotsPath) + job->DestinationTitle + "_";
    const std::string extension = jpeg ? ".jpg" : ".bmp";
    int number = next;
    while (FileExists(stem + std::to_string(number) + extension)) ++number;
    const std::string name = stem + std::to_string(number) + extension;
    try {
        if (jpeg) {
            TJPEGImage image;
            image.SetCompressionQuality(kJpegSnapshotQuality);
            image.Assign(AFrame);
            image.SaveToFile(name);
        } else {
            AFrame->SaveToFile(name);
        }
    } catch (const Exception&) {
        unlink(name.c_str());  // no half-written file under the name
        return false;
    }
    next = number + 1;
    return true;
}
