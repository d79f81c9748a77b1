// The helpers later controls share: the fade stepper, picture and button-record lookups that trust no index or
// name from a skin, and the link between a scrolled control and its external bar.
#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/button_record.h"
#include "skin/controls/hot_fade.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_bar_link.h"
#include "skin/controls/skin_pictures.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

TEST(HotFadeTest, FiveWholeStepsEachWayEndExactly)
{
    TspHotFade fade;
    int steps = 0;
    while (fade.StepIn()) ++steps;
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(fade.Kf(), 1.0);
    steps = 0;
    while (fade.StepOut()) ++steps;
    EXPECT_EQ(steps, 5);  // no sixth step below zero on the way out
    EXPECT_EQ(fade.Kf(), 0.0);
    EXPECT_FALSE(fade.StepOut());
}

TEST(ButtonStateRectTest, EmptyStatePicturesFallBack)
{
    TspDataSkinButtonControl r("button");
    r.SkinRect = Rect(0, 0, 10, 10);
    EXPECT_EQ(ButtonStateRect(r, TspButtonState::Pressed), r.SkinRect);
    r.ActiveSkinRect = Rect(10, 0, 20, 10);
    EXPECT_EQ(ButtonStateRect(r, TspButtonState::Hot), r.ActiveSkinRect);
    EXPECT_EQ(ButtonStateRect(r, TspButtonState::Pressed), r.ActiveSkinRect);
    r.DownSkinRect = Rect(20, 0, 30, 0);  // no height: empty
    EXPECT_EQ(ButtonStateRect(r, TspButtonState::Pressed), r.ActiveSkinRect);
    r.DownSkinRect = Rect(20, 0, 30, 10);
    EXPECT_EQ(ButtonStateRect(r, TspButtonState::Pressed), r.DownSkinRect);
    EXPECT_EQ(ButtonStateRect(r, TspButtonState::Normal), r.SkinRect);
}

class SkinLookupTest : public controlstest::TControlsFixture {};

TEST_F(SkinLookupTest, PictureIndexesOutsideTheListGiveNoPicture)
{
    AddPicture(4, 4, clRed);
    EXPECT_NE(SkinPicture(Skin, 0), nullptr);
    for (Integer index : {-1, 1, 1000, -1000}) EXPECT_EQ(SkinPicture(Skin, index), nullptr) << index;
    EXPECT_EQ(SkinPicture(nullptr, 0), nullptr);
}

TEST_F(SkinLookupTest, ButtonRecordsAreFoundByNameAndClassInOrder)
{
    AddRecord<TspDataSkinCustomControl>("combobutton");  // right name, wrong class
    auto* tool = AddRecord<TspDataSkinButtonControl>("resizetoolbutton");
    EXPECT_EQ(FindButtonRecord(Skin, {"combobutton", "resizetoolbutton"}), tool);
    EXPECT_EQ(FindButtonRecord(Skin, {"resizebutton"}), nullptr);
    EXPECT_EQ(FindButtonRecord(nullptr, {"resizetoolbutton"}), nullptr);

    // A record whose picture index points past the list composes nothing and says so.
    tool->PictureIndex = 9;
    tool->SkinRect = Rect(0, 0, 10, 10);
    TBitmap image;
    EXPECT_FALSE(ComposeButtonRecord(Skin, *tool, TspButtonState::Hot, 30, 20, &image));
    EXPECT_EQ(image.Width(), 30);
    EXPECT_EQ(image.Height(), 20);
}

TEST_F(SkinLookupTest, ScrollBarLinkMirrorsQuietlyAndSurvivesEitherSideGoingFirst)
{
    std::vector<Integer> scrolled;
    auto* link = new TspScrollBarLink(Form, [&](Integer APosition) { scrolled.push_back(APosition); });
    auto* bar = new TspSkinScrollBar(Form);
    bar->SetParent(Form);
    link->SetBar(bar);
    link->Mirror(0, 200, 20, 50);
    EXPECT_EQ(bar->Max(), 200);
    EXPECT_EQ(bar->PageSize(), 20);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_TRUE(scrolled.empty());
    bar->SetPosition(70);  // the user moved the bar
    EXPECT_EQ(scrolled, std::vector<Integer>{70});

    delete bar;
    EXPECT_EQ(link->Bar(), nullptr);
    link->Mirror(0, 10, 0, 5);  // nothing to mirror into, no crash

    auto* second = new TspSkinScrollBar(Form);
    link->SetBar(second);
    delete link;
    second->SetPosition(30);  // the control has gone: the bar no longer calls it
    EXPECT_EQ(scrolled, std::vector<Integer>{70});
}

}  // namespace
