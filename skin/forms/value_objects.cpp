#include "skin/forms/value_objects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gui/bitmap.h"
#include "platform/rtl/strings.h"
#include "skin/controls/button_look.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"

namespace {

// A value's share of the range; a range of no width (an invalid record) counts as its start.
double Share(Integer AValue, Integer AMin, Integer AMax)
{
    if (AMax == AMin) return 0;
    return static_cast<double>(AValue - AMin) / static_cast<double>(AMax - AMin);
}

TPoint ObjectPoint(const TRect& AObjectRect, Integer X, Integer Y)
{
    return {X - AObjectRect.Left, Y - AObjectRect.Top};
}

}  // namespace

// --- User object ---

void TspUserObject::Draw(TCanvas* Cnvs, bool /*UpDate*/) { Parent->DoObjectPaint(IDName, Cnvs, ObjectRect); }

// --- Track bar ---

TspSkinTrackBarObject::TspSkinTrackBarObject(TspCorvalis* AParent, TspDataSkinTrackBar* AData)
    : TspActiveSkinObject(AParent, AData)
{
    ButtonRect = AData->ButtonRect;
    ActiveButtonRect = AData->ActiveButtonRect;
    BeginPoint = AData->BeginPoint;
    EndPoint = AData->EndPoint;
    MinValue = AData->MinValue;
    MaxValue = AData->MaxValue;
    MouseDownChangeValue = AData->MouseDownChangeValue;
    ButtonTransparent = AData->ButtonTransparent;
    ButtonTransparentColor = AData->ButtonTransparentColor;
    TrackKind = std::abs(BeginPoint.Y - EndPoint.Y) >= std::abs(EndPoint.X - BeginPoint.X) ? tkVertical : tkHorizontal;
    FValue = MinValue;
    FButtonPos = FOldButtonPos = PlaceOfValue(FValue);
}

TPoint TspSkinTrackBarObject::PlaceOfValue(Integer AValue) const
{
    const double x = Share(AValue, MinValue, MaxValue);
    if (TrackKind == tkHorizontal) return {BeginPoint.X + RoundHalfEven(x * (EndPoint.X - BeginPoint.X)), BeginPoint.Y};
    return {BeginPoint.X, EndPoint.Y + RoundHalfEven((1 - x) * (BeginPoint.Y - EndPoint.Y))};
}

Integer TspSkinTrackBarObject::ValueOfPlace(TPoint P) const
{
    double x = 0;
    if (TrackKind == tkHorizontal) {
        if (EndPoint.X != BeginPoint.X)
            x = static_cast<double>(P.X - BeginPoint.X) / static_cast<double>(EndPoint.X - BeginPoint.X);
    } else if (BeginPoint.Y != EndPoint.Y) {
        x = 1 - static_cast<double>(P.Y - EndPoint.Y) / static_cast<double>(BeginPoint.Y - EndPoint.Y);
    }
    return MinValue + RoundHalfEven((MaxValue - MinValue) * x);
}

TRect TspSkinTrackBarObject::ButtonRectAt(TPoint C) const
{
    const Integer w = WidthOfRect(ButtonRect), h = HeightOfRect(ButtonRect);
    return Bounds(C.X - w / 2, C.Y - h / 2, w, h);
}

void TspSkinTrackBarObject::Changed()
{
    Parent->DoTrackBarChangeValue(IDName, FValue);
}

void TspSkinTrackBarObject::SetValue(Integer AValue)
{
    if (AValue == FValue) return;
    FValue = std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    FOldButtonPos = FButtonPos;
    FButtonPos = PlaceOfValue(FValue);
    Parent->DrawSkinObject(this);
    Changed();
}

void TspSkinTrackBarObject::SimplySetValue(Integer AValue)
{
    FValue = std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    FOldButtonPos = FButtonPos;
    FButtonPos = PlaceOfValue(FValue);
    Changed();
}

void TspSkinTrackBarObject::SetButtonPos(TPoint P)
{
    if (P == FButtonPos) return;
    FOldButtonPos = FButtonPos;
    FButtonPos = P;
    FValue = ValueOfPlace(P);
    Parent->DrawSkinObject(this);
    Changed();
}

