#include "skin/controls/tool_bar.h"

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/win/painting.h"
#include "skin/controls/button_record.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/skin_strips.h"

namespace {

constexpr Integer kArrowWidth = 12;
constexpr win::UINT_PTR kScrollTimerId = 1;
constexpr Integer kArrowLeft = 1, kArrowRight = 2;

}  // namespace

TspSkinToolBar::TspSkinToolBar(TComponent* AOwner) : TspSkinPanel(AOwner)
{
    FSkinDataName = "toolpanel";
    FBorderStyle = TspSkinBorderStyle::bvNone;
    FForceBackground = false;
    SetDefaultHeight(0);
    SetHeight(25);
}

TspSkinToolBar::~TspSkinToolBar()
{
    StopTimer();
}

template <typename TFunction>
void TspSkinToolBar::ForEachSpeedButton(TFunction AFunction)
{
    for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* button = dynamic_cast<TspSkinSpeedButton*>(Controls(i))) AFunction(button);
}

// ---- properties ----

void TspSkinToolBar::SetScrollOffset(Integer AValue)
{
    if (AValue >= 0) FScrollOffset = AValue;
}

void TspSkinToolBar::SetScrollTimerInterval(Integer AValue)
{
    if (AValue > 0) FScrollTimerInterval = AValue;
}

void TspSkinToolBar::SetShowCaptions(bool AValue)
{
    if (FShowCaptions == AValue) return;
    FShowCaptions = AValue;
    if (FAutoShowHideCaptions) ForEachSpeedButton([AValue](TspSkinSpeedButton* B) { B->SetShowCaption(AValue); });
    if (WidthWithCaptions != 0 && WidthWithoutCaptions != 0)
        SetWidth(AValue ? WidthWithCaptions : WidthWithoutCaptions);
}

void TspSkinToolBar::SetFlat(bool AValue)
{
    FFlat = AValue;
    ForEachSpeedButton([AValue](TspSkinSpeedButton* B) { B->SetFlat(AValue); });
}

void TspSkinToolBar::SetImages(TCustomImageList* AValue)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (AValue) AValue->FreeNotification(this);
    ForEachSpeedButton([](TspSkinSpeedButton* B) { B->Repaint(); });
}

void TspSkinToolBar::SetHotImages(TCustomImageList* AValue)
{
    if (FHotImages) FHotImages->RemoveFreeNotification(this);
    FHotImages = AValue;
    if (AValue) AValue->FreeNotification(this);
}

void TspSkinToolBar::SetDisabledImages(TCustomImageList* AValue)
{
    if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
    FDisabledImages = AValue;
    if (AValue) AValue->FreeNotification(this);
}

void TspSkinToolBar::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinPanel::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FHotImages) FHotImages = nullptr;
    if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TspSkinToolBar::SetSkinData(TspSkinData* AValue)
{
    TspSkinPanel::SetSkinData(AValue);
    ForEachSpeedButton([AValue](TspSkinSpeedButton* B) { B->SetSkinData(AValue); });
}

void TspSkinToolBar::GetSkinData()
{
    TspSkinPanel::GetSkinData();
    ButtonData = Skinned() ? FindRecordAs<TspDataSkinButtonControl>(FSD, "resizebutton") : nullptr;
}

// ---- geometry ----

void TspSkinToolBar::AdjustClientRect(TRect& ARect)
{
    TspSkinPanel::AdjustClientRect(ARect);
    if (!FScroll.Shown) return;
    const Integer cw = ClientWidth(), ch = ClientHeight();
    ARect = Rect(-FScroll.SPosition, 0, -FScroll.SPosition + std::max(FScroll.SMax, cw), ch);
    if (!Skinned()) {
        ARect.Top = 1;
        ARect.Bottom = ch - 1;
    } else if (!(FBorderStyle == TspSkinBorderStyle::bvNone && ResizeMode == rmNinePiece)) {
        ARect.Top = Fitted.NewClRect.Top;
        ARect.Bottom = Fitted.NewClRect.Bottom;
    }
}

void TspSkinToolBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    const Integer oldWidth = Width();
    TspSkinPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FAdjustControls) CentrePlainChildren();
    if (!FCanScroll) return;
    FScroll.HSizeOffset = oldWidth != 0 && Width() > oldWidth ? Width() - oldWidth : 0;
    UpdateScrollRange();
}

