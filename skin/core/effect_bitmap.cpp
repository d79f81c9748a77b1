#include "skin/core/effect_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/gdi/gdi.h"

Integer RoundHalfEven(double x)
{
    // Callers clamp to a byte or a coordinate range; keep the conversion itself defined for any input.
    if (!(x == x)) return 0;
    x = std::clamp(x, -2147483648.0, 2147483647.0);
    return static_cast<Integer>(std::nearbyint(x));
}

TspEffectBmp::TspEffectBmp(Integer cx, Integer cy)
{
    auto& header = FBmpInfo.bmiHeader;
    header.biSize = 40;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = win::BI_RGB;
    if (cx <= 0 || cy <= 0) return;
    const int64_t row_size = 3 * int64_t{cx} + cx % 4;
    const int64_t size = row_size * cy;
    // Beyond what a 32-bit size can say the section is refused before any memory is asked for.
    if (size > std::numeric_limits<Integer>::max()) return;
    header.biWidth = cx;
    header.biHeight = -cy;
    void* bits = nullptr;
    FHandle = win::CreateDIBSection(nullptr, &FBmpInfo, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    if (FHandle == nullptr || bits == nullptr) {
        if (FHandle != nullptr) win::DeleteObject(FHandle);
        FHandle = nullptr;
        return;
    }
    FWidth = cx;
    FHeight = cy;
    FRowSize = static_cast<Integer>(row_size);
    FSize = static_cast<Integer>(size);
    FBits = static_cast<Byte*>(bits);
}

TspEffectBmp::~TspEffectBmp()
{
    if (FHandle != nullptr) win::DeleteObject(FHandle);
}

TspEffectBmp::TspEffectBmp(TspEffectBmp&& AOther) noexcept { *this = std::move(AOther); }

TspEffectBmp& TspEffectBmp::operator=(TspEffectBmp&& AOther) noexcept
{
    if (this == &AOther) return *this;
    if (FHandle != nullptr) win::DeleteObject(FHandle);
    FWidth = std::exchange(AOther.FWidth, 0);
    FHeight = std::exchange(AOther.FHeight, 0);
    FRowSize = std::exchange(AOther.FRowSize, 0);
    FSize = std::exchange(AOther.FSize, 0);
    FBits = std::exchange(AOther.FBits, nullptr);
    FHandle = std::exchange(AOther.FHandle, nullptr);
    FBmpInfo = AOther.FBmpInfo;
    return *this;
}

std::unique_ptr<TspEffectBmp> TspEffectBmp::CreateFromhWnd(win::HBITMAP hBmp)
{
    win::BITMAP info{};
    if (hBmp == nullptr || win::GetObject(hBmp, sizeof info, &info) == 0) return std::make_unique<TspEffectBmp>(0, 0);
    auto bmp = std::make_unique<TspEffectBmp>(info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
    if (bmp->Empty()) return bmp;
    const win::HDC display = win::CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    win::BITMAPINFO request = bmp->FBmpInfo;
    win::GetDIBits(display, hBmp, 0, static_cast<win::UINT>(bmp->FHeight), bmp->FBits, &request, win::DIB_RGB_COLORS);
    win::DeleteDC(display);
    return bmp;
}

std::unique_ptr<TspEffectBmp> TspEffectBmp::CreateCopy(const TspEffectBmp& ABmp)
{
    auto copy = std::make_unique<TspEffectBmp>(ABmp.FWidth, ABmp.FHeight);
    if (!copy->Empty()) std::memcpy(copy->FBits, ABmp.FBits, static_cast<size_t>(ABmp.FSize));
    return copy;
}

void TspEffectBmp::Draw(win::HDC hDC, Integer x, Integer y) const
{
    if (Empty()) return;
    win::SetDIBitsToDevice(hDC, x, y, static_cast<win::DWORD>(FWidth), static_cast<win::DWORD>(FHeight), 0, 0, 0,
                           static_cast<win::UINT>(FHeight), FBits, &FBmpInfo, win::DIB_RGB_COLORS);
}

void TspEffectBmp::Stretch(win::HDC hDC, Integer x, Integer y, Integer cx, Integer cy) const
{
    if (Empty()) return;
    win::StretchDIBits(hDC, x, y, cx, cy, 0, 0, FWidth, FHeight, FBits, &FBmpInfo, win::DIB_RGB_COLORS,
                       win::SRCCOPY);
}

void TspEffectBmp::DrawRect(win::HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx, Integer cy) const
{
    // The original reached this part through mirrored extents on a top-down section. Here the rows of the part
    // are handed over as a section of their own, which leaves no doubt about which row a source offset counts
    // from, and the part is cut to the buffer.
    if (Empty()) return;
    if (x < 0) {
        hx -= x;
        cx += x;
        x = 0;
    }
    if (y < 0) {
        hy -= y;
        cy += y;
        y = 0;
    }
    cx = std::min(cx, FWidth - x);
    cy = std::min(cy, FHeight - y);
    if (cx <= 0 || cy <= 0) return;
    win::BITMAPINFO rows = FBmpInfo;
    rows.bmiHeader.biHeight = -cy;
    win::StretchDIBits(hDC, hx, hy, cx, cy, x, 0, cx, cy, ScanLinePtr(y), &rows, win::DIB_RGB_COLORS, win::SRCCOPY);
}

void TspEffectBmp::GetScanLine(Integer y, Byte* Line) const
{
    std::memcpy(Line, ScanLinePtr(y), static_cast<size_t>(3) * FWidth);
}

void TspEffectBmp::SetScanLine(Integer y, const Byte* Line)
{
    std::memcpy(ScanLinePtr(y), Line, static_cast<size_t>(3) * FWidth);
}

Integer TspEffectBmp::GetPixel(Integer x, Integer y) const
{
    const Byte* p = Pixel(x, y);
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

void TspEffectBmp::SetPixel(Integer x, Integer y, Integer Color)
{
    Byte* p = Pixel(x, y);
    p[0] = static_cast<Byte>(Color);
    p[1] = static_cast<Byte>(Color >> 8);
    p[2] = static_cast<Byte>(Color >> 16);
}

bool TspEffectBmp::SameSize(const TspEffectBmp& ABmp) const
{
    return !Empty() && !ABmp.Empty() && ABmp.FWidth == FWidth && ABmp.FHeight == FHeight;
}

void TspEffectBmp::CopyRect(const TspEffectBmp& BMP, const TRect& Rct, Integer StartX, Integer StartY)
{
    if (Empty() || BMP.Empty()) return;
    const Integer right = std::min(Rct.Right, FWidth - 1), bottom = std::min(Rct.Bottom, FHeight - 1);
    // Pixels whose own or source position falls outside a buffer are skipped: the second buffer's size is not
    // the caller's promise to keep.
    for (Integer row = std::max(Rct.Top, 0); row <= bottom; ++row) {
        const Integer sy = StartY + row - Rct.Top;
        if (sy < 0 || sy >= BMP.FHeight) continue;
        for (Integer col = std::max(Rct.Left, 0); col <= right; ++col) {
            const Integer sx = StartX + col - Rct.Left;
            if (sx < 0 || sx >= BMP.FWidth) continue;
            std::memcpy(Pixel(col, row), BMP.Pixel(sx, sy), 3);
        }
    }
}

void TspEffectBmp::Resize(TspEffectBmp& Dst) const
{
    if (Empty() || Dst.Empty()) return;
    const double ky = static_cast<double>(Dst.FHeight - 1) / FHeight;
    const double kx = static_cast<double>(Dst.FWidth - 1) / FWidth;
    const Integer block_w = RoundHalfEven(kx) + 1, block_h = RoundHalfEven(ky) + 1;
    for (Integer y = 0; y < FHeight; ++y) {
        const Integer top = RoundHalfEven(ky * y);
        for (Integer x = 0; x < FWidth; ++x) {
            const Integer left = RoundHalfEven(kx * x);
            const Byte* src = Pixel(x, y);
            for (Integer by = top; by < top + block_h && by < Dst.FHeight; ++by)
                for (Integer bx = left; bx < left + block_w && bx < Dst.FWidth; ++bx)
                    std::memcpy(Dst.Pixel(bx, by), src, 3);
        }
    }
}
