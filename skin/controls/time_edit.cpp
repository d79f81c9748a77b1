#include "skin/controls/time_edit.h"

#include <algorithm>
#include <cstdio>

#include "platform/rtl/sysutils.h"
#include "platform/win/win.h"
#include "skin/controls/up_down.h"

using namespace win;

namespace {

constexpr const char* kMaskMinutes = "!90:00;1; ";
constexpr const char* kMaskSeconds = "!90:00:00;1; ";
constexpr const char* kMaskMilliseconds = "!90:00:00.000;1; ";

// Characters AFirst (1-based) to AFirst + ACount - 1 of AText, blanks read as "0".
std::string Piece(const std::string& AText, size_t AFirst, size_t ACount)
{
    std::string piece = AFirst - 1 < AText.size() ? AText.substr(AFirst - 1, ACount) : std::string();
    std::replace(piece.begin(), piece.end(), ' ', '0');
    return piece;
}

bool ToNumber(const std::string& APiece, Integer& AValue)
{
    return !APiece.empty() && TryStrToInt(APiece, AValue);
}

std::string Digits(Integer AValue, int AWidth)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", AWidth, AValue);
    return text;
}

}  // namespace

TspSkinTimeEdit::TspSkinTimeEdit(TComponent* AOwner) : TspSkinMaskEdit(AOwner)
{
    SetEditMask(kMaskSeconds);
    SetText(std::string("00") + TimeSeparator + "00" + TimeSeparator + "00");
    OnKeyPress = [this](TObject* ASender, char32_t& AKey) { TimeKeyPress(ASender, AKey); };
}

TspSkinTimeEdit::~TspSkinTimeEdit()
{
    TspSkinIntUpDown* upDown = FUpDown;
    FUpDown = nullptr;
    delete upDown;
}

// ---- fields and masks ----

bool TspSkinTimeEdit::IsValidTime(Integer AHours, Integer AMinutes, Integer ASeconds, Integer AMilliseconds)
{
    if (AHours < 0 || AMinutes < 0 || ASeconds < 0 || AMilliseconds < 0) return false;
    if (AHours == 24) return AMinutes == 0 && ASeconds == 0 && AMilliseconds == 0;
    return AHours <= 23 && AMinutes <= 59 && ASeconds <= 59 && AMilliseconds <= 999;
}

std::string TspSkinTimeEdit::FormatFields(const TFields& F) const
{
    // Hours beyond two digits, or negative fields, would move every later field out of its place.
    const Integer hours = std::clamp<Integer>(F.Hours, 0, 99);
    std::string text = Digits(hours, 2) + TimeSeparator + Digits(std::max<Integer>(F.Minutes, 0), 2);
    if (FShowMSec)
        return text + TimeSeparator + Digits(std::max<Integer>(F.Seconds, 0), 2) + DecimalSeparator +
               Digits(std::max<Integer>(F.Milliseconds, 0), 3);
    if (FShowSec) return text + TimeSeparator + Digits(std::max<Integer>(F.Seconds, 0), 2);
    return text;
}

std::string TspSkinTimeEdit::ZeroText() const
{
    return FormatFields({});
}

void TspSkinTimeEdit::ApplyMask()
{
    SetEditMask(FShowMSec ? kMaskMilliseconds : FShowSec ? kMaskSeconds : kMaskMinutes);
    SetText(ZeroText());
}

void TspSkinTimeEdit::SetShowSec(bool AValue)
{
    if (FShowSec == AValue) return;
    FShowSec = AValue;
    ApplyMask();
}

void TspSkinTimeEdit::SetShowMSec(bool AValue)
{
    if (FShowMSec == AValue) return;
    FShowMSec = AValue;
    // Whatever ShowSec says, the seconds come with the milliseconds and stay without them.
    SetEditMask(AValue ? kMaskMilliseconds : kMaskSeconds);
    SetText(AValue ? "00:00:00.000" : "00:00:00");
}

bool TspSkinTimeEdit::ReadFields(const std::string& T, TFields& F) const
{
    return ToNumber(Piece(T, 1, 2), F.Hours) && ToNumber(Piece(T, 4, 2), F.Minutes) &&
           ToNumber(FShowSec ? Piece(T, 7, 2) : "0", F.Seconds) &&
           ToNumber(FShowMSec ? Piece(T, 10, 3) : "0", F.Milliseconds);
}

void TspSkinTimeEdit::SetTime(const std::string& AValue)
{
    TFields f;
    if (!ReadFields(AValue, f)) {
        SetText(ZeroText());
        return;
    }
    if (FShowMSec && !FShowSec) f.Seconds = 0;
    SetText(FormatFields(f));
}

Integer TspSkinTimeEdit::Milliseconds()
{
    TFields f;
    if (!ReadFields(Text(), f)) return 0;
    return ((f.Hours * 60 + f.Minutes) * 60 + f.Seconds) * 1000 + f.Milliseconds;
}

