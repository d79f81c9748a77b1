// The tree view: counts as nodes expand and collapse, children filled on demand, rows, scroll state and the
// top item, hit testing, keys and clicks, label editing and sorting.
#include "lists_fixture.h"

#include "platform/controls/lists/tree_view.h"

#include <string>
#include <vector>

namespace liststest {
namespace {

using namespace win;

class TreeView : public TListsFixture {
public:
    // Three top-level folders of four children each; "b" gets its children only when it opens.
    TTreeView* Make(int AHeight = 200)
    {
        Tree = new TTreeView(Form);
        Tree->SetBounds(10, 10, 200, AHeight);
        Tree->SetParent(Form);
        for (const char* name : {"a", "b", "c"}) {
            TTreeNode* folder = Tree->Items()->Add(nullptr, name);
            if (std::string(name) == "b") {
                folder->SetHasChildren(true);
                continue;
            }
            for (int i = 0; i < 4; ++i)
                Tree->Items()->AddChild(folder, std::string(name) + std::to_string(i));
        }
        Tree->OnExpanding = [this](TObject*, TTreeNode* ANode, bool& AAllow) {
            ++Expandings;
            AAllow = AllowExpand;
            if (AllowExpand && ANode->Text() == "b" && ANode->Count() == 0)
                for (int i = 0; i < LazyChildren; ++i)
                    Tree->Items()->AddChild(ANode, "b" + std::to_string(i));
        };
        Form->Show();
        Pump();
        return Tree;
    }
    TTreeNode* Top(int AIndex) { return Tree->Items()->GetFirstNode() ? Nth(AIndex) : nullptr; }
    TTreeNode* Nth(int AIndex)
    {
        TTreeNode* node = Tree->Items()->GetFirstNode();
        while (AIndex-- > 0)
            node = node->GetNextSibling();
        return node;
    }
    TPoint RowPoint(int ARow, int AX = 60) { return {AX, (ARow - Tree->TopRow()) * Tree->ItemHeight() + 8}; }

