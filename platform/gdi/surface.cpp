#include "platform/gdi/surface.h"

namespace win::detail {

pixman_image_t* Surface::MakeImage() const
{
    return pixman_image_create_bits(Format(), Width, Height, reinterpret_cast<uint32_t*>(Top), int(Stride));
}

bool SurfaceOfDib(const BITMAPINFO* AInfo, const void* ABits, Surface& AOut)
{
    if (AInfo == nullptr || ABits == nullptr)
        return false;
    const BITMAPINFOHEADER& h = AInfo->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1)
        return false;
    if (h.biBitCount != 24 && h.biBitCount != 32)
        return false;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && h.biBitCount == 32))
        return false;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (h.biWidth > kMaxSurfaceSide || height > kMaxSurfaceSide)
        return false;
    const ptrdiff_t stride = DibStride(h.biWidth, h.biBitCount);
    auto* base = static_cast<uint8_t*>(const_cast<void*>(ABits));
    AOut.Width = h.biWidth;
    AOut.Height = height;
    AOut.Bpp = h.biBitCount;
    if (h.biHeight < 0) {
        AOut.Top = base;
        AOut.Stride = stride;
    } else {
        AOut.Top = base + stride * (height - 1);
        AOut.Stride = -stride;
    }
    return true;
}

} // namespace win::detail
