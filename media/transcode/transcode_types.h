#pragma once
// Types the transcoder shares with its callers: its exception, its events and the records a run builds for its
// files and streams.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

class TBitmap;

// Every failure inside the transcoder is one of these, with a fixed English text.
class FFmpegException : public Exception {
public:
    using Exception::Exception;
};

using TAudioHookEvent = std::function<void(TObject* Sender, int64_t APTS, uint8_t* ASample, int ASize,
                                           int ASampleRate, int AChannels, AVSampleFormat ASampleFormat)>;
using TVideoHookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                           bool& AUpdate, bool& AStopHook)>;
using TPreviewBitmapEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS)>;
using TProgressEvent =
    std::function<void(TObject* Sender, int AFileIndex, int AFrameNumber, int AFPS, float AQuality, float ABitRate,
                       int64_t ACurrentSize, int64_t ACurrentDuration, int64_t ATotalDuration)>;

// One output stream of an output file. FFmpeg 5.1 keeps no codec context in the stream, so the record owns the
// encoder context that the stream's settings were put into.
struct TAVOutputStream {
    int file_index = 0;
    int index = 0;
    int source_index = -1;
    AVStream* st = nullptr;
    AVCodecContext* enc_ctx = nullptr;
    const AVCodec* enc = nullptr;
    int encoding_needed = 0;
    int frame_number = 0;
    // Bit-stream filter names for this stream, applied by the run.
    std::vector<std::string> bitstream_filters;
    std::vector<int64_t> forced_kf_pts;
    int forced_kf_index = 0;
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    int show_fps = 0;
};

struct TAVStreamMap {
    int file_index = 0;
    int stream_index = 0;
    int sync_file_index = 0;
    int sync_stream_index = 0;
};

struct TAVMetaDataMap {
    int file_idx = 0;
    char type_ = 'g';
    int index = 0;
};

struct TAVChapterMap {
    int in_file = 0;
    int out_file = 0;
};

// One entry of a rate-control override.
struct TRcOverride {
    int start_frame = 0;
    int end_frame = 0;
    int qscale = 0;
    float quality_factor = 1.0f;
};
