#include "platform/win/size_move_loop.h"

#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/keys.h"
#include "platform/win/message_queue.h"
#include "platform/win/region.h"
#include "platform/win/window.h"

#include <algorithm>

namespace win::wm {

namespace {

// Which edges a WMSZ_ code moves.
void EdgesOf(WPARAM AEdge, bool& ALeft, bool& ATop, bool& ARight, bool& ABottom)
{
    ALeft = AEdge == WMSZ_LEFT || AEdge == WMSZ_TOPLEFT || AEdge == WMSZ_BOTTOMLEFT;
    ARight = AEdge == WMSZ_RIGHT || AEdge == WMSZ_TOPRIGHT || AEdge == WMSZ_BOTTOMRIGHT;
    ATop = AEdge == WMSZ_TOP || AEdge == WMSZ_TOPLEFT || AEdge == WMSZ_TOPRIGHT;
    ABottom = AEdge == WMSZ_BOTTOM || AEdge == WMSZ_BOTTOMLEFT || AEdge == WMSZ_BOTTOMRIGHT;
}

TRect SizedRect(const TRect& AStart, WPARAM AEdge, int ADx, int ADy, const MINMAXINFO& AInfo)
{
    bool left, top, right, bottom;
    EdgesOf(AEdge, left, top, right, bottom);
    TRect result = AStart;
    auto width = [&](int AValue) { return std::clamp(AValue, AInfo.ptMinTrackSize.X, AInfo.ptMaxTrackSize.X); };
    auto height = [&](int AValue) { return std::clamp(AValue, AInfo.ptMinTrackSize.Y, AInfo.ptMaxTrackSize.Y); };
    if (left)
        result.Left = AStart.Right - width(AStart.Width() - ADx);
    if (right)
        result.Right = AStart.Left + width(AStart.Width() + ADx);
    if (top)
        result.Top = AStart.Bottom - height(AStart.Height() - ADy);
    if (bottom)
        result.Bottom = AStart.Top + height(AStart.Height() + ADy);
    return result;
}

void PlaceOnScreen(HWND AWindow, const TRect& AScreenRect, bool AMoveOnly)
{
    TPoint origin{0, 0};
    if (HWND parent = GetAncestor(AWindow, GA_PARENT))
        ClientToScreen(parent, origin);
    SetWindowPos(AWindow, nullptr, AScreenRect.Left - origin.X, AScreenRect.Top - origin.Y, AScreenRect.Width(),
                 AScreenRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE | (AMoveOnly ? SWP_NOSIZE : 0));
}

// Takes the next message for the loop; false when the loop has to end (WM_QUIT is put back for the outer loop).
bool NextMessage(MSG& AMsg)
{
    if (!GetMessage(AMsg, nullptr, 0, 0)) {
        PostQuitMessage(static_cast<int>(AMsg.wParam));
        return false;
    }
    return true;
}

}  // namespace

void RunSizeMoveLoop(HWND AWindow, WPARAM ACommand, LPARAM AStart)
{
    bool moving = (ACommand & 0xFFF0) == SC_MOVE;
    WPARAM edge = ACommand & 0x000F;
    DWORD style = static_cast<DWORD>(GetWindowLong(AWindow, GWL_STYLE));
    if (style & (WS_MAXIMIZE | WS_MINIMIZE))
        return;  // a maximized or minimized window keeps its place
    // Any border style sizes: a window without a thick frame that answers sizing hit codes (a skinned frame)
    // has asked for it.
    if (!moving && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT))
        return;
    // Input is queued ahead of time, so the pointer may already be elsewhere: start where it went down.
    TPoint start = AStart ? LParamToPoint(AStart) : GetMessagePos();
    TRect start_rect;
    GetWindowRect(AWindow, start_rect);
    SendMessage(AWindow, WM_ENTERSIZEMOVE, 0, 0);
    MINMAXINFO info = GetMinMaxInfo(AWindow);
    SetCapture(AWindow);
    TRect current = start_rect;
    MSG msg;
    while (IsWindow(AWindow) && GetCapture() == AWindow && NextMessage(msg)) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            int dx = msg.pt.X - start.X, dy = msg.pt.Y - start.Y;
            TRect rect = moving ? RectOffset(start_rect, dx, dy) : SizedRect(start_rect, edge, dx, dy, info);
            SendMessage(AWindow, moving ? WM_MOVING : WM_SIZING, moving ? 0 : edge, reinterpret_cast<LPARAM>(&rect));
            if (rect != current) {
                PlaceOnScreen(AWindow, rect, moving && rect.Width() == start_rect.Width() &&
                                                  rect.Height() == start_rect.Height());
                current = rect;
            }
        } else if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
            break;
        } else if (msg.message == WM_KEYDOWN && (msg.wParam == static_cast<WPARAM>(VK_ESCAPE) ||
                                                 msg.wParam == static_cast<WPARAM>(VK_RETURN))) {
            if (msg.wParam == static_cast<WPARAM>(VK_ESCAPE))
                PlaceOnScreen(AWindow, start_rect, false);
            break;
        } else if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                   (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) {
            continue;  // the loop owns the pointer and the keys
        } else {
            TranslateMessage(msg);
            DispatchMessage(msg);
        }
    }
    if (GetCapture() == AWindow)
        ReleaseCapture();
    SendMessage(AWindow, WM_EXITSIZEMOVE, 0, 0);
}

void TrackCaptionButton(HWND AWindow, LRESULT AHit)
{
    SetCapture(AWindow);
    MSG msg;
    LRESULT released = HTNOWHERE;
    while (IsWindow(AWindow) && GetCapture() == AWindow && NextMessage(msg)) {
        if (msg.message == WM_LBUTTONUP) {
            released = SendMessage(AWindow, WM_NCHITTEST, 0, PointToLParam(msg.pt));
            break;
        }
        if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
            (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST))
            continue;
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    if (GetCapture() == AWindow)
        ReleaseCapture();
    if (released != AHit || !IsWindow(AWindow))
        return;
    WPARAM command = AHit == HTCLOSE ? SC_CLOSE : AHit == HTMINBUTTON ? SC_MINIMIZE
                                                 : IsZoomed(AWindow)  ? SC_RESTORE
                                                                      : SC_MAXIMIZE;
    SendMessage(AWindow, WM_SYSCOMMAND, command, PointToLParam(msg.pt));
}

}  // namespace win::wm
