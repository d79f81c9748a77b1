// The list view: scroll state per view style, owner data asked for the shown items only, keys, clicks,
// type-to-find, sorting and label editing.
#include "lists_fixture.h"

#include "platform/controls/lists/list_view.h"
#include "platform/gui/ext_controls.h"
#include "platform/win/window.h"

#include <set>
#include <string>
#include <vector>

namespace liststest {
namespace {

using namespace win;

class ListView : public TListsFixture {
public:
    TListView* Make(TViewStyle AStyle, int ACount)
    {
        auto* view = new TListView(Form);
        view->SetBounds(10, 10, 300, 200);
        view->AddColumn("Name", 100);
        view->AddColumn("Size", 150);
        view->AddColumn("Type", 120);
        view->SetViewStyle(AStyle);
        view->SetParent(Form);
        for (int i = 0; i < ACount; ++i) {
            TListItem* item = view->Items()->Add();
            item->Caption = "file " + std::to_string(i);
            item->SubItems = {std::to_string(i * 10), "video"};
        }
        Form->Show();
        Pump();
        return view;
    }
};

TEST_F(ListView, ScrollStatePerViewStyle)
{
    struct TCase {
        const char* Name;
        TViewStyle Style;
        bool Headers;
        TScroll Vert, Horz;
        int PerPage;
    };
    // 300 x 200, 100 items (a page is never more than the range), rows 17 high, columns 370 wide; list
    // columns 120 wide; icon cells 76 x 64.
    const TCase cases[] = {
        {"report", vsReport, true, {0, 99, 10, 0}, {0, 369, 300, 0}, 10},
        {"report without headers", vsReport, false, {0, 99, 11, 0}, {0, 369, 300, 0}, 11},
        {"list: columns across, nothing down", vsList, true, {0, 0, 0, 0}, {0, 9, 2, 0}, 22},
        {"icons: pixels down", vsIcon, true, {0, 34 * 64 - 1, 200, 0}, {0, 227, 228, 0}, 9},
        {"small icons: pixels down", vsSmallIcon, true, {0, 50 * 17 - 1, 200, 0}, {0, 239, 240, 0}, 22},
    };
    TListView* view = Make(vsReport, 100);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        view->SetViewStyle(c.Style);
        view->SetShowColumnHeaders(c.Headers);
        EXPECT_EQ(ScrollState(view->Handle(), SB_VERT), c.Vert);
        EXPECT_EQ(ScrollState(view->Handle(), SB_HORZ), c.Horz);
        EXPECT_EQ(view->Perform(lists::LVM_GETCOUNTPERPAGE, 0, 0), c.PerPage);
        EXPECT_EQ(view->Perform(lists::LVM_GETITEMCOUNT, 0, 0), 100);
    }
}

TEST_F(ListView, ScrollingMovesByRowsColumnsOrPixels)
{
    TListView* view = Make(vsReport, 100);
    view->Scroll(0, 40);  // 2 rows of 17
    EXPECT_EQ(view->TopIndex(), 2);
    view->Scroll(0, 5);  // less than a row still moves one
    EXPECT_EQ(view->TopIndex(), 3);
    EXPECT_EQ(view->ItemRect(3), Bounds(0, 20, 370, 17));
    view->Perform(lists::LVM_SCROLL, 30, 0);
    EXPECT_EQ(ScrollState(view->Handle(), SB_HORZ).Pos, 30);
    EXPECT_EQ(view->Header()->Left(), -30);  // the header moves with the columns
    view->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1000), 0);
    EXPECT_EQ(view->TopIndex(), 90);  // the last page is full
    EXPECT_EQ(view->ItemAtPos({5, 25}), 90);

    view->SetViewStyle(vsList);
    view->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(ScrollState(view->Handle(), SB_HORZ).Pos, 1);
    EXPECT_EQ(view->TopIndex(), 11);
    view->Scroll(130, 0);
    EXPECT_EQ(view->TopIndex(), 22);
    EXPECT_EQ(view->ItemAtPos({5, 20}), 23);

    view->SetViewStyle(vsIcon);
    view->Scroll(0, 50);
    EXPECT_EQ(ScrollState(view->Handle(), SB_VERT).Pos, 50);
    EXPECT_EQ(view->ItemAtPos({80, 20}), 4);  // row 1 (y 70), column 1
}

