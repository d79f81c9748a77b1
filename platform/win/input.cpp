#include "platform/win/input.h"

#include "platform/win/geometry.h"
#include "platform/win/keys.h"
#include "platform/win/message_queue.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <algorithm>
#include <cstdlib>

namespace win {

using namespace wm;

namespace {

bool Skipped(const std::vector<HWND>& ASkip, HWND AWindow)
{
    return std::find(ASkip.begin(), ASkip.end(), AWindow) != ASkip.end();
}

bool ShapeContains(const TWindow& AWindow, TPoint AScreen)
{
    TRect rect = WindowRectOnScreen(AWindow);
    if (!RectContains(rect, AScreen))
        return false;
    return !AWindow.Shape || AWindow.Shape->Contains({AScreen.X - rect.Left, AScreen.Y - rect.Top});
}

HWND Descend(TWindow& AWindow, TPoint AScreen, const std::vector<HWND>& ASkip)
{
    if (!RectContains(ClientRectOnScreen(AWindow), AScreen))
        return AWindow.Handle;
    for (HWND handle : AWindow.Children) {
        TWindow& child = Get(handle);
        if (!(child.Style & WS_VISIBLE) || Skipped(ASkip, handle) || !ShapeContains(child, AScreen))
            continue;
        if (child.Style & WS_DISABLED)
            return AWindow.Handle;
        return Descend(child, AScreen, ASkip);
    }
    return AWindow.Handle;
}

// A disabled window takes no input, and neither do the children of a disabled window (a form behind a modal one).
bool EnabledWithAncestors(HWND AWindow)
{
    for (HWND window = AWindow; window; window = GetAncestor(window, GA_PARENT))
        if (!IsWindowEnabled(window))
            return false;
    return true;
}

UINT ClientMouseMessage(const TRawInput& ARaw)
{
    UINT base;
    switch (ARaw.Button) {
    case VK_RBUTTON: base = WM_RBUTTONDOWN; break;
    case VK_MBUTTON: base = WM_MBUTTONDOWN; break;
    default: base = WM_LBUTTONDOWN; break;
    }
    switch (ARaw.Kind) {
    case TRawKind::ButtonDown: return base;
    case TRawKind::ButtonUp: return base + 1;
    case TRawKind::Wheel: return WM_MOUSEWHEEL;
    case TRawKind::HWheel: return WM_MOUSEHWHEEL;
    default: return WM_MOUSEMOVE;
    }
}

WPARAM MouseKeys()
{
    const Byte* keys = State().SyncKeys;
    WPARAM result = 0;
    if (keys[VK_LBUTTON] & 0x80) result |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80) result |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80) result |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80) result |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80) result |= MK_CONTROL;
    return result;
}

void SetKey(Byte* AKeys, int AKey, bool ADown, bool AToggle)
{
    if (AKey <= 0 || AKey > 255)
        return;
    if (ADown) {
        if (AToggle && !(AKeys[AKey] & 0x80))
            AKeys[AKey] ^= 0x01;
        AKeys[AKey] |= 0x80;
    } else {
        AKeys[AKey] &= ~0x80;
    }
    // The side-specific keys also move the generic ones.
    int generic = 0;
    if (AKey == VK_LSHIFT || AKey == VK_RSHIFT) generic = VK_SHIFT;
    if (AKey == VK_LCONTROL || AKey == VK_RCONTROL) generic = VK_CONTROL;
    if (AKey == VK_LMENU || AKey == VK_RMENU) generic = VK_MENU;
    if (generic)
        SetKey(AKeys, generic, ADown, false);
}

void ApplyRawToKeys(Byte* AKeys, const TRawInput& ARaw)
{
    if (ARaw.Kind == TRawKind::ButtonDown || ARaw.Kind == TRawKind::ButtonUp)
        SetKey(AKeys, ARaw.Button, ARaw.Kind == TRawKind::ButtonDown, false);
    else if (ARaw.Kind == TRawKind::KeyDown || ARaw.Kind == TRawKind::KeyUp)
        SetKey(AKeys, ARaw.Key, ARaw.Kind == TRawKind::KeyDown, true);
}

void PostInput(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam, const TRawInput& ARaw)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return;
    TThreadQueue& queue = QueueOf(window->Thread);
    queue.Input.push_back({AWindow, AMessage, AWParam, ALParam, ARaw.Time, ARaw.Screen});
}

