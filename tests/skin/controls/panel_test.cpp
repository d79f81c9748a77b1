// Panel, group box and paint panel: the client area in every border and caption mode, the caption's click areas
// (plain, ribbon and skinned), rolling up and down with the size constraints kept, the check box and its
// children, and what the skinned and plain looks paint.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gui/graphics.h"
#include "skin/controls/group_box.h"
#include "skin/controls/paint_panel.h"
#include "skin/controls/panel.h"
#include "skin/core/skin_records.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

using controlstest::Fill;
using Border = TspSkinBorderStyle;

constexpr TColor kFrame = static_cast<TColor>(0x0000FF), kClient = static_cast<TColor>(0x00FF00),
                 kBackground = static_cast<TColor>(0xFF8000);

class PanelTest : public controlstest::TControlsFixture {
protected:
    template <typename TPanel = TspSkinPanel>
    TPanel* NewPanel()
    {
        auto* p = new TPanel(Form);
        p->SetParent(Form);
        p->SetBounds(10, 10, 150, 150);
        Pump();
        return p;
    }
    // A 40 x 40 nine-piece panel picture: a 20-pixel top band that holds the caption, 5-pixel other edges, the
    // client part in its own colour.
    TspDataSkinPanelControl* SkinPanel(TspSkinPanel* APanel, const std::string& AName = "panel")
    {
        const Integer index = AddPicture(40, 40, kFrame);
        Fill(PictureAt(index), Rect(5, 20, 35, 35), kClient);
        auto* r = AddRecord<TspDataSkinPanelControl>(AName);
        r->PictureIndex = index;
        r->SkinRect = Rect(0, 0, 40, 40);
        r->LTPoint = {5, 20};
        r->RTPoint = {35, 20};
        r->LBPoint = {5, 35};
        r->RBPoint = {35, 35};
        r->ClRect = Rect(5, 20, 35, 35);
        r->CaptionRect = Rect(5, 2, 35, 18);
        APanel->SetSkinData(Skin);
        Pump();
        return r;
    }
    void ClickAt(TControl* AControl, TPoint APoint)
    {
        Display.Click(ScreenPoint(AControl, APoint.X, APoint.Y));
        Pump();
    }
    // A child aligned to the whole client area shows where children go.
    TspSkinPanel* ClientChild(TspSkinPanel* APanel)
    {
        auto* child = new TspSkinPanel(APanel);
        child->SetParent(APanel);
        child->SetAlign(alClient);
        Pump();
        return child;
    }
};

