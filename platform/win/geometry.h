#pragma once
// Placement, visibility, Z-order, coordinates, monitors and system metrics.
#include "platform/win/styles.h"
#include "platform/win/win_types.h"

namespace win {

// Sends WM_WINDOWPOSCHANGING (its WINDOWPOS may be changed), WM_NCCALCSIZE when the size or the frame changes,
// then WM_WINDOWPOSCHANGED, whose default sends WM_MOVE and WM_SIZE. Without SWP_NOACTIVATE a top-level
// window becomes active.
BOOL SetWindowPos(HWND AWindow, HWND AInsertAfter, int AX, int AY, int ACx, int ACy, UINT AFlags);
BOOL MoveWindow(HWND AWindow, int AX, int AY, int AWidth, int AHeight, BOOL ARepaint);
// WM_SHOWWINDOW arrives before the window becomes visible. Returns whether it was visible before.
BOOL ShowWindow(HWND AWindow, int ACommand);
BOOL BringWindowToTop(HWND AWindow);

// Window positions collected and applied together: every window is asked (WM_WINDOWPOSCHANGING), then all move
// at once, then each hears WM_WINDOWPOSCHANGED. A later entry for the same window replaces the earlier one.
// DeferWindowPos fails for an unknown window and then frees the batch, which must not be ended.
struct HDWP__;
using HDWP = HDWP__*;
HDWP BeginDeferWindowPos(int ANumWindows);
HDWP DeferWindowPos(HDWP APositions, HWND AWindow, HWND AInsertAfter, int AX, int AY, int ACx, int ACy, UINT AFlags);
BOOL EndDeferWindowPos(HDWP APositions);

BOOL GetWindowRect(HWND AWindow, TRect& ARect);  // screen coordinates
BOOL GetClientRect(HWND AWindow, TRect& ARect);  // client coordinates (0, 0, width, height)
BOOL ClientToScreen(HWND AWindow, TPoint& APoint);
BOOL ScreenToClient(HWND AWindow, TPoint& APoint);
int MapWindowPoints(HWND AFrom, HWND ATo, TPoint* APoints, UINT ACount);  // nullptr = the screen
// Asks the window through WM_GETMINMAXINFO, starting from the platform's defaults.
MINMAXINFO GetMinMaxInfo(HWND AWindow);
// The window rectangle that gives AClient as client area under the default frame of these styles.
BOOL AdjustWindowRectEx(TRect& AClient, DWORD AStyle, BOOL AMenu, DWORD AExStyle);

HWND WindowFromPoint(TPoint APoint);  // visible, enabled windows; honours window regions and click-through
HWND ChildWindowFromPoint(HWND AParent, TPoint APoint);  // APoint in AParent's client coordinates

HMONITOR MonitorFromWindow(HWND AWindow, DWORD AFlags);
HMONITOR MonitorFromPoint(TPoint APoint, DWORD AFlags);
HMONITOR MonitorFromRect(const TRect& ARect, DWORD AFlags);
BOOL GetMonitorInfo(HMONITOR AMonitor, MONITORINFO* AInfo);
// SPI_GETWORKAREA (TRect*), SPI_GETDRAGFULLWINDOWS (BOOL*).
BOOL SystemParametersInfo(UINT AAction, UINT AParam, void* AValue, UINT AWinIni);
int GetSystemMetrics(int AIndex);
// For backends: the monitors changed. Every top-level window hears WM_DISPLAYCHANGE (bits per pixel, size of the
// primary screen).
void NotifyDisplayChange();

}  // namespace win
