// Push button: the state looks with click counts for mouse, keys, focus and enabling; the hot fade on the virtual
// clock; auto-repeat timing; toggle groups; Default and Cancel through a real form; the posted glow frame.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/graphics.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/layer_window.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

constexpr TColor kRest = static_cast<TColor>(0x0000FF), kHot = static_cast<TColor>(0x00FF00),
                 kDown = static_cast<TColor>(0xFF0000);

class PushButtonTest : public controlstest::TControlsFixture {
protected:
    TspSkinButton* NewButton(Integer AX = 10, Integer AY = 10)
    {
        auto* b = new TspSkinButton(Form);
        b->SetParent(Form);
        b->SetBounds(AX, AY, 75, 25);
        b->SetCanFocused(true);
        b->OnClick = [this](TObject*) { Clicks.push_back((Clock.NowMicros() - Start) / 1000); };
        Pump();
        return b;
    }
    // A skin whose button pictures are one colour per state, each 75 x 25.
    TspDataSkinButtonControl* SkinButton(TspSkinButton* AButton, bool AMorphing)
    {
        // Room to the right and below for an animation strip.
        const Integer p = AddPicture(450, 75, clBlack);
        controlstest::Fill(PictureAt(p), Rect(0, 0, 75, 25), kRest);
        controlstest::Fill(PictureAt(p), Rect(75, 0, 150, 25), kHot);
        controlstest::Fill(PictureAt(p), Rect(150, 0, 225, 25), kDown);
        auto* r = AddRecord<TspDataSkinButtonControl>("button");
        r->PictureIndex = p;
        r->SkinRect = Rect(0, 0, 75, 25);
        r->ActiveSkinRect = Rect(75, 0, 150, 25);
        r->DownSkinRect = Rect(150, 0, 225, 25);
        r->ClRect = Rect(0, 0, 75, 25);
        r->Morphing = AMorphing;
        AButton->SetSkinData(Skin);
        Pump();
        return r;
    }
    TPoint At(TControl* AControl, Integer AX = 30, Integer AY = 12) { return ScreenPoint(AControl, AX, AY); }
    void Hover(TControl* AControl)
    {
        Display.MoveMouse(At(AControl));
        Pump();
    }
    void Away()
    {
        Display.MoveMouse(ScreenPoint(Form, 390, 5));  // over the form, off every control
        Pump();
    }
    void Press(TControl* AControl)
    {
        Hover(AControl);
        Start = Clock.NowMicros();
        Display.PressButton(At(AControl));
        Pump();
    }
    void ReleaseAt(TPoint APoint)
    {
        Display.ReleaseButton(APoint);
        Pump();
    }
    // The fill inside the plain frame.
    TColor Face(TControl* AControl) { return ScreenColor(AControl, 3, 3); }

    std::vector<int64_t> Clicks;
    int64_t Start = 0;
};

TEST_F(PushButtonTest, PlainLookFollowsMouseFocusAndEnabling)
{
    auto* b = NewButton();
    auto* other = NewButton(10, 60);
    const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
    EXPECT_EQ(Face(b), face);
    Hover(b);
    EXPECT_EQ(Face(b), static_cast<TColor>(0xD2BDB6));
    Display.PressButton(At(b));
    Pump();
    EXPECT_EQ(Face(b), static_cast<TColor>(0xB59385));
    EXPECT_TRUE(b->Focused());  // the click took the focus first
    ReleaseAt(At(b));
    EXPECT_EQ(Clicks.size(), 1u);
    Away();
    EXPECT_EQ(Face(b), static_cast<TColor>(0xD2BDB6));  // focused looks hot
    other->SetFocus();
    Pump();
    EXPECT_EQ(Face(b), face);
    b->SetEnabled(false);
    Hover(b);
    EXPECT_EQ(Face(b), face);
    Display.PressButton(At(b));
    Pump();
    ReleaseAt(At(b));
    EXPECT_EQ(Clicks.size(), 1u);  // a disabled button never clicks
}

