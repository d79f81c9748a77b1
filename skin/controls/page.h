#pragma once
// A page of the skinned notebook: a borderless panel that fills the notebook while it is the one shown. Over
// its empty area the mouse passes through to the notebook.
#include "skin/controls/panel.h"

class TspSkinPage : public TspSkinPanel {
public:
    explicit TspSkinPage(TComponent* AOwner);

    // The image of the page's button in the notebook's image list; -1 none.
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue) { FImageIndex = AValue; }

protected:
    void WndProc(TMessage& AMessage) override;

private:
    Integer FImageIndex = -1;
};
