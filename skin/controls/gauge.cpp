#include "skin/controls/gauge.h"

#include <algorithm>
#include <cstdint>

#include "platform/gui/bitmap.h"
#include "skin/controls/control_helpers.h"
#include "skin/controls/foreign_paint.h"
#include "skin/core/control_records.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/rect_helpers.h"

namespace {

// ALength x (Value - Min) / (Max - Min), truncated, 0 for an empty range. In whole numbers, since the product
// in floating point falls just short of exact values (29 of 100 would show 28%).
Integer ScaledFraction(Integer ALength, Integer AValue, Integer AMin, Integer AMax)
{
    if (AMax == AMin) return 0;
    return static_cast<Integer>(int64_t(ALength) * (int64_t(AValue) - AMin) / (int64_t(AMax) - AMin));
}

constexpr TColor kPlainProgress = static_cast<TColor>(0xD2BDB6);

}  // namespace

TRect GaugeProgressRect(const TRect& R, Integer AValue, Integer AMin, Integer AMax, bool AVertical)
{
    TRect p = R;
    if (AVertical)
        p.Top = R.Bottom - ScaledFraction(R.Height(), AValue, AMin, AMax);
    else
        p.Right = R.Left + ScaledFraction(R.Width(), AValue, AMin, AMax);
    return p;
}

std::string GaugeText(Integer AValue, Integer AMin, Integer AMax, bool AShowProgressText,
                      const std::string& AProgressText, bool AShowPercent)
{
    std::string text = AShowProgressText ? AProgressText : std::string();
    if (AShowPercent)
        text += std::to_string(ScaledFraction(100, AValue, AMin, AMax)) + "%";
    return text;
}

TspSkinGauge::TspSkinGauge(TComponent* AOwner) : TspSkinCustomControl(AOwner)
{
    FSkinDataName = "gauge";
    SetBounds(Left(), Top(), 100, 20);
}

// ---- values ----

void TspSkinGauge::SetValue(Integer AValue)
{
    const Integer value = ClampToRange(AValue, FMinValue, FMaxValue);
    if (value == FValue) return;
    FValue = value;
    Invalidate();
}

void TspSkinGauge::SetMinValue(Integer AValue)
{
    FMinValue = AValue;
    if (FValue < FMinValue) FValue = FMinValue;
    Repaint();
}

void TspSkinGauge::SetMaxValue(Integer AValue)
{
    FMaxValue = AValue;
    if (FValue > FMaxValue) FValue = FMaxValue;
    Repaint();
}

void TspSkinGauge::SetVertical(bool AValue)
{
    FVertical = AValue;
    Repaint();
}

void TspSkinGauge::SetUseSkinSize(bool AValue)
{
    FUseSkinSize = AValue;
    if (FSD && !FSD->Empty) ChangeSkinData();
}

void TspSkinGauge::SetShowProgressText(bool AValue)
{
    FShowProgressText = AValue;
    Repaint();
}

void TspSkinGauge::SetProgressText(const std::string& AValue)
{
    FProgressText = AValue;
    Repaint();
}

void TspSkinGauge::SetShowPercent(bool AValue)
{
    FShowPercent = AValue;
    Repaint();
}

void TspSkinGauge::SetTextAlphaBlend(bool AValue)
{
    FTextAlphaBlend = AValue;
    if (Skinned() && TextShown()) Repaint();
}

void TspSkinGauge::SetTextAlphaBlendValue(Byte AValue)
{
    FTextAlphaBlendValue = AValue;
    if (Skinned() && FTextAlphaBlend && TextShown()) Repaint();
}

void TspSkinGauge::SetProgressAnimationPause(Integer AValue)
{
    if (AValue >= 0) FProgressAnimationPause = AValue;
}

// ---- skin and size ----

void TspSkinGauge::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* r = RecordAs<TspDataSkinGaugeControl>();
    if (!r) {
        FIndex = -1;  // no gauge record: the plain look
        return;
    }
    ProgressArea = r->ProgressArea;
    ProgressRect = r->ProgressRect;
    BeginOffset = r->BeginOffset;
    EndOffset = r->EndOffset;
    ProgressTransparent = r->ProgressTransparent;
    ProgressTransparentColor = r->ProgressTransparentColor;
    ProgressStretch = r->ProgressStretch;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    FVertical = r->Vertical;
    // A gauge stretched to any size has no window region.
    if (!FUseSkinSize) MaskPicture = nullptr;
}

void TspSkinGauge::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    Integer w = AWidth, h = AHeight;
    TspSkinCustomControl::FitSizeToSkin(w, h);
    if (FUseSkinSize) {
        AWidth = w;
        AHeight = h;
    }
    NewProgressArea = ProgressArea;
    if (ResizeMode > rmFixed) {
        if (FVertical)
            NewProgressArea.Bottom += AHeight - Pieces.SkinRect.Height();
        else
            NewProgressArea.Right += AWidth - Pieces.SkinRect.Width();
    }
}

TRect TspSkinGauge::CalcProgressRect(const TRect& R) const
{
    return GaugeProgressRect(R, FValue, FMinValue, FMaxValue, FVertical);
}

// ---- painting ----

void TspSkinGauge::DrawProgressText(TCanvas* ACanvas)
{
    const std::string text = GaugeText(FValue, FMinValue, FMaxValue, FShowProgressText, FProgressText, FShowPercent);
    if (text.empty()) return;
    TFont* font = ACanvas->Font();
    font->Assign(DefaultFont());
    if (Skinned()) {
        if (FUseSkinFont) {
            font->SetName(FontName);
            font->SetHeight(FontHeight);
            font->SetStyle(FontStyle);
        }
        font->SetColor(FontColor);
    }
    ACanvas->Brush()->SetStyle(bsClear);
    const TSize extent = ACanvas->TextExtent(text);
    if (!FVertical) {
        ACanvas->TextOut(Width() / 2 - extent.cx / 2, Height() / 2 - extent.cy / 2, text);
        return;
    }
    // Turned to run upwards.
    font->SetOrientation(900);
    ACanvas->TextOut(Width() / 2 - extent.cy / 2, Height() / 2 + extent.cx / 2, text);
    font->SetOrientation(0);
}

