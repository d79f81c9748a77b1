#include "platform/gdi/stretch.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace win::detail {
namespace {

// A rectangle with a non-negative extent: a negative extent covers the pixels from X + Width + 1 up to X.
struct Span {
    int Start = 0;
    int Length = 0;
};

Span Normalise(int AStart, int AExtent)
{
    if (AExtent >= 0)
        return {AStart, AExtent};
    return {AStart + AExtent + 1, -AExtent};
}

// Destination pixels [First, Last) whose samples lie inside the source surface.
struct Range {
    int First = 0;
    int Last = 0;
};

// Only destination pixels inside the destination surface are looked at, so huge rectangles cost no more than
// small ones.
Range ValidRange(Span ADest, int ADestSurface, Span ASource, int ASourceSurface, bool AMirrored)
{
    Range r{ADest.Length, 0};
    const int first = std::max(0, -ADest.Start), last = std::min(ADest.Length, ADestSurface - ADest.Start);
    for (int i = first; i < last; ++i) {
        const int s = ASource.Start + SampleIndex(i, ADest.Length, ASource.Length, AMirrored);
        if (s >= 0 && s < ASourceSurface) {
            r.First = std::min(r.First, i);
            r.Last = i + 1;
        }
    }
    if (r.Last <= r.First)
        return {0, 0};
    return r;
}

// Coordinates beyond this are refused, which keeps every sum and product below in range.
constexpr int kMaxCoordinate = 1 << 24;

bool WithinLimits(const SignedRect& ARect)
{
    return std::abs(ARect.X) <= kMaxCoordinate && std::abs(ARect.Y) <= kMaxCoordinate &&
           std::abs(ARect.Width) <= kMaxCoordinate && std::abs(ARect.Height) <= kMaxCoordinate;
}

bool NeedsSource(DWORD ARop)
{
    const unsigned code = (ARop >> 16) & 0xFF;
    return (((code >> 2) ^ code) & 0x33) != 0;
}

bool NeedsPattern(DWORD ARop)
{
    const unsigned code = (ARop >> 16) & 0xFF;
    return (((code >> 4) ^ code) & 0x0F) != 0;
}

uint32_t ApplyRop3(unsigned ACode, uint32_t P, uint32_t S, uint32_t D)
{
    uint32_t result = 0;
    for (unsigned k = 0; k < 8; ++k)
        if ((ACode >> k) & 1)
            result |= ((k & 4) ? P : ~P) & ((k & 2) ? S : ~S) & ((k & 1) ? D : ~D);
    return result;
}

struct PixmanImage {
    pixman_image_t* Image;
    explicit PixmanImage(pixman_image_t* AImage) : Image(AImage) {}
    ~PixmanImage()
    {
        if (Image != nullptr)
            pixman_image_unref(Image);
    }
    PixmanImage(const PixmanImage&) = delete;
    PixmanImage& operator=(const PixmanImage&) = delete;
};

struct Geometry {
    Span Dest, Source; // x
    Span DestY, SourceY;
    bool MirrorX = false, MirrorY = false;
    RECT Area; // destination pixels to draw, before the clip
};

void ClearAlpha(const Surface& ASurface, const pixman_region32_t& ARegion)
{
    if (ASurface.Bpp != 32)
        return;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&ARegion), &n);
    for (int b = 0; b < n; ++b)
        for (int y = boxes[b].y1; y < boxes[b].y2; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(ASurface.Row(y));
            for (int x = boxes[b].x1; x < boxes[b].x2; ++x)
                row[x] &= 0x00FFFFFF;
        }
}

// pixman keeps transforms in 16.16 fixed point: scales from 32768 up cannot be expressed, and enlargements beyond
// 4096 times would lose the step between samples to rounding. Those go the exact pixel-by-pixel way.
constexpr double kMaxScale = 32767.0;
constexpr double kMinScale = 1.0 / 4096;

double Scale(const Span& ASource, const Span& ADest) { return double(ASource.Length) / ADest.Length; }

bool Expressible(const Geometry& AG)
{
    const double sx = Scale(AG.Source, AG.Dest), sy = Scale(AG.SourceY, AG.DestY);
    return sx < kMaxScale && sy < kMaxScale && sx >= kMinScale && sy >= kMinScale;
}

