#pragma once
// The option records a caller fills for each input and output file of an encoder task, their defaults, their
// text form, and the order in which a record's fields reach the task's transcoder.
#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/avutil.h>
}

class TCustomFFmpeg;

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
// ntPAL or ntNTSC.
using TOptionNormDefault = TOptionNormType;

struct TStreamInfo {
    // Local date-time (days since 1899-12-30): 0 now, above 0 that time, below 0 no stamp.
    double TimeStamp = -1.0;
    int Year = -1;
    int Track = -1;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

struct TInputOptions {
    std::string FileName;
    std::string ForceFormat;
    int64_t TimeStart = AV_NOPTS_VALUE;
    int ProgramID = -1;
    // The pictures of this input take this filter chain in place of the output's (empty: the output's). A join
    // of inputs of unlike sizes gives each its own chain to the joined frame.
    std::string VideoFilters;
    std::string ExtOptions;
    int Tag = 0;
    void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

struct TOutputOptions {
    std::string FileName;
    std::string FileExt;
    std::string ForceFormat;
    int PacketSize = -1;
    int MuxRate = -1;
    float MuxDelay = -1.0f;
    float MuxPreload = -1.0f;
    std::string AudioCodec;
    std::string AudioPreset;
    bool DisableAudio = false;
    int AudioVolume = -1;
    int AudioChannels = -1;
    int AudioSampleRate = -1;
    int AudioBitrate = -1;
    int AudioBitRateTolerance = -1;
    std::string AudioLanguage;
    int AudioSyncMethod = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string FrameAspectRatio;
    int GroupPictureSize = -1;
    int VideoBitrate = -1;
    int VideoMaxRate = -1;
    int VideoMinRate = -1;
    int VideoBitRateTolerance = -1;
    int VideoBufSize = -1;
    int VideoSyncMethod = -1;
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    int64_t TimeStart = AV_NOPTS_VALUE;
    int64_t TimeLength = AV_NOPTS_VALUE;
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    bool AudioHook = false;
    bool VideoInputHook = false;
    bool VideoOutputHook = false;
    int VideoHookBitsPixel = 24;
    bool Join = false;
    std::string ExtOptions;
    int Tag = 0;
    void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

void InitInputOptions(TInputOptions& AOptions);
void InitOutputOptions(TOutputOptions& AOptions);

// The text form: option lines; the named fields are read from their lines, every other line is kept in
// ExtOptions in the order given.
TInputOptions InputOptionsFromText(const std::string& AText);
TOutputOptions OutputOptionsFromText(const std::string& AText);

// Whole seconds since 1970 (UTC) of a local date-time, with the zone rules valid at that date.
int64_t LocalDateTimeToUnix(double ADateTime);

// Applies an input record before the input is opened: option lines, then the forced format, the start and the
// program, so that the record's own fields win over lines of the same meaning.
void ApplyInputOptions(TCustomFFmpeg& AEngine, const TInputOptions& AOptions);

// Applies an output record and opens the output: the target first, then the codec defaults, presets, option
// lines and the plain fields, so that a codec, rate, size or format of the record overrides the target's while
// the target's bit rates stay. Answers the new number of output files, or -1 with the engine's LastErrMsg; a
// field the transcoder cannot take raises FFmpegException. The hooks are the caller's (the encoder binds them).
int ApplyOutputOptions(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions);
