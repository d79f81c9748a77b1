// Check and radio box: the Checked and State setters with their OnClick counts, the mouse cycle with
// AllowGrayed, group unchecking among siblings (check boxes included), presses released outside, the keyboard,
// the plain flat look's mark, and the face look's hot fade on the virtual clock.
#include <gtest/gtest.h>

#include <map>

#include "skin/controls/check_radio_box.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

class CheckRadioBoxTest : public controlstest::TControlsFixture {
protected:
    TspSkinCheckRadioBox* NewBox(const std::string& ACaption, bool ARadio, Integer AGroup, Integer AY = 10)
    {
        auto* b = new TspSkinCheckRadioBox(Form);
        b->SetParent(Form);
        b->SetBounds(10, AY, 150, 25);
        b->SetCaption(ACaption);
        b->SetRadio(ARadio);
        b->SetGroupIndex(AGroup);
        b->OnClick = [this](TObject* ASender) { ++Clicks[ASender]; };
        Pump();
        return b;
    }
    void ClickOn(TControl* AControl)
    {
        Run(1000);  // apart from any earlier click, so never a double click
        const TPoint at = ScreenPoint(AControl, 8, 12);
        Display.MoveMouse(at);
        Pump();
        Display.Click(at);
        Pump();
    }
    std::map<TObject*, int> Clicks;
};

TEST_F(CheckRadioBoxTest, SettersStateAndClickCounts)
{
    auto* check = NewBox("Check", false, 0);
    auto* radio = NewBox("Radio", true, 0, 50);
    struct Step {
        const char* what;
        TspSkinCheckRadioBox* box;
        std::function<void()> act;
        TCheckBoxState state;
        bool checked;
        int clicks;
    };
    const std::vector<Step> steps = {
        {"check", check, [&] { check->SetChecked(true); }, cbChecked, true, 1},
        {"check again", check, [&] { check->SetChecked(true); }, cbChecked, true, 2},
        {"uncheck", check, [&] { check->SetChecked(false); }, cbUnchecked, false, 3},
        {"gray", check, [&] { check->SetState(cbGrayed); }, cbGrayed, false, 4},
        {"uncheck a grayed box", check, [&] { check->SetChecked(false); }, cbGrayed, false, 5},
        {"state checked", check, [&] { check->SetState(cbChecked); }, cbChecked, true, 6},
        {"radio on", radio, [&] { radio->SetChecked(true); }, cbChecked, true, 1},
        {"radio off: no click", radio, [&] { radio->SetChecked(false); }, cbUnchecked, false, 1},
        {"radio state", radio, [&] { radio->SetState(cbUnchecked); }, cbUnchecked, false, 2},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(s.box->State(), s.state) << s.what;
        EXPECT_EQ(s.box->Checked(), s.checked) << s.what;
        EXPECT_EQ(Clicks[s.box], s.clicks) << s.what;
    }
}

TEST_F(CheckRadioBoxTest, MouseCyclesThroughGrayedOnlyWithAllowGrayed)
{
    auto* check = NewBox("Three states", false, 0);
    check->SetAllowGrayed(true);
    const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
    for (int i = 0; i < 4; ++i) {
        ClickOn(check);
        EXPECT_EQ(check->State(), cycle[i]) << i;
        EXPECT_EQ(Clicks[check], i + 1);
    }
    EXPECT_TRUE(check->Focused());  // the first click took the focus

    auto* radio = NewBox("Radio", true, 0, 50);
    radio->SetAllowGrayed(true);
    ClickOn(radio);
    EXPECT_EQ(radio->State(), cbChecked);
    EXPECT_EQ(Clicks[radio], 1);
    ClickOn(radio);  // a checked radio button stays checked, silently
    EXPECT_EQ(radio->State(), cbChecked);
    EXPECT_EQ(Clicks[radio], 1);
}

TEST_F(CheckRadioBoxTest, CheckingUnchecksTheGroupOnTheSameParent)
{
    auto* a = NewBox("A", true, 1, 10);
    auto* b = NewBox("B", true, 1, 40);
    auto* c = NewBox("C", false, 1, 70);
    auto* d = NewBox("D", false, 2, 100);
    a->SetChecked(true);
    c->SetChecked(true);  // unchecks a, which as a radio button raises nothing
    d->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    Clicks.clear();
    ClickOn(b);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(c->Checked());
    EXPECT_TRUE(d->Checked());  // another group
    EXPECT_EQ(Clicks[b], 1);
    EXPECT_EQ(Clicks[c], 1);  // the check box raises its own OnClick
    EXPECT_EQ(Clicks[a], 0);
    EXPECT_EQ(Clicks[d], 0);
}

