#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/stretch.h"

namespace win {

using namespace detail;

namespace {

SignedRect DestRect(const DC& ADC, int AX, int AY, int AWidth, int AHeight)
{
    const POINT p = ADC.ToSurface(AX, AY);
    return {p.X, p.Y, AWidth, AHeight};
}

BOOL DrawFromDC(HDC ADest, int AX, int AY, int AWidth, int AHeight, HDC ASrc, int AXSrc, int AYSrc, int ASrcWidth,
                int ASrcHeight, DWORD ARop, const BLENDFUNCTION* ABlend)
{
    DC* dest = FindDC(ADest);
    if (dest == nullptr)
        return FALSE;
    BlitRequest request;
    request.Dest = DestRect(*dest, AX, AY, AWidth, AHeight);
    request.Rop = ARop;
    request.StretchMode = dest->State.StretchMode;
    if (ABlend != nullptr)
        request.Blend = *ABlend;
    DC* source = FindDC(ASrc);
    Surface sourcePixels;
    if (source != nullptr) {
        const POINT p = source->ToSurface(AXSrc, AYSrc);
        request.Source = {p.X, p.Y, ASrcWidth, ASrcHeight};
        sourcePixels = source->Target();
    } else if (ASrc != nullptr) {
        return FALSE;
    }
    return Stretch(*dest, sourcePixels, request) ? TRUE : FALSE;
}

// StretchDIBits measures the source rectangle from the DIB's lower-left corner whatever its row order; callers
// that draw part of a top-down DIB count on that.
SignedRect DibSourceRect(int AHeightOfRows, int AX, int AY, int AWidth, int AHeight)
{
    return {AX, AHeightOfRows - AY - AHeight, AWidth, AHeight};
}

} // namespace

BOOL BitBlt(HDC ADest, int AX, int AY, int AWidth, int AHeight, HDC ASrc, int AXSrc, int AYSrc, DWORD ARop)
{
    // An unscaled blit never folds, whatever the stretch mode.
    return DrawFromDC(ADest, AX, AY, AWidth, AHeight, ASrc, AXSrc, AYSrc, AWidth, AHeight, ARop, nullptr);
}

BOOL StretchBlt(HDC ADest, int AX, int AY, int AWidth, int AHeight, HDC ASrc, int AXSrc, int AYSrc, int ASrcWidth,
                int ASrcHeight, DWORD ARop)
{
    return DrawFromDC(ADest, AX, AY, AWidth, AHeight, ASrc, AXSrc, AYSrc, ASrcWidth, ASrcHeight, ARop, nullptr);
}

BOOL AlphaBlend(HDC ADest, int AX, int AY, int AWidth, int AHeight, HDC ASrc, int AXSrc, int AYSrc, int ASrcWidth,
                int ASrcHeight, BLENDFUNCTION ABlend)
{
    DC* source = FindDC(ASrc);
    if (source == nullptr || ABlend.BlendOp != AC_SRC_OVER || AWidth < 0 || AHeight < 0 || ASrcWidth < 0 ||
        ASrcHeight < 0)
        return FALSE;
    const Surface& s = source->Target();
    if ((ABlend.AlphaFormat & AC_SRC_ALPHA) != 0 && s.Bpp != 32)
        return FALSE;
    const POINT p = source->ToSurface(AXSrc, AYSrc);
    if (p.X < 0 || p.Y < 0 || p.X + ASrcWidth > s.Width || p.Y + ASrcHeight > s.Height)
        return FALSE;
    return DrawFromDC(ADest, AX, AY, AWidth, AHeight, ASrc, AXSrc, AYSrc, ASrcWidth, ASrcHeight, 0, &ABlend);
}

BOOL PatBlt(HDC ADC, int AX, int AY, int AWidth, int AHeight, DWORD ARop)
{
    return DrawFromDC(ADC, AX, AY, AWidth, AHeight, nullptr, 0, 0, 0, 0, ARop, nullptr);
}

int StretchDIBits(HDC ADC, int AXDest, int AYDest, int ADestWidth, int ADestHeight, int AXSrc, int AYSrc,
                  int ASrcWidth, int ASrcHeight, const void* ABits, const BITMAPINFO* AInfo, UINT AUsage, DWORD ARop)
{
    DC* dest = FindDC(ADC);
    Surface source;
    if (dest == nullptr || AUsage != DIB_RGB_COLORS || !SurfaceOfDib(AInfo, ABits, source))
        return 0;
    BlitRequest request;
    request.Dest = DestRect(*dest, AXDest, AYDest, ADestWidth, ADestHeight);
    request.Source = DibSourceRect(source.Height, AXSrc, AYSrc, ASrcWidth, ASrcHeight);
    request.Rop = ARop;
    request.StretchMode = dest->State.StretchMode;
    if (!Stretch(*dest, source, request))
        return 0;
    return ASrcHeight < 0 ? -ASrcHeight : ASrcHeight;
}

int SetDIBitsToDevice(HDC ADC, int AXDest, int AYDest, DWORD AWidth, DWORD AHeight, int AXSrc, int AYSrc,
                      UINT AStartScan, UINT ALines, const void* ABits, const BITMAPINFO* AInfo, UINT AUsage)
{
    DC* dest = FindDC(ADC);
    if (dest == nullptr || AUsage != DIB_RGB_COLORS || AInfo == nullptr || ABits == nullptr || ALines == 0 ||
        AWidth > DWORD(kMaxSurfaceSide) || AHeight > DWORD(kMaxSurfaceSide))
        return 0;
    const BITMAPINFOHEADER& h = AInfo->bmiHeader;
    const bool bottomUp = h.biHeight > 0;
    const long long fullHeight = bottomUp ? h.biHeight : -static_cast<long long>(h.biHeight);
    if (fullHeight <= 0 || AStartScan >= fullHeight)
        return 0;
    const UINT lines = UINT(std::min<long long>(ALines, fullHeight - AStartScan));
    // ABits holds only the given scan lines: describe them as a DIB of their own.
    BITMAPINFO band = *AInfo;
    band.bmiHeader.biHeight = bottomUp ? LONG(lines) : -LONG(lines);
    Surface source;
    if (!SurfaceOfDib(&band, ABits, source))
        return 0;
    // Source rows of the whole DIB, top-down, then shifted into the band.
    const int fullTop = bottomUp ? int(fullHeight) - AYSrc - int(AHeight) : AYSrc;
    const int bandTop = bottomUp ? int(fullHeight) - int(AStartScan) - int(lines) : int(AStartScan);
    BlitRequest request;
    request.Dest = DestRect(*dest, AXDest, AYDest, int(AWidth), int(AHeight));
    request.Source = {AXSrc, fullTop - bandTop, int(AWidth), int(AHeight)};
    if (!Stretch(*dest, source, request))
        return 0;
    return int(lines);
}

} // namespace win