TEST_F(ListView, OwnerDataAsksOnlyForTheShownItems)
{
    auto* view = new TListView(Form);
    view->SetBounds(10, 10, 300, 200);
    view->AddColumn("Name", 200);
    view->SetViewStyle(vsReport);
    view->SetOwnerData(true);
    view->SetParent(Form);
    std::set<int> asked;
    view->OnData = [&](TObject*, TListItem* AItem) {
        asked.insert(AItem->Index());
        AItem->Caption = "row " + std::to_string(AItem->Index());
    };
    view->Items()->SetCount(1000000);
    Form->Show();
    Pump();
    view->Repaint();
    EXPECT_EQ(ScrollState(view->Handle(), SB_VERT), (TScroll{0, 999999, 10, 0}));
    ASSERT_FALSE(asked.empty());
    EXPECT_LE(*asked.rbegin(), 10);

    asked.clear();
    view->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30000), 0);  // the position is 16 bits
    view->Repaint();
    EXPECT_EQ(*asked.begin(), 30000);
    EXPECT_LE(*asked.rbegin(), 30010);

    asked.clear();
    view->SetFocus();
    Press(VK_END);
    view->Repaint();
    EXPECT_EQ(view->ItemFocused(), 999999);
    EXPECT_EQ(view->TopIndex(), 999990);
    EXPECT_GE(*asked.begin(), 999990);
    EXPECT_EQ(view->Selected()->Caption, "row 999999");

    // Type-to-find asks the owner rather than every item.
    int finds = 0;
    view->OnDataFind = [&](TObject*, const std::string& AFind, Integer AStart, Integer& AIndex) {
        ++finds;
        EXPECT_EQ(AFind, "r");
        EXPECT_EQ(AStart, 0);  // after the last item, wrapped
        AIndex = 12345;
    };
    asked.clear();
    Type("r");
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(view->ItemFocused(), 12345);
    ASSERT_FALSE(asked.empty());
    EXPECT_GE(*asked.begin(), 12345);  // what the new page shows, and nothing between
    EXPECT_LE(*asked.rbegin(), 12345 + 11);
}

TEST_F(ListView, ClicksAndKeysSelect)
{
    TListView* view = Make(vsReport, 30);
    view->SetMultiSelect(true);
    auto rowPoint = [&](int ARow) { return TPoint{50, 20 + ARow * 17 + 8}; };
    auto selected = [&] {
        std::vector<int> result;
        for (int i = 0; i < view->Items()->Count(); ++i)
            if (view->IsSelected(i))
                result.push_back(i);
        return result;
    };
    ClickAt(view, rowPoint(2));
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    ClickWith(view, rowPoint(4), true, false);
    EXPECT_EQ(selected(), (std::vector<int>{2, 3, 4}));
    ClickWith(view, rowPoint(3), false, true);
    EXPECT_EQ(selected(), (std::vector<int>{2, 4}));
    Press(VK_DOWN);
    EXPECT_EQ(selected(), (std::vector<int>{4}));
    EXPECT_EQ(view->ItemFocused(), 4);
    Press(VK_NEXT);
    EXPECT_EQ(view->ItemFocused(), 14);
    EXPECT_EQ(view->TopIndex(), 5);
    Type("file 2");  // from the focused item on: "file 20" comes before "file 2" does
    EXPECT_EQ(view->ItemFocused(), 20);
    AdvanceMs(2000);
    Type("f");
    EXPECT_EQ(view->ItemFocused(), 21);  // a fresh letter looks past the current item
    EXPECT_EQ(selected(), (std::vector<int>{21}));
    view->SetViewStyle(vsIcon);  // 3 across
    Press(VK_DOWN);
    EXPECT_EQ(view->ItemFocused(), 24);
    Press(VK_RIGHT);
    EXPECT_EQ(view->ItemFocused(), 25);
}

