#pragma once
// The "Edit" dialog (crop, aspect, picture adjustments); its players and controls come with the dialog's own work.
#include "app/ui/bare_form.h"

class TCropForm : public TBareSkinnedForm {
public:
    TCropForm(TComponent* AOwner, TspSkinData* ASkinData) : TBareSkinnedForm(AOwner, ASkinData, "Edit", 700, 466) {}
};
