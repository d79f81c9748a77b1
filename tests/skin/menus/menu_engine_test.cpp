// The menu engine: what hovering, keys and clicks do to the levels of an open menu, and what a chosen command
// sends in which order.
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

class MenuEngineTest : public TMenusFixture {
protected:
    // File (New > (Text, Picture > (Small, Large)), Open), disabled Print, -, Exit.
    void BuildThreeLevels()
    {
        TMenuItem* file = AddLogged("&File");
        TMenuItem* newItem = AddLogged("&New", file);
        AddLogged("&Text", newItem);
        TMenuItem* picture = AddLogged("&Picture", newItem);
        AddLogged("&Small", picture);
        AddLogged("&Large", picture);
        AddLogged("&Open", file);
        Add("&Print", nullptr, false);
        Add("-");
        AddLogged("E&xit");
    }
};

TEST_F(MenuEngineTest, AKeyboardOpenedLevelHighlightsItsFirstEnabledItemWithoutOpeningIt)
{
    Add("Off", nullptr, false);
    TMenuItem* sub = Add("Sub");
    Add("Inner", sub);
    PopupAt(200, 200);
    ASSERT_EQ(Engine->LevelCount(), 1);
    EXPECT_TRUE(Engine->FVisible);
    EXPECT_EQ(Last()->ActiveItem, 1);
    EXPECT_TRUE(Last()->Item(1)->WaitCommand);
    Run(1000);
    EXPECT_EQ(Engine->LevelCount(), 1);
}

TEST_F(MenuEngineTest, ArrowsWrapAndSkipDisabledItemsAndSeparators)
{
    BuildThreeLevels();
    PopupAt(200, 200);
    // File, Print (disabled), -, Exit.
    EXPECT_EQ(Last()->ActiveItem, 0);
    Key(win::VK_DOWN);
    EXPECT_EQ(Last()->ActiveItem, 3);
    Key(win::VK_DOWN);
    EXPECT_EQ(Last()->ActiveItem, 0);
    Key(win::VK_UP);
    EXPECT_EQ(Last()->ActiveItem, 3);
    EXPECT_TRUE(Last()->Item(3)->Active);
    EXPECT_FALSE(Last()->Item(0)->Active);
}

TEST_F(MenuEngineTest, ASearchThatFindsNothingLeavesTheHighlightWhereItIs)
{
    Add("One");
    Add("Two");
    Add("Off", nullptr, false);
    Add("-");
    PopupAt(200, 200);
    Key(win::VK_DOWN);
    ASSERT_EQ(Last()->ActiveItem, 1);
    // Only a disabled item and a separator follow; the search does not wrap a second time.
    Key(win::VK_DOWN);
    EXPECT_EQ(Last()->ActiveItem, 1);
}

TEST_F(MenuEngineTest, RightOpensASubMenuEscAndLeftCloseOnlyTheLastLevel)
{
    BuildThreeLevels();
    TRecorder control(Form, &Log);
    control.SetParent(Form);
    PopupAt(200, 200, &control);
    Key(win::VK_RIGHT);
    ASSERT_EQ(Engine->LevelCount(), 2);
    EXPECT_TRUE(Level(0)->Item(0)->Down);
    EXPECT_EQ(Last()->ActiveItem, 0);  // "New", highlighted, its sub-menu closed
    Key(win::VK_RIGHT);
    ASSERT_EQ(Engine->LevelCount(), 3);
    Key(win::VK_ESCAPE);
    EXPECT_EQ(Engine->LevelCount(), 2);
    EXPECT_FALSE(Level(1)->Item(0)->Down);
    EXPECT_TRUE(Level(1)->Item(0)->Active);
    Key(win::VK_LEFT);
    EXPECT_EQ(Engine->LevelCount(), 1);
    Key(win::VK_LEFT);  // nothing on the first level
    EXPECT_EQ(Engine->LevelCount(), 1);
    // Opening a sub-menu runs its item's OnClick first.
    EXPECT_EQ(Log, (std::vector<std::string>{"click &File", "click &New"}));
    Log.clear();
    int closed = 0;
    Engine->FOnMenuClose = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Engine);
        ++closed;
    };
    Key(win::VK_ESCAPE);
    EXPECT_EQ(Engine->LevelCount(), 0);
    EXPECT_FALSE(Engine->FVisible);
    EXPECT_EQ(Log, std::vector<std::string>{"control: close menu"});
    EXPECT_EQ(closed, 1);
    Engine->CloseLevels(0);
    EXPECT_EQ(closed, 1);
    control.SetParent(nullptr);
}

TEST_F(MenuEngineTest, ChoosingAnItemClosesNotifiesAndThenRunsTheCommand)
{
    BuildThreeLevels();
    TRecorder control(Form, &Log);
    control.SetParent(Form);
    TWndMethod previous = Form->WindowProc;
    Form->WindowProc = [&](TMessage& AMessage) {
        if (AMessage.Msg == kCloseMenu) Log.push_back("form: close menu");
        previous(AMessage);
    };
    PopupAt(200, 200, &control);
    Engine->FOnMenuClose = [&](TObject*) {
        Log.push_back(Engine->LevelCount() == 0 ? "menu closed, no levels" : "menu closed, levels left");
    };
    Key(win::VK_RIGHT);
    Key(win::VK_DOWN);  // Open
    Key(win::VK_RETURN);
    EXPECT_EQ(Log, (std::vector<std::string>{"click &File", "control: close menu", "menu closed, no levels",
                                             "form: close menu", "click &Open", "control: after command"}));
    EXPECT_FALSE(Engine->FVisible);
    Form->WindowProc = previous;
    control.SetParent(nullptr);
}

