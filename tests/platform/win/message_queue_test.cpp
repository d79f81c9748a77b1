#include "win_fixture.h"

#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/threads.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace wintest {
namespace {

class MessageQueue : public TWinFixture {};

TEST_F(MessageQueue, PostedMessagesComeInOrderThenQuitAndHooksCanSwallow)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    PostMessage(window, WM_USER + 1, 1, 0);
    PostMessage(nullptr, WM_USER + 2, 2, 0);  // a thread message
    PostMessage(window, WM_USER + 3, 3, 0);
    PostQuitMessage(7);
    int hook = AddMessageHook([](MSG& AMsg) { return AMsg.message == WM_USER + 3; });
    std::vector<UINT> taken;
    MSG msg;
    while (GetMessage(msg, nullptr, 0, 0)) {
        taken.push_back(msg.message);
        DispatchMessage(msg);
    }
    RemoveMessageHook(hook);
    EXPECT_EQ(taken, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(Names(window, {WM_USER + 1, WM_USER + 3}), (std::vector<std::string>{MessageName(WM_USER + 1)}));
    EXPECT_FALSE(PeekMessage(msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, FiltersSelectByWindowAndRange)
{
    HWND first = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    HWND second = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    PostMessage(first, WM_USER + 1, 0, 0);
    PostMessage(second, WM_USER + 2, 0, 0);
    PostMessage(second, WM_USER + 9, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(msg, second, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessage(msg, nullptr, WM_USER + 5, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 9);
    EXPECT_FALSE(PeekMessage(msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));  // no thread messages
    EXPECT_EQ(Pump(), 2);
}

TEST_F(MessageQueue, RegisteredMessagesAreSharedByName)
{
    UINT created = RegisterWindowMessage("TaskbarCreated");
    EXPECT_GE(created, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage("taskbarcreated"), created);
    EXPECT_NE(RegisterWindowMessage("Another"), created);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(MessageQueue, TimersFireFromTheVirtualClockAndNeverAfterKill)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    SetTimer(window, 1, 100);
    SetTimer(window, 2, 250);
    struct TStep {
        int AdvanceMs;
        std::vector<WPARAM> Fired;
    };
    const std::vector<TStep> steps = {{99, {}}, {1, {1}}, {0, {}}, {100, {1}}, {50, {2}}, {1000, {1, 2}}};
    for (const TStep& step : steps) {
        Log.clear();
        AdvanceMs(step.AdvanceMs);
        Pump();
        std::vector<WPARAM> fired;
        for (auto& entry : Entries(window, WM_TIMER))
            fired.push_back(entry.WParam);
        EXPECT_EQ(fired, step.Fired) << "after advancing " << step.AdvanceMs << " ms";
    }
    // A timer taken out of the queue but killed before dispatch is not delivered either.
    AdvanceMs(100);
    MSG msg;
    ASSERT_TRUE(PeekMessage(msg, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_TRUE(KillTimer(window, msg.wParam));
    Log.clear();
    DispatchMessage(msg);
    EXPECT_TRUE(Entries(window, WM_TIMER).empty());
    KillTimer(window, 1);
    KillTimer(window, 2);
    AdvanceMs(10000);
    Pump();
    EXPECT_TRUE(Entries(window, WM_TIMER).empty());
    EXPECT_FALSE(KillTimer(window, 1));
}

TEST_F(MessageQueue, ThreadTimersCallTheirProcedure)
{
    static int calls = 0;
    calls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { ++calls; });
    EXPECT_NE(id, 0u);
    AdvanceMs(20);
    Pump();
    EXPECT_EQ(calls, 1);
    KillTimer(nullptr, id);
}

TEST_F(MessageQueue, CrossThreadSendsFromFourThreadsDoNotDeadlock)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    constexpr int kThreads = 4, kSends = 200;
    std::atomic<int> done{0};
    std::atomic<int> wrong{0};
    // Each worker owns a window the main thread sends back to while answering, so both sides wait at once.
    On(window, WM_USER + 1, [&](HWND, UINT, WPARAM AWParam, LPARAM ALParam) -> std::optional<LRESULT> {
        HWND back = reinterpret_cast<HWND>(ALParam);
        return SendMessage(back, WM_USER + 2, AWParam, 0) + 1;
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            WNDCLASS cls;
            cls.lpfnWndProc = [](HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) -> LRESULT {
                if (AMessage == WM_USER + 2)
                    return static_cast<LRESULT>(AWParam) * 2;
                return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
            };
            cls.lpszClassName = "Worker";
            RegisterClass(cls);
            HWND mine = CreateWindowEx(0, "Worker", "", WS_POPUP, 0, 0, 1, 1, nullptr);
            for (int i = 0; i < kSends; ++i) {
                WPARAM value = static_cast<WPARAM>(t * 1000 + i);
                if (SendMessage(window, WM_USER + 1, value, reinterpret_cast<LPARAM>(mine)) !=
                    static_cast<LRESULT>(value * 2 + 1))
                    ++wrong;
            }
            DestroyWindow(mine);
            ++done;
            PostThreadMessage(MainThreadID, WM_NULL, 0, 0);
        });
    MSG msg;
    while (done < kThreads && GetMessage(msg, nullptr, 0, 0))
        DispatchMessage(msg);
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Entries(window, WM_USER + 1).size(), size_t(kThreads * kSends));
}

TEST_F(MessageQueue, MainThreadCallsWakeASleepingMessageLoop)
{
    InstallMainThreadHooks();
    bool ran = false;
    std::thread worker([&] {
        SynchronizeInMainThread(nullptr, [&] { ran = true; });
        PostThreadMessage(MainThreadID, WM_USER + 7, 0, 0);
    });
    MSG msg;
    while (GetMessage(msg, nullptr, 0, 0) && msg.message != WM_USER + 7)
        if (msg.message == WM_NULL)
            CheckSynchronize();
    worker.join();
    EXPECT_TRUE(ran);
    SetWakeMainThread(nullptr);
    SetWaitSlicePump(nullptr);
}

TEST_F(MessageQueue, SendToAWindowOfAFinishedThreadReturnsZero)
{
    HWND orphan = nullptr;
    std::thread([&] {
        orphan = CreateWindowEx(0, "TestPlain", "", WS_POPUP, 0, 0, 1, 1, nullptr);
    }).join();
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(SendMessage(orphan, WM_USER, 0, 0), 0);
}

// The same queue on the real clock: a thread that waits sleeps until its next timer or until something arrives.
class MessageQueueRealTime : public MessageQueue {
protected:
    void SetUp() override
    {
        MessageQueue::SetUp();
        FRealClock.emplace(FSystemClock);
    }
    void TearDown() override
    {
        FRealClock.reset();
        MessageQueue::TearDown();
    }

    // How often this thread has gone to sleep so far.
    static long Sleeps()
    {
        std::ifstream status("/proc/thread-self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                return std::stol(line.substr(line.find(':') + 1));
        return -1;
    }

    // Runs the loop until the first WM_TIMER of AWindow; the milliseconds it took and the sleeps meanwhile.
    std::pair<double, long> WaitForTimer(HWND AWindow)
    {
        auto start = std::chrono::steady_clock::now();
        long sleeps = Sleeps();
        MSG msg;
        while (GetMessage(msg, nullptr, 0, 0) && !(msg.message == WM_TIMER && msg.hwnd == AWindow))
            DispatchMessage(msg);
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        return {took.count(), Sleeps() - sleeps};
    }

private:
    TSystemClock FSystemClock;
    std::optional<TClockOverride> FRealClock;
};

TEST_F(MessageQueueRealTime, WaitingForATimerSleepsOnceAndWakesOnTime)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    HWND hidden = Create(0, WS_POPUP, Bounds(0, 0, 50, 20));
    HWND shown = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 20));
    Pump();
    // A blinking caret in a window nobody sees does not wake the thread either; one that shows does.
    ASSERT_TRUE(CreateCaret(hidden, nullptr, 2, 10));
    ShowCaret(hidden);
    SetCaretBlinkTime(100);
    SetTimer(window, 1, 300);
    auto [took, sleeps] = WaitForTimer(window);
    EXPECT_GE(took, 299.0);
    EXPECT_LE(sleeps, 4) << "the loop woke in slices while nothing was due";

    DestroyCaret();
    ASSERT_TRUE(CreateCaret(shown, nullptr, 2, 10));
    ShowCaret(shown);
    std::tie(took, sleeps) = WaitForTimer(window);
    EXPECT_GE(sleeps, 2) << "the caret of a shown window stopped blinking";
    DestroyCaret();
    SetCaretBlinkTime(530);
    KillTimer(window, 1);
}

TEST_F(MessageQueueRealTime, AMessagePostedWhileTheLoopGoesToSleepIsTakenAtOnce)
{
    // A ping-pong between two threads: each message is posted while the loop is on its way back to sleep, with
    // and without a far timer deciding how long it sleeps. A wake-up lost there leaves the message lying until
    // the timer (20 s) fires.
    for (bool withTimer : {false, true}) {
        SCOPED_TRACE(withTimer ? "with a far timer" : "without timers");
        HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
        if (withTimer)
            SetTimer(window, 1, 20000);
        const DWORD loop = GetCurrentThreadId();
        constexpr int kRounds = 300;
        std::atomic<int> taken{0};
        std::thread peer([&] {
            for (int round = 0; round < kRounds; ++round) {
                while (taken.load() < round)
                    std::this_thread::yield();
                PostThreadMessage(loop, WM_USER + 1, static_cast<WPARAM>(round), 0);
            }
        });
        MSG msg;
        auto start = std::chrono::steady_clock::now();
        while (taken.load() < kRounds && GetMessage(msg, nullptr, 0, 0)) {
            if (msg.message == WM_TIMER) {
                ADD_FAILURE() << "a posted message waited for the timer, after " << taken.load() << " rounds";
                taken = kRounds;  // lets the peer finish
                break;
            }
            if (msg.message == WM_USER + 1)
                taken = static_cast<int>(msg.wParam) + 1;
        }
        peer.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
        KillTimer(window, 1);
    }
}

}  // namespace
}  // namespace wintest
