#pragma once
// A skinned edit with a button in its frame that picks a folder: the button opens a select-folder dialog of the
// edit's own at the edit's text and puts the chosen folder back into it. The dialog keeps its size between runs.
#include "skin/controls/skin_edit.h"

class TspSkinSelectDirectoryDialog;

class TspSkinDirectoryEdit : public TspSkinEdit {
public:
    explicit TspSkinDirectoryEdit(TComponent* AOwner);

    void ButtonClick(TObject* Sender);

    // Skin of the dialog's frame, and of its controls and texts.
    TspSkinData* DlgSkinData() const { return FDlgSkinData; }
    void SetDlgSkinData(TspSkinData* AValue);
    TspSkinData* DlgCtrlSkinData() const { return FDlgCtrlSkinData; }
    void SetDlgCtrlSkinData(TspSkinData* AValue);
    TspSkinSelectDirectoryDialog* Dialog() const { return SD; }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TspSkinData* FDlgSkinData = nullptr;
    TspSkinData* FDlgCtrlSkinData = nullptr;
    TspSkinSelectDirectoryDialog* SD = nullptr;  // owned as a component
};
