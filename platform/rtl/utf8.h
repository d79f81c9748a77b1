#pragma once
// UTF-8 and code points: the one decoder and encoder every layer uses. Strings are UTF-8 throughout; these turn
// them into code points (for drawing, case mapping and typing) and back, and to and from UTF-16 for files and
// clipboards that hold it.
#include <cstddef>
#include <string>
#include <string_view>

constexpr char32_t ReplacementCharacter = U'\uFFFD';

// Decodes the character at S[AIndex] and moves AIndex past it. A malformed sequence (a stray or missing
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF, a sequence cut short) is taken as its
// first byte alone: AIndex moves by one, *AValid is set false and the byte's own value comes back.
char32_t Utf8Next(std::string_view S, size_t& AIndex, bool* AValid = nullptr);

// Appends the UTF-8 form of ACode; a surrogate or a value past U+10FFFF appends U+FFFD instead.
void Utf8Append(char32_t ACode, std::string& AOut);
std::string Utf8Encode(char32_t ACode);

// Characters in S; each malformed byte counts as one.
size_t Utf8Length(std::string_view S);
// Byte offset of the character numbered AChar (0-based); S.size() when S has fewer characters.
size_t Utf8Offset(std::string_view S, size_t AChar);
bool IsValidUtf8(std::string_view S);

// Malformed bytes become U+FFFD.
std::u32string Utf8ToUtf32(std::string_view S);
std::string Utf32ToUtf8(std::u32string_view S);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view S);
std::u16string Utf8ToUtf16(std::string_view S);
