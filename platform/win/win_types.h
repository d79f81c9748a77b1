#pragma once
// Handles, parameter types and the records that travel with window messages. Message parameters are
// pointer-sized, so a message can carry an object pointer as the skinned components expect.
#include "platform/gdi/gdi_types.h"
#include "platform/rtl/types.h"

#include <cstdint>
#include <string>

namespace win {

using ATOM = uint16_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;
using UINT_PTR = uintptr_t;

// Opaque handles: distinct types so that a window cannot be passed where a cursor is expected.
struct HWND__;
using HWND = HWND__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
struct HDROP__;
using HDROP = HDROP__*;
struct HICON__;
using HICON = HICON__*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

inline constexpr WORD LOWORD(uintptr_t AValue) { return static_cast<WORD>(AValue & 0xFFFF); }
inline constexpr WORD HIWORD(uintptr_t AValue) { return static_cast<WORD>((AValue >> 16) & 0xFFFF); }
// Coordinates travel as signed words, so points left of or above the screen survive.
inline constexpr int GET_X_LPARAM(LPARAM AValue) { return static_cast<int16_t>(AValue & 0xFFFF); }
inline constexpr int GET_Y_LPARAM(LPARAM AValue) { return static_cast<int16_t>((AValue >> 16) & 0xFFFF); }
inline constexpr LPARAM MAKELPARAM(int ALow, int AHigh)
{
    return static_cast<LPARAM>(static_cast<int32_t>((static_cast<uint32_t>(AHigh) << 16) | (ALow & 0xFFFF)));
}
inline constexpr WPARAM MAKEWPARAM(int ALow, int AHigh)
{
    return static_cast<WPARAM>(static_cast<uint32_t>((static_cast<uint32_t>(AHigh) << 16) | (ALow & 0xFFFF)));
}
inline LPARAM PointToLParam(TPoint APoint) { return MAKELPARAM(APoint.X, APoint.Y); }
inline TPoint LParamToPoint(LPARAM AValue) { return {GET_X_LPARAM(AValue), GET_Y_LPARAM(AValue)}; }
inline constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM AValue) { return static_cast<int16_t>(HIWORD(AValue)); }

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    TPoint pt;  // the cursor, in screen coordinates, when the message was queued or taken from input
};

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HCURSOR hCursor = nullptr;
    // A background colour for the default erase: a system colour index + 1 or a colour (COLORREF) with
    // bit 24 set by BackgroundColor(); 0 = no erase.
    uintptr_t hbrBackground = 0;
    std::string lpszClassName;
};

inline constexpr uintptr_t BackgroundColor(DWORD AColorRef) { return 0x1000000u | (AColorRef & 0xFFFFFF); }

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    intptr_t hMenu = 0;  // the child id for child windows
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    std::string lpszName;
    std::string lpszClass;
    DWORD dwExStyle = 0;
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
    TRect rgrc[3];  // in: new window, old window, old client; out: [0] is the new client (parent coordinates)
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;
};

}  // namespace win
