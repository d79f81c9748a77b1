#include "platform/backend/x11/x11_impl.h"
#include "platform/win/surfaces.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shape.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

namespace x11 {

namespace {

// Menus, hints, drop-downs and layered border pieces: shown above everything and never given the focus.
bool IsPopupLike(win::HWND AWindow)
{
    auto style = static_cast<DWORD>(win::GetWindowLong(AWindow, win::GWL_STYLE));
    auto ex = static_cast<DWORD>(win::GetWindowLong(AWindow, win::GWL_EXSTYLE));
    if (!(style & win::WS_POPUP) || (style & win::WS_CAPTION) == win::WS_CAPTION)
        return false;
    return (ex & (win::WS_EX_TOOLWINDOW | win::WS_EX_NOACTIVATE | win::WS_EX_TOPMOST)) ||
           ((ex & win::WS_EX_LAYERED) && (ex & win::WS_EX_TRANSPARENT));
}

std::vector<XRectangle> XRects(const std::vector<TRect>& ARects, int ADx = 0, int ADy = 0)
{
    std::vector<XRectangle> result;
    for (const TRect& r : ARects)
        result.push_back({static_cast<short>(r.Left + ADx), static_cast<short>(r.Top + ADy),
                          static_cast<unsigned short>(r.Width()), static_cast<unsigned short>(r.Height())});
    return result;
}

uint32_t KeyAsPixel(DWORD AColorRef)
{
    return ((AColorRef & 0xFF) << 16) | (AColorRef & 0xFF00) | ((AColorRef >> 16) & 0xFF);
}

}  // namespace

TTopWindow& TX11Backend::TImpl::EnsureTop(win::HWND AWindow, const win::TTopLevelView& AView, bool AWantsArgb)
{
    auto it = Tops.find(AWindow);
    if (it != Tops.end() && it->second.Argb == AWantsArgb)
        return it->second;
    if (it != Tops.end()) {  // layering changed the visual it needs: start again with a new X window
        TopByX.erase(it->second.Id);
        for (auto n = Natives.begin(); n != Natives.end();)
            if (n->second.Top == AWindow) {
                NativeByX.erase(n->second.Id);
                n = Natives.erase(n);
            } else {
                ++n;
            }
        DestroyTop(it->second);
        Tops.erase(it);
    }
    TTopWindow top;
    top.Argb = AWantsArgb;
    top.Rect = AView.Rect;
    XSetWindowAttributes attributes{};
    unsigned long mask = CWEventMask | CWBackPixmap | CWBorderPixel | CWBitGravity;
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask | StructureNotifyMask |
                            FocusChangeMask;
    Visual* visual = PlainVisual;
    int depth = PlainDepth;
    if (AWantsArgb) {
        visual = ArgbVisual;
        depth = 32;
        top.Map = XCreateColormap(Dpy, Root, visual, AllocNone);
        attributes.colormap = top.Map;
        mask |= CWColormap;
    }
    top.Id = XCreateWindow(Dpy, Root, AView.Rect.Left, AView.Rect.Top, std::max(1, AView.Rect.Width()),
                           std::max(1, AView.Rect.Height()), 0, depth, InputOutput, visual, mask, &attributes);
    // No decorations: the window manager's frame would sit around the frame this program draws itself.
    long motif[5] = {2, 0, 0, 0, 0};
    XChangeProperty(Dpy, top.Id, A.MotifHints, A.MotifHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(motif), 5);
    Atom protocols[] = {A.WmDeleteWindow};
    XSetWMProtocols(Dpy, top.Id, protocols, 1);
    XSizeHints size{};
    size.flags = USPosition | PPosition | PSize;
    size.x = AView.Rect.Left;
    size.y = AView.Rect.Top;
    size.width = AView.Rect.Width();
    size.height = AView.Rect.Height();
    XSetWMNormalHints(Dpy, top.Id, &size);
    XClassHint hint{const_cast<char*>("quennary"), const_cast<char*>("Quennary")};
    XSetClassHint(Dpy, top.Id, &hint);
    long version = 5;  // drops from other programs
    XChangeProperty(Dpy, top.Id, A.XdndAware, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&version), 1);
    if (CurrentCursor)
        XDefineCursor(Dpy, top.Id, CurrentCursor);
    top.Ic = CreateInputContext(top.Id);
    auto [placed, added] = Tops.emplace(AWindow, top);
    TopByX[top.Id] = AWindow;
    {
        std::lock_guard loss(LossLock);
        if (std::find(LossTargets.begin(), LossTargets.end(), AWindow) == LossTargets.end())
            LossTargets.push_back(AWindow);
    }
    return placed->second;
}

