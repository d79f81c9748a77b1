#pragma once
// The profile chooser that opens above the main window's profile field; its lists come with the chooser.
#include "app/ui/bare_form.h"

class Tproform : public TBareSkinnedForm {
public:
    Tproform(TComponent* AOwner, TspSkinData* ASkinData) : TBareSkinnedForm(AOwner, ASkinData, "", 500, 470) {}
};
