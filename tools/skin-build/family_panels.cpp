// Containers and text: panel, group box, status bar, tool bar, notebook tabs, labels and the bevel.
#include "skin_builder.h"

namespace {

void SetPanelFont(TSkinBuilder& B, TspDataSkinPanelControl& APanel)
{
    APanel.FontName = B.Font();
    APanel.FontHeight = B.FontHeight();
    APanel.FontColor = B.Col("ink");
}

}  // namespace

void BuildPanels(TSkinBuilder& B)
{
    const int sheet = B.AddSheet("panels.bmp", 300, B.Rgb("window"));
    TRaster& raster = B.Sheet(sheet);
    const uint32_t window = B.Rgb("window"), panelFill = B.Rgb("panel");

    auto& panel = B.Control<TspDataSkinPanelControl>("panel");
    panel.PictureIndex = sheet;
    const TRect panelCell = B.Place(sheet, 40, 40);
    FillCell(raster, panelCell, window);
    DrawBox(raster, panelCell, 0, float(B.Metric("radius")), panelFill, B.Rgb("line_soft"), 1);
    SetNinePieces(panel, panelCell, 5, 5, 5, 5);
    SetPanelFont(B, panel);

    // The group box's title sits above its frame, so no line runs through the text.
    auto& group = B.Control<TspDataSkinPanelControl>("groupbox");
    group.PictureIndex = sheet;
    const TRect groupCell = B.Place(sheet, 60, 60);
    FillCell(raster, groupCell, window);
    DrawBox(raster, Rect(groupCell.Left, groupCell.Top + 18, groupCell.Right, groupCell.Bottom), 0,
            float(B.Metric("radius")), panelFill, B.Rgb("line_soft"), 1);
    SetNinePieces(group, groupCell, 5, 23, 5, 5);
    group.CaptionRect = Rect(4, 0, 56, 17);
    group.Alignment = taLeftJustify;
    SetPanelFont(B, group);
    group.FontStyle.Include(fsBold);

    auto& status = B.Control<TspDataSkinPanelControl>("statusbar");
    status.PictureIndex = sheet;
    const TRect statusCell = B.Place(sheet, 40, 22);
    FillCell(raster, statusCell, panelFill);
    FillCell(raster, Rect(statusCell.Left, statusCell.Top, statusCell.Right, statusCell.Top + 1), B.Rgb("line_soft"));
    SetNinePieces(status, statusCell, 2, 2, 2, 2);
    SetPanelFont(B, status);
    status.FontColor = B.Col("ink_muted");
    // The size grip: a triangle of dots on the key colour, crisp so that no fringe shows.
    const TRect grip = B.Place(sheet, 12, 12);
    FillCell(raster, grip, B.Rgb("key"));
    for (int row = 0; row < 3; ++row)
        for (int col = 2 - row; col < 3; ++col)
            raster.Fill(grip.Left + 1 + col * 4, grip.Top + 1 + row * 4, grip.Left + 3 + col * 4,
                        grip.Top + 3 + row * 4, B.Rgb("line"));
    status.GripperRect = grip;
    status.GripperTransparent = true;
    status.GripperTransparentColor = B.Col("key");

    auto& tools = B.Control<TspDataSkinPanelControl>("toolpanel");
    tools.PictureIndex = sheet;
    const TRect toolCell = B.Place(sheet, 40, B.Metric("tool_button"));
    FillCell(raster, toolCell, panelFill);
    FillCell(raster, Rect(toolCell.Left, toolCell.Bottom - 1, toolCell.Right, toolCell.Bottom), B.Rgb("line_soft"));
    SetNinePieces(tools, toolCell, 2, 2, 2, 2);
    SetPanelFont(B, tools);
    B.NextRow(sheet);

    // Labels: the framed label draws its own field; the standard label is text only.
    auto& framed = B.Control<TspDataSkinLabelControl>("label");
    framed.PictureIndex = sheet;
    const TRect labelCell = B.Place(sheet, 40, 22);
    FillCell(raster, labelCell, window);
    DrawBox(raster, labelCell, 0, float(B.Metric("small_radius")), B.Rgb("field"), B.Rgb("line_soft"), 1);
    SetNinePieces(framed, labelCell, 4, 4, 4, 4);
    framed.FontName = B.Font();
    framed.FontHeight = B.FontHeight();
    framed.FontColor = B.Col("ink");
    auto& plain = B.Control<TspDataSkinStdLabelControl>("stdlabel");
    plain.FontName = B.Font();
    plain.FontHeight = B.FontHeight();
    plain.FontColor = B.Col("ink");
    plain.ActiveFontColor = B.Col("accent");
    auto& bevel = B.Control<TspDataSkinBevel>("bevel");
    bevel.LightColor = B.Col("field");
    bevel.DarkColor = B.Col("line_soft");

    // Notebook: the page, and tabs at rest, under the mouse, chosen and chosen with the focus.
    auto& tab = B.Control<TspDataSkinTabControl>("tab");
    tab.PictureIndex = sheet;
    const int tabHeight = B.Metric("tab_height");
    const TRect page = B.Place(sheet, 60, 60);
    FillCell(raster, page, window);
    raster.RoundBox(page.Left, page.Top, page.Right, page.Bottom, 2, TPaint::Flat(B.Rgb("line")));
    raster.Fill(page.Left + 1, page.Top + 1, page.Right - 1, page.Bottom - 1, B.Rgb("field"));
    tab.SkinRect = page;
    tab.LTPoint = {4, 4}, tab.RTPoint = {56, 4}, tab.LBPoint = {4, 56}, tab.RBPoint = {56, 56};
    tab.ClRect = Rect(4, 4, 56, 56);
    tab.LeftStretch = tab.TopStretch = tab.RightStretch = tab.BottomStretch = tab.StretchEffect = true;
    B.NextRow(sheet);
    auto drawTab = [&](const char* AFill, const char* AFrame, bool AChosen, bool AFocused) {
        const TRect r = B.Place(sheet, 40, tabHeight);
        FillCell(raster, r, window);
        // Drawn taller than the cell and cut at its bottom: only the top corners are round.
        raster.RoundBox(r.Left, r.Top, r.Right, r.Bottom + 6, 4, TPaint::Flat(B.Rgb(AFrame)));
        raster.RoundBox(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom + 6, 3, TPaint::Flat(B.Rgb(AFill)));
        raster.Fill(r.Left, r.Bottom, r.Right, r.Bottom + 6, window);
        if (AChosen) raster.RoundBox(r.Left + 1, r.Top + 1, r.Right - 1, r.Top + 4, 1.5f, TPaint::Flat(B.Rgb("accent")));
        else raster.Fill(r.Left, r.Bottom - 1, r.Right, r.Bottom, B.Rgb("line"));
        if (AFocused) raster.RoundFrame(r.Left + 3, r.Top + 6, r.Right - 3, r.Bottom - 3, 2, 1,
                                        TPaint::Flat(B.Rgb("accent_tint_line")));
        return r;
    };
    tab.TabRect = drawTab("face", "line", false, false);
    tab.MouseInTabRect = drawTab("face_hot", "accent_tint_line", false, false);
    tab.ActiveTabRect = drawTab("field", "line", true, false);
    tab.FocusTabRect = drawTab("field", "line", true, true);
    tab.TabsBGRect = B.Place(sheet, 20, tabHeight);
    FillCell(raster, tab.TabsBGRect, window);
    FillCell(raster, Rect(tab.TabsBGRect.Left, tab.TabsBGRect.Bottom - 1, tab.TabsBGRect.Right, tab.TabsBGRect.Bottom),
             B.Rgb("line"));
    B.NextRow(sheet);
    tab.TabLeftOffset = tab.TabRightOffset = 5;
    tab.TabStretchEffect = true;
    tab.FontName = B.Font();
    tab.FontHeight = B.FontHeight();
    tab.FontColor = tab.ActiveFontColor = tab.FocusFontColor = tab.MouseInFontColor = B.Col("ink");
    tab.UpDown = "hupdown";
}
