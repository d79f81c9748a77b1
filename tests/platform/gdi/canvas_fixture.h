#pragma once
// A memory DC over a fresh 32-bit top-down DIB section, with direct access to its pixels.
#include <cstdint>

#include "platform/gdi/gdi.h"

namespace gdi_test {

struct Canvas {
    win::HDC Dc = nullptr;
    win::HBITMAP Bitmap = nullptr;
    win::HGDIOBJ Old = nullptr;
    uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;

    Canvas(int AWidth, int AHeight, uint32_t AFill = 0xFF000000u) : Width(AWidth), Height(AHeight)
    {
        win::BITMAPINFO info{};
        info.bmiHeader.biWidth = AWidth;
        info.bmiHeader.biHeight = -AHeight;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        Bitmap = win::CreateDIBSection(nullptr, &info, win::DIB_RGB_COLORS, &bits, nullptr, 0);
        Bits = static_cast<uint32_t*>(bits);
        Dc = win::CreateCompatibleDC(nullptr);
        Old = win::SelectObject(Dc, Bitmap);
        Fill(AFill);
    }
    ~Canvas()
    {
        win::SelectObject(Dc, Old);
        win::DeleteDC(Dc);
        win::DeleteObject(Bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void Fill(uint32_t APixel)
    {
        for (int i = 0; i < Width * Height; ++i)
            Bits[i] = APixel;
    }
    uint32_t& At(int x, int y) { return Bits[y * Width + x]; }
    // Pixels equal to APixel inside the rectangle, for checking where drawing landed.
    int Count(uint32_t APixel) const
    {
        int n = 0;
        for (int i = 0; i < Width * Height; ++i)
            n += Bits[i] == APixel;
        return n;
    }
};

} // namespace gdi_test
