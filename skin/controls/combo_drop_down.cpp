// The combo box's drop-down list: the popup window, opening below (or above) the box, closing with or without a
// choice, choosing by click, hover and drag, and the auto-scroll while a drag goes beyond the list.
#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/controls/combo_box.h"
#include "skin/core/layer_window.h"
#include "skin/core/platform_gates.h"

namespace {
constexpr win::UINT_PTR kAutoScrollTimer = 1;
constexpr win::UINT kAutoScrollMs = 25;
// The fade-in runs on a timer of the popup, so that nothing waits in a nested message loop on a box that may
// be freed meanwhile.
constexpr win::UINT_PTR kFadeTimer = 2;
constexpr win::UINT kFadeTickMs = 6;
constexpr int64_t kFadeStepMicros = 5000;
}  // namespace

TspPopupListBox::TspPopupListBox(TComponent* AOwner) : TspSkinListBox(AOwner)
{
    ControlStyle().Include(csAcceptsControls);
    ControlStyle().Include(csNoDesignVisible);
    ControlStyle().Include(csReplicatable);
    SetVisible(false);
}

TspPopupListBox::~TspPopupListBox()
{
    if (HandleAllocated()) win::KillTimer(Handle(), kFadeTimer);
}

void TspPopupListBox::CreateParams(TCreateParams& AParams)
{
    TspSkinListBox::CreateParams(AParams);
    AParams.Style = win::WS_POPUP | win::WS_CLIPCHILDREN;
    AParams.ExStyle = win::WS_EX_TOOLWINDOW;
    AParams.WndParent = nullptr;
    AParams.ClassStyle |= win::CS_SAVEBITS;
    if (IsXPOrLater()) AParams.ClassStyle |= win::CS_DROPSHADOW;
}

void TspPopupListBox::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_MOUSEACTIVATE: AMessage.Result = win::MA_NOACTIVATE; return;
    case win::WM_TIMER:
        if (AMessage.WParam == kFadeTimer) {
            FadeStep();
            return;
        }
        break;
    default: break;
    }
    TspSkinListBox::WndProc(AMessage);
}

void TspPopupListBox::Show(TPoint AOrigin)
{
    auto* combo = dynamic_cast<TspSkinCustomComboBox*>(Owner());
    HandleNeeded();
    const win::HWND h = Handle();
    bool fading = false;
    if (combo && IsWin2000OrLater()) {
        const bool blend = combo->ListBoxAlphaBlend();
        const auto ex = static_cast<win::DWORD>(win::GetWindowLong(h, win::GWL_EXSTYLE));
        if (blend && !(ex & win::WS_EX_LAYERED))
            win::SetWindowLong(h, win::GWL_EXSTYLE, ex | win::WS_EX_LAYERED);
        else if (!blend && (ex & win::WS_EX_LAYERED))
            win::SetWindowLong(h, win::GWL_EXSTYLE, ex & ~win::WS_EX_LAYERED);
        FOldAlphaBlend = blend;
        if (!blend) FAlpha = 255;
        const Byte value = combo->ListBoxAlphaBlendValue();
        if (blend && (FOldAlphaBlendValue != value || combo->ListBoxAlphaBlendAnimation())) {
            fading = combo->ListBoxAlphaBlendAnimation();
            FAlpha = fading ? 0 : value;
            FOldAlphaBlendValue = FAlpha;
            SetWindowAlpha(h, FAlpha);
        }
    }
    SetBounds(AOrigin.X, AOrigin.Y, Width(), Height());
    win::SetWindowPos(h, win::HWND_TOP, AOrigin.X, AOrigin.Y, 0, 0,
                      win::SWP_NOSIZE | win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW);
    TControl::SetVisible(true);
    if (fading) {
        FFadeTarget = combo->ListBoxAlphaBlendValue();
        FFadeStep = static_cast<Byte>(std::max(1, FFadeTarget / 15));
        FLastFadeMicros = GetTickCountMicro();
        win::SetTimer(h, kFadeTimer, kFadeTickMs);
    }
}

void TspPopupListBox::FadeStep()
{
    const int64_t now = GetTickCountMicro();
    if (now - FLastFadeMicros <= kFadeStepMicros) return;
    FLastFadeMicros = now;
    FAlpha = static_cast<Byte>(std::min<int>(FFadeTarget, FAlpha + FFadeStep));
    FOldAlphaBlendValue = FAlpha;
    SetWindowAlpha(Handle(), FAlpha);
    if (FAlpha >= FFadeTarget) win::KillTimer(Handle(), kFadeTimer);
}

void TspPopupListBox::Hide()
{
    if (HandleAllocated())
        win::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                          win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                              win::SWP_NOACTIVATE);
    TControl::SetVisible(false);
}

// --- the combo box's side

