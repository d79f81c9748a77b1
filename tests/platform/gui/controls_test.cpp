#include "gui_fixture.h"

#include <string>
#include <vector>

namespace guitest {
namespace {

using namespace win;

// A windowless control that reports what reaches it.
class TProbe : public TGraphicControl {
public:
    TProbe(TComponent* AOwner, std::string AName, std::vector<std::string>* ALog) : TGraphicControl(AOwner), FLog(ALog)
    {
        FTag = std::move(AName);
        OnMouseEnter = [this](TObject*) { FLog->push_back("enter " + FTag); };
        OnMouseLeave = [this](TObject*) { FLog->push_back("leave " + FTag); };
        OnClick = [this](TObject*) { FLog->push_back("click " + FTag); };
        OnMouseDown = [this](TObject*, TMouseButton, TShiftState AShift, int AX, int AY) {
            FLog->push_back("down " + FTag + " " + std::to_string(AX) + "," + std::to_string(AY) +
                            (AShift.Contains(ssDouble) ? " double" : ""));
        };
    }

private:
    std::string FTag;
    std::vector<std::string>* FLog;
};

// A focusable windowed control that reports entering and leaving.
class TFocusProbe : public TCustomControl {
public:
    TFocusProbe(TComponent* AOwner, std::string AName, std::vector<std::string>* ALog) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetName(AName);
        OnEnter = [this, ALog](TObject*) { ALog->push_back("enter " + Name()); };
        OnExit = [this, ALog](TObject*) { ALog->push_back("exit " + Name()); };
    }
};

class Controls : public TGuiFixture {};

TEST_F(Controls, AlignmentPlacesControlsByKindAndPosition)
{
    struct TChild {
        TAlign Align;
        TRect Start;
        TRect Expected;
        bool Visible = true;
    };
    struct TCase {
        const char* Name;
        std::vector<TChild> Children;
    };
    // The client area is 200 x 100.
    const std::vector<TCase> cases = {
        {"one of each",
         {{alClient, Bounds(0, 0, 5, 5), Bounds(30, 20, 130, 70)},
          {alTop, Bounds(0, 0, 5, 20), Bounds(0, 0, 200, 20)},
          {alBottom, Bounds(0, 0, 5, 10), Bounds(0, 90, 200, 10)},
          {alLeft, Bounds(0, 0, 30, 5), Bounds(0, 20, 30, 70)},
          {alRight, Bounds(0, 0, 40, 5), Bounds(160, 20, 40, 70)}}},
        {"tops stack by their place, not their order",
         {{alTop, Bounds(0, 50, 5, 15), Bounds(0, 10, 200, 15)}, {alTop, Bounds(0, 0, 5, 10), Bounds(0, 0, 200, 10)}}},
        {"rights stack from the right edge",
         {{alRight, Bounds(100, 0, 20, 5), Bounds(160, 0, 20, 100)},
          {alRight, Bounds(180, 0, 20, 5), Bounds(180, 0, 20, 100)}}},
        {"hidden controls take no room",
         {{alTop, Bounds(0, 0, 5, 30), Bounds(0, 0, 5, 30), false}, {alClient, Bounds(0, 0, 5, 5), Bounds(0, 0, 200, 100)}}},
        {"unaligned controls stay",
         {{alNone, Bounds(7, 8, 9, 10), Bounds(7, 8, 9, 10)}, {alLeft, Bounds(0, 0, 50, 5), Bounds(0, 0, 50, 100)}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm* form = NewForm();
        form->SetClientSize(200, 100);
        form->HandleNeeded();
        std::vector<TControl*> made;
        for (const TChild& child : c.Children) {
            TControl* control = (made.size() % 2) ? static_cast<TControl*>(new TCustomControl(form))
                                                  : static_cast<TControl*>(new TGraphicControl(form));
            control->SetVisible(child.Visible);
            control->SetBoundsRect(child.Start);
            control->SetAlign(child.Align);
            control->SetParent(form);
            made.push_back(control);
        }
        for (size_t i = 0; i < made.size(); ++i)
            EXPECT_EQ(made[i]->BoundsRect(), c.Children[i].Expected) << "child " << i;
        delete form;
    }
}

TEST_F(Controls, ResizingTheParentRealignsAndKeepsAnchoredDistances)
{
    TForm* form = NewForm();
    form->SetClientSize(200, 100);
    form->Show();
    auto* client = new TGraphicControl(form);
    client->SetAlign(alClient);
    client->SetParent(form);
    struct TCase {
        TAnchors Anchors;
        TRect Start;
        TRect Expected;  // after the client area grew by 100 x 50
    };
    const std::vector<TCase> cases = {
        {{akLeft, akTop}, Bounds(10, 10, 20, 20), Bounds(10, 10, 20, 20)},
        {{akRight, akBottom}, Bounds(150, 70, 20, 10), Bounds(250, 120, 20, 10)},
        {{akLeft, akRight, akTop}, Bounds(10, 10, 180, 10), Bounds(10, 10, 280, 10)},
        {{akTop, akBottom}, Bounds(0, 10, 10, 80), Bounds(50, 10, 10, 130)},
    };
    std::vector<TControl*> anchored;
    for (const TCase& c : cases) {
        auto* control = new TCustomControl(form);
        control->SetBoundsRect(c.Start);
        control->SetAnchors(c.Anchors);
        control->SetParent(form);
        anchored.push_back(control);
    }
    form->SetClientSize(300, 150);
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 0, 300, 150));
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(anchored[i]->BoundsRect(), cases[i].Expected) << "case " << i;
}

TEST_F(Controls, WindowlessSiblingsHearEnterLeaveAndClicks)
{
    std::vector<std::string> log;
    TForm* form = NewForm();
    form->Show();
    auto* a = new TProbe(form, "A", &log);
    a->SetBounds(10, 10, 50, 30);
    a->SetParent(form);
    auto* b = new TProbe(form, "B", &log);
    b->SetBounds(70, 10, 50, 30);
    b->SetParent(form);
    auto* panel = new TCustomControl(form);
    panel->SetBounds(10, 60, 100, 40);
    panel->SetParent(form);
    auto* c = new TProbe(form, "C", &log);
    c->SetBounds(5, 5, 20, 20);
    c->SetParent(panel);
    Pump();
    auto at = [&](TControl* AControl, int AX, int AY) { return AControl->ClientToScreen({AX, AY}); };

    Display.MoveMouse(at(a, 5, 5));
    Pump();
    Display.MoveMouse(at(b, 5, 5));
    Pump();
    Display.MoveMouse(at(form, 65, 5));  // between them, on the form itself
    Pump();
    Display.MoveMouse(at(c, 1, 1));  // inside a windowed child
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"enter A", "leave A", "enter B", "leave B", "enter C"}));

    log.clear();
    Display.Click(at(b, 5, 6));
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"leave C", "enter B", "down B 5,6", "click B"}));

    // Pressed on A, released on B: A keeps the pointer, so neither is clicked and B is not pressed.
    log.clear();
    Display.PressButton(at(a, 2, 2));
    Pump();
    Display.MoveMouse(at(b, 2, 2));
    Pump();
    Display.ReleaseButton(at(b, 2, 2));
    Pump();
    EXPECT_EQ(std::count(log.begin(), log.end(), "click A"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "click B"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "down B 2,2"), 0);
    EXPECT_EQ(GetCapture(), nullptr);

    // A double click reports ssDouble on the second press.
    log.clear();
    Display.Click(at(a, 3, 3));
    Display.Click(at(a, 3, 3));
    Pump();
    EXPECT_NE(std::find(log.begin(), log.end(), "down A 3,3 double"), log.end());

    // A control that goes away while under the pointer is forgotten, not told.
    Display.MoveMouse(at(b, 1, 1));
    Pump();
    delete b;
    EXPECT_EQ(MouseOverControl(), nullptr);
    Display.MoveMouse(at(a, 1, 1));
    Pump();
    EXPECT_EQ(MouseOverControl(), a);
}

