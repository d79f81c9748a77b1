// The owner-draw list box: geometry and the hidden scroll state, hookable item messages, selection by keys and
// clicks, and type-to-find.
#include "lists_fixture.h"

#include "platform/controls/lists/list_box.h"

#include <string>
#include <vector>

namespace liststest {
namespace {

using namespace win;

class ListBox : public TListsFixture {
protected:
    TListBox* Make(int ACount, int AWidth = 200, int AHeight = 100)
    {
        auto* box = new TListBox(Form);
        box->SetBounds(10, 10, AWidth, AHeight);
        box->SetParent(Form);
        for (int i = 0; i < ACount; ++i)
            box->Items()->Add("item " + std::to_string(i));
        Form->Show();
        Pump();
        return box;
    }
    std::vector<int> SelectedItems(TListBox* ABox)
    {
        std::vector<int> result;
        for (int i = 0; i < ABox->Count(); ++i)
            if (ABox->Selected(i))
                result.push_back(i);
        return result;
    }
};

TEST_F(ListBox, GeometryAndScrollStateInOneAndSeveralColumns)
{
    TListBox* box = Make(25);  // 100 px high, 16 px rows: 6 whole rows
    EXPECT_EQ(box->RowsPerPage(), 6);
    EXPECT_EQ(ScrollState(box->Handle(), SB_VERT), (TScroll{0, 24, 6, 0}));
    EXPECT_EQ(box->ItemRect(2), Bounds(0, 32, 200, 16));
    EXPECT_EQ(box->ItemAtPos({5, 33}, true), 2);
    box->SetTopIndex(100);  // clamped so the last page is full
    EXPECT_EQ(box->TopIndex(), 19);
    EXPECT_EQ(ScrollState(box->Handle(), SB_VERT).Pos, 19);
    EXPECT_EQ(box->ItemRect(20), Bounds(0, 16, 200, 16));
    EXPECT_EQ(box->ItemAtPos({5, 95}, true), 24);
    EXPECT_EQ(box->ItemAtPos({5, 99}, true), -1);  // the partly shown row past the last item
    box->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
    EXPECT_EQ(box->TopIndex(), 4);
    box->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(box->TopIndex(), 5);
    box->Perform(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(box->TopIndex(), 0);

    // Beyond the last item: -1 for an existing item, the count otherwise.
    box->Items()->Clear();
    box->Items()->Add("only");
    EXPECT_EQ(box->ItemAtPos({5, 50}, true), -1);
    EXPECT_EQ(box->ItemAtPos({5, 50}, false), 1);
    EXPECT_EQ(ScrollState(box->Handle(), SB_VERT), (TScroll{0, 0, 1, 0}));

    // Three columns of 6 rows: 40 items need 7 columns; the state moves to the horizontal bar, in columns.
    box->Items()->Clear();
    for (int i = 0; i < 40; ++i)
        box->Items()->Add("c" + std::to_string(i));
    box->SetColumns(3);
    EXPECT_EQ(ScrollState(box->Handle(), SB_HORZ), (TScroll{0, 6, 3, 0}));
    EXPECT_EQ(box->ItemRect(7), Bounds(66, 16, 66, 16));
    EXPECT_EQ(box->ItemAtPos({140, 40}, true), 14);
    box->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(box->TopIndex(), 6);
    EXPECT_EQ(box->ItemAtPos({0, 0}, true), 6);
    box->SetTopIndex(1000);
    EXPECT_EQ(box->TopIndex(), 24);  // columns 4..6 shown
    EXPECT_EQ(ScrollState(box->Handle(), SB_HORZ).Pos, 4);
}

TEST_F(ListBox, ItemHeightOfZeroOrLessIsIgnoredAlsoFromTheMeasureEvent)
{
    TListBox* box = Make(10);
    for (int bad : {0, -5}) {
        box->SetItemHeight(bad);
        EXPECT_EQ(box->ItemHeight(), 16);
    }
    box->SetItemHeight(20);
    EXPECT_EQ(box->RowsPerPage(), 5);
    EXPECT_EQ(ScrollState(box->Handle(), SB_VERT), (TScroll{0, 9, 5, 0}));

    auto* drawn = new TListBox(Form);
    drawn->SetStyle(lbOwnerDrawFixed);
    int asked = 0;
    drawn->OnMeasureItem = [&](TWinControl*, Integer, Integer& AHeight) {
        ++asked;
        AHeight = 0;
    };
    drawn->SetParent(Form);
    drawn->HandleNeeded();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(drawn->ItemHeight(), 16);
}

TEST_F(ListBox, ItemChangesGoThroughMessagesAReplacedWindowProcSees)
{
    TListBox* box = Make(0);
    std::vector<std::string> seen;
    TWndMethod previous = box->WindowProc;
    box->WindowProc = [&](TMessage& AMessage) {
        if (AMessage.Msg == lists::LB_ADDSTRING)
            seen.push_back(std::string("add ") + reinterpret_cast<const char*>(AMessage.LParam));
        if (AMessage.Msg == lists::LB_INSERTSTRING)
            seen.push_back("insert " + std::to_string(AMessage.WParam));
        if (AMessage.Msg == lists::LB_DELETESTRING)
            seen.push_back("delete " + std::to_string(AMessage.WParam));
        previous(AMessage);
    };
    box->SetSorted(true);
    int object = 7;
    box->Items()->AddObject("pear", &object);
    box->Items()->Add("Apple");
    box->Items()->Add("banana");
    box->Items()->Insert(0, "zz first");  // inserting ignores the order, as the platform does
    box->Items()->Delete(1);
    EXPECT_EQ(seen, (std::vector<std::string>{"add pear", "add Apple", "add banana", "insert 0", "delete 1"}));
    ASSERT_EQ(box->Count(), 3);
    EXPECT_EQ(box->Items()->Strings(0), "zz first");
    EXPECT_EQ(box->Items()->Strings(1), "banana");
    EXPECT_EQ(box->Items()->Objects(2), &object);
    EXPECT_EQ(box->Perform(lists::LB_DELETESTRING, 9, 0), lists::LB_ERR);
    EXPECT_THROW(box->Items()->Delete(3), EListError);
    box->WindowProc = previous;
}

TEST_F(ListBox, PrefixSearchIsCaseInsensitiveAndWraps)
{
    TListBox* box = Make(0);
    for (const char* s : {"Alpha", "beta", "Bravo", "gamma", "alps"})
        box->Items()->Add(s);
    struct TCase {
        const char* Prefix;
        int Start;
        int Found;
    };
    const TCase cases[] = {
        {"al", -1, 0}, {"al", 0, 4}, {"al", 4, 0}, {"B", -1, 1}, {"b", 1, 2}, {"b", 2, 1},
        {"gam", 3, 3},  // past the end it wraps to itself
        {"x", -1, -1},  {"", 2, 3}, {"al", 99, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Prefix) + " after " + std::to_string(c.Start));
        std::string prefix = c.Prefix;
        EXPECT_EQ(box->Perform(lists::LB_FINDSTRING, static_cast<WPARAM>(c.Start),
                               reinterpret_cast<LPARAM>(prefix.c_str())),
                  c.Found);
    }

    // Typed: quick characters make one prefix, a repeated first letter steps on, a pause starts again.
    box->SetFocus();
    Pump();
    Type("b");
    EXPECT_EQ(box->ItemIndex(), 1);
    Type("b");
    EXPECT_EQ(box->ItemIndex(), 2);  // the same letter again steps on
    AdvanceMs(1500);
    Type("br");
    EXPECT_EQ(box->ItemIndex(), 2);
    AdvanceMs(1500);
    Type("alp");
    EXPECT_EQ(box->ItemIndex(), 4);  // "a" moves on from Bravo to alps, "alp" stays there
}

TEST_F(ListBox, MultiSelectByClicksAndKeys)
{
    struct TStep {
        const char* Name;
        bool Extended;
        std::function<void(ListBox*, TListBox*)> Do;
        std::vector<int> Selected;
        int Focus;
    };
    auto click = [](int AIndex, bool AShift = false, bool ACtrl = false) {
        return [=](ListBox* AThis, TListBox* ABox) { AThis->ClickWith(ABox, {20, AIndex * 16 + 8}, AShift, ACtrl); };
    };
    auto key = [](int AKey, bool AShift = false) {
        return [=](ListBox* AThis, TListBox*) {
            if (AShift)
                AThis->Display.KeyDown(VK_SHIFT);
            AThis->Press(AKey);
            if (AShift)
                AThis->Display.KeyUp(VK_SHIFT);
            AThis->Pump();
        };
    };
    const TStep steps[] = {
        {"click", true, click(1), {1}, 1},
        {"shift-click extends from the anchor", true, click(3, true), {1, 2, 3}, 3},
        {"shift-click back shrinks", true, click(0, true), {0, 1}, 0},
        {"ctrl-click adds", true, click(4, false, true), {0, 1, 4}, 4},
        {"ctrl-click removes", true, click(0, false, true), {1, 4}, 0},
        {"plain click clears the rest", true, click(2), {2}, 2},
        {"shift+down extends", true, key(VK_DOWN, true), {2, 3}, 3},
        {"down moves the selection", true, key(VK_DOWN), {4}, 4},
        {"end", true, key(VK_END), {9}, 9},
        {"simple: click toggles on", false, click(1), {1}, 1},
        {"simple: another adds", false, click(3), {1, 3}, 3},
        {"simple: again toggles off", false, click(1), {3}, 1},
        {"simple: keys move the focus only", false, key(VK_DOWN), {3}, 2},
        {"simple: space toggles", false, key(VK_SPACE), {2, 3}, 2},
    };
    TListBox* box = Make(10, 200, 200);
    box->SetMultiSelect(true);
    bool extended = true;
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Name);
        if (s.Extended != extended) {
            extended = s.Extended;
            box->SetExtendedSelect(extended);
            box->ClearSelection();
        }
        s.Do(this, box);
        EXPECT_EQ(SelectedItems(box), s.Selected);
        EXPECT_EQ(box->SelCount(), static_cast<int>(s.Selected.size()));
        EXPECT_EQ(box->ItemIndex(), s.Focus);
    }
}

