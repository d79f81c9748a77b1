#pragma once
// Option lines: "name=value" lines in one text. The whole text is trimmed, every line-break form becomes one line
// feed, and the literal "<CRLF>" breaks a line too, so that a one-line text can carry several options.
#include <string>
#include <utility>
#include <vector>

struct TOptionLine {
    std::string Name;  // as written; callers lower-case it where the option table wants
    std::string Value;
};

std::vector<TOptionLine> ReadOptionLines(const std::string& AText);
// The text with its line breaks unified to line feeds (and "<CRLF>" turned into one), trimmed.
std::string UnifyLineBreaks(const std::string& AText, bool ACRLFLiteral);
