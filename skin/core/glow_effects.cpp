#include "skin/core/glow_effects.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/gdi/text.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/gui/png_image.h"
#include "skin/core/png_image_list.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_bitmap.h"

namespace {

constexpr TspColor kRed = 0xFFFF0000;

// Effect colours are plain RGB: no system colour lookup.
TspColor RgbOf(TColor AColor) {
    const uint32_t c = static_cast<uint32_t>(AColor);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

void PrepareScratch(TspBitmap& S, TCanvas* Canvas, Integer W, Integer H) {
    S.SetSize(std::max(W, 1), std::max(H, 1));
    S.Clear(0);
    S.Canvas()->Font()->Assign(Canvas->Font());
    S.Canvas()->Font()->SetColor(clRed);
    S.Canvas()->Brush()->SetStyle(bsClear);
}

void Tint(TspBitmap& S, TColor AColor) {
    const TspColor rgb = RgbOf(AColor);
    for (Integer y = 0; y < S.Height(); ++y) {
        TspColor* row = S.GetScanLinePtr(y);
        for (Integer x = 0; x < S.Width(); ++x) row[x] = (((row[x] >> 16) & 0xFF) << 24) | rgb;
    }
    S.SetAlphaBlend(true);
}

void RedText(TspBitmap& S, const std::string& AText, TRect R, Cardinal AFormat) {
    win::DrawText(S.Canvas()->Handle(), AText, &R, AFormat);
}

TRect Shifted(TRect R, Integer dx, Integer dy) { return Rect(R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy); }

void GlowText(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset, TColor GlowColor,
              Integer GlowSize, bool Thick) {
    const Integer g = std::max(GlowSize, 0);
    TspBitmap s;
    PrepareScratch(s, Canvas, WidthOfRect(R) + 2 * g, HeightOfRect(R) + 2 * g);
    const TRect base = Rect(g, g, s.Width() - g, s.Height() - g);
    RedText(s, Text, base, Format);
    if (Thick)
        for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) RedText(s, Text, Shifted(base, dx, dy), Format);
    BlurBitmap(&s, g);
    Tint(s, GlowColor);
    s.Draw(Canvas, R.Left + Offset - g, R.Top + Offset - g);
    Canvas->Brush()->SetStyle(bsClear);
}

Integer CaptionGlow(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format, TColor GlowColor, Integer M,
                    bool Small) {
    TspBitmap s;
    PrepareScratch(s, Canvas, WidthOfRect(R) + 2 * M, HeightOfRect(R) + 2 * M);
    const TRect t = Rect(M, M, s.Width() - M, s.Height() - M);
    s.FillRect(Small ? Rect(t.Left + 3, t.Top + 3, t.Right - 3, t.Bottom - 3)
                     : Rect(t.Left - 3, t.Top + 2, t.Right + 3, t.Bottom - 2),
               kRed);
    const std::string text = WideToUtf8(Text);
    for (auto [dx, dy] : {std::pair{-1, -1}, {-2, -2}, {-1, 0}, {-2, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 0}})
        RedText(s, text, Shifted(t, dx, dy), Format);
    BlurBitmap(&s, M / 2);
    BlurBitmap(&s, M / 2);
    Tint(s, GlowColor);
    s.Draw(Canvas, R.Left - M, R.Top - M);
    Canvas->Brush()->SetStyle(bsClear);
    return DrawWideText(Canvas, Text, R, Format);
}

void Reflected(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset, TColor Color,
               float AFloor) {
    const Integer w = WidthOfRect(R), h = HeightOfRect(R);
    if (w <= 0 || h <= 0) return;
    TspBitmap s;
    PrepareScratch(s, Canvas, w, h);
    RedText(s, Text, Rect(0, 0, w, h), Format);
    TRect t = Rect(0, 0, w, h);
    win::DrawText(s.Canvas()->Handle(), Text, &t, Format | win::DT_CALCRECT);
    TRect r2 = R;
    win::DrawText(Canvas->Handle(), Text, &r2, Format | win::DT_CALCRECT);
    const Integer span = t.Bottom - t.Top;
    const TspColor rgb = RgbOf(Color);
    if (span > 0) {
        for (Integer y = 0; y < h; ++y) {
            TspColor* row = s.GetScanLinePtr(y);
            if (y < t.Top || y > t.Bottom) {
                std::fill(row, row + w, 0u);
                continue;
            }
            float k = 0.7f - static_cast<float>(t.Bottom - (y - t.Top)) / static_cast<float>(span);
            k = std::max(k, AFloor);
            for (Integer x = 0; x < w; ++x)
                row[x] = (static_cast<TspColor>(std::trunc(((row[x] >> 16) & 0xFF) * k)) << 24) | rgb;
        }
    }
    s.FlipVert();
    s.SetAlphaBlend(true);
    s.Draw(Canvas, R.Left, r2.Bottom + t.Bottom - h + Offset);
    Canvas->Brush()->SetStyle(bsClear);
    win::DrawText(Canvas->Handle(), Text, &R, Format);
}

// The glyph's glow and the caption's thick glow, then the plain face on top.
void GlowGlyphAndCaption(TCanvas* Canvas, const TGlyphCaptionPlan& p, const WideString& Caption, TColor GlowColor,
                         Integer GlowSize, const std::function<void(TspBitmap*, Integer)>& ASilhouette) {
    const Integer g = std::max(GlowSize, 0);
    if (p.GlyphW > 0 && p.GlyphH > 0) {
        TspBitmap s;
        s.SetSize(p.GlyphW + 2 * g, p.GlyphH + 2 * g);
        s.Clear(0);
        ASilhouette(&s, g);
        BlurBitmap(&s, g);
        Tint(s, GlowColor);
        s.Draw(Canvas, p.GlyphX - g, p.GlyphY - g);
    }
    if (!Caption.empty()) {
        const TRect tr = p.CaptionRect();
        DrawThickGlowText(Canvas, tr, WideToUtf8(Caption), kCaptionFormat, 0, GlowColor, g);
    }
}

void SilhouetteOf(TspBitmap* Bmp, TspBitmap& G, Integer Offset) {
    if (G.Empty()) return;
    const TspColor back = G.GetPixel(0, 0);
    for (Integer y = 0; y < G.Height(); ++y) {
        TspColor* row = G.GetScanLinePtr(y);
        for (Integer x = 0; x < G.Width(); ++x)
            if (row[x] != back) row[x] = kRed;
    }
    G.CheckingTransparent(back);
    for (Integer d : {0, -1, 1}) G.Draw(Bmp, Offset + d, Offset + d);
}

}  // namespace

