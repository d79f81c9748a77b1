// Painting of the skinned grid: background, grid lines, the four cell regions (fixed corner, fixed rows, fixed
// columns, data), focus frames and the area beyond the cells, from the skin record "grid" or in system colours.
#include <algorithm>

#include "platform/gdi/colors.h"
#include "platform/gdi/dc.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/parent_background.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"
#include "skin/dialogs/grids/skin_custom_grid.h"

namespace {

bool EmptyRect(const TRect& R) { return R.Width() <= 0 || R.Height() <= 0; }

void Frame3D(TCanvas* C, const TRect& R, TColor ATopLeft, TColor ABottomRight)
{
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(ATopLeft);
    C->Polyline({TPoint{R.Left, R.Bottom - 1}, TPoint{R.Left, R.Top}, TPoint{R.Right, R.Top}});
    C->Pen()->SetColor(ABottomRight);
    C->Polyline({TPoint{R.Right - 1, R.Top}, TPoint{R.Right - 1, R.Bottom - 1}, TPoint{R.Left - 1, R.Bottom - 1}});
}

// Tiles from (0, 0) over AW x AH; a picture without size tiles nothing.
void TileFrom(TCanvas* C, TBitmap* APicture, Integer AW, Integer AH)
{
    if (APicture->Width() <= 0 || APicture->Height() <= 0) return;
    for (Integer Y = 0; Y <= AH / APicture->Height(); ++Y)
        for (Integer X = 0; X <= AW / APicture->Width(); ++X)
            C->Draw(X * APicture->Width(), Y * APicture->Height(), APicture);
}

bool Intersects(const TRect& A, const TRect& B)
{
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

}  // namespace

void TspSkinCustomGrid::SetUseSkinFont(bool AValue)
{
    if (AValue == FUseSkinFont) return;
    FUseSkinFont = AValue;
    Invalidate();
}

void TspSkinCustomGrid::SetUseSkinCellHeight(bool AValue)
{
    if (AValue == FUseSkinCellHeight) return;
    FUseSkinCellHeight = AValue;
    Invalidate();
}

void TspSkinCustomGrid::SetTransparent(bool AValue)
{
    FTransparent = AValue;
    Invalidate();
}

void TspSkinCustomGrid::SetWallpaper(TBitmap* AValue)
{
    if (AValue) {
        if (!FWallpaper) FWallpaper = std::make_unique<TBitmap>();
        FWallpaper->Assign(AValue);
        FTransparent = true;
    } else {
        FWallpaper.reset();
    }
    Invalidate();
}

void TspSkinCustomGrid::SetWallpaperStretch(bool AValue)
{
    FWallpaperStretch = AValue;
    if (HasWallpaper()) Invalidate();
}

void TspSkinCustomGrid::SetParentImage(TBitmap* AImage)
{
    AImage->SetSize(Width(), Height());
    if (!HasWallpaper()) {
        PaintParentBackground(this, AImage->Canvas());
    } else if (FWallpaperStretch) {
        AImage->Canvas()->StretchDraw({0, 0, AImage->Width(), AImage->Height()}, FWallpaper.get());
    } else {
        TileFrom(AImage->Canvas(), FWallpaper.get(), AImage->Width(), AImage->Height());
    }
}

void TspSkinCustomGrid::GetSkinData()
{
    FPicture = FBGPicture = nullptr;
    FGridRecord = nullptr;
    FIndex = -1;
    TspSkinControl::GetSkinData();
    FGridRecord = RecordAs<TspDataSkinGridControl>();
    if (!FGridRecord) {
        FIndex = -1;
        return;
    }
    FSelectCellRect = EmptyRect(FGridRecord->SelectCellRect) ? FGridRecord->FocusCellRect : FGridRecord->SelectCellRect;
    FFocusCellRect = EmptyRect(FGridRecord->FocusCellRect) ? FGridRecord->SelectCellRect : FGridRecord->FocusCellRect;
    if (EmptyRect(FGridRecord->FixedCellRect)) {
        // Without a fixed-cell picture the record cannot draw a grid: the plain look instead.
        FGridRecord = nullptr;
        FIndex = -1;
        return;
    }
    FPicture = SkinPicture(FSD, FGridRecord->PictureIndex);
    FBGPicture = SkinPicture(FSD, FGridRecord->BGPictureIndex);
}

void TspSkinCustomGrid::ChangeSkinData()
{
    GetSkinData();
    ApplySkinCursor();
    if (Skinned() && FUseSkinCellHeight && FDefaultRowHeight != FSelectCellRect.Height())
        SetDefaultRowHeight(FSelectCellRect.Height());
    else
        Invalidate();
}

TRect TspSkinCustomGrid::GetNewTextRect(const TRect& ACellR, TGridDrawState AState) const
{
    if (!FGridRecord) return ACellR;
    const bool Fixed = AState.Contains(gdFixed);
    const TRect& SkinR = Fixed ? FGridRecord->FixedCellRect : FSelectCellRect;
    const TRect& T = Fixed ? FGridRecord->FixedCellTextRect : FGridRecord->CellTextRect;
    if (EmptyRect(T)) return ACellR;
    const Integer DW = ACellR.Width() - SkinR.Width();
    const Integer DH = FUseSkinCellHeight ? 0 : ACellR.Height() - FGridRecord->FixedCellRect.Height();
    TRect R;
    R.Left = ACellR.Left + T.Left;
    R.Top = ACellR.Top + T.Top;
    R.Right = R.Left + T.Width() + DW;
    R.Bottom = R.Top + T.Height() + DH;
    return R;
}

void TspSkinCustomGrid::ApplyCellFont(TCanvas* ACanvas, TGridDrawState AState, TColor AColor)
{
    ApplyCellFontTo(ACanvas->Font(), AState, AColor);
}

void TspSkinCustomGrid::ApplyCellFontTo(TFont* F, TGridDrawState AState, TColor AColor)
{
    if (FUseSkinFont && FGridRecord) {
        const bool Fixed = AState.Contains(gdFixed);
        F->SetName(Fixed ? FGridRecord->FixedFontName : FGridRecord->FontName);
        F->SetHeight(Fixed ? FGridRecord->FixedFontHeight : FGridRecord->FontHeight);
        F->SetStyle(Fixed ? FGridRecord->FixedFontStyle : FGridRecord->FontStyle);
        F->SetCharset(Font()->Charset());
    } else {
        F->Assign(Font());
    }
    F->SetColor(AColor);
}

void TspSkinCustomGrid::BuildSkinCellImage(TBitmap* ABitmap, TGridDrawState AState, Integer AW, Integer AH)
{
    if (!FUseSkinCellHeight) ABitmap->SetSize(AW, AH);
    const bool Fixed = AState.Contains(gdFixed);
    const bool FocusLook = AState.Contains(gdFocused) || FOptions.Contains(goRowSelect);
    const TRect SkinR = Fixed ? FGridRecord->FixedCellRect : (FocusLook ? FFocusCellRect : FSelectCellRect);
    const Integer LeftOffset = Fixed ? FGridRecord->FixedCellLeftOffset : FGridRecord->CellLeftOffset;
    const Integer RightOffset = Fixed ? FGridRecord->FixedCellRightOffset : FGridRecord->CellRightOffset;
    const TRect& TextR = Fixed ? FGridRecord->FixedCellTextRect : FGridRecord->CellTextRect;
    const bool Stretch = Fixed ? FGridRecord->FixedCellStretchEffect : FGridRecord->CellStretchEffect;
    if (FUseSkinCellHeight)
        BuildHStripImage(LeftOffset, RightOffset, ABitmap, FPicture, SkinR, AW, AH, Stretch);
    else
        ComposeSkinImageSimple(ABitmap, FPicture, SkinR,
                               TRect{LeftOffset, TextR.Top, SkinR.Width() - RightOffset, TextR.Bottom}, true);
    const TColor FontColor = Fixed ? FGridRecord->FixedFontColor
                             : FocusLook ? FGridRecord->FocusFontColor
                                         : FGridRecord->SelectFontColor;
    ApplyCellFont(Canvas(), AState, FontColor);
    if (FGridRecord->ShowFocus && AState.Contains(gdFocused) && !FOptions.Contains(goRowSelect)) {
        TCanvas* C = ABitmap->Canvas();
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FSD->FSkinColors ? FSD->FSkinColors->FcBtnFace : clBtnFace);
        DrawDottedFocusRect(C, TRect{0, 0, ABitmap->Width(), ABitmap->Height()});
        C->Brush()->SetStyle(bsClear);
    }
}