TEST_F(PanelTest, PlainClientAreaForEveryBorderAndCaptionMode)
{
    struct Case {
        const char* Name;
        Border Style;
        bool Caption, Ribbon;
        TRect Client;
    };
    const std::vector<Case> cases = {
        {"frame", Border::bvFrame, false, false, Rect(1, 1, 149, 149)},
        {"raised", Border::bvRaised, false, false, Rect(1, 1, 149, 149)},
        {"lowered", Border::bvLowered, false, false, Rect(1, 1, 149, 149)},
        {"none", Border::bvNone, false, false, Rect(0, 0, 150, 150)},
        {"frame, caption", Border::bvFrame, true, false, Rect(1, 23, 149, 149)},
        {"none, caption", Border::bvNone, true, false, Rect(0, 22, 150, 150)},
        {"raised, ribbon", Border::bvRaised, true, true, Rect(1, 1, 149, 127)},
        {"none, ribbon", Border::bvNone, true, true, Rect(0, 0, 150, 128)},
        {"ribbon without caption", Border::bvFrame, false, true, Rect(1, 1, 149, 149)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* p = NewPanel();
        auto* child = ClientChild(p);
        p->SetBorderStyle(c.Style);
        p->SetRibbonStyle(c.Ribbon);
        p->SetCaptionMode(c.Caption);
        Pump();
        EXPECT_EQ(p->GetSkinClientRect(), c.Client);
        EXPECT_EQ(child->BoundsRect(), c.Client);
        delete p;
    }
}

TEST_F(PanelTest, SkinnedClientAreaByMode)
{
    struct Case {
        const char* Name;
        bool Transparent, Caption, Background;
        Border Style;
        TRect Client;
    };
    const std::vector<Case> cases = {
        {"skin client part", false, false, false, Border::bvFrame, Rect(5, 20, 145, 145)},
        {"skin client part, caption", false, true, false, Border::bvFrame, Rect(5, 20, 145, 145)},
        {"borderless tiled face", false, false, false, Border::bvNone, Rect(0, 0, 150, 150)},
        {"borderless with caption keeps the frame", false, true, false, Border::bvNone, Rect(5, 20, 145, 145)},
        {"background picture", false, false, true, Border::bvFrame, Rect(0, 0, 150, 150)},
        {"transparent", true, false, false, Border::bvFrame, Rect(2, 2, 148, 148)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* p = NewPanel();
        auto* child = ClientChild(p);
        auto* r = SkinPanel(p);
        if (c.Background) r->BGPictureIndex = AddPicture(8, 8, kBackground);
        p->SetBorderStyle(c.Style);
        p->SetTransparentMode(c.Transparent);
        p->SetCaptionMode(c.Caption);
        p->Realign();
        Pump();
        EXPECT_EQ(p->GetSkinClientRect(), c.Client);
        EXPECT_EQ(child->BoundsRect(), c.Client);
        delete p;
        Skin->CtrlList.clear();
    }
    // A transparent panel with a caption keeps the text's height above its children.
    auto* p = NewPanel();
    SkinPanel(p);
    p->SetCaption("Output");
    p->SetTransparentMode(true);
    p->SetCaptionMode(true);
    const TRect client = p->GetSkinClientRect();
    EXPECT_GT(client.Top, 2);
    EXPECT_EQ(Rect(client.Left, client.Right, 0, client.Bottom), Rect(2, 148, 0, 148));
}

TEST_F(PanelTest, CaptionClicksToggleOnlyInsideTheCaption)
{
    struct Case {
        const char* Name;
        bool Skinned, Ribbon;
        TPoint At;
        bool Toggles;
    };
    const std::vector<Case> cases = {
        {"plain, in the bar", false, false, {5, 5}, true},
        {"plain, bar's last row", false, false, {5, 22}, true},
        {"plain, below the bar", false, false, {5, 30}, false},
        {"plain, on the frame", false, false, {0, 5}, false},
        {"ribbon, in the bottom bar", false, true, {5, 140}, true},
        {"ribbon, at the top", false, true, {5, 5}, false},
        {"skinned, in the caption", true, false, {100, 10}, true},
        {"skinned, caption's right edge", true, false, {145, 18}, true},
        {"skinned, above the caption", true, false, {100, 1}, false},
        {"skinned, in the client part", true, false, {100, 60}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* p = NewPanel();
        if (c.Skinned) SkinPanel(p);
        p->SetCaption("Options");
        p->SetRibbonStyle(c.Ribbon);
        p->SetCaptionMode(true);
        p->SetCheckedMode(true);
        int checkedEvents = 0;
        p->OnChecked = [&](TObject*) { ++checkedEvents; };
        p->Repaint();
        Pump();
        ClickAt(p, c.At);
        EXPECT_EQ(p->Checked(), c.Toggles);
        EXPECT_EQ(checkedEvents, c.Toggles ? 1 : 0);
        delete p;
        Skin->CtrlList.clear();
    }
}

TEST_F(PanelTest, CheckedRaisesEveryTimeAndCarriesTheChildrensEnabling)
{
    auto* p = NewPanel();
    auto* child = ClientChild(p);
    int events = 0;
    p->OnChecked = [&](TObject*) { ++events; };
    p->SetChecked(false);  // unchanged, outside checked mode: the event all the same, children alone
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(child->Enabled());
    p->SetCheckedMode(true);
    p->SetChecked(false);
    EXPECT_EQ(events, 2);
    EXPECT_FALSE(child->Enabled());
    p->SetChecked(true);
    EXPECT_TRUE(child->Enabled());
    p->SetAutoEnabledControls(false);
    p->SetChecked(false);
    EXPECT_TRUE(child->Enabled());
    EXPECT_EQ(events, 4);
}

TEST_F(PanelTest, RollUpAndDownKeepTheSizeConstraints)
{
    auto* p = NewPanel();
    auto* child = ClientChild(p);
    TSizeConstraints* limits = p->Constraints();
    limits->SetMinWidth(100);
    limits->SetMaxWidth(400);
    limits->SetMinHeight(120);
    limits->SetMaxHeight(300);
    p->SetCaptionMode(true);
    int events = 0;
    p->OnChangeRollUpState = [&](TObject*) { ++events; };

    p->SetRollUpState(true);  // outside roll-up mode: nothing, constraints untouched
    EXPECT_FALSE(p->RollUpState());
    EXPECT_EQ(limits->MinHeight(), 120);
    EXPECT_EQ(events, 0);

    p->SetRollUpMode(true);
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 23);  // the plain caption bar and one pixel
    EXPECT_EQ(p->RealHeight(), 150);
    EXPECT_FALSE(child->Visible());
    EXPECT_EQ(limits->MinHeight(), 0);
    EXPECT_EQ(limits->MaxWidth(), 0);
    p->DoRollUp(true);  // again: the height to come back to stays
    EXPECT_EQ(p->RealHeight(), 150);
    EXPECT_EQ(p->Height(), 23);

    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 150);
    EXPECT_EQ(p->RealHeight(), -1);
    EXPECT_TRUE(child->Visible());
    EXPECT_EQ(events, 2);
    EXPECT_EQ(limits->MinWidth(), 100);
    EXPECT_EQ(limits->MaxWidth(), 400);
    EXPECT_EQ(limits->MinHeight(), 120);
    EXPECT_EQ(limits->MaxHeight(), 300);

    // A second round keeps them too (the first round's zeros are never saved).
    p->SetRollUpState(true);
    p->SetRollUpState(false);
    EXPECT_EQ(limits->MinHeight(), 120);
    EXPECT_EQ(limits->MaxHeight(), 300);
    p->DoRollUp(false);  // never rolled up: nothing
    EXPECT_EQ(p->Height(), 150);

    // Children are aligned again after the roll-down.
    p->SetHeight(200);
    Pump();
    EXPECT_EQ(child->BoundsRect(), p->GetSkinClientRect());
}

TEST_F(PanelTest, SkinnedRollUpKeepsTheFrameAndSurvivesASkinChange)
{
    auto* p = NewPanel();
    auto* child = ClientChild(p);
    SkinPanel(p);
    p->SetCaption("Advanced");
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    p->Repaint();
    Pump();
    ClickAt(p, {60, 10});  // on the caption
    EXPECT_TRUE(p->RollUpState());
    EXPECT_EQ(p->Height(), 25);  // the 20-pixel top and the 5-pixel bottom
    p->ChangeSkinData();
    p->ChangeSkinData();
    EXPECT_EQ(p->RealHeight(), 150);
    EXPECT_EQ(p->Height(), 25);
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 150);
    p->SetHeight(180);
    Pump();
    EXPECT_EQ(child->BoundsRect(), Rect(5, 20, 145, 175));
}

