#include "platform/rtl/exceptions.h"
#include "platform/rtl/threads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {
// A thread whose body is a lambda, so each test states only what its Execute does.
class TLambdaThread : public TThread {
public:
    TLambdaThread(bool ACreateSuspended, std::function<void(TLambdaThread&)> ABody)
        : TThread(ACreateSuspended), FBody(std::move(ABody))
    {
    }
    ~TLambdaThread() override
    {
        // The body lives in this class, so the thread must be done before it goes.
        if (!Suspended() && !FreeOnTerminate()) {
            Terminate();
            WaitFor();
        }
        if (OnDestroyed)
            OnDestroyed();
    }
    using TThread::SetReturnValue;
    using TThread::Terminated;
    std::function<void()> OnDestroyed;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TLambdaThread&)> FBody;
};

struct EventCase {
    const char* Name;
    bool ManualReset;
    bool InitialState;
    bool Set;
    TWaitResult First;
    TWaitResult Second;  // a second wait right after the first
};

const EventCase event_cases[] = {
    {"manual reset stays signalled", true, false, true, wrSignaled, wrSignaled},
    {"auto reset releases one wait", false, false, true, wrSignaled, wrTimeout},
    {"manual initially signalled", true, true, false, wrSignaled, wrSignaled},
    {"auto initially signalled", false, true, false, wrSignaled, wrTimeout},
    {"never set", true, false, false, wrTimeout, wrTimeout},
};
}  // namespace

TEST(Event, ResetRulesTable)
{
    for (const EventCase& c : event_cases) {
        SCOPED_TRACE(c.Name);
        TEvent event(c.ManualReset, c.InitialState);
        if (c.Set)
            event.SetEvent();
        EXPECT_EQ(event.WaitFor(0), c.First);
        EXPECT_EQ(event.WaitFor(0), c.Second);
        event.ResetEvent();
        EXPECT_EQ(event.WaitFor(0), wrTimeout);
    }
}

TEST(Event, TimedWaitTimesOutAfterTheTimeout)
{
    TSimpleEvent event;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(event.WaitFor(5), wrTimeout);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5));
}

TEST(Event, ManualResetReleasesEveryWaiterAutoResetOne)
{
    for (bool manual : {true, false}) {
        SCOPED_TRACE(manual ? "manual" : "auto");
        TEvent event(manual, false);
        std::atomic<int> released{0};
        std::vector<std::thread> waiters;
        for (int i = 0; i < 3; ++i)
            waiters.emplace_back([&] {
                if (event.WaitFor(win::INFINITE) == wrSignaled)
                    ++released;
            });
        if (manual) {
            event.SetEvent();
        } else {
            // Each auto-reset signal lets exactly one waiter through; the others need their own.
            for (int i = 0; i < 3; ++i) {
                event.SetEvent();
                while (released <= i)
                    std::this_thread::yield();
            }
        }
        for (auto& waiter : waiters)
            waiter.join();
        EXPECT_EQ(released, 3);
        EXPECT_EQ(event.WaitFor(0), manual ? wrSignaled : wrTimeout);
    }
}

TEST(Event, AutoResetSignalWithNoWaiterIsKeptForTheNextWait)
{
    TEvent event(false, false);
    event.SetEvent();
    event.SetEvent();  // setting a set event changes nothing
    std::thread([&] { EXPECT_EQ(event.WaitFor(win::INFINITE), wrSignaled); }).join();
    EXPECT_EQ(event.WaitFor(0), wrTimeout);
}

TEST(CriticalSection, ReentrantForItsOwnerClosedToOthers)
{
    TCriticalSection lock;
    lock.Enter();
    EXPECT_TRUE(lock.TryEnter());
    lock.Leave();
    std::thread([&] { EXPECT_FALSE(lock.TryEnter()); }).join();
    lock.Leave();
    std::thread([&] {
        EXPECT_TRUE(lock.TryEnter());
        lock.Leave();
    }).join();
}

TEST(TimedMutex, ReentrantTimedAndOwned)
{
    TTimedMutex mutex;
    ASSERT_EQ(mutex.WaitFor(0), wrSignaled);
    ASSERT_EQ(mutex.WaitFor(10), wrSignaled);  // the owner enters again
    std::thread([&] {
        EXPECT_EQ(mutex.WaitFor(5), wrTimeout);
        EXPECT_FALSE(mutex.Release());  // not the owner
    }).join();
    EXPECT_TRUE(mutex.Release());
    std::thread([&] { EXPECT_EQ(mutex.WaitFor(0), wrTimeout); }).join();  // still held once
    EXPECT_TRUE(mutex.Release());
    EXPECT_FALSE(mutex.Release());
    std::thread([&] {
        EXPECT_EQ(mutex.WaitFor(win::INFINITE), wrSignaled);
        EXPECT_TRUE(mutex.Release());
    }).join();
}

