#pragma once
// A scratch 32-bit top-down DIB section selected into its own memory DC, for pictures that hand their pixels to
// the GDI's blits (alpha blending, key masks). Pixels are 0xAARRGGBB words.
#include <cstdint>

#include "platform/gdi/gdi_types.h"

class TDibSurface {
public:
    TDibSurface(int32_t AWidth, int32_t AHeight);
    ~TDibSurface();
    TDibSurface(const TDibSurface&) = delete;
    TDibSurface& operator=(const TDibSurface&) = delete;

    bool Valid() const { return FBits != nullptr; }
    win::HDC DC() const { return FDC; }
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    uint32_t* Row(int32_t AY) { return FBits + static_cast<size_t>(AY) * FWidth; }

    // Draws the whole surface into ADest: premultiplied alpha over the destination.
    void AlphaDraw(win::HDC ADest, const TRect& ARect, uint8_t AConstantAlpha = 255) const;

private:
    int32_t FWidth;
    int32_t FHeight;
    uint32_t* FBits = nullptr;
    win::HBITMAP FBitmap = nullptr;
    win::HGDIOBJ FOldBitmap = nullptr;
    win::HDC FDC = nullptr;
};

// 0xAARRGGBB from straight colour and alpha, premultiplied (rounded), as the GDI's AlphaBlend wants it.
inline uint32_t PremultipliedPixel(uint8_t AR, uint8_t AG, uint8_t AB, uint8_t AA)
{
    auto mul = [AA](uint8_t c) { return static_cast<uint32_t>((c * AA + 127) / 255); };
    return (uint32_t(AA) << 24) | (mul(AR) << 16) | (mul(AG) << 8) | mul(AB);
}
