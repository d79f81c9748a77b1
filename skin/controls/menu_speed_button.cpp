#include "skin/controls/menu_speed_button.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/controls/button_record.h"
#include "skin/controls/drop_down_look.h"
#include "skin/controls/skin_geometry.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_records.h"

namespace {

constexpr Integer kStrip = kDropDownWidth;

TRect Moved(TRect R, Integer ADX, Integer ADY)
{
    R.Left += ADX;
    R.Right += ADX;
    R.Top += ADY;
    R.Bottom += ADY;
    return R;
}

}  // namespace

TspSkinMenuSpeedButton::TspSkinMenuSpeedButton(TComponent* AOwner) : TspSkinSpeedButton(AOwner)
{
    FSkinDataName = "toolmenubutton";
}

void TspSkinMenuSpeedButton::SetTrackButtonMode(bool AValue)
{
    FTrackButtonMode = AValue;
    if (!Skinned()) Repaint();
}

void TspSkinMenuSpeedButton::SetNewStyle(bool AValue)
{
    FNewStyle = AValue;
    if (AValue) SetSkinDataName("resizetoolbutton");
}

void TspSkinMenuSpeedButton::SetTrackPosition(TspTrackPosition AValue)
{
    FTrackPosition = AValue;
    Repaint();
}

bool TspSkinMenuSpeedButton::PlainRecordName() const
{
    return FSkinDataName == "resizebutton" || FSkinDataName == "toolbutton" || FSkinDataName == "bigtoolbutton" ||
           FSkinDataName == "resizetoolbutton";
}

void TspSkinMenuSpeedButton::GetSkinData()
{
    TspSkinSpeedButton::GetSkinData();
    if (auto* r = RecordAs<TspDataSkinMenuButtonControl>()) TrackButtonRect = r->TrackButtonRect;
}

TRect TspSkinMenuSpeedButton::StripRect() const
{
    const Integer w = const_cast<TspSkinMenuSpeedButton*>(this)->Width();
    const Integer h = const_cast<TspSkinMenuSpeedButton*>(this)->Height();
    return BottomStrip() ? Rect(0, h - kStrip, w, h) : Rect(w - kStrip, 0, w, h);
}

TRect TspSkinMenuSpeedButton::MainRect() const
{
    const TRect strip = StripRect();
    const Integer w = const_cast<TspSkinMenuSpeedButton*>(this)->Width();
    const Integer h = const_cast<TspSkinMenuSpeedButton*>(this)->Height();
    return BottomStrip() ? Rect(0, 0, w, strip.Top) : Rect(0, 0, strip.Left, h);
}

bool TspSkinMenuSpeedButton::InTrackPart(Integer AX, Integer AY)
{
    if (!FMenu) return false;
    if (!FTrackButtonMode) return true;
    return PointInsideRect(TrackPartRect(), TPoint{AX, AY});
}

TRect TspSkinMenuSpeedButton::TrackPartRect()
{
    if (!Skinned() || PlainRecordName()) return StripRect();
    const Integer mode = CalcResizeMode(Pieces);
    if (mode == rmHorzStrip) return Moved(TrackButtonRect, Width() - Pieces.SkinRect.Width(), 0);
    if (mode == rmVertStrip) return Moved(TrackButtonRect, 0, Height() - Pieces.SkinRect.Height());
    // On a nine-piece picture the drop-down part goes where the picture's pieces put it.
    if (mode == rmNinePiece) return ::MapSkinRect(mode, Pieces, TrackButtonRect, Width(), Height());
    return TrackButtonRect;
}

void TspSkinMenuSpeedButton::TrackMenu()
{
    if (!FMenu) return;
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    const TPoint origin = ClientOrigin();
    if (FMenu->PopupFromRect(this, Rect(origin.X, origin.Y, origin.X + Width(), origin.Y + Height()))) return;
    // No close notification will come: the button must not stay pressed.
    FMenuTracked = false;
    SetDown(false);
}

void TspSkinMenuSpeedButton::MenuClosed()
{
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    Repaint();
}

void TspSkinMenuSpeedButton::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (AButton == mbLeft) {
        FMenuTracked = InTrackPart(AX, AY);
        FMouseIn = true;
        if (FMenuTracked) {
            if (!FDown) SetDown(true);
            TrackMenu();
            return;
        }
    }
    TspSkinSpeedButton::MouseDown(AButton, AShift, AX, AY);
}

void TspSkinMenuSpeedButton::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (FMenuTracked) return;
    TspSkinSpeedButton::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinMenuSpeedButton::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case SKM_CLOSEMENU: MenuClosed(); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (Designing()) return;
        if (FMenuTracked) {
            FMouseIn = AMessage.Msg == CM_MOUSEENTER;
            return;
        }
        break;
    default: break;
    }
    TspSkinSpeedButton::WndProc(AMessage);
}

