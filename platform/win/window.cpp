#include "platform/win/window.h"

#include "platform/rtl/exceptions.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "platform/win/window_state.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace win {

using namespace wm;

namespace {

std::string Lower(std::string AText)
{
    for (char& c : AText)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return AText;
}

bool WantsMinMaxInfo(DWORD AStyle) { return (AStyle & WS_THICKFRAME) || !(AStyle & (WS_POPUP | WS_CHILD)); }

void InsertTopLevel(HWND AWindow, bool ATopMost)
{
    auto& list = State().TopLevels;
    auto it = list.begin();
    if (!ATopMost)
        while (it != list.end() && (Get(*it).ExStyle & WS_EX_TOPMOST))
            ++it;
    list.insert(it, AWindow);
}

void Unlink(TWindow& AWindow)
{
    auto& list = AWindow.Parent ? Get(AWindow.Parent).Children : State().TopLevels;
    list.erase(std::remove(list.begin(), list.end(), AWindow.Handle), list.end());
}

void SendParentNotify(HWND AWindow, UINT AEvent)
{
    HWND child = AWindow;
    while (true) {
        HWND parent;
        intptr_t id;
        {
            TLock lock(State().Lock);
            TWindow* window = Find(child);
            if (!window || !window->Parent || (window->ExStyle & WS_EX_NOPARENTNOTIFY))
                return;
            parent = window->Parent;
            id = Get(AWindow).Id;
        }
        SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(AEvent, static_cast<int>(id)),
                    reinterpret_cast<LPARAM>(AWindow));
        child = parent;
    }
}

TRect DefaultPlacement(int AX, int AY, int AWidth, int AHeight, bool AChild)
{
    if (AChild)
        return Bounds(AX == CW_USEDEFAULT ? 0 : AX, AY == CW_USEDEFAULT ? 0 : AY,
                      AWidth == CW_USEDEFAULT ? 0 : AWidth, AHeight == CW_USEDEFAULT ? 0 : AHeight);
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    static int cascade = 0;
    if (AX == CW_USEDEFAULT) {
        int step = (cascade++ % 8) * 24;
        AX = work.Left + step;
        AY = work.Top + step;
    }
    if (AWidth == CW_USEDEFAULT) {
        AWidth = work.Width() * 3 / 4;
        AHeight = work.Height() * 3 / 4;
    }
    return Bounds(AX, AY, AWidth, AHeight);
}

// Destroys AWindow's own messages and then those of its children: the half of destruction that talks to the
// procedures.
void SendDestroyMessages(HWND AWindow)
{
    SendMessage(AWindow, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        TLock lock(State().Lock);
        if (TWindow* window = Find(AWindow))
            children = window->Children;
    }
    for (HWND child : children) {
        {
            TLock lock(State().Lock);
            if (TWindow* window = Find(child))
                window->Destroying = true;
        }
        SendDestroyMessages(child);
    }
}

void FreeWindow(HWND AWindow)
{
    std::vector<HWND> children;
    {
        TLock lock(State().Lock);
        if (TWindow* window = Find(AWindow))
            children = window->Children;
    }
    for (HWND child : children)
        FreeWindow(child);
    SendMessage(AWindow, WM_NCDESTROY, 0, 0);
    bool top_level = false;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return;
        top_level = IsTopLevel(*window);
        Unlink(*window);
        ForgetWindowInQueues(AWindow);
        ForgetCaretOf(AWindow);
        auto& state = State();
        if (state.Focus == AWindow)
            state.Focus = nullptr;
        if (state.Active == AWindow)
            state.Active = nullptr;
        if (state.Capture == AWindow)
            state.Capture = nullptr;
        auto keep = state.Windows[AWindow];  // the record lives until the lock is released
        state.Windows.erase(AWindow);
    }
    if (top_level)
        if (TBackend* backend = CurrentBackend())
            backend->TopLevelDestroyed(AWindow);
}

}  // namespace

