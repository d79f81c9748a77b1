// The skinned form's own window states, the platform's move and size loop on a skinned frame, and the snapping
// of a moved form to the work area's edges.
#include <algorithm>
#include <string>
#include <vector>

#include "skin/core/rect_helpers.h"
#include "skin_frame_fixture.h"

using namespace win;

namespace {

class WindowStatesTest : public formstest::TSkinFrameFixture {
protected:
    // A 1024 x 768 screen whose work area leaves a 40-pixel task bar at the bottom.
    void TaskBar() { Display.SetMonitors({{Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 728), true}}); }

    // Records the size and move messages the form's procedure sees, in order.
    void LogMessages()
    {
        TWndMethod inner = Form->WindowProc;
        Form->WindowProc = [this, inner](TMessage& M) {
            switch (M.Msg) {
            case WM_ENTERSIZEMOVE: Log.push_back("ENTERSIZEMOVE"); break;
            case WM_EXITSIZEMOVE: Log.push_back("EXITSIZEMOVE"); break;
            case WM_SIZING: Log.push_back("SIZING"); break;
            case WM_MOVING: Log.push_back("MOVING"); break;
            case WM_SIZE: Log.push_back("SIZE"); break;
            default: break;
            }
            inner(M);
        };
    }
    std::vector<std::string> Log;
};

TEST_F(WindowStatesTest, MaximizeFillsTheWorkAreaAndRestoreBringsTheBoundsBack)
{
    TaskBar();
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin(true));
    Pump();
    int maximized = 0, restored = 0;
    Corvalis->OnMaximize = [&](TObject*) { ++maximized; };
    Corvalis->OnRestore = [&](TObject*) { ++restored; };
    Corvalis->SetWindowState(wsMaximized);
    Pump();
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 0, 1024, 728));
    EXPECT_EQ(Corvalis->NewClRect, Rect(6, 22, 1018, 722));
    EXPECT_EQ(HitTest(1, 300), HTOBJECT) << "a maximized form has no sizing edges";
    Corvalis->SetWindowState(wsNormal);
    Pump();
    EXPECT_EQ(Form->BoundsRect(), Bounds(100, 100, 300, 200));
    EXPECT_EQ(Corvalis->NewClRect, Rect(6, 22, 294, 194));
    EXPECT_TRUE(IsEmptyRect(Corvalis->OldBoundsRect));
    EXPECT_EQ(maximized, 1);
    EXPECT_EQ(restored, 1);
}

TEST_F(WindowStatesTest, MaximizeLeavesAPixelWithoutTaskBarAndCoversTheMonitorOnFullScreen)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    Corvalis->SetWindowState(wsMaximized);
    EXPECT_EQ(Form->BoundsRect(), Rect(1, 1, 1023, 767));
    Corvalis->SetWindowState(wsNormal);
    TaskBar();
    Corvalis->SetMaximizeOnFullScreen(true);
    Corvalis->SetWindowState(wsMaximized);
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 0, 1024, 768));
    Corvalis->SetWindowState(wsNormal);
    EXPECT_EQ(Form->BoundsRect(), Bounds(100, 100, 300, 200));
}

TEST_F(WindowStatesTest, MaximizingAtTheSameSizeStillRealigns)
{
    TaskBar();
    NewSkinnedForm(Bounds(0, 0, 1024, 728));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    LogMessages();
    Corvalis->SetWindowState(wsMaximized);
    Pump();
    // The width nudge: one pixel narrower and back.
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "SIZE"), 2);
    EXPECT_EQ(Form->BoundsRect(), Rect(0, 0, 1024, 728));
}

TEST_F(WindowStatesTest, MinimizingTheMainFormMinimizesTheApplicationAndKeepsTheState)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    App->SetMainForm(Form);
    int minimized = 0;
    Corvalis->OnMinimize = [&](TObject*) { ++minimized; };
    Corvalis->SetWindowState(wsMinimized);
    Pump();
    EXPECT_EQ(Corvalis->WindowState(), wsNormal);
    EXPECT_TRUE(App->Minimized());
    EXPECT_EQ(minimized, 1);
}

