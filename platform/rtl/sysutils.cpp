#include "platform/rtl/sysutils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <mutex>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// ---- Decimal digits of a double, rounded half away from zero as the class library rounds for display ----------

// Value = 0.Digits * 10^Exponent; Digits empty means zero.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// AKeep counts significant digits (AFixed false) or digits after the decimal point (AFixed true).
TDecimal ToDecimal(double AValue, bool AFixed, int AKeep)
{
    TDecimal d;
    d.Negative = std::signbit(AValue) && AValue != 0;
    double a = std::fabs(AValue);
    if (a == 0) return d;
    // 40 digits past the first are far more than a double holds, so a tie at the cut is a true tie.
    char buf[96];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 40);
    std::string text(buf, res.ptr);
    size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exp10 = std::stoi(text.substr(e + 1)) + 1;
    int keep = AFixed ? exp10 + AKeep : AKeep;
    if (keep < 0) return d;
    if (keep >= static_cast<int>(digits.size())) keep = static_cast<int>(digits.size());
    bool round_up = keep < static_cast<int>(digits.size()) && digits[keep] >= '5';
    digits.resize(keep);
    if (round_up) {
        int i = keep - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            if (digits.empty()) digits = "1";
            ++exp10;
        } else {
            ++digits[i];
        }
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) return d;
    d.Digits = digits;
    d.Exponent = exp10;
    return d;
}

std::string SpecialFloat(double AValue)
{
    if (std::isnan(AValue)) return "NAN";
    return AValue < 0 ? "-INF" : "INF";
}

std::string FixedText(double AValue, int ADecimals, bool AThousands = false)
{
    if (!std::isfinite(AValue)) return SpecialFloat(AValue);
    TDecimal d = ToDecimal(AValue, true, ADecimals);
    std::string int_part;
    std::string frac_part;
    if (d.Digits.empty()) {
        int_part = "0";
    } else if (d.Exponent <= 0) {
        int_part = "0";
        frac_part = std::string(-d.Exponent, '0') + d.Digits;
    } else {
        int_part = d.Digits.substr(0, std::min<size_t>(d.Exponent, d.Digits.size()));
        int_part.append(d.Exponent - int_part.size(), '0');
        if (static_cast<int>(d.Digits.size()) > d.Exponent) frac_part = d.Digits.substr(d.Exponent);
    }
    frac_part.resize(ADecimals, '0');
    if (AThousands) {
        for (int i = static_cast<int>(int_part.size()) - 3; i > 0; i -= 3) int_part.insert(i, 1, ',');
    }
    std::string out = d.Negative && !d.Digits.empty() ? "-" : "";
    out += int_part;
    if (ADecimals > 0) out += DecimalSeparator + frac_part;
    return out;
}

std::string ExponentText(int AExponent, int AMinDigits, bool AAlwaysSign)
{
    std::string digits = std::to_string(std::abs(AExponent));
    if (static_cast<int>(digits.size()) < AMinDigits) digits.insert(0, AMinDigits - digits.size(), '0');
    if (AExponent < 0) return "-" + digits;
    return AAlwaysSign ? "+" + digits : digits;
}

// Fixed notation while the exponent stays below the precision and the value is not tiny, else d.dddE-x.
std::string GeneralText(double AValue, int APrecision, int AExpDigits)
{
    if (!std::isfinite(AValue)) return SpecialFloat(AValue);
    if (APrecision < 1) APrecision = 1;
    if (APrecision > 18) APrecision = 18;
    TDecimal d = ToDecimal(AValue, false, APrecision);
    if (d.Digits.empty()) return "0";
    std::string out = d.Negative ? "-" : "";
    int n = static_cast<int>(d.Digits.size());
    if (d.Exponent <= APrecision && d.Exponent >= -3) {
        if (d.Exponent <= 0) {
            out += "0";
            out += DecimalSeparator;
            out += std::string(-d.Exponent, '0') + d.Digits;
        } else if (n <= d.Exponent) {
            out += d.Digits + std::string(d.Exponent - n, '0');
        } else {
            out += d.Digits.substr(0, d.Exponent) + DecimalSeparator + d.Digits.substr(d.Exponent);
        }
        return out;
    }
    out += d.Digits.substr(0, 1);
    if (n > 1) out += DecimalSeparator + d.Digits.substr(1);
    return out + "E" + ExponentText(d.Exponent - 1, AExpDigits, false);
}

std::string ScientificText(double AValue, int APrecision, int AExpDigits)
{
    if (!std::isfinite(AValue)) return SpecialFloat(AValue);
    if (APrecision < 1) APrecision = 1;
    if (APrecision > 18) APrecision = 18;
    TDecimal d = ToDecimal(AValue, false, APrecision);
    std::string digits = d.Digits.empty() ? "0" : d.Digits;
    digits.resize(APrecision, '0');
    int exponent = d.Digits.empty() ? 0 : d.Exponent - 1;
    std::string out = d.Negative ? "-" : "";
    out += digits.substr(0, 1);
    if (APrecision > 1) out += DecimalSeparator + digits.substr(1);
    return out + "E" + ExponentText(exponent, AExpDigits, true);
}

// ---- Format --------------------------------------------------------------------------------------------------

size_t Utf8Length(std::string_view S)
{
    size_t n = 0;
    for (unsigned char c : S) n += (c & 0xC0) != 0x80;
    return n;
}

