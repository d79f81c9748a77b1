#include "skin/core/glyph_text.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/utf8.h"
#include "skin/core/rect_helpers.h"

std::string WideToUtf8(const WideString& AText) { return Utf16ToUtf8(AText); }

WideString Utf8ToWide(const std::string& AText) { return Utf8ToUtf16(AText); }

Integer DrawWideText(TCanvas* Canvas, const WideString& Text, TRect& R, Cardinal Format) {
    return win::DrawText(Canvas->Handle(), WideToUtf8(Text), &R, Format);
}

namespace {

TRect MeasureWide(TCanvas* Canvas, const WideString& Text) {
    TRect r = Rect(0, 0, 0, 0);
    DrawWideText(Canvas, Text, r, win::DT_CALCRECT);
    return r;
}

// Length of the last whole UTF-8 character of AText.
size_t LastCharLength(const std::string& AText) {
    size_t n = 1;
    while (n < AText.size() && (static_cast<unsigned char>(AText[AText.size() - n]) & 0xC0) == 0x80) ++n;
    return n;
}

}  // namespace

Integer WideTextWidth(TCanvas* Canvas, const WideString& Text) { return WidthOfRect(MeasureWide(Canvas, Text)); }
Integer WideTextHeight(TCanvas* Canvas, const WideString& Text) { return HeightOfRect(MeasureWide(Canvas, Text)); }

void TruncateWithEllipsis(TCanvas* Canvas, std::string& Text, Integer MaxWidth) {
    if (Canvas->TextWidth(Text) <= MaxWidth) return;
    while (!Text.empty() && Canvas->TextWidth(Text + "...") > MaxWidth) Text.resize(Text.size() - LastCharLength(Text));
    Text += "...";
}

void TruncateWideWithEllipsis(TCanvas* Canvas, WideString& Text, Integer MaxWidth) {
    if (WideTextWidth(Canvas, Text) <= MaxWidth) return;
    while (!Text.empty() && WideTextWidth(Canvas, Text + u"...") > MaxWidth) {
        const bool pair = Text.size() >= 2 && Text.back() >= 0xDC00 && Text.back() < 0xE000;
        Text.resize(Text.size() - (pair ? 2 : 1));
    }
    Text += u"...";
}

void DrawVCenteredText(TCanvas* Canvas, const WideString& Text, TRect R) {
    if (Text.empty()) return;
    DrawWideText(Canvas, Text, R, win::DT_SINGLELINE | win::DT_VCENTER);
}

void DrawItemTextIndent(TCanvas* Canvas, const std::string& Text, TRect R, Integer Indent) {
    if (Text.empty()) return;
    const Integer y = (R.Top + HeightOfRect(R) / 2) - Canvas->TextHeight(Text) / 2;
    Canvas->TextRect(R, R.Left + Indent + 2, y, Text);
}

void DrawItemText(TCanvas* Canvas, const std::string& Text, TRect R) { DrawItemTextIndent(Canvas, Text, R, 0); }

void CalcGlyphLayout(TspButtonLayout Layout, TRect R, Integer GlyphWidth, Integer GlyphHeight, Integer TextWidth,
                     Integer TextHeight, Integer Spacing, Integer Margin, Integer& TextX, Integer& TextY,
                     Integer& GlyphX, Integer& GlyphY) {
    const Integer cx = R.Left + WidthOfRect(R) / 2;
    const Integer cy = R.Top + HeightOfRect(R) / 2;
    if (GlyphWidth == 0) Spacing = 0;
    if (Margin == -1) {
        const Integer hw = (TextWidth + GlyphWidth + Spacing) / 2;
        const Integer hh = (TextHeight + GlyphHeight + Spacing) / 2;
        switch (Layout) {
        case blGlyphLeft:
            GlyphX = cx - hw, GlyphY = cy - GlyphHeight / 2, TextX = cx + hw - TextWidth, TextY = cy - TextHeight / 2;
            break;
        case blGlyphRight:
            GlyphX = cx + hw - GlyphWidth, GlyphY = cy - GlyphHeight / 2, TextX = cx - hw, TextY = cy - TextHeight / 2;
            break;
        case blGlyphTop:
            GlyphX = cx - GlyphWidth / 2, GlyphY = cy - hh, TextX = cx - TextWidth / 2, TextY = cy + hh - TextHeight;
            break;
        case blGlyphBottom:
            GlyphX = cx - GlyphWidth / 2, GlyphY = cy + hh - GlyphHeight, TextX = cx - TextWidth / 2, TextY = cy - hh;
            break;
        }
        return;
    }
    switch (Layout) {
    case blGlyphLeft:
        GlyphX = R.Left + Margin, GlyphY = cy - GlyphHeight / 2;
        TextX = GlyphX + GlyphWidth + Spacing, TextY = cy - TextHeight / 2;
        break;
    case blGlyphRight:
        GlyphX = R.Right - GlyphWidth - Margin, GlyphY = cy - GlyphHeight / 2;
        TextX = GlyphX - Spacing - TextWidth, TextY = cy - TextHeight / 2;
        break;
    case blGlyphTop:
        GlyphX = cx - GlyphWidth / 2, GlyphY = R.Top + Margin;
        TextX = cx - TextWidth / 2, TextY = GlyphY + GlyphHeight + Spacing;
        break;
    case blGlyphBottom:
        GlyphX = cx - GlyphWidth / 2, GlyphY = R.Bottom - GlyphHeight - Margin;
        TextX = cx - TextWidth / 2, TextY = GlyphY - Spacing - TextHeight;
        break;
    }
}

