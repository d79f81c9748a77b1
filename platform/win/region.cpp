#include "platform/win/region.h"

#include <algorithm>

namespace win {

TRegion::TRegion() { pixman_region32_init(&FRegion); }

TRegion::TRegion(const TRect& ARect)
{
    if (RectIsEmpty(ARect))
        pixman_region32_init(&FRegion);
    else
        pixman_region32_init_rect(&FRegion, ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
}

TRegion::TRegion(const TRegion& AOther)
{
    pixman_region32_init(&FRegion);
    pixman_region32_copy(&FRegion, &AOther.FRegion);
}

TRegion& TRegion::operator=(const TRegion& AOther)
{
    if (this != &AOther)
        pixman_region32_copy(&FRegion, &AOther.FRegion);
    return *this;
}

TRegion::~TRegion() { pixman_region32_fini(&FRegion); }

bool TRegion::IsEmpty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&FRegion)); }

TRect TRegion::Extents() const
{
    if (IsEmpty())
        return {};
    const pixman_box32_t* box = pixman_region32_extents(const_cast<pixman_region32_t*>(&FRegion));
    return {box->x1, box->y1, box->x2, box->y2};
}

bool TRegion::Contains(TPoint APoint) const
{
    return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&FRegion), APoint.X, APoint.Y, nullptr);
}

std::vector<TRect> TRegion::Rects() const
{
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&FRegion), &count);
    std::vector<TRect> result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result.push_back({boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return result;
}

void TRegion::Clear()
{
    pixman_region32_fini(&FRegion);
    pixman_region32_init(&FRegion);
}

void TRegion::Union(const TRect& ARect)
{
    if (!RectIsEmpty(ARect))
        pixman_region32_union_rect(&FRegion, &FRegion, ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
}

void TRegion::Union(const TRegion& AOther) { pixman_region32_union(&FRegion, &FRegion, &AOther.FRegion); }

void TRegion::Intersect(const TRect& ARect)
{
    if (RectIsEmpty(ARect)) {
        Clear();
        return;
    }
    pixman_region32_intersect_rect(&FRegion, &FRegion, ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
}

void TRegion::Intersect(const TRegion& AOther)
{
    pixman_region32_intersect(&FRegion, &FRegion, &AOther.FRegion);
}

void TRegion::Subtract(const TRect& ARect)
{
    if (!RectIsEmpty(ARect))
        Subtract(TRegion(ARect));
}

void TRegion::Subtract(const TRegion& AOther)
{
    pixman_region32_subtract(&FRegion, &FRegion, &AOther.FRegion);
}

void TRegion::Offset(int ADx, int ADy) { pixman_region32_translate(&FRegion, ADx, ADy); }

bool RectIsEmpty(const TRect& ARect) { return ARect.Right <= ARect.Left || ARect.Bottom <= ARect.Top; }

TRect RectIntersection(const TRect& A, const TRect& B)
{
    TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    return RectIsEmpty(r) ? TRect{} : r;
}

TRect RectOffset(const TRect& ARect, int ADx, int ADy)
{
    return {ARect.Left + ADx, ARect.Top + ADy, ARect.Right + ADx, ARect.Bottom + ADy};
}

bool RectContains(const TRect& ARect, TPoint APoint)
{
    return APoint.X >= ARect.Left && APoint.X < ARect.Right && APoint.Y >= ARect.Top && APoint.Y < ARect.Bottom;
}

}  // namespace win
