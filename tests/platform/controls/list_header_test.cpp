// The list view's header window: its announcement and class name, section rectangles, order and hit test
// through messages, divider dragging and section moves by mouse, and a window procedure put in and taken out.
#include "lists_fixture.h"

#include "platform/controls/lists/list_view.h"
#include "platform/win/message_queue.h"
#include "platform/win/window.h"

#include <string>
#include <vector>

namespace liststest {
namespace {

using namespace win;
using namespace lists;

class ListHeader : public TListsFixture {
public:
    // A report view whose header announced itself through WM_PARENTNOTIFY.
    TListView* Make()
    {
        View = new TListView(Form);
        View->SetBounds(10, 10, 300, 200);
        View->SetViewStyle(vsReport);
        View->AddColumn("Name", 100);
        View->AddColumn("Size", 60);
        View->AddColumn("Type", 80);
        TWndMethod previous = View->WindowProc;
        View->WindowProc = [this, previous](TMessage& AMessage) {
            if (AMessage.Msg == WM_PARENTNOTIFY && LOWORD(AMessage.WParam) == WM_CREATE)
                Announced.push_back(GetClassName(reinterpret_cast<HWND>(AMessage.LParam)));
            previous(AMessage);
        };
        View->SetParent(Form);
        Form->Show();
        Pump();
        HeaderWindow = reinterpret_cast<HWND>(View->Perform(LVM_GETHEADER, 0, 0));
        return View;
    }
    TRect SectionRect(int AIndex)
    {
        RECT rect{};
        EXPECT_TRUE(SendMessage(HeaderWindow, HDM_GETITEMRECT, AIndex, reinterpret_cast<LPARAM>(&rect)));
        return rect;
    }
    std::vector<int> Order()
    {
        int count = static_cast<int>(SendMessage(HeaderWindow, HDM_GETITEMCOUNT, 0, 0));
        std::vector<int> order(count);
        SendMessage(HeaderWindow, HDM_GETORDERARRAY, count, reinterpret_cast<LPARAM>(order.data()));
        return order;
    }
    TPoint OnHeader(int AX) { return View->Header()->ClientToScreen({AX, 10}); }

    TListView* View = nullptr;
    HWND HeaderWindow = nullptr;
    std::vector<std::string> Announced;
};

TEST_F(ListHeader, AnnouncedWithItsClassNameAndAnsweringItsMessages)
{
    Make();
    EXPECT_EQ(Announced, (std::vector<std::string>{"SysHeader32"}));
    ASSERT_NE(HeaderWindow, nullptr);
    EXPECT_EQ(GetClassName(HeaderWindow), "SysHeader32");
    EXPECT_EQ(SendMessage(HeaderWindow, HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SectionRect(0), Rect(0, 0, 100, 20));
    EXPECT_EQ(SectionRect(2), Rect(160, 0, 240, 20));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));

