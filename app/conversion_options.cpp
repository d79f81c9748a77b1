#include "app/conversion_options.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "app/catalogue_numbers.h"
#include "platform/rtl/sysutils.h"

namespace {

int Nearest(double AValue)
{
    if (!std::isfinite(AValue) || std::fabs(AValue) > 2147483647.0)
        throw EConversionGeometry("The picture geometry cannot be computed.");
    return static_cast<int>(Round(AValue));
}

// A padded size must stay a 32-bit size, as the filters take it.
int PaddedSize(int ASize, int APad)
{
    int padded = 0;
    if (__builtin_mul_overflow(APad, 2, &padded) || __builtin_add_overflow(ASize, padded, &padded))
        throw EConversionGeometry(Format("The picture size %d with bars of %d is too large to convert.", {ASize, APad}));
    return padded;
}

}  // namespace

std::string FrameRateText(int64_t AThousandths)
{
    if (AThousandths <= 0) return IntToStr(Round(AThousandths / 1000.0));
    // The television rates are whole rates slowed by 1000/1001; the catalogue writes them to three decimals.
    const int64_t whole = (AThousandths * 1001 + 500000) / 1000000;
    if (AThousandths % 1000 != 0 && whole > 0 && whole * 1000000 / 1001 == AThousandths)
        return std::to_string(whole * 1000) + "/1001";
    if (AThousandths % 1000 == 0) return std::to_string(AThousandths / 1000);
    const int64_t divisor = std::gcd(AThousandths, int64_t{1000});
    return std::to_string(AThousandths / divisor) + "/" + std::to_string(1000 / divisor);
}

