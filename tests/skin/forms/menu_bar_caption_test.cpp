// A form that shows its main menu on a main-menu bar shows it there only: a skin with a caption main-menu item
// record adds no menu items to the frame of such a form. A form without a bar shows them in its caption, and
// the keyboard's main-menu mode moves over them.
#include "skin/forms/animated_objects.h"
#include "skin/forms/main_menu_bar.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/menu_mode.h"
#include "skin_frame_fixture.h"

namespace formstest {
namespace {

class MenuBarCaptionTest : public TSkinFrameFixture {};

TEST_F(MenuBarCaptionTest, ASkinsCaptionMenuItemRecordAddsNothingBesideTheBar)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    auto* menu = new TMainMenu(Form);
    auto* file = new TMenuItem(Form);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    Corvalis->SetMainMenu(menu);
    auto* bar = new TspSkinMainMenuBar(Form);
    bar->SetParent(Form);
    bar->SetMainMenu(menu);
    bar->SetCorvalis(Corvalis);
    ASSERT_TRUE(FormShowsMenuOnBar(Corvalis));

    TspSkinData* skin = MakeSkin();
    auto item = std::make_unique<TspDataSkinMainMenuItem>("MAINMENUITEM");
    item->SkinRect = Rect(0, 0, 40, 18);
    item->TextRct = Rect(4, 0, 36, 18);
    skin->ObjectList.push_back(std::move(item));
    Corvalis->SetSkinData(skin);
    Pump();
    EXPECT_EQ(Corvalis->ObjectCount(), 2) << "the close button and the caption only";
    EXPECT_EQ(bar->Items().size(), 1u);
}

// The converter's way of building menus: unnamed items with accelerators, each with a sub-item.
TEST_F(MenuBarCaptionTest, WithoutABarTheKeyboardModeMovesOverTheCaptionsMenuItems)
{
    NewSkinnedForm(Bounds(100, 100, 400, 200));
    auto* menu = new TMainMenu(Form);
    for (const char* caption : {"&File", "&Edit", "&View"}) {
        auto* item = new TMenuItem(Form);
        item->SetCaption(caption);
        auto* sub = new TMenuItem(Form);
        sub->SetCaption(std::string(caption + 1) + " item");
        item->Add(sub);
        menu->Items()->Add(item);
    }
    Corvalis->SetMainMenu(menu);
    TspSkinData* skin = MakeSkin();
    skin->MainMenuRect = Rect(6, 2, 70, 20);
    auto record = std::make_unique<TspDataSkinMainMenuItem>("MAINMENUITEM");
    record->SkinRect = Rect(0, 0, 40, 18);
    record->TextRct = Rect(4, 0, 36, 18);
    skin->ObjectList.push_back(std::move(record));
    Corvalis->SetSkinData(skin);
    Form->SetFocus();
    Pump();
    std::vector<TspSkinMainMenuItem*> items;
    for (Integer i = 0; i < Corvalis->ObjectCount(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(Corvalis->Objects(i))) items.push_back(item);
    ASSERT_EQ(items.size(), 3u);
    TspFormMenus* menus = FormMenusOf(Corvalis);
    auto hot = [&] {
        Integer found = -1;
        for (Integer i = 0; i < 3; ++i)
            if (items[i]->Active || items[i]->Down()) found = found == -1 ? i : -2;
        return found;
    };
    auto press = [&](int AKey) {
        Display.PressKey(AKey);
        Pump();
    };

    win::SendMessage(Form->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, 0);
    Pump();
    EXPECT_TRUE(menus->InMainMenu);
    EXPECT_EQ(hot(), 0);
    press(win::VK_RIGHT);
    EXPECT_EQ(hot(), 1);
    press(win::VK_DOWN);
    EXPECT_TRUE(items[1]->Down());
    EXPECT_EQ(menus->SkinMenu->LevelCount(), 1);
    press(win::VK_RIGHT);
    EXPECT_TRUE(items[2]->Down());
    EXPECT_EQ(hot(), 2);
    EXPECT_EQ(menus->SkinMenu->LevelCount(), 1);
    press(win::VK_LEFT);
    EXPECT_TRUE(items[1]->Down());
    EXPECT_EQ(hot(), 1);
    press(win::VK_ESCAPE);
    press(win::VK_ESCAPE);
    EXPECT_FALSE(menus->InMainMenu);
    EXPECT_EQ(hot(), -1);

    // Alt with an accelerator opens that item's menu.
    win::SendMessage(Form->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, 'v');
    Pump();
    EXPECT_TRUE(items[2]->Down());
    EXPECT_EQ(hot(), 2);
    press(win::VK_ESCAPE);
    press(win::VK_ESCAPE);
    EXPECT_EQ(hot(), -1);
}

}  // namespace
}  // namespace formstest
