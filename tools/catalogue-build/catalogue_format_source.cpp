#include "catalogue_format_source.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

std::string Trimmed(const std::string& AText)
{
    const auto first = AText.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = AText.find_last_not_of(" \t\r");
    return AText.substr(first, last - first + 1);
}

[[noreturn]] void Fail(int ALine, const std::string& AWhat)
{
    throw std::runtime_error("formats source, line " + std::to_string(ALine) + ": " + AWhat);
}

std::string Expand(const std::string& AValue, const std::map<std::string, std::string>& ADefines, int ALine)
{
    std::string result;
    for (size_t i = 0; i < AValue.size();) {
        if (AValue[i] != '{') {
            result += AValue[i++];
            continue;
        }
        const auto close = AValue.find('}', i);
        if (close == std::string::npos)
            Fail(ALine, "unclosed \"{\"");
        const std::string name = AValue.substr(i + 1, close - i - 1);
        const auto found = ADefines.find(name);
        if (found == ADefines.end())
            Fail(ALine, "unknown define \"" + name + "\"");
        result += found->second;
        i = close + 1;
    }
    return result;
}

void CheckComplete(const TFormatSource& AFormat, int ALine)
{
    for (const char* key : {"id", "name", "format_ext", "audio_format"})
        if (!AFormat.contains(key) || AFormat.at(key).empty())
            Fail(ALine, std::string("the format ending here has no ") + key);
}

}  // namespace

const std::vector<std::string>& FormatKeys()
{
    static const std::vector<std::string> keys = {
        "id", "name", "description", "icon", "format_ext", "audio_format", "video_codec_name", "width", "height",
        "keep_ori_frame_rate", "frame_rate", "video_bitrate", "audio_codec_name", "sample_rate", "channel",
        "audio_bitrate", "extra_param", "video_codecs", "resolutions", "frame_rates", "video_bitrates",
        "audio_codecs", "sample_rates", "channels", "audio_bitrates"};
    return keys;
}

std::vector<TFormatSource> ParseFormatSource(const std::string& AText)
{
    std::vector<TFormatSource> formats;
    std::map<std::string, std::string> defines;
    std::istringstream in(AText);
    std::string raw;
    int line = 0;
    bool in_format = false;
    while (std::getline(in, raw)) {
        ++line;
        const std::string text = Trimmed(raw);
        if (text.empty() || text[0] == '#')
            continue;
        if (text == "[format]") {
            if (in_format)
                CheckComplete(formats.back(), line);
            formats.emplace_back();
            in_format = true;
            continue;
        }
        const auto equals = text.find('=');
        if (equals == std::string::npos)
            Fail(line, "expected \"key = value\"");
        std::string key = Trimmed(text.substr(0, equals));
        const std::string value = Expand(Trimmed(text.substr(equals + 1)), defines, line);
        if (value.find('"') != std::string::npos)
            Fail(line, "a value cannot hold a double quote");
        if (key.starts_with("define ")) {
            defines[Trimmed(key.substr(7))] = value;
            continue;
        }
        if (!in_format)
            Fail(line, "\"" + key + "\" outside a [format] block");
        const auto& keys = FormatKeys();
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            Fail(line, "unknown key \"" + key + "\"");
        if (!formats.back().emplace(key, value).second)
            Fail(line, "\"" + key + "\" given twice");
    }
    if (in_format)
        CheckComplete(formats.back(), line);
    return formats;
}

std::string FormatsFileText(const std::vector<TFormatSource>& AFormats)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<formats>\n<!-- generated; one format per line -->\n";
    for (const auto& format : AFormats) {
        text += "<format";
        for (const auto& key : FormatKeys()) {
            const auto found = format.find(key);
            text += " " + key + "=\"" + (found == format.end() ? std::string() : found->second) + "\"";
        }
        text += "/>\n";
    }
    text += "</formats>\n<!-- end -->\n";
    return text;
}

std::string Complemented(std::string AText)
{
    for (char& c : AText)
        c = static_cast<char>(~static_cast<unsigned char>(c));
    return AText;
}
