#include "app/ui/message_lines.h"

#include <vector>

namespace {

// Bytes that start a UTF-8 character: a piece never ends inside one.
bool StartsCharacter(unsigned char AByte) { return (AByte & 0xC0) != 0x80; }

// The longest start of AWord that fits, at least one character; after a "/" when one fits.
size_t FittingPrefix(const std::string& AWord, int AWidth, const std::function<int(const std::string&)>& AWidthOf)
{
    size_t fits = 0, slash = 0;
    for (size_t end = 1; end <= AWord.size(); ++end) {
        if (end < AWord.size() && !StartsCharacter(static_cast<unsigned char>(AWord[end]))) continue;
        if (AWidthOf(AWord.substr(0, end)) > AWidth) break;
        fits = end;
        if (AWord[end - 1] == '/') slash = end;
    }
    if (fits == 0) {  // not even one character fits: it takes a line of its own
        fits = 1;
        while (fits < AWord.size() && !StartsCharacter(static_cast<unsigned char>(AWord[fits]))) ++fits;
    }
    return slash > 0 && fits < AWord.size() ? slash : fits;
}

void BreakParagraph(const std::string& AParagraph, int AWidth, const std::function<int(const std::string&)>& AWidthOf,
                    std::vector<std::string>& ALines)
{
    std::string line;
    size_t i = 0;
    while (i < AParagraph.size()) {
        const size_t wordStart = AParagraph.find_first_not_of(' ', i);
        if (wordStart == std::string::npos) break;
        size_t wordEnd = AParagraph.find(' ', wordStart);
        if (wordEnd == std::string::npos) wordEnd = AParagraph.size();
        std::string word = AParagraph.substr(wordStart, wordEnd - wordStart);
        i = wordEnd;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (AWidthOf(joined) <= AWidth) {
            line = joined;
            continue;
        }
        if (!line.empty()) ALines.push_back(line);
        line.clear();
        while (AWidthOf(word) > AWidth) {
            const size_t piece = FittingPrefix(word, AWidth, AWidthOf);
            if (piece >= word.size()) break;
            ALines.push_back(word.substr(0, piece));
            word.erase(0, piece);
        }
        line = word;
    }
    ALines.push_back(line);
}

}  // namespace

std::string BreakIntoLines(const std::string& AText, int AWidth, const std::function<int(const std::string&)>& AWidthOf)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= AText.size()) {
        size_t end = AText.find('\n', start);
        if (end == std::string::npos) end = AText.size();
        std::string paragraph = AText.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        BreakParagraph(paragraph, AWidth, AWidthOf, lines);
        start = end + 1;
    }
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
    return out;
}
