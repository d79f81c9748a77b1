#pragma once
// The button of one notebook page in the notebook's buttons mode: a skinned speed button that shows its page.
#include "skin/controls/speed_button.h"

class TspSkinNotebook;

class TspPageButton : public TspSkinSpeedButton {
public:
    TspPageButton(TComponent* AOwner, Integer APageIndex, TspSkinNotebook* ANoteBook);

    Integer PageIndex() const { return FPageIndex; }
    // Shows the page, then clicks as a speed button.
    void ButtonClick() override;

private:
    Integer FPageIndex;
    TspSkinNotebook* FNoteBook;
};
