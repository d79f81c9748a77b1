#pragma once
// The file-system controls, browsing folders without the shell: a drive combo box listing the mounted volumes,
// a directory list box showing the current folder as the indented chain of its ancestors followed by its
// subfolders, and a file list box listing a folder's entries that match a mask. They chain: drive box ->
// directory list -> file list and a label showing the folder; a filter combo box -> the file list's mask. Each link
// is held on both sides and cleared when either side goes.
//
// On this system a volume's mount point stands where a drive letter would: `Drive` is the mount point that holds
// the folder, and choosing a volume moves the directory list to its mount point. These controls work on the
// process's current directory: they enter a folder to read it or to resolve a relative path, and leave the process
// in the folder they last entered.
#include <memory>
#include <string>

#include "platform/rtl/set.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/list_box.h"
#include "skin/dialogs/file_controls_volumes.h"

class TBitmap;
class TCustomEdit;
class TspSkinStdLabel;
class TspSkinFilterComboBox;
class TspSkinDirectoryListBox;
class TspSkinFileListBox;

enum TTextCase { tcLowerCase, tcUpperCase };
// The first six stand for the attribute bits 1, 2, 4, 8, 16 and 32; spftNormal lists every entry found.
enum TspFileAttr { spftReadOnly, spftHidden, spftSystem, spftVolumeID, spftDirectory, spftArchive, spftNormal };
using TspFileType = TSet<TspFileAttr>;

class TspSkinDriveComboBox : public TspSkinCustomComboBox {
public:
    explicit TspSkinDriveComboBox(TComponent* AOwner);
    ~TspSkinDriveComboBox() override;

    // The chosen volume's mount point; empty for none.
    const std::string& Drive() const { return FDrive; }
    void SetDrive(const std::string& AValue);
    // The case the volume labels are shown in.
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase AValue);
    TspSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TspSkinDirectoryListBox* AValue);
    // The mount point of item AIndex; empty outside the list.
    std::string MountPointAt(Integer AIndex) const;

    virtual void BuildDriveList();

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TspSkinDirectoryListBox;
    void DriveListChanged();
    void DrawDriveItem(TCanvas* Cnvs, Integer Index, TRect TxtRect);
    std::string ShownLabel(const std::string& ALabel) const;
    TBitmap* PictureOf(TVolumeKind AKind) const;

    TspSkinDirectoryListBox* FDirList = nullptr;
    std::string FDrive;
    TTextCase FTextCase = tcLowerCase;
    std::vector<std::string> FMountPoints;
    std::unique_ptr<TBitmap> FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;
};

class TspSkinDirectoryListBox : public TspSkinCustomListBox {
public:
    explicit TspSkinDirectoryListBox(TComponent* AOwner);
    ~TspSkinDirectoryListBox() override;

    // The current folder, absolute, never empty.
    const std::string& Directory() const { return FDirectory; }
    // Enters the folder (relative to this list's folder); one that cannot be entered raises EInOutError and
    // leaves the list as it was.
    void SetDirectory(const std::string& AValue);
    // The mount point holding the folder.
    std::string Drive() const;
    void SetDrive(const std::string& AValue);
    TspSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TspSkinFileListBox* AValue);
    TspSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TspSkinStdLabel* AValue);
    TspSkinDriveComboBox* DriveCombo() const { return FDriveCombo; }

    void OpenCurrent();
    // Reads the folder again (the control's Update is its repaint, which the frame calls often).
    void UpdateList();
    std::string DisplayCase(const std::string& S) const;
    // 0 when A and B name the same folder under the volume's case rules.
    Integer FileCompareText(const std::string& A, const std::string& B) const;
    // The folder item AIndex stands for; empty outside the list.
    std::string GetItemPath(Integer AIndex) const;

    Integer CalcItemWidth(Integer AIndex, TCanvas* ACanvas) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(char32_t& AKey) override;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual void DirectoryChanged();
    virtual void BuildFolderList();

private:
    friend class TspSkinDriveComboBox;
    void DriveChange(const std::string& ANewDrive);
    void UpdateLabel();
    Integer IndentOf(Integer AIndex) const;
    TBitmap* PictureOf(Integer AIndex) const;
    void DrawFolderItem(TCanvas* Cnvs, Integer Index, TRect TxtRect);

    TspSkinFileListBox* FFileList = nullptr;
    TspSkinDriveComboBox* FDriveCombo = nullptr;
    TspSkinStdLabel* FDirLabel = nullptr;
    bool FInSetDir = false;
    bool FPreserveCase = true;
    bool FCaseSensitive = true;
    std::unique_ptr<TBitmap> ClosedBMP, OpenedBMP, CurrentBMP;
    std::string FDirectory;
};

class TspSkinFileListBox : public TspSkinCustomListBox {
public:
    explicit TspSkinFileListBox(TComponent* AOwner);
    ~TspSkinFileListBox() override;

    const std::string& Directory() const { return FDirectory; }
    // Enters the folder, a relative path taken relative to this list's folder; raises EInOutError when it
    // cannot be entered, keeping the former folder and items.
    void SetDirectory(const std::string& AValue);
    std::string Drive() const;
    void SetDrive(const std::string& AValue);
    // Patterns separated by ";", matched without regard to case; "*.*" matches every name.
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& AValue);
    TspFileType FileType() const { return FFileType; }
    void SetFileType(TspFileType AValue);
    TCustomEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TCustomEdit* AValue);
    TspSkinDirectoryListBox* DirList() const { return FDirList; }
    TspSkinFilterComboBox* FilterCombo() const { return FFilterCombo; }
    // The selected entry's full path, empty with nothing selected.
    std::string FileName();

    // Reads the folder again.
    void UpdateList();
    // The reaction to a typed path: changes the folder, the mask or the selection.
    virtual void ApplyFilePath(const std::string& AEditText);

    void ListBoxClick() override;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual void FileSelectionChanged();
    virtual void ReadFileList();

private:
    friend class TspSkinDirectoryListBox;
    friend class TspSkinFilterComboBox;
    std::string SelectedText() const;
    void SelectByName(const std::string& AName);

    std::string FDirectory;
    std::string FMask = "*.*";
    TspFileType FFileType{spftNormal};
    TCustomEdit* FFileEdit = nullptr;
    TspSkinDirectoryListBox* FDirList = nullptr;
    TspSkinFilterComboBox* FFilterCombo = nullptr;
    Integer FLastSel = -1;
};

// Whether AName matches one ";"-separated part of AMask. Parts are trimmed, so "*.mp4; *.m4v" matches both
// kinds, and "*.*" matches names without a dot too.
bool MatchesFileMask(const std::string& AName, const std::string& AMask);
