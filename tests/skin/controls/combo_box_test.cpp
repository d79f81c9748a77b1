// The skinned combo box: event order when a choice is made, keys, type-ahead and completion on the virtual
// clock, the drop-down's height and placement, choosing by drag, auto-scroll, Escape and Enter, the fade-in,
// and the plain layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/controls/combo_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

// Records the events a choice raises, SelectionChanged included.
class TRecordingCombo : public TspSkinComboBox {
public:
    using TspSkinComboBox::TspSkinComboBox;
    std::vector<std::string>* Log = nullptr;
    void SelectionChanged() override
    {
        if (Log) Log->push_back("selection");
    }
};

class ComboBoxTest : public controlstest::TControlsFixture {
protected:
    TRecordingCombo* NewCombo(Integer AItems, TRect ABounds = Bounds(20, 20, 120, 20))
    {
        auto* c = new TRecordingCombo(Form);
        c->SetParent(Form);
        c->SetBoundsRect(ABounds);
        for (Integer i = 0; i < AItems; ++i) c->Items()->Add(Name(i));
        c->Log = &Events;
        c->OnChange = [this](TObject*) { Events.push_back("change"); };
        c->OnClick = [this](TObject*) { Events.push_back("click"); };
        c->OnCloseUp = [this](TObject*) { Events.push_back("closeup"); };
        Pump();
        return c;
    }
    static std::string Name(Integer AIndex)
    {
        static const char* const names[] = {"alpha", "beta", "bell", "delta", "echo"};
        return AIndex < 5 ? names[AIndex] : "item " + std::to_string(AIndex);
    }
    void Key(TspSkinCustomComboBox* ACombo, int AKey, bool AAlt = false)
    {
        win::WORD key = static_cast<win::WORD>(AKey);
        ACombo->SetFocus();
        Pump();
        if (AAlt) Display.KeyDown(win::VK_MENU);
        Display.PressKey(key);
        if (AAlt) Display.KeyUp(win::VK_MENU);
        Pump();
    }
    void MoveTo(TControl* AControl, Integer AX, Integer AY)
    {
        Display.MoveMouse(ScreenPoint(AControl, AX, AY));
        Pump();
    }
    std::vector<std::string> Events;
};

TEST_F(ComboBoxTest, ChoosingAnItemChangesTheTextThenClicksThenTellsTheSelection)
{
    auto* c = NewCombo(5);
    c->SetItemIndex(2);
    EXPECT_EQ(c->Text(), "bell");
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "click", "selection"}));
    Events.clear();
    c->SetItemIndex(2);  // the same text: no change, but a click all the same
    EXPECT_EQ(Events, (std::vector<std::string>{"click", "selection"}));
    Events.clear();
    c->SetItemIndex(-1);
    EXPECT_EQ(c->Text(), "bell");
}

TEST_F(ComboBoxTest, ArrowPageAndAltKeys)
{
    auto* c = NewCombo(30);
    c->SetItemIndex(20);
    Key(c, win::VK_PRIOR);
    EXPECT_EQ(c->ItemIndex(), 11);  // up by the rows and one more
    c->SetItemIndex(0);
    Key(c, win::VK_NEXT);
    EXPECT_EQ(c->ItemIndex(), 7);  // down by the rows less one
    Key(c, win::VK_UP);
    EXPECT_EQ(c->ItemIndex(), 6);
    Key(c, win::VK_RIGHT);
    EXPECT_EQ(c->ItemIndex(), 7);
    Key(c, win::VK_F4);
    EXPECT_FALSE(c->DroppedDown());
    Key(c, win::VK_DOWN, true);
    EXPECT_TRUE(c->DroppedDown());
    EXPECT_TRUE(c->IsPopupVisible());
    Key(c, win::VK_UP, true);
    EXPECT_FALSE(c->IsPopupVisible());
}

TEST_F(ComboBoxTest, EscapeRestoresTheFormerItemAndEnterChoosesTheHighlightedOne)
{
    auto* c = NewCombo(5);
    c->SetItemIndex(1);
    Key(c, win::VK_DOWN, true);
    c->ListBox()->SetItemIndex(3);  // as hovering moves it
    Events.clear();
    Key(c, win::VK_ESCAPE);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_TRUE(Events.empty());
    Key(c, win::VK_DOWN, true);
    c->ListBox()->SetItemIndex(3);
    Key(c, win::VK_RETURN);
    EXPECT_EQ(c->Text(), "delta");
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "click", "selection", "closeup"}));
}

