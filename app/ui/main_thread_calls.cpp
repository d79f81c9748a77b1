#include "app/ui/main_thread_calls.h"

#include "platform/rtl/main_thread_queue.h"
#include "platform/win/message_queue.h"

TMainThreadCallsInLoop::TMainThreadCallsInLoop()
{
    win::InstallMainThreadHooks();
    FHook = win::AddMessageHook([](win::MSG& AMsg) {
        // The wake-up is a thread message of its own; a WM_NULL sent to a window is left to it.
        if (AMsg.message != win::WM_NULL || AMsg.hwnd != nullptr) return false;
        // A call that ran may have ended a modal loop, which looks at that only once a message came through: the
        // wake-up then goes on to the loop (and does nothing there) instead of being swallowed.
        return !CheckSynchronize(0);
    });
}

TMainThreadCallsInLoop::~TMainThreadCallsInLoop()
{
    win::RemoveMessageHook(FHook);
    SetWakeMainThread(nullptr);
    SetWaitSlicePump(nullptr);
}
