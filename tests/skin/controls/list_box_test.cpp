// The skinned list box: where bars and list go, bars that come and go with the items, the horizontal-extent
// bar, hook order, tab stops, a skin without an item picture, and the caption buttons' repeat on the virtual
// clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/list_box.h"
#include "skin/controls/scroll_bar.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

TEST(ListAreaTest, BarsAndListShareTheFrame)
{
    struct Case {
        const char* what;
        TspListAreaInput in;
        TRect vbar, hbar, list;
    };
    auto plain = [](bool AV, bool AH, bool AMulti = false, Integer ACaption = 1) {
        TspListAreaInput in;
        in.Width = 120;
        in.Height = 120;
        in.CaptionTop = ACaption;
        in.VBar = AV;
        in.HBar = AH;
        in.MultiColumn = AMulti;
        return in;
    };
    auto skinned = [](bool AV, bool AH, bool AMulti = false) {
        TspListAreaInput in;
        in.Skinned = true;
        in.Width = 150;
        in.Height = 100;
        in.NewClRect = Rect(3, 20, 147, 97);
        in.VBar = AV;
        in.VBarWidth = 16;
        in.VBarHeight = 16;
        in.HBar = AH;
        in.HBarHeight = 15;
        in.MultiColumn = AMulti;
        return in;
    };
    const Case cases[] = {
        {"plain, no bars", plain(false, false), {}, {}, Rect(2, 2, 118, 118)},
        {"plain, caption", plain(false, false, false, 20), {}, {}, Rect(2, 21, 118, 118)},
        {"plain, vertical", plain(true, false), Rect(100, 1, 119, 119), {}, Rect(2, 2, 100, 118)},
        {"plain, both", plain(true, true), Rect(100, 1, 119, 101), Rect(1, 100, 119, 119), Rect(2, 2, 100, 100)},
        {"plain, horizontal only", plain(false, true), {}, Rect(1, 100, 119, 119), Rect(2, 2, 118, 100)},
        {"plain, columns", plain(true, false, true), Rect(1, 100, 119, 119), {}, Rect(2, 2, 118, 100)},
        {"skinned, no bars", skinned(false, false), {}, {}, Rect(3, 20, 147, 97)},
        {"skinned, vertical", skinned(true, false), Rect(131, 20, 147, 97), {}, Rect(3, 20, 131, 97)},
        {"skinned, both", skinned(true, true), Rect(131, 20, 147, 82), Rect(3, 82, 147, 97), Rect(3, 20, 131, 82)},
        {"skinned, horizontal only", skinned(false, true), {}, Rect(3, 82, 147, 97), Rect(3, 20, 147, 82)},
        {"skinned, columns", skinned(true, false, true), Rect(3, 81, 147, 97), {}, Rect(3, 20, 147, 81)},
    };
    for (const Case& c : cases) {
        const TspListAreaLayout l = ComputeListArea(c.in);
        EXPECT_EQ(l.VBarBounds, c.vbar) << c.what;
        EXPECT_EQ(l.HBarBounds, c.hbar) << c.what;
        EXPECT_EQ(l.ListRect, c.list) << c.what;
    }
}

TEST(TabStopTest, DigitsGiveTheirNumberAnythingElseZero)
{
    TStringList widths;
    for (const char* s : {"40", "x", "120", "", "7a"}) widths.Add(s);
    EXPECT_EQ(ParseTabStops(widths), (std::vector<int>{40, 0, 120, 0, 0}));
    TStringList many;
    for (int i = 0; i < 14; ++i) many.Add(std::to_string(i * 10));
    EXPECT_EQ(ParseTabStops(many).size(), 10u);
}

class ListBoxTest : public controlstest::TControlsFixture {
protected:
    TspSkinListBox* NewList(Integer AItems = 0)
    {
        auto* l = new TspSkinListBox(Form);
        l->SetParent(Form);
        l->SetBoundsRect(Bounds(10, 10, 120, 120));
        for (Integer i = 0; i < AItems; ++i) l->Items()->Add("item " + std::to_string(i));
        Pump();
        return l;
    }
    void MoveTo(TControl* AControl, Integer AX, Integer AY)
    {
        Display.MoveMouse(ScreenPoint(AControl, AX, AY));
        Pump();
    }
};

