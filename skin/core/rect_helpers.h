#pragma once
// Rectangle and point helpers of the skin library. Rectangles are never normalised: a right edge left of the
// left edge is a negative width, and each routine keeps its own rule for the right and bottom edges.
#include "platform/rtl/types.h"

Integer WidthOfRect(const TRect& R);
Integer HeightOfRect(const TRect& R);
// Width or height not positive.
bool IsEmptyRect(const TRect& R);
// The common part of A and B; empty (by IsEmptyRect) when they do not meet.
TRect IntersectionOf(const TRect& A, const TRect& B);
TRect ZeroRect();
bool SameRect(const TRect& A, const TRect& B);
// All four edges count as inside.
bool PointInsideRect(const TRect& R, const TPoint& P);
// Both corners of A by the point-in-rectangle rule of the platform: B's right and bottom edges lie outside.
bool RectInsideRect(const TRect& A, const TRect& B);
// A point with either coordinate 0 counts as unset in a skin description.
bool IsNullPoint(const TPoint& P);
Integer MaxOf(Integer A, Integer B);
Integer MinOf(Integer A, Integer B);