void TspSkinTrackBarObject::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    const TPoint p = ObjectPoint(ObjectRect, X, Y);
    if (Button == mbLeft && PtInRect(ButtonRectAt(FButtonPos), p)) {
        MoveActive = true;
        FOldMPoint = p;
        if (!IsEmptyRect(ActiveButtonRect)) Parent->DrawSkinObject(this);
    } else if (Button == mbLeft && MouseDownChangeValue) {
        if (TrackKind == tkHorizontal)
            SetButtonPos({std::clamp(p.X, std::min(BeginPoint.X, EndPoint.X), std::max(BeginPoint.X, EndPoint.X)),
                          BeginPoint.Y});
        else
            SetButtonPos({BeginPoint.X,
                          std::clamp(p.Y, std::min(EndPoint.Y, BeginPoint.Y), std::max(EndPoint.Y, BeginPoint.Y))});
    }
    TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinTrackBarObject::MouseMove(Integer X, Integer Y)
{
    const TPoint p = ObjectPoint(ObjectRect, X, Y);
    if (MoveActive) {
        // Past either end the button stays at the last place reached inside the track.
        if (TrackKind == tkHorizontal) {
            const Integer nx = p.X + FButtonPos.X - FOldMPoint.X;
            if (nx >= BeginPoint.X && nx <= EndPoint.X) SetButtonPos({nx, FButtonPos.Y});
        } else {
            const Integer ny = p.Y + FButtonPos.Y - FOldMPoint.Y;
            if (ny >= EndPoint.Y && ny <= BeginPoint.Y) SetButtonPos({FButtonPos.X, ny});
        }
    }
    FOldMPoint = p;
    TspActiveSkinObject::MouseMove(X, Y);
}

void TspSkinTrackBarObject::MouseUp(Integer X, Integer Y, TMouseButton Button)
{
    if (Button == mbLeft && MoveActive) {
        MoveActive = false;
        if (!IsEmptyRect(ActiveButtonRect)) Parent->DrawSkinObject(this);
    }
    TspActiveSkinObject::MouseUp(X, Y, Button);
}