// ---- painting ----

void TspSkinMenuSpeedButton::DrawMarker(TCanvas* ACanvas, TRect R, TColor AColor, bool APressed, bool AHot)
{
    if (FDrawStandardArrow) {
        DrawArrowGlyph(ACanvas, R, AColor, FArrowType);
        return;
    }
    TBitmap* picture = Skinned() ? Picture : nullptr;
    const TRect source = APressed ? Look.MenuMarkerDownRect : AHot ? Look.MenuMarkerActiveRect : Look.MenuMarkerRect;
    if (!picture || IsEmptyRect(Look.MenuMarkerRect) || IsEmptyRect(source)) {
        DrawDropDownGlyph(ACanvas, R, FMenuTracked && Skinned() ? Look.DownFontColor : AColor);
        return;
    }
    TBitmap marker(source.Width(), source.Height());
    marker.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), picture->Canvas(), source);
    marker.SetTransparent(true);
    marker.SetTransparentColor(Look.MenuMarkerTransparentColor);
    ACanvas->Draw(R.Left + R.Width() / 2 - source.Width() / 2, R.Top + R.Height() / 2 - source.Height() / 2,
                  &marker);
}

void TspSkinMenuSpeedButton::Paint()
{
    if (FMouseIn || FDown || FMenuTracked || !FFlat) {
        TspSkinSpeedButton::Paint();
        return;
    }
    // The flat look: content and marker straight on the parent.
    GetSkinData();
    FitCurrentSize();
    TCanvas* c = Canvas();
    const bool ownRect = Skinned() && !PlainRecordName();
    const TRect text = ownRect ? Fitted.NewClRect : MainRect();
    const TRect marker = ownRect ? Rect(text.Right, text.Top, Width(), text.Bottom) : StripRect();
    TFont* font = c->Font();
    if (FUseSkinFont && Skinned()) {
        font->SetName(Look.FontName);
        font->SetHeight(Look.FontHeight);
        font->SetStyle(Look.FontStyle);
    } else {
        font->Assign(DefaultFont());
    }
    const TspSkinColors* colors = Skinned() && FSD ? FSD->FSkinColors.get() : nullptr;
    if (colors && Enabled()) font->SetColor(FUseSkinFontColor ? colors->FcBtnText : DefaultFont()->Color());
    if (!Enabled()) font->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    DrawContent(c, text, false, false, true);
    TBitmap* picture = Skinned() ? Picture : nullptr;
    if (picture && !IsEmptyRect(Look.MenuMarkerFlatRect)) {
        const TRect s = Look.MenuMarkerFlatRect;
        TBitmap m(s.Width(), s.Height());
        m.Canvas()->CopyRect(Rect(0, 0, s.Width(), s.Height()), picture->Canvas(), s);
        m.SetTransparent(true);
        m.SetTransparentColor(Look.MenuMarkerTransparentColor);
        c->Draw(marker.Left + marker.Width() / 2 - s.Width() / 2, marker.Top + marker.Height() / 2 - s.Height() / 2,
                &m);
    } else {
        DrawDropDownGlyph(c, marker, colors ? colors->FcBtnText : clBtnText);
    }
}

void TspSkinMenuSpeedButton::DrawNewStyle(TBitmap* B, bool ADown, bool AMouseIn)
{
    TspDataSkinButtonControl* main = FindButtonRecord(FSD, {"resizetoolbutton", "resizebutton"});
    if (!main) return;  // a skin without either record leaves the button blank
    const bool split = FTrackButtonMode && AMouseIn;
    TspDataSkinButtonControl* track =
        split ? FindButtonRecord(FSD, {BottomStrip() ? "htracktoolbutton" : "vtracktoolbutton"}) : nullptr;
    const TRect strip = StripRect();
    const TRect mainPart = split && !track ? MainRect() : Rect(0, 0, Width(), Height());
    const bool mainPressed = ADown && AMouseIn && !(FMenuTracked && FTrackButtonMode);
    TBitmap part;
    ComposeButtonRecord(FSD, *main,
                        mainPressed ? TspButtonState::Pressed : AMouseIn ? TspButtonState::Hot : TspButtonState::Normal,
                        mainPart.Width(), mainPart.Height(), &part);
    B->Canvas()->Draw(mainPart.Left, mainPart.Top, &part);
    if (split) {
        ComposeButtonRecord(FSD, track ? *track : *main,
                            FMenuTracked ? TspButtonState::Pressed : TspButtonState::Hot, strip.Width(),
                            strip.Height(), &part);
        B->Canvas()->Draw(strip.Left, strip.Top, &part);
    }
    TCanvas* c = B->Canvas();
    // The caption takes the colour of the state its part is drawn in: while the menu is open that part stays
    // hot, and the pressed colour (meant for the dark pressed face) would not read on it.
    ApplyStateFont(c, mainPressed, AMouseIn);
    DrawContent(c, MainRect(), mainPressed, AMouseIn, false);
    DrawMarker(c, strip, c->Font()->Color(), FMenuTracked, AMouseIn);
}