TEST_F(PanelTest, SkinnedFacesByPaintPath)
{
    auto* p = NewPanel();
    auto* r = SkinPanel(p);
    p->Repaint();
    Pump();
    EXPECT_EQ(ScreenColor(p, 2, 2), kFrame);
    EXPECT_EQ(ScreenColor(p, 75, 75), kClient);
    EXPECT_EQ(ScreenColor(p, 147, 147), kFrame);
    // Borderless without caption: the client part tiled over everything.
    p->SetBorderStyle(Border::bvNone);
    p->Repaint();
    Pump();
    EXPECT_EQ(ScreenColor(p, 1, 1), kClient);
    EXPECT_EQ(ScreenColor(p, 148, 148), kClient);
    // A background picture shows alone.
    p->SetBorderStyle(Border::bvFrame);
    r->BGPictureIndex = AddPicture(8, 8, kBackground);
    p->Repaint();
    Pump();
    EXPECT_EQ(ScreenColor(p, 1, 1), kBackground);
    EXPECT_EQ(ScreenColor(p, 148, 148), kBackground);
    // An index beyond the skin's pictures means none.
    r->BGPictureIndex = 99;
    p->Repaint();
    Pump();
    EXPECT_EQ(ScreenColor(p, 2, 2), kFrame);
}

