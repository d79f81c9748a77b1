#include "skin/controls/frame_animation.h"

TRect TspFrameAnimation::FrameRect(const TRect& AStrip, Integer AFrameCount, const TRect& APicture, Integer AFrame)
{
    if (AStrip.Width() > APicture.Width()) {
        const Integer w = AStrip.Width() / AFrameCount;
        return Rect(AStrip.Left + (AFrame - 1) * w, AStrip.Top, AStrip.Left + AFrame * w, AStrip.Bottom);
    }
    const Integer h = AStrip.Height() / AFrameCount;
    return Rect(AStrip.Left, AStrip.Top + (AFrame - 1) * h, AStrip.Right, AStrip.Top + AFrame * h);
}

void TspFrameAnimation::Start(bool AForward, Integer AFrameCount)
{
    FRunning = true;
    FForward = AForward;
    FCurrentFrame = AForward ? 1 : AFrameCount;
}

void TspFrameAnimation::Stop()
{
    FRunning = false;
    FCurrentFrame = 0;
}

bool TspFrameAnimation::Tick(Integer AFrameCount)
{
    bool repaint = false;
    if (FForward) {
        if (FCurrentFrame <= AFrameCount) {
            ++FCurrentFrame;
            repaint = true;
        }
        if (FCurrentFrame > AFrameCount) Stop();
    } else {
        if (FCurrentFrame >= 0) {
            --FCurrentFrame;
            repaint = true;
        }
        if (FCurrentFrame <= 0) Stop();
    }
    return repaint;
}