    TTreeView* Tree = nullptr;
    int Expandings = 0;
    bool AllowExpand = true;
    int LazyChildren = 30;
};

TEST_F(TreeView, ExpandingAndCollapsingChangeTheRowsNotTheCount)
{
    Make();
    EXPECT_EQ(Tree->Perform(lists::TVM_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(Tree->VisibleRowCount(), 3);
    EXPECT_EQ(Tree->Perform(lists::TVM_GETVISIBLECOUNT, 0, 0), 200 / 17);
    struct TStep {
        const char* Name;
        std::function<void()> Do;
        int Count, Rows;
    };
    const TStep steps[] = {
        {"expand a", [&] { Top(0)->Expand(false); }, 11, 7},
        {"expand c", [&] { Top(2)->SetExpanded(true); }, 11, 11},
        {"collapse a", [&] { Top(0)->Collapse(false); }, 11, 7},
        {"lazy b fills 30", [&] { Top(1)->Expand(false); }, 41, 37},
        {"collapse all", [&] { Tree->FullCollapse(); }, 41, 3},
        {"expand all", [&] { Tree->FullExpand(); }, 41, 41},
        {"delete a with its children", [&] { Top(0)->Delete(); }, 36, 36},
        {"clear", [&] { Tree->Items()->Clear(); }, 0, 0},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Name);
        s.Do();
        EXPECT_EQ(Tree->Items()->Count(), s.Count);
        EXPECT_EQ(Tree->VisibleRowCount(), s.Rows);
        EXPECT_EQ(ScrollState(Tree->Handle(), SB_VERT).Max, std::max(0, s.Rows - 1));
    }
}

TEST_F(TreeView, LazyChildrenAndARefusedOrEmptyExpansion)
{
    Make();
    TTreeNode* b = Top(1);
    EXPECT_TRUE(b->HasChildren());
    EXPECT_EQ(b->Count(), 0);
    AllowExpand = false;
    b->Expand(false);
    EXPECT_FALSE(b->Expanded());
    EXPECT_EQ(b->Count(), 0);
    AllowExpand = true;
    LazyChildren = 0;
    b->Expand(false);  // asked, but nothing came: the button goes
    EXPECT_FALSE(b->Expanded());
    EXPECT_FALSE(b->HasChildren());
    b->SetHasChildren(true);
    LazyChildren = 2;
    b->Expand(false);
    EXPECT_TRUE(b->Expanded());
    EXPECT_EQ(b->Count(), 2);
    int before = Expandings;
    b->Collapse(false);
    b->Expand(false);  // filled already: asked again, nothing added
    EXPECT_EQ(Expandings, before + 1);
    EXPECT_EQ(b->Count(), 2);
    EXPECT_EQ(Tree->Items()->Item(6)->Text(), "b0");  // depth first, shown or not: a, a0..a3, b, b0
}

TEST_F(TreeView, ScrollStateTopItemAndVisibleCount)
{
    Make(100);  // 5 whole rows
    Tree->FullExpand();
    EXPECT_EQ(Tree->VisibleCount(), 5);
    EXPECT_EQ(ScrollState(Tree->Handle(), SB_VERT), (TScroll{0, 40, 5, 0}));
    // A skinned bar moves the view the way it was made to: position, then a thumb message.
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = 7;
    SetScrollInfo(Tree->Handle(), SB_VERT, info, TRUE);
    Tree->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 0);
    EXPECT_EQ(Tree->TopRow(), 7);
    EXPECT_EQ(Tree->TopItem()->Text(), "b1");
    Tree->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Tree->TopItem()->Text(), "b2");
    Tree->SetTopItem(Tree->Items()->Item(0));
    EXPECT_EQ(ScrollState(Tree->Handle(), SB_VERT).Pos, 0);
    Tree->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Tree->TopRow(), 36);
    // Collapsing under the top keeps the last page full.
    Tree->FullCollapse();
    EXPECT_EQ(Tree->TopRow(), 0);
    EXPECT_EQ(ScrollState(Tree->Handle(), SB_VERT), (TScroll{0, 2, 3, 0}));
    int widest = ScrollState(Tree->Handle(), SB_HORZ).Max;
    EXPECT_GT(widest, 19);
    EXPECT_LT(widest, 200);
}

TEST_F(TreeView, HitTestingARow)
{
    Make();
    Top(0)->Expand(false);
    struct TCase {
        int X, Row;
        THitTests Hits;
        const char* Node;
    };
    // Top-level labels start at 19 (the root's button column), children at 38.
    const TCase cases[] = {
        {5, 0, {htOnButton}, "a"},      {25, 0, {htOnItem, htOnLabel}, "a"}, {150, 0, {htOnRight}, "a"},
        {5, 1, {htOnIndent}, "a0"},     {25, 1, {htOnIndent}, "a0"},         {40, 1, {htOnItem, htOnLabel}, "a0"},
        {5, 5, {htOnButton}, "b"},      {60, 9, {htNowhere}, nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + " in row " + std::to_string(c.Row));
        TPoint at = RowPoint(c.Row, c.X);
        EXPECT_EQ(Tree->GetHitTestInfoAt(at.X, at.Y), c.Hits);
        TTreeNode* node = Tree->GetNodeAt(at.X, at.Y);
        EXPECT_EQ(node ? node->Text() : std::string("none"), c.Node ? c.Node : "none");
    }
    EXPECT_EQ(Tree->GetHitTestInfoAt(-1, 5), THitTests{htToLeft});
    EXPECT_EQ(Tree->GetHitTestInfoAt(5, 500), THitTests{htBelow});
}

