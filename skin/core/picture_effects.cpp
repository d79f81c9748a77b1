// Picture effects of the effect buffer: the looks of inactive windows and the helpers of glows and masks.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "skin/core/effect_bitmap.h"

namespace {

Byte ClampByte(Integer v) { return static_cast<Byte>(std::clamp(v, 0, 255)); }

// Uniform 0..n-1 from one generator for the whole process; 0 for n <= 0.
Integer RandomBelow(Integer n)
{
    static std::minstd_rand generator{std::random_device{}()};
    if (n <= 0) return 0;
    return std::uniform_int_distribution<Integer>(0, n - 1)(generator);
}

bool IsWhite(const Byte* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

}  // namespace

void TspEffectBmp::ChangeBrightness(double Kf)
{
    if (Empty()) return;
    Kf = std::clamp(Kf == Kf ? Kf : 0.0, 0.0, 1.0);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* row = ScanLinePtr(y);
        for (Integer i = 0; i < 3 * FWidth; ++i) row[i] = ClampByte(RoundHalfEven((1 - Kf) * row[i] + Kf * 255));
    }
}

void TspEffectBmp::ChangeDarkness(double Kf)
{
    if (Empty()) return;
    Kf = std::clamp(Kf == Kf ? Kf : 0.0, 0.0, 1.0);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* row = ScanLinePtr(y);
        for (Integer i = 0; i < 3 * FWidth; ++i) row[i] = ClampByte(RoundHalfEven((1 - Kf) * row[i]));
    }
}

void TspEffectBmp::Invert()
{
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* row = ScanLinePtr(y);
        for (Integer i = 0; i < 3 * FWidth; ++i) row[i] = static_cast<Byte>(255 - row[i]);
    }
}

void TspEffectBmp::GrayScale()
{
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            Byte* p = Pixel(x, y);
            const Byte g = ClampByte(RoundHalfEven(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]));
            p[0] = p[1] = p[2] = g;
        }
}

void TspEffectBmp::AddMonoNoise(Integer Amount)
{
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            Byte* p = Pixel(x, y);
            const Integer d = RandomBelow(Amount) - Amount / 2;
            for (int c = 0; c < 3; ++c) p[c] = ClampByte(p[c] + d);
        }
}

void TspEffectBmp::AddColorNoise(Integer Amount)
{
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            Byte* p = Pixel(x, y);
            // Red first, then green, then blue, as the generator's sequence is consumed.
            for (int c = 2; c >= 0; --c) p[c] = ClampByte(p[c] + RandomBelow(Amount) - Amount / 2);
        }
}

bool TspEffectBmp::ValidBlurAmount(Integer Amount) const
{
    return !Empty() && Amount >= 1 && Amount < std::min(FWidth, FHeight);
}

TspEffectBmp::BlurTaps TspEffectBmp::SplitBlurTaps(Integer x, Integer y, Integer Amount, Integer AMaskHeight) const
{
    BlurTaps taps;
    taps.up = y - Amount < 0 ? y : y - Amount;
    taps.down = y + Amount >= AMaskHeight ? FHeight - y : y + Amount;
    taps.left = x - Amount < 0 ? x : x - Amount;
    taps.right = x + Amount >= FWidth ? FWidth - x : x + Amount;
    return taps;
}

void TspEffectBmp::SplitBlurPixel(Integer x, Integer y, const BlurTaps& t)
{
    const Byte* ul = Pixel(t.left, t.up);
    const Byte* ll = Pixel(t.left, t.down);
    const Byte* ur = Pixel(t.right, t.up);
    const Byte* lr = Pixel(t.right, t.down);
    Byte* p = Pixel(x, y);
    for (int c = 0; c < 3; ++c) p[c] = static_cast<Byte>((ul[c] + ll[c] + ur[c] + lr[c]) / 4);
}

void TspEffectBmp::SplitBlur(Integer Amount)
{
    if (!ValidBlurAmount(Amount)) return;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) SplitBlurPixel(x, y, SplitBlurTaps(x, y, Amount, FHeight));
}

void TspEffectBmp::Mosaic(Integer ASize)
{
    const Integer size = std::max(ASize, 1);
    for (Integer by = 0; by < FHeight; by += size)
        for (Integer bx = 0; bx < FWidth; bx += size) {
            Byte corner[3];
            std::memcpy(corner, Pixel(bx, by), 3);
            for (Integer y = by; y < std::min(by + size, FHeight); ++y)
                for (Integer x = bx; x < std::min(bx + size, FWidth); ++x) std::memcpy(Pixel(x, y), corner, 3);
        }
}

