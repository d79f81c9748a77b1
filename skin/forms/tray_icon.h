#pragma once
// The tray icon: an icon with a tip in the desktop's notification area, balloon hints, an animation through an
// image list, the icon's mouse actions as events (a click is told from a double click by the double-click
// time), a popup menu at the pointer, and hiding the main form into the tray and bringing it back.
#include <memory>
#include <string>

#include "platform/gui/controls.h"
#include "platform/gui/icon.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "platform/win/shell.h"
#include "skin/forms/menu_mode.h"

class TTimer;

enum TspBalloonHintIcon { spbitNone, spbitInfo, spbitWarning, spbitError };
using TCycleEvent = std::function<void(TObject* Sender, Integer NextIndex)>;

class TspTrayIcon : public TComponent, public TspTrayIconLink {
public:
    static constexpr win::UINT kCallbackMessage = 0x800;

    explicit TspTrayIcon(TComponent* AOwner);
    ~TspTrayIcon() override;
    void Loaded() override;

    bool Enabled = true;
    TIcon* Icon() { return FIcon.get(); }
    void SetIcon(TIcon* AValue);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool AValue) override;
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& AValue);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool AValue);
    TPopupMenu* PopupMenu() override { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* AValue) override;
    bool PopupByLeftButton = false;
    bool MinimizedOnStart = false;
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool AValue) override { FMinimizeToTray = AValue; }
    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* AValue);
    Integer IconIndex() const { return FIconIndex; }
    // Past the list's end it stays on the last image; without a list it is 0.
    void SetIconIndex(Integer AValue);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool AValue);
    Cardinal AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(Cardinal AValue);

    TNotifyEvent OnBalloonHintClick;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TCycleEvent OnCycle;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Each returns whether the tray took the notification.
    bool ShowIcon();
    bool HideIcon();
    bool ModifyIcon();
    bool Refresh() { return ModifyIcon(); }
    bool ShowBalloonHint(const std::string& Title, const std::string& Text, TspBalloonHintIcon IconType);
    bool HideBalloonHint();

    void ShowMainForm() override;
    void HideMainForm();
    // Bitmap as a 16 x 16 icon, pixels of MaskColor transparent.
    bool BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor);
    bool HasDblClickHandler() override { return static_cast<bool>(OnDblClick); }
    void SetDblClickHandler(TNotifyEvent AHandler) override { OnDblClick = std::move(AHandler); }

    // The window the tray's notifications come to.
    win::HWND Handle() const { return FWindow; }
    // What the next notification carries (tip, balloon texts).
    const win::NOTIFYICONDATA& IconData() const { return FIconData; }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool PrepareIconData();
    bool Notify(win::DWORD AMessage);
    void WndProc(TMessage& AMessage);
    void TrayMessage(win::UINT AMouseMessage);
    void ClickTimerProc();
    void AnimateTimerProc();
    void PopupAtCursor();
    win::LRESULT AppWndProc(win::HWND AWindow, win::UINT AMessage, win::WPARAM AWParam, win::LPARAM ALParam);
    void HookOwner();
    void OwnerWndProc(TMessage& AMessage);
    TWinControl* OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    std::unique_ptr<TIcon> FIcon;
    bool FIconVisible = true;
    std::string FHint;
    bool FShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    bool FMinimizeToTray = false;
    bool FClickStart = false, FClickReady = false, IsDblClick = false;
    TTimer* AnimateTimer = nullptr;
    TTimer* ClickTimer = nullptr;
    Integer FIconIndex = 0;
    TCustomImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    Cardinal FAnimateTimerInterval = 0;
    win::HWND FWindow = nullptr;
    win::NOTIFYICONDATA FIconData;
    win::UINT FTaskbarCreated = 0;
    win::HWND FAppWindow = nullptr;
    // The application window's procedure before ours; it outlives the component while a later hook calls ours.
    struct TAppHook {
        TspTrayIcon* Owner = nullptr;
        win::WNDPROC Old = nullptr;
    };
    std::shared_ptr<TAppHook> FAppHook;
    win::WNDPROC NewAppProc = nullptr;
    // The owner form's procedure before ours, likewise kept by the hook itself.
    struct TOwnerHook {
        TspTrayIcon* Owner = nullptr;
        TWndMethod Old;
    };
    std::shared_ptr<TOwnerHook> FOwnerHook;
    // Until the first check whether the main form is an MDI parent, which shows itself at start.
    bool SettingMDIForm = true;
};
