#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "platform/controls/custom_edit.h"
#include "platform/gui/screen.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/inner_list_box.h"
#include "skin/dialogs/file_controls.h"
#include "skin/dialogs/file_controls_volumes.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/path_helpers.h"

namespace {

constexpr Integer kAttrReadOnly = 0x01, kAttrHidden = 0x02, kAttrSystem = 0x04, kAttrDirectory = 0x10,
                  kAttrArchive = 0x20;

// The attribute bits an entry of AFolder would carry on the system the attributes come from: dot names are hidden,
// entries that are neither files nor folders (devices, sockets, broken links) are system entries.
Integer AttributesOf(const std::string& AFolder, const std::string& AName)
{
    const std::string path = AppendPathPart(AFolder, AName);
    struct stat st{};
    Integer attr = 0;
    if (stat(path.c_str(), &st) != 0)
        attr = kAttrSystem;
    else if (S_ISDIR(st.st_mode))
        attr = kAttrDirectory;
    else if (S_ISREG(st.st_mode))
        attr = kAttrArchive;
    else
        attr = kAttrSystem;
    if (AName[0] == '.' && AName != "." && AName != "..") attr |= kAttrHidden;
    if (access(path.c_str(), W_OK) != 0) attr |= kAttrReadOnly;
    return attr;
}

bool SamePath(const std::string& A, const std::string& B)
{
    return VolumeIsCaseSensitive(MountPointOf(B)) ? A == B : AnsiLowerCase(A) == AnsiLowerCase(B);
}

}  // namespace

bool MatchesFileMask(const std::string& AName, const std::string& AMask)
{
    size_t start = 0;
    while (start <= AMask.size()) {
        size_t end = AMask.find(';', start);
        if (end == std::string::npos) end = AMask.size();
        const std::string part = Trim(AMask.substr(start, end - start));
        // "*.*" means every name, with or without an extension.
        if (!part.empty() && MatchesMask(AName, part == "*.*" ? "*" : part)) return true;
        start = end + 1;
    }
    return false;
}

TspSkinFileListBox::TspSkinFileListBox(TComponent* AOwner) : TspSkinCustomListBox(AOwner), FDirectory(CurrentFolder())
{
    SetBounds(Left(), Top(), 145, Height());
    SetMultiSelect(false);
    SetSorted(true);
}

// As the filter box: partners are told through notices, never touched while going.
TspSkinFileListBox::~TspSkinFileListBox() = default;

void TspSkinFileListBox::CreateWnd()
{
    TspSkinCustomListBox::CreateWnd();
    ReadFileList();
}

void TspSkinFileListBox::UpdateList() { ReadFileList(); }

void TspSkinFileListBox::SetMask(const std::string& AValue)
{
    if (AValue == FMask) return;
    FMask = AValue;
    ReadFileList();
}

void TspSkinFileListBox::SetFileType(TspFileType AValue)
{
    if (AValue == FFileType) return;
    FFileType = AValue;
    ReadFileList();
}

void TspSkinFileListBox::SetDirectory(const std::string& AValue)
{
    if (SamePath(AValue, FDirectory)) return;
    // Entering the list's folder first takes a relative path relative to it.
    if (FolderExists(FDirectory)) EnterFolder(FDirectory);
    EnterFolder(AValue);
    FDirectory = CurrentFolder();
    ReadFileList();
}

std::string TspSkinFileListBox::Drive() const { return MountPointOf(FDirectory); }

void TspSkinFileListBox::SetDrive(const std::string& AValue)
{
    if (AValue != Drive()) ApplyFilePath(AValue);
}

void TspSkinFileListBox::SetFileEdit(TCustomEdit* AValue)
{
    if (FFileEdit == AValue) return;
    if (FFileEdit) FFileEdit->RemoveFreeNotification(this);
    FFileEdit = AValue;
    if (!FFileEdit) return;
    FFileEdit->FreeNotification(this);
    const std::string selected = SelectedText();
    FFileEdit->SetText(selected.empty() ? FMask : selected);
}

std::string TspSkinFileListBox::SelectedText() const
{
    auto* self = const_cast<TspSkinFileListBox*>(this);
    const Integer index = ItemIndex();
    if (self->Items()->Count() == 0 || index < 0 || index >= self->Items()->Count() || !IsSelected(index)) return {};
    return self->Items()->Strings(index);
}

