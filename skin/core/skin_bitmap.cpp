#include "skin/core/skin_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/picture.h"
#include "skin/core/color_helpers.h"
#include "skin/core/blur.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/rect_helpers.h"

namespace {

std::vector<TspBitmap*>& LiveList()
{
    static std::vector<TspBitmap*> list;
    return list;
}

void Enlist(TspBitmap* ABitmap)
{
    auto& list = LiveList();
    if (std::find(list.begin(), list.end(), ABitmap) == list.end()) list.push_back(ABitmap);
}

void Delist(TspBitmap* ABitmap)
{
    auto& list = LiveList();
    list.erase(std::remove(list.begin(), list.end(), ABitmap), list.end());
}

// The part of R inside a W x H bitmap.
TRect ClipToSize(const TRect& R, Integer W, Integer H)
{
    return {std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, W), std::min(R.Bottom, H)};
}

}  // namespace

const std::vector<TspBitmap*>& LiveBitmaps() { return LiveList(); }

TspBitmap* FindBitmapByDC(win::HDC DC)
{
    if (DC == nullptr) return nullptr;
    for (TspBitmap* b : LiveList())
        if (b->DC() == DC) return b;
    return nullptr;
}

TspBitmap::TspBitmap()
{
    auto& h = FBitmapInfo.bmiHeader;
    h.biSize = 40;
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = win::BI_RGB;
}

TspBitmap::~TspBitmap()
{
    Delist(this);
    if (FCanvas) {
        FCanvas->SetHandle(nullptr);
        FCanvas.reset();
    }
    ReleaseSurface();
}

void TspBitmap::ReleaseSurface()
{
    if (FDC != nullptr) {
        if (FDefaultBitmap != nullptr) win::SelectObject(FDC, FDefaultBitmap);
        win::DeleteDC(FDC);
    }
    if (FHandle != nullptr) win::DeleteObject(FHandle);
    FDC = nullptr;
    FHandle = nullptr;
    FDefaultBitmap = nullptr;
    FBits = nullptr;
}

TCanvas* TspBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        if (FDC != nullptr) FCanvas->SetHandle(FDC);
    }
    return FCanvas.get();
}

void TspBitmap::SetSize(Integer AWidth, Integer AHeight)
{
    const Integer w = AWidth < 0 ? -AWidth : AWidth, h = AHeight < 0 ? -AHeight : AHeight;
    if (w == 0 || h == 0 || (w == FWidth && h == FHeight && FHandle != nullptr)) return;
    if (FCanvas) FCanvas->SetHandle(nullptr);
    ReleaseSurface();

    FBitmapInfo.bmiHeader.biWidth = w;
    FBitmapInfo.bmiHeader.biHeight = -h;
    void* bits = nullptr;
    const win::HBITMAP handle = win::CreateDIBSection(nullptr, &FBitmapInfo, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    if (handle == nullptr || bits == nullptr) throw Exception("Can't allocate the DIB handle");
    const win::HDC dc = win::CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        win::DeleteObject(handle);
        throw Exception("Can't create compatible DC");
    }
    const win::HGDIOBJ previous = win::SelectObject(dc, handle);
    if (previous == nullptr) {
        win::DeleteDC(dc);
        win::DeleteObject(handle);
        throw Exception("Can't bslect an object into DC");
    }
    FHandle = handle;
    FDC = dc;
    FDefaultBitmap = previous;
    FBits = static_cast<PspColorArray>(bits);
    Enlist(this);
    if (FCanvas) FCanvas->SetHandle(FDC);
    FWidth = w;
    FHeight = h;
}

void TspBitmap::Clear(TspColor Color)
{
    if (FBits == nullptr) return;
    FillLine(FBits, FWidth * FHeight, Color);
}

TspColor TspBitmap::GetPixel(Integer X, Integer Y) const
{
    if (FBits == nullptr || X < 0 || X >= FWidth || Y < 0 || Y >= FHeight) return 0;
    return *GetPixelPtr(X, Y);
}

void TspBitmap::SetPixel(Integer X, Integer Y, TspColor Value)
{
    if (FBits == nullptr || X < 0 || X >= FWidth || Y < 0 || Y >= FHeight) return;
    *GetPixelPtr(X, Y) = Value;
}

void TspBitmap::CheckRGBA()
{
    if (FBits == nullptr) return;
    for (Integer i = 0; i < FWidth * FHeight; ++i) {
        TspColor& p = FBits[i];
        const TspColor a = p >> 24;
        TspColor out = p & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) out |= std::min((p >> shift) & 0xFF, a) << shift;
        p = out;
    }
}

void TspBitmap::CheckingAlphaBlend() { CheckingAlphaBlend(Rect(0, 0, FWidth, FHeight)); }

