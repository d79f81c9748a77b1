#pragma once
// Small routines shared by the engine's FFmpeg code: texts for times, errors, codecs and media types, metadata
// lookup and presentation-time correction.
// Everything that calls FFmpeg needs the libraries bound (library_loader.h).
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/rational.h>
}

// "01:02:03.004"; hours are not wrapped at 24; "N/A" for AV_NOPTS_VALUE.
std::string FormatTimestamp(int64_t ATime);
// Microseconds per frame; 40000 (25 frames per second) when the rate is unknown.
int64_t FrameDuration(AVRational ARate);
// APrefix + ": " + the text of an AVERROR code.
std::string AVErrorText(const std::string& APrefix, int ACode);
// The value of the first entry for AKey (matched without regard to case), else ADefault.
std::string MetadataValue(const AVDictionary* AMetadata, const std::string& AKey, const std::string& ADefault);
// "mpeg4(MPEG-4 part 2)", or a name from the codec id or tag when no codec of this build handles it.
std::string CodecText(const AVCodecContext* ACodecContext, bool AEncoder);
// "Video", "Audio", "Data", "Subtitle", "Attachment", else "Unknown".
std::string MediaTypeName(int AType);

// Owners of an AVFrame and an AVPacket, freed with FFmpeg's own routines (nothing once the libraries are unbound).
struct TFrameFree {
    void operator()(AVFrame* AFrame) const;
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameFree>;
struct TPacketFree {
    void operator()(AVPacket* APacket) const;
};
using TPacketPtr = std::unique_ptr<AVPacket, TPacketFree>;

struct TPtsCorrectionContext {
    int64_t num_faulty_pts = 0;
    int64_t num_faulty_dts = 0;
    int64_t last_pts = INT64_MIN;
    int64_t last_dts = INT64_MIN;
};
void InitPtsCorrection(TPtsCorrectionContext& ACtx);
// The pts to trust: the dts when reordered pts have been faulty more often than dts, else the reordered pts.
int64_t GuessCorrectPts(TPtsCorrectionContext& ACtx, int64_t AReorderedPts, int64_t ADts);