TEST_F(CheckRadioBoxTest, APressReleasedOutsideTogglesNothing)
{
    auto* check = NewBox("Check", false, 0);
    const TPoint at = ScreenPoint(check, 8, 12);
    Display.MoveMouse(at);
    Pump();
    Display.PressButton(at);
    Pump();
    Display.MoveMouse(ScreenPoint(Form, 390, 5));
    Pump();
    EXPECT_FALSE(check->MouseIn());
    Display.ReleaseButton(ScreenPoint(Form, 390, 5));
    Pump();
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(Clicks[check], 0);
}

TEST_F(CheckRadioBoxTest, SpaceAndAcceleratorToggleOnlyWhenFocusable)
{
    auto* check = NewBox("&Mute", false, 0);
    check->SetCanFocused(true);
    check->SetFocus();
    Pump();
    Display.PressKey(win::VK_SPACE, U' ');
    Pump();
    EXPECT_TRUE(check->Checked());
    check->Perform(CM_DIALOGCHAR, 'm', 0);
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(check->State(), cbUnchecked);  // the keyboard never grays

    check->SetCanFocused(false);
    Display.PressKey(win::VK_SPACE, U' ');
    Pump();
    check->Perform(CM_DIALOGCHAR, 'm', 0);
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(Clicks[check], 2);
}

TEST_F(CheckRadioBoxTest, PlainFlatLookDrawsTheMarkByKindAndState)
{
    Form->SetColor(clWhite);  // the flat look shows the parent's background
    auto* check = NewBox("Check", false, 0, 10);
    auto* radio = NewBox("Radio", true, 0, 50);
    const Integer mid = 12;  // H div 2
    EXPECT_NE(ScreenColor(check, 8, mid + 2), clBlack);
    check->SetChecked(true);
    radio->SetChecked(true);
    Pump();
    // The tick's middle stroke and the radio's 6 x 6 square.
    EXPECT_EQ(ScreenColor(check, 9, mid + 3), clBlack);
    EXPECT_EQ(ScreenColor(radio, 9, mid - 1), clBlack);
    EXPECT_EQ(ScreenColor(radio, 12, mid + 2), clBlack);
    check->SetState(cbGrayed);
    Pump();
    EXPECT_EQ(ScreenColor(check, 9, mid + 3), static_cast<TColor>(ColorToRGB(clGrayText)));
    // The box frame is hot while the mouse is over it.
    EXPECT_EQ(ScreenColor(check, 3, mid), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    Display.MoveMouse(ScreenPoint(check, 50, 12));
    Pump();
    EXPECT_EQ(ScreenColor(check, 3, mid), static_cast<TColor>(0x800000));
}

TEST_F(CheckRadioBoxTest, FaceLookFadesToTheHotPictureInFiveSteps)
{
    constexpr TColor kRest = static_cast<TColor>(0x0000FF), kHot = static_cast<TColor>(0x00FF00);
    const Integer p = AddPicture(300, 25, clBlack);
    controlstest::Fill(PictureAt(p), Rect(0, 0, 150, 25), kRest);
    controlstest::Fill(PictureAt(p), Rect(150, 0, 300, 25), kHot);
    auto* r = AddRecord<TspDataSkinCheckRadioControl>("checkbox");
    r->PictureIndex = p;
    r->SkinRect = Rect(0, 0, 150, 25);
    r->ActiveSkinRect = Rect(150, 0, 300, 25);
    r->ClRect = Rect(0, 0, 150, 25);
    r->TextArea = Rect(25, 0, 150, 25);
    r->CheckImageArea = Rect(0, 0, 25, 25);
    r->Morphing = true;
    auto* box = NewBox("", false, 0);
    box->SetFlat(false);
    box->SetSkinData(Skin);
    Pump();
    ASSERT_TRUE(box->Skinned());
    EXPECT_EQ(ScreenColor(box, 100, 12), kRest);
    Display.MoveMouse(ScreenPoint(box, 100, 12));
    Pump();
    EXPECT_TRUE(box->MorphTimerRunning());
    std::vector<int> steps;
    for (int i = 0; i < 6; ++i) {
        AdvanceMs(20);
        steps.push_back(box->HotFade().Step());
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 5}));
    EXPECT_FALSE(box->MorphTimerRunning());
    EXPECT_EQ(ScreenColor(box, 100, 12), kHot);
    Display.MoveMouse(ScreenPoint(Form, 390, 5));
    Pump();
    Run(200);
    EXPECT_TRUE(box->HotFade().AtNormal());
    EXPECT_EQ(ScreenColor(box, 100, 12), kRest);
}

}  // namespace