void TspBitmap::CheckingAlphaBlend(const TRect& ARect)
{
    FAlphaBlend = false;
    if (FBits == nullptr) return;
    const TRect r = ClipToSize(ARect, FWidth, FHeight);
    for (Integer y = r.Top; y < r.Bottom && !FAlphaBlend; ++y)
        for (Integer x = r.Left; x < r.Right; ++x) {
            const TspColor a = *GetPixelPtr(x, y) >> 24;
            if (a != 0 && a != 255) {
                FAlphaBlend = true;
                break;
            }
        }
}

void TspBitmap::CheckingTransparent(TspColor Color) { CheckingTransparent(Rect(0, 0, FWidth, FHeight), Color); }

void TspBitmap::CheckingTransparent(const TRect& ARect, TspColor Color)
{
    FTransparent = false;
    if (FBits == nullptr) return;
    const TRect r = ClipToSize(ARect, FWidth, FHeight);
    const auto near = [](TspColor a, TspColor b, int shift) {
        return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) < 6;
    };
    for (Integer y = r.Top; y < r.Bottom; ++y)
        for (Integer x = r.Left; x < r.Right; ++x) {
            TspColor& p = *GetPixelPtr(x, y);
            if (near(p, Color, 16) && near(p, Color, 8) && near(p, Color, 0)) {
                p = spKeyPixel;
                FTransparent = true;
            }
        }
}

void TspBitmap::SetAlpha(Byte Alpha)
{
    if (FBits == nullptr) return;
    SetAlphaLine(FBits, FWidth * FHeight, Alpha);
}

void TspBitmap::SetAlpha(Byte Alpha, const TRect& ARect)
{
    if (FBits == nullptr || ARect.Right == ARect.Left || ARect.Bottom == ARect.Top) return;
    const TRect r = ClipToSize(ARect, FWidth, FHeight);
    if (IsEmptyRect(r)) return;
    SetAlphaRectBits(FBits, FWidth, FHeight, r.Left, r.Top, r.Right - 1, r.Bottom - 1, Alpha);
}

template <typename Fn>
void TspBitmap::AdjustOpaquePixels(Fn AAdjust)
{
    if (FBits == nullptr) return;
    for (Integer i = 0; i < FWidth * FHeight; ++i) {
        TspColor& p = FBits[i];
        if ((p >> 24) == 0) continue;
        p = (AAdjust(p) & 0x00FFFFFF) | (p & 0xFF000000u);
    }
}

void TspBitmap::ChangeBitmapBrightness(Integer DeltaBrightness)
{
    if (DeltaBrightness == 0) return;
    AdjustOpaquePixels([&](TspColor p) { return ChangeColorBrightness(p, DeltaBrightness); });
}

void TspBitmap::SetBitmapHue(Integer Hue)
{
    AdjustOpaquePixels([&](TspColor p) { return SetColorHue(p, Hue); });
}

void TspBitmap::ChangeBitmapSat(Integer DeltaSat)
{
    if (DeltaSat == 0) return;
    AdjustOpaquePixels([&](TspColor p) { return ChangeColorSat(p, DeltaSat); });
}

void TspBitmap::ChangeBitmapHue(Integer DeltaHue)
{
    if (DeltaHue == 0) return;
    AdjustOpaquePixels([&](TspColor p) { return ChangeColorHue(p, DeltaHue); });
}

std::unique_ptr<TspBitmapLink> TspBitmap::GetBitmapLink(const TRect& ARect)
{
    auto link = std::make_unique<TspBitmapLink>();
    link->SetImage(this);
    link->SetName(FName);
    link->SetRect(ARect);
    return link;
}

std::unique_ptr<TspBitmapLink> TspBitmap::GetBitmapLink(const std::string& ARect)
{
    return GetBitmapLink(ParseRectString(ARect));
}

void TspBitmap::MergeDraw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect)
{
    if (Bitmap == nullptr || Bitmap->Empty() || FBits == nullptr) return;
    TRect src = SrcRect;
    if (src.Left < 0) {
        X += -src.Left;
        src.Left = 0;
    }
    if (src.Top < 0) {
        Y += -src.Top;
        src.Top = 0;
    }
    src.Right = std::min(src.Right, Bitmap->Width());
    src.Bottom = std::min(src.Bottom, Bitmap->Height());
    for (Integer sy = src.Top; sy < src.Bottom; ++sy) {
        const Integer dy = Y + sy - src.Top;
        if (dy < 0 || dy >= FHeight) continue;
        for (Integer sx = src.Left; sx < src.Right; ++sx) {
            const Integer dx = X + sx - src.Left;
            if (dx < 0 || dx >= FWidth) continue;
            TspColor& d = *GetPixelPtr(dx, dy);
            const TspColor s = *Bitmap->GetPixelPtr(sx, sy);
            const TspColor a = d >> 24;
            if (a == 0)
                d = s;
            else if (a < 255)
                d = BlendPixel(d, s);
        }
    }
    EndMMX();
}

