#include "gui_fixture.h"

#include "platform/gui/menus.h"
#include "platform/gui/timer.h"

#include <string>
#include <vector>

namespace guitest {
namespace {

using namespace win;

class TClickBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Clicks = 0;
    void Click() override
    {
        ++Clicks;
        TCustomControl::Click();
    }
};

// Records its own destruction and what it could still see of its owner at that moment.
class TWatcher : public TComponent {
public:
    TWatcher(TComponent* AOwner, std::string AName, std::vector<std::string>* ALog)
        : TComponent(AOwner), FForm(dynamic_cast<TCustomForm*>(AOwner)), FName(std::move(AName)), FLog(ALog) {}
    ~TWatcher() override
    {
        TCustomForm* form = FForm;
        bool listed = false;
        for (Integer i = 0; form && Screen && i < Screen->FormCount(); ++i)
            listed |= Screen->Forms(i) == form;
        FLog->push_back(FName + (form && listed ? " (form whole)" : " (form gone)"));
    }

private:
    TCustomForm* FForm;
    std::string FName;
    std::vector<std::string>* FLog;
};

class Forms : public TGuiFixture {};

TEST_F(Forms, ShowModalReturnsTheResultWhileOtherFormsIgnoreInput)
{
    TForm* main = NewForm(Bounds(50, 50, 300, 200));
    App->SetMainForm(main);
    auto* behind = new TClickBox(main);
    behind->SetBounds(10, 10, 80, 40);
    behind->SetParent(main);
    main->Show();
    Pump();

    TForm* dialog = NewForm(Bounds(500, 300, 200, 150));
    dialog->SetBorderStyle(bsDialog);
    auto* ok = new TClickBox(dialog);
    ok->SetBounds(20, 20, 60, 30);
    ok->SetParent(dialog);
    int queries = 0;
    ok->OnClick = [&](TObject*) { dialog->SetModalResult(mrOk); };
    dialog->OnCloseQuery = [&](TObject*, bool& ACanClose) { ACanClose = ++queries > 1; };
    std::vector<std::string> events;
    dialog->OnShow = [&](TObject*) {
        events.push_back("show");
        EXPECT_FALSE(IsWindowEnabled(main->Handle()));
        // The user clicks the form behind, then OK twice (the first close is refused).
        Display.Click(behind->ClientToScreen({5, 5}));
        Display.Click(ok->ClientToScreen({5, 5}));
        Clock.Advance(1000000);  // apart enough not to make a double click
        Display.Click(ok->ClientToScreen({5, 5}));
    };
    dialog->OnClose = [&](TObject*, TCloseAction& AAction) {
        events.push_back("close");
        EXPECT_EQ(AAction, caHide);
    };
    dialog->OnHide = [&](TObject*) { events.push_back("hide"); };

    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(behind->Clicks, 0);
    EXPECT_EQ(ok->Clicks, 2);
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "close", "hide"}));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_THROW(main->ShowModal(), EInvalidOperation);  // already visible

    // Closing a modal form cancels it.
    dialog->OnCloseQuery = nullptr;
    dialog->OnShow = [&](TObject*) { dialog->Close(); };
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

// A modal form is owned by the form it was opened from (the window manager keeps it above that one) and is
// centred on the main form with the size it has once shown, also when its OnShow changes that size.
TEST_F(Forms, AModalFormIsOwnedByTheFormBehindItAndCentredOnItsShownSize)
{
    TForm* main = NewForm(Bounds(100, 80, 400, 300));
    App->SetMainForm(main);
    main->Show();
    Pump();
    TForm* other = NewForm(Bounds(600, 400, 300, 200));
    other->Show();
    Pump();

    struct TCase {
        const char* Name;
        TForm* Active;      // the active form when the dialog opens
        TForm* WantOwner;
    };
    for (const TCase& c : {TCase{"from the main form", main, main}, TCase{"from another form", other, other}}) {
        SetActiveWindow(c.Active->Handle());
        TForm* dialog = NewForm(Bounds(0, 0, 200, 100));
        dialog->SetBorderStyle(bsDialog);
        dialog->SetPosition(poMainFormCenter);
        HWND owner = nullptr;
        dialog->OnShow = [&](TObject*) {
            owner = reinterpret_cast<HWND>(GetWindowLong(dialog->Handle(), GWL_HWNDPARENT));
            dialog->SetHeight(160);
            dialog->Close();
        };
        EXPECT_EQ(dialog->ShowModal(), mrCancel) << c.Name;
        EXPECT_EQ(owner, c.WantOwner->Handle()) << c.Name;
        EXPECT_EQ(dialog->Height(), 160) << c.Name;
        EXPECT_EQ(dialog->Left(), 100 + (400 - 200) / 2) << c.Name;
        EXPECT_EQ(dialog->Top(), 80 + (300 - 160) / 2) << c.Name;
        delete dialog;
    }
}

