// String helpers: trimming, 1-based copy and search, case mapping and comparison, quoting, masks.
#include "platform/rtl/sysutils.h"
#include "platform/rtl/sysutils_internal.h"
#include "platform/rtl/utf8.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include <locale.h>

using sysutils_internal::UpperAscii;

namespace {

// ---- Case mapping ----------------------------------------------------------------------------------------------

locale_t Utf8Locale()
{
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        return l;
    }();
    return loc;
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
        char32_t cp = Utf8Next(S, i, &valid);
        if (!valid) {
            out += S[start];
            continue;
        }
        wint_t mapped = AUpper ? towupper_l(cp, loc) : towlower_l(cp, loc);
        Utf8Append(static_cast<char32_t>(mapped), out);
    }
    return out;
}

}  // namespace

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
