#pragma once
// Inside the X backend: the connection, the X windows kept for the window manager's windows, and the
// selection and drop state. One lock guards the maps; it is never held while calling into the window manager,
// and the window manager's lock, when held, is always taken first.
#include "platform/backend/x11/x11_backend.h"
#include "platform/win/win.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace x11 {

struct TAtoms {
    Atom Clipboard, Targets, Utf8String, Text, Incr, Transfer;
    Atom WmProtocols, WmDeleteWindow, MotifHints, NetWmState, NetWmStateAbove, NetWmStateMaxHorz,
        NetWmStateMaxVert, NetWmStateHidden, NetWmStateSkipTaskbar, NetWmOpacity, NetWorkarea, NetCurrentDesktop,
        NetWmCm, NetWmWindowType, NetWmWindowTypeNormal, NetWmName, NetSupportingWmCheck, NetWmIcon;
    Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndLeave, XdndDrop, XdndFinished, XdndSelection,
        XdndTypeList, XdndActionCopy, UriList, DropData;
    Atom TraySelection, TrayOpcode, XembedInfo;
    Atom WmState, WmSelection;
};

struct TTopWindow {
    Window Id = 0;
    Colormap Map = 0;  // ARGB windows only
    bool Argb = false;
    bool OverrideRedirect = false;
    bool Mapped = false;
    TRect Rect;
    XImage* Image = nullptr;
    XShmSegmentInfo Shm{};
    bool UsesShm = false;
    XIC Ic = nullptr;
    std::optional<std::vector<TRect>> Shape;
    bool ClickThrough = false;
    std::vector<Atom> States;
    unsigned Opacity = 0xFFFFFFFF;
    std::optional<std::string> Title;
    Window TransientFor = 0;
    uint64_t IconSerial = 0;
    // Places we asked for and the server has not reported back yet: a report of one of them is no move by
    // the window manager.
    std::deque<TPoint> Requested;
    std::deque<TPoint> RequestedSizes;  // the same for sizes (x = width, y = height)
    // Minimized through the window manager (iconic): still ours, not withdrawn, shown again by a map.
    bool Iconic = false;
    // What the window manager was last told about sizing: the size and whether the user may change it.
    TPoint HintedSize{-1, -1};
    bool HintedFixed = false;
};

struct TNativeChild {
    Window Id = 0;
    win::HWND Top = nullptr;
    TRect Place;    // in the top-level window's coordinates
    TRect Visible;  // the part its parents let show, same coordinates
    bool Mapped = false;
    bool Solid = false;  // filled with one colour by the server, kept above the other native children
};

struct TTrayIcon {
    Window Id = 0;
    win::HWND Owner = nullptr;
    win::UINT IconId = 0;
    win::TIconImage Image;
};

// A clipboard text too large for one property, handed over in pieces (INCR): the next piece goes when the
// requestor has deleted the last one.
struct TIncrSend {
    Window Requestor = 0;
    Atom Property = 0;
    Atom Type = 0;
    std::string Data;
    size_t Offset = 0;
};

struct TX11Backend::TImpl {
    Display* Dpy = nullptr;
    int ScreenNumber = 0;
    Window Root = 0;
    Visual* PlainVisual = nullptr;
    int PlainDepth = 0;
    Visual* ArgbVisual = nullptr;
    TAtoms A{};
    bool ShmAvailable = false;
    int ShapeEvent = 0, ShapeError = 0;
    int FixesEvent = 0, FixesError = 0;
    int RandrEvent = 0, RandrError = 0;
    bool HasRandr = false;
    XIM Im = nullptr;
    XIMStyle ImStyle = 0;
    XFontSet ImFonts = nullptr;  // over-the-spot pre-edit only
    Window Focused = 0;          // the top-level X window whose input context has the focus
    Window Utility = 0;  // owns our selections and receives converted data

    mutable std::mutex Lock;
    std::map<win::HWND, TTopWindow> Tops;
    std::map<Window, win::HWND> TopByX;
    std::map<win::HWND, TNativeChild> Natives;
    std::map<Window, win::HWND> NativeByX;
    std::vector<Window> LastStack;
    std::map<uintptr_t, Cursor> Cursors;          // standard cursors by IDC_ number
    std::map<uint64_t, Cursor> ImageCursors;      // cursors made from bitmaps, by icon serial
    Cursor CurrentCursor = 0;
    std::atomic<bool> Compositor{false};

    // Clipboard: what we offer while we own CLIPBOARD, and the answer to our own request.
    std::optional<std::string> ClipText;
    bool OwnClipboard = false;
    mutable std::condition_variable Answered;
    mutable bool RequestPending = false;
    mutable std::optional<std::string> RequestResult;
    mutable Atom RequestTarget = 0;
    mutable bool RequestIncr = false;  // the answer is coming in pieces
    mutable std::string IncrReceived;
    mutable int RequestProgress = 0;  // pieces so far: a slow but moving transfer is not timed out
    std::vector<TIncrSend> Sending;
    size_t MaxPiece = 0;  // the largest property we write at once

