#include "skin/controls/up_down.h"

#include "platform/gui/bitmap.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"

namespace {

constexpr win::UINT kFirstDelayMs = 500;
constexpr win::UINT kRepeatMs = 100;
constexpr win::UINT kResumeMs = 50;

TRect FallBack(const TRect& AValue, const TRect& AFallBack)
{
    return IsEmptyRect(AValue) ? AFallBack : AValue;
}

}  // namespace

TspSkinUpDownBase::TspSkinUpDownBase(TComponent* AOwner, Integer AWidth, Integer AHeight, bool AInteger)
    : TspSkinCustomControl(AOwner), FRepeat([this] { return HandleAllocated() ? Handle() : nullptr; }),
      FInteger(AInteger)
{
    FSkinDataName = "hupdown";
    SetBounds(Left(), Top(), AWidth, AHeight);
    LayoutButtons();
}

TspSkinUpDownBase::~TspSkinUpDownBase()
{
    FRepeat.Stop();
}

// ---- values ----

void TspSkinUpDownBase::SetUseSkinSize(bool AValue)
{
    FUseSkinSize = AValue;
    LayoutButtons();
    Repaint();
}

void TspSkinUpDownBase::SetOrientation(TUDOrientation AValue)
{
    FOrientation = AValue;
    LayoutButtons();
    Repaint();
}

void TspSkinUpDownBase::SetPosition(Integer AValue)
{
    if (AValue > FMax || AValue < FMin) return;
    FPosition = AValue;
    if (OnChange && !Designing()) OnChange(this);
}

void TspSkinUpDownBase::SetMin(Integer AValue)
{
    FMin = AValue;
    if (FPosition < FMin) FPosition = FMin;
}

void TspSkinUpDownBase::SetMax(Integer AValue)
{
    FMax = AValue;
    if (FPosition > FMax) FPosition = FMax;
}

// ---- skin and layout ----

void TspSkinUpDownBase::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    if (auto* r = RecordAs<TspDataSkinUpDownControl>()) {
        UpButtonRect = r->UpButtonRect;
        ActiveUpButtonRect = r->ActiveUpButtonRect;
        DownUpButtonRect = FallBack(r->DownUpButtonRect, r->ActiveUpButtonRect);
        DownButtonRect = r->DownButtonRect;
        ActiveDownButtonRect = r->ActiveDownButtonRect;
        DownDownButtonRect = FallBack(r->DownDownButtonRect, r->ActiveDownButtonRect);
        // The picture is one fixed piece; the record itself keeps its values.
        Pieces.LTPt = Pieces.RTPt = Pieces.LBPt = Pieces.RBPt = TPoint{0, 0};
        Pieces.ClRect = TRect{};
    }
    LayoutButtons();
}

void TspSkinUpDownBase::LayoutButtons()
{
    if (!UsesButtonRecord() && Skinned()) {
        Buttons[0].R = UpButtonRect;
        Buttons[1].R = DownButtonRect;
        return;
    }
    const Integer w = Width(), h = Height();
    if (FOrientation == udVertical) {
        Buttons[0].R = Rect(0, 0, w, h / 2);
        Buttons[1].R = Rect(0, h / 2, w, h);
    } else {
        Buttons[1].R = Rect(0, 0, w / 2, h);
        Buttons[0].R = Rect(w / 2, 0, w, h);
    }
}

// ---- mouse and repeat ----

void TspSkinUpDownBase::TrackMouse(int AX, int AY)
{
    FOldActiveButton = FActiveButton;
    FActiveButton = -1;
    for (Integer i = 0; i < 2 && FActiveButton == -1; ++i)
        if (PointInsideRect(Buttons[i].R, TPoint{AX, AY})) FActiveButton = i;
    if (FCaptureButton != -1 && FActiveButton != FCaptureButton) FActiveButton = -1;
    if (FActiveButton == FOldActiveButton) return;
    if (FOldActiveButton != -1) LeaveButton(FOldActiveButton);
    if (FActiveButton != -1) EnterButton(FActiveButton);
}

void TspSkinUpDownBase::EnterButton(Integer AButton)
{
    const Integer other = 1 - AButton;
    Buttons[other].MouseIn = false;
    FOldActiveButton = other;
    Buttons[AButton].MouseIn = true;
    Repaint();
    if (FIncrement != 0 && Buttons[AButton].Down) FRepeat.Resume(kResumeMs);
}

void TspSkinUpDownBase::LeaveButton(Integer AButton)
{
    Buttons[AButton].MouseIn = false;
    Repaint();
    if (FIncrement != 0 && Buttons[AButton].Down) FRepeat.Pause();
}