void TspSkinTrackBarObject::Draw(TCanvas* Cnvs, bool /*UpDate*/)
{
    if (!SkinLoaded() || !Picture) return;
    const Integer w = WidthOfRect(SkinRect), h = HeightOfRect(SkinRect);
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h, pf24bit);
    TCanvas* c = image.Canvas();
    c->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), SkinRect);
    if (!IsEmptyRect(ActiveSkinRect) && ActivePicture) {
        const TRect& a = ActiveSkinRect;
        const TRect& n = SkinRect;
        if (TrackKind == tkHorizontal) {
            const Integer x = std::clamp(FButtonPos.X, 0, w);
            c->CopyRect(Rect(0, 0, x, h), ActivePicture->Canvas(), Rect(a.Left, a.Top, a.Left + x, a.Top + h));
        } else {
            const Integer y = std::clamp(FButtonPos.Y, 0, h);
            c->CopyRect(Rect(0, 0, w, y), Picture->Canvas(), Rect(n.Left, n.Top, n.Left + w, n.Top + y));
            c->CopyRect(Rect(0, y, w, h), ActivePicture->Canvas(), Rect(a.Left, a.Top + y, a.Left + w, a.Top + h));
        }
    }
    const TRect part = MoveActive && !IsEmptyRect(ActiveButtonRect) ? ActiveButtonRect : ButtonRect;
    if (ActivePicture && !IsEmptyRect(part)) {
        TBitmap button(WidthOfRect(part), HeightOfRect(part), pf24bit);
        button.Canvas()->CopyRect(Rect(0, 0, button.Width(), button.Height()), ActivePicture->Canvas(), part);
        if (ButtonTransparent) {
            button.SetTransparentMode(tmFixed);
            button.SetTransparentColor(ButtonTransparentColor);
            button.SetTransparent(true);
        }
        const TRect at = ButtonRectAt(FButtonPos);
        c->Draw(at.Left, at.Top, &button);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

// --- Switch ---

TspSkinSwitchObject::TspSkinSwitchObject(TspCorvalis* AParent, TspDataSkinSwitch* AData)
    : TspActiveSkinObject(AParent, AData), FState(swsOff)
{
}

void TspSkinSwitchObject::SetState(TSwitchState Value)
{
    FState = Value;
    Active = Value == swsOn;
    RedrawState();
    Parent->DoSwitchChangeState(IDName, FState);
}

void TspSkinSwitchObject::SimpleSetState(TSwitchState Value)
{
    FState = Value;
    Active = Value == swsOn;
    if (Active) SetMorphKf(1);
}

void TspSkinSwitchObject::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    if (Button == mbLeft) SetState(FState == swsOn ? swsOff : swsOn);
    TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinSwitchObject::MouseEnter()
{
    // The look is the state, not the mouse: no hot look and no glow.
    FMouseIn = true;
    Parent->DoObjectMouseEnter(IDName);
}

void TspSkinSwitchObject::MouseLeave()
{
    FMouseIn = false;
    Parent->DoObjectMouseLeave(IDName);
}

// --- Gauge ---

TspSkinGaugeObject::TspSkinGaugeObject(TspCorvalis* AParent, TspDataSkinGauge* AData)
    : TspActiveSkinObject(AParent, AData)
{
    MinValue = AData->MinValue;
    MaxValue = AData->MaxValue;
    Kind = AData->Kind;
    FValue = MinValue;
    FProgressPos = FOldProgressPos = PlaceOfValue(FValue);
}

TPoint TspSkinGaugeObject::PlaceOfValue(Integer AValue) const
{
    const double x = Share(AValue, MinValue, MaxValue);
    if (Kind == gkHorizontal) return {RoundHalfEven(WidthOfRect(SkinRect) * x), 0};
    return {0, RoundHalfEven(HeightOfRect(SkinRect) * (1 - x))};
}

void TspSkinGaugeObject::SimplySetValue(Integer AValue)
{
    if (AValue == FValue) return;
    FValue = std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    FOldProgressPos = FProgressPos;
    FProgressPos = PlaceOfValue(FValue);
}

void TspSkinGaugeObject::SetValue(Integer AValue)
{
    SimplySetValue(AValue);
    Parent->DrawSkinObject(this);
}

void TspSkinGaugeObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!SkinLoaded() || !Picture) return;
    // The empty gauge is part of the frame picture.
    if (FValue == MinValue && !UpDate) return;
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h, pf24bit);
    TCanvas* c = image.Canvas();
    const TRect& n = SkinRect;
    const TRect& a = ActiveSkinRect;
    TCanvas* filled = ActivePicture && !IsEmptyRect(a) ? ActivePicture->Canvas() : nullptr;
    if (Kind == gkHorizontal) {
        const Integer x = std::clamp(FProgressPos.X, 0, w);
        c->CopyRect(Rect(x, 0, w, h), Picture->Canvas(), Rect(n.Left + x, n.Top, n.Left + w, n.Top + h));
        if (filled) c->CopyRect(Rect(0, 0, x, h), filled, Rect(a.Left, a.Top, a.Left + x, a.Top + h));
    } else {
        const Integer y = std::clamp(FProgressPos.Y, 0, h);
        c->CopyRect(Rect(0, 0, w, y), Picture->Canvas(), Rect(n.Left, n.Top, n.Left + w, n.Top + y));
        if (filled) c->CopyRect(Rect(0, y, w, h), filled, Rect(a.Left, a.Top + y, a.Left + w, a.Top + h));
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspSkinGaugeObject::MouseEnter() { FollowMouseQuietly(true); }

void TspSkinGaugeObject::MouseLeave() { FollowMouseQuietly(false); }

// --- Frame strips ---

TspSkinFrameObject::TspSkinFrameObject(TspCorvalis* AParent, TspDataSkinObject* AData, Integer ACountFrames,
                                       TFramesPlacement APlacement)
    : TspActiveSkinObject(AParent, AData), CountFrames(ACountFrames), FramesPlacement(APlacement)
{
    if (CountFrames <= 0) return;
    if (FramesPlacement == fpHorizontal) {
        FrameW = WidthOfRect(ActiveSkinRect) / CountFrames;
        FrameH = HeightOfRect(ActiveSkinRect);
    } else {
        FrameW = WidthOfRect(ActiveSkinRect);
        FrameH = HeightOfRect(ActiveSkinRect) / CountFrames;
    }
}

void TspSkinFrameObject::SetFrame(Integer Value)
{
    if (Value <= CountFrames) FFrame = Value;
    Parent->DrawSkinObject(this);
}

TRect TspSkinFrameObject::FrameRect(Integer AFrame) const
{
    if (FramesPlacement == fpHorizontal)
        return Bounds(ActiveSkinRect.Left + (AFrame - 1) * FrameW, ActiveSkinRect.Top, FrameW, FrameH);
    return Bounds(ActiveSkinRect.Left, ActiveSkinRect.Top + (AFrame - 1) * FrameH, FrameW, FrameH);
}

Integer TspSkinFrameObject::FrameFromValue(Integer AValue, Integer AMinValue, Integer AMaxValue) const
{
    if (CountFrames < 2) return 1;
    const Integer step = (AMaxValue - AMinValue) / (CountFrames - 1);
    if (step == 0) return 1;
    // A range that is no multiple of the frame count would run past the strip near its end: the last frame.
    return std::min(std::abs(AValue - AMinValue) / step + 1, CountFrames);
}

void TspSkinFrameObject::Draw(TCanvas* Cnvs, bool /*UpDate*/)
{
    if (!SkinLoaded() || FFrame < 1 || FrameW <= 0 || FrameH <= 0) return;
    CopyPart(Cnvs, ActivePicture, FrameRect(FFrame));
}

// --- Frame gauge ---

TspSkinFrameGaugeObject::TspSkinFrameGaugeObject(TspCorvalis* AParent, TspDataSkinFrameGaugeObject* AData)
    : TspSkinFrameObject(AParent, AData, AData->CountFrames, AData->FramesPlacement)
{
    MinValue = AData->MinValue;
    MaxValue = AData->MaxValue;
}

Integer TspSkinFrameGaugeObject::FrameFromValue() const
{
    return TspSkinFrameObject::FrameFromValue(FValue, MinValue, MaxValue);
}

void TspSkinFrameGaugeObject::SimplySetValue(Integer AValue)
{
    if (AValue != FValue && AValue >= MinValue && AValue <= MaxValue) FValue = AValue;
}

void TspSkinFrameGaugeObject::SetValue(Integer AValue)
{
    if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
    FValue = AValue;
    Parent->DrawSkinObject(this);
}

void TspSkinFrameGaugeObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    FFrame = FrameFromValue();
    TspSkinFrameObject::Draw(Cnvs, UpDate);
}

