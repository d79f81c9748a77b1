// Drawing a skin bitmap: the twelve Draw forms, tiling, and drawing a foreign graphic into it.
#include <algorithm>
#include <cmath>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/core/blit_routines.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_bitmap.h"

namespace {

TRect Moved(const TRect& R, Integer DX, Integer DY) { return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY}; }

}  // namespace

void TspBitmap::Draw(win::HDC DC, Integer X, Integer Y) { Draw(DC, Bounds(X, Y, FWidth, FHeight), Rect(0, 0, FWidth, FHeight)); }

void TspBitmap::Draw(win::HDC DC, Integer X, Integer Y, const TRect& SrcRect)
{
    Draw(DC, Bounds(X, Y, SrcRect.Width(), SrcRect.Height()), SrcRect);
}

void TspBitmap::Draw(win::HDC DC, const TRect& DstRect) { Draw(DC, DstRect, Rect(0, 0, FWidth, FHeight)); }

void TspBitmap::Draw(win::HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
    if (Empty()) return;
    if (TspBitmap* target = FindBitmapByDC(DC)) {
        // Exactly where the GDI would put it: only the DC's window origin moves the picture.
        win::POINT origin{};
        win::GetWindowOrgEx(DC, &origin);
        Draw(target, Moved(DstRect, -origin.X, -origin.Y), SrcRect);
        return;
    }
    const TspDCBlt blit = FAlphaBlend ? DCBlendBlt : FTransparent ? DCKeyBlt : DCCopyBlt;
    blit(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), this, SrcRect.Left, SrcRect.Top,
         SrcRect.Width(), SrcRect.Height());
}

void TspBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y) { Draw(Canvas->Handle(), X, Y); }
void TspBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect) { Draw(Canvas->Handle(), X, Y, SrcRect); }
void TspBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) { Draw(Canvas->Handle(), DstRect); }
void TspBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) { Draw(Canvas->Handle(), DstRect, SrcRect); }

void TspBitmap::Draw(TspBitmap* Bitmap, Integer X, Integer Y)
{
    Draw(Bitmap, Bounds(X, Y, FWidth, FHeight), Rect(0, 0, FWidth, FHeight));
}

void TspBitmap::Draw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect)
{
    Draw(Bitmap, Bounds(X, Y, SrcRect.Width(), SrcRect.Height()), SrcRect);
}

void TspBitmap::Draw(TspBitmap* Bitmap, const TRect& DstRect) { Draw(Bitmap, DstRect, Rect(0, 0, FWidth, FHeight)); }

void TspBitmap::Draw(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect)
{
    if (Empty() || Bitmap == nullptr || Bitmap->Empty()) return;
    const TspBmpStretchBlt blit = FAlphaBlend ? BmpStretchBlendBlt : FTransparent ? BmpStretchKeyBlt : BmpStretchCopyBlt;
    blit(Bitmap, DstRect, Rect(0, 0, Bitmap->Width(), Bitmap->Height()), SrcRect, this);
}

// Lays tiles of SrcRect's size from DstRect's top-left corner, each cut to DstRect and showing the top-left part
// of SrcRect of the cut's size; ADrawTile(cut, source part) draws one.
template <typename Fn>
void TspBitmap::TileWith(const TRect& DstRect, const TRect& SrcRect, Fn ADrawTile)
{
    const Integer ws = SrcRect.Width(), hs = SrcRect.Height();
    if (ws <= 0 || hs <= 0 || Empty()) return;
    const Integer wd = DstRect.Width(), hd = DstRect.Height();
    const Integer columns = static_cast<Integer>(std::ceil(static_cast<double>(wd) / ws));
    const Integer rows = static_cast<Integer>(std::ceil(static_cast<double>(hd) / hs));
    for (Integer i = 0; i <= columns; ++i)
        for (Integer j = 0; j <= rows; ++j) {
            const TRect cut = IntersectionOf(Bounds(DstRect.Left + i * ws, DstRect.Top + j * hs, ws, hs), DstRect);
            if (IsEmptyRect(cut)) break;
            ADrawTile(cut, Bounds(SrcRect.Left, SrcRect.Top, cut.Width(), cut.Height()));
        }
}

void TspBitmap::Tile(win::HDC DC, const TRect& DstRect, const TRect& SrcRect)
{
    if (FindBitmapByDC(DC) == nullptr) {
        Integer w = 0, h = 0, bit_count = 0;
        void* bits = GetDIBInfo(DC, w, h, bit_count);
        if (bits != nullptr && bit_count == 32 && h > 0) {
            win::POINT origin{};
            win::GetWindowOrgEx(DC, &origin);
            const TspDIBBlt blit = FAlphaBlend ? DIBBlendBlt : FTransparent ? DIBKeyBlt : DIBCopyBlt;
            TileWith(DstRect, SrcRect, [&](const TRect& cut, const TRect& src) {
                blit(bits, Moved(cut, -origin.X, -origin.Y), Rect(0, 0, w, h), src, this, h, w);
            });
            return;
        }
    }
    TileWith(DstRect, SrcRect, [&](const TRect& cut, const TRect& src) { Draw(DC, cut, src); });
}

void TspBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect)
{
    Tile(Canvas->Handle(), DstRect, SrcRect);
}

void TspBitmap::Tile(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect)
{
    TileWith(DstRect, SrcRect, [&](const TRect& cut, const TRect& src) { Draw(Bitmap, cut, src); });
}

void TspBitmap::TileClip(win::HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    const bool clipped = !IsEmptyRect(DstClip);
    TileWith(DstRect, SrcRect, [&](const TRect& cut, const TRect& src) {
        if (!clipped || !IsEmptyRect(IntersectionOf(cut, DstClip))) Draw(DC, cut, src);
    });
}

void TspBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
}

void TspBitmap::TileClip(TspBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect)
{
    const bool clipped = !IsEmptyRect(DstClip);
    TileWith(DstRect, SrcRect, [&](const TRect& cut, const TRect& src) {
        if (!clipped || !IsEmptyRect(IntersectionOf(cut, DstClip))) Draw(Bitmap, cut, src);
    });
}

void TspBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect)
{
    if (Empty() || Graphic == nullptr) return;
    TBitmap scratch(FWidth, FHeight, pf32bit);
    TCanvas* canvas = scratch.Canvas();
    canvas->Brush()->SetColor(0xFF00FF);
    canvas->FillRect(Rect(-1, -1, FWidth + 1, FHeight + 1));
    canvas->StretchDraw(DstRect, Graphic);
    for (Integer y = 0; y < FHeight; ++y) {
        const TspColor* row = static_cast<const TspColor*>(scratch.ScanLine(y));
        for (Integer x = 0; x < FWidth; ++x)
            if ((row[x] & 0x00FFFFFF) != 0x00FF00FF) SetPixel(x, y, row[x]);
    }
}
