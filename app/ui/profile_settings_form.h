#pragma once
// The "Profile Settings" dialog of the chosen format; its fields come with the dialog's own work.
#include "app/ui/bare_form.h"

class Tsettingsform : public TBareSkinnedForm {
public:
    Tsettingsform(TComponent* AOwner, TspSkinData* ASkinData) : TBareSkinnedForm(AOwner, ASkinData, "Profile Settings", 440, 310) {}
};
