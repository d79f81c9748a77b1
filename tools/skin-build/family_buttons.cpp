// Push, tool, edit and menu buttons: one cell per state (normal, hot, pressed, disabled, focused).
#include "skin_builder.h"

namespace {

enum class TKind { Push, Flat, Small, Header };

struct TButtonLook {
    uint32_t Back, Fill, Frame;
    float FrameWidth;
};

TButtonLook Look(const TSkinBuilder& B, TKind AKind, int AState)
{
    const uint32_t back = B.Rgb(AKind == TKind::Flat ? "panel" : AKind == TKind::Small ? "field" : "window");
    const uint32_t rest = AKind == TKind::Flat ? back : B.Rgb("face");
    switch (AState) {
    case 1: return {back, B.Rgb("face_hot"), B.Rgb("accent"), 1};  // hot
    case 2: return {back, B.Rgb("accent_down"), B.Rgb("accent_down"), 1};  // pressed
    // Disabled: a faint outline even on a flat button, so it never passes for one at rest.
    case 3: return {back, AKind == TKind::Flat ? back : B.Rgb("face_disabled"), B.Rgb("line_soft"), 1};
    case 4: return {back, rest, B.Rgb("accent"), 2};  // focused
    default: return {back, rest, B.Rgb("line"), AKind == TKind::Flat ? 0.0f : 1.0f};
    }
}

void DrawButtonCell(TSkinBuilder& B, TRaster& ARaster, const TRect& ACell, TKind AKind, int AState)
{
    const TButtonLook look = Look(B, AKind, AState);
    FillCell(ARaster, ACell, look.Back);
    if (AKind == TKind::Header) {
        // A column header: flat, with a separator at the right and a line at the bottom.
        FillCell(ARaster, ACell, AState == 1 || AState == 2 ? look.Fill : B.Rgb("face"));
        FillCell(ARaster, Rect(ACell.Right - 1, ACell.Top + 3, ACell.Right, ACell.Bottom - 3), B.Rgb("line"));
        FillCell(ARaster, Rect(ACell.Left, ACell.Bottom - 1, ACell.Right, ACell.Bottom),
                 AState == 1 ? B.Rgb("accent") : B.Rgb("line"));
        return;
    }
    const float radius = AKind == TKind::Small ? 2.0f : float(B.Metric("radius"));
    DrawBox(ARaster, ACell, 0, radius, look.Fill, look.Frame, look.FrameWidth);
}

// A small solid arrow with crisp edges, so that its key-coloured background leaves no fringe.
void DrawMarker(TRaster& ARaster, const TRect& ACell, uint32_t AColour)
{
    const int w = ACell.Right - ACell.Left, top = ACell.Top + (ACell.Bottom - ACell.Top - (w + 1) / 2) / 2;
    for (int row = 0; 2 * row < w; ++row)
        ARaster.Fill(ACell.Left + row, top + row, ACell.Right - row, top + row + 1, AColour);
}

// The state pictures in the order the cells are drawn, and the text colours that go with them.
void SetStates(TSkinBuilder& B, TspDataSkinButtonControl& AButton, const TRect (&ACells)[5])
{
    AButton.ActiveSkinRect = ACells[1];
    AButton.DownSkinRect = ACells[2];
    AButton.DisabledSkinRect = ACells[3];
    AButton.FocusedSkinRect = ACells[4];
    AButton.FontName = B.Font();
    AButton.FontHeight = B.FontHeight();
    AButton.FontColor = AButton.ActiveFontColor = B.Col("ink");
    AButton.DownFontColor = B.Col("on_accent");
    AButton.DisabledFontColor = B.Col("ink_disabled");
    AButton.Morphing = true;
}

}  // namespace

void BuildButtons(TSkinBuilder& B)
{
    const int sheet = B.AddSheet("buttons.bmp", 420, B.Rgb("window"));
    TRaster& raster = B.Sheet(sheet);
    const int tool = B.Metric("tool_button"), big = B.Metric("big_tool_button");
    struct TEntry {
        const char* Name;
        int Width, Height;
        TKind Kind;
    };
    const TEntry entries[] = {
        {"button", B.Metric("button_width"), B.Metric("button_height"), TKind::Push},
        {"resizebutton", 24, 22, TKind::Push},
        {"editbutton", 17, 17, TKind::Small},
        {"combobutton", 17, 18, TKind::Small},
        {"toolbutton", tool, tool, TKind::Flat},
        {"resizetoolbutton", 24, 22, TKind::Flat},
        {"bigtoolbutton", big, big, TKind::Flat},
        {"officequickbutton", 22, 22, TKind::Flat},
        {"menuitembutton", 60, 22, TKind::Flat},
        {"htracktoolbutton", 24, 14, TKind::Flat},
        {"vtracktoolbutton", 14, 24, TKind::Flat},
        {"lvheader", 60, 22, TKind::Header},
    };
    for (const TEntry& entry : entries) {
        auto& b = B.Control<TspDataSkinButtonControl>(entry.Name);
        b.PictureIndex = sheet;
        TRect cells[5];
        for (int state = 0; state < 5; ++state) {
            cells[state] = B.Place(sheet, entry.Width, entry.Height);
            DrawButtonCell(B, raster, cells[state], entry.Kind, state);
        }
        B.NextRow(sheet);
        const int margin = entry.Kind == TKind::Small ? 3 : B.Metric("radius") + 1;
        SetNinePieces(b, cells[0], margin, margin, margin, margin);
        SetStates(B, b, cells);
        b.ShowFocus = entry.Kind == TKind::Push;
    }

    // Menu buttons: a tool button with a drop-down part at the right, and its arrow in four looks.
    const uint32_t key = B.Rgb("key");
    TRect markers[4];
    const uint32_t markerColours[4] = {B.Rgb("ink_muted"), B.Rgb("ink"), B.Rgb("accent"), B.Rgb("on_accent")};
    for (int i = 0; i < 4; ++i) {
        markers[i] = B.Place(sheet, 7, 6);
        FillCell(raster, markers[i], key);
        DrawMarker(raster, markers[i], markerColours[i]);
    }
    B.NextRow(sheet);
    struct TMenuEntry {
        const char* Name;
        int Width, Height;
    };
    const TMenuEntry menuEntries[] = {{"toolmenubutton", 38, tool}, {"toolmenutrackbutton", 38, tool},
                                   {"bigtoolmenubutton", 54, big}, {"bigtoolmenutrackbutton", 54, big}};
    for (const TMenuEntry& entry : menuEntries) {
        auto& b = B.Control<TspDataSkinMenuButtonControl>(entry.Name);
        b.PictureIndex = sheet;
        TRect cells[5];
        for (int state = 0; state < 5; ++state) {
            cells[state] = B.Place(sheet, entry.Width, entry.Height);
            DrawButtonCell(B, raster, cells[state], TKind::Flat, state);
            if (state == 1 || state == 4)  // the divider shows where the drop-down part begins
                FillCell(raster, Rect(cells[state].Right - 13, cells[state].Top + 4, cells[state].Right - 12,
                                      cells[state].Bottom - 4), B.Rgb("accent_tint_line"));
        }
        B.NextRow(sheet);
        SetNinePieces(b, cells[0], 5, 5, 14, 5);
        SetStates(B, b, cells);
        b.TrackButtonRect = Rect(entry.Width - 13, 0, entry.Width, entry.Height);
        b.MenuMarkerFlatRect = markers[0];
        b.MenuMarkerRect = markers[1];
        b.MenuMarkerActiveRect = markers[2];
        b.MenuMarkerDownRect = markers[3];
        b.MenuMarkerTransparentColor = B.Col("key");
    }
}
