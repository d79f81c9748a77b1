#pragma once
// Regions: sets of pixels held as y-x banded rectangles (pixman). Functions that report a region's kind return
// NULLREGION, SIMPLEREGION (one rectangle), COMPLEXREGION or ERROR.
#include "platform/gdi/gdi_types.h"

namespace win {

HRGN CreateRectRgn(int ALeft, int ATop, int ARight, int ABottom); // an inverted rectangle is normalised
HRGN CreateRectRgnIndirect(const RECT* ARect);
HRGN CreateEllipticRgn(int ALeft, int ATop, int ARight, int ABottom);
// AXform must be nullptr; the rectangles of AData are united (they need not be banded or disjoint).
HRGN ExtCreateRegion(const void* AXform, DWORD ACount, const RGNDATA* AData);
// Bytes needed when AData is nullptr or ACount is too small (then nothing is written); else the bytes written.
DWORD GetRegionData(HRGN ARegion, DWORD ACount, RGNDATA* AData);

// ADest may be one of the sources. RGN_COPY ignores ASrc2.
int CombineRgn(HRGN ADest, HRGN ASrc1, HRGN ASrc2, int AMode);
int OffsetRgn(HRGN ARegion, int ADX, int ADY);
BOOL SetRectRgn(HRGN ARegion, int ALeft, int ATop, int ARight, int ABottom);
BOOL PtInRegion(HRGN ARegion, int AX, int AY);
BOOL RectInRegion(HRGN ARegion, const RECT* ARect); // any pixel of the rectangle in the region
BOOL EqualRgn(HRGN A, HRGN B);
int GetRgnBox(HRGN ARegion, RECT* ARect);

// Painting a region through a DC (logical coordinates).
BOOL FillRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush);
BOOL FrameRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush, int AWidth, int AHeight);

} // namespace win
