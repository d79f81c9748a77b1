// The single-line field: typing and keys over UTF-8 text, limits and case, the password look, undo, the
// clipboard between two fields, the mouse, messages a control on top can drop, and transparent painting.
#include "controls_fixture.h"

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"

#include <functional>
#include <vector>

namespace controlstest {
namespace {

class Edit : public TControlsFixture {};

struct TEditCase {
    const char* Name;
    std::string Start;  // text set first; the caret is then at the end
    std::function<void(Edit&, TEdit*)> Act;
    std::string Text;
    int SelStart;
    int SelLength;
};

TEST_F(Edit, KeysWordsAndCharactersTable)
{
    const std::string accent = "e\xCC\x81";  // e + combining acute: one character on screen
    std::vector<TEditCase> cases = {
        {"typing inserts at the caret", "abc",
         [](Edit& t, TEdit*) {
             t.Key(VK_LEFT);
             t.Key(VK_LEFT);
             t.Type("X");
         },
         "aXbc", 2, 0},
        {"home and end", "hello",
         [](Edit& t, TEdit*) {
             t.Key(VK_HOME);
             t.Type(">");
             t.Key(VK_END);
             t.Type("<");
         },
         ">hello<", 7, 0},
        {"shift extends, typing replaces", "hello world",
         [](Edit& t, TEdit*) { t.Key(VK_LEFT, {VK_SHIFT, VK_CONTROL}); t.Type("there"); }, "hello there", 11, 0},
        {"ctrl+arrows step by words", "one two  three",
         [](Edit& t, TEdit*) {
             t.Key(VK_HOME);
             t.Key(VK_RIGHT, {VK_CONTROL});
             t.Key(VK_RIGHT, {VK_CONTROL});
         },
         "one two  three", 9, 0},
        {"backspace takes one accented character", "caf" + accent,
         [](Edit& t, TEdit*) { t.Key(VK_BACK, {}, 8); }, "caf", 3, 0},
        {"the caret never stops inside a combining sequence", "x" + accent + "y",
         [](Edit& t, TEdit*) {
             t.Key(VK_LEFT);
             t.Key(VK_LEFT);
             t.Key(VK_LEFT, {VK_SHIFT});
         },
         "x" + accent + "y", 0, 1},
        {"delete is a key, not a character", accent + "z",
         [](Edit& t, TEdit*) {
             t.Key(VK_HOME);
             t.Key(VK_DELETE);
         },
         "z", 0, 0},
        {"CJK characters step one at a time", "日本語",
         [](Edit& t, TEdit*) {
             t.Key(VK_LEFT);
             t.Key(VK_BACK, {}, 8);
             t.Type("中");
         },
         "日中語", 2, 0},
        {"shift+home selects back to the start", "Grüße",
         [](Edit& t, TEdit*) {
             t.Key(VK_LEFT);
             t.Key(VK_HOME, {VK_SHIFT});
         },
         "Grüße", 0, 4},
        {"left with a selection goes to its start", "abcdef",
         [](Edit& t, TEdit*) {
             t.Key(VK_LEFT, {VK_SHIFT});
             t.Key(VK_LEFT, {VK_SHIFT});
             t.Key(VK_LEFT);
         },
         "abcdef", 4, 0},
        {"ctrl+a selects all", "abc", [](Edit& t, TEdit*) { t.Key('A', {VK_CONTROL}, 1); }, "abc", 0, 3},
        {"max length stops typing", "",
         [](Edit& t, TEdit* e) {
             e->SetMaxLength(4);
             t.Type("abcdef");
         },
         "abcd", 4, 0},
        {"max length counts characters, not bytes", "",
         [](Edit& t, TEdit* e) {
             e->SetMaxLength(3);
             t.Type("äöüß");
         },
         "äöü", 3, 0},
        {"upper case on input", "",
         [](Edit& t, TEdit* e) {
             e->SetCharCase(ecUpperCase);
             t.Type("abç");
         },
         "ABÇ", 3, 0},
        {"lower case converts what is there", "MiXeD",
         [](Edit&, TEdit* e) { e->SetCharCase(ecLowerCase); }, "mixed", 0, 0},
        {"control characters type nothing", "a", [](Edit& t, TEdit*) { t.Key(VK_ESCAPE, {}, 27); t.Key(VK_RETURN, {}, 13); t.Key(VK_TAB, {}, 9); },
         "a", 1, 0},
    };
    for (const TEditCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* edit = AddEdit();
        edit->SetText(c.Start);
        edit->SetSelStart(1000);
        c.Act(*this, edit);
        EXPECT_EQ(edit->Text(), c.Text);
        EXPECT_EQ(edit->SelStart(), c.SelStart);
        EXPECT_EQ(edit->SelLength(), c.SelLength);
        delete edit;
        Pump();
    }
}

TEST_F(Edit, PasswordShowsMaskAndKeepsTheTextToItself)
{
    auto* edit = AddEdit();
    edit->SetPasswordChar('*');
    Type("a日b");
    EXPECT_EQ(edit->Text(), "a日b");
    TEditLayout layout(edit->Model());
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, edit->Font()->Handle());
    layout.SetDC(dc);
    layout.SetMaskChar('*');
    EXPECT_EQ(layout.RowDisplay(0, 0), "***");
    DeleteDC(dc);

