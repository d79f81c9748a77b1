// The box as built, before it is shown: its client size, where the text, the picture, the show-again box and
// the buttons go, and which buttons answer Enter and Esc.
#include <gtest/gtest.h>

#include "platform/gui/ext_controls.h"
#include "platform/gui/image_list.h"
#include "platform/gui/bitmap.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/std_label.h"
#include "skin/forms/skin_form.h"
#include "tests/skin/dialogs/message_box/message_box_fixture.h"

namespace msgboxtest {
namespace {

class MessageBoxGeometry : public TMessageBoxFixture {};

struct TLayoutCase {
    const char* Name;
    TMsgDlgButtons Buttons;
    std::string Text;
    std::vector<TMsgDlgBtn> Order;  // left to right
    int Default;                    // index into Order, -1 none
    int Cancel;
};

TEST_F(MessageBoxGeometry, ClientSizeTextIconAndButtonRowFollowTheTextAndTheButtonSet)
{
    const std::string longText(40, 'W');
    const std::vector<TLayoutCase> cases = {
        {"OK alone, short text", {mbOK}, "Saved.", {mbOK}, 0, 0},
        {"yes/no", {mbNo, mbYes}, "Overwrite the file?", {mbYes, mbNo}, 0, 1},
        {"ok/cancel", {mbOK, mbCancel}, "Do you want to overwrite old file?", {mbOK, mbCancel}, 0, 1},
        {"abort/retry/ignore", {mbAbort, mbRetry, mbIgnore}, "x", {mbAbort, mbRetry, mbIgnore}, 1, -1},
        {"yes/no/cancel", {mbYes, mbNo, mbCancel}, "Save?", {mbYes, mbNo, mbCancel}, 0, 2},
        {"all twelve, long text", TMsgDlgButtons::FromBits(0xFFF), longText,
         {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose},
         2, 3},
        {"OK alone, long text", {mbOK}, longText, {mbOK}, 0, 0},
        {"two lines", {mbOK}, "The snapshot could not be taken.\nThe disk is full.", {mbOK}, 0, 0},
        {"no buttons", {}, "Working", {}, -1, -1},
        {"ignore alone", {mbIgnore}, "x", {mbIgnore}, -1, -1},
    };
    for (const TLayoutCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto box = Build(c.Text, mtWarning, c.Buttons);
        TspSkinStdLabel* text = box->Message;
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Caption(), c.Text);
        EXPECT_EQ(text->Left(), 50);
        EXPECT_EQ(text->Top(), 15);
        const Integer n = static_cast<Integer>(c.Order.size());
        const Integer row = n == 0 ? 0 : n * 70 + (n - 1) * 10;
        // Never narrower than the skinned form allows.
        const Integer frame = box->Width() - box->ClientWidth();
        const Integer clientWidth = std::max(std::max(row, 50 + text->Width()) + 40, box->CVL->GetMinWidth() - frame);
        const Integer clientHeight = 25 + text->Height() + 50;
        EXPECT_EQ(box->ClientWidth(), clientWidth);
        EXPECT_EQ(box->ClientHeight(), clientHeight);
        ASSERT_NE(box->Picture, nullptr);
        EXPECT_EQ(box->Picture->BoundsRect(),
                  Bounds(5, std::max(10, 15 + text->Height() / 2 - 16), 32, 32));
        EXPECT_EQ(box->Picture->Picture()->Width(), 32);
        Integer x = (clientWidth - row) / 2;
        Integer buttons = 0;
        for (Integer b = 0; b < kMsgDlgButtonCount; ++b) buttons += ButtonOf(box.get(), TMsgDlgBtn(b)) != nullptr;
        EXPECT_EQ(buttons, n);
        for (int i = 0; i < n; ++i) {
            TspSkinButton* button = ButtonOf(box.get(), c.Order[i]);
            ASSERT_NE(button, nullptr) << ButtonName(c.Order[i]);
            EXPECT_EQ(button->BoundsRect(), Bounds(x, clientHeight - 35, 70, 25)) << ButtonName(c.Order[i]);
            EXPECT_EQ(button->Default(), i == c.Default) << ButtonName(c.Order[i]);
            EXPECT_EQ(button->Cancel(), i == c.Cancel) << ButtonName(c.Order[i]);
            EXPECT_EQ(button->ModalResult(), ButtonModalResult(c.Order[i]));
            x += 80;
        }
        EXPECT_EQ(box->DisplayCheckBox, nullptr);
    }
}

TEST_F(MessageBoxGeometry, OneShortLineWithOkPinsTheMargins)
{
    auto box = Build("Saved.", mtInformation, {mbOK});
    const Integer lineHeight = box->Message->Height();
    EXPECT_GT(lineHeight, 10);
    EXPECT_EQ(box->ClientHeight(), 25 + lineHeight + 50);
    TspSkinButton* ok = ButtonOf(box.get(), mbOK);
    // The text is wider than the row: 40 right of it; the button centred, 10 above the bottom, 25 below the text.
    EXPECT_EQ(box->ClientWidth(), 50 + box->Message->Width() + 40);
    EXPECT_EQ(ok->BoundsRect(), Bounds((box->ClientWidth() - 70) / 2, box->ClientHeight() - 35, 70, 25));
    EXPECT_EQ(ok->Top() - (box->Message->Top() + lineHeight), 25);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(box->Caption(), "Information");

    // A line break gives two lines; a long line is not wrapped.
    auto twoLines = Build("Saved.\nSaved.", mtInformation, {mbOK});
    EXPECT_EQ(twoLines->Message->Height(), 2 * lineHeight);
    EXPECT_EQ(twoLines->Message->Width(), box->Message->Width());

    // An "&" in a file name is shown, not taken for an accelerator.
    auto ampersand = Build("Tom & Jerry.mp4", mtInformation, {mbOK});
    auto blank = Build("Tom  Jerry.mp4", mtInformation, {mbOK});
    EXPECT_GT(ampersand->Message->Width(), blank->Message->Width());

    // A row wider than the text keeps 20 on each side of it.
    auto three = Build("x", mtInformation, {mbYes, mbNo, mbCancel});
    EXPECT_EQ(three->ClientWidth(), 270);
    EXPECT_EQ(ButtonOf(three.get(), mbYes)->Left(), 20);
    EXPECT_EQ(ButtonOf(three.get(), mbCancel)->BoundsRect().Right, 250);
}

TEST_F(MessageBoxGeometry, ASkinButtonRecordSetsTheButtonHeightAndOnlyARecordOfThatClassDoes)
{
    TspSkinData* skin = NewSkin();
    AddButtonRecord(skin, "button", 31);
    Box->SetCtrlSkinData(skin);
    auto box = Build("Saved.", mtInformation, {mbOK, mbCancel});
    const Integer lineHeight = box->Message->Height();
    EXPECT_EQ(box->ClientHeight(), 31 + lineHeight + 50);
    EXPECT_EQ(ButtonOf(box.get(), mbCancel)->BoundsRect().Height(), 31);
    EXPECT_EQ(ButtonOf(box.get(), mbCancel)->Top(), box->ClientHeight() - 41);

    // A record of that name but another class, or no record of that name: 25.
    auto other = std::make_unique<TspDataSkinControl>("otherbutton");
    skin->CtrlList.push_back(std::move(other));
    for (const char* name : {"otherbutton", "nosuchbutton"}) {
        Box->SetButtonSkinDataName(name);
        auto plain = Build("Saved.", mtWarning, {mbOK});
        EXPECT_EQ(plain->ClientHeight(), 25 + plain->Message->Height() + 50) << name;
    }
}

TEST_F(MessageBoxGeometry, ShowAgainBoxAddsFortyAboveTheButtonsAndWidensANarrowBox)
{
    Box->SetShowAgainFlag(true);
    auto box = Build("x", mtConfirmation, {mbYes, mbNo});
    TspSkinCheckRadioBox* check = box->DisplayCheckBox;
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->Name(), "checkbox");
    EXPECT_EQ(check->Caption(), "Do not display this message again");
    EXPECT_TRUE(check->Checked());  // ShowAgainFlagValue starts False
    const Integer lineHeight = box->Message->Height();
    EXPECT_EQ(box->ClientHeight(), 25 + lineHeight + 50 + 40);
    TBitmap measure(1, 1, pf24bit);
    measure.Canvas()->Font()->Assign(Box->DefaultFont());
    const Integer textWidth = measure.Canvas()->TextWidth(check->Caption());
    EXPECT_EQ(check->BoundsRect(), Bounds(5, box->ClientHeight() - 25 - 50, textWidth + 55, 30));
    // Two buttons and "x" are narrower than the check box's caption.
    EXPECT_EQ(box->ClientWidth(), textWidth + 60);
    EXPECT_EQ(ButtonOf(box.get(), mbYes)->Left(), (textWidth + 60 - 150) / 2);
    // Its bottom is 10 above the buttons.
    EXPECT_EQ(ButtonOf(box.get(), mbYes)->Top() - check->BoundsRect().Bottom, 10);

