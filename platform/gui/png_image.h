#pragma once
// A PNG picture in its own colour type and bit depth (grey, grey with alpha, palette, true colour, true colour
// with alpha; 1 to 16 bits), read and written with libpng, drawn with its transparency and stretched.
//
// Scanline rows hold blue, green, red bytes for true colour, one byte per grey sample at 8 and 16 bits, and packed
// samples or indices below 8 bits; 16-bit pictures show their high bytes there and keep the low bytes apart, so
// that they save back unchanged. The alpha of the two alpha colour types has rows of its own (AlphaScanline).
#include <span>

#include "platform/gui/graphic.h"
#include "platform/gui/graphics.h"
#include "platform/gui/png_format.h"

enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

struct TPngHeader {
    Integer Width = 0;
    Integer Height = 0;
    Byte BitDepth = 0;
    Byte ColorType = 0;
    Byte InterlaceMethod = 0;
};

class TPngImage : public TGraphic {
public:
    TPngImage() = default;

    // From a TPngImage (a copy), a TBitmap (true colour, 8 bits, no alpha) or nullptr (empty).
    void Assign(TPersistent* ASource) override;
    // A picture of that type and depth with every sample 0 (and a palette of 2^depth greys for COLOR_PALETTE).
    // Raises EInvalidGraphic for a combination PNG does not allow.
    void CreateBlank(Cardinal AColorType, Cardinal ABitDepth, Cardinal AWidth, Cardinal AHeight);

    bool Empty() const override { return FPixels.Width == 0 || FPixels.Height == 0; }
    Integer Width() const override { return FPixels.Width; }
    Integer Height() const override { return FPixels.Height; }
    // A PNG picture is not resized in place: make a new one with CreateBlank.
    void SetWidth(Integer AValue) override;
    void SetHeight(Integer AValue) override;

    TPngHeader Header() const;
    TPNGTransparencyMode TransparencyMode() const;
    // The one transparent colour of a ptmBit picture; clNone otherwise.
    TColor TransparentColor() const;
    // True colour and grey pictures get an alpha channel (255, and 0 where the tRNS colour was); palette pictures
    // get an alpha value for every palette entry. Pictures that have alpha stay as they are.
    void CreateAlpha();

    // Raise EInvalidGraphicOperation "Scan line index out of range" outside 0 <= ARow < Height.
    uint8_t* Scanline(Integer ARow);
    // nullptr for a picture without an alpha channel.
    uint8_t* AlphaScanline(Integer ARow);
    // The colour at a point (alpha aside); clNone outside the picture. Setting stores the nearest the colour type
    // can hold (grey level, palette entry).
    TColor Pixels(Integer AX, Integer AY) const;
    void SetPixels(Integer AX, Integer AY, TColor AColor);
    // Straight 0xAARRGGBB of one row, with tRNS transparency applied; used for drawing and conversion.
    void ReadRow(Integer ARow, std::span<uint32_t> AOut) const;

    // The PNG data from the stream's position; the stream is left after its last chunk.
    void LoadFromStream(TStream* AStream) override;
    void SaveToStream(TStream* AStream) override;

protected:
    void AssignTo(TPersistent* ADest) override;
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    uint8_t Sample(const uint8_t* ARow, Integer AX) const;
    void PutSample(uint8_t* ARow, Integer AX, unsigned AValue);
    void ExpandGreyToEightBits();

    TPngPixels FPixels;
};
