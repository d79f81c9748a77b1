// The display side of the video path, on the event loop's thread: the video mode, overlays, showing due
// pictures (and dropping late ones), the display geometry; and the snapshot of the current picture.
#include "media/player/player_display.h"

#include <atomic>
#include <cmath>

#include "media/decode/format_converter.h"
#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "media/player/player_threads.h"
#include "media/player/player_video_frames.h"
#include "platform/win/geometry.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr double FRAME_SKIP_FACTOR = 0.05;
constexpr Uint8 EventAllocate = SDL_USEREVENT;      // 24
constexpr Uint8 EventRefresh = SDL_USEREVENT + 1;   // 25
constexpr Uint8 EventRelayout = SDL_USEREVENT + 3;  // 27
constexpr Uint32 VideoModeFlags = SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL;
constexpr int DefaultWidth = 640;
constexpr int DefaultHeight = 480;
// How long a snapshot waits for the event loop to finish the event it is handling.
constexpr DWORD SnapshotLockTimeout = 1000;

std::atomic<const TPlayerBitmapOps*> BitmapOps{nullptr};

// The picture due next; with none queued, the one on the screen (the entry before the read position, which the
// video thread does not write into while the queue is empty). The read entry alone would answer an older picture
// there: after a seek made while paused, one from before the seek.
TVideoPicture& ShownPicture(TVideoState* is)
{
    int index = is->pictq_rindex;
    if (is->pictq_size == 0) index = (index + VIDEO_PICTURE_QUEUE_SIZE - 1) % VIDEO_PICTURE_QUEUE_SIZE;
    return is->pictq[index];
}

}  // namespace

void SetPlayerBitmapOps(const TPlayerBitmapOps* AOps) { BitmapOps = AOps; }
const TPlayerBitmapOps* PlayerBitmapOps() { return BitmapOps; }

TDisplayRect DisplayGeometry(double AAspectRatio, double ASampleAspect, int APictureWidth, int APictureHeight,
                             int AAreaWidth, int AAreaHeight)
{
    double aspect;
    if (AAspectRatio < 0 && AAreaWidth > 0 && AAreaHeight > 0) {
        aspect = static_cast<double>(AAreaWidth) / AAreaHeight;
    } else if (AAspectRatio > 0) {
        aspect = AAspectRatio;
    } else {
        const double sample = ASampleAspect > 0 ? ASampleAspect : 1.0;
        aspect = APictureHeight > 0 ? sample * APictureWidth / APictureHeight : 1.0;
    }
    if (!(aspect > 0)) aspect = 1.0;
    TDisplayRect rect;
    rect.Height = AAreaHeight;
    rect.Width = static_cast<int>(std::lround(rect.Height * aspect)) & ~1;
    if (rect.Width > AAreaWidth) {
        rect.Width = AAreaWidth;
        rect.Height = static_cast<int>(std::lround(rect.Width / aspect)) & ~1;
    }
    rect.X = (AAreaWidth - rect.Width) / 2;
    rect.Y = (AAreaHeight - rect.Height) / 2;
    return rect;
}

int TPlayerThreadEntries::Refresh(void* AState)
{
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->RefreshThread(is);
    return 0;
}

void TCustomPlayer::RefreshThread(TVideoState* is)
{
    while (is->abort_request == 0) {
        if (is->refresh != 1) {
            is->refresh = 1;
            PushEvent(EventRefresh, is);
        }
        win::Sleep(is->audio_stream >= 0 && is->show_audio != 0 ? Frdftspeed : 5);
    }
}

void TCustomPlayer::HandleDisplayEvent(TVideoState* is, const SDL_Event& AEvent)
{
    switch (AEvent.type) {
    case EventAllocate:
        VideoOpen(is, false);
        AllocPicture(is);
        break;
    case EventRelayout:
        if (VideoOpen(is, true) == 0) VideoDisplay(is);
        break;
    case SDL_VIDEORESIZE: {
        const SDL_VideoInfo* info = FSDL.SDL_GetVideoInfo();
        const int bpp = info != nullptr && info->vfmt != nullptr && info->vfmt->BitsPerPixel < 16 ? 32 : 0;
        // In a host panel the report may be older than the panel's latest size: the panel's size holds.
        int width = AEvent.resize.w, height = AEvent.resize.h;
        if (TRect client{}; FScreenHandle != nullptr && win::GetClientRect(FScreenHandle, client) &&
                            client.Width() > 0 && client.Height() > 0) {
            width = client.Width();
            height = client.Height();
        }
        SDL_Surface* screen = FSDL.SDL_SetVideoMode(width, height, bpp, VideoModeFlags | SDL_RESIZABLE);
        if (screen == nullptr) {
            ReportError("SDL: could not set video mode.", false);
            break;
        }
        Fscreen = screen;
        FScreenWidth = is->width = screen->w;
        FScreenHeight = is->height = screen->h;
        if (is->paused) VideoRefresh(is, false);
        break;
    }
    case SDL_VIDEOEXPOSE:
        if (is->paused)
            VideoRefresh(is, false);
        else
            VideoDisplay(is);
        break;
    default:
        break;
    }
}

