#pragma once
// Small routines shared by the engine's FFmpeg code: texts for times, errors, codecs and media types, metadata
// lookup, the option handling of FFmpeg's command-line tools, whole-file reading and presentation-time correction.
// Everything that calls FFmpeg needs the libraries bound (library_loader.h).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/rational.h>
#include <libswscale/swscale.h>
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

// Option holders that collect named option values before the real contexts exist, as FFmpeg's command-line
// tools do; one per transcoder.
struct TFFOptions {
    // In setting order: an option found in a holder is kept by its own name without value (the holder has the
    // value); an option only a codec's or muxer's private class knows is kept with its value.
    std::vector<std::pair<std::string, std::string>> Options;
    AVCodecContext* avcodec_opts[AVMEDIA_TYPE_NB] = {};
    AVFormatContext* avformat_opts = nullptr;
    SwsContext* sws_opts = nullptr;
};

void InitOptions(TFFOptions& AOptions, int ASwsFlags);
void UninitOptions(TFFOptions& AOptions);
// Sets a named option on the holders that know it. A bad value or an unknown name answers false, logs the reason
// and keeps it in LastOptionError().
bool OptDefault(TFFOptions& AOptions, const std::string& AName, const std::string& AValue);
// Copies the collected options whose flags hold all of AFlags into AContext (an AVCodecContext or
// AVFormatContext); options only a private class knows go to AContext's private data.
void SetContextOpts(TFFOptions& AOptions, void* AContext, void* AOptsContext, const AVCodec* ACodec, int AFlags);
std::string LastOptionError();
void ClearLastOptionError();

// Reads a whole file into a buffer from av_malloc (free it with av_free), followed by one zero byte; ASize counts
// the bytes read plus that zero. Answers 0, -1 when the file cannot be opened or measured, AVERROR(ENOMEM).
int ReadWholeFile(const std::string& AFileName, uint8_t*& ABuffer, int& ASize);

struct TPtsCorrectionContext {
    int64_t num_faulty_pts = 0;
    int64_t num_faulty_dts = 0;
    int64_t last_pts = INT64_MIN;
    int64_t last_dts = INT64_MIN;
};
void InitPtsCorrection(TPtsCorrectionContext& ACtx);
// The pts to trust: the dts when reordered pts have been faulty more often than dts, else the reordered pts.
int64_t GuessCorrectPts(TPtsCorrectionContext& ACtx, int64_t AReorderedPts, int64_t ADts);