// Unsigned view of an integer argument: negative values that fit in 32 bits show as 32-bit.
uint64_t AsUnsigned(const TVarRec& AArg)
{
    if (AArg.Kind() == TVarRec::vkUnsigned) return AArg.AsUInt();
    int64_t v = AArg.AsInt();
    if (v < 0 && v >= INT32_MIN) return static_cast<uint32_t>(static_cast<int32_t>(v));
    return static_cast<uint64_t>(v);
}

std::string UnsignedText(uint64_t AValue, int ABase)
{
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, AValue, ABase);
    std::string s(buf, res.ptr);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class TFormatter {
public:
    TFormatter(std::string_view AFormat, TVarRecList AArgs) : FFormat(AFormat), FArgs(AArgs.begin(), AArgs.end()) {}

    std::string Run()
    {
        std::string out;
        size_t i = 0;
        while (i < FFormat.size()) {
            char c = FFormat[i++];
            if (c != '%') {
                out += c;
                continue;
            }
            if (i < FFormat.size() && FFormat[i] == '%') {
                out += '%';
                ++i;
                continue;
            }
            out += Specifier(i);
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const
    {
        throw EConvertError("Format '" + std::string(FFormat) + "' invalid or incompatible with argument");
    }

    const TVarRec& NextArg()
    {
        if (FNext >= FArgs.size()) throw EConvertError("No argument for format '" + std::string(FFormat) + "'");
        return FArgs[FNext++];
    }

    // Digits or '*'; -1 when neither is there.
    int Number(size_t& i)
    {
        if (i < FFormat.size() && FFormat[i] == '*') {
            ++i;
            const TVarRec& a = NextArg();
            if (a.Kind() != TVarRec::vkInteger && a.Kind() != TVarRec::vkUnsigned) Invalid();
            return static_cast<int>(a.AsInt());
        }
        if (i >= FFormat.size() || !std::isdigit(static_cast<unsigned char>(FFormat[i]))) return -1;
        int n = 0;
        while (i < FFormat.size() && std::isdigit(static_cast<unsigned char>(FFormat[i]))) {
            n = std::min(n * 10 + (FFormat[i++] - '0'), 100000);
        }
        return n;
    }

    std::string Specifier(size_t& i)
    {
        // An argument index "n:" comes first when present.
        size_t digits_end = i;
        while (digits_end < FFormat.size() && std::isdigit(static_cast<unsigned char>(FFormat[digits_end]))) {
            ++digits_end;
        }
        if (digits_end > i && digits_end < FFormat.size() && FFormat[digits_end] == ':') {
            FNext = static_cast<size_t>(Number(i));
            ++i;
        }
        bool left = false;
        if (i < FFormat.size() && FFormat[i] == '-') {
            left = true;
            ++i;
        }
        int width = Number(i);
        int precision = -1;
        if (i < FFormat.size() && FFormat[i] == '.') {
            ++i;
            precision = std::max(Number(i), 0);
        }
        while (i < FFormat.size() && (FFormat[i] == 'l' || FFormat[i] == 'h')) ++i;  // C length letters
        if (i >= FFormat.size()) Invalid();
        char type = static_cast<char>(std::tolower(static_cast<unsigned char>(FFormat[i++])));
        std::string text = Convert(type, precision);
        size_t len = Utf8Length(text);
        if (width > 0 && len < static_cast<size_t>(width)) {
            std::string pad(width - len, ' ');
            text = left ? text + pad : pad + text;
        }
        return text;
    }

    std::string Convert(char AType, int APrecision)
    {
        const TVarRec& a = NextArg();
        bool is_int = a.Kind() == TVarRec::vkInteger || a.Kind() == TVarRec::vkUnsigned;
        bool is_float = a.Kind() == TVarRec::vkFloat;
        switch (AType) {
        case 'd': {
            if (!is_int) Invalid();
            bool negative = a.Kind() == TVarRec::vkInteger && a.AsInt() < 0;
            uint64_t magnitude = a.Kind() == TVarRec::vkUnsigned ? a.AsUInt()
                                 : negative ? 0 - static_cast<uint64_t>(a.AsInt())
                                            : static_cast<uint64_t>(a.AsInt());
            return (negative ? "-" : "") + ZeroPad(UnsignedText(magnitude, 10), APrecision);
        }
        case 'u':
            if (!is_int) Invalid();
            return ZeroPad(UnsignedText(AsUnsigned(a), 10), APrecision);
        case 'x':
            if (!is_int) Invalid();
            return ZeroPad(UnsignedText(AsUnsigned(a), 16), APrecision);
        case 'p':
            if (a.Kind() != TVarRec::vkPointer) Invalid();
            return ZeroPad(UnsignedText(reinterpret_cast<uintptr_t>(a.AsPointer()), 16), 2 * sizeof(void*));
        case 's': {
            std::string s;
            if (a.Kind() == TVarRec::vkString) s = a.AsString();
            else if (a.Kind() == TVarRec::vkChar) s = std::string(1, a.AsChar());
            else Invalid();
            if (APrecision >= 0 && s.size() > static_cast<size_t>(APrecision)) s.resize(APrecision);
            return s;
        }
        case 'c':
            if (a.Kind() == TVarRec::vkChar) return std::string(1, a.AsChar());
            if (is_int) return std::string(1, static_cast<char>(a.AsInt()));
            Invalid();
        case 'f':
            if (!is_float) Invalid();
            return FixedText(a.AsFloat(), APrecision < 0 ? 2 : std::min(APrecision, 18));
        case 'n':
            if (!is_float) Invalid();
            return FixedText(a.AsFloat(), APrecision < 0 ? 2 : std::min(APrecision, 18), true);
        case 'g':
            if (!is_float) Invalid();
            return GeneralText(a.AsFloat(), APrecision < 0 ? 15 : APrecision, 0);
        case 'e':
            if (!is_float) Invalid();
            return ScientificText(a.AsFloat(), APrecision < 0 ? 15 : APrecision, 3);
        default:
            Invalid();
        }
    }

    static std::string ZeroPad(std::string ADigits, int AMinDigits)
    {
        if (AMinDigits > 0 && ADigits.size() < static_cast<size_t>(AMinDigits)) {
            ADigits.insert(0, AMinDigits - ADigits.size(), '0');
        }
        return ADigits;
    }

    std::string_view FFormat;
    std::vector<TVarRec> FArgs;
    size_t FNext = 0;
};

// ---- Integer parsing -------------------------------------------------------------------------------------------

// Leading blanks, sign, then decimal or hex ("$", "0x", "x"); the whole rest must be digits.
bool ParseInteger(const std::string& S, bool A64, int64_t& AValue)
{
    size_t i = 0;
    while (i < S.size() && (S[i] == ' ' || S[i] == '\t')) ++i;
    bool negative = false;
    if (i < S.size() && (S[i] == '-' || S[i] == '+')) negative = S[i++] == '-';
    int base = 10;
    if (i < S.size() && S[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < S.size() && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
        base = 16;
        i += 2;
    } else if (i < S.size() && (S[i] == 'x' || S[i] == 'X')) {
        base = 16;
        ++i;
    }
    if (i >= S.size()) return false;
    uint64_t magnitude = 0;
    auto res = std::from_chars(S.data() + i, S.data() + S.size(), magnitude, base);
    if (res.ec != std::errc() || res.ptr != S.data() + S.size()) return false;
    // from_chars would take a sign of its own; only digits may follow ours.
    if (S[i] == '-' || S[i] == '+') return false;
    uint64_t limit_pos = A64 ? INT64_MAX : INT32_MAX;
    if (base == 16) {
        // Hex may fill the whole width and wrap to negative, as the class library allows.
        uint64_t width_max = A64 ? UINT64_MAX : UINT32_MAX;
        if (magnitude > width_max) return false;
        int64_t v = A64 ? static_cast<int64_t>(magnitude) : static_cast<int32_t>(static_cast<uint32_t>(magnitude));
        AValue = negative ? static_cast<int64_t>(0 - static_cast<uint64_t>(v)) : v;
        if (!A64) AValue = static_cast<int32_t>(AValue);
        return true;
    }
    if (magnitude > limit_pos + (negative ? 1 : 0)) return false;
    AValue = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

[[noreturn]] void InvalidInteger(const std::string& S)
{
    throw EConvertError("'" + S + "' is not a valid integer value");
}

// ---- Case mapping ----------------------------------------------------------------------------------------------

locale_t Utf8Locale()
{
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        return l;
    }();
    return loc;
}

// Decodes one UTF-8 sequence; an invalid byte comes back as itself with AValid false.
char32_t DecodeUtf8(std::string_view S, size_t& i, bool& AValid)
{
    unsigned char c = static_cast<unsigned char>(S[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    AValid = extra >= 0 && i + extra < S.size();
    char32_t cp = extra <= 0 ? c : c & (0x3F >> extra);
    for (int k = 1; AValid && k <= extra; ++k) {
        unsigned char cc = static_cast<unsigned char>(S[i + k]);
        AValid = (cc & 0xC0) == 0x80;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (!AValid) {
        ++i;
        return c;
    }
    i += extra + 1;
    return cp;
}

void EncodeUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string MapCase(const std::string& S, bool AUpper)
{
    locale_t loc = Utf8Locale();
    if (!loc) return AUpper ? UpperCase(S) : LowerCase(S);
    std::string out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size();) {
        bool valid;
        size_t start = i;
        char32_t cp = DecodeUtf8(S, i, valid);
        if (!valid) {
            out += S[start];
            continue;
        }
        wint_t mapped = AUpper ? towupper_l(cp, loc) : towlower_l(cp, loc);
        EncodeUtf8(static_cast<char32_t>(mapped), out);
    }
    return out;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// ---- Dates -----------------------------------------------------------------------------------------------------

// TDateTime day 0 is 1899-12-30, 25569 days before the Unix epoch.
constexpr int64_t UnixDateDelta = 25569;

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
}

// Whole days and milliseconds of the day, as the class library splits a TDateTime (the time of a negative value
// counts forward from midnight too).
void SplitDateTime(TDateTime AValue, int64_t& ADays, int64_t& AMSecs)
{
    int64_t ms = std::llround(AValue * MSecsPerDay);
    ADays = ms / 86400000;
    AMSecs = std::llabs(ms) % 86400000;
}

Word DaysInMonth(Word AYear, Word AMonth)
{
    static const Word days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return AMonth == 2 && IsLeapYear(AYear) ? 29 : days[AMonth - 1];
}

TDateTime TimespecToDateTime(time_t ASeconds, long ANanoseconds)
{
    struct tm t{};
    localtime_r(&ASeconds, &t);
    TDateTime date = static_cast<double>(DaysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) + UnixDateDelta);
    double ms = (t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec) * 1000.0 + static_cast<double>(ANanoseconds / 1000000);
    return date + ms / MSecsPerDay;
}

const char* const ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
const char* const ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* ShortDateFormat = "yyyy/mm/dd";
constexpr const char* LongDateFormat = "dddd, mmmm d, yyyy";
constexpr const char* ShortTimeFormat = "hh:nn";
constexpr const char* LongTimeFormat = "hh:nn:ss";

std::string Pad2(int v) { return v < 10 ? "0" + std::to_string(v) : std::to_string(v); }

class TDateFormatter {
public:
    explicit TDateFormatter(TDateTime AValue) : FValue(AValue)
    {
        DecodeDate(AValue, FYear, FMonth, FDay);
        DecodeTime(AValue, FHour, FMin, FSec, FMSec);
    }

    void Append(const std::string& AFormat, std::string& out, int ADepth = 0)
    {
        if (ADepth > 2) return;
        bool twelve_hour = HasAmPm(AFormat);
        char last = 0;
        size_t i = 0;
        while (i < AFormat.size()) {
            char c = AFormat[i];
            char token = UpperAscii(c);
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && last == 'H') token = 'N';
                last = token;
            }
            size_t run = 1;
            while (i + run < AFormat.size() && UpperAscii(AFormat[i + run]) == UpperAscii(c)) ++run;
            switch (token) {
            case 'Y':
                out += run <= 2 ? Pad2(FYear % 100) : std::to_string(FYear);
                i += run;
                break;
            case 'M':
                i += run;
                if (run <= 2) out += run == 1 ? std::to_string(FMonth) : Pad2(FMonth);
                else out += run == 3 ? ShortMonthNames[FMonth - 1] : LongMonthNames[FMonth - 1];
                break;
            case 'D':
                i += run;
                if (run <= 2) out += run == 1 ? std::to_string(FDay) : Pad2(FDay);
                else if (run == 3) out += ShortDayNames[DayOfWeek(FValue) - 1];
                else if (run == 4) out += LongDayNames[DayOfWeek(FValue) - 1];
                else Append(run == 5 ? ShortDateFormat : LongDateFormat, out, ADepth + 1);
                break;
            case 'H': {
                i += std::min<size_t>(run, 2);
                int h = FHour;
                if (twelve_hour) h = h % 12 == 0 ? 12 : h % 12;
                out += run == 1 ? std::to_string(h) : Pad2(h);
                break;
            }
            case 'N':
                i += std::min<size_t>(run, 2);
                out += run == 1 ? std::to_string(FMin) : Pad2(FMin);
                break;
            case 'S':
                i += std::min<size_t>(run, 2);
                out += run == 1 ? std::to_string(FSec) : Pad2(FSec);
                break;
            case 'Z':
                i += std::min<size_t>(run, 3);
                if (run >= 3) out += (FMSec < 100 ? (FMSec < 10 ? "00" : "0") : "") + std::to_string(FMSec);
                else out += std::to_string(FMSec);
                break;
            case 'T':
                i += std::min<size_t>(run, 2);
                Append(run == 1 ? ShortTimeFormat : LongTimeFormat, out, ADepth + 1);
                break;
            case 'C':
                i += 1;
                Append(ShortDateFormat, out, ADepth + 1);
                if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) {
                    out += ' ';
                    Append(LongTimeFormat, out, ADepth + 1);
                }
                break;
            case 'A':
                i += AmPm(AFormat, i, out);
                break;
            case '/':
                out += DateSeparator;
                ++i;
                break;
            case ':':
                out += TimeSeparator;
                ++i;
                break;
            case '"':
            case '\'': {
                size_t end = AFormat.find(c, i + 1);
                if (end == std::string::npos) end = AFormat.size();
                out += AFormat.substr(i + 1, end - i - 1);
                i = std::min(end + 1, AFormat.size());
                break;
            }
            default:
                out += c;
                ++i;
            }
        }
    }

private:
    static bool StartsWithText(const std::string& S, size_t i, const char* AText)
    {
        size_t n = std::strlen(AText);
        return S.size() - i >= n && SameText(std::string_view(S).substr(i, n), AText);
    }

    static bool HasAmPm(const std::string& S)
    {
        for (size_t i = 0; i < S.size(); ++i) {
            if (StartsWithText(S, i, "am/pm") || StartsWithText(S, i, "a/p") || StartsWithText(S, i, "ampm")) {
                return true;
            }
        }
        return false;
    }

    size_t AmPm(const std::string& S, size_t i, std::string& out) const
    {
        bool pm = FHour >= 12;
        if (StartsWithText(S, i, "am/pm")) {
            std::string word = pm ? S.substr(i + 3, 2) : S.substr(i, 2);
            out += word;
            return 5;
        }
        if (StartsWithText(S, i, "a/p")) {
            out += pm ? S[i + 2] : S[i];
            return 3;
        }
        if (StartsWithText(S, i, "ampm")) {
            out += pm ? "PM" : "AM";
            return 4;
        }
        out += S[i];
        return 1;
    }

    TDateTime FValue;
    Word FYear, FMonth, FDay, FHour, FMin, FSec, FMSec;
};

// ---- Files -----------------------------------------------------------------------------------------------------

std::mutex& HookMutex()
{
    static std::mutex m;
    return m;
}
std::function<void(const std::string&)>& AtomicWriteHook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}

