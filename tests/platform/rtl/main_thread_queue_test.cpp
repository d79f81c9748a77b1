#include "platform/rtl/exceptions.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {
// Generous: a deadlock shows up as a failed wait instead of a hung test.
constexpr DWORD kDeadlockGuard = 60000;

class TSynchronizingThread : public TThread {
public:
    TSynchronizingThread(int ACalls, int& ACounter, std::atomic<int>& AOffMain)
        : TThread(true), FCalls(ACalls), FCounter(ACounter), FOffMain(AOffMain)
    {
    }
    ~TSynchronizingThread() override
    {
        Terminate();
        WaitFor();
    }

protected:
    void Execute() override
    {
        for (int i = 0; i < FCalls; ++i)
            Synchronize([this] {
                // Plain int: only correct if every call really runs on the main thread, one at a time.
                ++FCounter;
                if (win::GetCurrentThreadId() != MainThreadID)
                    ++FOffMain;
            });
    }

private:
    const int FCalls;
    int& FCounter;
    std::atomic<int>& FOffMain;
};

// Each test leaves the queue and its hooks as it found them.
class MainThreadQueue : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetWakeMainThread(nullptr);
        SetWaitSlicePump(nullptr);
        while (CheckSynchronize(0)) {
        }
    }
};
}  // namespace

TEST_F(MainThreadQueue, EightThreadsSynchronizeWhileTheMainThreadWaitsInSlices)
{
    constexpr int kThreads = 8;
    constexpr int kCalls = 200;
    int counter = 0;
    std::atomic<int> off_main{0};
    std::vector<std::unique_ptr<TSynchronizingThread>> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.push_back(std::make_unique<TSynchronizingThread>(kCalls, counter, off_main));
        threads.back()->Start();
    }
    const bool done = WaitForWithSlices(
        [&] {
            for (auto& thread : threads)
                if (!thread->Finished())
                    return false;
            return true;
        },
        10, kDeadlockGuard);
    ASSERT_TRUE(done);
    EXPECT_EQ(counter, kThreads * kCalls);
    EXPECT_EQ(off_main, 0);
}

TEST_F(MainThreadQueue, SynchronizeOnTheMainThreadRunsAtOnce)
{
    bool ran = false;
    TThread::Synchronize(nullptr, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(CheckSynchronize(0));
}

TEST_F(MainThreadQueue, ExceptionsCrossSynchronizeIntoTheWorker)
{
    std::string caught;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        try {
            TThread::Synchronize(nullptr, [] { throw EConvertError("'abc' is not a valid integer value"); });
        } catch (const EConvertError& e) {
            caught = e.Message();
        }
        // The queue keeps working after a failed call.
        TThread::Synchronize(nullptr, [] {});
        finished = true;
    });
    ASSERT_TRUE(WaitForWithSlices([&] { return finished.load(); }, 10, kDeadlockGuard));
    worker.join();
    EXPECT_EQ(caught, "'abc' is not a valid integer value");
}

TEST_F(MainThreadQueue, QueueDoesNotBlockAndRunsInOrder)
{
    std::vector<int> order;
    // The worker ends while the main thread runs nothing: Queue must not wait for it.
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i)
            TThread::Queue(nullptr, [&order, i] { order.push_back(i); });
    });
    worker.join();
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(CheckSynchronize(0));
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_FALSE(CheckSynchronize(0));
}

TEST_F(MainThreadQueue, CallQueuedByACallWaitsForTheNextRound)
{
    int runs = 0;
    QueueInMainThread(nullptr, [&] {
        ++runs;
        QueueInMainThread(nullptr, [&] { ++runs; });
    });
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ(runs, 2);
}

TEST_F(MainThreadQueue, ThrowingQueuedCallLeavesTheLaterOnesQueued)
{
    std::vector<int> order;
    QueueInMainThread(nullptr, [&] { order.push_back(1); });
    QueueInMainThread(nullptr, [] { throw std::runtime_error("boom"); });
    QueueInMainThread(nullptr, [&] { order.push_back(3); });
    EXPECT_THROW(CheckSynchronize(0), std::runtime_error);
    EXPECT_EQ(order, std::vector<int>{1});
    EXPECT_TRUE(CheckSynchronize(0));
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

TEST_F(MainThreadQueue, RemoveQueuedEventsDropsOnlyThatOwnersQueuedCalls)
{
    int gone_owner = 0;
    int other_owner = 0;
    std::vector<std::string> ran;
    QueueInMainThread(&gone_owner, [&] { ran.push_back("gone"); });
    QueueInMainThread(&other_owner, [&] { ran.push_back("other"); });
    QueueInMainThread(nullptr, [&] { ran.push_back("nobody"); });
    QueueInMainThread(&gone_owner, [&] { ran.push_back("gone again"); });
    RemoveQueuedEvents(&gone_owner);
    RemoveQueuedEvents(nullptr);  // calls without an owner belong to nobody and stay
    CheckSynchronize(0);
    EXPECT_EQ(ran, (std::vector<std::string>{"other", "nobody"}));
}

TEST_F(MainThreadQueue, DestroyedThreadTakesItsQueuedCallsAlong)
{
    class TQueueingThread : public TThread {
    public:
        explicit TQueueingThread(std::vector<int>& ARan) : TThread(true), FRan(ARan) {}

    protected:
        void Execute() override
        {
            Queue([this] { FRan.push_back(1); });  // would reach a deleted object
            TThread::Queue(nullptr, [&ran = FRan] { ran.push_back(2); });
        }

    private:
        std::vector<int>& FRan;
    };
    std::vector<int> ran;
    auto thread = std::make_unique<TQueueingThread>(ran);
    thread->Start();
    // Not WaitFor or a slice wait: they would run the queue meanwhile.
    while (!thread->Finished())
        std::this_thread::yield();
    thread.reset();
    while (CheckSynchronize(0)) {
    }
    EXPECT_EQ(ran, std::vector<int>{2});
}

TEST_F(MainThreadQueue, WakeHookHearsEveryQueuedCallAndPumpRunsInSlices)
{
    std::atomic<int> wakes{0};
    int pumps = 0;
    SetWakeMainThread([&] { ++wakes; });
    SetWaitSlicePump([&] { ++pumps; });
    std::thread([] {
        TThread::Queue(nullptr, [] {});
        TThread::Queue(nullptr, [] {});
    }).join();
    EXPECT_EQ(wakes, 2);
    EXPECT_FALSE(WaitForWithSlices([] { return false; }, 1, 5));
    EXPECT_GT(pumps, 0);
}

TEST_F(MainThreadQueue, CheckSynchronizeWakesForACallBeforeItsTimeout)
{
    std::thread worker([] { TThread::Queue(nullptr, [] {}); });
    EXPECT_TRUE(CheckSynchronize(kDeadlockGuard));
    worker.join();
}

TEST_F(MainThreadQueue, CheckSynchronizeBelongsToTheMainThread)
{
    std::thread([] { EXPECT_THROW(CheckSynchronize(0), EThread); }).join();
}

TEST_F(MainThreadQueue, SliceWaitOffTheMainThreadWaitsForThePredicate)
{
    std::atomic<bool> flag{false};
    std::atomic<bool> result{false};
    std::thread waiter([&] { result = WaitForWithSlices([&] { return flag.load(); }, 1, kDeadlockGuard); });
    flag = true;
    waiter.join();
    EXPECT_TRUE(result);
}
