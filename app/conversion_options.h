#pragma once
// How one job becomes the option records of its encoder task: codecs, rates, the trim range and the video filter
// chain ("nativeeq", "nativehue", "crop", "pad", "scale", "setsar", in this order), built from the job's values
// and its format. No window and no encoder: the records are only filled here.
#include <cstdint>
#include <string>

#include "app/catalogue_records.h"
#include "app/video_file.h"
#include "media/transcode/option_records.h"
#include "platform/rtl/exceptions.h"

// The crop and pad arithmetic cannot be done for the job (no picture left, a format without a frame size, a
// product beyond 32 bits). The message says why; the Start command reports it with "CLM_SetCropFilters".
class EConversionGeometry : public Exception {
public:
    using Exception::Exception;
};

// Empty when every margin is 0 or less, else "crop=w:h:x:y" of what the margins leave.
std::string MakeCropFilter(int AWidth, int AHeight, int ALeft, int ARight, int ATop, int ABottom);
// Empty when both pads are 0 or less, else "pad=w:h:x:y:black" around the cropped picture.
std::string MakePadFilter(int AWidth, int AHeight, int AHorizontalPad, int AVerticalPad);
// Appends a filter to the output's chain, joined by ","; an empty text changes nothing.
void AddVideoFilter(TOutputOptions& AOptions, const std::string& AFilter);

// A display aspect as a fraction, e.g. 4/3.
struct TAspect {
    int64_t Num = 1;
    int64_t Den = 1;
    double Value() const { return static_cast<double>(Num) / static_cast<double>(Den); }
};

// How the output frame is shown. The disc formats (their "f=" option names a DVD, SVCD or VCD stream) have
// frames that are not made of square pixels and are shown 4:3, or 16:9 when the job asks for 16:9 (DVD and
// SVCD; a Video CD is 4:3 only); every other format has square pixels, so it is shown with its frame's own shape.
TAspect OutputDisplayAspect(const TFormat& AFormat, int AAspectRatio, int AFrameWidth, int AFrameHeight);
bool IsDiscFormat(const TFormat& AFormat);

// The shape the cropped picture is shown with for the job's aspect-ratio choice: 0 its own (the source's pixel
// shape kept), 1 the output's whole frame, 2 "4:3", 3 "16:9".
double PictureDisplayAspect(const TVideoFile& AJob, int ACroppedWidth, int ACroppedHeight, double AOutputAspect);

// The black bars, in the cropped picture's own pixels, that give the picture (shown APictureAspect wide) the
// output's display aspect: left and right for a narrower picture, top and bottom for a wider one. Raises
// EConversionGeometry for sizes that are not positive or a padded size beyond 32 bits.
struct TPadding {
    int Horizontal = 0;
    int Vertical = 0;
};
TPadding PadToAspect(int ACroppedWidth, int ACroppedHeight, double APictureAspect, double AOutputAspect);

// A catalogue frame rate (frames per second times 1000) as the encoder's rate text: whole rates as they are
// ("25"), the rates slowed by 1000/1001 exactly ("29970" gives "30000/1001", "23976" "24000/1001"), any other as
// its fraction ("12500" gives "25/2").
std::string FrameRateText(int64_t AThousandths);

// A destination title as a file name: path separators and leading dots become "_", so a title never leaves the
// output folder nor names a hidden file.
std::string OutputFileTitle(const std::string& ATitle);

// The file a job converts into when it is not merged: folder, "/", destination title and the format's extension.
std::string JobOutputFileName(const std::string& AOutputFolder, const TVideoFile& AJob, const TFormat& AFormat);
// The one file of a merged run: folder, "/Joined" and the extension of the format of the selected job.
std::string JoinedOutputFileName(const std::string& AOutputFolder, const TFormat& AFormat);

// The filter chain that brings one job's pictures, with its own crop, aspect choice and picture values, to the
// frame and display aspect of a joined output in AJoinedFormat (whose aspect choice is AJoinedAspectRatio, the
// selected job's). Empty for a sound format. Raises as FillJobOptions.
std::string JoinedInputFilters(const TVideoFile& AJob, const TFormat& AJoinedFormat, int AJoinedAspectRatio);

// Resets and fills a job's two records. AOutputFileName is empty for a job read into a merged task (the joined
// output is named apart). The trim range is applied only when the job is converted on its own (ATrim). Raises
// EConvertError for a format value that should be a number and is not, and EConversionGeometry as above. An
// empty value is "not set": the engine's default (or the source's own value) is used.
void FillJobOptions(const TVideoFile& AJob, const TFormat& AFormat, const std::string& AOutputFileName, bool ATrim,
                    TInputOptions& AInput, TOutputOptions& AOutput);
