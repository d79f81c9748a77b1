// The skinned main-menu bar on a skinned form: the keyboard main-menu mode, the mouse moving an open drop-down,
// items hidden behind the marker on a narrow bar, merging a child menu, and the morph on the virtual clock.
#include "skin/core/control_records.h"
#include "skin/core/skin_records.h"
#include "skin/forms/main_menu_bar.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

class MainMenuBarTest : public TSkinFormFixture {
protected:
    void SetUp() override
    {
        TSkinFormFixture::SetUp();
        MainMenu = new TMainMenu(Form);
        TMenuItem* file = AddMain("&File", "FileMenu");
        AddLogged("&Open", file);
        TMenuItem* edit = AddMain("&Edit", "EditMenu");
        AddLogged("&Crop", edit);
        TMenuItem* view = AddMain("&View", "ViewMenu", false);
        AddLogged("&Zoom", view);
        TMenuItem* help = AddMain("&Help", "HelpMenu");
        AddLogged("&About", help);
        Bar = new TspSkinMainMenuBar(Form);
        Bar->SetParent(Form);
        Bar->SetMainMenu(MainMenu);
        Bar->SetCorvalis(SkinForm);
        Form->SetFocus();
        Pump();
    }

    TMenuItem* AddMain(const std::string& ACaption, const std::string& AName, bool AEnabled = true)
    {
        auto* item = new TMenuItem(Form);
        if (NamedItems()) item->SetName(AName);
        item->SetCaption(ACaption);
        item->SetEnabled(AEnabled);
        MainMenu->Items()->Add(item);
        return item;
    }
    TspSkinMainMenuBarItem* Item(Integer AIndex) { return Bar->Items()[static_cast<size_t>(AIndex)]; }
    // The one highlighted or pressed item, -1 for none, -2 for more than one.
    Integer Hot()
    {
        Integer hot = -1;
        for (Integer i = 0; i < static_cast<Integer>(Bar->Items().size()); ++i)
            if (Item(i)->Active || Item(i)->FDown) hot = hot == -1 ? i : -2;
        return hot;
    }
    TPoint Centre(const TRect& R)
    {
        return Bar->ClientToScreen(TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
    }
    TPoint ItemCentre(Integer AIndex) { return Centre(Item(AIndex)->ObjectRect); }
    std::string FirstCaptionOfDropDown()
    {
        TspSkinPopupWindow* level = Menus->SkinMenu->LastLevel();
        return level && level->ItemCount() > 0 ? level->Item(0)->MenuItem->Caption() : "";
    }
    std::vector<std::string> DropDownCaptions()
    {
        std::vector<std::string> captions;
        if (TspSkinPopupWindow* level = Menus->SkinMenu->LastLevel())
            for (Integer i = 0; i < level->ItemCount(); ++i) captions.push_back(level->Item(i)->MenuItem->Caption());
        return captions;
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

    // The converter builds its menus from code and leaves their items unnamed.
    virtual bool NamedItems() const { return true; }

    TMainMenu* MainMenu = nullptr;
    TspSkinMainMenuBar* Bar = nullptr;
};

// The keyboard and mouse cases run with named items and with unnamed ones: items are told apart by themselves.
class MainMenuBarModeTest : public MainMenuBarTest, public ::testing::WithParamInterface<bool> {
protected:
    bool NamedItems() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(ItemNames, MainMenuBarModeTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& AInfo) { return AInfo.param ? "Named" : "Unnamed"; });

TEST_F(MainMenuBarTest, TheBarRegistersAsTheFormsMainMenuAndBuildsOneItemPerVisibleMenu)
{
    EXPECT_EQ(Menus->MainMenuBar, Bar);
    EXPECT_TRUE(FormShowsMenuOnBar(SkinForm));
    ASSERT_EQ(Bar->Items().size(), 4u);
    EXPECT_EQ(Item(1)->IDName, "EditMenu");
    EXPECT_FALSE(Item(2)->Enabled);
    EXPECT_EQ(Bar->Height(), 22);
    // Plain look: 2-pixel inset, the caption's width plus 12, items side by side.
    EXPECT_EQ(Item(0)->ObjectRect.Left, 2);
    EXPECT_EQ(Item(0)->ObjectRect.Top, 2);
    EXPECT_EQ(Item(0)->ObjectRect.Bottom, Bar->Height() - 2);
    EXPECT_EQ(Item(1)->ObjectRect.Left, Item(0)->ObjectRect.Right);
    EXPECT_GT(Item(0)->ObjectRect.Width(), 12);

    MainMenu->Items()->Items(3)->SetVisible(false);
    Bar->UpDateItems();
    EXPECT_EQ(Bar->Items().size(), 3u);

    Bar->SetCorvalis(nullptr);
    EXPECT_EQ(Menus->MainMenuBar, nullptr);
    EXPECT_FALSE(FormShowsMenuOnBar(SkinForm));
}

TEST_P(MainMenuBarModeTest, AltEntersKeyboardModeAndArrowsWrapSkippingTheDisabledMenu)
{
    SystemKey();
    EXPECT_TRUE(Menus->InMainMenu);
    EXPECT_TRUE(Bar->MenuActive);
    EXPECT_EQ(Hot(), 0);
    const std::vector<Integer> rightward = {1, 3, 0, 1};  // View (2) is disabled
    for (Integer expected : rightward) {
        Press(win::VK_RIGHT);
        EXPECT_EQ(Hot(), expected);
    }
    const std::vector<Integer> leftward = {0, 3, 1, 0};
    for (Integer expected : leftward) {
        Press(win::VK_LEFT);
        EXPECT_EQ(Hot(), expected);
    }
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);

    // Down opens the hot menu; Right then moves the open drop-down along, wrapping too.
    Press(win::VK_DOWN);
    EXPECT_TRUE(Item(0)->FDown);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&Open");
    Press(win::VK_LEFT);
    EXPECT_TRUE(Item(3)->FDown);
    EXPECT_FALSE(Item(0)->FDown);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&About");
    Press(win::VK_RIGHT);
    EXPECT_EQ(Hot(), 0);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&Open");

    // Esc closes the drop-down, keeping the item hot; a second Esc leaves the mode.
    Press(win::VK_ESCAPE);
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    EXPECT_TRUE(Menus->InMainMenu);
    EXPECT_TRUE(Item(0)->Active);
    EXPECT_FALSE(Item(0)->FDown);
    Press(win::VK_ESCAPE);
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_FALSE(Bar->MenuActive);
    EXPECT_EQ(Hot(), -1);
}

TEST_P(MainMenuBarModeTest, AnAcceleratorOpensItsMenuAndACommandEndsTheMode)
{
    SystemKey();
    Press('V');  // the disabled menu's accelerator
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    Press('E');
    EXPECT_TRUE(Item(1)->FDown);
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&Crop");
    // With a drop-down open another accelerator moves it.
    Press('H');
    EXPECT_EQ(Hot(), 3);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&About");
    Press(win::VK_RETURN);
    EXPECT_EQ(Log, std::vector<std::string>{"click &About"});
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_FALSE(Menus->InMenu);
    EXPECT_FALSE(Menus->FInAppHook);
    EXPECT_EQ(Hot(), -1);
}

TEST_P(MainMenuBarModeTest, HoveringMovesAnOpenDropDownAndEmptyBarSpaceKeepsIt)
{
    std::vector<std::string> clicked;
    Bar->OnMainMenuItemClick = [&](const std::string& AID) { clicked.push_back(AID); };
    // Hovering alone highlights without opening.
    Display.MoveMouse(ItemCentre(1));
    Run(60);
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);

