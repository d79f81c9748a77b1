#pragma once
// The edit fields' own messages and styles, with the platform's numbers.
#include "platform/win/win_types.h"

namespace win {

inline constexpr UINT EM_GETSEL = 0x00B0;        // WParam, LParam: DWORD* first, last (characters); may be 0
inline constexpr UINT EM_SETSEL = 0x00B1;        // WParam: anchor, LParam: caret; -1 anchor = no selection
inline constexpr UINT EM_GETRECT = 0x00B2;       // LParam: RECT* the formatting rectangle
inline constexpr UINT EM_SETRECTNP = 0x00B4;     // LParam: RECT* (nullptr = the default); no repaint
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_LINEFROMCHAR = 0x00C9;
inline constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
inline constexpr UINT EM_SETMARGINS = 0x00D3;    // WParam: EC_ flags, LParam: left | right << 16
inline constexpr UINT EM_GETMARGINS = 0x00D4;

inline constexpr WPARAM EC_LEFTMARGIN = 0x0001;
inline constexpr WPARAM EC_RIGHTMARGIN = 0x0002;

inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;

}  // namespace win
