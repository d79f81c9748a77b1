#include "x11_fixture.h"

#include <X11/keysym.h>

namespace x11test {
namespace {

class X11Input : public TX11Fixture {};

TEST_F(X11Input, KeysBecomeKeyDownAndCharMessages)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(100, 100, 200, 100));
    ASSERT_TRUE(ShownOnX(window));
    SetFocus(window);
    // Without a window manager the keyboard follows the pointer.
    XTestFakeMotionEvent(Probe, -1, 150, 150, CurrentTime);
    struct TCase {
        KeySym Keysym;
        bool Shift;
        int Key;
        char32_t Char;
    };
    const TCase cases[] = {
        {XK_a, false, 'A', U'a'}, {XK_a, true, 'A', U'A'}, {XK_Return, false, VK_RETURN, 0x0D},
        {XK_F4, false, VK_F4, 0}, {XK_Left, false, VK_LEFT, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Key);
        Log.clear();
        KeyCode shift = XKeysymToKeycode(Probe, XK_Shift_L), code = XKeysymToKeycode(Probe, c.Keysym);
        ASSERT_NE(code, 0);
        if (c.Shift)
            XTestFakeKeyEvent(Probe, shift, True, CurrentTime);
        XTestFakeKeyEvent(Probe, code, True, CurrentTime);
        XTestFakeKeyEvent(Probe, code, False, CurrentTime);
        if (c.Shift)
            XTestFakeKeyEvent(Probe, shift, False, CurrentTime);
        XSync(Probe, False);
        ASSERT_TRUE(PumpUntil([&] {
            for (const TEntry& e : Entries(window, WM_KEYUP))
                if (int(e.WParam) == c.Key)
                    return true;
            return false;
        }));
        bool down = false;
        for (const TEntry& e : Entries(window, WM_KEYDOWN))
            down = down || int(e.WParam) == c.Key;
        EXPECT_TRUE(down);
        auto chars = Entries(window, WM_CHAR);
        if (c.Char) {
            ASSERT_EQ(chars.size(), 1u);
            EXPECT_EQ(char32_t(chars[0].WParam), c.Char);
        } else {
            EXPECT_TRUE(chars.empty());
        }
    }
}

TEST_F(X11Input, CaptureKeepsThePointerOutsideTheWindows)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(100, 100, 200, 100));
    ASSERT_TRUE(ShownOnX(window));
    SetCapture(window);
    Log.clear();
    XTestFakeMotionEvent(Probe, -1, 700, 600, CurrentTime);
    XSync(Probe, False);
    ASSERT_TRUE(PumpUntil([&] {
        for (const TEntry& e : Entries(window, WM_MOUSEMOVE))
            if (LParamToPoint(e.LParam) == TPoint{600, 500})
                return true;
        return false;
    }));
    ReleaseCapture();
    Log.clear();
    XTestFakeMotionEvent(Probe, -1, 710, 610, CurrentTime);
    XTestFakeMotionEvent(Probe, -1, 150, 150, CurrentTime);
    XSync(Probe, False);
    ASSERT_TRUE(PumpUntil([&] { return !Entries(window, WM_MOUSEMOVE).empty(); }));
    for (const TEntry& e : Entries(window, WM_MOUSEMOVE))
        EXPECT_EQ(LParamToPoint(e.LParam), (TPoint{50, 50}));  // the move outside went to nobody
}

TEST_F(X11Input, WheelTurnsArriveAsWheelMessages)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(100, 100, 200, 100));
    ASSERT_TRUE(ShownOnX(window));
    SetFocus(window);
    // Buttons 4 and 5 turn the wheel; 6 and 7 tilt it (or swipe a touch pad) left and right.
    struct TCase {
        unsigned Up, Down;
        UINT Message, Other;
    };
    for (TCase c : {TCase{4, 5, WM_MOUSEWHEEL, WM_MOUSEHWHEEL}, TCase{7, 6, WM_MOUSEHWHEEL, WM_MOUSEWHEEL}}) {
        SCOPED_TRACE(c.Up);
        Log.clear();
        XTestFakeMotionEvent(Probe, -1, 150, 150, CurrentTime);
        for (unsigned button : {c.Up, c.Down, c.Down}) {
            XTestFakeButtonEvent(Probe, button, True, CurrentTime);
            XTestFakeButtonEvent(Probe, button, False, CurrentTime);
        }
        XSync(Probe, False);
        ASSERT_TRUE(PumpUntil([&] { return Entries(window, c.Message).size() == 3; }));
        std::vector<int> deltas;
        for (const TEntry& e : Entries(window, c.Message))
            deltas.push_back(GET_WHEEL_DELTA_WPARAM(e.WParam));
        EXPECT_EQ(deltas, (std::vector<int>{120, -120, -120}));
        EXPECT_TRUE(Entries(window, c.Other).empty());
        EXPECT_TRUE(Entries(window, WM_LBUTTONDOWN).empty());
    }
}

}  // namespace
}  // namespace x11test
