#include "skin/controls/tool_bar_scroll.h"

#include <algorithm>

Integer TspToolBarScroll::Update(Integer ARowEnd, Integer AClientWidth)
{
    const Integer e = ARowEnd, cw = AClientWidth;
    if (e == 0) {
        Shown = false;
        return 0;
    }
    Integer move = 0;
    if (e + SPosition <= cw) {
        // The row fits: back to its start.
        move = std::max<Integer>(SPosition, 0);
        SMax = SPosition = SPage = HSizeOffset = 0;
        Shown = false;
    } else {
        Shown = true;
        const Integer n = SPosition + e - 1;
        if (SPosition > 0 && e < cw && HSizeOffset > 0) {
            // The bar grew while scrolled: the row comes back by what it gained.
            HSizeOffset = std::min(HSizeOffset, SPosition);
            SMax = n;
            SPosition -= HSizeOffset;
            SPage = cw;
            move = HSizeOffset;
        } else if (HSizeOffset == 0 && n < SMax && SPosition > 0 && e < cw) {
            // The row shrank while scrolled: its end comes back to the bar's right edge.
            SMax = n;
            SPosition -= cw - e;
            SPage = cw;
            move = cw - e;
            HSizeOffset = 0;
        } else {
            SMax = n;
            SPage = cw;
            HSizeOffset = 0;
        }
    }
    SOldPosition = SPosition;
    return move;
}

Integer TspToolBarScroll::Step(bool ARight, Integer AStep)
{
    if (ARight)
        SPosition = std::min(SPosition + AStep, SMax - SPage + 1);
    else
        SPosition = std::max(SPosition - AStep, 0);
    if (SPosition == SOldPosition) return 0;
    const Integer move = SOldPosition - SPosition;
    SOldPosition = SPosition;
    return move;
}
