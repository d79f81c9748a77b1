#pragma once
// Version and feature gates: which newer window features may be used. The answers come from the platform
// layer's one fixed capability set, so every caller sees the same platform.
#include "platform/gdi/gdi_types.h"
#include "platform/rtl/types.h"
#include "platform/win/win_types.h"

void GetOSVersion(Integer& Major, Integer& Minor);
bool IsWin7();
bool IsVistaOrLater();
bool IsXPOrLater();
bool IsWin2000OrLater();
// The same tests for a given version, for callers and tests that hold one.
bool IsWin7(Integer Major, Integer Minor);
bool IsVistaOrLater(Integer Major, Integer Minor);
bool IsXPOrLater(Integer Major, Integer Minor);
bool IsWin2000OrLater(Integer Major, Integer Minor);

// Wide text goes to the text drawing directly; this platform always takes that path.
bool IsNTFamily();

// Desktop composition: without it (as here) the state reads off and the calls do nothing.
void LoadDwmApi();
bool IsDwmCompositionOn();
void SetDwmTransitionsEnabled(win::HWND Wnd, bool Enabled);
void EnableDwmBlur(win::HWND Wnd, bool Enable, win::HRGN Region);

// Layered window entry points: present only when the platform can show layered windows.
bool HasSetLayeredWindowAttributes();
bool HasUpdateLayeredWindow();

bool HasSeveralMonitors();
void GetDesktopWorkArea(bool UseWorkArea, TRect& R);
void GetWorkAreaOf(win::HWND Wnd, bool UseWorkArea, TRect& R);
