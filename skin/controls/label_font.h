#pragma once
// The fonts of the labels that take their look from a "stdlabel" record: which face, size, style and colour the
// text is drawn with, skinned or not, and the colours of embossed disabled text.
#include <string>

#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"

class TspDataSkinStdLabelControl;
class TspSkinColors;
class TCanvas;

// What a label copies from its record at every lookup.
struct TspStdLabelFont {
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0;

    void Read(const TspDataSkinStdLabelControl& ARecord);
};

struct TspLabelFontChoice {
    bool Skinned = false, UseSkinFont = true, UseSkinColor = true;
};

// The standard and text labels: unskinned, the face of DefaultFont (or Font without UseSkinFont) in Font's
// colour; skinned, the record's face (or Font's) in the record's colour (or Font's without UseSkinColor).
void ApplyStdLabelFont(TFont* ATarget, const TspLabelFontChoice& AChoice, const TspStdLabelFont& ARecord,
                       TFont* ADefaultFont, TFont* AFont);

struct TspLinkFontChoice {
    bool Skinned = false, UseSkinFont = true, UseUnderLine = true, MouseIn = false, GlowEffect = false,
         Enabled = true;
    TColor DefaultActiveFontColor = clBlue;
};

// The link label: the hover colour while the mouse is over it (skinned, only without the glow), underlined as
// UseUnderLine says; a disabled unskinned link stays underlined.
void ApplyLinkLabelFont(TFont* ATarget, const TspLinkFontChoice& AChoice, const TspStdLabelFont& ARecord,
                        TFont* ADefaultFont, TFont* AFont);

// Disabled text is drawn once in the highlight colour, shifted, then in the shadow colour: the skin's when it
// has colours, else the system's.
struct TspEmbossColors {
    TColor Highlight = clBtnHighlight, Shadow = clBtnShadow;
};
TspEmbossColors EmbossColorsOf(const TspSkinColors* AColors);

// Text in the canvas font's colour without background; with DT_CALCRECT it only measures into R.
void DrawLabelTextIn(TCanvas* ACanvas, const std::string& AText, TRect& R, Cardinal AFlags);
