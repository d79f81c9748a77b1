#include "x11_fixture.h"

namespace x11test {
namespace {

class X11EventWait : public TX11Fixture {};

// The event thread sleeps on the connection. Requests this thread makes (round trips, the flush after a paint)
// can read an event off the socket before the event thread does; it must still be handled at once.
TEST_F(X11EventWait, EventsReadByThisThreadsRequestsStillArriveAtOnce)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(60, 60, 120, 80));
    ASSERT_TRUE(ShownOnX(window));
    On(window, WM_CLOSE, [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return 0; });
    XClientMessageEvent close{};
    close.type = ClientMessage;
    close.window = Backend->XWindowOf(window);
    close.message_type = XInternAtom(Probe, "WM_PROTOCOLS", False);
    close.format = 32;
    close.data.l[0] = static_cast<long>(XInternAtom(Probe, "WM_DELETE_WINDOW", False));
    constexpr int kRounds = 30;
    for (int round = 1; round <= kRounds; ++round) {
        SCOPED_TRACE(round);
        XEvent event{};
        event.xclient = close;
        XSendEvent(Probe, close.window, False, NoEventMask, &event);
        XSync(Probe, False);
        // The event is at the server before these requests go out.
        if (round % 2)
            Backend->Monitors();
        else {
            InvalidateRect(window, nullptr, TRUE);
            UpdateWindow(window);
        }
        ASSERT_TRUE(PumpUntil([&] { return Entries(window, WM_CLOSE).size() == size_t(round); },
                              std::chrono::seconds(10)))
            << "a window-manager close request lay unread";
    }
}

}  // namespace
}  // namespace x11test
