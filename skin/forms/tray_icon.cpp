#include "skin/forms/tray_icon.h"

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/gui/screen.h"
#include "platform/gui/timer.h"
#include "platform/gui/utility_window.h"
#include "platform/win/input.h"
#include "platform/win/keys.h"
#include "platform/win/message_queue.h"
#include "platform/win/window.h"
#include "skin/forms/form_messages.h"

using namespace win;

namespace {
constexpr UINT kTipLength = 127;
constexpr UINT kInfoLength = 255;
constexpr UINT kInfoTitleLength = 63;
constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr intptr_t kRestoringTag = -10000;

TTimer* NewIdleTimer(TComponent* AOwner, Cardinal AInterval, TNotifyEvent AHandler)
{
    auto* timer = new TTimer(AOwner);
    timer->SetEnabled(false);
    timer->SetInterval(AInterval);
    timer->SetOnTimer(std::move(AHandler));
    return timer;
}

// At most ALength characters (not bytes: a cut never splits a character).
std::string CutText(const std::string& AText, size_t ALength)
{
    size_t chars = 0;
    for (size_t i = 0; i < AText.size(); ++i) {
        if ((static_cast<unsigned char>(AText[i]) & 0xC0) == 0x80) continue;
        if (chars++ == ALength) return AText.substr(0, i);
    }
    return AText;
}
}  // namespace

TspTrayIcon::TspTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(std::make_unique<TIcon>())
{
    FTaskbarCreated = RegisterWindowMessage("TaskbarCreated");
    FWindow = AllocateHWnd([this](TMessage& M) { WndProc(M); });
    FIconData.hWnd = FWindow;
    FIconData.uID = 1;
    FIconData.uFlags = kIconFlags;
    FIconData.uCallbackMessage = kCallbackMessage;
    AnimateTimer = NewIdleTimer(this, 0, [this](TObject*) { AnimateTimerProc(); });
    ClickTimer = NewIdleTimer(this, GetDoubleClickTime(), [this](TObject*) { ClickTimerProc(); });
    if (Designing()) return;
    if (FIcon->Empty() && Application && Application->MainForm() && !Application->MainForm()->Icon()->Empty())
        FIcon->Assign(Application->MainForm()->Icon());
    if (Application) {
        // The application window hears the minimizing of the whole application.
        FAppWindow = Application->Handle();
        FAppHook = std::make_shared<TAppHook>();
        FAppHook->Owner = this;
        NewAppProc = MakeObjectInstance([hook = FAppHook](HWND W, UINT M, WPARAM WP, LPARAM LP) {
            if (hook->Owner) return hook->Owner->AppWndProc(W, M, WP, LP);
            return CallWindowProc(hook->Old, W, M, WP, LP);
        });
        FAppHook->Old = reinterpret_cast<WNDPROC>(SetWindowLong(FAppWindow, GWL_WNDPROC,
                                                               reinterpret_cast<LONG_PTR>(NewAppProc)));
    }
    HookOwner();
}

void TspTrayIcon::HookOwner()
{
    TWinControl* owner = OwnerControl();
    if (!owner) return;
    FOwnerHook = std::make_shared<TOwnerHook>();
    FOwnerHook->Owner = this;
    FOwnerHook->Old = owner->WindowProc;
    owner->WindowProc = [hook = FOwnerHook](TMessage& M) {
        if (hook->Owner) hook->Owner->OwnerWndProc(M);
        if (hook->Old) hook->Old(M);
    };
}

TspTrayIcon::~TspTrayIcon()
{
    SetIconVisible(false);
    // A later hook may stand in front of ours: ours stays in the chain, passing every message on.
    if (FOwnerHook) FOwnerHook->Owner = nullptr;
    if (FAppWindow && NewAppProc) {
        FAppHook->Owner = nullptr;
        // Put back only while ours is still in front; under a later hook ours stays, passing messages on.
        if (IsWindow(FAppWindow) &&
            reinterpret_cast<WNDPROC>(GetWindowLong(FAppWindow, GWL_WNDPROC)) == NewAppProc) {
            SetWindowLong(FAppWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FAppHook->Old));
            FreeObjectInstance(NewAppProc);
        }
    }
    DeallocateHWnd(FWindow);
}

void TspTrayIcon::Loaded()
{
    TComponent::Loaded();
    if (OwnerControl() && MinimizedOnStart && !Designing()) {
        FIconVisible = true;
        FMinimizeToTray = true;
        if (Application) {
            Application->ShowMainForm = false;
            ShowWindow(Application->Handle(), SW_HIDE);
        }
        // A main form shown already goes into the tray as well.
        HideMainForm();
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
}

void TspTrayIcon::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FIconList) FIconList = nullptr;
    if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

// ---- notifications ----

bool TspTrayIcon::PrepareIconData()
{
    if (Designing()) return false;
    FIconData.hIcon = FIcon->Empty() ? nullptr : FIcon->Handle();
    FIconData.szTip = !FHint.empty() && FShowHint ? CutText(FHint, kTipLength) : std::string();
    return true;
}