TEST_F(PanelTest, PlainCaptionBarAndCheckBox)
{
    auto* p = NewPanel();
    p->SetCaption("Audio");
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    p->SetChecked(true);
    Pump();
    const TColor shadow = static_cast<TColor>(ColorToRGB(clBtnShadow));
    const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
    EXPECT_EQ(ScreenColor(p, 75, 0), shadow);  // the bar's outer frame
    EXPECT_EQ(ScreenColor(p, 5, 11 - 7), shadow);  // the check box's frame: T = 2 + 18 div 2 - 7
    EXPECT_EQ(ScreenColor(p, 75, 60), face);
    p->SetRibbonStyle(true);
    Pump();
    EXPECT_EQ(ScreenColor(p, 75, 150 - 22), shadow);  // the bar at the bottom
}

TEST_F(PanelTest, TransparentGroupLookBreaksTheTopLineForTheCaption)
{
    auto* p = NewPanel();
    SkinPanel(p);
    Skin->FSkinColors->FcBtnShadow = static_cast<TColor>(0x102030);
    p->SetCaption("Video");
    p->SetTransparentMode(true);
    p->SetCaptionMode(true);
    p->Repaint();
    Pump();
    const TRect caption = p->NewCaptionRect();
    ASSERT_GT(caption.Bottom, 5);
    const Integer m = caption.Bottom / 2;
    EXPECT_EQ(ScreenColor(p, 2, m), static_cast<TColor>(0x102030));   // the short line before the text
    EXPECT_NE(ScreenColor(p, 6, m), static_cast<TColor>(0x102030));   // the gap the text stands in
    EXPECT_EQ(ScreenColor(p, 140, m), static_cast<TColor>(0x102030));  // the line after it
    EXPECT_EQ(ScreenColor(p, 149, 100), static_cast<TColor>(0x102030));
    EXPECT_EQ(ScreenColor(p, 75, 75), clBlack);  // the form behind shows through
}

TEST_F(PanelTest, GroupBoxAndPaintPanel)
{
    auto* g = NewPanel<TspSkinGroupBox>();
    EXPECT_TRUE(g->CaptionMode());
    EXPECT_EQ(g->SkinDataName(), "groupbox");

    auto* p = NewPanel<TspSkinPaintPanel>();
    std::vector<TRect> areas;
    p->OnPanelPaint = [&](TCanvas* ACanvas, TRect R) {
        areas.push_back(R);
        ACanvas->Brush()->SetColor(static_cast<TColor>(0x00FFFF));
        ACanvas->FillRect(Rect(R.Left, R.Top, R.Left + 10, R.Top + 10));
    };
    p->Repaint();
    Pump();
    ASSERT_FALSE(areas.empty());
    EXPECT_EQ(areas.back(), Rect(1, 1, 149, 149));
    EXPECT_EQ(ScreenColor(p, 5, 5), static_cast<TColor>(0x00FFFF));
    SkinPanel(p);
    p->Repaint();
    Pump();
    EXPECT_EQ(areas.back(), Rect(5, 20, 145, 145));
    EXPECT_EQ(ScreenColor(p, 8, 23), static_cast<TColor>(0x00FFFF));
}

}  // namespace