TEST_F(ComboBoxTest, TypeAheadCollectsCharactersWithin500Ms)
{
    auto* c = NewCombo(5);
    c->SetFocus();
    Pump();
    Display.PressKey('B', U'b');
    Pump();
    EXPECT_EQ(c->ItemIndex(), 1);  // beta
    AdvanceMs(300);
    Display.PressKey('E', U'e');
    Pump();
    EXPECT_EQ(c->Text(), "beta");  // "be" still finds beta
    AdvanceMs(300);
    Display.PressKey('L', U'l');
    Pump();
    EXPECT_EQ(c->Text(), "bell");  // "bel"
    AdvanceMs(500);
    Display.PressKey('E', U'e');
    Pump();
    EXPECT_EQ(c->Text(), "echo");  // a pause starts a new search
}

TEST_F(ComboBoxTest, EditStyleFollowsTypingAndCompletesAfter200Ms)
{
    auto* c = NewCombo(5);
    c->SetStyle(spcbEditStyle);
    c->SetStyle(spcbEditStyle);  // one edit, however often the style is set
    Integer edits = 0;
    for (Integer i = 0; i < c->ControlCount(); ++i)
        if (dynamic_cast<TspCustomEdit*>(c->Controls(i))) ++edits;
    EXPECT_EQ(edits, 1);
    ASSERT_NE(c->Edit(), nullptr);
    c->Edit()->SetFocus();
    Pump();
    Events.clear();
    AdvanceMs(300);
    Display.KeyDown('D', U'd');
    Pump();
    // The list follows quietly; the text change is reported.
    EXPECT_EQ(c->ListBox()->ItemIndex(), 3);
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "selection"}));
    Display.KeyUp('D');
    Pump();
    EXPECT_EQ(c->Edit()->Text(), "delta");
    EXPECT_EQ(c->Edit()->SelStart(), 1);
    EXPECT_EQ(c->Edit()->SelLength(), 4);
}

TEST_F(ComboBoxTest, TheListIsAsHighAsItsRowsUpToTheDropDownCount)
{
    auto* few = NewCombo(3);
    few->DropDown();
    Pump();
    EXPECT_EQ(few->ListBox()->Height(), 3 * 20 + 4);
    EXPECT_EQ(few->ListBox()->ScrollBar(), nullptr);
    few->CloseUp(false);
    auto* many = NewCombo(20, Bounds(20, 60, 120, 20));
    many->DropDown();
    Pump();
    EXPECT_EQ(many->ListBox()->Height(), 8 * 20 + 4);
    EXPECT_NE(many->ListBox()->ScrollBar(), nullptr);
    // Below the box, its left edge under the box's.
    EXPECT_EQ(many->ListBox()->Top(), many->ClientToScreen({0, 20}).Y);
    EXPECT_EQ(many->ListBox()->Left(), many->ClientToScreen({0, 0}).X);
}

TEST_F(ComboBoxTest, NearTheBottomOfTheWorkAreaTheListOpensUpwards)
{
    Form->SetBoundsRect(Bounds(100, Display.ScreenSize().cy - 120, 400, 110));
    Pump();
    auto* c = NewCombo(10, Bounds(20, 20, 120, 20));
    c->DropDown();
    Pump();
    EXPECT_EQ(c->ListBox()->BoundsRect().Bottom, c->ClientToScreen({0, 0}).Y);
}

TEST_F(ComboBoxTest, DragFromTheButtonToTheThirdItemChoosesIt)
{
    auto* c = NewCombo(5);
    MoveTo(c, 110, 10);
    Display.PressButton(ScreenPoint(c, 110, 10));
    Pump();
    ASSERT_TRUE(c->IsPopupVisible());
    TspListBox* inner = c->ListBox()->ListBox();
    const TRect third = inner->ItemRect(2);
    MoveTo(inner, 30, third.Top + 5);
    Events.clear();
    Display.ReleaseButton(ScreenPoint(inner, 30, third.Top + 5));
    Pump();
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "click", "selection", "closeup"}));
}

TEST_F(ComboBoxTest, APressAndReleaseOnTheButtonLeavesTheListOpenForAClick)
{
    auto* c = NewCombo(5);
    MoveTo(c, 110, 10);
    Display.PressButton(ScreenPoint(c, 110, 10));
    Pump();
    Display.ReleaseButton(ScreenPoint(c, 110, 10));
    Pump();
    ASSERT_TRUE(c->IsPopupVisible());
    TspListBox* inner = c->ListBox()->ListBox();
    const TRect fourth = inner->ItemRect(3);
    MoveTo(inner, 30, fourth.Top + 5);
    Display.PressButton(ScreenPoint(inner, 30, fourth.Top + 5));
    Pump();
    Display.ReleaseButton(ScreenPoint(inner, 30, fourth.Top + 5));
    Pump();
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->Text(), "delta");
}

