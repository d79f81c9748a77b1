#pragma once
// Plane work on planar 4:2:0 pictures for the video path: the view of a YV12 overlay and the copy into it (upside
// down when asked). Deinterlacing is the decoder's (media/decode/deinterlace.h).
#include <SDL/SDL.h>

#include "media/decode/deinterlace.h"
#include "media/decode/format_converter.h"

extern "C" {
#include <libavutil/frame.h>
}

// A YV12 overlay as a Y, U, V picture (its planes 0, 2, 1).
TAVPicture OverlayPicture(SDL_Overlay* AOverlay);

// Copies the AWidth x AHeight top-left part of a planar 4:2:0 frame (AWidth, AHeight even) into ADest; with
// AFlip the rows go in from the bottom up.
void CopyYUV420(const TAVPicture& ADest, const AVFrame* ASource, int AWidth, int AHeight, bool AFlip);
