#pragma once
// The value texts of the File Information dialog. A later stream of a kind overwrites an earlier one; the texts of
// a kind the file lacks stay empty.
#include <cstdint>
#include <string>

struct TFileInfoTexts {
    std::string FileName, MediaLength;
    std::string Resolution, VideoBitRate, FrameRate;
    std::string SampleRate, Channels, AudioBitRate;

    void SetFile(const std::string& APath, int64_t ADurationMicros);
    // A zero frame-rate denominator raises EConvertError, which the dialog reports as a failure to fill it.
    void SetVideoStream(int AWidth, int AHeight, int64_t ABitRate, int AFrameRateNum, int AFrameRateDen);
    void SetAudioStream(int ASampleRate, int AChannels, int64_t ABitRate);
};

// Bit rate div 1000 and " Kb", or "is not preseted" for a rate of 0 or less.
std::string BitRateText(int64_t ABitRate);