    Display.Click(ItemCentre(0));
    Pump();
    EXPECT_EQ(clicked, std::vector<std::string>{GetParam() ? "FileMenu" : ""});
    EXPECT_TRUE(Item(0)->FDown);
    EXPECT_TRUE(Menus->InMainMenu);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&Open");
    Display.MoveMouse(ItemCentre(1));
    Run(60);
    EXPECT_FALSE(Item(0)->FDown);
    EXPECT_TRUE(Item(1)->FDown);
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 1);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&Crop");
    // The disabled menu takes no part; past the last item the open one stays.
    Display.MoveMouse(ItemCentre(2));
    Run(60);
    EXPECT_TRUE(Item(1)->FDown);
    Display.MoveMouse(Bar->ClientToScreen(TPoint{Bar->Width() - 10, 10}));
    Run(60);
    EXPECT_TRUE(Item(1)->FDown);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&Crop");
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(clicked.size(), 1u);

    // Closing the drop-down and leaving the mode clear every highlight.
    Display.MoveMouse(Bar->ClientToScreen(TPoint{Bar->Width() / 2, Bar->Height() + 40}));
    Run(60);
    Press(win::VK_ESCAPE);
    Press(win::VK_ESCAPE);
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    EXPECT_EQ(Hot(), -1);
}

