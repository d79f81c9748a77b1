// Scroll state: what SetScrollInfo keeps of what it is given, the shorter forms, the state kept with the bars
// hidden, and where WM_HSCROLL / WM_VSCROLL requests lead.
#include "win_fixture.h"

namespace wintest {
namespace {

using ScrollInfo = TWinFixture;

SCROLLINFO Info(UINT AMask, int AMin = 0, int AMax = 0, UINT APage = 0, int APos = 0)
{
    SCROLLINFO info;
    info.fMask = AMask;
    info.nMin = AMin;
    info.nMax = AMax;
    info.nPage = APage;
    info.nPos = APos;
    return info;
}

TEST_F(ScrollInfo, SetScrollInfoClampsAsThePlatformDoes)
{
    HWND window = Create(0, WS_POPUP | WS_VSCROLL, Bounds(0, 0, 100, 100));
    struct TCase {
        const char* Name;
        SCROLLINFO Set;
        int Min, Max;
        UINT Page;
        int Pos;
    };
    // Each row starts from 0..100, page 0, position 0 and sets what its mask names.
    const TCase cases[] = {
        {"range only", Info(SIF_RANGE, 10, 50), 10, 50, 0, 10},
        {"position inside", Info(SIF_POS, 0, 0, 0, 40), 0, 100, 0, 40},
        {"position below", Info(SIF_POS, 0, 0, 0, -5), 0, 100, 0, 0},
        {"position above, no page", Info(SIF_POS, 0, 0, 0, 500), 0, 100, 0, 100},
        {"page leaves room up to max - page + 1", Info(SIF_PAGE | SIF_POS, 0, 0, 10, 95), 0, 100, 10, 91},
        {"page of one changes nothing", Info(SIF_PAGE | SIF_POS, 0, 0, 1, 100), 0, 100, 1, 100},
        {"page larger than the range", Info(SIF_ALL, 0, 9, 50, 3), 0, 9, 10, 0},
        {"page exactly the range", Info(SIF_ALL, 5, 14, 10, 9), 5, 14, 10, 5},
        {"reversed range is no range", Info(SIF_RANGE | SIF_POS, 50, 10, 0, 7), 0, 0, 0, 0},
        {"range too wide to count", Info(SIF_RANGE, INT32_MIN, INT32_MAX), 0, 0, 0, 0},
        {"negative range", Info(SIF_ALL, -20, -10, 3, -11), -20, -10, 3, -12},
        {"mask without the fields keeps them", Info(0, 5, 6, 7, 8), 0, 100, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        SetScrollInfo(window, SB_VERT, Info(SIF_ALL, 0, 100, 0, 0), FALSE);
        int returned = SetScrollInfo(window, SB_VERT, c.Set, TRUE);
        SCROLLINFO got = Info(SIF_ALL, -1, -1, 999, -1);
        ASSERT_TRUE(GetScrollInfo(window, SB_VERT, got));
        EXPECT_EQ(got.nMin, c.Min);
        EXPECT_EQ(got.nMax, c.Max);
        EXPECT_EQ(got.nPage, c.Page);
        EXPECT_EQ(got.nPos, c.Pos);
        EXPECT_EQ(got.nTrackPos, c.Pos);
        EXPECT_EQ(returned, c.Pos);
    }
    // Only the fields asked for are written.
    SCROLLINFO partial = Info(SIF_POS, 77, 78, 79, 0);
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, partial));
    EXPECT_EQ(partial.nMin, 77);
    EXPECT_EQ(partial.nPage, 79u);
}

TEST_F(ScrollInfo, StateLivesWithOrWithoutVisibleBars)
{
    HWND plain = Create(0, WS_POPUP, Bounds(0, 0, 100, 100));
    HWND barred = Create(0, WS_POPUP | WS_HSCROLL, Bounds(0, 0, 100, 100));
    SCROLLINFO info = Info(SIF_ALL);
    // No bar and nothing set: there is no state. A bar by its style starts at 0..100.
    EXPECT_FALSE(GetScrollInfo(plain, SB_VERT, info));
    int low = -1, high = -1;
    EXPECT_FALSE(GetScrollRange(plain, SB_HORZ, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 0);
    EXPECT_TRUE(GetScrollRange(barred, SB_HORZ, &low, &high));
    EXPECT_EQ(high, 100);
    EXPECT_FALSE(GetScrollInfo(barred, SB_VERT, info));

    // A window that never shows bars keeps what it is given (the skinned controls draw their own bars).
    EXPECT_TRUE(SetScrollRange(plain, SB_VERT, 0, 40, FALSE));
    EXPECT_EQ(SetScrollPos(plain, SB_VERT, 25, FALSE), 0);
    EXPECT_EQ(SetScrollPos(plain, SB_VERT, 60, TRUE), 25);
    EXPECT_EQ(GetScrollPos(plain, SB_VERT), 40);
    EXPECT_EQ(GetWindowLong(plain, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_EQ(GetScrollPos(plain, SB_HORZ), 0);  // the other bar is untouched

    // Showing and hiding the bars switches their style only; the state stays, also when the style is taken
    // away behind their back.
    EXPECT_TRUE(ShowScrollBar(plain, SB_BOTH, TRUE));
    EXPECT_EQ(GetWindowLong(plain, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    EXPECT_TRUE(ShowScrollBar(plain, SB_VERT, FALSE));
    EXPECT_EQ(GetWindowLong(plain, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(GetScrollPos(plain, SB_VERT), 40);
    SetWindowLong(barred, GWL_STYLE, GetWindowLong(barred, GWL_STYLE) & ~WS_HSCROLL);
    EXPECT_TRUE(GetScrollInfo(barred, SB_HORZ, info));
    EXPECT_EQ(info.nMax, 100);
    // The client area does not change: the default frame draws no native bars.
    TRect client;
    GetClientRect(plain, client);
    EXPECT_EQ(client, Rect(0, 0, 100, 100));

    EXPECT_FALSE(ShowScrollBar(plain, 7, TRUE));
    EXPECT_EQ(SetScrollInfo(plain, 5, Info(SIF_POS, 0, 0, 0, 3), FALSE), 0);
    EXPECT_TRUE(EnableScrollBar(plain, SB_VERT, ESB_DISABLE_BOTH));
    EXPECT_FALSE(EnableScrollBar(plain, SB_VERT, ESB_DISABLE_BOTH));
    EXPECT_TRUE(EnableScrollBar(plain, SB_BOTH, ESB_ENABLE_BOTH));
}

TEST_F(ScrollInfo, ScrollRequestsMoveWithinTheRange)
{
    SCROLLINFO info = Info(SIF_ALL, 0, 99, 10, 50);
    struct TCase {
        WORD Code;
        int Thumb;
        int Expected;
    };
    const TCase cases[] = {
        {SB_LINEUP, 0, 47},   {SB_LINEDOWN, 0, 53},        {SB_PAGEUP, 0, 40},        {SB_PAGEDOWN, 0, 60},
        {SB_TOP, 0, 0},       {SB_BOTTOM, 0, 90},          {SB_THUMBPOSITION, 12, 12}, {SB_THUMBTRACK, 95, 90},
        {SB_ENDSCROLL, 0, 50}, {SB_THUMBPOSITION, -4, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Code);
        EXPECT_EQ(ScrollRequestTarget(info, c.Code, c.Thumb, 3), c.Expected);
    }
    info.nPos = 1;
    EXPECT_EQ(ScrollRequestTarget(info, SB_PAGEUP, 0), 0);
    // The request travels as a message with the 16-bit position in the high word.
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 100, 100));
    std::vector<int> positions;
    On(window, WM_VSCROLL, [&](HWND AWindow, UINT, WPARAM AWParam, LPARAM) -> std::optional<LRESULT> {
        SCROLLINFO now = Info(SIF_ALL);
        GetScrollInfo(AWindow, SB_VERT, now);
        int target = ScrollRequestTarget(now, LOWORD(AWParam), static_cast<int16_t>(HIWORD(AWParam)));
        SetScrollPos(AWindow, SB_VERT, target, TRUE);
        positions.push_back(GetScrollPos(AWindow, SB_VERT));
        return 0;
    });
    SetScrollInfo(window, SB_VERT, Info(SIF_RANGE | SIF_PAGE, 0, 30, 5), FALSE);
    SendMessage(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
    SendMessage(window, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessage(window, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(positions, (std::vector<int>{20, 21, 26}));
}

}  // namespace
}  // namespace wintest