void TspSkinFrameGaugeObject::MouseEnter() { FollowMouseQuietly(true); }

void TspSkinFrameGaugeObject::MouseLeave() { FollowMouseQuietly(false); }

// --- Frame regulator ---

TspSkinFrameRegulatorObject::TspSkinFrameRegulatorObject(TspCorvalis* AParent,
                                                         TspDataSkinFrameRegulatorObject* AData)
    : TspSkinFrameObject(AParent, AData, AData->CountFrames, AData->FramesPlacement)
{
    MinValue = AData->MinValue;
    MaxValue = AData->MaxValue;
    Kind = AData->Kind;
    FValue = std::clamp(0, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
}

Integer TspSkinFrameRegulatorObject::FrameFromValue() const
{
    return TspSkinFrameObject::FrameFromValue(FValue, MinValue, MaxValue);
}

void TspSkinFrameRegulatorObject::SetValue(Integer AValue)
{
    if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
    FValue = AValue;
    Parent->DrawSkinObject(this);
    Parent->DoFrameRegulatorChangeValue(IDName, FValue);
}

void TspSkinFrameRegulatorObject::SimplySetValue(Integer AValue)
{
    if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
    FValue = AValue;
    Parent->DoFrameRegulatorChangeValue(IDName, FValue);
}

void TspSkinFrameRegulatorObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    FFrame = FrameFromValue();
    TspSkinFrameObject::Draw(Cnvs, UpDate);
}

Integer TspSkinFrameRegulatorObject::PointToAngle(Integer X, Integer Y) const
{
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    X = std::clamp(X, 0, std::max(w, 0));
    Y = std::clamp(Y, 0, std::max(h, 0));
    const Integer cx = w / 2, cy = h / 2;
    const double dx = cx - X, dy = cy - Y;
    const double d = std::sqrt(dx * dx + dy * dy);
    // The centre has no direction: the pointer stays where it was.
    if (d == 0) return OldCurV;
    double q = 0;
    if (X <= cx && Y < cy)
        q = 90;
    else if (X < cx && Y >= cy)
        q = 180;
    else if (X >= cx && Y > cy)
        q = 270;
    const double m = (q == 0 || q == 180) ? std::abs(dy) / d : std::abs(dx) / d;
    const auto a = static_cast<Integer>(std::trunc(q + std::asin(m) * 180 / std::numbers::pi));
    const Integer result = 270 - a;
    return result < 0 ? result + 360 : result;
}

