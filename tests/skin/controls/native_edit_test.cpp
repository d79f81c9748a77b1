// The native edit under the skinned edits and the number edit: read-only filtering at the dispatch point,
// Enter and Esc handed to the form, the context menu's items and place, and the number edit's character rules,
// keys and wheel.
#include <gtest/gtest.h>

#include <vector>

#include "platform/controls/edit_clipboard.h"
#include "skin/controls/num_edit.h"
#include "skin/core/interface_texts.h"
#include "tests/skin/controls/controls_fixture.h"
#include "tests/skin/controls/edit_menu_fake.h"

namespace {

using namespace win;

// Remembers the dialog keys the form was given.
class TDialogKeyForm : public TForm {
public:
    using TForm::TForm;
    void WndProc(TMessage& AMessage) override
    {
        if (AMessage.Msg == CM_DIALOGKEY) Keys.push_back(AMessage.WParam);
        TForm::WndProc(AMessage);
    }
    std::vector<WPARAM> Keys;
};

class NativeEditTest : public controlstest::TControlsFixture {
protected:
    template <typename TEdit = TspCustomEdit>
    TEdit* NewEdit(TWinControl* AParent, const std::string& AText)
    {
        auto* e = new TEdit(AParent);
        e->SetParent(AParent);
        e->SetBoundsRect(Bounds(10, 10, 120, 20));
        e->SetText(AText);
        Pump();
        return e;
    }
    void Focus(TWinControl* AControl)
    {
        AControl->SetFocus();
        Pump();
    }
    void Type(int AKey, char32_t AChar = 0)
    {
        Display.PressKey(AKey, AChar);
        Pump();
    }
    void RightClick(TControl* AControl)
    {
        Display.Click(ScreenPoint(AControl, 20, 10), 0x02);
        Pump();
    }