void DrawGlowText(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset,
                  TColor GlowColor, Integer GlowSize) {
    GlowText(Canvas, R, Text, Format, Offset, GlowColor, GlowSize, false);
    win::DrawText(Canvas->Handle(), Text, &R, Format);
}

void DrawThickGlowText(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset,
                       TColor GlowColor, Integer GlowSize) {
    GlowText(Canvas, R, Text, Format, Offset, GlowColor, GlowSize, true);
    win::DrawText(Canvas->Handle(), Text, &R, Format);
}

Integer DrawWideGlowText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format, Integer Offset,
                         TColor GlowColor, Integer GlowSize) {
    GlowText(Canvas, R, WideToUtf8(Text), Format, Offset, GlowColor, GlowSize, false);
    return DrawWideText(Canvas, Text, R, Format);
}

Integer DrawCaptionGlowText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format, TColor GlowColor) {
    return CaptionGlow(Canvas, R, Text, Format, GlowColor, 12, false);
}

Integer DrawSmallCaptionGlowText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format,
                                 TColor GlowColor) {
    return CaptionGlow(Canvas, R, Text, Format, GlowColor, 10, true);
}

void DrawReflectedText(TCanvas* Canvas, TRect R, const std::string& Text, Cardinal Format, Integer Offset,
                       TColor ReflectionColor) {
    Reflected(Canvas, R, Text, Format, Offset, ReflectionColor, 0.05f);
}

void DrawWideReflectedText(TCanvas* Canvas, TRect R, const WideString& Text, Cardinal Format, Integer Offset,
                           TColor ReflectionColor) {
    Reflected(Canvas, R, WideToUtf8(Text), Format, Offset, ReflectionColor, 0.0f);
}

void DrawGlowListGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing, TspButtonLayout Layout,
                                 const WideString& Caption, Integer ImageIndex, TCustomImageList* ImageList,
                                 bool Down, bool Enabled, bool DrawColorMarker, TColor ColorMarkerValue,
                                 TColor GlowColor, Integer GlowSize) {
    const bool hasGlyph = ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count();
    const TGlyphCaptionPlan p = PlanGlyphAndCaption(Canvas, R, Margin, Spacing, Layout, Caption,
                                                    hasGlyph ? ImageList->Width() : 0,
                                                    hasGlyph ? ImageList->Height() : 0, Down);
    GlowGlyphAndCaption(Canvas, p, Caption, GlowColor, GlowSize, [&](TspBitmap* s, Integer g) {
        DrawListGlyphSilhouette(s, ImageList, ImageIndex, g);
    });
    if (hasGlyph) ImageList->Draw(Canvas, p.GlyphX, p.GlyphY, ImageIndex, Enabled);
    if (DrawColorMarker) DrawColorMarkerOf(Canvas, p, R, !Caption.empty(), false, ColorMarkerValue);
}

