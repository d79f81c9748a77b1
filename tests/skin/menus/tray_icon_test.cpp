// The tray icon: what the tray is told (tip, balloon, cuts), click against double click on the virtual clock,
// the popup menu at the pointer, hiding the main form into the tray and back, the icon animation and the icon
// coming back after the tray restarts. The headless display keeps the tray in memory.
#include <memory>

#include "platform/win/message_queue.h"
#include "platform/win/input.h"
#include "skin/forms/form_messages.h"
#include "skin/forms/tray_icon.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

// Records where it was asked to open instead of opening.
class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(Integer AX, Integer AY) override { Opened.push_back(TPoint{AX, AY}); }
    std::vector<TPoint> Opened;
};

class TrayIconTest : public TMenusFixture {
protected:
    void SetUp() override
    {
        TMenusFixture::SetUp();
        App->SetMainForm(Form);
        Tray = new TspTrayIcon(Form);
        Tray->OnClick = [this](TObject*) { Log.push_back("click"); };
        Tray->OnDblClick = [this](TObject*) { Log.push_back("double click"); };
        Tray->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("down"); };
        Tray->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("up"); };
        Tray->SetIconVisible(true);
    }

    // The user did AEvent on the icon.
    void Mouse(win::UINT AEvent)
    {
        ASSERT_TRUE(win::QueueTrayEvent(Tray->Handle(), 1, AEvent));
        Pump();
    }
    std::optional<win::NOTIFYICONDATA> Shown(TspTrayIcon* ATray)
    {
        for (auto& icon : win::TrayIcons())
            if (icon.hWnd == ATray->Handle()) return icon;
        return std::nullopt;
    }

    TspTrayIcon* Tray = nullptr;
};

TEST_F(TrayIconTest, TheTrayGetsTheTipAndBalloonCutToTheirLimits)
{
    ASSERT_TRUE(Shown(Tray));
    Tray->SetHint(std::string(130, 'a'));
    EXPECT_EQ(Shown(Tray)->szTip, std::string(127, 'a'));
    Tray->SetShowHint(false);
    EXPECT_EQ(Shown(Tray)->szTip, "");
    Tray->SetShowHint(true);
    // Cut by characters: a text of two-byte characters keeps whole ones.
    std::string accented;
    for (int i = 0; i < 130; ++i) accented += "\xC3\xA9";
    Tray->SetHint(accented);
    EXPECT_EQ(Shown(Tray)->szTip, accented.substr(0, 2 * 127));

    EXPECT_TRUE(Tray->ShowBalloonHint(std::string(70, 't'), std::string(300, 'b'), spbitWarning));
    EXPECT_EQ(Shown(Tray)->szInfo, std::string(255, 'b'));
    EXPECT_EQ(Shown(Tray)->szInfoTitle, std::string(63, 't'));
    EXPECT_EQ(Shown(Tray)->dwInfoFlags, 2u);
    EXPECT_EQ(Tray->IconData().uFlags, win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP);
    EXPECT_TRUE(Tray->HideBalloonHint());
    EXPECT_EQ(Shown(Tray)->szInfo, "");

    Tray->SetIconVisible(false);
    EXPECT_FALSE(Shown(Tray));
    EXPECT_FALSE(Tray->ModifyIcon());  // nothing to change: the tray's refusal comes back
    // Without a tray on the desktop the icon cannot be added, and says so.
    Display.SetTray(false);
    EXPECT_FALSE(Tray->ShowIcon());
}

TEST_F(TrayIconTest, AClickComesOneDoubleClickTimeLaterAndADoubleClickIsNoClick)
{
    const int dbl = static_cast<int>(win::GetDoubleClickTime());
    Mouse(win::WM_LBUTTONDOWN);
    Mouse(win::WM_LBUTTONUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"down", "up"}));
    Run(dbl + 10);
    EXPECT_EQ(Log, (std::vector<std::string>{"down", "up", "click"}));

    // Held past the double-click time: the click comes with the release.
    Log.clear();
    Mouse(win::WM_LBUTTONDOWN);
    Run(dbl + 10);
    EXPECT_EQ(Log, (std::vector<std::string>{"down"}));
    Mouse(win::WM_LBUTTONUP);
    EXPECT_EQ(Log, (std::vector<std::string>{"down", "click", "up"}));

    // A double click runs the menu's default item and gives no click.
    auto* menu = new TPopupMenu(Form);
    auto* plain = new TMenuItem(Form);
    plain->OnClick = [this](TObject*) { Log.push_back("plain item"); };
    auto* restore = new TMenuItem(Form);
    restore->SetDefault(true);
    restore->OnClick = [this](TObject*) { Log.push_back("default item"); };
    menu->Items()->Add(plain);
    menu->Items()->Add(restore);
    Tray->SetPopupMenu(menu);
    Log.clear();
    Mouse(win::WM_LBUTTONDOWN);
    Mouse(win::WM_LBUTTONUP);
    Mouse(win::WM_LBUTTONDBLCLK);
    Mouse(win::WM_LBUTTONUP);
    Run(dbl + 10);
    EXPECT_EQ(Log, (std::vector<std::string>{"down", "up", "double click", "default item", "up"}));

    // Switched off, the icon stays but tells nothing.
    Tray->Enabled = false;
    Log.clear();
    Mouse(win::WM_LBUTTONDOWN);
    Mouse(win::WM_LBUTTONUP);
    Run(dbl + 10);
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(Shown(Tray));
}

