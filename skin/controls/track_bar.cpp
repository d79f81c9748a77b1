#include "skin/controls/track_bar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gui/bitmap.h"
#include "platform/gui/control_messages.h"
#include "platform/win/input.h"
#include "skin/controls/control_helpers.h"
#include "skin/controls/foreign_paint.h"
#include "skin/controls/plain_look.h"
#include "skin/core/control_records.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/rect_helpers.h"

TspTrackButtonPlace CalcTrackButton(const TRect& R, Integer AButtonWidth, Integer AButtonHeight, Integer AValue,
                                    Integer AMin, Integer AMax, bool AVertical)
{
    // The range may span every Integer: take the differences in doubles, where they cannot overflow.
    const double kf = AMax == AMin ? 0.0 : (double(AValue) - double(AMin)) / (double(AMax) - double(AMin));
    const Integer w = AButtonWidth, h = AButtonHeight;
    TspTrackButtonPlace p;
    if (!AVertical) {
        p.Offset1 = R.Left + w / 2;
        p.Offset2 = R.Right - w / 2;
        p.BOffset = RoundHalfEven((p.Offset2 - p.Offset1) * kf);
        const Integer left = p.Offset1 + p.BOffset - w / 2, top = R.Top + R.Height() / 2 - h / 2;
        p.BR = Rect(left, top, left + w, top + h);
    } else {
        p.Offset1 = R.Top + h / 2;
        p.Offset2 = R.Bottom - h / 2;
        p.BOffset = RoundHalfEven((p.Offset2 - p.Offset1) * kf);
        const Integer top = p.Offset2 - p.BOffset - h / 2, left = R.Left + R.Width() / 2 - w / 2;
        p.BR = Rect(left, top, left + w, top + h);
    }
    return p;
}

Integer TrackValueFromOffset(Integer AOffset, Integer AOffset1, Integer AOffset2, Integer AMin, Integer AMax)
{
    double f = AOffset2 > AOffset1 ? double(AOffset) / double(AOffset2 - AOffset1) : 0.0;
    f = std::clamp(f, 0.0, 1.0);
    const double span = double(AMax) - double(AMin);
    const double value = std::nearbyint(double(AMin) + span * f);
    return Integer(std::clamp(value, double(std::min(AMin, AMax)), double(std::max(AMin, AMax))));
}

TspSkinTrackBar::TspSkinTrackBar(TComponent* AOwner) : TspSkinCustomControl(AOwner)
{
    FSkinDataName = "htrackbar";
    SetBounds(Left(), Top(), 100, 20);
}

// ---- values ----

void TspSkinTrackBar::SetValue(Integer AValue)
{
    const Integer value = ClampToRange(AValue, FMinValue, FMaxValue);
    if (value == FValue) return;
    FValue = value;
    Repaint();
    if (OnChange) OnChange(this);
}

void TspSkinTrackBar::SetMinValue(Integer AValue)
{
    FMinValue = AValue;
    if (FValue < FMinValue) FValue = FMinValue;
    Repaint();
}

void TspSkinTrackBar::SetMaxValue(Integer AValue)
{
    FMaxValue = AValue;
    if (FValue > FMaxValue) FValue = FMaxValue;
    Repaint();
}

void TspSkinTrackBar::SetVertical(bool AValue)
{
    FVertical = AValue;
    Repaint();
}

void TspSkinTrackBar::SetCanFocused(bool AValue)
{
    FCanFocused = AValue;
    SetTabStop(AValue);
}

bool TspSkinTrackBar::HasFocus()
{
    return FCanFocused && HandleAllocated() && Focused();
}

// ---- skin and geometry ----

void TspSkinTrackBar::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* r = RecordAs<TspDataSkinTrackBarControl>();
    if (!r) {
        FIndex = -1;  // no track-bar record: the plain look
        return;
    }
    ActiveSkinRect = r->ActiveSkinRect;
    TrackArea = r->TrackArea;
    ButtonRect = r->ButtonRect;
    ActiveButtonRect = IsEmptyRect(r->ActiveButtonRect) ? r->ButtonRect : r->ActiveButtonRect;
    ButtonTransparent = r->ButtonTransparent;
    ButtonTransparentColor = r->ButtonTransparentColor;
    FVertical = r->Vertical;
}

void TspSkinTrackBar::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    TspSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
    NewTrackArea = TrackArea;
    if (ResizeMode > rmFixed) {
        if (FVertical)
            NewTrackArea.Bottom += AHeight - Pieces.SkinRect.Height();
        else
            NewTrackArea.Right += AWidth - Pieces.SkinRect.Width();
    }
}

const TspTrackButtonPlace& TspSkinTrackBar::ButtonPlace()
{
    GetSkinData();
    if (Skinned()) {
        FitCurrentSize();
        FPlace = CalcTrackButton(NewTrackArea, ButtonRect.Width(), ButtonRect.Height(), FValue, FMinValue,
                                 FMaxValue, FVertical);
    } else {
        const Integer w = FVertical ? Width() - 4 : (Height() - 4) / 2;
        const Integer h = FVertical ? (Width() - 4) / 2 : Height() - 4;
        FPlace = CalcTrackButton(Rect(2, 2, Width() - 2, Height() - 2), w, h, FValue, FMinValue, FMaxValue,
                                 FVertical);
    }
    return FPlace;
}

Integer TspSkinTrackBar::ValueFromOffset(Integer AOffset) const
{
    return TrackValueFromOffset(AOffset, FPlace.Offset1, FPlace.Offset2, FMinValue, FMaxValue);
}

// ---- mouse, keys and messages ----

