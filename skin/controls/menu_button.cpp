#include "skin/controls/menu_button.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/menus.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "skin/controls/drop_down_look.h"
#include "skin/controls/plain_look.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/layer_window.h"
#include "skin/core/rect_helpers.h"

namespace {

constexpr Integer kTrackWidth = kDropDownWidth;

void OffsetRect(TRect& R, Integer ADX, Integer ADY)
{
    R.Left += ADX;
    R.Right += ADX;
    R.Top += ADY;
    R.Bottom += ADY;
}

}  // namespace

TspSkinMenuButton::TspSkinMenuButton(TComponent* AOwner) : TspSkinButton(AOwner)
{
    FSkinDataName = "toolmenubutton";
    // Space opens the menu here, not the push button's press.
    FSpaceSupport = false;
}

void TspSkinMenuButton::SetTrackButtonMode(bool AValue)
{
    FTrackButtonMode = AValue;
    if (!Skinned()) Repaint();
}

bool TspSkinMenuButton::PlainRecordName() const
{
    return FSkinDataName == "resizebutton" || FSkinDataName == "resizetoolbutton" || FSkinDataName == "toolbutton" ||
           FSkinDataName == "bigtoolbutton";
}

void TspSkinMenuButton::GetSkinData()
{
    TspSkinButton::GetSkinData();
    if (auto* r = RecordAs<TspDataSkinMenuButtonControl>()) TrackButtonRect = r->TrackButtonRect;
}

TRect TspSkinMenuButton::TrackPartRect()
{
    if (Skinned() && !PlainRecordName()) {
        TRect r = TrackButtonRect;
        const Integer mode = CalcResizeMode(Pieces);
        if (mode == rmHorzStrip) OffsetRect(r, Width() - Pieces.SkinRect.Width(), 0);
        if (mode == rmVertStrip) OffsetRect(r, 0, Height() - Pieces.SkinRect.Height());
        // On a nine-piece picture the drop-down part goes where the picture's pieces put it.
        if (mode == rmNinePiece) r = MapSkinRect(TrackButtonRect);
        return r;
    }
    return Rect(Width() - kTrackWidth, 0, Width(), Height());
}

bool TspSkinMenuButton::InTrackPart(Integer AX, Integer AY)
{
    if (!FMenu) return false;
    if (!FTrackButtonMode) return true;
    return PointInsideRect(TrackPartRect(), TPoint{AX, AY});
}

void TspSkinMenuButton::TrackMenu()
{
    if (!FMenu) return;
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    const TPoint origin = ClientOrigin();
    const TRect screen = Rect(origin.X, origin.Y, origin.X + Width(), origin.Y + Height());
    if (FMenu->PopupFromRect(this, screen)) return;
    // No close notification will come: the button must not stay pressed.
    FMenuTracked = false;
    SetDown(false);
    Repaint();
}

void TspSkinMenuButton::MenuClosed()
{
    FMenuTracked = false;
    SetDown(false);
    TPoint cursor{};
    win::GetCursorPos(cursor);
    FMouseIn = HandleAllocated() && win::WindowFromPoint(cursor) == Handle();
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    if (FLayerManager->IsVisible && !FMouseIn) FLayerManager->Hide();
    Repaint();
}

void TspSkinMenuButton::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (AButton != mbLeft) {
        TspSkinButton::MouseDown(AButton, AShift, AX, AY);
        return;
    }
    FMenuTracked = InTrackPart(AX, AY);
    FMouseIn = true;
    if (!FMenuTracked) {
        TspSkinButton::MouseDown(AButton, AShift, AX, AY);
        return;
    }
    if (!FDown) SetDown(true);
    TrackMenu();
}

void TspSkinMenuButton::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (FMenuTracked) return;
    TspSkinButton::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinMenuButton::WndProc(TMessage& AMessage)
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
    case win::WM_KEYDOWN:
        if (FCanFocused && FMenu && AMessage.WParam == win::VK_SPACE) {
            if (!FTrackButtonMode) {
                FMenuTracked = true;
                SetDown(true);
                TrackMenu();
            }
            return;
        }
        break;
    case win::WM_KEYUP:
        // Only Space's release clicks; Enter already clicked on its press through the form.
        if (FCanFocused && FMenu && AMessage.WParam == win::VK_SPACE) {
            if (!FMenuTracked) {
                SetDown(false);
                if (OnClick) OnClick(this);
            }
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (!FTrackButtonMode && FMenu && IsAccel(static_cast<char32_t>(AMessage.WParam), Caption()) && CanFocus() &&
            FCanFocused) {
            SetFocus();
            FMenuTracked = true;
            SetDown(true);
            TrackMenu();
            AMessage.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TspSkinButton::WndProc(AMessage);
}

// ---- painting ----

void TspSkinMenuButton::DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    if (PlainRecordName()) {
        DrawDropDownLook(B);
        return;
    }
    if (FMenuTracked && FTrackButtonMode && !IsEmptyRect(TrackButtonRect) && !IsEmptyRect(Look.DownSkinRect) && Picture) {
        TspSkinButton::DrawStateImage(B, Look.ActiveSkinRect, false, true);
        TRect source = TrackButtonRect;
        OffsetRect(source, Look.DownSkinRect.Left, Look.DownSkinRect.Top);
        B->Canvas()->CopyRect(TrackPartRect(), Picture->Canvas(), source);
    } else {
        TspSkinButton::DrawStateImage(B, R, ADown, AMouseIn);
    }
    // The record's drop-down part carries the marker, whether it alone or the whole button opens the menu.
    if (!IsEmptyRect(TrackButtonRect)) {
        const bool pressed = (ADown && AMouseIn) || FMenuTracked;
        DrawTrackMarker(B->Canvas(), TrackPartRect(), pressed, AMouseIn,
                        pressed ? Look.DownFontColor : AMouseIn ? Look.ActiveFontColor : Look.FontColor);
    }
}

