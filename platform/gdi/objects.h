#pragma once
// GDI objects in general: their kind, their description, deleting them, the stock objects.
#include "platform/gdi/gdi_types.h"

namespace win {

UINT GetObjectType(HGDIOBJ AObject); // OBJ_* or 0 for an invalid handle
// Copies the object's description (BITMAP or DIBSECTION, LOGPEN, LOGBRUSH, LOGFONT) into ABuffer; with ABuffer
// nullptr returns the size needed. Returns the bytes written, 0 on failure.
int GetObject(HGDIOBJ AObject, int ASize, void* ABuffer);
// Fails for an object selected into a DC (or held by a saved DC state); stock objects are never freed.
BOOL DeleteObject(HGDIOBJ AObject);
HGDIOBJ GetStockObject(int AIndex);

HPEN CreatePen(int AStyle, int AWidth, COLORREF AColor);
HPEN CreatePenIndirect(const LOGPEN* APen);
// Geometric pens: the width and style are used; caps are flat and joins mitred whatever the style says.
HPEN ExtCreatePen(DWORD AStyle, DWORD AWidth, const LOGBRUSH* ABrush, DWORD AStyleCount, const DWORD* AStyles);
HBRUSH CreateSolidBrush(COLORREF AColor);
// BS_SOLID, BS_NULL, BS_HATCHED (lbHatch an HS_ style) and BS_PATTERN (lbHatch a bitmap handle).
HBRUSH CreateBrushIndirect(const LOGBRUSH* ABrush);
// Hatch lines in AColor; the gaps take the DC's background colour in OPAQUE mode and are left alone in TRANSPARENT
// mode. The pattern repeats every eight pixels from the device origin.
HBRUSH CreateHatchBrush(int AHatch, COLORREF AColor);
// The bitmap's pixels at the time of the call, tiled from the device origin; the bitmap may be deleted afterwards.
HBRUSH CreatePatternBrush(HBITMAP ABitmap);

} // namespace win
