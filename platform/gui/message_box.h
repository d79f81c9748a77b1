#pragma once
// A plain message box for failures before the skin exists: the text, a title and an OK button, modal.
#include "platform/win/win_types.h"

#include <string>

inline constexpr win::UINT MB_OK = 0x00000000;
inline constexpr win::UINT MB_ICONSTOP = 0x00000010;
inline constexpr win::UINT MB_ICONERROR = MB_ICONSTOP;
inline constexpr win::UINT MB_ICONWARNING = 0x00000030;
inline constexpr win::UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;

// Returns IDOK when closed. Needs the application (for its message loop).
int ShowPlainMessageBox(const std::string& AText, const std::string& ACaption, win::UINT AFlags = MB_OK);
// The form the box was last shown in while it is up (for tests and scripted runs), or nullptr.
class TCustomForm;
TCustomForm* CurrentPlainMessageBox();
