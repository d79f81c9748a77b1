#include "style_source.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace {

std::string Trimmed(const std::string& AText)
{
    const auto first = AText.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return AText.substr(first, AText.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

TSkinStyle TSkinStyle::Load(const std::string& AFileName)
{
    std::ifstream in(AFileName);
    if (!in) throw std::runtime_error(AFileName + ": cannot be read");
    TSkinStyle style;
    std::string section, line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        const auto fail = [&](const std::string& AWhat) {
            return std::runtime_error(AFileName + ":" + std::to_string(number) + ": " + AWhat);
        };
        if (line.front() == '[') {
            if (line.back() != ']') throw fail("a section line ends with ']'");
            section = Trimmed(line.substr(1, line.size() - 2));
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos || section.empty()) throw fail("expected 'key = value' inside a section");
        const std::string key = Trimmed(line.substr(0, equals)), value = Trimmed(line.substr(equals + 1));
        if (section == "contrast") {
            const auto on = value.find(" on ");
            if (on == std::string::npos) throw fail("a contrast pair reads 'text on background'");
            style.FContrast.push_back({key, Trimmed(value.substr(0, on)), Trimmed(value.substr(on + 4))});
        }
        style.FValues[section][key] = value;
    }
    // Every pair must name colours of the palette, so that a typing slip is no silent pass.
    for (const TContrastPair& pair : style.FContrast) {
        style.Colour(pair.Text);
        style.Colour(pair.Background);
    }
    return style;
}

std::string TSkinStyle::Text(const std::string& ASection, const std::string& AKey) const
{
    const auto section = FValues.find(ASection);
    if (section != FValues.end()) {
        const auto value = section->second.find(AKey);
        if (value != section->second.end()) return value->second;
    }
    throw std::runtime_error("the style has no '" + AKey + "' in [" + ASection + "]");
}

uint32_t TSkinStyle::Colour(const std::string& AName) const
{
    const std::string text = Text("palette", AName);
    if (text.size() != 7 || text[0] != '#' ||
        !std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isxdigit(uint8_t(c)); }))
        throw std::runtime_error("palette colour '" + AName + "' is not #RRGGBB: " + text);
    return uint32_t(std::stoul(text.substr(1), nullptr, 16));
}

int TSkinStyle::Metric(const std::string& AName) const { return std::stoi(Text("metrics", AName)); }

int TSkinStyle::FontHeight(const std::string& AKey) const { return std::stoi(Text("fonts", AKey)); }

double RelativeLuminance(uint32_t ARgb)
{
    auto linear = [](uint32_t AChannel) {
        const double c = AChannel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear((ARgb >> 16) & 0xFF) + 0.7152 * linear((ARgb >> 8) & 0xFF) + 0.0722 * linear(ARgb & 0xFF);
}

double ContrastRatio(uint32_t ARgb1, uint32_t ARgb2)
{
    const double a = RelativeLuminance(ARgb1), b = RelativeLuminance(ARgb2);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}
