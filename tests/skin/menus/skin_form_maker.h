#pragma once
// Makes and sets up skinned-form components for the menu tests without including the component's header.
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "skin/core/skin_data.h"

class TspCorvalis;

namespace menustest {

TspCorvalis* NewSkinForm(TCustomForm* AForm);
void SetSkinFormData(TspCorvalis* ASkinForm, TspSkinData* ASkin, TspSkinData* AMenusSkin);
void SetSkinFormSystemMenu(TspCorvalis* ASkinForm, TPopupMenu* AMenu);
void SetSkinFormBorderIcons(TspCorvalis* ASkinForm, bool AMinimize, bool AMaximize, bool ARollUp, bool ATray);
void SetSkinFormState(TspCorvalis* ASkinForm, TWindowState AState, bool ARolledUp);
void SetSkinFormDisableSystemMenu(TspCorvalis* ASkinForm, bool AValue);

}  // namespace menustest
