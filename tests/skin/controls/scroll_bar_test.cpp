// The skinned scroll bar: the position clamp, layout and drag tables, values set without events, and the repeat
// timeline of track and arrow presses on the virtual clock.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "skin/controls/scroll_bar.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

TEST(ScrollPositionClampTest, UpperBoundFirstThenNeverBelowMin)
{
    struct Case {
        Integer value, min, max, page, expected;
    } cases[] = {
        {50, 0, 100, 0, 50},   {-5, 0, 100, 0, 0},    {150, 0, 100, 0, 100}, {95, 0, 99, 10, 90},
        {95, 10, 99, 10, 90},  {5, 10, 99, 10, 10},
        // A page larger than the range: the upper bound lies below Min, and Min wins.
        {3, 0, 9, 20, 0},      {-3, 0, 9, 20, 0},     {8, 5, 9, 20, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampScrollPosition(c.value, c.min, c.max, c.page), c.expected)
            << c.value << " in " << c.min << ".." << c.max << " page " << c.page;
}

TspScrollBarState Plain(TScrollBarKind AKind, Integer APosition, Integer AMin = 0, Integer AMax = 100,
                        Integer APage = 0)
{
    TspScrollBarState s;
    s.Kind = AKind;
    s.Width = AKind == sbHorizontal ? 200 : 19;
    s.Height = AKind == sbHorizontal ? 19 : 200;
    s.Min = AMin;
    s.Max = AMax;
    s.Position = APosition;
    s.PageSize = APage;
    return s;
}

TEST(ScrollBarLayoutTest, PlainLookParts)
{
    struct Case {
        const char* what;
        TspScrollBarState s;
        TRect thumb;
    } cases[] = {
        {"start", Plain(sbHorizontal, 0), Rect(17, 1, 33, 18)},
        {"middle", Plain(sbHorizontal, 50), Rect(92, 1, 108, 18)},
        {"end", Plain(sbHorizontal, 100), Rect(167, 1, 183, 18)},
        {"vertical middle", Plain(sbVertical, 50), Rect(1, 92, 18, 108)},
        {"Max = Min", Plain(sbHorizontal, 7, 7, 7), Rect(17, 1, 33, 18)},
        // Page 10 of 100: a 17-pixel thumb, the fraction over Max - PageSize + 1 - Min.
        {"page", Plain(sbHorizontal, 45, 0, 99, 10), Rect(92, 1, 108, 18)},
    };
    for (const auto& c : cases) {
        const TspScrollBarLayout l = ComputeScrollBarLayout(c.s);
        EXPECT_EQ(l.Thumb, c.thumb) << c.what;
    }
    const TspScrollBarLayout h = ComputeScrollBarLayout(Plain(sbHorizontal, 0));
    EXPECT_EQ(h.DownButton, Rect(1, 1, 17, 18));
    EXPECT_EQ(h.UpButton, Rect(183, 1, 199, 18));
    EXPECT_EQ(h.Track, Rect(17, 1, 183, 18));
    const TspScrollBarLayout v = ComputeScrollBarLayout(Plain(sbVertical, 0));
    EXPECT_EQ(v.DownButton, Rect(1, 1, 18, 17));
    EXPECT_EQ(v.UpButton, Rect(1, 183, 18, 199));

    // Both mode keeps a strip free at the right end.
    TspScrollBarState both = Plain(sbHorizontal, 0);
    both.Both = true;
    both.BothMarkerWidth = 19;
    EXPECT_EQ(ComputeScrollBarLayout(both).UpButton, Rect(164, 1, 180, 18));
}

TEST(ScrollBarLayoutTest, APageLargerThanTheRangeFillsTheTrack)
{
    for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
        const TspScrollBarLayout l = ComputeScrollBarLayout(Plain(kind, 0, 0, 9, 20));
        const bool h = kind == sbHorizontal;
        EXPECT_LE(h ? l.Thumb.Left : l.Thumb.Top, 17);
        EXPECT_GE(h ? l.Thumb.Right : l.Thumb.Bottom, 183);
    }
}

