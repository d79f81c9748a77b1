#pragma once
// The skinned track bar (slider): a value between MinValue and MaxValue with one draggable button on a track,
// optional jump-on-click, arrow keys and the wheel when focusable, and a filled part of the track from a second
// skin picture. Horizontal sliders grow to the right, vertical ones upwards. Drawn from a "trackbar" record
// ("htrackbar", "trackbar") or in the plain look.
#include "skin/controls/skin_custom_control.h"

// Where the button stands on track R: its rectangle, the first and last position of its centre along the axis,
// and its centre's distance from the starting end (the left, or the bottom of a vertical slider).
struct TspTrackButtonPlace {
    TRect BR;
    Integer Offset1 = 0, Offset2 = 0, BOffset = 0;
};
TspTrackButtonPlace CalcTrackButton(const TRect& R, Integer AButtonWidth, Integer AButtonHeight, Integer AValue,
                                    Integer AMin, Integer AMax, bool AVertical);
// The value whose button centre lies AOffset from the starting end; outside the track it is pinned to the ends.
// Rounded half to even.
Integer TrackValueFromOffset(Integer AOffset, Integer AOffset1, Integer AOffset2, Integer AMin, Integer AMax);

class TspSkinTrackBar : public TspSkinCustomControl {
public:
    explicit TspSkinTrackBar(TComponent* AOwner);

    Integer MinValue() const { return FMinValue; }
    // A value below the new minimum is raised to it without OnChange.
    void SetMinValue(Integer AValue);
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer AValue);
    Integer Value() const { return FValue; }
    // Clamped to the range; a change repaints and raises OnChange.
    void SetValue(Integer AValue);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool AValue);
    bool MouseSupport() const { return FMouseSupport; }
    void SetMouseSupport(bool AValue) { FMouseSupport = AValue; }
    bool JumpWhenClick() const { return FJumpWhenClick; }
    void SetJumpWhenClick(bool AValue) { FJumpWhenClick = AValue; }
    bool CanFocused() const { return FCanFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool AValue);

    TNotifyEvent OnChange;
    // A drag ended, or a key or wheel step was taken.
    TNotifyEvent OnLastChange;
    TNotifyEvent OnStartDragButton;

    void GetSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;

    // The button's place for the current value and size.
    const TspTrackButtonPlace& ButtonPlace();
    bool Dragging() const { return FDown; }

    // Copied from a track-bar record at every lookup; NewTrackArea is the track at the current size.
    TRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect, NewTrackArea;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;

protected:
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;

private:
    bool HasFocus();
    void StepBy(Integer ADelta);
    Integer ValueFromOffset(Integer AOffset) const;

    Integer FMinValue = 0, FMaxValue = 100, FValue = 50;
    bool FVertical = false, FMouseSupport = true, FJumpWhenClick = false, FCanFocused = false;
    bool FDown = false, FClicksDisabled = false;
    Integer OMPos = 0, OldBOffset = 0;
    TspTrackButtonPlace FPlace;
};
