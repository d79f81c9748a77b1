#pragma once
// Conversions between platform colours and skin pixels, and moves of a skin pixel in the hue, saturation and
// lightness model (each in 0..1, hue 0..1 for a full turn).
#include <cstdint>

#include "platform/gdi/colors.h"
#include "platform/rtl/types.h"
#include "skin/core/pixel_kernels.h"

// A platform RGB value $00BBGGRR becomes $FFRRGGBB.
TspColor RGBToSpColor(uint32_t ARGB);
// A platform colour (system colours resolved) with the given alpha byte.
TspColor ColorToSpColor(TColor Color, Byte Alpha);
// R, G and B clamped to 0..255; A taken as its low byte.
TspColor MakeSpColor(Integer R, Integer G, Integer B, Integer A);
void SpColorToHSL(TspColor Color, float& H, float& S, float& L);
TspColor HSLToSpColor(float H, float S, float L);
TspColor SetColorHue(TspColor Color, Integer Hue);
// Saturation and hue wrap once past either end instead of clamping.
TspColor ChangeColorSat(TspColor Color, Integer Delta);
TspColor ChangeColorHue(TspColor Color, Integer Delta);
TspColor ChangeColorBrightness(TspColor Color, Integer Delta);
