#include "tools/media-info/decode_check.h"

#include <cstdint>
#include <vector>

#include "media/decode/frame_decoder.h"

namespace {

std::string TimeText(int64_t AMicroseconds)
{
    if (AMicroseconds == AV_NOPTS_VALUE) return "N/A";
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(AMicroseconds) / 1000000.0);
    return text;
}

const char PictureTypes[] = "?IPBSisb";

std::vector<int64_t> ForwardPictures(TFFDecoder& ADecoder, std::FILE* AOut)
{
    std::vector<int64_t> times;
    while (ADecoder.Decode()) {
        const TFrameInfo& info = ADecoder.FrameInfo();
        std::fprintf(AOut, "  picture %zu: %s %c%s\n", times.size(), TimeText(info.PTS).c_str(),
                     PictureTypes[static_cast<int>(info.PictureType) & 7], info.IsKeyFrame ? " key" : "");
        times.push_back(info.PTS);
    }
    return times;
}

bool StepBackMatches(TFFDecoder& ADecoder, const std::vector<int64_t>& ATimes, std::FILE* AOut)
{
    for (size_t i = ATimes.size() - 1; i-- > 0;) {
        if (!ADecoder.DecodePreviousFrame()) {
            std::fprintf(AOut, "Step back: failed before picture %zu: %s\n", i, ADecoder.LastErrMsg().c_str());
            return false;
        }
        if (ADecoder.FrameInfo().PTS != ATimes[i]) {
            std::fprintf(AOut, "Step back: picture %zu came back at %s, forward it was at %s\n", i,
                         TimeText(ADecoder.FrameInfo().PTS).c_str(), TimeText(ATimes[i]).c_str());
            return false;
        }
    }
    std::fprintf(AOut, "Step back: %zu steps, every one at the forward time\n", ATimes.size() - 1);
    return true;
}

void SoundBlocks(TFFDecoder& ADecoder, std::FILE* AOut)
{
    int count = 0;
    int64_t bytes = 0;
    while (ADecoder.DecodeAudio()) {
        const TWaveInfo& wave = ADecoder.WaveInfo();
        std::fprintf(AOut, "  block %d: %s, %d bytes\n", count++, TimeText(wave.PTS).c_str(), wave.Size);
        bytes += wave.Size;
    }
    std::fprintf(AOut, "Sound: %d blocks, %lld bytes of %d channels at %d Hz\n", count, static_cast<long long>(bytes),
                 ADecoder.DesireAudioChannels(), ADecoder.DesireAudioSampleRate());
}

}  // namespace

bool DecodeCheck(TFFDecoder& ADecoder, const std::string& AFileName, std::FILE* AOut)
{
    bool good = true;
    if (ADecoder.VideoStreamCount() > 0) {
        std::fprintf(AOut, "Pictures:\n");
        const std::vector<int64_t> times = ForwardPictures(ADecoder, AOut);
        std::fprintf(AOut, "Pictures: %zu\n", times.size());
        if (times.size() > 1) good = StepBackMatches(ADecoder, times, AOut);
    }
    if (ADecoder.AudioStreamCount() > 0) {
        // Afresh, so that the sound starts at the beginning whatever the pictures left behind.
        if (!ADecoder.LoadFile(AFileName)) {
            std::fprintf(AOut, "%s\n", ADecoder.LastErrMsg().c_str());
            return false;
        }
        std::fprintf(AOut, "Sound blocks:\n");
        SoundBlocks(ADecoder, AOut);
    }
    return good;
}
