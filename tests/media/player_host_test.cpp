// The player component's surface with SDL's dummy drivers: defaults and their return after every playback, the
// option writers' refusals, the file-open report, seek targets, the pause toggle, stepping, and SDL's start-up.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>
#include <iterator>
#include <thread>

#include "media/log/ff_logger.h"
#include "platform/rtl/exceptions.h"
#include "tests/media/player_test_support.h"

namespace {

constexpr int64_t FixtureDuration = 2000000;  // bframes.mp4: two seconds of 160 x 120

TEST_F(PlayerTest, DefaultsAreTheTableAndPerPlayOptionsReturnAfterStop)
{
    TRecordingPlayer p;
    TFFPlayer& player = *p.Player;
    EXPECT_EQ(player.Version(), "3.0");
    EXPECT_EQ(player.AspectRatio(), 0.0f);
    EXPECT_EQ(player.AudioDriver(), adDefault);
    EXPECT_EQ(player.VideoDriver(), vdDefault);
    EXPECT_EQ(player.AudioVolume(), 128);
    EXPECT_FALSE(player.Mute());
    EXPECT_FALSE(player.DisableAudio() || player.DisableVideo() || player.DisableDisplay());
    EXPECT_EQ(player.FrameWidth() + player.FrameHeight() + player.ScreenWidth() + player.ScreenHeight(), 0);
    EXPECT_TRUE(player.TriggerEventInMainThread());
    EXPECT_FALSE(player.VideoHook() || player.AudioHook());
    EXPECT_EQ(player.VideoHookBitsPixel(), 24);
    EXPECT_EQ(player.ShowAudio(), saWave);
    EXPECT_TRUE(player.AutoAdjustFrameRate());
    EXPECT_EQ(player.ForceFrameRate(), "");
    EXPECT_TRUE(player.CheckIOEOF() && player.CheckIOERR());
    EXPECT_FALSE(player.Deinterlace());
    EXPECT_EQ(player.ReadTimeout(), 10000);
    EXPECT_TRUE(player.HijackWndProc());
    EXPECT_EQ(player.VideoFilters(), "");
    EXPECT_EQ(player.ForceFormat(), "");
    EXPECT_FALSE(player.is_full_screen());
    EXPECT_EQ(player.av_sync_type(), AV_SYNC_AUDIO_MASTER);
    EXPECT_EQ(player.workaround_bugs(), 1);
    EXPECT_EQ(player.debug_mv(), 0);
    EXPECT_FALSE(player.fast() || player.genpts());
    EXPECT_EQ(player.decoder_reorder_pts(), -1);
    EXPECT_EQ(player.framedrop(), 0);
    EXPECT_EQ(player.rdftspeed(), 20);
    EXPECT_EQ(player.lowres() + player.idct_algo(), 0);
    EXPECT_EQ(player.error_recognition(), 1);
    EXPECT_EQ(player.error_concealment(), 3);
    EXPECT_EQ(player.CurrentPTS(), -1);
    EXPECT_TRUE(player.Paused());
    EXPECT_EQ(player.VideoStreamIndex(), -1);
    EXPECT_EQ(player.ScreenHandle(), nullptr);

    // The per-play options, set for one playback; the others stay as set.
    ASSERT_TRUE(p.LoadSDL());
    player.SetRepeatType(rtLoop);
    player.Set_start_time(100000);
    player.SetPlayTime(60000000);
    player.Set_wanted_video_stream(0);
    player.Set_wanted_audio_stream(5);
    player.Set_wanted_subtitle_stream(7);
    player.SetVerticalFlip(true);
    player.SetAudioVolume(40);
    player.SetMute(true);
    ASSERT_TRUE(player.Open(MediaFixture("bframes.mp4"))) << player.LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return player.CurrentPTS() >= 0; }));
    player.Stop(true);
    EXPECT_EQ(player.RepeatType(), rtStop);
    EXPECT_EQ(player.start_time(), NotSet);
    EXPECT_EQ(player.PlayTime(), NotSet);
    EXPECT_EQ(player.wanted_video_stream(), -1);
    EXPECT_EQ(player.wanted_audio_stream(), -1);
    EXPECT_EQ(player.wanted_subtitle_stream(), -1);
    EXPECT_EQ(player.seek_by_bytes(), -1);
    EXPECT_FALSE(player.VerticalFlip());
    EXPECT_EQ(player.CurrentPTS(), -1);
    EXPECT_FALSE(player.Seeking());
    EXPECT_EQ(player.AudioVolume(), 40);
    EXPECT_TRUE(player.Mute());
}