std::string TspSkinFileListBox::FileName()
{
    const std::string selected = SelectedText();
    return selected.empty() ? std::string() : AppendPathPart(FDirectory, selected);
}

void TspSkinFileListBox::ListBoxClick()
{
    TspSkinCustomListBox::ListBoxClick();
    if (ItemIndex() != FLastSel) FileSelectionChanged();
}

void TspSkinFileListBox::FileSelectionChanged()
{
    FLastSel = ItemIndex();
    if (FFileEdit) {
        const std::string selected = SelectedText();
        FFileEdit->SetText(selected.empty() ? FMask : selected);
        FFileEdit->SelectAll();
    }
    if (OnChange) OnChange(this);
}

void TspSkinFileListBox::ReadFileList()
{
    if (!HandleAllocated()) return;
    Integer attributes = 0;
    static const std::pair<TspFileAttr, Integer> bits[] = {{spftReadOnly, kAttrReadOnly}, {spftHidden, kAttrHidden},
                                                           {spftSystem, kAttrSystem},     {spftVolumeID, 0x08},
                                                           {spftDirectory, kAttrDirectory}, {spftArchive, kAttrArchive}};
    for (const auto& [member, bit] : bits)
        if (FFileType.Contains(member)) attributes |= bit;
    EnterFolder(FDirectory);
    Clear();
    const TCursor saved = Screen ? Screen->Cursor() : crDefault;
    try {
        // Hidden, system and folder entries are found only when asked for, as the attribute search does; plain
        // entries are always found, and listed when spftNormal is set or one of their bits was asked for.
        const Integer special = kAttrHidden | kAttrSystem | kAttrDirectory;
        std::set<std::string> listed;
        if (DIR* d = opendir(FDirectory.c_str())) {
            while (struct dirent* e = readdir(d)) {
                const std::string name = e->d_name;
                if (!MatchesFileMask(name, FMask) || listed.count(name)) continue;
                const Integer attr = AttributesOf(FDirectory, name);
                if ((attr & special & ~attributes) != 0) continue;
                if (!FFileType.Contains(spftNormal) && (attr & attributes) == 0) continue;
                listed.insert(name);
                Items()->Add((attr & kAttrDirectory) ? "[" + name + "]" : name);
                if (Items()->Count() == 100 && Screen) Screen->SetCursor(crHourGlass);
            }
            closedir(d);
        }
    } catch (...) {
        if (Screen) Screen->SetCursor(saved);
        throw;
    }
    if (Screen) Screen->SetCursor(saved);
    FileSelectionChanged();
}

void TspSkinFileListBox::SelectByName(const std::string& AName)
{
    // An exact match first: "a" and "A" can both exist here.
    Integer found = Items()->IndexOf(AName);
    for (Integer i = 0; found < 0 && i < Items()->Count(); ++i)
        if (SameText(Items()->Strings(i), AName)) found = i;
    SetItemIndex(found);
    FileSelectionChanged();
}

void TspSkinFileListBox::ApplyFilePath(const std::string& AEditText)
{
    if (AEditText.empty() || SameText(AEditText, FileName())) return;
    if (FolderExists(FDirectory)) EnterFolder(FDirectory);
    const TEditPathParts parts = SplitEditPath(AEditText);
    if (FDirList)
        FDirList->SetDirectory(AEditText);
    else
        SetDirectory(parts.DirPart);
    if (parts.FilePart.find_first_of("*?") != std::string::npos) {
        SetMask(parts.FilePart);
    } else if (!parts.FilePart.empty() && !SameText(parts.FilePart, SelectedText())) {
        SelectByName(parts.FilePart);
        if (ItemIndex() < 0 && FileExists(AppendPathPart(FDirectory, parts.FilePart))) {
            // The mask hides the file: show it alone.
            SetMask(parts.FilePart);
            SelectByName(parts.FilePart);
        }
    }
}

void TspSkinFileListBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomListBox::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FFileEdit) FFileEdit = nullptr;
    if (AComponent == FDirList) FDirList = nullptr;
    if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}
