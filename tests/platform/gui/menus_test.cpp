#include "gui_fixture.h"

#include "platform/gui/menus.h"

#include <string>
#include <vector>

namespace guitest {
namespace {

using namespace win;

TEST(ShortCuts, TextOfShortCutsAndBack)
{
    struct TCase {
        TShortCut ShortCut;
        std::string Text;
    };
    const std::vector<TCase> cases = {
        {ShortCut(VK_F4, {ssCtrl}), "Ctrl+F4"},
        {ShortCut(VK_F4, {ssAlt}), "Alt+F4"},
        {ShortCut('O', {ssCtrl}), "Ctrl+O"},
        {ShortCut('S', {ssShift, ssCtrl}), "Shift+Ctrl+S"},
        {ShortCut(VK_DELETE, {}), "Del"},
        {ShortCut(VK_RETURN, {ssAlt}), "Alt+Enter"},
        {ShortCut(VK_F12, {ssShift}), "Shift+F12"},
        {ShortCut('7', {ssCtrl, ssAlt}), "Ctrl+Alt+7"},
        {ShortCut(VK_ESCAPE, {}), "Esc"},
        {ShortCut(VK_PRIOR, {}), "PgUp"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ShortCutToText(c.ShortCut), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.ShortCut) << c.Text;
    }
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
    EXPECT_EQ(TextToShortCut("ctrl+o"), ShortCut('O', {ssCtrl}));
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(ShortCut(VK_F4, {ssAlt}), key, shift);
    EXPECT_EQ(key, VK_F4);
    EXPECT_EQ(shift, TShiftState{ssAlt});
}

TEST(ShortCuts, AcceleratorsOfCaptions)
{
    struct TCase {
        char32_t Key;
        std::string Caption;
        bool Accel;
    };
    const std::vector<TCase> cases = {
        {U'f', "&File", true},         {U'F', "&File", true},   {U'i', "&File", false},
        {U'a', "Save &as...", true},   {U'x', "No accel", false}, {U'&', "Fish && &Chips", false},
        {U'c', "Fish && &Chips", true}, {U'x', "Trailing &", false}, {U'\u00e9', "Caf&\u00e9", true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(IsAccel(c.Key, c.Caption), c.Accel) << c.Caption;
    EXPECT_EQ(StripHotkey("Fish && &Chips"), "Fish & Chips");
}

class Menus : public TGuiFixture {
protected:
    TMenuItem* Item(TMenu* AMenu, TMenuItem* AParent, const std::string& ACaption, TShortCut AShortCut = 0)
    {
        auto* item = new TMenuItem(AMenu);
        item->SetCaption(ACaption);
        item->SetShortCut(AShortCut);
        item->OnClick = [this, ACaption](TObject*) { Clicked.push_back(ACaption); };
        AParent->Add(item);
        return item;
    }
    std::vector<std::string> Clicked;
};

TEST_F(Menus, ShortCutKeysClickTheirItemsBeforeTheFocusedControlSeesThem)
{
    TForm* form = NewForm();
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(menu, menu->Items(), "&File");
    Item(menu, file, "&Open", ShortCut('O', {ssCtrl}));
    Item(menu, file, "&Close", ShortCut(VK_F4, {ssCtrl}));
    Item(menu, file, "E&xit", ShortCut(VK_F4, {ssAlt}));
    Item(menu, file, "Disabled", ShortCut('D', {ssCtrl}))->SetEnabled(false);
    Item(menu, file, "Hidden", ShortCut('H', {ssCtrl}))->SetVisible(false);
    TMenuItem* edit = Item(menu, menu->Items(), "&Edit");
    TMenuItem* late = Item(menu, edit, "Late", ShortCut('L', {ssCtrl}));
    late->SetEnabled(false);
    edit->OnClick = [&](TObject*) { late->SetEnabled(true); };  // a submenu updates its items as it opens
    form->SetMenu(menu);
    bool formHandles = false;
    form->OnShortCut = [&](TMessage& AMessage, bool& AHandled) {
        AHandled = formHandles && AMessage.WParam == 'O';
        if (AHandled)
            Clicked.push_back("form");
    };
    auto* focused = new TCustomControl(form);
    focused->SetTabStop(true);
    focused->SetBounds(10, 10, 50, 20);
    focused->SetParent(form);
    std::vector<WORD> keysSeen;
    focused->OnKeyDown = [&](TObject*, WORD& AKey, TShiftState) { keysSeen.push_back(AKey); };
    form->Show();
    Pump();
    ASSERT_TRUE(focused->Focused());

    struct TCase {
        int Modifier;  // 0 = none
        WORD Key;
        std::vector<std::string> Clicked;  // the submenu on the way first, as if opened
        bool Handled;
    };
    const std::vector<TCase> cases = {
        {VK_CONTROL, 'O', {"&File", "&Open"}, true},
        {VK_CONTROL, VK_F4, {"&File", "&Close"}, true},
        {VK_MENU, VK_F4, {"&File", "E&xit"}, true},
        {VK_CONTROL, 'D', {"&File"}, false},
        {VK_CONTROL, 'H', {"&File"}, false},
        {0, 'O', {}, false},
        {VK_CONTROL, 'L', {"Late"}, true},
    };
    for (const TCase& c : cases) {
        Clicked.clear();
        keysSeen.clear();
        if (c.Modifier)
            Display.KeyDown(c.Modifier);
        Display.PressKey(c.Key);
        if (c.Modifier)
            Display.KeyUp(c.Modifier);
        Pump();
        EXPECT_EQ(Clicked, c.Clicked) << "key " << c.Key;
        // A key that clicked an item never reaches the control.
        bool reached = std::find(keysSeen.begin(), keysSeen.end(), c.Key) != keysSeen.end();
        EXPECT_EQ(reached, !c.Handled) << "key " << c.Key;
    }

    formHandles = true;
    Clicked.clear();
    Display.KeyDown(VK_CONTROL);
    Display.PressKey('O');
    Display.KeyUp(VK_CONTROL);
    Pump();
    EXPECT_EQ(Clicked, (std::vector<std::string>{"form"}));
}

TEST_F(Menus, ItemsKeepTheirTreeChecksAndCommands)
{
    auto* menu = new TPopupMenu(App.get());
    TMenuItem* root = menu->Items();
    TMenuItem* a = Item(menu, root, "A");
    TMenuItem* line1 = Item(menu, root, "-");
    TMenuItem* b = Item(menu, root, "B");
    TMenuItem* line2 = Item(menu, root, "-");
    TMenuItem* line3 = Item(menu, root, "-");
    TMenuItem* c = Item(menu, root, "C");
    TMenuItem* line4 = Item(menu, root, "-");
    for (TMenuItem* radio : {a, b, c}) {
        radio->SetRadioItem(true);
        radio->SetGroupIndex(1);
    }
    c->SetGroupIndex(2);
    a->SetChecked(true);
    b->SetChecked(true);
    c->SetChecked(true);
    EXPECT_FALSE(a->Checked());  // same group as b
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked());   // its own group

    EXPECT_TRUE(root->RethinkLines());
    EXPECT_FALSE(line1->LineHidden());
    EXPECT_FALSE(line2->LineHidden());
    EXPECT_TRUE(line3->LineHidden());  // follows another separator
    EXPECT_TRUE(line4->LineHidden());  // ends the menu
    c->SetVisible(false);
    root->RethinkLines();
    EXPECT_TRUE(line2->LineHidden());  // nothing shown after it any more
    EXPECT_FALSE(root->RethinkLines());

    EXPECT_NE(a->Command(), b->Command());
    EXPECT_TRUE(menu->DispatchCommand(b->Command()));
    EXPECT_FALSE(menu->DispatchCommand(0xFFFF));
    EXPECT_EQ(Clicked, (std::vector<std::string>{"B"}));

    root->Insert(0, new TMenuItem(nullptr));
    EXPECT_EQ(a->MenuIndex(), 1);
    EXPECT_THROW(root->Insert(0, a), EInvalidOperation);
    root->Delete(0);
    EXPECT_EQ(root->Find("b"), b);
    delete b;  // an item that goes leaves its parent
    EXPECT_EQ(root->Find("B"), nullptr);
    EXPECT_EQ(root->Count(), 6);
}

TEST_F(Menus, PopupRunsUntilAnItemIsChosen)
{
    auto* menu = new TPopupMenu(App.get());
    Item(menu, menu->Items(), "First");
    Item(menu, menu->Items(), "Second");
    bool popped = false;
    menu->OnPopup = [&](TObject*) {
        popped = true;
        // The second row is 20 pixels below the first, both start 2 pixels inside the frame.
        Display.MoveMouse({205, 235});
        Display.Click({205, 235});
    };
    menu->Popup(200, 200);
    EXPECT_TRUE(popped);
    EXPECT_EQ(Clicked, (std::vector<std::string>{"Second"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // A press outside dismisses it.
    Clicked.clear();
    menu->OnPopup = [&](TObject*) { Display.Click({10, 10}); };
    menu->Popup(200, 200);
    EXPECT_TRUE(Clicked.empty());
}

}  // namespace
}  // namespace guitest
