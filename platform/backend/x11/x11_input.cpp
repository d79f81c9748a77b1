#include "platform/backend/x11/key_map.h"
#include "platform/backend/x11/x11_impl.h"
#include "platform/rtl/utf8.h"

#include <algorithm>

namespace x11 {

namespace {

int VirtualButton(unsigned AButton)
{
    switch (AButton) {
    case Button1: return win::VK_LBUTTON;
    case Button2: return win::VK_MBUTTON;
    case Button3: return win::VK_RBUTTON;
    default: return 0;
    }
}

// What an input method typed; a stray byte types nothing.
void AppendTyped(std::u32string& AOut, const char* AText, int ALength)
{
    const std::string_view text(AText, static_cast<size_t>(std::max(ALength, 0)));
    for (size_t i = 0; i < text.size();) {
        bool valid = false;
        const char32_t code = Utf8Next(text, i, &valid);
        if (valid) AOut += code;
    }
}

}  // namespace

bool TX11Backend::TImpl::HandleTrayButton(const XButtonEvent& AEvent)
{
    win::HWND owner = nullptr;
    win::UINT id = 0;
    {
        std::lock_guard lock(Lock);
        for (const TTrayIcon& icon : TrayIcons)
            if (icon.Id == AEvent.window) {
                owner = icon.Owner;
                id = icon.IconId;
            }
    }
    if (!owner)
        return false;
    bool down = AEvent.type == ButtonPress;
    win::UINT message = 0;
    switch (AEvent.button) {
    case Button1: message = down ? win::WM_LBUTTONDOWN : win::WM_LBUTTONUP; break;
    case Button3: message = down ? win::WM_RBUTTONDOWN : win::WM_RBUTTONUP; break;
    default: break;
    }
    if (message)
        win::QueueTrayEvent(owner, id, message);
    return true;
}

void TX11Backend::TImpl::OpenInputMethod()
{
    XSetLocaleModifiers("");
    Im = XOpenIM(Dpy, nullptr, nullptr, nullptr);
    if (!Im) {
        XSetLocaleModifiers("@im=none");
        Im = XOpenIM(Dpy, nullptr, nullptr, nullptr);
    }
    if (!Im)
        return;
    XIMStyles* styles = nullptr;
    if (XGetIMValues(Im, XNQueryInputStyle, &styles, nullptr) || !styles)
        return;
    auto supports = [&](XIMStyle AStyle) {
        for (int i = 0; i < styles->count_styles; ++i)
            if (styles->supported_styles[i] == AStyle)
                return true;
        return false;
    };
    // Over the spot (the method draws what is being composed at the caret) when it can, else off the spot.
    constexpr XIMStyle spot = XIMPreeditPosition | XIMStatusNothing;
    if (supports(spot)) {
        char** missing = nullptr;
        int missing_count = 0;
        char* fallback = nullptr;
        ImFonts = XCreateFontSet(Dpy, "-*-*-medium-r-normal--14-*-*-*-*-*-*-*,-*-*-*-*-*--*-*-*-*-*-*-*-*",
                                 &missing, &missing_count, &fallback);
        if (missing)
            XFreeStringList(missing);
    }
    if (ImFonts)
        ImStyle = spot;
    else if (supports(XIMPreeditNothing | XIMStatusNothing))
        ImStyle = XIMPreeditNothing | XIMStatusNothing;
    else if (supports(XIMPreeditNone | XIMStatusNone))
        ImStyle = XIMPreeditNone | XIMStatusNone;
    XFree(styles);
}

XIC TX11Backend::TImpl::CreateInputContext(Window AWindow)
{
    if (!Im || !ImStyle)
        return nullptr;
    XIC ic;
    if (ImStyle & XIMPreeditPosition) {
        XPoint spot{0, 0};
        XVaNestedList preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, XNFontSet, ImFonts, nullptr);
        ic = XCreateIC(Im, XNInputStyle, ImStyle, XNClientWindow, AWindow, XNFocusWindow, AWindow,
                       XNPreeditAttributes, preedit, nullptr);
        XFree(preedit);
    } else {
        ic = XCreateIC(Im, XNInputStyle, ImStyle, XNClientWindow, AWindow, XNFocusWindow, AWindow, nullptr);
    }
    if (!ic)
        return nullptr;
    long filter = 0;
    XGetICValues(ic, XNFilterEvents, &filter, nullptr);
    XWindowAttributes attributes;
    if (filter && XGetWindowAttributes(Dpy, AWindow, &attributes))
        XSelectInput(Dpy, AWindow, attributes.your_event_mask | filter);
    // No focus yet: only the window that has the keyboard gets it, when it gets it.
    XUnsetICFocus(ic);
    return ic;
}

void TX11Backend::TImpl::HandleFocus(const XFocusChangeEvent& AEvent)
{
    // Moves between the window and a child of it (a video panel) leave the typing where it was. Without a
    // window manager the focus follows the pointer (NotifyPointer): that is a real change.
    if (AEvent.detail == NotifyInferior || AEvent.detail == NotifyVirtual || AEvent.detail == NotifyNonlinearVirtual)
        return;
    std::lock_guard lock(Lock);
    auto it = TopByX.find(AEvent.window);
    if (it == TopByX.end())
        return;
    XIC ic = Tops[it->second].Ic;
    if (AEvent.type == FocusIn) {
        Focused = AEvent.window;
        if (ic)
            XSetICFocus(ic);
    } else {
        if (Focused == AEvent.window)
            Focused = 0;
        if (ic)
            XUnsetICFocus(ic);
    }
}

