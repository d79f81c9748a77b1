#pragma once
// The default non-client frame: its metrics, the client rectangle it leaves, its hit testing and the
// rectangles of its caption buttons. Painting it lives in frame_paint.cpp.
#include "platform/win/win_types.h"

namespace win::wm {

int FrameThickness(DWORD AStyle, DWORD AExStyle);  // border and frame, one side
int CaptionHeight(DWORD AStyle, DWORD AExStyle);   // 0 without WS_CAPTION; includes the line below it
TRect DefaultClientRect(DWORD AStyle, DWORD AExStyle, const TRect& AWindow);
// APoint and the result in window coordinates (0, 0 = top-left of the window).
TRect CaptionRect(DWORD AStyle, DWORD AExStyle, int AWidth);
TRect CloseButtonRect(DWORD AStyle, DWORD AExStyle, int AWidth);
TRect MaxButtonRect(DWORD AStyle, DWORD AExStyle, int AWidth);
TRect MinButtonRect(DWORD AStyle, DWORD AExStyle, int AWidth);
LRESULT DefaultHitTest(DWORD AStyle, DWORD AExStyle, int AWidth, int AHeight, const TRect& AClientInWindow,
                       TPoint APoint);

}  // namespace win::wm
