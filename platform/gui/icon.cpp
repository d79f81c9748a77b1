#include "platform/gui/icon.h"

#include <cstring>
#include <span>

#include "platform/gui/bitmap.h"
#include "platform/gui/bmp_format.h"
#include "platform/gui/canvas.h"
#include "platform/gui/dib_surface.h"
#include "platform/gui/pixel_formats.h"
#include "platform/gui/png_image.h"
#include "platform/win/icons.h"

namespace {

struct Decoded {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

[[noreturn]] void Invalid() { throw EInvalidGraphic("Icon image is not valid"); }

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(std::vector<uint8_t>& v, uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i))); }
void Put16(std::vector<uint8_t>& v, uint16_t x) { v.push_back(uint8_t(x)); v.push_back(uint8_t(x >> 8)); }

Decoded FromPng(std::span<const uint8_t> AData)
{
    TPngImage png;
    TMemoryStream stream;
    stream.WriteBuffer(AData.data(), static_cast<Int64>(AData.size()));
    stream.SetPosition(0);
    png.LoadFromStream(&stream);
    Decoded d{png.Width(), png.Height(), std::vector<uint32_t>(size_t(png.Width()) * png.Height())};
    for (Integer y = 0; y < d.height; ++y)
        png.ReadRow(y, std::span<uint32_t>(d.pixels.data() + size_t(y) * d.width, size_t(d.width)));
    return d;
}

// An icon image is a DIB without a file header, twice as high as the icon: the colour rows, then a 1-bit AND
// mask (1 = transparent). 32-bit images bring their own alpha, which wins when any of it is set.
Decoded FromDib(std::span<const uint8_t> AData)
{
    if (AData.size() < 40) Invalid();
    uint32_t info_size = U32(AData.data());
    if (info_size < 40 || info_size > AData.size()) Invalid();
    int32_t width = static_cast<int32_t>(U32(AData.data() + 4));
    int32_t height = static_cast<int32_t>(U32(AData.data() + 8)) / 2;
    int bit_count = U16(AData.data() + 14);
    uint32_t colours = U32(AData.data() + 32);
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) Invalid();
    size_t palette = bit_count <= 8 ? size_t(colours ? colours : (1u << bit_count)) * 4 : 0;

    std::vector<uint8_t> file(14, 0);
    file[0] = 'B';
    file[1] = 'M';
    size_t offset = 14 + info_size + palette;
    std::memcpy(file.data() + 10, &offset, 4);
    file.insert(file.end(), AData.begin(), AData.end());
    uint32_t h = static_cast<uint32_t>(height);
    std::memcpy(file.data() + 14 + 8, &h, 4);
    TDibPixels dib = ReadBmp(file);

    std::vector<uint32_t> pixels(size_t(width) * height);
    TRowFormat format{dib.BitCount, dib.Green6, &dib.Palette};
    size_t stride = DibStride(width, dib.BitCount);
    bool has_alpha = false;
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = pixels.data() + size_t(y) * width;
        UnpackRow(format, dib.Bits.data() + stride * (height - 1 - y), row, width);
        for (int32_t x = 0; x < width && !has_alpha; ++x) has_alpha = dib.BitCount == 32 && (row[x] >> 24) != 0;
    }
    if (!has_alpha) {
        size_t mask_offset = info_size + palette + stride * height;
        size_t mask_stride = DibStride(width, 1);
        bool has_mask = AData.size() >= mask_offset + mask_stride * height;
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* mask = has_mask ? AData.data() + mask_offset + mask_stride * (height - 1 - y) : nullptr;
            for (int32_t x = 0; x < width; ++x) {
                bool clear = mask && ((mask[x / 8] >> (7 - x % 8)) & 1);
                uint32_t& p = pixels[size_t(y) * width + x];
                p = (p & 0xFFFFFF) | (clear ? 0 : 0xFF000000u);
            }
        }
    }
    return {width, height, std::move(pixels)};
}

Decoded FromIco(std::span<const uint8_t> AData)
{
    if (AData.size() < 6 || U16(AData.data()) != 0 || U16(AData.data() + 2) != 1) Invalid();
    size_t count = U16(AData.data() + 4);
    if (count == 0 || AData.size() < 6 + count * 16) Invalid();
    // The largest image, then the deepest.
    size_t best = 0;
    long best_score = -1;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = AData.data() + 6 + i * 16;
        long side = (e[0] ? e[0] : 256) * (e[1] ? e[1] : 256);
        long score = side * 64 + U16(e + 6);
        if (score > best_score) best_score = score, best = i;
    }
    const uint8_t* e = AData.data() + 6 + best * 16;
    size_t size = U32(e + 8), offset = U32(e + 12);
    if (offset > AData.size() || size > AData.size() - offset) Invalid();
    std::span<const uint8_t> image = AData.subspan(offset, size);
    return IsPngSignature(image) ? FromPng(image) : FromDib(image);
}

}  // namespace

