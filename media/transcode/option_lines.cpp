#include "media/transcode/option_lines.h"

#include "platform/rtl/sysutils.h"

std::string UnifyLineBreaks(const std::string& AText, bool ACRLFLiteral)
{
    const std::string text = Trim(AText);
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            result += '\n';
        } else if (ACRLFLiteral && text.compare(i, 6, "<CRLF>") == 0) {
            result += '\n';
            i += 5;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::vector<TOptionLine> ReadOptionLines(const std::string& AText)
{
    std::vector<TOptionLine> lines;
    const std::string text = UnifyLineBreaks(AText, true);
    if (text.empty()) return lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            lines.push_back({line, std::string()});
        else
            lines.push_back({line.substr(0, equals), line.substr(equals + 1)});
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}