// Maps pixel u of the drawn area (counted from its left edge) to the source. The offset is the source coordinate
// of the area's edge, which lies inside the source, so it always fits the fixed-point range.
void SetTransform(pixman_image_t* AImage, const Geometry& AG)
{
    const double sx = Scale(AG.Source, AG.Dest), sy = Scale(AG.SourceY, AG.DestY);
    const double ux = double(AG.Area.Left - AG.Dest.Start) * sx, uy = double(AG.Area.Top - AG.DestY.Start) * sy;
    const double ox = AG.MirrorX ? AG.Source.Start + AG.Source.Length - ux : AG.Source.Start + ux;
    const double oy = AG.MirrorY ? AG.SourceY.Start + AG.SourceY.Length - uy : AG.SourceY.Start + uy;
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = pixman_double_to_fixed(AG.MirrorX ? -sx : sx);
    t.matrix[0][2] = pixman_double_to_fixed(ox);
    t.matrix[1][1] = pixman_double_to_fixed(AG.MirrorY ? -sy : sy);
    t.matrix[1][2] = pixman_double_to_fixed(oy);
    pixman_image_set_transform(AImage, &t);
}

bool Identity(const Geometry& AG)
{
    return !AG.MirrorX && !AG.MirrorY && AG.Dest.Length == AG.Source.Length && AG.DestY.Length == AG.SourceY.Length;
}