void TspSkinTimeEdit::SetMilliseconds(Integer AValue)
{
    const Integer v = std::max<Integer>(AValue, 0);
    const TFields f{v / 3600000, (v / 60000) % 60, (v / 1000) % 60, v % 1000};
    // All four fields, whatever is shown: the mask keeps what it shows.
    SetText(Digits(std::min<Integer>(f.Hours, 99), 2) + TimeSeparator + Digits(f.Minutes, 2) + TimeSeparator +
            Digits(f.Seconds, 2) + DecimalSeparator + Digits(f.Milliseconds, 3));
}

// ---- key filter ----

void TspSkinTimeEdit::TimeKeyPress(TObject*, char32_t& AKey)
{
    if (AKey == VK_RETURN || AKey == VK_BACK) return;
    std::string t = Text();
    if (SelLength() > 1) SetSelLength(1);
    const size_t at = static_cast<size_t>(SelStart());
    if (AKey >= U'0' && AKey <= U'9' && at < t.size()) t[at] = static_cast<char>(AKey);
    TFields f;
    if (!ReadFields(t, f) || !IsValidTime(f.Hours, f.Minutes, f.Seconds, f.Milliseconds)) AKey = 0;
}

// ---- steps ----

TspSkinTimeEdit::TFields TspSkinTimeEdit::DecodeTime()
{
    const std::string t = Text();
    auto field = [](const std::string& APiece, size_t ALength) {
        Integer value = 0;
        if (APiece.size() != ALength || !std::all_of(APiece.begin(), APiece.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return 0;
        TryStrToInt(APiece, value);
        return value;
    };
    TFields f;
    f.Hours = std::min(field(Piece(t, 1, 2), 2), 23);
    f.Minutes = std::min(field(Piece(t, 4, 2), 2), 59);
    f.Seconds = std::min(field(FShowSec ? Piece(t, 7, 2) : "00", 2), 59);
    f.Milliseconds = std::min(field(FShowMSec ? Piece(t, 10, 3) : "000", 3), 999);
    return f;
}

void TspSkinTimeEdit::EncodeTime(const TFields& F)
{
    if (IsValidTime(F.Hours, F.Minutes, F.Seconds, F.Milliseconds)) SetText(FormatFields(F));
}

void TspSkinTimeEdit::Step(bool AUp)
{
    if (!Focused() && CanFocus()) SetFocus();
    TFields f = DecodeTime();
    const int caret = SelStart();
    const std::string before = Text().substr(0, static_cast<size_t>(std::max(caret, 0)));
    const auto field = std::count(before.begin(), before.end(), TimeSeparator);
    auto wrap = [AUp](Integer& AValue, Integer AMax) { AValue = AUp ? (AValue == AMax ? 0 : AValue + 1) : (AValue == 0 ? AMax : AValue - 1); };
    if (field == 0)
        wrap(f.Hours, 23);
    else if (field == 1)
        wrap(f.Minutes, 59);
    else if (FShowSec)
        wrap(f.Seconds, 59);
    EncodeTime(f);
    SetSelStart(caret);
}

void TspSkinTimeEdit::StepUp() { Step(true); }
void TspSkinTimeEdit::StepDown() { Step(false); }

// ---- arrow buttons ----

void TspSkinTimeEdit::SetShowUpDown(bool AValue)
{
    FShowUpDown = AValue;
    if (AValue && !FUpDown) {
        ControlStyle().Include(csAcceptsControls);
        FUpDown = new TspSkinIntUpDown(this);
        FUpDown->OnUpButtonClick = [this](TObject*) { StepUp(); };
        FUpDown->FOnUpChange = [this](TObject*) { StepUp(); };
        FUpDown->OnDownButtonClick = [this](TObject*) { StepDown(); };
        FUpDown->FOnDownChange = [this](TObject*) { StepDown(); };
        FUpDown->SetSkinDataName("resizetoolbutton");
        FUpDown->SetSkinData(SkinData());
        FUpDown->SetOrientation(udVertical);
        FUpDown->SetUseSkinSize(false);
        PlaceUpDown();
        FUpDown->SetParent(this);
    } else if (!AValue && FUpDown) {
        ControlStyle().Exclude(csAcceptsControls);
        TspSkinIntUpDown* upDown = FUpDown;
        upDown->SetVisible(false);
        FUpDown = nullptr;
        delete upDown;
    }
}

void TspSkinTimeEdit::PlaceUpDown()
{
    if (!FUpDown) return;
    const Integer w = ClientWidth(), h = ClientHeight();
    FUpDown->SetBounds(w - h, 0, h, h);
}

void TspSkinTimeEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TspSkinMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceUpDown();
}

void TspSkinTimeEdit::ChangeSkinData()
{
    TspSkinMaskEdit::ChangeSkinData();
    if (!FUpDown) return;
    FUpDown->SetSkinData(SkinData());
    PlaceUpDown();
}

void TspSkinTimeEdit::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == WM_MOUSEWHEEL) {
        // Away from the user steps up.
        if (GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0)
            StepUp();
        else
            StepDown();
        AMessage.Result = 1;
        return;
    }
    TspSkinMaskEdit::WndProc(AMessage);
}
