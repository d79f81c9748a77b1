#include "app/file_info_texts.h"

#include <cmath>

#include "app/time_text.h"
#include "platform/rtl/exceptions.h"

std::string BitRateText(int64_t ABitRate)
{
    return ABitRate <= 0 ? "is not preseted" : std::to_string(ABitRate / 1000) + " Kb";
}

void TFileInfoTexts::SetFile(const std::string& APath, int64_t ADurationMicros)
{
    const auto slash = APath.find_last_of('/');
    FileName = slash == std::string::npos ? APath : APath.substr(slash + 1);
    MediaLength = FormatMicroseconds(ADurationMicros);
}

void TFileInfoTexts::SetVideoStream(int AWidth, int AHeight, int64_t ABitRate, int AFrameRateNum, int AFrameRateDen)
{
    if (AFrameRateDen == 0)
        throw EConvertError("Invalid frame rate " + std::to_string(AFrameRateNum) + "/0");
    Resolution = std::to_string(AWidth) + "x" + std::to_string(AHeight);
    VideoBitRate = BitRateText(ABitRate);
    const double rate = static_cast<double>(AFrameRateNum) / AFrameRateDen;
    FrameRate = std::to_string(static_cast<int64_t>(std::nearbyint(rate))) + " fps";
}

void TFileInfoTexts::SetAudioStream(int ASampleRate, int AChannels, int64_t ABitRate)
{
    SampleRate = std::to_string(ASampleRate) + " Hz";
    Channels = std::to_string(AChannels) + " channel";
    AudioBitRate = BitRateText(ABitRate);
}
