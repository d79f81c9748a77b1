// The level window: its size in the default look, where it goes against its anchor inside the work area, and
// scrolling when its items do not fit.
#include <functional>

#include "platform/gdi/gdi.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

class PopupWindowTest : public TMenusFixture {
protected:
    void AddItems(int ACount)
    {
        for (int i = 0; i < ACount; ++i) Add("Item " + std::to_string(i));
    }
    // A 3-level tree: "Top" > "Middle" > "Leaf", each level with a few siblings.
    void BuildThreeLevels()
    {
        TMenuItem* top = Add("Top with a long caption");
        Add("Second");
        TMenuItem* middle = Add("Middle with a long caption", top);
        Add("Sibling", top);
        Add("Leaf with a long caption", middle);
        Add("Another leaf", middle);
    }
};

Integer TextWidth(TFont* AFont, const std::string& AText)
{
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(AFont);
    TRect r = Rect(0, 0, 0, 0);
    win::DrawText(b.Canvas()->Handle(), AText, &r, win::DT_CALCRECT | win::DT_SINGLELINE);
    return r.Width();
}

TEST_F(PopupWindowTest, TheDefaultLookIsTheWidestTextPlus44WideAndTheItemsPlus6High)
{
    Add("Short");
    Add("A much longer caption");
    Add("-");
    TMenuItem* withKey = Add("Keyed");
    withKey->SetShortCut(ShortCut('K', TShiftState{ssCtrl}));
    PopupAt(100, 100);
    TFont* font = &Engine->FDefaultMenuItemFont;
    const Integer widest = std::max(TextWidth(font, "A much longer caption"), TextWidth(font, "Keyed  Ctrl+K"));
    EXPECT_EQ(Last()->Width(), widest + 2 + 16 + 16 + 10);
    EXPECT_EQ(Last()->Height(), 3 * 20 + 4 + 6);
    EXPECT_EQ(Last()->Left(), 100);
    EXPECT_EQ(Last()->Top(), 100);
}

struct TPlacementCase {
    const char* Name;
    TRect WorkArea;
    TRect Anchor;
    bool PopupByItem;
    bool PopupUp;
    // The expected position from the level's width and height.
    std::function<TPoint(Integer W, Integer H)> Expected;
};