void TspSkinTrackBar::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
    if (!FMouseSupport) return;
    const TRect br = ButtonPlace().BR;
    // The button's right and bottom edges count as on it.
    if (AX < br.Left || AX > br.Right || AY < br.Top || AY > br.Bottom) return;
    OMPos = FVertical ? AY : AX;
    OldBOffset = FPlace.BOffset;
    FDown = true;
    Repaint();
    if (OnStartDragButton) OnStartDragButton(this);
}

void TspSkinTrackBar::MouseMove(TShiftState AShift, int AX, int AY)
{
    if (FMouseSupport && FDown) {
        const Integer d = (FVertical ? OMPos - AY : AX - OMPos) + OldBOffset;
        SetValue(ValueFromOffset(d));
    }
    TspSkinCustomControl::MouseMove(AShift, AX, AY);
}

void TspSkinTrackBar::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
    if (!FMouseSupport) return;
    if (FDown) {
        FDown = false;
        Repaint();
        if (OnLastChange) OnLastChange(this);
        return;
    }
    if (!FJumpWhenClick) return;
    const TRect br = ButtonPlace().BR;
    // Offsets of a vertical slider count from the track's bottom end.
    Integer start = 2;
    if (Skinned()) start = FVertical ? Height() - NewTrackArea.Bottom : NewTrackArea.Left;
    const Integer d = FVertical ? Height() - AY - br.Height() / 2 - start : AX - br.Width() / 2 - start;
    SetValue(ValueFromOffset(d));
}

void TspSkinTrackBar::StepBy(Integer ADelta)
{
    SetValue(SaturatedAdd(FValue, ADelta));
    if (OnLastChange) OnLastChange(this);
}

void TspSkinTrackBar::KeyDown(win::WORD& AKey, TShiftState AShift)
{
    TspSkinCustomControl::KeyDown(AKey, AShift);
    if (!FCanFocused) return;
    switch (AKey) {
    case win::VK_LEFT:
    case win::VK_DOWN: StepBy(-1); break;
    case win::VK_UP:
    case win::VK_RIGHT: StepBy(1); break;
    default: break;
    }
}

void TspSkinTrackBar::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
        if (DropClickWithoutFocus(this, FCanFocused, Designing(), FClicksDisabled)) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case win::WM_MOUSEWHEEL:
        if (HasFocus()) {
            const bool away = win::GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0;
            // A vertical slider steps up for a wheel turned away, a horizontal one down.
            StepBy(FVertical == away ? 1 : -1);
            return;
        }
        break;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
        TspSkinCustomControl::WndProc(AMessage);
        if (FCanFocused) Repaint();
        return;
    case CM_WANTSPECIALKEY:
        if (FCanFocused) {
            const auto key = AMessage.WParam;
            if (key == win::VK_LEFT || key == win::VK_RIGHT || key == win::VK_UP || key == win::VK_DOWN) {
                AMessage.Result = 1;
                return;
            }
        }
        break;
    case win::WM_ERASEBKGND:
        if (!FromWMPaint)
            PaintIntoForeignDC(Canvas(), reinterpret_cast<win::HDC>(AMessage.WParam), [this] { Paint(); });
        AMessage.Result = 1;
        return;
    default: break;
    }
    TspSkinCustomControl::WndProc(AMessage);
}

// ---- painting ----

void TspSkinTrackBar::DrawSkinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawSkinnedImage(B);
    const TRect br = ButtonPlace().BR;
    TCanvas* c = B->Canvas();
    if (!IsEmptyRect(ActiveSkinRect) && Picture) {
        // The filled part runs from the value's start to the button's centre.
        TBitmap active(Width(), Height());
        CreateSkinImage(&active, Picture, ActiveSkinRect);
        if (FVertical) {
            const Integer y = br.Top + br.Height() / 2;
            c->CopyRect(Rect(0, y, B->Width(), B->Height()), active.Canvas(), Rect(0, y, B->Width(), B->Height()));
        } else {
            const Integer x = br.Left + br.Width() / 2;
            if (x > 0) c->CopyRect(Rect(0, 0, x, B->Height()), active.Canvas(), Rect(0, 0, x, B->Height()));
        }
    }
    if (!Picture || IsEmptyRect(br)) return;
    const TRect source = FDown || HasFocus() ? ActiveButtonRect : ButtonRect;
    TBitmap button(br.Width(), br.Height());
    button.Canvas()->CopyRect(Rect(0, 0, br.Width(), br.Height()), Picture->Canvas(), source);
    if (FAlphaBlend && !ButtonTransparent) {
        TBitmap beneath(br.Width(), br.Height());
        beneath.Canvas()->CopyRect(Rect(0, 0, br.Width(), br.Height()), c, br);
        auto own = TspEffectBmp::CreateFromhWnd(button.Handle());
        auto under = TspEffectBmp::CreateFromhWnd(beneath.Handle());
        own->Morph(*under, 1.0 - FAlphaBlendValue / 255.0);
        own->Draw(button.Canvas()->Handle(), 0, 0);
    } else if (ButtonTransparent) {
        button.SetTransparentMode(tmFixed);
        button.SetTransparentColor(ButtonTransparentColor);
        button.SetTransparent(true);
    }
    c->Draw(br.Left, br.Top, &button);
}

void TspSkinTrackBar::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawUnskinnedImage(B);
    TCanvas* c = B->Canvas();
    const Integer w = Width(), h = Height();
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, w, h));
    const TRect br = ButtonPlace().BR;
    const TRect groove = FVertical ? Rect(w / 2 - 1, 4, w / 2 + 1, h - 4) : Rect(4, h / 2 - 1, w - 4, h / 2 + 1);
    DrawFrame3D(c, groove, clBtnShadow, clBtnHighlight);
    const TspPartLook look = FDown ? TspPartLook::Pressed : HasFocus() ? TspPartLook::Hot : TspPartLook::Normal;
    DrawPlainPart(c, br, look);
}
