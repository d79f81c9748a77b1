// Notebook and pages: the page shown and PageIndex stay in step through index changes, insert, delete, move and
// clear; the page list's index errors; the page buttons' stacks; the focus moving to the new page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "skin/controls/notebook.h"
#include "skin/controls/push_button.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

class NotebookTest : public controlstest::TControlsFixture {
protected:
    TspSkinNotebook* NewNotebook()
    {
        auto* n = new TspSkinNotebook(Form);
        n->SetParent(Form);
        n->SetBounds(10, 10, 200, 200);
        n->OnPageChanged = [this](TObject*) { ++Changes; };
        Pump();
        return n;
    }
    // The captions of the pages, and which of them are visible.
    static std::vector<std::string> Captions(TspSkinNotebook* N)
    {
        std::vector<std::string> out;
        for (Integer i = 0; i < N->Pages()->Count(); ++i) out.push_back(N->Pages()->Strings(i));
        return out;
    }
    static std::vector<Integer> Shown(TspSkinNotebook* N)
    {
        std::vector<Integer> out;
        for (Integer i = 0; i < N->PageCount(); ++i)
            if (N->Page(i)->Visible()) out.push_back(i);
        return out;
    }
    // Exactly the page at PageIndex shows, filling the notebook's client area.
    static void ExpectInStep(TspSkinNotebook* N)
    {
        if (N->PageIndex() == -1) {
            EXPECT_TRUE(Shown(N).empty());
            return;
        }
        EXPECT_EQ(Shown(N), std::vector<Integer>{N->PageIndex()});
        if (!N->ButtonsMode()) EXPECT_EQ(N->Page(N->PageIndex())->BoundsRect(), N->GetSkinClientRect());
    }
    int Changes = 0;
};

TEST_F(NotebookTest, NewNotebookShowsItsDefaultPage)
{
    auto* n = NewNotebook();
    EXPECT_EQ(Captions(n), std::vector<std::string>{"Default"});
    EXPECT_EQ(n->PageIndex(), 0);
    EXPECT_EQ(n->ActivePage(), "Default");
    ExpectInStep(n);
}

TEST_F(NotebookTest, PageIndexIgnoresValuesOutsideAndTheCurrentOne)
{
    auto* n = NewNotebook();
    n->Pages()->Add("Files");
    n->Pages()->Add("Output");
    ASSERT_EQ(n->PageIndex(), 2);
    Changes = 0;
    for (const Integer bad : {-1, 3, 2}) {
        n->SetPageIndex(bad);
        EXPECT_EQ(n->PageIndex(), 2);
    }
    EXPECT_EQ(Changes, 0);
    n->SetPageIndex(1);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(n->ActivePage(), "Files");
    n->SetActivePage("Default");
    EXPECT_EQ(n->PageIndex(), 0);
    n->SetActivePage("No such page");
    EXPECT_EQ(n->PageIndex(), 0);
    ExpectInStep(n);
}

TEST_F(NotebookTest, ListOperationsKeepTheShownPageInStep)
{
    auto* n = NewNotebook();
    n->Pages()->Add("A");
    n->Pages()->Add("B");
    n->SetPageIndex(1);  // "A" shown
    ExpectInStep(n);

    n->Pages()->Insert(1, "New");  // at the current index: the new page shows
    EXPECT_EQ(Captions(n), (std::vector<std::string>{"Default", "New", "A", "B"}));
    EXPECT_EQ(n->PageIndex(), 1);
    EXPECT_EQ(n->ActivePage(), "New");
    ExpectInStep(n);

    n->Pages()->Move(1, 3);  // exchanges the two; the shown page keeps showing
    EXPECT_EQ(Captions(n), (std::vector<std::string>{"Default", "B", "A", "New"}));
    EXPECT_EQ(n->ActivePage(), "New");
    EXPECT_EQ(n->PageIndex(), 3);
    ExpectInStep(n);

    n->Pages()->Delete(2);  // another page: the first page shows
    EXPECT_EQ(Captions(n), (std::vector<std::string>{"Default", "B", "New"}));
    EXPECT_EQ(n->PageIndex(), 0);
    ExpectInStep(n);

    n->Pages()->Delete(0);  // the shown page: the new first page shows
    EXPECT_EQ(n->ActivePage(), "B");
    ExpectInStep(n);

    Changes = 0;
    n->Pages()->Clear();
    EXPECT_EQ(n->PageIndex(), -1);
    EXPECT_EQ(n->PageCount(), 0);
    EXPECT_EQ(Changes, 1);
    EXPECT_THROW(n->ActivePage(), EStringListError);
    ExpectInStep(n);

    n->Pages()->Add("Again");
    EXPECT_EQ(n->PageIndex(), 0);
    ExpectInStep(n);

    // Renaming through the list renames the page.
    n->Pages()->SetStrings(0, "Renamed");
    EXPECT_EQ(n->Page(0)->Caption(), "Renamed");
}

