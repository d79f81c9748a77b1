#include "platform/gdi/gdi.h"
#include "platform/win/frame.h"
#include "platform/win/frame_paint.h"
#include "platform/win/geometry.h"
#include "platform/win/icons.h"
#include "platform/win/input.h"
#include "platform/win/keys.h"
#include "platform/win/message_queue.h"
#include "platform/win/painting.h"
#include "platform/win/size_move_loop.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <cstring>

namespace win {

using namespace wm;

namespace {

struct TFrameFacts {
    DWORD Style = 0;
    DWORD ExStyle = 0;
    TRect WindowOnScreen;
    TRect ClientInWindow;
    bool IsChild = false;
    HWND Parent = nullptr;
    bool Ok = false;
};

TFrameFacts FactsOf(HWND AWindow)
{
    TFrameFacts facts;
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return facts;
    facts.Style = window->Style;
    facts.ExStyle = window->ExStyle;
    facts.WindowOnScreen = WindowRectOnScreen(*window);
    facts.ClientInWindow = RectOffset(window->Client, -window->Window.Left, -window->Window.Top);
    facts.IsChild = !IsTopLevel(*window);
    facts.Parent = window->Parent;
    facts.Ok = true;
    return facts;
}

LRESULT HitTest(HWND AWindow, LPARAM ALParam)
{
    TFrameFacts facts = FactsOf(AWindow);
    if (!facts.Ok)
        return HTNOWHERE;
    TPoint point = LParamToPoint(ALParam);
    point = {point.X - facts.WindowOnScreen.Left, point.Y - facts.WindowOnScreen.Top};
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (window && window->Shape && !window->Shape->Contains(point))
            return HTNOWHERE;
    }
    return DefaultHitTest(facts.Style, facts.ExStyle, facts.WindowOnScreen.Width(), facts.WindowOnScreen.Height(),
                          facts.ClientInWindow, point);
}

LRESULT SetCursorFor(HWND AWindow, WPARAM AWParam, LPARAM ALParam)
{
    TFrameFacts facts = FactsOf(AWindow);
    if (facts.IsChild && SendMessage(facts.Parent, WM_SETCURSOR, AWParam, ALParam))
        return TRUE;
    int hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(ALParam)));
    uintptr_t cursor = IDC_ARROW;
    switch (hit) {
    case HTCLIENT: {
        // The cursor belongs to the window under the pointer (wParam), also when an ancestor answers.
        HWND under = AWParam ? reinterpret_cast<HWND>(AWParam) : AWindow;
        HCURSOR own = reinterpret_cast<HCURSOR>(GetClassLong(under, GCL_HCURSOR));
        if (!own)
            return FALSE;
        SetCursor(own);
        return TRUE;
    }
    case HTLEFT:
    case HTRIGHT: cursor = IDC_SIZEWE; break;
    case HTTOP:
    case HTBOTTOM: cursor = IDC_SIZENS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: cursor = IDC_SIZENWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: cursor = IDC_SIZENESW; break;
    default: break;
    }
    SetCursor(LoadCursor(nullptr, cursor));
    return TRUE;
}

bool WantsMinMaxInfo(DWORD AStyle) { return (AStyle & WS_THICKFRAME) || !(AStyle & (WS_POPUP | WS_CHILD)); }

void ClampPlacement(HWND AWindow, WINDOWPOS& APos)
{
    DWORD style = static_cast<DWORD>(GetWindowLong(AWindow, GWL_STYLE));
    if ((APos.flags & SWP_NOSIZE) || (style & (WS_MINIMIZE | WS_MAXIMIZE)) || !WantsMinMaxInfo(style))
        return;
    MINMAXINFO info = GetMinMaxInfo(AWindow);
    APos.cx = std::clamp(APos.cx, info.ptMinTrackSize.X, info.ptMaxTrackSize.X);
    APos.cy = std::clamp(APos.cy, info.ptMinTrackSize.Y, info.ptMaxTrackSize.Y);
}

void PlacementChanged(HWND AWindow, const WINDOWPOS& APos)
{
    TRect client;
    DWORD style;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return;
        client = window->Client;
        style = window->Style;
    }
    if (!(APos.flags & SWP_NOCLIENTMOVE))
        SendMessage(AWindow, WM_MOVE, 0, MAKELPARAM(client.Left, client.Top));
    if (!(APos.flags & SWP_NOCLIENTSIZE)) {
        WPARAM kind = (style & WS_MINIMIZE) ? SIZE_MINIMIZED : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessage(AWindow, WM_SIZE, kind, MAKELPARAM(client.Width(), client.Height()));
    }
}