TEST(ScrollBarLayoutTest, SkinnedPartsFollowTheWidth)
{
    TspScrollBarSkinParts k;
    k.SkinRect = Rect(0, 0, 100, 19);
    k.TrackArea = Rect(15, 0, 85, 19);
    k.DownButtonRect = Rect(0, 0, 15, 19);
    k.UpButtonRect = Rect(85, 0, 100, 19);
    k.RTPoint = {80, 0};
    k.ThumbRect = Rect(0, 19, 20, 29);
    TspScrollBarState s = Plain(sbHorizontal, 0);
    s.Skin = &k;
    TspScrollBarLayout l = ComputeScrollBarLayout(s);
    EXPECT_EQ(l.Track, Rect(15, 0, 185, 19));
    EXPECT_EQ(l.UpButton, Rect(185, 0, 200, 19));
    EXPECT_EQ(l.DownButton, Rect(0, 0, 15, 19));
    EXPECT_EQ(l.Thumb, Rect(15, 4, 35, 14));  // the thumb picture's length and height, centred across
    k.ThumbMinPageSize = 30;
    l = ComputeScrollBarLayout(s);
    EXPECT_EQ(l.Thumb, Rect(15, 4, 45, 14));
}

TEST(ScrollBarDragTest, ThumbOffsetToPosition)
{
    struct Case {
        TspScrollBarState s;
        Integer d, expected;
    } cases[] = {
        {Plain(sbHorizontal, 0), 75, 50},   {Plain(sbHorizontal, 0), -10, 0},
        {Plain(sbHorizontal, 0), 1000, 100}, {Plain(sbHorizontal, 0), 1, 1},
        {Plain(sbHorizontal, 7, 7, 7), 40, 7},                // Max = Min gives Min
        {Plain(sbHorizontal, 0, 0, 99, 10), 75, 45},          // page: Max - Min - PageSize + 1
        {Plain(sbHorizontal, 0, 0, 99, 10), 150, 90},
        {Plain(sbVertical, 0, -50, 50), -75, -50},   // from the middle of a range around 0
    };
    for (const auto& c : cases) {
        const TspScrollBarLayout l = ComputeScrollBarLayout(c.s);
        EXPECT_EQ(PositionFromThumbOffset(c.s, l, c.d, l.BOffset), c.expected) << "d " << c.d;
    }
}

class ScrollBarTest : public controlstest::TControlsFixture {
protected:
    TspSkinScrollBar* NewBar()
    {
        auto* bar = new TspSkinScrollBar(Form);
        bar->SetParent(Form);
        bar->SetBoundsRect(Bounds(10, 10, 200, 19));
        bar->OnChange = [this, bar](TObject*) {
            Changes.emplace_back((Clock.NowMicros() - Start) / 1000, bar->Position());
        };
        Pump();
        return bar;
    }
    void StartClock() { Start = Clock.NowMicros(); }

    std::vector<std::pair<int64_t, Integer>> Changes;
    int64_t Start = 0;
};

TEST_F(ScrollBarTest, ValuesSetByOwnersRaiseNoEvent)
{
    TspSkinScrollBar* bar = NewBar();
    bar->SetRange(0, 50, 60, 0);
    EXPECT_EQ(bar->Position(), 50);
    bar->SimplySetPosition(20);
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_TRUE(Changes.empty());
    bar->SetPosition(20);  // no real change
    EXPECT_TRUE(Changes.empty());
    bar->SetPosition(25);
    EXPECT_EQ(Changes.size(), 1u);

    // Min, Max and PageSize re-clamp without an event; a page that does not fit is refused.
    bar->SetMax(10);
    EXPECT_EQ(bar->Position(), 10);
    bar->SetMin(12);
    EXPECT_EQ(bar->Position(), 12);
    bar->SetRange(0, 99, 95, 0);
    bar->SetPageSize(10);
    EXPECT_EQ(bar->PageSize(), 0);
    bar->SimplySetPosition(50);
    bar->SetPageSize(10);
    EXPECT_EQ(bar->PageSize(), 10);
    bar->SetRange(0, 9, 5, 20);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(Changes.size(), 1u);
}

