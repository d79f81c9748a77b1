#pragma once
// What a push or speed button shows inside its face: an image-list image or a frame of its glyph strip, laid out
// with the caption by layout, margin and spacing.
#include <string>

#include "platform/gui/controls.h"
#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"
#include "skin/core/glyph_text.h"

class TBitmap;
class TCanvas;
class TCustomImageList;

struct TspButtonContent {
    TCustomImageList* ImageList = nullptr;
    Integer ImageIndex = -1;
    TBitmap* Glyph = nullptr;
    TspNumGlyphs NumGlyphs = 1;
    TspButtonLayout Layout = blGlyphLeft;
    Integer Margin = -1;
    Integer Spacing = 1;
    std::string Caption;
};

// The glyph frame (from 1) of a state: pressed 3, hot 4, disabled 2, each only when the strip has that many.
Integer GlyphFrameOf(TspNumGlyphs ANumGlyphs, bool AEnabled, bool ADown, bool AMouseIn);

// The image-list image when its index is valid, else the glyph frame, with the caption. AShift moves both one
// pixel right and down (a pressed face).
void DrawButtonContent(TCanvas* ACanvas, const TRect& R, const TspButtonContent& AContent, bool AEnabled,
                       bool AShift, Integer AGlyphFrame, bool AColorMarker = false, TColor AMarkerColor = 0);

// A button of a toggle group went down: every other button of its kind among its parent's controls with the same
// group that is down comes up, through its own Down writer.
template <typename TButton>
void ReleaseGroupSiblings(TButton* AButton)
{
    TWinControl* parent = AButton->Parent();
    if (!parent) return;
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TButton*>(parent->Controls(i));
        if (other && other != AButton && other->GroupIndex() == AButton->GroupIndex() && other->Down())
            other->SetDown(false);
    }
}