int TCustomPlayer::VideoOpen(TVideoState* is, bool AForce)
{
    int width, height;
    if (Fis_full_screen && Ffs_screen_width > 0) {
        width = Ffs_screen_width;
        height = Ffs_screen_height;
    } else if (!Fis_full_screen && FScreenWidth > 0 && FScreenHeight > 0) {
        width = FScreenWidth;
        height = FScreenHeight;
    } else if (is->sink_width > 0) {
        width = is->sink_width & ~1;
        height = is->sink_height & ~1;
    } else {
        width = DefaultWidth;
        height = DefaultHeight;
    }
    if (!AForce && Fscreen != nullptr && Fscreen->w == width && Fscreen->h == height && is->width == width &&
        is->height == height)
        return 0;
    // YUV overlays need a surface of 16 bits or more; a display below that (the dummy driver's 8) gets 32.
    const SDL_VideoInfo* info = FSDL.SDL_GetVideoInfo();
    const int bpp = info != nullptr && info->vfmt != nullptr && info->vfmt->BitsPerPixel < 16 ? 32 : 0;
    const Uint32 flags = VideoModeFlags | (Fis_full_screen ? SDL_FULLSCREEN : SDL_RESIZABLE);
    SDL_Surface* screen = nullptr;
    {
#if defined(__SANITIZE_ADDRESS__)
        // SDL 1.2 makes a new graphics context for the panel's window at every video mode and never frees the
        // one before: a few bytes of the library's per size change, which the leak check is not to count.
        __lsan::ScopedDisabler library_leak;
#endif
        screen = FSDL.SDL_SetVideoMode(width, height, bpp, flags);
    }
    if (screen == nullptr) {
        ReportError("SDL: could not set video mode.", false);
        return -1;
    }
    if (FScreenHandle == 0) FSDL.SDL_WM_SetCaption("FFPlayer", "FFPlayer");
    Fscreen = screen;
    is->width = screen->w;
    is->height = screen->h;
    return 0;
}

void TCustomPlayer::AllocPicture(TVideoState* is)
{
    // The video thread waits for this entry, so its write index holds still.
    TVideoPicture& vp = is->pictq[is->pictq_windex];
    if (vp.bmp != nullptr) FSDL.SDL_FreeYUVOverlay(vp.bmp);
    vp.bmp = nullptr;
    vp.width = is->sink_width & ~1;
    vp.height = is->sink_height & ~1;
    vp.pix_fmt = is->sink_pix_fmt;
    if (Fscreen != nullptr && vp.width > 0 && vp.height > 0)
        vp.bmp = FSDL.SDL_CreateYUVOverlay(vp.width, vp.height, SDL_YV12_OVERLAY, Fscreen);
    if (vp.bmp == nullptr) {
        LoggerInstance()->Log(this, llFatal,
                              PlayerText("Error: the video system does not support an image size of %dx%d pixels. "
                                         "Try using -lowres or -vf \"scale=w:h\" to reduce the image size.",
                                         vp.width, vp.height));
        // The playback ends through the quit event: the record stays valid for the rest of this event, and the
        // waiting video thread is let go by the stream close.
        PushQuit(is);
        return;
    }
    FSDL.SDL_LockMutex(is->pictq_mutex);
    vp.allocated = 1;
    FSDL.SDL_CondSignal(is->pictq_cond);
    FSDL.SDL_UnlockMutex(is->pictq_mutex);
}

void TCustomPlayer::VideoRefresh(TVideoState* is) { VideoRefresh(is, true); }

