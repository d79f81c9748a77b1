// Speed button: the plain and flat looks by state with click counts, the caption width switch, the images a
// tool-bar parent lends, accelerator clicks without focus, auto-repeat on the virtual clock, and the menu speed
// button's track strips and menu release.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/image_list.h"
#include "skin/controls/menu_speed_button.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

// A parent that lends images, as the tool bar does.
class TFakeToolBar : public TCustomControl, public TspButtonImageSource {
public:
    using TCustomControl::TCustomControl;
    TCustomImageList* Images() override { return FImages; }
    TCustomImageList* HotImages() override { return FHot; }
    TCustomImageList* DisabledImages() override { return FDisabled; }
    TCustomImageList *FImages = nullptr, *FHot = nullptr, *FDisabled = nullptr;
};

class TFakeMenu : public TspTrackMenu {
public:
    bool PopupFromRect(TControl*, const TRect&) override
    {
        ++Opened;
        return Opens;
    }
    int Opened = 0;
    bool Opens = true;
};

class SpeedButtonTest : public controlstest::TControlsFixture {
protected:
    template <typename TButton = TspSkinSpeedButton>
    TButton* NewButton(TWinControl* AParent = nullptr)
    {
        auto* b = new TButton(Form);
        b->SetParent(AParent ? AParent : Form);
        b->SetBounds(10, 10, 40, 30);
        b->OnClick = [this](TObject*) { Clicks.push_back((Clock.NowMicros() - Start) / 1000); };
        Pump();
        return b;
    }
    TPoint At(TControl* AControl, Integer AX = 8, Integer AY = 8) { return ScreenPoint(AControl, AX, AY); }
    void Hover(TControl* AControl, Integer AX = 8, Integer AY = 8)
    {
        Display.MoveMouse(At(AControl, AX, AY));
        Pump();
    }
    void Away()
    {
        Display.MoveMouse(ScreenPoint(Form, 390, 5));  // over the form, off every control
        Pump();
    }
    void Press(TControl* AControl, Integer AX = 8, Integer AY = 8)
    {
        Hover(AControl, AX, AY);
        Start = Clock.NowMicros();
        Display.PressButton(At(AControl, AX, AY));
        Pump();
    }
    void Release(TPoint APoint)
    {
        Display.ReleaseButton(APoint);
        Pump();
    }
    TCustomImageList* SolidList(TColor AColor)
    {
        auto* list = new TCustomImageList(Form, 8, 8);
        TBitmap image(8, 8, pf24bit);
        controlstest::Fill(&image, Rect(0, 0, 8, 8), AColor);
        list->Add(&image, nullptr);
        return list;
    }

    std::vector<int64_t> Clicks;
    int64_t Start = 0;
};

