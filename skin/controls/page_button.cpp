#include "skin/controls/page_button.h"

#include "skin/controls/notebook.h"

TspPageButton::TspPageButton(TComponent* AOwner, Integer APageIndex, TspSkinNotebook* ANoteBook)
    : TspSkinSpeedButton(AOwner), FPageIndex(APageIndex), FNoteBook(ANoteBook)
{
    SetNumGlyphs(1);
    SetSpacing(5);
    SetSkinDataName(ANoteBook->ButtonSkinDataName());
}

void TspPageButton::ButtonClick()
{
    FNoteBook->SetPageIndex(FPageIndex);
    TspSkinSpeedButton::ButtonClick();
}
