#include "skin/core/color_helpers.h"

#include <algorithm>
#include <cmath>

#include "skin/core/effect_bitmap.h"

TspColor RGBToSpColor(uint32_t ARGB)
{
    const uint32_t r = ARGB & 0xFF, g = (ARGB >> 8) & 0xFF, b = (ARGB >> 16) & 0xFF;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

TspColor ColorToSpColor(TColor Color, Byte Alpha)
{
    return (RGBToSpColor(static_cast<uint32_t>(ColorToRGB(Color))) & 0x00FFFFFF) | (TspColor{Alpha} << 24);
}

TspColor MakeSpColor(Integer R, Integer G, Integer B, Integer A)
{
    const auto byte = [](Integer v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return (static_cast<uint32_t>(A & 0xFF) << 24) | (byte(R) << 16) | (byte(G) << 8) | byte(B);
}

void SpColorToHSL(TspColor Color, float& H, float& S, float& L)
{
    const double r = ((Color >> 16) & 0xFF) / 255.0, g = ((Color >> 8) & 0xFF) / 255.0, b = (Color & 0xFF) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    L = static_cast<float>(l);
    if (mx == mn) {
        H = 0;
        S = 0;
        return;
    }
    const double d = mx - mn;
    S = static_cast<float>(l >= 0.5 ? d / (2 - mx - mn) : d / (mx + mn));
    double h;
    if (r == mx)
        h = (g - b) / d;
    else if (g == mx)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    h /= 6;
    if (h < 0) h += 1;
    H = static_cast<float>(h);
}

namespace {

Integer HueChannel(double m1, double m2, double h)
{
    h -= std::floor(h);
    double value;
    if (6 * h < 1)
        value = m1 + (m2 - m1) * 6 * h;
    else if (2 * h < 1)
        value = m2;
    else if (3 * h < 2)
        value = m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
    else
        value = m1;
    return RoundHalfEven(value * 255);
}

// One wrap past either end, not a clamp.
double WrapOnce(int64_t v)
{
    if (v > 255) v -= 255;
    if (v < 0) v += 255;
    return static_cast<double>(v);
}

}  // namespace

TspColor HSLToSpColor(float H, float S, float L)
{
    if (S == 0) {
        const Integer v = RoundHalfEven(static_cast<double>(L) * 255);
        return MakeSpColor(v, v, v, 255);
    }
    const double h = H, s = S, l = L;
    const double m2 = l > 0.5 ? l + s - l * s : l * (1 + s);
    const double m1 = 2 * l - m2;
    return MakeSpColor(HueChannel(m1, m2, h + 1.0 / 3.0), HueChannel(m1, m2, h), HueChannel(m1, m2, h - 1.0 / 3.0),
                       255);
}

TspColor SetColorHue(TspColor Color, Integer Hue)
{
    float h, s, l;
    SpColorToHSL(Color, h, s, l);
    return HSLToSpColor(static_cast<float>(std::clamp(Hue, 0, 255) / 255.0), s, l);
}

TspColor ChangeColorSat(TspColor Color, Integer Delta)
{
    float h, s, l;
    SpColorToHSL(Color, h, s, l);
    const double v = WrapOnce(int64_t{RoundHalfEven(static_cast<double>(s) * 255)} + Delta);
    return HSLToSpColor(h, static_cast<float>(v / 255.0), l);
}

TspColor ChangeColorHue(TspColor Color, Integer Delta)
{
    float h, s, l;
    SpColorToHSL(Color, h, s, l);
    const double v = WrapOnce(int64_t{RoundHalfEven(static_cast<double>(h) * 255)} + Delta);
    return HSLToSpColor(static_cast<float>(v / 255.0), s, l);
}

TspColor ChangeColorBrightness(TspColor Color, Integer Delta)
{
    // Every channel ends clamped to 0..255, so a larger step changes nothing and must not overflow.
    Delta = std::clamp(Delta, -255, 255);
    return MakeSpColor(static_cast<Integer>((Color >> 16) & 0xFF) + Delta,
                       static_cast<Integer>((Color >> 8) & 0xFF) + Delta, static_cast<Integer>(Color & 0xFF) + Delta,
                       255);
}