// SRCCOPY and AlphaBlend: pixman does the work.
void Composite(const Surface& ADest, const Surface& ASource, const Geometry& AG, const pixman_region32_t& AClip,
               const BlitRequest& ARequest)
{
    const bool blend = ARequest.Blend.has_value();
    const bool sourceAlpha = blend && (ARequest.Blend->AlphaFormat & AC_SRC_ALPHA) != 0;
    pixman_format_code_t format = ASource.Format();
    if (blend && !sourceAlpha && ASource.Bpp == 32)
        format = PIXMAN_x8r8g8b8; // without per-pixel alpha the source counts as opaque
    PixmanImage src(pixman_image_create_bits(format, ASource.Width, ASource.Height,
                                             reinterpret_cast<uint32_t*>(ASource.Top), int(ASource.Stride)));
    PixmanImage dst(ADest.MakeImage());
    if (src.Image == nullptr || dst.Image == nullptr)
        return;
    pixman_image_set_clip_region32(dst.Image, const_cast<pixman_region32_t*>(&AClip));
    const int w = AG.Area.Right - AG.Area.Left, h = AG.Area.Bottom - AG.Area.Top;
    int srcX = 0, srcY = 0; // the transform works from the drawn area's corner
    if (Identity(AG)) {
        srcX = AG.Source.Start + (AG.Area.Left - AG.Dest.Start);
        srcY = AG.SourceY.Start + (AG.Area.Top - AG.DestY.Start);
    } else {
        SetTransform(src.Image, AG);
        // Samples never leave the source range we checked; padding only guards the last fixed-point bit.
        pixman_image_set_repeat(src.Image, PIXMAN_REPEAT_PAD);
        const bool filter = !blend && ARequest.StretchMode == HALFTONE;
        pixman_image_set_filter(src.Image, filter ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    }
    if (!blend) {
        pixman_image_composite32(PIXMAN_OP_SRC, src.Image, nullptr, dst.Image, srcX, srcY, 0, 0, AG.Area.Left,
                                 AG.Area.Top, w, h);
        if (ASource.Bpp != 32)
            ClearAlpha(ADest, AClip);
        return;
    }
    std::unique_ptr<PixmanImage> mask;
    const BYTE constant = ARequest.Blend->SourceConstantAlpha;
    if (constant != 255) {
        const pixman_color_t c{0, 0, 0, uint16_t(constant * 257)};
        mask = std::make_unique<PixmanImage>(pixman_image_create_solid_fill(&c));
    }
    pixman_image_composite32(PIXMAN_OP_OVER, src.Image, mask ? mask->Image : nullptr, dst.Image, srcX, srcY, 0, 0,
                             AG.Area.Left, AG.Area.Top, w, h);
}

// The source value for one destination pixel. When shrinking in an AND or OR mode, the pixels that would be
// dropped are folded in, as GDI does to keep thin lines.
struct SourceSampler {
    const Surface& Source;
    const Geometry& G;
    int Mode;

    uint32_t At(int i, int j) const
    {
        const bool fold = (Mode == BLACKONWHITE || Mode == WHITEONBLACK) &&
                          (G.Source.Length > G.Dest.Length || G.SourceY.Length > G.DestY.Length);
        if (!fold)
            return Source.Get(G.Source.Start + SampleIndex(i, G.Dest.Length, G.Source.Length, G.MirrorX),
                              G.SourceY.Start + SampleIndex(j, G.DestY.Length, G.SourceY.Length, G.MirrorY));
        const auto [x0, x1] = Cover(i, G.Dest.Length, G.Source.Length, G.MirrorX, G.Source.Start, Source.Width);
        const auto [y0, y1] = Cover(j, G.DestY.Length, G.SourceY.Length, G.MirrorY, G.SourceY.Start, Source.Height);
        uint32_t acc = Mode == BLACKONWHITE ? 0xFFFFFFFF : 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                acc = Mode == BLACKONWHITE ? (acc & Source.Get(x, y)) : (acc | Source.Get(x, y));
        return acc;
    }

    // Source pixels covered by destination pixel i along one axis, inside the surface (never empty: the sampled
    // pixel is always inside).
    static std::pair<int, int> Cover(int i, int ADest, int ASource, bool AMirrored, int AStart, int ASurface)
    {
        if (ASource <= ADest) {
            const int s = AStart + SampleIndex(i, ADest, ASource, AMirrored);
            return {s, s + 1};
        }
        const int k = AMirrored ? ADest - 1 - i : i;
        int a = AStart + int(int64_t(k) * ASource / ADest), b = AStart + int(int64_t(k + 1) * ASource / ADest);
        const int s = AStart + SampleIndex(i, ADest, ASource, AMirrored);
        a = std::clamp(std::min(a, s), 0, ASurface - 1);
        b = std::clamp(std::max(b, s + 1), a + 1, ASurface);
        return {a, b};
    }
};

// Any other raster operation, and the folding stretch modes: pixel by pixel. GDI raster operations write alpha 0.
void RasterOp(const Surface& ADest, const Surface* ASource, const Geometry& AG, const pixman_region32_t& AClip,
              const BlitRequest& ARequest, const DC& ADC, const Brush* APattern)
{
    const unsigned code = (ARequest.Rop >> 16) & 0xFF;
    // A plain copy that pixman cannot scale (or that folds) copies whole pixels, like the pixman path.
    const bool plainCopy = ARequest.Rop == SRCCOPY && ASource != nullptr && ASource->Bpp == 32;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&AClip), &n);
    for (int b = 0; b < n; ++b)
        for (int y = boxes[b].y1; y < boxes[b].y2; ++y)
            for (int x = boxes[b].x1; x < boxes[b].x2; ++x) {
                uint32_t s = 0;
                if (ASource != nullptr)
                    s = SourceSampler{*ASource, AG, ARequest.StretchMode}.At(x - AG.Dest.Start, y - AG.DestY.Start);
                if (plainCopy) {
                    ADest.Put(x, y, s);
                    continue;
                }
                uint32_t p = 0;
                if (APattern != nullptr && !BrushPixel(ADC, *APattern, x, y, p))
                    continue;
                const uint32_t d = ADest.Get(x, y);
                ADest.Put(x, y, ApplyRop3(code, p, s, d) & 0x00FFFFFF);
            }
}

// A private copy of the source when it is the destination's own memory, since pixman does not promise
// overlapping copies.
struct SourceCopy {
    std::vector<uint32_t> Pixels;
    Surface View;
};

bool SameMemory(const Surface& A, const Surface& B) { return A.Top == B.Top; }

void CopySurface(const Surface& ASource, SourceCopy& AOut)
{
    AOut.Pixels.resize(size_t(ASource.Width) * size_t(ASource.Height));
    AOut.View = Surface{reinterpret_cast<uint8_t*>(AOut.Pixels.data()), ASource.Width, ASource.Height,
                        ptrdiff_t(ASource.Width) * 4, 32};
    for (int y = 0; y < ASource.Height; ++y)
        for (int x = 0; x < ASource.Width; ++x)
            AOut.View.Put(x, y, ASource.Get(x, y));
}

} // namespace