TEST_F(PopupWindowTest, ALevelIsPlacedAgainstItsAnchorInsideTheWorkArea)
{
    AddItems(3);  // 3 x 20 + 6 = 66 high; first item 3 pixels into the window
    PopupAt(100, 100);
    TspSkinPopupWindow* level = Last();
    const Integer h = level->Height();
    ASSERT_EQ(h, 66);
    const std::vector<TPlacementCase> cases = {
        {"below", Rect(0, 0, 800, 300), Rect(100, 100, 100, 100), false, false,
         [](Integer, Integer) { return TPoint{100, 100}; }},
        {"10 px from the right edge", Rect(0, 0, 800, 300), Rect(790, 100, 790, 100), false, false,
         [](Integer w, Integer) { return TPoint{800 - w, 100}; }},
        {"left of the work area", Rect(50, 0, 800, 300), Rect(20, 100, 20, 100), false, false,
         [](Integer, Integer) { return TPoint{50, 100}; }},
        {"upper half, no room below", Rect(0, 0, 800, 100), Rect(100, 40, 100, 40), false, false,
         [](Integer, Integer h) { return TPoint{101, 100 - h}; }},
        {"lower half, room above", Rect(0, 0, 800, 300), Rect(100, 280, 100, 280), false, false,
         [](Integer, Integer h) { return TPoint{100, 280 - h}; }},
        {"lower half, no room anywhere", Rect(0, 0, 800, 100), Rect(100, 60, 100, 60), false, false,
         [](Integer, Integer) { return TPoint{101, 0}; }},
        {"up, room above", Rect(0, 0, 800, 300), Rect(100, 200, 300, 220), false, true,
         [](Integer, Integer h) { return TPoint{100, 200 - h}; }},
        {"up, upper half, room below", Rect(0, 0, 800, 300), Rect(100, 30, 300, 50), false, true,
         [](Integer, Integer) { return TPoint{100, 50}; }},
        {"up, upper half, no room", Rect(0, 0, 800, 100), Rect(100, 40, 300, 45), false, true,
         [](Integer, Integer h) { return TPoint{301, 100 - h}; }},
        {"up, lower half, no room", Rect(0, 0, 800, 100), Rect(100, 60, 300, 70), false, true,
         [](Integer, Integer) { return TPoint{301, 0}; }},
        {"sub-menu beside its item", Rect(0, 0, 800, 300), Rect(100, 100, 200, 120), true, false,
         [](Integer, Integer) { return TPoint{201, 97}; }},
        {"sub-menu flipped left", Rect(0, 0, 800, 300), Rect(700, 100, 790, 120), true, false,
         [](Integer w, Integer) { return TPoint{700 - w - 1, 97}; }},
        {"sub-menu flipped left stays in the work area", Rect(0, 0, 800, 300), Rect(10, 100, 790, 120), true,
         false, [](Integer, Integer) { return TPoint{0, 97}; }},
        {"sub-menu, upper half, bottom on the edge", Rect(0, 0, 800, 100), Rect(100, 40, 200, 60), true, false,
         [](Integer, Integer h) { return TPoint{201, 100 - h}; }},
        {"sub-menu, lower half, ends by its item", Rect(0, 0, 800, 100), Rect(100, 70, 200, 90), true, false,
         [](Integer, Integer h) { return TPoint{201, 90 - h + 3}; }},
    };
    for (const TPlacementCase& c : cases) {
        Engine->WorkArea = c.WorkArea;
        level->CalcShowPosition(c.Anchor, c.PopupByItem, c.PopupUp);
        const TPoint expected = c.Expected(level->Width(), h);
        EXPECT_EQ(level->ShowX, expected.X) << c.Name;
        EXPECT_EQ(level->ShowY, expected.Y) << c.Name;
    }
}

TEST_F(PopupWindowTest, AThreeLevelMenuNearEachEdgeStaysInTheWorkAreaBesideItsItems)
{
    BuildThreeLevels();
    const std::vector<TPoint> corners = {{5, 5}, {1015, 5}, {5, 735}, {1015, 735}, {512, 735}, {1015, 370}};
    for (const TPoint& at : corners) {
        PopupAt(at.X, at.Y);
        Key(win::VK_RIGHT);
        Key(win::VK_RIGHT);
        ASSERT_EQ(Engine->LevelCount(), 3);
        for (Integer i = 0; i < 3; ++i) {
            const TRect r = Level(i)->BoundsRect();
            EXPECT_GE(r.Left, WorkArea.Left) << at.X << "," << at.Y << " level " << i;
            EXPECT_LE(r.Right, WorkArea.Right) << at.X << "," << at.Y << " level " << i;
            EXPECT_GE(r.Top, WorkArea.Top) << at.X << "," << at.Y << " level " << i;
            EXPECT_LE(r.Bottom, WorkArea.Bottom) << at.X << "," << at.Y << " level " << i;
        }
        for (Integer i = 1; i < 3; ++i) {
            const TRect parent = Level(i - 1)->BoundsRect();
            const TRect child = Level(i)->BoundsRect();
            EXPECT_TRUE(child.Left == parent.Right - 3 + 1 || child.Right == parent.Left + 3 - 1)
                << at.X << "," << at.Y << " level " << i;
        }
        Engine->CloseLevels(0);
        Pump();
    }
}

