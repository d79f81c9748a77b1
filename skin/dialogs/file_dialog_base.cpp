#include "skin/dialogs/file_dialog_base.h"

#include <algorithm>

#include "skin/core/skin_data.h"
#include "skin/forms/skin_form.h"

TspSkinFileDialogBase::TspSkinFileDialogBase(TComponent* AOwner, std::string ATitle, Byte AAlphaBlendValue)
    : TComponent(AOwner), AlphaBlendValue(AAlphaBlendValue), Title(std::move(ATitle)),
      FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle({});
}

TspSkinFileDialogBase::~TspSkinFileDialogBase() = default;

void TspSkinFileDialogBase::SetSkinData(TspSkinData* AValue)
{
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
}

void TspSkinFileDialogBase::SetCtrlSkinData(TspSkinData* AValue)
{
    FCtrlFSD = AValue;
    if (FCtrlFSD) FCtrlFSD->FreeNotification(this);
}

void TspSkinFileDialogBase::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

void TspSkinFileDialogBase::ApplyFrame(TForm* AForm, TspCorvalis* ACVL) const
{
    AForm->SetCaption(Title);
    ACVL->SetBorderIcons({});
    ACVL->SetSkinData(FSD);
    ACVL->SetMenusSkinData(FCtrlFSD);
    ACVL->SetAlphaBlend(AlphaBlend);
    ACVL->SetAlphaBlendAnimation(AlphaBlendAnimation);
    ACVL->SetAlphaBlendValue(AlphaBlendValue);
    ACVL->SetMinWidth(DialogMinWidth);
    ACVL->SetMinHeight(DialogMinHeight);
}

void TspSkinFileDialogBase::SizeForm(TForm* AForm, TspCorvalis* ACVL, Integer ADefaultWidth,
                                     Integer ADefaultHeight) const
{
    AForm->HandleNeeded();
    Integer width = DialogWidth > 0 ? DialogWidth : ADefaultWidth;
    Integer height = DialogHeight > 0 ? DialogHeight : ADefaultHeight;
    if (FSD && !FSD->Empty) {
        width = std::max(width, ACVL->GetMinWidth());
        height = std::max(height, ACVL->GetMinHeight());
    }
    AForm->SetClientWidth(width);
    AForm->SetClientHeight(height);
}

void TspSkinFileDialogBase::KeepSize(TForm* AForm)
{
    DialogWidth = AForm->ClientWidth();
    DialogHeight = AForm->ClientHeight();
}