TEST_F(TrayIconTest, TheMenuOpensAtThePointerOnTheRightButtonOrTheLeftOneWhenAskedTo)
{
    auto* menu = new TRecordingMenu(Form);
    Tray->SetPopupMenu(menu);
    Display.MoveMouse({900, 750});
    Pump();
    Mouse(win::WM_RBUTTONDOWN);
    ASSERT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(menu->Opened[0], (TPoint{900, 750}));
    EXPECT_EQ(menu->PopupComponent(), Tray);
    Mouse(win::WM_LBUTTONDOWN);
    EXPECT_EQ(menu->Opened.size(), 1u);
    Tray->PopupByLeftButton = true;
    Mouse(win::WM_LBUTTONDOWN);
    EXPECT_EQ(menu->Opened.size(), 2u);
    menu->SetAutoPopup(false);
    Mouse(win::WM_RBUTTONDOWN);
    EXPECT_EQ(menu->Opened.size(), 2u);
    delete menu;
    EXPECT_EQ(Tray->PopupMenu(), nullptr);
    Mouse(win::WM_RBUTTONDOWN);  // no menu: nothing opens, nothing breaks
}

TEST_F(TrayIconTest, MinimizingWithMinimizeToTrayHidesTheMainFormAndShowMainFormBringsItBack)
{
    Tray->SetIconVisible(false);
    App->Minimize();
    Pump();
    EXPECT_FALSE(Shown(Tray));  // minimizing alone keeps the tray out of it

    App->Restore();
    Pump();
    Tray->SetMinimizeToTray(true);
    App->Minimize();
    Pump();
    EXPECT_FALSE(Form->Visible());
    EXPECT_TRUE(Shown(Tray));

    Tray->ShowMainForm();
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Form->Tag(), -10000);  // until the form hears that it is back
    win::MSG msg;
    EXPECT_TRUE(win::PeekMessage(msg, Form->Handle(), SKM_TRAY_RESTORED, SKM_TRAY_RESTORED, win::PM_NOREMOVE));
    Pump();
    EXPECT_TRUE(win::IsWindowVisible(Form->Handle()));
}

TEST_F(TrayIconTest, TheAnimationCyclesThroughTheListAndTellsTheNextIndex)
{
    auto* images = new TImageList(Form, 16, 16);
    for (TColor c : {clRed, clGreen, clBlue}) {
        TBitmap b(16, 16, pf24bit);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        images->Add(&b, nullptr);
    }
    Tray->SetIconList(images);
    Tray->SetIconIndex(10);
    EXPECT_EQ(Tray->IconIndex(), 2);
    std::vector<Integer> next;
    Tray->OnCycle = [&next](TObject*, Integer ANext) { next.push_back(ANext); };
    Tray->SetAnimateTimerInterval(500);
    Tray->SetCycleIcons(true);
    EXPECT_EQ(Tray->IconIndex(), 0);
    Run(2010);
    EXPECT_EQ(next, (std::vector<Integer>{1, 2, 0, 1}));
    Tray->SetCycleIcons(false);
    Run(1000);
    EXPECT_EQ(next.size(), 4u);
    delete images;
    EXPECT_EQ(Tray->IconList(), nullptr);
}

TEST_F(TrayIconTest, AfterTheTrayRestartsAVisibleIconComesBackAndAHiddenOneDoesNot)
{
    auto* hidden = new TspTrayIcon(Form);
    hidden->SetIconVisible(false);
    // The tray lost its icons.
    win::NOTIFYICONDATA data = Tray->IconData();
    ASSERT_TRUE(win::Shell_NotifyIcon(win::NIM_DELETE, &data));
    ASSERT_FALSE(Shown(Tray));
    const win::UINT restarted = win::RegisterWindowMessage("TaskbarCreated");
    win::SendMessage(Tray->Handle(), restarted, 0, 0);
    win::SendMessage(hidden->Handle(), restarted, 0, 0);
    EXPECT_TRUE(Shown(Tray));
    EXPECT_FALSE(Shown(hidden));
    delete Tray;
    EXPECT_TRUE(win::TrayIcons().empty());
}

}  // namespace
}  // namespace menustest
