#include "platform/gui/dib_surface.h"

#include "platform/gdi/gdi.h"

TDibSurface::TDibSurface(int32_t AWidth, int32_t AHeight) : FWidth(AWidth), FHeight(AHeight)
{
    if (AWidth <= 0 || AHeight <= 0) return;
    win::BITMAPINFO info{};
    info.bmiHeader.biWidth = AWidth;
    info.bmiHeader.biHeight = -AHeight;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    FBitmap = win::CreateDIBSection(nullptr, &info, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FBitmap) return;
    FDC = win::CreateCompatibleDC(nullptr);
    FOldBitmap = win::SelectObject(FDC, FBitmap);
    FBits = static_cast<uint32_t*>(bits);
}

TDibSurface::~TDibSurface()
{
    if (FDC) {
        win::SelectObject(FDC, FOldBitmap);
        win::DeleteDC(FDC);
    }
    if (FBitmap) win::DeleteObject(FBitmap);
}

void TDibSurface::AlphaDraw(win::HDC ADest, const TRect& ARect, uint8_t AConstantAlpha) const
{
    if (!FBits) return;
    win::BLENDFUNCTION blend;
    blend.SourceConstantAlpha = AConstantAlpha;
    blend.AlphaFormat = win::AC_SRC_ALPHA;
    win::AlphaBlend(ADest, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), FDC, 0, 0, FWidth, FHeight, blend);
}