    // The drag coming in from another program.
    Window DragSource = 0;
    Window DragTarget = 0;
    long DragVersion = 0;
    bool DragOffersUris = false;
    TPoint DragPoint;

    std::vector<TTrayIcon> TrayIcons;

    // Wakes the event thread; one byte at most waits in it (KickPending), however often it is kicked.
    int WakePipe[2] = {-1, -1};
    std::atomic<bool> KickPending{false};
    std::atomic<std::thread::id> EventThreadId{};
    std::atomic<bool> Stopping{false};
    // The connection broke (the X server went away): nothing more is read, and the windows' threads are told.
    std::atomic<bool> Lost{false};
    // The top-level windows, kept apart from the maps for the connection's loss, which may come while Lock is held.
    std::mutex LossLock;
    std::vector<win::HWND> LossTargets;
    std::thread EventThread;

    // x11_backend.cpp
    bool Connect(const std::string& ADisplay);
    void Disconnect();
    void Kick();  // wakes the event thread so it reads what another thread's round trip left queued
    // XFlush, then Kick when on another thread than the event thread: flushing reads what came in meanwhile.
    void Flush();
    void RunEvents();
    void HandleEvent(XEvent& AEvent);
    bool IsOurs(Window AWindow) const;

    // x11_windows.cpp (lock held unless said otherwise)
    TTopWindow& EnsureTop(win::HWND AWindow, const win::TTopLevelView& AView, bool AWantsArgb);
    void DestroyTop(TTopWindow& ATop);
    void ResizeImage(TTopWindow& ATop, int AWidth, int AHeight);
    void PutImage(TTopWindow& ATop, const TRect& AArea);
    void ApplyShape(TTopWindow& ATop, const win::TTopLevelView& AView);
    void ApplyOpacity(TTopWindow& ATop, const win::TTopLevelView& AView);
    void ApplyStates(TTopWindow& ATop, const std::vector<Atom>& AStates);
    void Restack(const std::vector<win::HWND>& AOrder);
    void SyncNatives(win::HWND ATop);  // lock NOT held: asks the window manager first
    void ExposeArea(Window AWindow, const TRect& AArea);
    // Title, owner and icon; AIcon read before the lock was taken.
    void ApplyDesktopProperties(TTopWindow& ATop, const win::TTopLevelView& AView, const win::TIconImage& AIcon);
    void HandleConfigure(const XConfigureEvent& AEvent);  // lock not held

    // x11_input.cpp (lock not held)
    void HandlePointer(XEvent& AEvent);
    void HandleKey(XEvent& AEvent);
    XIC CreateInputContext(Window AWindow);
    void OpenInputMethod();
    void HandleFocus(const XFocusChangeEvent& AEvent);
    void PlaceSpot(win::HWND AWindow, TPoint AClient);
    bool HandleTrayButton(const XButtonEvent& AEvent);  // true when the button was on a tray icon

    // x11_selections.cpp
    void HandleSelectionRequest(const XSelectionRequestEvent& AEvent);
    void HandleSelectionNotify(const XSelectionEvent& AEvent);
    void HandleSelectionClear(const XSelectionClearEvent& AEvent);
    void HandleDnd(const XClientMessageEvent& AEvent);
    std::optional<std::string> ReadProperty(Window AWindow, Atom AProperty, Atom* AType = nullptr) const;
    void HandlePropertyNotify(const XPropertyEvent& AEvent);
    void SendNextPiece(TIncrSend& ATransfer);

    // x11_tray.cpp (lock held)
    void DrawTrayIcon(const TTrayIcon& AIcon);
    bool ExposeTrayIcon(Window AWindow);  // lock NOT held

    // x11_wm.cpp: living under a window manager
    bool HasWindowManager() const;
    // What the window manager should know of the sizing of a top-level window; lock not held (asks the window).
    struct TSizing {
        bool Fixed = false;
        TPoint Min{0, 0};
        TPoint Max{0, 0};
    };
    TSizing SizingOf(win::HWND AWindow, const win::TTopLevelView& AView) const;
    void ApplySizeHints(TTopWindow& ATop, const TRect& ARect, const TSizing& ASizing);  // lock held
    void HandleMapping(Window AWindow, bool AMapped);                                   // lock not held
    bool HandleTopDestroyed(Window AWindow);                                            // lock not held
    void ConnectionLost();
    void RememberForLoss(win::HWND AWindow, bool AKeep);

    // x11_desktop.cpp
    void RefreshCompositor();
    Cursor CursorFor(uintptr_t AId);
};

// Errors from the server (a window that went away meanwhile, a refused shared-memory attach) are counted
// instead of ending the process, as Xlib's default would.
void InstallErrorHandler();
int ErrorCount();

}  // namespace x11
