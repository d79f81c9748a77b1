#include "platform/gui/bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/gui/bmp_format.h"
#include "platform/gui/dib_surface.h"
#include "platform/gui/pixel_formats.h"

// The canvas of a bitmap draws on the bitmap's DIB section through a memory DC the bitmap keeps.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}

protected:
    void CreateHandle() override
    {
        FBitmap->SelectIntoCanvas();
        SetHandle(FBitmap->FCanvasDC);
    }
    void Changing() override
    {
        FBitmap->BeforeDrawing();
        TCanvas::Changing();
    }
    void Changed() override
    {
        TCanvas::Changed();
        FBitmap->Changed();
    }

private:
    TBitmap* FBitmap;
};

namespace {

int BitCountOf(TPixelFormat AFormat)
{
    switch (AFormat) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

TPixelFormat FormatOf(const TDibPixels& APixels)
{
    switch (APixels.BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return APixels.Green6 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

uint32_t Load32(const uint8_t* ASource) { uint32_t v; std::memcpy(&v, ASource, 4); return v; }

}  // namespace

void CopyBgrRows(TBitmap* ABitmap, uint8_t* ADest, size_t AStride)
{
    TBitmap copy;
    copy.Assign(ABitmap);
    copy.SetPixelFormat(pf24bit);
    for (Integer y = 0; y < copy.Height(); ++y)
        std::memcpy(ADest + y * AStride, copy.ScanLine(y), size_t(copy.Width()) * 3);
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer AWidth, Integer AHeight, TPixelFormat AFormat)
{
    Allocate(AWidth, AHeight, AFormat);
}

TBitmap::~TBitmap()
{
    FCanvas.reset();
    ReleaseImage();
    if (FCanvasDC) win::DeleteDC(FCanvasDC);
}

int TBitmap::BitCount() const { return BitCountOf(FPixelFormat); }

size_t TBitmap::Stride() const { return DibStride(FWidth, BitCount()); }

void TBitmap::ReleaseImage()
{
    if (FDib) {
        if (FCanvasDC) win::SelectObject(FCanvasDC, FCanvasDefaultBitmap);
        win::DeleteObject(FDib);
    }
    FDib = nullptr;
    FDibBits = nullptr;
    FPacked.clear();
    FPackedNewer = false;
    FDibNewer = false;
}

void TBitmap::Allocate(Integer AWidth, Integer AHeight, TPixelFormat AFormat)
{
    ReleaseImage();
    FWidth = std::max(AWidth, 0);
    FHeight = std::max(AHeight, 0);
    if (BitCountOf(AFormat) != BitCount() || FPalette.empty()) FPalette = DefaultPalette(BitCountOf(AFormat));
    FPixelFormat = AFormat;
    if (Empty()) {
        FWidth = FHeight = 0;
        return;
    }
    win::BITMAPINFO info{};
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = FHeight;  // bottom-up, as scan line users expect
    info.bmiHeader.biBitCount = static_cast<win::WORD>(KeepsPackedRows() ? 32 : BitCount());
    void* bits = nullptr;
    FDib = win::CreateDIBSection(nullptr, &info, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FDib) {
        FWidth = FHeight = 0;
        throw EOutOfMemory("Out of system resources");
    }
    FDibBits = static_cast<uint8_t*>(bits);
    if (KeepsPackedRows()) FPacked.assign(Stride() * FHeight, 0);
    if (FCanvasDC) SelectIntoCanvas();
}

void TBitmap::SelectIntoCanvas()
{
    if (!FCanvasDC) FCanvasDC = win::CreateCompatibleDC(nullptr);
    if (FDib) {
        win::HGDIOBJ old = win::SelectObject(FCanvasDC, FDib);
        if (!FCanvasDefaultBitmap) FCanvasDefaultBitmap = old;
    }
}

uint8_t* TBitmap::RowAddress(Integer ARow)
{
    size_t from_bottom = static_cast<size_t>(FHeight - 1 - ARow);
    if (KeepsPackedRows()) return FPacked.data() + from_bottom * Stride();
    return FDibBits + from_bottom * Stride();
}

void TBitmap::BeforeDrawing()
{
    if (!KeepsPackedRows() || Empty()) return;
    if (FPackedNewer) {
        TRowFormat format{BitCount(), FPixelFormat == pf16bit, &FPalette};
        size_t dib_stride = DibStride(FWidth, 32);
        for (Integer y = 0; y < FHeight; ++y)
            UnpackRow(format, FPacked.data() + y * Stride(), reinterpret_cast<uint32_t*>(FDibBits + y * dib_stride),
                      FWidth);
        FPackedNewer = false;
    }
    FDibNewer = true;
}

void TBitmap::BeforeScanLines()
{
    if (!KeepsPackedRows() || Empty()) return;
    if (FDibNewer) {
        TRowFormat format{BitCount(), FPixelFormat == pf16bit, &FPalette};
        size_t dib_stride = DibStride(FWidth, 32);
        for (Integer y = 0; y < FHeight; ++y)
            PackRow(format, reinterpret_cast<const uint32_t*>(FDibBits + y * dib_stride),
                    FPacked.data() + y * Stride(), FWidth);
        FDibNewer = false;
    }
    FPackedNewer = true;
}

std::vector<uint32_t> TBitmap::Pixels32()
{
    std::vector<uint32_t> out(static_cast<size_t>(FWidth) * FHeight);
    if (Empty()) return out;
    BeforeScanLines();
    TRowFormat format{BitCount(), FPixelFormat == pf16bit, &FPalette};
    for (Integer y = 0; y < FHeight; ++y) UnpackRow(format, RowAddress(y), out.data() + size_t(y) * FWidth, FWidth);
    return out;
}

void TBitmap::StorePixels32(const std::vector<uint32_t>& APixels)
{
    if (Empty()) return;
    BeforeScanLines();
    TRowFormat format{BitCount(), FPixelFormat == pf16bit, &FPalette};
    for (Integer y = 0; y < FHeight; ++y) PackRow(format, APixels.data() + size_t(y) * FWidth, RowAddress(y), FWidth);
}

void TBitmap::Assign(TPersistent* ASource)
{
    if (ASource == this) return;
    if (!ASource) {
        Allocate(0, 0, FPixelFormat);
        Changed();
        return;
    }
    auto* src = dynamic_cast<TBitmap*>(ASource);
    if (!src) {
        TGraphic::Assign(ASource);
        return;
    }
    src->BeforeScanLines();
    Allocate(src->FWidth, src->FHeight, src->FPixelFormat);
    FPalette = src->FPalette;
    if (!Empty()) {
        if (KeepsPackedRows()) {
            FPacked = src->FPacked;
            FPackedNewer = true;
        } else {
            std::memcpy(FDibBits, src->FDibBits, Stride() * FHeight);
        }
    }
    FTransparent = src->FTransparent;
    FTransparentColor = src->FTransparentColor;
    FTransparentMode = src->FTransparentMode;
    Changed();
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == FWidth && AHeight == FHeight) return;
    Integer old_width = FWidth, old_height = FHeight;
    std::vector<uint32_t> old = Pixels32();
    Allocate(AWidth, AHeight, FPixelFormat);
    if (!Empty() && !old.empty()) {
        std::vector<uint32_t> resized(static_cast<size_t>(FWidth) * FHeight, 0);
        Integer w = std::min(FWidth, old_width), h = std::min(FHeight, old_height);
        for (Integer y = 0; y < h; ++y)
            std::copy_n(old.begin() + ptrdiff_t(y) * old_width, w, resized.begin() + ptrdiff_t(y) * FWidth);
        StorePixels32(resized);
    }
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

win::HBITMAP TBitmap::Handle()
{
    BeforeDrawing();
    return FDib;
}

void TBitmap::SetHandleType(TBitmapHandleType AValue)
{
    if (AValue == HandleType()) return;
    if (AValue == bmDIB)
        FPixelFormat = pf32bit;  // the same 32-bit pixels, now counted as a DIB
    else
        SetPixelFormat(pfDevice);
}

void TBitmap::SetPixelFormat(TPixelFormat AValue)
{
    if (AValue == FPixelFormat) return;
    if (BitCountOf(AValue) == 32 && BitCount() == 32) {
        FPixelFormat = AValue;
        Changed();
        return;
    }
    std::vector<uint32_t> pixels = Pixels32();
    Allocate(FWidth, FHeight, AValue);
    // Pixels that come from a format without alpha have alpha 0, as any GDI copy into 32 bits leaves them.
    StorePixels32(pixels);
    Changed();
}

void* TBitmap::ScanLine(Integer ARow)
{
    if (ARow < 0 || ARow >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
    if (FPixelFormat == pfDevice) FPixelFormat = pf32bit;
    BeforeScanLines();
    return RowAddress(ARow);
}

TColor TBitmap::TransparentColor()
{
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (Empty()) return clDefault;
    BeforeScanLines();
    uint32_t first[8];
    TRowFormat format{BitCount(), FPixelFormat == pf16bit, &FPalette};
    UnpackRow(format, RowAddress(FHeight - 1), first, 1);
    return ColorOfPixel(first[0]);
}

void TBitmap::SetTransparentColor(TColor AValue)
{
    FTransparentColor = AValue;
    FTransparentMode = AValue == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode AValue)
{
    if (AValue == FTransparentMode) return;
    FTransparentMode = AValue;
    if (AValue == tmAuto) FTransparentColor = clDefault;
    Changed();
}

void TBitmap::LoadFromStream(TStream* AStream)
{
    Int64 start = AStream->Position();
    Int64 rest = AStream->Size() - start;
    if (rest <= 0) {
        Allocate(0, 0, FPixelFormat);
        Changed();
        return;
    }
    uint8_t head[14];
    if (rest < Int64(sizeof head)) throw EInvalidGraphic("Bitmap image is not valid");
    AStream->ReadBuffer(head, sizeof head);
    Int64 length = Load32(head + 2);
    if (length < Int64(sizeof head) || length > rest) length = rest;
    std::vector<uint8_t> data(static_cast<size_t>(length));
    std::memcpy(data.data(), head, sizeof head);
    AStream->ReadBuffer(data.data() + sizeof head, length - Int64(sizeof head));

    TDibPixels pixels = ReadBmp(data);
    Allocate(pixels.Width, pixels.Height, FormatOf(pixels));
    if (!pixels.Palette.empty()) FPalette = pixels.Palette;
    if (KeepsPackedRows()) {
        FPacked = std::move(pixels.Bits);
        FPackedNewer = true;
    } else {
        std::memcpy(FDibBits, pixels.Bits.data(), Stride() * FHeight);
    }
    Changed();
}

void TBitmap::SaveToStream(TStream* AStream)
{
    if (Empty()) return;
    BeforeScanLines();
    TDibPixels pixels;
    pixels.Width = FWidth;
    pixels.Height = FHeight;
    pixels.BitCount = BitCount();
    pixels.Green6 = FPixelFormat == pf16bit;
    pixels.Palette = FPalette;
    const uint8_t* bits = KeepsPackedRows() ? FPacked.data() : FDibBits;
    pixels.Bits.assign(bits, bits + Stride() * FHeight);
    std::vector<uint8_t> file = WriteBmp(pixels);
    AStream->WriteBuffer(file.data(), static_cast<Int64>(file.size()));
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& ARect)
{
    if (Empty()) return;
    if (Transparent()) {
        DrawTransparent(ACanvas, ARect);
        return;
    }
    win::HDC source = Canvas()->Handle();
    BeforeDrawing();
    win::StretchBlt(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), source, 0, 0, FWidth,
                    FHeight, static_cast<win::DWORD>(ACanvas->CopyMode()));
}

// The GDI has no key-colour blit; a mask ANDed in and the keyed-out picture ORed over it give the same pixels and
// keep the destination's stretch mode and clipping.
void TBitmap::DrawTransparent(TCanvas* ACanvas, const TRect& ARect)
{
    uint32_t key = PixelOfColor(TransparentColor());
    std::vector<uint32_t> pixels = Pixels32();
    TDibSurface mask(FWidth, FHeight), picture(FWidth, FHeight);
    if (!mask.Valid() || !picture.Valid()) return;
    for (Integer y = 0; y < FHeight; ++y) {
        const uint32_t* s = pixels.data() + size_t(y) * FWidth;
        uint32_t* m = mask.Row(y);
        uint32_t* p = picture.Row(y);
        for (Integer x = 0; x < FWidth; ++x) {
            bool keyed = (s[x] & 0xFFFFFF) == key;
            m[x] = keyed ? 0xFFFFFF : 0;
            p[x] = keyed ? 0 : (s[x] & 0xFFFFFF);
        }
    }
    win::HDC dest = ACanvas->Handle();
    win::StretchBlt(dest, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), mask.DC(), 0, 0, FWidth, FHeight,
                    win::SRCAND);
    win::StretchBlt(dest, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), picture.DC(), 0, 0, FWidth, FHeight,
                    win::SRCPAINT);
}
