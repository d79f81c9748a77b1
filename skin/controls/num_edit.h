#pragma once
// The number field a spin edit hosts: it admits only the characters of a number, turns the Up and Down keys
// and the wheel into up and down notifications for its host, and tells the host when the mouse enters and
// leaves it. The host assigns the events and Float.
#include "skin/controls/native_edit.h"

class TspSkinNumEdit : public TspCustomEdit {
public:
    explicit TspSkinNumEdit(TComponent* AOwner);

    // Digits, "-" once anywhere, the decimal separator once with Float, control characters but Enter; with the
    // editor disabled only control characters other than Backspace.
    bool IsValidChar(char32_t AKey);

    TNotifyEvent FOnUpClick;
    TNotifyEvent FOnDownClick;
    TNotifyEvent FOnMouseEnter;
    TNotifyEvent FOnMouseLeave;
    bool FEditorEnabled = true;
    bool Float = false;

    void WndProc(TMessage& AMessage) override;

protected:
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
};
