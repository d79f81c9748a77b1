// The frame from a skin at the form's size: the window region cut from the mask, hit tests along the mask's
// edge, object places after a resize, a skin change rebuilding the objects, and damaged skin values.
#include "skin_frame_fixture.h"

using namespace win;

namespace {

class SkinFrameRegionTest : public formstest::TSkinFrameFixture {};

TEST_F(SkinFrameRegionTest, RegionFollowsTheMaskAtTwoSizes)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin(true));
    Pump();
    struct TCase {
        Integer W, H;
    };
    for (const TCase size : {TCase{300, 200}, TCase{420, 260}}) {
        Form->SetBounds(100, 100, size.W, size.H);
        Pump();
        SCOPED_TRACE(size.W);
        // The cut corners stay corners at every size; the edges between them and the middle belong to the form.
        for (const TPoint p : {TPoint{0, 0}, TPoint{5, 5}, TPoint{size.W - 1, 0}, TPoint{size.W - 6, 5},
                               TPoint{0, size.H - 1}, TPoint{size.W - 1, size.H - 1}})
            EXPECT_FALSE(InRegion(p.X, p.Y)) << p.X << "," << p.Y;
        for (const TPoint p : {TPoint{6, 0}, TPoint{0, 6}, TPoint{size.W / 2, 0}, TPoint{size.W - 7, 0},
                               TPoint{size.W / 2, size.H / 2}, TPoint{size.W - 1, size.H - 7},
                               TPoint{size.W / 2, size.H - 1}})
            EXPECT_TRUE(InRegion(p.X, p.Y)) << p.X << "," << p.Y;
    }
    // The screen shows the desktop through a cut corner.
    EXPECT_EQ(ScreenColor(419, 0), static_cast<TColor>(0xA56E3A));
    EXPECT_EQ(ScreenColor(200, 0), kFrameColor);
}

TEST_F(SkinFrameRegionTest, WithoutMaskTheRegionIsTheFormAndWithoutSkinThereIsNone)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    TspSkinData* skin = MakeSkin(false);
    Corvalis->SetSkinData(skin);
    Pump();
    EXPECT_TRUE(InRegion(0, 0));
    EXPECT_TRUE(InRegion(299, 199));
    EXPECT_FALSE(InRegion(300, 100));
    Corvalis->SetSkinData(nullptr);
    Pump();
    EXPECT_TRUE(InRegion(0, 0));
}

TEST_F(SkinFrameRegionTest, HitTestsFollowTheMaskEdge)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin(false));
    Pump();
    // Without a mask only the window's edge counts: (6, 3) lies in the caption.
    EXPECT_EQ(HitTest(6, 3), HTCAPTION);
    EXPECT_EQ(HitTest(1, 100), HTLEFT);

    Corvalis->SetSkinData(MakeSkin(true));
    Pump();
    struct TCase {
        Integer X, Y;
        LRESULT Expected;
    };
    // A point whose neighbour three pixels away lies in a cut corner is on the frame's edge.
    const TCase cases[] = {
        {6, 3, HTTOPLEFT},     {8, 8, HTCAPTION},       {150, 1, HTTOP},        {150, 8, HTCAPTION},
        {293, 3, HTTOPRIGHT},  {1, 100, HTLEFT},        {298, 100, HTRIGHT},    {150, 198, HTBOTTOM},
        {6, 196, HTBOTTOMLEFT}, {294, 196, HTBOTTOMRIGHT}, {150, 100, HTCLIENT},
    };
    for (const TCase& c : cases) EXPECT_EQ(HitTest(c.X, c.Y), c.Expected) << c.X << "," << c.Y;
}

TEST_F(SkinFrameRegionTest, ObjectsMoveWithTheSize)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    ASSERT_NE(Caption(), nullptr);
    EXPECT_EQ(Button("close")->ObjectRect, Rect(282, 2, 296, 16));
    // The caption reaches to the button's left edge less the gap.
    EXPECT_EQ(Caption()->ObjectRect, Rect(4, 2, 282, 20));
    Form->SetBounds(100, 100, 400, 260);
    Pump();
    EXPECT_EQ(Button("close")->ObjectRect, Rect(382, 2, 396, 16));
    EXPECT_EQ(Caption()->ObjectRect, Rect(4, 2, 382, 20));
    EXPECT_EQ(Corvalis->NewClRect, Rect(6, 22, 394, 254));
    EXPECT_EQ(HitTest(390, 8), HTOBJECT);
    EXPECT_EQ(HitTest(300, 8), HTCAPTION);
}

TEST_F(SkinFrameRegionTest, SkinChangeMessagesRebuildObjectsAndRegion)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    TspSkinData* skin = MakeSkin(true);
    Corvalis->SetSkinData(skin);
    Pump();
    ASSERT_EQ(Corvalis->ObjectCount(), 2);
    SendMessage(Form->Handle(), SKM_BEFORECHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    EXPECT_EQ(Corvalis->ObjectCount(), 0);
    SendMessage(Form->Handle(), SKM_CHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    SendMessage(Form->Handle(), SKM_AFTERCHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    Pump();
    ASSERT_EQ(Corvalis->ObjectCount(), 2);
    ASSERT_NE(Caption(), nullptr);
    EXPECT_TRUE(Caption()->DefaultCaption) << "the only caption shows the form's caption";
    EXPECT_EQ(Caption()->TextValue(), "Trim");
    EXPECT_EQ(Caption()->ObjectRect, Rect(4, 2, 282, 20));
    EXPECT_FALSE(InRegion(0, 0));
    EXPECT_TRUE(InRegion(150, 0));
}

TEST_F(SkinFrameRegionTest, DamagedSkinValuesPaintNothingInsteadOfFailing)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    TspSkinData* skin = MakeSkin(true);
    auto* caption = static_cast<TspDataSkinCaption*>(skin->ObjectList.back().get());
    caption->AnimateSkinRect = Rect(0, 0, 28, 14);  // a strip of no frames
    caption->FrameCount = 0;
    caption->ActivePictureIndex = 0;
    caption->FrameRect = Rect(0, 0, 0, 0);
    caption->DividerRect = Rect(40, 40, 90, 90);  // outside its picture
    skin->BGPictureIndex = 1;                     // a picture of no size
    skin->FActivePictures.push_back(std::make_unique<TBitmap>());
    skin->FActivePicturesNames->Add("empty.bmp");
    skin->MDIBGPictureIndex = 7;  // beyond the list
    skin->AnimationForAllWindows = false;
    Corvalis->SetSkinData(skin);
    Pump();
    ASSERT_NE(Caption(), nullptr);
    EXPECT_FALSE(Caption()->EnableAnimation());
    SendMessage(Form->Handle(), WM_NCACTIVATE, 1, 0);
    SendMessage(Form->Handle(), WM_NCACTIVATE, 0, 0);
    Form->Invalidate();
    Run(200);
    EXPECT_FALSE(Corvalis->AnimateTimer->Enabled());
    HDC dc = GetDC(Form->Handle());
    Corvalis->PaintBG2(dc);
    Corvalis->PaintBG3(dc);
    Corvalis->PaintClientBackground(dc);
    ReleaseDC(Form->Handle(), dc);
    EXPECT_EQ(ScreenColor(150, 0), kFrameColor);

    // An empty client rectangle leaves the skin without a frame: the default one is drawn.
    TspSkinData* flat = MakeSkin();
    flat->ClRect = TRect{};
    Corvalis->SetSkinData(flat);
    Pump();
    EXPECT_EQ(Form->ClientOrigin().Y - Form->Top(), 22);
}

}  // namespace
