#pragma once
// Invalidation, WM_PAINT, window and client DCs, scrolling and window regions.
//
// Every top-level window has a 32-bit back buffer the size of its window rectangle; child windows paint into
// their part of it. A DC from GetDC/GetWindowDC/BeginPaint is a gdi surface DC over that buffer with its origin
// at the window's client (or window) corner, limited to what is visible of the window: inside every ancestor's
// client area, outside children (WS_CLIPCHILDREN) and siblings above (WS_CLIPSIBLINGS), inside window regions.
#include "platform/gdi/gdi_types.h"
#include "platform/win/win_types.h"

namespace win {

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;  // TRUE when WM_ERASEBKGND left the background to the painter
    TRect rcPaint;        // client coordinates
    bool CaretHidden = false;  // BeginPaint hid the caret; EndPaint shows it again
};

BOOL InvalidateRect(HWND AWindow, const TRect* ARect, BOOL AErase);  // nullptr = the whole client area
BOOL InvalidateRgn(HWND AWindow, HRGN ARegion, BOOL AErase);
BOOL ValidateRect(HWND AWindow, const TRect* ARect);
BOOL ValidateRgn(HWND AWindow, HRGN ARegion);
BOOL RedrawWindow(HWND AWindow, const TRect* ARect, HRGN ARegion, UINT AFlags);
BOOL UpdateWindow(HWND AWindow);  // sends WM_PAINT now when the window has something to paint
BOOL GetUpdateRect(HWND AWindow, TRect* ARect, BOOL AErase);
int GetUpdateRgn(HWND AWindow, HRGN ARegion, BOOL AErase);

// Sends WM_NCPAINT if the frame waits for painting, then WM_ERASEBKGND if the update asked for it, and
// validates the update region.
HDC BeginPaint(HWND AWindow, PAINTSTRUCT& APaint);
BOOL EndPaint(HWND AWindow, const PAINTSTRUCT& APaint);
HDC GetDC(HWND AWindow);        // client area; nullptr = the screen
HDC GetWindowDC(HWND AWindow);  // whole window, origin at its top-left corner
int ReleaseDC(HWND AWindow, HDC ADC);
// Renders the client area as it shows now, children included, into ADest at (0, 0): ADest gets at most its
// client width x height. FALSE for an unknown window.
BOOL PrintClientArea(HWND AWindow, HDC ADest);
HWND WindowFromDC(HDC ADC);

// Moves the pixels of the client area (or of AScroll) and invalidates what was uncovered.
int ScrollWindowEx(HWND AWindow, int ADx, int ADy, const TRect* AScroll, const TRect* AClip, HRGN AUpdate,
                   TRect* AUpdateRect, UINT AFlags);
BOOL ScrollWindow(HWND AWindow, int ADx, int ADy, const TRect* AScroll, const TRect* AClip);

// The window takes the region (window coordinates) and deletes it later; nullptr makes it rectangular again.
int SetWindowRgn(HWND AWindow, HRGN ARegion, BOOL ARedraw);
int GetWindowRgn(HWND AWindow, HRGN ARegion);  // copies it; ERROR when the window has none

}  // namespace win
