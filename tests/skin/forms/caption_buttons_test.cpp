// Caption buttons under the mouse: pressing, releasing, hovering, and objects that go while they work.
#include "forms_fixture.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/popup_window.h"

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


// A press on the system-menu button opens the form's system menu below it.
TEST_F(CaptionButtonsTest, TheSystemMenuButtonOpensTheSystemMenu)
{
    Corvalis->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize});
    Pump();
    TspSkinStdButtonObject* sys = Button("sysmenubutton");
    ASSERT_NE(sys, nullptr);
    ASSERT_TRUE(sys->Enabled);
    const TRect r = sys->ObjectRect;
    const TPoint at = At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Display.MoveMouse(at);
    Run(60);
    Display.PressButton(at);
    Pump();
    TspFormMenus* menus = FormMenusOf(Corvalis);
    ASSERT_EQ(menus->SkinMenu->LevelCount(), 1);
    TspSkinPopupWindow* level = menus->SkinMenu->LastLevel();
    std::vector<std::string> captions;
    for (Integer i = 0; i < level->ItemCount(); ++i) captions.push_back(level->Item(i)->MenuItem->Caption());
    EXPECT_EQ(captions, (std::vector<std::string>{"Mi&nimize", "-", "&Close"}));
    EXPECT_GE(level->Top(), Form->Top() + r.Bottom);
    Display.ReleaseButton(at);
    Pump();
    menus->SkinMenu->Hide();
    Pump();
}

// Without a tray icon nothing happens; with one the form goes to the tray: from the tray button, and from the
// minimize button of a form that always minimizes to the tray.
class TTrayLink : public TspTrayIconLink {
public:
    void SetMinimizeToTray(bool AValue) override { Log.push_back(AValue ? "to tray" : "from tray"); }
    void ShowMainForm() override { Log.push_back("show"); }
    void SetIconVisible(bool AValue) override { Log.push_back(AValue ? "icon shown" : "icon hidden"); }
    TPopupMenu* PopupMenu() override { return Menu; }
    void SetPopupMenu(TPopupMenu* AMenu) override { Menu = AMenu; }
    bool HasDblClickHandler() override { return true; }
    void SetDblClickHandler(TNotifyEvent) override {}
    std::vector<std::string> Log;
    TPopupMenu* Menu = nullptr;
};

TEST_F(CaptionButtonsTest, TrayCommandsSendTheFormToTheTray)
{
    int events = 0;
    Corvalis->OnMinimizeToTray = [&](TObject*) { ++events; };
    Corvalis->SetBorderIcons({TspBorderIcon::biMinimize, TspBorderIcon::biMinimizeToTray});
    Pump();
    auto click = [&](const char* AName) {
        const TRect r = Button(AName)->ObjectRect;
        const TPoint at = At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        Display.MoveMouse(at);
        Run(60);
        Display.Click(at);
        Pump();
    };
    click("traybutton");
    EXPECT_EQ(events, 0) << "no tray icon: nothing to go to";

    TTrayLink link;
    FormMenusOf(Corvalis)->SetTrayIcon(&link);
    link.Log.clear();
    click("traybutton");
    EXPECT_EQ(link.Log, std::vector<std::string>{"to tray"});
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(App->Minimized());
    App->Restore();
    Pump();

    Corvalis->SetAlwaysMinimizeToTray(true);
    link.Log.clear();
    click("minbutton");
    EXPECT_EQ(link.Log, std::vector<std::string>{"to tray"});
    EXPECT_EQ(events, 2);
    App->Restore();
    Pump();
    FormMenusOf(Corvalis)->SetTrayIcon(nullptr);
}

