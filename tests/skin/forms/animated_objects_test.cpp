// Animated objects on the virtual clock, animated buttons with a menu, and main-menu items in the frame.
#include "skin/forms/animated_objects.h"

#include "skin/forms/main_menu_bar.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/menu_mode.h"
#include "skin_frame_fixture.h"

namespace {

class AnimatedObjectsTest : public formstest::TSkinFrameFixture {
protected:
    void SetUp() override
    {
        TSkinFrameFixture::SetUp();
        NewSkinnedForm();
    }
    // A skin with the records added (a 40 x 10 strip of four frames as active picture 1); the main menu, when
    // given, is set before the skin so that its items become objects.
    TspSkinData* UseSkin(std::vector<std::unique_ptr<TspDataSkinObject>> ARecords, TMainMenu* AMenu = nullptr)
    {
        TspSkinData* skin = MakeSkin();
        skin->FActivePictures.push_back(std::make_unique<TBitmap>(40, 10, pf24bit));
        skin->FActivePicturesNames->Add("frames.bmp");
        skin->MainMenuRect = Rect(6, 22, 60, 36);
        for (auto& r : ARecords) skin->ObjectList.push_back(std::move(r));
        if (AMenu) Corvalis->SetMainMenu(AMenu);
        Corvalis->SetSkinData(skin);
        Pump();
        return skin;
    }
    static std::unique_ptr<TspDataSkinAnimate> Animation(const std::string& AName, Integer AInterval)
    {
        auto r = std::make_unique<TspDataSkinAnimate>(AName);
        r->SkinRect = Rect(50, 30, 60, 40);
        r->ActiveSkinRect = Rect(0, 0, 10, 10);
        r->ActivePictureIndex = 1;
        r->CountFrames = 4;
        r->TimerInterval = AInterval;
        r->Command = cmDefault;
        return r;
    }
    TspSkinAnimateObject* Animate(const std::string& AName)
    {
        const Integer i = Corvalis->GetIndex(AName);
        return i < 0 ? nullptr : dynamic_cast<TspSkinAnimateObject*>(Corvalis->Objects(i));
    }
};

TEST_F(AnimatedObjectsTest, IntervalsBelowATickStepEveryTickAndLongerOnesAccumulateTicks)
{
    std::vector<std::unique_ptr<TspDataSkinObject>> records;
    records.push_back(Animation("fast", 10));
    records.push_back(Animation("slow", 60));
    UseSkin(std::move(records));
    auto* fast = Animate("fast");
    auto* slow = Animate("slow");
    ASSERT_TRUE(fast && slow);
    EXPECT_EQ(fast->TimerInterval, 25);
    Corvalis->AnimateStart("fast");
    Corvalis->AnimateStart("slow");
    std::vector<Integer> fastFrames, slowFrames;
    for (int tick = 0; tick < 6; ++tick) {
        Run(25);
        fastFrames.push_back(fast->Frame());
        slowFrames.push_back(slow->Frame());
    }
    // Without Cycle a forward play ends on the last frame.
    EXPECT_EQ(fastFrames, (std::vector<Integer>{2, 3, 4, 4, 4, 4}));
    EXPECT_FALSE(fast->Active);
    EXPECT_EQ(slowFrames, (std::vector<Integer>{1, 1, 2, 2, 2, 3})) << "one frame per 75 ms";
    Corvalis->AnimateStop("slow");
    EXPECT_EQ(slow->Frame(), 1);
    EXPECT_FALSE(slow->Active);
}

TEST_F(AnimatedObjectsTest, CyclingForwardNeverStopsButBackwardStopsAtTheFirstFrame)
{
    std::vector<std::unique_ptr<TspDataSkinObject>> records;
    auto r = Animation("a", 25);
    r->Cycle = true;
    records.push_back(std::move(r));
    UseSkin(std::move(records));
    auto* a = Animate("a");
    ASSERT_TRUE(a);
    a->Start();
    std::vector<Integer> frames;
    for (int i = 0; i < 6; ++i) {
        a->ChangeFrame();
        frames.push_back(a->Frame());
    }
    EXPECT_EQ(frames, (std::vector<Integer>{2, 3, 4, 1, 2, 3}));
    EXPECT_TRUE(a->Active);
    a->Increment = false;
    a->ChangeFrame();
    a->ChangeFrame();
    EXPECT_EQ(a->Frame(), 1);
    EXPECT_FALSE(a->Active) << "backward play ends at frame 1 even with Cycle";
}

TEST_F(AnimatedObjectsTest, AButtonPlaysForwardUnderTheMouseAndBackWhenItLeaves)
{
    std::vector<std::unique_ptr<TspDataSkinObject>> records;
    auto r = Animation("b", 25);
    r->ButtonStyle = true;
    records.push_back(std::move(r));
    UseSkin(std::move(records));
    auto* b = Animate("b");
    ASSERT_TRUE(b);
    b->MouseEnter();
    Run(150);
    EXPECT_EQ(b->Frame(), 4);
    b->MouseLeave();
    Run(150);
    EXPECT_EQ(b->Frame(), 1);
    EXPECT_FALSE(b->Active);
    EXPECT_FALSE(Corvalis->AnimateTimer->Enabled()) << "nothing plays: the timer stops";
}

TEST_F(AnimatedObjectsTest, WithItsMenuOpenTheButtonIgnoresTheMouseAndPlaysBackWhenItCloses)
{
    auto* popup = new TPopupMenu(Form);
    auto* item = new TMenuItem(popup);
    item->SetCaption("Open");
    popup->Items()->Add(item);
    std::vector<std::unique_ptr<TspDataSkinObject>> records;
    auto r = Animation("m", 25);
    r->ButtonStyle = true;
    records.push_back(std::move(r));
    UseSkin(std::move(records));
    auto* b = Animate("m");
    ASSERT_TRUE(b);
    Corvalis->LinkMenu("m", popup, false);
    EXPECT_EQ(b->MenuItem, popup->Items());
    b->MouseEnter();
    Run(150);
    b->MouseDown(b->ObjectRect.Left + 2, b->ObjectRect.Top + 2, mbLeft);
    b->MouseUp(b->ObjectRect.Left + 2, b->ObjectRect.Top + 2, mbLeft);
    TspFormMenus* menus = FormMenusOf(Corvalis);
    ASSERT_TRUE(b->MenuTracking());
    EXPECT_TRUE(menus->SkinMenu->FVisible);
    b->MouseLeave();
    b->MouseEnter();
    Run(100);
    EXPECT_EQ(b->Frame(), 4) << "off and on while the menu is open: nothing plays";
    EXPECT_TRUE(b->Increment);
    menus->SkinMenu->Hide();
    menus->SkinMenuClose();
    EXPECT_FALSE(b->MenuTracking());
    Run(150);
    EXPECT_EQ(b->Frame(), 1) << "plays back from the last frame once the menu closed";
}

TEST_F(AnimatedObjectsTest, MainMenuItemsFollowTheOpenMenuAndStandAsideForAMenuBar)
{
    auto* menu = new TMainMenu(Form);
    for (const char* name : {"File", "Edit", "Help"}) {
        auto* top = new TMenuItem(menu);
        top->SetName(std::string("m") + name);
        top->SetCaption(name);
        auto* sub = new TMenuItem(menu);
        sub->SetCaption("Item");
        top->Add(sub);
        menu->Items()->Add(top);
    }
    menu->Items()->Items(1)->SetEnabled(false);
    std::vector<std::unique_ptr<TspDataSkinObject>> records;
    auto item = std::make_unique<TspDataSkinMainMenuItem>("MAINMENUITEM");
    item->SkinRect = Rect(0, 0, 20, 10);
    item->ActiveSkinRect = Rect(20, 0, 40, 10);
    item->TextRct = Rect(2, 0, 18, 10);
    item->ActivePictureIndex = 1;
    item->FontName = "DejaVu Sans";
    item->FontHeight = 10;
    records.push_back(std::move(item));
    UseSkin(std::move(records), menu);

    auto items = [&] {
        std::vector<TspSkinMainMenuItem*> list;
        for (Integer i = 0; i < Corvalis->ObjectCount(); ++i)
            if (auto* m = dynamic_cast<TspSkinMainMenuItem*>(Corvalis->Objects(i))) list.push_back(m);
        return list;
    };
    ASSERT_EQ(items().size(), 3u);
    auto* file = items()[0];
    auto* edit = items()[1];
    EXPECT_EQ(file->IDName, "mFile");
    EXPECT_FALSE(edit->Enabled) << "takes the menu item's state";

    // Each item follows the one before; one that runs past the menu strip is disabled and not drawn.
    TBitmap canvas(80, 60, pf24bit);
    for (auto* m : items()) m->Draw(canvas.Canvas(), true);
    EXPECT_EQ(file->ObjectRect.Left, Corvalis->NewMainMenuRect.Left);
    EXPECT_EQ(file->ObjectRect.Top, Corvalis->NewMainMenuRect.Top);
    EXPECT_EQ(edit->ObjectRect.Left, file->ObjectRect.Right);
    auto* help = items()[2];
    EXPECT_TRUE(help->Fits());
    const TRect strip = Corvalis->NewMainMenuRect;
    Corvalis->NewMainMenuRect.Right = help->ObjectRect.Right - 1;
    help->Draw(canvas.Canvas(), true);
    EXPECT_FALSE(help->Fits());
    EXPECT_FALSE(help->Enabled);
    Corvalis->NewMainMenuRect = strip;
    help->Draw(canvas.Canvas(), true);
    EXPECT_TRUE(help->Fits() && help->Enabled) << "room again: enabled as before";

    // A pressed item's menu moves to the next item under the mouse without a click.
    edit->Enabled = true;
    file->MouseDown(file->ObjectRect.Left + 1, file->ObjectRect.Top + 1, mbLeft);
    EXPECT_TRUE(file->Down());
    EXPECT_TRUE(Corvalis->InMainMenu);
    TspFormMenus* menus = FormMenusOf(Corvalis);
    EXPECT_TRUE(menus->SkinMenu->FVisible);
    edit->MouseEnter();
    EXPECT_FALSE(file->Down());
    EXPECT_TRUE(edit->Down());
    menus->SkinMenu->Hide();
    menus->SkinMenuClose();
    EXPECT_FALSE(edit->Down()) << "closing the menus releases the item";

    // A form whose menu a menu bar shows builds no items.
    Corvalis->MainMenuShownElsewhere = true;
    Corvalis->UpdateMainMenu(true);
    EXPECT_TRUE(items().empty());
    Corvalis->MainMenuShownElsewhere = false;
    Corvalis->UpdateMainMenu(false);
    EXPECT_EQ(items().size(), 3u);
    // A menu bar linked to the form shows the menu instead: the caption items go.
    auto* bar = new TspSkinMainMenuBar(Form);
    bar->SetCorvalis(Corvalis);
    EXPECT_TRUE(items().empty());
}

}  // namespace