void TX11Backend::TImpl::DestroyTop(TTopWindow& ATop)
{
    if (ATop.Ic)
        XDestroyIC(ATop.Ic);
    ResizeImage(ATop, 0, 0);
    XDestroyWindow(Dpy, ATop.Id);
    if (ATop.Map)
        XFreeColormap(Dpy, ATop.Map);
    ATop = {};
}

void TX11Backend::TImpl::ResizeImage(TTopWindow& ATop, int AWidth, int AHeight)
{
    if (ATop.Image && ATop.Image->width == AWidth && ATop.Image->height == AHeight)
        return;
    if (ATop.Image) {
        if (ATop.UsesShm) {
            XShmDetach(Dpy, &ATop.Shm);
            XSync(Dpy, False);
            shmdt(ATop.Shm.shmaddr);
            ATop.Image->data = nullptr;
        }
        XDestroyImage(ATop.Image);  // frees the pixel buffer of a plain image too
        ATop.Image = nullptr;
        ATop.UsesShm = false;
    }
    if (AWidth <= 0 || AHeight <= 0)
        return;
    Visual* visual = ATop.Argb ? ArgbVisual : PlainVisual;
    int depth = ATop.Argb ? 32 : PlainDepth;
    if (ShmAvailable) {
        XImage* image = XShmCreateImage(Dpy, visual, depth, ZPixmap, nullptr, &ATop.Shm, AWidth, AHeight);
        if (image) {
            ATop.Shm.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * AHeight, IPC_CREAT | 0600);
            void* address = ATop.Shm.shmid >= 0 ? shmat(ATop.Shm.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
            if (address != reinterpret_cast<void*>(-1)) {
                ATop.Shm.shmaddr = image->data = static_cast<char*>(address);
                ATop.Shm.readOnly = False;
                int errors = ErrorCount();
                XShmAttach(Dpy, &ATop.Shm);
                XSync(Dpy, False);
                shmctl(ATop.Shm.shmid, IPC_RMID, nullptr);  // goes when both sides have let go
                if (ErrorCount() == errors) {
                    ATop.Image = image;
                    ATop.UsesShm = true;
                    Kick();
                    return;
                }
                shmdt(address);
                ShmAvailable = false;  // a remote display: plain images from now on
            } else if (ATop.Shm.shmid >= 0) {
                shmctl(ATop.Shm.shmid, IPC_RMID, nullptr);
            }
            image->data = nullptr;
            XDestroyImage(image);
        }
        Kick();
    }
    auto* data = static_cast<char*>(std::calloc(static_cast<size_t>(AWidth) * AHeight, 4));
    ATop.Image = XCreateImage(Dpy, visual, depth, ZPixmap, 0, data, AWidth, AHeight, 32, AWidth * 4);
    if (!ATop.Image)
        std::free(data);
}

