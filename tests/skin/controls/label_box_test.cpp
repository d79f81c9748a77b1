// The label box: text overflow and auto size, skinned and not, the fixed-size skin that switches auto size off,
// the caption rectangle with and without the skin's size, and which text effect wins.
#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "skin/controls/label_box.h"
#include "tests/skin/controls/control_shot.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

class LabelBoxTest : public controlstest::TControlsFixture {
protected:
    TspSkinLabel* NewBox(const std::string& ACaption)
    {
        auto* box = new TspSkinLabel(Form);
        box->SetParent(Form);
        box->SetBounds(10, 10, 75, 21);
        box->DefaultFont()->SetName("DejaVu Sans");
        box->SetCaption(ACaption);
        Pump();
        return box;
    }
    Integer WidthOf(const std::string& AText, TFont* AFont)
    {
        TBitmap scratch(1, 1);
        scratch.Canvas()->Font()->Assign(AFont);
        return scratch.Canvas()->TextWidth(AText);
    }
    // A nine-piece "label" picture 40 x 22 with a 4-pixel border.
    TspDataSkinLabelControl* NinePieceRecord()
    {
        auto* r = AddRecord<TspDataSkinLabelControl>("label");
        r->PictureIndex = AddPicture(40, 22, static_cast<TColor>(0x808080));
        r->SkinRect = Rect(0, 0, 40, 22);
        r->LTPoint = {4, 4};
        r->RTPoint = {36, 4};
        r->LBPoint = {4, 18};
        r->RBPoint = {36, 18};
        r->ClRect = Rect(4, 4, 36, 18);
        r->FontName = "DejaVu Sans";
        r->FontHeight = 14;
        return r;
    }
    std::vector<TColor> Shot(TControl* AControl) { return controlstest::ControlShot(Display, AControl); }
};

TEST_F(LabelBoxTest, UnskinnedBoxFollowsItsCaption)
{
    auto* box = NewBox("File information and details");
    const Integer text = WidthOf(box->Caption(), box->DefaultFont());
    EXPECT_EQ(box->GetTextOverflow(), text - 75 + 4);
    box->SetAutoSize(true);
    EXPECT_EQ(box->Width(), text + 4);
    EXPECT_EQ(box->GetTextOverflow(), 0);

    box->SetCaption("Size");  // a shorter caption shrinks the box
    Pump();
    EXPECT_EQ(box->Width(), WidthOf("Size", box->DefaultFont()) + 4);

    // Aligned to the top, the parent decides the width.
    box->SetAlign(alTop);
    const Integer aligned = box->Width();
    box->SetCaption("A caption much longer than the form is wide, surely longer than that");
    Pump();
    EXPECT_EQ(box->Width(), aligned);
}

TEST_F(LabelBoxTest, SkinnedBoxGrowsItsClientRectToTheText)
{
    NinePieceRecord();
    auto* box = NewBox("Duration of the trimmed part");
    box->SetSkinData(Skin);
    Pump();
    ASSERT_TRUE(box->Skinned());
    TFont font;
    font.SetName("DejaVu Sans");
    font.SetHeight(14);
    const Integer text = WidthOf(box->Caption(), &font);
    EXPECT_EQ(box->GetTextOverflow(), text - (75 - 8));
    box->SetAutoSize(true);
    EXPECT_EQ(box->NewClRectWidth(), text);
    EXPECT_EQ(box->Width(), text + 8);
}

TEST_F(LabelBoxTest, AFixedSizeSkinSwitchesAutoSizeOff)
{
    auto* r = AddRecord<TspDataSkinLabelControl>("label");
    r->PictureIndex = AddPicture(60, 20, static_cast<TColor>(0x808080));
    r->SkinRect = Rect(0, 0, 60, 20);
    r->ClRect = Rect(2, 2, 58, 18);
    auto* box = NewBox("A long caption that would need room");
    box->SetAutoSize(true);
    box->SetSkinData(Skin);
    Pump();
    EXPECT_FALSE(box->AutoSize());
    EXPECT_EQ(box->GetTextOverflow(), 0);
    EXPECT_EQ(box->Width(), 60);
    EXPECT_EQ(box->Height(), 20);
}

TEST_F(LabelBoxTest, WithoutTheSkinSizeTheCaptionRectStretches)
{
    auto* r = AddRecord<TspDataSkinLabelControl>("label");
    r->PictureIndex = AddPicture(60, 20, static_cast<TColor>(0x808080));
    r->SkinRect = Rect(0, 0, 60, 20);
    r->ClRect = Rect(3, 2, 57, 18);
    auto* box = NewBox("Bitrate");
    box->SetUseSkinSize(false);
    box->SetSkinData(Skin);
    box->SetBounds(10, 10, 100, 30);
    Pump();
    EXPECT_EQ(box->Width(), 100);
    EXPECT_EQ(box->Height(), 30);
    EXPECT_EQ(box->SkinnedTextRect(), Rect(3, 2, 97, 28));
}

TEST_F(LabelBoxTest, TheShadowWinsOverTheReflection)
{
    auto* box = NewBox("Effects");
    box->SetBounds(10, 10, 120, 40);
    box->SetShadowEffect(true);
    box->SetShadowColor(static_cast<TColor>(0x0000FF));
    Pump();
    const auto shadow = Shot(box);
    box->SetReflectionEffect(true);
    Pump();
    EXPECT_EQ(Shot(box), shadow);
    box->SetShadowEffect(false);
    Pump();
    const auto reflection = Shot(box);
    EXPECT_NE(reflection, shadow);
    box->SetReflectionEffect(false);
    Pump();
    EXPECT_NE(Shot(box), reflection);
}

}  // namespace
