#pragma once
// Stepping through UTF-8 text by what a user sees as one character: a code point with the combining marks,
// variation selectors and joiners that follow it. A byte that is not valid UTF-8 counts as one character, so
// damaged text can still be edited. Words are runs of letters, digits and any non-ASCII non-blank character.
#include <cstddef>
#include <string>
#include <string_view>

namespace edittext {

// The code point starting at APos and its length in bytes (an invalid byte: U+FFFD, length 1).
char32_t DecodeAt(std::string_view AText, size_t APos, size_t* ALength);
bool IsCombining(char32_t ACode);

// The next and previous character boundaries; APos itself must be a boundary.
size_t NextChar(std::string_view AText, size_t APos);
size_t PrevChar(std::string_view AText, size_t APos);
// APos moved back to the boundary at or before it (for offsets from outside).
size_t FloorBoundary(std::string_view AText, size_t APos);

// Ctrl+Right: past the rest of this word and the blanks after it. Ctrl+Left: back over blanks, then the word.
size_t NextWord(std::string_view AText, size_t APos);
size_t PrevWord(std::string_view AText, size_t APos);
// The word (or run of blanks, or single punctuation character) around APos, as [first, last).
void WordAt(std::string_view AText, size_t APos, size_t& AFirst, size_t& ALast);

size_t CountCodePoints(std::string_view AText);
// The byte offset after ACount code points (the end when there are fewer), backed off to a character boundary.
size_t BytesOfCodePoints(std::string_view AText, size_t ACount);

}  // namespace edittext
