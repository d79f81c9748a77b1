// The radio group: buttons made from the items and arranged column by column, the ItemIndex and Columns clamps,
// a click raising the group's OnClick once with one button checked, and the group's own checks staying quiet.
#include <gtest/gtest.h>

#include "skin/controls/radio_group.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

class RadioGroupTest : public controlstest::TControlsFixture {
protected:
    TspSkinRadioGroup* NewGroup(std::initializer_list<const char*> AItems)
    {
        auto* g = new TspSkinRadioGroup(Form);
        g->SetParent(Form);
        g->SetBounds(10, 10, 300, 120);
        g->SetCaption("Output");
        g->OnClick = [this](TObject*) { ++GroupClicks; };
        for (const char* item : AItems) g->Items()->Add(item);
        Pump();
        return g;
    }
    Integer CheckedCount(TspSkinRadioGroup* AGroup)
    {
        Integer n = 0;
        for (Integer i = 0; i < AGroup->ButtonCount(); ++i) n += AGroup->Buttons(i)->Checked() ? 1 : 0;
        return n;
    }
    int GroupClicks = 0;
};

TEST_F(RadioGroupTest, ButtonsFillTheColumnsTopToBottom)
{
    auto* g = NewGroup({"MP4", "AVI", "MKV"});
    g->SetColumns(2);
    ASSERT_EQ(g->ButtonCount(), 3);
    TRect client = Rect(0, 0, g->Width(), g->Height());
    g->AdjustClientRect(client);
    const Integer bw = client.Width() / 2 - 2, bh = client.Height() / 2;
    const TRect expected[] = {
        Bounds(client.Left + 1, client.Top, bw, bh),
        Bounds(client.Left + 1, client.Top + bh, bw, bh),
        Bounds(client.Left + 1 + bw, client.Top, bw, bh),
    };
    for (Integer i = 0; i < 3; ++i) {
        TspGroupButton* b = g->Buttons(i);
        EXPECT_EQ(b->BoundsRect(), expected[i]) << i;
        EXPECT_TRUE(b->Visible());
        EXPECT_TRUE(b->Radio());
        EXPECT_EQ(b->SkinDataName(), "radiobox");
    }
    EXPECT_EQ(g->Buttons(2)->Caption(), "MKV");
    g->SetColumns(0);
    EXPECT_EQ(g->Columns(), 1);
    g->SetColumns(40);
    EXPECT_EQ(g->Columns(), 16);
}

TEST_F(RadioGroupTest, ItemIndexIsClampedAndChecksOneButton)
{
    auto* g = NewGroup({"MP4", "AVI", "MKV"});
    g->SetItemIndex(5);
    EXPECT_EQ(g->ItemIndex(), 2);
    EXPECT_TRUE(g->Buttons(2)->Checked());
    EXPECT_EQ(GroupClicks, 1);
    g->SetItemIndex(0);
    EXPECT_EQ(CheckedCount(g), 1);
    EXPECT_EQ(GroupClicks, 2);
    g->SetItemIndex(-7);
    EXPECT_EQ(g->ItemIndex(), -1);
    EXPECT_EQ(CheckedCount(g), 0);
    EXPECT_EQ(GroupClicks, 2);
}

TEST_F(RadioGroupTest, DeletingTheCheckedLastItemMovesTheCheckQuietly)
{
    auto* g = NewGroup({"MP4", "AVI", "MKV"});
    g->SetItemIndex(2);
    GroupClicks = 0;
    g->Items()->Delete(2);
    EXPECT_EQ(g->ButtonCount(), 2);
    EXPECT_EQ(g->ItemIndex(), 1);
    EXPECT_TRUE(g->Buttons(1)->Checked());
    EXPECT_EQ(CheckedCount(g), 1);
    EXPECT_EQ(GroupClicks, 0);
}

TEST_F(RadioGroupTest, ClickingAButtonRaisesTheGroupsOnClickOnce)
{
    auto* g = NewGroup({"MP4", "AVI", "MKV"});
    g->SetItemIndex(0);
    GroupClicks = 0;
    TspGroupButton* avi = g->Buttons(1);
    const TPoint at = ScreenPoint(avi, 8, avi->Height() / 2);
    Display.MoveMouse(at);
    Pump();
    Display.Click(at);
    Pump();
    EXPECT_EQ(g->ItemIndex(), 1);
    EXPECT_EQ(GroupClicks, 1);
    EXPECT_EQ(CheckedCount(g), 1);
    EXPECT_TRUE(avi->Focused());
}

}  // namespace
