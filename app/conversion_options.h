#pragma once
// How one job becomes the option records of its encoder task: codecs, rates, the trim range and the video filter
// chain ("nativeeq", "nativehue", "crop", "pad", "scale", in this order), built from the job's values and its
// format. No window and no encoder: the records are only filled here.
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

// The height the cropped picture is shown at for the job's aspect-ratio choice (0 keep, 1 the output frame's
// shape, 2 "4:3", 3 "16:9"), rounded half to even.
int DisplayHeight(int AAspectRatio, int ACroppedWidth, int ACroppedHeight, int AFrameWidth, int AFrameHeight);

// The black bars that give the cropped picture, shown ADisplayHeight high, the output frame's shape. Raises
// EConversionGeometry for sizes that are not positive or products beyond 32 bits.
struct TPadding {
    int Horizontal = 0;
    int Vertical = 0;
};
TPadding PadToFrame(int ACroppedWidth, int ADisplayHeight, int AFrameWidth, int AFrameHeight);

// The file a job converts into when it is not merged: folder, "/", destination title and the format's extension.
std::string JobOutputFileName(const std::string& AOutputFolder, const TVideoFile& AJob, const TFormat& AFormat);
// The one file of a merged run: folder, "/Joined" and the extension of the format of the selected job.
std::string JoinedOutputFileName(const std::string& AOutputFolder, const TFormat& AFormat);

// Resets and fills a job's two records. AOutputFileName is empty for a job read into a merged task (the joined
// output is named apart). The trim range is applied only when the job is converted on its own (ATrim). Raises
// EConvertError for a format value that should be a number and is not, and EConversionGeometry as above.
void FillJobOptions(const TVideoFile& AJob, const TFormat& AFormat, const std::string& AOutputFileName, bool ATrim,
                    TInputOptions& AInput, TOutputOptions& AOutput);
