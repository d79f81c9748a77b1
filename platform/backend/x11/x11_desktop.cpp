#include "platform/backend/x11/x11_impl.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>

#include <algorithm>

namespace x11 {

void TX11Backend::TImpl::RefreshCompositor() { Compositor = XGetSelectionOwner(Dpy, A.NetWmCm) != None; }

Cursor TX11Backend::TImpl::CursorFor(uintptr_t AId)
{
    if (auto it = Cursors.find(AId); it != Cursors.end())
        return it->second;
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
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    f.CurrentCursor = f.CursorFor(reinterpret_cast<uintptr_t>(ACursor));
    for (auto& [window, top] : f.Tops)
        XDefineCursor(f.Dpy, top.Id, f.CurrentCursor);
    for (auto& [window, native] : f.Natives)
        XDefineCursor(f.Dpy, native.Id, f.CurrentCursor);
    XFlush(f.Dpy);
}

void TX11Backend::CaptureChanged(win::HWND AWindow)
{
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
    XFlush(f.Dpy);
}

void TX11Backend::Beep(win::UINT)
{
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    XBell(f.Dpy, 0);
    XFlush(f.Dpy);
}

void TX11Backend::TrayIconChanged(DWORD AMessage, const win::NOTIFYICONDATA& AData)
{
    TImpl& f = *F;
    std::lock_guard lock(f.Lock);
    auto it = std::find_if(f.TrayIcons.begin(), f.TrayIcons.end(), [&](const TTrayIcon& AIcon) {
        return AIcon.Owner == AData.hWnd && AIcon.IconId == AData.uID;
    });
    if (AMessage == win::NIM_DELETE) {
        if (it != f.TrayIcons.end()) {
            XDestroyWindow(f.Dpy, it->Id);
            f.TrayIcons.erase(it);
            XFlush(f.Dpy);
        }
        return;
    }
    if (AMessage != win::NIM_ADD || it != f.TrayIcons.end())
        return;
    // Without a tray on the desktop the icon is simply not shown.
    Window tray = XGetSelectionOwner(f.Dpy, f.A.TraySelection);
    if (tray == None)
        return;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = 0xC0C0C0;
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    TTrayIcon icon;
    icon.Owner = AData.hWnd;
    icon.IconId = AData.uID;
    icon.Id = XCreateWindow(f.Dpy, f.Root, 0, 0, 22, 22, 0, CopyFromParent, InputOutput, CopyFromParent,
                            CWBackPixel | CWEventMask, &attributes);
    long info[2] = {0, 1};  // XEmbed version 0, mapped
    XChangeProperty(f.Dpy, icon.Id, f.A.XembedInfo, f.A.XembedInfo, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(info), 2);
    XEvent dock{};
    dock.xclient.type = ClientMessage;
    dock.xclient.window = tray;
    dock.xclient.message_type = f.A.TrayOpcode;
    dock.xclient.format = 32;
    dock.xclient.data.l[0] = CurrentTime;
    dock.xclient.data.l[1] = 0;  // request dock
    dock.xclient.data.l[2] = static_cast<long>(icon.Id);
    XSendEvent(f.Dpy, tray, False, NoEventMask, &dock);
    XFlush(f.Dpy);
    f.TrayIcons.push_back(icon);
}

}  // namespace x11