TEST_F(TreeView, ClicksAndKeys)
{
    Make(100);
    std::vector<std::string> changes;
    Tree->OnChange = [&](TObject*, TTreeNode* ANode) { changes.push_back(ANode ? ANode->Text() : "none"); };
    ClickAt(Tree, RowPoint(0, 5));  // the button opens it, nothing is selected
    EXPECT_TRUE(Top(0)->Expanded());
    EXPECT_EQ(Tree->Selected(), nullptr);
    ClickAt(Tree, RowPoint(2, 45));
    EXPECT_EQ(Tree->Selected()->Text(), "a1");
    EXPECT_TRUE(Tree->Focused());
    struct TCase {
        int Key;
        char32_t Char;
        const char* Selected;
        int Rows;
    };
    const TCase cases[] = {
        {VK_DOWN, 0, "a2", 7},  {VK_LEFT, 0, "a", 7},   {VK_LEFT, 0, "a", 3},    {VK_RIGHT, 0, "a", 7},
        {VK_RIGHT, 0, "a0", 7}, {VK_END, 0, "c", 7},    {0x6B, '+', "c", 11},    {VK_NEXT, 0, "c3", 11},
        {VK_HOME, 0, "a", 11},  {0x6D, '-', "a", 7},    {'C', 'c', "c", 7},      {VK_UP, 0, "b", 7},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Key);
        Press(c.Key, c.Char);
        EXPECT_EQ(Tree->Selected()->Text(), c.Selected);
        EXPECT_EQ(Tree->VisibleRowCount(), c.Rows);
    }
    // The selected node scrolled into view.
    Press(VK_DOWN);
    Press(VK_RIGHT);
    Press(VK_END);
    Press(VK_UP);
    EXPECT_EQ(Tree->Selected()->Text(), "c2");
    Integer row = Tree->RowOf(Tree->Selected());
    EXPECT_GE(row, Tree->TopRow());
    EXPECT_LT(row, Tree->TopRow() + Tree->VisibleCount());
    // Collapsing a parent of the selection selects the parent.
    Top(2)->Collapse(false);
    EXPECT_EQ(Tree->Selected()->Text(), "c");
    // Deleting the selected node moves the selection to a neighbour.
    Top(2)->Delete();
    EXPECT_EQ(Tree->Selected()->Text(), "b");
    EXPECT_EQ(changes.back(), "b");
    // A double click on a label opens and closes it.
    Tree->Items()->AddChild(Top(1), "b-only");
    TPoint at = Tree->ClientToScreen(RowPoint(Tree->RowOf(Top(1)), 25));
    Display.Click(at);
    Display.Click(at);
    Pump();
    EXPECT_TRUE(Top(1)->Expanded());
}

TEST_F(TreeView, LabelEditingAndSorting)
{
    Make();
    std::vector<std::string> edited;
    Tree->OnEdited = [&](TObject*, TTreeNode*, std::string& AText) { edited.push_back(AText); };
    Tree->SetSelected(Top(2));
    Tree->SetFocus();
    Press(lists::VK_F2);
    ASSERT_TRUE(Tree->IsEditing());
    EXPECT_EQ(Tree->LabelEdit().Editor()->Text(), "c");
    Type("at");
    Press(VK_RETURN, '\r');
    EXPECT_EQ(Top(2)->Text(), "cat");
    EXPECT_EQ(edited, (std::vector<std::string>{"cat"}));
    Top(0)->EditText();
    Press(VK_ESCAPE, 27);
    EXPECT_EQ(Top(0)->Text(), "a");
    Tree->SetReadOnly(true);
    Top(0)->EditText();
    EXPECT_FALSE(Tree->IsEditing());

    Tree->Items()->Add(nullptr, "Apple");
    Tree->AlphaSort(false);
    EXPECT_EQ(Top(0)->Text(), "a");
    EXPECT_EQ(Top(1)->Text(), "Apple");
    EXPECT_EQ(Top(3)->Text(), "cat");
    Tree->CustomSort([](TTreeNode* A, TTreeNode* B) { return B->Text().compare(A->Text()); });
    EXPECT_EQ(Top(0)->Text(), "cat");
    EXPECT_EQ(Top(0)->Item(0)->Text(), "c3");  // recursive by default
}

}  // namespace
}  // namespace liststest
