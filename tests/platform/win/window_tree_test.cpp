#include "win_fixture.h"

namespace wintest {
namespace {

class WindowTree : public TWinFixture {};

TEST_F(WindowTree, CreatingAndShowingAFrameSendsTheMessagesInOrder)
{
    HWND main = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
    std::vector<std::string> expected = {"GETMINMAXINFO", "NCCREATE", "NCCALCSIZE", "CREATE", "SIZE", "MOVE",
                                         "SHOWWINDOW", "WINDOWPOSCHANGING", "NCACTIVATE", "ACTIVATE", "SETFOCUS",
                                         "WINDOWPOSCHANGED"};
    EXPECT_EQ(Names(main), expected);
    Log.clear();
    Pump();
    EXPECT_EQ(Names(main), (std::vector<std::string>{"PAINT", "NCPAINT", "ERASEBKGND"}));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main);
}

TEST_F(WindowTree, ChildCreationNotifiesTheParentAndHidingIsAnnouncedBeforehand)
{
    HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    Log.clear();
    HWND child = Create(0, WS_CHILD, Bounds(10, 10, 50, 50), parent);
    EXPECT_EQ(Names(child), (std::vector<std::string>{"NCCREATE", "NCCALCSIZE", "CREATE", "SIZE", "MOVE"}));
    auto notes = Entries(parent, WM_PARENTNOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(LOWORD(notes[0].WParam), WM_CREATE);
    EXPECT_EQ(reinterpret_cast<HWND>(notes[0].LParam), child);

    bool visible_in_show = true;
    On(child, WM_SHOWWINDOW, [&](HWND AWindow, UINT, WPARAM AShow, LPARAM) -> std::optional<LRESULT> {
        if (AShow)
            visible_in_show = IsWindowVisible(AWindow);
        return 0;
    });
    ShowWindow(child, SW_SHOW);
    EXPECT_FALSE(visible_in_show);  // the window may still prepare itself, e.g. become layered
    EXPECT_TRUE(IsWindowVisible(child));

    Log.clear();
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(Names(child, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
              (std::vector<std::string>{"SHOWWINDOW", "WINDOWPOSCHANGING", "WINDOWPOSCHANGED"}));
}

TEST_F(WindowTree, HideCarriesTheHideFlagInPositionChanged)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    UINT flags = 0;
    On(window, WM_WINDOWPOSCHANGED, [&](HWND, UINT, WPARAM, LPARAM APos) -> std::optional<LRESULT> {
        flags = reinterpret_cast<WINDOWPOS*>(APos)->flags;
        return std::nullopt;
    });
    ShowWindow(window, SW_HIDE);
    EXPECT_TRUE(flags & SWP_HIDEWINDOW);
}

TEST_F(WindowTree, DestructionReachesOwnedWindowsFirstThenParentBeforeChildrenThenNcDestroyBottomUp)
{
    HWND owner = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND owned = Create(0, WS_POPUP | WS_VISIBLE, Bounds(20, 20, 50, 50), owner);
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), owner);
    HWND grandchild = Create(0, WS_CHILD | WS_VISIBLE, Bounds(1, 1, 5, 5), child);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    Log.clear();
    bool child_alive_in_destroy = false;
    On(owner, WM_DESTROY, [&](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        child_alive_in_destroy = IsWindow(child);
        return 0;
    });
    ASSERT_TRUE(DestroyWindow(owner));
    std::vector<std::string> order;
    for (const TEntry& entry : Log)
        if (entry.Message == WM_DESTROY || entry.Message == WM_NCDESTROY) {
            std::string who = entry.Window == owner ? "owner" : entry.Window == owned ? "owned"
                              : entry.Window == child ? "child" : "grandchild";
            order.push_back(MessageName(entry.Message) + " " + who);
        }
    EXPECT_EQ(order, (std::vector<std::string>{"DESTROY owned", "NCDESTROY owned", "DESTROY owner", "DESTROY child",
                                               "DESTROY grandchild", "NCDESTROY grandchild", "NCDESTROY child",
                                               "NCDESTROY owner"}));
    EXPECT_TRUE(child_alive_in_destroy);
    for (HWND window : {owner, owned, child, grandchild})
        EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WindowTree, CreationRefusedByTheProcedureLeavesNoWindow)
{
    static bool refuse_nc = false;
    WNDCLASS cls;
    cls.lpfnWndProc = [](HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) -> LRESULT {
        if (AMessage == WM_NCCREATE && refuse_nc)
            return FALSE;
        if (AMessage == WM_CREATE && !refuse_nc)
            return -1;
        return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
    };
    cls.lpszClassName = "Refusing";
    RegisterClass(cls);
    for (bool nc : {true, false}) {
        refuse_nc = nc;
        EXPECT_EQ(CreateWindowEx(0, "Refusing", "", WS_POPUP, 0, 0, 10, 10, nullptr), nullptr);
    }
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr), nullptr);
    EXPECT_EQ(CreateWindowEx(0, "TestWindow", "", WS_CHILD, 0, 0, 10, 10, nullptr), nullptr);  // child without parent
    EXPECT_EQ(RegisterClass(cls), 0);  // the name is taken
}

