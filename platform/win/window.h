#pragma once
// Window classes, creating and destroying windows, the window tree, window data and window procedures.
#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/win_types.h"

#include <functional>
#include <string>

namespace win {

ATOM RegisterClass(const WNDCLASS& AClass);  // 0 when a class of that name exists
BOOL UnregisterClass(const std::string& AClassName);
BOOL GetClassInfo(const std::string& AClassName, WNDCLASS& AClass);
std::string GetClassName(HWND AWindow);
LONG_PTR GetClassLong(HWND AWindow, int AIndex);  // GCL_STYLE, GCL_HCURSOR
LONG_PTR SetClassLong(HWND AWindow, int AIndex, LONG_PTR AValue);

// The creation messages arrive in this order: WM_GETMINMAXINFO (sizeable or overlapped windows), WM_NCCREATE,
// WM_NCCALCSIZE, WM_CREATE, WM_PARENTNOTIFY to the ancestors of a child, WM_SIZE, WM_MOVE, then the show
// sequence of ShowWindow when the style has WS_VISIBLE. AParent is the parent of a WS_CHILD window and the
// owner of any other. AMenu is the child id.
HWND CreateWindowEx(DWORD AExStyle, const std::string& AClassName, const std::string& AWindowName, DWORD AStyle,
                    int AX, int AY, int AWidth, int AHeight, HWND AParent, intptr_t AMenu = 0,
                    void* AParam = nullptr);
// On the window's own thread only. Owned windows go first; then WM_DESTROY reaches the window and then its
// children, and WM_NCDESTROY reaches the children before the window.
BOOL DestroyWindow(HWND AWindow);

BOOL IsWindow(HWND AWindow);
BOOL IsWindowVisible(HWND AWindow);  // the window and all its ancestors
BOOL IsWindowEnabled(HWND AWindow);
BOOL EnableWindow(HWND AWindow, BOOL AEnable);  // returns whether it was disabled before
BOOL IsChild(HWND AParent, HWND AWindow);
BOOL IsIconic(HWND AWindow);
BOOL IsZoomed(HWND AWindow);
HWND GetParent(HWND AWindow);  // the parent of a child, the owner of a top-level window
HWND SetParent(HWND AWindow, HWND ANewParent);
HWND GetAncestor(HWND AWindow, UINT AFlags);
HWND GetWindow(HWND AWindow, UINT ACommand);
HWND GetTopWindow(HWND AParent);  // nullptr = the topmost top-level window
DWORD GetWindowThreadProcessId(HWND AWindow, DWORD* AProcessId = nullptr);

LONG_PTR GetWindowLong(HWND AWindow, int AIndex);
LONG_PTR SetWindowLong(HWND AWindow, int AIndex, LONG_PTR AValue);  // returns the previous value

BOOL SetWindowText(HWND AWindow, const std::string& AText);  // through WM_SETTEXT
std::string GetWindowText(HWND AWindow);
int GetWindowTextLength(HWND AWindow);

LRESULT CallWindowProc(WNDPROC AProc, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
LRESULT DefWindowProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);

// A window procedure that calls an object's method: a real procedure address that can be stored with
// SetWindowLong(GWL_WNDPROC) and called through CallWindowProc. Free it when the object goes.
using TObjectWndProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
WNDPROC MakeObjectInstance(TObjectWndProc AMethod);
void FreeObjectInstance(WNDPROC AProc);

// For WM_STYLECHANGING/WM_STYLECHANGED (lParam points to it).
struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

}  // namespace win