void TspSkinCustomGrid::GridDrawLines(bool ADoHorz, bool ADoVert, Integer ACol, Integer ARow,
                                      const std::array<Integer, 4>& B, TColor AOnColor, TColor AOffColor,
                                      const TGridLayout& L, TColor /*ALineColor*/)
{
    if (B[0] == B[2] || B[1] == B[3]) return;
    TCanvas* C = Canvas();
    // Per axis: 0 draws the vertical lines (x major), 1 the horizontal ones (y major).
    auto DrawAxis = [&](int Major, const TGridAxisLayout& A, Integer First, bool OnOption) {
        if (A.LineWidth == 0) return;
        const int Minor = 1 - Major;
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(FGridLineWidth);
        C->Pen()->SetColor(OnOption ? AOnColor : AOffColor);
        Integer Cell = First;
        int64_t Line = B[Major] + A.LineWidth / 2 + A.GetExtent(Cell);
        const int64_t StopMajor = int64_t{B[2 + Major]} + A.LineWidth;
        while (Line <= StopMajor && Cell < A.CellCount) {
            const auto P = static_cast<Integer>(Line);
            if (Major == 0)
                C->Polyline({TPoint{P, B[Minor]}, TPoint{P, B[2 + Minor]}});
            else
                C->Polyline({TPoint{B[Minor], P}, TPoint{B[2 + Minor], P}});
            ++Cell;
            Line += A.GetExtent(Cell) + A.LineWidth;
        }
    };
    if (ADoHorz) {
        DrawAxis(0, L.Horz, ACol, ADoVert);
        DrawAxis(1, L.Vert, ARow, ADoHorz);
    } else {
        DrawAxis(1, L.Vert, ARow, ADoHorz);
        DrawAxis(0, L.Horz, ACol, ADoVert);
    }
}

