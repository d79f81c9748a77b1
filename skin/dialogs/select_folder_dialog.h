#pragma once
// The skinned select-folder dialog: a component that builds a fresh form at every Execute (a shell folder tree
// between skinned scroll bars, OK and Cancel, optionally a tool bar with a path edit and a new-folder button),
// shows it modally and copies the chosen folder's path into Directory. Only a file-system folder can be chosen.
#include <string>

#include "platform/gui/forms.h"
#include "skin/dialogs/file_dialog_base.h"

class TspCorvalis;
class TspSkinButton;
class TspSkinData;
class TspSkinDirTreeView;
class TspSkinEdit;
class TspSkinPanel;
class TspSkinScrollBar;
class TspSkinSpeedButton;
class TTreeNode;

class TspSelDirDlgForm : public TForm {
public:
    TspSelDirDlgForm(TComponent* AOwner, TspSkinData* ACtrlSkinData, bool AShowToolBar, bool AToolButtonsTransparent);

    // The skin's text when the control skin has texts, else the built-in one.
    std::string Text(const char* AKey) const;

    void DirEditKeyPress(TObject* Sender, char32_t& Key);
    void DirTreeViewChange(TObject* Sender, TTreeNode* Node);
    void NewFolderToolButtonClick(TObject* Sender);
    // Closes the form accepted only while a file-system folder is selected; otherwise says why not.
    void OkButtonClick(TObject* Sender);
    // Shows an error in the skinned message box over the dialog.
    void ShowError(const std::string& AText);

    TspSkinData* CtrlSD = nullptr;
    bool ShowToolBar = false;
    TspCorvalis* CVL = nullptr;
    TspSkinPanel* DirTreeViewPanel = nullptr;
    TspSkinPanel* BottomPanel = nullptr;
    TspSkinDirTreeView* DirTreeView = nullptr;
    TspSkinScrollBar* VScrollBar = nullptr;
    TspSkinScrollBar* HScrollBar = nullptr;
    TspSkinButton* OkButton = nullptr;
    TspSkinButton* CancelButton = nullptr;
    TspSkinPanel* ToolPanel = nullptr;
    TspSkinSpeedButton* NewFolderToolButton = nullptr;
    TspSkinEdit* DirEdit = nullptr;
};

class TspSkinSelectDirectoryDialog : public TspSkinFileDialogBase {
public:
    explicit TspSkinSelectDirectoryDialog(TComponent* AOwner);

    // True when the user accepted a folder; Directory then holds its path. The form is 280 x 280 unless
    // DialogWidth and DialogHeight keep another size.
    bool Execute();

    // The start folder; the chosen one after an accepted Execute.
    std::string Directory;
    bool ShowToolBar = false;

    // The form while Execute runs, else nullptr.
    TspSelDirDlgForm* DialogForm() const { return FDlgFrm; }

private:
    TspSelDirDlgForm* FDlgFrm = nullptr;
};
