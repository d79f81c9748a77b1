// The skinned popup menu: which skinned form shows it, the menu mode around it (the application hook that takes
// the keys and the wheel), and the skinned menu buttons opening it.
#include "skin/controls/menu_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/forms/popup_menu.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

class PopupMenuTest : public TSkinFormFixture {
protected:
    TspSkinPopupMenu* NewMenu(TComponent* AOwner, int AItems)
    {
        auto* menu = new TspSkinPopupMenu(AOwner);
        for (int i = 0; i < AItems; ++i) {
            auto* item = new TMenuItem(menu);
            item->SetCaption("Item " + std::to_string(i));
            item->OnClick = [this, i](TObject*) { Log.push_back("click " + std::to_string(i)); };
            menu->Items()->Add(item);
        }
        return menu;
    }
    TspSkinMenu* FormEngine() { return Menus->SkinMenu; }
};

TEST_F(PopupMenuTest, AMenuOwnedByTheFormShowsThroughItsSkinnedFormAndKeepsItsSkin)
{
    TspSkinPopupMenu* menu = NewMenu(Form, 2);
    auto* skin = new TspSkinData(Form);
    SetSkinFormData(SkinForm, nullptr, skin);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    menu->Popup(300, 200);
    Pump();
    EXPECT_EQ(popups, 1);
    ASSERT_EQ(FormEngine()->LevelCount(), 1);
    EXPECT_EQ(FormEngine()->LastLevel()->Left(), 300);
    EXPECT_EQ(menu->PopupPoint(), (TPoint{300, 200}));
    EXPECT_TRUE(Menus->InMenu);
    EXPECT_TRUE(Menus->FInAppHook);
    EXPECT_EQ(menu->SkinData(), skin);
    Display.PressKey(win::VK_DOWN);
    Display.PressKey(win::VK_RETURN);
    Pump();
    EXPECT_EQ(Log, std::vector<std::string>{"click 1"});
    EXPECT_FALSE(Menus->InMenu);
    EXPECT_FALSE(Menus->FInAppHook);
    // The menu keeps the skin it adopted, until that skin goes.
    SetSkinFormData(SkinForm, nullptr, nullptr);
    EXPECT_EQ(menu->SkinData(), skin);
    delete skin;
    EXPECT_EQ(menu->SkinData(), nullptr);
}

TEST_F(PopupMenuTest, AMenuOwnedByAControlOfTheFormIsFoundThroughItsOwnersOwner)
{
    auto* panel = new TRecorder(Form, &Log);
    TspSkinPopupMenu* menu = NewMenu(panel, 1);
    menu->Popup(100, 100);
    Pump();
    EXPECT_EQ(FormEngine()->LevelCount(), 1);
}

TEST_F(PopupMenuTest, WithoutASkinnedFormNothingShowsButOnPopupStillRuns)
{
    TForm* plain = NewForm(Bounds(500, 100, 200, 200));
    plain->Show();
    TspSkinPopupMenu* menu = NewMenu(plain, 1);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    menu->Popup(100, 100);
    Pump();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(FormEngine()->LevelCount(), 0);
    EXPECT_FALSE(Menus->InMenu);
    // Popup2 also wants skin data.
    TspSkinPopupMenu* owned = NewMenu(Form, 1);
    owned->Popup2(Form, 100, 100);
    EXPECT_EQ(FormEngine()->LevelCount(), 0);
}

TEST_F(PopupMenuTest, AnEmptyMenuLeavesNoMenuModeAndTheKeysReachTheFormAgain)
{
    TspSkinPopupMenu* menu = NewMenu(Form, 0);
    int opened = 0, closed = 0;
    Menus->OnSkinMenuOpen = [&](TObject*) { ++opened; };
    Menus->OnSkinMenuClose = [&](TObject*) { ++closed; };
    menu->Popup(100, 100);
    Pump();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(Menus->InMenu);
    EXPECT_FALSE(Menus->FInAppHook);
    int keys = 0;
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [&](TObject*, win::WORD&, TShiftState) { ++keys; };
    Form->SetFocus();
    Display.PressKey('A', 'a');
    Pump();
    EXPECT_EQ(keys, 1);
}

TEST_F(PopupMenuTest, TheWheelIsSwallowedWhileAMenuIsOpen)
{
    TspSkinPopupMenu* menu = NewMenu(Form, 2);
    int turns = 0;
    Form->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& AHandled) {
        ++turns;
        AHandled = true;
    };
    Form->SetFocus();
    const TPoint inside{Form->Left() + 50, Form->Top() + 80};
    menu->Popup(600, 100);
    Pump();
    Display.Wheel(inside, -120);
    Pump();
    EXPECT_EQ(turns, 0);
    EXPECT_EQ(FormEngine()->LevelCount(), 1);
    Display.PressKey(win::VK_ESCAPE);
    Pump();
    EXPECT_EQ(FormEngine()->LevelCount(), 0);
    EXPECT_FALSE(Menus->FInAppHook);
    Display.Wheel(inside, -120);
    Pump();
    EXPECT_EQ(turns, 1);
}

