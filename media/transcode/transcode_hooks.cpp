#include "media/transcode/transcode_hooks.h"

#include <atomic>
#include <vector>

#include "media/loader/av_bindings.h"
#include "media/transcode/custom_ffmpeg.h"
#include "platform/rtl/clock.h"

namespace {

std::atomic<THookBitmaps*> InstalledHookBitmaps{nullptr};

const char* const NoBitmapsText =
    "Video hooks and the preview need the bitmap classes, which this program did not install";

// The four planes of a decoded picture, in a picture record of the converter's or the plug-ins' kind.
template <typename TPlanes>
TPlanes PlanesOf(const AVFrame* AFrame)
{
    TPlanes planes{};
    for (int i = 0; i < 4; ++i) {
        planes.data[i] = AFrame->data[i];
        planes.linesize[i] = AFrame->linesize[i];
    }
    return planes;
}

}  // namespace

void SetHookBitmaps(THookBitmaps* AHost) { InstalledHookBitmaps = AHost; }

THookBitmaps* HookBitmaps() { return InstalledHookBitmaps; }

std::recursive_mutex& PostHookLock()
{
    static std::recursive_mutex lock;
    return lock;
}

THookPicture::~THookPicture()
{
    if (Bitmap != nullptr && Host != nullptr) Host->FreeBitmap(Bitmap);
}

bool THookPicture::ToBitmap(AVFrame* APicture, int ABitsPixel, std::string& AError)
{
    if (Host == nullptr) Host = HookBitmaps();
    if (Host == nullptr) {
        AError = NoBitmapsText;
        return false;
    }
    try {
        Converter.SetBitsPixel(ABitsPixel);
    } catch (const Exception& e) {
        AError = e.Message();
        return false;
    }
    TAVPicture picture = PlanesOf<TAVPicture>(APicture);
    if (!Converter.PictureToRGB(&picture, static_cast<AVPixelFormat>(APicture->format), APicture->width,
                                APicture->height)) {
        AError = Converter.LastErrMsg();
        return false;
    }
    try {
        if (Bitmap == nullptr) Bitmap = Host->NewBitmap();
        Host->RGBToBitmap(Converter, Bitmap);
    } catch (const Exception& e) {
        AError = e.Message();
        return false;
    }
    return true;
}

TTranscodeHooks::~TTranscodeHooks() { Release(); }

void TTranscodeHooks::AddFrameHook(const std::vector<std::string>& AWords, const std::string& AText)
{
    std::vector<std::string> words = AWords;
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (FrameHookAdd(FFirstHook, static_cast<int>(words.size()), argv.data()) < 0)
        throw FFmpegException("Failed to add video hook function: " + AText);
}

TPostHooks TTranscodeHooks::PostHooks() const
{
    std::lock_guard guard(PostHookLock());
    return FPostHooks;
}

void TTranscodeHooks::SetPostHooks(TPostHooks AValue)
{
    std::unique_ptr<TPreviewWindow> closing;
    {
        std::lock_guard guard(PostHookLock());
        FPostHooks = AValue;
        FPostHooksChanged = true;
        if (!AValue.Contains(phPreview)) closing = TakePreviewer(true);
    }
    // Outside the lock: closing a window waits for nothing, but its owner's handlers may take the lock.
    closing.reset();
}

std::unique_ptr<TPreviewWindow> TTranscodeHooks::TakePreviewer(bool AOnlyWhenIdle)
{
    // A window being painted on is left to the conversion thread, which closes it once the paint is over.
    if (AOnlyWhenIdle && FPreviewerBusy) return nullptr;
    return std::move(FPreviewer);
}

bool TTranscodeHooks::WantsOutputPictures() const
{
    return static_cast<bool>(E.FOnOutputVideoHook) || !PostHooks().Empty();
}

void TTranscodeHooks::InputPicture(AVFrame* APicture, int AFrameNumber, int64_t APTS)
{
    if (E.FOnInputVideoHook) {
        DoVideoHook(true, APicture, AFrameNumber, APTS);
        return;
    }
    if (FFirstHook == nullptr) return;
    QuennaryHookPicture picture = PlanesOf<QuennaryHookPicture>(APicture);
    FrameHookProcess(FFirstHook, &picture, APicture->format, APicture->width, APicture->height, APTS);
}

void TTranscodeHooks::OutputPicture(AVFrame* APicture, int AFrameNumber, int64_t APTS)
{
    bool converted = false;
    if (E.FOnOutputVideoHook) converted = DoVideoHook(false, APicture, AFrameNumber, APTS);
    if (!PostHooks().Empty()) DoPostHooks(APicture, converted, AFrameNumber, APTS);
}