void TspSkinCustomGrid::DrawCellRange(Integer ACol, Integer ARow, Integer AStartX, Integer AStartY, Integer AStopX,
                                      Integer AStopY, TColor AColor, TGridDrawState AIncludeState,
                                      const TGridLayout& L, const TGridRect& ASel)
{
    TCanvas* C = Canvas();
    const TRect Clip = C->ClipRect();
    const bool Active = GridIsActiveControl();
    Integer Top = AStartY;
    for (Integer Row = ARow; Top < AStopY && Row < FRowCount; ++Row) {
        const Integer H = RowHeights(Row);
        Integer Left = AStartX;
        for (Integer Col = ACol; Left < AStopX && Col < FColCount; ++Col) {
            const TRect Where{Left, Top, Left + ColWidths(Col), Top + H};
            Left = Where.Right + L.Horz.LineWidth;
            // Only cells inside the area being painted: after a scroll that is the new band and the selection,
            // whose bounding box may well be the whole page.
            if (Where.Right <= Where.Left || !Intersects(Where, Clip) || !RectVisible(C->Handle(), &Where)) continue;
            TGridDrawState State = AIncludeState;
            const bool Focused = Active && Col == FCurrent.X && Row == FCurrent.Y;
            if (Focused) State.Include(gdFocused);
            if (CellInGridRect(Col, Row, ASel)) State.Include(gdSelected);
            if (Focused && FOptions.Contains(goEditing) && FEditorMode && !Designing()) continue;
            if (FDefaultDrawing || Designing()) {
                const bool Fixed = State.Contains(gdFixed);
                const bool Selected = State.Contains(gdSelected);
                if (!FGridRecord) {
                    C->Font()->Assign(Font());
                    C->Brush()->SetStyle(bsSolid);
                    if (Selected && (!Focused || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect))) {
                        C->Brush()->SetColor(clHighlight);
                        C->Font()->SetColor(clHighlightText);
                        C->FillRect(Where);
                    } else if (!FTransparent || Fixed) {
                        C->Brush()->SetColor(AColor);
                        C->FillRect(Where);
                        if (Fixed) Frame3D(C, Where, clBtnHighlight, clBtnShadow);
                    }
                } else if (Selected || Focused || Fixed) {
                    TBitmap Cell;
                    BuildSkinCellImage(&Cell, State, Where.Width(), Where.Height());
                    C->Draw(Where.Left, Where.Top, &Cell);
                } else {
                    ApplyCellFont(C, State, FGridRecord->FontColor);
                    if (!FBGPicture && !FTransparent) {
                        C->Brush()->SetStyle(bsSolid);
                        C->Brush()->SetColor(FGridRecord->BGColor);
                        C->FillRect(Where);
                    }
                }
            }
            DrawCell(Col, Row, Where, State);
            if (!FGridRecord && FDefaultDrawing && !Designing() && Focused
                && !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor))
                && !FOptions.Contains(goRowSelect))
                DrawDottedFocusRect(C, Where);
        }
        Top += H + L.Vert.LineWidth;
    }
}