// A skinned button the form's border icons disable: one drawn in a picture of its own is not shown (the others
// move along), one drawn in the frame picture stays but greyed when the skin has no disabled picture for it.
TEST_F(CaptionButtonsTest, BorderIconsHideOrGreyTheButtonsTheyLeaveOut)
{
    auto* skin = new TspSkinData(App.get());
    skin->FPicture = std::make_unique<TBitmap>(80, 60, pf24bit);
    skin->FPicture->Canvas()->Brush()->SetColor(clMaroon);
    skin->FPicture->Canvas()->FillRect(Rect(0, 0, 80, 60));
    // The frame picture's own minimize button: bright red with a white bar.
    skin->FPicture->Canvas()->Brush()->SetColor(clRed);
    skin->FPicture->Canvas()->FillRect(Rect(40, 4, 52, 16));
    skin->FPicture->Canvas()->Brush()->SetColor(clWhite);
    skin->FPicture->Canvas()->FillRect(Rect(42, 12, 50, 14));
    skin->LTPoint = {10, 24};
    skin->RTPoint = {38, 24};
    skin->LBPoint = {10, 50};
    skin->RBPoint = {38, 50};
    skin->ClRect = Rect(6, 22, 74, 54);
    skin->MaskRectArea = Rect(6, 22, 74, 54);
    skin->CaptionRect = Rect(4, 2, 38, 20);
    skin->ButtonsRect = Rect(54, 4, 76, 16);
    skin->ButtonsOffset = 1;
    auto buttons = std::make_unique<TBitmap>(24, 12, pf24bit);
    buttons->Canvas()->Brush()->SetColor(clBlue);
    buttons->Canvas()->FillRect(Rect(0, 0, 12, 12));
    buttons->Canvas()->Brush()->SetColor(clLime);
    buttons->Canvas()->FillRect(Rect(12, 0, 24, 12));
    skin->FActivePictures.push_back(std::move(buttons));
    skin->FActivePicturesNames->Add("buttons.bmp");
    auto own = [&](const char* AName, TStdCommand ACommand, TRect APart) {
        auto b = std::make_unique<TspDataSkinStdButton>(AName);
        b->Command = ACommand;
        b->SkinRectInAPicture = true;
        b->ActivePictureIndex = 0;
        b->SkinRect = APart;
        skin->ObjectList.push_back(std::move(b));
    };
    own("closebutton", cmClose, Rect(0, 0, 12, 12));
    own("maxbutton", cmMaximize, Rect(12, 0, 24, 12));
    auto framed = std::make_unique<TspDataSkinStdButton>("minbutton");
    framed->Command = cmMinimize;
    framed->SkinRect = Rect(40, 4, 52, 16);
    skin->ObjectList.push_back(std::move(framed));
    skin->Empty = false;
    Corvalis->SetSkinData(skin);
    Corvalis->SetBorderIcons({});
    Pump();
    Form->Repaint();
    Pump();

    TspSkinStdButtonObject* close = Button("closebutton");
    TspSkinStdButtonObject* max = Button("maxbutton");
    TspSkinStdButtonObject* min = Button("minbutton");
    ASSERT_TRUE(close && max && min);
    EXPECT_TRUE(close->Enabled && close->Visible);
    EXPECT_FALSE(max->Enabled);
    EXPECT_FALSE(max->Visible);
    EXPECT_FALSE(min->Enabled);
    EXPECT_TRUE(min->Visible);
    // Nothing green (the maximize picture) anywhere on the caption.
    const auto screen = Display.ComposeScreen();
    for (Integer x = 0; x < Form->Width(); ++x)
        for (Integer y = 0; y < 20; ++y) {
            const TPoint at = At(x, y);
            const uint32_t argb = screen[static_cast<size_t>(at.Y) * Display.ScreenSize().cx + at.X];
            ASSERT_NE(argb & 0xFFFFFF, 0x00FF00u) << x << "," << y;
        }
    // The frame's minimize button is grey: no red left, the white bar still lighter than its ground.
    const TRect m = min->ObjectRect;
    auto grey = [](uint32_t AColor) {
        return ((AColor >> 16) & 0xFF) == ((AColor >> 8) & 0xFF) && ((AColor >> 8) & 0xFF) == (AColor & 0xFF);
    };
    const uint32_t ground = ScreenColor(m.Left + 1, m.Top + 1), bar = ScreenColor(m.Left + 4, m.Top + 9);
    EXPECT_TRUE(grey(ground)) << std::hex << ground;
    EXPECT_TRUE(grey(bar)) << std::hex << bar;
    EXPECT_GT(bar & 0xFF, ground & 0xFF);

    // Enabled again, it shows its own colours.
    Corvalis->SetBorderIcons({TspBorderIcon::biMinimize, TspBorderIcon::biMaximize});
    Form->Repaint();
    Pump();
    EXPECT_TRUE(Button("maxbutton")->Visible);
    EXPECT_EQ(ScreenColor(m.Left + 1, m.Top + 1), static_cast<TColor>(clRed));
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
