#pragma once
// Two arrow buttons that step an integer position between Min and Max: a click steps once, a held button
// repeats after a delay (500 ms, then every 100 ms; every 50 ms after the pointer left the held button and came
// back). TspSkinUpDown draws from its up-down record ("hupdown", "vupdown") or from the skin's "resizebutton";
// TspSkinIntUpDown draws each button from "combobutton" (else "resizetoolbutton") with a smaller arrow, and only
// clicks when released over the pressed button.
#include "skin/controls/button_record.h"
#include "skin/controls/repeat_timer.h"
#include "skin/controls/skin_custom_control.h"

enum TUDOrientation { udHorizontal, udVertical };

class TspSkinUpDownBase : public TspSkinCustomControl {
public:
    ~TspSkinUpDownBase() override;

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation AValue);
    Integer Increment() const { return FIncrement; }
    // 0 turns stepping and the repeat off; the click events stay.
    void SetIncrement(Integer AValue) { FIncrement = AValue; }
    Integer Position() const { return FPosition; }
    // A value outside [Min, Max] is ignored; any other is stored and raises OnChange, also when unchanged.
    void SetPosition(Integer AValue);
    Integer Min() const { return FMin; }
    void SetMin(Integer AValue);
    Integer Max() const { return FMax; }
    void SetMax(Integer AValue);

    TNotifyEvent OnChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;

    void GetSkinData() override;
    void LayoutButtons();

    // 0 the up button (the right one when horizontal), 1 the down button.
    struct TButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    const TButton& Button(Integer AIndex) const { return Buttons[AIndex]; }
    Integer ActiveButton() const { return FActiveButton; }
    // 0 no repeat, 1 stepping down, 2 stepping up.
    Integer TimerMode() const { return FTimerMode; }

protected:
    // The integer up-down always draws from a button record and only clicks when the release is over the
    // pressed button.
    TspSkinUpDownBase(TComponent* AOwner, Integer AWidth, Integer AHeight, bool AInteger);

    // The button record look of one button: the borrowed record composed at the button's size, then the arrow.
    void DrawButtonFromRecord(TCanvas* ACanvas, Integer AButton);
    virtual TspDataSkinButtonControl* ButtonRecord() = 0;
    virtual void DrawRecordArrow(TCanvas* ACanvas, const TRect& R, const TspDataSkinButtonControl& ARecord,
                                 TspButtonState AState, Integer AKind) = 0;
    // Else the up-down record's own picture.
    bool UsesButtonRecord() const { return FInteger || !FUseSkinSize; }
    // Each automatic step, after the position changed.
    virtual void AutoStepped(bool /*AUp*/) {}

    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    TspButtonState StateOf(Integer AButton) const;
    // Arrow kind of a button: up or right for button 0, down or left for button 1.
    Integer ArrowKind(Integer AButton) const;
    void ForgetActiveButtons() { FActiveButton = FOldActiveButton = -1; }

    bool FUseSkinSize = true;
    TUDOrientation FOrientation = udHorizontal;
    TButton Buttons[2];
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect;

private:
    void TrackMouse(int AX, int AY);
    void EnterButton(Integer AButton);
    void LeaveButton(Integer AButton);
    void PressButton(Integer AButton);
    void ReleaseButton(Integer AButton);
    void RepeatTick();
    void ClearHot();
    void DrawButtonState(TCanvas* ACanvas, Integer AButton);

    Integer FIncrement = 1, FPosition = 0, FMin = 0, FMax = 100;
    Integer FOldActiveButton = -1, FActiveButton = -1, FCaptureButton = -1;
    Integer FTimerMode = 0;
    TspRepeatTimer FRepeat;
    const bool FInteger;
};

class TspSkinUpDown : public TspSkinUpDownBase {
public:
    explicit TspSkinUpDown(TComponent* AOwner);
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;

protected:
    void ApplyMaskRegion() override;
    TspDataSkinButtonControl* ButtonRecord() override;
    void DrawRecordArrow(TCanvas* ACanvas, const TRect& R, const TspDataSkinButtonControl& ARecord,
                         TspButtonState AState, Integer AKind) override;
};

class TspSkinIntUpDown : public TspSkinUpDownBase {
public:
    explicit TspSkinIntUpDown(TComponent* AOwner);
    // Never fitted to the skin and never shaped.
    void FitSizeToSkin(Integer&, Integer&) override {}

    // Fired after each automatic step up or down (the time edit listens).
    TNotifyEvent FOnUpChange;
    TNotifyEvent FOnDownChange;

protected:
    void ApplyMaskRegion() override {}
    TspDataSkinButtonControl* ButtonRecord() override;
    void DrawRecordArrow(TCanvas* ACanvas, const TRect& R, const TspDataSkinButtonControl& ARecord,
                         TspButtonState AState, Integer AKind) override;
    void AutoStepped(bool AUp) override;
    void WndProc(TMessage& AMessage) override;

private:
    TColor ArrowColor(const TspDataSkinButtonControl& ARecord, TspButtonState AState);
};
