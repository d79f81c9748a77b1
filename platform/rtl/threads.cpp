#include "platform/rtl/threads.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/main_thread_queue.h"

#include <chrono>
#include <unistd.h>

namespace win {
DWORD GetCurrentThreadId()
{
    thread_local const DWORD id = DWORD(gettid());
    return id;
}

void Sleep(DWORD AMilliseconds)
{
    if (AMilliseconds == INFINITE) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(AMilliseconds));
}
}  // namespace win

// From main_thread_queue.cpp: the slice wait without the window-message pump, so that a destructor waiting for
// its thread does not dispatch window messages underneath its caller.
bool WaitInSlicesRunningQueuedCalls(const std::function<bool()>& ADone, DWORD ASlice, DWORD ATimeout);

// Static initialisation runs on the thread that starts the program.
const DWORD MainThreadID = win::GetCurrentThreadId();

TEvent::TEvent(bool AManualReset, bool AInitialState) : FManualReset(AManualReset), FSignaled(AInitialState) {}

void TEvent::SetEvent()
{
    std::lock_guard lock(FLock);
    FSignaled = true;
    if (FManualReset)
        FChanged.notify_all();
    else
        FChanged.notify_one();
}

void TEvent::ResetEvent()
{
    std::lock_guard lock(FLock);
    FSignaled = false;
}

TWaitResult TEvent::WaitFor(DWORD ATimeout)
{
    std::unique_lock lock(FLock);
    auto signaled = [this] { return FSignaled; };
    if (ATimeout == win::INFINITE)
        FChanged.wait(lock, signaled);
    else if (!FChanged.wait_for(lock, std::chrono::milliseconds(ATimeout), signaled))
        return wrTimeout;
    if (!FManualReset)
        FSignaled = false;
    return wrSignaled;
}

TWaitResult TTimedMutex::WaitFor(DWORD ATimeout)
{
    const DWORD self = win::GetCurrentThreadId();
    std::unique_lock lock(FLock);
    if (FDepth > 0 && FOwner == self) {
        ++FDepth;
        return wrSignaled;
    }
    auto free = [this] { return FDepth == 0; };
    if (ATimeout == win::INFINITE)
        FFreed.wait(lock, free);
    else if (!FFreed.wait_for(lock, std::chrono::milliseconds(ATimeout), free))
        return wrTimeout;
    FOwner = self;
    FDepth = 1;
    return wrSignaled;
}

bool TTimedMutex::Release()
{
    std::lock_guard lock(FLock);
    if (FDepth == 0 || FOwner != win::GetCurrentThreadId())
        return false;
    if (--FDepth == 0) {
        FOwner = 0;
        FFreed.notify_one();
    }
    return true;
}

TThread::TThread(bool ACreateSuspended) : FCreateSuspended(ACreateSuspended) {}

TThread::~TThread()
{
    if (FHandle.joinable()) {
        if (FHandle.get_id() == std::this_thread::get_id()) {
            FHandle.detach();  // freeing itself at the end of its own run
        } else {
            Terminate();
            WaitUntilFinished();
            FHandle.join();
        }
    }
    ::RemoveQueuedEvents(this);
}

void TThread::AfterConstruction()
{
    if (!FCreateSuspended)
        Start();
}

void TThread::Start()
{
    std::lock_guard lock(FStartLock);
    if (FStarted)
        throw EThread("Cannot call Start on a running or suspended thread");
    TSimpleEvent running;
    FHandle = std::thread([this, &running] {
        FThreadID = win::GetCurrentThreadId();
        running.SetEvent();
        // Start still holds the lock until FHandle is assigned; a thread that frees itself must not run ahead.
        { std::lock_guard started(FStartLock); }
        Run();
    });
    FStarted = true;  // only once the thread exists, so a failed start leaves nothing to wait for
    running.WaitFor();
}

void TThread::Resume()
{
    {
        std::lock_guard lock(FStartLock);
        if (FStarted)
            return;
    }
    Start();
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        FFatalException = std::current_exception();
    }
    try {
        DoTerminate();
    } catch (...) {
        if (!FFatalException)
            FFatalException = std::current_exception();
    }
    const bool free_self = FFreeOnTerminate;
    FFinished = true;
    FDone.SetEvent();
    WakeMainThreadWaits();
    if (free_self)
        delete this;
}

void TThread::DoTerminate()
{
    if (OnTerminate)
        Synchronize(this, [this] { OnTerminate(this); });
}

int TThread::WaitFor()
{
    if (FFreeOnTerminate)
        throw EThread("Cannot wait for a thread that frees itself");
    if (win::GetCurrentThreadId() == FThreadID)
        throw EThread("A thread cannot wait for itself");
    {
        std::lock_guard lock(FStartLock);
        if (!FStarted)
            throw EThread("Cannot wait for a thread that was never started");
    }
    WaitUntilFinished();
    return FReturnValue;
}

void TThread::WaitUntilFinished()
{
    if (win::GetCurrentThreadId() == MainThreadID)
        WaitInSlicesRunningQueuedCalls([this] { return FFinished.load(); }, 10, win::INFINITE);
    else
        FDone.WaitFor();
}

void TThread::Synchronize(TThread* AThread, TThreadMethod AMethod)
{
    SynchronizeInMainThread(AThread, std::move(AMethod));
}

void TThread::Queue(TThread* AThread, TThreadMethod AMethod)
{
    QueueInMainThread(AThread, std::move(AMethod));
}

void TThread::RemoveQueuedEvents(TThread* AThread)
{
    ::RemoveQueuedEvents(AThread);
}
