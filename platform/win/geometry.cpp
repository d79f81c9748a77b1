#include "platform/win/geometry.h"

#include "platform/win/frame.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "platform/win/window.h"
#include "platform/win/window_pos.h"
#include "platform/win/window_state.h"

#include <algorithm>
#include <climits>

namespace win {

using namespace wm;

namespace {

constexpr int kMinimizedX = -32000;
constexpr int kMinimizedY = -32000;
constexpr int kMinimizedWidth = 160;
constexpr int kMinimizedHeight = 28;

std::vector<TMonitorDesc> Monitors()
{
    if (TBackend* backend = CurrentBackend()) {
        auto monitors = backend->Monitors();
        if (!monitors.empty())
            return monitors;
    }
    return {{Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 768), true}};
}

TRect PrimaryScreen() { return Monitors().front().Monitor; }

// Moves AWindow in its sibling list as AInsertAfter says; owned windows stay above their owner.
void ApplyZOrder(TWindow& AWindow, HWND AInsertAfter)
{
    auto& list = AWindow.Parent ? Get(AWindow.Parent).Children : State().TopLevels;
    list.erase(std::remove(list.begin(), list.end(), AWindow.Handle), list.end());
    bool top_level = IsTopLevel(AWindow);
    if (top_level && AInsertAfter == HWND_TOPMOST)
        AWindow.ExStyle |= WS_EX_TOPMOST;
    else if (top_level && AInsertAfter == HWND_NOTOPMOST)
        AWindow.ExStyle &= ~WS_EX_TOPMOST;
    auto band_start = [&] {
        auto it = list.begin();
        if (top_level && !(AWindow.ExStyle & WS_EX_TOPMOST))
            while (it != list.end() && (Get(*it).ExStyle & WS_EX_TOPMOST))
                ++it;
        return it;
    };
    if (AInsertAfter == HWND_BOTTOM) {
        list.push_back(AWindow.Handle);
    } else if (AInsertAfter == HWND_TOP || AInsertAfter == HWND_TOPMOST || AInsertAfter == HWND_NOTOPMOST) {
        list.insert(band_start(), AWindow.Handle);
    } else {
        auto it = std::find(list.begin(), list.end(), AInsertAfter);
        list.insert(it == list.end() ? band_start() : it + 1, AWindow.Handle);
    }
    if (!top_level)
        return;
    // Owned windows go right above their owner, keeping their order among themselves.
    std::vector<HWND> owned;
    for (HWND other : list)
        if (Get(other).Owner == AWindow.Handle)
            owned.push_back(other);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        TWindow& child = Get(*it);
        if ((child.ExStyle & WS_EX_TOPMOST) != (AWindow.ExStyle & WS_EX_TOPMOST) && (child.ExStyle & WS_EX_TOPMOST))
            continue;  // a topmost owned window already sits above
        list.erase(std::remove(list.begin(), list.end(), *it), list.end());
        auto owner = std::find(list.begin(), list.end(), AWindow.Handle);
        list.insert(owner, *it);
    }
}

void InvalidateParentArea(TWindow& AWindow, const TRect& AWindowRect)
{
    if (TWindow* parent = Find(AWindow.Parent)) {
        TRect area = RectOffset(AWindowRect, -parent->Client.Left, -parent->Client.Top);
        InvalidateInternal(*parent, TRegion(area), true, true);
    }
}

MINMAXINFO DefaultMinMaxInfo(const TWindow& AWindow)
{
    MINMAXINFO info;
    int frame = FrameThickness(AWindow.Style, AWindow.ExStyle);
    TRect work = PrimaryScreen();
    if (IsTopLevel(AWindow)) {
        MONITORINFO monitor;
        GetMonitorInfo(MonitorFromRect(WindowRectOnScreen(AWindow), MONITOR_DEFAULTTONEAREST), &monitor);
        work = monitor.rcWork;
    } else if (TWindow* parent = Find(AWindow.Parent)) {
        work = Rect(0, 0, parent->Client.Width(), parent->Client.Height());
    }
    // A maximized window puts its sizing frame just outside the work area.
    bool outside = AWindow.Style & WS_THICKFRAME;
    int edge = outside ? frame : 0;
    info.ptMaxSize = {work.Width() + 2 * edge, work.Height() + 2 * edge};
    info.ptMaxPosition = {work.Left - edge, work.Top - edge};
    info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    return info;
}

