#pragma once
// The size a player lays its picture out in: its screen control's, so the picture is scaled to the panel; the
// desktop's when it draws into no control.
class TControl;

void FitPictureToScreen(const TControl* AScreenControl, int& AWidth, int& AHeight);