    edittext::SetClipboardText(nullptr, "before");
    edit->SelectAll();
    edit->CopyToClipboard();
    edit->CutToClipboard();
    EXPECT_EQ(edittext::ClipboardText(), "before");
    EXPECT_EQ(edit->Text(), "a日b");
}

TEST_F(Edit, UndoIsOneLevelAndUndoingAgainRedoes)
{
    auto* edit = AddEdit();
    EXPECT_FALSE(edit->CanUndo());
    Type("abc");
    Type(" def");  // typing in one run is one step
    EXPECT_TRUE(edit->CanUndo());
    Key('Z', {VK_CONTROL}, 26);
    EXPECT_EQ(edit->Text(), "");
    Key('Z', {VK_CONTROL}, 26);
    EXPECT_EQ(edit->Text(), "abc def");

    Key(VK_END);
    Key(VK_LEFT, {VK_SHIFT, VK_CONTROL});
    Key(VK_DELETE);
    EXPECT_EQ(edit->Text(), "abc ");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abc def");
    EXPECT_EQ(edit->SelText(), "def");  // what came back is selected

    edit->SetText("set from outside");
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_FALSE(edit->Modified());
}

TEST_F(Edit, EveryChangeIsNotified)
{
    auto* edit = AddEdit();
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    Type("ab");
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(edit->Modified());
    edit->SetText("set");
    EXPECT_EQ(changes, 3);
    edittext::SetClipboardText(nullptr, "pasted");
    edit->SetSelStart(3);
    Key('V', {VK_CONTROL}, 22);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(edit->Text(), "setpasted");
    Key(VK_LEFT);  // moving the caret changes nothing
    edit->SetText("setpasted");
    EXPECT_EQ(changes, 4);
}

TEST_F(Edit, ClipboardRoundTripBetweenTwoEdits)
{
    auto* from = AddEdit(Bounds(10, 10, 200, 24));
    auto* to = AddEdit(Bounds(10, 50, 200, 24));
    from->SetText("Grüße aus 東京");
    from->SetFocus();
    Pump();
    from->SelectAll();
    Key('X', {VK_CONTROL}, 24);
    EXPECT_EQ(from->Text(), "");
    EXPECT_TRUE(edittext::ClipboardHasText());
    to->SetFocus();
    Pump();
    to->SetText("<>");
    to->SetSelStart(1);
    Key(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(to->Text(), "<Grüße aus 東京>");

    // A paste with line breaks keeps to the first line in a single-line field.
    edittext::SetClipboardText(nullptr, "first\r\nsecond");
    to->SelectAll();
    to->PasteFromClipboard();
    EXPECT_EQ(to->Text(), "first");
    edittext::SetClipboardText(nullptr, "");
    EXPECT_FALSE(edittext::ClipboardHasText());
}

// A read-only host as the skinned edits are: it drops the editing messages and keeps copying.
class TDroppingEdit : public TEdit {
public:
    using TEdit::TEdit;
    std::vector<LPARAM> ContextMenus;
    void WndProc(TMessage& AMessage) override
    {
        switch (AMessage.Msg) {
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO: return;
        case WM_CONTEXTMENU: ContextMenus.push_back(AMessage.LParam); return;
        default: TEdit::WndProc(AMessage);
        }
    }
};

TEST_F(Edit, CommandsGoThroughMessagesAHostCanDrop)
{
    auto* edit = AddEdit<TDroppingEdit>();
    Type("keep");
    edit->SelectAll();
    edittext::SetClipboardText(nullptr, "other");
    edit->PasteFromClipboard();
    edit->CutToClipboard();
    edit->ClearSelection();
    Key('V', {VK_CONTROL}, 22);
    edit->Undo();
    EXPECT_EQ(edit->Text(), "keep");
    edit->CopyToClipboard();
    EXPECT_EQ(edittext::ClipboardText(), "keep");

    Key(VK_APPS);
    Key(VK_F10, {VK_SHIFT});
    ASSERT_EQ(edit->ContextMenus.size(), 2u);
    for (LPARAM at : edit->ContextMenus)
        EXPECT_EQ(LParamToPoint(at), (TPoint{-1, -1}));
    TPoint corner = ScreenOf(edit, {30, 5});
    Display.Click(corner, VK_RBUTTON);
    Pump();
    ASSERT_EQ(edit->ContextMenus.size(), 3u);
    EXPECT_EQ(LParamToPoint(edit->ContextMenus[2]), corner);
}

TEST_F(Edit, CaretMovesThroughArabicByClustersFromRightToLeft)
{
    // "salaam, peace": lam and alef are drawn as one ligature, so the caret never stands between them; the text
    // reads right to left, so stepping back through it moves the caret right.
    auto* edit = AddEdit();
    const std::string text = "\u0633\u0644\u0627\u0645";
    edit->SetText(text);
    edit->SetSelStart(1000);
    std::vector<int> starts, carets;
    for (int i = 0; i < 4; ++i) {
        starts.push_back(edit->SelStart());
        TPoint caret;
        EXPECT_TRUE(GetCaretPos(caret));
        carets.push_back(caret.X);
        Key(VK_LEFT);
    }
    EXPECT_EQ(starts, (std::vector<int>{4, 3, 1, 0}));
    for (size_t i = 1; i < carets.size(); ++i)
        EXPECT_GT(carets[i], carets[i - 1]) << "step " << i;
    EXPECT_EQ(carets.front(), edit->FormatRect().Left) << "the end of the word is at its left";

    Key(VK_RIGHT);
    EXPECT_EQ(edit->SelStart(), 1);
    Key(VK_RIGHT);
    EXPECT_EQ(edit->SelStart(), 3) << "over the lam-alef ligature in one step";
    Key(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 2);
    EXPECT_EQ(edit->SelText(), "\u0644\u0627");

    // A click lands on the nearest place a caret can stand, measured on the drawn line: right of the whole word is
    // its start.
    TRect r = edit->FormatRect();
    HDC dc = GetDC(edit->Handle());
    SelectObject(dc, edit->Font()->Handle());
    const int width = edittext::TextWidth(dc, text);
    ReleaseDC(edit->Handle(), dc);
    Display.Click(ScreenOf(edit, {r.Left + width - 1, r.Top + edit->LineHeight() / 2}));
    Pump();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(Edit, MouseClickDragAndDoubleClick)
{
    auto* edit = AddEdit();
    edit->SetText("alpha beta gamma");
    edit->SetSelStart(0);
    TRect r = edit->FormatRect();
    int y = r.Top + edit->LineHeight() / 2;
    auto xOf = [&](int AChars) {
        HDC dc = GetDC(edit->Handle());
        SelectObject(dc, edit->Font()->Handle());
        int width = edittext::TextWidth(dc, edit->Text().substr(0, static_cast<size_t>(AChars)));
        ReleaseDC(edit->Handle(), dc);
        return r.Left + width;
    };
    Display.Click(ScreenOf(edit, {xOf(6) + 1, y}));
    Pump();
    EXPECT_EQ(edit->SelStart(), 6);
    EXPECT_EQ(edit->SelLength(), 0);

    Display.Drag(ScreenOf(edit, {xOf(6), y}), ScreenOf(edit, {xOf(10), y}), 4);
    Pump();
    EXPECT_EQ(edit->SelText(), "beta");
    EXPECT_EQ(GetCapture(), nullptr);

    AdvanceMs(1000);  // out of double-click time
    Display.Click(ScreenOf(edit, {xOf(13), y}));
    Display.Click(ScreenOf(edit, {xOf(13), y}));
    Pump();
    EXPECT_EQ(edit->SelText(), "gamma");
}

TEST_F(Edit, DraggingPastTheEdgeScrollsAndSelects)
{
    auto* edit = AddEdit(Bounds(10, 10, 60, 24));
    edit->SetText("a rather long line of text that does not fit in the field");
    edit->SetSelStart(0);
    TPoint inside = ScreenOf(edit, {3, 5});
    Display.PressButton(inside);
    Display.MoveMouse(ScreenOf(edit, {200, 5}));
    Pump();
    int before = edit->SelLength();
    AdvanceMs(1000);  // the auto-scroll timer keeps extending while the pointer stays out
    EXPECT_GT(edit->SelLength(), before);
    Display.ReleaseButton(ScreenOf(edit, {200, 5}));
    Pump();
    TPoint caret;
    GetCaretPos(caret);
    EXPECT_GE(caret.X, 0);
    EXPECT_LT(caret.X, edit->ClientWidth());
}

TEST_F(Edit, LongTextScrollsToKeepTheCaretInSight)
{
    auto* edit = AddEdit(Bounds(10, 10, 80, 24));
    Type("The quick brown fox jumps over the lazy dog");
    TPoint caret;
    ASSERT_TRUE(GetCaretPos(caret));
    EXPECT_GT(caret.X, 0);
    EXPECT_LT(caret.X, edit->ClientWidth());
    Key(VK_HOME);
    GetCaretPos(caret);
    EXPECT_EQ(caret.X, edit->FormatRect().Left);
}

TEST_F(Edit, MarginsFormattingRectangleAndAlignment)
{
    auto* edit = AddEdit(Bounds(10, 10, 200, 24));
    edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
    EXPECT_EQ(edit->FormatRect().Left, 2);
    EXPECT_EQ(edit->FormatRect().Right, edit->ClientWidth());
    RECT narrow{20, 2, 120, 22};
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&narrow));
    EXPECT_EQ(edit->FormatRect(), TRect(narrow));
    Type("x");
    TPoint caret;
    GetCaretPos(caret);
    EXPECT_GE(caret.X, 20);

    edit->SetText("kept");
    edit->SetAlignment(taRightJustify);  // a new window
    EXPECT_EQ(edit->Text(), "kept");
    edit->SetFocus();
    Pump();
    edit->SetSelStart(4);
    GetCaretPos(caret);
    EXPECT_GT(caret.X, edit->ClientWidth() / 2);
}

TEST_F(Edit, TransparentPaintLeavesTheHostsPixels)
{
    auto* edit = AddEdit(Bounds(10, 10, 120, 24));
    edit->SetTransparent(true);
    edit->SetText("Wq");
    edit->SelectAll();
    TBitmap host;
    host.SetSize(120, 24);
    const TColor background = static_cast<TColor>(0x123456);
    host.Canvas()->Brush()->SetColor(background);
    host.Canvas()->FillRect(Rect(0, 0, 120, 24));
    HDC dc = host.Canvas()->Handle();
    edit->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    // Beyond the text nothing is touched; the selection is drawn.
    for (int x = 60; x < 120; x += 7)
        for (int y = 0; y < 24; y += 5)
            EXPECT_EQ(GetPixel(dc, x, y), ColorRefOf(background)) << x << "," << y;
    int highlighted = 0;
    for (int x = 0; x < 30; ++x)
        highlighted += GetPixel(dc, x, edit->FormatRect().Top + 1) == ColorRefOf(clHighlight);
    EXPECT_GT(highlighted, 5);
}

TEST_F(Edit, TransparentEditShowsItsParentOnScreen)
{
    auto* panel = new TPanel(Form);
    panel->SetBounds(10, 60, 200, 40);
    panel->SetBevelOuter(bvNone);
    const TColor colour = static_cast<TColor>(0x3080E0);
    panel->SetColor(colour);
    panel->SetParent(Form);
    auto* edit = new TEdit(Form);
    edit->SetBounds(10, 8, 150, 24);
    edit->SetTransparent(true);
    edit->SetText("over the panel");
    edit->SetParent(panel);
    Form->Repaint();
    Pump();
    HDC dc = GetDC(edit->Handle());
    EXPECT_EQ(GetPixel(dc, 140, 20), ColorRefOf(colour));  // right of the text: the panel
    ReleaseDC(edit->Handle(), dc);
}

}  // namespace
}  // namespace controlstest
