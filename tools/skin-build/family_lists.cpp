// Boxes that hold items: combo box, list box, grid, and the tree and list views (colours only).
#include "skin_builder.h"

namespace {

// Item looks: at rest the field, selected a tint of the accent, focused the accent itself.
void DrawItem(TSkinBuilder& B, TRaster& ARaster, const TRect& ACell, int AState)
{
    FillCell(ARaster, ACell, B.Rgb("field"));
    if (AState == 1) DrawBox(ARaster, ACell, 1, 2, B.Rgb("accent_tint"), B.Rgb("accent_tint_line"), 1);
    if (AState == 2) DrawBox(ARaster, ACell, 1, 2, B.Rgb("accent"), 0, 0);
}

template <typename TRecord>
void SetItemFont(TSkinBuilder& B, TRecord& ARecord)
{
    ARecord.FontName = B.Font();
    ARecord.FontHeight = B.FontHeight();
    ARecord.FontColor = ARecord.ActiveFontColor = B.Col("ink");
    ARecord.FocusFontColor = B.Col("on_accent");
}

}  // namespace

void BuildLists(TSkinBuilder& B)
{
    const int sheet = B.AddSheet("lists.bmp", 300, B.Rgb("window"));
    TRaster& raster = B.Sheet(sheet);
    const int height = B.Metric("edit_height"), item = B.Metric("item_height");

    // Combo box: a field with a drop-down button at the right.
    auto& combo = B.Control<TspDataSkinComboBox>("combobox");
    combo.PictureIndex = sheet;
    const int width = 60;
    const TRect button = Rect(width - 20, 2, width - 2, height - 2);
    TRect face[2];
    for (int i = 0; i < 2; ++i) {
        face[i] = B.Place(sheet, width, height);
        FillCell(raster, face[i], B.Rgb("window"));
        DrawBox(raster, face[i], 0, float(B.Metric("small_radius")), B.Rgb("field"), B.Rgb(i ? "accent" : "line"),
                i ? 1.5f : 1.0f);
        DrawChevron(raster, face[i].Left + (button.Left + button.Right) / 2.0f,
                    face[i].Top + (button.Top + button.Bottom) / 2.0f, 7, TDirection::Down, B.Rgb("ink_muted"));
    }
    SetNinePieces(combo, face[0], 3, 2, 22, 2);
    combo.ActiveSkinRect = face[1];
    combo.ButtonRect = button;
    TRect* looks[] = {&combo.ActiveButtonRect, &combo.DownButtonRect, &combo.UnEnabledButtonRect};
    const char* fills[] = {"face_hot", "accent_down", "field_disabled"};
    const char* glyphs[] = {"accent", "on_accent", "line"};
    for (int i = 0; i < 3; ++i) {
        *looks[i] = B.Place(sheet, button.Right - button.Left, button.Bottom - button.Top);
        FillCell(raster, *looks[i], B.Rgb("field"));
        DrawBox(raster, *looks[i], 0, 2, B.Rgb(fills[i]), B.Rgb("accent"), i == 0 ? 1.0f : 0.0f);
        DrawChevron(raster, (looks[i]->Left + looks[i]->Right) / 2.0f, (looks[i]->Top + looks[i]->Bottom) / 2.0f, 7,
                    TDirection::Down, B.Rgb(glyphs[i]));
    }
    B.NextRow(sheet);
    const int comboItem = height - 4;
    TRect* items[] = {&combo.SItemRect, &combo.ActiveItemRect, &combo.FocusItemRect};
    for (int i = 0; i < 3; ++i) {
        *items[i] = B.Place(sheet, 20, comboItem);
        DrawItem(B, raster, *items[i], i);
    }
    B.NextRow(sheet);
    combo.ItemLeftOffset = combo.ItemRightOffset = 3;
    combo.ItemTextRect = Rect(3, 1, 17, comboItem - 1);
    combo.ItemStretchEffect = combo.FocusItemStretchEffect = true;
    combo.ListBoxName = "listbox";
    SetItemFont(B, combo);

    // List box: a framed field; the items as in the combo box, a row high.
    auto& list = B.Control<TspDataSkinListBox>("listbox");
    list.PictureIndex = sheet;
    const TRect frame = B.Place(sheet, 60, 60);
    FillCell(raster, frame, B.Rgb("window"));
    DrawBox(raster, frame, 0, float(B.Metric("small_radius")), B.Rgb("field"), B.Rgb("line"), 1);
    SetNinePieces(list, frame, 4, 4, 4, 4);
    TRect* listItems[] = {&list.SItemRect, &list.ActiveItemRect, &list.FocusItemRect};
    for (int i = 0; i < 3; ++i) {
        *listItems[i] = B.Place(sheet, 20, item);
        DrawItem(B, raster, *listItems[i], i);
    }
    B.NextRow(sheet);
    list.ItemLeftOffset = list.ItemRightOffset = 3;
    list.ItemTextRect = Rect(3, 1, 17, item - 1);
    list.HScrollBarName = "hscrollbar";
    list.VScrollBarName = "vscrollbar";
    list.BothScrollBarName = "bothhscrollbar";
    list.CaptionFontName = B.Font();
    list.CaptionFontHeight = B.FontHeight();
    list.CaptionFontColor = B.Col("ink");
    SetItemFont(B, list);

    // Grid: caption cells, the selected and the focused cell; lines and background as colours.
    auto& grid = B.Control<TspDataSkinGridControl>("grid");
    grid.PictureIndex = sheet;
    grid.FixedCellRect = B.Place(sheet, 20, item);
    FillCell(raster, grid.FixedCellRect, B.Rgb("face"));
    FillCell(raster, Rect(grid.FixedCellRect.Left, grid.FixedCellRect.Bottom - 1, grid.FixedCellRect.Right,
                          grid.FixedCellRect.Bottom), B.Rgb("line"));
    FillCell(raster, Rect(grid.FixedCellRect.Right - 1, grid.FixedCellRect.Top + 3, grid.FixedCellRect.Right,
                          grid.FixedCellRect.Bottom - 3), B.Rgb("line"));
    grid.SelectCellRect = B.Place(sheet, 20, item);
    FillCell(raster, grid.SelectCellRect, B.Rgb("accent"));
    grid.FocusCellRect = B.Place(sheet, 20, item);
    FillCell(raster, grid.FocusCellRect, B.Rgb("accent"));
    raster.RoundFrame(grid.FocusCellRect.Left + 1.5f, grid.FocusCellRect.Top + 1.5f, grid.FocusCellRect.Right - 1.5f,
                      grid.FocusCellRect.Bottom - 1.5f, 1, 1, TPaint::Flat(B.Rgb("accent_tint_line")));
    B.NextRow(sheet);
    grid.FixedCellLeftOffset = grid.FixedCellRightOffset = 2;
    grid.CellLeftOffset = grid.CellRightOffset = 2;
    grid.FixedCellTextRect = grid.CellTextRect = Rect(3, 0, 17, item);
    grid.LinesColor = B.Col("grid_line");
    grid.BGColor = B.Col("field");
    grid.FontName = grid.FixedFontName = B.Font();
    grid.FontHeight = grid.FixedFontHeight = B.FontHeight();
    grid.FontColor = grid.FixedFontColor = B.Col("ink");
    grid.SelectFontColor = grid.FocusFontColor = B.Col("on_accent");
    grid.FixedCellStretchEffect = grid.CellStretchEffect = true;

    for (const char* name : {"treeview", "listview"}) {
        auto& view = name[0] == 't' ? static_cast<TspDataSkinTextViewControl&>(B.Control<TspDataSkinTreeView>(name))
                                    : static_cast<TspDataSkinTextViewControl&>(B.Control<TspDataSkinListView>(name));
        view.FontName = B.Font();
        view.FontHeight = B.FontHeight();
        view.FontColor = B.Col("ink");
        view.BGColor = B.Col("field");
    }
}