void SendParentNotifyForClick(HWND AWindow, UINT AMessage, TPoint AScreen)
{
    HWND child = AWindow;
    while (true) {
        HWND parent;
        TPoint point = AScreen;
        {
            TLock lock(State().Lock);
            TWindow* window = Find(child);
            if (!window || !window->Parent || (window->ExStyle & WS_EX_NOPARENTNOTIFY))
                return;
            parent = window->Parent;
            TPoint origin = ClientOriginOnScreen(Get(parent));
            point = {AScreen.X - origin.X, AScreen.Y - origin.Y};
        }
        SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(AMessage, 0), PointToLParam(point));
        child = parent;
    }
}

// Turns a press into its double-click form when the class asks for it and the press repeats the last one
// in time and place.
UINT DoubleClickForm(HWND AWindow, UINT AMessage, const TRawInput& ARaw)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return AMessage;
    TThreadQueue& queue = QueueOf(window->Thread);
    bool dbl_class = window->Class->Class.style & CS_DBLCLKS;
    int slack_x = GetSystemMetrics(SM_CXDOUBLECLK) / 2, slack_y = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool repeat = queue.LastClickWindow == AWindow && queue.LastClickMessage == AMessage &&
                  !queue.LastClickWasDouble && ARaw.Time - queue.LastClickTime <= GetDoubleClickTime() &&
                  std::abs(ARaw.Screen.X - queue.LastClickPoint.X) <= slack_x &&
                  std::abs(ARaw.Screen.Y - queue.LastClickPoint.Y) <= slack_y;
    queue.LastClickWindow = AWindow;
    queue.LastClickMessage = AMessage;
    queue.LastClickTime = ARaw.Time;
    queue.LastClickPoint = ARaw.Screen;
    queue.LastClickWasDouble = dbl_class && repeat;
    return queue.LastClickWasDouble ? AMessage + 2 : AMessage;
}

void ConvertWheel(const TRawInput& ARaw)
{
    HWND target;
    {
        TLock lock(State().Lock);
        target = State().Focus ? State().Focus : State().Active;
        if (!target)
            target = HitWindowAt(ARaw.Screen, {});
    }
    if (target)
        PostInput(target, ClientMouseMessage(ARaw), MAKEWPARAM(static_cast<int>(MouseKeys()), ARaw.WheelDelta),
                  PointToLParam(ARaw.Screen), ARaw);
}

void ConvertMouse(const TRawInput& ARaw)
{
    if (ARaw.Kind == TRawKind::Wheel || ARaw.Kind == TRawKind::HWheel) {
        ConvertWheel(ARaw);
        return;
    }
    UINT client_message = ClientMouseMessage(ARaw);
    HWND target = GetCapture();
    LRESULT hit = HTCLIENT;
    bool captured = target != nullptr;
    if (!captured) {
        target = HitWindowAsking(ARaw.Screen, true, &hit);
        if (!target || !EnabledWithAncestors(target) || hit == HTERROR)
            return;
    }
    bool eat = false;
    if (ARaw.Kind == TRawKind::ButtonDown && !captured) {
        SendParentNotifyForClick(target, client_message, ARaw.Screen);
        HWND top = GetAncestor(target, GA_ROOT);
        if (top && top != GetActiveWindow()) {
            LRESULT answer = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                         MAKELPARAM(static_cast<int>(hit), static_cast<int>(client_message)));
            bool no_activate = GetWindowLong(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE;
            if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT || answer == 0) && !no_activate)
                ActivateWindow(top, WA_CLICKACTIVE);
            eat = answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
        }
    }
    if (!captured)
        SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                    MAKELPARAM(static_cast<int>(hit), static_cast<int>(client_message)));
    if (eat || !IsWindow(target))
        return;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    if (hit == HTCLIENT) {
        TPoint point = ARaw.Screen;
        ScreenToClient(target, point);
        message = client_message;
        wparam = MouseKeys();
        lparam = PointToLParam(point);
    } else {
        message = client_message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        wparam = static_cast<WPARAM>(hit);
        lparam = PointToLParam(ARaw.Screen);
    }
    if (ARaw.Kind == TRawKind::ButtonDown)
        message = DoubleClickForm(target, message, ARaw);
    PostInput(target, message, wparam, lparam, ARaw);
}