int SampleIndex(int AIndex, int ADestLength, int ASourceLength, bool AMirrored)
{
    // Pixel centre i + 1/2 maps to t = (2i + 1) * S / (2D) (from the far edge when mirrored); the sample is
    // ceil(t) - 1, which is what pixman's nearest filter picks.
    const int64_t num = AMirrored ? int64_t(2 * (ADestLength - AIndex) - 1) * ASourceLength
                                  : int64_t(2 * AIndex + 1) * ASourceLength;
    const int64_t den = 2 * int64_t(ADestLength);
    const int64_t s = (num + den - 1) / den - 1;
    return int(std::clamp<int64_t>(s, 0, ASourceLength - 1));
}

bool Stretch(DC& ADest, const Surface& ASource, const BlitRequest& ARequest)
{
    const BlitRequest& r = ARequest;
    if (r.Dest.Width == 0 || r.Dest.Height == 0)
        return false;
    const bool needsSource = r.Blend.has_value() || NeedsSource(r.Rop);
    if (needsSource && (r.Source.Width == 0 || r.Source.Height == 0 || !ASource.Valid()))
        return false;
    if (!WithinLimits(r.Dest) || (needsSource && !WithinLimits(r.Source)))
        return false;
    const Surface& dest = ADest.Target();
    Geometry g;
    g.Dest = Normalise(r.Dest.X, r.Dest.Width);
    g.DestY = Normalise(r.Dest.Y, r.Dest.Height);
    RECT area{g.Dest.Start, g.DestY.Start, g.Dest.Start + g.Dest.Length, g.DestY.Start + g.DestY.Length};
    if (needsSource) {
        g.Source = Normalise(r.Source.X, r.Source.Width);
        g.SourceY = Normalise(r.Source.Y, r.Source.Height);
        g.MirrorX = (r.Dest.Width < 0) != (r.Source.Width < 0);
        g.MirrorY = (r.Dest.Height < 0) != (r.Source.Height < 0);
        const Range rx = ValidRange(g.Dest, dest.Width, g.Source, ASource.Width, g.MirrorX);
        const Range ry = ValidRange(g.DestY, dest.Height, g.SourceY, ASource.Height, g.MirrorY);
        area = {g.Dest.Start + rx.First, g.DestY.Start + ry.First, g.Dest.Start + rx.Last, g.DestY.Start + ry.Last};
    }
    g.Area = area;
    pixman_region32_t clip;
    pixman_region32_init_rect(&clip, area.Left, area.Top, unsigned(std::max(0, area.Right - area.Left)),
                              unsigned(std::max(0, area.Bottom - area.Top)));
    pixman_region32_intersect(&clip, &clip, const_cast<pixman_region32_t*>(&ADest.SurfaceClip()));
    pixman_region32_intersect_rect(&clip, &clip, 0, 0, unsigned(dest.Width), unsigned(dest.Height));
    if (pixman_region32_not_empty(&clip)) {
        SourceCopy copy;
        const Surface* source = needsSource ? &ASource : nullptr;
        if (source != nullptr && SameMemory(*source, dest)) {
            CopySurface(*source, copy);
            source = &copy.View;
        }
        const bool folds = (r.StretchMode == BLACKONWHITE || r.StretchMode == WHITEONBLACK) &&
                           (g.Source.Length > g.Dest.Length || g.SourceY.Length > g.DestY.Length);
        if (r.Blend.has_value() && !Expressible(g)) {
            // A blend scaled beyond what pixman can express is not drawn.
        } else if (r.Blend.has_value() || (r.Rop == SRCCOPY && !folds && Expressible(g))) {
            Composite(dest, *source, g, clip, r);
        } else {
            const Brush* brush = ADest.State.SelectedBrush;
            RasterOp(dest, source, g, clip, r, ADest, NeedsPattern(r.Rop) ? brush : nullptr);
        }
    }
    pixman_region32_fini(&clip);
    return true;
}

} // namespace win::detail
