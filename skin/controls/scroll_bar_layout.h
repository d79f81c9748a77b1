#pragma once
// Geometry and value rules of the skinned scroll bar, free of any window so that tests can run them as tables:
// the one position clamp, the part rectangles at a size, and the position a thumb drag gives.
#include "platform/rtl/types.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

// The parts of a scroll-bar record that place things. SkinRect, TrackArea and the two button rectangles are in
// the coordinates of the picture part (a control of the picture's size); ThumbRect only gives sizes.
struct TspScrollBarSkinParts {
    TRect SkinRect, TrackArea, UpButtonRect, DownButtonRect, ThumbRect;
    TPoint RTPoint, LBPoint;
    Integer ThumbMinSize = 0, ThumbMinPageSize = 0;
};

struct TspScrollBarState {
    TScrollBarKind Kind = sbHorizontal;
    Integer Width = 0, Height = 0;
    Integer Min = 0, Max = 100, Position = 0, PageSize = 0;
    bool Both = false;
    Integer BothMarkerWidth = 0;
    const TspScrollBarSkinParts* Skin = nullptr;  // nullptr: the plain look
};

struct TspScrollBarLayout {
    TRect Track, UpButton, DownButton, Thumb;
    // First and last coordinate of the thumb's centre along the axis, and its distance from Offset1.
    Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
};

// Upper bound first, then the lower: Position never falls below Min, even when PageSize exceeds the range.
Integer ClampScrollPosition(Integer AValue, Integer AMin, Integer AMax, Integer APageSize);

TspScrollBarLayout ComputeScrollBarLayout(const TspScrollBarState& S);

// The position a thumb dragged by D pixels (from a press at thumb offset AOldBOffset) stands for.
Integer PositionFromThumbOffset(const TspScrollBarState& S, const TspScrollBarLayout& L, Integer D,
                                Integer AOldBOffset);
