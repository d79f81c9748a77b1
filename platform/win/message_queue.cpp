#include "platform/win/message_queue.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/threads.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace win {

using namespace wm;

namespace {

thread_local DWORD t_message_time = 0;
thread_local TPoint t_message_pos;
thread_local int t_in_foreign_send = 0;

bool InRange(UINT AMessage, UINT AMin, UINT AMax)
{
    return (AMin == 0 && AMax == 0) || (AMessage >= AMin && AMessage <= AMax);
}

bool MatchesWindow(HWND AMessageWindow, HWND AFilter)
{
    if (!AFilter)
        return true;
    if (AFilter == reinterpret_cast<HWND>(-1))
        return AMessageWindow == nullptr;
    if (AMessageWindow == AFilter)
        return true;
    for (TWindow* window = Find(AMessageWindow); window && window->Parent; window = Find(window->Parent))
        if (window->Parent == AFilter)
            return true;
    return false;
}

void ProcessSent(const std::shared_ptr<TSentMessage>& ASent)
{
    ++t_in_foreign_send;
    try {
        ASent->Result = wm::CallProcDirect(ASent->Window, ASent->Message, ASent->WParam, ASent->LParam);
    } catch (...) {
        ASent->Error = std::current_exception();
    }
    --t_in_foreign_send;
    TLock lock(State().Lock);
    ASent->Done = true;
    WakeThread(ASent->Sender);
}

// Takes a waiting sent message off AQueue and answers it; false when there was none. Lock held on entry and
// on return.
bool AnswerOneSent(TThreadQueue& AQueue, TLock& ALock)
{
    if (AQueue.Sent.empty())
        return false;
    auto sent = AQueue.Sent.front();
    AQueue.Sent.pop_front();
    ALock.unlock();
    ProcessSent(sent);
    ALock.lock();
    return true;
}

bool TakeFrom(std::deque<MSG>& AList, MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove)
{
    for (auto it = AList.begin(); it != AList.end(); ++it)
        if (InRange(it->message, AMin, AMax) && MatchesWindow(it->hwnd, AFilter)) {
            AMsg = *it;
            if (ARemove)
                AList.erase(it);
            return true;
        }
    return false;
}

bool TakeTimer(TThreadQueue& AQueue, MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove)
{
    if (!InRange(WM_TIMER, AMin, AMax))
        return false;
    int64_t now = CurrentClock().NowMicros();
    TTimer* due = nullptr;
    for (auto& timer : AQueue.Timers)
        if (timer.DueMicros <= now && MatchesWindow(timer.Window, AFilter) && (!due || timer.DueMicros < due->DueMicros))
            due = &timer;
    if (!due)
        return false;
    AMsg = {due->Window, WM_TIMER, due->Id, reinterpret_cast<LPARAM>(due->Proc), MessageTime(), State().CursorPos};
    if (ARemove)
        due->DueMicros = now + due->IntervalMicros;
    return true;
}

// Sleeps until something may have arrived: a message posted or sent, raw input, a wake-up, or the deadline of
// the next timer this call could take or of the caret's blink. Nothing due means sleeping until woken.
void WaitForWork(TThreadQueue& AQueue, TLock& ALock, int64_t ACaretDue, HWND AFilter, UINT AMin, UINT AMax)
{
    int64_t next = ACaretDue;
    if (InRange(WM_TIMER, AMin, AMax))
        for (auto& timer : AQueue.Timers)
            if (MatchesWindow(timer.Window, AFilter))
                next = std::min(next, timer.DueMicros);
    if (next == INT64_MAX) {
        AQueue.Wake.wait(ALock);
        return;
    }
    int64_t wait = next - CurrentClock().NowMicros();
    // A clock that a test moves by hand, possibly from another thread, tells no one: look again in short slices.
    if (!dynamic_cast<const TSystemClock*>(&CurrentClock()))
        wait = std::clamp<int64_t>(wait, 1000, 20000);
    if (wait > 0)
        AQueue.Wake.wait_for(ALock, std::chrono::microseconds(wait));
}

// The core of PeekMessage and GetMessage. Returns false only when AWait is false and nothing is there.
bool Retrieve(MSG& AMsg, HWND AFilter, UINT AMin, UINT AMax, bool ARemove, bool AWait)
{
    TLock lock(State().Lock);
    TThreadQueue& queue = CurrentQueue();
    while (true) {
        if (AnswerOneSent(queue, lock))
            continue;
        int64_t caret_due = BlinkCaret(queue);
        bool found = TakeFrom(queue.Posted, AMsg, AFilter, AMin, AMax, ARemove);
        // Raw input is turned into messages one event at a time, when the ones before it are gone, so that
        // state read while handling a message (key state, the key TranslateMessage looks at) is of that message.
        if (!found) {
            found = TakeFrom(queue.Input, AMsg, AFilter, AMin, AMax, ARemove);
            if (!found && queue.Input.empty() && TakeRawInput(queue, lock))
                continue;
        }
        if (!found && queue.QuitPosted) {
            AMsg = {nullptr, WM_QUIT, static_cast<WPARAM>(queue.QuitCode), 0, MessageTime(), State().CursorPos};
            if (ARemove)
                queue.QuitPosted = false;
            found = true;
        }
        if (!found && InRange(WM_PAINT, AMin, AMax)) {
            if (HWND window = FindWindowToPaint(queue.Thread, AFilter)) {
                AMsg = {window, WM_PAINT, 0, 0, MessageTime(), State().CursorPos};
                found = true;
            }
        }
        if (!found)
            found = TakeTimer(queue, AMsg, AFilter, AMin, AMax, ARemove);
        if (found) {
            t_message_time = AMsg.time;
            t_message_pos = AMsg.pt;
            if (!ARemove || queue.Hooks.empty())
                return true;
            auto hooks = queue.Hooks;
            lock.unlock();
            bool swallowed = false;
            for (auto& [id, hook] : hooks)
                if (hook(AMsg)) {
                    swallowed = true;
                    break;
                }
            if (!swallowed)
                return true;
            lock.lock();
            continue;
        }
        if (!AWait)
            return false;
        WaitForWork(queue, lock, caret_due, AFilter, AMin, AMax);
    }
}

}  // namespace

