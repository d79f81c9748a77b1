// Scrolling list boxes, the platform's and the skinned one: a scroll of less than a page moves the rows on screen
// and leaves only the rows that came into view to be painted; the result equals a full repaint.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/controls/lists/list_box.h"
#include "skin/controls/list_box.h"
#include "tests/skin/controls/controls_fixture.h"
#include "tests/skin/controls/scroll_check.h"

namespace {

class ListBoxScroll : public controlstest::TControlsFixture {
protected:
    // Sends the scroll to AList; returns the area left to paint, then paints and compares with a full repaint.
    int64_t ScrollAndCompare(TWinControl* AList, win::WPARAM ACode)
    {
        Pump();
        AList->Perform(win::WM_VSCROLL, ACode, 0);
        const int64_t pending = scrollcheck::PendingArea(AList);
        Pump();
        const auto scrolled = scrollcheck::ClientPixels(Display, AList);
        AList->Invalidate();
        Pump();
        const auto repainted = scrollcheck::ClientPixels(Display, AList);
        const TPoint at = scrollcheck::FirstDifference(scrolled, repainted, AList->ClientWidth());
        EXPECT_EQ(at, (TPoint{-1, -1})) << "the scrolled list differs from a full repaint at " << at.X << ", " << at.Y;
        return pending;
    }
    template <typename TItems>
    void AddItems(TItems* AItems)
    {
        for (int i = 0; i < 300; ++i) AItems->Add("item " + std::to_string(i) + std::string(i % 7, '#'));
    }
};

TEST_F(ListBoxScroll, ALineScrollLeavesOneRowToPaintAndAPageOrJumpTheWholeList)
{
    struct Case {
        const char* Name;
        std::function<TListBox*()> Make;
    };
    const Case cases[] = {
        {"platform list box",
         [&] {
             auto* l = new TListBox(Form);
             l->SetParent(Form);
             l->SetBounds(10, 10, 150, 125);  // a row cut by the bottom edge
             AddItems(l->Items());
             return l;
         }},
        {"skinned list box without a skin",
         [&] {
             auto* frame = new TspSkinListBox(Form);
             frame->SetParent(Form);
             frame->SetBoundsRect(Bounds(10, 10, 150, 125));
             AddItems(frame->Items());
             return static_cast<TListBox*>(frame->ListBox());
         }},
        {"skinned list box with a skin",
         [&] {
             auto* record = AddRecord<TspDataSkinListBox>("listbox");
             record->PictureIndex = AddPicture(60, 60, static_cast<TColor>(0x30C0C0));
             record->SkinRect = Rect(0, 0, 60, 60);
             record->LTPoint = Point(3, 3);
             record->RTPoint = Point(57, 3);
             record->LBPoint = Point(3, 57);
             record->RBPoint = Point(57, 57);
             record->ClRect = Rect(3, 3, 57, 57);
             auto* frame = new TspSkinListBox(Form);
             frame->SetParent(Form);
             frame->SetBoundsRect(Bounds(10, 10, 150, 125));
             frame->SetSkinData(Skin);
             frame->SetUseSkinItemHeight(false);
             AddItems(frame->Items());
             return static_cast<TListBox*>(frame->ListBox());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TListBox* list = c.Make();
        list->SetItemIndex(1);
        Pump();
        const int64_t row = static_cast<int64_t>(list->ItemHeight()) * list->ClientWidth();
        const int64_t whole = static_cast<int64_t>(list->ClientHeight()) * list->ClientWidth();
        EXPECT_EQ(ScrollAndCompare(list, win::SB_LINEDOWN), row);
        EXPECT_EQ(list->TopIndex(), 1);
        EXPECT_EQ(ScrollAndCompare(list, win::SB_LINEDOWN), row);
        EXPECT_EQ(ScrollAndCompare(list, win::SB_LINEUP), row);
        EXPECT_EQ(ScrollAndCompare(list, win::SB_PAGEDOWN), whole);
        EXPECT_EQ(ScrollAndCompare(list, win::SB_BOTTOM), whole);
        EXPECT_EQ(ScrollAndCompare(list, win::SB_LINEUP), row);
        if (list->Parent() == Form)
            delete list;
        else
            delete list->Parent();
    }
}

}  // namespace
