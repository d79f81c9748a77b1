#pragma once
// Draws a borrowed button record (the skin's "resizebutton", "combobutton", ...) at any size in its normal, hot
// or pressed state. Edit, spin, up-down, tool-bar and combo buttons all draw their inner buttons this way.
#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"

class TBitmap;
class TspSkinData;
class TspDataSkinButtonControl;

enum class TspButtonState { Normal, Hot, Pressed };

// The state's picture rectangle with the fall-backs: pressed uses hot when empty, hot uses normal when empty.
TRect ButtonStateRect(const TspDataSkinButtonControl& ARecord, TspButtonState AState);
// The record's font colour for the state.
TColor ButtonStateFontColor(const TspDataSkinButtonControl& ARecord, TspButtonState AState);

// Composes the state's picture into ADest at AWidth x AHeight, the record's nine pieces moved to that size.
// Returns false (ADest sized but undrawn) when the record's picture is missing.
bool ComposeButtonRecord(TspSkinData* ASkinData, const TspDataSkinButtonControl& ARecord, TspButtonState AState,
                         Integer AWidth, Integer AHeight, TBitmap* ADest);
