// Caption buttons under the mouse: pressing, releasing, hovering, and objects that go while they work.
#include "forms_fixture.h"

using namespace win;

namespace {

class CaptionButtonsTest : public formstest::TFormsFixture {
protected:
    void SetUp() override
    {
        TFormsFixture::SetUp();
        NewSkinnedForm();
        Corvalis->SetBorderIcons({});
        Display.MoveMouse({700, 700});
        Pump();
    }
    const TPoint CloseAt{188, 12};
};

TEST_F(CaptionButtonsTest, PressAndReleaseOnCloseClosesTheForm)
{
    int closes = 0;
    Form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    Display.MoveMouse(At(CloseAt.X, CloseAt.Y));
    Pump();
    Display.PressButton(At(CloseAt.X, CloseAt.Y));
    Pump();
    EXPECT_TRUE(Button("closebutton")->Down());
    Display.ReleaseButton(At(CloseAt.X, CloseAt.Y));
    Pump();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(Button("closebutton")->Down());
}

TEST_F(CaptionButtonsTest, ReleaseAwayFromTheButtonRunsNothing)
{
    int closes = 0;
    Form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    for (int wait : {60, 0}) {
        Display.MoveMouse(At(CloseAt.X, CloseAt.Y));
        Pump();
        Display.PressButton(At(CloseAt.X, CloseAt.Y));
        Pump();
        Display.MoveMouse(At(100, 60));
        Pump();
        Run(wait);
        Display.ReleaseButton(At(100, 60));
        Pump();
        EXPECT_EQ(closes, 0) << "waited " << wait << " ms";
        EXPECT_TRUE(Form->Visible());
        EXPECT_FALSE(Button("closebutton")->Down());
    }
}

TEST_F(CaptionButtonsTest, HoverShowsTheHotLookAndTheHint)
{
    auto* skin = new TspSkinData(App.get());  // empty: still the default frame, but the texts are there
    auto* hint = new formstest::TRecordingHint(App.get());
    Corvalis->SetSkinData(skin);
    Corvalis->SetSkinHint(hint);
    Corvalis->SetShowObjectHint(true);
    Pump();
    EXPECT_EQ(ScreenColor(181, 5), ColorToRGB(clBtnFace));

    // A skin change leaves the mouse timer running: it finds the button at its next tick.
    Display.MoveMouse(At(CloseAt.X, CloseAt.Y));
    Run(60);
    EXPECT_TRUE(Button("closebutton")->Active);
    EXPECT_EQ(ScreenColor(180, 4), 0x800000) << "navy frame";
    EXPECT_EQ(ScreenColor(181, 5), 0xD2BDB6) << "hot fill";
    EXPECT_EQ(hint->Shown, (std::vector<std::string>{"Close"}));

    Display.MoveMouse(At(100, 60));
    Run(60);
    EXPECT_FALSE(Button("closebutton")->Active) << "the mouse timer saw the pointer go";
    EXPECT_EQ(hint->Hidden, 1);
    EXPECT_EQ(ScreenColor(181, 5), ColorToRGB(clBtnFace));
}

TEST_F(CaptionButtonsTest, PressedUnderTheMouseTheGlyphMovesOnePixel)
{
    Display.MoveMouse(At(CloseAt.X, CloseAt.Y));
    Pump();
    auto glyphColumn = [&](TColor AFace) {
        for (Integer x = 181; x < 196; ++x)
            for (Integer y = 5; y < 20; ++y)
                if (ScreenColor(x, y) != AFace) return x;
        return -1;
    };
    const Integer hot = glyphColumn(0xD2BDB6);
    Display.PressButton(At(CloseAt.X, CloseAt.Y));
    Pump();
    EXPECT_EQ(ScreenColor(181, 5), 0xB59385) << "pressed fill";
    EXPECT_EQ(glyphColumn(0xB59385), hot + 1);
    Display.ReleaseButton(At(700, 700));
    Pump();
}

TEST_F(CaptionButtonsTest, ObjectsFreedFromTheirOwnHandlerGoAfterIt)
{
    int ups = 0;
    Corvalis->SetBorderIcons({TspBorderIcon::biRollUp});
    Pump();
    Corvalis->OnMouseUpEvent = [&](TObject*, const std::string&, Integer, Integer, TRect, TMouseButton) {
        ++ups;
        Corvalis->ClearObjects();  // as a skin change started from the handler would
    };
    const TRect roll = Button("rollupbutton")->ObjectRect;
    const TPoint at = At(roll.Left + 5, roll.Top + 5);
    Display.MoveMouse(at);
    Pump();
    Display.PressButton(at);
    Pump();
    Display.ReleaseButton(at);
    Pump();
    EXPECT_EQ(ups, 1);
    Run(60);
    EXPECT_EQ(Corvalis->ObjectCount(), 6) << "the frame's next paint makes the default buttons again";
}

}  // namespace