TEST_F(PlayerTest, OptionWritersRefuseWhatTheyCannotUse)
{
    TFFPlayer player(nullptr);

    // Frame rates: a bad text is refused and the old value kept; the empty text clears.
    player.SetForceFrameRate("30000/1001");
    struct TRate {
        const char* Text;
        bool Accepted;
    };
    for (const TRate& c : {TRate{"ntsc", true}, TRate{"25", true}, TRate{"twenty-five", false}, TRate{"1/0x", false},
                           TRate{"-", false}}) {
        const std::string before = player.ForceFrameRate();
        if (c.Accepted) {
            EXPECT_NO_THROW(player.SetForceFrameRate(c.Text)) << c.Text;
            EXPECT_EQ(player.ForceFrameRate(), c.Text);
        } else {
            try {
                player.SetForceFrameRate(c.Text);
                ADD_FAILURE() << c.Text << " was taken";
            } catch (const Exception& E) {
                EXPECT_EQ(E.Message(), "Incorrect frame rate");
            }
            EXPECT_EQ(player.ForceFrameRate(), before) << c.Text;
        }
    }
    player.SetForceFrameRate("");
    EXPECT_EQ(player.ForceFrameRate(), "");

    // Input formats: unknown names (the empty one too) raise and keep the forced format.
    player.SetForceFormat("mpegts");
    EXPECT_EQ(player.ForceFormat(), "mpegts");
    for (const char* name : {"no-such-format", ""}) {
        try {
            player.SetForceFormat(name);
            ADD_FAILURE() << name << " was taken";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), std::string("Unknown input format: ") + name);
        }
        EXPECT_EQ(player.ForceFormat(), "mpegts");
    }

    // Bit depths of the snapshot and hook bitmaps.
    player.SetVideoHookBitsPixel(32);
    EXPECT_EQ(player.VideoHookBitsPixel(), 32);
    EXPECT_THROW(player.SetVideoHookBitsPixel(12), Exception);
    EXPECT_EQ(player.VideoHookBitsPixel(), 32);

    // Volumes beyond SDL's range are held at its ends.
    player.SetAudioVolume(500);
    EXPECT_EQ(player.AudioVolume(), 128);
    player.SetAudioVolume(-3);
    EXPECT_EQ(player.AudioVolume(), 0);

    // Nothing open: the operations that need a file do nothing.
    player.StepToNextFrame();
    player.ToggleAudioDisplay();
    player.TogglePause();
    player.UpdateScreenPosition();
    player.Seek(int64_t{1000000}, TSeekFlags{}, true);
    EXPECT_EQ(player.PlayState(), psStop);
    EXPECT_FALSE(player.Seeking());
    EXPECT_EQ(TCustomPlayer::FindDesktopWindow(), nullptr);
}

TEST_F(PlayerTest, TheForcedInputFormatIsTheOneOpened)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    p.Player->SetForceFormat("wav");
    EXPECT_FALSE(p.Player->Open(MediaFixture("bframes.mp4")));
    p.Player->SetForceFormat("mov");
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"))) << p.Player->LastErrMsg();
    p.Player->Stop(true);
}

TEST_F(PlayerTest, DriverNamesLeaveTheDefaultsToSDL)
{
    EXPECT_STREQ(TCustomPlayer::AudioDriverName(adDefault), "");
    EXPECT_STREQ(TCustomPlayer::VideoDriverName(vdDefault), "");
    EXPECT_STREQ(TCustomPlayer::AudioDriverName(adDirectSound), "pulse");
    EXPECT_STREQ(TCustomPlayer::AudioDriverName(adWaveOut), "alsa");
    EXPECT_STREQ(TCustomPlayer::VideoDriverName(vdDirectDraw), "x11");
    EXPECT_STREQ(TCustomPlayer::VideoDriverName(vdGDI), "x11");

    // The defaults keep the dummy drivers the test chose; SDL says which it uses, and no window id is left.
    LoggerInstance()->SetLogLevel(llDebug);
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    const bool opened = p.Player->Open(MediaFixture("bframes.mp4"), nullptr, true);
    LoggerInstance()->SetLogLevel(llInfo);
    ASSERT_TRUE(opened) << p.Player->LastErrMsg();
    EXPECT_EQ(GetEnvironmentVariable("SDL_VIDEODRIVER"), "dummy");
    EXPECT_EQ(GetEnvironmentVariable("SDL_AUDIODRIVER"), "dummy");
    EXPECT_EQ(GetEnvironmentVariable("SDL_WINDOWID"), "");
    p.Player->Stop(true);
    const auto lines = Lines();
    auto said = [&](const std::string& AText) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const TLoggedLine& ALine) { return ALine.Text.find(AText) != std::string::npos; });
    };
    EXPECT_TRUE(said("using video driver: dummy"));
    EXPECT_TRUE(said("using audio driver: dummy"));
}

