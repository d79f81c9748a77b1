#pragma once
// The built-in presets: option lines for the H.264 encoder, looked up by name without regard to case.
#include <string>
#include <vector>

struct TBuiltInPreset {
    const char* Name;
    const char* Text;
};

// Every row, in table order.
const std::vector<TBuiltInPreset>& BuiltInPresets();
// The text and its label (the row's own name) of the row named AName; false when there is none.
bool FindBuiltInPreset(const std::string& AName, std::string& AText, std::string& ALabel);
