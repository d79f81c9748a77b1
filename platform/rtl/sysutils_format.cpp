// Format and the number conversions: integers, floats and their text.
#include "platform/rtl/sysutils.h"
#include "platform/rtl/utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

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
