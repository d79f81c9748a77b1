// The frame without a skin: its size, its hit test, its layout and its colours.
#include "forms_fixture.h"

using namespace win;

namespace {

class DefaultFrameTest : public formstest::TFormsFixture {};

TEST_F(DefaultFrameTest, ClientAreaLiesInsideTheFrame)
{
    NewSkinnedForm();
    const TPoint origin = Form->ClientOrigin();
    EXPECT_EQ(origin.X - Form->Left(), 3);
    EXPECT_EQ(origin.Y - Form->Top(), 22);
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 194, 75)) << "client (3, 22)-(197, 97)";

    Form->SetBorderStyle(bsToolWindow);
    Pump();
    EXPECT_EQ(Form->ClientOrigin().Y - Form->Top(), 18) << "a tool window's caption is 15 high";
}

TEST_F(DefaultFrameTest, HitTestTable)
{
    NewSkinnedForm();
    Corvalis->SetBorderIcons({});
    Pump();
    struct TCase {
        Integer X, Y;
        LRESULT Hit;
    };
    const TCase sizeable[] = {
        {0, 0, HTTOPLEFT},     {199, 0, HTTOPRIGHT},     {0, 99, HTBOTTOMLEFT}, {198, 98, HTBOTTOMRIGHT},
        {1, 50, HTLEFT},       {100, 2, HTTOP},          {198, 50, HTRIGHT},    {100, 98, HTBOTTOM},
        {60, 10, HTCAPTION},   {60, 21, HTCAPTION},      {100, 60, HTCLIENT},   {3, 10, HTCAPTION},
        {188, 12, HTOBJECT},  // last: the button it finds stays the active object until the mouse timer looks
    };
    for (const TCase& c : sizeable) EXPECT_EQ(HitTest(c.X, c.Y), c.Hit) << "at " << c.X << "," << c.Y;

    Corvalis->TrackActiveObject(-1, -1, true);
    Corvalis->SetSizeable(false);
    const TCase fixed[] = {{0, 0, HTOBJECT}, {1, 50, HTOBJECT}, {60, 21, HTCAPTION}, {100, 60, HTCLIENT}};
    for (const TCase& c : fixed) EXPECT_EQ(HitTest(c.X, c.Y), c.Hit) << "at " << c.X << "," << c.Y;
}

TEST_F(DefaultFrameTest, OnlyTheCloseButtonWithoutBorderIcons)
{
    NewSkinnedForm();
    Corvalis->SetBorderIcons({});
    Pump();
    ASSERT_EQ(Corvalis->ObjectCount(), 6);
    for (const char* name : {"maxbutton", "minbutton", "rollupbutton", "sysmenubutton", "traybutton"}) {
        EXPECT_FALSE(Button(name)->Enabled) << name;
        EXPECT_FALSE(Button(name)->Visible) << name;
    }
    EXPECT_TRUE(Button("closebutton")->Enabled);
    EXPECT_EQ(Button("closebutton")->ObjectRect, Rect(180, 4, 197, 21));
    TRect caption;
    Corvalis->GetDefCaptionRect(caption);
    EXPECT_EQ(caption, Rect(3, 3, 180, 22));
}

TEST_F(DefaultFrameTest, ButtonsLineUpFromTheRight)
{
    NewSkinnedForm();
    Corvalis->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize});
    Pump();
    EXPECT_EQ(Button("closebutton")->ObjectRect, Rect(180, 4, 197, 21));
    EXPECT_EQ(Button("maxbutton")->ObjectRect, Rect(163, 4, 180, 21));
    EXPECT_EQ(Button("minbutton")->ObjectRect, Rect(146, 4, 163, 21));
    EXPECT_EQ(Button("sysmenubutton")->ObjectRect, Rect(3, 4, 20, 21));
    TRect caption;
    Corvalis->GetDefCaptionRect(caption);
    EXPECT_EQ(caption, Rect(20, 3, 146, 22));
}

TEST_F(DefaultFrameTest, FrameColours)
{
    NewSkinnedForm();
    Corvalis->SetBorderIcons({});
    Pump();
    EXPECT_EQ(ScreenColor(0, 50), ColorToRGB(cl3DLight));
    EXPECT_EQ(ScreenColor(1, 50), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(ScreenColor(2, 50), ColorToRGB(clBtnFace));
    EXPECT_EQ(ScreenColor(199, 50), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(ScreenColor(198, 50), ColorToRGB(clBtnShadow));
    // Caption stripes: bitmap row 2 is the first highlight line, row 3 a shadow line.
    EXPECT_EQ(ScreenColor(10, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(ScreenColor(10, 6), ColorToRGB(clBtnShadow));
}

TEST_F(DefaultFrameTest, SizeLimits)
{
    NewSkinnedForm();
    EXPECT_EQ(Corvalis->GetMinWidth(), 130);
    EXPECT_EQ(Corvalis->GetMinHeight(), 25);
    Corvalis->SetMinWidth(150);
    Corvalis->SetMinHeight(60);
    EXPECT_EQ(Corvalis->GetMinWidth(), 150);
    EXPECT_EQ(Corvalis->GetMinHeight(), 60);
    EXPECT_EQ(Corvalis->GetMaxWidth(), 1024);
    MINMAXINFO info;
    SendMessage(Form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize, (TPoint{150, 60}));
    Form->SetBounds(100, 100, 50, 20);
    EXPECT_EQ(Form->Width(), 150);
    EXPECT_EQ(Form->Height(), 60);
}

}  // namespace