TEST_F(WindowTree, SubclassingChainsThroughCallWindowProcAndObjectInstances)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    std::vector<std::string> seen;
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLong(window, GWL_WNDPROC));
    WNDPROC mine = MakeObjectInstance([&](HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) -> LRESULT {
        if (AMessage == WM_USER + 1) {
            seen.push_back("subclass");
            return CallWindowProc(original, AWindow, AMessage, AWParam, ALParam) + 1;
        }
        return CallWindowProc(original, AWindow, AMessage, AWParam, ALParam);
    });
    EXPECT_EQ(reinterpret_cast<WNDPROC>(SetWindowLong(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(mine))), original);
    On(window, WM_USER + 1, [&](HWND, UINT, WPARAM AWParam, LPARAM) -> std::optional<LRESULT> {
        seen.push_back("original");
        return static_cast<LRESULT>(AWParam) * 10;
    });
    EXPECT_EQ(SendMessage(window, WM_USER + 1, 4, 0), 41);
    EXPECT_EQ(seen, (std::vector<std::string>{"subclass", "original"}));
    SetWindowLong(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    FreeObjectInstance(mine);
    EXPECT_EQ(SendMessage(window, WM_USER + 1, 4, 0), 40);
}

TEST_F(WindowTree, WindowLongsAndStylesAreKeptAndAnnounced)
{
    HWND owner = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    HWND popup = Create(WS_EX_TOOLWINDOW, WS_POPUP, Bounds(0, 0, 10, 10));
    EXPECT_EQ(GetWindowLong(popup, GWL_HWNDPARENT), 0);
    SetWindowLong(popup, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    EXPECT_EQ(GetParent(popup), owner);
    EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), owner);

    Log.clear();
    SetWindowLong(popup, GWL_EXSTYLE, GetWindowLong(popup, GWL_EXSTYLE) | WS_EX_LAYERED);
    EXPECT_EQ(Names(popup), (std::vector<std::string>{"STYLECHANGING", "STYLECHANGED"}));
    EXPECT_EQ(GetWindowLong(popup, GWL_EXSTYLE), LONG_PTR(WS_EX_TOOLWINDOW | WS_EX_LAYERED));
    SetWindowLong(popup, GWL_USERDATA, 1234);
    EXPECT_EQ(GetWindowLong(popup, GWL_USERDATA), 1234);
    // Visibility is not a style to set directly.
    SetWindowLong(popup, GWL_STYLE, GetWindowLong(popup, GWL_STYLE) | WS_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(popup));

    EXPECT_TRUE(SetWindowText(popup, "Caption"));
    EXPECT_EQ(GetWindowText(popup), "Caption");
    char buffer[4];
    EXPECT_EQ(SendMessage(popup, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_STREQ(buffer, "Cap");
    EXPECT_EQ(GetClassName(popup), "TestWindow");
    EXPECT_TRUE(GetClassLong(popup, GCL_STYLE) & CS_DBLCLKS);
}

TEST_F(WindowTree, ReparentedWindowsKeepTheirCoordinatesInTheNewParent)
{
    HWND first = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    HWND second = Create(0, WS_POPUP | WS_VISIBLE, Bounds(200, 200, 100, 100));
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 10, 20, 20), first);
    EXPECT_EQ(SetParent(child, second), first);
    EXPECT_EQ(GetParent(child), second);
    EXPECT_EQ(GetWindow(first, GW_CHILD), nullptr);
    EXPECT_EQ(WindowFromPoint({215, 215}), child);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(SetParent(second, child), nullptr);  // a window cannot go inside its own child

    EXPECT_EQ(SetParent(child, nullptr), second);  // now a window of its own on the screen
    TRect rect;
    GetWindowRect(child, rect);
    EXPECT_EQ(rect, Bounds(10, 10, 20, 20));
    TTopLevelView view;
    ASSERT_TRUE(ViewTopLevel(child, view));
    EXPECT_EQ(view.Width, 20);
}

}  // namespace
}  // namespace wintest
