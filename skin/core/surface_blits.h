#pragma once
// Rectangle transfers between pixel surfaces: one to one, or scaled by nearest neighbour with a column table.
// The skin bitmap's blits (top-down memory) and the blits into foreign bottom-up DIB bits both run on these.
#include <cstddef>

#include "platform/rtl/types.h"
#include "skin/core/pixel_kernels.h"

// A view of 32-bit pixels: row y starts at Row0 + y * Stride (a negative stride for bottom-up memory).
struct TspSurface {
    TspColor* Row0 = nullptr;
    ptrdiff_t Stride = 0;
    Integer Width = 0;
    Integer Height = 0;

    TspColor* Row(Integer Y) const { return Row0 + static_cast<ptrdiff_t>(Y) * Stride; }
    static TspSurface TopDown(TspColor* ABits, Integer AWidth, Integer AHeight)
    {
        return {ABits, AWidth, AWidth, AHeight};
    }
    static TspSurface BottomUp(TspColor* ABits, Integer AWidth, Integer AHeight)
    {
        return {ABits + static_cast<ptrdiff_t>(AHeight - 1) * AWidth, -static_cast<ptrdiff_t>(AWidth), AWidth,
                AHeight};
    }
};

enum class TspBlitMode { Copy, Blend, Key };
// How a scaled source column or row is picked: the bitmap routines truncate, the DIB routines round to nearest.
enum class TspScaleRounding { Truncate, Nearest };

// Copies, blends or keys the DstRect area of Dst from Src at (SrcX, SrcY), one to one. The area is cut to both
// surfaces, so nothing outside either is touched.
void SurfaceBlit(TspBlitMode AMode, const TspSurface& Dst, const TRect& DstRect, const TspSurface& Src, Integer SrcX,
                 Integer SrcY);

// Draws SrcRect of Src into DstRect of Dst, scaled, only where DstRect meets ClipRect and Dst. Nothing when
// SrcRect is empty or does not lie inside Src. Same sizes fall back to SurfaceBlit.
void SurfaceStretch(TspBlitMode AMode, TspScaleRounding ARounding, const TspSurface& Dst, const TRect& DstRect,
                    const TRect& ClipRect, const TRect& SrcRect, const TspSurface& Src);

// The source column (or row) for destination offset Q of a scaled transfer: exposed for tests of the column
// table. ADstSize is the destination width, ASrcFirst/ASrcEnd the source range (end exclusive).
Integer ScaledSourceIndex(Integer Q, Integer ADstSize, Integer ASrcFirst, Integer ASrcEnd, TspScaleRounding ARounding);
