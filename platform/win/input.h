#pragma once
// Pointer and keyboard: capture, focus, activation, cursor and key state, and the functions a backend calls
// to feed raw input in. Raw input becomes window messages on the receiving thread when it takes its messages:
// WM_NCHITTEST, then WM_MOUSEACTIVATE (a button press on an inactive window), then WM_SETCURSOR, then the
// client or non-client mouse message.
#include "platform/win/win_types.h"

#include <string>

namespace win {

HWND SetCapture(HWND AWindow);  // all pointer input then arrives as client messages of AWindow
BOOL ReleaseCapture();
HWND GetCapture();

HWND SetFocus(HWND AWindow);  // WM_KILLFOCUS to the old window, then WM_SETFOCUS to the new one
HWND GetFocus();
HWND SetActiveWindow(HWND AWindow);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND AWindow);
HWND GetForegroundWindow();

BOOL GetCursorPos(TPoint& APoint);
BOOL SetCursorPos(int AX, int AY);  // moves the pointer as the user would: a move event follows
HCURSOR SetCursor(HCURSOR ACursor);
HCURSOR GetCursor();
HCURSOR LoadCursor(void* AInstance, uintptr_t AId);  // the standard IDC_ cursors
UINT GetDoubleClickTime();

// Bit 0x8000 (as a negative SHORT) = down. GetKeyState answers as of the message being processed, with bit
// 1 = toggled; GetAsyncKeyState answers for now.
int16_t GetKeyState(int AVirtualKey);
int16_t GetAsyncKeyState(int AVirtualKey);

// For backends (any thread). Buttons are VK_LBUTTON, VK_RBUTTON, VK_MBUTTON; AChar is the text the key
// types (0 = none) and becomes WM_CHAR through TranslateMessage.
void QueueMouseMove(TPoint AScreen);
void QueueMouseButton(TPoint AScreen, int AButton, bool ADown);
// Positive: away from the user (vertical), to the right (horizontal, WM_MOUSEHWHEEL); WHEEL_DELTA a notch.
void QueueMouseWheel(TPoint AScreen, int ADelta, bool AHorizontal = false);
void QueueKey(int AVirtualKey, bool ADown, char32_t AChar = 0);

}  // namespace win
