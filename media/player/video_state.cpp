#include "media/player/video_state.h"

#include "media/loader/av_bindings.h"

#include <chrono>
#include <cmath>

double PlayerNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double GetAudioClock(const TVideoState& AState)
{
    double pts = AState.audio_clock;
    const int bytes_per_sec = AState.audio_bytes_per_sec;
    if (AState.audio_stream < 0 || bytes_per_sec <= 0) return pts;
    const int unplayed = AState.audio_buf_size - AState.audio_buf_index;
    return pts - static_cast<double>(unplayed) / bytes_per_sec;
}

double GetVideoClock(const TVideoState& AState)
{
    if (AState.paused) return AState.video_current_pts;
    const double drift = AState.video_current_pts_drift;
    if (drift != 0) return PlayerNow() + drift;
    // Before the first picture the clock stands at the start of the file.
    return static_cast<double>(AState.StartTime) / 1000000.0;
}

double GetExternalClock(const TVideoState& AState)
{
    const double now_us = PlayerNow() * 1000000.0;
    return AState.external_clock + (now_us - static_cast<double>(AState.external_clock_time)) / 1000000.0;
}

double GetMasterClock(const TVideoState& AState)
{
    switch (AState.av_sync_type) {
    case AV_SYNC_VIDEO_MASTER:
        return AState.video_stream >= 0 ? GetVideoClock(AState) : GetAudioClock(AState);
    case AV_SYNC_AUDIO_MASTER:
        return AState.audio_stream >= 0 ? GetAudioClock(AState) : GetVideoClock(AState);
    default:
        return GetExternalClock(AState);
    }
}

double ComputeTargetTime(TVideoState& AState, double APts)
{
    double delay = APts - AState.frame_last_pts;
    if (std::isnan(AState.frame_last_pts) || delay <= 0 || delay >= AV_NOSYNC_THRESHOLD)
        delay = AState.frame_last_delay;  // a jump (seek, broken time stamps) keeps the last frame's delay
    else
        AState.frame_last_delay = delay;
    AState.frame_last_pts = APts;

    if ((AState.av_sync_type == AV_SYNC_AUDIO_MASTER && AState.audio_stream >= 0) ||
        AState.av_sync_type == AV_SYNC_EXTERNAL_CLOCK) {
        const double diff = GetVideoClock(AState) - GetMasterClock(AState);
        const double threshold = std::max(AV_SYNC_THRESHOLD, delay);
        if (std::fabs(diff) < AV_NOSYNC_THRESHOLD) {
            if (diff <= -threshold)
                delay = 0;
            else if (diff >= threshold)
                delay = 2 * delay;
        }
    }
    AState.frame_timer = AState.frame_timer + delay;
    return AState.frame_timer;
}

TVideoState::~TVideoState()
{
    // Overlays and subtitles still held when the playback ends; the SDL copy is still up (it goes after this).
    for (TVideoPicture& picture : pictq)
        if (picture.bmp != nullptr && SDL != nullptr) SDL->SDL_FreeYUVOverlay(picture.bmp);
    // Only what was made is freed: a record that never played needs none of the libraries.
    for (TSubPicture& subpicture : subpq)
        if (subpicture.sub.num_rects > 0 || subpicture.sub.rects != nullptr) ff::avsubtitle_free(&subpicture.sub);
    if (reformat_ctx != nullptr) ff::swr_free(&reformat_ctx);
    if (audio_src_layout.nb_channels != 0 || audio_src_layout.u.map != nullptr)
        ff::av_channel_layout_uninit(&audio_src_layout);
    if (SDL != nullptr) {
        if (subpq_mutex != nullptr) SDL->SDL_DestroyMutex(subpq_mutex);
        if (subpq_cond != nullptr) SDL->SDL_DestroyCond(subpq_cond);
    }
}
