// The caption object: its text rectangle, the text's alignment and ellipsis, and the activation animation of its
// background on the virtual clock.
#include <utility>

#include "platform/gui/image_list.h"
#include "skin_frame_fixture.h"

using namespace win;

namespace {

class CaptionObjectTest : public formstest::TSkinFrameFixture {
protected:
    void SetUp() override
    {
        TSkinFrameFixture::SetUp();
        NewSkinnedForm(Bounds(100, 100, 300, 200));
    }

    void Apply(TspSkinData* ASkin)
    {
        Corvalis->SetSkinData(ASkin);
        Pump();
        ASSERT_NE(Caption(), nullptr);
    }

    // The first and last columns where the caption drew anything on a black 300 x 30 bitmap.
    std::pair<Integer, Integer> TextColumns()
    {
        TBitmap target(300, 30, pf24bit);
        target.Canvas()->Brush()->SetColor(clBlack);
        target.Canvas()->FillRect(Rect(0, 0, 300, 30));
        Caption()->Draw(target.Canvas(), false);
        Integer first = -1, last = -1;
        for (Integer x = 0; x < 300; ++x)
            for (Integer y = 0; y < 30; ++y)
                if (ColorToRGB(target.Canvas()->Pixels(x, y)) != 0) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
        return {first, last};
    }

    // A skin whose caption animates its background through three frames: red, green and blue.
    TspSkinData* AnimatedSkin(bool AInActiveAnimation)
    {
        TspSkinData* skin = MakeSkin();
        auto strip = std::make_unique<TBitmap>(168, 18, pf24bit);
        const TColor colors[] = {clRed, clLime, clBlue};
        for (Integer i = 0; i < 3; ++i) {
            strip->Canvas()->Brush()->SetColor(colors[i]);
            strip->Canvas()->FillRect(Rect(i * 56, 0, i * 56 + 56, 18));
        }
        skin->FActivePictures.push_back(std::move(strip));
        skin->FActivePicturesNames->Add("caption.bmp");
        auto* caption = static_cast<TspDataSkinCaption*>(skin->ObjectList.back().get());
        caption->ActivePictureIndex = 1;
        caption->AnimateSkinRect = Rect(0, 0, 168, 18);
        caption->FrameCount = 3;
        caption->AnimateInterval = 50;
        caption->InActiveAnimation = AInActiveAnimation;
        return skin;
    }
};

TEST_F(CaptionObjectTest, TextRectangleFollowsTheWidthQuickButtonsAndFrame)
{
    Apply(MakeSkin());
    // The object is 278 wide here; the text keeps the skin's 6 pixels from its right edge.
    EXPECT_EQ(Caption()->TextRect(), Rect(4, 0, 272, 18));
    auto* images = new TCustomImageList(App.get(), 16, 16);
    Corvalis->QuickButtons()->Add();
    Corvalis->QuickButtons()->Add()->SetVisible(false);  // hidden ones take their place in the text too
    Corvalis->SetQuickImageList(images);
    EXPECT_EQ(Caption()->TextRect(), Rect(4 + 2 * 24 + 5, 0, 272, 18));
    Caption()->DividerRect = Rect(0, 0, 3, 14);
    EXPECT_EQ(Caption()->TextRect(), Rect(4 + 3 + 2 * 24 + 6, 0, 272, 18));
    Corvalis->SetQuickImageList(nullptr);
    Caption()->FrameRect = Rect(0, 0, 40, 18);
    Caption()->FrameTextRect = Rect(5, 2, 30, 16);
    EXPECT_EQ(Caption()->TextRect(), Rect(4 + 5, 2, 272 - 10, 18));
}

TEST_F(CaptionObjectTest, TextIsAlignedAndShortenedWithAnEllipsis)
{
    Apply(MakeSkin());
    const TRect t = Caption()->TextRect();
    const Integer left = Caption()->ObjectRect.Left + t.Left, right = Caption()->ObjectRect.Left + t.Right;
    Caption()->Alignment = taLeftJustify;
    auto columns = TextColumns();
    EXPECT_NEAR(columns.first, left, 2);
    Caption()->Alignment = taRightJustify;
    columns = TextColumns();
    EXPECT_NEAR(columns.second, right, 3);
    Caption()->Alignment = taCenter;
    columns = TextColumns();
    EXPECT_NEAR((columns.first + columns.second) / 2, (left + right) / 2, 3);

    // Too long for its place: cut with "..." and still aligned as set.
    Form->SetCaption(std::string(80, 'W'));
    Caption()->Alignment = taLeftJustify;
    columns = TextColumns();
    EXPECT_NEAR(columns.first, left, 2);
    EXPECT_LE(columns.second, right);
    EXPECT_GT(columns.second, right - 30) << "the shortened text fills the place";

    // An empty caption draws nothing.
    Form->SetCaption("");
    EXPECT_EQ(TextColumns().first, -1);
}

TEST_F(CaptionObjectTest, ActivationAnimatesTheBackgroundOnTheClock)
{
    Apply(AnimatedSkin(false));
    ASSERT_TRUE(Corvalis->GetFormActive());
    ASSERT_TRUE(Caption()->EnableAnimation());
    Corvalis->UpdateCaptionActivity(true);
    EXPECT_EQ(Caption()->CurrentFrame, 1);
    EXPECT_TRUE(Corvalis->AnimateTimer->Enabled());
    // One frame per 50 ms: two 25 ms ticks each; the background comes from the strip meanwhile.
    std::vector<Integer> frames;
    std::vector<TColor> colors;
    for (int tick = 0; tick < 7; ++tick) {
        frames.push_back(Caption()->CurrentFrame);
        colors.push_back(ScreenColor(270, 18));
        AdvanceMs(25);
    }
    EXPECT_EQ(frames, (std::vector<Integer>{1, 1, 2, 2, 3, 3, 4}));
    EXPECT_EQ(colors[2], clLime);
    EXPECT_EQ(colors[4], clBlue);
    EXPECT_FALSE(Corvalis->AnimateTimer->Enabled()) << "stops after the last frame";
    EXPECT_EQ(ScreenColor(270, 18), kFrameColor) << "the frame's own background again";
}

TEST_F(CaptionObjectTest, DeactivationRunsBackwardsOnlyWhenTheSkinAsks)
{
    for (const bool backwards : {false, true}) {
        SCOPED_TRACE(backwards);
        Apply(AnimatedSkin(backwards));
        Form->SetFocus();
        Run(300);
        ASSERT_TRUE(Corvalis->GetFormActive());
        TForm* other = NewForm(Bounds(600, 400, 200, 100));
        other->Show();
        Pump();
        ASSERT_FALSE(Corvalis->GetFormActive());
        std::vector<Integer> frames;
        for (int tick = 0; tick < 7; ++tick) {
            frames.push_back(Caption()->CurrentFrame);
            AdvanceMs(25);
        }
        if (backwards)
            EXPECT_EQ(frames, (std::vector<Integer>{3, 3, 2, 2, 1, 1, 0}));
        else
            EXPECT_EQ(frames, (std::vector<Integer>(7, 0)));
        delete other;
        Pump();
    }
}

TEST_F(CaptionObjectTest, CaptionSetTextReachesOnlyCaptions)
{
    Apply(MakeSkin());
    Corvalis->CaptionSetText("caption", "Preview");
    EXPECT_EQ(Caption()->TextValue(), "Preview");
    Corvalis->CaptionSetText("close", "x");      // a button: nothing
    Corvalis->CaptionSetText("nothing", "x");    // no such object
    EXPECT_EQ(Caption()->TextValue(), "Preview");
}

}  // namespace
