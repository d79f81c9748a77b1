#pragma once
// The hot cross-fade of buttons and check boxes: five steps between the normal (0) and the hot picture (1).
// Counted in whole steps, so a fade out ends on exactly 0 as a fade in ends on exactly 1.
class TspHotFade {
public:
    static constexpr int kSteps = 5;
    static constexpr unsigned kIntervalMs = 20;

    // One step towards the hot picture; false once there.
    bool StepIn()
    {
        if (FStep >= kSteps) return false;
        ++FStep;
        return true;
    }
    // One step towards the normal picture; false once there.
    bool StepOut()
    {
        if (FStep <= 0) return false;
        --FStep;
        return true;
    }
    void SetHot(bool AHot) { FStep = AHot ? kSteps : 0; }
    int Step() const { return FStep; }
    bool AtNormal() const { return FStep == 0; }
    bool AtHot() const { return FStep == kSteps; }
    // The morph factor of the current step.
    double Kf() const { return static_cast<double>(FStep) / kSteps; }

private:
    int FStep = 0;
};
