// The form's keyboard main-menu mode: the system key enters it, the keys move over the main menu and its
// drop-downs, and Esc steps back out, with the application hook held exactly as long as the mode lasts.
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

// A main menu of top-level items that opens their drop-downs through the form's menus, as the menu bar does.
class TFakeBar : public TspMainMenuKeyboard {
public:
    TFakeBar(TspFormMenus* AMenus, TMenuItem* ARoot) : Menus(AMenus), Root(ARoot) {}
    void EnterMainMenu() override { Hot = 0; }
    void ExitMainMenu() override
    {
        Hot = -1;
        Down = false;
    }
    void ReleaseDownItem() override { Down = false; }
    bool CheckHotKey(win::WORD Key) override
    {
        for (Integer i = 0; i < Root->Count(); ++i)
            if (IsAccel(Key, Root->Items(i)->Caption())) {
                Hot = i;
                Open();
                return true;
            }
        return false;
    }
    void NextMainMenuItem() override { Move(1); }
    void PrevMainMenuItem() override { Move(Root->Count() - 1); }
    bool CheckReturnKey() override
    {
        if (Hot < 0 || Menus->SkinMenu->FVisible) return false;
        Open();
        return true;
    }

    void Move(Integer AStep)
    {
        Hot = (Hot + AStep) % Root->Count();
        if (Down) Open();
    }
    void Open()
    {
        Down = true;
        Menus->SkinMenuOpen();
        Menus->InMainMenu = true;
        Menus->SkinMenu->Popup(nullptr, nullptr, 0, Rect(100 + 60 * Hot, 120, 150 + 60 * Hot, 140),
                               Root->Items(Hot), false);
    }

    TspFormMenus* Menus;
    TMenuItem* Root;
    Integer Hot = -1;
    bool Down = false;
};

class MenuModeTest : public TSkinFormFixture {
protected:
    void SetUp() override
    {
        TSkinFormFixture::SetUp();
        TMenuItem* file = AddLogged("&File");
        AddLogged("&Open", file);
        TMenuItem* recent = AddLogged("&Recent", file);
        AddLogged("clip.avi", recent);
        TMenuItem* edit = AddLogged("&Edit");
        AddLogged("&Crop", edit);
        Bar = std::make_unique<TFakeBar>(Menus, Menu->Items());
        Menus->MainMenuBar = Bar.get();
        Form->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        Menus->MainMenuBar = nullptr;
        TSkinFormFixture::TearDown();
    }
    void SystemKey()
    {
        win::SendMessage(Form->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, 0);
        Pump();
    }
    void Press(int AKey)
    {
        Display.PressKey(AKey);
        Pump();
    }

    std::unique_ptr<TFakeBar> Bar;
};

TEST_F(MenuModeTest, EscClosesTheDropDownFirstAndThenLeavesTheMainMenu)
{
    int entered = 0, exited = 0;
    Menus->OnMainMenuEnter = [&](TObject*) { ++entered; };
    Menus->OnMainMenuExit = [&](TObject*) { ++exited; };
    SystemKey();
    EXPECT_TRUE(Menus->InMainMenu);
    EXPECT_TRUE(Menus->FInAppHook);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(Bar->Hot, 0);
    Press(win::VK_DOWN);
    ASSERT_EQ(Menus->SkinMenu->LevelCount(), 1);
    EXPECT_TRUE(Menus->InMenu);
    Press(win::VK_ESCAPE);
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    EXPECT_TRUE(Menus->InMainMenu);
    EXPECT_FALSE(Menus->InMenu);
    EXPECT_EQ(Bar->Hot, 0);
    EXPECT_FALSE(Bar->Down);
    Press(win::VK_ESCAPE);
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_FALSE(Menus->FInAppHook);
    EXPECT_EQ(exited, 1);
    EXPECT_EQ(Bar->Hot, -1);
}

TEST_F(MenuModeTest, RightOpensASubMenuButOnALeafMovesToTheNextMainItem)
{
    SystemKey();
    Press(win::VK_DOWN);  // File's drop-down, "Open" highlighted
    Press(win::VK_RIGHT);
    EXPECT_EQ(Bar->Hot, 1);
    ASSERT_EQ(Menus->SkinMenu->LevelCount(), 1);
    EXPECT_EQ(Menus->SkinMenu->LastLevel()->Item(0)->MenuItem->Caption(), "&Crop");
    Press(win::VK_RIGHT);  // wraps to File
    EXPECT_EQ(Bar->Hot, 0);
    Press(win::VK_DOWN);   // Recent
    Press(win::VK_RIGHT);  // has sub-items: the level opens it
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 2);
    EXPECT_EQ(Bar->Hot, 0);
    Press(win::VK_LEFT);  // not the first level: the sub-menu closes
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 1);
    Press(win::VK_LEFT);  // first level: the previous main item
    EXPECT_EQ(Bar->Hot, 1);
}

TEST_F(MenuModeTest, AHotKeyOpensItsMainItemAndACommandEndsBothModes)
{
    SystemKey();
    Press('E');
    EXPECT_EQ(Bar->Hot, 1);
    ASSERT_EQ(Menus->SkinMenu->LevelCount(), 1);
    Press(win::VK_RETURN);
    EXPECT_EQ(Log, std::vector<std::string>{"click &Crop"});
    EXPECT_FALSE(Menus->InMenu);
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_FALSE(Menus->FInAppHook);
}

TEST_F(MenuModeTest, TheSystemKeyAgainLeavesTheMainMenu)
{
    SystemKey();
    Press(win::VK_DOWN);
    SystemKey();
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    EXPECT_FALSE(Menus->FInAppHook);
}

}  // namespace
}  // namespace menustest