mode_t ProcessUmask()
{
    if (FILE* f = fopen("/proc/self/status", "re")) {
        char line[256];
        while (fgets(line, sizeof line, f)) {
            unsigned value;
            if (sscanf(line, "Umask: %o", &value) == 1) {
                fclose(f);
                return static_cast<mode_t>(value);
            }
        }
        fclose(f);
    }
    return 022;
}

bool WriteAll(int fd, std::string_view AData)
{
    while (!AData.empty()) {
        ssize_t n = write(fd, AData.data(), AData.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        AData.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

// ---- Format, numbers ---------------------------------------------------------------------------------------------

std::string Format(std::string_view AFormat, TVarRecList AArgs) { return TFormatter(AFormat, AArgs).Run(); }

std::string IntToStr(int64_t AValue) { return std::to_string(AValue); }

static std::string HexDigits(uint64_t AValue, int ADigits)
{
    std::string s = UnsignedText(AValue, 16);
    if (ADigits > 0 && s.size() < static_cast<size_t>(ADigits)) s.insert(0, ADigits - s.size(), '0');
    return s;
}
std::string IntToHex(Integer AValue, int ADigits) { return HexDigits(static_cast<uint32_t>(AValue), ADigits); }
std::string IntToHex(Int64 AValue, int ADigits) { return HexDigits(static_cast<uint64_t>(AValue), ADigits); }
std::string IntToHex(Cardinal AValue, int ADigits) { return HexDigits(AValue, ADigits); }
std::string IntToHex(uint64_t AValue, int ADigits) { return HexDigits(AValue, ADigits); }

Integer StrToInt(const std::string& S)
{
    Integer v;
    if (!TryStrToInt(S, v)) InvalidInteger(S);
    return v;
}

Integer StrToIntDef(const std::string& S, Integer ADefault)
{
    Integer v;
    return TryStrToInt(S, v) ? v : ADefault;
}

bool TryStrToInt(const std::string& S, Integer& AValue)
{
    int64_t v;
    if (!ParseInteger(S, false, v)) return false;
    AValue = static_cast<Integer>(v);
    return true;
}

Int64 StrToInt64(const std::string& S)
{
    Int64 v;
    if (!TryStrToInt64(S, v)) InvalidInteger(S);
    return v;
}

Int64 StrToInt64Def(const std::string& S, Int64 ADefault)
{
    Int64 v;
    return TryStrToInt64(S, v) ? v : ADefault;
}

bool TryStrToInt64(const std::string& S, Int64& AValue) { return ParseInteger(S, true, AValue); }

bool TryStrToFloat(const std::string& S, double& AValue)
{
    std::string t = Trim(S);
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    // Only digits or a decimal point may start the number: no "inf", "nan" or hex.
    if (i >= t.size() || !(std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == DecimalSeparator)) return false;
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
    const char* last = t.data() + t.size();
    double v;
    auto res = std::from_chars(first, last, v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != last) return false;
    AValue = v;
    return true;
}

double StrToFloat(const std::string& S)
{
    double v;
    if (!TryStrToFloat(S, v)) throw EConvertError("'" + S + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const std::string& S, double ADefault)
{
    double v;
    return TryStrToFloat(S, v) ? v : ADefault;
}

std::string FloatToStr(double AValue) { return GeneralText(AValue, 15, 0); }

std::string FloatToStrF(double AValue, TFloatFormat AFormat, int APrecision, int ADigits)
{
    switch (AFormat) {
    case ffGeneral:
        return GeneralText(AValue, APrecision, ADigits);
    case ffExponent:
        return ScientificText(AValue, APrecision, ADigits);
    case ffFixed:
    case ffNumber:
    case ffCurrency:
        // A value with more integer digits than the precision falls back to scientific notation.
        if (std::isfinite(AValue) && std::fabs(AValue) >= std::pow(10.0, std::min(APrecision, 18))) {
            return GeneralText(AValue, APrecision, 0);
        }
        return FixedText(AValue, std::clamp(ADigits, 0, 18), AFormat != ffFixed);
    }
    return GeneralText(AValue, APrecision, ADigits);
}

std::string BoolToStr(bool AValue, bool AUseBoolStrs)
{
    if (AUseBoolStrs) return AValue ? "True" : "False";
    return AValue ? "-1" : "0";
}

Int64 Round(double AValue)
{
    double r = std::nearbyint(AValue);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) {
        throw EInvalidOperation("Invalid floating point operation");
    }
    return static_cast<Int64>(r);
}

Int64 Trunc(double AValue)
{
    double r = std::trunc(AValue);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) {
        throw EInvalidOperation("Invalid floating point operation");
    }
    return static_cast<Int64>(r);
}

Integer MulDiv(Integer ANumber, Integer ANumerator, Integer ADenominator)
{
    if (ADenominator == 0) return -1;
    int64_t product = static_cast<int64_t>(ANumber) * ANumerator;
    bool negative = (product < 0) != (ADenominator < 0);
    uint64_t p = product < 0 ? 0 - static_cast<uint64_t>(product) : static_cast<uint64_t>(product);
    uint64_t d = ADenominator < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(ADenominator))
                                  : static_cast<uint64_t>(ADenominator);
    uint64_t q = (p + d / 2) / d;
    if (q > (negative ? uint64_t{1} << 31 : uint64_t{INT32_MAX})) return -1;
    return negative ? static_cast<Integer>(-static_cast<int64_t>(q)) : static_cast<Integer>(q);
}

// ---- Strings -----------------------------------------------------------------------------------------------------

std::string Trim(const std::string& S) { return TrimLeft(TrimRight(S)); }

std::string TrimLeft(const std::string& S)
{
    size_t i = 0;
    while (i < S.size() && static_cast<unsigned char>(S[i]) <= ' ') ++i;
    return S.substr(i);
}

std::string TrimRight(const std::string& S)
{
    size_t n = S.size();
    while (n > 0 && static_cast<unsigned char>(S[n - 1]) <= ' ') --n;
    return S.substr(0, n);
}

std::string Copy(const std::string& S, Integer AIndex, Integer ACount)
{
    if (AIndex < 1) AIndex = 1;
    if (ACount <= 0 || static_cast<size_t>(AIndex) > S.size()) return "";
    return S.substr(static_cast<size_t>(AIndex) - 1, static_cast<size_t>(ACount));
}

Integer Pos(std::string_view ASubStr, std::string_view S)
{
    if (ASubStr.empty()) return 0;
    size_t p = S.find(ASubStr);
    return p == std::string_view::npos ? 0 : static_cast<Integer>(p) + 1;
}

void Delete(std::string& S, Integer AIndex, Integer ACount)
{
    if (AIndex < 1 || ACount <= 0 || static_cast<size_t>(AIndex) > S.size()) return;
    S.erase(static_cast<size_t>(AIndex) - 1, static_cast<size_t>(ACount));
}

void Insert(const std::string& ASource, std::string& S, Integer AIndex)
{
    if (AIndex < 1) AIndex = 1;
    size_t at = std::min(static_cast<size_t>(AIndex) - 1, S.size());
    S.insert(at, ASource);
}

std::string StringOfChar(char C, Integer ACount) { return ACount > 0 ? std::string(ACount, C) : std::string(); }

std::string UpperCase(const std::string& S)
{
    std::string r = S;
    for (char& c : r) c = UpperAscii(c);
    return r;
}

std::string LowerCase(const std::string& S)
{
    std::string r = S;
    for (char& c : r) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return r;
}

std::string AnsiUpperCase(const std::string& S) { return MapCase(S, true); }
std::string AnsiLowerCase(const std::string& S) { return MapCase(S, false); }

Integer CompareText(std::string_view S1, std::string_view S2)
{
    size_t n = std::min(S1.size(), S2.size());
    for (size_t i = 0; i < n; ++i) {
        int a = static_cast<unsigned char>(UpperAscii(S1[i]));
        int b = static_cast<unsigned char>(UpperAscii(S2[i]));
        if (a != b) return a - b;
    }
    return static_cast<Integer>(S1.size()) - static_cast<Integer>(S2.size());
}

Integer CompareStr(std::string_view S1, std::string_view S2)
{
    int c = S1.compare(S2);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool SameText(std::string_view S1, std::string_view S2) { return S1.size() == S2.size() && CompareText(S1, S2) == 0; }

Integer AnsiCompareText(const std::string& S1, const std::string& S2)
{
    return CompareStr(AnsiUpperCase(S1), AnsiUpperCase(S2));
}

std::string StringReplace(const std::string& S, const std::string& AOldPattern, const std::string& ANewPattern,
                          TReplaceFlags AFlags)
{
    if (AOldPattern.empty()) return S;
    bool ignore_case = AFlags.Contains(rfIgnoreCase);
    std::string search = ignore_case ? UpperCase(S) : S;
    std::string pattern = ignore_case ? UpperCase(AOldPattern) : AOldPattern;
    std::string out;
    size_t from = 0;
    while (true) {
        size_t p = search.find(pattern, from);
        if (p == std::string::npos) break;
        out.append(S, from, p - from);
        out += ANewPattern;
        from = p + pattern.size();
        if (!AFlags.Contains(rfReplaceAll)) break;
    }
    out.append(S, from, std::string::npos);
    return out;
}

std::string QuotedStr(const std::string& S)
{
    std::string out = "'";
    for (char c : S) {
        out += c;
        if (c == '\'') out += c;
    }
    return out + "'";
}

std::string ExtractQuotedStr(const std::string& S, size_t& APos, char AQuote)
{
    if (APos >= S.size() || S[APos] != AQuote) return "";
    std::string out;
    size_t i = APos + 1;
    while (i < S.size()) {
        if (S[i] == AQuote) {
            if (i + 1 < S.size() && S[i + 1] == AQuote) {
                out += AQuote;
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        out += S[i++];
    }
    APos = i;
    return out;
}

std::string AdjustLineBreaks(const std::string& S)
{
    std::string out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == '\r') {
            out += '\n';
            if (i + 1 < S.size() && S[i + 1] == '\n') ++i;
        } else {
            out += S[i];
        }
    }
    return out;
}

bool MatchesMask(const std::string& AFileName, const std::string& AMask)
{
    size_t n = 0, m = 0, star = std::string::npos, resume = 0;
    while (n < AFileName.size()) {
        if (m < AMask.size() && (AMask[m] == '?' || UpperAscii(AMask[m]) == UpperAscii(AFileName[n]))) {
            ++n;
            ++m;
        } else if (m < AMask.size() && AMask[m] == '*') {
            star = m++;
            resume = n;
        } else if (star != std::string::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < AMask.size() && AMask[m] == '*') ++m;
    return m == AMask.size();
}

// ---- Dates and times ---------------------------------------------------------------------------------------------

bool IsLeapYear(Word AYear) { return AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0); }

bool TryEncodeDate(Word AYear, Word AMonth, Word ADay, TDateTime& AValue)
{
    if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1 || ADay > DaysInMonth(AYear, AMonth)) {
        return false;
    }
    AValue = static_cast<double>(DaysFromCivil(AYear, AMonth, ADay) + UnixDateDelta);
    return true;
}

bool TryEncodeTime(Word AHour, Word AMin, Word ASec, Word AMSec, TDateTime& AValue)
{
    if (AHour >= 24 || AMin >= 60 || ASec >= 60 || AMSec >= 1000) return false;
    AValue = ((AHour * 3600.0 + AMin * 60.0 + ASec) * 1000.0 + AMSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(Word AYear, Word AMonth, Word ADay)
{
    TDateTime v;
    if (!TryEncodeDate(AYear, AMonth, ADay, v)) throw EConvertError("Invalid argument to date encode");
    return v;
}

TDateTime EncodeTime(Word AHour, Word AMin, Word ASec, Word AMSec)
{
    TDateTime v;
    if (!TryEncodeTime(AHour, AMin, ASec, AMSec, v)) throw EConvertError("Invalid argument to time encode");
    return v;
}

void DecodeDate(TDateTime AValue, Word& AYear, Word& AMonth, Word& ADay)
{
    int64_t days, ms;
    SplitDateTime(AValue, days, ms);
    int64_t y;
    unsigned m, d;
    CivilFromDays(days - UnixDateDelta, y, m, d);
    AYear = static_cast<Word>(std::clamp<int64_t>(y, 0, 65535));
    AMonth = static_cast<Word>(m);
    ADay = static_cast<Word>(d);
}

void DecodeTime(TDateTime AValue, Word& AHour, Word& AMin, Word& ASec, Word& AMSec)
{
    int64_t days, ms;
    SplitDateTime(AValue, days, ms);
    AHour = static_cast<Word>(ms / 3600000);
    AMin = static_cast<Word>(ms / 60000 % 60);
    ASec = static_cast<Word>(ms / 1000 % 60);
    AMSec = static_cast<Word>(ms % 1000);
}

Word DayOfWeek(TDateTime AValue)
{
    int64_t days, ms;
    SplitDateTime(AValue, days, ms);
    int64_t unix_days = days - UnixDateDelta;
    int64_t dow = ((unix_days + 4) % 7 + 7) % 7;  // 1970-01-01 was a Thursday
    return static_cast<Word>(dow + 1);
}

TDateTime Now()
{
    struct timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return TimespecToDateTime(ts.tv_sec, ts.tv_nsec);
}

TDateTime Date() { return std::floor(Now()); }

TDateTime Time()
{
    TDateTime n = Now();
    return n - std::floor(n);
}

Integer LocalTimeBias()
{
    time_t now = time(nullptr);
    struct tm t{};
    localtime_r(&now, &t);
    return static_cast<Integer>(-t.tm_gmtoff / 60);
}

std::string FormatDateTime(const std::string& AFormat, TDateTime AValue)
{
    std::string out;
    TDateFormatter(AValue).Append(AFormat.empty() ? "c" : AFormat, out);
    return out;
}

std::string DateTimeToStr(TDateTime AValue) { return FormatDateTime("c", AValue); }
std::string DateToStr(TDateTime AValue) { return FormatDateTime(ShortDateFormat, AValue); }
std::string TimeToStr(TDateTime AValue) { return FormatDateTime(LongTimeFormat, AValue); }

// ---- Files and paths -----------------------------------------------------------------------------------------------

std::string ExtractFilePath(const std::string& AFileName)
{
    size_t p = AFileName.rfind(PathDelim);
    return p == std::string::npos ? "" : AFileName.substr(0, p + 1);
}

std::string ExtractFileDir(const std::string& AFileName)
{
    size_t p = AFileName.rfind(PathDelim);
    if (p == std::string::npos) return "";
    return p == 0 ? "/" : AFileName.substr(0, p);
}

std::string ExtractFileName(const std::string& AFileName)
{
    size_t p = AFileName.rfind(PathDelim);
    return p == std::string::npos ? AFileName : AFileName.substr(p + 1);
}

std::string ExtractFileExt(const std::string& AFileName)
{
    size_t p = AFileName.find_last_of(std::string(".") + PathDelim);
    return p != std::string::npos && AFileName[p] == '.' ? AFileName.substr(p) : "";
}

std::string ChangeFileExt(const std::string& AFileName, const std::string& AExtension)
{
    size_t p = AFileName.find_last_of(std::string(".") + PathDelim);
    if (p == std::string::npos || AFileName[p] != '.') return AFileName + AExtension;
    return AFileName.substr(0, p) + AExtension;
}

std::string IncludeTrailingPathDelimiter(const std::string& S)
{
    return !S.empty() && S.back() == PathDelim ? S : S + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& S)
{
    return !S.empty() && S.back() == PathDelim ? S.substr(0, S.size() - 1) : S;
}

std::string GetCurrentDir()
{
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? std::string() : p.string();
}

std::string ExpandFileName(const std::string& AFileName)
{
    if (AFileName.empty()) return "";
    fs::path p(AFileName);
    if (p.is_relative()) p = fs::path(GetCurrentDir()) / p;
    return p.lexically_normal().string();
}

bool FileExists(const std::string& AFileName)
{
    struct stat st{};
    return !AFileName.empty() && stat(AFileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& ADirectory)
{
    struct stat st{};
    return !ADirectory.empty() && stat(ADirectory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& ADirectory)
{
    if (ADirectory.empty()) return false;
    std::error_code ec;
    fs::create_directories(fs::path(ExcludeTrailingPathDelimiter(ADirectory)), ec);
    return DirectoryExists(ADirectory);
}

bool CreateDir(const std::string& ADirectory) { return mkdir(ADirectory.c_str(), 0777) == 0; }
bool RemoveDir(const std::string& ADirectory) { return rmdir(ADirectory.c_str()) == 0; }

bool DeleteFile(const std::string& AFileName)
{
    struct stat st{};
    if (lstat(AFileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return unlink(AFileName.c_str()) == 0;
}

bool RenameFile(const std::string& AOldName, const std::string& ANewName)
{
    if (renameat2(AT_FDCWD, AOldName.c_str(), AT_FDCWD, ANewName.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace flag: check first, accepting the small race.
    struct stat st{};
    if (lstat(ANewName.c_str(), &st) == 0) return false;
    return rename(AOldName.c_str(), ANewName.c_str()) == 0;
}

bool FileAge(const std::string& AFileName, TDateTime& AFileDateTime)
{
    struct stat st{};
    if (stat(AFileName.c_str(), &st) != 0) return false;
    AFileDateTime = TimespecToDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return true;
}

Int64 FileSizeByName(const std::string& AFileName)
{
    struct stat st{};
    if (stat(AFileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return static_cast<Int64>(st.st_size);
}

struct TSearchState {
    std::vector<TSearchRec> Found;
    size_t Next = 0;
};

Integer FindFirst(const std::string& AMask, Integer AAttr, TSearchRec& F)
{
    FindClose(F);
    std::string dir = ExtractFilePath(AMask);
    std::string mask = ExtractFileName(AMask);
    auto state = std::make_shared<TSearchState>();
    Integer exclude = ~AAttr & (faHidden | faSysFile | faDirectory);
    if (DIR* d = opendir(dir.empty() ? "." : dir.c_str())) {
        while (struct dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == ".." || !MatchesMask(name, mask)) continue;
            struct stat st{};
            if (stat((dir + name).c_str(), &st) != 0) continue;
            TSearchRec rec;
            rec.Name = name;
            rec.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
            rec.Attr = S_ISDIR(st.st_mode) ? faDirectory : (S_ISREG(st.st_mode) ? faArchive : faSysFile);
            if (name[0] == '.') rec.Attr |= faHidden;
            if (access((dir + name).c_str(), W_OK) != 0) rec.Attr |= faReadOnly;
            rec.Time = TimespecToDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
            if ((rec.Attr & exclude) == 0) state->Found.push_back(std::move(rec));
        }
        closedir(d);
    }
    // The directory order of the file system is arbitrary; names in order keep listings stable.
    std::sort(state->Found.begin(), state->Found.end(),
              [](const TSearchRec& a, const TSearchRec& b) { return CompareText(a.Name, b.Name) < 0; });
    F.State = state;
    return FindNext(F);
}

Integer FindNext(TSearchRec& F)
{
    if (!F.State || F.State->Next >= F.State->Found.size()) return ENOENT;
    auto state = F.State;
    F = state->Found[state->Next++];
    F.State = state;
    return 0;
}

void FindClose(TSearchRec& F) { F.State.reset(); }

void SetAtomicWriteHook(std::function<void(const std::string& ATempName)> AHook)
{
    std::lock_guard lock(HookMutex());
    AtomicWriteHook() = std::move(AHook);
}

bool WriteFileAtomically(const std::string& AFileName, std::string_view AContents)
{
    // Write through a symbolic link to its target instead of replacing the link.
    std::string target = AFileName;
    struct stat st{};
    if (lstat(AFileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(AFileName.c_str(), nullptr)) {
            target = real;
            free(real);
        }
    }
    bool existed = stat(target.c_str(), &st) == 0;
    if (existed && !S_ISREG(st.st_mode)) return false;
    mode_t mode = existed ? (st.st_mode & 07777) : (0666 & ~ProcessUmask());

    std::string dir = ExtractFilePath(target);
    std::string temp = dir + "." + ExtractFileName(target) + ".tmp-XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, AContents) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) {
        std::function<void(const std::string&)> hook;
        {
            std::lock_guard lock(HookMutex());
            hook = AtomicWriteHook();
        }
        if (hook) hook(temp);
        ok = rename(temp.c_str(), target.c_str()) == 0;
    }
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; failing here does not undo the write.
    int dfd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

std::string SysErrorMessage(int AErrorCode)
{
    char buf[256];
    return strerror_r(AErrorCode, buf, sizeof buf);
}