bool TspTrayIcon::Notify(DWORD AMessage) { return PrepareIconData() && Shell_NotifyIcon(AMessage, &FIconData); }

bool TspTrayIcon::ShowIcon()
{
    FIconVisible = true;
    return Notify(NIM_ADD);
}

bool TspTrayIcon::HideIcon()
{
    FIconVisible = false;
    return Notify(NIM_DELETE);
}

bool TspTrayIcon::ModifyIcon() { return Notify(NIM_MODIFY); }

void TspTrayIcon::SetIconVisible(bool AValue)
{
    if (AValue)
        ShowIcon();
    else
        HideIcon();
}

void TspTrayIcon::SetIcon(TIcon* AValue)
{
    FIcon->Assign(AValue);
    ModifyIcon();
}

void TspTrayIcon::SetHint(const std::string& AValue)
{
    FHint = AValue;
    ModifyIcon();
}

void TspTrayIcon::SetShowHint(bool AValue)
{
    FShowHint = AValue;
    ModifyIcon();
}

void TspTrayIcon::SetPopupMenu(TPopupMenu* AValue)
{
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = AValue;
    if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

bool TspTrayIcon::ShowBalloonHint(const std::string& Title, const std::string& Text, TspBalloonHintIcon IconType)
{
    HideBalloonHint();
    FIconData.uFlags |= NIF_INFO;
    FIconData.szInfo = CutText(Text, kInfoLength);
    FIconData.szInfoTitle = CutText(Title, kInfoTitleLength);
    FIconData.dwInfoFlags = static_cast<DWORD>(IconType);
    const bool result = ModifyIcon();
    FIconData.uFlags = kIconFlags;
    return result;
}

bool TspTrayIcon::HideBalloonHint()
{
    FIconData.uFlags |= NIF_INFO;
    FIconData.szInfo.clear();
    const bool result = ModifyIcon();
    FIconData.uFlags = kIconFlags;
    return result;
}

// ---- animation ----

void TspTrayIcon::SetIconList(TCustomImageList* AValue)
{
    if (FIconList) FIconList->RemoveFreeNotification(this);
    FIconList = AValue;
    if (FIconList) FIconList->FreeNotification(this);
    FIconIndex = 0;
}

void TspTrayIcon::SetIconIndex(Integer AValue)
{
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = std::clamp(AValue, 0, FIconList->Count() - 1);
        FIconList->GetIcon(FIconIndex, FIcon.get());
    } else {
        FIconIndex = 0;
    }
    ModifyIcon();
}

void TspTrayIcon::SetCycleIcons(bool AValue)
{
    FCycleIcons = AValue;
    if (AValue) FIconIndex = 0;
    AnimateTimer->SetEnabled(AValue);
}

void TspTrayIcon::SetAnimateTimerInterval(Cardinal AValue)
{
    FAnimateTimerInterval = AValue;
    AnimateTimer->SetInterval(AValue);
}

void TspTrayIcon::AnimateTimerProc()
{
    if (!FIconList || FIconList->Count() == 0) return;
    const Integer count = FIconList->Count();
    if (FIconIndex >= count) FIconIndex = 0;
    FIconList->GetIcon(FIconIndex, FIcon.get());
    // The index reported is the image shown next, so it wraps to 0 after the last one.
    const Integer next = FIconIndex + 1 < count ? FIconIndex + 1 : 0;
    if (OnCycle) OnCycle(this, next);
    ModifyIcon();
    FIconIndex = next;
}

// ---- mouse ----

void TspTrayIcon::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == kCallbackMessage) {
        if (Enabled) TrayMessage(static_cast<UINT>(AMessage.LParam));
        return;
    }
    if (FTaskbarCreated && AMessage.Msg == FTaskbarCreated) {
        // The tray came back: a visible icon is added to it again.
        if (FIconVisible) ShowIcon();
        return;
    }
    switch (AMessage.Msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_NCDESTROY: AMessage.Result = 1; return;
    default: AMessage.Result = DefWindowProc(FWindow, AMessage.Msg, AMessage.WParam, AMessage.LParam);
    }
}

