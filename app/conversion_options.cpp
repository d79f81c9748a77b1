#include "app/conversion_options.h"

#include <cmath>

#include "platform/rtl/sysutils.h"

namespace {

// The geometry's integer products are 32-bit, as the arithmetic they come from; an overflow must not wrap into a
// plausible but wrong pad.
int Multiply(int A, int B)
{
    int product = 0;
    if (__builtin_mul_overflow(A, B, &product))
        throw EConversionGeometry(Format("The picture size %d x %d is too large to convert.", {A, B}));
    return product;
}

int Nearest(double AValue)
{
    if (!std::isfinite(AValue) || std::fabs(AValue) > 2147483647.0)
        throw EConversionGeometry("The picture geometry cannot be computed.");
    return static_cast<int>(Round(AValue));
}

void FillVideoCodec(const TFormat& AFormat, TOutputOptions& AOutput)
{
    AOutput.VideoCodec = AFormat.VideoCodecName;
    AOutput.FrameRate = IntToStr(Round(StrToInt(AFormat.FrameRate) / 1000.0));
    AOutput.VideoBitrate = StrToInt(AFormat.VideoBitRate);
    if (Pos("divx", LowerCase(AFormat.Title)) > 0) AOutput.VideoTag = "DIVX";
    if (AOutput.VideoCodec == "libx264") AOutput.VideoPreset = "libx264-default";
    if (!AFormat.ExtraParam.empty()) AOutput.ExtOptions = AFormat.ExtraParam;
}

void AddPictureFilters(const TVideoFile& AJob, TOutputOptions& AOutput)
{
    if (AJob.Brightness != 0 || AJob.Contrast != 0)
        AddVideoFilter(AOutput, Format("nativeeq=%d:%d", {AJob.Brightness, AJob.Contrast}));
    if (AJob.Saturation != 0) AddVideoFilter(AOutput, Format("nativehue=%d:%d", {0, AJob.Saturation}));
}

// Crop and pad. A job whose picture size is unknown (a file read as sound only) gets neither: there is nothing
// to measure the frame against, and dividing by its zero size is no answer.
void AddGeometryFilters(const TVideoFile& AJob, int AFrameWidth, int AFrameHeight, TOutputOptions& AOutput)
{
    if (AJob.SourceWidth <= 0 || AJob.SourceHeight <= 0) return;
    if (AFrameWidth <= 0 || AFrameHeight <= 0)
        throw EConversionGeometry(Format("The format's frame size %d x %d is not valid.", {AFrameWidth, AFrameHeight}));
    const int cw = AJob.SourceWidth - AJob.CropLeft - AJob.CropRight;
    const int ch = AJob.SourceHeight - AJob.CropTop - AJob.CropBottom;
    if (cw <= 0 || ch <= 0)
        throw EConversionGeometry("The crop of \"" + AJob.SourceTitleExt + "\" leaves no picture to convert.");
    const int dh = DisplayHeight(AJob.AspectRatio, cw, ch, AFrameWidth, AFrameHeight);
    if (dh <= 0) throw EConversionGeometry("The crop of \"" + AJob.SourceTitleExt + "\" leaves no picture to convert.");
    const TPadding pad = PadToFrame(cw, dh, AFrameWidth, AFrameHeight);
    AddVideoFilter(AOutput, MakeCropFilter(AJob.SourceWidth, AJob.SourceHeight, AJob.CropLeft, AJob.CropRight,
                                           AJob.CropTop, AJob.CropBottom));
    AddVideoFilter(AOutput, MakePadFilter(cw, ch, pad.Horizontal, pad.Vertical));
}

void FillVideo(const TVideoFile& AJob, const TFormat& AFormat, TOutputOptions& AOutput)
{
    FillVideoCodec(AFormat, AOutput);
    AddPictureFilters(AJob, AOutput);
    const int frame_width = StrToInt(AFormat.Width);
    const int frame_height = StrToInt(AFormat.Height);
    // The catalogue's Xvid entries are MPEG-4 part 2 under Xvid's tag, which the built-in encoder writes.
    if (AOutput.VideoCodec == "libxvid") {
        AOutput.VideoCodec = "mpeg4";
        AOutput.VideoTag = "XVID";
    }
    switch (AJob.AspectRatio) {
        case 1: AOutput.FrameAspectRatio = "-1"; break;
        case 2: AOutput.FrameAspectRatio = "4:3"; break;
        case 3: AOutput.FrameAspectRatio = "16:9"; break;
        default: break;
    }
    AddGeometryFilters(AJob, frame_width, frame_height, AOutput);
    // The output size comes from the chain alone.
    AOutput.FrameSize = AFormat.Width + "x" + AFormat.Height;
    AddVideoFilter(AOutput, "scale=" + StringReplace(AOutput.FrameSize, "x", ":", {}));
    AOutput.FrameSize.clear();
}

}  // namespace