void TspSkinMenuSpeedButton::DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (FNewStyle && FSkinDataName == "resizetoolbutton") {
        DrawNewStyle(B, ADown, AMouseIn);
        return;
    }
    if (PlainRecordName()) {
        DrawDropDownLook(B, ADown, AMouseIn);
        return;
    }
    if (FMenuTracked && FTrackButtonMode && !IsEmptyRect(TrackButtonRect) && !IsEmptyRect(Look.DownSkinRect) && Picture) {
        TspSkinSpeedButton::DrawStateImage(B, Look.ActiveSkinRect, false, true);
        B->Canvas()->CopyRect(TrackPartRect(), Picture->Canvas(),
                              Moved(TrackButtonRect, Look.DownSkinRect.Left, Look.DownSkinRect.Top));
    } else {
        TspSkinSpeedButton::DrawStateImage(B, R, ADown, AMouseIn);
    }
    // The record's drop-down part carries the marker, whether it alone or the whole button opens the menu.
    if (!IsEmptyRect(TrackButtonRect)) {
        const bool pressed = (ADown && AMouseIn) || FMenuTracked;
        DrawMarker(B->Canvas(), TrackPartRect(), pressed ? Look.DownFontColor : AMouseIn ? Look.ActiveFontColor
                                                                                         : Look.FontColor,
                   pressed, AMouseIn);
    }
}

// A plain button record: the face in one or two parts from the call's state, the caption beside the 15-pixel
// drop-down part and the marker in it, which never moves. A flat button at rest has no face.
void TspSkinMenuSpeedButton::DrawDropDownLook(TBitmap* B, bool ADown, bool AMouseIn)
{
    auto* record = RecordAs<TspDataSkinButtonControl>();
    if (!record) return;
    const bool pressedLook = ADown && AMouseIn;
    const TspButtonState state =
        pressedLook ? TspButtonState::Pressed : AMouseIn ? TspButtonState::Hot : TspButtonState::Normal;
    if (FMenuTracked || !FFlat || state != TspButtonState::Normal) {
        TspDropDownFace face;
        face.Split = FTrackButtonMode;
        face.Main = FTrackButtonMode && FMenuTracked ? TspButtonState::Hot : state;
        face.Drop = FTrackButtonMode && FMenuTracked ? TspButtonState::Pressed : state;
        DrawDropDownFace(B, FSD, *record, IsResizableDropDownName(FSkinDataName), face);
    }
    TCanvas* c = B->Canvas();
    const Integer w = B->Width(), h = B->Height();
    ApplyStateFont(c, pressedLook, AMouseIn);
    DrawContent(c, Rect(0, 0, w - kStrip, h), pressedLook, AMouseIn, false);
    DrawMarker(c, Rect(w - kStrip, 0, w, h), FMenuTracked ? Look.DownFontColor : c->Font()->Color(),
               pressedLook || FMenuTracked, AMouseIn);
}

void TspSkinMenuSpeedButton::DrawUnskinnedImage(TBitmap* B)
{
    TspGraphicSkinCustomControl::DrawUnskinnedImage(B);
    TCanvas* c = B->Canvas();
    const bool hot = FMouseIn;
    const bool pressed = FDown && FMouseIn;
    const auto look = [&](bool APressed, bool AHot) {
        return APressed ? TspPartLook::Pressed : AHot ? TspPartLook::Hot : TspPartLook::Normal;
    };
    const bool split = FTrackButtonMode && (!FNewStyle || hot);
    if (FFlat && !hot && !FMenuTracked) {
        // Only the face colour, no frames.
    } else if (split) {
        DrawPlainPart(c, MainRect(), FMenuTracked ? TspPartLook::Hot : look(pressed, hot));
        DrawPlainPart(c, StripRect(), FMenuTracked ? TspPartLook::Pressed : look(pressed && !FNewStyle, hot));
    } else {
        DrawPlainPart(c, Rect(0, 0, Width(), Height()), look(pressed, hot));
    }
    ApplyStateFont(c, FDown, FMouseIn);
    DrawContent(c, MainRect(), FDown, FMouseIn, false);
    TRect marker = StripRect();
    if (!FNewStyle && (pressed || FMenuTracked)) marker = Moved(marker, 2, 2);
    if (FDrawStandardArrow)
        DrawArrowGlyph(c, marker, clBtnText, FArrowType);
    else
        DrawDropDownGlyph(c, marker, clBtnText);
}
