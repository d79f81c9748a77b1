#pragma once
// The readable style source of a drawn skin: palette, fonts, metrics and the text/background pairs whose contrast
// must hold. A small ini-like text: "[section]" lines, "key = value" lines, "#" comments.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TContrastPair {
    std::string Name, Text, Background;  // Text and Background are palette names
};

class TSkinStyle {
public:
    // Throws std::runtime_error naming the file and line for a file that cannot be read or a malformed line.
    static TSkinStyle Load(const std::string& AFileName);

    // Each throws std::runtime_error naming the missing key.
    std::string Text(const std::string& ASection, const std::string& AKey) const;
    uint32_t Colour(const std::string& AName) const;  // 0xRRGGBB from "[palette]"
    int Metric(const std::string& AName) const;       // from "[metrics]"
    std::string FontFace() const { return Text("fonts", "face"); }
    int FontHeight(const std::string& AKey = "height") const;
    const std::vector<TContrastPair>& ContrastPairs() const { return FContrast; }

private:
    std::map<std::string, std::map<std::string, std::string>> FValues;
    std::vector<TContrastPair> FContrast;
};

// The relative luminance of an sRGB colour and the contrast ratio of two colours (1 to 21).
double RelativeLuminance(uint32_t ARgb);
double ContrastRatio(uint32_t ARgb1, uint32_t ARgb2);
