#include "app/video_file.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "app/catalogue_numbers.h"

namespace {

std::string FileNameOf(const std::string& APath)
{
    const auto slash = APath.find_last_of('/');
    return slash == std::string::npos ? APath : APath.substr(slash + 1);
}

// The extension starts at the last dot of the file name, as the file-name helpers of the class library see it.
std::string WithoutExtension(const std::string& AName)
{
    const auto dot = AName.find_last_of('.');
    return dot == std::string::npos ? AName : AName.substr(0, dot);
}

}  // namespace

bool TFormat::IsAudioOnly() const
{
    std::optional<int64_t> flag;
    return ParseCatalogueInteger(IsAudioFormat, flag) && flag == 1;
}

TVideoFile MakeVideoFile(const std::string& APath, const TProbedFile& AProbe, TFormatIndex ACurrent)
{
    TVideoFile job;
    job.Source = APath;
    job.SourceTitleExt = FileNameOf(APath);
    job.DestinationTitle = WithoutExtension(job.SourceTitleExt);
    job.Status.assign(1, '-');  // a one-character literal trips a false -Wrestrict of GCC 12 here
    job.TrimmedLength = AProbe.Duration;
    job.isSourceAudioFormat = true;
    for (const auto& stream : AProbe.Streams) {
        if (stream.IsVideo) {
            job.isSourceAudioFormat = false;
            job.SourceWidth = stream.Width;
            job.SourceHeight = stream.Height;
            job.SourceAspect = stream.DisplayAspect;
            break;
        }
    }
    job.TimeStart = 0;
    job.TimeEnd = job.TrimmedLength;
    job.SourceDuration = AProbe.Duration;
    job.ProfileInd = ACurrent.Profile;
    job.FormatInd = ACurrent.Format;
    return job;
}

void EstimateOutputSize(TVideoFile& AJob, const TFormat* AFormat)
{
    if (!AFormat)
        return;
    // Whole seconds straight from the microseconds: a round trip through a time-of-day text would lose every
    // length of a day or more.
    const double seconds = static_cast<double>(AJob.TrimmedLength / 1000000);
    double size = 0;
    for (const std::string* rate : {&AFormat->VideoBitRate, &AFormat->AudioBitRate}) {
        std::optional<int64_t> bits;
        if (!ParseCatalogueInteger(*rate, bits))
            return;
        if (!bits)
            continue;  // not set: that stream adds nothing
        size += static_cast<double>(*bits) / 1000 / 8 * seconds;
    }
    AJob.EstimatedSize = size / 1024;
}

std::string EstimatedSizeText(double ASize)
{
    char text[64];
    // Fixed notation with 8 significant digits; beyond that the number is shown in scientific notation.
    if (std::fabs(ASize) >= 1e8)
        std::snprintf(text, sizeof text, "%.7E MB", ASize);
    else
        std::snprintf(text, sizeof text, "%.2f MB", ASize);
    return text;
}
