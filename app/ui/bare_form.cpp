#include "app/ui/bare_form.h"

#include "skin/forms/skin_form.h"

TBareSkinnedForm::TBareSkinnedForm(TComponent* AOwner, TspSkinData* ASkinData, const std::string& ACaption,
                                   int AClientWidth, int AClientHeight)
    : TForm(AOwner)
{
    SetBorderStyle(ACaption.empty() ? bsNone : bsDialog);
    SetCaption(ACaption);
    SetClientWidth(AClientWidth);
    SetClientHeight(AClientHeight);
    SetPosition(poScreenCenter);
    spCorvalis1 = new TspCorvalis(this);
    spCorvalis1->SetBorderIcons({});
    spCorvalis1->SetSizeable(false);
    if (ASkinData) spCorvalis1->SetSkinData(ASkinData);
}
