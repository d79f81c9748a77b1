// Calls from the main thread while the playback ends on its own, notices racing a stop, and how soon a seek shows
// its first picture.
#include <chrono>

#include "tests/media/player_test_support.h"

namespace {

TEST_F(PlayerTest, CallsRacingTheEndOfPlayFindTheStateWholeOrGone)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    for (int round = 0; round < 25; ++round) {
        const int stops = p.Count(psStop);
        // multi.mkv has two sound streams to switch between; the play time makes the playback stop itself.
        ASSERT_TRUE(p.Player->Open(MediaFixture("multi.mkv"))) << p.Player->LastErrMsg();
        p.Player->SetPlayTime(150000 + 10000 * (round % 5));
        p.Player->SetRepeatType(rtStop);
        int audio = 1;
        const bool ended = WaitUntil([&] {
            p.Player->Seek(int64_t{100000}, TSeekFlags{}, false);
            p.Player->TogglePause();
            p.Player->TogglePause();
            p.Player->StepToNextFrame();
            p.Player->Resume();
            p.Player->SetAudioStreamIndex(audio = 3 - audio);
            p.Player->Seek(0.05, TSeekFlags{}, false);
            (void)p.Player->Paused();
            (void)p.Player->VideoStreamIndex();
            return p.Count(psStop) > stops;
        });
        ASSERT_TRUE(ended) << "round " << round;
        p.Player->Stop(true);
    }
}

// Once the caller has stopped a playback, no position of it reaches the caller any more, whether the stop came
// from the caller's own handler of the end (where a position read just before the end may still be pending) or
// from outside while positions keep coming; the stop itself is still told.
TEST_F(PlayerTest, NoPositionIsToldAfterTheCallerStopped)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    size_t told_at_stop = 0;
    p.Player->OnState = [&](TObject*, TPlayState AState) {
        p.States.push_back(AState);
        if (AState != psEnd) return;
        p.Player->Stop(true);
        told_at_stop = p.Positions.size();
    };
    for (int round = 0; round < 5; ++round) {
        const int stops = p.Count(psStop);
        ASSERT_TRUE(p.Player->Open(MediaFixture("clip.avi"))) << p.Player->LastErrMsg();
        ASSERT_TRUE(WaitUntil([&] { return p.Count(psStop) > stops; })) << "round " << round;
        EXPECT_EQ(p.Positions.size(), told_at_stop) << "the end's handler stopped; round " << round;
    }
    p.Player->OnState = [&](TObject*, TPlayState AState) { p.States.push_back(AState); };
    for (int round = 0; round < 5; ++round) {
        const int stops = p.Count(psStop);
        ASSERT_TRUE(p.Player->Open(MediaFixture("long.mp4"))) << p.Player->LastErrMsg();
        const size_t seen = p.Positions.size();
        ASSERT_TRUE(WaitUntil([&] { return p.Positions.size() > seen + 3; }));
        p.Player->Stop(false);
        const size_t at_stop = p.Positions.size();
        ASSERT_TRUE(WaitUntil([&] { return p.Count(psStop) > stops; })) << "round " << round;
        EXPECT_EQ(p.Positions.size(), at_stop) << "stopped from outside; round " << round;
    }
}

TEST_F(PlayerTest, AWaitedSeekShowsItsTargetWithoutWaitingForTheDistance)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(MediaFixture("long.mp4"))) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return !p.Positions.empty(); }));
    using Clock = std::chrono::steady_clock;
    for (const int64_t target : {3000000, 15000000, 20000000}) {
        const auto start = Clock::now();
        p.Player->Seek(target, TSeekFlags{}, true);
        const double waited = std::chrono::duration<double>(Clock::now() - start).count();
        const size_t seen = p.Positions.size();
        ASSERT_TRUE(WaitUntil([&] {
            for (size_t i = seen; i < p.Positions.size(); ++i)
                if (p.Positions[i] >= target && p.Positions[i] < target + 1000000) return true;
            return false;
        })) << target;
        const double shown = std::chrono::duration<double>(Clock::now() - start).count();
        // A stall waits for the distance from the start of the file (3 s and more); decoding to a key frame at
        // most a second apart takes a fraction of that even under the sanitizers.
        EXPECT_LT(waited, 1.5) << target;
        EXPECT_LT(shown, 1.5) << target;
    }
    p.Player->Stop(true);
}

}  // namespace
