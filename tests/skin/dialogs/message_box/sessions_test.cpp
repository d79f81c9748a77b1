// The box shown modally, driven as a user would: keys and clicks injected once it is up, the modal result and
// the show-again state read back after it has gone.
#include <gtest/gtest.h>

#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/win/input.h"
#include "platform/win/painting.h"
#include "skin/core/skin_startup.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/std_label.h"
#include "skin/forms/skin_form.h"
#include "tests/skin/dialogs/message_box/message_box_fixture.h"

namespace msgboxtest {
namespace {

class MessageBoxSession : public TMessageBoxFixture {};

TEST_F(MessageBoxSession, EnterAndEscAnswerWithTheFocusedDefaultAndTheCancelButton)
{
    struct TCase {
        const char* Name;
        TMsgDlgButtons Buttons;
        bool ShowAgain;  // the user clicks the check box first, so Enter goes to the default button
        int Key;
        Integer Result;
    } cases[] = {
        {"OK alone, Enter", {mbOK}, false, win::VK_RETURN, 1},
        {"OK alone, Esc", {mbOK}, false, win::VK_ESCAPE, 1},
        {"yes/no, Enter", {mbYes, mbNo}, false, win::VK_RETURN, 6},
        {"yes/no, Esc", {mbYes, mbNo}, false, win::VK_ESCAPE, 7},
        {"ok/cancel, Esc", {mbOK, mbCancel}, false, win::VK_ESCAPE, 2},
        // The first button has the focus, and Enter clicks the focused button.
        {"abort/retry/ignore, Enter", {mbAbort, mbRetry, mbIgnore}, false, win::VK_RETURN, 3},
        {"abort/retry/ignore, Enter from the check box", {mbAbort, mbRetry, mbIgnore}, true, win::VK_RETURN, 4},
        {"no/cancel, Enter from the check box: no default button", {mbNo, mbCancel}, true, win::VK_RETURN, 0},
        {"yes/no, Enter from the check box", {mbYes, mbNo}, true, win::VK_RETURN, 6},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Box->SetShowAgainFlag(c.ShowAgain);
        bool closedByKey = true;
        const Integer result = Session(
            [&](TspMessageForm* ABox) {
                // A click puts the focus on the check box, away from the first button.
                if (c.ShowAgain) ClickOn(ABox->DisplayCheckBox);
                Display.PressKey(c.Key);
                if (c.Result == 0) {
                    // Nothing answered Enter: the box is still up, so close it with Esc (Cancel).
                    Pump();
                    closedByKey = ABox->ModalResult() == mrNone;
                    Display.PressKey(win::VK_ESCAPE);
                }
            },
            [&] { return Box->MessageDlg("Question", mtConfirmation, c.Buttons); });
        EXPECT_TRUE(closedByKey);
        EXPECT_EQ(result, c.Result == 0 ? 2 : c.Result);
    }
}

TEST_F(MessageBoxSession, EscWithoutACancelButtonLeavesTheBoxOpenAndAClickAnswers)
{
    bool stillUp = false;
    const Integer result = Session(
        [&](TspMessageForm* ABox) {
            Display.PressKey(win::VK_ESCAPE);
            Pump();
            stillUp = ABox->Visible() && ABox->ModalResult() == mrNone;
            ClickOn(ButtonOf(ABox, mbIgnore));
        },
        [&] { return Box->MessageDlg("Disk not ready", mtError, {mbAbort, mbRetry, mbIgnore}); });
    EXPECT_TRUE(stillUp);
    EXPECT_EQ(result, 5);
}

TEST_F(MessageBoxSession, AcceleratorLettersAndTheHelpButton)
{
    // "&No" answers to N.
    EXPECT_EQ(Session([&](TspMessageForm*) { Display.PressKey('N', U'n'); },
                      [&] { return Box->MessageDlg("Replace?", mtConfirmation, {mbYes, mbNo}); }),
              7);
    // Help keeps the box open; the help context and file are on the box.
    bool stillUp = false;
    Integer context = 0;
    std::string file;
    const Integer result = Session(
        [&](TspMessageForm* ABox) {
            ClickOn(ButtonOf(ABox, mbHelp));
            Pump();
            stillUp = ABox->Visible() && ABox->ModalResult() == mrNone;
            context = ABox->HelpContext;
            file = ABox->HelpFile;
            ClickOn(ButtonOf(ABox, mbOK));
        },
        [&] { return Box->MessageDlgHelp("Read more?", mtInformation, {mbOK, mbHelp}, 42, "guide.txt"); });
    EXPECT_TRUE(stillUp);
    EXPECT_EQ(context, 42);
    EXPECT_EQ(file, "guide.txt");
    EXPECT_EQ(result, 1);
}

TEST_F(MessageBoxSession, ShowAgainStateRoundTripsThroughTheCheckBox)
{
    Box->SetShowAgainFlag(true);
    // Opens ticked; the user unticks it and closes: the message should not come again.
    bool openedTicked = false;
    Session(
        [&](TspMessageForm* ABox) {
            openedTicked = ABox->DisplayCheckBox->Checked();
            ClickOn(ABox->DisplayCheckBox);
            ClickOn(ButtonOf(ABox, mbOK));
        },
        [&] { return Box->MessageDlg("Tip of the day", mtInformation, {mbOK}); });
    EXPECT_TRUE(openedTicked);
    EXPECT_TRUE(Box->ShowAgainFlagValue());

    // Next time it opens unticked; closed with Esc after ticking it again, the message comes back.
    bool openedUnticked = false;
    Session(
        [&](TspMessageForm* ABox) {
            openedUnticked = !ABox->DisplayCheckBox->Checked();
            ClickOn(ABox->DisplayCheckBox);
            Display.PressKey(win::VK_ESCAPE);
        },
        [&] { return Box->MessageDlg2("Tip of the day", "Tips", mtInformation, {mbOK}); });
    EXPECT_TRUE(openedUnticked);
    EXPECT_FALSE(Box->ShowAgainFlagValue());

    // The wide variants have no check box and leave the state alone.
    Box->SetShowAgainFlagValue(true);
    bool hadBox = true;
    Session([&](TspMessageForm* ABox) { hadBox = ABox->DisplayCheckBox; Display.PressKey(win::VK_RETURN); },
            [&] { return Box->WideMessageDlg("Tip", mtInformation, {mbOK}); });
    EXPECT_FALSE(hadBox);
    EXPECT_TRUE(Box->ShowAgainFlagValue());
}

TEST_F(MessageBoxSession, TheBoxKeepsItsBuiltClientSizeOnTheScreenAndIsGoneAfterwards)
{
    auto built = Build("Saved.", mtWarning, {mbOK, mbCancel});
    const TSize expected{built->ClientWidth(), built->ClientHeight()};
    built.reset();
    const Integer formsBefore = Screen->FormCount();
    TSize shown{};
    TRect okOnScreen;
    bool centred = false;
    Session(
        [&](TspMessageForm* ABox) {
            shown = {ABox->ClientWidth(), ABox->ClientHeight()};
            const TRect bounds = ABox->BoundsRect();
            centred = std::abs(bounds.Left + bounds.Width() / 2 - Display.ScreenSize().cx / 2) <= 1 &&
                      std::abs(bounds.Top + bounds.Height() / 2 - Display.ScreenSize().cy / 2) <= 1;
            Display.PressKey(win::VK_ESCAPE);
        },
        [&] { return Box->MessageDlg("Saved.", mtWarning, {mbOK, mbCancel}); });
    EXPECT_EQ(shown.cx, expected.cx);
    EXPECT_EQ(shown.cy, expected.cy);
    EXPECT_TRUE(centred);
    Pump();
    EXPECT_EQ(Screen->FormCount(), formsBefore);
}

TEST_F(MessageBoxSession, ThePositionEventMovesABoxShownAtAPlace)
{
    Integer askedWidth = 0;
    Box->OnSetShowPos = [&](Integer& AX, Integer& AY, Integer AWidth, Integer) {
        EXPECT_EQ(AX, 30);
        EXPECT_EQ(AY, 40);
        askedWidth = AWidth;
        AX = 200;
        AY = 150;
    };
    TPoint at{};
    Integer width = 0;
    Session(
        [&](TspMessageForm* ABox) {
            at = {ABox->Left(), ABox->Top()};
            width = ABox->Width();
            Display.PressKey(win::VK_RETURN);
        },
        [&] { return Box->MessageDlgPos("Here", mtWarning, {mbOK}, 0, 30, 40); });
    EXPECT_EQ(at, (TPoint{200, 150}));
    EXPECT_EQ(askedWidth, width);

    // The wide variant places the box without asking.
    askedWidth = 0;
    Session(
        [&](TspMessageForm* ABox) {
            at = {ABox->Left(), ABox->Top()};
            Display.PressKey(win::VK_RETURN);
        },
        [&] { return Box->WideMessageDlgPos("Here", mtWarning, {mbOK}, 0, 30, 40); });
    EXPECT_EQ(at, (TPoint{30, 40}));
    EXPECT_EQ(askedWidth, 0);
}

TEST_F(MessageBoxSession, SkinnedBoxTakesTheComponentsSkinsForFrameAndControls)
{
    TspSkinData* frame = NewSkin();
    TspSkinData* controls = NewSkin();
    AddButtonRecord(controls, "button", 28);
    Box->SetSkinData(frame);
    Box->SetCtrlSkinData(controls);
    Box->SetAlphaBlend(true);
    Box->SetAlphaBlendValue(180);
    TspSkinData* frameSeen = nullptr;
    TspSkinData* menusSeen = nullptr;
    Byte alpha = 0;
    Integer buttonHeight = 0;
    Session(
        [&](TspMessageForm* ABox) {
            frameSeen = ABox->CVL->SkinData();
            menusSeen = ABox->CVL->MenusSkinData();
            alpha = ABox->CVL->AlphaBlendValue();
            buttonHeight = ButtonOf(ABox, mbOK)->Height();
            Display.PressKey(win::VK_RETURN);
        },
        [&] { return Box->MessageDlg("Skinned", mtWarning, {mbOK}); });
    EXPECT_EQ(frameSeen, frame);
    EXPECT_EQ(menusSeen, controls);
    EXPECT_EQ(alpha, 180);
    EXPECT_EQ(buttonHeight, 28);

    // A skin that goes away is forgotten.
    delete controls;
    EXPECT_EQ(Box->CtrlSkinData(), nullptr);
    EXPECT_EQ(Box->SkinData(), frame);
}

TEST_F(MessageBoxSession, InTheShippedSkinAShortBoxGrowsToTheSkinsMinimumHeightAndGetsItsWholeFrame)
{
    SkinCoreStartUp();
    auto* skin = new TspSkinData(App.get());
    skin->LoadFromFile(std::string(QUENNARY_BINARY_DIR) + "/tools/skin-build/skin-red/skin.ini");
    ASSERT_FALSE(skin->Empty);
    Box->SetSkinData(skin);
    Box->SetCtrlSkinData(skin);
    Integer minHeight = 0, height = 0, clientHeight = 0, okBottom = 0, labelHeight = 0;
    TRect window, region;
    Session(
        [&](TspMessageForm* ABox) {
            minHeight = ABox->CVL->GetMinHeight();
            height = ABox->Height();
            clientHeight = ABox->ClientHeight();
            labelHeight = ABox->Message->Height();
            okBottom = ButtonOf(ABox, mbOK)->BoundsRect().Bottom;
            win::GetWindowRect(ABox->Handle(), window);
            win::HRGN shape = win::CreateRectRgn(0, 0, 0, 0);
            win::GetWindowRgn(ABox->Handle(), shape);
            win::GetRgnBox(shape, &region);
            win::DeleteObject(shape);
            Display.PressKey(win::VK_RETURN);
        },
        [&] { return Box->MessageDlg("Saved.", mtWarning, {mbOK}); });
    // The text and one row of buttons need less than the skin's frame does.
    EXPECT_GT(minHeight, height - clientHeight + 25 + labelHeight + 50);
    EXPECT_EQ(height, minHeight);
    EXPECT_EQ(okBottom, clientHeight - 10);
    EXPECT_EQ(region, Rect(0, 0, window.Width(), window.Height()));
}

}  // namespace
}  // namespace msgboxtest