void TspTrayIcon::TrayMessage(UINT AMouseMessage)
{
    TShiftState shift;
    if (GetAsyncKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetAsyncKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    if (GetAsyncKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    TPoint p{0, 0};
    GetCursorPos(p);
    auto down = [&](TMouseButton AButton, TShiftStateItem AItem) {
        TShiftState s = shift;
        if (OnMouseDown) OnMouseDown(this, AButton, s.Include(AItem), p.X, p.Y);
    };
    auto up = [&](TMouseButton AButton, TShiftStateItem AItem) {
        TShiftState s = shift;
        if (OnMouseUp) OnMouseUp(this, AButton, s.Include(AItem), p.X, p.Y);
    };
    switch (AMouseMessage) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, shift, p.X, p.Y);
        break;
    case WM_LBUTTONDOWN:
        ClickTimer->SetEnabled(false);
        ClickTimer->SetInterval(GetDoubleClickTime());
        ClickTimer->SetEnabled(true);
        down(mbLeft, ssLeft);
        FClickStart = true;
        if (PopupByLeftButton) PopupAtCursor();
        break;
    case WM_LBUTTONUP:
        if (FClickStart) {
            FClickReady = true;
            // Held longer than the double-click time: the click is told at the release.
            if (!ClickTimer->Enabled()) {
                FClickStart = FClickReady = false;
                if (OnClick) OnClick(this);
            }
        }
        FClickStart = false;
        up(mbLeft, ssLeft);
        break;
    case WM_LBUTTONDBLCLK:
        FClickReady = false;
        IsDblClick = true;
        if (OnDblClick) OnDblClick(this);
        if (FPopupMenu && FPopupMenu->AutoPopup() && !PopupByLeftButton) {
            TMenuItem* items = FPopupMenu->Items();
            for (Integer i = 0; i < items->Count(); ++i)
                if (items->Items(i)->Default()) {
                    items->Items(i)->Click();
                    break;
                }
        }
        break;
    case WM_RBUTTONDOWN:
        down(mbRight, ssRight);
        PopupAtCursor();
        break;
    case WM_RBUTTONUP: up(mbRight, ssRight); break;
    case WM_MBUTTONDOWN: down(mbMiddle, ssMiddle); break;
    case WM_MBUTTONUP: up(mbMiddle, ssMiddle); break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        break;
    default: break;
    }
}

void TspTrayIcon::ClickTimerProc()
{
    ClickTimer->SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        if (OnClick) OnClick(this);
    }
    IsDblClick = false;
}

void TspTrayIcon::PopupAtCursor()
{
    if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
    TPoint p{0, 0};
    if (!GetCursorPos(p)) return;
    if (Application) Application->ProcessMessages();
    SetForegroundWindow(FWindow);
    if (TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated()) SetForegroundWindow(owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(p.X, p.Y);
    if (TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated()) PostMessage(owner->Handle(), WM_NULL, 0, 0);
}

// ---- main form ----

LRESULT TspTrayIcon::AppWndProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    if (AMessage == WM_SIZE && AWParam == SIZE_MINIMIZED && FMinimizeToTray) {
        HideMainForm();
        ShowIcon();
    }
    if (AMessage == WM_WINDOWPOSCHANGED && SettingMDIForm && Application && Application->MainForm()) {
        // An MDI parent shows itself when it is made: started in the tray, it goes back there.
        if (Application->MainForm()->FormStyle() == fsMDIForm && MinimizedOnStart) {
            ShowWindow(AWindow, SW_HIDE);
            HideMainForm();
        }
        SettingMDIForm = false;
    }
    if (FTaskbarCreated && AMessage == FTaskbarCreated && FIconVisible) ShowIcon();
    return CallWindowProc(FAppHook->Old, AWindow, AMessage, AWParam, ALParam);
}

void TspTrayIcon::OwnerWndProc(TMessage& AMessage)
{
    const WORD activation = LOWORD(AMessage.WParam);
    if (AMessage.Msg == WM_ACTIVATE && (activation == WA_ACTIVE || activation == WA_CLICKACTIVE)) {
        // The focus goes back to the control that had it, unless it sits in the window that lost the activation.
        TWinControl* active = Screen ? Screen->ActiveControl() : nullptr;
        TWinControl* holder = active && active->Parent() ? active->Parent() : active;
        if (active && !(holder->HandleAllocated() && holder->Handle() == reinterpret_cast<HWND>(AMessage.LParam)) &&
            active->CanFocus())
            active->SetFocus();
    }
    if (AMessage.Msg == WM_SHOWWINDOW && AMessage.WParam == 1 && AMessage.LParam == 0) {
        // Shown by a call, as from the tray: the application comes back and the form to the front.
        // The application window is never on screen here: restoring the application is its part.
        if (Application) Application->Restore();
        TWinControl* owner = OwnerControl();
        if (owner && owner->HandleAllocated()) SetForegroundWindow(owner->Handle());
    }
}

bool TspTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor)
{
    TCustomImageList list(nullptr, 16, 16);
    list.AddMasked(Bitmap, MaskColor);
    list.GetIcon(0, Icon);
    return true;
}

void TspTrayIcon::ShowMainForm()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    main->SetTag(kRestoringTag);
    Application->Restore();
    main->SetVisible(true);
    if (main->WindowState() == wsMinimized) main->SetWindowState(wsNormal);
    if (main->HandleAllocated()) PostMessage(main->Handle(), SKM_TRAY_RESTORED, 0, 0);
}

void TspTrayIcon::HideMainForm()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    main->SetVisible(false);
}