    controlstest::TFakeEditMenuService Menus;
};

TEST_F(NativeEditTest, ReadOnlyDropsEveryEditButCopyStillWorks)
{
    auto* e = NewEdit(Form, "hello");
    e->SetReadOnly(true);
    Focus(e);
    e->SelectAll();
    Type('X', U'x');
    Type(VK_BACK, 8);
    Type(VK_DELETE);
    e->CutToClipboard();
    e->ClearSelection();
    edittext::SetClipboardText(nullptr, "pasted");
    e->PasteFromClipboard();
    e->Undo();
    EXPECT_EQ(e->Text(), "hello");

    RightClick(e);
    ASSERT_EQ(Menus.Shown, 1);
    EXPECT_EQ(Menus.Enabled(), (std::vector<std::string>{"Copy"}));  // everything selected: no Select All
    Menus.Click("Copy");
    EXPECT_EQ(edittext::ClipboardText(), "hello");
}

TEST_F(NativeEditTest, OnKeyPressSeesNoCharacterOfAReadOnlyEditButEnterAndEsc)
{
    auto* e = NewEdit(Form, "abc");
    e->SetReadOnly(true);
    std::vector<char32_t> seen;
    e->OnKeyPress = [&](TObject*, char32_t& AKey) { seen.push_back(AKey); };
    Focus(e);
    Type('Q', U'q');
    Type(VK_RETURN, 13);
    EXPECT_EQ(seen, (std::vector<char32_t>{13}));
}

TEST_F(NativeEditTest, EnterAndEscReachTheFormAndAreNeverInserted)
{
    auto* form = NewForm<TDialogKeyForm>();
    form->Show();
    Pump();
    auto* e = NewEdit(form, "x");
    e->OnKeyPress = [](TObject*, char32_t& AKey) { AKey = U'z'; };  // changes only its own copy
    Focus(e);
    e->SetSelStart(1);
    Type(VK_RETURN, 13);
    Type(VK_ESCAPE, 27);
    EXPECT_EQ(form->Keys, (std::vector<WPARAM>{13, 27}));
    EXPECT_EQ(e->Text(), "x");
}

TEST_F(NativeEditTest, ContextMenuItemsFollowSelectionClipboardAndUndo)
{
    auto* e = NewEdit(Form, "hello world");
    Focus(e);
    struct TCase {
        int SelStart, SelLength;
        bool Clipboard;
        std::vector<std::string> Enabled;
    };
    const std::vector<TCase> cases = {
        {0, 5, false, {"Cut", "Copy", "Delete", "Select All"}},
        {0, 5, true, {"Cut", "Copy", "Paste", "Delete", "Select All"}},
        {3, 0, true, {"Paste", "Select All"}},
        {3, 0, false, {"Select All"}},
        {0, 11, false, {"Cut", "Copy", "Delete"}},
    };
    for (const TCase& c : cases) {
        edittext::SetClipboardText(nullptr, c.Clipboard ? "clip" : "");
        e->SetSelStart(c.SelStart);
        e->SetSelLength(c.SelLength);
        RightClick(e);
        EXPECT_EQ(Menus.Enabled(), c.Enabled) << c.SelStart << "+" << c.SelLength << " clipboard " << c.Clipboard;
    }
    // After a change Undo is offered; an empty edit counts as all selected.
    e->SetSelStart(0);
    e->SetSelLength(5);
    e->ClearSelection();
    edittext::SetClipboardText(nullptr, "");
    e->SetSelLength(0);
    RightClick(e);
    EXPECT_EQ(Menus.Enabled(), (std::vector<std::string>{"Undo", "Select All"}));
    e->SetText("");
    RightClick(e);
    EXPECT_EQ(Menus.Enabled(), (std::vector<std::string>{}));
    ASSERT_EQ(Menus.Items.size(), 8u);
    EXPECT_EQ(Menus.Items[1].Caption, "-");
    EXPECT_EQ(Menus.Items[6].Caption, "-");
}

TEST_F(NativeEditTest, MenuTextsComeFromTheSkinnedFormAndTheMenuGoesAfterACommand)
{
    TspResourceStrData texts(nullptr);
    Menus.Texts = &texts;
    auto* e = NewEdit(Form, "abc");
    RightClick(e);
    EXPECT_EQ(Menus.Items[0].Caption, texts.GetResStr("EDIT_UNDO"));
    EXPECT_EQ(Menus.Items[7].Caption, texts.GetResStr("EDIT_SELECTALL"));
    EXPECT_EQ(Menus.ComponentForm, Form);
    ASSERT_NE(e->SysPopupMenu(), nullptr);
    RightClick(e);  // a new request replaces the menu
    EXPECT_EQ(Menus.Freed, 1);
    e->Perform(SKM_AFTERMENUCOMMAND, 0, 0);
    EXPECT_EQ(e->SysPopupMenu(), nullptr);
    EXPECT_EQ(Menus.Freed, 2);
}

TEST_F(NativeEditTest, KeyboardMenuOpensAtTheEditsCentre)
{
    auto* e = NewEdit(Form, "abc");
    e->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    const TPoint origin = e->ClientOrigin();
    EXPECT_EQ(Menus.ShownAt, (TPoint{origin.X + 60, origin.Y + 10}));
    e->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(Menus.ShownAt, (TPoint{300, 200}));
}

TEST_F(NativeEditTest, NumberEditAdmitsTheCharactersOfANumber)
{
    auto* e = NewEdit<TspSkinNumEdit>(Form, "");
    struct TCase {
        std::string Text;
        bool Float, EditorEnabled;
        char32_t Key;
        bool Valid;
    };
    const std::vector<TCase> cases = {
        {"12", false, true, U'5', true},   {"12", false, true, U'a', false},  {"12", false, true, U'-', true},
        {"12-", false, true, U'-', false}, {"-1", false, true, U'-', false},  {"1", false, true, U'.', false},
        {"1", true, true, U'.', true},     {"1.5", true, true, U'.', false},  {"1", false, true, 8, true},
        {"1", false, true, 13, false},     {"1", false, true, 3, true},       {"1", false, false, U'5', false},
        {"1", false, false, U'-', false},  {"1", false, false, 8, false},     {"1", false, false, 3, true},
        {"1", false, true, U' ', false},
    };
    for (const TCase& c : cases) {
        e->SetText(c.Text);
        e->Float = c.Float;
        e->FEditorEnabled = c.EditorEnabled;
        EXPECT_EQ(e->IsValidChar(c.Key), c.Valid)
            << "\"" << c.Text << "\" + " << static_cast<int>(c.Key) << " float " << c.Float;
    }
}

TEST_F(NativeEditTest, NumberEditRefusesWithABeepAndStepsWithKeysAndWheel)
{
    auto* e = NewEdit<TspSkinNumEdit>(Form, "4");
    std::vector<std::string> steps;
    int keyDowns = 0;
    e->FOnUpClick = [&](TObject*) { steps.push_back("up"); };
    e->FOnDownClick = [&](TObject*) { steps.push_back("down"); };
    e->OnKeyDown = [&](TObject*, WORD& AKey, TShiftState) { keyDowns += AKey == VK_UP || AKey == VK_DOWN; };
    e->FEditorEnabled = false;
    Focus(e);
    e->SetSelStart(1);
    const int beeps = Display.BeepCount();
    Type('7', U'7');
    EXPECT_EQ(e->Text(), "4");
    EXPECT_EQ(Display.BeepCount(), beeps + 1);
    Type(VK_UP);
    Type(VK_DOWN);
    EXPECT_EQ(keyDowns, 0);
    Display.Wheel(ScreenPoint(e, 5, 5), 120);  // away from the user
    Pump();
    Display.Wheel(ScreenPoint(e, 5, 5), -120);
    Pump();
    EXPECT_EQ(steps, (std::vector<std::string>{"up", "down", "up", "down"}));
}

}  // namespace
