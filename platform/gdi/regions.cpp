#include "platform/gdi/regions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/gdi_objects_internal.h"
#include "platform/gdi/objects.h"

namespace win::detail {

int RegionKind(const pixman_region32_t& ARegion)
{
    const int n = pixman_region32_n_rects(const_cast<pixman_region32_t*>(&ARegion));
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool RectEmpty(const RECT& ARect) { return ARect.Right <= ARect.Left || ARect.Bottom <= ARect.Top; }

RECT Normalised(const RECT& ARect)
{
    auto clamp = [](int v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); };
    return {clamp(std::min(ARect.Left, ARect.Right)), clamp(std::min(ARect.Top, ARect.Bottom)),
            clamp(std::max(ARect.Left, ARect.Right)), clamp(std::max(ARect.Top, ARect.Bottom))};
}

void SetRegionRect(pixman_region32_t& ARegion, const RECT& ARect)
{
    pixman_region32_fini(&ARegion);
    if (RectEmpty(ARect))
        pixman_region32_init(&ARegion);
    else
        pixman_region32_init_rect(&ARegion, ARect.Left, ARect.Top, unsigned(ARect.Right - ARect.Left),
                                  unsigned(ARect.Bottom - ARect.Top));
}

void AddEllipseRows(pixman_region32_t& AOut, const RECT& ARect, int AFirstRow, int ALastRow)
{
    const double cx = (double(ARect.Left) + ARect.Right) / 2.0, cy = (double(ARect.Top) + ARect.Bottom) / 2.0;
    const double rx = (double(ARect.Right) - ARect.Left) / 2.0, ry = (double(ARect.Bottom) - ARect.Top) / 2.0;
    if (rx <= 0 || ry <= 0)
        return;
    std::vector<pixman_box32_t> rows;
    for (int y = std::max(ARect.Top, AFirstRow); y < std::min(ARect.Bottom, ALastRow); ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        const double span = 1.0 - dy * dy;
        if (span < 0)
            continue;
        const double half = rx * std::sqrt(span);
        const int x0 = int(std::ceil(cx - half - 0.5)), x1 = int(std::floor(cx + half - 0.5)) + 1;
        if (x1 > x0)
            rows.push_back({x0, y, x1, y + 1});
    }
    if (rows.empty())
        return;
    pixman_region32_t ellipse;
    pixman_region32_init_rects(&ellipse, rows.data(), int(rows.size()));
    pixman_region32_union(&AOut, &AOut, &ellipse);
    pixman_region32_fini(&ellipse);
}

} // namespace win::detail

namespace win {

using namespace detail;

namespace {

HRGN NewRegion(const RECT& ARect)
{
    auto region = std::make_unique<Region>();
    SetRegionRect(region->Rgn, Normalised(ARect));
    return Register(std::move(region));
}

} // namespace

HRGN CreateRectRgn(int ALeft, int ATop, int ARight, int ABottom) { return NewRegion({ALeft, ATop, ARight, ABottom}); }

HRGN CreateRectRgnIndirect(const RECT* ARect) { return ARect == nullptr ? nullptr : NewRegion(*ARect); }

HRGN CreateEllipticRgn(int ALeft, int ATop, int ARight, int ABottom)
{
    auto region = std::make_unique<Region>();
    // A region object has no surface to bound it: its rows are limited to what any surface could show.
    AddEllipseRows(region->Rgn, Normalised({ALeft, ATop, ARight, ABottom}), -kMaxSurfaceSide, 2 * kMaxSurfaceSide);
    return Register(std::move(region));
}

HRGN ExtCreateRegion(const void* AXform, DWORD ACount, const RGNDATA* AData)
{
    if (AXform != nullptr || AData == nullptr || ACount < sizeof(RGNDATAHEADER))
        return nullptr;
    const RGNDATAHEADER& h = AData->rdh;
    if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES)
        return nullptr;
    if (h.nCount > (ACount - sizeof(RGNDATAHEADER)) / sizeof(RECT))
        return nullptr;
    std::vector<RECT> rects(h.nCount);
    if (h.nCount > 0)
        std::memcpy(rects.data(), AData->Buffer, h.nCount * sizeof(RECT));
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const RECT& given : rects) {
        if (RectEmpty(given))
            continue; // empty and inverted boxes add nothing
        const RECT r = Normalised(given);
        boxes.push_back({r.Left, r.Top, r.Right, r.Bottom});
    }
    auto region = std::make_unique<Region>();
    // Boxes from a file or another program need be neither banded nor disjoint; pixman sorts and unites them in
    // one pass (uniting them one by one is quadratic in the number of runs of a skin mask).
    pixman_region32_fini(&region->Rgn);
    if (!pixman_region32_init_rects(&region->Rgn, boxes.data(), static_cast<int>(boxes.size()))) {
        pixman_region32_init(&region->Rgn);
        return nullptr;
    }
    return Register(std::move(region));
}

