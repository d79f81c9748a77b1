// Keys a dialog takes unless the focused control keeps them (WM_GETDLGCODE), the context menu from the mouse
// and from the keyboard, and the mouse wheel going to the focused control and then its parents.
#include "gui_fixture.h"

#include "platform/gui/ext_controls.h"

#include <string>
#include <vector>

namespace guitest {
namespace {

using namespace win;

// A focusable control that answers WM_GETDLGCODE as told and logs the keys that reach it.
class TKeyBox : public TCustomControl {
public:
    TKeyBox(TComponent* AOwner, std::string AName, std::vector<std::string>* ALog)
        : TCustomControl(AOwner), FName(std::move(AName)), FLog(ALog)
    {
        SetTabStop(true);
    }
    LRESULT DialogCode = 0;
    bool WantsSpecialKeys = false;
    bool DefaultButton = false;  // takes Enter when the form offers it

    void WndProc(TMessage& AMessage) override
    {
        if (AMessage.Msg == WM_GETDLGCODE) {
            AMessage.Result = DialogCode;
            return;
        }
        if (AMessage.Msg == CM_WANTSPECIALKEY && WantsSpecialKeys) {
            AMessage.Result = 1;
            return;
        }
        if (AMessage.Msg == CM_DIALOGKEY && DefaultButton && AMessage.WParam == VK_RETURN) {
            FLog->push_back(FName + " default");
            AMessage.Result = 1;
            return;
        }
        TCustomControl::WndProc(AMessage);
    }

protected:
    void KeyDown(WORD& AKey, TShiftState AShift) override
    {
        FLog->push_back(FName + " key " + std::to_string(AKey));
        TCustomControl::KeyDown(AKey, AShift);
    }
    void KeyPress(char32_t& AKey) override
    {
        FLog->push_back(FName + " char " + std::string(1, static_cast<char>(AKey)));
        TCustomControl::KeyPress(AKey);
    }

private:
    std::string FName;
    std::vector<std::string>* FLog;
};

class KeyboardAndWheel : public TGuiFixture {
protected:
    void Build()
    {
        Form = NewForm();
        First = Add("first", 10);
        Second = Add("second", 40);
        Third = Add("third", 70);
        Form->Show();
        First->SetFocus();
        Pump();
        Log.clear();
    }
    TKeyBox* Add(const std::string& AName, int ATop)
    {
        auto* box = new TKeyBox(Form, AName, &Log);
        box->SetBounds(10, ATop, 100, 20);
        box->SetParent(Form);
        return box;
    }
    std::string Focused()
    {
        for (TKeyBox* box : {First, Second, Third})
            if (box->Focused())
                return box == First ? "first" : box == Second ? "second" : "third";
        return "none";
    }
    TForm* Form = nullptr;
    TKeyBox* First = nullptr;
    TKeyBox* Second = nullptr;
    TKeyBox* Third = nullptr;
    std::vector<std::string> Log;
};

TEST_F(KeyboardAndWheel, DialogKeysGoToTheFormUnlessTheFocusedControlKeepsThem)
{
    Build();
    struct TCase {
        const char* Name;
        LRESULT Code;
        bool WantsSpecial;
        int Key;
        std::string Focus;                // afterwards
        std::vector<std::string> Logged;  // by the controls
    };
    const TCase cases[] = {
        {"tab moves on", 0, false, VK_TAB, "second", {}},
        {"tab kept", DLGC_WANTTAB, false, VK_TAB, "first", {"first key 9", "first char \t"}},
        {"arrows kept are not tabs", DLGC_WANTARROWS, false, VK_TAB, "second", {}},
        {"arrow moves on", 0, false, VK_DOWN, "second", {}},
        {"arrow kept", DLGC_WANTARROWS, false, VK_DOWN, "first", {"first key 40"}},
        {"all keys keep the arrows too", DLGC_WANTALLKEYS, false, VK_RIGHT, "first", {"first key 39"}},
        {"enter goes to the default button", 0, false, VK_RETURN, "first", {"third default"}},
        {"enter kept", DLGC_WANTALLKEYS, false, VK_RETURN, "first", {"first key 13", "first char \r"}},
        {"enter is not an arrow", DLGC_WANTARROWS, false, VK_RETURN, "first", {"third default"}},
        {"all keys keep tab too", DLGC_WANTALLKEYS, false, VK_TAB, "first", {"first key 9", "first char \t"}},
        {"special-key answer keeps it", 0, true, VK_UP, "first", {"first key 38"}},
        {"page keys are never dialog keys", 0, false, VK_NEXT, "first", {"first key 34"}},
        {"characters only matter for characters", DLGC_WANTCHARS, false, VK_TAB, "second", {}},
    };
    Third->DefaultButton = true;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        First->SetFocus();
        Pump();
        First->DialogCode = c.Code;
        First->WantsSpecialKeys = c.WantsSpecial;
        Log.clear();
        Display.PressKey(c.Key);
        Pump();
        EXPECT_EQ(Focused(), c.Focus);
        EXPECT_EQ(Log, c.Logged);
    }
}

TEST_F(KeyboardAndWheel, PlainCharactersAreAcceleratorsOnlyWhereTheyAreNotTyped)
{
    Build();
    auto* label = new TLabel(Form);
    label->SetCaption("&Name");
    label->SetFocusControl(Third);
    label->SetParent(Form);
    Pump();
    Log.clear();
    First->DialogCode = DLGC_WANTCHARS;
    Display.PressKey('N', U'n');
    Pump();
    EXPECT_EQ(Focused(), "first");
    EXPECT_EQ(Log, (std::vector<std::string>{"first key 78", "first char n"}));
    First->DialogCode = 0;
    Log.clear();
    Display.PressKey('N', U'n');
    Pump();
    EXPECT_EQ(Focused(), "third");
    EXPECT_EQ(Log, (std::vector<std::string>{"first key 78"}));
}

// A windowless child that takes its context menu when told to.
class TSpot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

TEST_F(KeyboardAndWheel, ContextMenuFromTheMouseAndFromTheKeyboard)
{
    Build();
    std::vector<std::string> popups;
    auto record = [&](const std::string& AName, bool AHandle) {
        return [&popups, AName, AHandle](TObject*, TPoint AAt, bool& AHandled) {
            popups.push_back(AName + " " + std::to_string(AAt.X) + "," + std::to_string(AAt.Y));
            AHandled = AHandle;
        };
    };
    First->OnContextPopup = record("first", true);
    Form->OnContextPopup = record("form", true);
    auto* spot = new TSpot(Form);
    spot->SetBounds(200, 10, 50, 50);
    spot->SetParent(Form);
    spot->OnContextPopup = record("spot", true);
    Pump();
    TPoint firstCorner = First->ClientToScreen({0, 0});
    TPoint spotCorner = spot->ClientToScreen({0, 0});

    struct TCase {
        const char* Name;
        std::function<void()> Do;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {"right click, client coordinates",
         [&] { Display.Click({firstCorner.X + 5, firstCorner.Y + 6}, VK_RBUTTON); }, {"first 5,6"}},
        {"right click on a windowless child",
         [&] { Display.Click({spotCorner.X + 7, spotCorner.Y + 8}, VK_RBUTTON); }, {"spot 7,8"}},
        {"menu key", [&] { Display.PressKey(VK_APPS); }, {"first -1,-1"}},
        {"shift+F10",
         [&] {
             Display.KeyDown(VK_SHIFT);
             Display.PressKey(VK_F10);
             Display.KeyUp(VK_SHIFT);
         },
         {"first -1,-1"}},
        {"F10 alone is the menu bar's", [&] { Display.PressKey(VK_F10); }, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        First->SetFocus();
        Pump();
        popups.clear();
        c.Do();
        Pump();
        EXPECT_EQ(popups, c.Expected);
    }

    // Not taken, it goes on to the parents, windowless or not, with their own coordinates.
    First->OnContextPopup = record("first", false);
    spot->OnContextPopup = record("spot", false);
    popups.clear();
    Display.PressKey(VK_APPS);
    Display.Click({spotCorner.X + 1, spotCorner.Y + 2}, VK_RBUTTON);
    Pump();
    TPoint spotInForm = Form->ScreenToClient({spotCorner.X + 1, spotCorner.Y + 2});
    EXPECT_EQ(popups, (std::vector<std::string>{"first -1,-1", "form -1,-1", "spot 1,2",
                                                "form " + std::to_string(spotInForm.X) + "," +
                                                    std::to_string(spotInForm.Y)}));
}

TEST_F(KeyboardAndWheel, WheelGoesToTheFocusedControlThenItsParents)
{
    Form = NewForm();
    auto* panel = new TKeyBox(Form, "panel", &Log);
    panel->SetBounds(0, 0, 300, 200);
    panel->SetParent(Form);
    First = new TKeyBox(Form, "inner", &Log);
    First->SetBounds(10, 10, 100, 20);
    First->SetParent(panel);
    Form->Show();
    First->SetFocus();
    Pump();

    std::vector<std::string> events;
    First->OnMouseWheel = [&](TObject*, TShiftState, int ADelta, TPoint, bool&) {
        events.push_back("inner wheel " + std::to_string(ADelta));
    };
    First->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool&) { events.push_back("inner up"); };
    panel->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& AHandled) {
        events.push_back("panel down");
        AHandled = true;
    };
    panel->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& AHandled) {
        events.push_back("panel up");
        AHandled = true;
    };
    Form->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { events.push_back("form wheel"); };
    First->OnMouseHWheel = [&](TObject*, TShiftState, int ADelta, TPoint, bool& AHandled) {
        events.push_back("inner tilt " + std::to_string(ADelta));
        AHandled = ADelta > 0;
    };

    TPoint over = Form->ClientToScreen({250, 150});  // where the pointer is does not matter
    struct TCase {
        const char* Name;
        std::function<void()> Do;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {"a notch up: inner does not take it, the panel does",
         [&] { Display.Wheel(over, WHEEL_DELTA); }, {"inner wheel 120", "inner up", "panel up"}},
        {"a notch down", [&] { Display.Wheel(over, -WHEEL_DELTA); }, {"inner wheel -120", "panel down"}},
        {"half notches add up",
         [&] {
             Display.Wheel(over, 60);
             Display.Wheel(over, 60);
         },
         {"inner wheel 60", "form wheel", "inner wheel 60", "inner up", "panel up"}},
        {"tilted right, taken", [&] { Display.HWheel(over, WHEEL_DELTA); }, {"inner tilt 120"}},
        {"tilted left, nobody takes it", [&] { Display.HWheel(over, -WHEEL_DELTA); }, {"inner tilt -120"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        events.clear();
        c.Do();
        Pump();
        EXPECT_EQ(events, c.Expected);
    }
}

}  // namespace
}  // namespace guitest
