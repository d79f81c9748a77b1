// The skinned control bases on a headless form: record lookup, the off-screen paint of a nine-piece record,
// blending over the parent, SKM_REPAINT_TRANSPARENT down the tree, the skin cursor and default sizes.
#include <gtest/gtest.h>

#include "skin/controls/skin_custom_control.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

using controlstest::Fill;

constexpr TColor kTL = 0x0000FF, kTR = 0x00FF00, kBL = 0xFF0000, kBR = 0x00FFFF;
constexpr TColor kTop = 0xFF00FF, kBottom = 0x808000, kLeft = 0x008080, kRight = 0x800080, kClient = 0xFFFFFF;

// Counts the paints and lookups of a skin-picture control.
class TCountingControl : public TspSkinCustomControl {
public:
    using TspSkinCustomControl::TspSkinCustomControl;
    void GetSkinData() override
    {
        ++Lookups;
        TspSkinCustomControl::GetSkinData();
    }
    int Lookups = 0;
};

// Counts SKM_REPAINT_TRANSPARENT on a windowed and a windowless plain control.
template <typename TBase>
class TListening : public TBase {
public:
    using TBase::TBase;
    void WndProc(TMessage& AMessage) override
    {
        if (AMessage.Msg == SKM_REPAINT_TRANSPARENT) ++Heard;
        TBase::WndProc(AMessage);
    }
    int Heard = 0;
};

class SkinControlTest : public controlstest::TControlsFixture {
protected:
    // A 30 x 30 nine-piece picture: 10-pixel corners, edges and client, each in its own colour.
    void AddNinePieceRecord(const std::string& AName)
    {
        const Integer index = AddPicture(30, 30, kClient);
        TBitmap* p = PictureAt(index);
        Fill(p, Rect(0, 0, 10, 10), kTL);
        Fill(p, Rect(20, 0, 30, 10), kTR);
        Fill(p, Rect(0, 20, 10, 30), kBL);
        Fill(p, Rect(20, 20, 30, 30), kBR);
        Fill(p, Rect(10, 0, 20, 10), kTop);
        Fill(p, Rect(10, 20, 20, 30), kBottom);
        Fill(p, Rect(0, 10, 10, 20), kLeft);
        Fill(p, Rect(20, 10, 30, 20), kRight);
        auto* r = AddRecord<TspDataSkinCustomControl>(AName);
        r->PictureIndex = index;
        r->SkinRect = Rect(0, 0, 30, 30);
        r->LTPoint = {10, 10};
        r->RTPoint = {20, 10};
        r->LBPoint = {10, 20};
        r->RBPoint = {20, 20};
        r->ClRect = Rect(10, 10, 20, 20);
        r->CursorIndex = 2;
    }

    TCountingControl* NewControl(const std::string& AName, TRect ABounds)
    {
        auto* c = new TCountingControl(Form);
        c->SetParent(Form);
        c->SetBoundsRect(ABounds);
        c->SetSkinDataName(AName);
        return c;
    }
};

