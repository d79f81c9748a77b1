#pragma once
// The skinned bevel: the platform's bevel shapes drawn in the light and dark colours of a "bevel" record, with a
// divider mode that draws one centred groove instead.
#include <vector>

#include "platform/gui/ext_controls.h"
#include "skin/controls/skin_link.h"

// One polyline of a bevel, in control coordinates; the last point is not drawn.
struct TspBevelLine {
    TColor Color;
    std::vector<TPoint> Points;
    bool operator==(const TspBevelLine&) const = default;
};

// Every line a bevel of the shape and style draws in a W x H control.
std::vector<TspBevelLine> BevelLines(TBevelShape AShape, TBevelStyle AStyle, bool ADividerMode, Integer AWidth,
                                     Integer AHeight, TColor ALight, TColor ADark);

class TspSkinBevel : public TspSkinLinked<TBevel> {
public:
    explicit TspSkinBevel(TComponent* AOwner);

    // Runs ChangeSkinData always, also for nil (which brings the system colours back).
    void SetSkinData(TspSkinData* AValue) override;
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool AValue);
    TColor LightColor() const { return FLightColor; }
    TColor DarkColor() const { return FDarkColor; }

    void ChangeSkinData() override;
    // Inside a parent that centres its controls the bevel is centred vertically in its skin client rectangle.
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

protected:
    void Paint() override;

private:
    bool FDividerMode = false;
    TColor FLightColor = clBtnHighlight;
    TColor FDarkColor = clBtnShadow;
};