TEST_F(SpeedButtonTest, PlainAndFlatLooksByState)
{
    const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
    struct Case {
        const char* Name;
        bool Flat;
        bool Hover, Press;
        TColor Fill;  // at 3,3
    };
    const std::vector<Case> cases = {
        {"rest", false, false, false, face},
        {"hot", false, true, false, static_cast<TColor>(0xD2BDB6)},
        {"pressed", false, true, true, static_cast<TColor>(0xB59385)},
        {"flat at rest shows the parent", true, false, false, clBlack},
        {"flat hot", true, true, false, static_cast<TColor>(0xD2BDB6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* b = NewButton();
        b->SetFlat(c.Flat);
        Away();
        if (c.Hover) Hover(b);
        if (c.Press) {
            Display.PressButton(At(b));
            Pump();
        }
        Form->Repaint();
        Pump();
        EXPECT_EQ(ScreenColor(b, 3, 3), c.Fill);
        if (c.Press) Release(At(b));
        delete b;
        Pump();
    }
}

TEST_F(SpeedButtonTest, ClicksOnReleaseOverTheButtonAndRepeats)
{
    auto* b = NewButton();
    Press(b);
    Release(At(b, 200, 8));  // released outside: no click
    EXPECT_TRUE(Clicks.empty());
    EXPECT_FALSE(b->Down());
    b->SetRepeatMode(true);
    Press(b);
    Run(720);
    EXPECT_EQ(Clicks, (std::vector<int64_t>{600, 700}));
    Release(At(b));
    EXPECT_EQ(Clicks.size(), 3u);
    Run(300);
    EXPECT_EQ(Clicks.size(), 3u);
}

TEST_F(SpeedButtonTest, GroupButtonsReleaseEachOther)
{
    auto* a = NewButton();
    auto* b = NewButton();
    b->SetLeft(60);
    a->SetGroupIndex(2);
    b->SetGroupIndex(2);
    Press(a);
    Release(At(a));
    Press(b);
    Release(At(b));
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(SpeedButtonTest, ShowCaptionSwitchesBetweenTheTwoWidths)
{
    auto* b = NewButton();
    b->WidthWithCaption = 60;
    b->WidthWithoutCaption = 25;
    b->SetShowCaption(false);
    EXPECT_EQ(b->Width(), 25);
    b->SetShowCaption(true);
    EXPECT_EQ(b->Width(), 60);
    b->WidthWithoutCaption = 0;  // one width unset: the width stays
    b->SetShowCaption(false);
    EXPECT_EQ(b->Width(), 60);
}

TEST_F(SpeedButtonTest, ImagesComeFromTheToolBarByState)
{
    auto* bar = new TFakeToolBar(Form);
    bar->SetParent(Form);
    bar->SetBounds(0, 0, 300, 100);
    bar->FImages = SolidList(static_cast<TColor>(0x0000FF));
    bar->FHot = SolidList(static_cast<TColor>(0x00FF00));
    bar->FDisabled = SolidList(static_cast<TColor>(0xFF0000));
    auto* b = NewButton(bar);
    EXPECT_EQ(b->ImageIndex(), 0);  // a new button shows the first image
    auto centre = [&] { return ScreenColor(b, 20, 15); };
    EXPECT_EQ(centre(), static_cast<TColor>(0x0000FF));
    Hover(b, 2, 2);
    EXPECT_EQ(centre(), static_cast<TColor>(0x00FF00));
    Away();
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(centre(), static_cast<TColor>(0xFF0000));  // drawn at full colour
}

TEST_F(SpeedButtonTest, AcceleratorClicksWithoutTakingTheFocus)
{
    auto* b = NewButton();
    b->SetCaption("&Trim");
    Display.KeyDown(win::VK_MENU);
    Display.PressKey('T', U't');
    Display.KeyUp(win::VK_MENU);
    Pump();
    EXPECT_EQ(Clicks.size(), 1u);
    b->SetEnabled(false);
    Display.KeyDown(win::VK_MENU);
    Display.PressKey('T', U't');
    Display.KeyUp(win::VK_MENU);
    Pump();
    EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(SpeedButtonTest, FlatSkinnedButtonHasNoFade)
{
    auto* b = NewButton();
    const Integer p = AddPicture(80, 30, static_cast<TColor>(0x00FF00));
    auto* r = AddRecord<TspDataSkinButtonControl>("toolbutton");
    r->PictureIndex = p;
    r->SkinRect = Rect(0, 0, 40, 30);
    r->ActiveSkinRect = Rect(40, 0, 80, 30);
    r->ClRect = Rect(0, 0, 40, 30);
    r->Morphing = true;
    b->SetSkinData(Skin);
    EXPECT_TRUE(b->HotFadeActive());
    b->SetFlat(true);
    Pump();
    b->GetSkinData();
    EXPECT_FALSE(b->HotFadeActive());
    EXPECT_EQ(ScreenColor(b, 3, 3), clBlack);  // flat at rest: no picture
    Hover(b);
    EXPECT_EQ(ScreenColor(b, 3, 3), static_cast<TColor>(0x00FF00));  // at once
}

TEST_F(SpeedButtonTest, MenuSpeedButtonTracksRightOrBottomStrip)
{
    TFakeMenu menu;
    auto* b = NewButton<TspSkinMenuSpeedButton>();
    b->SetSkinPopupMenu(&menu);
    b->SetTrackButtonMode(true);
    EXPECT_TRUE(b->InTrackPart(25, 0));
    EXPECT_FALSE(b->InTrackPart(24, 29));
    b->SetNewStyle(true);
    b->SetTrackPosition(sptpBottom);
    EXPECT_EQ(b->SkinDataName(), "resizetoolbutton");
    EXPECT_TRUE(b->InTrackPart(0, 15));
    EXPECT_TRUE(b->InTrackPart(40, 30));
    EXPECT_FALSE(b->InTrackPart(39, 14));

    Press(b, 20, 25);
    Release(At(b, 20, 25));
    EXPECT_EQ(menu.Opened, 1);
    EXPECT_TRUE(b->MenuTracked());
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(Clicks.empty());
    b->Perform(SKM_CLOSEMENU, 0, 0);
    EXPECT_FALSE(b->Down());

    menu.Opens = false;  // an empty menu: the button comes back up at once
    Press(b, 20, 25);
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_FALSE(b->Down());
    Release(At(b, 20, 25));
    EXPECT_TRUE(Clicks.empty());
    Press(b, 20, 5);  // the main part clicks
    Release(At(b, 20, 5));
    EXPECT_EQ(Clicks.size(), 1u);
}

}  // namespace

// The speed button plays the push button's frame animation: forward on enter, backward on leave, stopped by a
// press; a flat button plays none.
TEST_F(SpeedButtonTest, FrameAnimationPlaysForwardOnEnterAndBackwardOnLeave)
{
    const TColor rest = 0x102030, hot = 0x306090, down = 0x903010;
    const TColor frames[3] = {static_cast<TColor>(0x202020), static_cast<TColor>(0x404040),
                              static_cast<TColor>(0x606060)};
    const Integer p = AddPicture(240, 30, clBlack);
    controlstest::Fill(PictureAt(p), Rect(0, 0, 40, 30), rest);
    controlstest::Fill(PictureAt(p), Rect(40, 0, 80, 30), hot);
    controlstest::Fill(PictureAt(p), Rect(80, 0, 120, 30), down);
    for (int k = 0; k < 3; ++k) controlstest::Fill(PictureAt(p), Rect(120 + k * 40, 0, 160 + k * 40, 30), frames[k]);
    auto* r = AddRecord<TspDataSkinButtonControl>("toolbutton");
    r->PictureIndex = p;
    r->SkinRect = Rect(0, 0, 40, 30);
    r->ActiveSkinRect = Rect(40, 0, 80, 30);
    r->DownSkinRect = Rect(80, 0, 120, 30);
    r->ClRect = Rect(0, 0, 40, 30);
    r->AnimateSkinRect = Rect(120, 0, 240, 30);
    r->FrameCount = 3;
    r->AnimateInterval = 30;
    auto* b = NewButton();
    b->SetSkinData(Skin);
    Pump();
    auto play = [&] {
        std::vector<TColor> seen{ScreenColor(b, 3, 3)};
        for (int i = 0; i < 4; ++i) {
            Run(30);
            seen.push_back(ScreenColor(b, 3, 3));
        }
        return seen;
    };
    Hover(b);
    EXPECT_EQ(play(), (std::vector<TColor>{frames[0], frames[1], frames[2], hot, hot}));
    EXPECT_FALSE(b->AnimationRunning());
    Away();
    EXPECT_EQ(play(), (std::vector<TColor>{frames[2], frames[1], frames[0], rest, rest}));
    EXPECT_EQ(b->CurrentFrame(), 0);
    Hover(b);
    Display.PressButton(At(b));
    Pump();
    EXPECT_FALSE(b->AnimationRunning());
    EXPECT_EQ(ScreenColor(b, 3, 3), down);
    Release(At(b));
    Away();
    Run(200);
    b->SetFlat(true);
    Hover(b);
    EXPECT_FALSE(b->AnimationRunning());
    EXPECT_EQ(ScreenColor(b, 3, 3), hot);
}