TEST_F(NotebookTest, IndexErrorsChangeNothing)
{
    auto* n = NewNotebook();
    n->Pages()->Add("Second");
    TStrings* pages = n->Pages();
    EXPECT_THROW(pages->Strings(2), EStringListError);
    EXPECT_THROW(pages->SetStrings(-1, "x"), EStringListError);
    EXPECT_THROW(pages->Delete(2), EStringListError);
    EXPECT_THROW(pages->Move(0, 5), EStringListError);
    EXPECT_THROW(pages->Insert(3, "x"), EStringListError);
    EXPECT_EQ(Captions(n), (std::vector<std::string>{"Default", "Second"}));
    EXPECT_EQ(n->PageIndex(), 1);
    ExpectInStep(n);
}

TEST_F(NotebookTest, PagesWriterMakesOnePagePerLine)
{
    auto* n = NewNotebook();
    TStringList lines;
    lines.Add("Source");
    lines.Add("Target");
    n->SetPages(&lines);
    EXPECT_EQ(Captions(n), (std::vector<std::string>{"Source", "Target"}));
    EXPECT_EQ(n->PageIndex(), 1);
    ExpectInStep(n);
}

TEST_F(NotebookTest, PageButtonsStackAboveAndBelowTheShownPage)
{
    auto* n = NewNotebook();
    n->Pages()->SetStrings(0, "One");
    n->Pages()->Add("Two");
    n->Pages()->Add("Three");
    n->SetPageIndex(1);
    n->SetButtonsMode(true);
    Pump();
    ASSERT_EQ(n->ButtonCount(), 3);
    const TRect client = n->ClientRect();  // inside the one-pixel plain frame: 1, 1, 199, 199
    auto tops = [&] {
        std::vector<Integer> out;
        for (Integer i = 0; i < n->ButtonCount(); ++i) out.push_back(n->Button(i)->Top());
        return out;
    };
    EXPECT_EQ(tops(), (std::vector<Integer>{1, 26, 199 - 25}));
    EXPECT_EQ(n->Button(2)->Caption(), "Three");
    EXPECT_EQ(n->Page(1)->BoundsRect(), Rect(1, 51, client.Right - 1, 199 - 25));
    n->SetPageIndex(2);
    EXPECT_EQ(tops(), (std::vector<Integer>{1, 26, 51}));
    n->SetPageIndex(0);
    EXPECT_EQ(tops(), (std::vector<Integer>{1, 199 - 50, 199 - 25}));
    ExpectInStep(n);
    // A click on a button shows its page.
    Display.Click(ScreenPoint(n, 50, 199 - 12));
    Pump();
    EXPECT_EQ(n->PageIndex(), 2);
    ExpectInStep(n);
    // Buttons follow renames and go with the pages.
    n->Pages()->SetStrings(0, "First");
    EXPECT_EQ(n->Button(0)->Caption(), "First");
    n->Pages()->Clear();
    EXPECT_EQ(n->ButtonCount(), 0);
    n->SetButtonsMode(false);
}

TEST_F(NotebookTest, FocusMovesToTheNewPage)
{
    auto* n = NewNotebook();
    n->Pages()->Add("Second");
    auto addButton = [&](Integer APage) {
        auto* b = new TspSkinButton(Form);
        b->SetParent(n->Page(APage));
        b->SetCanFocused(true);
        b->SetBounds(10, 10, 75, 25);
        return b;
    };
    auto* onSecond = addButton(1);
    auto* onFirst = addButton(0);
    Pump();
    onSecond->SetFocus();
    Pump();
    ASSERT_TRUE(onSecond->Focused());
    n->SetPageIndex(0);
    Pump();
    EXPECT_TRUE(onFirst->Focused());
    EXPECT_EQ(Form->ActiveControl(), onFirst);
}

}  // namespace