// Alt with a letter opens the menu of that accelerator straight away, and the Alt key's release that follows
// leaves it open; a system command carrying the character does the same.
TEST_P(MainMenuBarModeTest, AltWithALetterOpensTheMenuOfThatAccelerator)
{
    Display.KeyDown(win::VK_MENU);
    Display.KeyDown('E', U'e');
    Display.KeyUp('E');
    Display.KeyUp(win::VK_MENU);
    Pump();
    EXPECT_TRUE(Item(1)->FDown);
    EXPECT_EQ(Hot(), 1);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&Crop");
    EXPECT_TRUE(Menus->InMainMenu);
    Press(win::VK_ESCAPE);
    Press(win::VK_ESCAPE);
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_EQ(Hot(), -1);

    win::SendMessage(Form->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, 'h');
    Pump();
    EXPECT_TRUE(Item(3)->FDown);
    EXPECT_EQ(FirstCaptionOfDropDown(), "&About");
    // A letter no title carries opens nothing.
    Press(win::VK_ESCAPE);
    Press(win::VK_ESCAPE);
    win::SendMessage(Form->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, 'q');
    Pump();
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    EXPECT_EQ(Hot(), -1);
}

TEST_F(MainMenuBarTest, AClickOnACommandOfTheBarRunsItWithoutADropDown)
{
    TMenuItem* help = MainMenu->Items()->Items(3);
    help->Delete(0);
    help->OnClick = [this](TObject*) { Log.push_back("click &Help"); };
    Bar->UpDateItems();
    Pump();
    Display.Click(ItemCentre(3));
    Pump();
    EXPECT_EQ(Log, std::vector<std::string>{"click &Help"});
    EXPECT_EQ(Menus->SkinMenu->LevelCount(), 0);
    EXPECT_FALSE(Menus->InMainMenu);
    EXPECT_FALSE(Menus->FInAppHook);
    EXPECT_FALSE(Item(3)->FDown);
}

TEST_F(MainMenuBarTest, ANarrowBarHidesItemsBehindTheMarkerWhichListsThem)
{
    Bar->SetAlign(alNone);
    const Integer fullWidth = Bar->Width();
    // Room for File and Edit only: View and Help go behind the marker.
    Bar->SetWidth(Item(1)->ObjectRect.Right + 5 + 2 + 3);
    Pump();
    EXPECT_TRUE(Item(0)->Fits);
    EXPECT_TRUE(Item(1)->Fits);
    EXPECT_FALSE(Item(2)->Fits);
    EXPECT_FALSE(Item(3)->Fits);
    EXPECT_FALSE(Item(3)->Enabled);
    EXPECT_TRUE(Bar->Scroll);
    EXPECT_EQ(Bar->GetMarkerRect().Width(), 5);
    EXPECT_EQ(Bar->GetMarkerRect().Right, Bar->Width() - 2);

    // The keyboard skips the hidden items.
    SystemKey();
    Press(win::VK_LEFT);
    EXPECT_EQ(Hot(), 1);
    Press(win::VK_ESCAPE);

    Display.Click(Centre(Bar->GetMarkerRect()));
    Pump();
    EXPECT_EQ(DropDownCaptions(), (std::vector<std::string>{"&View", "&Help"}));
    Menus->SkinMenu->Hide();
    Pump();

    // Widening brings them back with their own enabled state.
    Bar->SetWidth(fullWidth);
    Pump();
    EXPECT_FALSE(Bar->Scroll);
    EXPECT_TRUE(Item(3)->Fits);
    EXPECT_TRUE(Item(3)->Enabled);
    EXPECT_TRUE(Item(2)->Fits);
    EXPECT_FALSE(Item(2)->Enabled);

    // Without the marker an item may use the marker's room.
    Bar->SetScrollMenu(false);
    Bar->SetWidth(Item(1)->ObjectRect.Right + 2);
    Pump();
    EXPECT_TRUE(Item(1)->Fits);
    EXPECT_FALSE(Item(2)->Fits);
}