TEST(TimedMutex, WaiterGetsTheMutexWhenReleased)
{
    TTimedMutex mutex;
    ASSERT_EQ(mutex.WaitFor(), wrSignaled);
    TSimpleEvent waiting;
    std::thread other([&] {
        waiting.SetEvent();
        EXPECT_EQ(mutex.WaitFor(win::INFINITE), wrSignaled);
        EXPECT_TRUE(mutex.Release());
    });
    waiting.WaitFor();
    EXPECT_TRUE(mutex.Release());
    other.join();
}

TEST(Thread, RunsOnItsOwnThreadAndWaitForGivesReturnValue)
{
    std::atomic<DWORD> ran_on{0};
    auto* thread = TThread::Create<TLambdaThread>(false, [&](TLambdaThread& self) {
        ran_on = win::GetCurrentThreadId();
        self.SetReturnValue(42);
    });
    EXPECT_EQ(thread->WaitFor(), 42);
    EXPECT_TRUE(thread->Finished());
    EXPECT_EQ(ran_on, thread->ThreadID());
    EXPECT_NE(ran_on, MainThreadID);
    EXPECT_EQ(win::GetCurrentThreadId(), MainThreadID);
    EXPECT_FALSE(thread->FatalException());
    delete thread;
}

TEST(Thread, SuspendedThreadWaitsForStart)
{
    std::atomic<bool> ran{false};
    TLambdaThread thread(true, [&](TLambdaThread&) { ran = true; });
    EXPECT_TRUE(thread.Suspended());
    EXPECT_THROW(thread.WaitFor(), EThread);  // would never return
    EXPECT_FALSE(ran);
    thread.Start();
    EXPECT_THROW(thread.Start(), EThread);
    thread.Resume();  // no effect on a started thread
    thread.WaitFor();
    EXPECT_TRUE(ran);
}

TEST(Thread, TerminateEndsALoopingExecute)
{
    TSimpleEvent running;
    TLambdaThread thread(true, [&](TLambdaThread& self) {
        running.SetEvent();
        while (!self.Terminated())
            std::this_thread::yield();
    });
    thread.Start();
    running.WaitFor();
    thread.Terminate();
    EXPECT_EQ(thread.WaitFor(), 0);
}

TEST(Thread, ExceptionInExecuteBecomesFatalException)
{
    TLambdaThread thread(true, [](TLambdaThread&) { throw EConvertError("'x' is not a valid integer value"); });
    thread.Start();
    thread.WaitFor();
    ASSERT_TRUE(thread.FatalException());
    try {
        std::rethrow_exception(thread.FatalException());
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x' is not a valid integer value");
    }
}

TEST(Thread, OnTerminateRunsOnTheMainThreadBeforeWaitForReturns)
{
    std::vector<DWORD> calls;  // plain vector: only the main thread may touch it
    TLambdaThread thread(true, [](TLambdaThread&) {});
    thread.OnTerminate = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &thread);
        calls.push_back(win::GetCurrentThreadId());
    };
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(calls, std::vector<DWORD>{MainThreadID});
}

TEST(Thread, FreeOnTerminateDeletesItselfOnItsThread)
{
    TSimpleEvent destroyed;
    std::atomic<DWORD> destroyed_on{0};
    auto* thread = new TLambdaThread(true, [](TLambdaThread&) {});
    thread->SetFreeOnTerminate(true);
    EXPECT_THROW(thread->WaitFor(), EThread);
    thread->OnDestroyed = [&] {
        destroyed_on = win::GetCurrentThreadId();
        destroyed.SetEvent();
    };
    thread->Start();
    ASSERT_EQ(destroyed.WaitFor(10000), wrSignaled);
    EXPECT_NE(destroyed_on, MainThreadID);
}

TEST(Thread, DestroyingARunningThreadTerminatesAndWaits)
{
    std::atomic<bool> ended{false};
    TSimpleEvent running;
    {
        TLambdaThread thread(true, [&](TLambdaThread& self) {
            running.SetEvent();
            while (!self.Terminated())
                std::this_thread::yield();
            ended = true;
        });
        thread.Start();
        running.WaitFor();
    }
    EXPECT_TRUE(ended);
}