void TX11Backend::TImpl::PutImage(TTopWindow& ATop, const TRect& AArea)
{
    if (!ATop.Image)
        return;
    TRect area = win::RectIntersection(AArea, Rect(0, 0, ATop.Image->width, ATop.Image->height));
    if (win::RectIsEmpty(area))
        return;
    GC gc = XCreateGC(Dpy, ATop.Id, 0, nullptr);
    if (ATop.UsesShm) {
        XShmPutImage(Dpy, ATop.Id, gc, ATop.Image, area.Left, area.Top, area.Left, area.Top, area.Width(),
                     area.Height(), False);
        // The segment is written again by the next present: the server must be done reading it first.
        XSync(Dpy, False);
        Kick();
    } else {
        XPutImage(Dpy, ATop.Id, gc, ATop.Image, area.Left, area.Top, area.Left, area.Top, area.Width(),
                  area.Height());
        Flush();
    }
    XFreeGC(Dpy, gc);
}

void TX11Backend::TImpl::ApplyShape(TTopWindow& ATop, const win::TTopLevelView& AView)
{
    std::optional<std::vector<TRect>> shape;
    if (AView.Shape)
        shape = AView.Shape->Rects();
    if (shape != ATop.Shape) {
        if (shape) {
            auto rects = XRects(*shape);
            XShapeCombineRectangles(Dpy, ATop.Id, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                                    ShapeSet, Unsorted);
        } else {
            XShapeCombineMask(Dpy, ATop.Id, ShapeBounding, 0, 0, None, ShapeSet);
        }
        ATop.Shape = shape;
    }
    if (AView.ClickThrough != ATop.ClickThrough && FixesEvent) {
        // An empty input shape lets the pointer fall through to whatever lies below.
        XserverRegion empty = AView.ClickThrough ? XFixesCreateRegion(Dpy, nullptr, 0) : None;
        XFixesSetWindowShapeRegion(Dpy, ATop.Id, ShapeInput, 0, 0, empty);
        if (empty)
            XFixesDestroyRegion(Dpy, empty);
        ATop.ClickThrough = AView.ClickThrough;
    }
}

void TX11Backend::TImpl::ApplyStates(TTopWindow& ATop, const std::vector<Atom>& AStates)
{
    if (AStates == ATop.States)
        return;
    if (!ATop.Mapped) {
        XChangeProperty(Dpy, ATop.Id, A.NetWmState, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(AStates.data()), static_cast<int>(AStates.size()));
    } else {
        // A mapped window belongs to the window manager, which takes state changes as requests.
        auto request = [&](Atom AState, bool AOn) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = ATop.Id;
            event.xclient.message_type = A.NetWmState;
            event.xclient.format = 32;
            event.xclient.data.l[0] = AOn ? 1 : 0;
            event.xclient.data.l[1] = static_cast<long>(AState);
            event.xclient.data.l[3] = 1;
            XSendEvent(Dpy, Root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        };
        for (Atom state : ATop.States)
            if (std::find(AStates.begin(), AStates.end(), state) == AStates.end())
                request(state, false);
        for (Atom state : AStates)
            if (std::find(ATop.States.begin(), ATop.States.end(), state) == ATop.States.end())
                request(state, true);
    }
    ATop.States = AStates;
}

void TX11Backend::TImpl::ApplyOpacity(TTopWindow& ATop, const win::TTopLevelView& AView)
{
    unsigned opacity = AView.Layered && Compositor ? AView.Alpha * 0x01010101u : 0xFFFFFFFFu;
    if (opacity == ATop.Opacity)
        return;
    if (opacity == 0xFFFFFFFFu) {
        XDeleteProperty(Dpy, ATop.Id, A.NetWmOpacity);
    } else {
        long value = opacity;
        XChangeProperty(Dpy, ATop.Id, A.NetWmOpacity, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&value), 1);
    }
    ATop.Opacity = opacity;
}

void TX11Backend::TImpl::Restack(const std::vector<win::HWND>& AOrder)
{
    std::vector<Window> stack;
    for (win::HWND window : AOrder)
        if (auto it = Tops.find(window); it != Tops.end() && it->second.Mapped && !it->second.Iconic)
            stack.push_back(it->second.Id);
    if (stack == LastStack)
        return;
    if (!stack.empty()) {
        XRaiseWindow(Dpy, stack.front());
        XRestackWindows(Dpy, stack.data(), static_cast<int>(stack.size()));
    }
    LastStack = stack;
}

