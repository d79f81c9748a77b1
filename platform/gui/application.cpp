#include "platform/gui/application.h"

#include "platform/gui/message_box.h"
#include "platform/gui/screen.h"
#include "platform/gui/utility_window.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/sysutils.h"

#include <algorithm>

using namespace win;

TApplication* Application = nullptr;

namespace {

constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;
constexpr int kHintCursorMargin = 20;

std::string ShortHint(const std::string& AHint)
{
    auto bar = AHint.find('|');
    return bar == std::string::npos ? AHint : AHint.substr(0, bar);
}

// The keys a dialog may take for itself, each with the WM_GETDLGCODE answer by which a control keeps it; 0 for
// every other key. DLGC_WANTALLKEYS keeps them all.
LRESULT DialogKeyMask(WPARAM AKey)
{
    switch (AKey) {
    case VK_TAB: return DLGC_WANTTAB | DLGC_WANTALLKEYS;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_EXECUTE:
    case VK_CANCEL: return DLGC_WANTALLKEYS;
    default: return 0;
    }
}

LRESULT DialogCode(MSG& AMsg)
{
    return SendMessage(AMsg.hwnd, WM_GETDLGCODE, AMsg.wParam, reinterpret_cast<LPARAM>(&AMsg));
}

// Input for a window inside a disabled one (a form behind a modal form) is dropped here, as the window manager
// still delivers it to enabled children of disabled top-level windows.
bool InputBlocked(const MSG& AMsg)
{
    bool input = (AMsg.message >= WM_MOUSEFIRST && AMsg.message <= WM_MOUSELAST) ||
                 (AMsg.message >= WM_NCMOUSEMOVE && AMsg.message <= WM_NCMBUTTONDBLCLK) ||
                 (AMsg.message >= WM_KEYFIRST && AMsg.message <= WM_KEYLAST);
    if (!input)
        return false;
    for (HWND window = GetAncestor(AMsg.hwnd, GA_PARENT); window; window = GetAncestor(window, GA_PARENT))
        if (!IsWindowEnabled(window))
            return true;
    return false;
}

}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    HintWindowClass = HintWindowClassOf<THintWindow>();
    if (!::Screen)
        FOwnScreen = new TScreen(nullptr);
    if (!::Application)
        ::Application = this;
    FHookId = AddMessageHook([this](MSG& AMsg) {
        if (FOnMessage.empty() || ::Application != this)
            return false;
        TMessageEvent handler = FOnMessage.back().second;
        bool handled = false;
        handler(AMsg, handled);
        return handled;
    });
}

TApplication::~TApplication()
{
    CancelHint();
    RemoveMessageHook(FHookId);
    DestroyComponents();
    FHintWindow = nullptr;
    if (FHandle)
        DeallocateHWnd(FHandle);
    FHandle = nullptr;
    if (::Application == this)
        ::Application = nullptr;
    delete FOwnScreen;
}

HWND TApplication::Handle()
{
    if (!FHandle)
        FHandle = AllocateHWnd([this](TMessage& AMessage) { AppWndProc(AMessage); });
    return FHandle;
}

std::string TApplication::ExeName() const
{
    return GetExecutablePath();
}

