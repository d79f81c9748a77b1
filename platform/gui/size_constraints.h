#pragma once
// The smallest and largest size a control may take; 0 means no limit. A control applies them to every size it
// is given: by code, by alignment and by the user sizing a form.
#include "platform/rtl/classes.h"

using TConstraintSize = Integer;

class TSizeConstraints : public TPersistent {
public:
    TConstraintSize MinWidth() const { return FMinWidth; }
    TConstraintSize MinHeight() const { return FMinHeight; }
    TConstraintSize MaxWidth() const { return FMaxWidth; }
    TConstraintSize MaxHeight() const { return FMaxHeight; }
    // A minimum above the maximum lifts the maximum to it, and a maximum below the minimum lowers the minimum,
    // so the pair never contradicts itself. Negative values count as 0.
    void SetMinWidth(TConstraintSize AValue);
    void SetMinHeight(TConstraintSize AValue);
    void SetMaxWidth(TConstraintSize AValue);
    void SetMaxHeight(TConstraintSize AValue);

    // AWidth and AHeight brought inside the limits.
    void Apply(Integer& AWidth, Integer& AHeight) const;
    void Assign(TPersistent* ASource) override;

    // Fires after every change; the control uses it to take its new limits at once.
    TNotifyEvent OnChange;

private:
    void Change();

    TConstraintSize FMinWidth = 0;
    TConstraintSize FMinHeight = 0;
    TConstraintSize FMaxWidth = 0;
    TConstraintSize FMaxHeight = 0;
};