// An owner going to or coming back from the minimized state takes its owned windows with it: they hide when it
// is minimized and those it hid come back when it is restored.
void ShowOwnedWindows(HWND AOwner, bool AShow)
{
    std::vector<HWND> owned;
    {
        TLock lock(State().Lock);
        for (HWND top : State().TopLevels) {
            TWindow& window = Get(top);
            if (window.Owner != AOwner || window.Destroying)
                continue;
            bool visible = window.Style & WS_VISIBLE;
            if (AShow ? window.HiddenWithOwner : visible)
                owned.push_back(top);
            window.HiddenWithOwner = !AShow && visible;
        }
    }
    for (HWND window : owned) {
        SendMessage(window, WM_SHOWWINDOW, AShow, AShow ? SW_PARENTOPENING : SW_PARENTCLOSING);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     (AShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                         SWP_NOACTIVATE);
    }
}

bool ShowState(HWND AWindow, DWORD AStateBit, bool AShow, bool AActivate)
{
    TRect target;
    bool was_visible, was_minimized;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return false;
        was_visible = window->Style & WS_VISIBLE;
        was_minimized = window->Style & WS_MINIMIZE;
        bool normal = !(window->Style & (WS_MINIMIZE | WS_MAXIMIZE));
        if (normal)
            window->Normal = window->Window;
        if (AStateBit == WS_MINIMIZE) {
            window->WasMaximized = window->Style & WS_MAXIMIZE;
            window->Style = (window->Style & ~WS_MAXIMIZE) | WS_MINIMIZE;
            target = Bounds(kMinimizedX, kMinimizedY, kMinimizedWidth, kMinimizedHeight);
        } else if (AStateBit == WS_MAXIMIZE) {
            window->Style = (window->Style & ~WS_MINIMIZE) | WS_MAXIMIZE;
            target = {};
        } else {
            window->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            target = window->Normal;
        }
    }
    if (AStateBit == WS_MAXIMIZE) {
        MINMAXINFO info = GetMinMaxInfo(AWindow);
        target = Bounds(info.ptMaxPosition.X, info.ptMaxPosition.Y, info.ptMaxSize.X, info.ptMaxSize.Y);
    }
    if (!was_visible && AShow)
        SendMessage(AWindow, WM_SHOWWINDOW, TRUE, 0);
    UINT flags = SWP_FRAMECHANGED | SWP_NOZORDER | (AShow ? SWP_SHOWWINDOW : 0) | (AActivate ? 0 : SWP_NOACTIVATE);
    SetWindowPos(AWindow, nullptr, target.Left, target.Top, target.Width(), target.Height(), flags);
    if (AStateBit == WS_MINIMIZE)
        ShowOwnedWindows(AWindow, false);
    else if (was_minimized)
        ShowOwnedWindows(AWindow, true);
    if (AStateBit == WS_MINIMIZE) {
        HWND focus = GetFocus();
        if (focus && (focus == AWindow || IsChild(AWindow, focus)))
            SetFocus(nullptr);
        if (GetActiveWindow() == AWindow)
            ActivateNextAfter(AWindow);
    }
    return was_visible;
}

}  // namespace

