#include "platform/win/backend.h"

#include "platform/win/styles.h"
#include "platform/win/surfaces.h"
#include "platform/win/window_state.h"

#include <atomic>

namespace win {

using namespace wm;

namespace {
std::atomic<TBackend*> g_backend{nullptr};
}

void SetBackend(TBackend* ABackend) { g_backend = ABackend; }
TBackend* CurrentBackend() { return g_backend; }

uintptr_t NativeWindowId(HWND AWindow)
{
    TBackend* backend = CurrentBackend();
    if (!backend)
        return 0;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window || IsTopLevel(*window))
            return 0;
    }
    return backend->AttachNativeWindow(AWindow);
}

uintptr_t SolidNativeWindow(HWND AWindow, COLORREF AColor)
{
    const uintptr_t id = NativeWindowId(AWindow);
    if (id != 0)
        CurrentBackend()->FillNativeWindow(AWindow, AColor);
    return id;
}

void ReleaseNativeWindow(HWND AWindow)
{
    if (TBackend* backend = CurrentBackend())
        backend->DetachNativeWindow(AWindow);
}

TCapabilities Capabilities()
{
    TCapabilities result;
    TBackend* backend = CurrentBackend();
    result.LayeredWindows = backend && backend->HasCompositor();
    return result;
}

DWORD GetVersion()
{
    TCapabilities caps = Capabilities();
    return caps.MajorVersion | (caps.MinorVersion << 8);
}

std::vector<HWND> TopLevelWindowsInZOrder()
{
    TLock lock(State().Lock);
    return State().TopLevels;
}

bool ViewTopLevel(HWND AWindow, TTopLevelView& AView)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window || !IsTopLevel(*window))
        return false;
    AView.Window = AWindow;
    AView.Rect = window->Window;
    AView.Visible = window->Style & WS_VISIBLE;
    AView.Minimized = window->Style & WS_MINIMIZE;
    AView.Pixels = window->Pixels.empty() ? nullptr : window->Pixels.data();
    AView.Width = window->SurfaceWidth;
    AView.Height = window->SurfaceHeight;
    AView.Shape = window->Shape;
    AView.Layered = window->ExStyle & WS_EX_LAYERED;
    AView.Alpha = (window->LayeredFlags & LWA_ALPHA) || window->PerPixelAlpha ? window->Alpha : 255;
    AView.PerPixelAlpha = window->PerPixelAlpha;
    AView.ColorKeyed = (window->LayeredFlags & LWA_COLORKEY) && !window->PerPixelAlpha;
    AView.ColorKey = window->ColorKey;
    AView.ClickThrough = AView.Layered && (window->ExStyle & WS_EX_TRANSPARENT);
    AView.Text = window->Text;
    AView.Owner = window->Owner;
    return true;
}

}  // namespace win