std::string MakeCropFilter(int AWidth, int AHeight, int ALeft, int ARight, int ATop, int ABottom)
{
    if (ALeft <= 0 && ARight <= 0 && ATop <= 0 && ABottom <= 0) return {};
    return Format("crop=%d:%d:%d:%d", {AWidth - ALeft - ARight, AHeight - ATop - ABottom, ALeft, ATop});
}

std::string MakePadFilter(int AWidth, int AHeight, int AHorizontalPad, int AVerticalPad)
{
    if (AHorizontalPad <= 0 && AVerticalPad <= 0) return {};
    return Format("pad=%d:%d:%d:%d:black",
                  {AWidth + 2 * AHorizontalPad, AHeight + 2 * AVerticalPad, AHorizontalPad, AVerticalPad});
}

void AddVideoFilter(TOutputOptions& AOptions, const std::string& AFilter)
{
    if (AFilter.empty()) return;
    AOptions.VideoFilters = AOptions.VideoFilters.empty() ? AFilter : AOptions.VideoFilters + "," + AFilter;
}

int DisplayHeight(int AAspectRatio, int ACroppedWidth, int ACroppedHeight, int AFrameWidth, int AFrameHeight)
{
    const double cw = ACroppedWidth;
    switch (AAspectRatio) {
        case 1: return Nearest(cw / (static_cast<double>(AFrameWidth) / AFrameHeight));
        case 2: return Nearest(cw / (4.0 / 3.0));
        case 3: return Nearest(cw / (16.0 / 9.0));
        default: return ACroppedHeight;
    }
}

TPadding PadToFrame(int ACroppedWidth, int ADisplayHeight, int AFrameWidth, int AFrameHeight)
{
    const int cw = ACroppedWidth, dh = ADisplayHeight, fw = AFrameWidth, fh = AFrameHeight;
    if (cw <= 0 || dh <= 0 || fw <= 0 || fh <= 0)
        throw EConversionGeometry("The picture geometry cannot be computed.");
    TPadding pad;
    if (static_cast<double>(cw) / dh <= static_cast<double>(fw) / fh) {
        // Not wider than the frame: bars left and right.
        const double t = static_cast<double>(Multiply(cw, fh)) / dh;
        pad.Horizontal = Nearest(Multiply(fw, cw) / (2 * t) - cw / 2.0);
    } else {
        const double t = static_cast<double>(Multiply(dh, fw)) / cw;
        pad.Vertical = Nearest(Multiply(fh, dh) / (2 * t) - dh / 2.0);
    }
    return pad;
}

std::string JobOutputFileName(const std::string& AOutputFolder, const TVideoFile& AJob, const TFormat& AFormat)
{
    return IncludeTrailingPathDelimiter(AOutputFolder) + AJob.DestinationTitle + AFormat.FormatExt;
}

std::string JoinedOutputFileName(const std::string& AOutputFolder, const TFormat& AFormat)
{
    return IncludeTrailingPathDelimiter(AOutputFolder) + "Joined" + AFormat.FormatExt;
}

void FillJobOptions(const TVideoFile& AJob, const TFormat& AFormat, const std::string& AOutputFileName, bool ATrim,
                    TInputOptions& AInput, TOutputOptions& AOutput)
{
    InitInputOptions(AInput);
    AInput.FileName = AJob.Source;
    InitOutputOptions(AOutput);
    AOutput.FileName = AOutputFileName;
    AOutput.FileExt = AFormat.FormatExt;
    AOutput.AudioCodec = AFormat.AudioCodecName;
    AOutput.AudioChannels = StrToInt(AFormat.Channel);
    AOutput.AudioSampleRate = StrToInt(AFormat.SampleRate);
    AOutput.AudioBitrate = StrToInt(AFormat.AudioBitRate);
    if (StrToInt(AFormat.IsAudioFormat) != 1)
        FillVideo(AJob, AFormat, AOutput);
    else
        AOutput.DisableVideo = true;
    if (ATrim) {
        AInput.TimeStart = AJob.TimeStart;
        // A file that did not tell its length has no end to cut at: it converts whole rather than to nothing.
        if (AJob.TimeEnd > AJob.TimeStart) AOutput.TimeLength = AJob.TimeEnd - AJob.TimeStart;
        AOutput.Info.TimeStamp = 0;
    }
}
