#pragma once
// A value-type rectangle region on pixman, for update regions, visible areas and window shapes inside the
// window manager.
#include "platform/rtl/types.h"

#include <pixman.h>

#include <vector>

namespace win {

class TRegion {
public:
    TRegion();
    explicit TRegion(const TRect& ARect);
    TRegion(const TRegion& AOther);
    TRegion& operator=(const TRegion& AOther);
    ~TRegion();

    bool IsEmpty() const;
    TRect Extents() const;  // an empty rectangle when the region is empty
    bool Contains(TPoint APoint) const;
    std::vector<TRect> Rects() const;

    void Clear();
    void Union(const TRect& ARect);
    void Union(const TRegion& AOther);
    void Intersect(const TRect& ARect);
    void Intersect(const TRegion& AOther);
    void Subtract(const TRect& ARect);
    void Subtract(const TRegion& AOther);
    void Offset(int ADx, int ADy);

    pixman_region32_t* Native() { return &FRegion; }
    const pixman_region32_t* Native() const { return &FRegion; }

private:
    pixman_region32_t FRegion;
};

bool RectIsEmpty(const TRect& ARect);
TRect RectIntersection(const TRect& A, const TRect& B);  // empty (all zero) when they do not meet
TRect RectOffset(const TRect& ARect, int ADx, int ADy);
bool RectContains(const TRect& ARect, TPoint APoint);  // right and bottom edges excluded

}  // namespace win