TEST_F(PushButtonTest, ClickOnlyWhenReleasedOverTheButton)
{
    struct Case {
        const char* Name;
        std::vector<TPoint> Path;  // control points the mouse visits while held
        size_t Clicks;
    };
    const std::vector<Case> cases = {
        {"straight release", {}, 1},
        {"dragged off", {{200, 12}}, 0},
        {"dragged off and back", {{200, 12}, {30, 12}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* b = NewButton();
        Clicks.clear();
        Press(b);
        TPoint last = At(b);
        for (TPoint p : c.Path) {
            last = At(b, p.X, p.Y);
            Display.MoveMouse(last);
            Pump();
        }
        if (!c.Path.empty() && c.Path.back().X == 30) EXPECT_TRUE(b->Down());
        ReleaseAt(last);
        EXPECT_EQ(Clicks.size(), c.Clicks);
        EXPECT_FALSE(b->Down());
        delete b;
        Pump();
    }
}

TEST_F(PushButtonTest, SpaceClicksOnReleaseAndOnlyWithCanFocused)
{
    auto* b = NewButton();
    b->SetFocus();
    Pump();
    Display.KeyDown(win::VK_SPACE, U' ');
    Pump();
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(Clicks.empty());
    Display.KeyUp(win::VK_SPACE);
    Pump();
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Clicks.size(), 1u);
    b->SetGroupIndex(1);  // turns CanFocused and TabStop off
    EXPECT_FALSE(b->CanFocused());
    EXPECT_FALSE(b->TabStop());
    Display.PressKey(win::VK_SPACE, U' ');
    Pump();
    EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(PushButtonTest, HotFadeStepsFiveTimesEachWayAndReversesFromWhereItIs)
{
    auto* b = NewButton();
    b->SetCanFocused(false);  // a focused button keeps its hot look
    SkinButton(b, true);
    ASSERT_TRUE(b->HotFadeActive());
    Hover(b);
    std::vector<int> steps;
    for (int i = 0; i < 6; ++i) {
        AdvanceMs(20);
        steps.push_back(b->HotFade().Step());
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 5}));
    EXPECT_FALSE(b->MorphTimerRunning());
    EXPECT_EQ(ScreenColor(b, 30, 12), kHot);
    Away();
    AdvanceMs(20);
    AdvanceMs(20);
    EXPECT_EQ(b->HotFade().Step(), 3);
    // A blended frame lies between the two pictures.
    const TColor mid = ScreenColor(b, 30, 12);
    EXPECT_NE(mid, kHot);
    EXPECT_NE(mid, kRest);
    Hover(b);  // back in: the fade turns round at step 3
    AdvanceMs(20);
    EXPECT_EQ(b->HotFade().Step(), 4);
    Away();
    for (int i = 0; i < 6; ++i) AdvanceMs(20);
    EXPECT_EQ(b->HotFade().Step(), 0);
    EXPECT_FALSE(b->MorphTimerRunning());
    EXPECT_EQ(ScreenColor(b, 30, 12), kRest);
}

