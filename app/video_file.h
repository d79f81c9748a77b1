#pragma once
// One job of the job list and the rules that need no window: a job made from what probing found, and its
// estimated output size.
#include <cstdint>
#include <string>
#include <vector>

#include "app/catalogue_records.h"

struct TVideoFile {
    std::string Source;               // full path of the media file
    bool isSourceAudioFormat = false;  // the file has no video stream
    std::string SourceTitleExt;       // file name with extension, without folder
    int64_t TrimmedLength = 0;        // microseconds that will be converted
    double EstimatedSize = 0;         // MB (units of 1024 x 1000 bytes)
    std::string DestinationTitle;     // output name without extension
    std::string Status;
    int64_t TimeStart = 0, TimeEnd = 0;  // trim range, microseconds
    int SourceWidth = 0, SourceHeight = 0;
    double SourceAspect = 0;              // display aspect of the whole source picture, 0 when not known
    int64_t SourceDuration = 0;           // microseconds, 0 when the file did not tell
    int CropLeft = 0, CropTop = 0, CropRight = 0, CropBottom = 0;
    int AspectRatio = 0;  // 0 "Keep Original", 1 "Full Screen", 2 "4:3", 3 "16:9"
    int Brightness = 0, Saturation = 0, Contrast = 0;  // -100..100
    int ProfileInd = 0, FormatInd = 0;
};

// What probing a file tells the job list.
struct TProbedStream {
    bool IsVideo = false;
    int Width = 0, Height = 0;
    double DisplayAspect = 0;  // 0 when not known
};
struct TProbedFile {
    int64_t Duration = 0;  // microseconds
    std::vector<TProbedStream> Streams;
};

// A new job for a probed file with the current preset. The first video stream decides the picture size and
// whether the file counts as audio: a file whose first stream happens to be audio is still a video.
TVideoFile MakeVideoFile(const std::string& APath, const TProbedFile& AProbe, TFormatIndex ACurrent);

// Recomputes the estimate from the job's length and its format's bit rates. Leaves the estimate as it was when
// the job's preset names no format or a bit rate is not a number; never fails.
void EstimateOutputSize(TVideoFile& AJob, const TFormat* AFormat);

// The size column: two decimals and " MB".
std::string EstimatedSizeText(double ASize);
