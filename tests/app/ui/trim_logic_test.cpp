// The Trim dialog's rules on a fake player: handle geometry, typed times, how one end pushes the other, the
// capture of a handle's time at the next position, the loop of the trimmed part and the commands that end it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ui/trim_logic.h"

namespace {

constexpr int64_t kSecond = 1000000;
constexpr int kBarWidth = 464;

class TFakeTrimPlayer : public TTrimPlayer {
public:
    bool OpenSource() override
    {
        Calls.push_back("open");
        if (OpenSucceeds) State = psPlay;
        return OpenSucceeds;
    }
    TPlayState PlayState() const override { return State; }
    bool Paused() const override { return IsPaused; }
    void Pause() override
    {
        Calls.push_back("pause");
        IsPaused = true;
    }
    void Resume() override
    {
        Calls.push_back("resume");
        IsPaused = false;
    }
    void TogglePause() override
    {
        Calls.push_back("toggle");
        IsPaused = !IsPaused;
    }
    void Seek(int64_t APTS, bool AWait) override
    {
        Calls.push_back((AWait ? "seek-wait " : "seek ") + std::to_string(APTS));
        if (AWait && DuringWaitingSeek) DuringWaitingSeek();
    }
    void WaitWhileSeeking() override { Calls.push_back("wait-seek"); }
    void StopAndWait() override
    {
        Calls.push_back("stop");
        State = psStop;
    }

    std::vector<std::string> Calls;
    TPlayState State = psPlay;
    bool IsPaused = false;
    bool OpenSucceeds = true;
    std::function<void()> DuringWaitingSeek;
};

std::string SeekTo(int64_t AMicros, bool AWait = false)
{
    return (AWait ? "seek-wait " : "seek ") + std::to_string(AMicros);
}

// A dialog shown on a job of a 60-second file with the given range.
class TrimLogicTest : public ::testing::Test {
protected:
    void Show(int64_t AStart, int64_t AEnd, int64_t ADuration = 60 * kSecond)
    {
        Logic.LoadRange(AStart, AEnd);
        Logic.FileOpened(ADuration);
        Logic.PlaceHandles();
        Player.Calls.clear();
    }
    TFakeTrimPlayer Player;
    TTrimLogic Logic{Player, kBarWidth};
};

TEST(TrimBarGeometry, HandlesAndTimesMapBothWays)
{
    const TTrimBarGeometry bar{kBarWidth, 60 * kSecond};
    struct {
        int X;
        int64_t Time;
    } const cases[] = {
        {10, 0},
        {474, 60 * kSecond},
        {242, 30 * kSecond},
        {126, 15 * kSecond},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bar.TimeAt(c.X), c.Time) << c.X;
        EXPECT_EQ(bar.HandleAt(c.Time), c.X) << c.Time;
    }
    // 29 pixels are bar value 62.5, rounded to the even 62.
    EXPECT_EQ(bar.TimeAt(39), 60 * kSecond * 62 / 1000);
    EXPECT_EQ(bar.HandleAtValue(750), 358);
    // Thirty hours still fit the 64-bit arithmetic.
    const TTrimBarGeometry longFile{kBarWidth, 30LL * 3600 * kSecond};
    EXPECT_EQ(longFile.HandleAt(longFile.Duration), 474);
    EXPECT_EQ(longFile.TimeAt(474), longFile.Duration);
    // Nothing to divide by without a length.
    const TTrimBarGeometry unknown{kBarWidth, 0};
    EXPECT_EQ(unknown.TimeAt(242), 0);
    EXPECT_EQ(unknown.HandleAt(30 * kSecond), 10);
}

TEST(TrimBarGeometry, TheLineRunsBetweenTheHandlesAndNeverTurnsNegative)
{
    EXPECT_EQ(TrimmedLineBounds(10, 474).Left, 22);
    EXPECT_EQ(TrimmedLineBounds(10, 474).Width, 452);
    EXPECT_EQ(TrimmedLineBounds(100, 112).Width, 0);
    EXPECT_EQ(TrimmedLineBounds(100, 111).Width, 0);  // an empty range: handles 11 pixels apart
}

