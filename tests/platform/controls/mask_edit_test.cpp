// The mask layer on the time mask the skinned time edit uses: overwrite typing that skips literals, the blank
// written by Backspace and Delete, Text formatted into the mask, and OnKeyPress seeing keys first.
#include "controls_fixture.h"

#include "platform/controls/mask_edit.h"

namespace controlstest {
namespace {

constexpr const char* kTimeMask = "!90:00:00.000;1; ";

class MaskEdit : public TControlsFixture {
protected:
    TMaskEdit* AddMasked()
    {
        auto* edit = AddEdit<TMaskEdit>();
        edit->SetAutoSelect(false);
        edit->SetEditMask(kTimeMask);
        Key(VK_HOME);
        return edit;
    }
    // The caret's position must be one a digit can go to, or the end.
    void ExpectCaretOnEditable(TMaskEdit* AEdit)
    {
        int at = AEdit->SelStart();
        std::string text = AEdit->EditText();
        if (at < static_cast<int>(text.size())) {
            EXPECT_NE(text[static_cast<size_t>(at)], ':') << at;
            EXPECT_NE(text[static_cast<size_t>(at)], '.') << at;
        }
    }
};

TEST_F(MaskEdit, EmptyMaskShowsBlanksAndLiterals)
{
    auto* edit = AddMasked();
    EXPECT_EQ(edit->EditText(), "  :  :  .   ");
    EXPECT_EQ(edit->Text(), "  :  :  .   ");
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 1);  // overwrite: the next key replaces this position
}

TEST_F(MaskEdit, TypingOverwritesAndSkipsLiterals)
{
    auto* edit = AddMasked();
    const int expectedStart[] = {1, 3, 4, 6, 7, 9, 10, 11, 12};
    const std::string digits = "123456789";
    for (size_t i = 0; i < digits.size(); ++i) {
        Type(digits.substr(i, 1));
        EXPECT_EQ(edit->SelStart(), expectedStart[i]) << i;
        ExpectCaretOnEditable(edit);
    }
    EXPECT_EQ(edit->Text(), "12:34:56.789");
    Type("0");  // no room left
    EXPECT_EQ(edit->Text(), "12:34:56.789");

    Key(VK_HOME);
    Type("x");  // not a digit
    EXPECT_EQ(edit->Text(), "12:34:56.789");
    for (int i = 0; i < 4; ++i) {
        Key(VK_RIGHT);
        ExpectCaretOnEditable(edit);
    }
    EXPECT_EQ(edit->SelStart(), 6);
    Key(VK_LEFT);
    EXPECT_EQ(edit->SelStart(), 4);
}

TEST_F(MaskEdit, BackspaceAndDeleteWriteTheBlank)
{
    auto* edit = AddMasked();
    Type("123456789");
    Key(VK_HOME);
    Key(VK_RIGHT);
    Key(VK_RIGHT);  // on the 3
    Key(VK_BACK, {}, 8);
    EXPECT_EQ(edit->Text(), "1 :34:56.789");
    EXPECT_EQ(edit->SelStart(), 1);
    Key(VK_BACK, {}, 8);
    EXPECT_EQ(edit->Text(), "  :34:56.789");
    Key(VK_BACK, {}, 8);  // nothing before the first position
    EXPECT_EQ(edit->SelStart(), 0);
    Key(VK_END);
    Key(VK_BACK, {}, 8);
    EXPECT_EQ(edit->Text(), "  :34:56.78 ");
    Key(VK_HOME);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_DELETE);
    EXPECT_EQ(edit->Text(), "  : 4:56.78 ");
    EXPECT_EQ(edit->SelStart(), 3);

    edit->SelectAll();
    Key(VK_DELETE);
    EXPECT_EQ(edit->Text(), "  :  :  .   ");
}

TEST_F(MaskEdit, AssigningTextFormatsIntoTheMask)
{
    auto* edit = AddMasked();
    const std::pair<std::string, std::string> cases[] = {
        {"01:02:03.004", "01:02:03.004"},
        {"1:02:03.004", " 1:02:03.004"},    // leading blanks for the optional digit
        {"12:34:56.78901", "12:34:56.789"},  // a longer text keeps what fits
        {"12:34", "12:34:  .   "},
        {"ab:cd:ef.ghi", "  :  :  .   "},
        {"", "  :  :  .   "},
    };
    for (const auto& [value, shown] : cases) {
        edit->SetText(value);
        EXPECT_EQ(edit->EditText(), shown) << value;
    }
    edit->SetEditMask("!90:00;1; ");
    edit->SetText("00:01:02.003");  // written whatever the mask says: what does not fit is dropped
    EXPECT_EQ(edit->EditText(), "00:01");
    edit->ValidateEdit();
}

TEST_F(MaskEdit, OnKeyPressComesBeforeTheMask)
{
    auto* edit = AddMasked();
    std::vector<int> seenAt;
    edit->OnKeyPress = [&](TObject*, char32_t& AKey) {
        seenAt.push_back(edit->SelStart());
        if (AKey == '5')
            AKey = 0;
        else if (AKey == '1')
            AKey = '7';
    };
    Type("152");
    EXPECT_EQ(edit->Text(), "72:  :  .   ");
    EXPECT_EQ(seenAt, (std::vector<int>{0, 1, 1}));
}

TEST_F(MaskEdit, PasteTypesIntoTheMaskAndUndoWorks)
{
    auto* edit = AddMasked();
    edittext::SetClipboardText(nullptr, "12:3x4");
    Key('V', {VK_CONTROL}, 22);
    EXPECT_EQ(edit->Text(), "12:34:  .   ");
    edit->SelectAll();
    Key('X', {VK_CONTROL}, 24);
    EXPECT_EQ(edittext::ClipboardText(), "12:34:  .   ");
    EXPECT_EQ(edit->Text(), "  :  :  .   ");
    Key('Z', {VK_CONTROL}, 26);
    EXPECT_EQ(edit->Text(), "12:34:  .   ");
}

}  // namespace
}  // namespace controlstest
