// Edits: the plain and tool edits, the edit with a button, the memo and the spin edit. At rest a field framed in
// grey; focused (and under the mouse) framed in the accent.
#include "skin_builder.h"

namespace {

enum class TPart { Rest, Hot, Down, Disabled };

void DrawField(TSkinBuilder& B, TRaster& ARaster, const TRect& ACell, bool AActive)
{
    FillCell(ARaster, ACell, B.Rgb("window"));
    DrawBox(ARaster, ACell, 0, float(B.Metric("small_radius")), B.Rgb("field"), B.Rgb(AActive ? "accent" : "line"),
            AActive ? 1.5f : 1.0f);
}

// An inner button's face: transparent at rest (the field shows), lit under the mouse, the accent when pressed.
void DrawInnerButton(TSkinBuilder& B, TRaster& ARaster, const TRect& ACell, TPart APart)
{
    FillCell(ARaster, ACell, B.Rgb(APart == TPart::Disabled ? "field_disabled" : "field"));
    if (APart == TPart::Hot) DrawBox(ARaster, ACell, 0, 2, B.Rgb("face_hot"), B.Rgb("accent"), 1);
    if (APart == TPart::Down) DrawBox(ARaster, ACell, 0, 2, B.Rgb("accent_down"), 0, 0);
}

uint32_t GlyphColour(const TSkinBuilder& B, TPart APart)
{
    switch (APart) {
    case TPart::Hot: return B.Rgb("accent");
    case TPart::Down: return B.Rgb("on_accent");
    case TPart::Disabled: return B.Rgb("line");
    default: return B.Rgb("ink_muted");
    }
}

void DrawDots(TRaster& ARaster, const TRect& ACell, uint32_t AColour)
{
    const float cy = (ACell.Top + ACell.Bottom) / 2.0f, cx = (ACell.Left + ACell.Right) / 2.0f;
    for (int i = -1; i <= 1; ++i) ARaster.Disc(cx + i * 4.0f, cy + 1, 1.3f, TPaint::Flat(AColour));
}

void SetEditFont(TSkinBuilder& B, TspDataSkinEditControl& AEdit)
{
    AEdit.FontName = B.Font();
    AEdit.FontHeight = B.FontHeight();
    AEdit.FontColor = AEdit.ActiveFontColor = B.Col("ink");
    AEdit.DisabledFontColor = B.Col("ink_disabled");
}

}  // namespace

void BuildEdits(TSkinBuilder& B)
{
    const int sheet = B.AddSheet("edits.bmp", 300, B.Rgb("window"));
    TRaster& raster = B.Sheet(sheet);
    const int height = B.Metric("edit_height");

    auto plain = [&](auto& AEdit, int AWidth, int AHeight) {
        AEdit.PictureIndex = sheet;
        const TRect rest = B.Place(sheet, AWidth, AHeight), active = B.Place(sheet, AWidth, AHeight);
        DrawField(B, raster, rest, false);
        DrawField(B, raster, active, true);
        B.NextRow(sheet);
        SetNinePieces(AEdit, rest, 4, 4, 4, 4);
        AEdit.ActiveSkinRect = active;
        SetEditFont(B, AEdit);
    };
    plain(B.Control<TspDataSkinEditControl>("edit"), 40, height);
    plain(B.Control<TspDataSkinEditControl>("tooledit"), 40, height - 2);
    auto& memo = B.Control<TspDataSkinMemoControl>("memo");
    plain(memo, 40, 40);
    memo.BGColor = memo.ActiveBGColor = B.Col("field");

    // The edit with a button: the button's place at the right, and its four looks.
    auto& buttonEdit = B.Control<TspDataSkinEditControl>("buttonedit");
    const int width = 60;
    buttonEdit.PictureIndex = sheet;
    const TRect place = Rect(width - 20, 3, width - 3, height - 3);
    TRect field[2];
    for (int i = 0; i < 2; ++i) {
        field[i] = B.Place(sheet, width, height);
        DrawField(B, raster, field[i], i == 1);
        DrawDots(raster, Offset(place, field[i].Left, field[i].Top), B.Rgb("ink_muted"));
    }
    SetNinePieces(buttonEdit, field[0], 4, 4, 22, 4);
    buttonEdit.ActiveSkinRect = field[1];
    buttonEdit.ButtonRect = place;
    TRect* looks[] = {&buttonEdit.ActiveButtonRect, &buttonEdit.DownButtonRect, &buttonEdit.UnEnabledButtonRect};
    const TPart parts[] = {TPart::Hot, TPart::Down, TPart::Disabled};
    for (int i = 0; i < 3; ++i) {
        *looks[i] = B.Place(sheet, place.Right - place.Left, place.Bottom - place.Top);
        DrawInnerButton(B, raster, *looks[i], parts[i]);
        DrawDots(raster, *looks[i], GlyphColour(B, parts[i]));
    }
    B.NextRow(sheet);
    SetEditFont(B, buttonEdit);

    // The spin edit: two stacked arrow buttons at the right.
    auto& spin = B.Control<TspDataSkinSpinEditControl>("spinedit");
    spin.PictureIndex = sheet;
    const TRect up = Rect(width - 17, 2, width - 2, height / 2), down = Rect(width - 17, height / 2, width - 2, height - 2);
    for (int i = 0; i < 2; ++i) {
        field[i] = B.Place(sheet, width, height);
        DrawField(B, raster, field[i], i == 1);
        for (const TRect* arrow : {&up, &down})
            DrawChevron(raster, field[i].Left + (arrow->Left + arrow->Right) / 2.0f,
                        field[i].Top + (arrow->Top + arrow->Bottom) / 2.0f, 6,
                        arrow == &up ? TDirection::Up : TDirection::Down, B.Rgb("ink_muted"), 1.4f);
    }
    SetNinePieces(spin, field[0], 4, 4, 19, 4);
    spin.ActiveSkinRect = field[1];
    spin.UpButtonRect = up;
    spin.DownButtonRect = down;
    struct TLook {
        TRect* Rect;
        const TRect* Place;
        TPart Part;
        TDirection Direction;
    };
    const TLook spinLooks[] = {{&spin.ActiveUpButtonRect, &up, TPart::Hot, TDirection::Up},
                               {&spin.DownUpButtonRect, &up, TPart::Down, TDirection::Up},
                               {&spin.ActiveDownButtonRect, &down, TPart::Hot, TDirection::Down},
                               {&spin.DownDownButtonRect, &down, TPart::Down, TDirection::Down}};
    for (const TLook& look : spinLooks) {
        *look.Rect = B.Place(sheet, look.Place->Right - look.Place->Left, look.Place->Bottom - look.Place->Top);
        DrawInnerButton(B, raster, *look.Rect, look.Part);
        DrawChevron(raster, (look.Rect->Left + look.Rect->Right) / 2.0f, (look.Rect->Top + look.Rect->Bottom) / 2.0f,
                    6, look.Direction, GlyphColour(B, look.Part), 1.4f);
    }
    B.NextRow(sheet);
    spin.FontName = B.Font();
    spin.FontHeight = B.FontHeight();
    spin.FontColor = spin.ActiveFontColor = B.Col("ink");
    spin.DisabledFontColor = B.Col("ink_disabled");
}
