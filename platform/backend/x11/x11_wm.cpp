// Living under a window manager: minimizing by iconifying, the window manager's own minimize and restore, what
// the window manager is told about sizing, a window destroyed by another program, and the connection's loss.
#include "platform/backend/x11/x11_impl.h"
#include "platform/win/geometry.h"
#include "platform/win/message_queue.h"
#include "platform/win/surfaces.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <cstdio>

namespace x11 {

namespace {

constexpr long kIconicState = 3;  // ICCCM WM_STATE

}  // namespace

bool TX11Backend::TImpl::HasWindowManager() const
{
    return XGetSelectionOwner(Dpy, A.WmSelection) != None;
}

TX11Backend::TImpl::TSizing TX11Backend::TImpl::SizingOf(win::HWND AWindow, const win::TTopLevelView& AView) const
{
    TSizing sizing;
    // The window says itself whether it can be sized: by offering a sizing edge at its bottom-right corner.
    TPoint corner{AView.Rect.Right - 1, AView.Rect.Bottom - 1};
    auto hit = win::SendMessage(AWindow, win::WM_NCHITTEST, 0, win::PointToLParam(corner));
    sizing.Fixed = hit != win::HTBOTTOMRIGHT && hit != win::HTBOTTOM && hit != win::HTRIGHT;
    if (sizing.Fixed) {
        sizing.Min = sizing.Max = TPoint{AView.Rect.Width(), AView.Rect.Height()};
        return sizing;
    }
    win::MINMAXINFO info = win::GetMinMaxInfo(AWindow);
    sizing.Min = TPoint{info.ptMinTrackSize.X, info.ptMinTrackSize.Y};
    sizing.Max = TPoint{info.ptMaxTrackSize.X, info.ptMaxTrackSize.Y};
    return sizing;
}

void TX11Backend::TImpl::ApplySizeHints(TTopWindow& ATop, const TRect& ARect, const TSizing& ASizing)
{
    TPoint size{ARect.Width(), ARect.Height()};
    XSizeHints hints{};
    // The program places its windows itself (centred, beside their owner): the window manager keeps the place.
    hints.flags = USPosition | PPosition | USSize | PSize | PWinGravity;
    hints.x = ARect.Left;
    hints.y = ARect.Top;
    hints.width = std::max(1, size.X);
    hints.height = std::max(1, size.Y);
    hints.win_gravity = StaticGravity;
    if (ASizing.Min.X > 0 || ASizing.Min.Y > 0) {
        hints.flags |= PMinSize;
        hints.min_width = std::max(1, ASizing.Min.X);
        hints.min_height = std::max(1, ASizing.Min.Y);
    }
    if (ASizing.Max.X > 0 && ASizing.Max.Y > 0 && ASizing.Max.X < 32768 && ASizing.Max.Y < 32768) {
        hints.flags |= PMaxSize;
        hints.max_width = ASizing.Max.X;
        hints.max_height = ASizing.Max.Y;
    }
    XSetWMNormalHints(Dpy, ATop.Id, &hints);
    ATop.HintedSize = size;
    ATop.HintedFixed = ASizing.Fixed;
}

void TX11Backend::TImpl::HandleMapping(Window AWindow, bool AMapped)
{
    win::HWND window = nullptr;
    bool maybe_iconified = false;
    {
        std::lock_guard lock(Lock);
        auto it = TopByX.find(AWindow);
        if (it == TopByX.end())
            return;
        TTopWindow& top = Tops[it->second];
        if (top.OverrideRedirect)
            return;
        if (AMapped) {
            if (!top.Iconic)
                return;
            // The window manager brought back a window it had iconified: the window restores itself.
            top.Iconic = false;
            top.Mapped = true;
            window = it->second;
        } else {
            // An unmap we did not ask for: the window manager's own minimize, when WM_STATE says iconic.
            if (!top.Mapped || top.Iconic)
                return;
            maybe_iconified = true;
            window = it->second;
        }
    }
    if (AMapped) {
        win::PostMessage(window, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
        return;
    }
    if (!maybe_iconified)
        return;
    Atom type = 0;
    auto state = ReadProperty(AWindow, A.WmState, &type);
    if (!state || state->size() < sizeof(long) || *reinterpret_cast<const long*>(state->data()) != kIconicState)
        return;
    {
        std::lock_guard lock(Lock);
        auto it = TopByX.find(AWindow);
        if (it == TopByX.end() || !Tops[it->second].Mapped || Tops[it->second].Iconic)
            return;
        Tops[it->second].Iconic = true;
    }
    win::PostMessage(window, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
}

bool TX11Backend::TImpl::HandleTopDestroyed(Window AWindow)
{
    win::HWND window = nullptr;
    {
        std::lock_guard lock(Lock);
        auto it = TopByX.find(AWindow);
        if (it == TopByX.end())
            return false;
        // Our own windows leave the maps before they are destroyed: another program destroyed this one.
        window = it->second;
        TopByX.erase(it);
        TTopWindow& top = Tops[window];
        for (auto n = Natives.begin(); n != Natives.end();)
            if (n->second.Top == window) {
                NativeByX.erase(n->second.Id);
                n = Natives.erase(n);
            } else {
                ++n;
            }
        LastStack.erase(std::remove(LastStack.begin(), LastStack.end(), top.Id), LastStack.end());
        if (top.Ic)
            XDestroyIC(top.Ic);
        top.Ic = nullptr;
        ResizeImage(top, 0, 0);
        if (top.Map)
            XFreeColormap(Dpy, top.Map);
        Tops.erase(window);
    }
    RememberForLoss(window, false);
    std::fprintf(stderr, "quennary: a window was destroyed by another program; ending\n");
    win::QueueDesktopLost(window);
    return true;
}

void TX11Backend::TImpl::RememberForLoss(win::HWND AWindow, bool AKeep)
{
    std::lock_guard lock(LossLock);
    auto it = std::find(LossTargets.begin(), LossTargets.end(), AWindow);
    if (AKeep && it == LossTargets.end())
        LossTargets.push_back(AWindow);
    else if (!AKeep && it != LossTargets.end())
        LossTargets.erase(it);
}

void TX11Backend::TImpl::ConnectionLost()
{
    if (Lost.exchange(true))
        return;
    std::fprintf(stderr, "quennary: the connection to the X display was lost; ending\n");
    std::vector<win::HWND> targets;
    {
        std::lock_guard lock(LossLock);
        targets = LossTargets;
    }
    for (win::HWND window : targets)
        win::QueueDesktopLost(window);
    Kick();
}

}  // namespace x11
