// The skinned form's system menu: its items for the window state, a user menu kept free of duplicates, opening it
// from the keyboard and the caption, and the MDI parent's arranging of its children.
#include "tests/skin/menus/menus_fixture.h"

#include "skin/core/skin_data.h"
#include "skin/forms/skin_form.h"

namespace menustest {
namespace {

std::vector<std::string> Captions(TMenuItem* AItems)
{
    std::vector<std::string> captions;
    for (Integer i = 0; i < AItems->Count(); ++i) captions.push_back(AItems->Items(i)->Caption());
    return captions;
}

using SystemMenuTest = TSkinFormFixture;

TEST_F(SystemMenuTest, TheDefaultMenuFollowsTheWindowStateAndTheBorderIcons)
{
    struct TCase {
        const char* Name;
        bool Minimize, Maximize, RollUp, Tray;
        TWindowState State;
        bool RolledUp;
        std::vector<std::string> Expected;
    };
    const std::vector<TCase> cases = {
        {"normal", true, true, true, true, wsNormal, false,
         {"Mi&nimize", "Ma&ximize", "Ro&llUp", "Minimize to &Tray", "-", "&Close"}},
        {"maximized", true, true, true, true, wsMaximized, false,
         {"Mi&nimize", "&Restore", "Ro&llUp", "Minimize to &Tray", "-", "&Close"}},
        {"rolled up", true, true, true, false, wsNormal, true, {"Mi&nimize", "Ma&ximize", "&Restore", "-", "&Close"}},
        {"no icons", false, false, false, false, wsNormal, false, {"&Close"}},
        {"no icons, maximized", false, false, false, false, wsMaximized, false, {"&Restore", "-", "&Close"}},
    };
    for (const TCase& c : cases) {
        SetSkinFormState(SkinForm, wsNormal, false);
        SetSkinFormBorderIcons(SkinForm, c.Minimize, c.Maximize, c.RollUp, c.Tray);
        SetSkinFormState(SkinForm, c.State, c.RolledUp);
        Pump();
        TMenuItem* items = Menus->GetSystemMenuItems();
        EXPECT_EQ(Captions(items), c.Expected) << c.Name;
        TMenuItem* close = items->Items(items->Count() - 1);
        EXPECT_EQ(close->Name(), "CVL_CLOSE") << c.Name;
        EXPECT_EQ(ShortCutToText(close->ShortCut()), "Alt+F4") << c.Name;
    }
}

TEST_F(SystemMenuTest, AUserMenuOpenedTwiceCollectsNoDuplicates)
{
    auto* user = new TPopupMenu(Form);
    auto* own = new TMenuItem(Form);
    own->SetCaption("About");
    user->Items()->Add(own);
    SetSkinFormSystemMenu(SkinForm, user);
    SetSkinFormBorderIcons(SkinForm, true, true, false, false);
    Menus->GetSystemMenuItems();
    TMenuItem* items = Menus->GetSystemMenuItems();
    EXPECT_EQ(Captions(items), (std::vector<std::string>{"Mi&nimize", "Ma&ximize", "About", "&Close"}));
}

TEST_F(SystemMenuTest, AltSpaceOpensTheMenuAndEscClosesItWithTheApplicationsHandlerBack)
{
    int seen = 0;
    const int id = App->SetOnMessage([&](win::MSG&, bool&) { ++seen; });
    SetSkinFormBorderIcons(SkinForm, true, true, false, false);
    Form->SetFocus();
    Pump();
    Display.KeyDown(win::VK_MENU);
    Display.PressKey(win::VK_SPACE, U' ');
    Display.KeyUp(win::VK_MENU);
    Pump();
    ASSERT_EQ(Menus->SkinMenu->LevelCount(), 1);
    EXPECT_TRUE(Menus->InMenu);
    TspSkinPopupWindow* level = Menus->SkinMenu->LastLevel();
    EXPECT_EQ(level->Item(0)->MenuItem->Name(), "CVL_MINITEM");
    EXPECT_LT(level->Top() - Form->Top(), 40);  // below the system-menu button in the caption
    // While the menu is open its hook holds the application's messages.
    seen = 0;
    win::PostMessage(Form->Handle(), win::WM_NULL, 0, 0);
    Pump();
    EXPECT_EQ(seen, 0);
    Display.KeyDown(win::VK_ESCAPE);
    Pump();
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    EXPECT_FALSE(Menus->InMenu);
    EXPECT_FALSE(Menus->FInAppHook);
    seen = 0;
    Display.KeyUp(win::VK_ESCAPE);
    Pump();
    EXPECT_GT(seen, 0);
    App->RemoveOnMessage(id);
}

TEST_F(TMenusFixture, AFreshSkinnedFormHasItsMenusInFrontAndKeepsThemThroughASkinnableSwitch)
{
    TspCorvalis* skinForm = NewSkinForm(Form);
    Pump();
    // Nobody asked for the menus yet: the component made them.
    TspFormMenus* menus = nullptr;
    for (Integer i = 0; i < Form->ComponentCount(); ++i)
        if (auto* found = dynamic_cast<TspFormMenus*>(Form->Components(i))) menus = found;
    ASSERT_NE(menus, nullptr);
    EXPECT_EQ(menus->SkinForm(), skinForm);
    // The skin switches the form's skinning off and on again, which reinstalls the component's procedure.
    TspSkinData skin(Form);
    SetSkinFormData(skinForm, &skin, nullptr);
    skin.SetSkinnableForm(false);
    skin.SetSkinnableForm(true);
    EXPECT_TRUE(skinForm->SkinnableForm());
    // A right click on the caption reaches the menus through the form's procedure.
    Display.Click({Form->Left() + 150, Form->Top() + 10}, 0x02);
    Pump();
    EXPECT_EQ(menus->SkinMenu->LevelCount(), 1);
    Display.PressKey(win::VK_ESCAPE);
    Pump();
}

TEST_F(SystemMenuTest, ARightClickOnTheCaptionOpensTheMenuAtTheCursorUnlessDisabled)
{
    const TPoint caption{Form->Left() + 150, Form->Top() + 10};
    Display.Click(caption, 0x02);
    Pump();
    ASSERT_EQ(Menus->SkinMenu->LevelCount(), 1);
    EXPECT_EQ(Menus->SkinMenu->LastLevel()->Left(), caption.X);
    EXPECT_EQ(Menus->SkinMenu->LastLevel()->Top(), caption.Y);
    Display.PressKey(win::VK_ESCAPE);
    Pump();
    SetSkinFormDisableSystemMenu(SkinForm, true);
    Display.Click(caption, 0x02);
    Pump();
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
}

TEST_F(SystemMenuTest, ChoosingMaximizeMaximizesTheForm)
{
    SetSkinFormBorderIcons(SkinForm, true, true, false, false);
    Menus->PopupSystemMenu(300, 300);
    Pump();
    ASSERT_EQ(Menus->SkinMenu->LevelCount(), 1);
    Display.PressKey('X');
    Pump();
    // The component keeps the window state itself and fills the work area.
    EXPECT_EQ(SkinForm->WindowState(), wsMaximized);
    EXPECT_EQ(Form->BoundsRect().Width(), WorkArea.Width());
    EXPECT_TRUE(Menus->FormMaximized());
    EXPECT_FALSE(Menus->InMenu);
}

TEST_F(SystemMenuTest, MinimizingToTheTrayNeedsATrayIcon)
{
    class TTray : public TspTrayIconLink {
    public:
        void SetMinimizeToTray(bool AValue) override { ToTray = AValue; }
        void ShowMainForm() override { ++Shown; }
        void SetIconVisible(bool AValue) override { IconVisible = AValue; }
        TPopupMenu* PopupMenu() override { return Menu; }
        void SetPopupMenu(TPopupMenu* AMenu) override { Menu = AMenu; }
        bool HasDblClickHandler() override { return static_cast<bool>(DblClick); }
        void SetDblClickHandler(TNotifyEvent AHandler) override { DblClick = std::move(AHandler); }
        bool ToTray = false, IconVisible = true;
        int Shown = 0;
        TPopupMenu* Menu = nullptr;
        TNotifyEvent DblClick;
    } tray;
    Menus->MinimizeToTray();  // no tray icon: nothing
    EXPECT_FALSE(App->Minimized());
    Menus->SetTrayIcon(&tray);
    EXPECT_FALSE(tray.IconVisible);
    ASSERT_EQ(tray.Menu, Menus->TrayMenu());
    EXPECT_EQ(Captions(tray.Menu->Items()), (std::vector<std::string>{"&Restore", "-", "&Close"}));
    int minimized = 0;
    Menus->OnMinimizeToTray = [&](TObject*) { ++minimized; };
    Menus->MinimizeToTray();
    EXPECT_TRUE(tray.ToTray);
    EXPECT_TRUE(App->Minimized());
    EXPECT_EQ(minimized, 1);
    tray.DblClick(nullptr);
    EXPECT_FALSE(tray.ToTray);
    EXPECT_EQ(tray.Shown, 1);
    EXPECT_FALSE(App->Minimized());
    Menus->SetTrayIcon(nullptr);
}

class MdiTest : public guitest::TGuiFixture {};

TEST_F(MdiTest, TileAndCascadePlaceTheChildrenFromTheLast)
{
    auto* parent = App->CreateForm<TForm>();
    parent->SetFormStyle(fsMDIForm);
    parent->SetBorderStyle(bsNone);
    parent->SetBoundsRect(Bounds(0, 0, 600, 300));
    parent->Show();
    TspCorvalis* skin = NewSkinForm(parent);
    Pump();
    for (int i = 0; i < 5; ++i) {
        auto* child = new TForm(App.get());
        child->SetFormStyle(fsMDIChild);
        child->Show();
    }
    Pump();
    TspFormMenus* menus = FormMenusOfForm(parent);
    TRect area;
    menus->GetMDIWorkArea(area);
    ASSERT_EQ(parent->MDIChildCount(), 5);
    const Integer w = area.Width(), h = area.Height();
    menus->Tile();
    // Two columns: the last three children fill the right one from the bottom, the first two the left one.
    for (int i = 4; i >= 2; --i) {
        const TRect r = parent->MDIChildren(i)->BoundsRect();
        EXPECT_EQ(r.Left, w - w / 2) << i;
        EXPECT_EQ(r.Height(), h / 3) << i;
        EXPECT_EQ(r.Top, std::max(0, h - (5 - i) * (h / 3))) << i;
    }
    for (int i = 1; i >= 0; --i) {
        const TRect r = parent->MDIChildren(i)->BoundsRect();
        EXPECT_EQ(r.Left, 0) << i;
        EXPECT_EQ(r.Height(), h / 2) << i;
        EXPECT_EQ(r.Top, h - (2 - i) * (h / 2)) << i;
    }
    menus->Cascade();
    const Integer step = parent->MDIChildren(3)->Top() - parent->MDIChildren(4)->Top();
    EXPECT_GT(step, 0);
    EXPECT_EQ(parent->MDIChildren(4)->Left(), 0);
    EXPECT_EQ(parent->MDIChildren(4)->Top(), 0);
    EXPECT_EQ(parent->MDIChildren(0)->Top(), 4 * step);
    (void)skin;
}

}  // namespace
}  // namespace menustest
