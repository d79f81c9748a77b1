#pragma once
// The frame animation of push and speed buttons: a strip of frames in the skin picture, played forward when the
// button turns hot and backward when it stops being hot. While a frame shows it stands for the picture the run
// leads to (forward) or comes from (backward); the last step of each run leaves the strip, so its repaint shows
// the steady picture. The owner keeps the timer; this keeps the frame.
#include "platform/rtl/types.h"

class TspFrameAnimation {
public:
    // Frame AFrame (from 1) of AStrip holding AFrameCount frames of a picture the size of APicture: side by side
    // when the strip is wider than the picture, else one below the other.
    static TRect FrameRect(const TRect& AStrip, Integer AFrameCount, const TRect& APicture, Integer AFrame);

    void Start(bool AForward, Integer AFrameCount);
    void Stop();
    // One timer tick; true when the button must repaint. Running() is false once the run has ended.
    bool Tick(Integer AFrameCount);

    bool Running() const { return FRunning; }
    bool Forward() const { return FForward; }
    // The frame shown, from 1; 0 while no animation runs.
    Integer CurrentFrame() const { return FCurrentFrame; }
    // Whether a frame of the strip shows now.
    bool Showing(Integer AFrameCount) const { return FRunning && FCurrentFrame >= 1 && FCurrentFrame <= AFrameCount; }

private:
    bool FRunning = false;
    bool FForward = true;
    Integer FCurrentFrame = 0;
};
