// Track bars and scroll bars whose range spans every Integer: the thumb stays on the track, drags and clicks give
// values in order from one end to the other, and steps stop at the ends instead of wrapping round.
#include <gtest/gtest.h>

#include <climits>

#include "skin/controls/scroll_bar.h"
#include "skin/controls/track_bar.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

TEST(WideRangeGeometryTest, TrackButtonStaysOnTheTrackAndOffsetsMapBack)
{
    const TRect track = Rect(0, 0, 200, 20);
    struct Case {
        Integer value;
        Integer left;
    } cases[] = {{INT_MIN, 0}, {INT_MAX, 190}, {0, 95}, {-1, 95}, {INT_MIN + 1, 0}, {INT_MAX - 1, 190}};
    for (const auto& c : cases) {
        const TspTrackButtonPlace p = CalcTrackButton(track, 10, 10, c.value, INT_MIN, INT_MAX, false);
        EXPECT_EQ(p.BR.Left, c.left) << c.value;
    }
    // Offsets back to values: the ends exactly, the middle near zero, in order between.
    EXPECT_EQ(TrackValueFromOffset(-5, 5, 195, INT_MIN, INT_MAX), INT_MIN);
    EXPECT_EQ(TrackValueFromOffset(0, 5, 195, INT_MIN, INT_MAX), INT_MIN);
    EXPECT_EQ(TrackValueFromOffset(190, 5, 195, INT_MIN, INT_MAX), INT_MAX);
    EXPECT_EQ(TrackValueFromOffset(500, 5, 195, INT_MIN, INT_MAX), INT_MAX);
    EXPECT_NEAR(double(TrackValueFromOffset(95, 5, 195, INT_MIN, INT_MAX)), 0.0, 1.0);
    Integer previous = INT_MIN;
    for (Integer offset = 1; offset <= 190; ++offset) {
        const Integer v = TrackValueFromOffset(offset, 5, 195, INT_MIN, INT_MAX);
        EXPECT_GT(v, previous) << offset;
        previous = v;
    }
}

TEST(WideRangeGeometryTest, ScrollThumbStaysOnTheTrackAndDragsMapBack)
{
    for (Integer page : {0, 1 << 30}) {
        TspScrollBarState s;
        s.Kind = sbHorizontal;
        s.Width = 200;
        s.Height = 19;
        s.Min = INT_MIN;
        s.Max = INT_MAX;
        s.PageSize = page;
        const Integer high = ClampScrollPosition(INT_MAX, INT_MIN, INT_MAX, page);
        EXPECT_EQ(high, page ? INT_MAX - page + 1 : INT_MAX);
        EXPECT_EQ(ClampScrollPosition(INT_MIN, INT_MIN, INT_MAX, page), INT_MIN);
        for (Integer position : {INT_MIN, 0, high}) {
            s.Position = position;
            const TspScrollBarLayout l = ComputeScrollBarLayout(s);
            EXPECT_GE(l.Thumb.Left, l.Track.Left) << position << " page " << page;
            EXPECT_LE(l.Thumb.Right, l.Track.Right) << position << " page " << page;
            if (position == INT_MIN) EXPECT_EQ(l.Thumb.Left, l.Track.Left);
            if (position == high) EXPECT_EQ(l.Thumb.Right, l.Track.Right);
            // Dragging the thumb from where it is to either end gives the range's ends.
            EXPECT_EQ(PositionFromThumbOffset(s, l, -1000, l.BOffset), INT_MIN);
            EXPECT_EQ(PositionFromThumbOffset(s, l, 1000, l.BOffset), high);
            EXPECT_EQ(PositionFromThumbOffset(s, l, 0, l.BOffset) >= 0, position >= 0) << position;
        }
    }
}

class WideRangeTest : public controlstest::TControlsFixture {};

TEST_F(WideRangeTest, TrackBarDragsAndStepsAcrossTheWholeRange)
{
    auto* bar = new TspSkinTrackBar(Form);
    bar->SetParent(Form);
    bar->SetBoundsRect(Bounds(10, 10, 200, 20));
    bar->SetMinValue(INT_MIN);
    bar->SetMaxValue(INT_MAX);
    bar->SetCanFocused(true);
    bar->SetValue(INT_MIN);
    Pump();
    const TRect start = bar->ButtonPlace().BR;
    EXPECT_GE(start.Left, 0);
    const TPoint grip = {start.Left + start.Width() / 2, start.Top + start.Height() / 2};
    Display.MoveMouse(ScreenPoint(bar, grip.X, grip.Y));
    Pump();
    Display.Drag(ScreenPoint(bar, grip.X, grip.Y), ScreenPoint(bar, 100, grip.Y), 4);
    Pump();
    EXPECT_NEAR(double(bar->Value()), 0.0, double(INT_MAX) / 90);
    const TRect middle = bar->ButtonPlace().BR;
    EXPECT_NEAR(middle.Left + middle.Width() / 2, 100, 2);
    Display.Drag(ScreenPoint(bar, 100, grip.Y), ScreenPoint(bar, 400, grip.Y), 3);
    Pump();
    EXPECT_EQ(bar->Value(), INT_MAX);
    EXPECT_LE(bar->ButtonPlace().BR.Right, 200);

    // Keys at the ends stop there.
    bar->SetFocus();
    Pump();
    Display.PressKey(win::VK_RIGHT);
    Pump();
    EXPECT_EQ(bar->Value(), INT_MAX);
    bar->SetValue(INT_MIN);
    Display.PressKey(win::VK_LEFT);
    Pump();
    EXPECT_EQ(bar->Value(), INT_MIN);
}

TEST_F(WideRangeTest, ScrollBarStepsStopAtTheEndsAndTheThumbFollows)
{
    auto* bar = new TspSkinScrollBar(Form);
    bar->SetParent(Form);
    bar->SetBoundsRect(Bounds(10, 10, 200, 19));
    bar->SetRange(INT_MIN, INT_MAX, INT_MAX, 0);
    bar->SetSmallChange(INT_MAX);
    bar->SetLargeChange(INT_MAX);
    Pump();
    EXPECT_EQ(bar->Layout().Thumb.Right, bar->Layout().Track.Right);
    const TPoint up = ScreenPoint(bar, 190, 9);
    Display.Click(up);
    Pump();
    EXPECT_EQ(bar->Position(), INT_MAX);
    bar->SetPosition(INT_MIN);
    Display.Click(ScreenPoint(bar, 8, 9));
    Pump();
    EXPECT_EQ(bar->Position(), INT_MIN);
    EXPECT_EQ(bar->Layout().Thumb.Left, bar->Layout().Track.Left);
    // A press on the track in the upper half pages up without wrapping past the end.
    Display.Click(ScreenPoint(bar, 150, 9));
    Pump();
    EXPECT_EQ(bar->Position(), -1);
    Display.Click(ScreenPoint(bar, 150, 9));
    Pump();
    EXPECT_EQ(bar->Position(), INT_MAX - 1);
}

}  // namespace
