// Drags files onto the X window at a screen point and drops them there, as a file manager would.
// Usage: x11_dnd_source X Y PATH...   Exit status: 0 dropped and taken, 2 no drop target there,
// 3 the target refused, 4 the target did not take the files, 5 no answer in time.
#include "platform/backend/x11/uri_list.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

Display* g_display;
Window g_source;

Atom Intern(const char* AName) { return XInternAtom(g_display, AName, False); }

long AwareVersion(Window AWindow)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long version = 0;
    if (XGetWindowProperty(g_display, AWindow, Intern("XdndAware"), 0, 1, False, XA_ATOM, &type, &format, &count,
                           &after, &data) == Success && type == XA_ATOM && count == 1)
        version = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return version;
}

void Send(Window ATarget, const char* AType, long A1, long A2, long A3, long A4)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = ATarget;
    event.xclient.message_type = Intern(AType);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(g_source);
    event.xclient.data.l[1] = A1;
    event.xclient.data.l[2] = A2;
    event.xclient.data.l[3] = A3;
    event.xclient.data.l[4] = A4;
    XSendEvent(g_display, ATarget, False, NoEventMask, &event);
    XFlush(g_display);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s X Y PATH...\n", argv[0]);
        return 1;
    }
    int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    std::string list;
    for (int i = 3; i < argc; ++i)
        list += x11::FileUri(argv[i]) + "\r\n";
    g_display = XOpenDisplay(nullptr);
    if (!g_display)
        return 1;
    Window root = DefaultRootWindow(g_display);
    g_source = XCreateSimpleWindow(g_display, root, -10, -10, 1, 1, 0, 0, 0);

    // The outermost window under the point that takes drops.
    Window target = 0, at = root, child = 0;
    long version = 0;
    int cx, cy;
    while (XTranslateCoordinates(g_display, root, at, x, y, &cx, &cy, &child) && child) {
        at = child;
        if ((version = AwareVersion(at)) > 0) {
            target = at;
            break;
        }
    }
    if (!target)
        return 2;
    version = std::min(version, 5L);
    Atom uri_list = Intern("text/uri-list");
    XSetSelectionOwner(g_display, Intern("XdndSelection"), g_source, CurrentTime);
    Send(target, "XdndEnter", version << 24, static_cast<long>(uri_list), 0, 0);
    Send(target, "XdndPosition", 0, (x << 16) | y, CurrentTime, static_cast<long>(Intern("XdndActionCopy")));

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    pollfd fd{ConnectionNumber(g_display), POLLIN, 0};
    while (std::chrono::steady_clock::now() < deadline) {
        if (!XPending(g_display)) {
            poll(&fd, 1, 200);
            continue;
        }
        XEvent event;
        XNextEvent(g_display, &event);
        if (event.type == SelectionRequest) {
            const XSelectionRequestEvent& request = event.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.requestor = request.requestor;
            reply.selection = request.selection;
            reply.target = request.target;
            reply.time = request.time;
            reply.property = None;
            if (request.target == uri_list) {
                XChangeProperty(g_display, request.requestor, request.property, uri_list, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(list.data()), static_cast<int>(list.size()));
                reply.property = request.property;
            }
            XSendEvent(g_display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
            XFlush(g_display);
        } else if (event.type == ClientMessage && event.xclient.message_type == Intern("XdndStatus")) {
            if (!(event.xclient.data.l[1] & 1)) {
                Send(target, "XdndLeave", 0, 0, 0, 0);
                return 3;
            }
            Send(target, "XdndDrop", 0, CurrentTime, 0, 0);
        } else if (event.type == ClientMessage && event.xclient.message_type == Intern("XdndFinished")) {
            XDestroyWindow(g_display, g_source);
            XCloseDisplay(g_display);
            return (event.xclient.data.l[1] & 1) ? 0 : 4;
        }
    }
    return 5;
}
