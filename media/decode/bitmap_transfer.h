#pragma once
// The bitmap side of picture conversion: copying the converter's current RGB picture into a platform bitmap and
// back. Header-only on purpose: the media library itself never links the GUI library; a program that moves
// pictures into bitmaps includes this header and links quennary_platform_gui itself.
#include <cstring>

#include "media/decode/format_converter.h"
#include "media/decode/frame_decoder.h"
#include "platform/gui/bitmap.h"
#include "platform/rtl/exceptions.h"

inline TPixelFormat BitmapPixelFormat(TBMPPixelFormat AFormat)
{
    switch (AFormat) {
    case TBMPPixelFormat::pf8bit: return pf8bit;
    case TBMPPixelFormat::pf15bit: return pf15bit;
    case TBMPPixelFormat::pf16bit: return pf16bit;
    case TBMPPixelFormat::pf24bit: return pf24bit;
    case TBMPPixelFormat::pf32bit: return pf32bit;
    }
    return pf24bit;
}

// Sizes ABitmap to the current RGB picture, in the converter's pixel format, and copies it row by row.
inline void RGBToBitmap(TFormatConverter& AConverter, TBitmap* ABitmap)
{
    const TAVPicture* picture = AConverter.RGBPictureRef();
    if (picture == nullptr) throw EInvalidOperation("RGBToBitmap needs a current RGB picture");
    const win::BITMAP& dib = *AConverter.DIB();
    ABitmap->SetPixelFormat(BitmapPixelFormat(AConverter.BMPPixFmt()));
    ABitmap->SetSize(dib.bmWidth, dib.bmHeight);
    const size_t bytes = static_cast<size_t>(AConverter.RowSize(dib.bmWidth));
    for (int row = 0; row < dib.bmHeight; ++row)
        std::memcpy(ABitmap->ScanLine(row), picture->data[0] + static_cast<ptrdiff_t>(row) * picture->linesize[0], bytes);
}

// The other way: what was drawn on ABitmap (of the picture's size and format) goes back into the RGB picture.
inline void BitmapToRGB(TFormatConverter& AConverter, TBitmap* ABitmap)
{
    TAVPicture* picture = AConverter.RGBPictureRef();
    if (picture == nullptr) throw EInvalidOperation("BitmapToRGB needs a current RGB picture");
    const win::BITMAP& dib = *AConverter.DIB();
    if (ABitmap->Width() != dib.bmWidth || ABitmap->Height() != dib.bmHeight ||
        ABitmap->PixelFormat() != BitmapPixelFormat(AConverter.BMPPixFmt()))
        throw EInvalidOperation("BitmapToRGB needs a bitmap of the picture's size and format");
    const size_t bytes = static_cast<size_t>(AConverter.RowSize(dib.bmWidth));
    for (int row = 0; row < dib.bmHeight; ++row)
        std::memcpy(picture->data[0] + static_cast<ptrdiff_t>(row) * picture->linesize[0], ABitmap->ScanLine(row), bytes);
}

// The decoder's current picture into ABitmap, in the decoder's bitmap depth (24 bits unless changed). Without a
// picture: false and "picture not ready, please decode first". A failed conversion leaves ABitmap black at the
// picture's size.
inline bool CopyToBitmap(TFFDecoder& ADecoder, TBitmap* ABitmap)
{
    if (!ADecoder.FrameInfo().Ready) return ADecoder.ConvertPicture();
    if (!ADecoder.ConvertPicture()) {
        ABitmap->SetPixelFormat(BitmapPixelFormat(ADecoder.FormatConverter().BMPPixFmt()));
        ABitmap->SetSize(ADecoder.FrameInfo().Width, ADecoder.FrameInfo().Height);
        ABitmap->Canvas()->Brush()->SetColor(clBlack);
        ABitmap->Canvas()->FillRect(Rect(0, 0, ABitmap->Width(), ABitmap->Height()));
        return false;
    }
    RGBToBitmap(ADecoder.FormatConverter(), ABitmap);
    return true;
}
