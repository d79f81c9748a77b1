#include "platform/gdi/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/gdi/colors.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"

namespace win {

using namespace detail;

namespace detail {

bool BrushPixel(const DC& ADC, const Brush& ABrush, int AX, int AY, uint32_t& APixel)
{
    if (ABrush.Style == BS_SOLID || ABrush.Style == BS_NULL) {
        APixel = PixelOf(ABrush.Color);
        return true;
    }
    const int64_t dx = int64_t(AX) - ADC.Origin.X, dy = int64_t(AY) - ADC.Origin.Y;
    if (ABrush.Style == BS_PATTERN) {
        const int64_t w = ABrush.PatternWidth, h = ABrush.PatternHeight;
        APixel = ABrush.Pattern[size_t(((dy % h + h) % h) * w + (dx % w + w) % w)];
        return true;
    }
    const int x = int(dx & 7), y = int(dy & 7);
    bool line = false;
    switch (ABrush.Hatch) {
    case HS_HORIZONTAL: line = y == 0; break;
    case HS_VERTICAL: line = x == 0; break;
    case HS_FDIAGONAL: line = x == y; break;
    case HS_BDIAGONAL: line = x + y == 7; break;
    case HS_CROSS: line = x == 0 || y == 0; break;
    default: line = x == y || x + y == 7; break; // HS_DIAGCROSS
    }
    if (line) {
        APixel = PixelOf(ABrush.Color);
        return true;
    }
    if (ADC.State.BkMode != OPAQUE)
        return false;
    APixel = PixelOf(ADC.State.BkColor);
    return true;
}

} // namespace detail

namespace {

// ---- painting a set of pixels

uint32_t ApplyRop2(int ARop2, uint32_t P, uint32_t D)
{
    const unsigned t = unsigned(ARop2 - 1);
    uint32_t r = 0;
    if (t & 1)
        r |= ~P & ~D;
    if (t & 2)
        r |= ~P & D;
    if (t & 4)
        r |= P & ~D;
    if (t & 8)
        r |= P & D;
    return r & 0x00FFFFFF;
}

// Paints ARegion (surface coordinates, consumed) inside the DC's clip. Pixels drawn get alpha 0.
void PaintRegion(DC& ADC, pixman_region32_t& ARegion, COLORREF AColor, int ARop2)
{
    pixman_region32_intersect(&ARegion, &ARegion, const_cast<pixman_region32_t*>(&ADC.SurfaceClip()));
    const Surface& s = ADC.Target();
    const uint32_t pen = PixelOf(AColor);
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&ARegion, &n);
    for (int b = 0; b < n; ++b) {
        const pixman_box32_t& box = boxes[b];
        if (ARop2 == R2_COPYPEN && s.Bpp == 32 && s.Stride > 0) {
            pixman_fill(reinterpret_cast<uint32_t*>(s.Top), int(s.Stride / 4), 32, box.x1, box.y1, box.x2 - box.x1,
                        box.y2 - box.y1, pen);
            continue;
        }
        for (int y = box.y1; y < box.y2; ++y)
            for (int x = box.x1; x < box.x2; ++x)
                s.Put(x, y, ARop2 == R2_COPYPEN ? pen : ApplyRop2(ARop2, pen, s.Get(x, y)));
    }
    pixman_region32_fini(&ARegion);
}

// Runs AFn(x, y) on every pixel of ARegion (surface coordinates, consumed) inside the DC's clip.
template <class F> void ForEachClippedPixel(DC& ADC, pixman_region32_t& ARegion, F&& AFn)
{
    pixman_region32_intersect(&ARegion, &ARegion, const_cast<pixman_region32_t*>(&ADC.SurfaceClip()));
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&ARegion, &n);
    for (int b = 0; b < n; ++b)
        for (int y = boxes[b].y1; y < boxes[b].y2; ++y)
            for (int x = boxes[b].x1; x < boxes[b].x2; ++x)
                AFn(x, y);
    pixman_region32_fini(&ARegion);
}

// Paints ARegion (surface coordinates, consumed) with a brush of any style.
void PaintWithBrush(DC& ADC, pixman_region32_t& ARegion, const Brush& ABrush, int ARop2)
{
    if (ABrush.Style == BS_NULL) {
        pixman_region32_fini(&ARegion);
        return;
    }
    if (ABrush.Style == BS_SOLID) {
        PaintRegion(ADC, ARegion, ABrush.Color, ARop2);
        return;
    }
    const Surface& s = ADC.Target();
    ForEachClippedPixel(ADC, ARegion, [&](int x, int y) {
        uint32_t pixel = 0;
        if (BrushPixel(ADC, ABrush, x, y, pixel))
            s.Put(x, y, ARop2 == R2_COPYPEN ? pixel & 0x00FFFFFF : ApplyRop2(ARop2, pixel, s.Get(x, y)));
    });
}