void TX11Backend::TImpl::PlaceSpot(win::HWND AWindow, TPoint AClient)
{
    win::HWND root = win::GetAncestor(AWindow, win::GA_ROOT);
    TPoint screen = AClient;
    TRect top_rect;
    if (!root || !win::ClientToScreen(AWindow, screen) || !win::GetWindowRect(root, top_rect))
        return;
    std::lock_guard lock(Lock);
    auto it = Tops.find(root);
    if (it == Tops.end() || !it->second.Ic || !(ImStyle & XIMPreeditPosition))
        return;
    XPoint spot{static_cast<short>(screen.X - top_rect.Left), static_cast<short>(screen.Y - top_rect.Top)};
    XVaNestedList preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
    XSetICValues(it->second.Ic, XNPreeditAttributes, preedit, nullptr);
    XFree(preedit);
    Flush();
}

void TX11Backend::SetCaretSpot(win::HWND AWindow, int AX, int AY) { F->PlaceSpot(AWindow, {AX, AY}); }

void TX11Backend::TImpl::HandlePointer(XEvent& AEvent)
{
    Window window = AEvent.xany.window;
    if ((AEvent.type == ButtonPress || AEvent.type == ButtonRelease) && HandleTrayButton(AEvent.xbutton))
        return;
    if (!IsOurs(window))
        return;
    switch (AEvent.type) {
    case MotionNotify: {
        // Only the latest position matters when moves pile up.
        XEvent next;
        while (XCheckTypedWindowEvent(Dpy, window, MotionNotify, &next))
            AEvent = next;
        win::QueueMouseMove({AEvent.xmotion.x_root, AEvent.xmotion.y_root});
        return;
    }
    case EnterNotify: case LeaveNotify:
        if (AEvent.xcrossing.mode == NotifyNormal)
            win::QueueMouseMove({AEvent.xcrossing.x_root, AEvent.xcrossing.y_root});
        return;
    case ButtonPress: case ButtonRelease: {
        const XButtonEvent& e = AEvent.xbutton;
        TPoint where{e.x_root, e.y_root};
        bool down = AEvent.type == ButtonPress;
        if (e.button == Button4 || e.button == Button5) {
            if (down)
                win::QueueMouseWheel(where, e.button == Button4 ? 120 : -120);
            return;
        }
        // Buttons 6 and 7 are the wheel tilted (or a touch pad swiped) left and right.
        if (e.button == 6 || e.button == 7) {
            if (down)
                win::QueueMouseWheel(where, e.button == 7 ? 120 : -120, true);
            return;
        }
        if (int button = VirtualButton(e.button)) {
            win::QueueMouseMove(where);
            win::QueueMouseButton(where, button, down);
        }
        return;
    }
    default: return;
    }
}

void TX11Backend::TImpl::HandleKey(XEvent& AEvent)
{
    XKeyEvent& e = AEvent.xkey;
    XIC ic = nullptr;
    {
        std::lock_guard lock(Lock);
        auto it = TopByX.find(e.window);
        if (it == TopByX.end())
            return;
        ic = Tops[it->second].Ic;
    }
    KeySym keysym = NoSymbol;
    std::u32string typed;
    if (AEvent.type == KeyPress) {
        char buffer[64];
        Status status = 0;
        int length = ic ? Xutf8LookupString(ic, &e, buffer, sizeof buffer, &keysym, &status)
                        : XLookupString(&e, buffer, sizeof buffer, &keysym, nullptr);
        if (ic && (status == XLookupChars || status == XLookupBoth))
            AppendTyped(typed, buffer, length);
        if (ic && status == XLookupChars)
            keysym = XLookupKeysym(&e, 0);
    } else {
        // A release repeated by the server arrives right before the next press of the same key: one press.
        if (XEventsQueued(Dpy, QueuedAfterReading)) {
            XEvent next;
            XPeekEvent(Dpy, &next);
            if (next.type == KeyPress && next.xkey.time == e.time && next.xkey.keycode == e.keycode)
                return;
        }
        keysym = XLookupKeysym(&e, 0);
    }
    int key = VirtualKeyFromKeysym(keysym);
    if (key == 0)
        key = VirtualKeyFromKeysym(XLookupKeysym(&e, 0));
    if (AEvent.type == KeyPress && typed.empty() && (!ic || key == win::VK_BACK || key == win::VK_RETURN))
        if (char32_t c = CharFromKeysym(keysym))
            typed += c;
    if (AEvent.type == KeyRelease) {
        if (key)
            win::QueueKey(key, false);
        return;
    }
    if (key == 0 && typed.empty())
        return;
    // One WM_KEYDOWN carries the first character; further characters of a composed string follow as their own.
    win::QueueKey(key, true, typed.empty() ? 0 : typed[0]);
    for (size_t i = 1; i < typed.size(); ++i)
        win::QueueKey(0, true, typed[i]);
}

}  // namespace x11
