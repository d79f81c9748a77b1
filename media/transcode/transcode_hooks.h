#pragma once
// The hooks of a transcoder's video path: the input and output video hooks (pictures handed out as bitmaps), the
// frame-hook chain of the "vhook" option, and the post hooks that show encoded pictures in a preview window or
// hand them to a preview-bitmap event.
//
// Bitmaps and windows belong to the GUI classes, which the media library never links: a library above it
// (media/preview) installs a THookBitmaps once per process. Without one, the video hooks and the preview are
// switched off with a logged error, and the frame hooks still run.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/decode/format_converter.h"
#include "media/transcode/frame_hook.h"
#include "media/util/ff_utils.h"
#include "platform/rtl/set.h"

class TBitmap;
class TCustomFFmpeg;
struct AVFrame;

enum TPostHook { phPreview, phBitmap, phHBITMAP };
using TPostHooks = TSet<TPostHook>;

// A window showing the pictures of one running conversion. Made and freed on the conversion thread (or on the
// thread that switches the preview off); all window work is done on the main thread.
class TPreviewWindow {
public:
    virtual ~TPreviewWindow() = default;
    // Conversion thread. Shows ABitmap and returns once it is painted; false once the user has closed the window
    // (the caller then stops previewing), or when the paint was given up because the conversion is stopping.
    virtual bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS) = 0;
};

// The bitmap side of the hooks, provided by a library that links the GUI classes.
class THookBitmaps {
public:
    virtual ~THookBitmaps() = default;
    virtual TBitmap* NewBitmap() = 0;
    virtual void FreeBitmap(TBitmap* ABitmap) = 0;
    // The converter's current RGB picture into ABitmap (sized and formatted to match), and back. Raise on failure.
    virtual void RGBToBitmap(TFormatConverter& AConverter, TBitmap* ABitmap) = 0;
    virtual void BitmapToRGB(TFormatConverter& AConverter, TBitmap* ABitmap) = 0;
    // AStopping answers true once the conversion is being stopped: a paint still waiting then gives up.
    virtual std::unique_ptr<TPreviewWindow> NewPreviewWindow(std::function<bool()> AStopping) = 0;
};

// Any thread; nullptr uninstalls. The caller keeps AHost alive while installed and while transcoders made with
// it exist.
void SetHookBitmaps(THookBitmaps* AHost);
THookBitmaps* HookBitmaps();

// Guards the post-hook set of every transcoder while the post hooks run and while a set is changed.
std::recursive_mutex& PostHookLock();


// One converter with the bitmap its pictures are handed out in.
struct THookPicture {
    TFormatConverter Converter;
    TBitmap* Bitmap = nullptr;
    THookBitmaps* Host = nullptr;  // the host that made Bitmap
    ~THookPicture();
    // Converts APicture into the bitmap at ABitsPixel; false with the reason in AError.
    bool ToBitmap(AVFrame* APicture, int ABitsPixel, std::string& AError);
};

// The hook state of one transcoder.
class TTranscodeHooks {
public:
    explicit TTranscodeHooks(TCustomFFmpeg& AEngine) : E(AEngine) {}
    ~TTranscodeHooks();
    TTranscodeHooks(const TTranscodeHooks&) = delete;
    TTranscodeHooks& operator=(const TTranscodeHooks&) = delete;

    // Configuration: loads and chains one plug-in; the words are its path and arguments. Raises FFmpegException
    // "Failed to add video hook function: " + AText when refused.
    void AddFrameHook(const std::vector<std::string>& AWords, const std::string& AText);
    bool HasFrameHooks() const { return FFirstHook != nullptr; }

    // Any thread.
    TPostHooks PostHooks() const;
    void SetPostHooks(TPostHooks AValue);

    // Conversion thread: a decoded picture (writable) through the input video hook or, without one, the
    // frame-hook chain.
    void InputPicture(AVFrame* APicture, int AFrameNumber, int64_t APTS);
    // Conversion thread: a picture about to be encoded (writable) through the output video hook, then the post
    // hooks.
    void OutputPicture(AVFrame* APicture, int AFrameNumber, int64_t APTS);
    bool WantsOutputPictures() const;

    // The end of a task: the chain is released, the preview window closed.
    void Release();

private:
    bool DoVideoHook(bool AInput, AVFrame* APicture, int AFrameNumber, int64_t APTS);
    void DoPostHooks(AVFrame* APicture, bool AConverted, int AFrameNumber, int64_t APTS);
    std::unique_ptr<TPreviewWindow> TakePreviewer(bool AOnlyWhenIdle);

    TCustomFFmpeg& E;
    TFrameHookEntry* FFirstHook = nullptr;
    THookPicture FInputVideoHook;
    THookPicture FOutputVideoHook;
    // post hooks, under PostHookLock
    TPostHooks FPostHooks;
    bool FPostHooksChanged = false;
    std::unique_ptr<TPreviewWindow> FPreviewer;
    bool FPreviewerBusy = false;  // painting outside the lock; whoever switches the preview off leaves it be
    int64_t FPreviewLastTime = INT64_MIN;
};
