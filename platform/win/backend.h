#pragma once
// What a backend does for the window manager: it shows the top-level surfaces the window manager paints into,
// reports the screen and its monitors, and feeds raw pointer, key, drop and tray events back through the queue
// functions of input.h and shell.h. The window manager owns every pixel; a backend only presents them.
#include "platform/win/win_types.h"

#include <optional>
#include <string>
#include <vector>

namespace win {

struct TMonitorDesc {
    TRect Monitor;
    TRect Work;
    bool Primary = false;
};

struct NOTIFYICONDATA;

class TBackend {
public:
    virtual ~TBackend() = default;

    virtual std::vector<TMonitorDesc> Monitors() const = 0;  // at least one, the primary first
    // Layered windows need someone to blend them with what is below.
    virtual bool HasCompositor() const = 0;

    // A top-level window got, lost or changed its surface, place, visibility, Z-order, region or layering.
    // Read the current state through surfaces.h. Called on the window's thread, possibly inside the window
    // manager (its lock is re-entrant for that thread).
    virtual void TopLevelChanged(HWND) {}
    virtual void TopLevelDestroyed(HWND) {}
    // Pixels of the top-level window changed inside ADirty (window coordinates).
    virtual void Present(HWND, const TRect& /*ADirty*/) {}
    virtual void CursorChanged(HCURSOR) {}
    // The window that gets all pointer input changed (nullptr = none): the desktop has to send the pointer's
    // input to this program also while it is outside the program's windows.
    virtual void CaptureChanged(HWND) {}
    // The caret of the focused window is now at AX, AY (its client coordinates): where an input method shows
    // what is being composed.
    virtual void SetCaretSpot(HWND, int /*AX*/, int /*AY*/) {}

    // The desktop's side of the clipboard (text only).
    virtual void SetClipboardText(const std::string& AText) = 0;
    virtual std::optional<std::string> ClipboardText() const = 0;

    // The desktop's bell (MessageBeep); AType is the kind of alert asked for.
    virtual void Beep(UINT /*AType*/) {}

    // The desktop's side of the tray: whether the desktop shows one now, and an icon was added, changed or
    // removed (an added icon only while the tray is there).
    virtual bool TrayAvailable() const { return false; }
    virtual void TrayIconChanged(DWORD /*AMessage*/, const NOTIFYICONDATA&) {}

    // A window whose pixels are drawn outside this layer (a video panel) gets a window of the display at its
    // place, kept in step with it (place, size, clipping by its parents, visibility) whenever its top-level
    // window changes or presents. Returns the display's id for it, 0 when the backend has none.
    virtual uintptr_t AttachNativeWindow(HWND) { return 0; }
    // The attached window of the display shows AColor, filled by the display itself, and lies above the other
    // attached windows of its top-level window: how a plain control stays visible over a video panel.
    virtual void FillNativeWindow(HWND, COLORREF /*AColor*/) {}
    // The attached window of the display goes, so that the control's own pixels show at its place again; a later
    // AttachNativeWindow makes a new one. Nothing for a window without one.
    virtual void DetachNativeWindow(HWND) {}
};

// The backend every window uses. Tests and the program set it once before creating windows; the caller keeps
// it alive while set. Without one, window functions raise.
void SetBackend(TBackend* ABackend);
TBackend* CurrentBackend();

// For backends: the desktop's window manager moved a top-level window to ATopLeft (screen). The window's thread
// takes the new place when it dispatches its messages, with WM_MOVE, as if SetWindowPos had moved it.
BOOL QueueDesktopMove(HWND AWindow, TPoint ATopLeft);
// The desktop's window manager sized a top-level window (a maximize or a resize of its own): the window's
// thread takes ARect (screen) as if SetWindowPos had placed it there.
BOOL QueueDesktopPlace(HWND AWindow, const TRect& ARect);
// The display's window of a top-level window is gone (another program destroyed it, or the display itself went
// away): the window's thread ends its message loop as after PostQuitMessage(0).
BOOL QueueDesktopLost(HWND AWindow);
// Inside DispatchMessage: true when AMsg was one of the messages above (now done).
bool TakeDesktopMove(const MSG& AMsg);

// The display's own window at AWindow's place (see TBackend::AttachNativeWindow), made on first use; 0 without
// one (no backend, a headless backend, a top-level or unknown window).
uintptr_t NativeWindowId(HWND AWindow);
// AWindow (a plain, single-coloured control) gets a window of the display filled with AColor, stacked above
// the video panels' windows, so that it is not hidden under their pictures. Same id and answers as
// NativeWindowId; calling it again restacks it on top.
uintptr_t SolidNativeWindow(HWND AWindow, COLORREF AColor);
// The display's window at AWindow's place goes (when whatever drew into it has finished): the control shows its
// own pixels there again. Any thread.
void ReleaseNativeWindow(HWND AWindow);

// One fixed answer for what this platform layer offers, read by the skin core's version and feature checks.
struct TCapabilities {
    DWORD MajorVersion = 6;  // behaves as the platform's version 6.0
    DWORD MinorVersion = 0;
    bool DesktopComposition = false;
    bool TransparentBlt = false;
    bool LayeredWindows = false;  // only with a compositor
    bool DragFullWindows = true;
};
TCapabilities Capabilities();
DWORD GetVersion();  // major version in the low byte, minor in the next, as the platform packs it

}  // namespace win
