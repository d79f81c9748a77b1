#pragma once
// The "Trim" dialog of the selected job; its player and range controls come with the dialog's own work.
#include "app/ui/bare_form.h"

class TClipForm : public TBareSkinnedForm {
public:
    TClipForm(TComponent* AOwner, TspSkinData* ASkinData) : TBareSkinnedForm(AOwner, ASkinData, "Trim", 494, 467) {}
};
