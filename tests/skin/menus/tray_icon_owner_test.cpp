// The tray icon and its owner form: the focus coming back on activation, the application restored when the form
// is shown by a call, starting in the tray (an MDI parent too), and a bitmap made into the tray's icon.
#include "platform/gui/screen.h"
#include "platform/win/input.h"
#include "skin/forms/tray_icon.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

class TFocusable : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class TrayOwnerTest : public TMenusFixture {
protected:
    void SetUp() override
    {
        TMenusFixture::SetUp();
        App->SetMainForm(Form);
    }
    // The application window hears WM_WINDOWPOSCHANGED, as when the program starts.
    void PlaceApplicationWindow()
    {
        win::SetWindowPos(App->Handle(), nullptr, 0, 0, 0, 0,
                          win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    TFocusable* NewFocusable(Integer ALeft)
    {
        auto* control = new TFocusable(Form);
        control->SetParent(Form);
        control->SetBounds(ALeft, 10, 50, 20);
        return control;
    }
};

TEST_F(TrayOwnerTest, ActivationGivesTheFocusBackToTheScreensActiveControl)
{
    auto* tray = new TspTrayIcon(Form);
    TFocusable* first = NewFocusable(10);
    NewFocusable(70);
    Pump();
    first->SetFocus();
    Pump();
    ASSERT_EQ(Screen->ActiveControl(), first);
    // The focus went nowhere (as to a window of no form) while the form stayed the screen's.
    win::SetFocus(nullptr);
    Pump();
    ASSERT_NE(win::GetFocus(), first->Handle());
    ASSERT_EQ(Screen->ActiveControl(), first);
    win::SendMessage(Form->Handle(), win::WM_ACTIVATE, win::WA_CLICKACTIVE, 0);
    Pump();
    EXPECT_EQ(win::GetFocus(), first->Handle());
    // Once the icon is gone its hook passes the messages on to the form, which still answers them.
    delete tray;
    win::SetFocus(nullptr);
    win::SendMessage(Form->Handle(), win::WM_ACTIVATE, win::WA_ACTIVE, 0);
    Pump();
    EXPECT_EQ(win::GetFocus(), first->Handle());
}

TEST_F(TrayOwnerTest, ShowingTheOwnerByACallRestoresTheApplication)
{
    new TspTrayIcon(Form);
    App->Minimize();
    Pump();
    ASSERT_TRUE(App->Minimized());
    win::SendMessage(Form->Handle(), win::WM_SHOWWINDOW, 1, 0);
    Pump();
    EXPECT_FALSE(App->Minimized());
    EXPECT_TRUE(win::IsWindowVisible(Form->Handle()));
}

TEST_F(TrayOwnerTest, StartingInTheTrayKeepsTheMainFormHidden)
{
    auto* tray = new TspTrayIcon(Form);
    tray->MinimizedOnStart = true;
    tray->SetIconVisible(false);
    tray->Loaded();
    Pump();
    EXPECT_FALSE(App->ShowMainForm);
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_TRUE(tray->MinimizeToTray());
}

TEST_F(TrayOwnerTest, AnMdiParentThatShowsItselfAtStartGoesBackToTheTrayOnce)
{
    Form->SetFormStyle(fsMDIForm);
    auto* tray = new TspTrayIcon(Form);
    tray->MinimizedOnStart = true;
    Form->Show();
    Pump();
    PlaceApplicationWindow();
    Pump();
    EXPECT_FALSE(Form->Visible());
    // Only the first check: later the form is the user's to show.
    Form->Show();
    PlaceApplicationWindow();
    Pump();
    EXPECT_TRUE(Form->Visible());
}

TEST_F(TrayOwnerTest, ABitmapBecomesASixteenPixelIconWithItsMaskColourClear)
{
    auto* tray = new TspTrayIcon(Form);
    TBitmap bitmap(16, 16, pf24bit);
    bitmap.Canvas()->Brush()->SetColor(static_cast<TColor>(0xFF00FF));
    bitmap.Canvas()->FillRect(Rect(0, 0, 16, 16));
    bitmap.Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000FF));
    bitmap.Canvas()->FillRect(Rect(4, 4, 12, 12));
    TIcon icon;
    EXPECT_TRUE(tray->BitmapToIcon(&bitmap, &icon, static_cast<TColor>(0xFF00FF)));
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    TBitmap drawn(16, 16, pf24bit);
    drawn.Canvas()->Brush()->SetColor(clWhite);
    drawn.Canvas()->FillRect(Rect(0, 0, 16, 16));
    drawn.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(drawn.Canvas()->Pixels(8, 8), static_cast<TColor>(0x0000FF));
    EXPECT_EQ(drawn.Canvas()->Pixels(1, 1), clWhite);
    tray->SetIcon(&icon);
    EXPECT_FALSE(tray->Icon()->Empty());
}

}  // namespace
}  // namespace menustest
