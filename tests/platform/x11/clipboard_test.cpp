#include "x11_fixture.h"

namespace x11test {
namespace {

class X11Clipboard : public TX11Fixture {};

// Two programs on one display: this one through the window manager's clipboard functions, the other a second
// connection with a clipboard window of its own.
TEST_F(X11Clipboard, TextRoundTripsBetweenTwoClients)
{
    auto other = x11::TX11Backend::Open();
    ASSERT_NE(other, nullptr);
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    const std::string texts[] = {"plain text", "Grüße, Ωmega – 日本語 ✓", "two\nlines\n"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(OpenClipboard(window));
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardText(text));
        CloseClipboard();
        EXPECT_EQ(other->ClipboardText(), std::optional<std::string>(text));

        std::string back = "back: " + text;
        other->SetClipboardText(back);
        EXPECT_EQ(GetClipboardText(), std::optional<std::string>(back));
    }
}

TEST_F(X11Clipboard, NoOwnerMeansNoText)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), None, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    EXPECT_EQ(GetClipboardText(), std::nullopt);
}

}  // namespace
}  // namespace x11test