struct Boxes {
    std::vector<pixman_box32_t> List;
    void Add(int x0, int y0, int x1, int y1)
    {
        if (x1 > x0 && y1 > y0)
            List.push_back({x0, y0, x1, y1});
    }
    void Paint(DC& ADC, COLORREF AColor, int ARop2)
    {
        if (List.empty())
            return;
        pixman_region32_t rgn;
        pixman_region32_init_rects(&rgn, List.data(), int(List.size()));
        PaintRegion(ADC, rgn, AColor, ARop2);
        List.clear();
    }
};

// ---- pens

// On and off run lengths of the styled cosmetic pens.
std::vector<int> DashPattern(UINT AStyle)
{
    switch (AStyle) {
    case PS_DASH:
        return {18, 6};
    case PS_DOT:
        return {3, 3};
    case PS_DASHDOT:
        return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
        return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE:
        return {1, 1};
    default:
        return {};
    }
}

// Collects the pixels of pen strokes; a styled pen's gaps go to a second list (drawn only in OPAQUE mode).
struct Stroker {
    DC& Dc;
    const Pen& ThePen;
    std::vector<int> Pattern;
    int Phase = 0; // position within the pattern, carried across the segments of one call
    Boxes On, Off;

    Stroker(DC& ADC, const Pen& APen) : Dc(ADC), ThePen(APen), Pattern(DashPattern(APen.Style)) {}

    bool Visible() const { return ThePen.Style != PS_NULL; }

    bool StepIsOn()
    {
        if (Pattern.empty())
            return true;
        int total = 0;
        for (int v : Pattern)
            total += v;
        int p = Phase % total;
        ++Phase;
        for (size_t i = 0; i < Pattern.size(); ++i) {
            if (p < Pattern[i])
                return i % 2 == 0;
            p -= Pattern[i];
        }
        return true;
    }

    void Plot(int x, int y, bool AOn)
    {
        const int w = ThePen.Width;
        const int x0 = x - w / 2, y0 = y - w / 2;
        (AOn ? On : Off).Add(x0, y0, x0 + w, y0 + w);
    }

    // A segment in surface coordinates without its end point. Only the steps that can reach the surface are
    // walked, so a far-away coordinate costs nothing.
    void Segment(POINT A, POINT B)
    {
        const int64_t dx = int64_t(B.X) - A.X, dy = int64_t(B.Y) - A.Y;
        const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
        const int64_t steps = std::max(adx, ady);
        if (steps == 0)
            return;
        const bool xMajor = adx >= ady;
        const int64_t major0 = xMajor ? A.X : A.Y;
        const int64_t majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
        const int64_t limit = int64_t(xMajor ? Dc.Target().Width : Dc.Target().Height) + ThePen.Width;
        int64_t kFirst = 0, kLast = steps; // k in [kFirst, kLast)
        if (majorDir > 0) {
            kFirst = std::max<int64_t>(kFirst, -ThePen.Width - major0);
            kLast = std::min<int64_t>(kLast, limit - major0);
        } else {
            kFirst = std::max<int64_t>(kFirst, major0 - limit);
            kLast = std::min<int64_t>(kLast, major0 + ThePen.Width + 1);
        }
        Phase += int(std::clamp<int64_t>(kFirst, 0, 1 << 20));
        const int64_t minorDelta = xMajor ? dy : dx;
        const int64_t minor0 = xMajor ? A.Y : A.X;
        for (int64_t k = kFirst; k < kLast; ++k) {
            // Bresenham's choice in closed form: the minor coordinate nearest the ideal line. Computed in 64 bits,
            // and only for the steps that can reach the surface, so far-away end points cost nothing.
            const int64_t minorOffset = (2 * k * (minorDelta < 0 ? -minorDelta : minorDelta) + steps) / (2 * steps);
            const int64_t major = major0 + majorDir * k;
            const int64_t minor = minor0 + (minorDelta < 0 ? -minorOffset : minorOffset);
            if (minor < -ThePen.Width || minor > kMaxSurfaceSide + ThePen.Width)
                continue;
            Plot(int(xMajor ? major : minor), int(xMajor ? minor : major), StepIsOn());
        }
    }

