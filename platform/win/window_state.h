#pragma once
// Internal state of the window manager: the handle table, classes, per-thread queues and the input state.
// Everything here is guarded by one recursive lock; window procedures are always called with it released.
#include "platform/gdi/gdi_types.h"
#include "platform/win/backend.h"
#include "platform/win/region.h"
#include "platform/win/win_types.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace win::wm {

struct TWindowClass {
    WNDCLASS Class;
    ATOM Atom = 0;
};

// One scroll state (see scrolling.h).
struct TScrollState {
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    UINT DisabledArrows = 0;
};

struct TWindow {
    HWND Handle = nullptr;
    std::shared_ptr<TWindowClass> Class;
    WNDPROC Proc = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    HWND Parent = nullptr;  // the parent for child windows; nullptr for top-level windows
    HWND Owner = nullptr;   // top-level windows only
    std::vector<HWND> Children;  // Z-order, topmost first
    TRect Window;  // in the parent's client coordinates (screen for top-level windows)
    TRect Client;  // same coordinates
    std::string Text;
    intptr_t Id = 0;
    LONG_PTR UserData = 0;
    DWORD Thread = 0;
    bool Destroying = false;
    bool Created = false;  // WM_CREATE answered
    bool NcActive = false;  // the caption as WM_NCACTIVATE last drew it

    // Painting
    TRegion Update;  // client coordinates
    bool Erase = false;
    bool NcPaint = false;

    // Placement before minimize/maximize
    TRect Normal;
    bool WasMaximized = false;
    bool HiddenWithOwner = false;  // hidden because its owner was minimized; shown again on restore

    // SB_HORZ, SB_VERT, SB_CTL; made on first use
    std::optional<TScrollState> Scroll[3];

    // Shape in window coordinates; empty optional = rectangular
    std::optional<TRegion> Shape;

    // Layering
    Byte Alpha = 255;
    DWORD ColorKey = 0;
    DWORD LayeredFlags = 0;  // LWA_ flags from SetLayeredWindowAttributes
    bool PerPixelAlpha = false;  // contents came from UpdateLayeredWindow

    // Top-level surface, 32-bit BGRA, the size of the window rectangle
    std::vector<uint32_t> Pixels;
    int SurfaceWidth = 0;
    int SurfaceHeight = 0;
};

struct TTimer {
    HWND Window = nullptr;
    UINT_PTR Id = 0;
    int64_t IntervalMicros = 0;
    int64_t DueMicros = 0;
    TIMERPROC Proc = nullptr;
};

struct TSentMessage {
    HWND Window = nullptr;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
    bool Done = false;
    std::exception_ptr Error;
    DWORD Sender = 0;
};

enum class TRawKind { MouseMove, ButtonDown, ButtonUp, Wheel, HWheel, KeyDown, KeyUp };

struct TRawInput {
    TRawKind Kind = TRawKind::MouseMove;
    TPoint Screen;
    int Button = 0;  // VK_LBUTTON, VK_RBUTTON, VK_MBUTTON
    int WheelDelta = 0;
    int Key = 0;
    char32_t Char = 0;
    DWORD Time = 0;
};

// The thread's caret (see caret.h).
struct TCaret {
    HWND Window = nullptr;
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Mask;  // per pixel, row by row, the bits the caret inverts; empty = all
    uint32_t Xor = 0xFFFFFF;
    TPoint Pos;
    int HideCount = 1;  // created hidden
    bool Drawn = false;  // the inversion is on the pixels now
    bool On = false;     // the blink phase
    int64_t NextBlinkMicros = 0;
};

struct TThreadQueue {
    DWORD Thread = 0;
    std::deque<std::shared_ptr<TSentMessage>> Sent;
    std::deque<MSG> Posted;
    std::deque<MSG> Input;  // input already turned into window messages
    std::vector<TTimer> Timers;
    bool QuitPosted = false;
    int QuitCode = 0;
    std::condition_variable_any Wake;
    // The character that TranslateMessage turns the last key message into
    MSG LastKey;
    char32_t LastKeyChar = 0;
    // Double-click tracking
    HWND LastClickWindow = nullptr;
    UINT LastClickMessage = 0;
    DWORD LastClickTime = 0;
    TPoint LastClickPoint;
    bool LastClickWasDouble = false;
    TCaret Caret;
    std::map<int, std::function<bool(MSG&)>> Hooks;
    int NextHookId = 1;
    bool Alive = true;
};

struct TDcBinding {
    HWND Window = nullptr;
    bool WholeWindow = false;  // GetWindowDC rather than GetDC
    bool Painting = false;     // from BeginPaint: also limited to the update region
    TRegion PaintArea;         // client coordinates, for BeginPaint DCs
};

