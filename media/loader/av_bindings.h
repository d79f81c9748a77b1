#pragma once
// The engine's slots for the FFmpeg entry points (entry_points.h): ff::av_log(...) and so on. Each slot has the
// exact type of the header's function; it is empty while its library is not bound (library_loader.h), and engine
// code calls a slot only while the loader reports its library loaded.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/mem.h>
#include <libavutil/mathematics.h>
#include <libavutil/time.h>
#include <libavutil/samplefmt.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "media/loader/entry_points.h"

namespace ff {
#define QUENNARY_DECLARE_SLOT(name, optional) inline decltype(&::name) name = nullptr;
QUENNARY_AVUTIL_ENTRIES(QUENNARY_DECLARE_SLOT)
QUENNARY_SWRESAMPLE_ENTRIES(QUENNARY_DECLARE_SLOT)
QUENNARY_SWSCALE_ENTRIES(QUENNARY_DECLARE_SLOT)
QUENNARY_AVCODEC_ENTRIES(QUENNARY_DECLARE_SLOT)
QUENNARY_AVFORMAT_ENTRIES(QUENNARY_DECLARE_SLOT)
QUENNARY_AVFILTER_ENTRIES(QUENNARY_DECLARE_SLOT)
#undef QUENNARY_DECLARE_SLOT
}  // namespace ff
