// The MDI tabs bar: tab layout with and without a minimum width, tabs following the children, the hidden-tab
// list, selecting and dragging tabs, and closing children from their tabs' close buttons.
#include "tests/skin/forms/mdi_fixture.h"

#include "platform/win/window.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/mdi_tabs_bar.h"
#include "skin/forms/popup_menu.h"

namespace formstest {
namespace {

TEST(MdiTabLayout, TabsShareTheBarUpToTheirWidthOrHideWhatDoesNotFitAtTheMinimum)
{
    struct TCase {
        const char* Name;
        int N, Width, DefaultWidth, MinWidth;
        int TabWidth, FirstHidden, LastRight, DragLimit;
    };
    const std::vector<TCase> cases = {
        {"ten narrowed, flush with the end", 10, 500, 100, 0, 48, 10, 500, 500},
        {"three at their full width", 3, 500, 100, 0, 100, 3, 315, 500},
        {"ten at a minimum of 80", 10, 500, 100, 80, 80, 5, 415, 485},
        {"minimum not reached", 4, 500, 100, 80, 100, 4, 415, 500},
        {"a bar too narrow for one", 2, 40, 100, 80, 80, 0, 0, 25},
    };
    for (const TCase& c : cases) {
        const TspTabLayout layout = LayoutMDITabs(c.N, c.Width, 20, c.DefaultWidth, c.MinWidth);
        ASSERT_EQ(static_cast<int>(layout.Rects.size()), c.N) << c.Name;
        EXPECT_EQ(layout.Hidden, c.N - c.FirstHidden) << c.Name;
        EXPECT_EQ(layout.DragLimit, c.DragLimit) << c.Name;
        for (int i = 0; i < c.N; ++i) {
            const TRect r = layout.Rects[i];
            if (i >= c.FirstHidden) {
                EXPECT_FALSE(layout.Visible[i]) << c.Name << " " << i;
                EXPECT_EQ(r, TRect{}) << c.Name << " " << i;
                continue;
            }
            EXPECT_TRUE(layout.Visible[i]) << c.Name << " " << i;
            EXPECT_EQ(r.Left, 15 + i * c.TabWidth) << c.Name << " " << i;
            EXPECT_EQ(r.Height(), 20) << c.Name << " " << i;
            if (i + 1 < c.FirstHidden) {
                EXPECT_EQ(r.Width(), c.TabWidth) << c.Name << " " << i;
            }
        }
        if (c.FirstHidden > 0) {
            EXPECT_EQ(layout.Rects[c.FirstHidden - 1].Right, c.LastRight) << c.Name;
        }
    }
    EXPECT_TRUE(LayoutMDITabs(0, 500, 20, 100, 0).Rects.empty());
}

class MdiTabsBarTest : public TMdiFixture {
protected:
    void MakeBar(Integer AWidth = 500)
    {
        MakeParent(AWidth, 300);
        Bar = new TspSkinMDITabsBar(Parent);
        Bar->SetAlign(alTop);
        Bar->SetParent(Parent);
        Bar->SetCorvalis(ParentSkin);
        ParentSkin->SetMDITabsBar(Bar);
        Pump();
    }

    std::vector<std::string> TabNames()
    {
        std::vector<std::string> names;
        for (Integer i = 0; i < Bar->TabCount(); ++i) names.push_back(Bar->Tabs(i)->Child->Name());
        return names;
    }

    TPoint Centre(Integer ATab)
    {
        const TRect r = Bar->Tabs(ATab)->ObjectRect;
        return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
    }

    TPoint CloseButton(Integer ATab)
    {
        const TspMDITab* tab = Bar->Tabs(ATab);
        const TRect b = tab->ButtonRect;
        return {tab->ObjectRect.Left + b.Left + b.Width() / 2, tab->ObjectRect.Top + b.Top + b.Height() / 2};
    }

    void Mouse(win::UINT AMsg, TPoint P)
    {
        const win::WPARAM keys = AMsg == win::WM_LBUTTONUP ? 0 : win::MK_LBUTTON;
        win::SendMessage(Bar->Handle(), AMsg, keys, win::MAKELPARAM(P.X, P.Y));
        Pump();
    }

    void Click(TPoint ADown, TPoint AUp)
    {
        Mouse(win::WM_LBUTTONDOWN, ADown);
        if (ADown != AUp) Mouse(win::WM_MOUSEMOVE, AUp);
        Mouse(win::WM_LBUTTONUP, AUp);
    }

    TspSkinMDITabsBar* Bar = nullptr;
};

TEST_F(MdiTabsBarTest, ATabFollowsEachShownChildUnlessTheParentRefusesIt)
{
    MakeBar();
    EXPECT_EQ(Bar->ListButton(), nullptr);
    AddChild("A");
    TForm* b = AddChild("B");
    AddChild("C");
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "B", "C"}));
    ASSERT_NE(Bar->ListButton(), nullptr);

    b->Hide();
    Pump();
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "C"}));
    b->Show();
    Pump();
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "C", "B"}));

    ParentSkin->OnAcceptToMDITabsBar = [](TObject*, TCustomForm* Child, bool& Accept) {
        Accept = Child->Name() != "D";
    };
    AddChild("D");
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "C", "B"}));

    // A child freed without hiding first takes its tab along.
    delete Children[0];
    Pump();
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"C", "B"}));

    Bar->UpdateListMenu();
    TMenuItem* items = Bar->ListMenu()->Items();
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Items(0)->Name(), "C_CVLCHILDITEMBAR");
    EXPECT_EQ(items->Items(1)->Caption(), "B");
}

