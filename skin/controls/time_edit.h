#pragma once
// A skinned masked edit for a time of hours and minutes, with optional seconds and milliseconds: the mask
// follows the fields shown, typed digits that would make an invalid time are refused, the wheel and optional
// arrow buttons step the field under the caret, and the text converts to and from a time string or a count of
// milliseconds. Hours stay within two digits, so the fields keep their places.
#include "skin/controls/skin_edit.h"

class TspSkinIntUpDown;

class TspSkinTimeEdit : public TspSkinMaskEdit {
public:
    explicit TspSkinTimeEdit(TComponent* AOwner);
    ~TspSkinTimeEdit() override;

    bool ShowSec() const { return FShowSec; }
    void SetShowSec(bool AValue);
    bool ShowMSec() const { return FShowMSec; }
    void SetShowMSec(bool AValue);
    bool ShowUpDown() const { return FShowUpDown; }
    void SetShowUpDown(bool AValue);
    TspSkinIntUpDown* UpDown() const { return FUpDown; }

    // The text as it stands.
    std::string Time() { return Text(); }
    // Fields read from fixed places ("hh:mm:ss.zzz"), blanks as 0; a field that is not a number gives the
    // zero text.
    void SetTime(const std::string& AValue);
    Integer Milliseconds();
    void SetMilliseconds(Integer AValue);

    // The field under the caret one up or down, wrapping within its range.
    void StepUp();
    void StepDown();

    // h <= 23, m and s <= 59, ms <= 999; or exactly 24:00:00.000.
    static bool IsValidTime(Integer AHours, Integer AMinutes, Integer ASeconds, Integer AMilliseconds);

    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void ChangeSkinData() override;
    void WndProc(TMessage& AMessage) override;

private:
    struct TFields {
        Integer Hours = 0, Minutes = 0, Seconds = 0, Milliseconds = 0;
    };
    void TimeKeyPress(TObject* ASender, char32_t& AKey);
    // The fields of T as the key filter and Time read them; false when one is not a number.
    bool ReadFields(const std::string& T, TFields& AFields) const;
    TFields DecodeTime();
    void EncodeTime(const TFields& AFields);
    std::string FormatFields(const TFields& AFields) const;
    std::string ZeroText() const;
    void ApplyMask();
    void Step(bool AUp);
    void PlaceUpDown();

    TspSkinIntUpDown* FUpDown = nullptr;
    bool FShowMSec = false;
    bool FShowSec = true;
    bool FShowUpDown = false;
};