TEST_F(PushButtonTest, FrameAnimationPlaysForwardOnEnterAndBackwardOnLeave)
{
    // Three frames, laid side by side (a strip wider than the button) or one below the other.
    const TColor frames[3] = {static_cast<TColor>(0x202020), static_cast<TColor>(0x404040),
                              static_cast<TColor>(0x606060)};
    for (const bool sideBySide : {true, false}) {
        SCOPED_TRACE(sideBySide ? "side by side" : "stacked");
        auto* b = NewButton();
        b->SetCanFocused(false);
        auto* r = SkinButton(b, false);
        const TRect stripInPicture = sideBySide ? Rect(225, 0, 450, 25) : Rect(225, 0, 300, 75);
        for (int k = 0; k < 3; ++k)
            controlstest::Fill(PictureAt(r->PictureIndex),
                               sideBySide ? Rect(225 + k * 75, 0, 300 + k * 75, 25) : Rect(225, k * 25, 300, k * 25 + 25),
                               frames[k]);
        r->AnimateSkinRect = stripInPicture;
        r->FrameCount = 3;
        r->AnimateInterval = 30;
        b->ChangeSkinData();
        Hover(b);
        std::vector<TColor> seen{ScreenColor(b, 30, 12)};
        for (int i = 0; i < 4; ++i) {
            Run(30);
            seen.push_back(ScreenColor(b, 30, 12));
        }
        EXPECT_EQ(seen, (std::vector<TColor>{frames[0], frames[1], frames[2], kHot, kHot}));
        EXPECT_FALSE(b->AnimationRunning());
        Away();
        seen = {ScreenColor(b, 30, 12)};
        for (int i = 0; i < 4; ++i) {
            Run(30);
            seen.push_back(ScreenColor(b, 30, 12));
        }
        EXPECT_EQ(seen, (std::vector<TColor>{frames[2], frames[1], frames[0], kRest, kRest}));
        EXPECT_EQ(b->CurrentFrame(), 0);
        // A press stops a running animation at once: the pressed picture, and no more frames.
        Hover(b);
        Display.PressButton(At(b));
        Pump();
        EXPECT_FALSE(b->AnimationRunning());
        EXPECT_EQ(ScreenColor(b, 30, 12), kDown);
        ReleaseAt(At(b));
        Away();
        delete b;
        Skin->CtrlList.clear();
    }
}

TEST_F(PushButtonTest, FrameAnimationNeedsFramesAndSkinEffects)
{
    struct Case {
        const char* Name;
        Integer FrameCount;
        bool Effects;
    };
    for (const Case& c : {Case{"no frames", 0, true}, Case{"effects off", 3, false}}) {
        SCOPED_TRACE(c.Name);
        auto* b = NewButton();
        b->SetCanFocused(false);
        auto* r = SkinButton(b, false);
        r->AnimateSkinRect = Rect(0, 0, 225, 25);
        r->FrameCount = c.FrameCount;
        Skin->EnableSkinEffects = c.Effects;
        b->ChangeSkinData();
        Hover(b);
        EXPECT_FALSE(b->AnimationRunning());
        EXPECT_EQ(ScreenColor(b, 30, 12), kHot);
        Away();
        delete b;
        Skin->CtrlList.clear();
        Skin->EnableSkinEffects = true;
    }
}

