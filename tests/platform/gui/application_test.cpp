#include "gui_fixture.h"

#include "platform/gui/message_box.h"
#include "platform/gui/timer.h"

#include <string>
#include <vector>

namespace guitest {
namespace {

using namespace win;

constexpr UINT kProbeMessage = WM_USER + 7;

class TMessageSink : public TForm {
public:
    using TForm::TForm;
    int Received = 0;
    void WndProc(TMessage& AMessage) override
    {
        if (AMessage.Msg == kProbeMessage)
            ++Received;
        TForm::WndProc(AMessage);
    }
};

class ApplicationTest : public TGuiFixture {};

TEST_F(ApplicationTest, OnMessageHoldersRestoreInAnyOrder)
{
    auto* form = NewForm<TMessageSink>();
    form->HandleNeeded();
    std::string heard;
    auto holder = [&](std::string AName, bool ASwallow) {
        return [&heard, AName, ASwallow](MSG& AMsg, bool& AHandled) {
            if (AMsg.message == kProbeMessage) {
                heard += AName;
                AHandled = ASwallow;
            }
        };
    };
    // Each step pushes a holder or takes one out by its id; then a posted message shows who hears it.
    struct TStep {
        char Push;    // holder to push, or 0
        char Remove;  // holder to remove, or 0
        std::string Heard;
    };
    const std::vector<TStep> steps = {
        {'a', 0, "a"}, {'b', 0, "b"}, {'c', 0, "c"}, {0, 'b', "c"},  // out of order: c stays on top
        {0, 'c', "a"},  // c goes: a again, not b
        {0, 'a', ""},   {'b', 0, "b"}, {0, 'b', ""},
    };
    std::map<char, int> ids;
    for (size_t i = 0; i < steps.size(); ++i) {
        const TStep& step = steps[i];
        if (step.Push)
            ids[step.Push] = App->SetOnMessage(holder(std::string(1, step.Push), step.Push == 'c'));
        if (step.Remove)
            App->RemoveOnMessage(ids[step.Remove]);
        heard.clear();
        int before = form->Received;
        PostMessage(form->Handle(), kProbeMessage, 0, 0);
        Pump();
        EXPECT_EQ(heard, step.Heard) << "step " << i;
        // Only c swallows what it hears.
        EXPECT_EQ(form->Received - before, step.Heard == "c" ? 0 : 1) << "step " << i;
    }
}

TEST_F(ApplicationTest, HintsWaitShowHideAndSwitchQuicklyOnTheVirtualClock)
{
    TForm* form = NewForm();
    form->Show();
    auto* a = new TGraphicControl(form);
    a->SetBounds(10, 10, 60, 30);
    a->SetHint("Open a file|Opens a file from the disk");
    a->SetShowHint(true);
    a->SetParent(form);
    auto* b = new TGraphicControl(form);
    b->SetBounds(100, 10, 60, 30);
    b->SetHint("Save");
    b->SetParent(form);
    form->SetShowHint(true);  // b takes it from its parent
    auto* quiet = new TGraphicControl(form);
    quiet->SetBounds(200, 10, 60, 30);
    quiet->SetParent(form);
    std::vector<std::string> shown;
    App->OnShowHint = [&](std::string& AHint, bool& ACanShow, THintInfo& AInfo) {
        shown.push_back(AHint);
        ACanShow = AInfo.HintControl != quiet;
    };
    auto visible = [&] {
        return App->HintWindow() && App->HintWindow()->HandleAllocated() &&
               IsWindowVisible(App->HintWindow()->Handle());
    };
    Pump();

    Display.MoveMouse(a->ClientToScreen({5, 5}));
    Pump();
    AdvanceMs(App->HintPause - 1);
    EXPECT_FALSE(visible());
    AdvanceMs(1);
    ASSERT_TRUE(visible());
    EXPECT_EQ(App->HintWindow()->Caption(), "Open a file");
    TRect r;
    GetWindowRect(App->HintWindow()->Handle(), r);
    EXPECT_GT(r.Top, a->ClientToScreen({5, 5}).Y);  // below the pointer
    AdvanceMs(App->HintHidePause - 1);
    EXPECT_TRUE(visible());
    AdvanceMs(1);
    EXPECT_FALSE(visible());
    Display.MoveMouse(a->ClientToScreen({6, 6}));  // no second showing while still on the same control
    Pump();
    AdvanceMs(App->HintPause);
    EXPECT_FALSE(visible());

    // From one shown hint to the next control takes only the short pause.
    Display.MoveMouse(form->ClientToScreen({90, 90}));
    Pump();
    Display.MoveMouse(a->ClientToScreen({5, 5}));
    Pump();
    AdvanceMs(App->HintPause);
    ASSERT_TRUE(visible());
    Display.MoveMouse(b->ClientToScreen({5, 5}));
    Pump();
    EXPECT_FALSE(visible());
    AdvanceMs(App->HintShortPause);
    ASSERT_TRUE(visible());
    EXPECT_EQ(App->HintWindow()->Caption(), "Save");

    // A press hides it; OnShowHint can refuse.
    Display.Click(b->ClientToScreen({5, 5}));
    Pump();
    EXPECT_FALSE(visible());
    quiet->SetHint("Never");
    quiet->SetShowHint(true);
    Display.MoveMouse(quiet->ClientToScreen({5, 5}));
    Pump();
    AdvanceMs(App->HintPause);
    EXPECT_FALSE(visible());
    EXPECT_EQ(shown, (std::vector<std::string>{"Open a file", "Open a file", "Save", "Never"}));
}

TEST_F(ApplicationTest, TimerTicksOnTheVirtualClockWhileEnabled)
{
    auto* timer = new TTimer(App.get());
    int ticks = 0;
    timer->SetInterval(100);
    timer->SetOnTimer([&](TObject*) { ++ticks; });
    AdvanceMs(99);
    EXPECT_EQ(ticks, 0);
    AdvanceMs(1);
    EXPECT_EQ(ticks, 1);
    AdvanceMs(100);
    EXPECT_EQ(ticks, 2);
    timer->SetInterval(500);  // starts the count again
    AdvanceMs(400);
    EXPECT_EQ(ticks, 2);
    AdvanceMs(100);
    EXPECT_EQ(ticks, 3);
    timer->SetEnabled(false);
    AdvanceMs(1000);
    EXPECT_EQ(ticks, 3);
    delete timer;
    AdvanceMs(1000);
    EXPECT_EQ(ticks, 3);
}

TEST_F(ApplicationTest, ExceptionsInHandlersShowAPlainMessageBoxAndTheLoopCarriesOn)
{
    TForm* form = NewForm();
    form->Show();
    auto* failing = new TCustomControl(form);
    failing->SetBounds(10, 10, 50, 30);
    failing->SetParent(form);
    failing->OnClick = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    std::string boxText;
    int shownBoxes = 0;
    // The box is modal: once it shows, press Enter to close it.
    Screen->OnActiveFormChange = [&](TObject*) {
        if (TCustomForm* box = CurrentPlainMessageBox(); box && Screen->ActiveForm() == box && !shownBoxes++) {
            boxText = box->Caption();
            Display.PressKey(VK_RETURN);
        }
    };
    App->SetTitle("Quennary");
    Display.Click(failing->ClientToScreen({5, 5}));
    Pump();
    EXPECT_EQ(shownBoxes, 1);
    EXPECT_EQ(boxText, "Quennary");
    EXPECT_EQ(CurrentPlainMessageBox(), nullptr);
    Screen->OnActiveFormChange = nullptr;

    std::string reported;
    App->OnException = [&](TObject*, const std::exception& E) { reported = E.what(); };
    Clock.Advance(1000000);  // not a double click
    Display.Click(failing->ClientToScreen({5, 5}));
    Pump();
    EXPECT_EQ(reported, "'x' is not a valid integer value");
}

TEST_F(ApplicationTest, MinimizeAndRestoreTakeAllForms)
{
    TForm* main = NewForm();
    TForm* other = NewForm(Bounds(0, 0, 100, 100));
    App->SetMainForm(main);
    main->Show();
    other->Show();
    App->Minimize();
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_TRUE(IsIconic(other->Handle()));
    App->Restore();
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_FALSE(IsIconic(other->Handle()));
    EXPECT_EQ(GetActiveWindow(), main->Handle());
}

}  // namespace
}  // namespace guitest