char32_t CharOfKey(int AKey, char32_t AChar)
{
    if (AChar)
        return AChar;
    const Byte* keys = State().SyncKeys;
    switch (AKey) {
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return 0x08;
    case VK_TAB: return '\t';
    case VK_SPACE: return ' ';
    default: break;
    }
    // Control with a letter types the control character, as the platform does.
    if ((keys[VK_CONTROL] & 0x80) && AKey >= 'A' && AKey <= 'Z')
        return static_cast<char32_t>(AKey - 'A' + 1);
    return 0;
}

void ConvertKey(const TRawInput& ARaw, bool AWasDown)
{
    TLock lock(State().Lock);
    auto& state = State();
    HWND target = state.Focus;
    bool alt = state.SyncKeys[VK_MENU] & 0x80;
    // With nothing focused the active window gets the keys as system keys, as the platform does.
    bool system = !target || (alt && !(state.SyncKeys[VK_CONTROL] & 0x80)) || ARaw.Key == VK_F10 ||
                  (ARaw.Key == VK_MENU);
    if (!target)
        target = state.Active;
    TWindow* window = Find(target);
    if (!window)
        return;
    bool down = ARaw.Kind == TRawKind::KeyDown;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    uint32_t data = 1u;
    if (alt)
        data |= 1u << 29;
    if (AWasDown)
        data |= 1u << 30;
    if (!down)
        data |= 3u << 30;
    if (down && !AWasDown)
        state.AltAlone = ARaw.Key == VK_MENU || (state.AltAlone && (ARaw.Key == VK_LMENU || ARaw.Key == VK_RMENU));
    if (!down && ARaw.Key == VK_MENU && !state.AltAlone)
        data |= kAltUsedAsModifier;
    MSG msg{target, message, static_cast<WPARAM>(ARaw.Key), static_cast<LPARAM>(static_cast<int32_t>(data)), ARaw.Time,
            state.CursorPos};
    TThreadQueue& queue = QueueOf(window->Thread);
    queue.Input.push_back(msg);
    if (down) {
        queue.LastKey = msg;
        queue.LastKeyChar = CharOfKey(ARaw.Key, ARaw.Char);
    }
}

void QueueRaw(TRawInput ARaw)
{
    TLock lock(State().Lock);
    ARaw.Time = MessageTime();
    auto& state = State();
    if (ARaw.Kind != TRawKind::KeyDown && ARaw.Kind != TRawKind::KeyUp)
        state.CursorPos = ARaw.Screen;
    else
        ARaw.Screen = state.CursorPos;
    ApplyRawToKeys(state.AsyncKeys, ARaw);
    state.RawInput.push_back(ARaw);
    WakeAll();
}

}  // namespace

