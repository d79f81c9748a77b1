#pragma once
// The "Conversion" progress dialog; its gauges and buttons come with the conversion's own window.
#include "app/ui/bare_form.h"

class TConvForm : public TBareSkinnedForm {
public:
    TConvForm(TComponent* AOwner, TspSkinData* ASkinData) : TBareSkinnedForm(AOwner, ASkinData, "Conversion", 420, 213) {}
};