TEST_F(Forms, CloseAsksFirstAndClosingTheMainFormEndsTheProgram)
{
    TForm* main = NewForm();
    App->SetMainForm(main);
    TForm* other = NewForm(Bounds(0, 0, 100, 100));
    main->Show();
    other->Show();
    bool allow = false;
    other->OnCloseQuery = [&](TObject*, bool& ACanClose) { ACanClose = allow; };
    other->Close();
    EXPECT_TRUE(other->Visible());
    allow = true;
    other->OnClose = [](TObject*, TCloseAction& AAction) { AAction = caFree; };
    other->Close();
    Pump();  // released once the message that asked is done
    EXPECT_EQ(Screen->FormCount(), 1);

    SendMessage(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(App->Terminated());
}

TEST_F(Forms, OwnedComponentsGoBeforeTheFormAndTheApplicationTakesItsForms)
{
    std::vector<std::string> log;
    TForm* first = NewForm();
    TForm* second = NewForm();
    App->SetMainForm(first);
    new TWatcher(first, "w1", &log);
    auto* menu = new TMainMenu(first);
    first->SetMenu(menu);
    auto* popup = new TPopupMenu(first);
    auto* control = new TClickBox(first);
    control->SetBounds(5, 5, 20, 20);
    control->SetParent(first);
    control->SetPopupMenu(popup);
    new TTimer(first);
    new TWatcher(first, "w2", &log);
    // A control owned by one form but shown on the other goes with the form it is shown on.
    auto* lodger = new TClickBox(second);
    lodger->SetParent(first);
    first->Show();
    first->SetActiveControl(control);

    delete menu;
    EXPECT_EQ(first->Menu(), nullptr);
    delete popup;
    EXPECT_EQ(control->PopupMenu(), nullptr);
    delete control;
    EXPECT_EQ(first->ActiveControl(), nullptr);

    new TWatcher(second, "w3", &log);
    int before = second->ComponentCount();
    delete first;
    EXPECT_EQ(log, (std::vector<std::string>{"w2 (form whole)", "w1 (form whole)"}));
    EXPECT_EQ(App->MainForm(), nullptr);
    EXPECT_EQ(second->ComponentCount(), before - 1);  // the lodger left its owner
    EXPECT_EQ(Screen->FormCount(), 1);

    App.reset();
    EXPECT_EQ(log.back(), "w3 (form whole)");
    EXPECT_EQ(Application, nullptr);
    EXPECT_EQ(Screen, nullptr);
}

TEST_F(Forms, BorderStylesGiveTheirFramesAndPositionCentres)
{
    struct TCase {
        TFormBorderStyle Border;
        TBorderIcons Icons;
        DWORD Style;    // must be set
        DWORD NoStyle;  // must be clear
        DWORD ExStyle;
    };
    const std::vector<TCase> cases = {
        {bsNone, {biSystemMenu}, WS_POPUP, WS_CAPTION | WS_SYSMENU, 0},
        {bsSingle, {biSystemMenu, biMinimize}, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX, 0},
        {bsSizeable, {biSystemMenu, biMaximize}, WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX, WS_MINIMIZEBOX, 0},
        {bsDialog, {biSystemMenu, biMinimize, biMaximize}, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_DLGMODALFRAME},
        {bsToolWindow, {}, WS_CAPTION, WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW},
        {bsSizeToolWin, {}, WS_CAPTION | WS_THICKFRAME, WS_SYSMENU, WS_EX_TOOLWINDOW},
    };
    for (const TCase& c : cases) {
        TForm* form = NewForm();
        form->SetBorderStyle(c.Border);
        form->SetBorderIcons(c.Icons);
        form->SetClientSize(200, 120);
        form->Show();
        DWORD style = GetWindowLong(form->Handle(), GWL_STYLE);
        DWORD ex = GetWindowLong(form->Handle(), GWL_EXSTYLE);
        EXPECT_EQ(style & c.Style, c.Style) << c.Border;
        EXPECT_EQ(style & c.NoStyle, 0u) << c.Border;
        EXPECT_EQ(ex & c.ExStyle, c.ExStyle) << c.Border;
        // The client size asked for before the window existed is what the window has.
        EXPECT_EQ(form->ClientWidth(), 200) << c.Border;
        EXPECT_EQ(form->ClientHeight(), 120) << c.Border;
        delete form;
    }

    TForm* centred = NewForm(Bounds(0, 0, 200, 100));
    centred->SetPosition(poScreenCenter);
    centred->Show();
    TRect work = Screen->WorkAreaRect();
    EXPECT_EQ(centred->Left(), work.Left + (work.Width() - 200) / 2);
    EXPECT_EQ(centred->Top(), work.Top + (work.Height() - 100) / 2);
}

TEST_F(Forms, MdiChildrenLiveInTheFramesClientWindow)
{
    TForm* frame = NewForm(Bounds(0, 0, 500, 400));
    frame->SetFormStyle(fsMDIForm);
    App->SetMainForm(frame);
    frame->Show();
    ASSERT_NE(frame->ClientHandle(), nullptr);
    TForm* child = NewForm(Bounds(10, 10, 200, 150));
    child->SetFormStyle(fsMDIChild);
    child->Show();
    EXPECT_EQ(GetParent(child->Handle()), frame->ClientHandle());
    EXPECT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(frame->ActiveMDIChild(), child);
    delete child;
    EXPECT_EQ(frame->MDIChildCount(), 0);
}

}  // namespace
}  // namespace guitest
