#include "skin/core/surface_blits.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/core/rect_helpers.h"

namespace {

void ApplyRow(TspBlitMode AMode, const TspColor* Src, TspColor* Dst, Integer Count)
{
    switch (AMode) {
        case TspBlitMode::Copy: CopyLine(Src, Dst, Count); break;
        case TspBlitMode::Blend: BlendLine(Src, Dst, Count); break;
        case TspBlitMode::Key: KeyLine(Src, Dst, Count); break;
    }
}

}  // namespace

Integer ScaledSourceIndex(Integer Q, Integer ADstSize, Integer ASrcFirst, Integer ASrcEnd, TspScaleRounding ARounding)
{
    if (ADstSize < 2) return (ASrcFirst + ASrcEnd - 1) / 2;
    const long double k = static_cast<long double>(ASrcEnd - ASrcFirst - 1) / (ADstSize - 1);
    const long double x = Q * k + ASrcFirst;
    long double picked = ARounding == TspScaleRounding::Truncate ? std::trunc(x) : std::nearbyint(x);
    // The product can land a hair beyond the last source column; never read outside the source range.
    picked = std::clamp<long double>(picked, ASrcFirst, ASrcEnd - 1);
    return static_cast<Integer>(picked);
}

void SurfaceBlit(TspBlitMode AMode, const TspSurface& Dst, const TRect& DstRect, const TspSurface& Src, Integer SrcX,
                 Integer SrcY)
{
    TRect v = IntersectionOf(DstRect, Rect(0, 0, Dst.Width, Dst.Height));
    // Keep the source side inside Src as well, moving the destination with it.
    v = IntersectionOf(v, Bounds(DstRect.Left - SrcX, DstRect.Top - SrcY, Src.Width, Src.Height));
    if (IsEmptyRect(v)) return;
    const Integer sx = SrcX + v.Left - DstRect.Left, sy = SrcY + v.Top - DstRect.Top;
    for (Integer y = v.Top; y < v.Bottom; ++y)
        ApplyRow(AMode, Src.Row(sy + y - v.Top) + sx, Dst.Row(y) + v.Left, v.Width());
    EndMMX();
}

void SurfaceStretch(TspBlitMode AMode, TspScaleRounding ARounding, const TspSurface& Dst, const TRect& DstRect,
                    const TRect& ClipRect, const TRect& SrcRect, const TspSurface& Src)
{
    if (IsEmptyRect(SrcRect)) return;
    const TRect v = IntersectionOf(IntersectionOf(ClipRect, Rect(0, 0, Dst.Width, Dst.Height)), DstRect);
    if (IsEmptyRect(v)) return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src.Width || SrcRect.Bottom > Src.Height) return;

    const Integer wd = DstRect.Width(), hd = DstRect.Height();
    if (SrcRect.Width() == wd && SrcRect.Height() == hd) {
        SurfaceBlit(AMode, Dst, v, Src, SrcRect.Left + v.Left - DstRect.Left, SrcRect.Top + v.Top - DstRect.Top);
        return;
    }

    const Integer wv = v.Width();
    std::vector<Integer> columns(wv);
    for (Integer q = 0; q < wv; ++q)
        columns[q] = ScaledSourceIndex(q + v.Left - DstRect.Left, wd, SrcRect.Left, SrcRect.Right, ARounding);

    std::vector<TspColor> row_buffer(AMode == TspBlitMode::Copy ? 0 : wv);
    Integer previous_row = -1;
    TspColor* previous_dst = nullptr;
    for (Integer r = 0; r < v.Height(); ++r) {
        EndMMX();
        const Integer sy =
            ScaledSourceIndex(r + v.Top - DstRect.Top, hd, SrcRect.Top, SrcRect.Bottom, ARounding);
        const TspColor* src_row = Src.Row(sy);
        TspColor* dst_row = Dst.Row(v.Top + r) + v.Left;
        if (AMode == TspBlitMode::Copy) {
            if (sy == previous_row) {
                CopyLine(previous_dst, dst_row, wv);
            } else {
                for (Integer q = 0; q < wv; ++q) dst_row[q] = src_row[columns[q]];
            }
        } else {
            if (sy != previous_row)
                for (Integer q = 0; q < wv; ++q) row_buffer[q] = src_row[columns[q]];
            ApplyRow(AMode, row_buffer.data(), dst_row, wv);
        }
        previous_row = sy;
        previous_dst = dst_row;
    }
    EndMMX();
}
