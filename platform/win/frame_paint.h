#pragma once
// Painting the default frame: edges, caption bar with its text and buttons, in the classic system colours.
#include "platform/gdi/gdi_types.h"
#include "platform/win/win_types.h"

namespace win::wm {

void PaintDefaultFrame(HWND AWindow);  // through the window DC, outside the client area
void PaintDefaultFrameInto(HWND AWindow, HDC ADC);  // ADC's origin at the window's top-left corner

}  // namespace win::wm