TEST_F(ListBoxTest, TheVerticalBarComesAndGoesWithTheItems)
{
    auto* l = NewList();
    EXPECT_EQ(l->ScrollBar(), nullptr);
    EXPECT_EQ(l->ListBox()->BoundsRect(), Rect(2, 2, 118, 118));
    for (int i = 0; i < 5; ++i) l->Items()->Add("row");  // 116 pixels hold five rows of 20
    Pump();
    EXPECT_EQ(l->ScrollBar(), nullptr);
    l->Items()->Add("row");
    Pump();
    ASSERT_NE(l->ScrollBar(), nullptr);
    EXPECT_TRUE(l->ScrollBar()->Visible());
    EXPECT_EQ(l->ScrollBar()->Kind(), sbVertical);
    EXPECT_EQ(l->ScrollBar()->BoundsRect(), Bounds(100, 1, 19, 118));
    EXPECT_EQ(l->ListBox()->BoundsRect(), Rect(2, 2, 100, 118));
    EXPECT_EQ(l->ScrollBar()->Max(), 5);
    EXPECT_EQ(l->ScrollBar()->PageSize(), 5);

    // The bar scrolls the list; the list's own scrolling moves the bar back.
    l->ScrollBar()->SetPosition(1);
    EXPECT_EQ(l->TopIndex(), 1);
    l->SetTopIndex(0);
    l->ListBox()->Perform(win::WM_VSCROLL, win::SB_LINEDOWN, 0);
    EXPECT_EQ(l->ScrollBar()->Position(), 1);

    l->Clear();
    Pump();
    EXPECT_EQ(l->ScrollBar(), nullptr);
    EXPECT_EQ(l->ListBox()->BoundsRect(), Rect(2, 2, 118, 118));
}

TEST_F(ListBoxTest, RowCountFitsTheFrameAndShowsNoBar)
{
    auto* l = NewList(8);
    l->SetRowCount(8);
    Pump();
    EXPECT_EQ(l->Height(), 8 * 20 + 4);
    EXPECT_EQ(l->ScrollBar(), nullptr);
}

TEST_F(ListBoxTest, HorizontalExtentBarShiftsTheRowsWithoutNativeScrolling)
{
    auto* l = NewList();
    l->Items()->Add("short");
    l->Items()->Add(std::string(60, 'W'));
    l->SetHorizontalExtent(true);
    Pump();
    TspSkinScrollBar* bar = l->HScrollBar();
    ASSERT_NE(bar, nullptr);
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(l->ListBox()->Font());
    EXPECT_EQ(bar->Max(), measure.Canvas()->TextWidth(std::string(60, 'W')));
    EXPECT_EQ(bar->PageSize(), l->ListBox()->Width() - 4);
    EXPECT_EQ(bar->SmallChange(), measure.Canvas()->TextWidth("0"));
    EXPECT_EQ(l->ListBox()->BoundsRect().Bottom, bar->Top());  // the list ends above the bar

    bar->SetPosition(40);
    EXPECT_EQ(l->ListBox()->FHorizontalExtentValue, 40);
    EXPECT_EQ(l->TopIndex(), 0);

    // Narrowing the list keeps the rows' right ends in place.
    l->SetWidth(90);
    Pump();
    EXPECT_EQ(l->ListBox()->FHorizontalExtentValue, 70);

    // The arrows move the bar and leave the selection alone.
    l->SetItemIndex(0);
    l->ListBox()->SetFocus();
    Pump();
    const Integer before = bar->Position();
    Display.PressKey(win::VK_RIGHT);
    Pump();
    EXPECT_EQ(bar->Position(), before + bar->SmallChange());
    EXPECT_EQ(l->ItemIndex(), 0);
    Display.PressKey(win::VK_LEFT);
    Pump();
    EXPECT_EQ(bar->Position(), before);

    l->SetHorizontalExtent(false);
    EXPECT_EQ(l->HScrollBar(), nullptr);
    EXPECT_EQ(l->ListBox()->FHorizontalExtentValue, 0);
}

TEST_F(ListBoxTest, TheFrameHearsTheListsEventsFirst)
{
    auto* l = NewList(3);
    std::vector<std::string> order;
    l->OnListBoxKeyUp = [&](TObject* ASender, win::WORD&, TShiftState) {
        EXPECT_EQ(ASender, l);
        order.push_back("frame key up");
    };
    l->ListBox()->OnKeyUp = [&](TObject*, win::WORD&, TShiftState) { order.push_back("list key up"); };
    l->OnListBoxClick = [&](TObject* ASender) {
        EXPECT_EQ(ASender, l);
        order.push_back("frame click");
    };
    l->ListBox()->OnClick = [&](TObject*) { order.push_back("list click"); };
    l->ListBox()->SetFocus();
    Pump();
    Display.PressKey(win::VK_DOWN);
    Pump();
    EXPECT_EQ(order, (std::vector<std::string>{"frame click", "list click", "frame key up", "list key up"}));
}