void TspSkinUpDownBase::PressButton(Integer AButton)
{
    Buttons[AButton].MouseIn = true;
    Buttons[AButton].Down = true;
    Repaint();
    if (FIncrement == 0) return;
    FTimerMode = AButton == 0 ? 2 : 1;
    FRepeat.Start(kFirstDelayMs);
}

void TspSkinUpDownBase::ReleaseButton(Integer AButton)
{
    if (FIncrement != 0) {
        FRepeat.Stop();
        FTimerMode = 0;
    }
    TButton& button = Buttons[AButton];
    button.Down = false;
    if (AButton != FActiveButton) button.MouseIn = false;
    Repaint();
    if (FInteger && !button.MouseIn) return;
    if (AButton == 0) {
        if (FIncrement != 0) SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick) OnUpButtonClick(this);
    } else {
        if (FIncrement != 0) SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick) OnDownButtonClick(this);
    }
}

void TspSkinUpDownBase::RepeatTick()
{
    if (!FRepeat.Tick(kRepeatMs)) return;
    if (FTimerMode == 1) {
        SetPosition(FPosition - FIncrement);
        AutoStepped(false);
    } else if (FTimerMode == 2) {
        SetPosition(FPosition + FIncrement);
        AutoStepped(true);
    }
}

void TspSkinUpDownBase::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TrackMouse(AX, AY);
    FOldActiveButton = FActiveButton == 0 ? 1 : 0;
    Buttons[FOldActiveButton].MouseIn = false;
    if (FActiveButton != -1) {
        FCaptureButton = FActiveButton;
        PressButton(FActiveButton);
    }
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
}

void TspSkinUpDownBase::MouseMove(TShiftState AShift, int AX, int AY)
{
    TrackMouse(AX, AY);
    TspSkinCustomControl::MouseMove(AShift, AX, AY);
}

void TspSkinUpDownBase::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (FCaptureButton != -1) ReleaseButton(FCaptureButton);
    FCaptureButton = -1;
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinUpDownBase::ClearHot()
{
    for (TButton& button : Buttons)
        if (button.MouseIn) {
            button.MouseIn = false;
            Repaint();
        }
}

void TspSkinUpDownBase::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_SIZE:
        TspSkinCustomControl::WndProc(AMessage);
        LayoutButtons();
        return;
    case win::WM_TIMER:
        TspSkinCustomControl::WndProc(AMessage);
        if (AMessage.WParam == FRepeat.Id()) RepeatTick();
        return;
    case CM_MOUSEENTER:
        ForgetActiveButtons();
        TspSkinCustomControl::WndProc(AMessage);
        return;
    case CM_MOUSELEAVE:
        TspSkinCustomControl::WndProc(AMessage);
        ClearHot();
        return;
    default: TspSkinCustomControl::WndProc(AMessage);
    }
}

// ---- painting ----

TspButtonState TspSkinUpDownBase::StateOf(Integer AButton) const
{
    const TButton& b = Buttons[AButton];
    if (b.Down && b.MouseIn) return TspButtonState::Pressed;
    return b.MouseIn ? TspButtonState::Hot : TspButtonState::Normal;
}

Integer TspSkinUpDownBase::ArrowKind(Integer AButton) const
{
    constexpr Integer left = 1, right = 2, up = 3, down = 4;
    if (FOrientation == udVertical) return AButton == 0 ? up : down;
    return AButton == 0 ? right : left;
}

void TspSkinUpDownBase::DrawUnskinnedImage(TBitmap* B)
{
    LayoutButtons();
    for (Integer i = 0; i < 2; ++i)
        DrawPlainArrowButton(B->Canvas(), Buttons[i].R, PartLookOf(Buttons[i].Down, Buttons[i].MouseIn),
                             ArrowKind(i));
}

void TspSkinUpDownBase::DrawSkinnedImage(TBitmap* B)
{
    if (UsesButtonRecord()) {
        for (Integer i = 0; i < 2; ++i) DrawButtonFromRecord(B->Canvas(), i);
        return;
    }
    TspSkinCustomControl::DrawSkinnedImage(B);
    for (Integer i = 0; i < 2; ++i) DrawButtonState(B->Canvas(), i);
}

void TspSkinUpDownBase::DrawButtonState(TCanvas* ACanvas, Integer AButton)
{
    const TspButtonState state = StateOf(AButton);
    TRect source;
    if (state == TspButtonState::Pressed)
        source = AButton == 0 ? DownUpButtonRect : DownDownButtonRect;
    else if (state == TspButtonState::Hot)
        source = AButton == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
    if (IsEmptyRect(source) || !Picture) return;
    ACanvas->CopyRect(Buttons[AButton].R, Picture->Canvas(), source);
}

