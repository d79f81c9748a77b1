// A frameless skinned form: the window is the skin picture cut by its mask, sized at its edges and dragged by
// its body.
#include "skin_frame_fixture.h"

using namespace win;

namespace {

class FramelessFormTest : public formstest::TSkinFrameFixture {
protected:
    void SetUp() override
    {
        TSkinFrameFixture::SetUp();
        Form = NewForm(Bounds(100, 100, 200, 100));
        Form->SetBorderStyle(bsNone);
        Corvalis = new TspCorvalis(Form);
        Corvalis->SetSupportNCArea(false);
        Corvalis->SetDraggAble(true);
        Form->Show();
        Pump();
        Corvalis->SetSkinData(MakeSkin(true));
        Pump();
        Display.MoveMouse({700, 700});
        Pump();
    }
};

TEST_F(FramelessFormTest, TheWindowIsTheMaskedPictureAndItsEdgesSize)
{
    EXPECT_EQ(Form->Width(), 200) << "a sizeable skin keeps a larger form";
    EXPECT_FALSE(InRegion(1, 1)) << "corner cut by the mask";
    EXPECT_FALSE(InRegion(198, 98));
    EXPECT_TRUE(InRegion(100, 50));
    EXPECT_EQ(ScreenColor(100, 50), ColorToRGB(kFrameColor)) << "the body is the skin picture";
    const struct {
        Integer X, Y;
        LRESULT Hit;
    } cases[] = {{100, 50, HTCLIENT}, {2, 50, HTLEFT},          {197, 50, HTRIGHT}, {100, 1, HTTOP},
                 {100, 98, HTBOTTOM}, {7, 7, HTCLIENT},         {7, 1, HTTOPLEFT},  {195, 95, HTBOTTOMRIGHT},
                 {192, 4, HTTOPRIGHT}, {4, 94, HTBOTTOMLEFT}};
    for (const auto& c : cases) EXPECT_EQ(HitTest(c.X, c.Y), c.Hit) << c.X << "," << c.Y;
    Corvalis->SetSizeable(false);
    EXPECT_EQ(HitTest(2, 50), HTCLIENT) << "a fixed form has no sizing zones";
}

TEST_F(FramelessFormTest, DraggingTheBodyMovesTheForm)
{
    Display.MoveMouse(At(100, 50));
    Pump();
    Display.PressButton(At(100, 50));
    Pump();
    Display.MoveMouse(At(130, 70));
    Pump();
    EXPECT_EQ(Form->Left(), 130);
    EXPECT_EQ(Form->Top(), 120);
    Display.ReleaseButton(At(100, 50));
    Pump();
    Display.MoveMouse(At(60, 40));
    Pump();
    EXPECT_EQ(Form->Left(), 130) << "the release ended the drag";
}

}  // namespace