void TspEffectBmp::Rotate90_1(TspEffectBmp& Dst) const
{
    if (Empty() || Dst.FWidth != FHeight || Dst.FHeight != FWidth) return;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) std::memcpy(Dst.Pixel(y, FWidth - 1 - x), Pixel(x, y), 3);
}

void TspEffectBmp::Rotate90_2(TspEffectBmp& Dst) const
{
    if (Empty() || Dst.FWidth != FHeight || Dst.FHeight != FWidth) return;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) std::memcpy(Dst.Pixel(FHeight - 1 - y, x), Pixel(x, y), 3);
}

void TspEffectBmp::FlipVert(TspEffectBmp& Dst) const
{
    if (!SameSize(Dst)) return;
    for (Integer y = 0; y < FHeight; ++y)
        std::memcpy(Dst.ScanLinePtr(FHeight - 1 - y), ScanLinePtr(y), static_cast<size_t>(3) * FWidth);
}

void TspEffectBmp::Wave(Integer XDIV, Integer YDIV, Integer RatioVal)
{
    if (XDIV == 0 || YDIV == 0 || Empty()) return;
    const auto copy = CreateCopy(*this);
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            const Integer sx = std::clamp(RoundHalfEven(std::sin(static_cast<double>(y) / YDIV) * RatioVal + x), 0,
                                          FWidth - 1);
            const Integer sy = std::clamp(RoundHalfEven(std::sin(static_cast<double>(x) / XDIV) * RatioVal + y), 0,
                                          FHeight - 1);
            std::memcpy(Pixel(x, y), copy->Pixel(sx, sy), 3);
        }
}

bool TspEffectBmp::MaskFits(const TspEffectBmp& Msk) const
{
    return !Empty() && !Msk.Empty() && Msk.FWidth == FWidth && Msk.FHeight >= FHeight;
}

void TspEffectBmp::MaskBlur(const TspEffectBmp& Msk, Integer Amount)
{
    if (Amount == 0 || !MaskFits(Msk) || !ValidBlurAmount(Amount)) return;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x)
            if (!IsWhite(Msk.Pixel(x, y))) SplitBlurPixel(x, y, SplitBlurTaps(x, y, Amount, FHeight));
}

void TspEffectBmp::MaskAntialiasing(const TspEffectBmp& Msk, Integer Amount)
{
    if (Amount == 0 || !MaskFits(Msk) || !ValidBlurAmount(Amount)) return;
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            if (IsWhite(Msk.Pixel(x, y))) continue;
            const BlurTaps mask_taps = SplitBlurTaps(x, y, Amount, Msk.FHeight);
            const bool on_edge = IsWhite(Msk.Pixel(mask_taps.left, mask_taps.up)) ||
                                 IsWhite(Msk.Pixel(mask_taps.left, mask_taps.down)) ||
                                 IsWhite(Msk.Pixel(mask_taps.right, mask_taps.up)) ||
                                 IsWhite(Msk.Pixel(mask_taps.right, mask_taps.down));
            if (on_edge) SplitBlurPixel(x, y, SplitBlurTaps(x, y, Amount, FHeight));
        }
}

void TspEffectBmp::MaskFillColorRGB(const TspEffectBmp& Msk, uint32_t AColor, double kf)
{
    if (!MaskFits(Msk)) return;
    const Byte channel[3] = {static_cast<Byte>(AColor >> 16), static_cast<Byte>(AColor >> 8),
                             static_cast<Byte>(AColor)};  // blue, green, red of $00BBGGRR
    for (Integer y = 0; y < FHeight; ++y)
        for (Integer x = 0; x < FWidth; ++x) {
            if (IsWhite(Msk.Pixel(x, y))) continue;
            Byte* p = Pixel(x, y);
            for (int c = 0; c < 3; ++c) p[c] = ClampByte(RoundHalfEven((1 - kf) * p[c] + kf * channel[c]));
        }
}

void TspEffectBmp::MaskFillColor(const TspEffectBmp& Msk, TColor C, double kf)
{
    MaskFillColorRGB(Msk, static_cast<uint32_t>(ColorToRGB(C)), kf);
}
