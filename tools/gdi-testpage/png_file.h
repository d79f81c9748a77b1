#pragma once
// Writes 32-bit GDI pixels (0xAARRGGBB, alpha ignored: GDI leaves it 0) as an opaque 8-bit RGB PNG.
#include <cstdint>
#include <string>

bool WriteRgbPng(const std::string& APath, const uint32_t* APixels, int AWidth, int AHeight, std::string& AError);