    Box->SetShowAgainFlagValue(true);
    EXPECT_FALSE(Build("x", mtConfirmation, {mbOK})->DisplayCheckBox->Checked());
    // The wide builder never adds it.
    std::unique_ptr<TspMessageForm> wide(
        CreateSkinWideMessageDialog("x", mtWarning, {mbOK}, kMessageBoxCentred, kMessageBoxCentred, Box->Settings()));
    EXPECT_EQ(wide->DisplayCheckBox, nullptr);
    EXPECT_EQ(wide->ClientHeight(), 25 + wide->Message->Height() + 50);
}

TEST_F(MessageBoxGeometry, ATextWiderThanTheScreenIsCutToTheMaximumWidthWithTheRowCentredOnWhatIsLeft)
{
    auto box = Build(std::string(400, 'W'), mtError, {mbOK, mbCancel});
    const Integer maxWidth = box->CVL->GetMaxWidth();
    EXPECT_GT(50 + box->Message->Width() + 40, maxWidth);
    EXPECT_EQ(box->Width(), maxWidth);
    EXPECT_EQ(ButtonOf(box.get(), mbOK)->Left(), (box->ClientWidth() - 150) / 2);
}

TEST_F(MessageBoxGeometry, PlacedAtXYUnlessXIsBelowMinusTenThousand)
{
    auto placed = Build("x", mtWarning, {mbOK}, -10000, 40);
    EXPECT_EQ(placed->Position(), poDesigned);
    EXPECT_EQ(placed->Left(), -10000);
    EXPECT_EQ(placed->Top(), 40);
    auto centred = Build("x", mtWarning, {mbOK}, -10001, 40);
    EXPECT_EQ(centred->Position(), poScreenCenter);
    // The box's frame has no buttons, and the user cannot size it.
    EXPECT_TRUE(centred->CVL->BorderIcons().Empty());
    EXPECT_FALSE(centred->CVL->Sizeable());
    EXPECT_EQ(centred->BorderStyle(), bsDialog);
    EXPECT_TRUE(centred->KeyPreview());
}