TEST_F(PlayerTest, FileOpenReportsDurationAndPictureSizeAndTakesTheDisplaySize)
{
    struct TCase {
        const char* Fixture;
        int64_t Duration;
        int Width, Height;
    };
    for (const TCase& c : {TCase{"bframes.mp4", FixtureDuration, 160, 120}, TCase{"stereo16.wav", 1000000, -1, -1}}) {
        SCOPED_TRACE(c.Fixture);
        TRecordingPlayer p;
        ASSERT_TRUE(p.LoadSDL());
        int calls = 0;
        int64_t duration = 0;
        int width = 0, height = 0;
        bool on_main = false;
        p.Player->OnFileOpen = [&](TObject*, int64_t ADuration, int AWidth, int AHeight, int& AScreenWidth,
                                   int& AScreenHeight) {
            ++calls;
            duration = ADuration;
            width = AWidth;
            height = AHeight;
            on_main = win::GetCurrentThreadId() == MainThreadID;
            AScreenWidth = 320;
            AScreenHeight = 200;
        };
        // Opened on another thread: the report still comes on the main thread, which waits here meanwhile.
        std::atomic<int> opened{-1};
        std::thread opener([&] { opened = p.Player->Open(MediaFixture(c.Fixture), nullptr, true) ? 1 : 0; });
        ASSERT_TRUE(WaitUntil([&] { return opened >= 0; }));
        opener.join();
        ASSERT_EQ(opened, 1) << p.Player->LastErrMsg();
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(on_main);
        EXPECT_NEAR(static_cast<double>(duration), static_cast<double>(c.Duration), 50000.0);
        EXPECT_EQ(width, c.Width);
        EXPECT_EQ(height, c.Height);
        EXPECT_EQ(p.Player->ScreenWidth(), 320);
        EXPECT_EQ(p.Player->ScreenHeight(), 200);
        p.Player->Stop(true);
    }

    // Without the main thread the report comes on the thread that opens.
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    p.Player->SetTriggerEventInMainThread(false);
    std::thread::id reported;
    p.Player->OnFileOpen = [&](TObject*, int64_t, int, int, int&, int&) { reported = std::this_thread::get_id(); };
    std::thread::id opener_id;
    std::thread opener([&] {
        opener_id = std::this_thread::get_id();
        EXPECT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"), nullptr, true)) << p.Player->LastErrMsg();
        p.Player->Stop(true);
    });
    opener.join();
    EXPECT_EQ(reported, opener_id);
}

TEST_F(PlayerTest, SeekTargetsStayInsideTheFile)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"))) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psPlay) && !p.Positions.empty(); }));
    auto reached = [&](int64_t AFrom, int64_t ATo) {
        return std::any_of(p.Positions.begin(), p.Positions.end(),
                           [&](int64_t APTS) { return APTS >= AFrom && APTS <= ATo; });
    };

    // Far beyond the end: the end of the file (a position already on its way may still arrive first).
    p.Positions.clear();
    p.Player->Seek(int64_t{60} * 1000000, TSeekFlags{}, true);
    ASSERT_TRUE(WaitUntil([&] {
        return p.Saw(psEnd) && reached(FixtureDuration - 300000, FixtureDuration) && !p.Player->Seeking();
    }))
        << ::testing::PrintToString(p.Positions);
    EXPECT_LE(*std::max_element(p.Positions.begin(), p.Positions.end()), FixtureDuration);

    // Before the start: the start.
    p.Positions.clear();
    p.Player->Seek(int64_t{-5000000}, TSeekFlags{}, true);
    ASSERT_TRUE(WaitUntil([&] { return reached(0, 300000); })) << ::testing::PrintToString(p.Positions);
    EXPECT_GE(*std::min_element(p.Positions.begin(), p.Positions.end()), 0);
    p.Player->Stop(true);
}

