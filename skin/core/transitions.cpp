// The hover transitions of the effect buffer.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "skin/core/effect_bitmap.h"

namespace {

Byte ClampByte(Integer v) { return static_cast<Byte>(std::clamp(v, 0, 255)); }

// Progress factors outside 0..1 (or not a number) would push the band limits past the row; every transition
// treats them as the nearest end.
double ClampFactor(double Kf)
{
    if (!(Kf == Kf)) return 0;
    return std::clamp(Kf, 0.0, 1.0);
}

// Cross-fade of one pixel: t = 1 keeps own, t = 0 gives the other buffer's pixel.
void Mix(Byte* own, const Byte* other, double t)
{
    for (int c = 0; c < 3; ++c) own[c] = ClampByte(RoundHalfEven(own[c] * t + other[c] * (1 - t)));
}

}  // namespace

void TspEffectBmp::Morph(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    Kf = ClampFactor(Kf);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        for (Integer i = 0; i < 3 * FWidth; ++i) own[i] = ClampByte(RoundHalfEven((1 - Kf) * own[i] + Kf * other[i]));
    }
}

void TspEffectBmp::MorphRect(const TspEffectBmp& BMP, double Kf, const TRect& Rct, Integer StartX, Integer StartY)
{
    if (Empty() || BMP.Empty()) return;
    Kf = ClampFactor(Kf);
    // Positions outside either buffer are skipped rather than trusted to the caller.
    for (Integer j = 0; j < Rct.Bottom - Rct.Top; ++j) {
        const Integer y = Rct.Top + j, sy = StartY + j;
        if (y < 0 || y >= FHeight || sy < 0 || sy >= BMP.FHeight) continue;
        for (Integer i = 0; i < Rct.Right - Rct.Left; ++i) {
            const Integer x = Rct.Left + i, sx = StartX + i;
            if (x < 0 || x >= FWidth || sx < 0 || sx >= BMP.FWidth) continue;
            Byte* own = Pixel(x, y);
            const Byte* other = BMP.Pixel(sx, sy);
            for (int c = 0; c < 3; ++c) own[c] = ClampByte(RoundHalfEven((1 - Kf) * own[c] + Kf * other[c]));
        }
    }
}

void TspEffectBmp::MorphHGrad(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    Kf = ClampFactor(Kf);
    const Integer b = RoundHalfEven(FWidth * Kf);
    const Integer c = (FWidth - b) / 2;
    const double step = c == 0 ? 1.0 : 1.0 / c;
    const Integer left = std::max(FWidth / 2 - b / 2, 0);
    const Integer right = std::min(FWidth / 2 + b / 2, FWidth - 1);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        std::memcpy(own + 3 * left, other + 3 * left, static_cast<size_t>(3) * (right - left + 1));
        double t = 0;
        for (Integer x = left; x >= 0; --x) {
            Mix(own + 3 * x, other + 3 * x, t);
            t = std::min(1.0, t + step);
        }
        t = 0;
        for (Integer x = right; x < FWidth; ++x) {
            Mix(own + 3 * x, other + 3 * x, t);
            t = std::min(1.0, t + step);
        }
    }
}

void TspEffectBmp::MorphVGrad(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    Kf = ClampFactor(Kf);
    const Integer b = RoundHalfEven(FHeight * Kf);
    const Integer c = (FHeight - 1 - b) / 2;
    // Unlike the horizontal twin, a band with no fade width makes everything outside it the other picture.
    const double step = c == 0 ? 0.0 : 1.0 / c;
    const Integer top = std::max(FHeight / 2 - b / 2, 0);
    const Integer bottom = std::min(FHeight / 2 + b / 2, FHeight - 1);
    const size_t row_bytes = static_cast<size_t>(3) * FWidth;
    for (Integer y = top; y <= bottom; ++y) std::memcpy(ScanLinePtr(y), BMP.ScanLinePtr(y), row_bytes);
    auto mix_row = [&](Integer y, double t) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        for (Integer x = 0; x < FWidth; ++x) Mix(own + 3 * x, other + 3 * x, t);
    };
    double t = 0;
    for (Integer y = top; y >= 0; --y) {
        mix_row(y, t);
        t = std::min(1.0, t + step);
    }
    t = 0;
    for (Integer y = bottom; y < FHeight; ++y) {
        mix_row(y, t);
        t = std::min(1.0, t + step);
    }
}