LRESULT SendMessage(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    DWORD thread;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return 0;
        thread = window->Thread;
    }
    if (thread == CurrentThread())
        return wm::CallProcDirect(AWindow, AMessage, AWParam, ALParam);

    auto sent = std::make_shared<TSentMessage>();
    sent->Window = AWindow;
    sent->Message = AMessage;
    sent->WParam = AWParam;
    sent->LParam = ALParam;
    sent->Sender = CurrentThread();
    TLock lock(State().Lock);
    TThreadQueue& mine = CurrentQueue();
    auto target = State().Queues.find(thread);
    if (target == State().Queues.end() || !target->second->Alive)
        return 0;
    target->second->Sent.push_back(sent);
    target->second->Wake.notify_all();
    while (!sent->Done) {
        if (AnswerOneSent(mine, lock))
            continue;
        mine.Wake.wait(lock);
    }
    if (sent->Error)
        std::rethrow_exception(sent->Error);
    return sent->Result;
}

BOOL PostMessage(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    TLock lock(State().Lock);
    DWORD thread = CurrentThread();
    if (AWindow) {
        TWindow* window = Find(AWindow);
        if (!window)
            return FALSE;
        thread = window->Thread;
    }
    TThreadQueue& queue = thread == CurrentThread() ? CurrentQueue() : QueueOf(thread);
    queue.Posted.push_back({AWindow, AMessage, AWParam, ALParam, MessageTime(), State().CursorPos});
    queue.Wake.notify_all();
    return TRUE;
}

BOOL PostThreadMessage(DWORD AThreadId, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    TLock lock(State().Lock);
    TThreadQueue& queue = AThreadId == CurrentThread() ? CurrentQueue() : QueueOf(AThreadId);
    queue.Posted.push_back({nullptr, AMessage, AWParam, ALParam, MessageTime(), State().CursorPos});
    queue.Wake.notify_all();
    return TRUE;
}

void PostQuitMessage(int AExitCode)
{
    TLock lock(State().Lock);
    TThreadQueue& queue = CurrentQueue();
    queue.QuitPosted = true;
    queue.QuitCode = AExitCode;
    queue.Wake.notify_all();
}

BOOL PeekMessage(MSG& AMsg, HWND AWindow, UINT AFilterMin, UINT AFilterMax, UINT ARemove)
{
    return Retrieve(AMsg, AWindow, AFilterMin, AFilterMax, ARemove & PM_REMOVE, false) ? TRUE : FALSE;
}

BOOL GetMessage(MSG& AMsg, HWND AWindow, UINT AFilterMin, UINT AFilterMax)
{
    Retrieve(AMsg, AWindow, AFilterMin, AFilterMax, true, true);
    return AMsg.message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage()
{
    MSG msg;
    Retrieve(msg, nullptr, 0, 0, false, true);
    return TRUE;
}

BOOL TranslateMessage(const MSG& AMsg)
{
    if (AMsg.message != WM_KEYDOWN && AMsg.message != WM_SYSKEYDOWN)
        return FALSE;
    TLock lock(State().Lock);
    TThreadQueue& queue = CurrentQueue();
    const MSG& last = queue.LastKey;
    if (last.hwnd != AMsg.hwnd || last.message != AMsg.message || last.wParam != AMsg.wParam ||
        last.lParam != AMsg.lParam || queue.LastKeyChar == 0)
        return FALSE;
    UINT message = AMsg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    queue.Posted.push_front({AMsg.hwnd, message, queue.LastKeyChar, AMsg.lParam, AMsg.time, AMsg.pt});
    queue.LastKeyChar = 0;
    return TRUE;
}

LRESULT DispatchMessage(const MSG& AMsg)
{
    if (!AMsg.hwnd && !(AMsg.message == WM_TIMER && AMsg.lParam))
        return 0;
    if (AMsg.message >= 0xC000 && TakeDesktopMove(AMsg))
        return 0;
    if (AMsg.message == WM_TIMER) {
        {
            TLock lock(State().Lock);
            if (!TimerExists(AMsg.hwnd, AMsg.wParam))
                return 0;
        }
        if (AMsg.lParam) {
            auto proc = reinterpret_cast<TIMERPROC>(AMsg.lParam);
            proc(AMsg.hwnd, WM_TIMER, AMsg.wParam, AMsg.time);
            return 0;
        }
    }
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AMsg.hwnd);
        if (!window || window->Thread != CurrentThread())
            return 0;
    }
    return wm::CallProcDirect(AMsg.hwnd, AMsg.message, AMsg.wParam, AMsg.lParam);
}

