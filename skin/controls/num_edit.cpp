#include "skin/controls/num_edit.h"

#include "platform/rtl/sysutils.h"
#include "platform/win/win.h"

using namespace win;

TspSkinNumEdit::TspSkinNumEdit(TComponent* AOwner) : TspCustomEdit(AOwner) {}

bool TspSkinNumEdit::IsValidChar(char32_t AKey)
{
    const bool control = AKey < 32 && AKey != VK_RETURN;
    bool valid = AKey == U'-' || (AKey >= U'0' && AKey <= U'9') || control ||
                 (Float && AKey == static_cast<char32_t>(DecimalSeparator));
    if (valid && !FEditorEnabled && (AKey >= 32 || AKey == VK_BACK)) valid = false;
    const std::string text = Text();
    if (AKey == static_cast<char32_t>(DecimalSeparator) && text.find(DecimalSeparator) != std::string::npos)
        valid = false;
    if (AKey == U'-' && text.find('-') != std::string::npos) valid = false;
    return valid;
}

void TspSkinNumEdit::KeyDown(WORD& AKey, TShiftState AShift)
{
    // The host steps; OnKeyDown never sees these two keys.
    if (AKey == VK_UP) {
        if (FOnUpClick) FOnUpClick(this);
        return;
    }
    if (AKey == VK_DOWN) {
        if (FOnDownClick) FOnDownClick(this);
        return;
    }
    TspCustomEdit::KeyDown(AKey, AShift);
}

void TspSkinNumEdit::KeyPress(char32_t& AKey)
{
    if (!IsValidChar(AKey)) {
        AKey = 0;
        MessageBeep(0);
    }
    if (AKey != 0) TspCustomEdit::KeyPress(AKey);
}

void TspSkinNumEdit::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_MOUSEWHEEL:
        // Away from the user steps up, as every other control does.
        if (static_cast<int16_t>(HIWORD(AMessage.WParam)) > 0) {
            if (FOnUpClick) FOnUpClick(this);
        } else if (FOnDownClick) {
            FOnDownClick(this);
        }
        AMessage.Result = 1;
        return;
    case CM_MOUSEENTER:
        TspCustomEdit::WndProc(AMessage);
        if (FOnMouseEnter) FOnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TspCustomEdit::WndProc(AMessage);
        if (FOnMouseLeave) FOnMouseLeave(this);
        return;
    default: TspCustomEdit::WndProc(AMessage);
    }
}
