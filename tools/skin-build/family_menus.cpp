// Menus and hints: the popup window, menu items with their marks, the main-menu bar and its items, menu headers,
// the hint window and the skin's colours.
#include "skin_builder.h"

void BuildMenus(TSkinBuilder& B)
{
    const uint32_t field = B.Rgb("field"), accent = B.Rgb("accent");

    // The popup window and the hint window each are a picture of their own.
    const int popupSheet = B.AddSheet("popup.bmp", 40, field);
    const TRect popup = B.Place(popupSheet, 40, 40);
    TRaster& popupRaster = B.Sheet(popupSheet);
    FillCell(popupRaster, popup, B.Rgb("line"));
    FillCell(popupRaster, Rect(1, 1, 39, 39), field);
    auto& p = *B.Skin.PopupWindow;
    p.WindowPictureIndex = popupSheet;
    p.LTPoint = {3, 3}, p.RTPoint = {37, 3}, p.LBPoint = {3, 37}, p.RBPoint = {37, 37};
    p.ItemsRect = Rect(3, 3, 37, 37);
    p.ScrollMarkerColor = B.Col("ink_muted");
    p.ScrollMarkerActiveColor = B.Col("accent");
    p.LeftStretch = p.RightStretch = p.TopStretch = p.BottomStretch = p.StretchEffect = true;

    const int hintSheet = B.AddSheet("hint.bmp", 40, B.Rgb("hint"));
    const TRect hint = B.Place(hintSheet, 40, 30);
    TRaster& hintRaster = B.Sheet(hintSheet);
    FillCell(hintRaster, hint, B.Rgb("caption_edge"));
    FillCell(hintRaster, Rect(1, 1, 39, 29), B.Rgb("hint"));
    auto& h = *B.Skin.HintWindow;
    h.WindowPictureIndex = hintSheet;
    h.LTPoint = {4, 4}, h.RTPoint = {36, 4}, h.LBPoint = {4, 26}, h.RBPoint = {36, 26};
    h.ClRect = Rect(4, 4, 36, 26);
    h.FontName = B.Font();
    h.FontHeight = B.Style.FontHeight("hint_height");
    h.FontColor = B.Col("hint_text");
    h.LeftStretch = h.RightStretch = h.TopStretch = h.BottomStretch = h.StretchEffect = true;

    const int sheet = B.AddSheet("menus.bmp", 300, field);
    TRaster& raster = B.Sheet(sheet);
    const int item = 22;
    auto& mi = B.Object<TspDataSkinMenuItem>("menuitem");
    mi.ActivePictureIndex = sheet;
    mi.SkinRectInAPicture = true;
    mi.SkinRect = B.Place(sheet, 60, item);
    FillCell(raster, mi.SkinRect, field);
    mi.ActiveSkinRect = B.Place(sheet, 60, item);
    FillCell(raster, mi.ActiveSkinRect, field);
    DrawBox(raster, mi.ActiveSkinRect, 1, 3, accent, 0, 0);
    mi.DividerRect = B.Place(sheet, 60, 7);
    FillCell(raster, mi.DividerRect, field);
    FillCell(raster, Rect(mi.DividerRect.Left + 4, mi.DividerRect.Top + 3, mi.DividerRect.Right - 4,
                          mi.DividerRect.Top + 4), B.Rgb("line_soft"));
    B.NextRow(sheet);
    mi.ItemLO = mi.ItemRO = 5;
    mi.DividerLO = mi.DividerRO = 5;
    mi.TextRct = Rect(28, 0, 48, item);
    mi.ImageRct = Rect(6, 3, 22, 19);
    mi.FontName = B.Font();
    mi.FontHeight = B.FontHeight();
    mi.FontColor = B.Col("ink");
    mi.ActiveFontColor = B.Col("on_accent");
    mi.UnEnabledFontColor = B.Col("ink_disabled");
    mi.StretchEffect = mi.InActiveStretchEffect = mi.DividerStretchEffect = true;
    auto mark = [&](bool AActive, int AWidth, auto ADraw) {
        const TRect r = B.Place(sheet, AWidth, 16);
        FillCell(raster, r, AActive ? accent : field);
        ADraw(r, B.Rgb(AActive ? "on_accent" : "ink"));
        return r;
    };
    auto tick = [&](const TRect& r, uint32_t c) { DrawTick(raster, r, c); };
    auto dot = [&](const TRect& r, uint32_t c) {
        raster.Disc((r.Left + r.Right) / 2.0f, (r.Top + r.Bottom) / 2.0f, 3.5f, TPaint::Flat(c));
    };
    auto arrow = [&](const TRect& r, uint32_t c) {
        DrawChevron(raster, (r.Left + r.Right) / 2.0f, (r.Top + r.Bottom) / 2.0f, 8, TDirection::Right, c, 1.5f);
    };
    mi.CheckImageRect = mark(false, 16, tick);
    mi.ActiveCheckImageRect = mark(true, 16, tick);
    mi.RadioImageRect = mark(false, 16, dot);
    mi.ActiveRadioImageRect = mark(true, 16, dot);
    mi.ArrowImageRect = mark(false, 8, arrow);
    mi.ActiveArrowImageRect = mark(true, 8, arrow);
    B.NextRow(sheet);

    // The main-menu bar and its items: at rest on the bar, lit under the mouse, the accent while open.
    const uint32_t bar = B.Rgb("panel");
    auto drawBar = [&](const TRect& r) {
        FillCell(raster, r, bar);
        FillCell(raster, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), B.Rgb("line_soft"));
    };
    auto& menuBar = B.Control<TspDataSkinMainMenuBar>("mainmenubar");
    menuBar.PictureIndex = sheet;
    menuBar.SkinRect = B.Place(sheet, 40, item);
    drawBar(menuBar.SkinRect);
    menuBar.ItemsRect = Rect(2, 0, 38, item - 1);
    menuBar.MenuBarItem = "mainmenubaritem";
    menuBar.TrackMarkColor = B.Col("ink_muted");
    menuBar.TrackMarkActiveColor = B.Col("accent");
    menuBar.StretchEffect = true;
    auto& barItem = B.Object<TspDataSkinMainMenuBarItem>("mainmenubaritem");
    barItem.ActivePictureIndex = sheet;
    barItem.SkinRectInAPicture = true;
    barItem.SkinRect = B.Place(sheet, 40, item);
    drawBar(barItem.SkinRect);
    barItem.ActiveSkinRect = B.Place(sheet, 40, item);
    drawBar(barItem.ActiveSkinRect);
    DrawBox(raster, Rect(barItem.ActiveSkinRect.Left, barItem.ActiveSkinRect.Top + 2, barItem.ActiveSkinRect.Right,
                         barItem.ActiveSkinRect.Bottom - 2), 0, 3, B.Rgb("face_hot"), B.Rgb("accent_tint_line"), 1);
    barItem.DownRect = B.Place(sheet, 40, item);
    drawBar(barItem.DownRect);
    DrawBox(raster, Rect(barItem.DownRect.Left, barItem.DownRect.Top + 2, barItem.DownRect.Right,
                         barItem.DownRect.Bottom - 2), 0, 3, accent, 0, 0);
    B.NextRow(sheet);
    barItem.ItemLO = barItem.ItemRO = 5;
    barItem.TextRct = Rect(8, 0, 32, item);
    barItem.FontName = B.Font();
    barItem.FontHeight = B.FontHeight();
    barItem.FontColor = barItem.ActiveFontColor = B.Col("ink");
    barItem.DownFontColor = B.Col("on_accent");
    barItem.UnEnabledFontColor = B.Col("ink_disabled");
    barItem.StretchEffect = true;

    auto& header = B.Control<TspDataSkinLabelControl>("menuheader");
    header.PictureIndex = sheet;
    const TRect headerCell = B.Place(sheet, 40, 20);
    FillCell(raster, headerCell, B.Rgb("panel"));
    SetHorizontalPieces(header, headerCell, 4, 4);
    header.FontName = B.Font();
    header.FontHeight = B.FontHeight() - 1;
    header.FontStyle.Include(fsBold);
    header.FontColor = B.Col("ink_muted");
    B.NextRow(sheet);

    auto& c = *B.Skin.FSkinColors;
    c.FcBtnFace = B.Col("face");
    c.FcBtnText = B.Col("ink");
    c.FcWindow = B.Col("field");
    c.FcWindowText = B.Col("ink");
    c.FcHighLight = B.Col("accent");
    c.FcHighLightText = B.Col("on_accent");
    c.FcBtnHighLight = B.Col("field");
    c.FcBtnShadow = B.Col("line");
    c.Fc3DLight = B.Col("panel");
    c.Fc3DDkShadow = B.Col("ink_muted");
}