TEST_F(PopupMenuTest, OnMenuCloseRunsOncePerMenuAlsoWhenAnotherMenuReplacesIt)
{
    TspSkinPopupMenu* first = NewMenu(Form, 1);
    TspSkinPopupMenu* second = NewMenu(Form, 1);
    int firstClosed = 0, secondClosed = 0, opened = 0;
    first->OnMenuClose = [&](TObject*) { ++firstClosed; };
    second->OnMenuClose = [&](TObject*) { ++secondClosed; };
    Menus->OnSkinMenuOpen = [&](TObject*) { ++opened; };
    first->Popup(100, 100);
    second->Popup(150, 150);
    Pump();
    EXPECT_EQ(firstClosed, 1);
    EXPECT_EQ(secondClosed, 0);
    EXPECT_EQ(opened, 2);  // the first menu mode ended before the second began
    Display.PressKey(win::VK_ESCAPE);
    Pump();
    EXPECT_EQ(firstClosed, 1);
    EXPECT_EQ(secondClosed, 1);
}

TEST_F(PopupMenuTest, AClickOnTheFormClosesTheMenu)
{
    TspSkinPopupMenu* menu = NewMenu(Form, 2);
    menu->Popup(600, 100);
    Pump();
    ASSERT_EQ(FormEngine()->LevelCount(), 1);
    Display.Click(TPoint{Form->Left() + 60, Form->Top() + 90});
    Pump();
    EXPECT_EQ(FormEngine()->LevelCount(), 0);
    EXPECT_FALSE(Menus->InMenu);
    EXPECT_TRUE(Log.empty());
}

TEST_F(PopupMenuTest, AMenuButtonOpensTheMenuBelowItselfAndIsReleasedWhenItCloses)
{
    TspSkinPopupMenu* menu = NewMenu(Form, 2);
    auto* button = new TspSkinMenuButton(Form);
    button->SetParent(Form);
    button->SetBounds(20, 20, 100, 25);
    button->SetSkinPopupMenu(menu);
    Pump();
    const TPoint origin = button->ClientOrigin();
    Display.Click(TPoint{origin.X + 50, origin.Y + 12});
    Pump();
    ASSERT_EQ(FormEngine()->LevelCount(), 1);
    EXPECT_EQ(FormEngine()->LastLevel()->Left(), origin.X);
    EXPECT_EQ(FormEngine()->LastLevel()->Top(), origin.Y + 25);
    EXPECT_TRUE(button->MenuTracked());
    Display.PressKey(win::VK_RETURN);
    Pump();
    EXPECT_EQ(Log, std::vector<std::string>{"click 0"});
    EXPECT_FALSE(button->MenuTracked());
    EXPECT_FALSE(button->Down());
    // An empty menu opens nothing and leaves the button up at once.
    menu->Items()->Clear();
    Display.Click(TPoint{origin.X + 50, origin.Y + 12});
    Pump();
    EXPECT_EQ(FormEngine()->LevelCount(), 0);
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(Menus->InMenu);
}

TEST_F(PopupMenuTest, AnEditsContextMenuOpensAsASkinnedMenuAndRunsItsCommand)
{
    SetSkinFormData(SkinForm, new TspSkinData(Form), nullptr);
    auto* edit = new TspSkinEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(20, 60, 200, 24);
    edit->SetText("some text");
    Pump();
    edit->SetFocus();
    edit->SetSelLength(0);
    const TPoint at = edit->ClientToScreen({40, 10});
    // A second menu replaces the first while it shows.
    Display.Click(at, 0x02);
    Pump();
    Display.Click(at, 0x02);
    Pump();
    ASSERT_EQ(FormEngine()->LevelCount(), 1);
    TspSkinPopupWindow* level = FormEngine()->LastLevel();
    EXPECT_EQ(level->Left(), at.X);
    TspSkinMenuItem* last = level->Item(level->ItemCount() - 1);
    ASSERT_TRUE(last->MenuItem->Enabled());
    Display.Click(ItemPoint(level, level->ItemCount() - 1));
    Pump();
    Run(50);
    EXPECT_EQ(FormEngine()->LevelCount(), 0);
    EXPECT_EQ(edit->SelLength(), 9);  // "Select All" ran
}

}  // namespace
}  // namespace menustest
