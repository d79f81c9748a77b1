#include "win_fixture.h"

namespace wintest {
namespace {

class Shell : public TWinFixture {};

TEST_F(Shell, ClipboardTextNeedsTheClipboardOpenToChange)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    EXPECT_FALSE(SetClipboardText("refused"));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(window));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_TRUE(SetClipboardText("Grüße"));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(GetClipboardText(), std::optional<std::string>("Grüße"));
    EXPECT_EQ(Screen.ClipboardText(), std::optional<std::string>("Grüße"));
}

TEST_F(Shell, DroppedFilesReachTheNearestAcceptingWindow)
{
    HWND top = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(50, 50, 50, 50), top);
    EXPECT_FALSE(Screen.DropFiles({60, 60}, {"/tmp/a.mp4"}));  // nobody accepts files yet
    DragAcceptFiles(top, TRUE);
    std::vector<std::string> names;
    TPoint where;
    On(top, WM_DROPFILES, [&](HWND, UINT, WPARAM ADrop, LPARAM) -> std::optional<LRESULT> {
        HDROP drop = reinterpret_cast<HDROP>(ADrop);
        UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i)
            names.push_back(DragQueryFile(drop, i));
        char shortened[4];
        EXPECT_EQ(DragQueryFile(drop, 0, shortened, sizeof shortened), 3u);
        DragQueryPoint(drop, &where);
        DragFinish(drop);
        return 0;
    });
    EXPECT_TRUE(Screen.DropFiles({60, 60}, {"/tmp/a.mp4", "/tmp/ü b.avi"}));
    Pump();
    EXPECT_EQ(names, (std::vector<std::string>{"/tmp/a.mp4", "/tmp/ü b.avi"}));
    EXPECT_EQ(where, Point(60, 60));
    EXPECT_TRUE(Entries(child, WM_DROPFILES).empty());
}

TEST_F(Shell, TrayIconsAreAddedChangedAndRemovedAndCallBack)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    NOTIFYICONDATA data;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = WM_USER + 0x400;
    data.szTip = "Converting";
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
    NOTIFYICONDATA change;
    change.hWnd = window;
    change.uID = 1;
    change.uFlags = NIF_INFO;
    change.szInfo = "Done";
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &change));
    auto icons = TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].szTip, "Converting");  // untouched: its flag was not given
    EXPECT_EQ(icons[0].szInfo, "Done");
    EXPECT_TRUE(QueueTrayEvent(window, 1, NIN_BALLOONUSERCLICK));
    Pump();
    auto calls = Entries(window, WM_USER + 0x400);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].WParam, 1u);
    EXPECT_EQ(calls[0].LParam, LPARAM(NIN_BALLOONUSERCLICK));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    EXPECT_FALSE(QueueTrayEvent(window, 1, WM_LBUTTONUP));
    EXPECT_TRUE(TrayIcons().empty());
}

TEST_F(Shell, CapabilitiesAnswerOnceForTheWholeLayer)
{
    TCapabilities caps = Capabilities();
    EXPECT_EQ(caps.MajorVersion, 6u);
    EXPECT_FALSE(caps.DesktopComposition);
    EXPECT_FALSE(caps.TransparentBlt);
    EXPECT_FALSE(caps.LayeredWindows);
    Screen.SetCompositor(true);
    EXPECT_TRUE(Capabilities().LayeredWindows);
    EXPECT_EQ(GetVersion() & 0xFF, 6u);
    BOOL full = FALSE;
    SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    EXPECT_TRUE(full);
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    Screen.SetMonitors({{Rect(0, 0, 800, 600), Rect(0, 0, 800, 570), true}});
    auto display = Entries(window, WM_DISPLAYCHANGE);
    ASSERT_EQ(display.size(), 1u);
    EXPECT_EQ(LParamToPoint(display[0].LParam), Point(800, 600));
}

TEST_F(Shell, NoTrayIconIsAddedWhileTheDesktopShowsNoTray)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    NOTIFYICONDATA data;
    data.hWnd = window;
    data.uID = 7;
    data.uFlags = NIF_ICON;
    data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    Screen.SetTray(false);
    EXPECT_FALSE(IsTrayAvailable());
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_TRUE(TrayIcons().empty());
    Screen.SetTray(true);
    EXPECT_TRUE(IsTrayAvailable());
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    // A tray that goes away later leaves the icon to be changed and removed as before.
    Screen.SetTray(false);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &data));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    SetBackend(nullptr);
    EXPECT_FALSE(IsTrayAvailable());
    SetBackend(&Screen);
}

}  // namespace
}  // namespace wintest