void TspBitmap::FillRect(const TRect& R, TspColor Color)
{
    if (FBits == nullptr) return;
    const TRect r = ClipToSize(R, FWidth, FHeight);
    if (IsEmptyRect(r)) return;
    if (FAlphaBlend) {
        const std::vector<TspColor> row(r.Right - r.Left, Color);
        for (Integer y = r.Top; y < r.Bottom; ++y) BlendLine(row.data(), GetPixelPtr(r.Left, y), r.Right - r.Left);
        EndMMX();
    } else {
        FillRectBits(FBits, FWidth, FHeight, r.Left, r.Top, r.Right - 1, r.Bottom - 1, Color);
    }
}

void TspBitmap::FlipVert()
{
    if (FBits == nullptr) return;
    std::vector<TspColor> row(FWidth);
    const size_t bytes = row.size() * sizeof(TspColor);
    for (Integer i = 0; i < FHeight / 2; ++i) {
        std::memcpy(row.data(), GetScanLinePtr(i), bytes);
        std::memcpy(GetScanLinePtr(i), GetScanLinePtr(FHeight - 1 - i), bytes);
        std::memcpy(GetScanLinePtr(FHeight - 1 - i), row.data(), bytes);
    }
}

void TspBitmap::Reflect(Integer ADivisor)
{
    if (FBits == nullptr) return;
    FlipVert();
    const double step = 2.0 / FHeight;
    double x = 1;
    for (Integer i = 0; i < FHeight; ++i) {
        TspColor* row = GetScanLinePtr(i);
        for (Integer c = 0; c < FWidth; ++c) {
            const Integer a = static_cast<Integer>(row[c] >> 24);
            if (a == 0) continue;
            const Integer faded = std::max(RoundHalfEven(x * a) / ADivisor, 0);
            row[c] = (row[c] & 0x00FFFFFF) | (static_cast<TspColor>(faded) << 24);
        }
        x -= step;
    }
}

void TspBitmap::Reflection() { Reflect(3); }
void TspBitmap::Reflection2() { Reflect(4); }
void TspBitmap::Reflection3() { Reflect(2); }

void TspBitmap::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TspBitmap*>(Source)) {
        if (other == this) return;
        SetSize(other->Width(), other->Height());
        if (other->Empty()) return;
        std::memcpy(FBits, other->Bits(), sizeof(TspColor) * static_cast<size_t>(FWidth) * FHeight);
        FName = other->Name();
        FTransparent = other->Transparent();
        FAlphaBlend = other->AlphaBlend();
        return;
    }
    TGraphic* graphic = dynamic_cast<TGraphic*>(Source);
    if (auto* picture = dynamic_cast<TPicture*>(Source)) {
        graphic = picture->Graphic();
        if (graphic == nullptr) return;  // a picture without a graphic changes nothing
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
        SetSize(bitmap->Width(), bitmap->Height());
        if (bitmap->Empty() || Empty()) return;
        if (bitmap->PixelFormat() == pf32bit && bitmap->HandleType() == bmDIB) {
            for (Integer y = 0; y < FHeight; ++y)
                std::memcpy(GetScanLinePtr(y), bitmap->ScanLine(y), sizeof(TspColor) * static_cast<size_t>(FWidth));
            CheckingAlphaBlend();
        } else {
            win::BitBlt(FDC, 0, 0, FWidth, FHeight, bitmap->Canvas()->Handle(), 0, 0, win::SRCCOPY);
            SetAlpha(255);
        }
        return;
    }
    if (graphic != nullptr) {
        SetSize(graphic->Width(), graphic->Height());
        if (graphic->Empty() || Empty()) return;
        DrawGraphic(graphic, Rect(0, 0, FWidth, FHeight));
        SetAlpha(255);
        return;
    }
    TPersistent::Assign(Source);
}

void TspBitmap::AssignTo(TPersistent* Dest)
{
    TBitmap* target = dynamic_cast<TBitmap*>(Dest);
    if (auto* picture = dynamic_cast<TPicture*>(Dest)) target = picture->Bitmap();
    if (target == nullptr) {
        TPersistent::AssignTo(Dest);
        return;
    }
    target->SetPixelFormat(pf32bit);
    target->SetSize(FWidth, FHeight);
    if (!Empty()) Draw(target->Canvas(), 0, 0);
}

void BlurBitmap(TspBitmap* Bitmap, Integer Radius)
{
    if (Bitmap == nullptr || Bitmap->Empty()) return;
    BlurPixels(Bitmap->Bits(), Bitmap->Width(), Bitmap->Height(), Radius);
}

void MaskToAlpha(TspBitmap* Bitmap, TspBitmap* Mask)
{
    if (Bitmap == nullptr || Mask == nullptr || Bitmap->Empty() || Mask->Empty()) return;
    MaskToAlphaPixels(Bitmap->Bits(), Bitmap->Width(), Bitmap->Height(), Mask->Bits(), Mask->Width(),
                      Mask->Height());
}
