// Skinned hints: line separators, the size in the plain look and in a skin frame, placement inside the work
// area, the delayed hint's pending -> shown -> hidden course on the virtual clock, the one active component,
// the fade, and handing the application's hint handling back when the component goes.
#include <memory>

#include "platform/gdi/gdi.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/exceptions.h"
#include "skin/controls/skin_control.h"
#include "skin/forms/hint_component.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

class HintTest : public TMenusFixture {
protected:
    void SetUp() override
    {
        TMenusFixture::SetUp();
        App->SetMainForm(Form);
        Hint = new TspSkinHint(Form);
    }

    TSize TextSize(const std::string& AText, TFont* AFont)
    {
        TBitmap b;
        b.SetSize(1, 1);
        b.Canvas()->Font()->Assign(AFont);
        TRect r = Rect(0, 0, 0, 0);
        win::DrawText(b.Canvas()->Handle(), AText, &r, win::DT_CALCRECT | win::DT_NOPREFIX);
        return TSize{r.Width(), r.Height()};
    }

    // A skin whose hint picture is APictureW x 30 with a 5-pixel frame around its text area.
    TspSkinData* NewHintSkin(Integer APictureW = 40)
    {
        auto* skin = new TspSkinData(Form);
        auto picture = std::make_unique<TBitmap>(APictureW, 30, pf24bit);
        picture->Canvas()->Brush()->SetColor(static_cast<TColor>(0x80C0F0));
        picture->Canvas()->FillRect(Rect(0, 0, APictureW, 30));
        skin->FActivePictures.push_back(std::move(picture));
        skin->FActivePicturesNames->Add("hint.bmp");
        skin->Empty = false;
        auto* rec = skin->HintWindow.get();
        rec->WindowPictureIndex = 0;
        rec->LTPoint = {5, 5};
        rec->RTPoint = {APictureW - 5, 5};
        rec->LBPoint = {5, 25};
        rec->RBPoint = {APictureW - 5, 25};
        rec->ClRect = Rect(5, 5, APictureW - 5, 25);
        rec->FontName = Hint->DefaultFont()->Name();
        rec->FontHeight = Hint->DefaultFont()->Height();
        return skin;
    }

    TspSkinHint* Hint = nullptr;
};