void TCustomPlayer::VideoRefresh(TVideoState* is, bool ADequeue)
{
    if (is->video_stream < 0) {
        if (is->audio_stream >= 0) {
            VideoDisplay(is);
            UpdatePosition(is);
        }
        return;
    }
    auto consume = [&] {
        FSDL.SDL_LockMutex(is->pictq_mutex);
        is->pictq_rindex = (is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
        is->pictq_size -= 1;
        FSDL.SDL_CondSignal(is->pictq_cond);
        FSDL.SDL_UnlockMutex(is->pictq_mutex);
    };
    bool dropped = false;
    for (;;) {
        const bool drop_mode = is->seek_done != 0;  // pictures from before a seek took effect
        if (is->pictq_size == 0) {
            if (!ADequeue) VideoDisplay(is);
            break;
        }
        const double now = PlayerNow();
        TVideoPicture& vp = is->pictq[is->pictq_rindex];
        if (now < vp.target_clock) return;
        is->video_current_pts = vp.pts;
        is->video_current_pts_drift = vp.pts - now;
        is->video_current_pos = vp.pos;
        const double next_target =
            is->pictq_size > 1 ? is->pictq[(is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE].target_clock.load()
                               : vp.target_clock + is->video_clock - vp.pts;
        if ((Fframedrop != 0 && now > next_target && !is->IsDevice) || drop_mode) {
            is->skip_frames = is->skip_frames * (1.0 + FRAME_SKIP_FACTOR);
            if (is->pictq_size > 1 || now > next_target + 0.5 || drop_mode) {
                consume();
                dropped = true;
                continue;
            }
        }
        SubpicturesAdvance(is);
        VideoDisplay(is);
        if (ADequeue) consume();
        break;
    }
    if (!dropped) UpdatePosition(is);
}

void TCustomPlayer::VideoDisplay(TVideoState* is)
{
    if (Fdisplay_disable) return;  // sound only: no window of any kind
    if (Fscreen == nullptr && VideoOpen(is, false) < 0) return;
    if (is->audio_stream >= 0 && is->show_audio != 0)
        VideoAudioDisplay(is);
    else if (is->video_stream >= 0)
        VideoImageDisplay(is);
}

void TCustomPlayer::VideoImageDisplay(TVideoState* is)
{
    TVideoPicture& vp = ShownPicture(is);
    if (vp.bmp == nullptr || Fscreen == nullptr) return;
    const double sar = vp.sample_aspect_ratio.num > 0 && vp.sample_aspect_ratio.den > 0
                           ? av_q2d(vp.sample_aspect_ratio)
                           : 1.0;
    SubpicturesBlend(is, vp);
    const TDisplayRect rect = DisplayGeometry(FAspectRatio, sar, vp.width, vp.height, is->width, is->height);
    is->no_background = 0;
    SDL_Rect target;
    target.x = static_cast<Sint16>(is->xleft + rect.X);
    target.y = static_cast<Sint16>(is->ytop + rect.Y);
    target.w = static_cast<Uint16>(rect.Width);
    target.h = static_cast<Uint16>(rect.Height);
    FSDL.SDL_DisplayYUVOverlay(vp.bmp, &target);
}

TBitmap* TCustomPlayer::CurrentFrame()
{
    int64_t pts;
    return CurrentFrame(pts);
}

TBitmap* TCustomPlayer::CurrentFrame(int64_t& APTS)
{
    APTS = -1;
    const TPlayerBitmapOps* ops = PlayerBitmapOps();
    if (ops == nullptr || FRGBConverter == nullptr) {
        LoggerInstance()->Log(this, llError, "CurrentFrame: no bitmap support in this program");
        return nullptr;
    }
    if (!FFrameBitmap) FFrameBitmap = ops->Create();
    TBitmap* bitmap = FFrameBitmap.get();
    TFormatConverter& converter = *FRGBConverter;
    // The event loop frees overlays and the whole record only under the data lock: the snapshot takes it too.
    if (!LockData(SnapshotLockTimeout)) {
        ops->Clear(bitmap, converter, 0, 0);
        return bitmap;
    }
    TVideoState* is = FVideoState;
    if (is == nullptr || is->video_stream < 0 || is->video_ctx == nullptr) {
        ops->Clear(bitmap, converter, 0, 0);
        UnlockData();
        return bitmap;
    }
    ops->Clear(bitmap, converter, is->video_ctx->width, is->video_ctx->height);
    TVideoPicture& vp = ShownPicture(is);
    APTS = std::llround(vp.pts * 1000000.0) - is->StartTime;
    if (vp.bmp != nullptr) {
        FSDL.SDL_LockYUVOverlay(vp.bmp);
        TAVPicture picture = OverlayPicture(vp.bmp);
        const bool converted = converter.PictureToRGB(&picture, AV_PIX_FMT_YUV420P, vp.width, vp.height);
        FSDL.SDL_UnlockYUVOverlay(vp.bmp);
        if (converted)
            ops->FromRGB(converter, bitmap);
        else
            ops->Clear(bitmap, converter, 0, 0);
    }
    UnlockData();
    return bitmap;
}