Integer TspSkinFrameRegulatorObject::Measure(TPoint P) const
{
    switch (Kind) {
    case rkRound: return PointToAngle(P.X, P.Y);
    case rkHorizontal: return P.X;
    case rkVertical: return -P.Y;
    }
    return 0;
}

void TspSkinFrameRegulatorObject::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    const TPoint p = ObjectPoint(ObjectRect, X, Y);
    FDown = true;
    TempValue = FValue;
    OldCurV = StartV = Measure(p);
    TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinFrameRegulatorObject::MouseMove(Integer X, Integer Y)
{
    // Steps divide by the gaps between frames: a strip of fewer than two frames is not dragged.
    if (FDown && CountFrames >= 2) {
        CurV = Measure(ObjectPoint(ObjectRect, X, Y));
        if (Kind == rkRound)
            RoundRegulatorStep();
        else
            LinearRegulatorStep();
        OldCurV = CurV;
    }
    TspActiveSkinObject::MouseMove(X, Y);
}

void TspSkinFrameRegulatorObject::MouseUp(Integer X, Integer Y, TMouseButton Button)
{
    FDown = false;
    TspActiveSkinObject::MouseUp(X, Y, Button);
}

void TspSkinFrameRegulatorObject::Step(bool AGrow)
{
    StartV = CurV;
    TempValue = std::clamp(AGrow ? TempValue + FValInc : TempValue - FValInc, MinValue, MaxValue);
    SetValue(TempValue);
}

void TspSkinFrameRegulatorObject::LinearRegulatorStep()
{
    const Integer size = Kind == rkHorizontal ? FrameW : FrameH;
    FPixInc = std::max(size / (CountFrames - 1), 1);
    FValInc = std::max((MaxValue - MinValue) / (CountFrames - 1), 1);
    if (std::abs(CurV - StartV) < FPixInc) return;
    Step(CurV > StartV);
}

void TspSkinFrameRegulatorObject::RoundRegulatorStep()
{
    // One turn of the knob sweeps the strip once.
    FPixInc = std::max(360 / (CountFrames - 1), 1);
    FValInc = std::max((MaxValue - MinValue) / (CountFrames - 1), 1);
    Integer stepSize;
    bool grow;
    if (std::abs(CurV - OldCurV) > 300) {
        // The pointer crossed the line between 359 and 0 degrees.
        StartV = CurV;
        stepSize = FPixInc;
        grow = CurV < OldCurV;
    } else {
        stepSize = std::abs(CurV - StartV);
        grow = CurV >= StartV;
    }
    if (stepSize < FPixInc) return;
    Step(grow);
}

// --- Bit label ---

TspSkinBitLabelObject::TspSkinBitLabelObject(TspCorvalis* AParent, TspDataSkinBitLabel* AData)
    : TspActiveSkinObject(AParent, AData)
{
    FTextValue = AData->TextValue;
    SymbolWidth = AData->SymbolWidth;
    SymbolHeight = AData->SymbolHeight;
    Symbols = AData->Symbols.get();
    Transparent = AData->Transparent;
    TransparentColor = AData->TransparentColor;
}

void TspSkinBitLabelObject::SetTextValue(const std::string& AValue, bool AUpDate)
{
    FTextValue = AValue;
    if (AUpDate) Parent->DrawSkinObject(this);
}

bool TspSkinBitLabelObject::FindSymbol(char C, Integer& AColumn, Integer& ARow) const
{
    if (!Symbols) return false;
    for (Integer row = 0; row < Symbols->Count(); ++row) {
        const std::string line = Symbols->Strings(row);
        const auto at = line.find(C);
        if (at != std::string::npos) {
            AColumn = static_cast<Integer>(at);
            ARow = row;
            return true;
        }
    }
    return false;
}

