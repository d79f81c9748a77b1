#pragma once
// Threads, locks and events of the class library, plus the thread services the Windows-style code calls
// (namespace win). Windows locks are re-entrant; so are TCriticalSection and TTimedMutex here.
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace win {
inline constexpr DWORD INFINITE = 0xFFFFFFFF;

// The kernel's thread id (gettid), the same number the log lines and MainThreadID use.
DWORD GetCurrentThreadId();
void Sleep(DWORD AMilliseconds);  // real time; tests that need time to pass use the virtual clock instead
}  // namespace win

// The thread that started the program (the user-interface thread).
extern const DWORD MainThreadID;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

class TCriticalSection : public TObject {
public:
    void Enter() { FLock.lock(); }
    void Leave() { FLock.unlock(); }
    bool TryEnter() { return FLock.try_lock(); }

private:
    std::recursive_mutex FLock;
};

// Manual reset: stays signalled until ResetEvent and releases every waiter. Auto reset: releases one waiter and
// falls back to non-signalled.
class TEvent : public TObject {
public:
    explicit TEvent(bool AManualReset = true, bool AInitialState = false);

    void SetEvent();
    void ResetEvent();
    // Milliseconds or win::INFINITE; 0 only tests the state. Never returns wrAbandoned (nothing here is shared
    // with other processes).
    TWaitResult WaitFor(DWORD ATimeout = win::INFINITE);

private:
    const bool FManualReset;
    bool FSignaled;
    std::mutex FLock;
    std::condition_variable FChanged;
};

// A manual-reset event that starts non-signalled.
class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(true, false) {}
};

// A re-entrant mutex with a timed acquire, owned by the thread that acquired it (the Windows mutex).
class TTimedMutex : public TObject {
public:
    TWaitResult WaitFor(DWORD ATimeout = win::INFINITE);
    // False when the calling thread does not own the mutex; nothing changes then.
    bool Release();

private:
    std::mutex FLock;
    std::condition_variable FFreed;
    DWORD FOwner = 0;
    unsigned FDepth = 0;
};

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = std::function<void()>;

// A worker thread. Override Execute; the thread object outlives the thread unless FreeOnTerminate is set, in
// which case the object deletes itself on its own thread once Execute and OnTerminate are done.
//
// C++ runs base constructors before derived ones, so a thread cannot begin Execute from this constructor. A
// thread created with ACreateSuspended = false is started by TThread::Create<T>(...) once fully built (the
// class library's "starts after construction"); one made with plain `new` starts with Start().
//
// A derived class whose Execute reads its own members should call Terminate() and WaitFor() in its destructor:
// the base destructor runs after the derived members are gone.
class TThread : public TObject {
public:
    explicit TThread(bool ACreateSuspended);
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    template <class T, class... TArgs>
    static T* Create(TArgs&&... AArgs)
    {
        T* thread = new T(std::forward<TArgs>(AArgs)...);
        thread->AfterConstruction();
        return thread;
    }

    void Start();   // raises EThread when already started
    void Resume();  // starts a thread that was never started; no effect on a running one
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    // Blocks until Execute and OnTerminate are done and returns ReturnValue. On the main thread it keeps running
    // queued calls meanwhile, so a worker in Synchronize cannot deadlock it. Raises EThread for a FreeOnTerminate
    // thread (the object may already be gone) and for the thread waiting on itself.
    int WaitFor();

    bool Finished() const { return FFinished; }
    bool Suspended() const { return !FStarted; }
    bool FreeOnTerminate() const { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool AValue) { FFreeOnTerminate = AValue; }
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority AValue) { FPriority = AValue; }  // accepted; Linux threads keep one priority
    DWORD ThreadID() const { return FThreadID; }
    int ReturnValue() const { return FReturnValue; }
    // The exception that ended Execute, or null.
    std::exception_ptr FatalException() const { return FFatalException; }

    // Runs on the main thread after Execute, before the object is freed (Sender is this thread).
    TNotifyEvent OnTerminate;

    // Runs AMethod on the main thread and blocks until it ran; on the main thread it runs at once. An exception
    // thrown by AMethod is raised again here. AThread may be null.
    static void Synchronize(TThread* AThread, TThreadMethod AMethod);
    // Hands AMethod to the main thread without waiting; calls run in the order queued. On the main thread it
    // still goes through the queue. Calls queued for AThread are dropped when AThread is destroyed.
    static void Queue(TThread* AThread, TThreadMethod AMethod);
    static void RemoveQueuedEvents(TThread* AThread);

protected:
    virtual void Execute() = 0;
    virtual void DoTerminate();  // calls OnTerminate through Synchronize
    void SetReturnValue(int AValue) { FReturnValue = AValue; }
    void Synchronize(TThreadMethod AMethod) { Synchronize(this, std::move(AMethod)); }
    void Queue(TThreadMethod AMethod) { Queue(this, std::move(AMethod)); }

private:
    void AfterConstruction();
    void Run();
    void WaitUntilFinished();

    const bool FCreateSuspended;
    std::thread FHandle;
    std::mutex FStartLock;
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FFreeOnTerminate{false};
    std::atomic<TThreadPriority> FPriority{tpNormal};
    std::atomic<DWORD> FThreadID{0};
    std::atomic<int> FReturnValue{0};
    std::exception_ptr FFatalException;
    TSimpleEvent FDone;
};
