// The horizontal wheel on a real X server: buttons 6 and 7 (tilting the wheel, swiping a touch pad sideways).
#include "x11_fixture.h"

namespace x11test {
namespace {

class X11Wheel : public TX11Fixture {};

TEST_F(X11Wheel, SidewaysButtonsArriveAsHorizontalWheelMessages)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(100, 100, 200, 100));
    ASSERT_TRUE(ShownOnX(window));
    SetFocus(window);
    Log.clear();
    XTestFakeMotionEvent(Probe, -1, 150, 150, CurrentTime);
    for (unsigned button : {7u, 6u, 6u}) {
        XTestFakeButtonEvent(Probe, button, True, CurrentTime);
        XTestFakeButtonEvent(Probe, button, False, CurrentTime);
    }
    XSync(Probe, False);
    ASSERT_TRUE(PumpUntil([&] { return Entries(window, WM_MOUSEHWHEEL).size() == 3; }));
    std::vector<int> deltas;
    for (const TEntry& e : Entries(window, WM_MOUSEHWHEEL))
        deltas.push_back(GET_WHEEL_DELTA_WPARAM(e.WParam));
    EXPECT_EQ(deltas, (std::vector<int>{120, -120, -120}));
    EXPECT_TRUE(Entries(window, WM_MOUSEWHEEL).empty());
    EXPECT_TRUE(Entries(window, WM_LBUTTONDOWN).empty());
}

}  // namespace
}  // namespace x11test
