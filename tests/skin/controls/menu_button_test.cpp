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

// A skin of one-colour state pictures, 40 x 20 each, with a nine-piece description, a drop-down part at the
// picture's right end and one-colour marker pictures.
class MenuButtonSkinTest : public MenuButtonTest {
protected:
    static constexpr TColor kRest = 0x202080, kHot = 0x208020, kDown = 0x802020, kMarker = 0xF0F0F0;
    static constexpr TColor kMarkerHot = 0x00C0FF, kMarkerDown = 0xFFC000;

    template <typename TRecord>
    TRecord* SkinRecord(const std::string& AName)
    {
        const Integer p = AddPicture(160, 30, clBlack);
        controlstest::Fill(PictureAt(p), Rect(0, 0, 40, 20), kRest);
        controlstest::Fill(PictureAt(p), Rect(40, 0, 80, 20), kHot);
        controlstest::Fill(PictureAt(p), Rect(80, 0, 120, 20), kDown);
        controlstest::Fill(PictureAt(p), Rect(0, 20, 7, 26), kMarker);
        controlstest::Fill(PictureAt(p), Rect(10, 20, 17, 26), kMarkerHot);
        controlstest::Fill(PictureAt(p), Rect(20, 20, 27, 26), kMarkerDown);
        auto* r = AddRecord<TRecord>(AName);
        r->PictureIndex = p;
        r->SkinRect = Rect(0, 0, 40, 20);
        r->ActiveSkinRect = Rect(40, 0, 80, 20);
        r->DownSkinRect = Rect(80, 0, 120, 20);
        r->LTPoint = {3, 3}, r->RTPoint = {25, 3}, r->LBPoint = {3, 17}, r->RBPoint = {25, 17};
        r->ClRect = Rect(3, 3, 25, 17);
        r->LeftStretch = r->TopStretch = r->RightStretch = r->BottomStretch = true;
        r->MenuMarkerRect = Rect(0, 20, 7, 26);
        r->MenuMarkerActiveRect = Rect(10, 20, 17, 26);
        r->MenuMarkerDownRect = Rect(20, 20, 27, 26);
        r->MenuMarkerTransparentColor = clBlack;
        return r;
    }
    TspSkinMenuButton* SkinnedButton(const std::string& ARecordName, bool ATrackMode)
    {
        auto* b = NewButton(ATrackMode);
        b->SetUseSkinSize(false);
        b->SetSkinDataName(ARecordName);
        b->SetSkinData(Skin);
        b->SetBounds(10, 10, 100, 20);
        Pump();
        b->Repaint();
        Pump();
        return b;
    }
};

TEST_F(MenuButtonSkinTest, OnANinePiecePictureTheDropDownPartStaysAtTheRightEnd)
{
    SkinRecord<TspDataSkinMenuButtonControl>("toolmenubutton")->TrackButtonRect = Rect(26, 0, 40, 20);
    auto* b = SkinnedButton("toolmenubutton", true);
    ASSERT_EQ(b->Width(), 100);
    // The drawn drop-down part is the picture's right column, 86..100 at this width; the caption lies before it.
    EXPECT_TRUE(b->InTrackPart(90, 10));
    EXPECT_TRUE(b->InTrackPart(99, 19));
    EXPECT_FALSE(b->InTrackPart(30, 10));
    EXPECT_FALSE(b->InTrackPart(80, 10));
    Click(b, 30, 10);
    EXPECT_TRUE(Menu.Opened.empty());
    EXPECT_EQ(Clicks, 1);
    Click(b, 95, 10);
    EXPECT_EQ(Menu.Opened.size(), 1u);
}

TEST_F(MenuButtonSkinTest, TheMarkerShowsInTheDropDownPartWithAndWithoutTrackMode)
{
    SkinRecord<TspDataSkinMenuButtonControl>("toolmenubutton")->TrackButtonRect = Rect(26, 0, 40, 20);
    for (const bool track : {false, true}) {
        SCOPED_TRACE(track ? "track mode" : "whole button opens");
        auto* b = SkinnedButton("toolmenubutton", track);
        // Marker 7 x 6 centred in 86..100 x 0..20: 90..97 x 7..13.
        EXPECT_EQ(ScreenColor(b, 93, 10), kMarker);
        EXPECT_EQ(ScreenColor(b, 50, 10), kRest);
        delete b;
        Pump();
    }
}

// The plain tool-button records: the face is cut in a main part and a 15-pixel drop-down part, each in its own
// state, for the tool-button and the resizable look alike.
TEST_F(MenuButtonSkinTest, PlainRecordsSplitTheFaceIntoMainAndDropDownParts)
{
    SkinRecord<TspDataSkinButtonControl>("toolbutton");
    SkinRecord<TspDataSkinButtonControl>("resizebutton");
    for (const char* name : {"toolbutton", "resizebutton"}) {
        SCOPED_TRACE(name);
        Menu.Opened.clear();
        auto* b = SkinnedButton(name, true);
        EXPECT_EQ(ScreenColor(b, 40, 10), kRest);
        EXPECT_EQ(ScreenColor(b, 95, 17), kRest);
        EXPECT_EQ(ScreenColor(b, 93, 10), kMarker);
        // Open the menu from the drop-down part: the main part turns hot, the drop-down part pressed, and the
        // marker moves 2 pixels right and down and shows its pressed picture.
        Display.MoveMouse(ScreenPoint(b, 93, 10));
        Pump();
        Display.PressButton(ScreenPoint(b, 93, 10));
        Pump();
        ASSERT_EQ(Menu.Opened.size(), 1u);
        b->Repaint();
        Pump();
        EXPECT_EQ(ScreenColor(b, 40, 10), kHot);
        EXPECT_EQ(ScreenColor(b, 87, 3), kDown);
        EXPECT_EQ(ScreenColor(b, 95, 12), kMarkerDown);
        b->Perform(SKM_CLOSEMENU, 0, 0);
        Display.ReleaseButton(ScreenPoint(b, 93, 10));
        Pump();
        delete b;
        Pump();
    }
}
