#pragma once
// Pictures of what lies behind a control or a popup, and the skin's small picture and colour helpers.
#include <string>

#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"

class TBitmap;
class TCanvas;
class TControl;

// Paints into Canvas (its origin standing for the control's top-left corner) the parent's background and the
// windowless siblings below the control.
void PaintParentBackground(TControl* Control, TCanvas* Canvas);
// Copies the screen rectangle at X, Y of Bitmap's size into Bitmap.
void CaptureScreenArea(Integer X, Integer Y, TBitmap* Bitmap);
TColor DarkenColor(TColor Color, Integer Percent);
