#pragma once
// Text and glyph-plus-caption faces of skinned controls: measuring, shortening with "...", and placing a glyph
// and its caption in a rectangle by layout, margin and spacing.
#include <string>

#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"

class TBitmap;
class TCanvas;
class TCustomImageList;

// Wide text is UTF-16, as the skins store it; the drawing takes it as UTF-8.
using WideString = std::u16string;
std::string WideToUtf8(const WideString& AText);
WideString Utf8ToWide(const std::string& AText);

enum TspButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TspNumGlyphs = Integer;  // 1 .. 4 equal frames side by side

Integer DrawWideText(TCanvas* Canvas, const WideString& Text, TRect& R, Cardinal Format);
Integer WideTextWidth(TCanvas* Canvas, const WideString& Text);
Integer WideTextHeight(TCanvas* Canvas, const WideString& Text);
// Whole characters are removed, never parts of one.
void TruncateWithEllipsis(TCanvas* Canvas, std::string& Text, Integer MaxWidth);
void TruncateWideWithEllipsis(TCanvas* Canvas, WideString& Text, Integer MaxWidth);
void DrawVCenteredText(TCanvas* Canvas, const WideString& Text, TRect R);
void DrawItemText(TCanvas* Canvas, const std::string& Text, TRect R);
void DrawItemTextIndent(TCanvas* Canvas, const std::string& Text, TRect R, Integer Indent);

// Margin -1 centres glyph and text together; an unknown layout leaves the outputs as they were.
void CalcGlyphLayout(TspButtonLayout Layout, TRect R, Integer GlyphWidth, Integer GlyphHeight, Integer TextWidth,
                     Integer TextHeight, Integer Spacing, Integer Margin, Integer& TextX, Integer& TextY,
                     Integer& GlyphX, Integer& GlyphY);

void DrawListGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                             const WideString& Caption, Integer ImageIndex, TCustomImageList* ImageList, bool Down,
                             bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue);
void DrawBitmapGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                               const WideString& Caption, TBitmap* Glyph, TspNumGlyphs NumGlyphs, Integer GlyphNum,
                               bool Down, bool DrawColorMarker, TColor ColorMarkerValue);
// Frame FrameIndex (from 1) of FrameCount, drawn with its bottom-left colour transparent.
void DrawGlyphStripFrame(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Bitmap, Integer FrameCount,
                         Integer FrameIndex);

// Shared with the glow variants: where glyph and caption go, and the marker under them.
struct TGlyphCaptionPlan {
    Integer GlyphW = 0, GlyphH = 0, TextW = 0, TextH = 0;
    Integer TextX = 0, TextY = 0, GlyphX = 0, GlyphY = 0;
    TRect CaptionRect() const { return Rect(TextX, TextY, TextX + TextW + 2, TextY + TextH); }
};
TGlyphCaptionPlan PlanGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing,
                                      TspButtonLayout Layout, const WideString& Caption, Integer GlyphW,
                                      Integer GlyphH, bool Down);
void DrawColorMarkerOf(TCanvas* Canvas, const TGlyphCaptionPlan& P, TRect R, bool HasCaption, bool Down,
                       TColor Color);
constexpr Cardinal kCaptionFormat = win::DT_EXPANDTABS | win::DT_WORDBREAK | win::DT_VCENTER | win::DT_CENTER;