void TApplication::AppWndProc(TMessage& AMessage)
{
    if (AMessage.Msg == WM_TIMER) {
        if (AMessage.WParam == kHintShowTimer) {
            TPoint at;
            GetCursorPos(at);
            ActivateHint(at);
        } else if (AMessage.WParam == kHintHideTimer) {
            HideHint();
        }
        return;
    }
    AMessage.Result = DefWindowProc(FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
}

int TApplication::SetOnMessage(TMessageEvent AHandler)
{
    int id = FNextMessageId++;
    FOnMessage.emplace_back(id, std::move(AHandler));
    return id;
}

void TApplication::RemoveOnMessage(int AId)
{
    std::erase_if(FOnMessage, [AId](const auto& AEntry) { return AEntry.first == AId; });
}

TMessageEvent TApplication::OnMessage() const
{
    return FOnMessage.empty() ? TMessageEvent() : FOnMessage.back().second;
}

bool TApplication::IsKeyMsg(MSG& AMsg)
{
    if (AMsg.message != WM_KEYDOWN && AMsg.message != WM_SYSKEYDOWN && AMsg.message != WM_SYSCHAR &&
        AMsg.message != WM_CHAR)
        return false;
    TWinControl* control = nullptr;
    for (HWND window = AMsg.hwnd; window && !control; window = GetAncestor(window, GA_PARENT))
        control = TWinControl::FindControl(window);
    if (!control)
        return false;
    TCustomForm* form = GetParentForm(control);
    if (!form)
        return false;
    if (AMsg.message == WM_SYSCHAR)
        return form->Perform(CM_DIALOGCHAR, AMsg.wParam, AMsg.lParam) != 0;
    // A plain character is an accelerator only where the focused control does not type it.
    if (AMsg.message == WM_CHAR)
        return !(DialogCode(AMsg) & DLGC_WANTCHARS) && form->Perform(CM_DIALOGCHAR, AMsg.wParam, AMsg.lParam) != 0;
    TMessage key{AMsg.message, AMsg.wParam, AMsg.lParam, 0};
    if (form->IsShortCut(key))
        return true;
    if (form->FormStyle() == fsMDIChild && FMainForm && FMainForm != form && FMainForm->IsShortCut(key))
        return true;
    // Tab, the arrows, Enter and Escape go to the form, unless the focused control keeps them.
    LRESULT mask = DialogKeyMask(AMsg.wParam);
    if (mask && control->Perform(CM_WANTSPECIALKEY, AMsg.wParam, AMsg.lParam) == 0 && !(DialogCode(AMsg) & mask) &&
        form->Perform(CM_DIALOGKEY, AMsg.wParam, AMsg.lParam) != 0)
        return true;
    return false;
}

bool TApplication::ProcessMessage(MSG& AMsg)
{
    if (!PeekMessage(AMsg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (AMsg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (InputBlocked(AMsg))
        return true;
    if (AMsg.message == WM_KEYDOWN && AMsg.wParam == static_cast<WPARAM>(VK_ESCAPE) && DragInProgress()) {
        CancelDrag();
        return true;
    }
    try {
        if (!IsKeyMsg(AMsg)) {
            TranslateMessage(AMsg);
            DispatchMessage(AMsg);
        }
    } catch (...) {
        HandleException(this);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Idle()
{
    // A pointer that left every control of ours still has to say goodbye to the last one.
    if (!GetCaptureControl()) {
        TPoint at;
        GetCursorPos(at);
        TControl* under = FindDragTarget(at, false);
        if (under != MouseOverControl())
            SetMouseOverControl(under);
    }
    if (OnIdle)
        OnIdle(this);
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (ProcessMessage(msg))
        return;
    Idle();
    MSG peek;
    if (!FTerminated && !PeekMessage(peek, nullptr, 0, 0, PM_NOREMOVE))
        WaitMessage();
}

void TApplication::Run()
{
    if (FMainForm && ShowMainForm)
        FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

void TApplication::Terminate()
{
    if (FTerminated)
        return;
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::Minimize()
{
    if (FMinimized || !::Screen)
        return;
    FMinimized = true;
    FMinimizedForms.clear();
    for (Integer i = 0; i < ::Screen->FormCount(); ++i) {
        TCustomForm* form = ::Screen->Forms(i);
        if (form->FormStyle() != fsMDIChild && form->HandleAllocated() && IsWindowVisible(form->Handle()) &&
            !IsIconic(form->Handle())) {
            FMinimizedForms.push_back(form);
            ShowWindow(form->Handle(), SW_SHOWMINNOACTIVE);
        }
    }
    SendMessage(Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
}

void TApplication::Restore()
{
    if (!FMinimized)
        return;
    FMinimized = false;
    std::vector<TCustomForm*> forms;
    forms.swap(FMinimizedForms);
    for (TCustomForm* form : forms)
        if (::Screen && form->HandleAllocated())
            ShowWindow(form->Handle(), SW_RESTORE);
    SendMessage(Handle(), WM_SIZE, SIZE_RESTORED, 0);
    if (FMainForm && FMainForm->HandleAllocated() && FMainForm->Visible())
        SetActiveWindow(FMainForm->Handle());
}

// ---- hints -----------------------------------------------------------------------------------------------------

void TApplication::SetShowHint(bool AValue)
{
    FShowHint = AValue;
    if (!AValue) {
        CancelHint();
        // Made anew at the next hint, of the class HintWindowClass names then.
        delete FHintWindow;
        FHintWindow = nullptr;
    }
}

void TApplication::StartHintTimer(Integer APause, int AId)
{
    StopHintTimer(AId);
    SetTimer(Handle(), AId, static_cast<UINT>(std::max(1, APause)));
}

void TApplication::StopHintTimer(int AId)
{
    if (FHandle)
        KillTimer(FHandle, AId);
}

TControl* TApplication::HintControlFor(TControl* AControl)
{
    while (AControl && AControl->Hint().empty())
        AControl = AControl->Parent();
    if (!AControl || !AControl->ShowHint())
        return nullptr;
    return AControl;
}

void TApplication::HintMouseMessage(TControl* AControl, TMessage&)
{
    if (!FShowHint)
        return;
    TControl* control = HintControlFor(AControl);
    if (control == FHintControl)
        return;
    bool quick = FShowingHint;
    StopHintTimer(kHintShowTimer);
    StopHintTimer(kHintHideTimer);
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
    FShowingHint = false;
    FHintControl = control;
    if (control)
        StartHintTimer(quick ? HintShortPause : HintPause, kHintShowTimer);
}

void TApplication::HintControlLeft(TControl* AControl)
{
    if (AControl == FHintControl && !FShowingHint)
        StopHintTimer(kHintShowTimer);
}

void TApplication::ActivateHint(TPoint ACursorPos)
{
    StopHintTimer(kHintShowTimer);
    if (!FHintControl || !FShowHint)
        return;
    THintInfo info;
    info.HintControl = FHintControl;
    info.HintStr = ShortHint(FHintControl->Hint());
    info.HintPos = {ACursorPos.X, ACursorPos.Y + kHintCursorMargin};
    info.HintMaxWidth = ::Screen ? ::Screen->Width() : 1024;
    info.HintColor = HintColor;
    info.CursorRect = FHintControl->ClientRect();
    info.CursorPos = FHintControl->ScreenToClient(ACursorPos);
    info.HideTimeout = HintHidePause;
    bool canShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (canShow && OnShowHint)
        OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty())
        return;
    if (!FHintWindow) {
        FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
        FHintWindow->FreeNotification(this);
    }
    FHintWindow->SetColor(info.HintColor);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
    if (::Screen) {
        // Keep the hint on the screen.
        TRect work = ::Screen->WorkAreaRect();
        if (r.Right > work.Right)
            r = Bounds(std::max(work.Left, work.Right - r.Width()), r.Top, r.Width(), r.Height());
        if (r.Bottom > work.Bottom)
            r = Bounds(r.Left, std::max(work.Top, ACursorPos.Y - r.Height()), r.Width(), r.Height());
    }
    FHintWindow->ActivateHint(r, info.HintStr);
    FShowingHint = true;
    if (info.HideTimeout > 0)
        StartHintTimer(info.HideTimeout, kHintHideTimer);
}

void TApplication::HideHint()
{
    StopHintTimer(kHintHideTimer);
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
    FShowingHint = false;
}

void TApplication::CancelHint()
{
    StopHintTimer(kHintShowTimer);
    HideHint();
    FHintControl = nullptr;
}

void TApplication::ControlDestroyed(TControl* AControl)
{
    if (AControl == FHintControl)
        CancelHint();
    if (AControl == FHintWindow)
        FHintWindow = nullptr;
    if (AControl == FMainForm)
        FMainForm = nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == opRemove) {
        if (AComponent == FHintWindow)
            FHintWindow = nullptr;
        if (AComponent == FMainForm)
            FMainForm = nullptr;
    }
}

// ---- errors ----------------------------------------------------------------------------------------------------

void TApplication::HandleException(TObject* ASender)
{
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        if (OnException)
            OnException(ASender, e);
        else
            ShowException(e);
    } catch (...) {
        Exception unknown("Unknown error");
        if (OnException)
            OnException(ASender, unknown);
        else
            ShowException(unknown);
    }
}

void TApplication::ShowException(const std::exception& E)
{
    std::string text = E.what();
    if (!text.empty() && text.back() != '.')
        text += '.';
    MessageBox(text, FTitle.empty() ? ExtractFileName(ExeName()) : FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& AText, const std::string& ACaption, UINT AFlags)
{
    return ShowPlainMessageBox(AText, ACaption, AFlags);
}