DWORD GetMessageTime() { return t_message_time; }
TPoint GetMessagePos() { return t_message_pos; }
BOOL InSendMessage() { return t_in_foreign_send > 0; }

UINT RegisterWindowMessage(const std::string& AName)
{
    if (AName.empty())
        return 0;
    std::string key = AName;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    TLock lock(State().Lock);
    auto& names = State().RegisteredMessages;
    auto it = names.find(key);
    if (it != names.end())
        return it->second;
    UINT number = State().NextRegisteredMessage++;
    names[key] = number;
    return number;
}

UINT_PTR SetTimer(HWND AWindow, UINT_PTR AId, UINT AElapse, TIMERPROC AProc)
{
    TLock lock(State().Lock);
    DWORD thread = CurrentThread();
    if (AWindow) {
        TWindow* window = Find(AWindow);
        if (!window)
            return 0;
        thread = window->Thread;
    } else {
        AId = State().NextThreadTimerId++;
    }
    TThreadQueue& queue = thread == CurrentThread() ? CurrentQueue() : QueueOf(thread);
    // The platform never fires faster than every 10 ms.
    int64_t interval = static_cast<int64_t>(std::max<UINT>(AElapse, 10)) * 1000;
    TTimer timer{AWindow, AId, interval, CurrentClock().NowMicros() + interval, AProc};
    auto it = std::find_if(queue.Timers.begin(), queue.Timers.end(),
                           [&](const TTimer& t) { return t.Window == AWindow && t.Id == AId; });
    if (it != queue.Timers.end())
        *it = timer;
    else
        queue.Timers.push_back(timer);
    queue.Wake.notify_all();
    return AWindow ? (AId ? AId : 1) : AId;
}

BOOL KillTimer(HWND AWindow, UINT_PTR AId)
{
    TLock lock(State().Lock);
    for (auto& [thread, queue] : State().Queues) {
        auto it = std::find_if(queue->Timers.begin(), queue->Timers.end(),
                               [&](const TTimer& t) { return t.Window == AWindow && t.Id == AId; });
        if (it != queue->Timers.end()) {
            queue->Timers.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

int AddMessageHook(TMessageHook AHook)
{
    TLock lock(State().Lock);
    TThreadQueue& queue = CurrentQueue();
    int id = queue.NextHookId++;
    queue.Hooks[id] = std::move(AHook);
    return id;
}

void RemoveMessageHook(int AId)
{
    TLock lock(State().Lock);
    CurrentQueue().Hooks.erase(AId);
}

void InstallMainThreadHooks()
{
    SetWakeMainThread([] { PostThreadMessage(MainThreadID, WM_NULL, 0, 0); });
    SetWaitSlicePump([] {
        MSG msg;
        while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(msg);
            DispatchMessage(msg);
        }
    });
}

namespace wm {

bool TimerExists(HWND AWindow, UINT_PTR AId)
{
    for (auto& [thread, queue] : State().Queues)
        for (auto& timer : queue->Timers)
            if (timer.Window == AWindow && timer.Id == AId)
                return true;
    return false;
}

void ForgetWindowInQueues(HWND AWindow)
{
    for (auto& [thread, queue] : State().Queues) {
        auto& timers = queue->Timers;
        timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const TTimer& t) { return t.Window == AWindow; }),
                     timers.end());
        auto drop = [&](std::deque<MSG>& AList) {
            AList.erase(std::remove_if(AList.begin(), AList.end(), [&](const MSG& m) { return m.hwnd == AWindow; }),
                        AList.end());
        };
        drop(queue->Posted);
        drop(queue->Input);
        for (auto it = queue->Sent.begin(); it != queue->Sent.end();) {
            if ((*it)->Window == AWindow) {
                (*it)->Done = true;
                WakeThread((*it)->Sender);
                it = queue->Sent.erase(it);
            } else {
                ++it;
            }
        }
    }
}

}  // namespace wm

}  // namespace win
