#pragma once
// Device contexts over 32-bit (and 24-bit) memory surfaces.
//
// Coordinates: a logical point p becomes the device point p - window origin + viewport origin. Device (0, 0) is the
// top-left pixel of the DC's surface, or for a surface DC the pixel at its origin. The clip region (SelectClipRgn,
// IntersectClipRect, ExcludeClipRect) is kept in device coordinates; drawing goes where it meets the visible area.
// Coordinates are clamped to +-2^27, GDI's own range.
//
// Window DCs: the window manager creates them with CreateSurfaceDC over the 32-bit back buffer of a top-level
// window:
//     SurfaceDesc back{pixels, width, height, stride_bytes};
//     HDC dc = CreateSurfaceDC(back, {child_x, child_y}, visible_rgn);  // visible_rgn in device coordinates
//     ... paint ...
//     DeleteDC(dc);
// Device (0, 0) is surface pixel (child_x, child_y); drawing stays inside visible_rgn (copied; nullptr = no limit)
// and inside the surface. SelectClipRgn(dc, nullptr) returns to that visible area. The surface must outlive the DC;
// RebindSurfaceDC moves an existing DC to a new surface, origin or visible area (after a resize) and drops any clip
// region the caller had selected.
//
// The screen DC (CreateScreenDC, CreateDC("DISPLAY")) draws on a virtual 32-bit screen of 1280 x 1024 until a
// backend hands over its own with SetScreenSurface.
#include "platform/gdi/gdi_types.h"

namespace win {

struct SurfaceDesc {
    void* Bits = nullptr; // top-left pixel, 32 bits per pixel, 0xAARRGGBB in native byte order
    int Width = 0;
    int Height = 0;
    int Stride = 0; // bytes from one row to the next; negative for a bottom-up buffer
};

HDC CreateSurfaceDC(const SurfaceDesc& ASurface, TPoint AOrigin, HRGN AVisible);
BOOL RebindSurfaceDC(HDC ADC, const SurfaceDesc& ASurface, TPoint AOrigin, HRGN AVisible);

// The virtual screen. A DC created earlier keeps the old surface until it is deleted; the caller keeps the memory.
void SetScreenSurface(const SurfaceDesc& ASurface);
SurfaceDesc GetScreenSurface();
HDC CreateScreenDC();
// Only "DISPLAY" is known; it gives a screen DC.
HDC CreateDC(const char* ADriver, const char* ADevice, const char* AOutput, const void* AInitData);

// A memory DC with a 1 x 1 bitmap selected; ADC is ignored (every surface is 32-bit).
HDC CreateCompatibleDC(HDC ADC);
BOOL DeleteDC(HDC ADC);

HGDIOBJ SelectObject(HDC ADC, HGDIOBJ AObject); // a region is copied into the clip: returns the region kind instead
HGDIOBJ GetCurrentObject(HDC ADC, UINT AType);
int GetDeviceCaps(HDC ADC, int AIndex);
UINT GetDCType(HDC ADC); // OBJ_DC or OBJ_MEMDC; 0 for an invalid DC

int SaveDC(HDC ADC);                   // returns the new level (1 or more), 0 on failure
BOOL RestoreDC(HDC ADC, int ALevel);   // a negative level counts back from the current one

BOOL SetWindowOrgEx(HDC ADC, int AX, int AY, POINT* AOld);
BOOL GetWindowOrgEx(HDC ADC, POINT* APoint);
BOOL OffsetWindowOrgEx(HDC ADC, int ADX, int ADY, POINT* AOld);
BOOL SetViewportOrgEx(HDC ADC, int AX, int AY, POINT* AOld);
BOOL GetViewportOrgEx(HDC ADC, POINT* APoint);
BOOL OffsetViewportOrgEx(HDC ADC, int ADX, int ADY, POINT* AOld);
BOOL LPtoDP(HDC ADC, POINT* APoints, int ACount);
BOOL DPtoLP(HDC ADC, POINT* APoints, int ACount);

// Clipping. These return the region kind of the new clip (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
int SelectClipRgn(HDC ADC, HRGN ARegion);                                // device coordinates; copied
int IntersectClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom); // logical coordinates
int ExcludeClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom);   // logical coordinates
int OffsetClipRgn(HDC ADC, int ADX, int ADY);
int GetClipBox(HDC ADC, RECT* ARect);         // logical coordinates
int GetClipRgn(HDC ADC, HRGN ARegion);        // 1 and the region (device coordinates) when one is selected, else 0
BOOL RectVisible(HDC ADC, const RECT* ARect); // logical coordinates
BOOL PtVisible(HDC ADC, int AX, int AY);

// Drawing state.
int SetStretchBltMode(HDC ADC, int AMode);
int GetStretchBltMode(HDC ADC);
int SetROP2(HDC ADC, int AMode);
int GetROP2(HDC ADC);
int SetBkMode(HDC ADC, int AMode);
int GetBkMode(HDC ADC);
COLORREF SetBkColor(HDC ADC, COLORREF AColor);
COLORREF GetBkColor(HDC ADC);
COLORREF SetTextColor(HDC ADC, COLORREF AColor);
COLORREF GetTextColor(HDC ADC);
BOOL MoveToEx(HDC ADC, int AX, int AY, POINT* AOld);
BOOL GetCurrentPositionEx(HDC ADC, POINT* APoint);
BOOL GdiFlush();

} // namespace win
