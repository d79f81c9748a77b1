#pragma once
// The skinned open-file dialog: a component that builds a fresh file dialog form at every Execute (a "Look in"
// box with back, up, new-folder and view-menu buttons, a shell file list, a name edit, a file-type box and
// Open/Save and Cancel buttons), shows it modally, copies the results back and frees it. Between calls it keeps
// its settings and the last results (file name, file type, size and view), so the next call starts where the
// user left.
#include <memory>
#include <string>

#include "platform/controls/lists/list_view.h"
#include "platform/rtl/strings.h"
#include "skin/dialogs/file_dialog_base.h"

class TspOpenDlgForm;

// "." plus the extension of a file-type mask's first part ("*.mp4;*.m4v" gives ".mp4"); empty for masks that
// hold ".*" or have no extension.
std::string MaskExtension(const std::string& AMask);
// True when the last component of a path has an extension (a dot after its first character).
bool NameHasExtension(const std::string& AName);
// The text with its trailing extension replaced by AExtension (which starts with "."), or AExtension appended
// when it has none.
std::string ReplaceNameExtension(const std::string& AText, const std::string& AExtension);

class TspSkinOpenDialog : public TspSkinFileDialogBase {
public:
    explicit TspSkinOpenDialog(TComponent* AOwner);
    ~TspSkinOpenDialog() override;

    // True when the user accepted a name; FileName and Files then hold the choice. The form is 450 x 290 unless
    // DialogWidth and DialogHeight keep another size.
    bool Execute();
    // While Execute runs, the list's selected file; otherwise empty.
    std::string GetSelectedFile();

    bool ShowHiddenFiles = false;
    bool OverwritePromt = false;
    std::string DefaultExt;  // without the dot
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool CtrlAlphaBlend = false;
    Byte CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    std::string LVHeaderSkinDataName = "resizebutton";
    std::string InitialDir;
    std::string Filter = "All files|*.*";
    Integer FilterIndex = 1;  // 1-based
    bool SaveMode = false;
    TViewStyle ListViewStyle = vsList;

    const std::string& FileName() const { return FFileName; }
    // While the form is up the name edit shows the whole value.
    void SetFileName(const std::string& AValue);
    TStrings* Files() { return FFiles.get(); }

    // The form while Execute runs, else nullptr.
    TspOpenDlgForm* DialogForm() const { return FDlgFrm; }

    // Raised with the form as Sender whenever the list changes its folder or its items.
    TNotifyEvent OnFolderChange;

private:
    // Where the list starts: the remembered name's folder while it exists, else InitialDir, else the program's.
    std::string StartFolder() const;
    void CopyResults(bool AAccepted);

    std::unique_ptr<TStringList> FFiles;
    std::string FFileName;
    TspOpenDlgForm* FDlgFrm = nullptr;
};