namespace wm {

HWND HitWindowAt(TPoint AScreen, const std::vector<HWND>& ASkip)
{
    for (HWND handle : State().TopLevels) {
        TWindow& window = Get(handle);
        if (!(window.Style & WS_VISIBLE) || Skipped(ASkip, handle))
            continue;
        if ((window.ExStyle & WS_EX_LAYERED) && (window.ExStyle & WS_EX_TRANSPARENT))
            continue;  // click-through
        if (!ShapeContains(window, AScreen))
            continue;
        return Descend(window, AScreen, ASkip);
    }
    return nullptr;
}

HWND HitWindowAsking(TPoint AScreen, bool AAnyThread, LRESULT* AHit)
{
    std::vector<HWND> skip;
    while (true) {
        HWND target;
        bool ask;
        {
            TLock lock(State().Lock);
            target = HitWindowAt(AScreen, skip);
            TWindow* window = Find(target);
            ask = window && (AAnyThread || window->Thread == CurrentThread());
        }
        LRESULT hit = ask ? SendMessage(target, WM_NCHITTEST, 0, PointToLParam(AScreen)) : HTCLIENT;
        if (!target || hit != HTTRANSPARENT || skip.size() > 64) {
            if (AHit)
                *AHit = hit;
            return target;
        }
        skip.push_back(target);
    }
}

bool TakeRawInput(TThreadQueue& AQueue, TLock& ALock)
{
    auto& state = State();
    if (state.RawInput.empty())
        return false;
    TRawInput raw = state.RawInput.front();
    bool key = raw.Kind == TRawKind::KeyDown || raw.Kind == TRawKind::KeyUp;
    HWND target;
    if (key)
        target = state.Focus ? state.Focus : state.Active;
    else if (raw.Kind == TRawKind::Wheel || raw.Kind == TRawKind::HWheel)
        target = state.Focus ? state.Focus : state.Active ? state.Active : HitWindowAt(raw.Screen, {});
    else
        target = state.Capture ? state.Capture : HitWindowAt(raw.Screen, {});
    TWindow* window = Find(target);
    if (window && window->Thread != AQueue.Thread) {
        auto other = state.Queues.find(window->Thread);
        if (other != state.Queues.end() && other->second->Alive) {
            other->second->Wake.notify_all();
            return false;  // that thread takes it
        }
        window = nullptr;
    }
    state.RawInput.pop_front();
    bool was_down = key && (state.SyncKeys[raw.Key & 0xFF] & 0x80);
    ApplyRawToKeys(state.SyncKeys, raw);
    if (!window)
        return true;
    ALock.unlock();
    if (key)
        ConvertKey(raw, was_down);
    else
        ConvertMouse(raw);
    ALock.lock();
    return true;
}

void ActivateWindow(HWND AWindow, WPARAM AHow)
{
    HWND old;
    {
        TLock lock(State().Lock);
        old = State().Active;
        if (old == AWindow || (AWindow && !Find(AWindow)))
            return;
        State().Active = AWindow;
    }
    if (old && IsWindow(old)) {
        SendMessage(old, WM_NCACTIVATE, FALSE, 0);
        SendMessage(old, WM_ACTIVATE, MAKEWPARAM(static_cast<int>(WA_INACTIVE), IsIconic(old)),
                    reinterpret_cast<LPARAM>(AWindow));
        HWND focus = GetFocus();
        if (focus && (focus == old || IsChild(old, focus))) {
            TLock lock(State().Lock);
            State().Focus = nullptr;
            lock.unlock();
            SendMessage(focus, WM_KILLFOCUS, 0, 0);
        }
    }
    if (!AWindow)
        return;
    bool on_top;
    {
        TLock lock(State().Lock);
        auto& list = State().TopLevels;
        auto first = std::find_if(list.begin(), list.end(), [&](HWND AOther) {
            return (Get(AOther).ExStyle & WS_EX_TOPMOST) == (Get(AWindow).ExStyle & WS_EX_TOPMOST);
        });
        on_top = first != list.end() && *first == AWindow;
    }
    if (!on_top)
        SetWindowPos(AWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(AWindow, WM_NCACTIVATE, TRUE, 0);
    SendMessage(AWindow, WM_ACTIVATE, MAKEWPARAM(static_cast<int>(AHow), IsIconic(AWindow)),
                reinterpret_cast<LPARAM>(old));
}

void ActivateNextAfter(HWND AGone)
{
    HWND next = nullptr;
    {
        TLock lock(State().Lock);
        auto& state = State();
        if (state.Active != AGone)
            return;
        auto usable = [&](HWND AHandle) {
            TWindow* window = Find(AHandle);
            return window && AHandle != AGone && !window->Destroying && (window->Style & WS_VISIBLE) &&
                   !(window->Style & (WS_DISABLED | WS_MINIMIZE)) && !(window->ExStyle & WS_EX_NOACTIVATE) &&
                   window->Owner != AGone;
        };
        TWindow* gone = Find(AGone);
        if (gone && usable(gone->Owner))
            next = gone->Owner;
        for (HWND handle : state.TopLevels)
            if (!next && usable(handle))
                next = handle;
    }
    ActivateWindow(next, WA_ACTIVE);
}

}  // namespace wm

HWND SetCapture(HWND AWindow)
{
    HWND old;
    {
        TLock lock(State().Lock);
        if (AWindow && !Find(AWindow))
            return nullptr;
        old = State().Capture;
        State().Capture = AWindow;
    }
    if (old != AWindow)
        if (TBackend* backend = CurrentBackend())
            backend->CaptureChanged(AWindow);
    if (old && old != AWindow)
        SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(AWindow));
    return old;
}