bool TspSkinCustomComboBox::IsPopupVisible() const
{
    return FListBox && FListBox->Visible();
}

bool TspSkinCustomComboBox::CanCancelDropDown() const
{
    return IsPopupVisible() && !FMouseIn;
}

void TspSkinCustomComboBox::DropDown()
{
    if (Items()->Count() == 0) return;
    WasInLB = false;
    SetTimerMode(0);
    if (OnDropDown) OnDropDown(this);
    FListBox->HandleNeeded();
    const Integer width = FListBoxWidth > 0 ? FListBoxWidth : Width();
    FListBox->SetBounds(FListBox->Left(), FListBox->Top(), width, FListBox->Height());
    const Integer height = FListBox->CalcHeight(std::min(Items()->Count(), FDropDownCount));
    FListBox->SetBounds(FListBox->Left(), FListBox->Top(), width, height);
    TPoint p = Parent() ? Parent()->ClientToScreen({Left(), Top() + Height()}) : ClientToScreen({0, Height()});
    // Without a work area the screen's bottom is the limit.
    TRect work = Rect(0, 0, win::GetSystemMetrics(win::SM_CXSCREEN), win::GetSystemMetrics(win::SM_CYSCREEN));
    GetWorkAreaOf(Handle(), true, work);
    // Near the bottom of the work area the list opens upwards, its bottom on the box's top.
    if (p.Y + height > work.Bottom) p.Y -= Height() + height;
    if (FEdit) FEdit->SetFocus();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && Items()->Count() >= 2) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->SetTopIndex(FListBox->ItemIndex());
    FListBox->Show(p);
}

void TspSkinCustomComboBox::CloseUp(bool AValue)
{
    if (!IsPopupVisible()) return;
    FListBox->Hide();
    SetTimerMode(0);
    const Integer index = FListBox->ItemIndex();
    if (AValue && index >= 0 && index < Items()->Count()) {
        if (FEdit) {
            FEdit->SetText(Items()->Strings(index));
            FEdit->SelectAll();
        } else {
            SetText(Items()->Strings(index));
            Repaint();
        }
        if (OnClick) OnClick(this);
        SelectionChanged();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Repaint();
    if (AValue && OnCloseUp) OnCloseUp(this);
}

void TspSkinCustomComboBox::HoverListItem(TObject*, TShiftState, int AX, int AY)
{
    const Integer index = FListBox->ListBox()->ItemAtPos({AX, AY}, true);
    if (index >= 0 && index < Items()->Count()) FListBox->SetItemIndex(index);
}

void TspSkinCustomComboBox::ListHook(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_MOUSEACTIVATE:
        AMessage.Result = win::MA_NOACTIVATE;
        FListBoxWindowProc(AMessage);
        AMessage.Result = win::MA_NOACTIVATE;
        return;
    case win::WM_LBUTTONDOWN:
        // The row is already highlighted by hovering; the release over the list chooses it.
        FLBDown = true;
        WasInLB = true;
        win::SetCapture(Handle());
        return;
    case win::WM_LBUTTONUP:
    case win::WM_RBUTTONDOWN:
    case win::WM_RBUTTONUP:
    case win::WM_MBUTTONDOWN:
    case win::WM_MBUTTONUP: return;
    default: FListBoxWindowProc(AMessage);
    }
}

void TspSkinCustomComboBox::TrackDrag()
{
    TspListBox* inner = FListBox->ListBox();
    if (!inner->HandleAllocated()) return;
    TPoint cursor;
    win::GetCursorPos(cursor);
    const Integer y = inner->ScreenToClient(cursor).Y;
    const bool scrolls = FListBox->ScrollBar() != nullptr;
    Integer mode = FTimerMode;
    if (y < 0 && scrolls && WasInLB) {
        mode = 1;
    } else if (y > inner->Height() && scrolls && WasInLB) {
        mode = 2;
    } else if (y >= 0 && y <= inner->Height()) {
        mode = 0;
        // The row under the pointer, whatever its horizontal position.
        HoverListItem(inner, {}, 1, y);
        WasInLB = true;
    }
    SetTimerMode(mode);
}

void TspSkinCustomComboBox::SetTimerMode(Integer AMode)
{
    if (AMode == FTimerMode) return;
    FTimerMode = AMode;
    if (!HandleAllocated()) return;
    win::KillTimer(Handle(), kAutoScrollTimer);
    if (AMode != 0) win::SetTimer(Handle(), kAutoScrollTimer, kAutoScrollMs);
}

void TspSkinCustomComboBox::AutoScrollTick()
{
    const Integer index = FListBox->ItemIndex();
    if (FTimerMode == 1 && index >= 1)
        FListBox->SetItemIndex(index - 1);
    else if (FTimerMode == 2 && index < Items()->Count() - 1)
        FListBox->SetItemIndex(index + 1);
}
