// An MDI parent's skinned form arranging its children: tiling and cascading, the slots of minimized children
// along the bottom, maximized children filling the client area, and the procedure in front of the client window.
#include "tests/skin/forms/mdi_fixture.h"

#include "platform/win/window.h"

namespace formstest {
namespace {

using MdiArrangeTest = TMdiFixture;

TEST_F(MdiArrangeTest, TileFillsColumnsFromTheRightAndEachColumnFromTheBottom)
{
    struct TCase {
        int Count;
        std::vector<TRect> Expected;  // by child index
    };
    const std::vector<TCase> cases = {
        {1, {Bounds(0, 0, 600, 300)}},
        {2, {Bounds(0, 0, 600, 150), Bounds(0, 150, 600, 150)}},
        {3, {Bounds(0, 0, 600, 100), Bounds(0, 100, 600, 100), Bounds(0, 200, 600, 100)}},
        {4, {Bounds(0, 0, 300, 150), Bounds(0, 150, 300, 150), Bounds(300, 0, 300, 150), Bounds(300, 150, 300, 150)}},
        // The right column holds three, the left one the rest at a new row height.
        {5,
         {Bounds(0, 0, 300, 150), Bounds(0, 150, 300, 150), Bounds(300, 0, 300, 100), Bounds(300, 100, 300, 100),
          Bounds(300, 200, 300, 100)}},
        {7,
         {Bounds(0, 0, 300, 100), Bounds(0, 100, 300, 100), Bounds(0, 200, 300, 100), Bounds(300, 0, 300, 75),
          Bounds(300, 75, 300, 75), Bounds(300, 150, 300, 75), Bounds(300, 225, 300, 75)}},
    };
    MakeParent();
    ASSERT_EQ(WorkArea(), Rect(0, 0, 600, 300));
    for (const TCase& c : cases) {
        while (static_cast<int>(Children.size()) < c.Count) AddChild("Child" + std::to_string(Children.size()), false);
        ParentMenus()->Tile();
        for (int i = 0; i < c.Count; ++i) EXPECT_EQ(Children[i]->BoundsRect(), c.Expected[i]) << c.Count << "/" << i;
    }
}

TEST_F(MdiArrangeTest, CascadeStepsByTheCaptionFromTheLastChildAndStartsOverAtTheEdge)
{
    MakeParent(1000, 600);
    const Integer step = ParentSkin->DefaultCaptionHeight() + 3;
    // (1000 - 800) / step steps fit into a fifth of the width.
    const Integer fit = 200 / step;
    for (int i = 0; i < 3; ++i) AddChild("Child" + std::to_string(i), false);
    ParentMenus()->Cascade();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Children[i]->BoundsRect(), Bounds((2 - i) * step, (2 - i) * step, 1000 - 2 * step, 600 - 2 * step))
            << i;

    // More children than steps: the size leaves room for the steps that fit, and a window that would cross the
    // edge starts at the corner again.
    while (static_cast<int>(Children.size()) < fit + 2) AddChild("Child" + std::to_string(Children.size()), false);
    Children[1]->SetBorderStyle(bsSingle);  // keeps its own size
    Children[1]->SetBounds(0, 0, 200, 120);
    ParentMenus()->Cascade();
    const int n = static_cast<int>(Children.size());
    const Integer w = 1000 - fit * step, h = 600 - fit * step;
    Integer offset = 0;
    for (int i = n - 1; i >= 0; --i) {
        const Integer cw = i == 1 ? 200 : w, ch = i == 1 ? 120 : h;
        if (offset + cw > 1000 || offset + ch > 600) offset = 0;
        EXPECT_EQ(Children[i]->BoundsRect(), Bounds(offset, offset, cw, ch)) << i;
        offset += step;
    }
    EXPECT_EQ(Children[0]->Left(), 0);
}

TEST_F(MdiArrangeTest, MinimizedChildrenTakeTheFirstFreeSlotAlongTheBottom)
{
    MakeParent(600, 300);
    for (int i = 0; i < 6; ++i) AddChild("Child" + std::to_string(i));
    TspCorvalis* first = SkinOf(Children[0]);
    for (TForm* child : Children) SkinOf(child)->SetWindowState(wsMinimized);
    Pump();
    const Integer mw = first->GetMinWidth(), mh = first->GetMinHeight();
    ASSERT_GT(mw, 0);
    ASSERT_GT(mh, 0);
    // A row holds as many as fit; the next row starts above it.
    const Integer perRow = 600 / mw;
    ASSERT_LT(perRow, 6);
    for (int i = 0; i < 6; ++i) {
        const TPoint expected{(i % perRow) * mw, 300 - (i / perRow + 1) * mh};
        EXPECT_EQ(Children[i]->BoundsRect(), Bounds(expected.X, expected.Y, mw, mh)) << i;
    }
    // A taller client area lays the minimized children out again along its new bottom.
    Parent->SetBounds(0, 0, 600, 400);
    Pump();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Children[i]->Top(), 400 - (i / perRow + 1) * mh) << i;
    Parent->SetBounds(0, 0, 600, 300);
    Pump();