// A plain button record: the face in one or two parts, the caption beside the 15-pixel drop-down part and the
// marker in it. The state comes from the button itself, not from the picture the push button chose.
void TspSkinMenuButton::DrawDropDownLook(TBitmap* B)
{
    auto* record = RecordAs<TspDataSkinButtonControl>();
    if (!record) return;
    const bool pressedLook = FDown && FMouseIn;
    const TspButtonState state =
        pressedLook ? TspButtonState::Pressed : FMouseIn ? TspButtonState::Hot : TspButtonState::Normal;
    TspDropDownFace face;
    face.Split = FTrackButtonMode;
    face.Main = FTrackButtonMode && FMenuTracked ? TspButtonState::Hot : state;
    face.Drop = FTrackButtonMode && FMenuTracked ? TspButtonState::Pressed : state;
    DrawDropDownFace(B, FSD, *record, IsResizableDropDownName(FSkinDataName), face);
    TCanvas* c = B->Canvas();
    const Integer w = B->Width(), h = B->Height();
    ApplyStateFont(c, pressedLook, FMouseIn);
    if (Look.ShowFocus && HasFocus()) DrawDottedFocusRect(c, Fitted.NewClRect);
    DrawContent(c, Rect(0, 0, w - kDropDownWidth, h), pressedLook, FDown, FMouseIn);
    TRect marker = Rect(w - kDropDownWidth, 0, w, h);
    if (pressedLook || FMenuTracked) OffsetRect(marker, 2, 2);
    DrawTrackMarker(c, marker, pressedLook || FMenuTracked, FMouseIn,
                    FMenuTracked ? Look.DownFontColor : c->Font()->Color());
}

// The drop-down area's arrow: the record's marker picture for the state, centred in APart; the plain glyph in
// AGlyphColour when the skin has none.
void TspSkinMenuButton::DrawTrackMarker(TCanvas* ACanvas, const TRect& APart, bool APressed, bool AHot,
                                        TColor AGlyphColour)
{
    const TRect source = APressed ? Look.MenuMarkerDownRect : AHot ? Look.MenuMarkerActiveRect : Look.MenuMarkerRect;
    if (!Picture || IsEmptyRect(Look.MenuMarkerRect) || IsEmptyRect(source)) {
        DrawDropDownGlyph(ACanvas, APart, AGlyphColour);
        return;
    }
    TBitmap marker(source.Width(), source.Height());
    marker.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), Picture->Canvas(), source);
    marker.SetTransparent(true);
    marker.SetTransparentColor(Look.MenuMarkerTransparentColor);
    ACanvas->Draw(APart.Left + APart.Width() / 2 - source.Width() / 2,
                  APart.Top + APart.Height() / 2 - source.Height() / 2, &marker);
}

void TspSkinMenuButton::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawUnskinnedImage(B);
    TCanvas* c = B->Canvas();
    const Integer w = Width(), h = Height();
    const bool pressed = FDown && FMouseIn;
    const bool hot = FMouseIn || HasFocus();
    bool shift = false;
    if (FTrackButtonMode) {
        const TRect main = Rect(0, 0, w - kTrackWidth, h), drop = Rect(w - kTrackWidth, 0, w, h);
        if (FMenuTracked) {
            DrawPlainFace(c, main, false, true);
            DrawPlainFace(c, drop, true, true);
        } else {
            DrawPlainFace(c, main, pressed, hot);
            DrawPlainFace(c, drop, pressed, hot);
            shift = pressed;
        }
    } else {
        DrawPlainFace(c, Rect(0, 0, w, h), pressed, hot);
    }
    ApplyStateFont(c, FDown, FMouseIn);
    DrawContent(c, Rect(0, 0, w - kTrackWidth, h), shift, FDown, FMouseIn);
    TRect marker = Rect(w - kTrackWidth, 0, w, h);
    if (pressed || FMenuTracked) OffsetRect(marker, 2, 2);
    DrawDropDownGlyph(c, marker, clBtnText);
}
