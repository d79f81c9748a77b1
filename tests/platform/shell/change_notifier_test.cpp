#include "platform/rtl/main_thread_queue.h"
#include "platform/shell/change_notifier.h"
#include "tests/platform/shell/shell_fixture.h"

#include <atomic>
#include <memory>
#include <thread>

namespace {

// Generous: a missed change shows up as a failed wait instead of a hung test.
constexpr DWORD kGuard = 20000;

class ChangeNotifier : public ShellFixture {
protected:
    // Counts calls and checks they all run on the main thread.
    struct TCalls {
        int Count = 0;
        int OffMain = 0;
    };
    TThreadMethod Counter(std::shared_ptr<TCalls> ACalls)
    {
        return [ACalls] {
            ++ACalls->Count;
            if (win::GetCurrentThreadId() != MainThreadID) ++ACalls->OffMain;
        };
    }
    bool WaitForCount(const std::shared_ptr<TCalls>& ACalls, int ACount)
    {
        return WaitForWithSlices([&] { return ACalls->Count >= ACount; }, 10, kGuard);
    }
};

TEST_F(ChangeNotifier, NoHandlerNoWorker)
{
    TspShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(FFiles);
    EXPECT_FALSE(notifier.Watching());
    EXPECT_EQ(notifier.Root(), FFiles);
    EXPECT_TRUE(notifier.WatchSubTree());
    EXPECT_EQ(notifier.NotifyFilters(), TNotifyFilters({nfFileNameChange, nfDirNameChange}));
}

TEST_F(ChangeNotifier, EachChangeCallsTheHandlerOnceOnTheMainThread)
{
    auto calls = std::make_shared<TCalls>();
    TspShellChangeNotifier notifier(nullptr);
    notifier.SetWatchSubTree(false);
    notifier.SetRoot(FFiles);
    notifier.SetOnChange(Counter(calls));
    ASSERT_TRUE(notifier.Watching());

    WriteFile(FFiles + "/new.avi", "x");
    ASSERT_TRUE(WaitForCount(calls, 1));
    // The second change comes after the first call ran, so a doubled first call would show here as 3.
    std::filesystem::rename(FFiles + "/new.avi", FFiles + "/renamed.avi");
    ASSERT_TRUE(WaitForCount(calls, 2));
    std::filesystem::create_directory(FFiles + "/made");
    ASSERT_TRUE(WaitForCount(calls, 3));
    CheckSynchronize(0);
    EXPECT_EQ(calls->Count, 3);
    EXPECT_EQ(calls->OffMain, 0);
}

TEST_F(ChangeNotifier, RootAndSubTreeMoveTheWatch)
{
    auto calls = std::make_shared<TCalls>();
    TspShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(FFiles);
    notifier.SetOnChange(Counter(calls));
    // Watched to the depth the tree has.
    WriteFile(FFiles + "/sub/deeper/deepest/clip.ts", "x");
    ASSERT_TRUE(WaitForCount(calls, 1));

    notifier.SetRoot(FHome + "/Docs");
    notifier.SetWatchSubTree(false);
    WriteFile(FHome + "/Docs/letter.txt", "x");
    ASSERT_TRUE(WaitForCount(calls, 2));

    // A replaced handler gets the next change.
    auto later = std::make_shared<TCalls>();
    notifier.SetOnChange(Counter(later));
    WriteFile(FHome + "/Docs/second.txt", "x");
    ASSERT_TRUE(WaitForCount(later, 1));
    EXPECT_EQ(calls->Count, 2);
}

TEST_F(ChangeNotifier, DestructionWhileChangesArriveCallsNothingAfterwards)
{
    auto calls = std::make_shared<TCalls>();
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            std::string name = FFiles + "/burst" + std::to_string(i % 50);
            WriteFile(name, "x");
            std::remove(name.c_str());
        }
    });
    for (int round = 0; round < 20; ++round) {
        auto notifier = std::make_unique<TspShellChangeNotifier>(nullptr);
        notifier->SetWatchSubTree(false);
        notifier->SetRoot(FFiles);
        notifier->SetOnChange(Counter(calls));
        if (round == 0) ASSERT_TRUE(WaitForCount(calls, 1));
        notifier.reset();  // joins the worker and drops what it queued
        int seen = calls->Count;
        CheckSynchronize(0);
        EXPECT_EQ(calls->Count, seen);
    }
    stop = true;
    writer.join();
    EXPECT_EQ(calls->OffMain, 0);
}

TEST_F(ChangeNotifier, DestructionWithoutAnyChangeEndsTheWorker)
{
    // Would hang in the join if the worker only woke on a change.
    for (int i = 0; i < 10; ++i) {
        TspShellChangeNotifier notifier(nullptr);
        notifier.SetRoot(FFiles);
        notifier.SetOnChange([] {});
        EXPECT_TRUE(notifier.Watching());
    }
    // A folder that does not exist is watched by nobody, and still ends cleanly.
    TspShellChangeNotifier missing(nullptr);
    missing.SetRoot(FRoot + "/missing");
    missing.SetOnChange([] {});
}

TEST(NotifyMask, FiltersToInotifyBits)
{
    EXPECT_EQ(NotifyMaskOf({}), 0u);
    EXPECT_NE(NotifyMaskOf({nfFileNameChange}) & 0x100u /* IN_CREATE */, 0u);
    EXPECT_EQ(NotifyMaskOf({nfFileNameChange}) & 0x2u /* IN_MODIFY */, 0u);
    EXPECT_NE(NotifyMaskOf({nfWriteChange}) & 0x2u, 0u);
    EXPECT_NE(NotifyMaskOf({nfAttributeChange}) & 0x4u /* IN_ATTRIB */, 0u);
}

}  // namespace
