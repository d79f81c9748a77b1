#include "x11_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

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

// Texts above what one request can carry go in pieces (INCR), both ways; xclip is the program on the other side.
TEST_F(X11Clipboard, LargeTextsGoInPiecesBothWays)
{
    std::string text;
    for (int line = 0; text.size() < 300 * 1024; ++line)
        text += "Zeile " + std::to_string(line) + ": Grüße, 日本語 ✓\n";
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    ASSERT_TRUE(SetClipboardText(text));
    CloseClipboard();
    std::string read;
    if (FILE* pipe = popen("xclip -selection clipboard -t UTF8_STRING -o", "r")) {
        char buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            read.append(buffer, got);
        ASSERT_EQ(pclose(pipe), 0);
    }
    EXPECT_EQ(read.size(), text.size());
    EXPECT_TRUE(read == text);

    std::string back = "zurück " + text;
    char name[] = "/tmp/quennary-clipboard-XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, back.data(), back.size()), static_cast<ssize_t>(back.size()));
    close(fd);
    // xclip keeps serving in the background until someone else takes the clipboard.
    Atom clipboard = XInternAtom(Probe, "CLIPBOARD", False);
    Window ours = XGetSelectionOwner(Probe, clipboard);
    std::string command = std::string("xclip -selection clipboard -t UTF8_STRING -i ") + name;
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(PumpUntil([&] {
        Window owner = XGetSelectionOwner(Probe, clipboard);
        return owner != None && owner != ours;
    }));
    std::optional<std::string> got = GetClipboardText();
    unlink(name);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->size(), back.size());
    EXPECT_TRUE(*got == back);
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();  // xclip lets go and ends
    CloseClipboard();
}

}  // namespace
}  // namespace x11test
