#include "gui_fixture.h"

#include "platform/gui/forms.h"

#include <algorithm>
#include <string>
#include <vector>

namespace guitest {
namespace {

using namespace win;

std::string NameOf(TObject* AObject)
{
    if (auto* component = dynamic_cast<TComponent*>(AObject))
        return component->Name();
    return AObject ? "object" : "none";
}

// A form with a source, a control that takes drops and one that refuses them, each logging what it hears.
class DragDrop : public TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Form = NewForm();
        Source = Add(new TCustomControl(Form), "source", Bounds(10, 10, 60, 40));
        Acceptor = Add(new TCustomControl(Form), "acceptor", Bounds(150, 10, 80, 60));
        Refuser = Add(new TGraphicControl(Form), "refuser", Bounds(150, 120, 80, 60));
        Source->OnStartDrag = [this](TObject*, TDragObject*&) { Log.push_back("start"); };
        Source->OnEndDrag = [this](TObject*, TObject* ATarget, int AX, int AY) {
            Log.push_back("end " + NameOf(ATarget) + " " + std::to_string(AX) + "," + std::to_string(AY));
        };
        Source->OnClick = [this](TObject*) { Log.push_back("click"); };
        Acceptor->OnDragDrop = [this](TObject*, TObject* ASource, int AX, int AY) {
            Log.push_back("drop " + NameOf(ASource) + " " + std::to_string(AX) + "," + std::to_string(AY));
        };
        for (TControl* target : {static_cast<TControl*>(Acceptor), static_cast<TControl*>(Refuser)})
            target->OnDragOver = [this, target](TObject*, TObject*, int, int, TDragState AState, bool& AAccept) {
                static const char* const states[] = {"enter", "leave", "move"};
                if (Log.empty() || Log.back() != std::string(states[AState]) + " " + target->Name())
                    Log.push_back(std::string(states[AState]) + " " + target->Name());
                AAccept = target == Acceptor;
            };
        Form->Show();
        Pump();
    }

    template <typename T>
    T* Add(T* AControl, const char* AName, TRect ABounds)
    {
        AControl->SetName(AName);
        AControl->SetBoundsRect(ABounds);
        AControl->SetParent(Form);
        return AControl;
    }
    TPoint At(TControl* AControl, int AX = 20, int AY = 20) { return AControl->ClientToScreen({AX, AY}); }
    void MoveTo(TPoint APoint)
    {
        Display.MoveMouse(APoint);
        Pump();
    }
    HCURSOR CursorOf(TCursor ACursor) { return ::Screen->Cursors(ACursor); }

    TForm* Form = nullptr;
    TCustomControl* Source = nullptr;
    TCustomControl* Acceptor = nullptr;
    TGraphicControl* Refuser = nullptr;
    std::vector<std::string> Log;
};

TEST_F(DragDrop, AnAutomaticDragShowsWhereItMayDropAndDropsOnTheAcceptor)
{
    Source->SetDragMode(dmAutomatic);
    ASSERT_NE(CursorOf(crDrag), CursorOf(crNoDrop));
    Display.PressButton(At(Source));
    Pump();
    MoveTo(At(Source, 22, 21));  // within the threshold: still a press
    EXPECT_TRUE(Source->Dragging());
    EXPECT_TRUE(Log.empty());

    MoveTo(At(Acceptor, 5, 5));
    EXPECT_EQ(GetCursor(), CursorOf(crDrag));
    HWND holder = GetCapture();
    EXPECT_NE(holder, nullptr);
    EXPECT_NE(holder, Source->Handle());
    MoveTo(At(Refuser));
    EXPECT_EQ(GetCursor(), CursorOf(crNoDrop));
    EXPECT_EQ(GetCapture(), holder);  // the pointer stays held over every control
    MoveTo(At(Form, 300, 250));  // over no control that listens
    EXPECT_EQ(GetCursor(), CursorOf(crNoDrop));
    MoveTo(At(Acceptor, 3, 3));
    MoveTo(At(Acceptor, 7, 9));
    Display.ReleaseButton(At(Acceptor, 7, 9));
    Pump();

    EXPECT_EQ(Log, (std::vector<std::string>{"start", "enter acceptor", "leave acceptor", "enter refuser",
                                             "leave refuser", "enter acceptor", "move acceptor", "leave acceptor",
                                             "drop source 7,9", "end acceptor 7,9"}));
    EXPECT_FALSE(Source->Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragDrop, ARefusedDropAndEscapeEndWithoutATarget)
{
    struct TCase {
        const char* Name;
        bool Escape;
        std::vector<std::string> Expected;
    };
    const std::vector<TCase> cases = {
        {"released over a refuser", false, {"start", "enter refuser", "leave refuser", "end none 0,0"}},
        {"escape over an acceptor", true, {"start", "enter acceptor", "leave acceptor", "end none 0,0"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Log.clear();
        Source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Source->BeginDrag(true); };
        Display.PressButton(At(Source));
        Pump();
        TControl* over = c.Escape ? static_cast<TControl*>(Acceptor) : Refuser;
        MoveTo(At(over));
        if (c.Escape) {
            Display.PressKey(VK_ESCAPE);
            Pump();
            EXPECT_FALSE(Source->Dragging());
            EXPECT_EQ(GetCapture(), nullptr);
        }
        Display.ReleaseButton(At(over));
        Pump();
        EXPECT_EQ(Log, c.Expected);
        EXPECT_FALSE(DragInProgress());
    }
}

TEST_F(DragDrop, APressThatNeverMovesFarIsAClickAndADragObjectStandsInForTheSource)
{
    Source->SetDragMode(dmAutomatic);
    Display.Click(At(Source));
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
    EXPECT_FALSE(DragInProgress());

    // A control that drags something else hands out its own drag object; targets see that object.
    Log.clear();
    AdvanceMs(1000);  // not a double click
    TDragObject item;
    TObject* seen = nullptr;
    Source->OnStartDrag = [&](TObject*, TDragObject*& AObject) { AObject = &item; };
    Acceptor->OnDragDrop = [&](TObject*, TObject* ASource, int, int) { seen = ASource; };
    Display.Drag(At(Source), At(Acceptor), 3);
    Pump();
    EXPECT_EQ(seen, &item);
    EXPECT_EQ(Log.back(), "end acceptor 20,20");
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "click"), 0);
}

TEST_F(DragDrop, EndDragByCodeAndASourceDestroyedMidwayLeaveNoDragBehind)
{
    Source->BeginDrag(true);
    MoveTo(At(Acceptor));
    Source->EndDrag(true);
    EXPECT_EQ(Log.back(), "end acceptor 20,20");
    EXPECT_EQ(GetCapture(), nullptr);

    Source->BeginDrag(true);
    MoveTo(At(Acceptor));
    delete Source;
    Source = nullptr;
    EXPECT_FALSE(DragInProgress());
    EXPECT_EQ(GetCapture(), nullptr);
    Display.ReleaseButton(At(Acceptor));
    Pump();
}

}  // namespace
}  // namespace guitest
