// The skinned tree and list views: external bars shown per view style with the parent re-aligning, bar moves
// turned into native scrolling, the replaced column header with its pressed and divider tracking, and links
// that do not outlive either side.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "platform/gui/ext_controls.h"
#include "skin/controls/list_view.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/tree_view.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

class ViewsTest : public controlstest::TControlsFixture {
protected:
    void SetUp() override
    {
        TControlsFixture::SetUp();
        VBar = new TspSkinScrollBar(Form);
        VBar->SetKind(sbVertical);
        VBar->SetWidth(19);
        VBar->SetAlign(alRight);
        VBar->SetParent(Form);
        HBar = new TspSkinScrollBar(Form);
        HBar->SetHeight(19);
        HBar->SetAlign(alBottom);
        HBar->SetParent(Form);
    }
    TspSkinListView* NewReportView(Integer ARows)
    {
        auto* v = new TspSkinListView(Form);
        v->SetViewStyle(vsReport);
        v->AddColumn("Name", 120);
        v->AddColumn("Size", 80);
        v->SetAlign(alClient);
        v->SetParent(Form);
        v->SetVScrollBar(VBar);
        v->SetHScrollBar(HBar);
        for (Integer i = 0; i < ARows; ++i) v->Items()->Add()->Caption = "row " + std::to_string(i);
        Pump();
        return v;
    }
    TspSkinScrollBar* VBar = nullptr;
    TspSkinScrollBar* HBar = nullptr;
};

TEST_F(ViewsTest, ReportViewShowsItsVerticalBarOnceTheRowsOverflowAndTheParentRealigns)
{
    auto* v = NewReportView(3);
    EXPECT_FALSE(VBar->Visible());
    const Integer fullWidth = v->Width();
    EXPECT_EQ(fullWidth, Form->ClientWidth());
    const Integer perPage = v->CountPerPage();
    for (Integer i = 3; i < perPage + 5; ++i) v->Items()->Add()->Caption = "row " + std::to_string(i);
    Pump();
    EXPECT_TRUE(VBar->Visible());
    EXPECT_EQ(v->Width(), fullWidth - VBar->Width());
    EXPECT_EQ(VBar->Max(), perPage + 4);
    EXPECT_EQ(VBar->PageSize(), v->CountPerPage());
    // Narrow the view's room until the columns overflow: the horizontal bar leaves the corner free.
    Form->SetClientWidth(150);
    Pump();
    EXPECT_TRUE(HBar->Visible());
    EXPECT_TRUE(HBar->Both());
}

TEST_F(ViewsTest, DraggingTheReportBarByThreeScrollsThreeRows)
{
    auto* v = NewReportView(60);
    ASSERT_TRUE(VBar->Visible());
    VBar->SetPosition(3);
    EXPECT_EQ(v->TopIndex(), 3);
    EXPECT_EQ(VBar->Position(), 3);
    VBar->SetPosition(1);
    EXPECT_EQ(v->TopIndex(), 1);
}

TEST_F(ViewsTest, ListStyleHidesTheVerticalBarAndStepsColumns)
{
    auto* v = NewReportView(0);
    v->SetViewStyle(vsList);
    for (Integer i = 0; i < 200; ++i) v->Items()->Add()->Caption = "file " + std::to_string(i);
    VBar->SetVisible(true);
    v->UpDateScrollBars();
    Pump();
    EXPECT_FALSE(VBar->Visible());
    ASSERT_TRUE(HBar->Visible());
    // Two steps of the bar are two column steps of the view.
    HBar->SetPosition(HBar->Position() + 2);
    EXPECT_EQ(win::GetScrollPos(v->Handle(), win::SB_HORZ), 2);
    EXPECT_EQ(HBar->Position(), 2);
}

TEST_F(ViewsTest, TreeShowsItsBarOnlyWhileItsRowsOverflow)
{
    auto* t = new TspSkinTreeView(Form);
    t->SetAlign(alClient);
    t->SetParent(Form);
    t->SetVScrollBar(VBar);
    t->Items()->Add(nullptr, "one");
    t->Items()->Add(nullptr, "two");
    Pump();
    EXPECT_FALSE(VBar->Visible());
    for (int i = 0; i < 40; ++i) t->Items()->Add(nullptr, "node " + std::to_string(i));
    t->Invalidate();
    Pump();
    ASSERT_TRUE(VBar->Visible());
    VBar->SetPosition(5);
    EXPECT_EQ(t->TopRow(), 5);
    t->Items()->Clear();
    t->Invalidate();
    Pump();
    EXPECT_FALSE(VBar->Visible());
}

