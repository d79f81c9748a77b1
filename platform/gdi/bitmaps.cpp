#include <cstring>
#include <new>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_objects_internal.h"

namespace win {

using namespace detail;

namespace {

HBITMAP NewBitmap(int AWidth, int AHeight, int ABpp, bool ABottomUp, bool AIsDib)
{
    if (AWidth <= 0 || AHeight <= 0 || AWidth > kMaxSurfaceSide || AHeight > kMaxSurfaceSide)
        return nullptr;
    const ptrdiff_t stride = DibStride(AWidth, ABpp);
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->Memory.reset(new (std::nothrow) uint8_t[size_t(stride) * size_t(AHeight)]());
    if (bitmap->Memory == nullptr)
        return nullptr;
    uint8_t* base = bitmap->Memory.get();
    bitmap->Pixels = ABottomUp ? Surface{base + stride * (AHeight - 1), AWidth, AHeight, -stride, ABpp}
                               : Surface{base, AWidth, AHeight, stride, ABpp};
    bitmap->BottomUp = ABottomUp;
    bitmap->IsDib = AIsDib;
    return Register(std::move(bitmap));
}

bool StandardMasks(const BITMAPINFO* AInfo)
{
    const auto* masks = reinterpret_cast<const DWORD*>(AInfo->bmiColors);
    return masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF;
}

// The bytes of a pixel in a requested DIB format: 32-bit results keep alpha from a 32-bit bitmap only.
void ConvertRow(const Surface& ASource, int AY, uint8_t* ADest, int ABpp)
{
    for (int x = 0; x < ASource.Width; ++x) {
        const uint32_t p = ASource.Get(x, AY);
        if (ABpp == 32) {
            const uint32_t out = ASource.Bpp == 32 ? p : (p & 0xFFFFFF);
            std::memcpy(ADest + size_t(x) * 4, &out, 4);
        } else {
            ADest[size_t(x) * 3] = uint8_t(p);
            ADest[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            ADest[size_t(x) * 3 + 2] = uint8_t(p >> 16);
        }
    }
}

} // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* AInfo, UINT AUsage, void** ABits, HANDLE, DWORD)
{
    if (ABits != nullptr)
        *ABits = nullptr;
    if (AInfo == nullptr || AUsage != DIB_RGB_COLORS)
        return nullptr;
    const BITMAPINFOHEADER& h = AInfo->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || (h.biBitCount != 24 && h.biBitCount != 32) || h.biPlanes != 1)
        return nullptr;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && h.biBitCount == 32 && StandardMasks(AInfo)))
        return nullptr;
    if (h.biHeight == INT32_MIN)
        return nullptr;
    HBITMAP handle = NewBitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, h.biBitCount, h.biHeight > 0,
                               true);
    if (handle != nullptr && ABits != nullptr)
        *ABits = Find<Bitmap>(handle)->MemoryStart();
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC, int AWidth, int AHeight)
{
    // An empty size gets the shared 1 x 1 stock bitmap, as on Windows; deleting it is harmless.
    if (AWidth == 0 || AHeight == 0)
        return StockBitmap();
    return NewBitmap(AWidth, AHeight, 32, false, false);
}

LONG GetBitmapBits(HBITMAP ABitmap, LONG ACount, void* ABits)
{
    Bitmap* bitmap = Find<Bitmap>(ABitmap);
    if (bitmap == nullptr || ABits == nullptr || ACount <= 0)
        return 0;
    const Surface& s = bitmap->Pixels;
    const LONG rowBytes = ((s.Width * s.Bpp + 15) / 16) * 2;
    const LONG rows = std::min<LONG>(s.Height, ACount / rowBytes);
    auto* out = static_cast<uint8_t*>(ABits);
    for (LONG y = 0; y < rows; ++y)
        std::memcpy(out + size_t(y) * size_t(rowBytes), s.Row(y), size_t(s.Width) * size_t(s.Bpp / 8));
    return rows * rowBytes;
}

int GetDIBits(HDC ADC, HBITMAP ABitmap, UINT AStart, UINT ALines, void* ABits, BITMAPINFO* AInfo, UINT AUsage)
{
    Bitmap* bitmap = Find<Bitmap>(ABitmap);
    if (FindDC(ADC) == nullptr || bitmap == nullptr || AInfo == nullptr || AUsage != DIB_RGB_COLORS)
        return 0;
    BITMAPINFOHEADER& h = AInfo->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    const Surface& s = bitmap->Pixels;
    if (ABits == nullptr && h.biBitCount == 0) {
        h.biWidth = s.Width;
        h.biHeight = bitmap->BottomUp || !bitmap->IsDib ? s.Height : -s.Height;
        h.biPlanes = 1;
        h.biBitCount = WORD(s.Bpp);
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(DibStride(s.Width, s.Bpp)) * DWORD(s.Height);
        return 1;
    }
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB)
        return 0;
    const int bpp = h.biBitCount;
    const bool topDown = h.biHeight < 0;
    // The result always has the bitmap's size; the caller's header says only the format and orientation.
    h.biWidth = s.Width;
    h.biHeight = topDown ? -s.Height : s.Height;
    h.biPlanes = 1;
    h.biSizeImage = DWORD(DibStride(s.Width, bpp)) * DWORD(s.Height);
    if (ABits == nullptr)
        return s.Height;
    if (AStart >= UINT(s.Height))
        return 0;
    const UINT lines = std::min<UINT>(ALines, UINT(s.Height) - AStart);
    const size_t stride = size_t(DibStride(s.Width, bpp));
    auto* out = static_cast<uint8_t*>(ABits);
    for (UINT i = 0; i < lines; ++i) {
        // Scan line numbers count from the bottom of a bottom-up result and from the top of a top-down one.
        const UINT line = AStart + i;
        const int y = topDown ? int(line) : s.Height - 1 - int(line);
        std::memset(out + i * stride, 0, stride);
        ConvertRow(s, y, out + i * stride, bpp);
    }
    return int(lines);
}

} // namespace win