TEST_F(PushButtonTest, SkinnedStatePictures)
{
    auto* b = NewButton();
    auto* other = NewButton(10, 60);
    SkinButton(b, false);
    other->SetFocus();
    Pump();
    EXPECT_EQ(ScreenColor(b, 30, 12), kRest);
    Hover(b);
    EXPECT_EQ(ScreenColor(b, 30, 12), kHot);
    Display.PressButton(At(b));
    Pump();
    EXPECT_EQ(ScreenColor(b, 30, 12), kDown);
    Display.MoveMouse(At(b, 200, 12));
    Pump();
    // Off the button while held: focused but pressed by the mouse, so the hot picture.
    EXPECT_EQ(ScreenColor(b, 30, 12), kHot);
    ReleaseAt(At(b, 200, 12));
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(PushButtonTest, RepeatClicksAt600ThenEvery100AndOnRelease)
{
    auto* b = NewButton();
    b->SetRepeatMode(true);
    Press(b);
    Run(500);
    EXPECT_TRUE(Clicks.empty());
    Run(320);
    EXPECT_EQ(Clicks, (std::vector<int64_t>{600, 700, 800}));
    ReleaseAt(At(b));
    EXPECT_EQ(Clicks.size(), 4u);
    Run(300);
    EXPECT_EQ(Clicks.size(), 4u);
    Clicks.clear();
    Press(b);  // a short press clicks once, on release
    Run(400);
    ReleaseAt(At(b));
    EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(PushButtonTest, GroupReleasesTheOthersUnlessAllUpIsAllowed)
{
    auto* a = NewButton(10, 10);
    auto* b = NewButton(10, 60);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    Press(a);
    ReleaseAt(At(a));
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(Clicks.size(), 1u);  // a group button clicks on press
    Press(b);
    ReleaseAt(At(b));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    Press(b);  // the pressed one again: nothing
    ReleaseAt(At(b));
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(Clicks.size(), 2u);

    a->SetAllowAllUp(true);
    b->SetAllowAllUp(true);
    Press(a);
    ReleaseAt(At(a));
    EXPECT_TRUE(a->Down());
    EXPECT_TRUE(b->Down());
    Press(b);  // a second click releases it
    ReleaseAt(At(b));
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Clicks.size(), 4u);
}

TEST_F(PushButtonTest, DefaultAndCancelThroughTheForm)
{
    auto* ok = NewButton(10, 10);
    auto* cancel = NewButton(10, 60);
    auto* bar = new TspSkinScrollBar(Form);
    bar->SetParent(Form);
    bar->SetBounds(10, 120, 200, 19);
    bar->SetCanFocused(true);
    std::vector<const char*> order;
    ok->OnClick = [&](TObject*) { order.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { order.push_back("cancel"); };
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    bar->SetFocus();
    Pump();
    EXPECT_TRUE(ok->Active());
    EXPECT_TRUE(ok->MouseIn());  // the default button looks hot
    EXPECT_EQ(Face(ok), static_cast<TColor>(0xD2BDB6));
    Display.PressKey(win::VK_RETURN);
    Pump();
    EXPECT_EQ(Form->ModalResult(), mrOk);
    Display.PressKey(win::VK_ESCAPE);
    Pump();
    EXPECT_EQ(Form->ModalResult(), mrCancel);
    Display.KeyDown(win::VK_SHIFT);
    Display.PressKey(win::VK_ESCAPE);
    Display.KeyUp(win::VK_SHIFT);
    Pump();
    EXPECT_EQ(order, (std::vector<const char*>{"ok", "cancel"}));
    // Another push button takes the focus: it answers Enter and the default drops its hot look.
    cancel->SetFocus();
    Pump();
    EXPECT_FALSE(ok->Active());
    EXPECT_FALSE(ok->MouseIn());
    Display.PressKey(win::VK_RETURN);
    Pump();
    EXPECT_EQ(order.back(), std::string("cancel"));
    EXPECT_EQ(order.size(), 3u);
}

TEST_F(PushButtonTest, GlowShowIsPostedAfterTheEnterAndNeedsBothPictures)
{
    Display.SetCompositor(true);
    auto* b = NewButton();
    auto* r = SkinButton(b, false);
    r->GlowLayerPictureIndex = AddPicture(85, 35, clWhite);
    r->GlowLayerMaskPictureIndex = 99;  // past the picture list: no glow
    b->Perform(CM_MOUSEENTER, 0, 0);
    Pump();
    EXPECT_FALSE(b->LayerManager()->IsVisible);
    b->Perform(CM_MOUSELEAVE, 0, 0);
    Pump();

    r->GlowLayerMaskPictureIndex = AddPicture(85, 35, clGray);
    b->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(b->LayerManager()->IsVisible);  // not yet: the show was posted
    Pump();
    EXPECT_TRUE(b->LayerManager()->IsVisible);
    b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(b->LayerManager()->IsVisible);
    Pump();
    EXPECT_FALSE(b->LayerManager()->IsVisible);
}

}  // namespace

// An erase outside the button's own paint draws the whole skinned button into the context it was given.
TEST_F(PushButtonTest, EraseOutsideItsOwnPaintDrawsTheButtonIntoTheGivenContext)
{
    auto* b = NewButton();
    SkinButton(b, false);
    TBitmap into(b->Width(), b->Height(), pf24bit);
    controlstest::Fill(&into, Rect(0, 0, b->Width(), b->Height()), clFuchsia);
    b->Perform(win::WM_ERASEBKGND, reinterpret_cast<win::WPARAM>(into.Canvas()->Handle()), 0);
    EXPECT_EQ(into.Canvas()->Pixels(3, 3), kRest);
    EXPECT_EQ(into.Canvas()->Pixels(b->Width() - 2, b->Height() - 2), kRest);
}
