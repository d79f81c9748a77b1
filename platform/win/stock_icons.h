#pragma once
// The stock icons (application, error, question, warning, information) drawn by code at any size.
#include <cstdint>
#include <vector>

namespace win {

// Straight 0xAARRGGBB pixels, ASize x ASize, rows top-down; empty for an unknown IDI_ number.
std::vector<uint32_t> DrawStockIcon(uintptr_t AId, int ASize);

}  // namespace win
