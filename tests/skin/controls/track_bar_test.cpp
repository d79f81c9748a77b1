// The track bar: button geometry and the value mapping (ties to even), the range setters, a drag giving
// OnChange and then OnLastChange, jump-on-click putting the button's centre under the pointer (also on a
// vertical skinned slider whose track is not centred), keys and the wheel only when focusable, and the filled
// part of a skinned track.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/track_bar.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

TEST(TrackBarMathTest, ButtonPlace)
{
    struct Case {
        const char* what;
        TRect track;
        Integer w, h, value, min, max;
        bool vertical;
        TspTrackButtonPlace expected;
    } cases[] = {
        {"start", Rect(2, 2, 98, 18), 8, 16, 0, 0, 100, false, {Rect(2, 2, 10, 18), 6, 94, 0}},
        {"middle", Rect(2, 2, 98, 18), 8, 16, 50, 0, 100, false, {Rect(46, 2, 54, 18), 6, 94, 44}},
        {"end", Rect(2, 2, 98, 18), 8, 16, 100, 0, 100, false, {Rect(90, 2, 98, 18), 6, 94, 88}},
        // 88 x 0.125 = 11 exactly; 88 x 0.1875 = 16.5 rounds to even 16.
        {"eighth", Rect(2, 2, 98, 18), 8, 16, 125, 0, 1000, false, {Rect(13, 2, 21, 18), 6, 94, 11}},
        {"tie to even", Rect(2, 2, 98, 18), 8, 16, 3, 0, 16, false, {Rect(18, 2, 26, 18), 6, 94, 16}},
        {"empty range", Rect(2, 2, 98, 18), 8, 16, 7, 7, 7, false, {Rect(2, 2, 10, 18), 6, 94, 0}},
        {"vertical at min sits at the bottom", Rect(2, 2, 18, 98), 16, 8, 0, 0, 100, true,
         {Rect(2, 90, 18, 98), 6, 94, 0}},
        {"vertical at max", Rect(2, 2, 18, 98), 16, 8, 100, 0, 100, true, {Rect(2, 2, 18, 10), 6, 94, 88}},
    };
    for (const Case& c : cases) {
        const TspTrackButtonPlace p = CalcTrackButton(c.track, c.w, c.h, c.value, c.min, c.max, c.vertical);
        EXPECT_EQ(p.BR, c.expected.BR) << c.what;
        EXPECT_EQ(p.Offset1, c.expected.Offset1) << c.what;
        EXPECT_EQ(p.Offset2, c.expected.Offset2) << c.what;
        EXPECT_EQ(p.BOffset, c.expected.BOffset) << c.what;
    }
}

