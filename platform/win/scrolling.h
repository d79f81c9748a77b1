#pragma once
// Scroll state of windows: a horizontal and a vertical state per window (and one for SB_CTL), read and set as
// the platform does it, with its clamping. The state lives on whether or not WS_HSCROLL / WS_VSCROLL bars are
// shown: controls that hide the native bars and draw their own keep reading and writing it. The default frame
// reserves no room for native bars and draws none; ShowScrollBar only switches the style bits.
// WM_HSCROLL / WM_VSCROLL and their SB_ request codes are in messages.h.
#include "platform/win/win_types.h"

namespace win {

inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;

inline constexpr UINT SIF_RANGE = 0x0001;
inline constexpr UINT SIF_PAGE = 0x0002;
inline constexpr UINT SIF_POS = 0x0004;
inline constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
inline constexpr UINT SIF_TRACKPOS = 0x0010;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

inline constexpr UINT ESB_ENABLE_BOTH = 0x0000;
inline constexpr UINT ESB_DISABLE_LTUP = 0x0001;
inline constexpr UINT ESB_DISABLE_RTDN = 0x0002;
inline constexpr UINT ESB_DISABLE_BOTH = 0x0003;

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Sets what AInfo.fMask names, then clamps as the platform does: a range with nMin > nMax becomes 0..0, the
// page at most the range's size (nMax - nMin + 1), the position between nMin and nMax - nPage + 1 (nMax without
// a page). Returns the position after that. SIF_TRACKPOS is ignored here.
int SetScrollInfo(HWND AWindow, int ABar, const SCROLLINFO& AInfo, BOOL ARedraw);
// Fills what AInfo.fMask asks for. FALSE when the window has neither the bar's style nor a state set for it;
// a bar with the style and no state reads as 0..100 at 0. nTrackPos is the position (no bar is dragged here).
BOOL GetScrollInfo(HWND AWindow, int ABar, SCROLLINFO& AInfo);
int GetScrollPos(HWND AWindow, int ABar);
int SetScrollPos(HWND AWindow, int ABar, int APos, BOOL ARedraw);  // returns the previous position
BOOL GetScrollRange(HWND AWindow, int ABar, int* AMin, int* AMax);
BOOL SetScrollRange(HWND AWindow, int ABar, int AMin, int AMax, BOOL ARedraw);
// Shows or hides the native bars (SB_HORZ, SB_VERT, SB_BOTH) by their style bits; the state stays.
BOOL ShowScrollBar(HWND AWindow, int ABar, BOOL AShow);
// ESB_ flags per arrow; FALSE when nothing changed.
BOOL EnableScrollBar(HWND AWindow, UINT ABar, UINT AArrows);

// Where a WM_HSCROLL / WM_VSCROLL request moves a scroll state: ACode is the SB_ code, AThumb the position of
// SB_THUMBPOSITION / SB_THUMBTRACK, ALine the size of one line. The message carries only 16 bits of the thumb:
// when AInfo holds SIF_TRACKPOS and the track position's low 16 bits are the thumb's, the whole 32-bit track
// position is taken (a sender of a thumb past 65,535 sets the bar's position first). The result is clamped as
// SetScrollInfo does; SB_ENDSCROLL and unknown codes keep the position.
int ScrollRequestTarget(const SCROLLINFO& AInfo, WORD ACode, int AThumb, int ALine = 1);

}  // namespace win
