#pragma once
// The form of the skinned open-file dialog, built in code, and its handlers.
#include <string>
#include <vector>

#include "platform/controls/lists/list_view.h"
#include "platform/gui/forms.h"
#include "platform/shell/item_id_list.h"

class TMenuItem;
class TspCorvalis;
class TspSkinButton;
class TspSkinData;
class TspSkinEdit;
class TspSkinFileListView;
class TspSkinFilterComboBox;
class TspSkinMenuSpeedButton;
class TspSkinPanel;
class TspSkinPopupMenu;
class TspSkinScrollBar;
class TspSkinShellComboBox;
class TspSkinSpeedButton;
class TspSkinStdLabel;
class TspSkinToolBar;

class TspOpenDlgForm : public TForm {
public:
    TspOpenDlgForm(TComponent* AOwner, bool ASaveMode, TspSkinData* ACtrlSkinData, bool AToolButtonsTransparent);
    ~TspOpenDlgForm() override;

    // The texts of the dialog: the skin's when the control skin has texts, else the built-in ones.
    std::string Text(const char* AKey) const;
    // "." + DefaultExt, else the chosen file type's extension.
    std::string DefaultExtension();
    // The chosen file type's extension.
    std::string FilterExtension();

    void OpenButtonClick(TObject* Sender);
    void EditKeyPress(TObject* Sender, char32_t& Key);
    void FLVKeyPress(TObject* Sender, char32_t& Key);
    void FLVChange(TObject* Sender);
    void FLVPathChange(TObject* Sender);
    void FLVDBLClick(TObject* Sender);
    void FCBChange(TObject* Sender);
    void BackToolButtonClick(TObject* Sender);
    void UpToolButtonClick(TObject* Sender);
    void NewFolderToolButtonClick(TObject* Sender);
    void ViewItemClick(TMenuItem* AItem, TViewStyle AStyle);
    void CheckViewItem(TViewStyle AStyle);
    void InitHistory();

    bool SaveMode = false;
    // Absolute id lists of the folders visited, oldest first; the last one is shown.
    std::vector<TItemIdList> FolderHistory;
    bool StopAddToHistory = false;
    TspSkinData* CtrlSD = nullptr;
    Integer NewFolderCount = 0;
    std::string DefaultExt;
    bool OverwritePromt = false;
    bool CheckFileExists = true;
    std::string FileName;
    TNotifyEvent OnFolderChange;

    TspCorvalis* CVL = nullptr;
    TspSkinPanel* FileListViewPanel = nullptr;
    TspSkinPanel* BottomPanel = nullptr;
    TspSkinScrollBar* FLVHScrollBar = nullptr;
    TspSkinScrollBar* FLVVScrollBar = nullptr;
    TspSkinFileListView* FileListView = nullptr;
    TspSkinEdit* FileNameEdit = nullptr;
    TspSkinFilterComboBox* FilterComboBox = nullptr;
    TspSkinShellComboBox* ShellBox = nullptr;
    TspSkinButton* OpenButton = nullptr;
    TspSkinButton* CancelButton = nullptr;
    TspSkinStdLabel* Drivelabel = nullptr;
    TspSkinStdLabel* OpenFileLabel = nullptr;
    TspSkinStdLabel* FileTypeLabel = nullptr;
    TspSkinToolBar* ToolPanel = nullptr;
    TspSkinSpeedButton* BackToolButton = nullptr;
    TspSkinSpeedButton* UpToolButton = nullptr;
    TspSkinSpeedButton* NewFolderToolButton = nullptr;
    TspSkinMenuSpeedButton* StyleToolButton = nullptr;
    TspSkinPopupMenu* StylePopupMenu = nullptr;
    TMenuItem* IconMenuItem = nullptr;
    TMenuItem* SmallIconMenuItem = nullptr;
    TMenuItem* ListMenuItem = nullptr;
    TMenuItem* ReportMenuItem = nullptr;

    // Shows an error in the skinned message box over the dialog.
    void ShowError(const std::string& AText);

private:
    void AddHistory();
    // True when every chosen file still exists; otherwise says which one is missing and why.
    bool ChosenFilesExist(const std::string& AChosen);
    // In save mode with the overwrite question: asks it; true to go on.
    bool MayOverwrite(const std::string& AFullName);
    void Accept(const std::string& AName);
};
