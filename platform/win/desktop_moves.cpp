#include "platform/win/backend.h"

#include "platform/win/geometry.h"
#include "platform/win/message_queue.h"
#include "platform/win/styles.h"
#include "platform/win/window_state.h"

#include <algorithm>

namespace win {

namespace {

UINT DesktopMoveMessage()
{
    static const UINT message = RegisterWindowMessage("QuennaryDesktopMove");
    return message;
}

UINT DesktopLostMessage()
{
    static const UINT message = RegisterWindowMessage("QuennaryDesktopLost");
    return message;
}

// A size travels in wParam (width high, height low); 0 for a move alone.
WPARAM PackSize(int AWidth, int AHeight)
{
    return (static_cast<WPARAM>(std::clamp(AWidth, 1, 0xFFFF)) << 16) | static_cast<WPARAM>(std::clamp(AHeight, 1, 0xFFFF));
}

}  // namespace

BOOL QueueDesktopMove(HWND AWindow, TPoint ATopLeft)
{
    return PostMessage(AWindow, DesktopMoveMessage(), 0, PointToLParam(ATopLeft));
}

BOOL QueueDesktopPlace(HWND AWindow, const TRect& ARect)
{
    return PostMessage(AWindow, DesktopMoveMessage(), PackSize(ARect.Width(), ARect.Height()),
                       PointToLParam(ARect.TopLeft()));
}

BOOL QueueDesktopLost(HWND AWindow)
{
    return PostMessage(AWindow, DesktopLostMessage(), 0, 0);
}

bool TakeDesktopMove(const MSG& AMsg)
{
    if (AMsg.message == DesktopLostMessage()) {
        PostQuitMessage(0);
        return true;
    }
    if (AMsg.message != DesktopMoveMessage())
        return false;
    TPoint place = LParamToPoint(AMsg.lParam);
    int width = static_cast<int>((AMsg.wParam >> 16) & 0xFFFF), height = static_cast<int>(AMsg.wParam & 0xFFFF);
    bool sized = AMsg.wParam != 0;
    {
        wm::TLock lock(wm::State().Lock);
        wm::TWindow* window = wm::Find(AMsg.hwnd);
        if (!window || !wm::IsTopLevel(*window))
            return true;
        // A minimized window keeps its own place until it is restored.
        if (window->Style & WS_MINIMIZE)
            return true;
        if (window->Window.TopLeft() == place &&
            (!sized || (window->Window.Width() == width && window->Window.Height() == height)))
            return true;
    }
    if (sized)
        SetWindowPos(AMsg.hwnd, nullptr, place.X, place.Y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(AMsg.hwnd, nullptr, place.X, place.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

}  // namespace win
