#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/keys.h"
#include "platform/win/messages.h"
#include "skin/controls/menu_messages.h"
#include "skin/dialogs/grids/inplace_editor.h"
#include "skin/dialogs/grids/string_grid.h"
#include "tests/skin/dialogs/grid_fixture.h"

namespace {

// Column 3 is read-only: its editor limit is -1.
class TEditGrid : public TspSkinStringGrid {
public:
    using TspSkinStringGrid::TspSkinStringGrid;
    std::vector<win::WORD> KeysSeen;

protected:
    Integer EditMaxLength() override { return Col() == 3 ? -1 : 0; }
};

constexpr int KeyF2 = 0x71;

class GridEditor : public gridtest::TGridFixture {
protected:
    // A 5 x 20 editing grid with text in row 1, focused on cell (2, 1) with the editor closed.
    TEditGrid* EditingGrid(TGridOptions AExtra = {})
    {
        auto* G = NewGrid<TEditGrid>(330, 130);
        G->SetRowCount(20);
        G->SetOptions(TGridOptions(DefaultGridOptions).Include(goEditing) + AExtra);
        for (Integer C = 1; C < 5; ++C) G->SetCellText(C, 1, "cell" + std::to_string(C));
        G->OnKeyDown = [G](TObject*, win::WORD& AKey, TShiftState) { G->KeysSeen.push_back(AKey); };
        Display.Click(ScreenPoint(G, 140, 30));  // cell (2, 1)
        Pump();
        return G;
    }
    TspSkinInplaceEdit* Editor(TEditGrid* G) { return G->InplaceEditor(); }
    bool EditorShown(TEditGrid* G) { return Editor(G) && Editor(G)->WindowVisible(); }
    void Key(int AKey, int AModifier = 0)
    {
        if (AModifier) Display.KeyDown(AModifier);
        Display.PressKey(AKey);
        if (AModifier) Display.KeyUp(AModifier);
        Pump();
    }
    // Characters as an input method commits them: no key of their own, one character message each.
    void Type(const std::u32string& AText)
    {
        for (char32_t C : AText) {
            Display.KeyDown(0, C);
            Display.KeyUp(0);
        }
        Pump();
    }
    void MoveTo(TEditGrid* G, Integer ACol)
    {
        G->SetCol(ACol);
        Pump();
    }
};

TEST_F(GridEditor, TypingOpensTheEditorOnTheCellAndEveryKeystrokeReachesIt)
{
    auto* G = EditingGrid();
    ASSERT_FALSE(EditorShown(G));
    Type(U"x");
    ASSERT_TRUE(EditorShown(G));
    EXPECT_TRUE(G->EditorMode());
    EXPECT_EQ(Editor(G)->BoundsRect(), G->CellRect(2, 1));
    EXPECT_TRUE(Editor(G)->Focused());
    // The typed character replaced the cell's text, and the cell has it at once.
    EXPECT_EQ(Editor(G)->Text(), "x");
    EXPECT_EQ(G->CellText(2, 1), "x");
    Type(U"yz");
    EXPECT_EQ(G->CellText(2, 1), "xyz");
    // Enter closes the editor, keeps the text and gives the keyboard back to the grid.
    Key(win::VK_RETURN);
    EXPECT_FALSE(EditorShown(G));
    EXPECT_FALSE(G->EditorMode());
    EXPECT_TRUE(G->Focused());
    EXPECT_EQ(G->CellText(2, 1), "xyz");
    // Enter on the grid opens it again on the same cell, loaded from the cell.
    Key(win::VK_RETURN);
    ASSERT_TRUE(EditorShown(G));
    EXPECT_EQ(Editor(G)->Text(), "xyz");
}

TEST_F(GridEditor, EscAndTabGoToTheGridAndNeverIntoTheText)
{
    auto* G = EditingGrid(TGridOptions{goTabs});
    Type(U"ab");
    ASSERT_TRUE(EditorShown(G));
    G->KeysSeen.clear();
    Key(win::VK_ESCAPE);
    EXPECT_EQ(G->KeysSeen, std::vector<win::WORD>{win::VK_ESCAPE});
    EXPECT_EQ(Editor(G)->Text(), "ab");
    EXPECT_TRUE(EditorShown(G));
    // Tab walks to the next cell; the editor closes and the text it had stays in its cell.
    Key(win::VK_TAB);
    EXPECT_EQ((TGridCoord{G->Col(), G->Row()}), (TGridCoord{3, 1}));
    EXPECT_FALSE(EditorShown(G));
    EXPECT_EQ(G->CellText(2, 1), "ab");
    EXPECT_EQ(G->CellText(3, 1), "cell3");
}

TEST_F(GridEditor, AlwaysShownEditorFollowsTabAndEnterTogglesTheSelection)
{
    auto* G = EditingGrid(TGridOptions{goTabs, goAlwaysShowEditor});
    ASSERT_TRUE(EditorShown(G));
    EXPECT_EQ(Editor(G)->Text(), "cell2");
    Key(win::VK_TAB);
    ASSERT_TRUE(EditorShown(G));
    EXPECT_EQ(Editor(G)->BoundsRect(), G->CellRect(3, 1));
    EXPECT_EQ(Editor(G)->Text(), "cell3");
    // Opened on a cell, the whole text is selected; Enter drops the selection, the next Enter selects all.
    EXPECT_EQ(Editor(G)->SelLength(), 5);
    Key(win::VK_RETURN);
    EXPECT_EQ(Editor(G)->SelLength(), 0);
    EXPECT_EQ(Editor(G)->SelStart(), 5);
    Key(win::VK_RETURN);
    EXPECT_EQ(Editor(G)->SelStart(), 0);
    EXPECT_EQ(Editor(G)->SelLength(), 5);
    EXPECT_EQ(Editor(G)->Text(), "cell3");
    // Left and Home inside the text move the caret; Left at its start moves to the cell on the left.
    Key(win::VK_RETURN);
    Key(win::VK_LEFT);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(Editor(G)->SelStart(), 4);
    Key(win::VK_HOME);
    EXPECT_EQ(G->Col(), 3);
    EXPECT_EQ(Editor(G)->SelStart(), 0);
    Key(win::VK_LEFT);
    EXPECT_EQ(G->Col(), 2);
    EXPECT_EQ(Editor(G)->Text(), "cell2");
}

TEST_F(GridEditor, F2OpensTheEditorWithTheCaretAtTheEnd)
{
    auto* G = EditingGrid();
    Key(KeyF2);
    ASSERT_TRUE(EditorShown(G));
    EXPECT_EQ(Editor(G)->SelLength(), 0);
    EXPECT_EQ(Editor(G)->SelStart(), 5);
    Type(U"!");
    EXPECT_EQ(G->CellText(2, 1), "cell2!");
}

// Typed text of any script, committed input-method text included, changes a writable cell and never a
// read-only one.
TEST_F(GridEditor, ReadOnlyCellRefusesTypedTextInEveryScript)
{
    struct Case {
        const char* Name;
        std::u32string Typed;
        std::string Writable;
    } Cases[] = {
        {"latin", U"ok", "ok"},
        {"cyrillic", U"жк", "жк"},
        {"cjk", U"漢字", "漢字"},
        {"cjk after latin", U"a字", "a字"},
    };
    for (const Case& C : Cases) {
        auto* G = EditingGrid();
        Type(C.Typed);
        EXPECT_EQ(G->CellText(2, 1), C.Writable) << C.Name;
        Key(win::VK_RETURN);
        MoveTo(G, 3);
        Type(C.Typed);
        EXPECT_EQ(G->CellText(3, 1), "cell3") << C.Name;
        if (EditorShown(G)) EXPECT_EQ(Editor(G)->Text(), "cell3") << C.Name;
        delete G;
    }
}

TEST_F(GridEditor, ReadOnlyCellRefusesDeletingAndPasting)
{
    auto* G = EditingGrid();
    std::vector<std::string> Stored;
    G->OnSetEditText = [&](TObject*, Integer ACol, Integer, const std::string& AValue) {
        if (ACol == 3) Stored.push_back(AValue);
    };
    MoveTo(G, 3);
    Key(KeyF2);
    ASSERT_TRUE(EditorShown(G));
    Display.SetClipboardText("pasted");
    Key(win::VK_BACK);
    Key(win::VK_HOME);
    Key(win::VK_DELETE);
    Key('V', win::VK_CONTROL);
    Key(win::VK_INSERT, win::VK_SHIFT);
    Editor(G)->SelectAll();
    Editor(G)->CutToClipboard();
    Editor(G)->PasteFromClipboard();
    Editor(G)->ClearSelection();
    Pump();
    EXPECT_EQ(Editor(G)->Text(), "cell3");
    EXPECT_EQ(G->CellText(3, 1), "cell3");
    // Loading the editor never passed a blank or any other text through the cell.
    for (const std::string& V : Stored) EXPECT_EQ(V, "cell3");
    // The same keys change a writable cell.
    Key(win::VK_RETURN);
    MoveTo(G, 2);
    Key(KeyF2);
    Key(win::VK_BACK);
    Key('V', win::VK_CONTROL);
    EXPECT_EQ(G->CellText(2, 1), "cellpasted");
}

TEST_F(GridEditor, EditorFollowsTheCellWhenTheGridScrolls)
{
    auto* G = EditingGrid();
    G->SetRow(3);
    Pump();
    Key(KeyF2);
    ASSERT_TRUE(EditorShown(G));
    const TRect Before = Editor(G)->BoundsRect();
    EXPECT_EQ(Before, G->CellRect(2, 3));
    // Ctrl+Down typed in the editor scrolls the grid by a row and keeps the current cell.
    Key(win::VK_DOWN, win::VK_CONTROL);
    EXPECT_EQ(G->TopRow(), 2);
    EXPECT_EQ(G->Row(), 3);
    ASSERT_TRUE(EditorShown(G));
    EXPECT_EQ(Editor(G)->BoundsRect(), G->CellRect(2, 3));
    EXPECT_EQ(Editor(G)->Top(), Before.Top - 25);
    // Scrolled out of view, it hides; scrolled back, it shows again.
    Key(win::VK_DOWN, win::VK_CONTROL);
    Key(win::VK_DOWN, win::VK_CONTROL);
    EXPECT_FALSE(EditorShown(G));
    G->SetTopRow(1);
    Pump();
    EXPECT_TRUE(EditorShown(G));
    EXPECT_EQ(Editor(G)->BoundsRect(), G->CellRect(2, 3));
}

TEST_F(GridEditor, RowSelectGridsNeverShowTheEditor)
{
    auto* G = EditingGrid(TGridOptions{goRowSelect});
    Type(U"x");
    Key(KeyF2);
    EXPECT_FALSE(EditorShown(G));
    EXPECT_EQ(G->CellText(1, 1), "cell1");
}

// The press on the grid opens the editor over the cell; a second press soon after lands on the editor and still
// counts as the double click it is for the user.
TEST_F(GridEditor, SecondPressOnTheFreshEditorIsADoubleClick)
{
    auto* G = EditingGrid();
    int DoubleClicks = 0;
    G->OnDblClick = [&](TObject*) { ++DoubleClicks; };
    Run(1000);
    Display.Click(ScreenPoint(G, 140, 30));  // the current cell: the editor opens
    Pump();
    ASSERT_TRUE(EditorShown(G));
    Display.Click(ScreenPoint(G, 140, 30));
    Pump();
    EXPECT_EQ(DoubleClicks, 1);
    // Long after, a press on the editor is a press.
    Run(2000);
    Display.Click(ScreenPoint(G, 140, 30));
    Pump();
    EXPECT_EQ(DoubleClicks, 1);
}

// Over a transparent grid the editor is see-through too: the wallpaper shows around its text.
TEST_F(GridEditor, EditorOverAWallpaperShowsIt)
{
    auto* G = EditingGrid();
    TBitmap Paper(8, 8, pf24bit);
    controlstest::Fill(&Paper, Rect(0, 0, 8, 8), clRed);
    G->SetWallpaper(&Paper);
    G->SetCellText(2, 1, "");
    Key(KeyF2);
    ASSERT_TRUE(EditorShown(G));
    ASSERT_TRUE(Editor(G)->Transparent());
    G->Invalidate();
    Pump();
    const TRect R = G->CellRect(2, 1);
    EXPECT_EQ(ScreenColor(G, R.Right - 4, R.Bottom - 4), clRed);
}

// Records the menu the editor asks for instead of showing it.
class TRecordingMenus : public TspEditMenuService {
public:
    struct TMenu : TspEditMenu {
        TRecordingMenus* Owner;
        explicit TMenu(TRecordingMenus* AOwner) : Owner(AOwner) {}
        bool Popup2(TControl*, TPoint AAt) override
        {
            Owner->At = AAt;
            return true;
        }
    };
    std::unique_ptr<TspEditMenu> CreateMenu(TControl*, TCustomForm*, std::vector<TspEditMenuItem> AItems) override
    {
        Items = std::move(AItems);
        return std::make_unique<TMenu>(this);
    }
    TspResourceStrData* FormTexts(TCustomForm*) override { return nullptr; }
    std::vector<TspEditMenuItem> Items;
    TPoint At{-1, -1};
    std::string Enabled() const
    {
        std::string Out;
        for (const auto& I : Items) Out += I.Caption == "-" ? '-' : (I.Enabled ? '1' : '0');
        return Out;
    }
};

// Undo, -, Cut, Copy, Paste, Delete, -, Select All; asked from the keyboard, at the editor's centre.
TEST_F(GridEditor, EditMenuFromTheKeyboardOpensAtTheCentreWithItsItemsEnabledByTheText)
{
    TRecordingMenus Menus;
    SetEditMenuService(&Menus);
    struct TUnset {
        ~TUnset() { SetEditMenuService(nullptr); }
    } Unset;
    Display.SetClipboardText("x");
    auto* G = EditingGrid();
    Key(KeyF2);
    ASSERT_TRUE(EditorShown(G));
    auto* E = Editor(G);
    E->Perform(win::WM_CONTEXTMENU, reinterpret_cast<win::WPARAM>(E->Handle()), win::MAKELPARAM(-1, -1));
    const TPoint Origin = E->ClientOrigin();
    EXPECT_EQ(Menus.At, (TPoint{Origin.X + E->Width() / 2, Origin.Y + E->Height() / 2}));
    ASSERT_EQ(Menus.Items.size(), 8u);
    EXPECT_EQ(Menus.Items[7].Caption, "Select All");
    EXPECT_EQ(Menus.Enabled().substr(2), "0010-1") << "no selection: no Cut, Copy or Delete; text to paste";
    EXPECT_NE(E->SysPopupMenu(), nullptr);
    E->Perform(SKM_AFTERMENUCOMMAND, 0, 0);
    EXPECT_EQ(E->SysPopupMenu(), nullptr) << "the menu goes once its command ran";
    E->SetText("");
    E->Perform(win::WM_CONTEXTMENU, reinterpret_cast<win::WPARAM>(E->Handle()), win::MAKELPARAM(-1, -1));
    EXPECT_EQ(Menus.Enabled().back(), '0') << "nothing to select in an empty text";
}

}  // namespace