void TspSkinBitLabelObject::Draw(TCanvas* Cnvs, bool /*UpDate*/)
{
    if (!SkinLoaded() || !Picture) return;
    const Integer w = WidthOfRect(SkinRect), h = HeightOfRect(SkinRect);
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h, pf24bit);
    TCanvas* c = image.Canvas();
    c->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), SkinRect);
    if (ActivePicture && SymbolWidth > 0 && SymbolHeight > 0) {
        for (size_t i = 1; i <= FTextValue.size(); ++i) {
            const Integer over = std::max(static_cast<Integer>(i) * SymbolWidth - w, 0);
            Integer column = 0, row = 0;
            if (!FindSymbol(FTextValue[i - 1], column, row)) continue;
            if (SymbolWidth - over > 0) {
                const Integer sx = ActiveSkinRect.Left + column * SymbolWidth;
                const Integer sy = ActiveSkinRect.Top + row * SymbolHeight;
                const Integer dx = static_cast<Integer>(i - 1) * SymbolWidth;
                c->CopyRect(Rect(dx, 0, dx + SymbolWidth - over, SymbolHeight), ActivePicture->Canvas(),
                            Rect(sx, sy, sx + SymbolWidth - over, sy + SymbolHeight));
            }
            if (over > 0) break;
        }
    }
    if (Transparent && SD->FPicture) {
        TBitmap under(w, h, pf24bit);
        under.Canvas()->CopyRect(Rect(0, 0, w, h), SD->FPicture->Canvas(), SkinRect);
        image.SetTransparentMode(tmFixed);
        image.SetTransparentColor(TransparentColor);
        image.SetTransparent(true);
        under.Canvas()->Draw(0, 0, &image);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &under);
        return;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

// --- Label ---

TspSkinLabelObject::TspSkinLabelObject(TspCorvalis* AParent, TspDataSkinLabel* AData)
    : TspActiveSkinObject(AParent, AData)
{
    FTextValue = AData->TextValue;
    FontName = AData->FontName;
    FontStyle = AData->FontStyle;
    FontHeight = AData->FontHeight;
    FontColor = AData->FontColor;
    ActiveFontColor = AData->ActiveFontColor;
    Alignment = AData->Alignment;
}

void TspSkinLabelObject::SetTextValue(const std::string& AValue, bool AUpDate)
{
    FTextValue = AValue;
    if (AUpDate) Parent->DrawSkinObject(this);
}

TPoint TspSkinLabelObject::TextOrigin(TCanvas* ACanvas) const
{
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    const TSize size = ACanvas->TextExtent(FTextValue);
    Integer x = 0;
    if (Alignment == taRightJustify)
        x = w - size.cx;
    else if (Alignment == taCenter)
        x = w / 2 - size.cx / 2;
    return {x, h / 2 - size.cy / 2};
}

void TspSkinLabelObject::PaintImage(TBitmap* AImage, bool AActivePicture, TColor AColor) const
{
    TCanvas* c = AImage->Canvas();
    const TRect all = Rect(0, 0, AImage->Width(), AImage->Height());
    TBitmap* picture = AActivePicture ? ActivePicture : Picture;
    if (picture) c->CopyRect(all, picture->Canvas(), AActivePicture ? ActiveSkinRect : SkinRect);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetName(FontName);
    c->Font()->SetStyle(FontStyle);
    c->Font()->SetHeight(FontHeight);
    c->Font()->SetColor(AColor);
    const TPoint at = TextOrigin(c);
    c->TextOut(at.X, at.Y, FTextValue);
}