void TX11Backend::TImpl::HandleConfigure(const XConfigureEvent& AEvent)
{
    {
        std::lock_guard lock(Lock);
        if (!TopByX.count(AEvent.window))
            return;
    }
    // A window manager's own report comes as a synthetic event in root coordinates; a real one is relative to
    // the parent, which is the window manager's frame once it has reparented the window.
    TPoint place{AEvent.x, AEvent.y};
    if (!AEvent.send_event) {
        Window child;
        if (!XTranslateCoordinates(Dpy, AEvent.window, Root, 0, 0, &place.X, &place.Y, &child))
            return;
    }
    win::HWND moved = nullptr;
    {
        std::lock_guard lock(Lock);
        auto it = TopByX.find(AEvent.window);
        if (it == TopByX.end())
            return;
        TTopWindow& top = Tops[it->second];
        if (top.Iconic)
            return;
        bool placed_by_us = false, sized_by_us = false;
        auto asked = std::find(top.Requested.begin(), top.Requested.end(), place);
        if (asked != top.Requested.end()) {
            top.Requested.erase(top.Requested.begin(), asked + 1);
            placed_by_us = true;
        }
        TPoint size{AEvent.width, AEvent.height};
        auto asked_size = std::find(top.RequestedSizes.begin(), top.RequestedSizes.end(), size);
        if (asked_size != top.RequestedSizes.end()) {
            top.RequestedSizes.erase(top.RequestedSizes.begin(), asked_size + 1);
            sized_by_us = true;
        }
        bool moved_here = !placed_by_us && place != top.Rect.TopLeft();
        // A size the window manager gave (a maximize, a resize of its own) is taken by the window, so that no
        // part of the X window stays without a picture.
        bool resized_here = !sized_by_us && (size.X != top.Rect.Width() || size.Y != top.Rect.Height());
        if (!moved_here && !resized_here)
            return;
        TPoint at = moved_here ? place : top.Rect.TopLeft();
        top.Rect = resized_here ? Bounds(at.X, at.Y, size.X, size.Y)
                                : win::RectOffset(top.Rect, at.X - top.Rect.Left, at.Y - top.Rect.Top);
        if (moved_here)
            top.Requested.clear();
        if (resized_here)
            top.RequestedSizes.clear();
        moved = it->second;
        if (resized_here) {
            TRect rect = top.Rect;
            win::QueueDesktopPlace(moved, rect);
            return;
        }
    }
    win::QueueDesktopMove(moved, place);
}

void TX11Backend::TImpl::ExposeArea(Window AWindow, const TRect& AArea)
{
    std::lock_guard lock(Lock);
    auto it = TopByX.find(AWindow);
    if (it == TopByX.end())
        return;
    PutImage(Tops[it->second], AArea);
}