TEST(TrackBarMathTest, ValueFromOffsetRoundsHalfToEvenAndPins)
{
    struct Case {
        Integer offset, offset1, offset2, min, max, expected;
    } cases[] = {
        {0, 6, 26, 0, 10, 0},   {1, 6, 26, 0, 10, 0},   {3, 6, 26, 0, 10, 2},  {5, 6, 26, 0, 10, 2},
        {7, 6, 26, 0, 10, 4},   {20, 6, 26, 0, 10, 10}, {-30, 6, 26, 0, 10, 0}, {99, 6, 26, 0, 10, 10},
        {10, 6, 26, -100, 100, 0}, {10, 6, 6, 0, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackValueFromOffset(c.offset, c.offset1, c.offset2, c.min, c.max), c.expected) << c.offset;
}

class TrackBarTest : public controlstest::TControlsFixture {
protected:
    TspSkinTrackBar* NewBar(bool AVertical = false)
    {
        auto* bar = new TspSkinTrackBar(Form);
        bar->SetParent(Form);
        bar->SetVertical(AVertical);
        bar->SetBounds(10, 10, AVertical ? 20 : 100, AVertical ? 100 : 20);
        bar->OnChange = [this](TObject*) { Events.push_back("change"); };
        bar->OnLastChange = [this](TObject*) { Events.push_back("last"); };
        bar->OnStartDragButton = [this](TObject*) { Events.push_back("start"); };
        Pump();
        return bar;
    }
    TPoint ButtonCentre(TspSkinTrackBar* ABar)
    {
        const TRect br = ABar->ButtonPlace().BR;
        return {br.Left + br.Width() / 2, br.Top + br.Height() / 2};
    }
    std::vector<std::string> Events;
};

TEST_F(TrackBarTest, RangeSettersClampWithoutEvents)
{
    auto* bar = NewBar();
    bar->SetMaxValue(10);
    EXPECT_EQ(bar->Value(), 10);
    bar->SetMinValue(20);
    EXPECT_EQ(bar->Value(), 20);
    EXPECT_TRUE(Events.empty());
    bar->SetMaxValue(100);
    bar->SetValue(20);
    EXPECT_TRUE(Events.empty());  // unchanged
    bar->SetValue(500);
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(Events, (std::vector<std::string>{"change"}));
}

TEST_F(TrackBarTest, DragGivesChangesThenTheLastChangeAndPinsAtTheEnds)
{
    auto* bar = NewBar();
    const TPoint centre = ButtonCentre(bar);
    Display.MoveMouse(ScreenPoint(bar, centre.X, centre.Y));
    Pump();
    Display.PressButton(ScreenPoint(bar, centre.X, centre.Y));
    Pump();
    EXPECT_TRUE(bar->Dragging());
    Display.MoveMouse(ScreenPoint(bar, centre.X + 10, centre.Y));
    Pump();
    Display.MoveMouse(ScreenPoint(bar, centre.X + 300, centre.Y));
    Pump();
    EXPECT_EQ(bar->Value(), 100);
    Display.ReleaseButton(ScreenPoint(bar, centre.X + 300, centre.Y));
    Pump();
    EXPECT_FALSE(bar->Dragging());
    ASSERT_GE(Events.size(), 4u);
    EXPECT_EQ(Events.front(), "start");
    EXPECT_EQ(Events.back(), "last");
    for (size_t i = 1; i + 1 < Events.size(); ++i) EXPECT_EQ(Events[i], "change");

    Events.clear();
    Run(1000);
    const TPoint end = ButtonCentre(bar);
    Display.MoveMouse(ScreenPoint(bar, end.X, end.Y));
    Pump();
    Display.PressButton(ScreenPoint(bar, end.X, end.Y));
    Pump();
    Display.MoveMouse(ScreenPoint(bar, end.X - 400, end.Y));
    Pump();
    EXPECT_EQ(bar->Value(), 0);
    Display.ReleaseButton(ScreenPoint(bar, end.X - 400, end.Y));
    Pump();
    EXPECT_EQ(Events.back(), "last");
}

TEST_F(TrackBarTest, JumpWhenClickPutsTheButtonUnderThePointer)
{
    auto* bar = NewBar();
    bar->SetJumpWhenClick(true);
    Display.Click(ScreenPoint(bar, 72, 10));
    Pump();
    EXPECT_EQ(ButtonCentre(bar).X, 72);
    EXPECT_EQ(Events, (std::vector<std::string>{"change"}));

    auto* vertical = NewBar(true);
    vertical->SetJumpWhenClick(true);
    Run(1000);
    Display.Click(ScreenPoint(vertical, 10, 30));
    Pump();
    EXPECT_EQ(ButtonCentre(vertical).Y, 30);
}

TEST_F(TrackBarTest, VerticalSkinnedJumpUsesTheTracksBottomEnd)
{
    // A 20 x 100 picture whose track runs from 10 to 80: not centred, so the bottom end is what counts.
    const Integer p = AddPicture(60, 100, static_cast<TColor>(0x808080));
    controlstest::Fill(PictureAt(p), Rect(20, 0, 40, 100), static_cast<TColor>(0x00FF00));
    controlstest::Fill(PictureAt(p), Rect(40, 0, 60, 10), static_cast<TColor>(0x0000FF));
    auto* r = AddRecord<TspDataSkinTrackBarControl>("trackbar");
    r->PictureIndex = p;
    r->SkinRect = Rect(0, 0, 20, 100);
    r->ActiveSkinRect = Rect(20, 0, 40, 100);
    r->TrackArea = Rect(0, 10, 20, 80);
    r->ButtonRect = Rect(40, 0, 60, 10);
    r->Vertical = true;
    auto* bar = NewBar(true);
    bar->SetSkinDataName("trackbar");
    bar->SetSkinData(Skin);
    bar->SetJumpWhenClick(true);
    bar->SetValue(0);
    Pump();
    ASSERT_TRUE(bar->Skinned());
    EXPECT_EQ(bar->ButtonPlace().BR, Rect(0, 70, 20, 80));
    Display.Click(ScreenPoint(bar, 10, 40));
    Pump();
    EXPECT_EQ(ButtonCentre(bar).Y, 40);
    EXPECT_EQ(bar->Value(), 58);  // 35 of 60 pixels above the bottom end
    // The filled part runs from the button's centre down.
    EXPECT_EQ(ScreenColor(bar, 10, 60), static_cast<TColor>(0x00FF00));
    EXPECT_EQ(ScreenColor(bar, 10, 20), static_cast<TColor>(0x808080));
    EXPECT_EQ(ScreenColor(bar, 10, 38), static_cast<TColor>(0x0000FF));
}

TEST_F(TrackBarTest, KeysAndWheelOnlyWhenFocusable)
{
    auto* bar = NewBar();
    bar->SetFocus();
    Pump();
    Display.PressKey(win::VK_RIGHT);
    Pump();
    EXPECT_EQ(bar->Value(), 50);

    bar->SetCanFocused(true);
    bar->SetMouseSupport(false);
    bar->SetFocus();
    Pump();
    Display.PressKey(win::VK_RIGHT);
    Display.PressKey(win::VK_UP);
    Display.PressKey(win::VK_LEFT);
    Pump();
    EXPECT_EQ(bar->Value(), 51);
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "last", "change", "last", "change", "last"}));
    Events.clear();
    // A horizontal slider steps down for a wheel turned away from the user.
    Display.Wheel(ScreenPoint(bar, 50, 10), 120);
    Pump();
    EXPECT_EQ(bar->Value(), 50);
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "last"}));
    // Without mouse support a press on the button starts no drag.
    const TPoint centre = ButtonCentre(bar);
    Display.PressButton(ScreenPoint(bar, centre.X, centre.Y));
    Pump();
    EXPECT_FALSE(bar->Dragging());
    Display.ReleaseButton(ScreenPoint(bar, centre.X, centre.Y));
    Pump();
}

}  // namespace
