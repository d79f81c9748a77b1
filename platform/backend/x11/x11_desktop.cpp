#include "platform/backend/x11/x11_impl.h"

#include <X11/Xatom.h>
#include <X11/Xcursor/Xcursor.h>
#include <X11/cursorfont.h>

#include <algorithm>

namespace x11 {

void TX11Backend::TImpl::RefreshCompositor() { Compositor = XGetSelectionOwner(Dpy, A.NetWmCm) != None; }

Cursor TX11Backend::TImpl::CursorFor(uintptr_t AId)
{
    if (auto it = Cursors.find(AId); it != Cursors.end())
        return it->second;
    // A cursor made from a bitmap (a skin's cursor): its picture with its alpha, through Xcursor and XRender.
    if (win::TIconImage image; win::GetIconImage(reinterpret_cast<win::HICON>(AId), image)) {
        if (auto it = ImageCursors.find(image.Serial); it != ImageCursors.end())
            return it->second;
        XcursorImage* xcursor = XcursorImageCreate(image.Width, image.Height);
        if (!xcursor)
            return CursorFor(win::IDC_ARROW);
        xcursor->xhot = static_cast<XcursorDim>(image.HotSpot.X);
        xcursor->yhot = static_cast<XcursorDim>(image.HotSpot.Y);
        std::copy(image.Pixels.begin(), image.Pixels.end(), xcursor->pixels);
        Cursor made = XcursorImageLoadCursor(Dpy, xcursor);
        XcursorImageDestroy(xcursor);
        ImageCursors[image.Serial] = made;
        return made;
    }
    Cursor cursor;
    if (AId == 0) {
        // No cursor at all: a cursor of one transparent pixel.
        char bits = 0;
        Pixmap blank = XCreateBitmapFromData(Dpy, Root, &bits, 1, 1);
        XColor black{};
        cursor = XCreatePixmapCursor(Dpy, blank, blank, &black, &black, 0, 0);
        XFreePixmap(Dpy, blank);
    } else {
        unsigned shape;
        switch (AId) {
        case win::IDC_IBEAM: shape = XC_xterm; break;
        case win::IDC_WAIT: case win::IDC_APPSTARTING: shape = XC_watch; break;
        case win::IDC_CROSS: shape = XC_crosshair; break;
        case win::IDC_UPARROW: shape = XC_sb_up_arrow; break;
        case win::IDC_SIZENWSE: shape = XC_bottom_right_corner; break;
        case win::IDC_SIZENESW: shape = XC_bottom_left_corner; break;
        case win::IDC_SIZEWE: shape = XC_sb_h_double_arrow; break;
        case win::IDC_SIZENS: shape = XC_sb_v_double_arrow; break;
        case win::IDC_SIZEALL: shape = XC_fleur; break;
        case win::IDC_NO: shape = XC_X_cursor; break;
        case win::IDC_HAND: shape = XC_hand2; break;
        default: shape = XC_left_ptr; break;
        }
        cursor = XCreateFontCursor(Dpy, shape);
    }
    Cursors[AId] = cursor;
    return cursor;
}

void TX11Backend::CursorChanged(win::HCURSOR ACursor)
{
    if (F->Lost)
        return;
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    f.CurrentCursor = f.CursorFor(reinterpret_cast<uintptr_t>(ACursor));
    for (auto& [window, top] : f.Tops)
        XDefineCursor(f.Dpy, top.Id, f.CurrentCursor);
    for (auto& [window, native] : f.Natives)
        XDefineCursor(f.Dpy, native.Id, f.CurrentCursor);
    f.Flush();
}

void TX11Backend::CaptureChanged(win::HWND AWindow)
{
    if (F->Lost)
        return;
    TImpl& f = *F;
    win::HWND top = AWindow ? win::GetAncestor(AWindow, win::GA_ROOT) : nullptr;
    std::lock_guard lock(f.Lock);
    auto it = top ? f.Tops.find(top) : f.Tops.end();
    if (it == f.Tops.end()) {
        XUngrabPointer(f.Dpy, CurrentTime);
    } else {
        // Our own windows keep getting their events; the rest of the screen reports to the capturing one.
        XGrabPointer(f.Dpy, it->second.Id, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                     GrabModeAsync, GrabModeAsync, None, f.CurrentCursor ? f.CurrentCursor : None, CurrentTime);
    }
    f.Flush();
}

void TX11Backend::Beep(win::UINT)
{
    if (F->Lost)
        return;
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    XBell(f.Dpy, 0);
    f.Flush();
}

}  // namespace x11
