// Bars: scroll bars, track bars, gauges and up-down buttons, each horizontal and vertical.
#include "skin_builder.h"

namespace {

enum class TPart { Rest, Hot, Down };

// An arrow button's look: the track shows at rest, a lit plate under the mouse, the accent when pressed.
void DrawArrowButton(TSkinBuilder& B, TRaster& ARaster, const TRect& ACell, TDirection ADirection, TPart APart,
                     uint32_t ABack)
{
    FillCell(ARaster, ACell, ABack);
    if (APart == TPart::Hot) DrawBox(ARaster, ACell, 1, 2, B.Rgb("face_hot"), B.Rgb("accent"), 1);
    if (APart == TPart::Down) DrawBox(ARaster, ACell, 1, 2, B.Rgb("accent_down"), 0, 0);
    const char* ink = APart == TPart::Hot ? "accent" : APart == TPart::Down ? "on_accent" : "ink_muted";
    DrawChevron(ARaster, (ACell.Left + ACell.Right) / 2.0f, (ACell.Top + ACell.Bottom) / 2.0f, 7, ADirection,
                B.Rgb(ink), 1.5f);
}

TRect Size(const TRect& ARect) { return Rect(0, 0, ARect.Right - ARect.Left, ARect.Bottom - ARect.Top); }

void BuildScrollBar(TSkinBuilder& B, int ASheet, const char* AName, bool AVertical)
{
    TRaster& raster = B.Sheet(ASheet);
    const int size = B.Metric("scroll_size"), length = 60;
    const uint32_t track = B.Rgb("track");
    auto& bar = B.Control<TspDataSkinScrollBarControl>(AName);
    bar.PictureIndex = ASheet;
    const TRect cell = AVertical ? B.Place(ASheet, size, length) : B.Place(ASheet, length, size);
    FillCell(raster, cell, track);
    // The down button lowers the position (left or top), the up button raises it (right or bottom).
    const TRect down = Rect(0, 0, size, size);
    const TRect up = AVertical ? Rect(0, length - size, size, length) : Rect(length - size, 0, length, size);
    const TDirection downArrow = AVertical ? TDirection::Up : TDirection::Left;
    const TDirection upArrow = AVertical ? TDirection::Down : TDirection::Right;
    DrawArrowButton(B, raster, Offset(down, cell.Left, cell.Top), downArrow, TPart::Rest, track);
    DrawArrowButton(B, raster, Offset(up, cell.Left, cell.Top), upArrow, TPart::Rest, track);
    // An end piece stops one pixel before the far button, so that the button moves with the bar's far end.
    if (AVertical) SetVerticalPieces(bar, cell, size, size + 1);
    else SetHorizontalPieces(bar, cell, size, size + 1);
    bar.DownButtonRect = down;
    bar.UpButtonRect = up;
    bar.TrackArea = AVertical ? Rect(0, size, size, length - size) : Rect(size, 0, length - size, size);
    auto arrow = [&](TDirection ADirection, TPart APart) {
        const TRect r = B.Place(ASheet, size, size);
        DrawArrowButton(B, raster, r, ADirection, APart, track);
        return r;
    };
    bar.ActiveDownButtonRect = arrow(downArrow, TPart::Hot);
    bar.DownDownButtonRect = arrow(downArrow, TPart::Down);
    bar.ActiveUpButtonRect = arrow(upArrow, TPart::Hot);
    bar.DownUpButtonRect = arrow(upArrow, TPart::Down);
    const char* thumbs[] = {"thumb", "thumb_hot", "accent"};
    TRect* thumbRects[] = {&bar.ThumbRect, &bar.ActiveThumbRect, &bar.DownThumbRect};
    const int thumbLength = 24, thumbCross = size / 2;
    for (int i = 0; i < 3; ++i) {
        const TRect r = AVertical ? B.Place(ASheet, thumbCross, thumbLength) : B.Place(ASheet, thumbLength, thumbCross);
        FillCell(raster, r, track);
        raster.RoundBox(r.Left, r.Top, r.Right, r.Bottom, thumbCross / 2.0f, TPaint::Flat(B.Rgb(thumbs[i])));
        *thumbRects[i] = r;
    }
    B.NextRow(ASheet);
    bar.ThumbOffset1 = bar.ThumbOffset2 = thumbCross / 2 + 1;
    bar.ThumbStretchEffect = true;
    bar.ThumbMinSize = 20;
}

void BuildTrackBar(TSkinBuilder& B, int ASheet, const char* AName, bool AVertical)
{
    TRaster& raster = B.Sheet(ASheet);
    const int cross = 20, length = 60, thumb = 16;
    auto& bar = B.Control<TspDataSkinTrackBarControl>(AName);
    bar.PictureIndex = ASheet;
    bar.Vertical = AVertical;
    auto drawTrack = [&](const TRect& ACell, const char* AColour) {
        FillCell(raster, ACell, B.Rgb("window"));
        const float mid = (AVertical ? ACell.Left + ACell.Right : ACell.Top + ACell.Bottom) / 2.0f;
        if (AVertical) raster.RoundBox(mid - 2, ACell.Top + 6, mid + 2, ACell.Bottom - 6, 2, TPaint::Flat(B.Rgb(AColour)));
        else raster.RoundBox(ACell.Left + 6, mid - 2, ACell.Right - 6, mid + 2, 2, TPaint::Flat(B.Rgb(AColour)));
    };
    const TRect rest = AVertical ? B.Place(ASheet, cross, length) : B.Place(ASheet, length, cross);
    const TRect active = AVertical ? B.Place(ASheet, cross, length) : B.Place(ASheet, length, cross);
    drawTrack(rest, "line_soft");
    drawTrack(active, "accent_tint_line");
    if (AVertical) SetVerticalPieces(bar, rest, 8, 8);
    else SetHorizontalPieces(bar, rest, 8, 8);
    bar.ActiveSkinRect = active;
    bar.TrackArea = AVertical ? Rect(0, thumb / 2, cross, length - thumb / 2) : Rect(thumb / 2, 0, length - thumb / 2, cross);
    // The thumb's cell carries the track behind it, so it needs no transparent colour.
    for (const bool hot : {false, true}) {
        const TRect r = AVertical ? B.Place(ASheet, cross, thumb) : B.Place(ASheet, thumb, cross);
        drawTrack(r, hot ? "accent_tint_line" : "line_soft");
        const float cx = (r.Left + r.Right) / 2.0f, cy = (r.Top + r.Bottom) / 2.0f;
        raster.Disc(cx, cy, 7, TPaint::Flat(B.Rgb(hot ? "accent" : "field")));
        raster.Ring(cx, cy, 7, hot ? 0 : 1.2f, TPaint::Flat(B.Rgb("line")));
        if (hot) raster.Disc(cx, cy, 2.5f, TPaint::Flat(B.Rgb("on_accent")));
        (hot ? bar.ActiveButtonRect : bar.ButtonRect) = r;
    }
    B.NextRow(ASheet);
}

void BuildGauge(TSkinBuilder& B, int ASheet, const char* AName, bool AVertical)
{
    TRaster& raster = B.Sheet(ASheet);
    const int cross = 16, length = 60;
    auto& gauge = B.Control<TspDataSkinGaugeControl>(AName);
    gauge.PictureIndex = ASheet;
    gauge.Vertical = AVertical;
    const TRect cell = AVertical ? B.Place(ASheet, cross, length) : B.Place(ASheet, length, cross);
    FillCell(raster, cell, B.Rgb("window"));
    DrawBox(raster, cell, 0, 4, B.Rgb("track"), B.Rgb("line_soft"), 1);
    if (AVertical) SetVerticalPieces(gauge, cell, 5, 5);
    else SetHorizontalPieces(gauge, cell, 5, 5);
    gauge.ProgressArea = AVertical ? Rect(2, 2, cross - 2, length - 2) : Rect(2, 2, length - 2, cross - 2);
    const TRect progress = AVertical ? B.Place(ASheet, cross - 4, 20) : B.Place(ASheet, 20, cross - 4);
    // The gauge's one text colour crosses the filled part and the track: the fill is the accent's light tint, on
    // which the ink reads as on the track, and a band of the accent along its edge shows how far it goes.
    FillCell(raster, progress, B.Rgb("track"));
    raster.RoundBox(progress.Left, progress.Top, progress.Right, progress.Bottom, 3,
                    TPaint::Flat(B.Rgb("accent_tint_line")));
    raster.RoundBox(progress.Left + 1, progress.Top + 1, progress.Right - 1, progress.Bottom - 1, 2,
                    TPaint::Flat(B.Rgb("accent_tint")));
    if (AVertical)
        raster.RoundBox(progress.Right - 4, progress.Top, progress.Right, progress.Bottom, 2,
                        TPaint::Flat(B.Rgb("accent")));
    else
        raster.RoundBox(progress.Left, progress.Bottom - 3, progress.Right, progress.Bottom, 1.5f,
                        TPaint::Flat(B.Rgb("accent")));
    B.NextRow(ASheet);
    gauge.ProgressRect = progress;
    gauge.BeginOffset = gauge.EndOffset = 4;
    gauge.ProgressStretch = true;
    gauge.FontName = B.Font();
    gauge.FontHeight = B.FontHeight() - 2;
    gauge.FontColor = B.Col("ink");
}

void BuildUpDown(TSkinBuilder& B, int ASheet, const char* AName, bool AVertical)
{
    TRaster& raster = B.Sheet(ASheet);
    auto& updown = B.Control<TspDataSkinUpDownControl>(AName);
    updown.PictureIndex = ASheet;
    const int across = 16, along = 11;
    const TRect down = AVertical ? Rect(0, along, across, 2 * along) : Rect(0, 0, along, across);
    const TRect up = AVertical ? Rect(0, 0, across, along) : Rect(along, 0, 2 * along, across);
    const TDirection upArrow = AVertical ? TDirection::Up : TDirection::Right;
    const TDirection downArrow = AVertical ? TDirection::Down : TDirection::Left;
    const TRect cell = AVertical ? B.Place(ASheet, across, 2 * along) : B.Place(ASheet, 2 * along, across);
    FillCell(raster, cell, B.Rgb("window"));
    DrawBox(raster, cell, 0, 2, B.Rgb("face"), B.Rgb("line"), 1);
    for (const auto& [place, direction] : {std::pair{up, upArrow}, std::pair{down, downArrow}})
        DrawChevron(raster, cell.Left + (place.Left + place.Right) / 2.0f, cell.Top + (place.Top + place.Bottom) / 2.0f,
                    6, direction, B.Rgb("ink_muted"), 1.4f);
    updown.SkinRect = cell;
    updown.UpButtonRect = up;
    updown.DownButtonRect = down;
    auto look = [&](const TRect& APlace, TDirection ADirection, TPart APart) {
        const TRect r = B.Place(ASheet, Size(APlace).Right, Size(APlace).Bottom);
        DrawArrowButton(B, raster, r, ADirection, APart, B.Rgb("face"));
        return r;
    };
    updown.ActiveUpButtonRect = look(up, upArrow, TPart::Hot);
    updown.DownUpButtonRect = look(up, upArrow, TPart::Down);
    updown.ActiveDownButtonRect = look(down, downArrow, TPart::Hot);
    updown.DownDownButtonRect = look(down, downArrow, TPart::Down);
    B.NextRow(ASheet);
}

}  // namespace

void BuildBars(TSkinBuilder& B)
{
    const int sheet = B.AddSheet("bars.bmp", 300, B.Rgb("window"));
    BuildScrollBar(B, sheet, "hscrollbar", false);
    BuildScrollBar(B, sheet, "vscrollbar", true);
    // The corner-marker mode keeps the horizontal bar's look.
    BuildScrollBar(B, sheet, "bothhscrollbar", false);
    BuildTrackBar(B, sheet, "htrackbar", false);
    BuildTrackBar(B, sheet, "trackbar", true);
    BuildGauge(B, sheet, "gauge", false);
    BuildGauge(B, sheet, "vgauge", true);
    BuildUpDown(B, sheet, "hupdown", false);
    BuildUpDown(B, sheet, "vupdown", true);
}