TEST_F(ListBoxTest, ASkinWithoutItemPictureDrawsWithoutDividingByZero)
{
    const Integer picture = AddPicture(60, 60, static_cast<TColor>(0x00C0C0));
    auto* record = AddRecord<TspDataSkinListBox>("listbox");
    record->PictureIndex = picture;
    record->SkinRect = Rect(0, 0, 60, 60);
    record->LTPoint = Point(3, 3);
    record->RTPoint = Point(57, 3);
    record->LBPoint = Point(3, 57);
    record->RBPoint = Point(57, 57);
    record->ClRect = Rect(3, 3, 57, 57);
    // SItemRect, ItemTextRect and the other item rectangles stay empty.
    auto* l = NewList(12);
    l->SetItemIndex(2);
    l->SetSkinData(Skin);
    Pump();
    EXPECT_TRUE(l->HasListRecord());
    EXPECT_GE(l->ListBox()->ItemHeight(), 1);
    EXPECT_EQ(l->CalcHeight(3), 60 - 54 + 3 * l->ListBox()->ItemHeight());
    l->SetUseSkinItemHeight(false);
    l->Repaint();
    l->ListBox()->Repaint();
    Pump();
    SUCCEED();
}

TEST_F(ListBoxTest, PlainCaptionButtonsFollowTheCaptionHeight)
{
    auto* l = NewList(3);
    l->SetCaption("Files");
    l->SetCaptionMode(true);
    for (auto [height, size] : {std::pair{20, 17}, std::pair{12, 9}}) {
        l->SetDefaultCaptionHeight(height);
        l->Repaint();
        Pump();
        EXPECT_EQ(l->CaptionButton(0).R, Rect(120 - size - 2, 2, 118, size + 1)) << height;
        EXPECT_EQ(l->CaptionButton(1).R.Width(), size);
        EXPECT_EQ(l->CaptionButton(2).R.Right, l->CaptionButton(1).R.Left);
    }
}

class CaptionRepeatTest : public ListBoxTest {
protected:
    TspSkinListBox* CaptionList()
    {
        auto* l = NewList(10);
        l->SetCaption("Files");
        l->SetCaptionMode(true);
        l->SetItemIndex(0);
        l->Repaint();
        Pump();
        return l;
    }
    void Press(TControl* AControl, Integer AX, Integer AY)
    {
        MoveTo(AControl, AX, AY);
        Display.PressButton(ScreenPoint(AControl, AX, AY));
        Pump();
    }
    void Release(TControl* AControl, Integer AX, Integer AY)
    {
        Display.ReleaseButton(ScreenPoint(AControl, AX, AY));
        Pump();
    }
    TPoint Centre(TspSkinListBox* AList, Integer AButton)
    {
        const TRect& r = AList->CaptionButton(AButton).R;
        return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
    }
};

TEST_F(CaptionRepeatTest, HeldDownButtonStepsAfter600MsThenEvery100AndStopsAtTheLastItem)
{
    auto* l = CaptionList();
    const TPoint down = Centre(l, 1);
    Press(l, down.X, down.Y);
    EXPECT_EQ(l->ItemIndex(), 0);
    Run(590);
    EXPECT_EQ(l->ItemIndex(), 0);
    Run(20);
    EXPECT_EQ(l->ItemIndex(), 1);
    Run(100);
    EXPECT_EQ(l->ItemIndex(), 2);
    // Off the button the repeat pauses; released outside, the default step still runs.
    MoveTo(l, 10, 60);
    Run(300);
    EXPECT_EQ(l->ItemIndex(), 2);
    Release(l, 10, 60);
    EXPECT_EQ(l->ItemIndex(), 3);
    Run(500);
    EXPECT_EQ(l->ItemIndex(), 3);
    EXPECT_EQ(l->TimerMode(), 0);

    Press(l, down.X, down.Y);
    Run(2000);
    EXPECT_EQ(l->ItemIndex(), 9);
    Release(l, down.X, down.Y);
    EXPECT_EQ(l->ItemIndex(), 9);
}

TEST_F(CaptionRepeatTest, AnAssignedClickEventReplacesTheStepAndTheRepeat)
{
    auto* l = CaptionList();
    int clicks = 0;
    l->OnDownButtonClick = [&](TObject* ASender) {
        EXPECT_EQ(ASender, l);
        ++clicks;
    };
    const TPoint down = Centre(l, 1);
    Press(l, down.X, down.Y);
    Run(1000);
    Release(l, down.X, down.Y);
    EXPECT_EQ(l->ItemIndex(), 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CaptionRepeatTest, LeavingTheControlShowsEveryButtonAtRest)
{
    auto* l = CaptionList();
    const TPoint check = Centre(l, 2);
    MoveTo(l, check.X, check.Y);
    EXPECT_TRUE(l->CaptionButton(2).MouseIn);
    MoveTo(Form, 300, 200);
    for (Integer i = 0; i < 3; ++i) EXPECT_FALSE(l->CaptionButton(i).MouseIn) << i;
}

}  // namespace
