#pragma once
// Glowing and mirrored text and glyphs. One recipe throughout: the shape is drawn in pure red into a scratch
// bitmap, blurred, tinted (alpha := red, colour := the effect colour), blended onto the target, and the sharp
// shape drawn on top.
#include <string>

#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"
#include "skin/core/glyph_text.h"

class TCanvas;
class TBitmap;
class TCustomImageList;
class TPngImage;
class TspBitmap;

void DrawGlowText(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset,
                  TColor GlowColor, Integer GlowSize);
void DrawThickGlowText(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset,
                       TColor GlowColor, Integer GlowSize);
Integer DrawWideGlowText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format, Integer Offset,
                         TColor GlowColor, Integer GlowSize);
Integer DrawCaptionGlowText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format, TColor GlowColor);
Integer DrawSmallCaptionGlowText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format,
                                 TColor GlowColor);
void DrawReflectedText(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset,
                       TColor ReflectionColor);
void DrawWideReflectedText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format, Integer Offset,
                           TColor ReflectionColor);
void DrawGlowListGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                                 const WideString& Caption, Integer ImageIndex, TCustomImageList* ImageList,
                                 bool Down, bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue,
                                 TColor GlowColor, Integer GlowSize);
void DrawGlowBitmapGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing,
                                   TspButtonLayout Layout, const WideString& Caption, TBitmap* Glyph,
                                   TspNumGlyphs NumGlyphs, Integer GlyphNum, bool Down, bool DrawColorMarker,
                                   TColor ColorMarkerValue, TColor GlowColor, Integer GlowSize);
void DrawListGlyphSilhouette(TspBitmap* Bmp, TCustomImageList* ImageList, Integer ImageIndex, Integer Offset);
void DrawBitmapGlyphSilhouette(TspBitmap* Bmp, TBitmap* Glyph, Integer Offset);
// A PNG without an alpha channel counts as opaque.
void DrawPngSilhouette(TspBitmap* Bmp, TPngImage* Png, Integer Offset);
void CopyPngToSpBitmap(TspBitmap* Dest, TPngImage* Png);