TEST_F(MdiTabsBarTest, TabsThatDoNotFitAreListedByTheHideListButton)
{
    MakeBar(500);
    Bar->SetMinTabWidth(80);
    for (int i = 0; i < 10; ++i) AddChild("Child" + std::to_string(i));
    Bar->Invalidate();
    Pump();
    EXPECT_EQ(Bar->InVisibleCount(), 5);
    ASSERT_NE(Bar->HideListButton(), nullptr);
    EXPECT_EQ(Bar->HideListButton()->Align(), alRight);
    Bar->UpdateHideListMenu();
    TMenuItem* items = Bar->HideListMenu()->Items();
    ASSERT_EQ(items->Count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(items->Items(i)->Caption(), "Child" + std::to_string(5 + i));

    // A hidden child chosen from the list comes to the front.
    items->Items(2)->Click();
    Pump();
    EXPECT_EQ(Parent->ActiveMDIChild(), Children[7]);

    Bar->SetMinTabWidth(0);
    Bar->Invalidate();
    Pump();
    EXPECT_EQ(Bar->InVisibleCount(), 0);
    EXPECT_EQ(Bar->HideListButton(), nullptr);
}

TEST_F(MdiTabsBarTest, AClickSelectsAChildAndADragPastTheNextCentreReorders)
{
    MakeBar();
    for (const char* name : {"A", "B", "C"}) AddChild(name);
    Click(Centre(0), Centre(0));
    EXPECT_EQ(Parent->ActiveMDIChild(), Children[0]);
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "B", "C"}));

    // One pixel starts a drag, but lands nowhere.
    const TPoint a = Centre(0);
    Mouse(win::WM_LBUTTONDOWN, a);
    Mouse(win::WM_MOUSEMOVE, TPoint{a.X + 1, a.Y});
    EXPECT_TRUE(Bar->Dragging());
    Mouse(win::WM_LBUTTONUP, TPoint{a.X + 1, a.Y});
    EXPECT_FALSE(Bar->Dragging());
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "B", "C"}));

    // The dragged tab's right edge passes B's centre: A goes behind B.
    const Integer w = Bar->Tabs(0)->ObjectRect.Width();
    Click(a, TPoint{a.X + w / 2 + 1, a.Y});
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"B", "A", "C"}));

    // Dragged far past either end, the tab stays inside the bar; released there it goes last.
    const TPoint c = Centre(2);
    Mouse(win::WM_LBUTTONDOWN, c);
    Mouse(win::WM_MOUSEMOVE, TPoint{c.X + 2000, c.Y});
    Bar->CalcTabRects();
    EXPECT_EQ(Bar->Tabs(2)->ObjectRect.Right, Bar->Width());
    Mouse(win::WM_MOUSEMOVE, TPoint{c.X - 2000, c.Y});
    Bar->CalcTabRects();
    EXPECT_EQ(Bar->Tabs(2)->ObjectRect.Left, 0);
    Mouse(win::WM_LBUTTONUP, TPoint{c.X - 2000, c.Y});
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"C", "B", "A"}));
}

TEST_F(MdiTabsBarTest, AChildClosesOnlyWhenThePressAndReleaseAreOnItsCloseButton)
{
    MakeBar();
    Bar->SetShowCloseButtons(true);
    std::vector<std::string> closed;
    for (const char* name : {"A", "B", "C"}) {
        TForm* child = AddChild(name);
        child->OnClose = [&closed, child](TObject*, TCloseAction& Action) {
            closed.push_back(child->Name());
            Action = caHide;
        };
    }
    Bar->Invalidate();
    Pump();
    ASSERT_FALSE(IsEmptyRect(Bar->Tabs(1)->ButtonRect));

    // Pressed on a tab's body and released on another tab's close button: a drag, not a close.
    Click(Centre(0), CloseButton(1));
    EXPECT_TRUE(closed.empty());

    // Pressed on the button and released beside it: nothing closes and the button is back at rest.
    const TPoint button = CloseButton(2);
    Click(button, Centre(2));
    EXPECT_TRUE(closed.empty());
    EXPECT_FALSE(Bar->Tabs(2)->ButtonMouseDown);

    Click(CloseButton(2), CloseButton(2));
    EXPECT_EQ(closed, std::vector<std::string>{"C"});
    EXPECT_EQ(TabNames().size(), 2u);
}

TEST_F(MdiTabsBarTest, ClosingTheLastChildFromItsTabWhileTheBarHandlesTheReleaseIsClean)
{
    MakeBar();
    Bar->SetShowCloseButtons(true);
    TForm* freed = AddChild("Freed");
    freed->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    TForm* hidden = AddChild("Hidden");
    hidden->OnClose = [](TObject*, TCloseAction& Action) { Action = caHide; };
    Bar->Invalidate();
    Pump();

    // Hiding takes the tab away inside the release itself.
    Click(CloseButton(1), CloseButton(1));
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"Freed"}));
    Bar->Invalidate();
    Pump();
    // Freeing waits for the messages under way; the tab and the list button go with the child.
    Click(CloseButton(0), CloseButton(0));
    Pump();
    EXPECT_EQ(Bar->TabCount(), 0);
    EXPECT_EQ(Bar->ListButton(), nullptr);
    EXPECT_EQ(Parent->MDIChildCount(), 1);
}

}  // namespace
}  // namespace formstest
