// Check and radio boxes: the control's background (at rest and under the mouse) and the mark in every state:
// unchecked, checked and grayed, each at rest, hot and disabled.
#include "skin_builder.h"

namespace {

enum class TMark { Unchecked, Checked, Grayed };
enum class TMood { Rest, Hot, Disabled };

void DrawMark(TSkinBuilder& B, TRaster& ARaster, const TRect& ACell, bool ARadio, TMark AMark, TMood AMood)
{
    FillCell(ARaster, ACell, B.Rgb("window"));
    const bool filled = AMark == TMark::Checked;
    const uint32_t accent = B.Rgb(AMood == TMood::Hot ? "accent_hot" : "accent");
    uint32_t fill = B.Rgb(AMood == TMood::Hot ? "face_hot" : "field"), frame = B.Rgb(AMood == TMood::Hot ? "accent" : "line");
    if (AMood == TMood::Disabled) fill = B.Rgb("field_disabled"), frame = B.Rgb("line_soft");
    if (filled) fill = frame = AMood == TMood::Disabled ? B.Rgb("line_soft") : accent;
    const float w = float(ACell.Right - ACell.Left), cx = ACell.Left + w / 2, cy = (ACell.Top + ACell.Bottom) / 2.0f;
    if (ARadio) {
        ARaster.Disc(cx, cy, w / 2 - 0.5f, TPaint::Flat(fill));
        ARaster.Ring(cx, cy, w / 2 - 0.5f, filled ? 0 : 1.2f, TPaint::Flat(frame));
        if (filled) ARaster.Disc(cx, cy, w / 5, TPaint::Flat(B.Rgb("on_accent")));
        if (AMark == TMark::Grayed) ARaster.Disc(cx, cy, w / 5, TPaint::Flat(AMood == TMood::Disabled ? frame : accent));
        return;
    }
    DrawBox(ARaster, ACell, 0.5f, float(B.Metric("small_radius")), fill, frame, filled ? 0 : 1.2f);
    if (filled) DrawTick(ARaster, ACell, B.Rgb("on_accent"));
    if (AMark == TMark::Grayed) {
        const float inset = w * 0.3f;
        ARaster.RoundBox(ACell.Left + inset, ACell.Top + inset, ACell.Right - inset, ACell.Bottom - inset, 1,
                         TPaint::Flat(AMood == TMood::Disabled ? frame : accent));
    }
}

}  // namespace

void BuildCheckBoxes(TSkinBuilder& B)
{
    const int sheet = B.AddSheet("checks.bmp", 260, B.Rgb("window"));
    TRaster& raster = B.Sheet(sheet);
    const int size = B.Metric("check_size"), height = B.Metric("item_height"), width = 120;
    for (const bool radio : {false, true}) {
        auto& r = B.Control<TspDataSkinCheckRadioControl>(radio ? "radiobox" : "checkbox");
        r.PictureIndex = sheet;
        const TRect rest = B.Place(sheet, width, height), hot = B.Place(sheet, width, height);
        FillCell(raster, rest, B.Rgb("window"));
        FillCell(raster, hot, B.Rgb("window"));
        // Under the mouse the whole row lights up faintly, so the hot state reads even on a small mark.
        DrawBox(raster, hot, 0, 3, B.Rgb("face_hot"), 0, 0);
        B.NextRow(sheet);
        SetHorizontalPieces(r, rest, 6, 6);
        r.ActiveSkinRect = hot;
        const int markTop = (height - size) / 2;
        r.CheckImageArea = Rect(2, markTop, 2 + size, markTop + size);
        r.TextArea = Rect(size + 8, 0, width - 2, height);
        auto mark = [&](TMark AMark, TMood AMood) {
            const TRect cell = B.Place(sheet, size, size);
            DrawMark(B, raster, cell, radio, AMark, AMood);
            return cell;
        };
        r.UnCheckImageRect = mark(TMark::Unchecked, TMood::Rest);
        r.ActiveUnCheckImageRect = mark(TMark::Unchecked, TMood::Hot);
        r.UnEnabledUnCheckImageRect = mark(TMark::Unchecked, TMood::Disabled);
        r.CheckImageRect = mark(TMark::Checked, TMood::Rest);
        r.ActiveCheckImageRect = mark(TMark::Checked, TMood::Hot);
        r.UnEnabledCheckImageRect = mark(TMark::Checked, TMood::Disabled);
        r.GrayedCheckImageRect = mark(TMark::Grayed, TMood::Rest);
        r.ActiveGrayedCheckImageRect = mark(TMark::Grayed, TMood::Hot);
        B.NextRow(sheet);
        r.FontName = B.Font();
        r.FontHeight = B.FontHeight();
        r.FontColor = r.ActiveFontColor = r.FrameFontColor = B.Col("ink");
        r.UnEnabledFontColor = B.Col("ink_disabled");
        r.Morphing = true;
    }
}