    void Flush()
    {
        On.Paint(Dc, ThePen.Color, Dc.State.Rop2);
        if (Dc.State.BkMode == OPAQUE)
            Off.Paint(Dc, Dc.State.BkColor, Dc.State.Rop2);
        Off.List.clear();
    }
};

const Pen* CurrentPen(const DC& ADC) { return ADC.State.SelectedPen; }

void FillShape(DC& ADC, pixman_region32_t& ARegion)
{
    const Brush* brush = ADC.State.SelectedBrush;
    if (brush == nullptr) {
        pixman_region32_fini(&ARegion);
        return;
    }
    PaintWithBrush(ADC, ARegion, *brush, ADC.State.Rop2);
}

// Brushes may be given as a system colour number plus one, as Windows allows.
const Brush* BrushOf(HBRUSH ABrush)
{
    const auto value = reinterpret_cast<uintptr_t>(ABrush);
    if (value >= 1 && value <= 31)
        return Find<Brush>(GetSysColorBrush(int(value - 1)));
    return Find<Brush>(ABrush);
}

void FillWithBrush(DC& ADC, const RECT& ASurfaceRect, const Brush& ABrush)
{
    if (ABrush.Style == BS_NULL || RectEmpty(ASurfaceRect))
        return;
    pixman_region32_t rgn;
    pixman_region32_init_rect(&rgn, ASurfaceRect.Left, ASurfaceRect.Top, unsigned(ASurfaceRect.Width()),
                              unsigned(ASurfaceRect.Height()));
    PaintWithBrush(ADC, rgn, ABrush, R2_COPYPEN);
}

// Polygon interior, alternate rule, sampled at pixel centres; points in surface coordinates.
void AddPolygonRows(pixman_region32_t& AOut, const std::vector<POINT>& APoints, int AMaxY)
{
    if (APoints.size() < 3)
        return;
    int top = APoints[0].Y, bottom = APoints[0].Y;
    for (const POINT& p : APoints) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    top = std::max(top, -1);
    bottom = std::min(bottom, AMaxY + 1);
    std::vector<pixman_box32_t> boxes;
    std::vector<double> xs;
    for (int y = top; y < bottom; ++y) {
        const double cy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < APoints.size(); ++i) {
            const POINT a = APoints[i], b = APoints[(i + 1) % APoints.size()];
            if ((a.Y <= cy) == (b.Y <= cy))
                continue;
            xs.push_back(a.X + (cy - a.Y) * (b.X - a.X) / double(b.Y - a.Y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const int x0 = int(std::ceil(xs[i] - 0.5)), x1 = int(std::ceil(xs[i + 1] - 0.5));
            if (x1 > x0)
                boxes.push_back({x0, y, x1, y + 1});
        }
    }
    if (!boxes.empty()) {
        pixman_region32_t rows;
        pixman_region32_init_rects(&rows, boxes.data(), int(boxes.size()));
        pixman_region32_union(&AOut, &AOut, &rows);
        pixman_region32_fini(&rows);
    }
}

} // namespace

BOOL LineTo(HDC ADC, int AX, int AY)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return FALSE;
    const POINT from = dc->State.Position;
    dc->State.Position = {AX, AY};
    Stroker stroke(*dc, *CurrentPen(*dc));
    if (stroke.Visible()) {
        stroke.Segment(dc->ToSurface(from.X, from.Y), dc->ToSurface(AX, AY));
        stroke.Flush();
    }
    return TRUE;
}

BOOL Polyline(HDC ADC, const POINT* APoints, int ACount)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || APoints == nullptr || ACount < 2)
        return FALSE;
    Stroker stroke(*dc, *CurrentPen(*dc));
    if (stroke.Visible()) {
        for (int i = 0; i + 1 < ACount; ++i)
            stroke.Segment(dc->ToSurface(APoints[i].X, APoints[i].Y),
                           dc->ToSurface(APoints[i + 1].X, APoints[i + 1].Y));
        stroke.Flush();
    }
    return TRUE;
}

BOOL PolyPolyline(HDC ADC, const POINT* APoints, const DWORD* ACounts, DWORD APolylines)
{
    if (APoints == nullptr || ACounts == nullptr)
        return FALSE;
    for (DWORD i = 0; i < APolylines; ++i) {
        if (!Polyline(ADC, APoints, int(ACounts[i])))
            return FALSE;
        APoints += ACounts[i];
    }
    return TRUE;
}

