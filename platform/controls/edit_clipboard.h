#pragma once
// The text clipboard as the edit fields use it: the window manager's clipboard, which on X11 is the CLIPBOARD
// selection (owned and served by the backend) and in memory on the headless backend.
#include "platform/win/win_types.h"

#include <string>

namespace edittext {

bool ClipboardHasText();  // holds text that is not empty
std::string ClipboardText();
void SetClipboardText(win::HWND AOwner, const std::string& AText);

}  // namespace edittext