TEST_F(ComboBoxTest, DraggingBelowAScrollingListScrollsEvery25MsAndReleasingThereRestores)
{
    auto* c = NewCombo(20);
    c->SetItemIndex(0);
    MoveTo(c, 110, 10);
    Display.PressButton(ScreenPoint(c, 110, 10));
    Pump();
    TspListBox* inner = c->ListBox()->ListBox();
    MoveTo(inner, 30, 10);
    EXPECT_EQ(c->ListBox()->ItemIndex(), 0);
    MoveTo(inner, 30, inner->Height() + 15);
    EXPECT_EQ(c->TimerMode(), 2);
    for (int i = 0; i < 4; ++i) AdvanceMs(25);
    EXPECT_EQ(c->ListBox()->ItemIndex(), 4);
    Run(1000);
    EXPECT_EQ(c->ListBox()->ItemIndex(), 19);
    Display.ReleaseButton(ScreenPoint(inner, 30, inner->Height() + 15));
    Pump();
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(c->TimerMode(), 0);
    Run(200);
    EXPECT_EQ(c->ItemIndex(), 0);
}

TEST_F(ComboBoxTest, TheTranslucentListFadesInStepsOf13)
{
    auto* c = NewCombo(5);
    c->SetListBoxAlphaBlend(true);
    c->SetListBoxAlphaBlendAnimation(true);
    c->SetListBoxAlphaBlendValue(200);
    c->DropDown();
    Pump();
    std::vector<int> seen{c->ListBox()->Alpha()};
    for (int i = 0; i < 40 && seen.back() < 200; ++i) {
        AdvanceMs(6);
        if (c->ListBox()->Alpha() != seen.back()) seen.push_back(c->ListBox()->Alpha());
    }
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(seen[1], 13);
    EXPECT_EQ(seen[2], 26);
    EXPECT_EQ(seen.back(), 200);
    // Freeing the box while it fades leaves nothing running on it.
    c->CloseUp(false);
    c->DropDown();
    delete c;
    AdvanceMs(50);
}

TEST_F(ComboBoxTest, PlainLayoutOfA120By20Box)
{
    auto* c = NewCombo(2);
    c->CalcRects();
    EXPECT_EQ(c->Button.R, Rect(101, 2, 118, 18));
    EXPECT_EQ(c->CBItem.R, Rect(2, 2, 100, 18));
    // An empty list does not open.
    auto* empty = NewCombo(0, Bounds(20, 60, 120, 20));
    empty->DropDown();
    EXPECT_FALSE(empty->IsPopupVisible());
}

}  // namespace

// A form with default and cancel buttons: with the list open, Enter and Escape belong to the combo box (plain
// and edit style); with it closed they reach the buttons as before.
class ComboOnDialogTest : public ComboBoxTest {
protected:
    void SetUp() override
    {
        ComboBoxTest::SetUp();
        for (bool isDefault : {true, false}) {
            auto* b = new TspSkinButton(Form);
            b->SetParent(Form);
            b->SetBoundsRect(Bounds(isDefault ? 200 : 300, 250, 80, 25));
            b->SetCaption(isDefault ? "OK" : "Cancel");
            if (isDefault) b->SetDefault(true);
            else b->SetCancel(true);
            b->OnClick = [this, isDefault](TObject*) { Events.push_back(isDefault ? "ok" : "cancel"); };
        }
        Pump();
    }
    // A key to whatever has the focus (the box, or its edit in the edit style), the list left as it is.
    void Press(int AKey)
    {
        Display.PressKey(AKey);
        Pump();
    }
};

TEST_F(ComboOnDialogTest, EnterAndEscapeWithTheListOpenGoToTheComboNotTheButtons)
{
    for (bool editStyle : {false, true}) {
        SCOPED_TRACE(editStyle ? "edit style" : "plain");
        auto* c = NewCombo(5);
        if (editStyle) c->SetStyle(spcbEditStyle);
        c->SetItemIndex(1);
        Pump();
        c->SetFocus();
        c->DropDown();
        Pump();
        ASSERT_TRUE(c->IsPopupVisible());
        c->ListBox()->SetItemIndex(3);
        Events.clear();
        Press(win::VK_ESCAPE);
        EXPECT_FALSE(c->IsPopupVisible());
        EXPECT_EQ(c->ItemIndex(), 1);
        EXPECT_TRUE(Events.empty()) << Events.front();

        c->DropDown();
        Pump();
        ASSERT_TRUE(c->IsPopupVisible());
        c->ListBox()->SetItemIndex(3);
        Events.clear();
        Press(win::VK_RETURN);
        EXPECT_FALSE(c->IsPopupVisible());
        EXPECT_EQ(c->Text(), "delta");
        EXPECT_EQ(std::count(Events.begin(), Events.end(), "ok"), 0);
        EXPECT_EQ(std::count(Events.begin(), Events.end(), "closeup"), 1);

        // Closed, the keys are the form's again.
        Events.clear();
        Press(win::VK_ESCAPE);
        Press(win::VK_RETURN);
        EXPECT_EQ(Events, (std::vector<std::string>{"cancel", "ok"}));
        delete c;
        Pump();
    }
}