namespace wm {

// Asks the window (WM_WINDOWPOSCHANGING, WM_NCCALCSIZE) where it goes; nothing moves yet.
bool PrepareWindowPos(TPendingWindowPos& APending)
{
    WINDOWPOS& pos = APending.Pos;
    HWND handle = pos.hwnd;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(handle);
        if (!window)
            return false;
        APending.OldWindow = window->Window;
        APending.OldClient = window->Client;
        APending.Child = !IsTopLevel(*window);
        bool visible = window->Style & WS_VISIBLE;
        if (pos.flags & SWP_NOMOVE) {
            pos.x = APending.OldWindow.Left;
            pos.y = APending.OldWindow.Top;
        }
        if (pos.flags & SWP_NOSIZE) {
            pos.cx = APending.OldWindow.Width();
            pos.cy = APending.OldWindow.Height();
        }
        if (visible)
            pos.flags &= ~SWP_SHOWWINDOW;
        else
            pos.flags &= ~SWP_HIDEWINDOW;
        if (APending.Child || (window->ExStyle & WS_EX_NOACTIVATE))
            pos.flags |= SWP_NOACTIVATE;
        if (pos.hwndInsertAfter == handle)
            pos.flags |= SWP_NOZORDER;
    }
    pos.cx = std::max(pos.cx, 0);
    pos.cy = std::max(pos.cy, 0);
    if (!(pos.flags & SWP_NOSENDCHANGING))
        SendMessage(handle, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    pos.cx = std::max(pos.cx, 0);
    pos.cy = std::max(pos.cy, 0);
    const TRect& old_window = APending.OldWindow;
    APending.NewWindow = Bounds(pos.x, pos.y, pos.cx, pos.cy);
    APending.Moved = APending.NewWindow.TopLeft() != old_window.TopLeft();
    APending.Sized = APending.NewWindow.Width() != old_window.Width() ||
                     APending.NewWindow.Height() != old_window.Height();
    APending.NewClient = RectOffset(APending.OldClient, APending.NewWindow.Left - old_window.Left,
                                    APending.NewWindow.Top - old_window.Top);
    if (APending.Sized || (pos.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params;
        params.rgrc[0] = APending.NewWindow;
        params.rgrc[1] = old_window;
        params.rgrc[2] = APending.OldClient;
        params.lppos = &pos;
        SendMessage(handle, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        APending.NewClient = params.rgrc[0];
    }
    return true;
}

// Puts the window at its new place; sends nothing.
bool CommitWindowPos(TPendingWindowPos& APending)
{
    WINDOWPOS& pos = APending.Pos;
    TLock lock(State().Lock);
    TWindow* window = Find(pos.hwnd);
    if (!window)
        return false;
    const TRect& new_client = APending.NewClient;
    const TRect& old_client = APending.OldClient;
    bool child = APending.Child, moved = APending.Moved, sized = APending.Sized;
    APending.TopLevel = IsTopLevel(*window);
    bool was_visible = IsVisibleWithAncestors(*window);
    if (child && was_visible && (moved || sized || (pos.flags & SWP_HIDEWINDOW)) && !(pos.flags & SWP_NOREDRAW))
        InvalidateParentArea(*window, APending.OldWindow);
    window->Window = APending.NewWindow;
    window->Client = new_client;
    if (!(pos.flags & SWP_NOZORDER))
        ApplyZOrder(*window, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW) {
        window->Style |= WS_VISIBLE;
        window->HiddenWithOwner = false;
        APending.Shown = true;
    }
    if (pos.flags & SWP_HIDEWINDOW) {
        window->Style &= ~WS_VISIBLE;
        APending.Hidden = true;
    }
    if (APending.TopLevel)
        ResizeSurface(*window);
    RebindDcs(TopLevelOf(pos.hwnd));
    bool now_visible = IsVisibleWithAncestors(*window);
    if (now_visible && !(pos.flags & SWP_NOREDRAW)) {
        if (APending.Shown || sized || (child && moved))
            InvalidateWholeWindow(*window);
        else if (pos.flags & SWP_FRAMECHANGED)
            window->NcPaint = true;
    }
    if (new_client.TopLeft() == old_client.TopLeft())
        pos.flags |= SWP_NOCLIENTMOVE;
    if (new_client.Width() == old_client.Width() && new_client.Height() == old_client.Height())
        pos.flags |= SWP_NOCLIENTSIZE;
    return true;
}

// Tells the desktop and the window that it moved, and activates it when asked to.
void AnnounceWindowPos(TPendingWindowPos& APending)
{
    WINDOWPOS& pos = APending.Pos;
    HWND handle = pos.hwnd;
    if (APending.TopLevel)
        NotifyTopLevelChanged(handle);
    if (APending.Hidden) {
        HWND active = GetActiveWindow();
        if (active && (active == handle || IsChild(handle, active)))
            ActivateNextAfter(handle);
    } else if (APending.TopLevel && !(pos.flags & SWP_NOACTIVATE) && IsWindowVisible(handle) && !IsIconic(handle)) {
        ActivateWindow(handle, WA_ACTIVE);
    }
    SendMessage(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

}  // namespace wm

BOOL SetWindowPos(HWND AWindow, HWND AInsertAfter, int AX, int AY, int ACx, int ACy, UINT AFlags)
{
    TPendingWindowPos pending;
    pending.Pos = WINDOWPOS{AWindow, AInsertAfter, AX, AY, ACx, ACy, AFlags};
    if (!PrepareWindowPos(pending) || !CommitWindowPos(pending))
        return FALSE;
    AnnounceWindowPos(pending);
    return TRUE;
}

BOOL MoveWindow(HWND AWindow, int AX, int AY, int AWidth, int AHeight, BOOL ARepaint)
{
    return SetWindowPos(AWindow, nullptr, AX, AY, AWidth, AHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (ARepaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND AWindow, int ACommand)
{
    DWORD style = static_cast<DWORD>(GetWindowLong(AWindow, GWL_STYLE));
    if (!IsWindow(AWindow))
        return FALSE;
    bool was_visible = style & WS_VISIBLE;
    bool no_activate_style = GetWindowLong(AWindow, GWL_EXSTYLE) & WS_EX_NOACTIVATE;
    switch (ACommand) {
    case SW_HIDE: {
        if (!was_visible)
            return FALSE;
        SendMessage(AWindow, WM_SHOWWINDOW, FALSE, 0);
        SetWindowPos(AWindow, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        HWND focus = GetFocus();
        if (focus && (focus == AWindow || IsChild(AWindow, focus)))
            SetFocus(GetAncestor(AWindow, GA_PARENT));
        return TRUE;
    }
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        if (style & WS_MINIMIZE)
            break;
        return ShowState(AWindow, WS_MINIMIZE, true, false);
    case SW_SHOWMAXIMIZED:
        if (style & WS_MAXIMIZE)
            break;
        return ShowState(AWindow, WS_MAXIMIZE, true, !no_activate_style);
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (style & WS_MINIMIZE) {
            bool back_to_max = false;
            {
                TLock lock(State().Lock);
                back_to_max = Get(AWindow).WasMaximized;
            }
            return ShowState(AWindow, back_to_max ? WS_MAXIMIZE : 0, true, !no_activate_style);
        }
        if (style & WS_MAXIMIZE)
            return ShowState(AWindow, 0, true, !no_activate_style);
        break;
    default: break;
    }
    if (was_visible && ACommand != SW_SHOW && ACommand != SW_SHOWNORMAL && ACommand != SW_RESTORE &&
        ACommand != SW_SHOWMAXIMIZED)
        return TRUE;
    bool activate = !(ACommand == SW_SHOWNA || ACommand == SW_SHOWNOACTIVATE || ACommand == SW_SHOWMINNOACTIVE) &&
                    !no_activate_style;
    if (!was_visible)
        SendMessage(AWindow, WM_SHOWWINDOW, TRUE, 0);
    UINT flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | (activate ? 0 : SWP_NOACTIVATE | SWP_NOZORDER);
    SetWindowPos(AWindow, HWND_TOP, 0, 0, 0, 0, flags);
    return was_visible;
}

BOOL BringWindowToTop(HWND AWindow)
{
    return SetWindowPos(AWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND AWindow, TRect& ARect)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return FALSE;
    ARect = WindowRectOnScreen(*window);
    return TRUE;
}

BOOL GetClientRect(HWND AWindow, TRect& ARect)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return FALSE;
    ARect = Rect(0, 0, window->Client.Width(), window->Client.Height());
    return TRUE;
}

BOOL ClientToScreen(HWND AWindow, TPoint& APoint)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return FALSE;
    TPoint origin = ClientOriginOnScreen(*window);
    APoint.X += origin.X;
    APoint.Y += origin.Y;
    return TRUE;
}

BOOL ScreenToClient(HWND AWindow, TPoint& APoint)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return FALSE;
    TPoint origin = ClientOriginOnScreen(*window);
    APoint.X -= origin.X;
    APoint.Y -= origin.Y;
    return TRUE;
}

int MapWindowPoints(HWND AFrom, HWND ATo, TPoint* APoints, UINT ACount)
{
    TLock lock(State().Lock);
    TPoint from{0, 0}, to{0, 0};
    if (AFrom) {
        TWindow* window = Find(AFrom);
        if (!window)
            return 0;
        from = ClientOriginOnScreen(*window);
    }
    if (ATo) {
        TWindow* window = Find(ATo);
        if (!window)
            return 0;
        to = ClientOriginOnScreen(*window);
    }
    int dx = from.X - to.X, dy = from.Y - to.Y;
    for (UINT i = 0; i < ACount; ++i) {
        APoints[i].X += dx;
        APoints[i].Y += dy;
    }
    return MAKELPARAM(dx, dy);
}

MINMAXINFO GetMinMaxInfo(HWND AWindow)
{
    MINMAXINFO info;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return info;
        info = DefaultMinMaxInfo(*window);
    }
    SendMessage(AWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    info.ptMaxTrackSize.X = std::max(info.ptMaxTrackSize.X, info.ptMinTrackSize.X);
    info.ptMaxTrackSize.Y = std::max(info.ptMaxTrackSize.Y, info.ptMinTrackSize.Y);
    return info;
}

BOOL AdjustWindowRectEx(TRect& AClient, DWORD AStyle, BOOL, DWORD AExStyle)
{
    TRect probe = Rect(0, 0, 1000, 1000);
    TRect client = DefaultClientRect(AStyle & ~WS_MINIMIZE, AExStyle, probe);
    AClient.Left -= client.Left;
    AClient.Top -= client.Top;
    AClient.Right += probe.Right - client.Right;
    AClient.Bottom += probe.Bottom - client.Bottom;
    return TRUE;
}

HWND WindowFromPoint(TPoint APoint)
{
    // Windows of this thread are asked, so one answering HTTRANSPARENT lets the point through to what is below;
    // windows of other threads are not made to answer on their behalf.
    return HitWindowAsking(APoint, false, nullptr);
}

HWND ChildWindowFromPoint(HWND AParent, TPoint APoint)
{
    TLock lock(State().Lock);
    TWindow* parent = Find(AParent);
    if (!parent)
        return nullptr;
    if (!RectContains(Rect(0, 0, parent->Client.Width(), parent->Client.Height()), APoint))
        return nullptr;
    for (HWND handle : parent->Children) {
        TWindow& child = Get(handle);
        if ((child.Style & WS_VISIBLE) && RectContains(child.Window, APoint))
            return handle;
    }
    return AParent;
}

HMONITOR MonitorFromRect(const TRect& ARect, DWORD AFlags)
{
    auto monitors = Monitors();
    int best = -1;
    int64_t best_area = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        TRect common = RectIntersection(monitors[i].Monitor, ARect);
        int64_t area = static_cast<int64_t>(common.Width()) * common.Height();
        if (area > best_area) {
            best_area = area;
            best = static_cast<int>(i);
        }
    }
    if (best < 0 && RectIsEmpty(ARect)) {
        for (size_t i = 0; i < monitors.size(); ++i)
            if (RectContains(monitors[i].Monitor, ARect.TopLeft()))
                best = static_cast<int>(i);
    }
    if (best < 0) {
        if (AFlags == MONITOR_DEFAULTTONULL)
            return nullptr;
        best = 0;
        if (AFlags == MONITOR_DEFAULTTONEAREST) {
            int64_t nearest = INT64_MAX;
            TPoint centre{(ARect.Left + ARect.Right) / 2, (ARect.Top + ARect.Bottom) / 2};
            for (size_t i = 0; i < monitors.size(); ++i) {
                const TRect& m = monitors[i].Monitor;
                int64_t dx = std::max({m.Left - centre.X, 0, centre.X - (m.Right - 1)});
                int64_t dy = std::max({m.Top - centre.Y, 0, centre.Y - (m.Bottom - 1)});
                if (dx * dx + dy * dy < nearest) {
                    nearest = dx * dx + dy * dy;
                    best = static_cast<int>(i);
                }
            }
        }
    }
    return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(best + 1));
}

HMONITOR MonitorFromPoint(TPoint APoint, DWORD AFlags)
{
    return MonitorFromRect(Bounds(APoint.X, APoint.Y, 1, 1), AFlags);
}

HMONITOR MonitorFromWindow(HWND AWindow, DWORD AFlags)
{
    TRect rect;
    if (!GetWindowRect(AWindow, rect))
        return AFlags == MONITOR_DEFAULTTONULL ? nullptr : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (IsIconic(AWindow)) {
        TLock lock(State().Lock);
        rect = Get(AWindow).Normal;
    }
    return MonitorFromRect(rect, AFlags);
}

BOOL GetMonitorInfo(HMONITOR AMonitor, MONITORINFO* AInfo)
{
    auto monitors = Monitors();
    size_t index = reinterpret_cast<uintptr_t>(AMonitor);
    if (!AInfo || index < 1 || index > monitors.size())
        return FALSE;
    const TMonitorDesc& monitor = monitors[index - 1];
    AInfo->rcMonitor = monitor.Monitor;
    AInfo->rcWork = monitor.Work;
    AInfo->dwFlags = monitor.Primary ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL SystemParametersInfo(UINT AAction, UINT, void* AValue, UINT)
{
    if (!AValue)
        return FALSE;
    switch (AAction) {
    case SPI_GETWORKAREA: *static_cast<TRect*>(AValue) = Monitors().front().Work; return TRUE;
    case SPI_GETDRAGFULLWINDOWS: *static_cast<BOOL*>(AValue) = TRUE; return TRUE;
    default: return FALSE;
    }
}

int GetSystemMetrics(int AIndex)
{
    switch (AIndex) {
    case SM_CXSCREEN: return PrimaryScreen().Width();
    case SM_CYSCREEN: return PrimaryScreen().Height();
    case SM_CXFULLSCREEN: return Monitors().front().Work.Width();
    case SM_CYFULLSCREEN: return Monitors().front().Work.Height() - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return 12;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CYVIRTUALSCREEN:
    case SM_CXMAXTRACK:
    case SM_CYMAXTRACK:
    case SM_CXMAXIMIZED:
    case SM_CYMAXIMIZED: {
        TRect all;
        for (auto& monitor : Monitors())
            all = RectIsEmpty(all) ? monitor.Monitor
                                   : Rect(std::min(all.Left, monitor.Monitor.Left), std::min(all.Top, monitor.Monitor.Top),
                                          std::max(all.Right, monitor.Monitor.Right),
                                          std::max(all.Bottom, monitor.Monitor.Bottom));
        switch (AIndex) {
        case SM_XVIRTUALSCREEN: return all.Left;
        case SM_YVIRTUALSCREEN: return all.Top;
        case SM_CXVIRTUALSCREEN: return all.Width();
        case SM_CYVIRTUALSCREEN: return all.Height();
        case SM_CXMAXTRACK: return all.Width() + 12;
        case SM_CYMAXTRACK: return all.Height() + 12;
        case SM_CXMAXIMIZED: return Monitors().front().Work.Width() + 8;
        default: return Monitors().front().Work.Height() + 8;
        }
    }
    case SM_CMONITORS: return static_cast<int>(Monitors().size());
    default: return 0;
    }
}

void NotifyDisplayChange()
{
    std::vector<HWND> tops;
    {
        TLock lock(State().Lock);
        tops = State().TopLevels;
    }
    TRect screen = PrimaryScreen();
    for (HWND top : tops)
        SendMessage(top, WM_DISPLAYCHANGE, 32, MAKELPARAM(screen.Width(), screen.Height()));
}

}  // namespace win
