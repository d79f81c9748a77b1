#pragma once
// An edit field with an input mask: "0" a required digit, "9" an optional one, "!" optional characters shown
// as leading blanks, "\" makes the next character a literal, any other character is a literal. After the mask
// ";1" keeps the literals in Text (";0" drops them) and a third part gives the blank character, as in
// "!90:00:00.000;1; ". Typing overwrites one position at a time, skips literals and never leaves the caret on
// one; Backspace and Delete write the blank. OnKeyPress sees every key before the mask does.
#include "platform/controls/custom_edit.h"

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& AValue);  // formats the text there is into the new mask
    bool IsMasked() const { return !FPositions.empty(); }
    // The field as shown: every position, blanks included.
    std::string EditText() const { return FModel.Text(); }
    void SetEditText(const std::string& AValue);
    // Accepts whatever is there; the verdict would be ignored by the callers anyway.
    virtual void ValidateEdit() {}
    // What assigning AValue to Text would show.
    std::string FormatText(const std::string& AValue) const;

    void DefaultHandler(TMessage& AMessage) override;

protected:
    std::string GetText() override;
    void TextChanged() override;
    void KeyPress(char32_t& AKey) override;
    void HandleKeyDown(win::WORD AKey) override;
    void HandleMouse(TMessage& AMessage) override;
    void HandleFocus(bool AGot) override;

private:
    struct TMaskPosition {
        char Kind;  // '0', '9' or 'L' for a literal
        char Literal;
    };
    bool IsEditable(int APos) const;
    int NextEditable(int APos) const;  // at or after APos; the length when none
    int PrevEditable(int APos) const;  // before APos; -1 when none
    bool Accepts(int APos, char32_t AChar) const;
    void CaretTo(int APos);
    void WriteAt(int APos, char AChar);
    void BlankRange(int AFirst, int ALast);
    void TypeChar(char32_t AChar);
    int Length() const { return static_cast<int>(FPositions.size()); }

    std::string FEditMask;
    std::vector<TMaskPosition> FPositions;
    bool FLeadingBlanks = false;
    bool FSaveLiterals = true;
    char FBlank = '_';
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};