bool TspSkinGauge::DrawProgressStrip(TCanvas* ACanvas, const TRect& P)
{
    if (!Picture) return true;
    const TRect& s = ProgressRect;
    TBitmap strip(P.Width(), P.Height());
    TCanvas* sc = strip.Canvas();
    TCanvas* pc = Picture->Canvas();
    const Integer w = P.Width(), h = P.Height();
    if (!FVertical) {
        const TRect middle = Rect(s.Left + BeginOffset, s.Top, s.Right - EndOffset, s.Bottom);
        if (w - BeginOffset - EndOffset > 0) {
            if (middle.Width() <= 0) return false;
            const Integer end = w - EndOffset;
            if (ProgressStretch) {
                sc->CopyRect(Rect(BeginOffset, 0, end, h), pc, middle);
            } else {
                for (Integer x = BeginOffset; x < end; x += middle.Width()) {
                    const Integer part = std::min(middle.Width(), end - x);
                    sc->CopyRect(Rect(x, 0, x + part, h), pc,
                                 Rect(middle.Left, middle.Top, middle.Left + part, middle.Bottom));
                }
            }
        }
        sc->CopyRect(Rect(0, 0, BeginOffset, h), pc, Rect(s.Left, s.Top, s.Left + BeginOffset, s.Bottom));
        sc->CopyRect(Rect(w - EndOffset, 0, w, h), pc, Rect(s.Right - EndOffset, s.Top, s.Right, s.Bottom));
    } else {
        const TRect middle = Rect(s.Left, s.Top + BeginOffset, s.Right, s.Bottom - EndOffset);
        if (h - BeginOffset - EndOffset > 0) {
            if (middle.Height() <= 0) return false;
            const Integer end = h - EndOffset;
            if (ProgressStretch) {
                sc->CopyRect(Rect(0, BeginOffset, w, end), pc, middle);
            } else {
                // From the bottom end upwards; the last tile is cut at the top.
                for (Integer y = end; y > BeginOffset; y -= middle.Height()) {
                    const Integer part = std::min(middle.Height(), y - BeginOffset);
                    sc->CopyRect(Rect(0, y - part, w, y), pc,
                                 Rect(middle.Left, middle.Bottom - part, middle.Right, middle.Bottom));
                }
            }
        }
        sc->CopyRect(Rect(0, 0, w, BeginOffset), pc, Rect(s.Left, s.Top, s.Right, s.Top + BeginOffset));
        sc->CopyRect(Rect(0, h - EndOffset, w, h), pc, Rect(s.Left, s.Bottom - EndOffset, s.Right, s.Bottom));
    }
    if (ProgressTransparent) {
        strip.SetTransparentMode(tmFixed);
        strip.SetTransparentColor(ProgressTransparentColor);
        strip.SetTransparent(true);
    }
    ACanvas->Draw(P.Left, P.Top, &strip);
    return true;
}

void TspSkinGauge::DrawSkinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawSkinnedImage(B);
    TCanvas* c = B->Canvas();
    const TRect p = CalcProgressRect(NewProgressArea);
    if (OnGaugePaint) {
        OnGaugePaint(c, NewProgressArea, p);
        return;
    }
    if (p.Width() != 0 && p.Height() != 0 && !DrawProgressStrip(c, p)) return;
    if (!FUseSkinSize) return;  // Paint writes the text after stretching
    if (!FTextAlphaBlend || !TextShown()) {
        DrawProgressText(c);
        return;
    }
    auto plain = TspEffectBmp::CreateFromhWnd(B->Handle());
    DrawProgressText(c);
    auto withText = TspEffectBmp::CreateFromhWnd(B->Handle());
    withText->Morph(*plain, 1.0 - FTextAlphaBlendValue / 255.0);
    withText->Draw(c->Handle(), 0, 0);
}

void TspSkinGauge::DrawUnskinnedImage(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWindow);
    c->FillRect(all);
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(all);
    const TRect area = Rect(1, 1, Width() - 1, Height() - 1);
    const TRect p = CalcProgressRect(area);
    if (OnGaugePaint) {
        OnGaugePaint(c, area, p);
        return;
    }
    if (!IsEmptyRect(p)) {
        c->Brush()->SetColor(kPlainProgress);
        c->FillRect(p);
    }
    DrawProgressText(c);
}

void TspSkinGauge::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FUseSkinSize || !Skinned()) {
        TspSkinCustomControl::Paint();
        return;
    }
    FitCurrentSize();
    // The skin's picture at its own size (for a fixed one) or at the control's, stretched to the control.
    TBitmap picture(Width(), Height());
    DrawSkinnedImage(&picture);
    TBitmap image(Width(), Height());
    image.Canvas()->StretchDraw(Rect(0, 0, Width(), Height()), &picture);
    DrawProgressText(image.Canvas());
    PaintImage(&image);
}

void TspSkinGauge::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == win::WM_ERASEBKGND) {
        if (!FromWMPaint)
            PaintIntoForeignDC(Canvas(), reinterpret_cast<win::HDC>(AMessage.WParam), [this] { Paint(); });
        AMessage.Result = 1;
        return;
    }
    TspSkinCustomControl::WndProc(AMessage);
}
