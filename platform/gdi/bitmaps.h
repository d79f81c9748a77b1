#pragma once
// Bitmaps (always DIBs in memory: 24 or 32 bits per pixel, top-down or bottom-up) and the blits between DCs.
//
// Blits clip to the destination's clip and to both surfaces; the parts of a source rectangle outside its surface
// are not drawn. SRCCOPY between 32-bit surfaces copies all four bytes; anything drawn from a 24-bit source or
// through another raster operation writes alpha 0.
#include "platform/gdi/gdi_types.h"

namespace win {

// 24 or 32 bpp, BI_RGB (or BI_BITFIELDS with the standard masks for 32 bpp), zero-filled. ABits receives the first
// byte of the DIB in memory (the bottom row for a bottom-up DIB). ASection and AOffset are ignored.
HBITMAP CreateDIBSection(HDC ADC, const BITMAPINFO* AInfo, UINT AUsage, void** ABits, HANDLE ASection,
                         DWORD AOffset);
// A 32-bit top-down bitmap, zero-filled. GetObject reports it as a device bitmap (no bits pointer, no DIBSECTION).
// A zero width or height gives the shared 1 x 1 stock bitmap.
HBITMAP CreateCompatibleBitmap(HDC ADC, int AWidth, int AHeight);
// Rows of the bitmap top-down, each padded to 16 bits.
LONG GetBitmapBits(HBITMAP ABitmap, LONG ACount, void* ABits);

// With ABits nullptr and biBitCount 0 fills in the header of the bitmap; otherwise copies scan lines
// [AStart, AStart + ALines) (counted from the bottom for a bottom-up result) as 24 or 32 bpp.
int GetDIBits(HDC ADC, HBITMAP ABitmap, UINT AStart, UINT ALines, void* ABits, BITMAPINFO* AInfo, UINT AUsage);
// For a bottom-up DIB the source origin (AXSrc, AYSrc) is its lower-left corner and ABits holds the scan lines
// [AStartScan, AStartScan + ALines) counted from the bottom; for a top-down DIB both count from the top.
int SetDIBitsToDevice(HDC ADC, int AXDest, int AYDest, DWORD AWidth, DWORD AHeight, int AXSrc, int AYSrc,
                      UINT AStartScan, UINT ALines, const void* ABits, const BITMAPINFO* AInfo, UINT AUsage);
// Negative extents mirror, as in StretchBlt. AYSrc counts from the bottom of the DIB, top-down or not.
int StretchDIBits(HDC ADC, int AXDest, int AYDest, int ADestWidth, int ADestHeight, int AXSrc, int AYSrc,
                  int ASrcWidth, int ASrcHeight, const void* ABits, const BITMAPINFO* AInfo, UINT AUsage, DWORD ARop);

BOOL BitBlt(HDC ADest, int AX, int AY, int AWidth, int AHeight, HDC ASrc, int AXSrc, int AYSrc, DWORD ARop);
// Extents of different signs mirror; a negative extent covers the pixels from X + Width + 1 up to X. COLORONCOLOR samples the nearest pixel; BLACKONWHITE and WHITEONBLACK AND or
// OR the pixels they drop when shrinking; HALFTONE filters.
BOOL StretchBlt(HDC ADest, int AX, int AY, int AWidth, int AHeight, HDC ASrc, int AXSrc, int AYSrc, int ASrcWidth,
                int ASrcHeight, DWORD ARop);
// Source over destination; with AC_SRC_ALPHA the source is premultiplied. Fails when the source rectangle is not
// inside the source surface or an extent is negative.
BOOL AlphaBlend(HDC ADest, int AX, int AY, int AWidth, int AHeight, HDC ASrc, int AXSrc, int AYSrc, int ASrcWidth,
                int ASrcHeight, BLENDFUNCTION ABlend);
// Fills with the selected brush through a raster operation (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS).
BOOL PatBlt(HDC ADC, int AX, int AY, int AWidth, int AHeight, DWORD ARop);

} // namespace win
