#pragma once
// Probing one media file for the job list through a decoder: what a new job needs of the file, or why the file
// cannot be opened.
#include <string>

#include "app/video_file.h"
#include "media/decode/custom_decoder.h"

// What a new job needs of the file open in the decoder: its length (0 when the file does not tell) and its
// streams up to and including the first video stream, which is all a job looks at. The decoder already knows
// where that stream is; asking it stream by stream would log an error for every stream of another kind.
TProbedFile ProbeOpenFile(TCustomDecoder& ADecoder);

struct TProbeResult {
    bool Loaded = false;
    TProbedFile File;   // when loaded
    std::string Error;  // when not: the decoder's reason
};

// Opens the file in the decoder, reads what a job needs and closes it again. A decoder that refuses to work
// (the media libraries are not loaded) gives its reason like any other failure.
TProbeResult ProbeMediaFile(TCustomDecoder& ADecoder, const std::string& APath);
