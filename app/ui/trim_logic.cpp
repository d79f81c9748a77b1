#include "app/ui/trim_logic.h"

#include <algorithm>
#include <cctype>

#include "app/time_text.h"
#include "platform/rtl/sysutils.h"

int64_t TTrimBarGeometry::TimeAt(int AX) const
{
    if (Width <= 0 || Duration <= 0) return 0;
    const int64_t value = Round(static_cast<double>(AX - kTrimHandleOffset) * kTrimBarMaxValue / Width);
    return Duration * value / kTrimBarMaxValue;
}

int TTrimBarGeometry::HandleAt(int64_t ATime) const
{
    if (Duration <= 0) return StartX();
    const int64_t value = ATime * kTrimBarMaxValue / Duration;
    return static_cast<int>(value * Width / kTrimBarMaxValue + kTrimHandleOffset);
}

int TTrimBarGeometry::HandleAtValue(int AValue) const
{
    return static_cast<int>(static_cast<int64_t>(Width) * AValue / kTrimBarMaxValue + kTrimHandleOffset);
}

TTrimLineBounds TrimmedLineBounds(int ALeftHandleX, int ARightHandleX)
{
    TTrimLineBounds line;
    line.Left = ALeftHandleX + kTrimHandleSize / 2 + 6;
    line.Width = std::max(0, ARightHandleX + kTrimHandleSize / 2 - 6 - line.Left);
    return line;
}

