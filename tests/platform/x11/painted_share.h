#pragma once
// For tests of windows that something outside the window layer draws into (the players' panels): how much of a
// window of the display holds more than its black background. Include after the headers that Xlib's macros would
// disturb.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace x11test {

// The share of the window's pixels that are not black; 0 for a window that is not viewable.
inline double PaintedShare(Display* ADisplay, Window AWindow)
{
    XSync(ADisplay, False);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(ADisplay, AWindow, &attributes) || attributes.map_state != IsViewable) return 0;
    XImage* image = XGetImage(ADisplay, AWindow, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) return 0;
    long painted = 0;
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x) painted += (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return static_cast<double>(painted) / (attributes.width * attributes.height);
}

}  // namespace x11test