TEST_F(WindowStatesTest, CaptionDragAndCornerResizeRunThroughTheSizeMoveLoop)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Form->SetBorderStyle(bsSizeable);
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    LogMessages();
    Display.Drag(At(150, 10), At(180, 40), 3);
    Pump();
    EXPECT_EQ(Form->BoundsRect(), Bounds(130, 130, 300, 200));
    EXPECT_EQ(Log, (std::vector<std::string>{"ENTERSIZEMOVE", "MOVING", "MOVING", "MOVING", "EXITSIZEMOVE"}));

    Log.clear();
    EXPECT_EQ(HitTest(298, 198), HTBOTTOMRIGHT);
    Display.Drag(At(298, 198), At(338, 228), 2);
    Pump();
    EXPECT_EQ(Form->BoundsRect(), Bounds(130, 130, 340, 230));
    EXPECT_EQ(Log, (std::vector<std::string>{"ENTERSIZEMOVE", "SIZING", "SIZE", "SIZING", "SIZE", "EXITSIZEMOVE"}));
    // The frame follows the new size: its client part, the button and the caption.
    EXPECT_EQ(Corvalis->NewClRect, Rect(6, 22, 334, 224));
    EXPECT_EQ(Button("close")->ObjectRect, Rect(322, 2, 336, 16));
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 328, 202));
}

TEST_F(WindowStatesTest, MagneticEdgesSnapAndReleaseByTheCursor)
{
    TaskBar();
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetMagnetic(true);
    struct TStep {
        TPoint Cursor;
        Integer Left, Top;  // proposed
        Integer WantLeft, WantTop;
    };
    // A 300 x 200 form in a 1024 x 728 work area, MagneticSize 10.
    // Each proposal is where the drag would put the form next.
    const TStep steps[] = {
        {{500, 500}, 9, 300, 0, 300},      // 9 pixels from the left edge: snaps
        {{505, 500}, 5, 300, 0, 300},      // the cursor moved 5: held
        {{511, 500}, 11, 300, 11, 300},    // moved 11 from the snap: follows the cursor again
        {{520, 500}, 20, 300, 20, 300},    // free
        {{600, 600}, 718, 520, 724, 528},  // near the right and bottom edges: both snap
        {{603, 603}, 727, 531, 724, 528},  // held
    };
    for (const TStep& s : steps) {
        Display.MoveMouse(s.Cursor);
        Pump();
        Integer left = s.Left, top = s.Top;
        Corvalis->DoMagnetic(left, top, 300, 200);
        EXPECT_EQ(left, s.WantLeft) << s.Left << "," << s.Top;
        EXPECT_EQ(top, s.WantTop) << s.Left << "," << s.Top;
    }
    // A new drag (a size change clears the flags) near the top edge.
    Corvalis->HMagnetized = Corvalis->VMagnetized = Corvalis->HMagnetized2 = Corvalis->VMagnetized2 = false;
    Integer left = 300, top = -9;
    Corvalis->DoMagnetic(left, top, 300, 200);
    EXPECT_EQ(left, 300);
    EXPECT_EQ(top, 0);
}

TEST_F(WindowStatesTest, ADragEndsOnTheEdgeThatSnapped)
{
    TaskBar();
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Corvalis->SetMagnetic(true);
    Pump();
    Display.Drag(At(150, 10), At(58, 10), 4);
    Pump();
    EXPECT_EQ(Form->Left(), 0) << "8 pixels from the edge";
    EXPECT_EQ(Form->Top(), 100);
}

TEST_F(WindowStatesTest, RollUpKeepsTheFrameAndRollDownGivesTheHeightBack)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    Corvalis->SetSkinData(MakeSkin());
    Pump();
    Corvalis->SetRollUpState(true);
    Pump();
    EXPECT_EQ(Form->Height(), 28) << "the frame without its client part";
    EXPECT_EQ(HitTest(150, 10), HTCAPTION);
    Corvalis->SetRollUpState(false);
    Pump();
    EXPECT_EQ(Form->Height(), 200);
    Corvalis->SetBorderIcons({});
    Corvalis->SetRollUpState(true);
    EXPECT_FALSE(Corvalis->RollUpState()) << "refused without the roll-up icon";
}

}  // namespace
