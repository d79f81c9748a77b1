// Kept apart from the tests: the skinned-form component's header and the menu buttons' header both declare the
// menu-closed message.
#include "tests/skin/menus/skin_form_maker.h"

#include "skin/forms/skin_form.h"

namespace menustest {

TspCorvalis* NewSkinForm(TCustomForm* AForm)
{
    return new TspCorvalis(AForm);
}

void SetSkinFormData(TspCorvalis* ASkinForm, TspSkinData* ASkin, TspSkinData* AMenusSkin)
{
    ASkinForm->SetSkinData(ASkin);
    ASkinForm->SetMenusSkinData(AMenusSkin);
}

void SetSkinFormSystemMenu(TspCorvalis* ASkinForm, TPopupMenu* AMenu) { ASkinForm->SetSystemMenu(AMenu); }

void SetSkinFormBorderIcons(TspCorvalis* ASkinForm, bool AMinimize, bool AMaximize, bool ARollUp, bool ATray)
{
    TspBorderIcons icons{TspBorderIcon::biSystemMenu};
    if (AMinimize) icons.Include(TspBorderIcon::biMinimize);
    if (AMaximize) icons.Include(TspBorderIcon::biMaximize);
    if (ARollUp) icons.Include(TspBorderIcon::biRollUp);
    if (ATray) icons.Include(TspBorderIcon::biMinimizeToTray);
    ASkinForm->SetBorderIcons(icons);
}

void SetSkinFormState(TspCorvalis* ASkinForm, TWindowState AState, bool ARolledUp)
{
    ASkinForm->SetWindowState(AState);
    ASkinForm->SetRollUpState(ARolledUp);
}


void SetSkinFormDisableSystemMenu(TspCorvalis* ASkinForm, bool AValue) { ASkinForm->SetDisableSystemMenu(AValue); }

}  // namespace menustest
