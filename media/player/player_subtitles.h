#pragma once
// Bitmap subtitles on planar 4:2:0 pictures: palette entries from RGBA to studio-range YUVA, and the blending of
// one subtitle rectangle into a picture.
#include <cstdint>

#include "media/decode/format_converter.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

// 0xAARRGGBB to 0xAAYYUUVV with the integer weights of studio-range conversion.
uint32_t RGBAToYUVA(uint32_t AColour);

// Blends ARect (an 8-bit index bitmap with a YUVA palette) into the AWidth x AHeight picture APicture: the
// rectangle is clipped to the picture, luma is blended per pixel, chroma once per 2 x 2 block from the pixels of
// the rectangle the block holds.
void BlendSubRect(const TAVPicture& APicture, const AVSubtitleRect& ARect, int AWidth, int AHeight);
