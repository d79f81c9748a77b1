#pragma once
// Moves pictures between the library's planar pictures and bitmap rows: a decoded picture in any pixel format
// becomes an RGB picture laid out exactly like a device-independent bitmap's rows (rows 32-bit aligned), handed out
// as a BITMAP record or copied into a bitmap (bitmap_transfer.h), and an RGB picture can go back into a picture of
// any pixel format. The scaler runs bicubic at equal sizes: a pure format conversion.
#include <cstdint>
#include <string>

#include "platform/gdi/gdi_types.h"
#include "platform/rtl/object.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

struct SwsContext;

// Four plane pointers and four line sizes.
struct TAVPicture {
    uint8_t* data[4] = {};
    int linesize[4] = {};
};

// The bitmap depths, each with the library pixel format whose memory layout matches the bitmap's rows.
enum class TBMPPixelFormat { pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TFormatConverter : public TObject {
public:
    TFormatConverter();
    ~TFormatConverter() override;
    TFormatConverter(const TFormatConverter&) = delete;
    TFormatConverter& operator=(const TFormatConverter&) = delete;

    int BitsPixel() const { return FBitsPixel; }
    // 8, 15, 16, 24 or 32; other values raise Exception "Invalid BitsPixel %d". 16 keeps a 15-bit format, which
    // reports 16 bits too.
    void SetBitsPixel(int AValue);
    TBMPPixelFormat BMPPixFmt() const { return FBMPPixFmt; }
    void SetBMPPixFmt(TBMPPixelFormat AValue);
    AVPixelFormat AVPixFmt() const { return FAVPixFmt; }

    // The current RGB picture: a BITMAP record whose bits point into it, valid until the next conversion.
    win::BITMAP* DIB() { return &FDIB; }
    TAVPicture* RGBPicture() { return &FRGBPicture; }
    // FRGBPicture, or the caller's own picture when it needed no conversion; nullptr when there is none.
    TAVPicture* RGBPictureRef() const { return FRGBPictureRef; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }

    // Makes the current RGB picture from APicture. A picture already in the bitmap layout (same format, even
    // sizes, rows as long as a bitmap's) is used in place, without a copy.
    bool PictureToRGB(TAVPicture* APicture, AVPixelFormat APixFmt, int AWidth, int AHeight);
    // Converts the current RGB picture into APicture. Requires a current picture.
    bool RGBToPicture(TAVPicture* APicture, AVPixelFormat APixFmt, int AWidth, int AHeight);

    // Bytes per bitmap row: AWidth x BitsPixel bits, rounded up to 32 bits.
    int RowSize(int AWidth) const { return (AWidth * FBitsPixel + 31) / 32 * 4; }

private:
    void ApplyFormat();

    int FBitsPixel = 24;
    AVPixelFormat FAVPixFmt = AV_PIX_FMT_BGR24;
    TBMPPixelFormat FBMPPixFmt = TBMPPixelFormat::pf24bit;
    win::BITMAP FDIB;
    uint8_t* FRGBBuffer = nullptr;
    int FRGBBufSize = 0;
    TAVPicture FRGBPicture;
    TAVPicture* FRGBPictureRef = nullptr;
    SwsContext* FtoRGB_convert_ctx = nullptr;
    SwsContext* FfromRGB_convert_ctx = nullptr;
    std::string FLastErrMsg;
};