void TspEffectBmp::MorphGrad(const TspEffectBmp& BMP, double Kf)
{
    if (FWidth < FHeight)
        MorphVGrad(BMP, Kf);
    else
        MorphHGrad(BMP, Kf);
}

void TspEffectBmp::MorphLeftGrad(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    Integer b = RoundHalfEven(FWidth * ClampFactor(Kf));
    if (b <= 0) b = 1;
    if (b > FWidth - 1) b = FWidth - 1;
    const double step = b <= 0 ? 1.0 : 1.0 / b;
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        double t = 0;
        for (Integer x = 0; x <= b; ++x) {
            Mix(own + 3 * x, other + 3 * x, t);
            t = std::min(1.0, t + step);
        }
    }
}

void TspEffectBmp::MorphRightGrad(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    const Integer c = std::clamp(FWidth - RoundHalfEven(FWidth * ClampFactor(Kf)), 0, FWidth - 1);
    const double step = FWidth - c <= 0 ? 1.0 : 1.0 / (FWidth - c);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        double t = 0;
        for (Integer x = FWidth - 1; x >= c; --x) {
            Mix(own + 3 * x, other + 3 * x, t);
            t = std::min(1.0, t + step);
        }
    }
}

void TspEffectBmp::MorphPush(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    const Integer b = std::clamp(RoundHalfEven(FWidth * ClampFactor(Kf)), 0, FWidth - 1);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        for (Integer j = FWidth - 1; j > b; --j) std::memcpy(own + 3 * j, own + 3 * (j - b - 1), 3);
        std::memcpy(own + 3 * b, own, 3);
        for (Integer k = 0; k <= b; ++k)
            std::memcpy(own + 3 * k, other + 3 * std::min(FWidth - b - 1 + k, FWidth - 1), 3);
    }
}

namespace {

Integer SlideWidth(Integer AWidth, double Kf)
{
    Integer b = RoundHalfEven(AWidth * ClampFactor(Kf));
    if (b < 1) b = 1;
    if (b > AWidth - 1) b = AWidth - 1;
    return b;
}

}  // namespace

void TspEffectBmp::MorphLeftSlide(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    const Integer b = SlideWidth(FWidth, Kf);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        for (Integer k = 0; k < b; ++k) std::memcpy(own + 3 * k, other + 3 * std::min(FWidth - b + k, FWidth - 1), 3);
    }
}

void TspEffectBmp::MorphRightSlide(const TspEffectBmp& BMP, double Kf)
{
    if (!SameSize(BMP)) return;
    const Integer b = SlideWidth(FWidth, Kf);
    for (Integer y = 0; y < FHeight; ++y) {
        Byte* own = ScanLinePtr(y);
        const Byte* other = BMP.ScanLinePtr(y);
        for (Integer k = 0; k < b; ++k) std::memcpy(own + 3 * std::min(FWidth - b + k, FWidth - 1), other + 3 * k, 3);
    }
}

void TspEffectBmp::MorphByKind(TMorphKind AKind, const TspEffectBmp& BMP, double Kf)
{
    switch (AKind) {
        case mkDefault: Morph(BMP, Kf); break;
        case mkGradient: MorphGrad(BMP, Kf); break;
        case mkLeftGradient: MorphLeftGrad(BMP, Kf); break;
        case mkRightGradient: MorphRightGrad(BMP, Kf); break;
        case mkLeftSlide: MorphLeftSlide(BMP, Kf); break;
        case mkRightSlide: MorphRightSlide(BMP, Kf); break;
        case mkPush: MorphPush(BMP, Kf); break;
    }
}