BOOL ReleaseCapture()
{
    HWND old;
    {
        TLock lock(State().Lock);
        old = State().Capture;
        State().Capture = nullptr;
    }
    if (old) {
        if (TBackend* backend = CurrentBackend())
            backend->CaptureChanged(nullptr);
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND GetCapture()
{
    TLock lock(State().Lock);
    return State().Capture;
}

HWND SetFocus(HWND AWindow)
{
    if (AWindow) {
        HWND top;
        {
            TLock lock(State().Lock);
            TWindow* window = Find(AWindow);
            if (!window || window->Thread != CurrentThread() || (window->Style & WS_DISABLED))
                return nullptr;
            top = TopLevelOf(AWindow);
        }
        if (top != GetActiveWindow())
            ActivateWindow(top, WA_ACTIVE);
    }
    HWND old;
    {
        TLock lock(State().Lock);
        old = State().Focus;
        if (old == AWindow)
            return old;
        State().Focus = AWindow;
    }
    if (old && IsWindow(old))
        SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(AWindow), 0);
    if (AWindow && GetFocus() == AWindow)
        SendMessage(AWindow, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus()
{
    TLock lock(State().Lock);
    return State().Focus;
}

HWND SetActiveWindow(HWND AWindow)
{
    HWND old = GetActiveWindow();
    HWND top = AWindow ? GetAncestor(AWindow, GA_ROOT) : nullptr;
    if (AWindow && !top)
        return nullptr;
    ActivateWindow(top, WA_ACTIVE);
    return old;
}

HWND GetActiveWindow()
{
    TLock lock(State().Lock);
    return State().Active;
}

BOOL SetForegroundWindow(HWND AWindow)
{
    if (!IsWindow(AWindow))
        return FALSE;
    SetActiveWindow(AWindow);
    return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

BOOL GetCursorPos(TPoint& APoint)
{
    TLock lock(State().Lock);
    APoint = State().CursorPos;
    return TRUE;
}

BOOL SetCursorPos(int AX, int AY)
{
    QueueMouseMove({AX, AY});
    return TRUE;
}

HCURSOR SetCursor(HCURSOR ACursor)
{
    HCURSOR old;
    {
        TLock lock(State().Lock);
        old = State().Cursor;
        State().Cursor = ACursor;
    }
    if (old != ACursor)
        if (TBackend* backend = CurrentBackend())
            backend->CursorChanged(ACursor);
    return old;
}

HCURSOR GetCursor()
{
    TLock lock(State().Lock);
    return State().Cursor;
}

HCURSOR LoadCursor(void*, uintptr_t AId)
{
    switch (AId) {
    case IDC_ARROW: case IDC_IBEAM: case IDC_WAIT: case IDC_CROSS: case IDC_UPARROW: case IDC_SIZENWSE:
    case IDC_SIZENESW: case IDC_SIZEWE: case IDC_SIZENS: case IDC_SIZEALL: case IDC_NO: case IDC_HAND:
    case IDC_APPSTARTING:
        return reinterpret_cast<HCURSOR>(AId);
    default: return nullptr;
    }
}

UINT GetDoubleClickTime() { return 500; }

int16_t GetKeyState(int AVirtualKey)
{
    if (AVirtualKey <= 0 || AVirtualKey > 255)
        return 0;
    TLock lock(State().Lock);
    Byte state = State().SyncKeys[AVirtualKey];
    return static_cast<int16_t>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

int16_t GetAsyncKeyState(int AVirtualKey)
{
    if (AVirtualKey <= 0 || AVirtualKey > 255)
        return 0;
    TLock lock(State().Lock);
    return static_cast<int16_t>((State().AsyncKeys[AVirtualKey] & 0x80) ? 0x8000 : 0);
}

void QueueMouseMove(TPoint AScreen) { QueueRaw({TRawKind::MouseMove, AScreen}); }

void QueueMouseButton(TPoint AScreen, int AButton, bool ADown)
{
    QueueRaw({ADown ? TRawKind::ButtonDown : TRawKind::ButtonUp, AScreen, AButton});
}

void QueueMouseWheel(TPoint AScreen, int ADelta, bool AHorizontal)
{
    TRawInput raw{AHorizontal ? TRawKind::HWheel : TRawKind::Wheel, AScreen};
    raw.WheelDelta = ADelta;
    QueueRaw(raw);
}

void QueueKey(int AVirtualKey, bool ADown, char32_t AChar)
{
    TRawInput raw;
    raw.Kind = ADown ? TRawKind::KeyDown : TRawKind::KeyUp;
    raw.Key = AVirtualKey;
    raw.Char = AChar;
    QueueRaw(raw);
}

}  // namespace win
