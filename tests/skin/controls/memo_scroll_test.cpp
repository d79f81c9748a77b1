// Scrolling memos by a line: the platform's memo and the skinned one over its own colour move the text on screen
// and leave one line to paint; the skinned memo over its background picture paints everything again. Each result
// equals a full repaint.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/controls/memo.h"
#include "skin/controls/skin_memo.h"
#include "tests/skin/controls/controls_fixture.h"
#include "tests/skin/controls/scroll_check.h"

namespace {

class MemoScroll : public controlstest::TControlsFixture {
protected:
    int64_t ScrollAndCompare(TWinControl* AMemo, win::WPARAM ACode)
    {
        Pump();
        AMemo->Perform(win::WM_VSCROLL, ACode, 0);
        const int64_t pending = scrollcheck::PendingArea(AMemo);
        Pump();
        const auto scrolled = scrollcheck::ClientPixels(Display, AMemo);
        AMemo->Invalidate();
        Pump();
        const auto repainted = scrollcheck::ClientPixels(Display, AMemo);
        const TPoint at = scrollcheck::FirstDifference(scrolled, repainted, AMemo->ClientWidth());
        EXPECT_EQ(at, (TPoint{-1, -1})) << "the scrolled memo differs from a full repaint at " << at.X << ", " << at.Y;
        return pending;
    }
};

TEST_F(MemoScroll, ALineScrollPaintsOneLineUnlessTheBackgroundStaysPut)
{
    struct Case {
        const char* Name;
        std::function<TMemo*()> Make;
        bool BackgroundMoves;
    };
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + std::string(i % 9, 'w') + "\r\n";
    const Case cases[] = {
        {"platform memo",
         [&] {
             auto* m = new TMemo(Form);
             m->SetParent(Form);
             m->SetBounds(10, 10, 200, 107);  // a line cut by the bottom edge
             return m;
         },
         true},
        {"skinned memo over its own colour",
         [&] {
             auto* m = new TspSkinMemo(Form);
             m->SetParent(Form);
             m->SetBounds(10, 10, 200, 107);
             m->SetBitMapBG(false);
             return static_cast<TMemo*>(m);
         },
         true},
        {"skinned memo over its background",
         [&] {
             auto* m = new TspSkinMemo(Form);
             m->SetParent(Form);
             m->SetBounds(10, 10, 200, 107);
             return static_cast<TMemo*>(m);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemo* memo = c.Make();
        memo->SetText(text);
        memo->SetSelStart(3);
        memo->SetSelLength(20);  // a selection that scrolls with the text
        Pump();
        const TRect area = memo->FormatRect();
        const int64_t line = static_cast<int64_t>(memo->LineHeight()) * area.Width();
        const int64_t whole = static_cast<int64_t>(memo->ClientHeight()) * memo->ClientWidth();
        for (win::WPARAM code : {win::SB_LINEDOWN, win::SB_LINEDOWN, win::SB_LINEUP}) {
            const int64_t pending = ScrollAndCompare(memo, code);
            if (c.BackgroundMoves)
                EXPECT_EQ(pending, line);
            else
                EXPECT_EQ(pending, whole);
        }
        EXPECT_EQ(memo->FirstVisibleRow(), 1);
        // A page and a jump to the end paint the whole text area.
        EXPECT_GE(ScrollAndCompare(memo, win::SB_PAGEDOWN), static_cast<int64_t>(area.Width()) * area.Height());
        EXPECT_GE(ScrollAndCompare(memo, win::SB_BOTTOM), static_cast<int64_t>(area.Width()) * area.Height());
        delete memo;
    }
}

}  // namespace
