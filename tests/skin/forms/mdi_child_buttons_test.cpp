// A maximized MDI child's caption buttons on the parent's main-menu bar: added once and removed when no child
// is maximized, placed at both ends of the items, enabled from the child's border icons, and acting only when
// released over themselves.
#include "tests/skin/forms/mdi_fixture.h"

#include "skin/forms/main_menu_bar.h"
#include "skin/forms/mdi_child_buttons.h"

namespace formstest {
namespace {

class MdiChildButtonsTest : public TMdiFixture {
protected:
    void SetUp() override
    {
        TMdiFixture::SetUp();
        MakeParent(600, 300);
        Menu = new TMainMenu(Parent);
        for (const char* caption : {"&File", "&Window"}) {
            auto* item = new TMenuItem(Parent);
            item->SetCaption(caption);
            Menu->Items()->Add(item);
        }
        Bar = new TspSkinMainMenuBar(Parent);
        Bar->SetAlign(alTop);
        Bar->SetParent(Parent);
        Bar->SetMainMenu(Menu);
        Bar->SetCorvalis(ParentSkin);
        Pump();
    }

    std::vector<TStdCommand> Commands()
    {
        std::vector<TStdCommand> commands;
        for (Integer i = 0; i < Bar->ButtonsCount; ++i)
            commands.push_back(dynamic_cast<TspSkinMainMenuBarButton*>(Bar->Objects(i))->Command);
        return commands;
    }
    TspSkinMainMenuBarButton* Button(TStdCommand ACommand)
    {
        for (Integer i = 0; i < Bar->ButtonsCount; ++i)
            if (auto* b = dynamic_cast<TspSkinMainMenuBarButton*>(Bar->Objects(i)); b && b->Command == ACommand)
                return b;
        return nullptr;
    }
    TPoint Centre(TStdCommand ACommand)
    {
        const TRect r = Button(ACommand)->ObjectRect;
        return Bar->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    void Maximize(TForm* AChild)
    {
        SkinOf(AChild)->SetWindowState(wsMaximized);
        Pump();
    }

    TMainMenu* Menu = nullptr;
    TspSkinMainMenuBar* Bar = nullptr;
};

TEST_F(MdiChildButtonsTest, FourButtonsComeOnceWithTheFirstMaximizedChildAndGoWithTheLast)
{
    TForm* a = AddChild("A");
    TForm* b = AddChild("B");
    const Integer items = static_cast<Integer>(Bar->Items().size());
    EXPECT_EQ(Bar->ButtonsCount, 0);
    Maximize(a);
    EXPECT_EQ(Commands(), (std::vector<TStdCommand>{cmSysMenu, cmClose, cmMaximize, cmMinimize}));
    EXPECT_EQ(Bar->ObjectCount(), items + 4);
    Maximize(b);
    win::SendMessage(Parent->Handle(), SKM_MDICHILD_MAXIMIZED, 0, 0);
    EXPECT_EQ(Bar->ObjectCount(), items + 4);

    // A rebuilt bar keeps them while a child is maximized.
    Bar->UpDateItems();
    EXPECT_EQ(Bar->ButtonsCount, 4);
    EXPECT_EQ(Bar->ObjectCount(), items + 4);

    SkinOf(a)->SetWindowState(wsNormal);
    Pump();
    EXPECT_EQ(Bar->ButtonsCount, 4);
    SkinOf(b)->SetWindowState(wsNormal);
    Pump();
    EXPECT_EQ(Bar->ButtonsCount, 0);
    EXPECT_EQ(Bar->ObjectCount(), items);
    EXPECT_FALSE(Bar->FMDIChildMax);
}

TEST_F(MdiChildButtonsTest, WithoutARecordTheButtonsAreSquaresAtBothEndsOfTheItems)
{
    Maximize(AddChild("A"));
    Bar->Repaint();
    Pump();
    const Integer side = Bar->Height() - 4;  // the plain items area is inset by 2 on every side
    EXPECT_EQ(Button(cmSysMenu)->ObjectRect, Bounds(2, 2, side, side));
    const Integer right = Bar->Width() - 2;
    EXPECT_EQ(Button(cmClose)->ObjectRect, Bounds(right - side, 2, side, side));
    EXPECT_EQ(Button(cmMaximize)->ObjectRect, Bounds(right - 2 * side - 2, 2, side, side));
    EXPECT_EQ(Button(cmMinimize)->ObjectRect, Bounds(right - 3 * side - 4, 2, side, side));
    // The first item starts after the system-menu button.
    EXPECT_EQ(Bar->Items()[0]->ObjectRect.Left, 2 + side + 2);
}

TEST_F(MdiChildButtonsTest, TheChildsBorderIconsEnableMinimizeAndTheSystemMenuOnly)
{
    TForm* a = AddChild("A");
    SkinOf(a)->SetBorderIcons(TspBorderIcons{TspBorderIcon::biSystemMenu});
    TForm* b = AddChild("B");
    SkinOf(b)->SetBorderIcons(TspBorderIcons{TspBorderIcon::biMinimize});
    Maximize(a);
    EXPECT_FALSE(Button(cmMinimize)->Enabled);
    EXPECT_TRUE(Button(cmSysMenu)->Enabled);
    EXPECT_TRUE(Button(cmClose)->Enabled);
    EXPECT_TRUE(Button(cmMaximize)->Enabled);

    // The disabled minimize button does not react to the mouse.
    Display.Click(Centre(cmMinimize));
    AdvanceMs(60);
    EXPECT_EQ(SkinOf(a)->WindowState(), wsMaximized);

    // Restoring one of two maximized children enables the buttons from the other one.
    Maximize(b);
    SkinOf(a)->SetWindowState(wsNormal);
    Pump();
    EXPECT_TRUE(Button(cmMinimize)->Enabled);
    EXPECT_FALSE(Button(cmSysMenu)->Enabled);
}

TEST_F(MdiChildButtonsTest, AButtonActsOnlyWhenReleasedOverItself)
{
    TForm* a = AddChild("A");
    int closed = 0;
    a->OnClose = [&closed](TObject*, TCloseAction& Action) {
        ++closed;
        Action = caFree;
    };
    Maximize(a);
    const TPoint close = Centre(cmClose);
    Display.MoveMouse(close);
    AdvanceMs(60);
    Display.PressButton(close);
    AdvanceMs(60);
    const TPoint away = Bar->ClientToScreen(TPoint{Bar->Width() / 2, Bar->Height() / 2});
    Display.MoveMouse(away);
    AdvanceMs(60);
    Display.ReleaseButton(away);
    AdvanceMs(60);
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(Button(cmClose)->FDown);

    // The restore button brings the child back; maximized again, a release over close closes and frees it,
    // and the buttons go with it from inside their own handler.
    Display.MoveMouse(Centre(cmMaximize));
    AdvanceMs(60);
    Display.Click(Centre(cmMaximize));
    AdvanceMs(60);
    EXPECT_EQ(SkinOf(a)->WindowState(), wsNormal);
    EXPECT_EQ(Bar->ButtonsCount, 0);
    Maximize(a);
    Display.MoveMouse(Centre(cmClose));
    AdvanceMs(60);
    Display.Click(Centre(cmClose));
    AdvanceMs(60);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(Parent->MDIChildCount(), 0);
    EXPECT_EQ(Bar->ButtonsCount, 0);
}

TEST_F(MdiChildButtonsTest, AClosedChildTakesItsMergedMenuOffTheBar)
{
    // The menu made after the skinned form goes before it: the bar hears of the menu first, then of the child.
    for (bool menuFirst : {false, true}) {
        auto* child = new TForm(App.get());
        child->SetFormStyle(fsMDIChild);
        TMainMenu* own = menuFirst ? new TMainMenu(child) : nullptr;
        new TspCorvalis(child);
        if (!own) own = new TMainMenu(child);
        auto* clip = new TMenuItem(child);
        clip->SetCaption("&Clip");
        clip->SetGroupIndex(1);
        own->Items()->Add(clip);
        child->Show();
        Pump();
        Bar->UpDateItems();
        ASSERT_EQ(Bar->Items().size(), 3u) << menuFirst;
        Maximize(child);
        delete child;
        Pump();
        Bar->Repaint();
        Pump();
        ASSERT_EQ(Bar->Items().size(), 2u) << menuFirst;
        EXPECT_EQ(Bar->Items()[1]->MenuItem->Caption(), "&Window") << menuFirst;
        EXPECT_EQ(Bar->ButtonsCount, 0) << menuFirst;
    }
}

}  // namespace
}  // namespace formstest
