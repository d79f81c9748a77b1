#include <gtest/gtest.h>

#include "skin/controls/scroll_bar.h"
#include "tests/skin/dialogs/grid_fixture.h"

namespace {

using gridtest::TTestGrid;

// Rows of 24 pixels plus a 1-pixel line: a 150-pixel client shows the fixed row and five full rows.
class GridScroll : public gridtest::TGridFixture {
protected:
    TTestGrid* GridWithBar(Integer ARows, TGridOptions AOptions = DefaultGridOptions)
    {
        auto* G = NewGrid(300, 150);
        G->SetOptions(AOptions);
        G->SetRowCount(ARows);
        Bar = new TspSkinScrollBar(Form);
        Bar->SetKind(sbVertical);
        Bar->SetParent(Form);
        Bar->SetBounds(300, 0, 16, 150);
        G->SetVScrollBar(Bar);
        Pump();
        return G;
    }
    TspSkinScrollBar* Bar = nullptr;
};

TEST_F(GridScroll, TenRowsWithFiveVisibleGiveStepsOfThirtyOne)
{
    auto* G = GridWithBar(10);
    EXPECT_TRUE(Bar->Visible());
    EXPECT_EQ(Bar->Max(), 127);
    EXPECT_EQ(Bar->SmallChange(), 31);
    EXPECT_EQ(Bar->Position(), 0);
    G->ScrollByCode(1, win::SB_BOTTOM, true, 0);
    EXPECT_EQ(G->TopRow(), 5);
    EXPECT_EQ(Bar->Position(), 127);
    G->ScrollByCode(1, win::SB_PAGEUP, true, 0);
    EXPECT_EQ(G->TopRow(), 1);
}

TEST_F(GridScroll, BarHiddenWhileEverythingFitsAndShownOnceNot)
{
    auto* G = GridWithBar(3);
    EXPECT_FALSE(Bar->Visible());
    EXPECT_EQ(Bar->Max(), 0);
    G->SetRowCount(7);
    Pump();
    EXPECT_TRUE(Bar->Visible());
    EXPECT_EQ(Bar->Max(), 127);
}

TEST_F(GridScroll, UpButtonScrollsDownAndThumbWaitsForRelease)
{
    auto* G = GridWithBar(20);
    Bar->OnUpButtonClick(Bar);
    EXPECT_EQ(G->TopRow(), 2);
    Bar->OnDownButtonClick(Bar);
    EXPECT_EQ(G->TopRow(), 1);

    Bar->SetPosition(127);  // dragging: no scroll without thumb tracking
    EXPECT_EQ(G->TopRow(), 1);
    Bar->OnLastChange(Bar);
    EXPECT_EQ(G->TopRow(), 15);

    auto* Tracking = GridWithBar(20, TGridOptions(DefaultGridOptions).Include(goThumbTracking));
    Bar->SetPosition(127);
    EXPECT_EQ(Tracking->TopRow(), 15);
}

TEST_F(GridScroll, HiddenRowsAreSteppedOver)
{
    auto* G = NewGrid(300, 150);
    G->SetRowCount(20);
    G->SetRowHeights(2, 0);
    G->SetRowHeights(3, 0);
    G->ScrollByCode(1, win::SB_LINEDOWN, true, 0);
    EXPECT_EQ(G->TopRow(), 4);
    G->ScrollByCode(1, win::SB_LINEUP, true, 0);
    EXPECT_EQ(G->TopRow(), 1);
}

TEST_F(GridScroll, OneColumnGridScrollsInPixels)
{
    auto* G = NewGrid(200, 150);
    G->SetColCount(1);
    G->SetColWidths(0, 350);
    auto* H = new TspSkinScrollBar(Form);
    H->SetParent(Form);
    G->SetHScrollBar(H);
    Pump();
    EXPECT_TRUE(H->Visible());
    EXPECT_EQ(H->Max(), 150);
    G->ScrollByCode(0, win::SB_BOTTOM, true, 0);
    EXPECT_EQ(G->ColOffset(), 150);
    G->SetBounds(0, 0, 400, 150);  // the column fits: the offset comes back and the bar goes
    Pump();
    EXPECT_EQ(G->ColOffset(), 0);
    EXPECT_FALSE(H->Visible());
}

}  // namespace

namespace {

class GridScrollVisibility : public GridScroll {};

TEST_F(GridScrollVisibility, LinkedBarsGoAndComeWithTheGrid)
{
    auto* G = GridWithBar(10);
    ASSERT_TRUE(Bar->Visible());
    G->SetVisible(false);
    EXPECT_FALSE(Bar->Visible());
    G->SetVisible(true);
    Pump();
    EXPECT_TRUE(Bar->Visible());
    // A grid whose rows all fit keeps its bar hidden when shown again.
    G->SetRowCount(3);
    Pump();
    ASSERT_FALSE(Bar->Visible());
    G->SetVisible(false);
    G->SetVisible(true);
    Pump();
    EXPECT_FALSE(Bar->Visible());
}

}  // namespace