DWORD GetRegionData(HRGN ARegion, DWORD ACount, RGNDATA* AData)
{
    Region* region = Find<Region>(ARegion);
    if (region == nullptr)
        return 0;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region->Rgn, &n);
    const DWORD needed = DWORD(sizeof(RGNDATAHEADER) + size_t(n) * sizeof(RECT));
    if (AData == nullptr || ACount < needed)
        return needed;
    RGNDATAHEADER h;
    h.nCount = DWORD(n);
    h.nRgnSize = DWORD(size_t(n) * sizeof(RECT));
    GetRgnBox(ARegion, &h.rcBound);
    std::memcpy(&AData->rdh, &h, sizeof(h));
    for (int i = 0; i < n; ++i) {
        RECT r{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2};
        std::memcpy(AData->Buffer + size_t(i) * sizeof(RECT), &r, sizeof(RECT));
    }
    return needed;
}

int CombineRgn(HRGN ADest, HRGN ASrc1, HRGN ASrc2, int AMode)
{
    Region* dest = Find<Region>(ADest);
    Region* a = Find<Region>(ASrc1);
    Region* b = AMode == RGN_COPY ? a : Find<Region>(ASrc2);
    if (dest == nullptr || a == nullptr || b == nullptr)
        return ERROR;
    pixman_region32_t result;
    pixman_region32_init(&result);
    switch (AMode) {
    case RGN_AND:
        pixman_region32_intersect(&result, &a->Rgn, &b->Rgn);
        break;
    case RGN_OR:
        pixman_region32_union(&result, &a->Rgn, &b->Rgn);
        break;
    case RGN_DIFF:
        pixman_region32_subtract(&result, &a->Rgn, &b->Rgn);
        break;
    case RGN_XOR: {
        pixman_region32_t other;
        pixman_region32_init(&other);
        pixman_region32_subtract(&result, &a->Rgn, &b->Rgn);
        pixman_region32_subtract(&other, &b->Rgn, &a->Rgn);
        pixman_region32_union(&result, &result, &other);
        pixman_region32_fini(&other);
        break;
    }
    case RGN_COPY:
        pixman_region32_copy(&result, &a->Rgn);
        break;
    default:
        pixman_region32_fini(&result);
        return ERROR;
    }
    pixman_region32_fini(&dest->Rgn);
    dest->Rgn = result; // pixman regions own their data through a pointer, so a bitwise move is a move
    return RegionKind(dest->Rgn);
}

int OffsetRgn(HRGN ARegion, int ADX, int ADY)
{
    Region* region = Find<Region>(ARegion);
    if (region == nullptr)
        return ERROR;
    pixman_region32_translate(&region->Rgn, ADX, ADY);
    return RegionKind(region->Rgn);
}

BOOL SetRectRgn(HRGN ARegion, int ALeft, int ATop, int ARight, int ABottom)
{
    Region* region = Find<Region>(ARegion);
    if (region == nullptr)
        return FALSE;
    SetRegionRect(region->Rgn, Normalised({ALeft, ATop, ARight, ABottom}));
    return TRUE;
}

BOOL PtInRegion(HRGN ARegion, int AX, int AY)
{
    Region* region = Find<Region>(ARegion);
    return region != nullptr && pixman_region32_contains_point(&region->Rgn, AX, AY, nullptr);
}

BOOL RectInRegion(HRGN ARegion, const RECT* ARect)
{
    Region* region = Find<Region>(ARegion);
    if (region == nullptr || ARect == nullptr)
        return FALSE;
    const RECT r = Normalised(*ARect);
    if (RectEmpty(r))
        return FALSE;
    pixman_box32_t box{r.Left, r.Top, r.Right, r.Bottom};
    return pixman_region32_contains_rectangle(&region->Rgn, &box) != PIXMAN_REGION_OUT;
}

BOOL EqualRgn(HRGN A, HRGN B)
{
    Region* a = Find<Region>(A);
    Region* b = Find<Region>(B);
    return a != nullptr && b != nullptr && pixman_region32_equal(&a->Rgn, &b->Rgn);
}

int GetRgnBox(HRGN ARegion, RECT* ARect)
{
    Region* region = Find<Region>(ARegion);
    if (region == nullptr || ARect == nullptr)
        return ERROR;
    if (pixman_region32_not_empty(&region->Rgn)) {
        const pixman_box32_t* e = pixman_region32_extents(&region->Rgn);
        *ARect = {e->x1, e->y1, e->x2, e->y2};
    } else {
        *ARect = {};
    }
    return RegionKind(region->Rgn);
}

} // namespace win
