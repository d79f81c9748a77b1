#pragma once
// The one routine behind every blit: a source rectangle of a surface drawn into a destination DC, scaled, mirrored
// and clipped, through a raster operation or as an alpha blend.
#include <optional>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/surface.h"

namespace win::detail {

// A rectangle as a blit call gives it: a corner and signed extents.
struct SignedRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

struct BlitRequest {
    SignedRect Dest;   // surface coordinates of the destination DC
    SignedRect Source; // pixels of ASource
    DWORD Rop = SRCCOPY;
    int StretchMode = COLORONCOLOR;
    std::optional<BLENDFUNCTION> Blend; // AlphaBlend instead of a raster operation
};

// Draws what lies inside both surfaces and the destination's clip. False only for a request that cannot be drawn
// at all (zero extents, an unknown blend).
bool Stretch(DC& ADest, const Surface& ASource, const BlitRequest& ARequest);

// The source pixel a destination pixel samples along one axis: AIndex in [0, ADestLength), result in
// [0, ASourceLength). The destination pixel centre maps into the source and takes the pixel it falls in, the lower
// one on a boundary.
int SampleIndex(int AIndex, int ADestLength, int ASourceLength, bool AMirrored);

} // namespace win::detail
