#pragma once
// The catalogue's icons: a rounded tile in a colour with a short white label, written as a 32 x 32 RGBA PNG.
#include <cstdint>
#include <string>

inline constexpr int kIconSize = 32;

// Throws std::runtime_error when the label holds a character the small font lacks or the file cannot be written.
void WriteIcon(const std::string& AFileName, const std::string& ALabel, uint32_t ARgb);