    // A restored child gives its slot back to the next one minimized, and comes back to its own bounds.
    SkinOf(Children[1])->SetWindowState(wsNormal);
    EXPECT_EQ(Children[1]->BoundsRect(), Bounds(10, 10, 200, 120));
    SkinOf(Children[1])->SetWindowState(wsMinimized);
    EXPECT_EQ(Children[1]->BoundsRect(), Bounds(mw, 300 - mh, mw, mh));
}

TEST_F(MdiArrangeTest, AMaximizedChildFillsTheClientAreaAndFollowsItsSize)
{
    MakeParent(600, 300);
    TForm* a = AddChild("A");
    TForm* b = AddChild("B");
    SkinOf(a)->SetWindowState(wsMaximized);
    Pump();
    EXPECT_EQ(a->BoundsRect(), Rect(0, 0, 600, 300));
    EXPECT_TRUE(ParentSkin->MDIChildMaximized());
    EXPECT_EQ(ParentSkin->FindMaximizedChild(), SkinOf(a));

    Parent->SetBounds(0, 0, 500, 250);
    Pump();
    EXPECT_EQ(a->BoundsRect(), Rect(0, 0, 500, 250));
    EXPECT_EQ(b->BoundsRect(), Bounds(10, 10, 200, 120));

    // Restoring one of two maximized children keeps the parent's flag; the last one clears it.
    SkinOf(b)->SetWindowState(wsMaximized);
    SkinOf(a)->SetWindowState(wsNormal);
    EXPECT_TRUE(ParentSkin->MDIChildMaximized());
    EXPECT_EQ(a->BoundsRect(), Bounds(10, 10, 200, 120));
    SkinOf(b)->SetWindowState(wsNormal);
    EXPECT_FALSE(ParentSkin->MDIChildMaximized());
    EXPECT_EQ(ParentSkin->FindMaximizedChild(), nullptr);
}

TEST_F(MdiArrangeTest, TheClientWindowHasNoFrameAndGetsItsProcedureBackWhenTheSkinnedFormGoes)
{
    MakeParent(400, 200);
    const win::HWND client = Parent->ClientHandle();
    ASSERT_NE(client, nullptr);
    win::WNDCLASS cls;
    ASSERT_TRUE(win::GetClassInfo("MDIClient", cls));
    const auto own = reinterpret_cast<win::LONG_PTR>(cls.lpfnWndProc);
    EXPECT_NE(win::GetWindowLong(client, win::GWL_WNDPROC), own);
    Parent->SetBounds(0, 0, 420, 220);
    Pump();
    TRect window, inside;
    win::GetWindowRect(client, window);
    win::GetClientRect(client, inside);
    EXPECT_EQ(inside.Width(), window.Width());
    EXPECT_EQ(inside.Height(), window.Height());
    EXPECT_EQ(win::SendMessage(client, win::WM_NCACTIVATE, 1, 0), 1);

    delete ParentSkin;
    ParentSkin = nullptr;
    EXPECT_EQ(win::GetWindowLong(client, win::GWL_WNDPROC), own);
    // The client window lives on with its own procedure.
    Parent->SetBounds(0, 0, 400, 200);
    Pump();
}

}  // namespace
}  // namespace formstest