ATOM RegisterClass(const WNDCLASS& AClass)
{
    TLock lock(State().Lock);
    std::string key = Lower(AClass.lpszClassName);
    if (key.empty() || State().Classes.count(key))
        return 0;
    auto entry = std::make_shared<TWindowClass>();
    entry->Class = AClass;
    entry->Atom = State().NextAtom++;
    State().Classes[key] = entry;
    return entry->Atom;
}

BOOL UnregisterClass(const std::string& AClassName)
{
    TLock lock(State().Lock);
    auto it = State().Classes.find(Lower(AClassName));
    if (it == State().Classes.end())
        return FALSE;
    for (auto& [handle, window] : State().Windows)
        if (window->Class == it->second)
            return FALSE;  // still in use, as the platform refuses it
    State().Classes.erase(it);
    return TRUE;
}

BOOL GetClassInfo(const std::string& AClassName, WNDCLASS& AClass)
{
    TLock lock(State().Lock);
    auto it = State().Classes.find(Lower(AClassName));
    if (it == State().Classes.end())
        return FALSE;
    AClass = it->second->Class;
    return TRUE;
}

std::string GetClassName(HWND AWindow)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    return window ? window->Class->Class.lpszClassName : std::string();
}

LONG_PTR GetClassLong(HWND AWindow, int AIndex)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return 0;
    switch (AIndex) {
    case GCL_STYLE: return window->Class->Class.style;
    case GCL_HCURSOR: return reinterpret_cast<LONG_PTR>(window->Class->Class.hCursor);
    default: return 0;
    }
}

LONG_PTR SetClassLong(HWND AWindow, int AIndex, LONG_PTR AValue)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return 0;
    LONG_PTR old = GetClassLong(AWindow, AIndex);
    switch (AIndex) {
    case GCL_STYLE: window->Class->Class.style = static_cast<UINT>(AValue); break;
    case GCL_HCURSOR: window->Class->Class.hCursor = reinterpret_cast<HCURSOR>(AValue); break;
    default: return 0;
    }
    return old;
}