TEST_F(MainMenuBarTest, AMergedChildMenuReplacesTheItemsOfItsGroups)
{
    auto* child = new TMainMenu(Form);
    auto add = [&](TMainMenu* AMenu, TMenuItem* AItem, Byte AGroup) {
        AItem->SetGroupIndex(AGroup);
        if (AMenu) AMenu->Items()->Add(AItem);
    };
    for (Integer i = 0; i < 4; ++i) add(nullptr, MainMenu->Items()->Items(i), static_cast<Byte>(i * 2));
    auto* tools = new TMenuItem(Form);
    tools->SetName("ToolsMenu");
    tools->SetCaption("&Tools");
    add(child, tools, 3);
    auto* edit2 = new TMenuItem(Form);
    edit2->SetName("ChildEditMenu");
    edit2->SetCaption("&Edit");
    add(child, edit2, 2);
    Bar->Merge(child);
    std::vector<std::string> ids;
    for (TspSkinMainMenuBarItem* item : Bar->Items()) ids.push_back(item->IDName);
    EXPECT_EQ(ids, (std::vector<std::string>{"FileMenu", "ChildEditMenu", "ToolsMenu", "ViewMenu", "HelpMenu"}));
    EXPECT_FALSE(Bar->ScrollMenu());
    Bar->UnMerge();
    EXPECT_EQ(Bar->Items().size(), 4u);
    EXPECT_FALSE(Bar->ScrollMenu());  // for good
}

// A bar skin whose items morph: the normal look red, the hot look green.
class SkinnedMainMenuBarTest : public MainMenuBarTest {
protected:
    void SetUp() override
    {
        MainMenuBarTest::SetUp();
        Skin = new TspSkinData(Form);
        auto picture = std::make_unique<TBitmap>(60, 60, pf24bit);
        picture->Canvas()->Brush()->SetColor(static_cast<TColor>(0x808080));
        picture->Canvas()->FillRect(Rect(0, 0, 60, 20));
        picture->Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000FF));
        picture->Canvas()->FillRect(Rect(0, 20, 60, 40));
        picture->Canvas()->Brush()->SetColor(static_cast<TColor>(0x00FF00));
        picture->Canvas()->FillRect(Rect(0, 40, 60, 60));
        Skin->FActivePictures.push_back(std::move(picture));
        Skin->FActivePicturesNames->Add("bar.bmp");
        auto bar = std::make_unique<TspDataSkinMainMenuBar>("mainmenubar");
        bar->PictureIndex = 0;
        bar->SkinRect = Rect(0, 0, 60, 20);
        bar->ItemsRect = Rect(2, 0, 58, 20);
        bar->MenuBarItem = "baritem";
        Skin->CtrlList.push_back(std::move(bar));
        auto item = std::make_unique<TspDataSkinMainMenuBarItem>("baritem");
        item->ActivePictureIndex = 0;
        item->SkinRect = Rect(0, 20, 30, 40);
        item->ActiveSkinRect = Rect(0, 40, 30, 60);
        item->TextRct = Rect(4, 0, 26, 20);
        item->FontName = "DejaVu Sans";
        item->FontHeight = 12;
        item->Morphing = true;
        ItemRecord = item.get();
        Skin->ObjectList.push_back(std::move(item));
        Skin->Empty = false;
        Bar->SetSkinData(Skin);
        Pump();
    }
    TColor Painted(TPoint AClient)
    {
        TBitmap b(Bar->Width(), Bar->Height());
        Bar->PaintBar(b.Canvas());
        return b.Canvas()->Pixels(AClient.X, AClient.Y);
    }

    TspSkinData* Skin = nullptr;
    TspDataSkinMainMenuBarItem* ItemRecord = nullptr;
};

