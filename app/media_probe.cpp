#include "app/media_probe.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"

TProbedFile ProbeOpenFile(TCustomDecoder& ADecoder)
{
    TProbedFile probe;
    // A container without a duration answers -1; a negative length would become a negative trim range.
    probe.Duration = std::max<int64_t>(ADecoder.FileStreamInfo().Duration, 0);
    const int first_video = ADecoder.FirstVideoStreamIndex();
    const int listed = first_video >= 0 ? first_video : std::max(ADecoder.StreamCount(), 0);
    probe.Streams.resize(listed);
    if (first_video >= 0) {
        const TVideoStreamInfo video = ADecoder.GetVideoStreamInfo(first_video);
        probe.Streams.push_back({true, std::max(video.Width, 0), std::max(video.Height, 0),
                                 video.AspectRatio > 0 ? static_cast<double>(video.AspectRatio) : 0.0});
    }
    return probe;
}

TProbeResult ProbeMediaFile(TCustomDecoder& ADecoder, const std::string& APath)
{
    TProbeResult result;
    try {
        if (!ADecoder.LoadFile(APath)) {
            result.Error = ADecoder.LastErrMsg();
            return result;
        }
    } catch (const Exception& e) {
        // The decoder refuses to work while the media libraries are not loaded.
        result.Error = e.Message();
        return result;
    }
    result.File = ProbeOpenFile(ADecoder);
    ADecoder.CloseFile();
    result.Loaded = true;
    return result;
}
