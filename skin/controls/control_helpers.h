#pragma once
// Small rules several skinned controls share.
#include <algorithm>
#include <limits>

#include "platform/gui/controls.h"
#include "platform/rtl/types.h"

// A left click on a focusable control takes the focus first; true when the click must be dropped because the
// focus did not come. AClicksDisabled is set while the focus is being taken, so that a command arriving
// meanwhile can be dropped too.
inline bool DropClickWithoutFocus(TWinControl* AControl, bool ACanFocused, bool ADesigning, bool& AClicksDisabled)
{
    if (!ACanFocused || ADesigning || AControl->Focused()) return false;
    AClicksDisabled = true;
    AControl->SetFocus();
    AClicksDisabled = false;
    return !AControl->Focused();
}

// The value a range setter stores: above the maximum the maximum, else below the minimum the minimum (a reversed
// range thus gives the maximum for values above it and the minimum otherwise).
inline Integer ClampToRange(Integer AValue, Integer AMin, Integer AMax)
{
    if (AValue > AMax) return AMax;
    if (AValue < AMin) return AMin;
    return AValue;
}

// AValue + ADelta stopped at the Integer limits: steps on a range that spans every Integer must not wrap.
inline Integer SaturatedAdd(Integer AValue, Integer ADelta)
{
    const Int64 sum = Int64(AValue) + Int64(ADelta);
    return Integer(std::clamp<Int64>(sum, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}
