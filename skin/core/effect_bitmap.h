#pragma once
// A plain 24-bit top-down picture buffer for image arithmetic without alpha: the hover transitions of skinned
// controls, blending a control over its parent, and the looks of inactive windows. Every operation works in place
// on its own buffer; a second buffer (BMP) is only read.
#include <cstdint>
#include <memory>

#include "platform/gdi/colors.h"
#include "platform/gdi/gdi_types.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

// How a hover transition moves from a control's normal look to its active look.
enum TMorphKind { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };

class TspEffectBmp : public TObject {
public:
    // A cx x cy buffer, pixels zero. A size that is not positive, or too large to allocate, gives an empty
    // buffer (no pixels) on which every operation does nothing.
    TspEffectBmp(Integer cx, Integer cy);
    // A copy of the pixels of a GDI bitmap, which stays the caller's.
    static std::unique_ptr<TspEffectBmp> CreateFromhWnd(win::HBITMAP hBmp);
    static std::unique_ptr<TspEffectBmp> CreateCopy(const TspEffectBmp& ABmp);
    ~TspEffectBmp() override;
    TspEffectBmp(TspEffectBmp&& AOther) noexcept;
    TspEffectBmp& operator=(TspEffectBmp&& AOther) noexcept;
    TspEffectBmp(const TspEffectBmp&) = delete;
    TspEffectBmp& operator=(const TspEffectBmp&) = delete;

    // The DIB section that holds the pixels.
    win::HBITMAP Handle() const { return FHandle; }
    const win::BITMAPINFO& BmpInfo() const { return FBmpInfo; }

    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    // Bytes of pixel memory: RowSize() * Height().
    Integer Size() const { return FSize; }
    // Three bytes per pixel (blue, green, red); rows padded to a multiple of 4 bytes.
    Integer RowSize() const { return FRowSize; }
    Byte* Bits() { return FBits; }
    const Byte* Bits() const { return FBits; }
    bool Empty() const { return FBits == nullptr; }

    // Output to a device context: the whole buffer at x, y; stretched to cx x cy; or its cx x cy part at x, y
    // to hx, hy.
    void Draw(win::HDC hDC, Integer x, Integer y) const;
    void Stretch(win::HDC hDC, Integer x, Integer y, Integer cx, Integer cy) const;
    void DrawRect(win::HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx, Integer cy) const;

    // Row and pixel access; no range checks, callers keep to the buffer.
    void GetScanLine(Integer y, Byte* Line) const;
    void SetScanLine(Integer y, const Byte* Line);
    Byte* ScanLinePtr(Integer y) { return FBits + static_cast<ptrdiff_t>(y) * FRowSize; }
    const Byte* ScanLinePtr(Integer y) const { return FBits + static_cast<ptrdiff_t>(y) * FRowSize; }
    // Low three bytes blue, green, red (so the integer reads $00RRGGBB).
    Integer GetPixel(Integer x, Integer y) const;
    void SetPixel(Integer x, Integer y, Integer Color);

    // Copy and resize.
    void CopyRect(const TspEffectBmp& BMP, const TRect& Rct, Integer StartX, Integer StartY);
    void Resize(TspEffectBmp& Dst) const;

    // Transitions from own (Kf = 0) to BMP (Kf = 1); nothing unless BMP has exactly own's size.
    void Morph(const TspEffectBmp& BMP, double Kf);
    void MorphRect(const TspEffectBmp& BMP, double Kf, const TRect& Rct, Integer StartX, Integer StartY);
    void MorphHGrad(const TspEffectBmp& BMP, double Kf);
    void MorphVGrad(const TspEffectBmp& BMP, double Kf);
    void MorphGrad(const TspEffectBmp& BMP, double Kf);
    void MorphLeftGrad(const TspEffectBmp& BMP, double Kf);
    void MorphRightGrad(const TspEffectBmp& BMP, double Kf);
    void MorphPush(const TspEffectBmp& BMP, double Kf);
    void MorphLeftSlide(const TspEffectBmp& BMP, double Kf);
    void MorphRightSlide(const TspEffectBmp& BMP, double Kf);
    // The transition a skin's morph kind selects.
    void MorphByKind(TMorphKind AKind, const TspEffectBmp& BMP, double Kf);

    // Picture effects.
    void ChangeBrightness(double Kf);
    void ChangeDarkness(double Kf);
    void Invert();
    void GrayScale();
    void AddMonoNoise(Integer Amount);
    void AddColorNoise(Integer Amount);
    void SplitBlur(Integer Amount);
    void Mosaic(Integer ASize);
    void Rotate90_1(TspEffectBmp& Dst) const;
    void Rotate90_2(TspEffectBmp& Dst) const;
    void FlipVert(TspEffectBmp& Dst) const;
    void Wave(Integer XDIV, Integer YDIV, Integer RatioVal);
    void MaskBlur(const TspEffectBmp& Msk, Integer Amount);
    void MaskAntialiasing(const TspEffectBmp& Msk, Integer Amount);
    // AColor is a resolved $00BBGGRR value (system colours already turned into RGB by the caller's ColorToRGB).
    void MaskFillColorRGB(const TspEffectBmp& Msk, uint32_t AColor, double kf);
    void MaskFillColor(const TspEffectBmp& Msk, TColor C, double kf);

private:
    Byte* Pixel(Integer x, Integer y) { return ScanLinePtr(y) + 3 * x; }
    const Byte* Pixel(Integer x, Integer y) const { return ScanLinePtr(y) + 3 * x; }
    bool SameSize(const TspEffectBmp& ABmp) const;
    bool MaskFits(const TspEffectBmp& Msk) const;
    bool ValidBlurAmount(Integer Amount) const;
    // The source rows and columns of the split blur around (x, y).
    struct BlurTaps { Integer up, down, left, right; };
    BlurTaps SplitBlurTaps(Integer x, Integer y, Integer Amount, Integer AMaskHeight) const;
    void SplitBlurPixel(Integer x, Integer y, const BlurTaps& ATaps);

    Integer FWidth = 0;
    Integer FHeight = 0;
    Integer FRowSize = 0;
    Integer FSize = 0;
    Byte* FBits = nullptr;
    win::HBITMAP FHandle = nullptr;
    win::BITMAPINFO FBmpInfo{};
};

// Rounds to the nearest integer, ties to even, as every effect and transition does.
Integer RoundHalfEven(double x);