BOOL Rectangle(HDC ADC, int ALeft, int ATop, int ARight, int ABottom)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return FALSE;
    const RECT r = Normalised(dc->ToSurface(RECT{ALeft, ATop, ARight, ABottom}));
    if (RectEmpty(r))
        return TRUE;
    const Pen& pen = *CurrentPen(*dc);
    const int inset = pen.Style == PS_NULL ? 0 : (pen.Style == PS_INSIDEFRAME ? pen.Width : (pen.Width + 1) / 2);
    // Without a pen GDI fills one pixel less to the right and below: the outline's place stays empty.
    const int trim = pen.Style == PS_NULL ? 1 : 0;
    pixman_region32_t inside;
    const RECT in{r.Left + inset, r.Top + inset, r.Right - inset - trim, r.Bottom - inset - trim};
    pixman_region32_init(&inside);
    if (!RectEmpty(in))
        SetRegionRect(inside, in);
    FillShape(*dc, inside);
    Stroker stroke(*dc, pen);
    if (stroke.Visible()) {
        // The outline runs through the outermost pixels; a frame pen stays inside the rectangle.
        const int shift = pen.Style == PS_INSIDEFRAME ? pen.Width / 2 : 0;
        const POINT corners[5] = {{r.Left + shift, r.Top + shift},
                                  {r.Right - 1 - shift, r.Top + shift},
                                  {r.Right - 1 - shift, r.Bottom - 1 - shift},
                                  {r.Left + shift, r.Bottom - 1 - shift},
                                  {r.Left + shift, r.Top + shift}};
        for (int i = 0; i < 4; ++i)
            stroke.Segment(corners[i], corners[i + 1]);
        if (r.Width() == 1 || r.Height() == 1)
            stroke.Plot(corners[2].X, corners[2].Y, true);
        stroke.Flush();
    }
    return TRUE;
}

BOOL Ellipse(HDC ADC, int ALeft, int ATop, int ARight, int ABottom)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return FALSE;
    const RECT r = Normalised(dc->ToSurface(RECT{ALeft, ATop, ARight, ABottom}));
    if (RectEmpty(r))
        return TRUE;
    const Pen& pen = *CurrentPen(*dc);
    const int w = pen.Style == PS_NULL ? 0 : pen.Width;
    pixman_region32_t outer, inner;
    pixman_region32_init(&outer);
    pixman_region32_init(&inner);
    const int rows = dc->Target().Height;
    AddEllipseRows(outer, r, -1, rows + 1);
    AddEllipseRows(inner, {r.Left + w, r.Top + w, r.Right - w, r.Bottom - w}, -1, rows + 1);
    if (w > 0)
        pixman_region32_subtract(&outer, &outer, &inner);
    FillShape(*dc, inner);
    if (w > 0)
        PaintRegion(*dc, outer, pen.Color, dc->State.Rop2);
    else
        pixman_region32_fini(&outer);
    return TRUE;
}

BOOL Polygon(HDC ADC, const POINT* APoints, int ACount)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || APoints == nullptr || ACount < 2)
        return FALSE;
    std::vector<POINT> points;
    for (int i = 0; i < ACount; ++i)
        points.push_back(dc->ToSurface(APoints[i].X, APoints[i].Y));
    pixman_region32_t interior;
    pixman_region32_init(&interior);
    AddPolygonRows(interior, points, dc->Target().Height);
    FillShape(*dc, interior);
    Stroker stroke(*dc, *CurrentPen(*dc));
    if (stroke.Visible()) {
        for (size_t i = 0; i < points.size(); ++i)
            stroke.Segment(points[i], points[(i + 1) % points.size()]);
        stroke.Flush();
    }
    return TRUE;
}

int FillRect(HDC ADC, const RECT* ARect, HBRUSH ABrush)
{
    DC* dc = FindDC(ADC);
    const Brush* brush = BrushOf(ABrush);
    if (dc == nullptr || ARect == nullptr || brush == nullptr)
        return 0;
    FillWithBrush(*dc, dc->ToSurface(*ARect), *brush);
    return 1;
}

int FrameRect(HDC ADC, const RECT* ARect, HBRUSH ABrush)
{
    DC* dc = FindDC(ADC);
    const Brush* brush = BrushOf(ABrush);
    if (dc == nullptr || ARect == nullptr || brush == nullptr)
        return 0;
    const RECT r = dc->ToSurface(*ARect);
    if (RectEmpty(r))
        return 1;
    FillWithBrush(*dc, {r.Left, r.Top, r.Right, r.Top + 1}, *brush);
    FillWithBrush(*dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, *brush);
    FillWithBrush(*dc, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, *brush);
    FillWithBrush(*dc, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, *brush);
    return 1;
}