namespace {

void FillVideoCodec(const TFormat& AFormat, TOutputOptions& AOutput)
{
    AOutput.VideoCodec = AFormat.VideoCodecName;
    if (const auto rate = CatalogueInteger(AFormat.FrameRate)) AOutput.FrameRate = FrameRateText(*rate);
    if (const auto rate = CatalogueInteger(AFormat.VideoBitRate)) AOutput.VideoBitrate = *rate;
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

int64_t GreatestDivisor(int64_t A, int64_t B)
{
    while (B != 0) A = std::exchange(B, A % B);
    return A;
}

// The nearest fraction with a denominator below 10000 (continued fractions), for shapes worked out in floating
// point.
TAspect NearestFraction(double AValue)
{
    int64_t h0 = 0, h1 = 1, k0 = 1, k1 = 0;
    double rest = AValue;
    for (int i = 0; i < 20; ++i) {
        const auto whole = static_cast<int64_t>(std::floor(rest));
        const int64_t h2 = whole * h1 + h0, k2 = whole * k1 + k0;
        if (k2 >= 10000) break;
        h0 = h1, h1 = h2, k0 = k1, k1 = k2;
        if (rest - whole < 1e-9) break;
        rest = 1 / (rest - whole);
    }
    return {h1, std::max<int64_t>(k1, 1)};
}

std::string RatioText(int64_t ANum, int64_t ADen, const char* ASeparator)
{
    const int64_t divisor = GreatestDivisor(ANum, ADen);
    return std::to_string(ANum / divisor) + ASeparator + std::to_string(ADen / divisor);
}

// Crop, bars, the frame size and the pixel shape. The picture is cropped, given the bars that make its shown
// shape the output's, scaled to the frame, and its pixels are then declared the shape that shows the frame at
// the output's display aspect. A job whose picture size is unknown (a file read as sound only) gets no crop and
// no bars: there is nothing to measure against.
void AddGeometryFilters(const TVideoFile& AJob, const TFormat& AFormat, int AOutputAspectRatio,
                        TOutputOptions& AOutput)
{
    const auto frame_width = CatalogueInteger(AFormat.Width);
    const auto frame_height = CatalogueInteger(AFormat.Height);
    const bool sized = frame_width && frame_height;
    if (sized && (*frame_width <= 0 || *frame_height <= 0))
        throw EConversionGeometry(Format("The format's frame size %d x %d is not valid.", {*frame_width, *frame_height}));
    if (AJob.SourceWidth > 0 && AJob.SourceHeight > 0) {
        const int cw = AJob.SourceWidth - AJob.CropLeft - AJob.CropRight;
        const int ch = AJob.SourceHeight - AJob.CropTop - AJob.CropBottom;
        if (cw <= 0 || ch <= 0)
            throw EConversionGeometry("The crop of \"" + AJob.SourceTitleExt + "\" leaves no picture to convert.");
        AddVideoFilter(AOutput, MakeCropFilter(AJob.SourceWidth, AJob.SourceHeight, AJob.CropLeft, AJob.CropRight,
                                               AJob.CropTop, AJob.CropBottom));
        if (!sized) {
            // A format without a frame size keeps the picture's size; only its shown shape is set.
            const double shown = PictureDisplayAspect(AJob, cw, ch, static_cast<double>(cw) / ch);
            const TAspect pixel = NearestFraction(shown * ch / cw);
            AddVideoFilter(AOutput, "setsar=" + RatioText(pixel.Num, pixel.Den, "/"));
            return;
        }
        const TAspect output = OutputDisplayAspect(AFormat, AOutputAspectRatio, *frame_width, *frame_height);
        const double shown = PictureDisplayAspect(AJob, cw, ch, output.Value());
        const TPadding pad = PadToAspect(cw, ch, shown, output.Value());
        AddVideoFilter(AOutput, MakePadFilter(cw, ch, pad.Horizontal, pad.Vertical));
    }
    if (!sized) return;
    const TAspect output = OutputDisplayAspect(AFormat, AOutputAspectRatio, *frame_width, *frame_height);
    AOutput.FrameAspectRatio = RatioText(output.Num, output.Den, ":");
    // The output size comes from the chain alone.
    AddVideoFilter(AOutput, Format("scale=%d:%d", {*frame_width, *frame_height}));
    AddVideoFilter(AOutput, "setsar=" + RatioText(output.Num * *frame_height, output.Den * *frame_width, "/"));
}

void FillVideo(const TVideoFile& AJob, const TFormat& AFormat, int AOutputAspectRatio, TOutputOptions& AOutput)
{
    FillVideoCodec(AFormat, AOutput);
    AddPictureFilters(AJob, AOutput);
    // The catalogue's Xvid entries are MPEG-4 part 2 under Xvid's tag, which the built-in encoder writes.
    if (AOutput.VideoCodec == "libxvid") {
        AOutput.VideoCodec = "mpeg4";
        AOutput.VideoTag = "XVID";
    }
    AddGeometryFilters(AJob, AFormat, AOutputAspectRatio, AOutput);
}

}  // namespace

namespace {

// "dvd", "svcd" or "vcd" when the format's "f=" option names a disc stream, else empty.
std::string DiscStreamOf(const TFormat& AFormat)
{
    const std::string options = LowerCase(StringReplace(AFormat.ExtraParam, "<CRLF>", "\n", TReplaceFlags{rfReplaceAll}));
    size_t from = 0;
    while (from <= options.size()) {
        size_t end = options.find('\n', from);
        if (end == std::string::npos) end = options.size();
        const std::string line = Trim(options.substr(from, end - from));
        if (line == "f=dvd" || line == "f=svcd" || line == "f=vcd") return line.substr(2);
        from = end + 1;
    }
    return {};
}

}  // namespace

bool IsDiscFormat(const TFormat& AFormat) { return !DiscStreamOf(AFormat).empty(); }

TAspect OutputDisplayAspect(const TFormat& AFormat, int AAspectRatio, int AFrameWidth, int AFrameHeight)
{
    // A Video CD stream knows no 16:9 picture: a 16:9 choice there is shown 16:9 within the 4:3 frame.
    const std::string disc = DiscStreamOf(AFormat);
    if (!disc.empty()) return AAspectRatio == 3 && disc != "vcd" ? TAspect{16, 9} : TAspect{4, 3};
    return {AFrameWidth, AFrameHeight};
}

double PictureDisplayAspect(const TVideoFile& AJob, int ACroppedWidth, int ACroppedHeight, double AOutputAspect)
{
    switch (AJob.AspectRatio) {
        case 1: return AOutputAspect;
        case 2: return 4.0 / 3.0;
        case 3: return 16.0 / 9.0;
        default: break;
    }
    // The source's own pixel shape, square when the file did not tell.
    double pixel = 1.0;
    if (AJob.SourceAspect > 0 && AJob.SourceWidth > 0 && AJob.SourceHeight > 0)
        pixel = AJob.SourceAspect * AJob.SourceHeight / AJob.SourceWidth;
    return pixel * ACroppedWidth / ACroppedHeight;
}

TPadding PadToAspect(int ACroppedWidth, int ACroppedHeight, double APictureAspect, double AOutputAspect)
{
    if (ACroppedWidth <= 0 || ACroppedHeight <= 0 || !(APictureAspect > 0) || !(AOutputAspect > 0))
        throw EConversionGeometry("The picture geometry cannot be computed.");
    TPadding pad;
    // Within a rounding pixel the shapes agree: no bars.
    if (APictureAspect < AOutputAspect)
        pad.Horizontal = Nearest(ACroppedWidth * (AOutputAspect / APictureAspect - 1) / 2);
    else
        pad.Vertical = Nearest(ACroppedHeight * (APictureAspect / AOutputAspect - 1) / 2);
    PaddedSize(ACroppedWidth, pad.Horizontal);
    PaddedSize(ACroppedHeight, pad.Vertical);
    return pad;
}

std::string OutputFileTitle(const std::string& ATitle)
{
    std::string title = ATitle;
    for (char& c : title)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    // A leading dot would hide the output (and "." or ".." name a folder).
    for (char& c : title) {
        if (c != '.') break;
        c = '_';
    }
    return title;
}

std::string MakeCropFilter(int AWidth, int AHeight, int ALeft, int ARight, int ATop, int ABottom)
{
    if (ALeft <= 0 && ARight <= 0 && ATop <= 0 && ABottom <= 0) return {};
    return Format("crop=%d:%d:%d:%d", {AWidth - ALeft - ARight, AHeight - ATop - ABottom, ALeft, ATop});
}

std::string MakePadFilter(int AWidth, int AHeight, int AHorizontalPad, int AVerticalPad)
{
    if (AHorizontalPad <= 0 && AVerticalPad <= 0) return {};
    const int horizontal = std::max(AHorizontalPad, 0), vertical = std::max(AVerticalPad, 0);
    return Format("pad=%d:%d:%d:%d:black",
                  {PaddedSize(AWidth, horizontal), PaddedSize(AHeight, vertical), horizontal, vertical});
}

void AddVideoFilter(TOutputOptions& AOptions, const std::string& AFilter)
{
    if (AFilter.empty()) return;
    AOptions.VideoFilters = AOptions.VideoFilters.empty() ? AFilter : AOptions.VideoFilters + "," + AFilter;
}

std::string JobOutputFileName(const std::string& AOutputFolder, const TVideoFile& AJob, const TFormat& AFormat)
{
    return IncludeTrailingPathDelimiter(AOutputFolder) + OutputFileTitle(AJob.DestinationTitle) + AFormat.FormatExt;
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
    if (const auto channels = CatalogueInteger(AFormat.Channel)) AOutput.AudioChannels = *channels;
    if (const auto rate = CatalogueInteger(AFormat.SampleRate)) AOutput.AudioSampleRate = *rate;
    if (const auto rate = CatalogueInteger(AFormat.AudioBitRate)) AOutput.AudioBitrate = *rate;
    if (CatalogueInteger(AFormat.IsAudioFormat) != 1)
        FillVideo(AJob, AFormat, AJob.AspectRatio, AOutput);
    else
        AOutput.DisableVideo = true;
    if (ATrim) {
        AInput.TimeStart = AJob.TimeStart;
        // Only an end the user set within the file cuts. An end at or past the probed length is the file's real
        // end, which may lie well past what probing guessed (a VBR MP3 without an index, joined recordings): the
        // input is read to its end. A file that did not tell its length converts whole rather than to nothing.
        const bool to_file_end = AJob.SourceDuration > 0 && AJob.TimeEnd >= AJob.SourceDuration;
        if (!to_file_end && AJob.TimeEnd > AJob.TimeStart) AOutput.TimeLength = AJob.TimeEnd - AJob.TimeStart;
        AOutput.Info.TimeStamp = 0;
    }
}

std::string JoinedInputFilters(const TVideoFile& AJob, const TFormat& AJoinedFormat, int AJoinedAspectRatio)
{
    if (AJoinedFormat.IsAudioOnly()) return {};
    TOutputOptions options;
    InitOutputOptions(options);
    FillVideo(AJob, AJoinedFormat, AJoinedAspectRatio, options);
    return options.VideoFilters;
}
