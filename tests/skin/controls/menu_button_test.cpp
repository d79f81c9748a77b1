// Menu button: which presses open the menu, the button held down while the menu is open and released by the
// close notification, a menu that does not open, and Space against Enter.
#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/menu_button.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

// Stands in for the skinned popup menu: records each opening and can refuse to open (an empty menu).
class TFakeMenu : public TspTrackMenu {
public:
    bool PopupFromRect(TControl* AControl, const TRect& AScreenRect) override
    {
        Opened.push_back(AScreenRect);
        Owner = AControl;
        return Opens;
    }
    std::vector<TRect> Opened;
    TControl* Owner = nullptr;
    bool Opens = true;
};

class MenuButtonTest : public controlstest::TControlsFixture {
protected:
    TspSkinMenuButton* NewButton(bool ATrackMode)
    {
        auto* b = new TspSkinMenuButton(Form);
        b->SetParent(Form);
        b->SetBounds(10, 10, 75, 25);
        b->SetCanFocused(true);
        b->SetTrackButtonMode(ATrackMode);
        b->SetSkinPopupMenu(&Menu);
        b->OnClick = [this](TObject*) { ++Clicks; };
        Pump();
        return b;
    }
    void Click(TControl* AControl, Integer AX, Integer AY)
    {
        Display.MoveMouse(ScreenPoint(AControl, AX, AY));
        Pump();
        Display.PressButton(ScreenPoint(AControl, AX, AY));
        Pump();
        Display.ReleaseButton(ScreenPoint(AControl, AX, AY));
        Pump();
    }

    TFakeMenu Menu;
    int Clicks = 0;
};

TEST_F(MenuButtonTest, TrackPartIsTheRightmost15PixelsEdgesIncluded)
{
    auto* b = NewButton(true);
    struct Case {
        Integer X, Y;
        bool In;
    };
    for (const Case& c : {Case{59, 12, false}, Case{60, 0, true}, Case{75, 25, true}, Case{74, 24, true},
                          Case{0, 0, false}}) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
        EXPECT_EQ(b->InTrackPart(c.X, c.Y), c.In);
    }
    b->SetTrackButtonMode(false);
    EXPECT_TRUE(b->InTrackPart(0, 0));
    b->SetSkinPopupMenu(nullptr);
    EXPECT_FALSE(b->InTrackPart(0, 0));
}

TEST_F(MenuButtonTest, TrackedPressOpensTheMenuWithoutAClickAndCloseReleases)
{
    auto* b = NewButton(true);
    int shown = 0, hidden = 0;
    b->OnShowTrackMenu = [&](TObject*) { ++shown; };
    b->OnHideTrackMenu = [&](TObject*) { ++hidden; };
    Click(b, 70, 12);
    ASSERT_EQ(Menu.Opened.size(), 1u);
    EXPECT_EQ(Menu.Owner, b);
    const TPoint origin = b->ClientOrigin();
    EXPECT_EQ(Menu.Opened[0], Bounds(origin.X, origin.Y, 75, 25));
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(b->MenuTracked());
    EXPECT_TRUE(b->Down());  // the release was ignored
    // Plain look while tracked: main part hot, drop-down part pressed.
    EXPECT_EQ(ScreenColor(b, 30, 3), static_cast<TColor>(0xD2BDB6));
    EXPECT_EQ(ScreenColor(b, 62, 2), static_cast<TColor>(0xB59385));

    b->Perform(SKM_CLOSEMENU, 0, 0);
    Pump();
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(hidden, 1);

    Click(b, 20, 12);  // the rest of the button is an ordinary button
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Menu.Opened.size(), 1u);
}

TEST_F(MenuButtonTest, AMenuThatDoesNotOpenLeavesTheButtonUp)
{
    auto* b = NewButton(false);
    Menu.Opens = false;
    Click(b, 20, 12);
    EXPECT_EQ(Menu.Opened.size(), 1u);
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Clicks, 0);
    Click(b, 20, 12);  // and it can be pressed again
    EXPECT_EQ(Menu.Opened.size(), 2u);
}

TEST_F(MenuButtonTest, SpaceOpensTheMenuAndOnlySpaceReleaseClicks)
{
    auto* b = NewButton(false);
    b->SetFocus();
    Pump();
    Display.KeyDown(win::VK_SPACE, U' ');
    Pump();
    EXPECT_EQ(Menu.Opened.size(), 1u);
    EXPECT_TRUE(b->MenuTracked());
    Display.KeyUp(win::VK_SPACE);
    Pump();
    EXPECT_EQ(Clicks, 0);  // tracked: the release does nothing
    b->Perform(SKM_CLOSEMENU, 0, 0);

    b->SetTrackButtonMode(true);  // Space no longer opens; its release clicks
    Display.PressKey(win::VK_SPACE, U' ');
    Pump();
    EXPECT_EQ(Menu.Opened.size(), 1u);
    EXPECT_EQ(Clicks, 1);
    // Enter clicks once, on its press, through the form; its release adds nothing.
    Display.PressKey(win::VK_RETURN);
    Pump();
    EXPECT_EQ(Clicks, 2);
}

}  // namespace