void TX11Backend::TImpl::ApplyDesktopProperties(TTopWindow& ATop, const win::TTopLevelView& AView,
                                                 const win::TIconImage& AIcon)
{
    if (ATop.Title != AView.Text) {
        // WM_NAME in the encoding older desktops read, _NET_WM_NAME in UTF-8 for the rest.
        char* list[] = {const_cast<char*>(AView.Text.c_str())};
        XTextProperty property{};
        if (Xutf8TextListToTextProperty(Dpy, list, 1, XStdICCTextStyle, &property) == Success) {
            XSetWMName(Dpy, ATop.Id, &property);
            XFree(property.value);
        } else {
            XChangeProperty(Dpy, ATop.Id, XA_WM_NAME, A.Utf8String, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(AView.Text.data()), static_cast<int>(AView.Text.size()));
        }
        XChangeProperty(Dpy, ATop.Id, A.NetWmName, A.Utf8String, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(AView.Text.data()), static_cast<int>(AView.Text.size()));
        ATop.Title = AView.Text;
    }
    Window owner = 0;
    if (auto it = AView.Owner ? Tops.find(AView.Owner) : Tops.end(); it != Tops.end())
        owner = it->second.Id;
    if (owner != ATop.TransientFor) {
        if (owner)
            XSetTransientForHint(Dpy, ATop.Id, owner);
        else
            XDeleteProperty(Dpy, ATop.Id, XA_WM_TRANSIENT_FOR);
        ATop.TransientFor = owner;
    }
    if (AIcon.Serial != ATop.IconSerial) {
        if (AIcon.Pixels.empty()) {
            XDeleteProperty(Dpy, ATop.Id, A.NetWmIcon);
        } else {
            // Width, height, then straight (not premultiplied) ARGB, one to a long as Xlib passes 32-bit items.
            std::vector<long> data{AIcon.Width, AIcon.Height};
            for (uint32_t pixel : AIcon.Pixels)
                data.push_back(static_cast<long>(win::UnpremultipliedPixel(pixel)));
            XChangeProperty(Dpy, ATop.Id, A.NetWmIcon, XA_CARDINAL, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
        }
        ATop.IconSerial = AIcon.Serial;
    }
}

void TX11Backend::TopLevelChanged(win::HWND AWindow)
{
    TImpl& f = *F;
    if (f.Lost)
        return;
    win::TTopLevelView view;
    if (!win::ViewTopLevel(AWindow, view))
        return;
    bool popup = IsPopupLike(AWindow);
    auto ex = static_cast<DWORD>(win::GetWindowLong(AWindow, win::GWL_EXSTYLE));
    auto style = static_cast<DWORD>(win::GetWindowLong(AWindow, win::GWL_STYLE));
    std::vector<win::HWND> order = win::TopLevelWindowsInZOrder();
    bool argb = view.Layered && f.Compositor && f.ArgbVisual;
    win::TIconImage icon;
    win::HICON handle = win::GetWindowIcon(AWindow, win::ICON_BIG);
    if (!handle)
        handle = win::GetWindowIcon(AWindow, win::ICON_SMALL);
    if (handle)
        win::GetIconImage(handle, icon);
    // Minimized, the window keeps its place on the display; the platform's stand-in place is not shown.
    bool iconic_view = view.Minimized && !popup;
    TImpl::TSizing sizing;
    bool size_hints = false;
    if (!popup && view.Visible && !view.Minimized) {
        // Asked of the window only when its size changed or it is about to be shown.
        {
            std::lock_guard lock(f.Lock);
            auto it = f.Tops.find(AWindow);
            size_hints = it == f.Tops.end() || !it->second.Mapped || it->second.Iconic ||
                         it->second.HintedSize != TPoint{view.Rect.Width(), view.Rect.Height()};
        }
        if (size_hints)
            sizing = f.SizingOf(AWindow, view);
    }
    if (view.Owner) {
        std::unique_lock lock(f.Lock);
        bool owner_known = f.Tops.count(view.Owner);
        lock.unlock();
        if (!owner_known)
            TopLevelChanged(view.Owner);  // the owned window points at the owner's X window: make it first
    }
    {
        std::lock_guard lock(f.Lock);
        TTopWindow& top = f.EnsureTop(AWindow, view, argb);
        if (top.OverrideRedirect != popup) {
            if (top.Mapped)
                XUnmapWindow(f.Dpy, top.Id);
            XSetWindowAttributes attributes{};
            attributes.override_redirect = popup;
            XChangeWindowAttributes(f.Dpy, top.Id, CWOverrideRedirect, &attributes);
            XWMHints hints{};
            hints.flags = InputHint;
            hints.input = !popup;
            XSetWMHints(f.Dpy, top.Id, &hints);
            top.OverrideRedirect = popup;
            top.Mapped = false;
        }
        if (size_hints)
            f.ApplySizeHints(top, view.Rect, sizing);
        if (view.Rect != top.Rect && !iconic_view) {
            XMoveResizeWindow(f.Dpy, top.Id, view.Rect.Left, view.Rect.Top, std::max(1, view.Rect.Width()),
                              std::max(1, view.Rect.Height()));
            if (view.Rect.TopLeft() != top.Rect.TopLeft()) {
                top.Requested.push_back(view.Rect.TopLeft());
                if (top.Requested.size() > 32)
                    top.Requested.pop_front();
            }
            if (view.Rect.Width() != top.Rect.Width() || view.Rect.Height() != top.Rect.Height()) {
                top.RequestedSizes.push_back(TPoint{view.Rect.Width(), view.Rect.Height()});
                if (top.RequestedSizes.size() > 32)
                    top.RequestedSizes.pop_front();
            }
            top.Rect = view.Rect;
        }
        f.ApplyShape(top, view);
        f.ApplyDesktopProperties(top, view, icon);
        std::vector<Atom> states;
        if (ex & win::WS_EX_TOPMOST)
            states.push_back(f.A.NetWmStateAbove);
        if (style & win::WS_MAXIMIZE) {
            states.push_back(f.A.NetWmStateMaxHorz);
            states.push_back(f.A.NetWmStateMaxVert);
        }
        if (ex & win::WS_EX_TOOLWINDOW)
            states.push_back(f.A.NetWmStateSkipTaskbar);
        f.ApplyStates(top, states);
        f.ApplyOpacity(top, view);
        bool shown = view.Visible && !view.Minimized;
        if (shown && (!top.Mapped || top.Iconic)) {
            XMapWindow(f.Dpy, top.Id);  // maps a new window, and brings an iconified one back
            top.Mapped = true;
            top.Iconic = false;
        } else if (!shown && view.Visible && iconic_view && top.Mapped) {
            // Minimized: iconified through the window manager, which shows it as such and can bring it back;
            // without one there is nobody to ask, and the window is taken off the screen.
            if (!top.Iconic) {
                if (f.HasWindowManager()) {
                    XIconifyWindow(f.Dpy, top.Id, f.ScreenNumber);
                    top.Iconic = true;
                } else {
                    XUnmapWindow(f.Dpy, top.Id);
                    top.Mapped = false;
                }
            }
        } else if (!shown && top.Mapped) {
            XUnmapWindow(f.Dpy, top.Id);
            top.Mapped = false;
            top.Iconic = false;
        }
        f.Restack(order);
        f.Flush();
    }
    f.SyncNatives(AWindow);
}

void TX11Backend::TopLevelDestroyed(win::HWND AWindow)
{
    TImpl& f = *F;
    f.RememberForLoss(AWindow, false);
    if (f.Lost)
        return;  // the connection is gone: what is left is freed when the backend goes
    std::lock_guard lock(f.Lock);
    auto it = f.Tops.find(AWindow);
    if (it == f.Tops.end())
        return;
    for (auto n = f.Natives.begin(); n != f.Natives.end();)
        if (n->second.Top == AWindow) {
            f.NativeByX.erase(n->second.Id);
            n = f.Natives.erase(n);  // the X server takes X children along with their parent
        } else {
            ++n;
        }
    f.TopByX.erase(it->second.Id);
    f.LastStack.erase(std::remove(f.LastStack.begin(), f.LastStack.end(), it->second.Id), f.LastStack.end());
    f.DestroyTop(it->second);
    f.Tops.erase(it);
    f.Flush();
}

void TX11Backend::Present(win::HWND AWindow, const TRect& ADirty)
{
    TImpl& f = *F;
    if (f.Lost)
        return;
    win::TTopLevelView view;
    if (!win::ViewTopLevel(AWindow, view) || !view.Pixels)
        return;
    // A minimized window's stand-in surface is never shown: the picture from before stays for the restore.
    if (view.Minimized && !IsPopupLike(AWindow))
        return;
    bool created = false;
    {
        std::lock_guard lock(f.Lock);
        auto it = f.Tops.find(AWindow);
        created = it == f.Tops.end();
    }
    if (created)
        TopLevelChanged(AWindow);
    {
        std::lock_guard lock(f.Lock);
        auto it = f.Tops.find(AWindow);
        if (it == f.Tops.end())
            return;
        TTopWindow& top = it->second;
        f.ApplyOpacity(top, view);  // constant alpha changes come with a present only
        f.ResizeImage(top, view.Width, view.Height);
        if (!top.Image)
            return;
        TRect area = win::RectIntersection(ADirty, Rect(0, 0, view.Width, view.Height));
        uint32_t key = KeyAsPixel(view.ColorKey);
        for (int y = area.Top; y < area.Bottom; ++y) {
            const uint32_t* source = view.Pixels + static_cast<size_t>(y) * view.Width + area.Left;
            auto* dest = reinterpret_cast<uint32_t*>(top.Image->data + static_cast<size_t>(y) * top.Image->bytes_per_line) +
                         area.Left;
            if (!top.Argb) {
                std::memcpy(dest, source, static_cast<size_t>(area.Width()) * 4);
                continue;
            }
            for (int x = 0; x < area.Width(); ++x) {
                uint32_t pixel = source[x];
                if (view.ColorKeyed && (pixel & 0xFFFFFF) == key)
                    pixel = 0;
                else if (!view.PerPixelAlpha)
                    pixel |= 0xFF000000u;  // painted pixels carry alpha 0: opaque unless the contents say otherwise
                dest[x] = pixel;
            }
        }
        f.PutImage(top, area);
    }
    f.SyncNatives(AWindow);
}

uintptr_t TX11Backend::AttachNativeWindow(win::HWND AWindow)
{
    TImpl& f = *F;
    win::HWND top = win::GetAncestor(AWindow, win::GA_ROOT);
    if (!top || top == AWindow)
        return 0;
    {
        std::lock_guard lock(f.Lock);
        if (auto it = f.Natives.find(AWindow); it != f.Natives.end())
            return it->second.Id;
    }
    TopLevelChanged(top);
    {
        std::lock_guard lock(f.Lock);
        auto parent = f.Tops.find(top);
        if (parent == f.Tops.end())
            return 0;
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(f.Dpy, f.ScreenNumber);
        attributes.border_pixel = 0;
        attributes.colormap = DefaultColormap(f.Dpy, f.ScreenNumber);
        // Pointer input on the panel is the application's too.
        attributes.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                LeaveWindowMask;
        if (f.CurrentCursor)
            attributes.cursor = f.CurrentCursor;
        TNativeChild native;
        native.Top = top;
        native.Id = XCreateWindow(f.Dpy, parent->second.Id, 0, 0, 1, 1, 0, f.PlainDepth, InputOutput,
                                  f.PlainVisual,
                                  CWBackPixel | CWBorderPixel | CWColormap | CWEventMask |
                                      (f.CurrentCursor ? CWCursor : 0),
                                  &attributes);
        f.Natives[AWindow] = native;
        f.NativeByX[native.Id] = AWindow;
        // A new window lies on top of its siblings: the solid ones go back above it.
        for (auto& [window, other] : f.Natives)
            if (other.Solid && other.Top == top)
                XRaiseWindow(f.Dpy, other.Id);
    }
    f.SyncNatives(top);
    XSync(f.Dpy, False);
    f.Kick();
    return XWindowOf(AWindow);
}

void TX11Backend::FillNativeWindow(win::HWND AWindow, win::COLORREF AColor)
{
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    auto it = f.Natives.find(AWindow);
    if (it == f.Natives.end())
        return;
    // The display is 24-bit true colour with red in the high byte (checked on connecting).
    const unsigned long pixel = (static_cast<unsigned long>(AColor & 0xFF) << 16) | (AColor & 0xFF00) |
                                ((AColor >> 16) & 0xFF);
    it->second.Solid = true;
    XSetWindowBackground(f.Dpy, it->second.Id, pixel);
    XClearWindow(f.Dpy, it->second.Id);
    XRaiseWindow(f.Dpy, it->second.Id);
    f.Flush();
}

void TX11Backend::DetachNativeWindow(win::HWND AWindow)
{
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    auto it = f.Natives.find(AWindow);
    if (it == f.Natives.end())
        return;
    // The top-level window's own pixels come back through the server's exposure of the area.
    XDestroyWindow(f.Dpy, it->second.Id);
    f.NativeByX.erase(it->second.Id);
    f.Natives.erase(it);
    f.Flush();
}

void TX11Backend::TImpl::SyncNatives(win::HWND ATop)
{
    if (Lost)
        return;
    struct TWanted {
        win::HWND Window;
        bool Alive;
        bool Shown;
        TRect Place;
        TRect Visible;
    };
    std::vector<win::HWND> mine;
    {
        std::lock_guard lock(Lock);
        for (auto& [window, native] : Natives)
            if (native.Top == ATop)
                mine.push_back(window);
    }
    if (mine.empty())
        return;
    TRect top_rect;
    win::GetWindowRect(ATop, top_rect);
    std::vector<TWanted> wanted;
    for (win::HWND window : mine) {
        TWanted w{window, win::IsWindow(window) && win::GetAncestor(window, win::GA_ROOT) == ATop, false, {}, {}};
        if (w.Alive) {
            TRect rect;
            win::GetWindowRect(window, rect);
            w.Place = win::RectOffset(rect, -top_rect.Left, -top_rect.Top);
            w.Visible = w.Place;
            // Clipped by every parent's client area on the way up.
            for (win::HWND child = window; child && child != ATop;) {
                win::HWND parent = win::GetAncestor(child, win::GA_PARENT);
                if (!parent)
                    break;
                TRect client;
                win::GetClientRect(parent, client);
                TPoint origin{0, 0};
                win::ClientToScreen(parent, origin);
                client = win::RectOffset(client, origin.X - top_rect.Left, origin.Y - top_rect.Top);
                w.Visible = win::RectIntersection(w.Visible, client);
                child = parent;
            }
            w.Shown = win::IsWindowVisible(window) && !win::IsIconic(ATop) && !win::RectIsEmpty(w.Visible);
        }
        wanted.push_back(w);
    }
    std::lock_guard lock(Lock);
    for (const TWanted& w : wanted) {
        auto it = Natives.find(w.Window);
        if (it == Natives.end())
            continue;
        TNativeChild& native = it->second;
        if (!w.Alive) {
            XDestroyWindow(Dpy, native.Id);
            NativeByX.erase(native.Id);
            Natives.erase(it);
            continue;
        }
        if (w.Place != native.Place && !win::RectIsEmpty(w.Place)) {
            XMoveResizeWindow(Dpy, native.Id, w.Place.Left, w.Place.Top, w.Place.Width(), w.Place.Height());
            native.Place = w.Place;
            // The shape lies in the window's own coordinates: a moved window needs it again even where the area
            // its parents let show stayed where it was.
            native.Visible = TRect{};
        }
        if (w.Shown && w.Visible != native.Visible) {
            if (w.Visible == w.Place) {
                XShapeCombineMask(Dpy, native.Id, ShapeBounding, 0, 0, None, ShapeSet);
            } else {
                auto rects = XRects({w.Visible}, -w.Place.Left, -w.Place.Top);
                XShapeCombineRectangles(Dpy, native.Id, ShapeBounding, 0, 0, rects.data(), 1, ShapeSet, Unsorted);
            }
            native.Visible = w.Visible;
        }
        if (w.Shown != native.Mapped) {
            if (w.Shown)
                XMapWindow(Dpy, native.Id);
            else
                XUnmapWindow(Dpy, native.Id);
            native.Mapped = w.Shown;
        }
    }
    Flush();
}

}  // namespace x11
