#include "skin/core/surface_blits.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr Integer kBand = 5;
constexpr TspColor kDestinationBand = 0x5A5A5A5A, kSourceBand = 0xC3DEAD01;

// A W x H surface in the middle of a larger buffer, top-down or bottom-up, with a band of kBand pixels all round
// that no transfer may touch (destination) or read (source: its value must never arrive anywhere).
struct BandedSurface {
    BandedSurface(Integer AWidth, Integer AHeight, TspColor ABand, bool ABottomUp)
        : Pitch(AWidth + 2 * kBand), Pixels(static_cast<size_t>(Pitch) * (AHeight + 2 * kBand), ABand)
    {
        TspColor* corner = Pixels.data() + kBand * Pitch + kBand;
        View = {ABottomUp ? corner + static_cast<ptrdiff_t>(AHeight - 1) * Pitch : corner,
                ABottomUp ? -static_cast<ptrdiff_t>(Pitch) : Pitch, AWidth, AHeight};
    }
    bool InBand(size_t AIndex) const
    {
        const Integer x = static_cast<Integer>(AIndex % Pitch), y = static_cast<Integer>(AIndex / Pitch);
        return x < kBand || x >= kBand + View.Width || y < kBand || y >= kBand + View.Height;
    }
    Integer Pitch;
    std::vector<TspColor> Pixels;
    TspSurface View;
};

// Random rectangles partly or wholly outside both surfaces, in every mode, scaled and one to one: nothing outside
// the destination changes and nothing outside the source is read, with or without a sanitizer watching.
TEST(SurfaceBlits, RandomRectanglesStayInsideBothSurfaces)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<Integer> coord(-14, 26);
    for (const bool bottom_up : {false, true}) {
        BandedSurface dst(11, 6, kDestinationBand, bottom_up), src(9, 7, kSourceBand, !bottom_up);
        for (Integer y = 0; y < 7; ++y)
            for (Integer x = 0; x < 9; ++x) src.View.Row(y)[x] = 0x80000000u | static_cast<TspColor>(y * 16 + x);
        for (int i = 0; i < 600; ++i) {
            const auto mode = static_cast<TspBlitMode>(i % 3);
            const TRect d{coord(rng), coord(rng), coord(rng), coord(rng)};
            const TRect s{coord(rng), coord(rng), coord(rng), coord(rng)};
            const TRect clip{coord(rng), coord(rng), coord(rng), coord(rng)};
            SurfaceBlit(mode, dst.View, d, src.View, s.Left, s.Top);
            SurfaceStretch(mode, i % 2 ? TspScaleRounding::Nearest : TspScaleRounding::Truncate, dst.View, d, clip, s,
                           src.View);
        }
        for (size_t k = 0; k < dst.Pixels.size(); ++k) {
            if (dst.InBand(k))
                ASSERT_EQ(dst.Pixels[k], kDestinationBand) << "written outside the destination at " << k;
            else
                ASSERT_NE(dst.Pixels[k] & 0x00FFFFFF, kSourceBand & 0x00FFFFFF) << "read outside the source at " << k;
        }
    }
}

}  // namespace
