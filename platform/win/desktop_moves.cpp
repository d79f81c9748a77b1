#include "platform/win/backend.h"

#include "platform/win/geometry.h"
#include "platform/win/message_queue.h"
#include "platform/win/styles.h"
#include "platform/win/window_state.h"

namespace win {

namespace {

UINT DesktopMoveMessage()
{
    static const UINT message = RegisterWindowMessage("QuennaryDesktopMove");
    return message;
}

}  // namespace

BOOL QueueDesktopMove(HWND AWindow, TPoint ATopLeft)
{
    return PostMessage(AWindow, DesktopMoveMessage(), 0, PointToLParam(ATopLeft));
}

bool TakeDesktopMove(const MSG& AMsg)
{
    if (AMsg.message != DesktopMoveMessage())
        return false;
    TPoint place = LParamToPoint(AMsg.lParam);
    {
        wm::TLock lock(wm::State().Lock);
        wm::TWindow* window = wm::Find(AMsg.hwnd);
        if (!window || !wm::IsTopLevel(*window) || window->Window.TopLeft() == place)
            return true;
    }
    SetWindowPos(AMsg.hwnd, nullptr, place.X, place.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

}  // namespace win
