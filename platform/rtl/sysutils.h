#pragma once
// String, number, date and file helpers in the shape the class library gives them. Strings are UTF-8 held in
// std::string; the 1-based helpers count bytes, as the class library's 8-bit strings do. Numbers are written and
// parsed in the C locale whatever the process locale is. The path delimiter is '/'.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/set.h"
#include "platform/rtl/types.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

// ---- Format ----------------------------------------------------------------------------------------------------

// One argument of Format: an integer, a float, a text, a character or a pointer. A text is held as a view, so a
// TVarRec lives no longer than the call it is written in.
class TVarRec {
public:
    enum TKind { vkInteger, vkUnsigned, vkFloat, vkString, vkChar, vkPointer };

    template <typename T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, char> && !std::is_same_v<T, bool>)
    TVarRec(T AValue)
    {
        if constexpr (std::is_signed_v<T>) {
            FKind = vkInteger;
            FInt = AValue;
        } else {
            FKind = vkUnsigned;
            FUInt = AValue;
        }
    }
    TVarRec(bool AValue) : FKind(vkInteger), FInt(AValue ? 1 : 0) {}
    TVarRec(char AValue) : FKind(vkChar), FChar(AValue) {}
    TVarRec(double AValue) : FKind(vkFloat), FFloat(AValue) {}
    TVarRec(float AValue) : FKind(vkFloat), FFloat(AValue) {}
    TVarRec(const char* AValue) : FKind(vkString), FStr(AValue ? AValue : "") {}
    TVarRec(std::string_view AValue) : FKind(vkString), FStr(AValue) {}
    TVarRec(const std::string& AValue) : FKind(vkString), FStr(AValue) {}
    TVarRec(const void* AValue) : FKind(vkPointer), FPtr(AValue) {}
    TVarRec(std::nullptr_t) : FKind(vkPointer), FPtr(nullptr) {}

    TKind Kind() const { return FKind; }
    int64_t AsInt() const { return FInt; }
    uint64_t AsUInt() const { return FUInt; }
    double AsFloat() const { return FFloat; }
    std::string_view AsString() const { return FStr; }
    char AsChar() const { return FChar; }
    const void* AsPointer() const { return FPtr; }

private:
    TKind FKind;
    union {
        int64_t FInt;
        uint64_t FUInt;
        double FFloat;
        char FChar;
        const void* FPtr;
    };
    std::string_view FStr;
};

using TVarRecList = std::initializer_list<TVarRec>;

// "%" ["-"] [width] ["." precision] type, types d u x p s c f g e n and "%%"; width and precision may be "*".
// %x is upper-case hex; %.Nd pads with zeros; %f defaults to 2 decimals, %g to 15 significant digits.
// A type that does not fit its argument, or a missing argument, raises EConvertError.
std::string Format(std::string_view AFormat, TVarRecList AArgs = {});

// ---- Integers and floats ---------------------------------------------------------------------------------------

std::string IntToStr(int64_t AValue);
// Negative values show their two's complement at the width of their type.
std::string IntToHex(Integer AValue, int ADigits);
std::string IntToHex(Int64 AValue, int ADigits);
std::string IntToHex(Cardinal AValue, int ADigits);
std::string IntToHex(uint64_t AValue, int ADigits);
// Decimal with optional sign, or hex as "$FF" / "0xFF"; leading blanks allowed. Out of range is not valid.
Integer StrToInt(const std::string& S);
Integer StrToIntDef(const std::string& S, Integer ADefault);
bool TryStrToInt(const std::string& S, Integer& AValue);
Int64 StrToInt64(const std::string& S);
Int64 StrToInt64Def(const std::string& S, Int64 ADefault);
bool TryStrToInt64(const std::string& S, Int64& AValue);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
inline constexpr char DecimalSeparator = '.';
inline constexpr char DateSeparator = '-';
inline constexpr char TimeSeparator = ':';

double StrToFloat(const std::string& S);
double StrToFloatDef(const std::string& S, double ADefault);
bool TryStrToFloat(const std::string& S, double& AValue);
std::string FloatToStr(double AValue);
std::string FloatToStrF(double AValue, TFloatFormat AFormat, int APrecision, int ADigits);
std::string BoolToStr(bool AValue, bool AUseBoolStrs = false);

// Half to even, as the class library's Round.
Int64 Round(double AValue);
Int64 Trunc(double AValue);
// (ANumber * ANumerator) / ADenominator with a 64-bit product, halves away from zero; a zero denominator or a
// result outside Integer gives -1.
Integer MulDiv(Integer ANumber, Integer ANumerator, Integer ADenominator);

template <typename T>
constexpr T Min(T A, T B) { return B < A ? B : A; }
template <typename T>
constexpr T Max(T A, T B) { return A < B ? B : A; }

// ---- Strings ---------------------------------------------------------------------------------------------------

// Removes blanks and control characters (everything up to ' ').
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);
// 1-based, clipped to the string: a start below 1 counts from 1, a count past the end stops there.
std::string Copy(const std::string& S, Integer AIndex, Integer ACount);
// 1-based index of the first occurrence, 0 when absent or when ASubStr is empty.
Integer Pos(std::string_view ASubStr, std::string_view S);
void Delete(std::string& S, Integer AIndex, Integer ACount);
void Insert(const std::string& ASource, std::string& S, Integer AIndex);
std::string StringOfChar(char C, Integer ACount);

