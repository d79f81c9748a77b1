#include "skin/dialogs/directory_edit.h"

#include "skin/core/skin_data.h"
#include "skin/dialogs/select_folder_dialog.h"

TspSkinDirectoryEdit::TspSkinDirectoryEdit(TComponent* AOwner) : TspSkinEdit(AOwner)
{
    SetButtonMode(true);
    OnButtonClick = [this](TObject* ASender) { ButtonClick(ASender); };
    SetSkinDataName("buttonedit");
    SD = new TspSkinSelectDirectoryDialog(this);
}

void TspSkinDirectoryEdit::SetDlgSkinData(TspSkinData* AValue)
{
    FDlgSkinData = AValue;
    if (AValue) AValue->FreeNotification(this);
}

void TspSkinDirectoryEdit::SetDlgCtrlSkinData(TspSkinData* AValue)
{
    FDlgCtrlSkinData = AValue;
    if (AValue) AValue->FreeNotification(this);
}

void TspSkinDirectoryEdit::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinEdit::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FDlgSkinData) FDlgSkinData = nullptr;
    if (AComponent == FDlgCtrlSkinData) FDlgCtrlSkinData = nullptr;
    if (AComponent == SD) SD = nullptr;
}

void TspSkinDirectoryEdit::ButtonClick(TObject* /*Sender*/)
{
    if (!SD) return;
    SD->Directory = Text();
    SD->SetSkinData(FDlgSkinData);
    SD->SetCtrlSkinData(FDlgCtrlSkinData);
    if (SD->Execute()) SetText(SD->Directory);
}
