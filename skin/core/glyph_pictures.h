#pragma once
// Built-in pictures for elements a skin leaves out: arrows, marks, caption-button glyphs and two frames. Lines
// follow the platform rule that a line from A to B stops before B.
#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"

class TCanvas;

// Kind: 1 left, 2 right, 3 up, 4 down; any other draws nothing.
void DrawSmallArrowGlyph(TCanvas* Canvas, TRect R, TColor Color, Integer Kind);
void DrawArrowGlyph(TCanvas* Canvas, TRect R, TColor Color, Integer Kind);
void DrawDropDownGlyph(TCanvas* Canvas, TRect R, TColor Color);
void DrawRadioGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawCheckGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);

void DrawCloseGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawSysMenuGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMinimizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMaximizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRestoreGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollUpGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollDownGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawTrayGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);

void DrawDottedFocusRect(TCanvas* Canvas, TRect R);
void DrawFrame3D(TCanvas* Canvas, TRect R, TColor TopColor, TColor BottomColor);