TEST_F(ScrollBarTest, TrackPressStepsAtThePressThenEvery50MsAfterTheSwitch)
{
    TspSkinScrollBar* bar = NewBar();
    bar->SetLargeChange(10);
    Display.MoveMouse(ScreenPoint(bar, 150, 9));
    Pump();
    StartClock();
    Display.PressButton(ScreenPoint(bar, 150, 9));
    Pump();
    Run(1200);
    // The 500 ms tick only switches the interval; the thumb reaches the pointer at 80.
    const std::vector<std::pair<int64_t, Integer>> expected = {{0, 10},   {550, 20}, {600, 30}, {650, 40},
                                                               {700, 50}, {750, 60}, {800, 70}, {850, 80}};
    EXPECT_EQ(Changes, expected);
    EXPECT_EQ(bar->TimerMode(), 0);
    Display.ReleaseButton(ScreenPoint(bar, 150, 9));
    Pump();
}

TEST_F(ScrollBarTest, HeldArrowPausesOffTheButtonAndResumesAt50Ms)
{
    TspSkinScrollBar* bar = NewBar();
    const TPoint up = ScreenPoint(bar, 190, 9);
    Display.MoveMouse(up);
    Pump();
    StartClock();
    Display.PressButton(up);
    Pump();
    Run(700);
    EXPECT_EQ(bar->Position(), 5);  // at 0, 550, 600, 650, 700
    Display.MoveMouse(ScreenPoint(bar, 100, 9));
    Pump();
    Run(300);
    EXPECT_EQ(bar->Position(), 5);
    Display.MoveMouse(up);
    Pump();
    Run(100);
    EXPECT_EQ(bar->Position(), 7);
    Display.ReleaseButton(up);
    Pump();
    Run(200);
    EXPECT_EQ(bar->Position(), 7);
    EXPECT_EQ(Changes.front().first, 0);
}

TEST_F(ScrollBarTest, AssignedArrowEventReplacesTheStep)
{
    TspSkinScrollBar* bar = NewBar();
    int clicks = 0;
    bar->OnUpButtonClick = [&](TObject*) { ++clicks; };
    const TPoint up = ScreenPoint(bar, 190, 9);
    Display.MoveMouse(up);
    Pump();
    Display.PressButton(up);
    Pump();
    Run(600);
    Display.ReleaseButton(up);
    Pump();
    EXPECT_EQ(clicks, 3);  // the press, 550 and 600
    EXPECT_EQ(bar->Position(), 0);
}

TEST_F(ScrollBarTest, ThumbDragFollowsThePointerAndEndsWithLastChange)
{
    TspSkinScrollBar* bar = NewBar();
    int last = 0;
    bar->OnLastChange = [&](TObject*) { ++last; };
    Display.MoveMouse(ScreenPoint(bar, 25, 9));
    Pump();
    Display.Drag(ScreenPoint(bar, 25, 9), ScreenPoint(bar, 100, 9), 5);
    Pump();
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_EQ(last, 1);
    EXPECT_EQ(Changes.size(), 5u);
    Display.Drag(ScreenPoint(bar, 100, 9), ScreenPoint(bar, 400, 9), 3);
    Pump();
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(last, 2);
}

TEST_F(ScrollBarTest, DisabledBarDrawsNoThumb)
{
    TspSkinScrollBar* bar = NewBar();
    bar->SimplySetPosition(50);
    Pump();
    const TColor thumbFrame = ScreenColor(bar, 92, 1);
    EXPECT_EQ(thumbFrame, static_cast<TColor>(ColorToRGB(clBtnShadow)));
    bar->SetEnabled(false);
    Pump();
    EXPECT_EQ(ScreenColor(bar, 92, 1), static_cast<TColor>(ColorToRGB(clBtnFace)));
}

}  // namespace