LRESULT EraseBackground(HWND AWindow, HDC ADC)
{
    uintptr_t background;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return 0;
        background = window->Class->Class.hbrBackground;
    }
    if (!background)
        return 0;
    HBRUSH brush;
    bool own = background & 0x1000000u;
    if (own)
        brush = CreateSolidBrush(static_cast<COLORREF>(background & 0xFFFFFF));
    else
        brush = GetSysColorBrush(static_cast<int>(background) - 1);
    if (!brush)
        return 0;
    TRect client;
    GetClientRect(AWindow, client);
    FillRect(ADC, &client, brush);
    if (own)
        DeleteObject(brush);
    return 1;
}

void PrintWindowInto(HWND AWindow, HDC ADC, LPARAM AFlags)
{
    TFrameFacts facts = FactsOf(AWindow);
    if (!facts.Ok || ((AFlags & PRF_CHECKVISIBLE) && !IsWindowVisible(AWindow)))
        return;
    int saved = SaveDC(ADC);
    if (AFlags & PRF_NONCLIENT) {
        int inner = SaveDC(ADC);
        ExcludeClipRect(ADC, facts.ClientInWindow.Left, facts.ClientInWindow.Top, facts.ClientInWindow.Right,
                        facts.ClientInWindow.Bottom);
        PaintDefaultFrameInto(AWindow, ADC);
        RestoreDC(ADC, inner);
    }
    // The client area is painted with its origin at the client corner.
    if (AFlags & PRF_NONCLIENT)
        OffsetViewportOrgEx(ADC, facts.ClientInWindow.Left, facts.ClientInWindow.Top, nullptr);
    IntersectClipRect(ADC, 0, 0, facts.ClientInWindow.Width(), facts.ClientInWindow.Height());
    if (AFlags & PRF_ERASEBKGND)
        SendMessage(AWindow, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ADC), 0);
    if (AFlags & PRF_CLIENT)
        SendMessage(AWindow, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(ADC), AFlags);
    if (AFlags & PRF_CHILDREN) {
        std::vector<HWND> children;
        {
            TLock lock(State().Lock);
            if (TWindow* window = Find(AWindow))
                children.assign(window->Children.rbegin(), window->Children.rend());  // bottom first
        }
        for (HWND child : children) {
            if (!IsWindowVisible(child))
                continue;
            TRect place;
            {
                TLock lock(State().Lock);
                place = Get(child).Window;
            }
            int level = SaveDC(ADC);
            OffsetViewportOrgEx(ADC, place.Left, place.Top, nullptr);
            SendMessage(child, WM_PRINT, reinterpret_cast<WPARAM>(ADC), AFlags | PRF_NONCLIENT);
            RestoreDC(ADC, level);
        }
    }
    RestoreDC(ADC, saved);
}

LRESULT SysCommand(HWND AWindow, WPARAM AWParam, LPARAM ALParam)
{
    switch (AWParam & 0xFFF0) {
    case SC_MOVE:
    case SC_SIZE: RunSizeMoveLoop(AWindow, AWParam, ALParam); return 0;
    case SC_MINIMIZE: ShowWindow(AWindow, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(AWindow, SW_MAXIMIZE); return 0;
    case SC_RESTORE: ShowWindow(AWindow, SW_RESTORE); return 0;
    case SC_CLOSE: SendMessage(AWindow, WM_CLOSE, 0, 0); return 0;
    default: return 0;  // SC_KEYMENU and the rest: there is no native menu to show
    }
}

LRESULT NcButtonDown(HWND AWindow, WPARAM AHit, LPARAM ALParam)
{
    LRESULT hit = static_cast<LRESULT>(AHit);
    if (hit == HTCAPTION)
        SendMessage(AWindow, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, ALParam);
    else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
        SendMessage(AWindow, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT), ALParam);
    else if (hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON)
        TrackCaptionButton(AWindow, hit);
    // HTOBJECT (a skin object) and unknown codes: nothing.
    return 0;
}