// ---- the two looks of a borrowed button record ----

namespace {

// A missing button record leaves the button area blank.
void DrawBlankButton(TCanvas* ACanvas, const TRect& R)
{
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(clBtnFace);
    ACanvas->FillRect(R);
}

TRect ArrowRect(TRect R, TspButtonState AState)
{
    if (AState == TspButtonState::Pressed) {
        R.Left += 2;
        R.Top += 2;
    }
    return R;
}

}  // namespace

void TspSkinUpDownBase::DrawButtonFromRecord(TCanvas* ACanvas, Integer AButton)
{
    const TRect& r = Buttons[AButton].R;
    TspDataSkinButtonControl* record = ButtonRecord();
    if (!record) {
        DrawBlankButton(ACanvas, r);
        return;
    }
    const TspButtonState state = StateOf(AButton);
    TBitmap image;
    ComposeButtonRecord(FSD, *record, state, r.Width(), r.Height(), &image);
    ACanvas->Draw(r.Left, r.Top, &image);
    DrawRecordArrow(ACanvas, ArrowRect(r, state), *record, state, ArrowKind(AButton));
}

TspSkinUpDown::TspSkinUpDown(TComponent* AOwner) : TspSkinUpDownBase(AOwner, 25, 50, false) {}

void TspSkinUpDown::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    if (FUseSkinSize) TspSkinUpDownBase::FitSizeToSkin(AWidth, AHeight);
}

void TspSkinUpDown::ApplyMaskRegion()
{
    if (FUseSkinSize) TspSkinUpDownBase::ApplyMaskRegion();
}

TspDataSkinButtonControl* TspSkinUpDown::ButtonRecord()
{
    return FindButtonRecord(FSD, {"resizebutton"});
}

void TspSkinUpDown::DrawRecordArrow(TCanvas* ACanvas, const TRect& R, const TspDataSkinButtonControl& ARecord,
                                    TspButtonState AState, Integer AKind)
{
    DrawArrowGlyph(ACanvas, R, ButtonStateFontColor(ARecord, AState), AKind);
}

TspSkinIntUpDown::TspSkinIntUpDown(TComponent* AOwner) : TspSkinUpDownBase(AOwner, 50, 25, true) {}

void TspSkinIntUpDown::AutoStepped(bool AUp)
{
    if (AUp && FOnUpChange) FOnUpChange(this);
    if (!AUp && FOnDownChange) FOnDownChange(this);
}

void TspSkinIntUpDown::WndProc(TMessage& AMessage)
{
    // Forgotten first: a release after the pointer left then counts as outside, and gives no click.
    if (AMessage.Msg == CM_MOUSELEAVE) ForgetActiveButtons();
    TspSkinUpDownBase::WndProc(AMessage);
}

TColor TspSkinIntUpDown::ArrowColor(const TspDataSkinButtonControl& R, TspButtonState AState)
{
    TRect marker;
    if (AState == TspButtonState::Pressed && !IsEmptyRect(R.MenuMarkerDownRect))
        marker = R.MenuMarkerDownRect;
    else if (AState == TspButtonState::Normal)
        marker = R.MenuMarkerRect;
    else
        marker = IsEmptyRect(R.MenuMarkerActiveRect) ? R.MenuMarkerRect : R.MenuMarkerActiveRect;
    TBitmap* picture = SkinPicture(FSD, R.PictureIndex);
    if (IsEmptyRect(marker) || !picture) return ButtonStateFontColor(R, AState);
    const Integer x = marker.Left + marker.Width() / 2, y = marker.Top + 3;
    // The marker comes from the skin file: a point outside the picture reads as the font colour.
    if (x < 0 || y < 0 || x >= picture->Width() || y >= picture->Height()) return ButtonStateFontColor(R, AState);
    return picture->Canvas()->Pixels(x, y);
}

TspDataSkinButtonControl* TspSkinIntUpDown::ButtonRecord()
{
    return FindButtonRecord(FSD, {"combobutton", "resizetoolbutton"});
}

void TspSkinIntUpDown::DrawRecordArrow(TCanvas* ACanvas, const TRect& R, const TspDataSkinButtonControl& ARecord,
                                       TspButtonState AState, Integer AKind)
{
    DrawSmallArrowGlyph(ACanvas, R, ArrowColor(ARecord, AState), AKind);
}
