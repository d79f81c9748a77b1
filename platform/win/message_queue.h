#pragma once
// Per-thread message queues. A window belongs to the thread that created it; its messages are dispatched
// there. SendMessage calls the procedure directly on that thread and blocks across threads while the waiting
// thread keeps answering messages sent to it, so two threads sending to each other do not deadlock.
// Messages are taken in this order: sent, posted, input, WM_QUIT, WM_PAINT, WM_TIMER.
#include "platform/win/messages.h"
#include "platform/win/win_types.h"

#include <functional>
#include <string>

namespace win {

// Any thread.
LRESULT SendMessage(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
BOOL PostMessage(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);  // nullptr = this thread
BOOL PostThreadMessage(DWORD AThreadId, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
void PostQuitMessage(int AExitCode);

// AWindow filters to a window and its children; HWND(-1) keeps only thread messages. A zero range means all
// messages; WM_QUIT always passes the range.
BOOL PeekMessage(MSG& AMsg, HWND AWindow, UINT AFilterMin, UINT AFilterMax, UINT ARemove);
// 0 for WM_QUIT, otherwise TRUE. Sleeps until a message arrives or a timer falls due.
BOOL GetMessage(MSG& AMsg, HWND AWindow, UINT AFilterMin, UINT AFilterMax);
BOOL WaitMessage();
BOOL TranslateMessage(const MSG& AMsg);  // key messages become WM_CHAR / WM_SYSCHAR
LRESULT DispatchMessage(const MSG& AMsg);
DWORD GetMessageTime();  // of the last message taken on this thread
TPoint GetMessagePos();
BOOL InSendMessage();  // the current message came from another thread

UINT RegisterWindowMessage(const std::string& AName);  // same name (any case), same number, from 0xC000

// Timers fire from the current clock of platform/rtl/clock.h; a virtual clock makes them testable without
// waiting. WM_TIMER is made when the queue is otherwise empty and never for a timer killed meanwhile.
UINT_PTR SetTimer(HWND AWindow, UINT_PTR AId, UINT AElapse, TIMERPROC AProc = nullptr);
BOOL KillTimer(HWND AWindow, UINT_PTR AId);

// Hooks see every message this thread takes out of its queue (also inside the window manager's own modal
// loops) before it is returned; a hook that answers true swallows it. For the application's OnMessage and the
// menu engine.
using TMessageHook = std::function<bool(MSG& AMsg)>;
int AddMessageHook(TMessageHook AHook);
void RemoveMessageHook(int AId);

// Makes the main thread's message loop wake for queued main-thread calls (a WM_NULL is posted to it) and lets
// waits in slices answer window messages. Call once on the main thread.
void InstallMainThreadHooks();

}  // namespace win
