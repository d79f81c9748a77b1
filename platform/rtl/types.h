#pragma once
// Basic value types shared by every layer: integer names as the class library uses them, points, sizes and
// rectangles (right and bottom exclusive).
#include <cstdint>

using Integer = int32_t;
using Cardinal = uint32_t;
using Int64 = int64_t;
using Byte = uint8_t;
using Word = uint16_t;
using DWORD = uint32_t;
using LongBool = int32_t;

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    // Saturated: a rectangle from one end of int32 to the other has the largest width, not a wrapped one.
    int32_t Width() const { return Span(Left, Right); }
    int32_t Height() const { return Span(Top, Bottom); }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;

private:
    static int32_t Span(int32_t AFrom, int32_t ATo)
    {
        const int64_t d = int64_t{ATo} - AFrom;
        return d > INT32_MAX ? INT32_MAX : d < INT32_MIN ? INT32_MIN : static_cast<int32_t>(d);
    }
};

inline TPoint Point(int32_t AX, int32_t AY) { return {AX, AY}; }
inline TRect Rect(int32_t ALeft, int32_t ATop, int32_t ARight, int32_t ABottom) { return {ALeft, ATop, ARight, ABottom}; }
inline TRect Bounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight)
{
    return {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
}
