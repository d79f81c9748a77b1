#pragma once
// Deinterlacing in place of the library's old picture filter: the bottom field is rebuilt from its neighbours with
// the (-1, 4, 2, 4, -1) / 8 vertical filter, plane by plane.
#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
}

// One plane of AWidth x AHeight bytes from ASource into ADest: even rows copied, odd rows filtered.
void DeinterlacePlane(uint8_t* ADest, int ADestWrap, const uint8_t* ASource, int ASourceWrap, int AWidth, int AHeight);

// Every second row of a planar 4:2:0 frame rebuilt into ADest (of the same size and format). False for sizes that
// are not multiples of 4 or another format.
bool DeinterlaceYUV420(AVFrame* ADest, const AVFrame* ASource);

// Makes ABuffer (allocated when null) a frame of AShape's size and format with its own planes. False when memory
// runs out.
bool ShapeDeinterlaceBuffer(AVFrame*& ABuffer, const AVFrame* AShape);
