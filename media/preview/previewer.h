#pragma once
// The preview window of a running conversion: a stay-on-top tool window that shows the pictures the transcoder
// hands it, with their time in the caption. The conversion thread calls PaintFrame; everything that touches the
// window runs on the main thread.
#include <functional>
#include <memory>

#include "media/transcode/transcode_hooks.h"
#include "platform/rtl/object.h"
#include "platform/win/win_types.h"

class TBitmap;
class TForm;

class TPreviewer final : public TObject, public TPreviewWindow {
public:
    // AStopping (any thread) answers true once the conversion is being stopped: a paint waiting for the main
    // thread then gives up, so that a main thread that waits for the conversion without serving its calls
    // cannot hold the conversion up for ever.
    explicit TPreviewer(std::function<bool()> AStopping = {});
    // Any thread. The window is freed on the main thread: at once there, otherwise as soon as the main thread
    // runs its queued calls (this thread does not wait for it).
    ~TPreviewer() override;

    // Any thread. Shows ABitmap (copied; the caller keeps it) and returns once it is painted. False once the user
    // has closed the window, and when the paint was given up because the conversion is stopping.
    bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS) override;

    // Main thread, for looking at the window.
    TForm* Form() const;
    win::HWND FormHandle() const;
    bool Closed() const;

    struct TState;

private:
    std::shared_ptr<TState> FState;
    std::function<bool()> FStopping;
};