TEST_F(SkinnedMainMenuBarTest, TheItemMorphsToItsHotLookWithinSixTicksAndBack)
{
    EXPECT_EQ(Bar->Height(), 20);
    ASSERT_TRUE(Item(0)->FSkinSupport);
    EXPECT_EQ(Item(0)->ObjectRect.Left, 2);
    EXPECT_EQ(Item(0)->ObjectRect.Height(), 20);
    const TPoint corner{Item(0)->ObjectRect.Left + 1, 1};
    EXPECT_EQ(Painted(corner), static_cast<TColor>(0x0000FF));
    // Ticks of the morph timer until the look settles.
    auto ticksUntil = [&](double AKf) {
        int ticks = 0;
        while (Item(0)->FMorphKf != AKf && ticks < 20) {
            AdvanceMs(25);
            ++ticks;
        }
        return ticks;
    };
    Item(0)->MouseEnter();
    EXPECT_EQ(ticksUntil(1.0), 5);
    EXPECT_EQ(Painted(corner), static_cast<TColor>(0x00FF00));
    AdvanceMs(25);  // a tick that changes nothing stops the timer
    EXPECT_FALSE(Bar->MorphTimer->Enabled());
    Item(0)->MouseLeave();
    const int back = ticksUntil(0.0);
    EXPECT_GE(back, 5);
    EXPECT_LE(back, 6);
    AdvanceMs(25);
    EXPECT_FALSE(Bar->MorphTimer->Enabled());
    EXPECT_EQ(Painted(corner), static_cast<TColor>(0x0000FF));
}

TEST_F(SkinnedMainMenuBarTest, AFrameStripWithoutFramesPlaysNothing)
{
    ItemRecord->AnimateSkinRect = Rect(0, 0, 60, 20);
    ItemRecord->FrameCount = 0;
    Bar->UpDateItems();
    Pump();
    EXPECT_FALSE(Item(0)->EnableAnimation());
    Item(0)->MouseEnter();
    Run(200);
    EXPECT_EQ(Item(0)->CurrentFrame, 0);
    EXPECT_EQ(Painted({Item(0)->ObjectRect.Left + 1, 1}), static_cast<TColor>(0x00FF00));
}

TEST_F(SkinnedMainMenuBarTest, AFrameStripPlaysForwardToTheHotLookAndBackOnLeaving)
{
    // Two 30 x 20 frames side by side in the bar picture's grey top band.
    ItemRecord->AnimateSkinRect = Rect(0, 0, 60, 20);
    ItemRecord->FrameCount = 2;
    ItemRecord->AnimateInterval = 40;
    ItemRecord->InActiveAnimation = true;
    Bar->UpDateItems();
    Pump();
    TspSkinMainMenuBarItem* item = Item(0);
    ASSERT_TRUE(item->EnableAnimation());
    item->MouseEnter();
    EXPECT_EQ(Bar->AnimateTimer->Interval(), 40u);
    std::vector<Integer> frames;
    for (int tick = 0; tick < 4; ++tick) {
        AdvanceMs(40);
        frames.push_back(item->CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<Integer>{1, 2, 3, 3}));
    EXPECT_FALSE(Bar->AnimateTimer->Enabled());
    EXPECT_EQ(Painted({item->ObjectRect.Left + 1, 1}), static_cast<TColor>(0x00FF00));
    item->MouseLeave();
    frames.clear();
    for (int tick = 0; tick < 4; ++tick) {
        AdvanceMs(40);
        frames.push_back(item->CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<Integer>{2, 1, 0, 0}));
    EXPECT_EQ(Painted({item->ObjectRect.Left + 1, 1}), static_cast<TColor>(0x0000FF));
}

}  // namespace
}  // namespace menustest
