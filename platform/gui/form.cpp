#include "platform/gdi/gdi.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "platform/gui/screen.h"

#include <algorithm>

using namespace win;

namespace {

constexpr int kMenuBarHeight = 20;
constexpr int kMenuBarItemPadding = 7;

LRESULT MdiClientProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    return DefWindowProc(AWindow, AMsg, AWParam, ALParam);
}

void RegisterMdiClientClass()
{
    WNDCLASS existing;
    if (GetClassInfo("MDIClient", existing))
        return;
    WNDCLASS cls;
    cls.lpfnWndProc = &MdiClientProc;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = COLOR_APPWORKSPACE + 1;
    cls.lpszClassName = "MDIClient";
    RegisterClass(cls);
}

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomControl(AOwner)
{
    TControl::SetVisible(false);
    ControlStyle() = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetColor(clBtnFace);
    SetParentFont(false);
    UpdateBoundsFields(0, 0, 320, 240);
    FIcon.OnChange = [this](TObject*) { ShowIcon(); };
    if (::Screen)
        ::Screen->AddForm(this);
}

void TCustomForm::ShowIcon()
{
    if (HandleAllocated())
        SendMessage(TWinControl::Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon.Handle()));
}

TCustomForm::~TCustomForm()
{
    if (OnDestroy)
        OnDestroy(this);
    // What the form owns goes while the form is still whole, so that it hears every removal.
    DestroyComponents();
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
    FMenu = nullptr;
    if (FFormStyle == fsMDIChild && Application && Application->MainForm())
        std::erase(Application->MainForm()->FMDIChildren, this);
    if (Application && Application->MainForm() == this)
        Application->SetMainForm(nullptr);
    if (::Screen)
        ::Screen->RemoveForm(this);
    FActiveControl = nullptr;
    FFocusedControl = nullptr;
}

void TCustomForm::AfterConstruction()
{
    if (FCreated)
        return;
    FCreated = true;
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle AValue)
{
    if (AValue == FBorderStyle)
        return;
    FBorderStyle = AValue;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons AValue)
{
    if (AValue == FBorderIcons)
        return;
    FBorderIcons = AValue;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle AValue)
{
    if (AValue == FFormStyle)
        return;
    if (HandleAllocated() && (AValue == fsMDIChild || FFormStyle == fsMDIChild || AValue == fsMDIForm ||
                              FFormStyle == fsMDIForm)) {
        DestroyHandle();
        FFormStyle = AValue;
        if (Visible())
            HandleNeeded();
        return;
    }
    FFormStyle = AValue;
    if (HandleAllocated())
        SetWindowPos(Handle(), AValue == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState()
{
    if (HandleAllocated() && Visible()) {
        if (IsIconic(Handle()))
            return wsMinimized;
        if (IsZoomed(Handle()))
            return wsMaximized;
        return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState AValue)
{
    FWindowState = AValue;
    if (HandleAllocated() && Visible())
        ShowWindow(Handle(), AValue == wsMinimized ? SW_MINIMIZE : AValue == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetMenu(TMainMenu* AValue)
{
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
    FMenu = AValue;
    if (FMenu) {
        FMenu->FreeNotification(this);
        FMenu->OnChange = [this](TObject*) {
            if (HandleAllocated())
                RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        };
    }
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation AOperation)
{
    TCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove)
        return;
    if (AComponent == FMenu) {
        FMenu = nullptr;
        if (HandleAllocated() && !ComponentState().Contains(csDestroying))
            SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (AComponent == FActiveControl)
        FActiveControl = nullptr;
    if (AComponent == FFocusedControl)
        FFocusedControl = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& AParams)
{
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    AParams.ExStyle = 0;
    AParams.WndParent = nullptr;
    AParams.WinClassName = "TQuennaryForm";
    if (FFormStyle == fsMDIChild) {
        TCustomForm* frame = MDIParentForm();
        frame->HandleNeeded();
        AParams.WndParent = frame->ClientHandle();
        AParams.Style |= WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        return;
    }
    switch (FBorderStyle) {
    case bsNone: AParams.Style |= WS_POPUP; break;
    case bsSingle: AParams.Style |= WS_CAPTION; break;
    case bsSizeable: AParams.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        AParams.Style |= WS_POPUP | WS_CAPTION;
        AParams.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        AParams.Style |= WS_CAPTION;
        AParams.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        AParams.Style |= WS_CAPTION | WS_THICKFRAME;
        AParams.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu))
            AParams.Style |= WS_SYSMENU;
        if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
            if (FBorderIcons.Contains(biMinimize))
                AParams.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize))
                AParams.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FFormStyle == fsStayOnTop)
        AParams.ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateWnd()
{
    TCustomControl::CreateWnd();
    if (!FIcon.Empty())
        ShowIcon();
    if (FFormStyle == fsMDIForm && !FClientHandle) {
        RegisterMdiClientClass();
        TRect area = TWinControl::ClientRect();
        FClientHandle = CreateWindowEx(WS_EX_CLIENTEDGE, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                       area.Left, area.Top, area.Width(), area.Height(), TWinControl::Handle());
        Realign();
    }
    if (FFormStyle == fsMDIChild) {
        TCustomForm* frame = MDIParentForm();
        if (std::find(frame->FMDIChildren.begin(), frame->FMDIChildren.end(), this) == frame->FMDIChildren.end())
            frame->FMDIChildren.push_back(this);
    }
}

void TCustomForm::DestroyWnd()
{
    if (FClientHandle && IsWindow(FClientHandle))
        DestroyWindow(FClientHandle);
    FClientHandle = nullptr;
    TCustomControl::DestroyWnd();
}

TCustomForm* TCustomForm::MDIParentForm() const
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main || main == this || main->FormStyle() != fsMDIForm)
        throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    return main;
}

