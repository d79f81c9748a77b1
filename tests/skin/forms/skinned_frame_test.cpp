// A frame drawn from a skin built in memory: its size, its objects, and a skin change rebuilding them.
#include <memory>

#include "forms_fixture.h"
#include "platform/gui/image_list.h"
#include "skin/core/skin_data.h"

using namespace win;

namespace {

class SkinnedFrameTest : public formstest::TFormsFixture {
protected:
    // An 80 x 60 form picture with a client part (6, 22)-(74, 54) and a close button record with its own picture.
    TspSkinData* MakeSkin()
    {
        auto* skin = new TspSkinData(App.get());
        skin->FPicture = std::make_unique<TBitmap>(80, 60, pf24bit);
        skin->FPicture->Canvas()->Brush()->SetColor(clMaroon);
        skin->FPicture->Canvas()->FillRect(Rect(0, 0, 80, 60));
        skin->LTPoint = {10, 24};
        skin->RTPoint = {70, 24};
        skin->LBPoint = {10, 50};
        skin->RBPoint = {70, 50};
        skin->ClRect = Rect(6, 22, 74, 54);
        skin->CaptionRect = Rect(4, 2, 76, 20);
        skin->ButtonsOffset = 1;
        auto close = std::make_unique<TspDataSkinStdButton>("close");
        close->Command = cmClose;
        close->SkinRectInAPicture = true;  // drawn from its own picture, so it runs along the caption
        close->ActivePictureIndex = 0;
        close->SkinRect = Rect(0, 0, 14, 14);
        skin->FActivePictures.push_back(std::make_unique<TBitmap>(28, 14, pf24bit));
        skin->FActivePicturesNames->Add("buttons.bmp");
        skin->ObjectList.push_back(std::move(close));
        skin->Empty = false;
        return skin;
    }
};

TEST_F(SkinnedFrameTest, ClientAreaComesFromTheSkin)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    EXPECT_TRUE(Corvalis->Skinned());
    EXPECT_EQ(Form->ClientOrigin().X - Form->Left(), 6);
    EXPECT_EQ(Form->ClientOrigin().Y - Form->Top(), 22);
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 288, 172)) << "insets 6, 22, 6, 6";
    EXPECT_EQ(Corvalis->NewClRect, Rect(6, 22, 294, 194));
}

TEST_F(SkinnedFrameTest, ButtonsRunAlongTheCaptionFromTheRight)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    ASSERT_EQ(Corvalis->ObjectCount(), 1);
    // The caption (4, 2)-(76, 20) reaches 296 at this width; the 14 x 14 close button ends there.
    EXPECT_EQ(Button("close")->ObjectRect, Rect(282, 2, 296, 16));
    EXPECT_EQ(HitTest(150, 8), HTCAPTION);
    EXPECT_EQ(HitTest(290, 8), HTOBJECT);
    EXPECT_EQ(HitTest(150, 100), HTCLIENT);
}

TEST_F(SkinnedFrameTest, QuickButtonsTakeTheirStripFromTheCaption)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    EXPECT_EQ(HitTest(30, 8), HTCAPTION);
    auto* images = new TCustomImageList(App.get(), 16, 16);
    Corvalis->QuickButtons()->Add();
    Corvalis->QuickButtons()->Add()->SetVisible(false);  // hidden ones count too
    EXPECT_EQ(HitTest(30, 8), HTCAPTION) << "without an image list the caption keeps its width";
    Corvalis->SetQuickImageList(images);
    // The caption starts at 4; two buttons of 16 + 8 take 48.
    EXPECT_EQ(HitTest(51, 8), HTOBJECT);
    EXPECT_EQ(HitTest(52, 8), HTCAPTION);
}

TEST_F(SkinnedFrameTest, SkinChangeRebuildsTheObjects)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    TspSkinData* skin = MakeSkin();
    Corvalis->SetSkinData(skin);
    Pump();
    TspActiveSkinObject* before = Corvalis->Objects(0);
    SendMessage(Form->Handle(), SKM_BEFORECHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    EXPECT_EQ(Corvalis->ObjectCount(), 0);
    EXPECT_FALSE(Corvalis->Skinned());
    SendMessage(Form->Handle(), SKM_CHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    ASSERT_EQ(Corvalis->ObjectCount(), 1);
    EXPECT_TRUE(Corvalis->Skinned());
    EXPECT_NE(Button("close"), nullptr);
    (void)before;

    // Cleared, the skin leaves the default frame.
    skin->ClearSkin();
    Pump();
    EXPECT_FALSE(Corvalis->Skinned());
    EXPECT_EQ(Form->ClientOrigin().Y - Form->Top(), 22);
}

}  // namespace