TEST_F(SkinControlTest, NinePieceRecordIsComposedOffScreenAtTheControlsSize)
{
    AddNinePieceRecord("ninepiece");
    TCountingControl* c = NewControl("ninepiece", Bounds(10, 10, 70, 50));
    c->SetSkinData(Skin);
    Pump();
    ASSERT_TRUE(c->Skinned());
    EXPECT_EQ(c->ResizeMode, rmNinePiece);
    struct Probe {
        Integer x, y;
        TColor colour;
    } probes[] = {
        {0, 0, kTL},     {9, 9, kTL},      {60, 0, kTR},   {69, 9, kTR},   {0, 40, kBL},  {9, 49, kBL},
        {60, 40, kBR},   {69, 49, kBR},    {10, 0, kTop},  {59, 9, kTop},  {35, 45, kBottom},
        {5, 25, kLeft},  {65, 25, kRight}, {10, 10, kClient}, {59, 39, kClient}, {35, 25, kClient},
    };
    for (const auto& p : probes) EXPECT_EQ(ScreenColor(c, p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST_F(SkinControlTest, WithoutARecordTheControlDrawsItsPlainFace)
{
    AddNinePieceRecord("ninepiece");
    TCountingControl* c = NewControl("missing", Bounds(10, 10, 40, 30));
    c->SetSkinData(Skin);
    Pump();
    EXPECT_FALSE(c->Skinned());
    EXPECT_EQ(ScreenColor(c, 20, 15), static_cast<TColor>(ColorToRGB(clBtnFace)));

    // A new name takes effect at the next paint, without a repaint of its own.
    c->SetSkinDataName("ninepiece");
    EXPECT_FALSE(c->Skinned());
    c->Repaint();
    Pump();
    EXPECT_TRUE(c->Skinned());
    EXPECT_EQ(ScreenColor(c, 0, 0), kTL);
}

TEST_F(SkinControlTest, ZeroWidthPaintsNothingAndLooksNothingUp)
{
    AddNinePieceRecord("ninepiece");
    TCountingControl* c = NewControl("ninepiece", Bounds(10, 10, 0, 30));
    Pump();
    c->Lookups = 0;
    c->Repaint();
    Pump();
    EXPECT_EQ(c->Lookups, 0);
}

TEST_F(SkinControlTest, BlendingMixesTheImageWithTheParentsBackground)
{
    auto* r = AddRecord<TspDataSkinCustomControl>("white");
    r->PictureIndex = AddPicture(20, 20, clWhite);
    r->SkinRect = Rect(0, 0, 20, 20);
    TCountingControl* c = NewControl("white", Bounds(30, 30, 20, 20));
    c->SetSkinData(Skin);
    c->SetAlphaBlend(true);
    struct Case {
        Byte value;
        Byte channel;
    } cases[] = {{255, 255}, {0, 0}, {200, 200}};  // over black: only the control, only the background, 78 %
    for (const auto& k : cases) {
        c->SetAlphaBlendValue(k.value);
        Pump();
        const TColor grey = static_cast<TColor>(k.channel * 0x010101);
        EXPECT_EQ(ScreenColor(c, 10, 10), grey) << "value " << int(k.value);
    }
}

TEST_F(SkinControlTest, RepaintTransparentReachesTheChildrenOfABlendedControlOnly)
{
    auto* parent = new TspSkinControl(Form);
    parent->SetParent(Form);
    parent->SetBoundsRect(Bounds(10, 10, 200, 150));
    auto* windowed = new TListening<TCustomControl>(Form);
    windowed->SetParent(parent);
    windowed->SetBoundsRect(Bounds(5, 5, 20, 20));
    auto* windowless = new TListening<TGraphicControl>(Form);
    windowless->SetParent(parent);
    windowless->SetBoundsRect(Bounds(40, 5, 20, 20));
    // A blended skinned child passes it on to its own child.
    auto* inner = new TspSkinControl(Form);
    inner->SetParent(parent);
    inner->SetBoundsRect(Bounds(80, 5, 60, 60));
    inner->SetAlphaBlend(true);
    auto* grandchild = new TListening<TGraphicControl>(Form);
    grandchild->SetParent(inner);
    grandchild->SetBoundsRect(Bounds(5, 5, 10, 10));
    Pump();

    win::SendMessage(parent->Handle(), SKM_REPAINT_TRANSPARENT, 0, 0);
    EXPECT_EQ(windowed->Heard, 0);
    EXPECT_EQ(windowless->Heard, 0);
    EXPECT_EQ(grandchild->Heard, 0);

    parent->SetAlphaBlend(true);
    win::SendMessage(parent->Handle(), SKM_REPAINT_TRANSPARENT, 0, 0);
    EXPECT_EQ(windowed->Heard, 1);
    EXPECT_EQ(windowless->Heard, 1);
    EXPECT_EQ(grandchild->Heard, 1);

    inner->SetAlphaBlend(false);
    win::SendMessage(parent->Handle(), SKM_REPAINT_TRANSPARENT, 0, 0);
    EXPECT_EQ(windowed->Heard, 2);
    EXPECT_EQ(grandchild->Heard, 1);
}

TEST_F(SkinControlTest, SkinCursorFollowsTheRecordsCursorIndex)
{
    AddNinePieceRecord("ninepiece");
    Skin->StartCursorIndex = 7;
    TCountingControl* c = NewControl("ninepiece", Bounds(10, 10, 40, 40));
    c->SetSkinData(Skin);
    EXPECT_EQ(c->Cursor(), crDefault);  // without UseSkinCursor the cursor is left alone
    c->SetUseSkinCursor(true);
    c->ChangeSkinData();
    EXPECT_EQ(c->Cursor(), 9);
    static_cast<TspDataSkinCustomControl*>(Skin->CtrlList[0].get())->CursorIndex = -1;
    c->ChangeSkinData();
    EXPECT_EQ(c->Cursor(), crDefault);
}

TEST_F(SkinControlTest, SkinChangeFitsSizesAndDefaultsApplyWhileUnskinned)
{
    auto* fixed = AddRecord<TspDataSkinCustomControl>("fixed");
    fixed->PictureIndex = AddPicture(30, 12, clWhite);
    fixed->SkinRect = Rect(0, 0, 30, 12);
    auto* strip = AddRecord<TspDataSkinCustomControl>("strip");
    strip->PictureIndex = fixed->PictureIndex;
    strip->SkinRect = Rect(0, 0, 30, 12);
    strip->LTPoint = {5, 0};
    strip->RTPoint = {25, 0};

    TCountingControl* a = NewControl("fixed", Bounds(0, 0, 200, 50));
    TCountingControl* b = NewControl("strip", Bounds(0, 60, 200, 50));
    a->SetSkinData(Skin);
    b->SetSkinData(Skin);
    EXPECT_EQ(a->Width(), 30);
    EXPECT_EQ(a->Height(), 12);
    EXPECT_EQ(b->Width(), 200);
    EXPECT_EQ(b->Height(), 12);

    // Skinned: a default width only stores; unskinned: it applies at once and at the next skin change.
    a->SetDefaultWidth(120);
    EXPECT_EQ(a->Width(), 30);
    a->BeforeChangeSkinData();
    a->SetSkinDataName("none");
    a->SetDefaultHeight(33);
    EXPECT_EQ(a->Height(), 33);
    a->ChangeSkinData();
    EXPECT_EQ(a->Width(), 120);
    EXPECT_EQ(a->Height(), 33);
}

TEST_F(SkinControlTest, ARecordOfAnotherClassCountsAsSkinnedWithoutAPicture)
{
    AddRecord<TspDataSkinControl>("plainrecord");
    TCountingControl* c = NewControl("plainrecord", Bounds(10, 10, 40, 40));
    c->SetSkinData(Skin);
    EXPECT_TRUE(c->Skinned());
    EXPECT_EQ(c->Picture, nullptr);
    EXPECT_EQ(c->ResizeMode, rmFixed);
}

TEST_F(SkinControlTest, SkinDataWithoutASkinDoesNotChangeTheControl)
{
    auto* empty = new TspSkinData(App.get());
    TCountingControl* c = NewControl("x", Bounds(10, 10, 40, 40));
    c->SetDefaultWidth(0);
    c->Lookups = 0;
    c->SetSkinData(empty);
    EXPECT_EQ(c->Lookups, 0);
    // The link is forgotten when the component goes.
    delete empty;
    EXPECT_EQ(c->SkinData(), nullptr);
}

}  // namespace