TGlyphCaptionPlan PlanGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing,
                                      TspButtonLayout Layout, const WideString& Caption, Integer GlyphW,
                                      Integer GlyphH, bool Down) {
    TGlyphCaptionPlan p;
    p.GlyphW = GlyphW;
    p.GlyphH = GlyphH;
    if (!Caption.empty()) {
        const bool sideways = Layout == blGlyphLeft || Layout == blGlyphRight;
        TRect tr = Rect(0, 0, WidthOfRect(R) - (sideways ? GlyphW : 0), HeightOfRect(R) - (sideways ? 0 : GlyphH));
        DrawWideText(Canvas, Caption, tr, win::DT_CALCRECT | win::DT_EXPANDTABS | win::DT_WORDBREAK);
        p.TextW = WidthOfRect(tr);
        p.TextH = HeightOfRect(tr);
    }
    Canvas->Brush()->SetStyle(bsClear);
    CalcGlyphLayout(Layout, R, GlyphW, GlyphH, p.TextW, p.TextH, Spacing, Margin, p.TextX, p.TextY, p.GlyphX,
                    p.GlyphY);
    if (Down) ++p.TextX, ++p.TextY, ++p.GlyphX, ++p.GlyphY;
    return p;
}

void DrawColorMarkerOf(TCanvas* Canvas, const TGlyphCaptionPlan& P, TRect R, bool HasCaption, bool Down,
                       TColor Color) {
    Canvas->Pen()->SetColor(Color);
    auto line = [&](Integer x1, Integer x2, Integer y) {
        Canvas->MoveTo(x1, y);
        Canvas->LineTo(x2, y);
    };
    if (P.GlyphW > 0 && P.GlyphH > 0) {
        for (Integer d : {-2, -1, 0}) line(P.GlyphX, P.GlyphX + P.GlyphW, P.GlyphY + P.GlyphH + d);
    } else if (HasCaption) {
        const TRect c = P.CaptionRect();
        for (Integer d : {-1, 0, 1}) line(c.Left, c.Right, c.Bottom + d);
    } else {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(Down ? Rect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3)
                              : Rect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
    }
}

void DrawListGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                             const WideString& Caption, Integer ImageIndex, TCustomImageList* ImageList, bool Down,
                             bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue) {
    const bool hasGlyph = ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count();
    const TGlyphCaptionPlan p = PlanGlyphAndCaption(Canvas, R, Margin, Spacing, Layout, Caption,
                                                    hasGlyph ? ImageList->Width() : 0,
                                                    hasGlyph ? ImageList->Height() : 0, Down);
    if (!Caption.empty()) {
        TRect tr = p.CaptionRect();
        DrawWideText(Canvas, Caption, tr, kCaptionFormat);
    }
    if (hasGlyph) ImageList->Draw(Canvas, p.GlyphX, p.GlyphY, ImageIndex, Enabled);
    if (DrawColorMarker) DrawColorMarkerOf(Canvas, p, R, !Caption.empty(), Down, ColorMarkerValue);
}

void DrawBitmapGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                               const WideString& Caption, TBitmap* Glyph, TspNumGlyphs NumGlyphs, Integer GlyphNum,
                               bool Down, bool DrawColorMarker, TColor ColorMarkerValue) {
    const bool hasGlyph = Glyph && !Glyph->Empty() && NumGlyphs > 0;
    const TGlyphCaptionPlan p =
        PlanGlyphAndCaption(Canvas, R, Margin, Spacing, Layout, Caption, hasGlyph ? Glyph->Width() / NumGlyphs : 0,
                            hasGlyph ? Glyph->Height() : 0, Down);
    if (!Caption.empty()) {
        TRect tr = p.CaptionRect();
        DrawWideText(Canvas, Caption, tr, kCaptionFormat);
    }
    if (hasGlyph) DrawGlyphStripFrame(Canvas, p.GlyphX, p.GlyphY, Glyph, NumGlyphs, GlyphNum);
    if (DrawColorMarker) DrawColorMarkerOf(Canvas, p, R, !Caption.empty(), Down, ColorMarkerValue);
}

void DrawGlyphStripFrame(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Bitmap, Integer FrameCount,
                         Integer FrameIndex) {
    if (Bitmap == nullptr || Bitmap->Empty()) return;
    const Integer fw = Bitmap->Width() / std::max(FrameCount, 1);
    if (fw <= 0) return;
    TBitmap frame(fw, Bitmap->Height());
    frame.Canvas()->CopyRect(Rect(0, 0, fw, Bitmap->Height()), Bitmap->Canvas(),
                             Rect(fw * (FrameIndex - 1), 0, fw * FrameIndex, Bitmap->Height()));
    frame.SetTransparent(true);
    Canvas->Draw(X, Y, &frame);
}