HWND CreateWindowEx(DWORD AExStyle, const std::string& AClassName, const std::string& AWindowName, DWORD AStyle,
                    int AX, int AY, int AWidth, int AHeight, HWND AParent, intptr_t AMenu, void* AParam)
{
    bool child = AStyle & WS_CHILD;
    HWND handle;
    CREATESTRUCT create;
    {
        TLock lock(State().Lock);
        auto& state = State();
        auto cls = state.Classes.find(Lower(AClassName));
        if (cls == state.Classes.end())
            return nullptr;
        if (child && !Find(AParent))
            return nullptr;
        if (!child && AParent && !Find(AParent))
            return nullptr;
        auto window = std::make_shared<TWindow>();
        handle = reinterpret_cast<HWND>(state.NextHandle);
        state.NextHandle += 4;
        window->Handle = handle;
        window->Class = cls->second;
        window->Proc = cls->second->Class.lpfnWndProc;
        // Visibility comes through the show sequence once the window is built.
        window->Style = AStyle & ~WS_VISIBLE;
        if (!child && !(AStyle & WS_POPUP))
            window->Style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped windows always have a caption
        window->ExStyle = AExStyle;
        window->Text = AWindowName;
        window->Id = child ? AMenu : 0;
        window->Thread = CurrentThread();
        window->Window = DefaultPlacement(AX, AY, AWidth, AHeight, child);
        window->Client = window->Window;
        window->Normal = window->Window;
        if (child) {
            window->Parent = AParent;
            Get(AParent).Children.insert(Get(AParent).Children.begin(), handle);
        } else {
            window->Owner = AParent ? TopLevelOf(AParent) : nullptr;
        }
        state.Windows[handle] = window;
        if (!child)
            InsertTopLevel(handle, AExStyle & WS_EX_TOPMOST);
        CurrentQueue();
        create.lpCreateParams = AParam;
        create.hMenu = AMenu;
        create.hwndParent = AParent;
        create.x = window->Window.Left;
        create.y = window->Window.Top;
        create.cx = window->Window.Width();
        create.cy = window->Window.Height();
        create.style = static_cast<LONG>(AStyle);
        create.lpszName = AWindowName;
        create.lpszClass = AClassName;
        create.dwExStyle = AExStyle;
    }

    if (WantsMinMaxInfo(AStyle)) {
        MINMAXINFO info = GetMinMaxInfo(handle);
        TLock lock(State().Lock);
        TWindow& window = Get(handle);
        int width = std::clamp(window.Window.Width(), info.ptMinTrackSize.X, info.ptMaxTrackSize.X);
        int height = std::clamp(window.Window.Height(), info.ptMinTrackSize.Y, info.ptMaxTrackSize.Y);
        window.Window.Right = window.Window.Left + width;
        window.Window.Bottom = window.Window.Top + height;
        create.cx = width;
        create.cy = height;
    }
    if (!SendMessage(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        DestroyWindow(handle);
        return nullptr;
    }
    TRect client;
    {
        TLock lock(State().Lock);
        client = Get(handle).Window;
    }
    SendMessage(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    {
        TLock lock(State().Lock);
        TWindow* window = Find(handle);
        if (!window)
            return nullptr;
        window->Client = client;
        if (IsTopLevel(*window))
            ResizeSurface(*window);
    }
    if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    {
        TLock lock(State().Lock);
        TWindow* window = Find(handle);
        if (!window)
            return nullptr;
        window->Created = true;
    }
    if (child)
        SendParentNotify(handle, WM_CREATE);
    TRect client_rect;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(handle);
        if (!window)
            return nullptr;
        client_rect = window->Client;
    }
    SendMessage(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client_rect.Width(), client_rect.Height()));
    SendMessage(handle, WM_MOVE, 0, MAKELPARAM(client_rect.Left, client_rect.Top));
    if (!IsWindow(handle))
        return nullptr;
    if (!child)
        NotifyTopLevelChanged(handle);
    if (AStyle & WS_VISIBLE) {
        int show = SW_SHOW;
        if (AStyle & WS_MAXIMIZE)
            show = SW_SHOWMAXIMIZED;
        else if (AStyle & WS_MINIMIZE)
            show = SW_SHOWMINIMIZED;
        {
            TLock lock(State().Lock);
            Get(handle).Style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
        }
        ShowWindow(handle, show);
    }
    return IsWindow(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND AWindow)
{
    std::vector<HWND> owned;
    bool child;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window || window->Thread != CurrentThread() || window->Destroying)
            return FALSE;
        window->Destroying = true;
        child = !IsTopLevel(*window);
        for (HWND top : State().TopLevels)
            if (Get(top).Owner == AWindow)
                owned.push_back(top);
    }
    for (HWND window : owned)
        DestroyWindow(window);
    if (child)
        SendParentNotify(AWindow, WM_DESTROY);
    if (IsWindowVisible(AWindow) || (!child && (GetWindowLong(AWindow, GWL_STYLE) & WS_VISIBLE)))
        SetWindowPos(AWindow, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (child ? SWP_NOACTIVATE : 0));
    else if (!child)
        ActivateNextAfter(AWindow);
    {
        TLock lock(State().Lock);
        auto& state = State();
        if (state.Capture && (state.Capture == AWindow || IsChild(AWindow, state.Capture))) {
            lock.unlock();
            ReleaseCapture();
        }
    }
    {
        TLock lock(State().Lock);
        auto& state = State();
        if (state.Focus && (state.Focus == AWindow || IsChild(AWindow, state.Focus))) {
            lock.unlock();
            SetFocus(nullptr);
        }
    }
    SendDestroyMessages(AWindow);
    FreeWindow(AWindow);
    return TRUE;
}

BOOL IsWindow(HWND AWindow)
{
    TLock lock(State().Lock);
    return Find(AWindow) != nullptr;
}

BOOL IsWindowVisible(HWND AWindow)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    return window && IsVisibleWithAncestors(*window);
}

BOOL IsWindowEnabled(HWND AWindow)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    return window && !(window->Style & WS_DISABLED);
}

