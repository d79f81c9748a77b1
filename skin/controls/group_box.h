#pragma once
// The skinned group box: a panel with its caption bar on, drawn from the skin's "groupbox" record.
#include "skin/controls/panel.h"

class TspSkinGroupBox : public TspSkinPanel {
public:
    explicit TspSkinGroupBox(TComponent* AOwner);
    // A record whose client part ends above its caption paints through the composed picture.
    void GetSkinData() override;
};