BOOL DrawFocusRect(HDC ADC, const RECT* ARect)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || ARect == nullptr)
        return FALSE;
    const RECT r = dc->ToSurface(*ARect);
    if (RectEmpty(r))
        return TRUE;
    pixman_region32_t frame, inner;
    pixman_region32_init_rect(&frame, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()));
    pixman_region32_init_rect(&inner, r.Left + 1, r.Top + 1, unsigned(std::max(0, r.Width() - 2)),
                              unsigned(std::max(0, r.Height() - 2)));
    pixman_region32_subtract(&frame, &frame, &inner);
    pixman_region32_fini(&inner);
    // Every other pixel, on a checkerboard fixed to the device origin, so that drawing it again takes it away.
    const Surface& s = dc->Target();
    ForEachClippedPixel(*dc, frame, [&](int x, int y) {
        if (((int64_t(x) - dc->Origin.X + int64_t(y) - dc->Origin.Y) & 1) == 0)
            s.Put(x, y, ~s.Get(x, y) & 0x00FFFFFF);
    });
    return TRUE;
}

BOOL InvertRect(HDC ADC, const RECT* ARect)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || ARect == nullptr)
        return FALSE;
    const RECT r = dc->ToSurface(*ARect);
    if (RectEmpty(r))
        return TRUE;
    pixman_region32_t rgn;
    pixman_region32_init_rect(&rgn, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()));
    PaintRegion(*dc, rgn, 0, R2_NOT);
    return TRUE;
}

COLORREF SetPixel(HDC ADC, int AX, int AY, COLORREF AColor)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return CLR_INVALID;
    const POINT p = dc->ToSurface(AX, AY);
    if (!pixman_region32_contains_point(const_cast<pixman_region32_t*>(&dc->SurfaceClip()), p.X, p.Y, nullptr))
        return CLR_INVALID;
    dc->Target().Put(p.X, p.Y, PixelOf(AColor));
    return AColor & 0xFFFFFF;
}

BOOL SetPixelV(HDC ADC, int AX, int AY, COLORREF AColor) { return SetPixel(ADC, AX, AY, AColor) != CLR_INVALID; }

COLORREF GetPixel(HDC ADC, int AX, int AY)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return CLR_INVALID;
    const POINT p = dc->ToSurface(AX, AY);
    if (!pixman_region32_contains_point(const_cast<pixman_region32_t*>(&dc->SurfaceClip()), p.X, p.Y, nullptr))
        return CLR_INVALID;
    return ColorOfPixel(dc->Target().Get(p.X, p.Y));
}

BOOL FillRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush)
{
    DC* dc = FindDC(ADC);
    Region* region = Find<Region>(ARegion);
    const Brush* brush = BrushOf(ABrush);
    if (dc == nullptr || region == nullptr || brush == nullptr)
        return FALSE;
    if (brush->Style == BS_NULL)
        return TRUE;
    pixman_region32_t rgn;
    pixman_region32_init(&rgn);
    pixman_region32_copy(&rgn, &region->Rgn);
    const POINT shift = dc->ToSurface(0, 0);
    pixman_region32_translate(&rgn, shift.X, shift.Y);
    PaintWithBrush(*dc, rgn, *brush, R2_COPYPEN);
    return TRUE;
}

BOOL FrameRgn(HDC ADC, HRGN ARegion, HBRUSH ABrush, int AWidth, int AHeight)
{
    Region* region = Find<Region>(ARegion);
    if (region == nullptr || AWidth < 0 || AHeight < 0)
        return FALSE;
    // The frame is what the region loses when shrunk by AWidth sideways and AHeight up and down.
    HRGN frame = CreateRectRgn(0, 0, 0, 0);
    HRGN inner = CreateRectRgn(0, 0, 0, 0);
    HRGN moved = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(inner, ARegion, nullptr, RGN_COPY);
    const POINT shifts[4] = {{-AWidth, 0}, {AWidth, 0}, {0, -AHeight}, {0, AHeight}};
    for (const POINT& s : shifts) {
        CombineRgn(moved, ARegion, nullptr, RGN_COPY);
        OffsetRgn(moved, s.X, s.Y);
        CombineRgn(inner, inner, moved, RGN_AND);
    }
    CombineRgn(frame, ARegion, inner, RGN_DIFF);
    const BOOL ok = FillRgn(ADC, frame, ABrush);
    DeleteObject(frame);
    DeleteObject(inner);
    DeleteObject(moved);
    return ok;
}

} // namespace win
