// The multi-line field: its lines view, scroll state against rows and page, scrolling by message, word wrap
// at a width, vertical keys, Enter and Tab, and read-only typing.
#include "controls_fixture.h"

#include <algorithm>
#include <functional>

#include "platform/controls/memo.h"
#include "platform/controls/text_measure.h"
#include "platform/gdi/gdi.h"

namespace controlstest {
namespace {

class Memo : public TControlsFixture {
protected:
    TMemo* AddMemo(TRect ABounds = Bounds(10, 10, 200, 100))
    {
        auto* memo = AddEdit<TMemo>(ABounds);
        return memo;
    }
    SCROLLINFO Info(TMemo* AMemo, int ABar)
    {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        EXPECT_TRUE(GetScrollInfo(AMemo->Handle(), ABar, info));
        return info;
    }
    static void Fill(TMemo* AMemo, int ACount)
    {
        for (int i = 0; i < ACount; ++i)
            AMemo->Lines()->Add("line " + std::to_string(i));
    }
};

TEST_F(Memo, LinesViewReadsAndEditsTheText)
{
    auto* memo = AddMemo();
    EXPECT_EQ(memo->Lines()->Count(), 0);
    memo->Lines()->Add("one");
    memo->Lines()->Add("two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    memo->Lines()->Insert(1, "between");
    memo->Lines()->SetStrings(0, "first");
    memo->Lines()->Delete(2);
    EXPECT_EQ(memo->Text(), "first\r\nbetween\r\n");
    memo->SetText("a\nb\r\nc");
    EXPECT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Lines()->Strings(2), "c");
    EXPECT_THROW(memo->Lines()->Strings(3), EStringListError);
    memo->Lines()->Clear();
    EXPECT_EQ(memo->Text(), "");
}

TEST_F(Memo, ScrollStateFollowsRowsAndPage)
{
    auto* memo = AddMemo();
    int page = memo->FormatRect().Height() / memo->LineHeight();
    ASSERT_GT(page, 2);
    struct TCase {
        int Lines;
        int Max;
    };
    for (TCase c : {TCase{1, 1}, TCase{3, 3}, TCase{50, 50}}) {  // added lines end in a break: one row more
        SCOPED_TRACE(c.Lines);
        memo->Lines()->Clear();
        Fill(memo, c.Lines);
        SCROLLINFO vertical = Info(memo, SB_VERT);
        EXPECT_EQ(vertical.nMin, 0);
        EXPECT_EQ(vertical.nMax, c.Max);
        EXPECT_EQ(static_cast<int>(vertical.nPage), std::min(page, c.Max + 1));
        EXPECT_EQ(vertical.nPos, 0);
    }

    memo->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
    EXPECT_EQ(Info(memo, SB_VERT).nPos, 20);
    EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 20);
    memo->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(memo->FirstVisibleRow(), 21);
    memo->Perform(WM_VSCROLL, SB_LINEUP, 0);
    memo->Perform(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(memo->FirstVisibleRow(), 19);
    memo->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1000), 0);
    EXPECT_EQ(memo->FirstVisibleRow(), 51 - page);  // the last page stays full

    memo->Lines()->Add(std::string(200, 'W'));
    SCROLLINFO horizontal = Info(memo, SB_HORZ);
    EXPECT_EQ(static_cast<int>(horizontal.nPage), memo->FormatRect().Width());
    EXPECT_GT(horizontal.nMax, static_cast<int>(horizontal.nPage));
    memo->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), 0);
    EXPECT_EQ(Info(memo, SB_HORZ).nPos, 30);
    memo->Lines()->Delete(memo->Lines()->Count() - 1);  // the wide line gone, nothing to scroll sideways
    horizontal = Info(memo, SB_HORZ);
    EXPECT_LT(horizontal.nMax, static_cast<int>(horizontal.nPage));
}