void TspSkinToolBar::CentrePlainChildren()
{
    const TRect r = GetSkinClientRect();
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (dynamic_cast<TspSkinControl*>(c) || dynamic_cast<TspGraphicSkinControl*>(c))
            c->SetBounds(c->Left(), c->Top(), c->Width(), c->Height());  // skinned children centre themselves
        else if (c->Align() == alNone)
            c->SetTop(r.Top + r.Height() / 2 - c->Height() / 2);
    }
}

void TspSkinToolBar::MoveChildren(Integer ADeltaX)
{
    if (ADeltaX == 0) return;
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetLeft(c->Left() + ADeltaX);
    }
    Repaint();
}

void TspSkinToolBar::UpdateScrollRange()
{
    Integer rowEnd = 0;
    for (Integer i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Visible()) rowEnd = std::max(rowEnd, Controls(i)->Left() + Controls(i)->Width());
    const bool wasShown = FScroll.Shown;
    MoveChildren(FScroll.Update(rowEnd, ClientWidth()));
    if (FScroll.Shown == wasShown) return;
    ShowArrows(FScroll.Shown);
    // The page is what shows between the arrows, so that the row's end can be scrolled into sight.
    if (FScroll.Shown) FScroll.SPage = ClientWidth();
}

void TspSkinToolBar::ShowArrows(bool AShow)
{
    FScroll.Shown = AShow;
    if (!AShow) {
        StopTimer();
        FButtons[0] = FButtons[1] = TArrowButton{};
    }
    // The frame is measured again, so that the arrows get their strips or give them back.
    if (HandleAllocated())
        win::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                          win::SWP_FRAMECHANGED | win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                              win::SWP_NOACTIVATE);
    Realign();
}

// ---- scrolling ----

void TspSkinToolBar::StartTimer(Integer AMode)
{
    FTimerMode = AMode;
    if (HandleAllocated()) win::SetTimer(Handle(), kScrollTimerId, static_cast<win::UINT>(FScrollTimerInterval));
}

void TspSkinToolBar::StopTimer()
{
    if (FTimerMode != 0 && HandleAllocated()) win::KillTimer(Handle(), kScrollTimerId);
    FTimerMode = 0;
}

void TspSkinToolBar::ScrollStep(bool ARight)
{
    const Integer step = FScrollOffset > 0 ? FScrollOffset : ClientWidth();
    const Integer move = FScroll.Step(ARight, step);
    if (move == 0) {
        StopTimer();
        return;
    }
    MoveChildren(move);
}

// ---- painting ----

void TspSkinToolBar::DrawSkinnedImage(TBitmap* B)
{
    if (FScroll.Shown && ResizeMode == rmHorzStrip && Picture) {
        // Only the middle of the strip: the bar's ends lie under the arrows.
        FillHStripImage(Pieces.LTPt.X, Pieces.SkinRect.Width() - Pieces.RTPt.X, B, Picture, Pieces.SkinRect, Width(),
                        Height(), StretchEffect);
        return;
    }
    TspSkinPanel::DrawSkinnedImage(B);
}

void TspSkinToolBar::DrawArrow(TCanvas* ACanvas, const TArrowButton& AButton, bool ARight)
{
    const TRect r = AButton.R;
    const Integer kind = ARight ? kArrowRight : kArrowLeft;
    const bool pressedLook = AButton.MouseIn && (AButton.Down || FHotScroll);
    if (!ButtonData) {
        TBitmap image(r.Width(), r.Height());
        DrawPlainArrowButton(image.Canvas(), Rect(0, 0, r.Width(), r.Height()),
                             pressedLook       ? TspPartLook::Pressed
                             : AButton.MouseIn ? TspPartLook::Hot
                                               : TspPartLook::Normal,
                             kind);
        ACanvas->Draw(r.Left, r.Top, &image);
        return;
    }
    const TspButtonState state = pressedLook ? TspButtonState::Pressed
                                 : AButton.MouseIn ? TspButtonState::Hot
                                                   : TspButtonState::Normal;
    TBitmap image;
    ComposeButtonRecord(FSD, *ButtonData, state, r.Width(), r.Height(), &image);
    DrawArrowGlyph(image.Canvas(), Rect(0, 0, r.Width(), r.Height()), ButtonStateFontColor(*ButtonData, state), kind);
    ACanvas->Draw(r.Left, r.Top, &image);
}

void TspSkinToolBar::PaintArrows()
{
    if (!FCanScroll || !FScroll.Shown || !HandleAllocated()) return;
    GetSkinData();
    win::HDC dc = win::GetWindowDC(Handle());
    TCanvas canvas;
    canvas.SetHandle(dc);
    DrawArrow(&canvas, FButtons[0], false);
    DrawArrow(&canvas, FButtons[1], true);
    canvas.SetHandle(nullptr);
    win::ReleaseDC(Handle(), dc);
}