TEST_F(Controls, TabOrderMovesTheFocusAndSkipsWhatCannotTakeIt)
{
    std::vector<std::string> log;
    TForm* form = NewForm();
    auto add = [&](const std::string& AName, TWinControl* AParent, int AX) {
        auto* control = new TFocusProbe(form, AName, &log);
        control->SetBounds(AX, 10, 30, 20);
        control->SetParent(AParent);
        return control;
    };
    auto* e1 = add("e1", form, 10);
    auto* e2 = add("e2", form, 50);
    auto* panel = new TFocusProbe(form, "panel", &log);
    panel->SetTabStop(false);
    panel->SetBounds(10, 50, 200, 60);
    panel->SetParent(form);
    auto* e4 = add("e4", panel, 10);
    auto* off = add("off", panel, 50);
    off->SetEnabled(false);
    auto* e3 = add("e3", form, 90);
    e3->SetTabOrder(0);  // e3, e1, e2, panel (e4, off)
    EXPECT_EQ(e3->TabOrder(), 0);
    EXPECT_EQ(e1->TabOrder(), 1);

    form->Show();
    Pump();
    EXPECT_EQ(form->ActiveControl(), e3);
    EXPECT_EQ(GetFocus(), e3->Handle());
    EXPECT_EQ(Screen->ActiveForm(), form);

    auto tab = [&](bool ABack) {
        if (ABack)
            Display.KeyDown(VK_SHIFT);
        Display.PressKey(VK_TAB);
        if (ABack)
            Display.KeyUp(VK_SHIFT);
        Pump();
        return static_cast<TFocusProbe*>(TWinControl::FindControl(GetFocus()));
    };
    EXPECT_EQ(tab(false), e1);
    EXPECT_EQ(tab(false), e2);
    EXPECT_EQ(tab(false), e4);  // into the panel; the disabled one is passed over
    EXPECT_EQ(tab(false), e3);  // round again
    EXPECT_EQ(tab(true), e4);
    EXPECT_EQ(form->ActiveControl(), e4);
    EXPECT_EQ(Screen->ActiveControl(), e4);

    // Leaving the panel exits it too; entering from outside enters it first.
    log.clear();
    e1->SetFocus();
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"exit e4", "exit panel", "enter e1"}));
    EXPECT_TRUE(e1->Focused());

    // Controls that cannot take the focus refuse to become the active control.
    EXPECT_FALSE(off->CanFocus());
    EXPECT_THROW(form->SetActiveControl(off), EInvalidOperation);
    e2->SetVisible(false);
    EXPECT_EQ(tab(false), e4);
}

}  // namespace
}  // namespace guitest
