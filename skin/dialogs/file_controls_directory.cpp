#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/inner_list_box.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/file_controls.h"
#include "skin/dialogs/file_controls_links.h"
#include "skin/dialogs/file_controls_pictures.h"
#include "skin/dialogs/file_controls_volumes.h"
#include "skin/dialogs/path_helpers.h"

namespace {

// The visible subfolders of AFolder (dot names are hidden), sorted without regard to case, exact order breaking
// ties so that "a" and "A" keep one order.
std::vector<std::string> SubfoldersOf(const std::string& AFolder)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(AFolder.c_str())) {
        while (struct dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.empty() || name[0] == '.') continue;
            if (FolderExists(AppendPathPart(AFolder, name))) names.push_back(name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const Integer c = AnsiCompareText(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

Integer SlashCount(const std::string& S) { return static_cast<Integer>(std::count(S.begin(), S.end(), '/')); }

}  // namespace

TspSkinDirectoryListBox::TspSkinDirectoryListBox(TComponent* AOwner)
    : TspSkinCustomListBox(AOwner),
      ClosedBMP(MakeFileControlPicture(TFileControlPicture::ClosedFolder)),
      OpenedBMP(MakeFileControlPicture(TFileControlPicture::OpenFolder)),
      CurrentBMP(MakeFileControlPicture(TFileControlPicture::CurrentFolder)),
      FDirectory(CurrentFolder())
{
    OnDrawItem = [this](TCanvas* Cnvs, Integer Index, Integer, Integer, TRect TxtRect, TOwnerDrawState) {
        DrawFolderItem(Cnvs, Index, TxtRect);
    };
    SetBounds(Left(), Top(), 145, Height());
    SetSorted(false);
}

// As the filter box: partners are told through notices, never touched while going.
TspSkinDirectoryListBox::~TspSkinDirectoryListBox() = default;

void TspSkinDirectoryListBox::CreateWnd()
{
    TspSkinCustomListBox::CreateWnd();
    BuildFolderList();
}

std::string TspSkinDirectoryListBox::Drive() const { return MountPointOf(FDirectory); }

void TspSkinDirectoryListBox::SetDrive(const std::string& AValue)
{
    if (AValue != Drive()) SetDirectory(AValue);
}

void TspSkinDirectoryListBox::BuildFolderList()
{
    TListBoxStrings* items = Items();
    items->Clear();
    const std::string mount = MountPointOf(FDirectory);
    FCaseSensitive = VolumeIsCaseSensitive(mount);
    FPreserveCase = VolumePreservesCase(mount);
    // The root, each ancestor, then the folder itself.
    if (FDirectory == "/") {
        items->AddObject("/", CurrentBMP.get());
    } else {
        items->AddObject("/", OpenedBMP.get());
        std::string rest = FDirectory.substr(1);
        for (size_t slash = rest.find('/'); slash != std::string::npos; slash = rest.find('/')) {
            items->AddObject(rest.substr(0, slash), OpenedBMP.get());
            rest.erase(0, slash + 1);
        }
        items->AddObject(rest, CurrentBMP.get());
    }
    const Integer current = items->Count() - 1;
    for (const std::string& name : SubfoldersOf(FDirectory)) items->AddObject(name, ClosedBMP.get());
    if (HandleAllocated()) {
        SetItemIndex(current);
        InvalidateItemWidths();  // the pictures came after the items were measured
        UpDateScrollBar();
    }
}

void TspSkinDirectoryListBox::SetDirectory(const std::string& AValue)
{
    if (AValue.empty() || FileCompareText(AValue, FDirectory) == 0) return;
    // Typed relative paths are taken in this list's folder, whatever the process's current one is.
    if (FolderExists(FDirectory)) EnterFolder(FDirectory);
    const TEditPathParts parts = SplitEditPath(AValue);
    if (parts.Drive != Drive()) {
        FInSetDir = true;
        struct TReset {
            bool& Flag;
            ~TReset() { Flag = false; }
        } reset{FInSetDir};
        if (FDriveCombo)
            FDriveCombo->SetDrive(parts.Drive);
        else
            DriveChange(parts.Drive);
    }
    if (FolderExists(FDirectory)) EnterFolder(FDirectory);
    EnterFolder(parts.DirPart);
    FDirectory = CurrentFolder();
    BuildFolderList();
    DirectoryChanged();
}

void TspSkinDirectoryListBox::DriveChange(const std::string& ANewDrive)
{
    if (ANewDrive == Drive()) return;
    if (!ANewDrive.empty()) {
        // A volume that cannot be entered leaves the list where it was, unreported.
        try {
            EnterFolder(ANewDrive);
            FDirectory = CurrentFolder();
        } catch (const EInOutError&) {
        }
    }
    if (!FInSetDir) {
        BuildFolderList();
        DirectoryChanged();
    }
}

void TspSkinDirectoryListBox::DirectoryChanged()
{
    if (FFileList) FFileList->SetDirectory(FDirectory);
    UpdateLabel();
    if (OnChange) OnChange(this);
}

void TspSkinDirectoryListBox::UpdateLabel()
{
    if (!FDirLabel) return;
    // Measured in the label's font; a graphic control's own canvas draws only while it paints.
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(FDirLabel->Font());
    const Integer width = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
    FDirLabel->SetCaption(FitPathToWidth(FDirectory, measure.Canvas(), width));
}

void TspSkinDirectoryListBox::UpdateList()
{
    BuildFolderList();
    DirectoryChanged();
}

std::string TspSkinDirectoryListBox::DisplayCase(const std::string& S) const
{
    return FPreserveCase || FCaseSensitive ? S : AnsiLowerCase(S);
}

Integer TspSkinDirectoryListBox::FileCompareText(const std::string& A, const std::string& B) const
{
    return FCaseSensitive ? CompareStr(A, B) : CompareStr(AnsiLowerCase(A), AnsiLowerCase(B));
}

std::string TspSkinDirectoryListBox::GetItemPath(Integer AIndex) const
{
    auto* self = const_cast<TspSkinDirectoryListBox*>(this);
    TListBoxStrings* items = self->Items();
    if (AIndex < 0 || AIndex >= items->Count()) return {};
    if (AIndex == 0) return "/";
    const void* picture = items->Objects(AIndex);
    if (picture == ClosedBMP.get()) return AppendPathPart(FDirectory, items->Strings(AIndex));
    if (picture == CurrentBMP.get()) return FDirectory;
    // An ancestor: the folder up to, not including, its (AIndex + 1)-th "/".
    size_t at = 0;
    for (Integer i = 0; i <= AIndex && at != std::string::npos; ++i) at = FDirectory.find('/', i == 0 ? 0 : at + 1);
    return at == std::string::npos ? FDirectory : FDirectory.substr(0, at);
}

void TspSkinDirectoryListBox::OpenCurrent() { SetDirectory(GetItemPath(ItemIndex())); }

void TspSkinDirectoryListBox::ListBoxDblClick()
{
    TspSkinCustomListBox::ListBoxDblClick();
    OpenCurrent();
}

void TspSkinDirectoryListBox::ListBoxKeyPress(char32_t& AKey)
{
    TspSkinCustomListBox::ListBoxKeyPress(AKey);
    if (AKey == 13) OpenCurrent();
}

void TspSkinDirectoryListBox::SetFileList(TspSkinFileListBox* AValue)
{
    SetFileControlLink(this, &TspSkinDirectoryListBox::FFileList, &TspSkinFileListBox::FDirList, AValue);
}

void TspSkinDirectoryListBox::SetDirLabel(TspSkinStdLabel* AValue)
{
    if (FDirLabel == AValue) return;
    if (FDirLabel) FDirLabel->RemoveFreeNotification(this);
    FDirLabel = AValue;
    if (FDirLabel) {
        FDirLabel->FreeNotification(this);
        UpdateLabel();
    }
}

void TspSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomListBox::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FFileList) FFileList = nullptr;
    if (AComponent == FDriveCombo) FDriveCombo = nullptr;
    if (AComponent == FDirLabel) FDirLabel = nullptr;
}