namespace {

TEST_F(CaptionButtonsTest, ClientDoubleClickNeverReachesFrameObjects)
{
    int closes = 0;
    Form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    // Client (185, 10) read as a frame point would be the close button.
    const TPoint at = Form->ClientToScreen({185, 10});
    Display.MoveMouse(at);
    Pump();
    Display.Click(at);
    Display.Click(at);
    Pump();
    Run(60);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(Form->Visible());
}

}  // namespace

namespace {

TEST_F(CaptionButtonsTest, CloseWithCaFreeReleasesTheFormAfterTheButtonIsDone)
{
    Form->OnClose = [](TObject*, TCloseAction& AAction) { AAction = caFree; };
    const Integer before = App->ComponentCount();
    Display.MoveMouse(At(CloseAt.X, CloseAt.Y));
    Pump();
    Display.PressButton(At(CloseAt.X, CloseAt.Y));
    Pump();
    Display.ReleaseButton(At(CloseAt.X, CloseAt.Y));
    Pump();
    Pump();
    EXPECT_EQ(App->ComponentCount(), before - 1);
    Form = nullptr;
}

TEST_F(CaptionButtonsTest, CustomButtonsShowOnlyWhenTheApplicationSaysSo)
{
    auto custom = [&](bool AShow) {
        Corvalis->OnActivateCustomObject = [AShow](TObject*, const std::string& AName, bool& AVisible) {
            AVisible = AShow && AName == "traybutton";
        };
        for (Integer i = 0; i < Corvalis->ObjectCount(); ++i)
            if (auto* b = dynamic_cast<TspSkinStdButtonObject*>(Corvalis->Objects(i)); b->IDName == "traybutton")
                b->Command = cmDefault;
        Corvalis->UpdateObjectsState();
        return Button("traybutton")->Visible;
    };
    EXPECT_TRUE(custom(true));
    EXPECT_FALSE(custom(false));
    Corvalis->OnActivateCustomObject = nullptr;
    Corvalis->UpdateObjectsState();
    EXPECT_FALSE(Button("traybutton")->Visible) << "without a handler a custom button is hidden";
}

class CaptionDoubleClickTest : public formstest::TFormsFixture {};

TEST_F(CaptionDoubleClickTest, MaximizesRestoresOrRollsUp)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    auto doubleClick = [&] {
        SendMessage(Form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, PointToLParam(At(100, 10)));
        Pump();
    };
    doubleClick();
    EXPECT_EQ(Corvalis->WindowState(), wsMaximized);
    TRect moving = Bounds(5, 5, 300, 200);
    SendMessage(Form->Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving));
    EXPECT_EQ(moving, Form->BoundsRect()) << "a maximized form cannot be dragged";
    doubleClick();
    EXPECT_EQ(Corvalis->WindowState(), wsNormal);
    EXPECT_EQ(Form->Height(), 200);

    Corvalis->SetSizeable(false);
    doubleClick();
    EXPECT_TRUE(Corvalis->RollUpState());
    EXPECT_EQ(Form->Height(), 25) << "the frame without its client area";
    doubleClick();
    EXPECT_FALSE(Corvalis->RollUpState());
    EXPECT_EQ(Form->Height(), 200);

    Corvalis->SetBorderIcons({});
    doubleClick();
    EXPECT_FALSE(Corvalis->RollUpState()) << "rolling up needs its border icon";
}

TEST_F(CaptionDoubleClickTest, FormCursorOverTheFrameRewritesTheHitCode)
{
    Form = NewForm(Bounds(100, 100, 200, 100));
    auto codes = std::make_shared<std::vector<LRESULT>>();
    TWndMethod previous = Form->WindowProc;
    Form->WindowProc = [codes, previous](TMessage& M) {
        if (M.Msg == WM_SETCURSOR) codes->push_back(LOWORD(M.LParam));
        previous(M);
    };
    Corvalis = new TspCorvalis(Form);
    Corvalis->SetUseFormCursorInNCArea(true);
    Form->Show();
    Pump();
    for (LRESULT hit : {HTCAPTION, HTOBJECT, HTCLIENT, HTLEFT, HTBOTTOMRIGHT})
        SendMessage(Form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Form->Handle()), MAKELPARAM(hit, WM_MOUSEMOVE));
    EXPECT_EQ(*codes, (std::vector<LRESULT>{HTCLIENT, HTCLIENT, HTCLIENT, HTLEFT, HTBOTTOMRIGHT}));
}

}  // namespace