TEST_F(ViewsTest, HeaderIsReplacedWidenedAndTracksPressesAndDividers)
{
    auto* v = NewReportView(5);
    ASSERT_NE(v->HeaderHandle(), nullptr);
    EXPECT_EQ(v->Header()->Width(), std::max(v->ClientWidth(), 200) + 25);

    // A press on a section shows it pressed until the release.
    const TPoint section = v->Header()->ClientToScreen({40, 10});
    Display.MoveMouse(section);
    Pump();
    Display.PressButton(section);
    Pump();
    EXPECT_EQ(v->ActiveSection(), 0);
    EXPECT_TRUE(v->HeaderDown());
    Display.ReleaseButton(section);
    Pump();
    EXPECT_EQ(v->ActiveSection(), -1);
    EXPECT_FALSE(v->HeaderDown());

    // A press on the divider presses no section.
    const TPoint divider = v->Header()->ClientToScreen({120, 10});
    Display.MoveMouse(divider);
    Pump();
    Display.PressButton(divider);
    Pump();
    EXPECT_TRUE(v->DividerDown());
    EXPECT_FALSE(v->HeaderDown());
    Display.ReleaseButton(v->Header()->ClientToScreen({150, 10}));
    Pump();
    EXPECT_FALSE(v->DividerDown());

    // The plain header: the pressed palette would be 0xB59385; at rest clBtnFace inside a shadow frame.
    EXPECT_EQ(ScreenColor(v->Header(), 40, 10), ColorToRGB(clBtnFace));
}

TEST_F(ViewsTest, TheViewForgetsAHeaderThatIsDestroyed)
{
    auto* v = NewReportView(2);
    ASSERT_NE(v->HeaderHandle(), nullptr);
    delete v->Header();
    Pump();
    EXPECT_EQ(v->HeaderHandle(), nullptr);
    delete v;
    Pump();
}

TEST_F(ViewsTest, BarsOutliveTheirViewWithoutCallingIntoIt)
{
    auto* v = NewReportView(60);
    ASSERT_TRUE(VBar->Visible());
    delete v;
    Pump();
    EXPECT_FALSE(static_cast<bool>(VBar->OnChange));
    VBar->SetPosition(4);  // must not reach the freed view
    auto* t = new TspSkinTreeView(Form);
    t->SetParent(Form);
    t->SetVScrollBar(VBar);
    delete VBar;
    VBar = nullptr;
    EXPECT_EQ(t->VScrollBar(), nullptr);
    t->UpDateScrollBars();
}

TEST_F(ViewsTest, ShowingAViewShowsBothLinkedBarsUntilTheNextUpdate)
{
    auto* v = NewReportView(1);
    v->SetAlign(alNone);
    v->Hide();
    Pump();
    EXPECT_FALSE(VBar->Visible());
    v->Show();
    EXPECT_TRUE(VBar->Visible());
    EXPECT_TRUE(HBar->Visible());
    v->UpDateScrollBars();
    EXPECT_FALSE(VBar->Visible());
}

// The first update can run inside the parent's own alignment pass (the view's first size), which places no
// control twice: the bar it shows must still take its room.
TEST_F(ViewsTest, ABarShownDuringTheParentsAlignmentStillTakesItsRoom)
{
    auto* panel = new TPanel(Form);
    panel->SetBounds(0, 0, 180, 130);
    panel->SetParent(Form);
    auto* v = new TspSkinScrollBar(panel);
    v->SetKind(sbVertical);
    v->SetWidth(19);
    v->SetAlign(alRight);
    v->SetParent(panel);
    auto* t = new TspSkinTreeView(panel);
    t->SetAlign(alClient);
    t->SetParent(panel);
    for (int i = 0; i < 30; ++i) t->Items()->Add(nullptr, "n");
    t->SetVScrollBar(v);
    Pump();
    t->Repaint();
    Pump();
    ASSERT_TRUE(v->Visible());
    EXPECT_EQ(t->BoundsRect().Right, v->Left());
    EXPECT_TRUE(v->Showing());
    EXPECT_EQ(ScreenColor(v, 9, 8), ColorToRGB(clBlack));  // the up arrow
}

}  // namespace
