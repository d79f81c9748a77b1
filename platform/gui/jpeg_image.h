#pragma once
// A JPEG picture over libjpeg-turbo. A loaded picture keeps the file's bytes and saves them back unchanged; a
// picture made from a bitmap is compressed (baseline, at CompressionQuality) when it is saved.
#include <vector>

#include "platform/gui/graphic.h"
#include "platform/gui/jpeg_format.h"

class TJPEGImage : public TGraphic {
public:
    TJPEGImage() = default;

    // From a TJPEGImage (a copy), a TBitmap (its pixels, compressed on save) or nullptr (empty).
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FPixels.Width == 0 || FPixels.Height == 0; }
    Integer Width() const override { return FPixels.Width; }
    Integer Height() const override { return FPixels.Height; }
    void SetWidth(Integer AValue) override;
    void SetHeight(Integer AValue) override;
    bool Grayscale() const { return FPixels.Grayscale; }

    // 1..100; a change drops the kept file bytes so that the next save compresses at the new quality.
    Integer CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(Integer AValue);
    // Compresses now (what saving would write).
    void Compress();

    void LoadFromStream(TStream* AStream) override;
    void SaveToStream(TStream* AStream) override;

protected:
    void AssignTo(TPersistent* ADest) override;
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    TJpegPixels FPixels;
    std::vector<uint8_t> FData;
    Integer FQuality = 90;
};
