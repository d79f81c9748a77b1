#include "platform/gui/png_image.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/dib_surface.h"

namespace {

bool ValidCombination(Cardinal AType, Cardinal ADepth)
{
    switch (AType) {
    case COLOR_GRAYSCALE: return ADepth == 1 || ADepth == 2 || ADepth == 4 || ADepth == 8 || ADepth == 16;
    case COLOR_PALETTE: return ADepth == 1 || ADepth == 2 || ADepth == 4 || ADepth == 8;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA: return ADepth == 8 || ADepth == 16;
    default: return false;
    }
}

[[noreturn]] void RowOutOfRange() { throw EInvalidGraphicOperation("Scan line index out of range"); }

}  // namespace

void TPngImage::Assign(TPersistent* ASource)
{
    if (ASource == this) return;
    if (!ASource) {
        FPixels = TPngPixels{};
        Changed();
        return;
    }
    if (auto* png = dynamic_cast<TPngImage*>(ASource)) {
        FPixels = png->FPixels;
        FTransparent = png->FTransparent;
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(ASource)) {
        TPngPixels p;
        p.Width = bitmap->Width();
        p.Height = bitmap->Height();
        p.ColorType = COLOR_RGB;
        p.BitDepth = 8;
        p.Allocate();
        CopyBgrRows(bitmap, p.Data.data(), p.RowBytes);
        FPixels = std::move(p);
        Changed();
        return;
    }
    TGraphic::Assign(ASource);
}

void TPngImage::CreateBlank(Cardinal AColorType, Cardinal ABitDepth, Cardinal AWidth, Cardinal AHeight)
{
    if (!ValidCombination(AColorType, ABitDepth) || AWidth > 16384 || AHeight > 16384)
        throw EInvalidGraphic("Invalid PNG colour type or bit depth");
    TPngPixels p;
    p.Width = static_cast<int32_t>(AWidth);
    p.Height = static_cast<int32_t>(AHeight);
    p.ColorType = static_cast<TPngColorType>(AColorType);
    p.BitDepth = static_cast<int>(ABitDepth);
    if (p.ColorType == COLOR_PALETTE) {
        uint32_t count = 1u << ABitDepth;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t level = i * 255 / (count - 1);
            p.Palette.push_back((level << 16) | (level << 8) | level);
        }
    }
    p.Allocate();
    FPixels = std::move(p);
    Changed();
}

void TPngImage::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a PNG image"); }
void TPngImage::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of a PNG image"); }

TPngHeader TPngImage::Header() const
{
    return {FPixels.Width, FPixels.Height, static_cast<Byte>(FPixels.BitDepth), static_cast<Byte>(FPixels.ColorType),
            static_cast<Byte>(FPixels.Interlaced ? 1 : 0)};
}

TPNGTransparencyMode TPngImage::TransparencyMode() const
{
    if (FPixels.HasAlphaChannel()) return ptmPartial;
    if (FPixels.ColorType == COLOR_PALETTE) {
        if (FPixels.PaletteAlpha.empty()) return ptmNone;
        int clear = 0;
        for (uint8_t a : FPixels.PaletteAlpha) {
            if (a != 0 && a != 255) return ptmPartial;
            if (a == 0) ++clear;
        }
        return clear == 0 ? ptmNone : clear == 1 ? ptmBit : ptmPartial;
    }
    return FPixels.HasTransparentSample ? ptmBit : ptmNone;
}

TColor TPngImage::TransparentColor() const
{
    if (TransparencyMode() != ptmBit) return clNone;
    const TPngPixels& p = FPixels;
    if (p.ColorType == COLOR_PALETTE) {
        for (size_t i = 0; i < p.PaletteAlpha.size() && i < p.Palette.size(); ++i)
            if (p.PaletteAlpha[i] == 0) return ColorOfPixel(p.Palette[i]);
        return clNone;
    }
    auto eight = [&](uint16_t s) -> uint32_t {
        if (p.BitDepth == 16) return s >> 8;
        uint32_t max = (1u << p.BitDepth) - 1;
        return (s & max) * 255 / max;
    };
    if (p.ColorType == COLOR_GRAYSCALE) {
        uint32_t g = eight(p.TransparentSample[0]);
        return ColorOfPixel((g << 16) | (g << 8) | g);
    }
    return ColorOfPixel((eight(p.TransparentSample[0]) << 16) | (eight(p.TransparentSample[1]) << 8) |
                   eight(p.TransparentSample[2]));
}

uint8_t TPngImage::Sample(const uint8_t* ARow, Integer AX) const
{
    int depth = FPixels.BitDepth;
    if (depth >= 8) return ARow[AX];
    int per_byte = 8 / depth;
    int shift = 8 - depth * (AX % per_byte + 1);
    return static_cast<uint8_t>((ARow[AX / per_byte] >> shift) & ((1 << depth) - 1));
}

