#include "platform/backend/x11/x11_impl.h"

#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

#include <poll.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <clocale>
#include <cstdio>

namespace x11 {

namespace {

std::atomic<int> g_errors{0};

int CountError(Display*, XErrorEvent*)
{
    ++g_errors;
    return 0;
}

TAtoms InternAtoms(Display* ADisplay, int AScreen)
{
    std::string tray = "_NET_SYSTEM_TRAY_S" + std::to_string(AScreen);
    std::string cm = "_NET_WM_CM_S" + std::to_string(AScreen);
    std::string wm = "WM_S" + std::to_string(AScreen);
    const char* names[] = {
        "CLIPBOARD", "TARGETS", "UTF8_STRING", "TEXT", "INCR", "QUENNARY_TRANSFER",
        "WM_PROTOCOLS", "WM_DELETE_WINDOW", "_MOTIF_WM_HINTS", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
        "_NET_WM_STATE_MAXIMIZED_HORZ", "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_HIDDEN",
        "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_WINDOW_OPACITY", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP",
        cm.c_str(), "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_NAME",
        "_NET_SUPPORTING_WM_CHECK", "_NET_WM_ICON",
        "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndLeave", "XdndDrop", "XdndFinished",
        "XdndSelection", "XdndTypeList", "XdndActionCopy", "text/uri-list", "QUENNARY_DROP",
        tray.c_str(), "_NET_SYSTEM_TRAY_OPCODE", "_XEMBED_INFO", "WM_STATE", wm.c_str()};
    constexpr int count = sizeof names / sizeof names[0];
    static_assert(count * sizeof(Atom) == sizeof(TAtoms));
    TAtoms atoms{};
    XInternAtoms(ADisplay, const_cast<char**>(names), count, False, reinterpret_cast<Atom*>(&atoms));
    return atoms;
}

Visual* FindArgbVisual(Display* ADisplay, int AScreen)
{
    XVisualInfo wanted{};
    wanted.screen = AScreen;
    wanted.depth = 32;
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo* found = XGetVisualInfo(ADisplay, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count);
    Visual* result = nullptr;
    for (int i = 0; i < count && !result; ++i)
        if (found[i].red_mask == 0xFF0000 && found[i].green_mask == 0xFF00 && found[i].blue_mask == 0xFF)
            result = found[i].visual;
    if (found)
        XFree(found);
    return result;
}

}  // namespace

namespace {

// The backends' connections, for the broken-connection handler, which Xlib calls for any connection.
std::mutex g_connections_lock;
std::map<Display*, TX11Backend::TImpl*> g_connections;
XIOErrorHandler g_previous_io_handler = nullptr;

// The backend whose connection this is; none for a connection of another library.
TX11Backend::TImpl* BackendOf(Display* ADisplay)
{
    std::lock_guard lock(g_connections_lock);
    auto it = g_connections.find(ADisplay);
    return it != g_connections.end() ? it->second : nullptr;
}

int ConnectionBroken(Display* ADisplay)
{
    TX11Backend::TImpl* impl = BackendOf(ADisplay);
    if (impl) {
        impl->ConnectionLost();
        return 0;  // the exit handler set for our connection does not end the process either
    }
    return g_previous_io_handler ? g_previous_io_handler(ADisplay) : 0;
}

void Register(Display* ADisplay, TX11Backend::TImpl* AImpl)
{
    std::lock_guard lock(g_connections_lock);
    if (AImpl)
        g_connections[ADisplay] = AImpl;
    else
        g_connections.erase(ADisplay);
    static std::once_flag installed;
    std::call_once(installed, [] { g_previous_io_handler = XSetIOErrorHandler(&ConnectionBroken); });
}

// Called by Xlib after every request any thread makes on our connection. A request that waits for a reply, or
// finds the output buffer full, reads whatever the server sent meanwhile into Xlib's queue, where the event
// thread's wait on the socket does not see it: so a thread other than the event thread kicks it.
int AfterRequest(Display* ADisplay)
{
    TX11Backend::TImpl* impl = BackendOf(ADisplay);
    if (impl && std::this_thread::get_id() != impl->EventThreadId.load())
        impl->Kick();
    return 0;
}

}  // namespace

void InstallErrorHandler() { XSetErrorHandler(&CountError); }
int ErrorCount() { return g_errors; }

std::unique_ptr<TX11Backend> TX11Backend::Open(const std::string& ADisplay)
{
    std::unique_ptr<TX11Backend> backend(new TX11Backend());
    backend->F = std::make_unique<TImpl>();
    if (!backend->F->Connect(ADisplay)) {
        backend->F.reset();
        return nullptr;
    }
    return backend;
}

TX11Backend::~TX11Backend()
{
    if (win::CurrentBackend() == this)
        win::SetBackend(nullptr);
    if (F)
        F->Disconnect();
}

bool TX11Backend::TImpl::Connect(const std::string& ADisplay)
{
    static std::once_flag threads;
    std::call_once(threads, [] {
        XInitThreads();
        // Typed text and titles are UTF-8: the character type follows the user's locale, or UTF-8 when that
        // one is not installed. Numbers and the rest stay as they are.
        if (!std::setlocale(LC_CTYPE, "") || !XSupportsLocale())
            if (!std::setlocale(LC_CTYPE, "C.UTF-8") || !XSupportsLocale())
                std::setlocale(LC_CTYPE, "C");
    });
    Dpy = XOpenDisplay(ADisplay.empty() ? nullptr : ADisplay.c_str());
    if (!Dpy) {
        std::fprintf(stderr, "quennary: cannot open the X display %s\n", XDisplayName(ADisplay.c_str()));
        return false;
    }
    InstallErrorHandler();
    // A broken connection ends the program's message loops instead of the process.
    XSetIOErrorExitHandler(
        Dpy, [](Display*, void* AImpl) { static_cast<TImpl*>(AImpl)->ConnectionLost(); }, this);
    ScreenNumber = DefaultScreen(Dpy);
    Root = RootWindow(Dpy, ScreenNumber);
    PlainVisual = DefaultVisual(Dpy, ScreenNumber);
    PlainDepth = DefaultDepth(Dpy, ScreenNumber);
    if (PlainDepth != 24 || PlainVisual->red_mask != 0xFF0000 || PlainVisual->blue_mask != 0xFF) {
        std::fprintf(stderr, "quennary: the X display needs a 24-bit true-colour visual\n");
        XCloseDisplay(Dpy);
        Dpy = nullptr;
        return false;
    }
    A = InternAtoms(Dpy, ScreenNumber);
    ArgbVisual = FindArgbVisual(Dpy, ScreenNumber);
    ShmAvailable = XShmQueryExtension(Dpy);
    XShapeQueryExtension(Dpy, &ShapeEvent, &ShapeError);
    if (XFixesQueryExtension(Dpy, &FixesEvent, &FixesError))
        XFixesSelectSelectionInput(Dpy, Root, A.NetWmCm,
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
    HasRandr = XRRQueryExtension(Dpy, &RandrEvent, &RandrError);
    if (HasRandr)
        XRRSelectInput(Dpy, Root, RRScreenChangeNotifyMask);
    XSelectInput(Dpy, Root, PropertyChangeMask);
    OpenInputMethod();
    // Larger clipboard texts go in pieces (INCR); a request must stay below the server's limit.
    MaxPiece = std::min<size_t>(static_cast<size_t>(XMaxRequestSize(Dpy)) * 4 - 256, 256 * 1024);

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = PropertyChangeMask;
    Utility = XCreateWindow(Dpy, Root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                            CWOverrideRedirect | CWEventMask, &attributes);
    RefreshCompositor();
    if (pipe(WakePipe) != 0) {
        XCloseDisplay(Dpy);
        Dpy = nullptr;
        return false;
    }
    XSync(Dpy, False);
    Register(Dpy, this);
    XSetAfterFunction(Dpy, &AfterRequest);
    EventThread = std::thread([this] { RunEvents(); });
    return true;
}

void TX11Backend::TImpl::Disconnect()
{
    if (!Dpy)
        return;
    Stopping = true;
    Kick();
    if (EventThread.joinable())
        EventThread.join();
    if (Lost) {
        // Nothing can be asked of a server that is gone: only what lives here is freed.
        std::lock_guard lock(Lock);
        for (auto& [handle, top] : Tops)
            if (top.Image) {
                if (top.UsesShm) {
                    shmdt(top.Shm.shmaddr);
                    top.Image->data = nullptr;
                }
                XDestroyImage(top.Image);
                top.Image = nullptr;
            }
        Tops.clear();
        Natives.clear();
        Register(Dpy, nullptr);
        XCloseDisplay(Dpy);
        Dpy = nullptr;
        close(WakePipe[0]);
        close(WakePipe[1]);
        return;
    }
    {
        std::lock_guard lock(Lock);
        for (auto& [handle, native] : Natives)
            XDestroyWindow(Dpy, native.Id);
        Natives.clear();
        for (auto& [handle, top] : Tops)
            DestroyTop(top);
        Tops.clear();
        for (TTrayIcon& icon : TrayIcons)
            XDestroyWindow(Dpy, icon.Id);
        for (auto& [id, cursor] : Cursors)
            XFreeCursor(Dpy, cursor);
        for (auto& [serial, cursor] : ImageCursors)
            XFreeCursor(Dpy, cursor);
    }
    if (Im)
        XCloseIM(Im);
    if (ImFonts)
        XFreeFontSet(Dpy, ImFonts);
    XDestroyWindow(Dpy, Utility);
    XSync(Dpy, False);
    Register(Dpy, nullptr);
    XCloseDisplay(Dpy);
    Dpy = nullptr;
    close(WakePipe[0]);
    close(WakePipe[1]);
}

void TX11Backend::TImpl::Kick()
{
    if (KickPending.exchange(true))
        return;  // the event thread has not looked yet: it will see this too
    char byte = 1;
    [[maybe_unused]] auto written = write(WakePipe[1], &byte, 1);
}

void TX11Backend::TImpl::Flush()
{
    XFlush(Dpy);
    if (std::this_thread::get_id() != EventThreadId.load())
        Kick();
}

void TX11Backend::TImpl::RunEvents()
{
    EventThreadId = std::this_thread::get_id();
    pollfd fds[2] = {{ConnectionNumber(Dpy), POLLIN, 0}, {WakePipe[0], POLLIN, 0}};
    while (!Stopping && !Lost) {
        // Cleared before looking, so that a kick from now on writes again and ends the wait below.
        KickPending = false;
        while (!Lost && XPending(Dpy) > 0) {
            XEvent event;
            XNextEvent(Dpy, &event);
            if (XFilterEvent(&event, None))
                continue;
            HandleEvent(event);
        }
        if (Lost || Stopping)
            break;
        // Sleeps until the server sends something or another thread kicks: its requests may have read our
        // events off the socket, it wants the thread to stop, or the connection is gone.
        if (poll(fds, 2, -1) > 0 && (fds[1].revents & POLLIN)) {
            char buffer[64];
            [[maybe_unused]] auto got = read(WakePipe[0], buffer, sizeof buffer);
        }
    }
}

bool TX11Backend::TImpl::IsOurs(Window AWindow) const
{
    std::lock_guard lock(Lock);
    return TopByX.count(AWindow) || NativeByX.count(AWindow);
}

void TX11Backend::TImpl::HandleEvent(XEvent& AEvent)
{
    switch (AEvent.type) {
    case ButtonPress: case ButtonRelease: case MotionNotify: case EnterNotify: case LeaveNotify:
        HandlePointer(AEvent);
        return;
    case KeyPress: case KeyRelease:
        HandleKey(AEvent);
        return;
    case Expose: {
        const XExposeEvent& e = AEvent.xexpose;
        if (ExposeTrayIcon(e.window))
            return;
        ExposeArea(e.window, Bounds(e.x, e.y, e.width, e.height));
        return;
    }
    case ConfigureNotify: HandleConfigure(AEvent.xconfigure); return;
    case FocusIn: case FocusOut: HandleFocus(AEvent.xfocus); return;
    case PropertyNotify: HandlePropertyNotify(AEvent.xproperty); return;
    case MapNotify: HandleMapping(AEvent.xmap.window, true); return;
    case UnmapNotify: HandleMapping(AEvent.xunmap.window, false); return;
    case DestroyNotify: {
        if (HandleTopDestroyed(AEvent.xdestroywindow.window))
            return;
        // A program that was taking a large clipboard text in pieces went away.
        std::lock_guard lock(Lock);
        std::erase_if(Sending, [&](const TIncrSend& ATransfer) { return ATransfer.Requestor == AEvent.xdestroywindow.window; });
        return;
    }
    case SelectionRequest: HandleSelectionRequest(AEvent.xselectionrequest); return;
    case SelectionNotify: HandleSelectionNotify(AEvent.xselection); return;
    case SelectionClear: HandleSelectionClear(AEvent.xselectionclear); return;
    case ClientMessage: {
        const XClientMessageEvent& e = AEvent.xclient;
        if (e.message_type == A.WmProtocols && static_cast<Atom>(e.data.l[0]) == A.WmDeleteWindow) {
            win::HWND window = nullptr;
            {
                std::lock_guard lock(Lock);
                auto it = TopByX.find(e.window);
                if (it != TopByX.end())
                    window = it->second;
            }
            if (window)
                win::PostMessage(window, win::WM_CLOSE, 0, 0);
            return;
        }
        HandleDnd(e);
        return;
    }
    default: break;
    }
    if (FixesEvent && AEvent.type == FixesEvent + XFixesSelectionNotify) {
        RefreshCompositor();
        return;
    }
    if (HasRandr && AEvent.type == RandrEvent + RRScreenChangeNotify)
        XRRUpdateConfiguration(&AEvent);
}

std::vector<win::TMonitorDesc> TX11Backend::Monitors() const
{
    TImpl& f = *F;
    std::vector<win::TMonitorDesc> result;
    if (f.Lost) {
        TRect screen = Bounds(0, 0, 1024, 768);
        return {{screen, screen, true}};
    }
    if (f.HasRandr) {
        int count = 0;
        XRRMonitorInfo* monitors = XRRGetMonitors(f.Dpy, f.Root, True, &count);
        for (int i = 0; i < count; ++i) {
            const XRRMonitorInfo& m = monitors[i];
            win::TMonitorDesc desc;
            desc.Monitor = Bounds(m.x, m.y, m.width, m.height);
            desc.Work = desc.Monitor;
            desc.Primary = m.primary;
            if (desc.Primary)
                result.insert(result.begin(), desc);
            else
                result.push_back(desc);
        }
        if (monitors)
            XRRFreeMonitors(monitors);
    }
    if (result.empty()) {
        TRect screen = Bounds(0, 0, DisplayWidth(f.Dpy, f.ScreenNumber), DisplayHeight(f.Dpy, f.ScreenNumber));
        result.push_back({screen, screen, true});
    }
    result.front().Primary = true;
    // The desktop's work area (panels left out) as one rectangle of the current desktop.
    long desktop = 0;
    Atom type;
    if (auto current = f.ReadProperty(f.Root, f.A.NetCurrentDesktop, &type); current && current->size() >= sizeof(long))
        desktop = *reinterpret_cast<const long*>(current->data());
    if (auto area = f.ReadProperty(f.Root, f.A.NetWorkarea, &type)) {
        size_t offset = static_cast<size_t>(desktop) * 4 * sizeof(long);
        if (desktop >= 0 && area->size() >= offset + 4 * sizeof(long)) {
            const long* v = reinterpret_cast<const long*>(area->data() + offset);
            TRect work = Bounds(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                                static_cast<int>(v[3]));
            for (win::TMonitorDesc& m : result) {
                TRect inside = win::RectIntersection(m.Monitor, work);
                if (!win::RectIsEmpty(inside))
                    m.Work = inside;
            }
        }
    }
    return result;
}

bool TX11Backend::HasCompositor() const { return F->Compositor; }

unsigned long TX11Backend::XWindowOf(win::HWND AWindow) const
{
    std::lock_guard lock(F->Lock);
    if (auto it = F->Tops.find(AWindow); it != F->Tops.end())
        return it->second.Id;
    if (auto it = F->Natives.find(AWindow); it != F->Natives.end())
        return it->second.Id;
    return 0;
}

void TX11Backend::Sync()
{
    if (F->Lost)
        return;
    XSync(F->Dpy, False);
    F->Kick();
}

bool TX11Backend::UsesSharedMemory() const { return F->ShmAvailable; }

}  // namespace x11