TBitmap* TspSkinDirectoryListBox::PictureOf(Integer AIndex) const
{
    auto* self = const_cast<TspSkinDirectoryListBox*>(this);
    return AIndex >= 0 && AIndex < self->Items()->Count() ? static_cast<TBitmap*>(self->Items()->Objects(AIndex))
                                                          : nullptr;
}

Integer TspSkinDirectoryListBox::IndentOf(Integer AIndex) const
{
    if (PictureOf(AIndex) == ClosedBMP.get()) return 4 * SlashCount(FDirectory) + 6;
    return AIndex * 4 + 2;
}

void TspSkinDirectoryListBox::DrawFolderItem(TCanvas* Cnvs, Integer Index, TRect TxtRect)
{
    TBitmap* picture = PictureOf(Index);
    const Integer indent = IndentOf(Index);
    const Integer scrolled = ListBox() ? ListBox()->FHorizontalExtentValue : 0;
    const Integer w = picture ? picture->Width() : 16;
    if (picture)
        Cnvs->Draw(TxtRect.Left + indent - scrolled, (TxtRect.Top + TxtRect.Bottom - picture->Height()) / 2, picture);
    Cnvs->Brush()->SetStyle(bsClear);
    const std::string text = Items()->Strings(Index);
    const Integer y = (TxtRect.Top + TxtRect.Bottom - Cnvs->TextHeight(text)) / 2;
    Cnvs->TextRect(TxtRect, TxtRect.Left + indent + w + 6 - scrolled, y, text);
}

Integer TspSkinDirectoryListBox::CalcItemWidth(Integer AIndex, TCanvas* ACanvas)
{
    TBitmap* picture = PictureOf(AIndex);
    return TspSkinCustomListBox::CalcItemWidth(AIndex, ACanvas) + IndentOf(AIndex) + (picture ? picture->Width() : 16) +
           4;
}