void TspSkinCustomGrid::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TCanvas* C = Canvas();
    if (FGridRecord && FBGPicture && !FTransparent) {
        TileFrom(C, FBGPicture, Width(), Height());
    } else if (FTransparent) {
        TBitmap ParentImage;
        SetParentImage(&ParentImage);
        C->Draw(0, 0, &ParentImage);
    }
    const TGridLayout L = ComputeLayout();
    if (L.Horz.LineWidth > 0 || L.Vert.LineWidth > 0) {
        TColor LineColor = FGridRecord ? FGridRecord->LinesColor : FGridLineColor;
        // Lines on a silver control would vanish: gray instead.
        if ((ColorToRGB(Color()) & 0xFFFFFF) == 0xC0C0C0) LineColor = 0x808080;
        const bool FH = FOptions.Contains(goFixedHorzLine);
        const bool FV = FOptions.Contains(goFixedVertLine);
        GridDrawLines(FH, FV, 0, 0, {0, 0, L.Horz.FixedEnd, L.Vert.FixedEnd}, LineColor, FFixedColor, L, LineColor);
        GridDrawLines(FH, FV, LeftCol(), 0, {L.Horz.FixedEnd, 0, L.Horz.GridEnd, L.Vert.FixedEnd}, LineColor,
                      FFixedColor, L, LineColor);
        GridDrawLines(FH, FV, 0, TopRow(), {0, L.Vert.FixedEnd, L.Horz.FixedEnd, L.Vert.GridEnd}, LineColor,
                      FFixedColor, L, LineColor);
        GridDrawLines(FOptions.Contains(goHorzLine), FOptions.Contains(goVertLine), LeftCol(), TopRow(),
                      {L.Horz.FixedEnd, L.Vert.FixedEnd, L.Horz.GridEnd, L.Vert.GridEnd}, LineColor, Color(), L,
                      LineColor);
    }
    const TGridRect Sel = Selection();
    DrawCellRange(0, 0, 0, 0, L.Horz.FixedEnd, L.Vert.FixedEnd, FFixedColor, {gdFixed}, L, Sel);
    DrawCellRange(LeftCol(), 0, L.Horz.FixedEnd - FColOffset, 0, L.Horz.GridEnd, L.Vert.FixedEnd, FFixedColor,
                  {gdFixed}, L, Sel);
    DrawCellRange(0, TopRow(), 0, L.Vert.FixedEnd, L.Horz.FixedEnd, L.Vert.GridEnd, FFixedColor, {gdFixed}, L, Sel);
    DrawCellRange(LeftCol(), TopRow(), L.Horz.FixedEnd - FColOffset, L.Vert.FixedEnd, L.Horz.GridEnd,
                  L.Vert.GridEnd, Color(), {}, L, Sel);
    if (!Designing() && FOptions.Contains(goRowSelect) && FDefaultDrawing && Focused() && !FGridRecord)
        DrawDottedFocusRect(C, GridRectToClientRect(Sel, false));
    if ((!FGridRecord || !FBGPicture) && !FTransparent) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FGridRecord ? FGridRecord->BGColor : Color());
        if (L.Horz.GridEnd < L.Horz.ClientExtent)
            C->FillRect({L.Horz.GridEnd, 0, L.Horz.ClientExtent + 1, L.Vert.GridEnd});
        if (L.Vert.GridEnd < L.Vert.ClientExtent)
            C->FillRect({0, L.Vert.GridEnd, L.Horz.ClientExtent, L.Vert.ClientExtent});
    }
}