struct TState {
    std::recursive_mutex Lock;
    std::map<HWND, std::shared_ptr<TWindow>> Windows;
    std::vector<HWND> TopLevels;  // Z-order, topmost first
    std::map<std::string, std::shared_ptr<TWindowClass>> Classes;  // by lower-case name
    ATOM NextAtom = 0xC000;
    uintptr_t NextHandle = 0x10000;
    std::map<DWORD, std::shared_ptr<TThreadQueue>> Queues;
    std::deque<TRawInput> RawInput;
    std::map<std::string, UINT> RegisteredMessages;  // by lower-case name
    UINT NextRegisteredMessage = 0xC000;
    UINT_PTR NextThreadTimerId = 0x7FFF0000;

    std::map<HDC, TDcBinding> Dcs;  // window DCs alive now

    UINT CaretBlinkMs = 530;

    HWND Active = nullptr;
    HWND Focus = nullptr;
    HWND Capture = nullptr;
    HCURSOR Cursor = nullptr;
    TPoint CursorPos;
    Byte AsyncKeys[256] = {};  // bit 0x80 = down now
    Byte SyncKeys[256] = {};   // as of the message being processed; bit 0x01 = toggled
    bool AltAlone = false;     // the Alt key went down and no other key since
};

// Set in lParam of the Alt key's WM_SYSKEYUP when another key was pressed while it was down (Alt+letter): the
// release is no system key then and opens no menu.
inline constexpr uint32_t kAltUsedAsModifier = 1u << 25;

TState& State();
using TLock = std::unique_lock<std::recursive_mutex>;

// All lookups below expect the lock to be held.
TWindow* Find(HWND AWindow);
TWindow& Get(HWND AWindow);  // raises EInvalidWindowHandle-style Exception for a stale handle
TThreadQueue& QueueOf(DWORD AThread);  // created on first use
TThreadQueue& CurrentQueue();
DWORD CurrentThread();
void WakeThread(DWORD AThread);
void WakeAll();

HWND TopLevelOf(HWND AWindow);  // the window itself for top-level windows
TPoint ClientOriginOnScreen(const TWindow& AWindow);
TRect WindowRectOnScreen(const TWindow& AWindow);
TRect ClientRectOnScreen(const TWindow& AWindow);
bool IsVisibleWithAncestors(const TWindow& AWindow);
bool IsTopLevel(const TWindow& AWindow);

DWORD MessageTime();  // milliseconds of the current clock

// Calls the window procedure of AWindow on this thread, lock released.
LRESULT CallProcDirect(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam);

// Pieces other parts of the manager use.
void ResizeSurface(TWindow& AWindow);
void NotifyTopLevelChanged(HWND AWindow);
void ForgetWindowInQueues(HWND AWindow);
void InvalidateInternal(TWindow& AWindow, const TRegion& AClientArea, bool AErase, bool AChildren);
void InvalidateWholeWindow(TWindow& AWindow);  // frame and client, with erase, children too
void ActivateWindow(HWND AWindow, WPARAM AHow);  // no lock held
void ActivateNextAfter(HWND AGone);  // no lock held
// Turns raw input at the head of the system queue that belongs to this thread into window messages on AQueue.
// May release the lock to ask the windows (WM_NCHITTEST, WM_MOUSEACTIVATE, WM_SETCURSOR); returns whether it
// did anything, so the caller looks at its queue again.
bool TakeRawInput(TThreadQueue& AQueue, TLock& ALock);
// A window of AThread that needs WM_PAINT, parents before children, within AFilter (nullptr = any).
HWND FindWindowToPaint(DWORD AThread, HWND AFilter);
// Re-points the live DCs of AWindow's top-level tree at its (possibly reallocated) surface and new
// visible areas.
void RebindDcs(HWND ATopLevel);
TRegion RegionFromHandle(HRGN ARegion);
HRGN HandleFromRegion(const TRegion& ARegion);
bool TimerExists(HWND AWindow, UINT_PTR AId);
// The deepest visible window under a screen point, honouring window regions and click-through layered
// windows, passing over the windows in ASkip (they answered HTTRANSPARENT).
HWND HitWindowAt(TPoint AScreen, const std::vector<HWND>& ASkip);
// The same, asking each window found through WM_NCHITTEST and passing over those answering HTTRANSPARENT;
// AAnyThread = false asks only this thread's windows. Lock not held; AHit receives the last answer.
HWND HitWindowAsking(TPoint AScreen, bool AAnyThread, LRESULT* AHit);
// The visible part of AWindow's client area in its top-level surface, and where its client corner lies there.
TRegion ClientInSurface(const TWindow& AWindow, TPoint& AClientOrigin);

// Caret upkeep for the queue and the painting code (lock held): blinks the thread's caret when its phase is
// over and returns when it next falls due (INT64_MAX: never); hides and shows it around a paint of AWindow;
// forgets it with its window.
int64_t BlinkCaret(TThreadQueue& AQueue);
bool HideCaretForPaint(HWND AWindow);
void ShowCaretAfterPaint(HWND AWindow);
void ForgetCaretOf(HWND AWindow);

}  // namespace win::wm
