#pragma once
// A numeric entry box: a skinned face ("spinedit") hosting a number edit and an up and a down button at its
// right end. Value stays between MinValue and MaxValue (unless both are 0), steps by Increment with the buttons
// (click and repeat), the Up and Down keys and the wheel, shows as an integer or with Decimal digits, and reads
// back what the user types, correcting the text where further typing cannot bring it into range.
#include <memory>

#include "skin/controls/num_edit.h"
#include "skin/controls/repeat_timer.h"
#include "skin/controls/skin_custom_control.h"

enum TspValueType { vtInteger, vtFloat };

class TspSkinSpinEdit : public TspSkinCustomControl {
public:
    explicit TspSkinSpinEdit(TComponent* AOwner);
    ~TspSkinSpinEdit() override;

    double Value() const { return FValue; }
    // Clamped; OnChange fires on every outer setting, also when the value stays.
    void SetValue(double AValue);
    double MinValue() const { return FMinValue; }
    void SetMinValue(double AValue);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double AValue);
    double Increment() const { return FIncrement; }
    void SetIncrement(double AValue) { FIncrement = AValue; }
    TspValueType ValueType() const { return FValueType; }
    void SetValueType(TspValueType AValue);
    Byte Decimal() const { return FDecimal; }
    void SetDecimal(Byte AValue) { FDecimal = AValue; }
    bool EditorEnabled() const { return FEdit->FEditorEnabled; }
    void SetEditorEnabled(bool AValue) { FEdit->FEditorEnabled = AValue; }
    int MaxLength() const { return FEdit->MaxLength(); }
    void SetMaxLength(int AValue) { FEdit->SetMaxLength(AValue); }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }

    // MinValue when below it, MaxValue when above; nothing when both bounds are 0.
    double ClampValue(double AValue) const;
    // An integer (halves to even) or fixed-point with Decimal digits.
    std::string ValueText(double AValue) const;
    // A number this box may read back: not empty, not "-" alone, digits with one leading "-", and with vtFloat one
    // decimal separator not in front.
    bool IsNumText(const std::string& AText) const;

    TspSkinNumEdit* Edit() const { return FEdit; }

    TNotifyEvent OnChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TKeyEvent OnEditKeyDown;
    TKeyEvent OnEditKeyUp;
    TKeyPressEvent OnEditKeyPress;
    TNotifyEvent OnEditEnter;
    TNotifyEvent OnEditExit;

    struct TButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    // 0 the up button, 1 the down button, in control coordinates.
    const TButton& Button(Integer AIndex) const { return Buttons[AIndex]; }
    bool MouseIn() const { return FMouseIn; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;
    void Invalidate() override;
    void LayoutEdit();

protected:
    virtual void Change();
    void ApplyDefaultFont() override;
    void ApplyMaskRegion() override;
    void PaintEraseInto(win::HDC ADC);
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;
    void Resize() override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;

private:
    void EditChange();
    void EditEnter();
    void EditExit();
    void EditMouseEnter();
    void EditMouseLeave();
    void Step(bool AUp);
    void ReadBack();
    void SetEditTextQuietly(const std::string& AText);
    void AdjustEditHeight();
    void ApplyFontColor();
    bool Active() const { return FEditFocused || FMouseIn; }
    void TrackMouse(int AX, int AY);
    void EnterButton(Integer AButton);
    void LeaveButton(Integer AButton);
    void PressButton(Integer AButton);
    void ReleaseButton(Integer AButton);
    void RepeatTick();
    void DrawButtonFromRecord(TCanvas* ACanvas, Integer AButton);
    bool MouseOverEdit() const;

    TspSkinNumEdit* FEdit = nullptr;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    bool FMouseIn = false;
    bool FEditFocused = false;
    bool StopCheck = false;
    bool FromEdit = false;
    // OnChange is running; the box itself is writing its edit's text; the user typed meanwhile.
    bool FNotifying = false;
    bool FSettingEdit = false;
    bool FTypedWhileNotifying = false;
    Byte FDecimal = 2;
    double FMinValue = 0, FMaxValue = 0, FIncrement = 1, FValue = 0;
    TspValueType FValueType = vtInteger;
    Integer OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    Integer TimerMode = 0;
    TButton Buttons[2];
    TspRepeatTimer FRepeat;

    // The spin-edit record's copy.
    TRect ActiveSkinRect, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    Integer LOffset = 0, ROffset = 0;
};