void DrawGlowBitmapGlyphAndCaption(TCanvas* Canvas, TRect R, Integer Margin, Integer Spacing,
                                   TspButtonLayout Layout, const WideString& Caption, TBitmap* Glyph,
                                   TspNumGlyphs NumGlyphs, Integer GlyphNum, bool Down, bool DrawColorMarker,
                                   TColor ColorMarkerValue, TColor GlowColor, Integer GlowSize) {
    const bool hasGlyph = Glyph && !Glyph->Empty() && NumGlyphs > 0 && Glyph->Width() / NumGlyphs > 0;
    const Integer fw = hasGlyph ? Glyph->Width() / NumGlyphs : 0;
    const TGlyphCaptionPlan p = PlanGlyphAndCaption(Canvas, R, Margin, Spacing, Layout, Caption, fw,
                                                    hasGlyph ? Glyph->Height() : 0, Down);
    GlowGlyphAndCaption(Canvas, p, Caption, GlowColor, GlowSize, [&](TspBitmap* s, Integer g) {
        TBitmap frame(fw, Glyph->Height());
        frame.Canvas()->CopyRect(Rect(0, 0, fw, Glyph->Height()), Glyph->Canvas(),
                                 Rect(fw * (GlyphNum - 1), 0, fw * GlyphNum, Glyph->Height()));
        DrawBitmapGlyphSilhouette(s, &frame, g);
    });
    if (hasGlyph) DrawGlyphStripFrame(Canvas, p.GlyphX, p.GlyphY, Glyph, NumGlyphs, GlyphNum);
    if (DrawColorMarker) DrawColorMarkerOf(Canvas, p, R, !Caption.empty(), false, ColorMarkerValue);
}

void DrawListGlyphSilhouette(TspBitmap* Bmp, TCustomImageList* ImageList, Integer ImageIndex, Integer Offset) {
    if (!ImageList || ImageIndex < 0 || ImageIndex >= ImageList->Count()) return;
    if (auto* pngList = dynamic_cast<TspPngImageList*>(ImageList)) {
        DrawPngSilhouette(Bmp, pngList->PngImages()->GetItem(ImageIndex)->PngImage(), Offset);
        return;
    }
    TBitmap glyph;
    ImageList->GetBitmap(ImageIndex, &glyph);
    DrawBitmapGlyphSilhouette(Bmp, &glyph, Offset);
}

void DrawBitmapGlyphSilhouette(TspBitmap* Bmp, TBitmap* Glyph, Integer Offset) {
    if (!Glyph || Glyph->Empty()) return;
    TspBitmap g;
    g.Assign(Glyph);
    SilhouetteOf(Bmp, g, Offset);
}

void DrawPngSilhouette(TspBitmap* Bmp, TPngImage* Png, Integer Offset) {
    if (!Png || Png->Empty()) return;
    std::vector<uint32_t> row(static_cast<size_t>(Png->Width()));
    for (Integer y = 0; y < Png->Height(); ++y) {
        Png->ReadRow(y, row);
        for (Integer x = 0; x < Png->Width(); ++x) {
            const Integer bx = Offset + x, by = Offset + y;
            if ((row[x] >> 24) != 0 && bx >= 0 && by >= 0 && bx < Bmp->Width() && by < Bmp->Height())
                Bmp->SetPixel(bx, by, kRed);
        }
    }
    Bmp->CheckingAlphaBlend();
}

void CopyPngToSpBitmap(TspBitmap* Dest, TPngImage* Png) {
    Dest->SetSize(Png->Width(), Png->Height());
    std::vector<uint32_t> row(static_cast<size_t>(Png->Width()));
    for (Integer y = 0; y < Png->Height(); ++y) {
        Png->ReadRow(y, row);
        TspColor* out = Dest->GetScanLinePtr(y);
        for (Integer x = 0; x < Png->Width(); ++x) out[x] = row[x];
    }
    Dest->CheckingAlphaBlend();
}
