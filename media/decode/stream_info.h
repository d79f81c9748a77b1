#pragma once
// What the decoder tells about an open file and its streams. Numbers the file does not give read -1; StartTime
// and Duration of a stream keep the library's no-value marker (AV_NOPTS_VALUE) while their scaled twins read -1.
#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/rational.h>
}

struct TFileStreamInfo {
    int64_t StartTime = -1;  // microseconds
    int64_t Duration = -1;   // microseconds
    int32_t BitRate = -1;    // bit/s; 0 when the container does not know it
    int64_t TimeStamp = -1;  // seconds since 1970 UTC; 0 when absent
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title, Author, Copyright, Comment, Album, Genre;
};

struct TVideoStreamInfo {
    std::string Language;
    std::string CodecName;
    int64_t StartTime = -1;        // stream time base
    int64_t StartTimeScaled = -1;  // microseconds
    int64_t Duration = -1;         // stream time base
    int64_t DurationScaled = -1;   // microseconds
    int32_t BitRate = -1;
    int32_t Height = -1;
    int32_t Width = -1;
    float AspectRatio = -1.0f;  // display aspect
    int32_t PixFmt = -1;        // the library's pixel format
    AVRational FrameRate{-1, -1};
};

struct TAudioStreamInfo {
    std::string Language;
    std::string CodecName;
    int64_t StartTime = -1;
    int64_t StartTimeScaled = -1;
    int64_t Duration = -1;
    int64_t DurationScaled = -1;
    int32_t BitRate = -1;
    int32_t Channels = -1;
    int32_t SampleRate = -1;
    int32_t SampleFormat = -1;  // the library's sample format
};

struct TSubtitleStreamInfo {
    std::string Language;
    std::string CodecName;
};
