#include "app/ui/player_screen.h"

#include "platform/gui/controls.h"
#include "platform/gui/screen.h"

void FitPictureToScreen(const TControl* AScreenControl, int& AWidth, int& AHeight)
{
    if (AScreenControl) {
        AWidth = AScreenControl->Width();
        AHeight = AScreenControl->Height();
    } else if (Screen) {
        AWidth = Screen->Width();
        AHeight = Screen->Height();
    }
}