// ---- messages ----

Integer TspSkinToolBar::ArrowAt(win::LPARAM APoint)
{
    if (!FScroll.Shown) return -1;
    const TPoint p = ScreenToClient(win::LParamToPoint(APoint));
    if (p.X < 0) return 0;
    if (p.X >= ClientWidth()) return 1;
    return -1;
}

void TspSkinToolBar::LeaveArrows()
{
    const bool wasIn = FButtons[0].MouseIn || FButtons[1].MouseIn;
    FButtons[0].MouseIn = FButtons[1].MouseIn = false;
    StopTimer();
    if (wasIn) PaintArrows();
}

void TspSkinToolBar::WndProc(TMessage& AMessage)
{
    const bool scrolling = FCanScroll && !Designing();
    switch (AMessage.Msg) {
    case win::WM_NCCALCSIZE:
        TspSkinPanel::WndProc(AMessage);
        if (FCanScroll && FScroll.Shown) {
            GetSkinData();
            TRect* r = AMessage.WParam ? &reinterpret_cast<win::NCCALCSIZE_PARAMS*>(AMessage.LParam)->rgrc[0]
                                       : reinterpret_cast<TRect*>(AMessage.LParam);
            r->Left += kArrowWidth;
            r->Right -= kArrowWidth;
        }
        return;
    case win::WM_SIZE:
        TspSkinPanel::WndProc(AMessage);
        if (FCanScroll && FScroll.Shown) {
            FButtons[0].R = Rect(0, 0, kArrowWidth, Height());
            FButtons[1].R = Rect(Width() - kArrowWidth, 0, Width(), Height());
            PaintArrows();
        }
        return;
    case win::WM_NCPAINT:
        TspSkinPanel::WndProc(AMessage);
        PaintArrows();
        return;
    case win::WM_NCHITTEST:
        if (scrolling) {
            const Integer arrow = ArrowAt(AMessage.LParam);
            if (arrow >= 0) {
                AMessage.Result = arrow == 0 ? kToolBarLeftArrowHit : kToolBarRightArrowHit;
                return;
            }
        }
        break;
    case win::WM_SETCURSOR: {
        const auto hit = static_cast<win::LRESULT>(static_cast<int16_t>(AMessage.LParam & 0xFFFF));
        // The arrows take the normal cursor, as the client area does.
        if (hit == kToolBarLeftArrowHit || hit == kToolBarRightArrowHit)
            AMessage.LParam = (AMessage.LParam & ~win::LPARAM(0xFFFF)) | win::HTCLIENT;
        break;
    }
    case win::WM_NCMOUSEMOVE:
        if (scrolling) {
            const Integer arrow = ArrowAt(AMessage.LParam);
            if (arrow >= 0 && !FButtons[arrow].MouseIn) {
                FButtons[arrow].MouseIn = true;
                FButtons[1 - arrow].MouseIn = false;
                PaintArrows();
                if (FHotScroll) {
                    StopTimer();
                    StartTimer(arrow == 0 ? 1 : 2);
                }
            }
            return;
        }
        break;
    case win::WM_NCLBUTTONDOWN:
    case win::WM_NCLBUTTONDBLCLK:
        if (scrolling) {
            const Integer arrow = ArrowAt(AMessage.LParam);
            if (arrow >= 0) {
                FButtons[arrow].Down = true;
                PaintArrows();
                StopTimer();
                StartTimer(arrow == 0 ? 1 : 2);
                return;
            }
        }
        break;
    case win::WM_NCLBUTTONUP:
        if (scrolling) {
            const Integer arrow = ArrowAt(AMessage.LParam);
            if (arrow >= 0) {
                FButtons[arrow].Down = false;
                PaintArrows();
                StopTimer();
                ScrollStep(arrow == 1);
                return;
            }
        }
        break;
    case win::WM_MOUSEMOVE:
        if (scrolling) LeaveArrows();
        break;
    case CM_MOUSELEAVE:
        TspSkinPanel::WndProc(AMessage);
        if (scrolling) LeaveArrows();
        return;
    case win::WM_TIMER:
        if (AMessage.WParam == kScrollTimerId) {
            if (FTimerMode == 1 || FTimerMode == 2) ScrollStep(FTimerMode == 2);
            return;
        }
        break;
    default: break;
    }
    TspSkinPanel::WndProc(AMessage);
}