TEST_F(MenuEngineTest, AnAcceleratorChoosesItsItemAndOnADisabledItemOnlyHighlights)
{
    BuildThreeLevels();
    PopupAt(200, 200);
    Key('P');
    EXPECT_EQ(Engine->LevelCount(), 1);
    EXPECT_EQ(Last()->ActiveItem, 1);
    EXPECT_TRUE(Last()->Item(1)->Active);
    Key('X');
    EXPECT_EQ(Engine->LevelCount(), 0);
    EXPECT_EQ(Log, std::vector<std::string>{"click E&xit"});
}

TEST_F(MenuEngineTest, HoveringASubMenuItemOpensItAfterHalfASecond)
{
    BuildThreeLevels();
    PopupAt(200, 200);
    TspSkinPopupWindow* first = Last();
    Display.MoveMouse(ItemPoint(first, 3));  // Exit
    Run(100);
    Display.MoveMouse(ItemPoint(first, 0));  // File
    Run(60);
    Run(400);
    EXPECT_EQ(Engine->LevelCount(), 1);
    Run(100);
    ASSERT_EQ(Engine->LevelCount(), 2);
    EXPECT_TRUE(first->Item(0)->Down);
    // Into the sub-menu and onto New: its own sub-menu waits too; moving to Open before that cancels the wait.
    TspSkinPopupWindow* second = Last();
    Display.MoveMouse(ItemPoint(second, 0));
    Run(300);
    Display.MoveMouse(ItemPoint(second, 1));
    Run(600);
    EXPECT_EQ(Engine->LevelCount(), 2);
    Display.MoveMouse(ItemPoint(second, 0));
    Run(600);
    ASSERT_EQ(Engine->LevelCount(), 3);
    // Back on the first level: another item closes the deeper levels at once.
    Display.MoveMouse(ItemPoint(first, 3));
    Run(60);
    EXPECT_EQ(Engine->LevelCount(), 1);
    EXPECT_FALSE(first->Item(0)->Down);
}

TEST_F(MenuEngineTest, DisabledItemsAndSeparatorsAreNeverHotByMouseAndAClickOnThemDoesNothing)
{
    BuildThreeLevels();
    PopupAt(200, 200);
    TspSkinPopupWindow* first = Last();
    for (Integer index : {1, 2}) {
        Display.MoveMouse(ItemPoint(first, index));
        Run(60);
        EXPECT_FALSE(first->Item(index)->Active) << index;
        Display.Click(ItemPoint(first, index));
        Pump();
        EXPECT_EQ(Engine->LevelCount(), 1) << index;
    }
    Display.Click(ItemPoint(first, 3));
    Pump();
    EXPECT_EQ(Engine->LevelCount(), 0);
    EXPECT_EQ(Log, std::vector<std::string>{"click E&xit"});
}

TEST_F(MenuEngineTest, AnEmptyTreeOrAStartPastTheItemsShowsNothing)
{
    TRecorder control(Form, &Log);
    PopupAt(200, 200, &control);
    EXPECT_EQ(Engine->LevelCount(), 0);
    EXPECT_FALSE(Engine->FVisible);
    EXPECT_EQ(Engine->PopupCtrl, &control);
    Add("One");
    Engine->Popup(nullptr, nullptr, 1, Rect(10, 10, 10, 10), Menu->Items(), false);
    EXPECT_EQ(Engine->LevelCount(), 0);
}

TEST_F(MenuEngineTest, ANewMenuEndsTheOpenOneWhichHearsOfItOnce)
{
    Add("One");
    TRecorder control(Form, &Log);
    PopupAt(200, 200, &control);
    int closed = 0;
    Engine->FOnMenuClose = [&](TObject*) { ++closed; };
    PopupAt(300, 300);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(Log, std::vector<std::string>{"control: close menu"});
    EXPECT_EQ(Engine->LevelCount(), 1);
    EXPECT_FALSE(Engine->FFirst);
}

TEST_F(MenuEngineTest, AClickHandlerThatRunsMessagesAndOpensAnotherMenuLeavesItOpen)
{
    // The chosen level's release arrives while the handler (a modal dialog, say) runs messages inside the
    // level's own click.
    TMenuItem* again = Add("Again");
    again->OnClick = [&](TObject*) {
        Pump();
        PopupAt(50, 50);
    };
    PopupAt(200, 200);
    Display.Click(ItemPoint(Last(), 0));
    Pump();
    Run(50);
    ASSERT_EQ(Engine->LevelCount(), 1);
    EXPECT_EQ(Last()->Left(), 50);
    Key(win::VK_RETURN);
    Run(50);
    EXPECT_EQ(Last()->Left(), 50);
}

TEST_F(MenuEngineTest, TheCloseMessagesAreTheOnesThatEndAMenu)
{
    for (win::UINT m : {win::WM_MOVE, win::WM_SIZE, win::WM_ACTIVATE, win::WM_KILLFOCUS, win::WM_CANCELMODE,
                        win::WM_MOUSEACTIVATE, win::WM_NCLBUTTONDOWN, win::WM_NCRBUTTONDOWN,
                        win::WM_NCMBUTTONDOWN, win::WM_LBUTTONDOWN, win::WM_RBUTTONDOWN, win::WM_MBUTTONDOWN,
                        win::WM_PARENTNOTIFY})
        EXPECT_TRUE(IsMenuCloseMessage(m)) << m;
    for (win::UINT m : {win::WM_MOUSEMOVE, win::WM_LBUTTONUP, win::WM_KEYDOWN, win::WM_PAINT, win::WM_TIMER})
        EXPECT_FALSE(IsMenuCloseMessage(m)) << m;
}

}  // namespace
}  // namespace menustest
