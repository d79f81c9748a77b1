#pragma once
// The skinned open-file dialog: a component that builds a fresh file dialog form at every Execute (a "Look in"
// box with back, up, new-folder and view-menu buttons, a shell file list, a name edit, a file-type box and
// Open/Save and Cancel buttons), shows it modally, copies the results back and frees it. Between calls it keeps
// its settings and the last results (file name, file type, size and view), so the next call starts where the
// user left.
#include <memory>
#include <string>

#include "platform/controls/lists/list_view.h"
#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/types.h"

class TspSkinData;
class TspOpenDlgForm;

// "." plus the extension of a file-type mask's first part ("*.mp4;*.m4v" gives ".mp4"); empty for masks that
// hold ".*" or have no extension.
std::string MaskExtension(const std::string& AMask);
// True when the last component of a path has an extension (a dot after its first character).
bool NameHasExtension(const std::string& AName);
// The text with its trailing extension replaced by AExtension (which starts with "."), or AExtension appended
// when it has none.
std::string ReplaceNameExtension(const std::string& AText, const std::string& AExtension);

class TspSkinOpenDialog : public TComponent {
public:
    explicit TspSkinOpenDialog(TComponent* AOwner);
    ~TspSkinOpenDialog() override;

    // True when the user accepted a name; FileName and Files then hold the choice.
    bool Execute();
    // While Execute runs, the list's selected file; otherwise empty.
    std::string GetSelectedFile();

    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;
    std::string DefaultExt;  // without the dot
    Integer DialogWidth = 0, DialogHeight = 0;  // client size; 0 or less: 450 x 290
    Integer DialogMinWidth = 0, DialogMinHeight = 0;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool AlphaBlend = false;
    Byte AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    Byte CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    std::string LVHeaderSkinDataName = "resizebutton";
    std::string Title = "Open file";
    std::string InitialDir;
    std::string Filter = "All files|*.*";
    Integer FilterIndex = 1;  // 1-based
    bool SaveMode = false;
    TViewStyle ListViewStyle = vsList;

    const std::string& FileName() const { return FFileName; }
    // While the form is up the name edit shows the whole value.
    void SetFileName(const std::string& AValue);
    TStrings* Files() { return FFiles.get(); }

    // Skins the form's frame (and the overwrite question).
    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* AValue);
    // Skins the controls and menus and gives the texts.
    TspSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TspSkinData* AValue);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }

    // The form while Execute runs, else nullptr.
    TspOpenDlgForm* DialogForm() const { return FDlgFrm; }

    TNotifyEvent OnShow, OnClose, OnChange;
    // Raised with the form as Sender whenever the list changes its folder or its items.
    TNotifyEvent OnFolderChange;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // Where the list starts: the remembered name's folder while it exists, else InitialDir, else the program's.
    std::string StartFolder() const;
    void CopyResults(bool AAccepted);

    TspSkinData* FSD = nullptr;
    TspSkinData* FCtrlFSD = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TStringList> FFiles;
    std::string FFileName;
    TspOpenDlgForm* FDlgFrm = nullptr;
};
