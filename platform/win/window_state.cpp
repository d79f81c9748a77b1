#include "platform/win/window_state.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "platform/win/window.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace win::wm {

TState& State()
{
    static TState* state = new TState;  // never destroyed: worker threads may still post at exit
    return *state;
}

TWindow* Find(HWND AWindow)
{
    auto& windows = State().Windows;
    auto it = windows.find(AWindow);
    return it == windows.end() ? nullptr : it->second.get();
}

TWindow& Get(HWND AWindow)
{
    TWindow* window = Find(AWindow);
    if (!window)
        throw Exception("Invalid window handle");
    return *window;
}

DWORD CurrentThread()
{
    thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

namespace {
// Drops the queue when its thread ends, answering whoever still waits for a sent message.
struct TQueueReaper {
    ~TQueueReaper()
    {
        TLock lock(State().Lock);
        auto it = State().Queues.find(CurrentThread());
        if (it == State().Queues.end())
            return;
        auto queue = it->second;
        queue->Alive = false;
        for (auto& sent : queue->Sent) {
            sent->Done = true;
            WakeThread(sent->Sender);
        }
        queue->Sent.clear();
        State().Queues.erase(it);
    }
};
}  // namespace

TThreadQueue& QueueOf(DWORD AThread)
{
    auto& queues = State().Queues;
    auto it = queues.find(AThread);
    if (it != queues.end())
        return *it->second;
    auto queue = std::make_shared<TThreadQueue>();
    queue->Thread = AThread;
    queues[AThread] = queue;
    return *queue;
}

TThreadQueue& CurrentQueue()
{
    thread_local TQueueReaper reaper;
    (void)reaper;
    return QueueOf(CurrentThread());
}

void WakeThread(DWORD AThread)
{
    auto it = State().Queues.find(AThread);
    if (it != State().Queues.end())
        it->second->Wake.notify_all();
}

void WakeAll()
{
    for (auto& [id, queue] : State().Queues)
        queue->Wake.notify_all();
}

bool IsTopLevel(const TWindow& AWindow) { return AWindow.Parent == nullptr; }

HWND TopLevelOf(HWND AWindow)
{
    TWindow* window = Find(AWindow);
    while (window && window->Parent)
        window = Find(window->Parent);
    return window ? window->Handle : nullptr;
}

TPoint ClientOriginOnScreen(const TWindow& AWindow)
{
    TPoint origin = AWindow.Client.TopLeft();
    for (TWindow* parent = Find(AWindow.Parent); parent; parent = Find(parent->Parent)) {
        origin.X += parent->Client.Left;
        origin.Y += parent->Client.Top;
    }
    return origin;
}

TRect WindowRectOnScreen(const TWindow& AWindow)
{
    TPoint offset{0, 0};
    if (TWindow* parent = Find(AWindow.Parent))
        offset = ClientOriginOnScreen(*parent);
    return RectOffset(AWindow.Window, offset.X, offset.Y);
}

TRect ClientRectOnScreen(const TWindow& AWindow)
{
    TPoint offset{0, 0};
    if (TWindow* parent = Find(AWindow.Parent))
        offset = ClientOriginOnScreen(*parent);
    return RectOffset(AWindow.Client, offset.X, offset.Y);
}

bool IsVisibleWithAncestors(const TWindow& AWindow)
{
    for (const TWindow* window = &AWindow; window; window = Find(window->Parent))
        if (!(window->Style & WS_VISIBLE))
            return false;
    return true;
}

DWORD MessageTime() { return GetTickCount(); }

LRESULT CallProcDirect(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    WNDPROC proc;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return 0;
        proc = window->Proc;
    }
    return CallWindowProc(proc, AWindow, AMessage, AWParam, ALParam);
}

void ResizeSurface(TWindow& AWindow)
{
    int width = std::max(0, AWindow.Window.Width());
    int height = std::max(0, AWindow.Window.Height());
    if (width == AWindow.SurfaceWidth && height == AWindow.SurfaceHeight)
        return;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
    // Keep what was painted where it still fits, so a resize does not flash.
    for (int y = 0; y < std::min(height, AWindow.SurfaceHeight); ++y)
        std::copy_n(AWindow.Pixels.begin() + static_cast<size_t>(y) * AWindow.SurfaceWidth,
                    std::min(width, AWindow.SurfaceWidth), pixels.begin() + static_cast<size_t>(y) * width);
    AWindow.Pixels = std::move(pixels);
    AWindow.SurfaceWidth = width;
    AWindow.SurfaceHeight = height;
}

void NotifyTopLevelChanged(HWND AWindow)
{
    if (TBackend* backend = CurrentBackend())
        backend->TopLevelChanged(AWindow);
}

}  // namespace win::wm