namespace {

// One field of one or two digits, blanks around it allowed (the time edit shows an unused digit as a blank).
std::optional<int> ReadField(const std::string& AField)
{
    const std::string field = Trim(AField);
    if (field.empty() || field.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : field) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<int64_t> ParseTypedTime(const std::string& AText)
{
    const size_t first = AText.find(':');
    const size_t second = first == std::string::npos ? first : AText.find(':', first + 1);
    if (second == std::string::npos || AText.find(':', second + 1) != std::string::npos) return std::nullopt;
    const auto hours = ReadField(AText.substr(0, first));
    const auto minutes = ReadField(AText.substr(first + 1, second - first - 1));
    const auto seconds = ReadField(AText.substr(second + 1));
    if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 59) return std::nullopt;
    const int secondsOfDay = *hours * 3600 + *minutes * 60 + *seconds;
    return TimeToMicroseconds(secondsOfDay / 86400.0);
}

TTrimLogic::TTrimLogic(TTrimPlayer& APlayer, int ABarWidth) : FPlayer(APlayer)
{
    FBar.Width = ABarWidth;
}

void TTrimLogic::SetTrimStart(int64_t ATime)
{
    FTrimStartPos = ATime;
    FStartText = FormatMicroseconds(ATime);
}

void TTrimLogic::SetTrimEnd(int64_t ATime)
{
    FTrimEndPos = ATime;
    FEndText = FormatMicroseconds(ATime);
}

int64_t TTrimLogic::ClampToFile(int64_t ATime) const
{
    return std::clamp<int64_t>(ATime, 0, FBar.Duration);
}

void TTrimLogic::LoadRange(int64_t AStart, int64_t AEnd)
{
    SetTrimStart(AStart);
    SetTrimEnd(AEnd);
    FPlayingTrimmedPart = false;
    FStartSide = {};
    FEndSide = {};
    FTrimTrackDragging = false;
}

void TTrimLogic::FileOpened(int64_t ADuration)
{
    FBar.Duration = std::max<int64_t>(ADuration, 0);
    // Nothing of an earlier file stays: its play time, bar position and last position.
    FPlayTimeText = FormatMicroseconds(0) + " / " + FormatMicroseconds(FBar.Duration);
    FBarValue = 0;
    FLastTrimPosition = 0;
}

void TTrimLogic::PlaceHandles()
{
    if (!CanTrim()) {
        FLeftX = FBar.StartX();
        FRightX = FBar.EndX();
        return;
    }
    FLeftX = FBar.HandleAt(FTrimStartPos);
    FRightX = FBar.HandleAt(FTrimEndPos);
    if (FTrimStartPos >= FTrimEndPos) {
        FLeftX = FRightX;
        FRightX += kTrimHandlePush;
    }
}

void TTrimLogic::Position(int64_t APos)
{
    // The waiting seek of the loop runs the message loop, which may bring the next position in.
    if (FInTrimPositionEvent) return;
    FInTrimPositionEvent = true;
    if (APos >= 0 && FBar.Duration > 0 && !FTrimTrackDragging)
        FBarValue = static_cast<int>(std::clamp<int64_t>(APos * kTrimBarMaxValue / FBar.Duration, 0, kTrimBarMaxValue));
    if (APos > 0) {
        FPlayTimeText = FormatMicroseconds(APos) + " / " + FormatMicroseconds(FBar.Duration);
        FLastTrimPosition = APos;
        Capture(TTrimSide::Start, APos);
        Capture(TTrimSide::End, APos);
    }
    if (FPlayingTrimmedPart && APos >= FTrimEndPos) FPlayer.Seek(FTrimStartPos, true);
    FInTrimPositionEvent = false;
}

void TTrimLogic::Capture(TTrimSide ASide, int64_t APos)
{
    TSideState& side = Side(ASide);
    if (!side.Pending && !side.OnNextPosition) return;
    // The player may land a little past the other end: that end follows, so no range runs backwards.
    if (ASide == TTrimSide::Start) {
        SetTrimStart(APos);
        if (FTrimStartPos > FTrimEndPos) SetTrimEnd(FTrimStartPos);
    } else {
        SetTrimEnd(APos);
        if (FTrimEndPos < FTrimStartPos) SetTrimStart(FTrimEndPos);
    }
    if (side.OnNextPosition) {
        side.OnNextPosition = false;
        side.Pending = false;
    }
}

void TTrimLogic::StateChanged(TPlayState AState)
{
    FTrimPlayState = AState;
    if (AState == psEnd) Stop();
}

void TTrimLogic::HandlePress(TTrimSide ASide, int AX)
{
    if (!CanTrim()) return;
    FPlayingTrimmedPart = false;
    TSideState& side = Side(ASide);
    side.Pending = true;
    side.Dragging = true;
    side.GrabX = AX;
    FPlayer.Pause();
}

void TTrimLogic::HandleMove(TTrimSide ASide, int AX)
{
    TSideState& side = Side(ASide);
    if (!side.Dragging) return;
    int& handle = ASide == TTrimSide::Start ? FLeftX : FRightX;
    const int newLeft = handle + AX - side.GrabX;
    const bool keepsOrder = ASide == TTrimSide::Start ? newLeft < FRightX : newLeft > FLeftX;
    if (!keepsOrder || newLeft <= FBar.StartX() || newLeft >= FBar.EndX()) return;
    handle = newLeft;
    // The player stays paused, so the picture follows the handle.
    FPlayer.Seek(FBar.TimeAt(handle), false);
}

void TTrimLogic::HandleRelease(TTrimSide ASide)
{
    TSideState& side = Side(ASide);
    if (!side.Dragging) return;
    side.Dragging = false;
    FPlayer.WaitWhileSeeking();
    // The first position after the seek is the time actually reached; it ends the capture.
    side.OnNextPosition = true;
    if (FPlayer.Paused()) FPlayer.Resume();
}

void TTrimLogic::SetStartHere()
{
    if (!CanTrim()) return;
    SetTrimStart(FLastTrimPosition);
    FLeftX = FBar.HandleAtValue(FBarValue);
    if (FTrimStartPos >= FTrimEndPos) {
        SetTrimEnd(FLastTrimPosition);
        FRightX = FLeftX;
        FLeftX = FRightX - kTrimHandlePush;
    }
}

void TTrimLogic::SetEndHere()
{
    if (!CanTrim()) return;
    SetTrimEnd(FLastTrimPosition);
    FRightX = FBar.HandleAtValue(FBarValue);
    if (FTrimEndPos <= FTrimStartPos) {
        SetTrimStart(FLastTrimPosition);
        FLeftX = FRightX;
        FRightX = FLeftX + kTrimHandlePush;
    }
}

bool TTrimLogic::TypeStart(const std::string& AText)
{
    const std::optional<int64_t> typed = ParseTypedTime(AText);
    if (!typed || !CanTrim()) return false;
    SetTrimStart(ClampToFile(*typed));
    FLeftX = FBar.HandleAt(FTrimStartPos);
    if (FTrimStartPos >= FTrimEndPos) {
        SetTrimEnd(FTrimStartPos);
        FRightX = FLeftX;
        FLeftX = FRightX - kTrimHandlePush;
    }
    return true;
}

bool TTrimLogic::TypeEnd(const std::string& AText)
{
    const std::optional<int64_t> typed = ParseTypedTime(AText);
    if (!typed || !CanTrim()) return false;
    SetTrimEnd(ClampToFile(*typed));
    FRightX = FBar.HandleAt(FTrimEndPos);
    if (FTrimEndPos <= FTrimStartPos) {
        SetTrimStart(FTrimEndPos);
        FLeftX = FRightX;
        FRightX = FLeftX + kTrimHandlePush;
    }
    return true;
}

void TTrimLogic::PlayTrimmedPart()
{
    if (!CanTrim()) return;
    FPlayingTrimmedPart = true;
    switch (FPlayer.PlayState()) {
    case psPause:
        FPlayer.Resume();
        break;
    case psPlay:
        FPlayer.Seek(FTrimStartPos, false);
        break;
    case psStop:
    case psEnd:
        if (FPlayer.OpenSource()) FPlayer.Seek(FTrimStartPos, false);
        break;
    case psResume:
    case psStep:
        break;
    }
}

void TTrimLogic::Play()
{
    FPlayingTrimmedPart = false;
    if (FTrimPlayState == psPause)
        FPlayer.Resume();
    else
        FPlayer.OpenSource();
}

void TTrimLogic::Pause()
{
    FPlayingTrimmedPart = false;
    FPlayer.TogglePause();
}

void TTrimLogic::Stop()
{
    FPlayingTrimmedPart = false;
    if (OnStop) OnStop();
    FPlayer.StopAndWait();
    FBarValue = kTrimBarMaxValue;
    FPlayTimeText = FormatMicroseconds(FBar.Duration) + " / " + FormatMicroseconds(FBar.Duration);
}

void TTrimLogic::BarStartDrag()
{
    FPlayingTrimmedPart = false;
    FTrimTrackDragging = true;
}

void TTrimLogic::BarLastChange(int AValue, bool APrimaryButtonDown)
{
    if (APrimaryButtonDown) return;
    FBarValue = std::clamp(AValue, 0, kTrimBarMaxValue);
    FPlayer.Seek(FBar.Duration * FBarValue / kTrimBarMaxValue, false);
    FTrimTrackDragging = false;
}

void TTrimLogic::Reset()
{
    // Without a length the end would become 0 and "OK" would cut the whole job away.
    if (!CanTrim()) return;
    FLeftX = FBar.StartX();
    FRightX = FBar.EndX();
    FBarValue = 0;
    SetTrimStart(0);
    SetTrimEnd(FBar.Duration);
}
