// Where the video path of a run meets the transcoder's hooks: every decoded picture, and every picture about to
// be encoded.
#include "media/loader/av_bindings.h"
#include "media/transcode/transcode_run.h"

void TTranscodeRun::ProcessInputPicture(TInputStreamRun& AIst, AVFrame* AFrame)
{
    const auto index = static_cast<size_t>(&AIst - FInputs.data());
    if (FInputPictureNumbers.size() < FInputs.size()) FInputPictureNumbers.resize(FInputs.size(), 0);
    const int number = ++FInputPictureNumbers[index];
    if (!E.FOnInputVideoHook && !E.FHooks.HasFrameHooks()) return;
    // The decoder may still refer to the picture's planes: the hooks draw on a copy that takes its place.
    if (ff::av_frame_make_writable(AFrame) < 0) {
        E.Log(llError, "hook buf malloc error.");
        return;
    }
    const int64_t pts_us = AFrame->best_effort_timestamp == AV_NOPTS_VALUE
                               ? AV_NOPTS_VALUE
                               : ToMicroseconds(AFrame->best_effort_timestamp, AIst.st->time_base) +
                                     FileOffset(AIst.file_index);
    E.FHooks.InputPicture(AFrame, number, pts_us);
}

AVFrame* TTranscodeRun::HookOutputPicture(AVFrame* AFrame, int AFrameNumber, int64_t APTS)
{
    if (!E.FHooks.WantsOutputPictures()) return AFrame;
    AVFrame* picture = AFrame;
    if (E.FOnOutputVideoHook) {
        // The hook draws on a copy, so that a picture written more than once is hooked afresh each time.
        if (FHookedPicture == nullptr) FHookedPicture.reset(ff::av_frame_alloc());
        AVFrame* copy = FHookedPicture.get();
        if (copy != nullptr) ff::av_frame_unref(copy);
        if (copy == nullptr || ff::av_frame_ref(copy, AFrame) < 0 || ff::av_frame_make_writable(copy) < 0) {
            E.Log(llError, "hook buf malloc error.");
        } else {
            picture = copy;
        }
    }
    E.FHooks.OutputPicture(picture, AFrameNumber, APTS);
    return picture;
}