std::string UpperCase(const std::string& S);  // ASCII only
std::string LowerCase(const std::string& S);  // ASCII only
std::string AnsiUpperCase(const std::string& S);  // every script, by the C.UTF-8 case mapping
std::string AnsiLowerCase(const std::string& S);
// ASCII case-insensitive comparison, letters folded to upper case; <0, 0, >0.
Integer CompareText(std::string_view S1, std::string_view S2);
Integer CompareStr(std::string_view S1, std::string_view S2);
bool SameText(std::string_view S1, std::string_view S2);
Integer AnsiCompareText(const std::string& S1, const std::string& S2);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
std::string StringReplace(const std::string& S, const std::string& AOldPattern, const std::string& ANewPattern,
                          TReplaceFlags AFlags);
std::string QuotedStr(const std::string& S);
// Reads a string quoted with AQuote starting at S[APos] (0-based), doubled quotes standing for one; APos moves past
// the closing quote. Empty when S[APos] is not the quote.
std::string ExtractQuotedStr(const std::string& S, size_t& APos, char AQuote);
// Every line break (CR, LF, CR LF) becomes LF.
std::string AdjustLineBreaks(const std::string& S);
// Case-insensitive wildcard match with '*' and '?', as file masks are matched.
bool MatchesMask(const std::string& AFileName, const std::string& AMask);

// ---- Dates and times -------------------------------------------------------------------------------------------

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;
inline constexpr double MSecsPerDay = 86400000.0;

TDateTime Now();
TDateTime Date();
TDateTime Time();
// Raises EConvertError on an invalid date or time.
TDateTime EncodeDate(Word AYear, Word AMonth, Word ADay);
TDateTime EncodeTime(Word AHour, Word AMin, Word ASec, Word AMSec);
bool TryEncodeDate(Word AYear, Word AMonth, Word ADay, TDateTime& AValue);
bool TryEncodeTime(Word AHour, Word AMin, Word ASec, Word AMSec, TDateTime& AValue);
void DecodeDate(TDateTime AValue, Word& AYear, Word& AMonth, Word& ADay);
void DecodeTime(TDateTime AValue, Word& AHour, Word& AMin, Word& ASec, Word& AMSec);
Word DayOfWeek(TDateTime AValue);  // 1 = Sunday
bool IsLeapYear(Word AYear);
// Local time zone bias in minutes, UTC = local + bias, as the Windows time-zone information gives it.
Integer LocalTimeBias();

// Pattern letters: yyyy yy m mm mmm mmmm d dd ddd dddd h hh n nn s ss z zzz am/pm a/p, "c" (date and time),
// "/" and ":" separators, quoted literals. "m" right after an hour means minutes.
std::string FormatDateTime(const std::string& AFormat, TDateTime AValue);
std::string DateTimeToStr(TDateTime AValue);
std::string DateToStr(TDateTime AValue);
std::string TimeToStr(TDateTime AValue);

// ---- Files and paths -------------------------------------------------------------------------------------------

inline constexpr char PathDelim = '/';

std::string ExtractFilePath(const std::string& AFileName);  // up to and including the last '/'
std::string ExtractFileDir(const std::string& AFileName);   // the same without the trailing '/'
std::string ExtractFileName(const std::string& AFileName);
std::string ExtractFileExt(const std::string& AFileName);   // with the dot; "" when there is none
std::string ChangeFileExt(const std::string& AFileName, const std::string& AExtension);
std::string IncludeTrailingPathDelimiter(const std::string& S);
std::string ExcludeTrailingPathDelimiter(const std::string& S);
std::string ExpandFileName(const std::string& AFileName);
std::string GetCurrentDir();

bool FileExists(const std::string& AFileName);  // a file, not a folder
bool DirectoryExists(const std::string& ADirectory);
bool ForceDirectories(const std::string& ADirectory);
bool CreateDir(const std::string& ADirectory);
bool RemoveDir(const std::string& ADirectory);
bool DeleteFile(const std::string& AFileName);
// Like the system it stands in for, never replaces an existing ANewName.
bool RenameFile(const std::string& AOldName, const std::string& ANewName);
// Last modification time; false when the file does not exist.
bool FileAge(const std::string& AFileName, TDateTime& AFileDateTime);
// Size in bytes, -1 when the file does not exist.
Int64 FileSizeByName(const std::string& AFileName);

// File attributes for FindFirst.
inline constexpr Integer faReadOnly = 0x01;
inline constexpr Integer faHidden = 0x02;
inline constexpr Integer faSysFile = 0x04;
inline constexpr Integer faDirectory = 0x10;
inline constexpr Integer faArchive = 0x20;
inline constexpr Integer faAnyFile = 0x3F;

struct TSearchState;

struct TSearchRec {
    std::string Name;
    Int64 Size = 0;
    Integer Attr = 0;
    TDateTime Time = 0;
    // The rest of the listing, kept between FindNext calls.
    std::shared_ptr<TSearchState> State;
};
// AMask is a path whose last element may hold '*' and '?'. Without faDirectory in AAttr, folders are skipped;
// "." and ".." are never listed. Returns 0 on a match, non-zero when nothing (more) is found.
Integer FindFirst(const std::string& AMask, Integer AAttr, TSearchRec& F);
Integer FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// Writes a whole file so that it is either the old or the new contents after a crash: a temporary file in the same
// folder, flushed to disk, then renamed over the target. Keeps the target's permission bits. False on failure,
// with the target untouched. The temporary file's name holds the writer's process id, so that a write cut short by a
// crash is cleaned up by the next write once that process is gone.
bool WriteFileAtomically(const std::string& AFileName, std::string_view AContents);
// Called between the flush and the rename of WriteFileAtomically; crash tests stop the process there.
void SetAtomicWriteHook(std::function<void(const std::string& ATempName)> AHook);

// The system's text for an errno value.
std::string SysErrorMessage(int AErrorCode);