TCustomForm* TCustomForm::ActiveMDIChild() const
{
    if (!FClientHandle)
        return nullptr;
    for (HWND child = GetWindow(FClientHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            if (auto* form = dynamic_cast<TCustomForm*>(FindControl(child)))
                return form;
    return nullptr;
}

void TCustomForm::AlignControls(TControl* AControl, TRect& ARect)
{
    TCustomControl::AlignControls(AControl, ARect);
    if (FClientHandle)
        MoveWindow(FClientHandle, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), TRUE);
}

TRect TCustomForm::ClientRect()
{
    if (HandleAllocated())
        return TCustomControl::ClientRect();
    // Before the window exists, the frame its styles will give decides.
    TCreateParams params;
    CreateParams(params);
    TRect frame{0, 0, 0, 0};
    AdjustWindowRectEx(frame, params.Style, FALSE, params.ExStyle);
    return Rect(0, 0, std::max(0, Width() - frame.Width()), std::max(0, Height() - frame.Height() - MenuBarHeight()));
}

TPoint TCustomForm::ClientOrigin()
{
    TPoint origin{0, 0};
    win::ClientToScreen(Handle(), origin);
    return origin;
}

void TCustomForm::SetClientSize(Integer AWidth, Integer AHeight)
{
    TRect client = ClientRect();
    SetBounds(Left(), Top(), Width() - client.Width() + AWidth, Height() - client.Height() + AHeight);
}

void TCustomForm::PlaceOnScreen()
{
    TRect area;
    TCustomForm* centreOn = nullptr;
    switch (FPosition) {
    case poMainFormCenter:
        centreOn = Application ? Application->MainForm() : nullptr;
        break;
    case poOwnerFormCenter:
        centreOn = dynamic_cast<TCustomForm*>(Owner());
        break;
    case poScreenCenter:
    case poDesktopCenter:
        break;
    default:
        return;
    }
    if (centreOn && centreOn != this && centreOn->HandleAllocated() && centreOn->Visible()) {
        area = centreOn->BoundsRect();
    } else if (::Screen) {
        area = ::Screen->WorkAreaRect();
    } else {
        return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
              Height());
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& AAction)
{
    if (OnClose)
        OnClose(this, AAction);
}

void TCustomForm::SetVisible(bool AValue)
{
    if (AValue) {
        bool wasVisible = Visible() && HandleAllocated() && IsWindowVisible(Handle());
        if (wasVisible)
            return;
        TControl::SetVisible(true);
        HandleNeeded();
        const bool first = !FShown;
        if (first)
            PlaceOnScreen();
        FShown = true;
        const TPoint size{Width(), Height()};
        DoShow();
        // A form that changed its size while being shown (DoShow) is centred again on the size it now has.
        if (first && (Width() != size.X || Height() != size.Y))
            PlaceOnScreen();
        int command = FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                      : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                    : SW_SHOWNORMAL;
        ShowWindow(Handle(), command);
        if (FFormStyle == fsMDIChild)
            BringWindowToTop(Handle());
    } else {
        if (!Visible())
            return;
        TControl::SetVisible(false);
        if (HandleAllocated())
            ShowWindow(Handle(), SW_HIDE);
        DoHide();
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (HandleAllocated() && FFormStyle != fsMDIChild)
        BringWindowToTop(Handle());
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FModal || FFormStyle == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (!Application)
        throw EInvalidOperation("A modal form needs the application's message loop");
    if (HWND capture = GetCapture()) {
        SendMessage(capture, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    HWND activeBefore = GetActiveWindow();
    std::vector<HWND> disabled;
    if (::Screen)
        for (Integer i = 0; i < ::Screen->FormCount(); ++i) {
            TCustomForm* form = ::Screen->Forms(i);
            if (form == this || !form->HandleAllocated())
                continue;
            HWND handle = form->Handle();
            if (IsWindowVisible(handle) && IsWindowEnabled(handle)) {
                EnableWindow(handle, FALSE);
                disabled.push_back(handle);
            }
        }
    // A modal form stays above the window it was opened from, and the window manager keeps it there.
    {
        HWND owner = activeBefore ? GetAncestor(activeBefore, GA_ROOT) : nullptr;
        if (!owner || owner == Handle() || !dynamic_cast<TCustomForm*>(FindControl(owner)) || !IsWindowVisible(owner))
            owner = nullptr;
        TCustomForm* main = Application->MainForm();
        if (!owner && main && main != this && main->HandleAllocated() && IsWindowVisible(main->Handle()))
            owner = main->Handle();
        SetWindowLong(Handle(), GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
    FModal = true;
    FModalResult = mrNone;
    auto restore = [&] {
        for (HWND handle : disabled)
            if (IsWindow(handle))
                EnableWindow(handle, TRUE);
        FModal = false;
    };
    bool release = false;
    try {
        Show();
        for (;;) {
            if (FModalResult == mrNone)
                Application->HandleMessage();
            if (Application->Terminated())
                FModalResult = mrCancel;
            if (FModalResult == mrNone)
                continue;
            TCloseAction action = caHide;
            if (CloseQuery())
                DoClose(action);
            else
                action = caNone;
            if (action == caNone && !Application->Terminated()) {
                FModalResult = mrNone;
                continue;
            }
            release = action == caFree;
            break;
        }
        // The other forms come back before this one hides, so the activation returns to one of them.
        restore();
        SetVisible(false);
    } catch (...) {
        restore();
        throw;
    }
    if (activeBefore && IsWindow(activeBefore) && IsWindowVisible(activeBefore))
        SetActiveWindow(activeBefore);
    TModalResult result = FModalResult;
    if (release)
        Release();
    return result;
}

bool TCustomForm::CloseQuery()
{
    for (TCustomForm* child : std::vector<TCustomForm*>(FMDIChildren))
        if (!child->CloseQuery())
            return false;
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    if (FFormStyle == fsMDIChild)
        action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: SetVisible(false); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release()
{
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

bool TCustomForm::CanFocus()
{
    return Visible() && Enabled();
}

void TCustomForm::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    SetActiveWindow(Handle());
}

void TCustomForm::SetActiveControl(TWinControl* AControl)
{
    if (AControl == FActiveControl)
        return;
    if (AControl && (AControl == this || !ContainsControl(AControl) || !AControl->CanFocus()))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = AControl;
    if (FActive && AControl && AControl->HandleAllocated())
        win::SetFocus(AControl->Handle());
}

void TCustomForm::FocusControl(TWinControl* AControl)
{
    bool wasActive = FActive;
    SetActiveControl(AControl);
    if (wasActive && AControl)
        win::SetFocus(AControl->Handle());
    else if (!wasActive && Visible() && HandleAllocated())
        SetActiveWindow(Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* AControl)
{
    TWinControl* old = FFocusedControl;
    if (AControl != this)
        FActiveControl = AControl;
    FFocusedControl = AControl;
    if (old != AControl) {
        // Exit from the old control up to the common parent, then enter down to the new one.
        TWinControl* common = old;
        while (common && !common->ContainsControl(AControl))
            common = common->Parent();
        for (TWinControl* c = old; c && c != common && c != this; c = c->Parent())
            c->Perform(CM_EXIT, 0, 0);
        std::vector<TWinControl*> entered;
        for (TWinControl* c = AControl; c && c != common && c != this; c = c->Parent())
            entered.push_back(c);
        for (auto it = entered.rbegin(); it != entered.rend(); ++it)
            (*it)->Perform(CM_ENTER, 0, 0);
    }
    if (::Screen)
        ::Screen->SetActiveControl(AControl);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(AControl));
    return true;
}

void TCustomForm::ControlRemoved(TWinControl* AControl)
{
    if (FActiveControl && AControl->ContainsControl(FActiveControl))
        FActiveControl = nullptr;
    if (FFocusedControl && AControl->ContainsControl(FFocusedControl))
        FFocusedControl = nullptr;
    if (::Screen && ::Screen->ActiveControl() && AControl->ContainsControl(::Screen->ActiveControl()))
        ::Screen->SetActiveControl(nullptr);
}

void TCustomForm::SetActive(bool AActive)
{
    FActive = AActive;
    if (AActive) {
        if (::Screen)
            ::Screen->SetActiveForm(this);
        if (!FActiveControl)
            FActiveControl = FindNextControl(nullptr, true, true, false);
        if (FActiveControl && FActiveControl->CanFocus())
            win::SetFocus(FActiveControl->Handle());
        if (OnActivate)
            OnActivate(this);
    } else {
        if (OnDeactivate)
            OnDeactivate(this);
        if (::Screen && ::Screen->ActiveForm() == this)
            ::Screen->SetActiveForm(nullptr);
    }
}

void TCustomForm::Activated(bool AActive)
{
    if (AActive != FActive)
        SetActive(AActive);
}

bool TCustomForm::IsShortCut(TMessage& AMessage)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(AMessage, handled);
    if (!handled && FMenu)
        handled = FMenu->IsShortCut(AMessage);
    return handled;
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

int TCustomForm::MenuBarHeight() const
{
    if (!FMenu || FFormStyle == fsMDIChild)
        return 0;
    TMenuItem* root = FMenu->Items();
    for (Integer i = 0; i < root->Count(); ++i)
        if (root->Items(i)->Visible())
            return kMenuBarHeight;
    return 0;
}

TRect TCustomForm::MenuBarRect()
{
    TRect window;
    GetWindowRect(Handle(), window);
    TPoint client = ClientOrigin();
    TRect clientRect = TCustomControl::ClientRect();
    int left = client.X - window.Left;
    int top = client.Y - window.Top;
    return Rect(left, top - MenuBarHeight(), left + clientRect.Width(), top);
}

void TCustomForm::PaintMenuBar()
{
    if (!MenuBarHeight() || !HandleAllocated())
        return;
    HDC dc = GetWindowDC(Handle());
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        TRect bar = MenuBarRect();
        canvas.Brush()->SetColor(clBtnFace);
        canvas.FillRect(bar);
        canvas.Font()->Assign(Font());
        int x = bar.Left;
        TMenuItem* root = FMenu->Items();
        for (Integer i = 0; i < root->Count(); ++i) {
            TMenuItem* item = root->Items(i);
            if (!item->Visible())
                continue;
            TSize size = MeasurePlainMenuItem(&canvas, item, true);
            DrawPlainMenuItem(&canvas, item, Rect(x, bar.Top, x + size.cx, bar.Bottom), false, true, FMenu->Images());
            x += size.cx;
        }
        canvas.SetHandle(nullptr);
    }
    ReleaseDC(Handle(), dc);
}

void TCustomForm::MenuBarClick(TPoint AScreen)
{
    TRect window;
    GetWindowRect(Handle(), window);
    TRect bar = MenuBarRect();
    HDC dc = GetWindowDC(Handle());
    TMenuItem* hit = nullptr;
    TRect hitRect;
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Font()->Assign(Font());
        int x = bar.Left;
        TMenuItem* root = FMenu->Items();
        for (Integer i = 0; i < root->Count() && !hit; ++i) {
            TMenuItem* item = root->Items(i);
            if (!item->Visible())
                continue;
            TSize size = MeasurePlainMenuItem(&canvas, item, true);
            TRect r = Rect(x, bar.Top, x + size.cx, bar.Bottom);
            if (AScreen.X - window.Left >= r.Left && AScreen.X - window.Left < r.Right) {
                hit = item;
                hitRect = r;
            }
            x += size.cx;
        }
        canvas.SetHandle(nullptr);
    }
    ReleaseDC(Handle(), dc);
    if (!hit || !hit->Enabled())
        return;
    if (hit->Count() == 0) {
        hit->Click();
        return;
    }
    hit->Click();  // a submenu's OnClick runs as it opens, so it can update its items
    TrackPlainMenu(hit, {window.Left + hitRect.Left, window.Top + hitRect.Bottom}, FMenu->Images());
}

void TCustomForm::MouseWheelHandler(TMessage& AMessage)
{
    UINT notification = AMessage.Msg == WM_MOUSEHWHEEL ? CM_MOUSEHWHEEL : CM_MOUSEWHEEL;
    if (FFocusedControl && FFocusedControl != this)
        AMessage.Result = FFocusedControl->Perform(notification, AMessage.WParam, AMessage.LParam);
    else
        AMessage.Result = Perform(notification, AMessage.WParam, AMessage.LParam);
}

void TCustomForm::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_NCCALCSIZE: {
        TCustomControl::WndProc(AMessage);
        if (int h = MenuBarHeight()) {
            if (AMessage.WParam)
                reinterpret_cast<NCCALCSIZE_PARAMS*>(AMessage.LParam)->rgrc[0].Top += h;
            else
                reinterpret_cast<TRect*>(AMessage.LParam)->Top += h;
        }
        return;
    }
    case WM_NCPAINT:
        TCustomControl::WndProc(AMessage);
        PaintMenuBar();
        return;
    case WM_NCACTIVATE:
        TCustomControl::WndProc(AMessage);
        PaintMenuBar();
        return;
    case WM_NCHITTEST:
        if (MenuBarHeight()) {
            TPoint at = LParamToPoint(AMessage.LParam);
            TRect window;
            GetWindowRect(Handle(), window);
            TRect bar = MenuBarRect();
            int x = at.X - window.Left, y = at.Y - window.Top;
            if (x >= bar.Left && x < bar.Right && y >= bar.Top && y < bar.Bottom) {
                AMessage.Result = HTMENU;
                return;
            }
        }
        break;
    case WM_NCLBUTTONDOWN:
        if (static_cast<LRESULT>(AMessage.WParam) == HTMENU) {
            MenuBarClick(LParamToPoint(AMessage.LParam));
            return;
        }
        break;
    case WM_SYSCOMMAND:
        // The desktop minimizing the main form, or restoring any form of a minimized application, acts on the
        // whole application, as the program's own minimize does.
        if (Application && (AMessage.WParam & 0xFFF0) == SC_RESTORE && Application->Minimized()) {
            Application->Restore();
            return;
        }
        if (Application && (AMessage.WParam & 0xFFF0) == SC_MINIMIZE && Application->MainForm() == this) {
            Application->Minimize();
            return;
        }
        break;
    case WM_ACTIVATE:
        TCustomControl::WndProc(AMessage);
        Activated(LOWORD(AMessage.WParam) != WA_INACTIVE);
        return;
    case WM_MOUSEACTIVATE:
        if (FFormStyle == fsMDIChild)
            BringWindowToTop(Handle());
        break;
    case WM_SETFOCUS:
        if (FActiveControl && FActiveControl != this && FActiveControl->CanFocus()) {
            win::SetFocus(FActiveControl->Handle());
            return;
        }
        break;
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        Free();
        return;
    case CM_DIALOGKEY: {
        TShiftState shift = KeyboardShiftState();
        switch (AMessage.WParam) {
        case VK_TAB:
            if (shift.Contains(ssCtrl) || shift.Contains(ssAlt))
                break;
            SelectNext(FActiveControl, !shift.Contains(ssShift), true);
            AMessage.Result = 1;
            return;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                // Arrows move among the siblings of the focused control, tab stops or not.
                FActiveControl->Parent()->SelectNext(FActiveControl,
                                                     AMessage.WParam == VK_RIGHT || AMessage.WParam == VK_DOWN, false);
                AMessage.Result = 1;
            }
            return;
        default: break;
        }
        break;
    }
    default: break;
    }
    TCustomControl::WndProc(AMessage);
}