LRESULT SetText(HWND AWindow, LPARAM ALParam)
{
    const char* text = reinterpret_cast<const char*>(ALParam);
    bool top_level;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return FALSE;
        window->Text = text ? text : "";
        top_level = IsTopLevel(*window);
    }
    if (top_level)
        NotifyTopLevelChanged(AWindow);  // the desktop shows the title too
    if ((GetWindowLong(AWindow, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
        RedrawWindow(AWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    return TRUE;
}

// The menu key and Shift+F10 ask the focused window for its context menu, with no point to show it at.
void SendKeyboardContextMenu(HWND AWindow)
{
    SendMessage(AWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(AWindow), MAKELPARAM(-1, -1));
}

LRESULT GetText(HWND AWindow, WPARAM ASize, LPARAM ALParam)
{
    std::string text = GetWindowText(AWindow);
    char* buffer = reinterpret_cast<char*>(ALParam);
    if (!buffer || ASize == 0)
        return 0;
    size_t count = std::min<size_t>(text.size(), ASize - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

}  // namespace

LRESULT DefWindowProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    switch (AMessage) {
    case WM_NCCREATE: return TRUE;
    case WM_NCCALCSIZE: {
        TFrameFacts facts = FactsOf(AWindow);
        if (AWParam) {
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(ALParam);
            params->rgrc[0] = DefaultClientRect(facts.Style, facts.ExStyle, params->rgrc[0]);
        } else {
            auto* rect = reinterpret_cast<TRect*>(ALParam);
            *rect = DefaultClientRect(facts.Style, facts.ExStyle, *rect);
        }
        return 0;
    }
    case WM_NCHITTEST: return HitTest(AWindow, ALParam);
    case WM_SETCURSOR: return SetCursorFor(AWindow, AWParam, ALParam);
    case WM_MOUSEACTIVATE: {
        TFrameFacts facts = FactsOf(AWindow);
        if (facts.IsChild)
            if (LRESULT answer = SendMessage(facts.Parent, WM_MOUSEACTIVATE, AWParam, ALParam))
                return answer;
        return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
        if (LOWORD(AWParam) != WA_INACTIVE && !HIWORD(AWParam)) {
            HWND focus = GetFocus();
            if (focus != AWindow && !IsChild(AWindow, focus))
                SetFocus(AWindow);
        }
        return 0;
    case WM_NCACTIVATE: {
        {
            TLock lock(State().Lock);
            if (TWindow* window = Find(AWindow))
                window->NcActive = AWParam != 0;
        }
        if (IsWindowVisible(AWindow) && (GetWindowLong(AWindow, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
            PaintDefaultFrame(AWindow);
        return TRUE;
    }
    case WM_NCPAINT: PaintDefaultFrame(AWindow); return 0;
    case WM_ERASEBKGND: return EraseBackground(AWindow, reinterpret_cast<HDC>(AWParam));
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(AWindow, paint);
        EndPaint(AWindow, paint);
        return 0;
    }
    case WM_PRINT: PrintWindowInto(AWindow, reinterpret_cast<HDC>(AWParam), ALParam); return 0;
    case WM_CLOSE: DestroyWindow(AWindow); return 0;
    case WM_SETTEXT: return SetText(AWindow, ALParam);
    case WM_GETTEXT: return GetText(AWindow, AWParam, ALParam);
    case WM_GETTEXTLENGTH: return GetWindowTextLength(AWindow);
    case WM_SETICON: return reinterpret_cast<LRESULT>(SetWindowIcon(AWindow, AWParam, reinterpret_cast<HICON>(ALParam)));
    case WM_GETICON: return reinterpret_cast<LRESULT>(GetWindowIcon(AWindow, AWParam));
    case WM_WINDOWPOSCHANGING: ClampPlacement(AWindow, *reinterpret_cast<WINDOWPOS*>(ALParam)); return 0;
    case WM_WINDOWPOSCHANGED: PlacementChanged(AWindow, *reinterpret_cast<WINDOWPOS*>(ALParam)); return 0;
    case WM_SYSCOMMAND: return SysCommand(AWindow, AWParam, ALParam);
    case WM_NCLBUTTONDOWN: return NcButtonDown(AWindow, AWParam, ALParam);
    case WM_NCLBUTTONDBLCLK:
        if (static_cast<LRESULT>(AWParam) == HTCAPTION && (GetWindowLong(AWindow, GWL_STYLE) & WS_MAXIMIZEBOX))
            SendMessage(AWindow, WM_SYSCOMMAND, IsZoomed(AWindow) ? SC_RESTORE : SC_MAXIMIZE, ALParam);
        return 0;
    case WM_RBUTTONUP: {
        TPoint point = LParamToPoint(ALParam);
        ClientToScreen(AWindow, point);
        SendMessage(AWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(AWindow), PointToLParam(point));
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
        TFrameFacts facts = FactsOf(AWindow);
        if (facts.IsChild)
            return SendMessage(facts.Parent, AMessage, AWParam, ALParam);
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (AWParam == static_cast<WPARAM>(VK_F4) && (ALParam & (1 << 29)))
            SendMessage(GetAncestor(AWindow, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
        else if (AWParam == static_cast<WPARAM>(VK_F10) && GetKeyState(VK_SHIFT) < 0)
            SendKeyboardContextMenu(AWindow);
        return 0;
    case WM_KEYUP:
        if (AWParam == static_cast<WPARAM>(VK_APPS))
            SendKeyboardContextMenu(AWindow);
        return 0;
    case WM_SYSKEYUP:
        // Shift+F10 asked for the context menu, not the menu bar.
        if ((AWParam == static_cast<WPARAM>(VK_MENU) && !(static_cast<uint32_t>(ALParam) & kAltUsedAsModifier)) ||
            (AWParam == static_cast<WPARAM>(VK_F10) && GetKeyState(VK_SHIFT) >= 0))
            SendMessage(GetAncestor(AWindow, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    case WM_SYSCHAR:
        SendMessage(GetAncestor(AWindow, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(AWParam));
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == AWindow)
            ReleaseCapture();
        return 0;
    case WM_QUERYENDSESSION: return TRUE;
    default: return 0;
    }
}

}  // namespace win
