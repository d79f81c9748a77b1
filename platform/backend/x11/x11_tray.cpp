#include "platform/backend/x11/x11_impl.h"

#include <X11/extensions/Xrender.h>

#include <algorithm>
#include <cstring>

namespace x11 {

namespace {

// XEmbed: the tray asks for its icons' size and place; the icon window only has to show its picture.
constexpr long kXembedVersion = 0;
constexpr long kXembedMapped = 1;
constexpr long kTrayRequestDock = 0;

}  // namespace

bool TX11Backend::TrayAvailable() const
{
    Window owner = XGetSelectionOwner(F->Dpy, F->A.TraySelection);
    F->Kick();
    return owner != None;
}

void TX11Backend::TImpl::DrawTrayIcon(const TTrayIcon& AIcon)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(Dpy, AIcon.Id, &attributes) || attributes.map_state != IsViewable)
        return;
    XClearWindow(Dpy, AIcon.Id);  // the tray's own background shows through
    const win::TIconImage& image = AIcon.Image;
    if (image.Pixels.empty())
        return;
    XRenderPictFormat* argb = XRenderFindStandardFormat(Dpy, PictStandardARGB32);
    XRenderPictFormat* target_format = XRenderFindVisualFormat(Dpy, attributes.visual);
    if (!argb || !target_format)
        return;
    Pixmap pixmap = XCreatePixmap(Dpy, AIcon.Id, static_cast<unsigned>(image.Width),
                                  static_cast<unsigned>(image.Height), 32);
    // The icon's pixels are premultiplied 0xAARRGGBB, what an ARGB32 picture holds.
    auto* data = static_cast<char*>(std::malloc(image.Pixels.size() * 4));
    std::memcpy(data, image.Pixels.data(), image.Pixels.size() * 4);
    XImage* ximage = XCreateImage(Dpy, nullptr, 32, ZPixmap, 0, data, static_cast<unsigned>(image.Width),
                                  static_cast<unsigned>(image.Height), 32, image.Width * 4);
    GC gc = XCreateGC(Dpy, pixmap, 0, nullptr);
    XPutImage(Dpy, pixmap, gc, ximage, 0, 0, 0, 0, static_cast<unsigned>(image.Width),
              static_cast<unsigned>(image.Height));
    XFreeGC(Dpy, gc);
    XDestroyImage(ximage);
    Picture source = XRenderCreatePicture(Dpy, pixmap, argb, 0, nullptr);
    Picture target = XRenderCreatePicture(Dpy, AIcon.Id, target_format, 0, nullptr);
    // Scaled to the place the tray gave, keeping its proportions, centred.
    int side = std::max(1, std::min(attributes.width, attributes.height));
    double scale = std::max(image.Width, image.Height) / static_cast<double>(side);
    int width = std::max(1, static_cast<int>(image.Width / scale)), height = std::max(1, static_cast<int>(image.Height / scale));
    XTransform transform{};
    transform.matrix[0][0] = XDoubleToFixed(scale);
    transform.matrix[1][1] = XDoubleToFixed(scale);
    transform.matrix[2][2] = XDoubleToFixed(1);
    XRenderSetPictureTransform(Dpy, source, &transform);
    XRenderSetPictureFilter(Dpy, source, const_cast<char*>(FilterBilinear), nullptr, 0);
    XRenderComposite(Dpy, PictOpOver, source, None, target, 0, 0, 0, 0, (attributes.width - width) / 2,
                     (attributes.height - height) / 2, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XRenderFreePicture(Dpy, source);
    XRenderFreePicture(Dpy, target);
    XFreePixmap(Dpy, pixmap);
    Flush();
}

bool TX11Backend::TImpl::ExposeTrayIcon(Window AWindow)
{
    std::lock_guard lock(Lock);
    for (const TTrayIcon& icon : TrayIcons)
        if (icon.Id == AWindow) {
            DrawTrayIcon(icon);
            return true;
        }
    return false;
}

void TX11Backend::TrayIconChanged(DWORD AMessage, const win::NOTIFYICONDATA& AData)
{
    if (F->Lost)
        return;
    TImpl& f = *F;
    win::TIconImage image;
    bool has_image = AData.hIcon && win::GetIconImage(AData.hIcon, image);
    std::lock_guard lock(f.Lock);
    auto it = std::find_if(f.TrayIcons.begin(), f.TrayIcons.end(), [&](const TTrayIcon& AIcon) {
        return AIcon.Owner == AData.hWnd && AIcon.IconId == AData.uID;
    });
    if (AMessage == win::NIM_DELETE) {
        if (it != f.TrayIcons.end()) {
            XDestroyWindow(f.Dpy, it->Id);
            f.TrayIcons.erase(it);
            f.Flush();
        }
        return;
    }
    if (AMessage == win::NIM_MODIFY) {
        if (it != f.TrayIcons.end() && (AData.uFlags & win::NIF_ICON)) {
            it->Image = has_image ? image : win::TIconImage{};
            f.DrawTrayIcon(*it);
        }
        return;
    }
    if (AMessage != win::NIM_ADD || it != f.TrayIcons.end())
        return;
    Window tray = XGetSelectionOwner(f.Dpy, f.A.TraySelection);
    f.Kick();
    if (tray == None)
        return;
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = ParentRelative;
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ExposureMask |
                            StructureNotifyMask;
    TTrayIcon icon;
    icon.Owner = AData.hWnd;
    icon.IconId = AData.uID;
    if (has_image)
        icon.Image = std::move(image);
    icon.Id = XCreateWindow(f.Dpy, f.Root, 0, 0, 22, 22, 0, CopyFromParent, InputOutput, CopyFromParent,
                            CWBackPixmap | CWEventMask, &attributes);
    long info[2] = {kXembedVersion, kXembedMapped};
    XChangeProperty(f.Dpy, icon.Id, f.A.XembedInfo, f.A.XembedInfo, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(info), 2);
    XEvent dock{};
    dock.xclient.type = ClientMessage;
    dock.xclient.window = tray;
    dock.xclient.message_type = f.A.TrayOpcode;
    dock.xclient.format = 32;
    dock.xclient.data.l[0] = CurrentTime;
    dock.xclient.data.l[1] = kTrayRequestDock;
    dock.xclient.data.l[2] = static_cast<long>(icon.Id);
    XSendEvent(f.Dpy, tray, False, NoEventMask, &dock);
    f.Flush();
    f.TrayIcons.push_back(std::move(icon));
}

}  // namespace x11
