// Long lists: a memo, a list box and a tree view with 100,000 rows scrolled by their skinned bars go to the row
// the bar shows, past the 65,535 a scroll message can carry; a list box keeps its widest item as items come and
// go without measuring every item again, and a tree view adds nodes in linear time.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "skin/controls/list_box.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_memo.h"
#include "skin/controls/tree_view.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

// Sanitizer builds on a loaded machine run the same code many times slower; the faults these limits catch cost
// seconds to hours.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kSlowdown = 40.0;
#else
constexpr double kSlowdown = 1.0;
#endif

constexpr Integer kRows = 100000;
// Rows whose low 16 bits differ from the row itself, and one whose low 16 bits are a small row.
constexpr Integer kTargets[] = {99000, 65536 + 3, 70000, 12};

// Counts how often an item is measured.
class TCountingListBox : public TspSkinListBox {
public:
    using TspSkinListBox::TspSkinListBox;
    Integer CalcItemWidth(Integer AIndex, TCanvas* ACanvas) override
    {
        ++Measured;
        return TspSkinListBox::CalcItemWidth(AIndex, ACanvas);
    }
    Integer Measured = 0;
};

class LongListsTest : public controlstest::TControlsFixture {
protected:
    TspSkinScrollBar* NewBar()
    {
        auto* b = new TspSkinScrollBar(Form);
        b->SetParent(Form);
        b->SetKind(sbVertical);
        b->SetBounds(300, 10, 16, 200);
        return b;
    }
    static double MillisecondsSince(std::chrono::steady_clock::time_point AStart)
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - AStart).count();
    }
};

TEST_F(LongListsTest, MemoScrolledByItsBarShowsTheRowTheBarShows)
{
    auto* m = new TspSkinMemo(Form);
    m->SetParent(Form);
    m->SetBounds(10, 10, 200, 200);
    std::string text;
    for (Integer i = 0; i < kRows; ++i) text += "line " + std::to_string(i) + "\n";
    m->SetText(text);
    auto* bar = NewBar();
    m->SetVScrollBar(bar);
    m->UpDateScrollRange();
    Pump();
    ASSERT_GE(bar->Max(), kRows - 1);
    for (Integer target : kTargets) {
        bar->SetPosition(target);
        Pump();
        EXPECT_EQ(m->FirstVisibleRow(), target);
        EXPECT_EQ(bar->Position(), target);
    }
}

TEST_F(LongListsTest, ListBoxScrolledByItsBarShowsTheRowTheBarShows)
{
    auto* l = new TspSkinListBox(Form);
    l->SetParent(Form);
    l->SetBoundsRect(Bounds(10, 10, 200, 200));
    for (Integer i = 0; i < kRows; ++i) l->Items()->Add("item " + std::to_string(i));
    Pump();
    ASSERT_NE(l->ScrollBar(), nullptr);
    for (Integer target : kTargets) {
        l->ScrollBar()->SetPosition(target);
        Pump();
        EXPECT_EQ(l->TopIndex(), target);
        EXPECT_EQ(l->ScrollBar()->Position(), target);
    }
}

TEST_F(LongListsTest, TreeViewScrolledByItsBarShowsTheRowTheBarShowsAndAddsInLinearTime)
{
    auto* t = new TspSkinTreeView(Form);
    t->SetParent(Form);
    t->SetBoundsRect(Bounds(10, 10, 200, 200));
    auto* bar = NewBar();
    t->SetVScrollBar(bar);
    Pump();
    // Node by node, as a caller fills a tree without BeginUpdate: each addition must not rebuild every row.
    const auto start = std::chrono::steady_clock::now();
    for (Integer i = 0; i < kRows; ++i) t->Items()->Add(nullptr, "node " + std::to_string(i));
    const double elapsed = MillisecondsSince(start);
    EXPECT_LT(elapsed, 60000.0) << "adding " << kRows << " nodes";  // quadratic, this took hours
    t->Invalidate();
    Pump();
    ASSERT_TRUE(bar->Visible());
    for (Integer target : kTargets) {
        bar->SetPosition(target);
        Pump();
        EXPECT_EQ(t->TopRow(), target);
        EXPECT_EQ(bar->Position(), target);
    }
    // A child under an expanded last node and a node added before others still show in their places.
    TTreeNode* last = t->Items()->Item(kRows - 1);
    TTreeNode* child = t->Items()->AddChild(last, "child");
    last->Expand(false);
    TTreeNode* first = t->Items()->AddFirst(nullptr, "first");
    t->Items()->AddChild(last, "second child");
    EXPECT_EQ(t->RowNode(0), first);
    EXPECT_EQ(t->RowNode(kRows + 1), child);
    EXPECT_EQ(t->RowNode(kRows + 2)->Text(), "second child");
    EXPECT_EQ(t->VisibleRowCount(), kRows + 3);
}

TEST_F(LongListsTest, HorizontalExtentKeepsTheWidestItemAsItemsComeAndGo)
{
    auto* l = new TCountingListBox(Form);
    l->SetParent(Form);
    l->SetBoundsRect(Bounds(10, 10, 200, 200));
    l->SetHorizontalExtent(true);
    Pump();
    const auto start = std::chrono::steady_clock::now();
    for (Integer i = 0; i < 5000; ++i) l->Items()->Add("item " + std::to_string(i));
    Pump();
    const double elapsed = MillisecondsSince(start);
    EXPECT_LT(elapsed, 50.0 * kSlowdown) << "5,000 items";
    EXPECT_LE(l->Measured, 5000 + 10);  // each item once as it comes, not every item for each one added
    l->Invalidate();
    Pump();
    EXPECT_LE(l->Measured, 5000 + 10);  // painting measures nothing again
    EXPECT_EQ(l->HScrollBar(), nullptr);  // every item fits

    // The widest comes, then goes: the bar follows both ways; the other items keep their widths.
    const std::string wide(60, 'W');
    l->Items()->Insert(2500, wide);
    Pump();
    ASSERT_NE(l->HScrollBar(), nullptr);
    const Integer withWide = l->HScrollBar()->Max();
    EXPECT_GT(withWide, 200);
    l->Items()->Add(std::string(30, 'W'));
    Pump();
    EXPECT_EQ(l->HScrollBar()->Max(), withWide);
    l->Items()->Delete(2500);
    Pump();
    ASSERT_NE(l->HScrollBar(), nullptr);
    EXPECT_LT(l->HScrollBar()->Max(), withWide);
    EXPECT_GT(l->HScrollBar()->Max(), withWide / 3);
    l->Items()->Delete(l->Items()->Count() - 1);
    Pump();
    EXPECT_EQ(l->HScrollBar(), nullptr);
    // A text changed in place is measured again.
    l->Items()->SetStrings(7, wide);
    Pump();
    ASSERT_NE(l->HScrollBar(), nullptr);
    EXPECT_EQ(l->HScrollBar()->Max(), withWide);
    l->Items()->Clear();
    Pump();
    EXPECT_EQ(l->HScrollBar(), nullptr);
}

}  // namespace
