#pragma once
// The Trim dialog's rules that need no window: where the two range handles stand under the position bar and
// which time each stands for, how setting one end of the range pushes the other along, how a typed time is read,
// and the play state machine that takes the start or end from the player's next position and loops the trimmed
// part. User-interface thread only; the player stands behind a small interface so that a fake can take its place.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "media/player/player.h"

inline constexpr int kTrimBarMaxValue = 1000;
inline constexpr int kTrimHandleOffset = 10;  // a handle's left edge at bar value 0
inline constexpr int kTrimHandlePush = 11;    // how far apart handles of an empty range stand
inline constexpr int kTrimHandleSize = 12;

// The handles' arithmetic for a bar of AWidth pixels and a file of ADuration microseconds (64-bit throughout).
struct TTrimBarGeometry {
    int Width = 464;
    int64_t Duration = 0;

    // The time a handle whose left edge is at AX stands for; 0 without a duration.
    int64_t TimeAt(int AX) const;
    // The left edge of a handle standing for ATime; the bar's start without a duration.
    int HandleAt(int64_t ATime) const;
    // The left edge of a handle standing for a bar value.
    int HandleAtValue(int AValue) const;
    int StartX() const { return kTrimHandleOffset; }
    int EndX() const { return Width + kTrimHandleOffset; }
};

// The line between the handles: it runs from the middle of the left handle plus 6 to the middle of the right one
// less 6, never narrower than nothing.
struct TTrimLineBounds {
    int Left = 0;
    int Width = 0;
};
TTrimLineBounds TrimmedLineBounds(int ALeftHandleX, int ARightHandleX);

// A typed "hh:mm:ss" read as a time of day (the first hour digit may be blank): microseconds, or nothing for a
// text that is not one. 23:59:59 is the largest.
std::optional<int64_t> ParseTypedTime(const std::string& AText);

// What the logic needs of the dialog's player.
class TTrimPlayer {
public:
    virtual ~TTrimPlayer() = default;
    // Opens the job's file again, playing; false when it could not (the dialog has reported it).
    virtual bool OpenSource() = 0;
    virtual TPlayState PlayState() const = 0;
    virtual bool Paused() const = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void TogglePause() = 0;
    // With AWait it returns once the seek has ended, running the message loop meanwhile.
    virtual void Seek(int64_t APTS, bool AWait) = 0;
    // Runs the message loop while a seek is under way.
    virtual void WaitWhileSeeking() = 0;
    // Stops and waits until the player has stopped.
    virtual void StopAndWait() = 0;
};

enum class TTrimSide { Start, End };

class TTrimLogic {
public:
    TTrimLogic(TTrimPlayer& APlayer, int ABarWidth);

    // A show: the job's range, the whole file playing.
    void LoadRange(int64_t AStart, int64_t AEnd);
    // The player opened the file (or a show begins: 0); ADuration 0 when it does not tell. The play time, bar and
    // last position start afresh.
    void FileOpened(int64_t ADuration);
    // Handles at the range's times, the left one on the right one's place and the right one pushed further right
    // when the range is empty; at the bar's two ends while the length is not known.
    void PlaceHandles();
    // Without a known length the handle arithmetic has nothing to divide by: the trim commands do nothing.
    bool CanTrim() const { return FBar.Duration > 0; }

    // The player's events.
    void Position(int64_t APos);
    void StateChanged(TPlayState AState);

    // Dragging a handle; AX is the mouse's x within the handle.
    void HandlePress(TTrimSide ASide, int AX);
    void HandleMove(TTrimSide ASide, int AX);
    void HandleRelease(TTrimSide ASide);

    // Commands.
    void SetStartHere();
    void SetEndHere();
    // A typed time; false, with nothing changed, for a text that is not a time of day. Times past the file's
    // length are taken as its length, so that the range never reaches beyond the file.
    bool TypeStart(const std::string& AText);
    bool TypeEnd(const std::string& AText);
    void PlayTrimmedPart();
    void Play();
    void Pause();
    void Stop();
    void BarStartDrag();
    void BarLastChange(int AValue, bool APrimaryButtonDown);
    void Reset();

    // Runs inside Stop before the player stops: the dialog raises its play buttons and repaints its screen.
    std::function<void()> OnStop;

    int64_t TrimStartPos() const { return FTrimStartPos; }
    int64_t TrimEndPos() const { return FTrimEndPos; }
    int64_t LastTrimPosition() const { return FLastTrimPosition; }
    int64_t Duration() const { return FBar.Duration; }
    const TTrimBarGeometry& Bar() const { return FBar; }
    int LeftHandleX() const { return FLeftX; }
    int RightHandleX() const { return FRightX; }
    int BarValue() const { return FBarValue; }
    TPlayState TrimPlayState() const { return FTrimPlayState; }
    const std::string& PlayTimeText() const { return FPlayTimeText; }
    const std::string& StartText() const { return FStartText; }
    const std::string& EndText() const { return FEndText; }
    bool PlayingTrimmedPart() const { return FPlayingTrimmedPart; }
    bool TrackDragging() const { return FTrimTrackDragging; }
    bool Dragging(TTrimSide ASide) const { return Side(ASide).Dragging; }
    // A capture is under way: the press on a handle until the first position after its release.
    bool Capturing(TTrimSide ASide) const { return Side(ASide).Pending || Side(ASide).OnNextPosition; }

private:
    struct TSideState {
        bool Dragging = false;
        bool Pending = false;
        bool OnNextPosition = false;
        int GrabX = 0;
    };
    TSideState& Side(TTrimSide ASide) { return ASide == TTrimSide::Start ? FStartSide : FEndSide; }
    const TSideState& Side(TTrimSide ASide) const { return ASide == TTrimSide::Start ? FStartSide : FEndSide; }
    void SetTrimStart(int64_t ATime);
    void SetTrimEnd(int64_t ATime);
    void Capture(TTrimSide ASide, int64_t APos);
    int64_t ClampToFile(int64_t ATime) const;

    TTrimPlayer& FPlayer;
    TTrimBarGeometry FBar;
    int64_t FTrimStartPos = 0;
    int64_t FTrimEndPos = 0;
    int64_t FLastTrimPosition = 0;
    TPlayState FTrimPlayState = psStop;
    int FLeftX = kTrimHandleOffset;
    int FRightX = kTrimHandleOffset;
    int FBarValue = 0;
    std::string FPlayTimeText = "00:00:00 / 00:00:00";
    std::string FStartText = "00:00:00";
    std::string FEndText = "00:00:00";
    bool FPlayingTrimmedPart = false;
    bool FTrimTrackDragging = false;
    bool FInTrimPositionEvent = false;
    TSideState FStartSide;
    TSideState FEndSide;
};
