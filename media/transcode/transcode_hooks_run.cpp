// Where the video path of a run meets the transcoder's hooks: every decoded picture, and every picture about to
// be encoded.
#include "media/loader/av_bindings.h"
#include "media/decode/deinterlace.h"
#include "media/transcode/transcode_run.h"

namespace {

// Replaces AFrame by its deinterlaced copy. A picture that cannot be deinterlaced goes on as it is, and the
// answer says why; nullptr on success.
const char* Deinterlace(AVFrame* AFrame)
{
    TFramePtr copy(ff::av_frame_alloc());
    if (copy == nullptr) return "hook buf malloc error.";
    copy->width = AFrame->width;
    copy->height = AFrame->height;
    copy->format = AFrame->format;
    if (ff::av_frame_get_buffer(copy.get(), 0) < 0 || ff::av_frame_copy_props(copy.get(), AFrame) < 0)
        return "hook buf malloc error.";
    if (!DeinterlaceYUV420(copy.get(), AFrame)) return "Deinterlacing failed.";
    ff::av_frame_unref(AFrame);
    ff::av_frame_move_ref(AFrame, copy.get());
    return nullptr;
}

}  // namespace

void TTranscodeRun::ProcessInputPicture(TInputStreamRun& AIst, AVFrame* AFrame)
{
    const auto index = static_cast<size_t>(&AIst - FInputs.data());
    if (FInputPictureNumbers.size() < FInputs.size()) FInputPictureNumbers.resize(FInputs.size(), 0);
    const int number = ++FInputPictureNumbers[index];
    if (E.Fdo_deinterlace)
        if (const char* error = Deinterlace(AFrame)) E.Log(llError, error);
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
