#pragma once
// Top-level forms: frame styles, modal showing, closing, activation and the focused control, key preview and
// shortcuts, a plain menu bar in the frame, MDI frames with their client window.
#include "platform/gui/controls.h"
#include "platform/gui/icon.h"

#include <memory>
#include <vector>

class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// AMessage is the key message (WParam: the key); set AHandled to stop it.
using TShortCutEvent = std::function<void(TMessage& AMessage, bool& AHandled)>;

class TCustomForm : public TCustomControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Runs OnCreate once; the application's CreateForm calls it after construction.
    void AfterConstruction();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle AValue);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons AValue);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle AValue);
    TWindowState WindowState();
    void SetWindowState(TWindowState AValue);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition AValue) { FPosition = AValue; }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* AValue);
    TIcon* Icon() { return &FIcon; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool AValue) { FKeyPreview = AValue; }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool AValue) { FAutoScroll = AValue; }

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* AControl);
    // Moves the focus to AControl now when the form is active, or when it becomes active.
    void FocusControl(TWinControl* AControl);
    // Records AControl as the focused one and sends CM_EXIT / CM_ENTER along the way; false when refused.
    bool SetFocusedControl(TWinControl* AControl);
    void ControlRemoved(TWinControl* AControl);
    bool Active() const { return FActive; }

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult AValue) { FModalResult = AValue; }
    bool Modal() const { return FModal; }

    void Show();
    // Shows the form, disables the other forms and runs messages until ModalResult is set; returns it.
    virtual TModalResult ShowModal();
    void Close();
    virtual bool CloseQuery();
    // Deletes the form once the messages being handled now are done.
    void Release();
    void SetVisible(bool AValue) override;
    void SetFocus() override;
    bool CanFocus() override;
    void SetClientSize(Integer AWidth, Integer AHeight) override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    // OnShortCut, then the main menu's shortcuts.
    virtual bool IsShortCut(TMessage& AMessage);

    // MDI: the client window of an MDI frame and the children shown in it.
    win::HWND ClientHandle() const { return FClientHandle; }
    Integer MDIChildCount() const { return static_cast<Integer>(FMDIChildren.size()); }
    TCustomForm* MDIChildren(Integer AIndex) const { return FMDIChildren.at(AIndex); }
    TCustomForm* ActiveMDIChild() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    void WndProc(TMessage& AMessage) override;
    void MouseWheelHandler(TMessage& AMessage) override;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    // The form's icon as its window's icon (the desktop shows it in task lists and title bars).
    void ShowIcon();
    void DestroyWnd() override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& AAction);
    void AlignControls(TControl* AControl, TRect& ARect) override;

private:
    friend class TMenuBarTracker;
    void PlaceOnScreen();
    void Activated(bool AActive);
    void SetActive(bool AActive);
    int MenuBarHeight() const;
    TRect MenuBarRect();  // window coordinates
    void PaintMenuBar();
    void MenuBarClick(TPoint AScreen);
    TCustomForm* MDIParentForm() const;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    TMainMenu* FMenu = nullptr;
    TIcon FIcon;
    bool FKeyPreview = false;
    bool FAutoScroll = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
    bool FCreated = false;
    bool FShown = false;
    win::HWND FClientHandle = nullptr;
    std::vector<TCustomForm*> FMDIChildren;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};
