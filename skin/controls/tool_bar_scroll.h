#pragma once
// The tool bar's row scrolling as plain integers: the extent of the row, how far it is scrolled, the page (the
// bar's client width) and what a resize or a step does to them. The bar applies the moves to its children.
#include "platform/rtl/types.h"

struct TspToolBarScroll {
    Integer SMax = 0, SPosition = 0, SPage = 0;
    // The offset the children are moved by now.
    Integer SOldPosition = 0;
    // The width gained by the last resize.
    Integer HSizeOffset = 0;
    // The arrow buttons are shown.
    bool Shown = false;

    // After a change of the row or the bar: ARowEnd is the largest right edge of the visible children as they
    // stand now, AClientWidth the bar's client width. Returns how far the children move right (0 none).
    Integer Update(Integer ARowEnd, Integer AClientWidth);
    // One step left or right by AStep; returns how far the children move right (negative: left), 0 when the row
    // is already at that end.
    Integer Step(bool ARight, Integer AStep);
};