BOOL EnableWindow(HWND AWindow, BOOL AEnable)
{
    bool was_disabled;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return FALSE;
        was_disabled = window->Style & WS_DISABLED;
        if (was_disabled == !AEnable)
            return was_disabled;
        if (AEnable)
            window->Style &= ~WS_DISABLED;
        else
            window->Style |= WS_DISABLED;
    }
    if (!AEnable) {
        if (GetFocus() == AWindow || IsChild(AWindow, GetFocus()))
            SetFocus(nullptr);
        if (GetCapture() == AWindow)
            ReleaseCapture();
    }
    SendMessage(AWindow, WM_ENABLE, AEnable, 0);
    return was_disabled;
}

BOOL IsChild(HWND AParent, HWND AWindow)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    while (window && window->Parent) {
        if (window->Parent == AParent)
            return TRUE;
        window = Find(window->Parent);
    }
    return FALSE;
}

BOOL IsIconic(HWND AWindow) { return (GetWindowLong(AWindow, GWL_STYLE) & WS_MINIMIZE) != 0; }
BOOL IsZoomed(HWND AWindow) { return (GetWindowLong(AWindow, GWL_STYLE) & WS_MAXIMIZE) != 0; }

HWND GetParent(HWND AWindow)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return nullptr;
    return window->Parent ? window->Parent : window->Owner;
}

HWND SetParent(HWND AWindow, HWND ANewParent)
{
    HWND old;
    bool visible;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window || (ANewParent && !Find(ANewParent)) || ANewParent == AWindow || IsChild(AWindow, ANewParent))
            return nullptr;
        old = window->Parent;
        visible = window->Style & WS_VISIBLE;
    }
    if (visible)
        ShowWindow(AWindow, SW_HIDE);
    {
        TLock lock(State().Lock);
        TWindow& window = Get(AWindow);
        bool was_top = IsTopLevel(window);
        Unlink(window);
        window.Parent = ANewParent;
        // The rectangles keep their numbers, now read in the new parent's client coordinates, as the platform
        // does.
        if (ANewParent) {
            Get(ANewParent).Children.insert(Get(ANewParent).Children.begin(), AWindow);
            window.Style = (window.Style & ~WS_POPUP) | WS_CHILD;
            window.Owner = nullptr;
        } else {
            window.Style &= ~WS_CHILD;
            InsertTopLevel(AWindow, window.ExStyle & WS_EX_TOPMOST);
        }
        if (IsTopLevel(window) && !was_top)
            ResizeSurface(window);
        if (!IsTopLevel(window) && was_top) {
            window.Pixels.clear();
            window.SurfaceWidth = window.SurfaceHeight = 0;
        }
    }
    bool now_top = GetAncestor(AWindow, GA_PARENT) == nullptr;
    if (!now_top) {
        if (TBackend* backend = CurrentBackend())
            backend->TopLevelDestroyed(AWindow);
    } else {
        NotifyTopLevelChanged(AWindow);
    }
    if (visible)
        ShowWindow(AWindow, SW_SHOWNA);
    return old;
}

HWND GetAncestor(HWND AWindow, UINT AFlags)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return nullptr;
    switch (AFlags) {
    case GA_PARENT: return window->Parent;
    case GA_ROOT: return TopLevelOf(AWindow);
    case GA_ROOTOWNER: {
        HWND root = TopLevelOf(AWindow);
        while (TWindow* owner = Find(Get(root).Owner))
            root = owner->Handle;
        return root;
    }
    default: return nullptr;
    }
}

HWND GetWindow(HWND AWindow, UINT ACommand)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return nullptr;
    if (ACommand == GW_OWNER)
        return window->Owner;
    if (ACommand == GW_CHILD)
        return window->Children.empty() ? nullptr : window->Children.front();
    const auto& list = window->Parent ? Get(window->Parent).Children : State().TopLevels;
    auto it = std::find(list.begin(), list.end(), AWindow);
    switch (ACommand) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list.begin() || it == list.end()) ? nullptr : *(it - 1);
    default: return nullptr;
    }
}

