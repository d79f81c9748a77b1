#pragma once
// What a push or speed button copies from its button record at every lookup, with the record's fall-backs, and
// the parts of a state drawing both kinds of button share: the state font and the hot-fade frame.
#include <functional>
#include <string>

#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"
#include "skin/core/effect_bitmap.h"

class TBitmap;
class TCanvas;
class TspDataSkinButtonControl;

struct TspButtonLook {
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect;
    // A strip of frames played when the button turns hot or stops being hot.
    TRect AnimateSkinRect;
    Integer FrameCount = 0, AnimateInterval = 0;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;

    // Empty hot and pressed pictures fall back to normal and hot, empty marker pictures likewise, and a disabled
    // colour equal to the normal one becomes grey.
    void Read(const TspDataSkinButtonControl& ARecord);
};

struct TspButtonFontChoice {
    bool Skinned = false, UseSkinFont = true, UseSkinFontColor = true, Enabled = true;
    TFont* DefaultFont = nullptr;
};

// The font of a state drawing: the record's or the default font, in the state's colour; a clear brush.
void ApplyButtonStateFont(TCanvas* ACanvas, const TspButtonLook& ALook, const TspButtonFontChoice& AChoice,
                          bool ADown, bool AMouseIn);

// One frame of the hot fade into B: ADrawState draws the normal (false) or the hot (true) state into a bitmap of
// B's size; the normal one is morphed towards the hot one by AKf.
void DrawHotFadeFrame(TBitmap* B, TMorphKind AKind, double AKf,
                      const std::function<void(TBitmap* ATarget, bool AHot)>& ADrawState);