TEST_F(MessageBoxGeometry, CustomPictureComesFromTheImageListOrIsLeftOut)
{
    TImageList images(App.get(), 48, 40);
    TBitmap picture(48, 40, pf24bit);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 48, 40));
    images.Add(&picture, nullptr);
    const auto settings = Box->Settings();
    struct TCase {
        TCustomImageList* Images;
        Integer Index;
        bool Shown;
    } cases[] = {{&images, 0, true}, {&images, 1, false}, {&images, -1, false}, {nullptr, 0, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Index);
        std::unique_ptr<TspMessageForm> box(CreateSkinCustomMessageDialog(
            "Custom", "My title", c.Images, c.Index, {mbOK}, kMessageBoxCentred, kMessageBoxCentred, settings));
        EXPECT_EQ(box->Caption(), "My title");
        EXPECT_EQ(box->Message->Left(), 50);
        EXPECT_EQ(box->Picture != nullptr, c.Shown);
        if (box->Picture) {
            // No lower limit for a list picture: it may start above 10.
            EXPECT_EQ(box->Picture->BoundsRect(), Bounds(5, 15 + box->Message->Height() / 2 - 16, 48, 40));
            EXPECT_TRUE(box->Picture->Transparent());
        }
    }
    // mtCustom has no stock icon either; its title is the application's.
    App->SetTitle("Quennary");
    auto custom = Build("x", mtCustom, {mbOK});
    EXPECT_EQ(custom->Picture, nullptr);
    EXPECT_EQ(custom->Caption(), "Quennary");
    EXPECT_EQ(custom->Message->Left(), 50);
}

TEST_F(MessageBoxGeometry, CaptionsComeFromTheSkinTextsWhenThereAreAnyWithoutFallBackPerKey)
{
    struct TCase {
        const char* Name;
        bool Skin;
        std::vector<std::string> Lines;
        const char* Yes;
        const char* Close;
        const char* Title;     // for mtWarning
        const char* ShowFlag;  // the check box
    } cases[] = {
        {"no skin data", false, {}, "&Yes", "Close", "Warning", "Do not display this message again"},
        {"skin without texts", true, {}, "&Yes", "Close", "Warning", "Do not display this message again"},
        {"translated", true,
         {"MSG_BTN_YES=&Ja", "MSG_BTN_CLOSE=Schlie\xC3\x9F" "en", "MSG_CAP_WARNING=Warnung",
          "MSG_CAP_SHOWFLAG=Nicht mehr zeigen"},
         "&Ja", "Schlie\xC3\x9F" "en", "Warnung", "Nicht mehr zeigen"},
        // A key the texts lack gives an empty caption; only the show-again box falls back.
        {"keys missing", true, {"MSG_BTN_NO=Nein"}, "", "", "", "Do not display this message again"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TspSkinData* skin = nullptr;
        if (c.Skin) {
            skin = NewSkin();
            if (!c.Lines.empty()) SetTexts(skin, c.Lines);
        }
        Box->SetCtrlSkinData(skin);
        Box->SetShowAgainFlag(true);
        auto box = Build("x", mtWarning, {mbYes, mbClose});
        EXPECT_EQ(ButtonOf(box.get(), mbYes)->Caption(), c.Yes);
        EXPECT_EQ(ButtonOf(box.get(), mbClose)->Caption(), c.Close);
        EXPECT_EQ(box->Caption(), c.Title);
        EXPECT_EQ(box->DisplayCheckBox->Caption(), c.ShowFlag);
        EXPECT_EQ(GetDlgTypeCaption(mtCustom, skin), "");
    }
}

}  // namespace
}  // namespace msgboxtest
