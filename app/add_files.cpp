#include "app/add_files.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

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

TFileAdder::TFileAdder(TJobList& AJobs, TCustomDecoder& ADecoder, TEventsLog& AEventsLog, const TCatalogue& ACatalogue)
    : FJobs(AJobs), FDecoder(ADecoder), FEventsLog(AEventsLog), FCatalogue(ACatalogue)
{
}

bool TFileAdder::AddMediaFile(const std::string& APath)
{
    std::string error;
    if (ProbeAndAppend(APath, error))
        return true;
    FEventsLog.AddEmpty();
    FEventsLog.Add("File load error: " + error);
    FEventsLog.AddEmpty();
    if (ShowMessage)
        ShowMessage("File " + ExtractFileName(APath) + " is not a valid media file or its format is not supported.");
    return false;
}

bool TFileAdder::ProbeAndAppend(const std::string& APath, std::string& AError)
{
    try {
        if (!FDecoder.LoadFile(APath)) {
            AError = FDecoder.LastErrMsg();
            return false;
        }
    } catch (const Exception& e) {
        // The decoder refuses to work while the media libraries are not loaded.
        AError = e.Message();
        return false;
    }
    const TVideoFile job = MakeVideoFile(APath, ProbeOpenFile(FDecoder), FCatalogue.Current);
    FDecoder.CloseFile();
    // Logged once the list took it: a locked list refuses the add.
    FJobs.Append(job);
    FEventsLog.Add("File added: " + APath);
    return true;
}

int TFileAdder::AddChosenFiles(const std::vector<std::string>& APaths)
{
    const int added = AddEach(APaths);
    FJobs.SetRow(FJobs.Count());
    return added;
}

int TFileAdder::AddDroppedFiles(const std::vector<std::string>& APaths) { return AddEach(APaths); }

int TFileAdder::AddEach(const std::vector<std::string>& APaths)
{
    int added = 0;
    for (const std::string& path : APaths)
        added += AddMediaFile(path) ? 1 : 0;
    return added;
}
