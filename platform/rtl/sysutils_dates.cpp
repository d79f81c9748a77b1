// TDateTime: encoding, decoding, the clock and FormatDateTime.
#include "platform/rtl/sysutils.h"
#include "platform/rtl/sysutils_internal.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <time.h>

using sysutils_internal::TimespecToDateTime;
using sysutils_internal::UpperAscii;

namespace {

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

}  // namespace

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

namespace sysutils_internal {

TDateTime TimespecToDateTime(time_t ASeconds, long ANanoseconds)
{
    struct tm t{};
    localtime_r(&ASeconds, &t);
    TDateTime date = static_cast<double>(DaysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) + UnixDateDelta);
    double ms = (t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec) * 1000.0 + static_cast<double>(ANanoseconds / 1000000);
    return date + ms / MSecsPerDay;
}

}  // namespace sysutils_internal
