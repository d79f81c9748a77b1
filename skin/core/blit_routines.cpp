#include "skin/core/blit_routines.h"

#include "platform/gdi/gdi.h"
#include "platform/win/backend.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/surface_blits.h"

namespace {

bool GTransparentBltAvailable = false;

TspSurface SurfaceOf(TspBitmap* ABitmap)
{
    return TspSurface::TopDown(ABitmap->Bits(), ABitmap->Width(), ABitmap->Height());
}

void StretchDCCopy(win::HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TspBitmap* Bitmap,
                   Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH)
{
    win::SetStretchBltMode(DC, win::COLORONCOLOR);
    win::StretchBlt(DC, DstX, DstY, DstW, DstH, Bitmap->DC(), SrcX, SrcY, SrcW, SrcH, win::SRCCOPY);
}

// Reads back what lies under the destination, lets the bitmap draw itself over it in memory by its own mode,
// and writes the result back.
void MemoryDCBlt(win::HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TspBitmap* Bitmap, Integer SrcX,
                 Integer SrcY, Integer SrcW, Integer SrcH)
{
    if (DstW <= 0 || DstH <= 0) return;
    TspBitmap scratch;
    scratch.SetSize(DstW, DstH);
    win::BitBlt(scratch.DC(), 0, 0, DstW, DstH, DC, DstX, DstY, win::SRCCOPY);
    Bitmap->Draw(&scratch, Rect(0, 0, DstW, DstH), Rect(SrcX, SrcY, SrcX + SrcW, SrcY + SrcH));
    win::BitBlt(DC, DstX, DstY, DstW, DstH, scratch.DC(), 0, 0, win::SRCCOPY);
}

void* DIBInfoOf(win::HDC DC, Integer& Width, Integer& Height, Integer& BitCount)
{
    Width = Height = BitCount = 0;
    const win::HGDIOBJ bitmap = win::GetCurrentObject(DC, win::OBJ_BITMAP);
    win::DIBSECTION section{};
    if (bitmap == nullptr || win::GetObject(bitmap, sizeof section, &section) != static_cast<int>(sizeof section))
        return nullptr;
    Width = section.dsBmih.biWidth;
    Height = section.dsBmih.biHeight;
    BitCount = section.dsBmih.biBitCount;
    return section.dsBm.bmBits;
}

template <TspBlitMode Mode>
void DIBBlt(void* Bits, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect, TspBitmap* Src,
            Integer DIBHeight, Integer DIBWidth)
{
    if (Bits == nullptr || Src->Empty() || DIBWidth <= 0 || DIBHeight <= 0) return;
    SurfaceStretch(Mode, TspScaleRounding::Nearest,
                   TspSurface::BottomUp(static_cast<TspColor*>(Bits), DIBWidth, DIBHeight), DstRect, ClipRect,
                   SrcRect, SurfaceOf(Src));
}

template <TspBlitMode Mode>
void BmpBlt(TspBitmap* Dest, const TRect& DstRect, TspBitmap* Src, Integer SrcX, Integer SrcY)
{
    if (Dest->Empty() || Src->Empty()) return;
    SurfaceBlit(Mode, SurfaceOf(Dest), DstRect, SurfaceOf(Src), SrcX, SrcY);
}

template <TspBlitMode Mode>
void BmpStretchBlt(TspBitmap* Dest, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect, TspBitmap* Src)
{
    if (Dest->Empty() || Src->Empty()) return;
    SurfaceStretch(Mode, TspScaleRounding::Truncate, SurfaceOf(Dest), DstRect, ClipRect, SrcRect, SurfaceOf(Src));
}

bool GStarted = false;

}  // namespace

TspDCBlt DCCopyBlt = StretchDCCopy;
TspDCBlt DCBlendBlt = MemoryDCBlt;
TspDCBlt DCKeyBlt = MemoryDCBlt;
TspGetDIBInfo GetDIBInfo = DIBInfoOf;
TspDIBBlt DIBCopyBlt = DIBBlt<TspBlitMode::Copy>;
TspDIBBlt DIBBlendBlt = DIBBlt<TspBlitMode::Blend>;
TspDIBBlt DIBKeyBlt = DIBBlt<TspBlitMode::Key>;
TspBmpBlt BmpCopyBlt = BmpBlt<TspBlitMode::Copy>;
TspBmpBlt BmpBlendBlt = BmpBlt<TspBlitMode::Blend>;
TspBmpBlt BmpKeyBlt = BmpBlt<TspBlitMode::Key>;
TspBmpStretchBlt BmpStretchCopyBlt = BmpStretchBlt<TspBlitMode::Copy>;
TspBmpStretchBlt BmpStretchBlendBlt = BmpStretchBlt<TspBlitMode::Blend>;
TspBmpStretchBlt BmpStretchKeyBlt = BmpStretchBlt<TspBlitMode::Key>;

void LoadTransparentBlt() { GTransparentBltAvailable = win::Capabilities().TransparentBlt; }

bool TransparentBltAvailable() { return GTransparentBltAvailable; }

bool IsDeepColorScreen()
{
    const win::HDC screen = win::CreateScreenDC();
    if (screen == nullptr) return false;
    const int depth = win::GetDeviceCaps(screen, win::BITSPIXEL) * win::GetDeviceCaps(screen, win::PLANES);
    win::DeleteDC(screen);
    return depth > 23;
}

void InitBlitRoutines()
{
    DCCopyBlt = StretchDCCopy;
    DCBlendBlt = MemoryDCBlt;
    // Only the software key path exists here; the system routine would need TransparentBltAvailable().
    DCKeyBlt = MemoryDCBlt;
    GetDIBInfo = DIBInfoOf;
    DIBCopyBlt = DIBBlt<TspBlitMode::Copy>;
    DIBBlendBlt = DIBBlt<TspBlitMode::Blend>;
    DIBKeyBlt = DIBBlt<TspBlitMode::Key>;
    BmpCopyBlt = BmpBlt<TspBlitMode::Copy>;
    BmpBlendBlt = BmpBlt<TspBlitMode::Blend>;
    BmpKeyBlt = BmpBlt<TspBlitMode::Key>;
    BmpStretchCopyBlt = BmpStretchBlt<TspBlitMode::Copy>;
    BmpStretchBlendBlt = BmpStretchBlt<TspBlitMode::Blend>;
    BmpStretchKeyBlt = BmpStretchBlt<TspBlitMode::Key>;
}

void SkinEffectsUnitStart()
{
    if (GStarted) return;
    GStarted = true;
    InitPixelKernels(CPUHasMMX());
    LoadTransparentBlt();
    InitBlitRoutines();
}
