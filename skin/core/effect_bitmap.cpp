#include "skin/core/effect_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

Integer RoundHalfEven(double x)
{
    // Callers clamp to a byte or a coordinate range; keep the conversion itself defined for any input.
    if (!(x == x)) return 0;
    x = std::clamp(x, -2147483648.0, 2147483647.0);
    return static_cast<Integer>(std::nearbyint(x));
}

TspEffectBmp::TspEffectBmp(Integer cx, Integer cy)
{
    if (cx <= 0 || cy <= 0) return;
    const int64_t row_size = 3 * int64_t{cx} + cx % 4;
    const int64_t size = row_size * cy;
    if (size > std::numeric_limits<Integer>::max()) return;
    try {
        FStorage.assign(static_cast<size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    FWidth = cx;
    FHeight = cy;
    FRowSize = static_cast<Integer>(row_size);
    FSize = static_cast<Integer>(size);
    FBits = FStorage.data();
}

std::unique_ptr<TspEffectBmp> TspEffectBmp::CreateCopy(const TspEffectBmp& ABmp)
{
    auto copy = std::make_unique<TspEffectBmp>(ABmp.FWidth, ABmp.FHeight);
    if (!copy->Empty()) std::memcpy(copy->FBits, ABmp.FBits, static_cast<size_t>(ABmp.FSize));
    return copy;
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
