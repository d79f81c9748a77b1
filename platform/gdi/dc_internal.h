#pragma once
// The device context behind an HDC: its surface, its state and the clip the drawing code works with.
#include <pixman.h>

#include <algorithm>
#include <vector>

#include "platform/gdi/gdi_objects_internal.h"
#include "platform/gdi/surface.h"

namespace win::detail {

struct DCState {
    Bitmap* SelectedBitmap = nullptr; // memory DCs only
    Pen* SelectedPen = nullptr;
    Brush* SelectedBrush = nullptr;
    Font* SelectedFont = nullptr;
    POINT WindowOrg;
    POINT ViewportOrg;
    bool HasClip = false;
    pixman_region32_t Clip; // device coordinates, when HasClip
    int StretchMode = BLACKONWHITE;
    int Rop2 = R2_COPYPEN;
    int BkMode = OPAQUE;
    COLORREF BkColor = 0xFFFFFF;
    COLORREF TextColor = 0;
    POINT Position;

    DCState() { pixman_region32_init(&Clip); }
    DCState(const DCState& AOther);
    DCState& operator=(const DCState& AOther);
    ~DCState() { pixman_region32_fini(&Clip); }
    void HoldObjects() const;
    void ReleaseObjects() const;
};

enum class DCKind { Memory, Surface };

struct DC final : DeviceContext {
    DC();
    ~DC() override;

    DCKind Kind = DCKind::Memory;
    Surface External;      // surface DCs
    POINT Origin;          // device (0, 0) in surface pixels (surface DCs)
    bool HasVisible = false;
    pixman_region32_t Visible; // device coordinates, surface DCs
    DCState State;
    std::vector<DCState> Saved;

    const Surface& Target() const { return Kind == DCKind::Memory ? State.SelectedBitmap->Pixels : External; }
    // Logical to device and device to surface.
    // Results are kept within +-2^27, as GDI keeps its coordinate space, so that sums and widths never overflow.
    POINT ToDevice(int x, int y) const
    {
        return {Clamp(int64_t(x) - State.WindowOrg.X + State.ViewportOrg.X),
                Clamp(int64_t(y) - State.WindowOrg.Y + State.ViewportOrg.Y)};
    }
    POINT ToSurface(int x, int y) const
    {
        POINT d = ToDevice(x, y);
        return {Clamp(int64_t(d.X) + Origin.X), Clamp(int64_t(d.Y) + Origin.Y)};
    }
    static int Clamp(int64_t v) { return int(std::clamp<int64_t>(v, -kCoordinateLimit, kCoordinateLimit)); }
    RECT ToSurface(const RECT& r) const
    {
        POINT a = ToSurface(r.Left, r.Top), b = ToSurface(r.Right, r.Bottom);
        return {a.X, a.Y, b.X, b.Y};
    }
    // The area drawing may touch, in device coordinates: the visible area (the whole surface for memory DCs)
    // without the clip, then with it.
    void VisibleArea(pixman_region32_t& AOut) const;
    void DeviceClip(pixman_region32_t& AOut) const;
    // The clip in surface coordinates; recomputed when the DC changes.
    const pixman_region32_t& SurfaceClip();
    void Invalidate() { ClipDirty = true; }

private:
    bool ClipDirty = true;
    pixman_region32_t CachedClip;
};

DC* FindDC(HDC AHandle);

// Runs AFn(x0, x1, y) on every clipped run of a rectangle given in surface coordinates.
template <class F> void ForEachClippedBox(DC& ADC, const RECT& ASurfaceRect, F&& AFn)
{
    pixman_region32_t area;
    pixman_region32_init_rect(&area, ASurfaceRect.Left, ASurfaceRect.Top,
                              unsigned(std::max(0, ASurfaceRect.Right - ASurfaceRect.Left)),
                              unsigned(std::max(0, ASurfaceRect.Bottom - ASurfaceRect.Top)));
    pixman_region32_intersect(&area, &area, const_cast<pixman_region32_t*>(&ADC.SurfaceClip()));
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&area, &n);
    for (int i = 0; i < n; ++i)
        AFn(boxes[i]);
    pixman_region32_fini(&area);
}

// A brush's pixel at a surface point. Patterns and hatches are tiled from the device origin, so that adjoining
// fills line up; false where a hatched brush leaves the point alone (its gaps in TRANSPARENT mode).
bool BrushPixel(const DC& ADC, const Brush& ABrush, int AX, int AY, uint32_t& APixel);

} // namespace win::detail