TEST_F(ListBox, KeysMoveAndScrollASingleSelectionAndDoubleClickReportsIt)
{
    TListBox* box = Make(25);
    int changes = 0, doubles = 0;
    box->OnSelectionChange = [&](TObject*) { ++changes; };
    box->OnDblClick = [&](TObject*) { ++doubles; };
    ClickAt(box, {20, 20});
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->SelCount(), -1);
    EXPECT_TRUE(box->Focused());
    struct TCase {
        int Key;
        int Index;
        int Top;
    };
    const TCase cases[] = {
        {VK_NEXT, 6, 1}, {VK_DOWN, 7, 2}, {VK_END, 24, 19}, {VK_PRIOR, 19, 19}, {VK_HOME, 0, 0}, {VK_UP, 0, 0},
        {VK_LEFT, 0, 0},  // one column: left and right are the owner's
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Key);
        Press(c.Key);
        EXPECT_EQ(box->ItemIndex(), c.Index);
        EXPECT_EQ(box->TopIndex(), c.Top);
        EXPECT_EQ(ScrollState(box->Handle(), SB_VERT).Pos, c.Top);
    }
    EXPECT_GE(changes, 6);
    Display.Click(box->ClientToScreen({20, 40}));
    Display.Click(box->ClientToScreen({20, 40}));
    Pump();
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(box->ItemIndex(), 2);

    Display.Wheel(box->ClientToScreen({20, 40}), -120);
    Pump();
    EXPECT_EQ(box->TopIndex(), 3);
}

}  // namespace
}  // namespace liststest