// Serves a file a few times over to one client on 127.0.0.1, then sends nothing until it is dropped, so the
// player's read thread waits in its read and leaves a seek request pending. Enough is sent for the stream analysis
// to finish without waiting (a read given up on would leave the input failed, not waiting).
class TStallingServer {
public:
    TStallingServer(const std::string& AFile, int ACopies)
    {
        std::ifstream in(AFile, std::ios::binary);
        const std::vector<char> once{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        for (int i = 0; i < ACopies; ++i) FData.insert(FData.end(), once.begin(), once.end());
        FSocket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(bind(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(FSocket, 1), 0);
        socklen_t length = sizeof address;
        getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
        FThread = std::thread([this] {
            FClient = accept(FSocket, nullptr, nullptr);
            if (FClient >= 0) FSent = send(FClient, FData.data(), FData.size(), MSG_NOSIGNAL) > 0;
        });
    }
    ~TStallingServer()
    {
        shutdown(FSocket, SHUT_RDWR);
        FThread.join();
        if (FClient >= 0) close(FClient);
        close(FSocket);
    }
    std::string URL() const { return "tcp://127.0.0.1:" + std::to_string(FPort); }

private:
    std::vector<char> FData;
    int FSocket = -1;
    int FClient = -1;
    int FPort = 0;
    std::atomic<bool> FSent{false};
    std::thread FThread;
};

TEST_F(PlayerTest, ASecondSeekWhileOneIsPendingIsIgnored)
{
    TStallingServer server(MediaFixture("clip.ts"), 3);
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(server.URL())) << p.Player->LastErrMsg();
    // Past the end of what was sent (each copy starts at 0 again; the clock runs on once the third copy has played
    // out): the read thread has read all of it and waits for more.
    ASSERT_TRUE(WaitUntil([&] {
        int copies = p.Positions.empty() ? 0 : 1;
        for (size_t i = 1; i < p.Positions.size(); ++i) copies += p.Positions[i] < p.Positions[i - 1] - 500000;
        return copies >= 3 && p.Positions.back() > 1100000;
    }));
    p.Player->Seek(int64_t{100000}, TSeekFlags{}, false);
    EXPECT_TRUE(p.Player->Seeking());
    // A seek that counted would wait for the read thread, which cannot get to it: this one returns at once.
    std::atomic<bool> returned{false};
    std::thread second([&] {
        p.Player->Seek(int64_t{0}, TSeekFlags{}, true);
        returned = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return returned.load(); }, 5000));
    EXPECT_TRUE(p.Player->Seeking()) << "the first seek is still waiting for the read thread";
    p.Player->Stop(true);  // ends the read, and with it a wait that counted
    second.join();
}

TEST_F(PlayerTest, TogglePauseTwiceRunsAgainAndStepPausesAfterOnePicture)
{
    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"))) << p.Player->LastErrMsg();
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psPlay); }));
    p.Player->TogglePause();
    EXPECT_TRUE(p.Player->Paused());
    EXPECT_EQ(p.Player->PlayState(), psPause);
    p.Player->TogglePause();
    EXPECT_FALSE(p.Player->Paused());
    EXPECT_EQ(p.Player->PlayState(), psResume);
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psResume); }));
    EXPECT_LE(p.Count(psPause), 1);  // only the newer state survives when the first was not yet delivered
    EXPECT_EQ(p.States.back(), psResume);

    p.Player->Pause();
    ASSERT_TRUE(WaitUntil([&] { return p.States.back() == psPause; }));
    p.Player->StepToNextFrame();
    EXPECT_EQ(p.Player->PlayState(), psStep);
    ASSERT_TRUE(WaitUntil([&] { return p.Saw(psStep); }));
    // One picture later the player pauses again by itself.
    EXPECT_TRUE(WaitUntil([&] { return p.Player->Paused(); }));
    p.Player->Stop(true);
    EXPECT_TRUE(WaitUntil([&] { return p.Saw(psStop); }));
}

}  // namespace
