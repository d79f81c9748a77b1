#pragma once
// A view of pixel memory that the GDI draws on: 32 bits per pixel (0xAARRGGBB) or 24 (B, G, R bytes), rows from top
// to bottom with a stride that is negative for bottom-up memory.
#include <pixman.h>

#include <cstddef>
#include <cstdint>

#include "platform/gdi/gdi_types.h"

namespace win::detail {

// pixman keeps coordinates in 16.16 fixed point; larger surfaces are refused.
constexpr int kMaxSurfaceSide = 32767;

struct Surface {
    uint8_t* Top = nullptr; // first byte of the top row
    int Width = 0;
    int Height = 0;
    ptrdiff_t Stride = 0;
    int Bpp = 32;

    bool Valid() const { return Top != nullptr && Width > 0 && Height > 0; }
    uint8_t* Row(int y) const { return Top + ptrdiff_t(y) * Stride; }
    uint32_t Get(int x, int y) const
    {
        const uint8_t* p = Row(y) + ptrdiff_t(x) * (Bpp / 8);
        if (Bpp == 32)
            return *reinterpret_cast<const uint32_t*>(p);
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    }
    void Put(int x, int y, uint32_t pixel) const
    {
        uint8_t* p = Row(y) + ptrdiff_t(x) * (Bpp / 8);
        if (Bpp == 32) {
            *reinterpret_cast<uint32_t*>(p) = pixel;
            return;
        }
        p[0] = uint8_t(pixel);
        p[1] = uint8_t(pixel >> 8);
        p[2] = uint8_t(pixel >> 16);
    }
    pixman_format_code_t Format() const { return Bpp == 32 ? PIXMAN_a8r8g8b8 : PIXMAN_r8g8b8; }
    // A pixman image over the same memory; the caller unrefs it.
    pixman_image_t* MakeImage() const;
};

// COLORREF (0x00BBGGRR) to a GDI-drawn pixel (0x00RRGGBB: alpha 0) and back.
constexpr uint32_t PixelOf(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
constexpr COLORREF ColorOfPixel(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }

// A DIB described by a BITMAPINFO over caller memory; false for formats we do not draw from.
bool SurfaceOfDib(const BITMAPINFO* AInfo, const void* ABits, Surface& AOut);

} // namespace win::detail