TEST_F(Memo, WordWrapBreaksRowsAtTheWidth)
{
    auto* memo = AddMemo(Bounds(10, 10, 120, 200));
    memo->SetWordWrap(true);
    memo->SetText("the quick brown fox jumps over the lazy dog again and again\r\nshort\r\n" +
                  std::string(60, 'x'));
    int rows = static_cast<int>(memo->Perform(EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(rows, 5);
    EXPECT_EQ(Info(memo, SB_VERT).nMax, rows - 1);
    EXPECT_EQ(memo->Lines()->Count(), 3);  // wrapping shows rows, the lines stay
    HDC dc = GetDC(memo->Handle());
    SelectObject(dc, memo->Font()->Handle());
    TEditLayout layout(memo->Model());
    layout.SetDC(dc);
    layout.SetWrapWidth(memo->FormatRect().Width());
    for (int line = 0; line < 3; ++line)
        for (size_t sub = 0; sub < layout.RowStarts(line).size(); ++sub) {
            std::string row = layout.RowDisplay(line, static_cast<int>(sub));
            while (!row.empty() && row.back() == ' ')
                row.pop_back();
            EXPECT_LE(edittext::TextWidth(dc, row), memo->FormatRect().Width()) << row;
            if (line == 0 && sub + 1 < layout.RowStarts(line).size())
                EXPECT_EQ(layout.RowDisplay(line, static_cast<int>(sub)).back(), ' ');  // breaks between words
        }
    ReleaseDC(memo->Handle(), dc);

    memo->SetWordWrap(false);
    EXPECT_EQ(memo->Perform(EM_GETLINECOUNT, 0, 0), 3);
}

TEST_F(Memo, TheHorizontalRangeFollowsTheWidestLineThroughEdits)
{
    auto* memo = AddMemo();
    memo->SetText("a\r\nwide wide wide\r\nwide wide wide\r\nmid mid");
    // The widest width as a fresh measure of every line gives it.
    auto widest = [&] {
        HDC dc = GetDC(memo->Handle());
        SelectObject(dc, memo->Font()->Handle());
        int most = 0;
        for (int i = 0; i < memo->Lines()->Count(); ++i)
            most = std::max(most, edittext::TextWidth(dc, memo->Lines()->Strings(i)));
        ReleaseDC(memo->Handle(), dc);
        return most;
    };
    struct Step {
        const char* What;
        int Line;
        std::function<void()> Edit;
    };
    const Step steps[] = {
        {"typing on one of the two widest lines", 1, [&] { Type("xyz"); }},
        {"taking it back", 1, [&] { for (int i = 0; i < 3; ++i) Key(VK_BACK); }},
        {"shortening one widest line, the other stays", 2, [&] { for (int i = 0; i < 5; ++i) Key(VK_BACK); }},
        {"shortening the last widest line", 1, [&] { for (int i = 0; i < 10; ++i) Key(VK_BACK); }},
        {"typing on a short line past all others", 0, [&] { Type("longer than any other line now"); }},
    };
    EXPECT_EQ(Info(memo, SB_HORZ).nMax, widest());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.What);
        int end = 0;  // the end of the step's line, in characters (all of them ASCII)
        for (int i = 0; i <= step.Line; ++i)
            end += static_cast<int>(memo->Lines()->Strings(i).size()) + (i < step.Line ? 2 : 0);
        memo->SetSelStart(end);
        step.Edit();
        EXPECT_EQ(Info(memo, SB_HORZ).nMax, widest());
    }
    memo->Lines()->Delete(0);  // the widest line goes
    EXPECT_EQ(Info(memo, SB_HORZ).nMax, widest());
}

TEST_F(Memo, VerticalKeysPagesEnterAndTab)
{
    auto* memo = AddMemo();
    memo->SetText("abcdef\r\nab\r\nabcdef");
    memo->SetSelStart(4);
    Key(VK_DOWN);
    EXPECT_EQ(memo->SelStart(), 8 + 2);  // end of the short line
    Key(VK_DOWN);
    EXPECT_EQ(memo->SelStart(), 12 + 4);  // back to the remembered column
    Key(VK_UP, {VK_SHIFT});
    EXPECT_EQ(memo->SelLength(), 6);

    Key(VK_END, {VK_CONTROL});
    Key(VK_RETURN, {}, 13);
    Type("x");
    EXPECT_EQ(memo->Text(), "abcdef\r\nab\r\nabcdef\r\nx");
    Key(VK_TAB, {}, 9);
    EXPECT_EQ(memo->Lines()->Strings(3), "x");  // Tab is the form's
    memo->SetWantTabs(true);
    Key(VK_TAB, {}, 9);
    EXPECT_EQ(memo->Lines()->Strings(3), "x\t");
    memo->SetWantReturns(false);
    Key(VK_RETURN, {}, 13);
    EXPECT_EQ(memo->Lines()->Count(), 4);
    Key(VK_BACK, {}, 8);
    Key(VK_BACK, {}, 8);
    Key(VK_BACK, {}, 8);  // joins with the line before
    EXPECT_EQ(memo->Text(), "abcdef\r\nab\r\nabcdef");

    memo->Lines()->Clear();
    Fill(memo, 100);
    memo->SetSelStart(0);
    int page = memo->FormatRect().Height() / memo->LineHeight();
    Key(VK_NEXT);
    EXPECT_EQ(memo->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), page);
    EXPECT_EQ(memo->FirstVisibleRow(), page);
    Key(VK_PRIOR);
    EXPECT_EQ(memo->FirstVisibleRow(), 0);
}

TEST_F(Memo, ReadOnlyDropsTypingButCopies)
{
    auto* memo = AddMemo();
    memo->SetText("log line");
    memo->SetReadOnly(true);
    memo->SelectAll();
    Type("x");
    Key(VK_DELETE);
    Key(VK_RETURN, {}, 13);
    EXPECT_EQ(memo->Text(), "log line");
    Key('C', {VK_CONTROL}, 3);
    EXPECT_EQ(edittext::ClipboardText(), "log line");
}

}  // namespace
}  // namespace controlstest