    int order[] = {2, 0, 1};
    SendMessage(HeaderWindow, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(Order(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(SectionRect(0), Rect(80, 0, 180, 20));
    int broken[] = {0, 0, 1};  // not every section once: refused
    EXPECT_FALSE(SendMessage(HeaderWindow, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(broken)));
    EXPECT_EQ(Order(), (std::vector<int>{2, 0, 1}));

    struct TCase {
        int X, Y;
        UINT Flags;
        int Item;
    };
    const TCase cases[] = {
        {10, 5, HHT_ONHEADER, 2},       {75, 5, HHT_ONHEADER, 2},   {76, 5, HHT_ONDIVIDER, 2},
        {79, 5, HHT_ONDIVIDER, 2},
        {83, 5, HHT_ONDIVIDER, 2},      {84, 5, HHT_ONHEADER, 0},   {176, 5, HHT_ONDIVIDER, 0},
        {238, 5, HHT_ONDIVIDER, 1},     {243, 5, HHT_ONDIVIDER, 1}, {244, 5, HHT_NOWHERE | HHT_TORIGHT, -1},
        {-3, 5, HHT_TOLEFT, -1},        {50, 25, HHT_NOWHERE, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
        HDHITTESTINFO info;
        info.pt = {c.X, c.Y};
        EXPECT_EQ(SendMessage(HeaderWindow, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), c.Item);
        EXPECT_EQ(info.flags, c.Flags);
        EXPECT_EQ(info.iItem, c.Item);
    }
}

TEST_F(ListHeader, DraggingADividerResizesTheColumnAndClickingASectionIsAColumnClick)
{
    Make();
    std::vector<std::string> clicks;
    View->OnColumnClick = [&](TObject*, TListColumn* AColumn) { clicks.push_back(AColumn->Caption); };
    std::vector<UINT> notified;
    TWndMethod previous = View->WindowProc;
    View->WindowProc = [&](TMessage& AMessage) {
        if (AMessage.Msg == WM_NOTIFY)
            notified.push_back(reinterpret_cast<NMHEADER*>(AMessage.LParam)->hdr.code);
        previous(AMessage);
    };
    Display.Drag(OnHeader(101), OnHeader(141), 4);
    Pump();
    EXPECT_EQ(View->Column(0)->Width, 140);
    EXPECT_EQ(SectionRect(1), Rect(140, 0, 200, 20));
    EXPECT_EQ(ScrollState(View->Handle(), SB_HORZ).Max, 279);
    ASSERT_GE(notified.size(), 3u);
    EXPECT_EQ(notified.front(), HDN_BEGINTRACK);
    EXPECT_EQ(notified[1], HDN_TRACK);
    EXPECT_EQ(notified.back(), HDN_ENDTRACK);
    EXPECT_TRUE(clicks.empty());

    Display.Click(OnHeader(170));
    Pump();
    EXPECT_EQ(clicks, (std::vector<std::string>{"Size"}));

    // A section dragged past its neighbours moves its column, which keeps showing its own data.
    Display.Drag(OnHeader(50), OnHeader(230), 6);
    Pump();
    ASSERT_EQ(View->ColumnCount(), 3);
    EXPECT_EQ(View->Column(0)->Caption, "Size");
    EXPECT_EQ(View->Column(2)->Caption, "Name");
    EXPECT_EQ(View->Column(2)->DataIndex, 0);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(clicks.size(), 1u);
    View->WindowProc = previous;
}

TEST_F(ListHeader, AReplacedWindowProcedureSeesTheHeaderAndIsTakenOutAgain)
{
    Make();
    int paints = 0, counts = 0;
    WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLong(HeaderWindow, GWL_WNDPROC));
    WNDPROC hook = MakeObjectInstance([&](HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam) -> LRESULT {
        if (AMsg == WM_PAINT)
            ++paints;
        if (AMsg == HDM_GETITEMCOUNT)
            ++counts;
        if (AMsg == WM_WINDOWPOSCHANGING) {
            // The skinned view widens its header so the last section never ends short of the edge.
            auto* pos = reinterpret_cast<WINDOWPOS*>(ALParam);
            if (!(pos->flags & SWP_NOSIZE))
                pos->cx += 25;
        }
        return CallWindowProc(original, AWindow, AMsg, AWParam, ALParam);
    });
    SetWindowLong(HeaderWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(hook));
    View->SetWidth(320);
    Pump();
    EXPECT_EQ(View->Header()->Width(), 345);
    EXPECT_EQ(SendMessage(HeaderWindow, HDM_GETITEMCOUNT, 0, 0), 3);
    View->Header()->Invalidate();
    Pump();
    EXPECT_EQ(counts, 1);
    EXPECT_GE(paints, 1);

    SetWindowLong(HeaderWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    FreeObjectInstance(hook);
    View->SetWidth(300);
    View->Header()->Invalidate();
    Pump();
    EXPECT_EQ(View->Header()->Width(), 300);
    EXPECT_EQ(SendMessage(HeaderWindow, HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(counts, 1);
    // The header still works by mouse with its own procedure back.
    Display.Drag(OnHeader(101), OnHeader(121), 2);
    Pump();
    EXPECT_EQ(View->Column(0)->Width, 120);
}

}  // namespace
}  // namespace liststest