HWND GetTopWindow(HWND AParent)
{
    TLock lock(State().Lock);
    if (!AParent)
        return State().TopLevels.empty() ? nullptr : State().TopLevels.front();
    TWindow* window = Find(AParent);
    return (!window || window->Children.empty()) ? nullptr : window->Children.front();
}

DWORD GetWindowThreadProcessId(HWND AWindow, DWORD* AProcessId)
{
    if (AProcessId)
        *AProcessId = static_cast<DWORD>(getpid());
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    return window ? window->Thread : 0;
}

LONG_PTR GetWindowLong(HWND AWindow, int AIndex)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return 0;
    switch (AIndex) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(window->Proc);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window->Parent ? window->Parent : window->Owner);
    case GWL_ID: return window->Id;
    case GWL_STYLE: return window->Style;
    case GWL_EXSTYLE: return window->ExStyle;
    case GWL_USERDATA: return window->UserData;
    default: return 0;
    }
}

LONG_PTR SetWindowLong(HWND AWindow, int AIndex, LONG_PTR AValue)
{
    LONG_PTR old = GetWindowLong(AWindow, AIndex);
    if (!IsWindow(AWindow))
        return 0;
    if (AIndex == GWL_STYLE || AIndex == GWL_EXSTYLE) {
        STYLESTRUCT change{static_cast<DWORD>(old), static_cast<DWORD>(AValue)};
        WPARAM kind = static_cast<WPARAM>(static_cast<intptr_t>(AIndex));
        SendMessage(AWindow, WM_STYLECHANGING, kind, reinterpret_cast<LPARAM>(&change));
        bool top_level;
        {
            TLock lock(State().Lock);
            TWindow* window = Find(AWindow);
            if (!window)
                return 0;
            top_level = IsTopLevel(*window);
            if (AIndex == GWL_STYLE) {
                // Visibility and the child bit only change through ShowWindow and SetParent.
                DWORD fixed = WS_VISIBLE | WS_CHILD;
                window->Style = (change.styleNew & ~fixed) | (window->Style & fixed);
            } else {
                // TOPMOST only changes through SetWindowPos; leaving the layered state drops its attributes.
                DWORD kept = window->ExStyle & WS_EX_TOPMOST;
                window->ExStyle = (change.styleNew & ~WS_EX_TOPMOST) | kept;
                if (!(window->ExStyle & WS_EX_LAYERED)) {
                    window->Alpha = 255;
                    window->LayeredFlags = 0;
                    window->PerPixelAlpha = false;
                }
            }
        }
        SendMessage(AWindow, WM_STYLECHANGED, kind, reinterpret_cast<LPARAM>(&change));
        if (top_level)
            NotifyTopLevelChanged(AWindow);
        return old;
    }
    TLock lock(State().Lock);
    TWindow& window = Get(AWindow);
    switch (AIndex) {
    case GWL_WNDPROC: window.Proc = reinterpret_cast<WNDPROC>(AValue); break;
    case GWL_HWNDPARENT:
        if (IsTopLevel(window)) {
            HWND owner = reinterpret_cast<HWND>(AValue);
            window.Owner = owner && owner != AWindow ? TopLevelOf(owner) : nullptr;
        }
        break;
    case GWL_ID: window.Id = AValue; break;
    case GWL_USERDATA: window.UserData = AValue; break;
    default: return 0;
    }
    return old;
}

BOOL SetWindowText(HWND AWindow, const std::string& AText)
{
    return static_cast<BOOL>(SendMessage(AWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AText.c_str())));
}

std::string GetWindowText(HWND AWindow)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    return window ? window->Text : std::string();
}

int GetWindowTextLength(HWND AWindow) { return static_cast<int>(GetWindowText(AWindow).size()); }

LRESULT CallWindowProc(WNDPROC AProc, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    if (!AProc)
        return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
    return AProc(AWindow, AMessage, AWParam, ALParam);
}

}  // namespace win
