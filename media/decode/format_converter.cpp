#include "media/decode/format_converter.h"

#include "media/loader/av_bindings.h"
#include "media/util/text_format.h"
#include "platform/rtl/exceptions.h"

namespace {

struct TFormatRow {
    int BitsPixel;
    AVPixelFormat PixFmt;
};

// The bitmap's 16-bit rows hold red in the high bits (5-5-5 and 5-6-5), which is the library's RGB order, not
// BGR: taking the BGR formats here would swap red and blue. The 8-bit rows use the 3-3-2 palette every new 8-bit
// bitmap gets (blue in the top bits), which is the library's BGR8.
TFormatRow FormatRow(TBMPPixelFormat AFormat)
{
    switch (AFormat) {
    case TBMPPixelFormat::pf8bit: return {8, AV_PIX_FMT_BGR8};
    case TBMPPixelFormat::pf15bit: return {16, AV_PIX_FMT_RGB555LE};
    case TBMPPixelFormat::pf16bit: return {16, AV_PIX_FMT_RGB565LE};
    case TBMPPixelFormat::pf24bit: return {24, AV_PIX_FMT_BGR24};
    case TBMPPixelFormat::pf32bit: return {32, AV_PIX_FMT_BGRA};
    }
    return {24, AV_PIX_FMT_BGR24};
}

}  // namespace

TFormatConverter::TFormatConverter() { ApplyFormat(); }

TFormatConverter::~TFormatConverter()
{
    // Nothing was made through the libraries while these are empty; once they are unloaded nothing can be freed.
    if (ff::av_free == nullptr || ff::sws_freeContext == nullptr) return;
    if (FRGBBuffer != nullptr) ff::av_free(FRGBBuffer);
    if (FtoRGB_convert_ctx != nullptr) ff::sws_freeContext(FtoRGB_convert_ctx);
    if (FfromRGB_convert_ctx != nullptr) ff::sws_freeContext(FfromRGB_convert_ctx);
}

void TFormatConverter::ApplyFormat()
{
    FDIB = win::BITMAP{};
    FRGBPicture = TAVPicture{};
    FRGBPictureRef = nullptr;
    const TFormatRow row = FormatRow(FBMPPixFmt);
    FBitsPixel = row.BitsPixel;
    FAVPixFmt = row.PixFmt;
}

void TFormatConverter::SetBitsPixel(int AValue)
{
    if (AValue == FBitsPixel) return;
    switch (AValue) {
    case 8: FBMPPixFmt = TBMPPixelFormat::pf8bit; break;
    case 15: FBMPPixFmt = TBMPPixelFormat::pf15bit; break;
    case 16: FBMPPixFmt = TBMPPixelFormat::pf16bit; break;
    case 24: FBMPPixFmt = TBMPPixelFormat::pf24bit; break;
    case 32: FBMPPixFmt = TBMPPixelFormat::pf32bit; break;
    default: throw Exception(StrFormat("Invalid BitsPixel %d", AValue));
    }
    ApplyFormat();
}

void TFormatConverter::SetBMPPixFmt(TBMPPixelFormat AValue)
{
    if (AValue == FBMPPixFmt) return;
    FBMPPixFmt = AValue;
    ApplyFormat();
}

bool TFormatConverter::PictureToRGB(TAVPicture* APicture, AVPixelFormat APixFmt, int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0) {
        FRGBPictureRef = nullptr;
        FLastErrMsg = StrFormat("Invalid picture size %dx%d", AWidth, AHeight);
        return false;
    }
    const int row_size = RowSize(AWidth);
    const bool needed = APixFmt != FAVPixFmt || AWidth % 2 != 0 || AHeight % 2 != 0 || APicture->linesize[0] != row_size;
    TAVPicture* current = APicture;
    if (needed) {
        const int64_t size = static_cast<int64_t>(row_size) * AHeight;
        if (size > INT32_MAX) {
            FRGBPictureRef = nullptr;
            FLastErrMsg = "Cannot initialize the toRGB conversion context";
            return false;
        }
        if (FRGBBuffer == nullptr || FRGBBufSize < size) {
            if (FRGBBuffer != nullptr) ff::av_free(FRGBBuffer);
            FRGBBuffer = static_cast<uint8_t*>(ff::av_malloc(static_cast<size_t>(size)));
            FRGBBufSize = FRGBBuffer != nullptr ? static_cast<int>(size) : 0;
        }
        // Rows as long as a bitmap's, so that the picture is a valid DIB whatever its width.
        FRGBPicture = TAVPicture{};
        FRGBPicture.data[0] = FRGBBuffer;
        FRGBPicture.linesize[0] = row_size;
        FtoRGB_convert_ctx = ff::sws_getCachedContext(FtoRGB_convert_ctx, AWidth, AHeight, APixFmt, AWidth, AHeight,
                                                      FAVPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (FtoRGB_convert_ctx == nullptr || FRGBBuffer == nullptr) {
            FRGBPictureRef = nullptr;
            FLastErrMsg = "Cannot initialize the toRGB conversion context";
            return false;
        }
        ff::sws_scale(FtoRGB_convert_ctx, APicture->data, APicture->linesize, 0, AHeight, FRGBPicture.data,
                      FRGBPicture.linesize);
        current = &FRGBPicture;
    }
    FRGBPictureRef = current;
    FDIB = win::BITMAP{0, AWidth, AHeight, current->linesize[0], 1, static_cast<win::WORD>(FBitsPixel), current->data[0]};
    return true;
}

bool TFormatConverter::RGBToPicture(TAVPicture* APicture, AVPixelFormat APixFmt, int AWidth, int AHeight)
{
    if (FRGBPictureRef == nullptr) throw EInvalidOperation("RGBToPicture needs a current RGB picture");
    // After a conversion-free PictureToRGB the current picture is the caller's own: its pixels are already in
    // place, and scaling a picture onto itself would read rows it has overwritten.
    if (FRGBPictureRef == APicture) return true;
    FfromRGB_convert_ctx = ff::sws_getCachedContext(FfromRGB_convert_ctx, AWidth, AHeight, FAVPixFmt, AWidth, AHeight,
                                                    APixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (FfromRGB_convert_ctx == nullptr) {
        FLastErrMsg = "Cannot initialize the fromRGB conversion context";
        return false;
    }
    ff::sws_scale(FfromRGB_convert_ctx, FRGBPictureRef->data, FRGBPictureRef->linesize, 0, AHeight, APicture->data,
                  APicture->linesize);
    return true;
}
