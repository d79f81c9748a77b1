// The skinned memo: mirroring the native scroll state into linked bars (the vertical and horizontal thresholds
// differ by one), scrolling from a bar, the read-only filter, the wheel, the disabled paint, and a form freed
// with a memo and its bar in either order.
#include <gtest/gtest.h>

#include "platform/controls/edit_clipboard.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_memo.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

using namespace win;

class SkinMemoTest : public controlstest::TControlsFixture {
protected:
    TspSkinMemo* NewMemo(TWinControl* AParent, Integer ALines, Integer AHeight = 60)
    {
        auto* m = new TspSkinMemo(AParent);
        m->SetParent(AParent);
        m->SetBounds(10, 10, 150, AHeight);
        for (Integer i = 0; i < ALines; ++i) m->Lines()->Add("line " + std::to_string(i));
        Pump();
        return m;
    }
    TspSkinScrollBar* NewBar(TWinControl* AParent, TScrollBarKind AKind)
    {
        auto* b = new TspSkinScrollBar(AParent);
        b->SetParent(AParent);
        b->SetKind(AKind);
        b->SetBounds(200, 10, AKind == sbVertical ? 16 : 100, AKind == sbVertical ? 100 : 16);
        return b;
    }
    SCROLLINFO Info(TspSkinMemo* AMemo, int ABar)
    {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        GetScrollInfo(AMemo->Handle(), ABar, info);
        return info;
    }
};

TEST_F(SkinMemoTest, VerticalBarMirrorsTheTextAndScrollsIt)
{
    auto* m = NewMemo(Form, 20);
    auto* bar = NewBar(Form, sbVertical);
    m->SetVScrollBar(bar);
    m->UpDateScrollRange();
    const SCROLLINFO info = Info(m, SB_VERT);
    ASSERT_GT(info.nMax + 1, static_cast<int>(info.nPage));
    EXPECT_TRUE(bar->Enabled());
    EXPECT_EQ(bar->Max(), info.nMax);
    EXPECT_EQ(bar->PageSize(), static_cast<int>(info.nPage));
    EXPECT_EQ(bar->Position(), 0);

    bar->SetPosition(5);  // the user moved the bar
    Pump();
    EXPECT_EQ(m->FirstVisibleRow(), 5);
    EXPECT_EQ(bar->Position(), 5);  // and it stays there

    m->SetFocus();
    Pump();
    Display.Wheel(ScreenPoint(m, 20, 20), 360);  // one line per message, whatever the delta
    Pump();
    EXPECT_EQ(m->FirstVisibleRow(), 4);
    EXPECT_EQ(bar->Position(), 4);

    m->Lines()->Clear();
    m->Lines()->Add("one line");
    Pump();
    EXPECT_FALSE(bar->Enabled());
    EXPECT_EQ(bar->Max(), 0);
}

TEST_F(SkinMemoTest, HorizontalBarNeedsAPageBelowTheWidthWhileTheVerticalNeedsOneBelowTheCount)
{
    auto* m = NewMemo(Form, 0, 60);
    const std::string line = "a line that sets the width";
    m->Lines()->Add(line);
    auto* hbar = NewBar(Form, sbHorizontal);
    auto* vbar = NewBar(Form, sbVertical);
    m->SetHScrollBar(hbar);
    m->SetVScrollBar(vbar);
    // Text rectangle: 3 in from the left, 4 from the right.
    const Integer lineWidth = m->Lines() ? Info(m, SB_HORZ).nMax : 0;
    m->SetWidth(lineWidth + 7);
    Pump();
    EXPECT_EQ(static_cast<int>(Info(m, SB_HORZ).nPage), Info(m, SB_HORZ).nMax);
    EXPECT_FALSE(hbar->Enabled());
    m->SetWidth(lineWidth + 6);
    Pump();
    EXPECT_TRUE(hbar->Enabled());

    // As many whole rows shown as the last row's index: one row is hidden, the vertical bar scrolls.
    while (Info(m, SB_VERT).nMax < static_cast<int>(Info(m, SB_VERT).nPage)) {
        m->Lines()->Add("more");
        Pump();
    }
    EXPECT_EQ(static_cast<int>(Info(m, SB_VERT).nPage), Info(m, SB_VERT).nMax);
    EXPECT_TRUE(vbar->Enabled());

    // Disabling the memo disables both bars and leaves their range alone.
    const Integer max = vbar->Max();
    m->SetEnabled(false);
    Pump();
    EXPECT_FALSE(vbar->Enabled());
    EXPECT_FALSE(hbar->Enabled());
    EXPECT_EQ(vbar->Max(), max);
}

TEST_F(SkinMemoTest, ReadOnlyDropsEditsButCtrlCCopies)
{
    auto* m = NewMemo(Form, 3);
    m->SetReadOnly(true);
    m->SetFocus();
    m->SelectAll();
    Pump();
    const std::string before = m->Text();
    Display.PressKey('X', U'x');
    Display.PressKey(VK_DELETE);
    Pump();
    m->CutToClipboard();
    m->ClearSelection();
    m->Undo();
    edittext::SetClipboardText(nullptr, "pasted");
    m->PasteFromClipboard();
    EXPECT_EQ(m->Text(), before);
    m->Perform(WM_CHAR, 3, 0);
    EXPECT_EQ(edittext::ClipboardText(), before);
}

TEST_F(SkinMemoTest, DisabledMemoPaintsTheLineTheBottomEdgeCuts)
{
    // Room for two lines and the top of a third.
    auto* m = NewMemo(Form, 5, 2 * 16 + 4 + 9);
    m->SetEnabled(false);
    Pump();
    m->Repaint();
    Pump();
    const TRect area = m->TextArea();
    bool textInLastRow = false;
    for (Integer y = area.Top + 32; y < area.Bottom; ++y)
        for (Integer x = area.Left; x < area.Left + 30; ++x)
            textInLastRow |= ScreenColor(m, x, y) == ColorToRGB(clGrayText);
    EXPECT_TRUE(textInLastRow);
}

TEST_F(SkinMemoTest, FormFreedWithAMemoAndItsBarInEitherOrder)
{
    for (bool barFirst : {true, false}) {
        auto* form = NewForm();
        form->Show();
        auto* m = NewMemo(form, 30);
        auto* bar = NewBar(form, sbVertical);
        m->SetVScrollBar(bar);
        if (barFirst) {
            delete bar;
            EXPECT_EQ(m->VScrollBar(), nullptr);
            m->Lines()->Add("after the bar went");
            Pump();
        } else {
            delete m;
            bar->SetPosition(3);  // raises OnChange; nothing may call into the memo
            Pump();
        }
        delete form;
        Pump();
    }
}

}  // namespace
