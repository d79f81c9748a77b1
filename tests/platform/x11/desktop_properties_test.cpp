#include "x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <array>
#include <cstdio>
#include <string>

namespace x11test {
namespace {

// What xprop, the desktop's own property reader, says about one property of a window.
std::string Xprop(unsigned long AWindow, const char* AProperty)
{
    std::string command = "xprop -id " + std::to_string(AWindow) + " " + AProperty + " 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 512> buffer;
        while (fgets(buffer.data(), buffer.size(), pipe))
            output += buffer.data();
        pclose(pipe);
    }
    return output;
}

class X11DesktopProperties : public TX11Fixture {
protected:
    Atom Intern(const char* AName) { return XInternAtom(Probe, AName, False); }
};

TEST_F(X11DesktopProperties, TitlesFollowTheWindowTextInUtf8AndOwnedWindowsNameTheirOwner)
{
    HWND owner = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(40, 40, 200, 150), nullptr, "Converter");
    HWND dialog = Create(0, WS_POPUP | WS_CAPTION | WS_VISIBLE, Bounds(80, 80, 120, 90), owner, "Options");
    ASSERT_TRUE(ShownOnX(dialog));
    unsigned long owner_id = Backend->XWindowOf(owner), dialog_id = Backend->XWindowOf(dialog);
    EXPECT_NE(Xprop(owner_id, "_NET_WM_NAME").find("_NET_WM_NAME(UTF8_STRING) = \"Converter\""), std::string::npos);
    char expected[64];
    std::snprintf(expected, sizeof expected, "window id # 0x%lx", owner_id);
    EXPECT_NE(Xprop(dialog_id, "WM_TRANSIENT_FOR").find(expected), std::string::npos) << Xprop(dialog_id, "WM_TRANSIENT_FOR");
    EXPECT_NE(Xprop(owner_id, "WM_TRANSIENT_FOR").find("not found"), std::string::npos);

    const std::string title = "Vidéo – 変換 ✓";
    SetWindowText(owner, title);
    Backend->Sync();
    EXPECT_NE(Xprop(owner_id, "_NET_WM_NAME").find("\"" + title + "\""), std::string::npos) << Xprop(owner_id, "_NET_WM_NAME");
    // The older property too, in an encoding readers of it understand.
    XTextProperty property{};
    ASSERT_TRUE(XGetWMName(Probe, owner_id, &property));
    char** list = nullptr;
    int count = 0;
    ASSERT_EQ(Xutf8TextPropertyToTextList(Probe, &property, &list, &count), Success);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(std::string(list[0]), title);
    XFreeStringList(list);
    XFree(property.value);
}

TEST_F(X11DesktopProperties, TheWindowIconIsPublishedAsNetWmIcon)
{
    HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(40, 40, 100, 80));
    ASSERT_TRUE(ShownOnX(window));
    unsigned long id = Backend->XWindowOf(window);
    const uint32_t pixels[4] = {0xFFFF0000, 0x8000FF00, 0x00000000, 0xFF0000FF};
    HICON icon = CreateIconFromPixels(2, 2, pixels);
    SendMessage(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    Backend->Sync();
    Atom type;
    int format;
    unsigned long items = 0, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(Probe, id, Intern("_NET_WM_ICON"), 0, 64, False, XA_CARDINAL, &type, &format, &items, &after,
                       &data);
    ASSERT_EQ(items, 6u);
    auto* values = reinterpret_cast<long*>(data);  // Xlib widens 32-bit items to long
    EXPECT_EQ(values[0], 2);
    EXPECT_EQ(values[1], 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(static_cast<uint32_t>(values[2 + i]), pixels[i]) << i;  // straight alpha, as the desktop reads it
    XFree(data);
    SendMessage(window, WM_SETICON, ICON_BIG, 0);
    Backend->Sync();
    EXPECT_NE(Xprop(id, "_NET_WM_ICON").find("not found"), std::string::npos);
    DestroyIcon(icon);
}

// A window manager that moves a window tells it with a synthetic ConfigureNotify in root coordinates.
TEST_F(X11DesktopProperties, MovesByTheWindowManagerComeBackAsWmMove)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(50, 60, 120, 80));
    ASSERT_TRUE(ShownOnX(window));
    unsigned long id = Backend->XWindowOf(window);
    XEvent event{};
    event.xconfigure.type = ConfigureNotify;
    event.xconfigure.send_event = True;
    event.xconfigure.event = id;
    event.xconfigure.window = id;
    event.xconfigure.x = 230;
    event.xconfigure.y = 170;
    event.xconfigure.width = 120;
    event.xconfigure.height = 80;
    XSendEvent(Probe, id, False, StructureNotifyMask, &event);
    XSync(Probe, False);
    TRect rect;
    ASSERT_TRUE(PumpUntil([&] { return GetWindowRect(window, rect) && rect.TopLeft() == Point(230, 170); }));
    EXPECT_EQ(rect, Bounds(230, 170, 120, 80));
    auto moves = Entries(window, WM_MOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(LParamToPoint(moves.back().LParam), Point(230, 170));  // a frameless window's client is its window
    // Our own moves are not taken for the window manager's.
    Log.clear();
    SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Backend->Sync();
    PumpUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(Entries(window, WM_MOVE).size(), 1u);
    EXPECT_EQ(XPlace(id), Bounds(300, 200, 120, 80));
}

TEST_F(X11DesktopProperties, ACursorMadeFromABitmapIsWhatTheServerShows)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(100, 100, 100, 100));
    ASSERT_TRUE(ShownOnX(window));
    int fixes_event, fixes_error;
    ASSERT_TRUE(XFixesQueryExtension(Probe, &fixes_event, &fixes_error));
    std::vector<uint32_t> pixels(16 * 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (x == y || x == 15 - y)
                pixels[y * 16 + x] = 0xFFFF0000;  // a red cross
    HICON icon = CreateIconFromPixels(16, 16, pixels.data(), false, {7, 8});
    On(window, WM_SETCURSOR, [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return TRUE; });
    SetCursor(IconAsCursor(icon));
    XWarpPointer(Probe, None, DefaultRootWindow(Probe), 0, 0, 0, 0, 150, 150);
    Backend->Sync();
    XFixesCursorImage* image = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        if (image)
            XFree(image);
        image = XFixesGetCursorImage(Probe);
        return image && image->width == 16;
    }));
    EXPECT_EQ(image->height, 16);
    EXPECT_EQ(image->xhot, 7);
    EXPECT_EQ(image->yhot, 8);
    EXPECT_EQ(static_cast<uint32_t>(image->pixels[0]), 0xFFFF0000u);
    EXPECT_EQ(static_cast<uint32_t>(image->pixels[1]), 0u);
    XFree(image);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    DestroyIcon(icon);
}

}  // namespace
}  // namespace x11test