TEST(TrimTypedTime, ReadsATimeOfDayAndRefusesTheRest)
{
    struct {
        const char* Text;
        std::optional<int64_t> Micros;
    } const cases[] = {
        {"00:00:00", 0},
        {"01:30:05", 5405 * kSecond},
        {" 1:30:05", 5405 * kSecond},
        {"23:59:59", 86399 * kSecond},
        {"24:00:00", std::nullopt},
        {"25:00:00", std::nullopt},
        {"12:60:00", std::nullopt},
        {"12:00:60", std::nullopt},
        {"  :  :  ", std::nullopt},
        {"1a:00:00", std::nullopt},
        {"-1:00:00", std::nullopt},
        {"12:00", std::nullopt},
        {"01:02:03:04", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTypedTime(c.Text), c.Micros) << '"' << c.Text << '"';
}

TEST_F(TrimLogicTest, ShowPlacesTheHandlesAtTheRangeAndPushesAnEmptyRangeApart)
{
    Show(0, 60 * kSecond);
    EXPECT_EQ(Logic.LeftHandleX(), 10);
    EXPECT_EQ(Logic.RightHandleX(), 474);
    EXPECT_EQ(Logic.StartText(), "00:00:00");
    EXPECT_EQ(Logic.EndText(), "00:01:00");
    EXPECT_TRUE(Logic.CanTrim());

    Show(40 * kSecond, 20 * kSecond);
    EXPECT_EQ(Logic.LeftHandleX(), TTrimBarGeometry({kBarWidth, 60 * kSecond}).HandleAt(20 * kSecond));
    EXPECT_EQ(Logic.RightHandleX(), Logic.LeftHandleX() + 11);

    // Without a length the handles stay at the ends and the trim commands do nothing.
    Show(5 * kSecond, 7 * kSecond, 0);
    EXPECT_FALSE(Logic.CanTrim());
    EXPECT_EQ(Logic.LeftHandleX(), 10);
    EXPECT_EQ(Logic.RightHandleX(), 474);
    Logic.Position(6 * kSecond);
    Logic.SetStartHere();
    Logic.SetEndHere();
    EXPECT_FALSE(Logic.TypeStart("00:00:01"));
    Logic.HandlePress(TTrimSide::Start, 3);
    Logic.PlayTrimmedPart();
    Logic.Reset();
    EXPECT_EQ(Logic.TrimStartPos(), 5 * kSecond);
    EXPECT_EQ(Logic.TrimEndPos(), 7 * kSecond);
    EXPECT_FALSE(Logic.PlayingTrimmedPart());
    EXPECT_TRUE(Player.Calls.empty());
}

TEST_F(TrimLogicTest, SettingOneEndPushesTheOtherAlong)
{
    // "Set start" past the end: both ends at the position, the left handle 11 pixels left of the right one.
    Show(0, 40 * kSecond);
    Logic.Position(45 * kSecond);
    Logic.SetStartHere();
    EXPECT_EQ(Logic.TrimStartPos(), 45 * kSecond);
    EXPECT_EQ(Logic.TrimEndPos(), 45 * kSecond);
    EXPECT_EQ(Logic.RightHandleX(), 358);
    EXPECT_EQ(Logic.LeftHandleX(), 347);
    EXPECT_EQ(TrimmedLineBounds(Logic.LeftHandleX(), Logic.RightHandleX()).Width, 0);

    // "Set end" before the start: the start follows and the right handle moves 11 pixels right.
    Show(30 * kSecond, 60 * kSecond);
    Logic.Position(15 * kSecond);
    Logic.SetEndHere();
    EXPECT_EQ(Logic.TrimStartPos(), 15 * kSecond);
    EXPECT_EQ(Logic.TrimEndPos(), 15 * kSecond);
    EXPECT_EQ(Logic.LeftHandleX(), 126);
    EXPECT_EQ(Logic.RightHandleX(), 137);

    // Inside the range nothing is pushed.
    Show(10 * kSecond, 50 * kSecond);
    Logic.Position(30 * kSecond);
    Logic.SetStartHere();
    EXPECT_EQ(Logic.TrimStartPos(), 30 * kSecond);
    EXPECT_EQ(Logic.TrimEndPos(), 50 * kSecond);
    EXPECT_EQ(Logic.LeftHandleX(), 242);
}

TEST_F(TrimLogicTest, TypedTimesMoveTheirHandleAndPushTheOtherEnd)
{
    Show(0, 20 * kSecond);
    EXPECT_TRUE(Logic.TypeStart("00:00:30"));
    EXPECT_EQ(Logic.TrimStartPos(), 30 * kSecond);
    EXPECT_EQ(Logic.TrimEndPos(), 30 * kSecond);
    EXPECT_EQ(Logic.EndText(), "00:00:30");
    EXPECT_EQ(Logic.RightHandleX(), 242);
    EXPECT_EQ(Logic.LeftHandleX(), 231);

    EXPECT_TRUE(Logic.TypeEnd("00:00:15"));
    EXPECT_EQ(Logic.TrimStartPos(), 15 * kSecond);
    EXPECT_EQ(Logic.TrimEndPos(), 15 * kSecond);
    EXPECT_EQ(Logic.LeftHandleX(), 126);
    EXPECT_EQ(Logic.RightHandleX(), 137);

    // A time past the file is the file's end; a text that is no time changes nothing.
    EXPECT_TRUE(Logic.TypeEnd("02:00:00"));
    EXPECT_EQ(Logic.TrimEndPos(), 60 * kSecond);
    EXPECT_EQ(Logic.EndText(), "00:01:00");
    EXPECT_EQ(Logic.RightHandleX(), 474);
    EXPECT_FALSE(Logic.TypeStart("25:00:00"));
    EXPECT_EQ(Logic.TrimStartPos(), 15 * kSecond);
    EXPECT_EQ(Logic.StartText(), "00:00:15");
}

TEST_F(TrimLogicTest, ADraggedHandleTakesTheTimeThePlayerReachesAfterTheRelease)
{
    Show(0, 60 * kSecond);
    Logic.HandlePress(TTrimSide::Start, 4);
    EXPECT_TRUE(Player.IsPaused);
    EXPECT_TRUE(Logic.Capturing(TTrimSide::Start));
    Logic.HandleMove(TTrimSide::Start, 4 + 232);  // to the middle
    EXPECT_EQ(Logic.LeftHandleX(), 242);
    // Positions during the drag follow the picture.
    Logic.Position(29 * kSecond);
    EXPECT_EQ(Logic.TrimStartPos(), 29 * kSecond);
    Logic.HandleRelease(TTrimSide::Start);
    EXPECT_EQ(Player.Calls,
              (std::vector<std::string>{"pause", SeekTo(30 * kSecond), "wait-seek", "resume"}));
    EXPECT_TRUE(Logic.Capturing(TTrimSide::Start));

    Logic.Position(29'960'000);
    EXPECT_EQ(Logic.TrimStartPos(), 29'960'000);
    EXPECT_EQ(Logic.StartText(), "00:00:29");
    EXPECT_FALSE(Logic.Capturing(TTrimSide::Start));
    Logic.Position(31 * kSecond);
    EXPECT_EQ(Logic.TrimStartPos(), 29'960'000);
    EXPECT_EQ(Logic.TrimEndPos(), 60 * kSecond);
}

TEST_F(TrimLogicTest, HandlesStayOnTheBarAndInOrder)
{
    Show(20 * kSecond, 40 * kSecond);
    const int right = Logic.RightHandleX();
    Logic.HandlePress(TTrimSide::Start, 0);
    Logic.HandleMove(TTrimSide::Start, right - Logic.LeftHandleX());  // onto the right handle: refused
    Logic.HandleMove(TTrimSide::Start, -500);                          // off the bar: refused
    EXPECT_EQ(Logic.LeftHandleX(), TTrimBarGeometry({kBarWidth, 60 * kSecond}).HandleAt(20 * kSecond));
    Logic.HandleRelease(TTrimSide::Start);

    const int left = Logic.LeftHandleX();
    Logic.HandlePress(TTrimSide::End, 0);
    Logic.HandleMove(TTrimSide::End, left - right);  // onto the left handle: refused
    Logic.HandleMove(TTrimSide::End, 474 - right);   // to the bar's last pixel: refused
    EXPECT_EQ(Logic.RightHandleX(), right);
    Logic.HandleMove(TTrimSide::End, 473 - right);
    EXPECT_EQ(Logic.RightHandleX(), 473);
    Logic.HandleRelease(TTrimSide::End);
    // A release resumes only a paused player.
    Player.Calls.clear();
    Logic.HandlePress(TTrimSide::End, 0);
    Player.IsPaused = false;
    Logic.HandleRelease(TTrimSide::End);
    EXPECT_EQ(Player.Calls, (std::vector<std::string>{"pause", "wait-seek"}));
}

TEST_F(TrimLogicTest, ACapturedStartPastTheEndTakesTheEndAlong)
{
    Show(0, 30 * kSecond);
    Logic.HandlePress(TTrimSide::Start, 0);
    Logic.HandleRelease(TTrimSide::Start);
    Logic.Position(31 * kSecond);
    EXPECT_EQ(Logic.TrimStartPos(), 31 * kSecond);
    EXPECT_EQ(Logic.TrimEndPos(), 31 * kSecond);
}

TEST_F(TrimLogicTest, TheTrimmedPartLoopsUntilAnotherCommandEndsIt)
{
    const std::vector<std::pair<const char*, std::function<void(TTrimLogic&)>>> enders = {
        {"Play", [](TTrimLogic& L) { L.Play(); }},
        {"Pause", [](TTrimLogic& L) { L.Pause(); }},
        {"Stop", [](TTrimLogic& L) { L.Stop(); }},
        {"handle drag", [](TTrimLogic& L) { L.HandlePress(TTrimSide::End, 0); }},
        {"bar drag", [](TTrimLogic& L) { L.BarStartDrag(); }},
    };
    for (const auto& [name, end] : enders) {
        SCOPED_TRACE(name);
        Player.State = psPlay;
        Show(10 * kSecond, 20 * kSecond);
        Logic.PlayTrimmedPart();
        EXPECT_TRUE(Logic.PlayingTrimmedPart());
        Logic.Position(15 * kSecond);
        Logic.Position(20 * kSecond);
        Logic.Position(11 * kSecond);
        Logic.Position(21 * kSecond);
        EXPECT_EQ(Player.Calls, (std::vector<std::string>{SeekTo(10 * kSecond), SeekTo(10 * kSecond, true),
                                                          SeekTo(10 * kSecond, true)}));
        end(Logic);
        EXPECT_FALSE(Logic.PlayingTrimmedPart());
        Player.Calls.clear();
        Logic.Position(20 * kSecond);
        EXPECT_TRUE(Player.Calls.empty());
    }
}

TEST_F(TrimLogicTest, PositionsArrivingDuringTheLoopsWaitingSeekAreIgnored)
{
    Show(10 * kSecond, 20 * kSecond);
    Logic.PlayTrimmedPart();
    int nested = 0;
    Player.DuringWaitingSeek = [&] {
        ++nested;
        Logic.Position(25 * kSecond);
    };
    Logic.Position(20 * kSecond);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(Logic.LastTrimPosition(), 20 * kSecond);
}

TEST_F(TrimLogicTest, PlayTrimmedPartActsByThePlayersState)
{
    struct {
        TPlayState State;
        std::vector<std::string> Calls;
    } const cases[] = {
        {psPause, {"resume"}},
        {psPlay, {SeekTo(10 * kSecond)}},
        {psStop, {"open", SeekTo(10 * kSecond)}},
        {psEnd, {"open", SeekTo(10 * kSecond)}},
        {psResume, {}},
        {psStep, {}},
    };
    for (const auto& c : cases) {
        Show(10 * kSecond, 20 * kSecond);
        Player.State = c.State;
        Logic.PlayTrimmedPart();
        EXPECT_EQ(Player.Calls, c.Calls) << c.State;
        EXPECT_TRUE(Logic.PlayingTrimmedPart());
    }
    // A file that does not open again is not sought.
    Show(10 * kSecond, 20 * kSecond);
    Player.State = psStop;
    Player.OpenSucceeds = false;
    Logic.PlayTrimmedPart();
    EXPECT_EQ(Player.Calls, (std::vector<std::string>{"open"}));
}

TEST_F(TrimLogicTest, PlayResumesAPauseAndOtherwiseOpensTheFileAgain)
{
    Show(0, 60 * kSecond);
    Logic.StateChanged(psPause);
    Logic.Play();
    Logic.StateChanged(psResume);
    Logic.Play();
    Logic.Pause();
    EXPECT_EQ(Player.Calls, (std::vector<std::string>{"resume", "open", "toggle"}));
}

TEST_F(TrimLogicTest, TheEndOfTheFileStopsWithTheBarAtItsEndAndTheLengthTwice)
{
    Show(0, 60 * kSecond);
    int stops = 0;
    Logic.OnStop = [&] { ++stops; };
    Logic.Position(59 * kSecond);
    EXPECT_EQ(Logic.BarValue(), 983);
    EXPECT_EQ(Logic.PlayTimeText(), "00:00:59 / 00:01:00");
    Logic.StateChanged(psEnd);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(Player.Calls, (std::vector<std::string>{"stop"}));
    EXPECT_EQ(Logic.BarValue(), 1000);
    EXPECT_EQ(Logic.PlayTimeText(), "00:01:00 / 00:01:00");
    EXPECT_EQ(Logic.TrimPlayState(), psEnd);

    // A position of 0 moves the bar but leaves the label.
    Logic.Position(0);
    EXPECT_EQ(Logic.BarValue(), 0);
    EXPECT_EQ(Logic.PlayTimeText(), "00:01:00 / 00:01:00");
}

TEST_F(TrimLogicTest, TheBarSeeksOnceWhenItsDragEnds)
{
    Show(0, 60 * kSecond);
    Logic.Position(6 * kSecond);
    Logic.BarStartDrag();
    Logic.Position(12 * kSecond);
    EXPECT_EQ(Logic.BarValue(), 100);  // not moved by the player while dragged
    Logic.BarLastChange(500, true);
    EXPECT_TRUE(Player.Calls.empty());
    EXPECT_TRUE(Logic.TrackDragging());
    Logic.BarLastChange(500, false);
    EXPECT_EQ(Player.Calls, (std::vector<std::string>{SeekTo(30 * kSecond)}));
    EXPECT_FALSE(Logic.TrackDragging());
    Logic.Position(31 * kSecond);
    EXPECT_EQ(Logic.BarValue(), 516);
}

TEST_F(TrimLogicTest, ResetRestoresTheWholeFile)
{
    Show(10 * kSecond, 20 * kSecond);
    Logic.Position(15 * kSecond);
    Logic.Reset();
    EXPECT_EQ(Logic.TrimStartPos(), 0);
    EXPECT_EQ(Logic.TrimEndPos(), 60 * kSecond);
    EXPECT_EQ(Logic.StartText(), "00:00:00");
    EXPECT_EQ(Logic.EndText(), "00:01:00");
    EXPECT_EQ(Logic.LeftHandleX(), 10);
    EXPECT_EQ(Logic.RightHandleX(), 474);
    EXPECT_EQ(Logic.BarValue(), 0);
    EXPECT_TRUE(Player.Calls.empty());
}

}  // namespace