TEST_F(ListView, SortingKeepsTheSelectionOnItsItems)
{
    TListView* view = Make(vsReport, 0);
    for (const char* name : {"pear", "Apple", "fig"})
        view->Items()->Add()->Caption = name;
    view->SetSelected(0, true);
    view->SetItemFocused(0);
    view->AlphaSort();
    EXPECT_EQ(view->Items()->Item(0)->Caption, "Apple");
    EXPECT_EQ(view->Items()->Item(2)->Caption, "pear");
    EXPECT_EQ(view->Selected()->Caption, "pear");
    EXPECT_EQ(view->ItemFocused(), 2);
    view->OnCompare = [](TObject*, TListItem* A, TListItem* B, Integer& ACompare) {
        ACompare = static_cast<Integer>(A->Caption.size()) - static_cast<Integer>(B->Caption.size());
    };
    view->AlphaSort();
    EXPECT_EQ(view->Items()->Item(0)->Caption, "fig");
    EXPECT_EQ(view->Items()->Item(2)->Caption, "Apple");
    view->CustomSort([](TListItem* A, TListItem* B) { return B->Caption.compare(A->Caption); });
    EXPECT_EQ(view->Items()->Item(0)->Caption, "pear");
}

TEST_F(ListView, LabelEditingThroughTheEditorFactory)
{
    TListView* view = Make(vsReport, 5);
    std::vector<std::string> edited;
    view->OnEdited = [&](TObject*, TListItem* AItem, std::string& AText) {
        edited.push_back(std::to_string(AItem->Index()) + "=" + AText);
        AText += "!";
    };
    bool allow = true;
    view->OnEditing = [&](TObject*, TListItem*, bool& AAllow) { AAllow = allow; };
    ClickAt(view, {50, 20 + 17 + 8});
    Press(lists::VK_F2);
    ASSERT_TRUE(view->IsEditing());
    TWinControl* editor = view->LabelEdit().Editor();
    EXPECT_EQ(editor->Text(), "file 1");
    EXPECT_EQ(editor->Parent(), view);
    EXPECT_EQ(editor->BoundsRect(), Bounds(0, 37, 100, 19));
    EXPECT_TRUE(editor->Focused());
    Press(VK_BACK, 8);
    Type("x");
    Press(VK_RETURN, '\r');
    EXPECT_FALSE(view->IsEditing());
    EXPECT_EQ(edited, (std::vector<std::string>{"1=file x"}));
    EXPECT_EQ(view->Items()->Item(1)->Caption, "file x!");
    EXPECT_TRUE(view->Focused());

    view->EditCaption(2);
    Type("zz");
    Press(VK_ESCAPE, 27);
    EXPECT_FALSE(view->IsEditing());
    EXPECT_EQ(view->Items()->Item(2)->Caption, "file 2");
    EXPECT_EQ(edited.size(), 1u);

    allow = false;
    view->EditCaption(3);
    EXPECT_FALSE(view->IsEditing());
    allow = true;
    view->SetReadOnly(true);
    view->EditCaption(3);
    EXPECT_FALSE(view->IsEditing());
    view->SetReadOnly(false);

    // The program's own edit comes in through the factory.
    int made = 0;
    SetLabelEditorFactory([&](TWinControl*) -> TWinControl* {
        ++made;
        auto* box = new TPanel(nullptr);
        box->SetTabStop(true);
        return box;
    });
    view->EditCaption(4);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(view->LabelEdit().Editor()->Text(), "file 4");
    view->SetFocus();  // losing the focus accepts
    Pump();
    EXPECT_FALSE(view->IsEditing());
    EXPECT_EQ(edited.back(), "4=file 4");
    SetLabelEditorFactory(nullptr);
}

}  // namespace
}  // namespace liststest
