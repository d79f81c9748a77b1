#pragma once
// The transcoder that runs: TCustomFFmpeg with its conversion body (set-up, read loop, decoding, the video, audio
// and subtitle paths, stream copy, join segments, progress).
#include "media/transcode/custom_ffmpeg.h"

class TTranscodeRun;

class TFFmpeg : public TCustomFFmpeg {
public:
    explicit TFFmpeg(int AMaxFiles = 64) : TCustomFFmpeg(AMaxFiles) {}

protected:
    void RunTranscode() override;

private:
    friend class TTranscodeRun;
};
