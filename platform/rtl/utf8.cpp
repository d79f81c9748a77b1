#include "platform/rtl/utf8.h"

namespace {

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c < 0xE000; }

}  // namespace

char32_t Utf8Next(std::string_view S, size_t& AIndex, bool* AValid)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(S[i]); };
    const unsigned char lead = byte(AIndex);
    int extra = lead < 0x80 ? 0 : lead < 0xC2 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF5 ? 3 : -1;
    bool valid = extra >= 0 && AIndex + static_cast<size_t>(extra) < S.size();
    char32_t code = extra <= 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; valid && k <= extra; ++k) {
        const unsigned char c = byte(AIndex + static_cast<size_t>(k));
        valid = (c & 0xC0) == 0x80;
        code = (code << 6) | (c & 0x3F);
    }
    // The shortest form only, and no surrogates or values past the last plane.
    static constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
    if (valid && extra > 0) valid = code >= kLeast[extra] && code <= 0x10FFFF && !IsSurrogate(code);
    if (AValid) *AValid = valid;
    if (!valid) {
        ++AIndex;
        return lead;
    }
    AIndex += static_cast<size_t>(extra) + 1;
    return code;
}

void Utf8Append(char32_t ACode, std::string& AOut)
{
    if (ACode > 0x10FFFF || IsSurrogate(ACode)) ACode = ReplacementCharacter;
    if (ACode < 0x80) {
        AOut += static_cast<char>(ACode);
    } else if (ACode < 0x800) {
        AOut += static_cast<char>(0xC0 | (ACode >> 6));
        AOut += static_cast<char>(0x80 | (ACode & 0x3F));
    } else if (ACode < 0x10000) {
        AOut += static_cast<char>(0xE0 | (ACode >> 12));
        AOut += static_cast<char>(0x80 | ((ACode >> 6) & 0x3F));
        AOut += static_cast<char>(0x80 | (ACode & 0x3F));
    } else {
        AOut += static_cast<char>(0xF0 | (ACode >> 18));
        AOut += static_cast<char>(0x80 | ((ACode >> 12) & 0x3F));
        AOut += static_cast<char>(0x80 | ((ACode >> 6) & 0x3F));
        AOut += static_cast<char>(0x80 | (ACode & 0x3F));
    }
}

std::string Utf8Encode(char32_t ACode)
{
    std::string out;
    Utf8Append(ACode, out);
    return out;
}

size_t Utf8Length(std::string_view S)
{
    size_t n = 0;
    for (size_t i = 0; i < S.size(); ++n) Utf8Next(S, i);
    return n;
}

size_t Utf8Offset(std::string_view S, size_t AChar)
{
    size_t i = 0;
    for (size_t n = 0; n < AChar && i < S.size(); ++n) Utf8Next(S, i);
    return i;
}

bool IsValidUtf8(std::string_view S)
{
    bool valid = true;
    for (size_t i = 0; valid && i < S.size();) Utf8Next(S, i, &valid);
    return valid;
}

std::u32string Utf8ToUtf32(std::string_view S)
{
    std::u32string out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size();) {
        bool valid = true;
        const char32_t c = Utf8Next(S, i, &valid);
        out += valid ? c : ReplacementCharacter;
    }
    return out;
}

std::string Utf32ToUtf8(std::u32string_view S)
{
    std::string out;
    out.reserve(S.size());
    for (char32_t c : S) Utf8Append(c, out);
    return out;
}

std::string Utf16ToUtf8(std::u16string_view S)
{
    std::string out;
    out.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        char32_t c = S[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (S[i + 1] - 0xDC00);
            ++i;
        }
        Utf8Append(c, out);  // a surrogate left alone comes out as U+FFFD
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view S)
{
    std::u16string out;
    out.reserve(S.size());
    for (char32_t c : Utf8ToUtf32(S)) {
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}
