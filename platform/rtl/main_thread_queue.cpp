#include "platform/rtl/main_thread_queue.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace {
struct TSyncState {
    bool Done = false;
    std::exception_ptr Error;
};

struct TCall {
    const void* Owner = nullptr;
    TThreadMethod Method;
    std::shared_ptr<TSyncState> Sync;  // null for a queued call nobody waits for
};

struct TQueueState {
    std::mutex Lock;
    std::condition_variable Changed;   // a call arrived or a waiter should look again
    std::condition_variable SyncDone;  // a synchronized call ran
    std::deque<TCall> Calls;
    uint64_t WakeCount = 0;

    std::mutex HookLock;
    std::function<void()> Wake;
    std::function<void()> SlicePump;
};

// Built on first use, so that calls made during static initialisation elsewhere find it ready, and never
// destroyed: a self-freeing thread may still be waking the main thread's waits while the process exits.
TQueueState& State()
{
    static TQueueState* state = new TQueueState;
    return *state;
}

bool IsMainThread()
{
    return win::GetCurrentThreadId() == MainThreadID;
}

void CallHook(std::function<void()> TQueueState::*AHook)
{
    std::function<void()> hook;
    {
        std::lock_guard lock(State().HookLock);
        hook = State().*AHook;
    }
    if (hook)
        hook();
}

void Push(TCall ACall)
{
    auto& state = State();
    {
        std::lock_guard lock(state.Lock);
        state.Calls.push_back(std::move(ACall));
    }
    state.Changed.notify_all();
    CallHook(&TQueueState::Wake);
}

// Waits up to ATimeout ms for a wake-up and, when ACalls (the main thread), for a call; returns at once when a
// call is pending then.
void WaitForCallOrWake(std::unique_lock<std::mutex>& lock, DWORD ATimeout, bool ACalls)
{
    auto& state = State();
    const uint64_t wakes = state.WakeCount;
    auto ready = [&] { return (ACalls && !state.Calls.empty()) || state.WakeCount != wakes; };
    if (ATimeout == win::INFINITE)
        state.Changed.wait(lock, ready);
    else
        state.Changed.wait_for(lock, std::chrono::milliseconds(ATimeout), ready);
}

bool WaitInSlices(const std::function<bool()>& ADone, DWORD ASlice, DWORD ATimeout, bool APump)
{
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    const bool main = IsMainThread();
    ASlice = std::max<DWORD>(ASlice, 1);
    for (;;) {
        if (ADone())
            return true;
        DWORD wait = ASlice;
        if (ATimeout != win::INFINITE) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count();
            if (spent >= ATimeout)
                return ADone();
            wait = std::min<DWORD>(ASlice, DWORD(ATimeout - spent));
        }
        if (main) {
            CheckSynchronize(wait);
            if (APump)
                CallHook(&TQueueState::SlicePump);
        } else {
            std::unique_lock lock(State().Lock);
            WaitForCallOrWake(lock, wait, false);
        }
    }
}
}  // namespace

bool WaitInSlicesRunningQueuedCalls(const std::function<bool()>& ADone, DWORD ASlice, DWORD ATimeout)
{
    return WaitInSlices(ADone, ASlice, ATimeout, false);
}

void SynchronizeInMainThread(const void* AOwner, TThreadMethod AMethod)
{
    if (IsMainThread()) {
        AMethod();
        return;
    }
    auto sync = std::make_shared<TSyncState>();
    Push({AOwner, std::move(AMethod), sync});
    auto& state = State();
    {
        std::unique_lock lock(state.Lock);
        state.SyncDone.wait(lock, [&] { return sync->Done; });
    }
    if (sync->Error)
        std::rethrow_exception(sync->Error);
}

void QueueInMainThread(const void* AOwner, TThreadMethod AMethod)
{
    Push({AOwner, std::move(AMethod), nullptr});
}

void RemoveQueuedEvents(const void* AOwner)
{
    if (!AOwner)
        return;
    auto& state = State();
    std::lock_guard lock(state.Lock);
    std::erase_if(state.Calls, [&](const TCall& call) { return !call.Sync && call.Owner == AOwner; });
}

bool CheckSynchronize(DWORD ATimeout)
{
    if (!IsMainThread())
        throw EThread("CheckSynchronize called from a thread that is not the main thread");
    auto& state = State();
    size_t pending;
    {
        std::unique_lock lock(state.Lock);
        if (state.Calls.empty() && ATimeout != 0)
            WaitForCallOrWake(lock, ATimeout, true);
        pending = state.Calls.size();
    }
    // Only what was pending at the start, so a call that queues another cannot keep this loop going.
    bool ran = false;
    for (; pending > 0; --pending) {
        TCall call;
        {
            std::lock_guard lock(state.Lock);
            if (state.Calls.empty())
                break;
            call = std::move(state.Calls.front());
            state.Calls.pop_front();
        }
        ran = true;
        if (!call.Sync) {
            call.Method();
            continue;
        }
        try {
            call.Method();
        } catch (...) {
            call.Sync->Error = std::current_exception();
        }
        // Let go of the call and its state before the worker resumes: the worker then owns the last reference,
        // and the exception it raises again is freed on its own thread.
        call.Method = nullptr;
        {
            std::lock_guard lock(state.Lock);
            call.Sync->Done = true;
            call.Sync.reset();
        }
        state.SyncDone.notify_all();
    }
    return ran;
}

void SetWakeMainThread(std::function<void()> AWake)
{
    std::lock_guard lock(State().HookLock);
    State().Wake = std::move(AWake);
}

void SetWaitSlicePump(std::function<void()> APump)
{
    std::lock_guard lock(State().HookLock);
    State().SlicePump = std::move(APump);
}

bool WaitForWithSlices(const std::function<bool()>& ADone, DWORD ASlice, DWORD ATimeout)
{
    return WaitInSlices(ADone, ASlice, ATimeout, true);
}

bool WaitForWithSlices(TThread& AThread, DWORD ASlice, DWORD ATimeout)
{
    return WaitInSlices([&] { return AThread.Finished(); }, ASlice, ATimeout, true);
}

void WakeMainThreadWaits()
{
    auto& state = State();
    {
        std::lock_guard lock(state.Lock);
        ++state.WakeCount;
    }
    state.Changed.notify_all();
    CallHook(&TQueueState::Wake);
}