void TPngImage::PutSample(uint8_t* ARow, Integer AX, unsigned AValue)
{
    int depth = FPixels.BitDepth;
    if (depth >= 8) {
        ARow[AX] = static_cast<uint8_t>(AValue);
        return;
    }
    int per_byte = 8 / depth;
    int shift = 8 - depth * (AX % per_byte + 1);
    uint8_t mask = static_cast<uint8_t>(((1 << depth) - 1) << shift);
    uint8_t& b = ARow[AX / per_byte];
    b = static_cast<uint8_t>((b & ~mask) | ((AValue << shift) & mask));
}

void TPngImage::ReadRow(Integer ARow, std::span<uint32_t> AOut) const
{
    const TPngPixels& p = FPixels;
    const uint8_t* row = p.Data.data() + size_t(ARow) * p.RowBytes;
    const uint8_t* alpha = p.HasAlphaChannel() ? p.Alpha.data() + size_t(ARow) * p.Width : nullptr;
    Integer width = std::min<Integer>(p.Width, static_cast<Integer>(AOut.size()));
    for (Integer x = 0; x < width; ++x) {
        uint32_t rgb = 0, a = alpha ? alpha[x] : 255;
        if (p.IsTrueColour()) {
            const uint8_t* px = row + 3 * x;
            rgb = (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
            if (p.HasTransparentSample && !alpha) {
                bool match = p.BitDepth == 16
                    ? (p.TransparentSample[0] == ((px[2] << 8) | p.DataLow[size_t(ARow) * p.RowBytes + 3 * x + 2]) &&
                       p.TransparentSample[1] == ((px[1] << 8) | p.DataLow[size_t(ARow) * p.RowBytes + 3 * x + 1]) &&
                       p.TransparentSample[2] == ((px[0] << 8) | p.DataLow[size_t(ARow) * p.RowBytes + 3 * x]))
                    : (p.TransparentSample[0] == px[2] && p.TransparentSample[1] == px[1] &&
                       p.TransparentSample[2] == px[0]);
                if (match) a = 0;
            }
        } else if (p.ColorType == COLOR_PALETTE) {
            uint8_t index = Sample(row, x);
            rgb = index < p.Palette.size() ? p.Palette[index] : 0;
            if (index < p.PaletteAlpha.size()) a = p.PaletteAlpha[index];
        } else {
            unsigned s = Sample(row, x);
            unsigned raw = p.BitDepth == 16 ? (s << 8) | p.DataLow[size_t(ARow) * p.RowBytes + x] : s;
            unsigned g = p.BitDepth >= 8 ? s : s * 255 / ((1u << p.BitDepth) - 1);
            rgb = (g << 16) | (g << 8) | g;
            if (p.HasTransparentSample && !alpha && raw == p.TransparentSample[0]) a = 0;
        }
        AOut[x] = (a << 24) | rgb;
    }
}

TColor TPngImage::Pixels(Integer AX, Integer AY) const
{
    if (AX < 0 || AY < 0 || AX >= FPixels.Width || AY >= FPixels.Height) return clNone;
    std::vector<uint32_t> row(static_cast<size_t>(AX) + 1);
    ReadRow(AY, row);
    return ColorOfPixel(row[AX] & 0xFFFFFF);
}

void TPngImage::SetPixels(Integer AX, Integer AY, TColor AColor)
{
    TPngPixels& p = FPixels;
    if (AX < 0 || AY < 0 || AX >= p.Width || AY >= p.Height) return;
    uint32_t rgb = PixelOfColor(AColor);
    uint8_t r = uint8_t(rgb >> 16), g = uint8_t(rgb >> 8), b = uint8_t(rgb);
    size_t offset = size_t(AY) * p.RowBytes;
    uint8_t* row = p.Data.data() + offset;
    if (p.IsTrueColour()) {
        uint8_t bgr[3] = {b, g, r};
        for (int c = 0; c < 3; ++c) {
            row[3 * AX + c] = bgr[c];
            if (p.BitDepth == 16) p.DataLow[offset + 3 * AX + c] = bgr[c];  // full scale stays full scale
        }
    } else if (p.ColorType == COLOR_PALETTE) {
        int best = 0, best_distance = 1 << 30;
        for (size_t i = 0; i < p.Palette.size(); ++i) {
            int dr = r - int((p.Palette[i] >> 16) & 0xFF), dg = g - int((p.Palette[i] >> 8) & 0xFF),
                db = b - int(p.Palette[i] & 0xFF);
            int d = dr * dr + dg * dg + db * db;
            if (d < best_distance) best_distance = d, best = static_cast<int>(i);
        }
        PutSample(row, AX, static_cast<unsigned>(best));
    } else {
        unsigned level = (r * 299u + g * 587u + b * 114u + 500u) / 1000u;
        if (p.BitDepth < 8) {
            unsigned max = (1u << p.BitDepth) - 1;
            level = (level * max + 127) / 255;
        }
        PutSample(row, AX, level);
        if (p.BitDepth == 16) p.DataLow[offset + AX] = static_cast<uint8_t>(level);
    }
    Changed();
}

void TPngImage::ExpandGreyToEightBits()
{
    TPngPixels& p = FPixels;
    if (p.BitDepth >= 8) return;
    TPngPixels wide = p;
    wide.BitDepth = 8;
    wide.Allocate();
    unsigned max = (1u << p.BitDepth) - 1;
    for (Integer y = 0; y < p.Height; ++y)
        for (Integer x = 0; x < p.Width; ++x)
            wide.Data[size_t(y) * wide.RowBytes + x] =
                static_cast<uint8_t>(Sample(p.Data.data() + size_t(y) * p.RowBytes, x) * 255 / max);
    if (wide.HasTransparentSample) wide.TransparentSample[0] = uint16_t((p.TransparentSample[0] & max) * 255 / max);
    p = std::move(wide);
}

void TPngImage::CreateAlpha()
{
    TPngPixels& p = FPixels;
    if (p.HasAlphaChannel() || Empty()) return;
    if (p.ColorType == COLOR_PALETTE) {
        p.PaletteAlpha.resize(p.Palette.size(), 255);
        Changed();
        return;
    }
    if (p.ColorType == COLOR_GRAYSCALE) ExpandGreyToEightBits();
    std::vector<uint32_t> row(static_cast<size_t>(p.Width));
    std::vector<uint8_t> alpha(size_t(p.Width) * p.Height);
    for (Integer y = 0; y < p.Height; ++y) {
        ReadRow(y, row);
        for (Integer x = 0; x < p.Width; ++x) alpha[size_t(y) * p.Width + x] = uint8_t(row[x] >> 24);
    }
    p.ColorType = p.ColorType == COLOR_RGB ? COLOR_RGBALPHA : COLOR_GRAYSCALEALPHA;
    p.HasTransparentSample = false;
    p.Alpha = std::move(alpha);
    if (p.BitDepth == 16) p.AlphaLow = p.Alpha;
    Changed();
}

uint8_t* TPngImage::Scanline(Integer ARow)
{
    if (ARow < 0 || ARow >= FPixels.Height) RowOutOfRange();
    return FPixels.Data.data() + size_t(ARow) * FPixels.RowBytes;
}

uint8_t* TPngImage::AlphaScanline(Integer ARow)
{
    if (ARow < 0 || ARow >= FPixels.Height) RowOutOfRange();
    if (!FPixels.HasAlphaChannel()) return nullptr;
    return FPixels.Alpha.data() + size_t(ARow) * FPixels.Width;
}

void TPngImage::LoadFromStream(TStream* AStream)
{
    Int64 start = AStream->Position();
    std::vector<uint8_t> data = ReadRest(AStream);
    size_t consumed = 0;
    TPngPixels p = ReadPng(data, &consumed);
    AStream->SetPosition(start + static_cast<Int64>(consumed));
    FPixels = std::move(p);
    Changed();
}

void TPngImage::SaveToStream(TStream* AStream)
{
    if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty PNG image");
    std::vector<uint8_t> data = WritePng(FPixels);
    AStream->WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TPngImage::AssignTo(TPersistent* ADest)
{
    auto* bitmap = dynamic_cast<TBitmap*>(ADest);
    if (!bitmap) {
        TGraphic::AssignTo(ADest);
        return;
    }
    // Pictures with transparency keep it as straight alpha in a 32-bit bitmap.
    bool alpha = TransparencyMode() != ptmNone;
    TBitmap result(Width(), Height(), alpha ? pf32bit : pf24bit);
    std::vector<uint32_t> row(static_cast<size_t>(Width()));
    for (Integer y = 0; y < Height(); ++y) {
        ReadRow(y, row);
        auto* line = static_cast<uint8_t*>(result.ScanLine(y));
        for (Integer x = 0; x < Width(); ++x) {
            uint8_t* px = line + (alpha ? 4 : 3) * x;
            px[0] = uint8_t(row[x]);
            px[1] = uint8_t(row[x] >> 8);
            px[2] = uint8_t(row[x] >> 16);
            if (alpha) px[3] = uint8_t(row[x] >> 24);
        }
    }
    bitmap->Assign(&result);
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& ARect)
{
    if (Empty()) return;
    TDibSurface surface(Width(), Height());
    if (!surface.Valid()) return;
    bool alpha = TransparencyMode() != ptmNone;
    std::vector<uint32_t> row(static_cast<size_t>(Width()));
    for (Integer y = 0; y < Height(); ++y) {
        ReadRow(y, row);
        uint32_t* out = surface.Row(y);
        for (Integer x = 0; x < Width(); ++x) {
            uint32_t c = row[x];
            out[x] = alpha ? PremultipliedPixel(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(c >> 24))
                           : (c & 0xFFFFFF);
        }
    }
    win::HDC dest = ACanvas->Handle();
    if (alpha)
        surface.AlphaDraw(dest, ARect);
    else
        win::StretchBlt(dest, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), surface.DC(), 0, 0, Width(),
                        Height(), win::SRCCOPY);
}
