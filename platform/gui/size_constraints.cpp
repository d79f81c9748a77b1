#include "platform/gui/size_constraints.h"

#include <algorithm>

namespace {

// Sets one limit of a min/max pair and moves the other one when they would cross.
bool SetPair(TConstraintSize& AChanged, TConstraintSize& AOther, TConstraintSize AValue, bool AIsMin)
{
    AValue = std::max<TConstraintSize>(AValue, 0);
    if (AValue == AChanged)
        return false;
    AChanged = AValue;
    if (AValue > 0 && AOther > 0 && (AIsMin ? AOther < AValue : AOther > AValue))
        AOther = AValue;
    return true;
}

Integer Limit(Integer AValue, TConstraintSize AMin, TConstraintSize AMax)
{
    if (AMax > 0 && AValue > AMax)
        AValue = AMax;
    if (AMin > 0 && AValue < AMin)
        AValue = AMin;
    return AValue;
}

}  // namespace

void TSizeConstraints::SetMinWidth(TConstraintSize AValue)
{
    if (SetPair(FMinWidth, FMaxWidth, AValue, true))
        Change();
}

void TSizeConstraints::SetMinHeight(TConstraintSize AValue)
{
    if (SetPair(FMinHeight, FMaxHeight, AValue, true))
        Change();
}

void TSizeConstraints::SetMaxWidth(TConstraintSize AValue)
{
    if (SetPair(FMaxWidth, FMinWidth, AValue, false))
        Change();
}

void TSizeConstraints::SetMaxHeight(TConstraintSize AValue)
{
    if (SetPair(FMaxHeight, FMinHeight, AValue, false))
        Change();
}

void TSizeConstraints::Apply(Integer& AWidth, Integer& AHeight) const
{
    AWidth = Limit(AWidth, FMinWidth, FMaxWidth);
    AHeight = Limit(AHeight, FMinHeight, FMaxHeight);
}

void TSizeConstraints::Assign(TPersistent* ASource)
{
    auto* source = dynamic_cast<TSizeConstraints*>(ASource);
    if (!source) {
        TPersistent::Assign(ASource);
        return;
    }
    FMinWidth = source->FMinWidth;
    FMinHeight = source->FMinHeight;
    FMaxWidth = source->FMaxWidth;
    FMaxHeight = source->FMaxHeight;
    Change();
}

void TSizeConstraints::Change()
{
    if (OnChange)
        OnChange(this);
}
