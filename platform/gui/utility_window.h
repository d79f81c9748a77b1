#pragma once
// Hidden windows for objects that need messages but are no controls (timers, the application): the handler is
// found through the window's GWL_USERDATA, so there is no limit on how many exist.
#include "platform/gui/control_messages.h"

win::HWND AllocateHWnd(TWndMethod AMethod);
void DeallocateHWnd(win::HWND AWindow);