bool TTranscodeHooks::DoVideoHook(bool AInput, AVFrame* APicture, int AFrameNumber, int64_t APTS)
{
    TVideoHookEvent& event = AInput ? E.FOnInputVideoHook : E.FOnOutputVideoHook;
    THookPicture& hook = AInput ? FInputVideoHook : FOutputVideoHook;
    std::string error;
    bool converted = hook.ToBitmap(APicture, E.FHookBitsPixel, error);
    if (!converted) {
        E.Log(llError, error);
        event = nullptr;
        return false;
    }
    bool update = true;
    bool stop_hook = false;
    try {
        event(&E, hook.Bitmap, AFrameNumber, APTS, update, stop_hook);
    } catch (const Exception& e) {
        E.Log(llError, "Error occurs VideoHook event: " + e.Message());
        update = false;
    } catch (const std::exception& e) {
        E.Log(llError, std::string("Error occurs VideoHook event: ") + e.what());
        update = false;
    }
    if (update) {
        try {
            hook.Host->BitmapToRGB(hook.Converter, hook.Bitmap);
            // A picture that already had the bitmap's layout was drawn on in place; any other goes back through
            // the converter.
            if (hook.Converter.RGBPictureRef() == hook.Converter.RGBPicture()) {
                TAVPicture picture = PlanesOf<TAVPicture>(APicture);
                if (!hook.Converter.RGBToPicture(&picture, static_cast<AVPixelFormat>(APicture->format),
                                                 APicture->width, APicture->height))
                    throw Exception(hook.Converter.LastErrMsg());
            }
        } catch (const Exception& e) {
            E.Log(llError, e.Message());
            stop_hook = true;
        }
    } else if (!PostHooks().Empty()) {
        converted = false;
    }
    if (stop_hook) event = nullptr;
    return converted;
}

void TTranscodeHooks::DoPostHooks(AVFrame* APicture, bool AConverted, int AFrameNumber, int64_t APTS)
{
    std::unique_lock guard(PostHookLock());
    const TPostHooks hooks = FPostHooks;
    const bool to_event = hooks.Contains(phBitmap) && static_cast<bool>(E.FOnPreviewBitmap);
    const bool to_window = !to_event && hooks.Contains(phPreview);
    if (!to_event && !to_window) return;
    const int64_t now = GetTickCountMicro();
    if (E.PreviewInterval > 0 && FPreviewLastTime != INT64_MIN && now - FPreviewLastTime <= E.PreviewInterval)
        return;
    FPreviewLastTime = now;
    const bool changed = FPostHooksChanged;
    FPostHooksChanged = false;
    TPostHook serving = to_event ? phBitmap : phPreview;
    THookBitmaps* host = FOutputVideoHook.Host != nullptr ? FOutputVideoHook.Host : HookBitmaps();
    if (host == nullptr) {
        E.Log(llError, NoBitmapsText);
        FPostHooks -= TPostHooks{phBitmap, phPreview};
        return;
    }
    TPreviewWindow* window = nullptr;
    if (to_window) {
        if (FPreviewer == nullptr) FPreviewer = host->NewPreviewWindow([this] { return E.Broken(); });
        window = FPreviewer.get();
        FPreviewerBusy = true;
    }
    // The lock is not held while the picture is delivered: the preview-bitmap handler and the window both wait
    // for the main thread, which may itself be waiting for this lock to change the post hooks.
    guard.unlock();
    bool served = true;
    try {
        std::string error;
        if ((!AConverted || changed) && !FOutputVideoHook.ToBitmap(APicture, E.FHookBitsPixel, error)) {
            E.Log(llError, error);
            served = false;
        } else if (to_event) {
            E.FOnPreviewBitmap(&E, FOutputVideoHook.Bitmap, AFrameNumber, APTS);
        } else {
            served = window->PaintFrame(FOutputVideoHook.Bitmap, AFrameNumber, APTS);
        }
    } catch (...) {
        std::lock_guard relock(PostHookLock());
        FPreviewerBusy = false;
        throw;
    }
    std::unique_ptr<TPreviewWindow> closing;
    guard.lock();
    FPreviewerBusy = false;
    if (!served) FPostHooks.Exclude(serving);
    if (!FPostHooks.Contains(phPreview)) closing = TakePreviewer(false);
    guard.unlock();
}

void TTranscodeHooks::Release()
{
    FrameHookRelease(FFirstHook);
    std::unique_ptr<TPreviewWindow> closing;
    {
        std::lock_guard guard(PostHookLock());
        closing = TakePreviewer(false);
        FPreviewLastTime = INT64_MIN;
    }
}
