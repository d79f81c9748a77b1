// Playback through real SDL copies with the dummy drivers: states, positions, the end, two players at once, and
// the refusal of one SDL file for two players.
#include <algorithm>

#include "tests/media/player_test_support.h"

namespace {

struct TPlaybackCase {
    const char* File;
    bool Video;
    bool Audio;
};

class PlayerPlayback : public PlayerTest, public ::testing::WithParamInterface<TPlaybackCase> {};

TEST_P(PlayerPlayback, PlaysToTheEndWithRisingPositionsAndStops)
{
    const TPlaybackCase& c = GetParam();
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL()) << p.Player->LastErrMsg();
    ASSERT_TRUE(p.Player->Open(MediaFixture(c.File))) << p.Player->LastErrMsg();
    EXPECT_EQ(p.Player->VideoStreamIndex() >= 0, c.Video);
    EXPECT_EQ(p.Player->AudioStreamIndex() >= 0, c.Audio);

    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psEnd); })) << "no end state";
    EXPECT_EQ(p.States.front(), psPlay);
    ASSERT_GE(p.Positions.size(), 3u);
    // The clock runs on between pictures; a picture shown late on a busy machine sets it back a little.
    for (size_t i = 1; i < p.Positions.size(); ++i) EXPECT_GE(p.Positions[i], p.Positions[i - 1] - 300000) << i;
    EXPECT_GT(p.Positions.back(), 500000);

    p.Player->Stop(true);
    EXPECT_TRUE(WaitUntil([&] { return p.Saw(psStop); }));
    EXPECT_TRUE(p.Player->Paused());  // nothing open any more
    EXPECT_EQ(p.Player->CurrentPTS(), -1);
}

INSTANTIATE_TEST_SUITE_P(Files, PlayerPlayback,
                         ::testing::Values(TPlaybackCase{"bframes.mp4", true, false},
                                           TPlaybackCase{"clip.ts", true, true},
                                           TPlaybackCase{"tagged.mp3", false, true}),
                         [](const auto& AInfo) {
                             std::string name = AInfo.param.File;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

TEST_F(PlayerTest, TwoPlayersRunAtOnceOnTwoSDLCopies)
{
    TRecordingPlayer a, b;
    ASSERT_TRUE(a.LoadSDL()) << a.Player->LastErrMsg();
    ASSERT_TRUE(b.LoadSDL()) << b.Player->LastErrMsg();
    ASSERT_TRUE(a.Player->Open(MediaFixture("clip.ts"))) << a.Player->LastErrMsg();
    ASSERT_TRUE(b.Player->Open(MediaFixture("bframes.mp4"))) << b.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return a.Saw(psEnd) && b.Saw(psEnd); }));
    EXPECT_FALSE(a.Positions.empty());
    EXPECT_FALSE(b.Positions.empty());
    a.Player->Stop(true);
    b.Player->Stop(true);
    EXPECT_TRUE(WaitUntil([&] { return a.Saw(psStop) && b.Saw(psStop); }));
}

TEST_F(PlayerTest, OneSDLFileServesOnePlayerOnly)
{
    TRecordingPlayer first;
    ASSERT_TRUE(first.LoadSDL());
    TFFPlayer second(nullptr);
    EXPECT_FALSE(second.LoadSDLLib(first.Copy.Folder, first.Copy.File));
    EXPECT_EQ(second.LastErrMsg(), first.Copy.Path() + " alreay loaded in another instance.");
    EXPECT_FALSE(second.Open(MediaFixture("bframes.mp4")));
    EXPECT_EQ(second.LastErrMsg(), "sdl not loaded.");

    // Free again once the first lets go.
    first.Player->UnloadSDLLib();
    EXPECT_TRUE(second.LoadSDLLib(first.Copy.Folder, first.Copy.File)) << second.LastErrMsg();
}

TEST_F(PlayerTest, PausedOpenShowsPicturesThenReportsPauseAndResumes)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"), 0, true)) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psPause); }));
    EXPECT_TRUE(p.Player->Paused());
    EXPECT_EQ(p.Player->PlayState(), psPause);
    EXPECT_EQ(p.States.back(), psPause);
    p.Player->Resume();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psEnd); }));
    p.Player->Stop(true);
}

TEST_F(PlayerTest, SeekBackAfterTheEndPlaysToTheEndAgain)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"))) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psEnd); }));
    const size_t reported = p.Positions.size();
    p.Player->Seek(int64_t{0}, TSeekFlags{}, true);
    EXPECT_FALSE(p.Player->Seeking());
    ASSERT_TRUE(WaitUntil([&] { return p.Count(psEnd) >= 2; }));
    EXPECT_TRUE(std::any_of(p.Positions.begin() + static_cast<long>(reported), p.Positions.end(),
                            [](int64_t APTS) { return APTS < 1000000; }))
        << "the position went back to the start";
    p.Player->Stop(true);
}

TEST_F(PlayerTest, FailuresGiveTheirTexts)
{
    TRecordingPlayer p;
    EXPECT_FALSE(p.Player->Open(MediaFixture("bframes.mp4")));
    EXPECT_EQ(p.Player->LastErrMsg(), "sdl not loaded.");
    ASSERT_TRUE(p.LoadSDL());
    EXPECT_FALSE(p.Player->Open(MediaFixture("not_media.mp4")));
    EXPECT_NE(p.Player->LastErrMsg().find("not_media.mp4"), std::string::npos) << p.Player->LastErrMsg();
    p.Player->SetDisableAudio(true);
    EXPECT_FALSE(p.Player->Open(MediaFixture("tagged.mp3")));
    EXPECT_EQ(p.Player->LastErrMsg(), MediaFixture("tagged.mp3") + ": could not open codecs, no stream to play.");
    // A failed Open leaves the player usable.
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"))) << p.Player->LastErrMsg();
    p.Player->Stop(true);
}

}  // namespace