void TspSkinLabelObject::Draw(TCanvas* Cnvs, bool /*UpDate*/)
{
    if (!SkinLoaded()) return;
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    if (w <= 0 || h <= 0) return;
    const bool activePicture = !IsEmptyRect(ActiveSkinRect) && ActivePicture;
    TBitmap image(w, h, pf24bit);
    if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
        DrawHotFadeFrame(&image, MorphKind, FMorphKf, [&](TBitmap* ATarget, bool AHot) {
            PaintImage(ATarget, AHot && activePicture, AHot ? ActiveFontColor : FontColor);
        });
    } else if (!Active) {
        PaintImage(&image, false, FontColor);
    } else if (!activePicture) {
        if (FontColor == ActiveFontColor) return;
        PaintImage(&image, false, ActiveFontColor);
    } else {
        PaintImage(&image, true, ActiveFontColor);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

bool TspSkinLabelObject::ChangesWhenActive() const
{
    return !IsEmptyRect(ActiveSkinRect) || FontColor != ActiveFontColor;
}

void TspSkinLabelObject::MouseEnter()
{
    FMouseIn = Active = true;
    if (ChangesWhenActive()) RedrawState();
    Parent->DoObjectMouseEnter(IDName);
}

void TspSkinLabelObject::MouseLeave()
{
    FMouseIn = Active = false;
    if (ChangesWhenActive()) RedrawState();
    Parent->DoObjectMouseLeave(IDName);
}

// --- The form's operations by name ---

namespace {

template <class T>
T* ObjectOf(TspCorvalis* AForm, const std::string& AIDName)
{
    const Integer i = AForm->GetIndex(AIDName);
    return i < 0 ? nullptr : dynamic_cast<T*>(AForm->Objects(i));
}

// The repainting setter, or the quiet one during a skin change.
template <class T>
void SetValueByName(TspCorvalis* AForm, const std::string& AIDName, Integer AValue, bool AQuiet)
{
    if (auto* o = ObjectOf<T>(AForm, AIDName)) {
        if (AQuiet)
            o->SimplySetValue(AValue);
        else
            o->SetValue(AValue);
    }
}

}  // namespace

Integer TspCorvalis::TrackBarGetValue(const std::string& AIDName)
{
    auto* o = ObjectOf<TspSkinTrackBarObject>(this, AIDName);
    return o ? o->Value() : 0;
}

void TspCorvalis::TrackBarSetValue(const std::string& AIDName, Integer AValue)
{
    SetValueByName<TspSkinTrackBarObject>(this, AIDName, AValue, FInChangeSkinData);
}

void TspCorvalis::GaugeSetValue(const std::string& AIDName, Integer AValue)
{
    SetValueByName<TspSkinGaugeObject>(this, AIDName, AValue, FInChangeSkinData);
}

void TspCorvalis::FrameGaugeSetValue(const std::string& AIDName, Integer AValue)
{
    SetValueByName<TspSkinFrameGaugeObject>(this, AIDName, AValue, FInChangeSkinData);
}

Integer TspCorvalis::FrameRegulatorGetValue(const std::string& AIDName)
{
    auto* o = ObjectOf<TspSkinFrameRegulatorObject>(this, AIDName);
    return o ? o->Value() : 0;
}

void TspCorvalis::FrameRegulatorSetValue(const std::string& AIDName, Integer AValue)
{
    SetValueByName<TspSkinFrameRegulatorObject>(this, AIDName, AValue, FInChangeSkinData);
}

void TspCorvalis::LabelSetText(const std::string& AIDName, const std::string& ATextValue)
{
    if (auto* o = ObjectOf<TspSkinLabelObject>(this, AIDName)) o->SetTextValue(ATextValue, !FInChangeSkinData);
}

void TspCorvalis::BitLabelSetText(const std::string& AIDName, const std::string& AValue)
{
    if (auto* o = ObjectOf<TspSkinBitLabelObject>(this, AIDName)) o->SetTextValue(AValue, !FInChangeSkinData);
}

void TspCorvalis::SwitchSetState(const std::string& AIDName, TSwitchState AState)
{
    if (auto* o = ObjectOf<TspSkinSwitchObject>(this, AIDName)) {
        if (FInChangeSkinData)
            o->SimpleSetState(AState);
        else
            o->SetState(AState);
    }
}

TSwitchState TspCorvalis::SwitchGetState(const std::string& AIDName)
{
    auto* o = ObjectOf<TspSkinSwitchObject>(this, AIDName);
    return o ? o->State() : swsOff;
}

void TspCorvalis::UserObjectDraw(const std::string& AIDName)
{
    if (auto* o = ObjectOf<TspUserObject>(this, AIDName)) DrawSkinObject(o);
}

void TspCorvalis::DoTrackBarChangeValue(const std::string& AIDName, Integer AValue)
{
    if (OnTrackBarChangeValueEvent) OnTrackBarChangeValueEvent(this, AIDName, AValue);
}

void TspCorvalis::DoSwitchChangeState(const std::string& AIDName, TSwitchState AState)
{
    if (OnSwitchChangeStateEvent) OnSwitchChangeStateEvent(this, AIDName, AState);
}

void TspCorvalis::DoFrameRegulatorChangeValue(const std::string& AIDName, Integer AValue)
{
    if (OnFrameRegulatorChangeValueEvent) OnFrameRegulatorChangeValueEvent(this, AIDName, AValue);
}

void TspCorvalis::DoObjectPaint(const std::string& AIDName, TCanvas* ACanvas, const TRect& AObjectRect)
{
    if (OnPaintEvent) OnPaintEvent(this, AIDName, ACanvas, AObjectRect);
}