void TIcon::Assign(TPersistent* ASource)
{
    if (ASource == this) return;
    if (!ASource) {
        SetPixels(0, 0, {});
        return;
    }
    if (auto* icon = dynamic_cast<TIcon*>(ASource)) {
        SetPixels(icon->FWidth, icon->FHeight, icon->FPixels);
        return;
    }
    TGraphic::Assign(ASource);
}

void TIcon::SetWidth(Integer) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(Integer) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

TIcon::~TIcon()
{
    if (FHandle)
        win::DestroyIcon(FHandle);
}

win::HICON TIcon::Handle()
{
    if (!FHandle && !Empty())
        FHandle = win::CreateIconFromPixels(FWidth, FHeight, FPixels.data());
    return FHandle;
}

void TIcon::SetHandle(win::HICON AIcon)
{
    win::TIconImage image;
    if (!AIcon || !win::GetIconImage(AIcon, image)) {
        SetPixels(0, 0, {});
        return;
    }
    for (uint32_t& p : image.Pixels)
        p = win::UnpremultipliedPixel(p);
    SetPixels(image.Width, image.Height, std::move(image.Pixels));
    FHandle = AIcon;
}

win::HICON TIcon::ReleaseHandle()
{
    win::HICON handle = Handle();
    FHandle = nullptr;
    return handle;
}

void TIcon::SetPixels(Integer AWidth, Integer AHeight, std::vector<uint32_t> APixels)
{
    if (FHandle) {
        win::DestroyIcon(FHandle);
        FHandle = nullptr;
    }
    if (AWidth <= 0 || AHeight <= 0 || APixels.size() != size_t(AWidth) * AHeight) {
        AWidth = AHeight = 0;
        APixels.clear();
    }
    FWidth = AWidth;
    FHeight = AHeight;
    FPixels = std::move(APixels);
    Changed();
}

void TIcon::LoadFromStream(TStream* AStream)
{
    std::vector<uint8_t> data = ReadRest(AStream);
    Decoded d = IsPngSignature(data) ? FromPng(data) : FromIco(data);
    SetPixels(d.width, d.height, std::move(d.pixels));
}

void TIcon::SaveToStream(TStream* AStream)
{
    if (Empty()) throw EInvalidGraphicOperation("Cannot save an empty icon");
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, static_cast<Cardinal>(FWidth), static_cast<Cardinal>(FHeight));
    for (Integer y = 0; y < FHeight; ++y) {
        uint8_t* row = png.Scanline(y);
        uint8_t* alpha = png.AlphaScanline(y);
        for (Integer x = 0; x < FWidth; ++x) {
            uint32_t p = FPixels[size_t(y) * FWidth + x];
            row[3 * x] = uint8_t(p);
            row[3 * x + 1] = uint8_t(p >> 8);
            row[3 * x + 2] = uint8_t(p >> 16);
            alpha[x] = uint8_t(p >> 24);
        }
    }
    TMemoryStream encoded;
    png.SaveToStream(&encoded);
    std::vector<uint8_t> head;
    Put16(head, 0);
    Put16(head, 1);
    Put16(head, 1);
    head.push_back(static_cast<uint8_t>(FWidth >= 256 ? 0 : FWidth));
    head.push_back(static_cast<uint8_t>(FHeight >= 256 ? 0 : FHeight));
    head.push_back(0);
    head.push_back(0);
    Put16(head, 1);
    Put16(head, 32);
    Put32(head, static_cast<uint32_t>(encoded.Size()));
    Put32(head, 22);
    AStream->WriteBuffer(head.data(), static_cast<Int64>(head.size()));
    AStream->WriteBuffer(encoded.Memory(), encoded.Size());
}

void TIcon::AssignTo(TPersistent* ADest)
{
    auto* bitmap = dynamic_cast<TBitmap*>(ADest);
    if (!bitmap) {
        TGraphic::AssignTo(ADest);
        return;
    }
    TBitmap result(FWidth, FHeight, pf32bit);
    for (Integer y = 0; y < FHeight; ++y)
        std::memcpy(result.ScanLine(y), FPixels.data() + size_t(y) * FWidth, size_t(FWidth) * 4);
    bitmap->Assign(&result);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& ARect)
{
    if (Empty()) return;
    TDibSurface surface(FWidth, FHeight);
    if (!surface.Valid()) return;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            uint32_t p = FPixels[size_t(y) * FWidth + x];
            surface.Row(y)[x] = PremultipliedPixel(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24));
        }
    surface.AlphaDraw(ACanvas->Handle(), ARect);
}