TEST_F(PopupWindowTest, ALevelTallerThanTheWorkAreaOpensAtItsTopAndScrollsByTheMarkers)
{
    AddItems(50);
    PopupAt(300, 400);
    TspSkinPopupWindow* level = Last();
    EXPECT_TRUE(level->Scroll);
    EXPECT_EQ(level->Top(), WorkArea.Top);
    EXPECT_EQ(level->Height(), WorkArea.Height());
    EXPECT_EQ(level->Left(), 301);  // beside the anchor
    EXPECT_EQ(level->VisibleStartIndex, 0);
    const Integer shown = level->VisibleCount;
    EXPECT_EQ(shown, (740 - 6 - 20) / 20);
    EXPECT_FALSE(level->Item(shown)->FVisible);

    Display.MoveMouse(TPoint{level->Left() + 20, level->Top() + level->Height() - 6});  // the down marker
    Run(60);
    EXPECT_EQ(level->ScrollCode, 2);
    Run(300);
    EXPECT_EQ(level->VisibleStartIndex, 3);
    Display.MoveMouse(TPoint{level->Left() + 20, level->Top() + 200});
    Run(60);
    EXPECT_EQ(level->ScrollCode, 0);
    const Integer stopped = level->VisibleStartIndex;
    Run(300);
    EXPECT_EQ(level->VisibleStartIndex, stopped);
}

TEST_F(PopupWindowTest, WrappingUpwardsShowsTheLastPageWithItsLastItemWhole)
{
    AddItems(50);
    PopupAt(300, 400);
    TspSkinPopupWindow* level = Last();
    ASSERT_EQ(level->ActiveItem, 0);
    Key(win::VK_UP);
    EXPECT_EQ(level->ActiveItem, 49);
    EXPECT_TRUE(level->Item(49)->FVisible);
    EXPECT_LE(level->Item(49)->ObjectRect.Bottom, level->NewItemsRect.Bottom - 10);
    EXPECT_EQ(level->VisibleStartIndex + level->VisibleCount, 50);
    Key(win::VK_DOWN);
    EXPECT_EQ(level->ActiveItem, 0);
    EXPECT_EQ(level->VisibleStartIndex, 0);
}

TEST_F(PopupWindowTest, ALimitOnItemsInAWindowScrollsButPlacesLikeAnyLevel)
{
    AddItems(8);
    Engine->MaxMenuItemsInWindow = 5;
    PopupAt(100, 100);
    TspSkinPopupWindow* level = Last();
    EXPECT_EQ(level->Height(), 5 * 20 + 6 + 20);
    EXPECT_TRUE(level->Scroll);
    EXPECT_TRUE(level->Scroll2);
    EXPECT_EQ(level->Left(), 100);
    EXPECT_EQ(level->Top(), 100);
    EXPECT_EQ(level->VisibleCount, 5);
    for (int i = 0; i < 5; ++i) Key(win::VK_DOWN);
    EXPECT_EQ(level->ActiveItem, 5);
    EXPECT_EQ(level->VisibleStartIndex, 1);
}

TEST_F(PopupWindowTest, HiddenItemsGetNoPlaceAndRedundantSeparatorsGo)
{
    Add("-");
    Add("One");
    Add("-");
    Add("-");
    Add("Hidden")->SetVisible(false);
    Add("Two");
    Add("-");
    PopupAt(100, 100);
    ASSERT_EQ(Last()->ItemCount(), 3);
    EXPECT_EQ(Last()->Item(0)->MenuItem->Caption(), "One");
    EXPECT_TRUE(Last()->Item(1)->IsSeparator());
    EXPECT_EQ(Last()->Item(2)->MenuItem->Caption(), "Two");
}

TEST_F(PopupWindowTest, ALevelNeverTakesTheActivation)
{
    Add("One");
    Form->SetFocus();
    Pump();
    win::HWND active = win::GetActiveWindow();
    PopupAt(100, 100);
    Display.Click(ItemPoint(Last(), 0));
    Pump();
    EXPECT_EQ(win::GetActiveWindow(), active);
    EXPECT_EQ(Engine->LevelCount(), 0);
}

}  // namespace
}  // namespace menustest
