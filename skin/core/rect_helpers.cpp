#include "skin/core/rect_helpers.h"

namespace {

bool PtInRectPlatform(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

}  // namespace

Integer WidthOfRect(const TRect& R) { return R.Right - R.Left; }
Integer HeightOfRect(const TRect& R) { return R.Bottom - R.Top; }

// Compared, not subtracted: rectangles from a skin file may hold edges whose difference leaves the 32-bit range.
bool IsEmptyRect(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

TRect IntersectionOf(const TRect& A, const TRect& B)
{
    return {MaxOf(A.Left, B.Left), MaxOf(A.Top, B.Top), MinOf(A.Right, B.Right), MinOf(A.Bottom, B.Bottom)};
}

TRect ZeroRect() { return {0, 0, 0, 0}; }

bool SameRect(const TRect& A, const TRect& B)
{
    return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

bool PointInsideRect(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

bool RectInsideRect(const TRect& A, const TRect& B)
{
    return PtInRectPlatform(B, {A.Left, A.Top}) && PtInRectPlatform(B, {A.Right, A.Bottom});
}

bool IsNullPoint(const TPoint& P) { return P.X == 0 || P.Y == 0; }

Integer MaxOf(Integer A, Integer B) { return A > B ? A : B; }
Integer MinOf(Integer A, Integer B) { return A < B ? A : B; }
