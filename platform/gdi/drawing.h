#pragma once
// Lines, shapes and pixels with the selected pen and brush, through the DC's ROP2. On a 32-bit surface every pixel
// drawn here gets alpha 0. Lines leave out their end point; shapes leave out their right and bottom edges.
#include "platform/gdi/gdi_types.h"

namespace win {

BOOL LineTo(HDC ADC, int AX, int AY);
BOOL Polyline(HDC ADC, const POINT* APoints, int ACount);
BOOL PolyPolyline(HDC ADC, const POINT* APoints, const DWORD* ACounts, DWORD APolylines);
BOOL Rectangle(HDC ADC, int ALeft, int ATop, int ARight, int ABottom);
BOOL Ellipse(HDC ADC, int ALeft, int ATop, int ARight, int ABottom);
BOOL Polygon(HDC ADC, const POINT* APoints, int ACount); // alternate filling

// These use the given brush and ignore the pen and ROP2.
int FillRect(HDC ADC, const RECT* ARect, HBRUSH ABrush);
int FrameRect(HDC ADC, const RECT* ARect, HBRUSH ABrush);
BOOL InvertRect(HDC ADC, const RECT* ARect);
// The dotted focus frame: every other pixel of the rectangle's one-pixel border inverted (XOR), so that a second
// call with the same rectangle takes it away again.
BOOL DrawFocusRect(HDC ADC, const RECT* ARect);

COLORREF SetPixel(HDC ADC, int AX, int AY, COLORREF AColor); // returns the colour set, or CLR_INVALID (clipped)
BOOL SetPixelV(HDC ADC, int AX, int AY, COLORREF AColor);
COLORREF GetPixel(HDC ADC, int AX, int AY); // CLR_INVALID outside the clip

} // namespace win