TEST_F(HintTest, SeparatorsBecomeLineBreaksInOnePass)
{
    struct Case {
        const char* Text;
        const char* Separator;
        const char* Expected;
    };
    const Case cases[] = {
        {"one@two", "@", "one\n\rtwo"},
        {"one@@two", "@", "one\n\r\n\rtwo"},
        {"one@two", "", "one@two"},
        {"a||b|", "||", "a\n\rb|"},
        // A separator made of the break's own characters is replaced once, not forever.
        {"a\nb", "\n", "a\n\rb"},
        {"a\rb\r", "\r", "a\n\rb\n\r"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TspSkinHintWindow::ReplaceLineSeparator(c.Text, c.Separator), c.Expected) << c.Text;
    EXPECT_THROW(Hint->SetLineSeparator("\n"), EInvalidArgument);
    EXPECT_THROW(Hint->SetLineSeparator("x\r"), EInvalidArgument);
    EXPECT_EQ(Hint->LineSeparator(), "@");
}

TEST_F(HintTest, APlainHintIsItsTextPlus4AndASeparatorAddsALine)
{
    Hint->ActivateHint({100, 100}, "Convert the list");
    TspSkinHintWindow* w = Hint->Window();
    const TSize one = TextSize("Convert the list", Hint->DefaultFont());
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(w->BoundsRect(), Bounds(100, 100, one.cx + 4, one.cy + 4));
    EXPECT_EQ(w->Caption(), "Convert the list");

    Hint->ActivateHint({100, 100}, "Convert@the list");
    const TSize line = TextSize("Convert", Hint->DefaultFont());
    EXPECT_EQ(w->Height(), 2 * line.cy + 4);
    Hint->ActivateHint({100, 100}, "Convert@@the list");
    EXPECT_EQ(w->Height(), 3 * line.cy + 4);
}

TEST_F(HintTest, ASkinFrameAddsItsMarginsAndKeepsItsCornersInOrder)
{
    Hint->SetSkinData(NewHintSkin());
    Hint->ActivateHint({100, 100}, "Preview");
    TspSkinHintWindow* w = Hint->Window();
    const TSize text = TextSize("Preview", Hint->DefaultFont());
    ASSERT_EQ(w->SkinData(), Hint->SkinData());
    EXPECT_EQ(w->Width(), text.cx + 5 + 5 + 5);
    EXPECT_EQ(w->Height(), text.cy + 5 + 5);
    EXPECT_EQ(w->NewClRect, Rect(5, 5, w->Width() - 5, w->Height() - 5));
    EXPECT_EQ(w->NewRBPoint, (TPoint{w->Width() - 5, w->Height() - 5}));

    // A wide picture whose right corners sit far right: a short text would put them left of the left ones.
    TspSkinData* wide = NewHintSkin(200);
    wide->HintWindow->LTPoint = {150, 5};
    wide->HintWindow->LBPoint = {150, 25};
    wide->HintWindow->RTPoint = {160, 5};
    wide->HintWindow->RBPoint = {160, 25};
    Hint->SetSkinData(wide);
    Hint->ActivateHint({100, 100}, "x");
    EXPECT_EQ(w->NewRTPoint.X, w->NewLTPoint.X);
    EXPECT_EQ(w->NewRBPoint.X, w->NewLBPoint.X);
    EXPECT_EQ(w->Width(), 200 - 10);

    // A record without its picture falls back to the plain look.
    wide->HintWindow->WindowPictureIndex = 7;
    Hint->ActivateHint({100, 100}, "x");
    EXPECT_EQ(w->SkinData(), nullptr);
    EXPECT_EQ(w->Width(), TextSize("x", Hint->DefaultFont()).cx + 4);
}

TEST_F(HintTest, AHintPastTheWorkAreaMovesLeftOrUpByItsSizePlus2)
{
    TspSkinHintWindow* w = Hint->Window();
    Hint->ActivateHint({100, 100}, "Output folder");
    const Integer width = w->Width(), height = w->Height();

    Hint->ActivateHint({1020, 100}, "Output folder");
    EXPECT_EQ(w->Left(), 1020 - width - 2);
    EXPECT_EQ(w->Top(), 100);
    Hint->ActivateHint({100, 735}, "Output folder");
    EXPECT_EQ(w->Left(), 100);
    EXPECT_EQ(w->Top(), 735 - height - 2);
    // The left and top edges are not corrected.
    Hint->ActivateHint({-5, -5}, "Output folder");
    EXPECT_EQ(w->Left(), -5);

    // Beside a rectangle: centred on it, below it or above it.
    w->ActivateHintFromRect(Rect(200, 300, 300, 320), "Output folder", false);
    EXPECT_EQ(w->BoundsRect(), Bounds(250 - width / 2, 320, width, height));
    w->ActivateHintFromRect(Rect(200, 300, 300, 320), "Output folder", true);
    EXPECT_EQ(w->Top(), 300 - height);
}

TEST_F(HintTest, ADelayedHintIsPendingThenShownThenHidden)
{
    App->HintPause = 500;
    App->HintHidePause = 2500;
    Display.MoveMouse({300, 200});
    Pump();
    Hint->ActivateHint2("Pause");
    EXPECT_EQ(Hint->DelayState(), TspSkinHint::TDelayState::Pending);
    Run(490);
    EXPECT_FALSE(Hint->IsVisible());
    Run(20);
    EXPECT_EQ(Hint->DelayState(), TspSkinHint::TDelayState::Shown);
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(Hint->Window()->Left(), 300);
    EXPECT_EQ(Hint->Window()->Top(), 200 + Hint->GetCursorHeightMargin());
    Run(2480);  // shown at 500 ms, hidden at 3000 ms
    EXPECT_TRUE(Hint->IsVisible());
    Run(20);
    EXPECT_EQ(Hint->DelayState(), TspSkinHint::TDelayState::Idle);
    EXPECT_FALSE(Hint->IsVisible());

    // A new request restarts the wait; HideHint drops a pending one.
    Hint->ActivateHint2("first");
    Run(300);
    Hint->ActivateHint3(Rect(10, 10, 110, 30), "second", false);
    Run(300);
    EXPECT_FALSE(Hint->IsVisible());
    Run(210);
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(Hint->Window()->Caption(), "second");
    EXPECT_EQ(Hint->Window()->Top(), 30);
    Hint->HideHint();
    Hint->ActivateHint2("third");
    Hint->HideHint();
    Run(1000);
    EXPECT_FALSE(Hint->IsVisible());
    EXPECT_EQ(Hint->DelayState(), TspSkinHint::TDelayState::Idle);
}

TEST_F(HintTest, OneComponentIsActiveAndWithoutOneNothingShows)
{
    auto* second = new TspSkinHint(Form);
    second->SetActive(true);
    EXPECT_FALSE(Hint->Active());
    EXPECT_EQ(FindActiveSkinHint(), second);
    Hint->SetActive(true);
    EXPECT_FALSE(second->Active());
    EXPECT_EQ(FindActiveSkinHint(), Hint);

    Hint->SetActive(false);
    EXPECT_EQ(FindActiveSkinHint(), nullptr);
    Hint->ActivateHint({100, 100}, "nothing");
    EXPECT_FALSE(Hint->IsVisible());
}

TEST_F(HintTest, ASkinnedControlsTitleAndImageGoToTheNextHintAndAPlainControlDropsThem)
{
    auto* images = new TImageList(Form, 16, 16);
    TBitmap picture(16, 16, pf24bit);
    images->Add(&picture, nullptr);
    auto* skinned = new TspSkinControl(Form);
    skinned->SetHintTitle("Trim");
    skinned->SetHintImageList(images);
    auto* plain = new TCustomControl(Form);

    std::string text = "Cut the start and end";
    bool canShow = true;
    THintInfo info;
    info.HintControl = skinned;
    ASSERT_TRUE(App->OnShowHint);
    App->OnShowHint(text, canShow, info);
    EXPECT_EQ(Hint->HintTitle(), "Trim");
    EXPECT_EQ(Hint->HintImageList(), images);

    // The plain activation turns into the titled one while a title is held: a bold line and the image.
    TspSkinHintWindow* w = Hint->Window();
    w->ActivateHint(Rect(100, 100, 100, 100), text);
    EXPECT_TRUE(w->ExtendedStyle());
    EXPECT_EQ(w->Title(), "Trim");
    const TSize body = TextSize(text, Hint->DefaultFont());
    const TSize title = TextSize("Trim", Hint->DefaultFont());
    EXPECT_EQ(w->Width(), std::max(body.cx, title.cx) + 16 + 10 + 4);
    EXPECT_EQ(w->Height(), body.cy + title.cy + 10 + 4);

    info.HintControl = plain;
    App->OnShowHint(text, canShow, info);
    EXPECT_EQ(Hint->HintTitle(), "");
    EXPECT_EQ(Hint->HintImageList(), nullptr);
    w->ActivateHint(Rect(100, 100, 100, 100), text);
    EXPECT_FALSE(w->ExtendedStyle());

    // An index outside the list is ignored in size.
    w->ActivateHintEx(Rect(100, 100, 100, 100), "", text, 5, images);
    EXPECT_EQ(w->Width(), body.cx + 4);
}

TEST_F(HintTest, TheFadeRunsOnlyWithLayeredWindowsAndAlphaBlendOn)
{
    Hint->AlphaBlendAnimation = true;
    Hint->ActivateHint({100, 100}, "opaque");
    EXPECT_EQ(Hint->Window()->CurrentAlpha(), 255);
    EXPECT_FALSE(Hint->Window()->Fading());

    // Without a compositor the system has no layered windows: the support stays off.
    Hint->SetAlphaBlendSupport(true);
    EXPECT_FALSE(Hint->AlphaBlendSupport());

    Display.SetCompositor(true);
    Hint->SetAlphaBlendSupport(true);
    ASSERT_TRUE(Hint->AlphaBlendSupport());
    Hint->AlphaBlend = true;
    Hint->ActivateHint({100, 100}, "fading");
    EXPECT_EQ(Hint->Window()->CurrentAlpha(), 0);
    EXPECT_TRUE(Hint->Window()->Fading());
    Run(300);
    EXPECT_EQ(Hint->Window()->CurrentAlpha(), 200);
    EXPECT_FALSE(Hint->Window()->Fading());

    Hint->AlphaBlendAnimation = false;
    Hint->AlphaBlendValue = 120;
    Hint->ActivateHint({100, 100}, "still");
    EXPECT_EQ(Hint->Window()->CurrentAlpha(), 120);
}

TEST_F(HintTest, TheApplicationHintsGoThroughTheSkinnedWindowAndAreHandedBackWhenTheComponentGoes)
{
    // Made before the component: the application had its own handler.
    delete Hint;
    std::vector<std::string> calls;
    App->OnShowHint = [&calls](std::string&, bool&, THintInfo&) { calls.push_back("own"); };
    Hint = new TspSkinHint(Form);
    EXPECT_EQ(App->HintShortPause, 100);

    auto* button = new TCustomControl(Form);
    button->SetParent(Form);
    button->SetBounds(10, 10, 80, 24);
    button->SetHint("Start converting");
    button->SetShowHint(true);
    Pump();
    App->HintPause = 500;
    Display.MoveMouse(Form->ClientToScreen(TPoint{20, 20}));
    Pump();
    Display.MoveMouse(Form->ClientToScreen(TPoint{21, 20}));
    Run(600);
    ASSERT_NE(App->HintWindow(), nullptr);
    EXPECT_NE(dynamic_cast<TspSkinHintWindow*>(App->HintWindow()), nullptr);
    EXPECT_TRUE(App->HintWindow()->Visible());

    delete Hint;
    Hint = nullptr;
    std::string text = "x";
    bool canShow = true;
    THintInfo info;
    App->OnShowHint(text, canShow, info);
    EXPECT_EQ(calls, std::vector<std::string>{"own"});
    EXPECT_EQ(App->HintWindow(), nullptr);
}

TEST_F(HintTest, AHintWindowOutlivingItsComponentPaintsNothingFromIt)
{
    auto* window = new TspSkinHintWindow(Form);
    window->ActivateHint(Rect(100, 100, 100, 100), "still shown");
    ASSERT_TRUE(window->Visible());
    delete Hint;
    Hint = nullptr;
    window->Invalidate();
    Pump();
    EXPECT_EQ(FindActiveSkinHint(), nullptr);
}

}  // namespace
}  // namespace menustest
