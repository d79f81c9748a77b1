// The layered border: its geometry and images, alpha, the drag table, and a form with the capability off.
#include "skin/forms/layered_border.h"

#include "skin_frame_fixture.h"

using namespace win;

namespace {

class LayeredBorderTest : public formstest::TSkinFrameFixture {
protected:
    // A 60 x 50 frame picture: the form's place (8, 10, 52, 42), the visible frame (4, 6, 56, 46); corner
    // points at 10/50 across and 12/40 down. Its mask is white (opaque) inside, grey (half) in the outer rows.
    TspSkinData* LayeredSkin(bool AFullBorder = false, TPoint ARBPoint = {50, 40})
    {
        TspSkinData* skin = MakeSkin();
        auto frame = std::make_unique<TBitmap>(60, 50, pf24bit);
        frame->Canvas()->Brush()->SetColor(clNavy);
        frame->Canvas()->FillRect(Rect(0, 0, 60, 50));
        auto mask = std::make_unique<TBitmap>(60, 50, pf24bit);
        mask->Canvas()->Brush()->SetColor(static_cast<TColor>(0x808080));
        mask->Canvas()->FillRect(Rect(0, 0, 60, 50));
        mask->Canvas()->Brush()->SetColor(clWhite);
        mask->Canvas()->FillRect(Rect(4, 6, 56, 46));
        skin->FActivePictures.push_back(std::move(frame));
        skin->FActivePicturesNames->Add("frame.bmp");
        skin->FActivePictures.push_back(std::move(mask));
        skin->FActivePicturesNames->Add("framemask.bmp");
        TspDataSkinLayerFrame& f = *skin->LayerFrame;
        f.PictureIndex = 1;
        f.MaskPictureIndex = 2;
        f.LTPoint = {10, 12};
        f.RTPoint = {50, 12};
        f.LBPoint = {10, 40};
        f.RBPoint = ARBPoint;
        f.ClRect = Rect(8, 10, 52, 42);
        f.BorderRect = Rect(4, 6, 56, 46);
        f.HitTestEnable = true;
        f.HitTestSize = 3;
        f.HitTestLTPoint = {12, 14};
        f.HitTestRTPoint = {48, 14};
        f.HitTestLBPoint = {12, 38};
        f.HitTestRBPoint = {48, 38};
        f.AlphaBlendValue = 200;
        f.InActiveAlphaBlendValue = 100;
        f.FullBorder = AFullBorder;
        f.CaptionRect = Rect(10, 2, 50, 10);
        f.RollUpFormHeight = 20;
        return skin;
    }
    TspFormLayerBorder* Border() { return Corvalis->LayerBorder(); }
};

TEST_F(LayeredBorderTest, GeometryAndImageSizesFollowTheFormSize)
{
    Display.SetCompositor(true);
    NewSkinnedForm();
    Corvalis->SetSkinData(LayeredSkin());
    Pump();
    ASSERT_TRUE(Corvalis->UseLayeredBorder());
    TspFormLayerBorder* b = Border();
    EXPECT_EQ(b->WindowBounds(100, 100, 200, 100), Bounds(92, 90, 216, 118));
    EXPECT_EQ((std::array<Integer, 4>{b->LeftSize, b->TopSize, b->RightSize, b->BottomSize}),
              (std::array<Integer, 4>{4, 4, 4, 4}));
    EXPECT_EQ((std::array<Integer, 4>{b->HitTopLeftX, b->HitTopLeftY, b->HitBottomRightX, b->HitBottomRightY}),
              (std::array<Integer, 4>{8, 8, 8, 8}));

    const struct {
        Integer W, H;
        TSize Top, Bottom, Left, Right;
    } cases[] = {
        {216, 118, {216, 12}, {216, 10}, {8, 96}, {8, 96}},
        {100, 23, {100, 12}, {100, 10}, {8, 1}, {8, 1}},
        {100, 15, {100, 12}, {100, 3}, {0, 0}, {0, 0}},  // shorter than top and bottom rows: no sides
    };
    auto size = [](TspBitmap* B) { return B && !B->Empty() ? TSize{B->Width(), B->Height()} : TSize{0, 0}; };
    for (const auto& c : cases) {
        b->CreateBorderImages(c.W, c.H);
        EXPECT_EQ(size(b->TopImage.get()), c.Top) << c.W << "x" << c.H;
        EXPECT_EQ(size(b->BottomImage.get()), c.Bottom) << c.W << "x" << c.H;
        EXPECT_EQ(size(b->LeftImage.get()), c.Left) << c.W << "x" << c.H;
        EXPECT_EQ(size(b->RightImage.get()), c.Right) << c.W << "x" << c.H;
    }
    // The border's windows sit around the form and follow it.
    ASSERT_TRUE(b->Visible());
    TspFormLayerWindow* top = b->Window(spflTop);
    TspFormLayerWindow* right = b->Window(spflRight);
    ASSERT_TRUE(top && right);
    EXPECT_EQ(TPoint(top->Left(), top->Top()), TPoint(92, 90));
    EXPECT_EQ(top->Width(), 216);
    EXPECT_EQ(right->Left(), 92 + 216 - 8);
    // Its pixels blend over the desktop: neither the desktop nor a painted window face shows there.
    const TColor desktop = ScreenColor(-60, 50);
    const TColor rim = ScreenColor(-2, 50);
    EXPECT_NE(rim, desktop);
    EXPECT_NE(rim, ColorToRGB(clWhite));
    const int desktopBlue = (desktop >> 16) & 0xFF, rimBlue = (rim >> 16) & 0xFF;
    EXPECT_NEAR(rimBlue, (0x80 * 200 + desktopBlue * 55) / 255, 1) << "navy at the border's alpha 200";
    const TColor shadow = ScreenColor(-6, 50);
    EXPECT_NE(shadow, desktop) << "the half-transparent part";
    EXPECT_NE(shadow, rim);
    Form->SetBounds(150, 120, 240, 100);
    Pump();
    EXPECT_EQ(TPoint(top->Left(), top->Top()), TPoint(142, 110));
    EXPECT_EQ(top->Width(), 256);
    Form->Hide();
    Pump();
    EXPECT_FALSE(b->Visible());
}

TEST_F(LayeredBorderTest, AOnePieceFrameIsOneUnscaledWindow)
{
    Display.SetCompositor(true);
    NewSkinnedForm();
    Corvalis->SetSkinData(LayeredSkin(false, {0, 0}));
    Pump();
    TspFormLayerBorder* b = Border();
    b->CreateBorderImages(400, 300);
    ASSERT_TRUE(b->TopImage);
    EXPECT_EQ(TSize(b->TopImage->Width(), b->TopImage->Height()), TSize(60, 50));
    EXPECT_EQ(b->BottomImage, nullptr);
    EXPECT_EQ(b->LeftImage, nullptr);
    EXPECT_NE(b->Window(spflTop), nullptr);
    EXPECT_EQ(b->Window(spflLeft), nullptr);
}

TEST_F(LayeredBorderTest, AlphaScalesWithTheFormsAlphaRoundedToNearest)
{
    Display.SetCompositor(true);
    NewSkinnedForm();
    Corvalis->SetSkinData(LayeredSkin());
    Pump();
    TspFormLayerBorder* b = Border();
    const struct {
        Integer FormAlpha, Active, Inactive;
    } cases[] = {{255, 200, 100}, {128, 100, 50}, {200, 157, 78}, {1, 1, 0}, {0, 0, 0}};
    // 200 * 128 / 255 = 100.39; 200 * 200 / 255 = 156.86; 100 * 200 / 255 = 78.43; 200 / 255 = 0.78.
    for (const auto& c : cases) {
        b->CheckFormAlpha(c.FormAlpha, true);
        EXPECT_EQ(b->CurrentAlphaBlendValue(), c.Active) << c.FormAlpha;
        EXPECT_EQ(b->CurrentInActiveAlphaBlendValue(), c.Inactive) << c.FormAlpha;
    }
}

TEST(LayerBorderDragTest, EdgesAndCornersSizeWithinTheLimits)
{
    const TRect form = Bounds(100, 100, 200, 150);  // limits: 120..300 wide, 100..200 high
    const struct {
        TspFormLayerBorderHit Hit;
        Integer DX, DY;
        bool Applied;
        TRect Result;
    } cases[] = {
        {spflhLeft, -10, 0, true, Bounds(90, 100, 210, 150)},
        {spflhLeft, 90, 0, false, {}},  // 110 wide is cut by the minimum: the right edge would move
        {spflhRight, 150, 0, true, Bounds(100, 100, 300, 150)},  // clamped instead
        {spflhRight, 0, 7, false, {}},
        {spflhTop, 0, -20, true, Bounds(100, 80, 200, 170)},
        {spflhTop, 0, 60, false, {}},
        {spflhBottom, 0, -80, true, Bounds(100, 100, 200, 100)},
        {spflhTopRight, 5, -5, true, Bounds(100, 95, 205, 155)},
        {spflhTopLeft, -5, -5, true, Bounds(95, 95, 205, 155)},
        {spflhTopLeft, 85, 0, false, {}},
        {spflhBottomLeft, 10, 10, true, Bounds(110, 100, 190, 160)},
        {spflhBottomRight, 200, 200, true, Bounds(100, 100, 300, 200)},
        {spflhBottomRight, 0, 0, false, {}},
        {spflCaption, 5, 5, false, {}},
    };
    for (const auto& c : cases) {
        TRect result;
        const bool applied = LayerBorderDragBounds(c.Hit, form, c.DX, c.DY, 120, 300, 100, 200, result);
        EXPECT_EQ(applied, c.Applied) << c.Hit << " by " << c.DX << "," << c.DY;
        if (applied && c.Applied) EXPECT_EQ(result, c.Result) << c.Hit << " by " << c.DX << "," << c.DY;
    }
    // A corner whose size the limits keep as it is does not move the form.
    TRect unchanged;
    const TRect atMax = Bounds(100, 100, 300, 200);
    EXPECT_FALSE(LayerBorderDragBounds(spflhBottomRight, atMax, 5, 5, 120, 300, 100, 200, unchanged));
}

TEST_F(LayeredBorderTest, WithoutACompositorTheFormIsAsWithoutABorder)
{
    NewSkinnedForm();
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    const TRect plainClient = Form->ClientRect();
    const LRESULT plainHit = HitTest(3, 50);
    Corvalis->SetSkinData(LayeredSkin(true));
    Pump();
    EXPECT_FALSE(Corvalis->UseLayeredBorder());
    EXPECT_FALSE(Corvalis->FullLayeredBorder());
    EXPECT_FALSE(Border()->Visible());
    EXPECT_EQ(Border()->Window(spflTop), nullptr);
    EXPECT_EQ(Form->ClientRect(), plainClient);
    EXPECT_EQ(HitTest(3, 50), plainHit);
    EXPECT_EQ(ScreenColor(1, 1), ColorToRGB(kFrameColor)) << "the skin's own frame";
}

TEST_F(LayeredBorderTest, AFullBorderTakesTheFrameAndKeepsTheOuterRectangle)
{
    Display.SetCompositor(true);
    NewSkinnedForm();
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    EXPECT_EQ(Form->BoundsRect(), Bounds(100, 100, 200, 100));
    TspSkinData* skin = LayeredSkin(true);
    Corvalis->SetSkinData(skin);
    Pump();
    ASSERT_TRUE(Corvalis->FullLayeredBorder());
    EXPECT_EQ(Form->ClientWidth(), Form->Width()) << "the border is the frame";
    EXPECT_EQ(HitTest(3, 50), HTCLIENT);
    // A skin change by message keeps the outer rectangle of form and full border.
    SendMessage(Form->Handle(), SKM_BEFORECHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    const TRect outer = Bounds(Form->Left() - 4, Form->Top() - 4, Form->Width() + 8, Form->Height() + 8);
    skin->LayerFrame->FullBorder = false;
    skin->LayerFrame->PictureIndex = -1;
    SendMessage(Form->Handle(), SKM_CHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    Pump();
    EXPECT_FALSE(Corvalis->UseLayeredBorder());
    EXPECT_EQ(Form->BoundsRect(), outer) << "without the border the form takes the outer rectangle";
}

TEST_F(LayeredBorderTest, DraggingTheRightBorderSizesTheForm)
{
    Display.SetCompositor(true);
    NewSkinnedForm();
    Corvalis->SetSkinData(LayeredSkin());
    Pump();
    TspFormLayerWindow* right = Border()->Window(spflRight);
    ASSERT_TRUE(right);
    // The right window's visible part: 4 pixels beyond the form's right edge, between the corner zones.
    const TPoint at{Form->Left() + Form->Width() + 2, Form->Top() + 50};
    EXPECT_EQ(WindowFromPoint(at), right->Handle());
    Display.MoveMouse(at);
    Pump();
    EXPECT_EQ(right->FHitMode, spflhRight);
    Display.PressButton(at);
    Pump();
    Display.MoveMouse({at.X + 30, at.Y});
    Pump();
    Display.ReleaseButton({at.X + 30, at.Y});
    Pump();
    EXPECT_EQ(Form->Width(), 230);
    EXPECT_EQ(Border()->Window(spflRight)->Left(), Form->Left() + 230 + 4 + 4 - 8);
}

}  // namespace
