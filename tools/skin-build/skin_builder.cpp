#include "skin_builder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

TSkinBuilder::TSkinBuilder(const TSkinStyle& AStyle) : Style(AStyle) { Skin.BuildMode = true; }

TColor TSkinBuilder::Col(const std::string& AName) const
{
    const uint32_t rgb = Rgb(AName);
    return TColor((rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16));
}

int TSkinBuilder::AddSheet(const std::string& AFileName, int AWidth, uint32_t AMatte)
{
    // Tall enough for any family; the file is cut to what the cells used.
    FSheets.push_back({AFileName, std::make_unique<TRaster>(AWidth, 1024, AMatte, 255), AMatte});
    Skin.FActivePicturesNames->Add(AFileName);
    return int(FSheets.size()) - 1;
}

void TSkinBuilder::NextRow(int ASheet)
{
    TSheet& sheet = FSheets.at(ASheet);
    if (sheet.X == 0) return;
    sheet.Y += sheet.RowHeight + 2;
    sheet.X = sheet.RowHeight = 0;
}

TRect TSkinBuilder::Place(int ASheet, int AWidth, int AHeight)
{
    TSheet& sheet = FSheets.at(ASheet);
    if (AWidth > sheet.Raster->Width()) throw std::runtime_error(sheet.FileName + ": a cell is wider than the sheet");
    if (sheet.X + AWidth > sheet.Raster->Width()) NextRow(ASheet);
    if (sheet.Y + AHeight > sheet.Raster->Height()) throw std::runtime_error(sheet.FileName + ": the sheet is full");
    const TRect cell = Rect(sheet.X, sheet.Y, sheet.X + AWidth, sheet.Y + AHeight);
    sheet.X += AWidth + 2;
    sheet.RowHeight = std::max(sheet.RowHeight, AHeight);
    return cell;
}

void TSkinBuilder::Write(const std::string& AFolder)
{
    for (const TSheet& sheet : FSheets)
        sheet.Raster->SaveBmp(AFolder + sheet.FileName, sheet.Matte, sheet.Y + sheet.RowHeight);
    const uint32_t matte = Rgb("window");
    if (FormPicture) FormPicture->SaveBmp(AFolder + Skin.FPictureName, matte);
    if (FormInactivePicture) FormInactivePicture->SaveBmp(AFolder + Skin.FInActivePictureName, matte);
    if (FormMask) FormMask->SaveBmp(AFolder + Skin.FMaskName, 0xFFFFFF);
    Skin.SaveToFile(AFolder + "skin.ini");
}

void SetNinePieces(TspDataSkinCustomControl& ARecord, const TRect& ASkinRect, int ALeft, int ATop, int ARight,
                   int ABottom)
{
    const int w = ASkinRect.Right - ASkinRect.Left, h = ASkinRect.Bottom - ASkinRect.Top;
    ARecord.SkinRect = ASkinRect;
    ARecord.LTPoint = {ALeft, ATop};
    ARecord.RTPoint = {w - ARight, ATop};
    ARecord.LBPoint = {ALeft, h - ABottom};
    ARecord.RBPoint = {w - ARight, h - ABottom};
    ARecord.ClRect = Rect(ALeft, ATop, w - ARight, h - ABottom);
    ARecord.LeftStretch = ARecord.TopStretch = ARecord.RightStretch = ARecord.BottomStretch = true;
    ARecord.StretchEffect = true;
    ARecord.StretchType = spstFull;
}

void SetHorizontalPieces(TspDataSkinCustomControl& ARecord, const TRect& ASkinRect, int ALeft, int ARight)
{
    const int w = ASkinRect.Right - ASkinRect.Left, h = ASkinRect.Bottom - ASkinRect.Top;
    ARecord.SkinRect = ASkinRect;
    ARecord.LTPoint = {ALeft, 0};
    ARecord.RTPoint = {w - ARight, 0};
    ARecord.LBPoint = ARecord.RBPoint = {0, 0};
    ARecord.ClRect = Rect(ALeft, 0, w - ARight, h);
    ARecord.TopStretch = ARecord.BottomStretch = true;
    ARecord.StretchEffect = true;
    ARecord.StretchType = spstHorz;
}

void SetVerticalPieces(TspDataSkinCustomControl& ARecord, const TRect& ASkinRect, int ATop, int ABottom)
{
    const int w = ASkinRect.Right - ASkinRect.Left, h = ASkinRect.Bottom - ASkinRect.Top;
    ARecord.SkinRect = ASkinRect;
    ARecord.LTPoint = {0, ATop};
    ARecord.RTPoint = ARecord.RBPoint = {0, 0};
    ARecord.LBPoint = {0, h - ABottom};
    ARecord.ClRect = Rect(0, ATop, w, h - ABottom);
    ARecord.LeftStretch = ARecord.RightStretch = true;
    ARecord.StretchEffect = true;
    ARecord.StretchType = spstVert;
}

TRect Offset(const TRect& ARect, int ADx, int ADy)
{
    return Rect(ARect.Left + ADx, ARect.Top + ADy, ARect.Right + ADx, ARect.Bottom + ADy);
}

TRect Relative(const TRect& ARect, const TRect& AOrigin) { return Offset(ARect, -AOrigin.Left, -AOrigin.Top); }

void FillCell(TRaster& ARaster, const TRect& ACell, uint32_t AColour)
{
    ARaster.Fill(ACell.Left, ACell.Top, ACell.Right, ACell.Bottom, AColour);
}

void DrawBox(TRaster& ARaster, const TRect& ACell, float AInset, float ARadius, uint32_t AFill, uint32_t AFrame,
             float AFrameWidth)
{
    const float l = ACell.Left + AInset, t = ACell.Top + AInset, r = ACell.Right - AInset, b = ACell.Bottom - AInset;
    ARaster.RoundBox(l, t, r, b, ARadius, TPaint::Flat(AFill));
    if (AFrameWidth > 0) ARaster.RoundFrame(l, t, r, b, ARadius, AFrameWidth, TPaint::Flat(AFrame));
}

namespace {

// The two arms of a chevron pointing right, turned to ADirection.
TPointF Turned(float AX, float AY, TDirection ADirection)
{
    switch (ADirection) {
    case TDirection::Right: return {AX, AY};
    case TDirection::Left: return {-AX, AY};
    case TDirection::Down: return {AY, AX};
    case TDirection::Up: return {AY, -AX};
    }
    return {AX, AY};
}

}  // namespace

void DrawChevron(TRaster& ARaster, float ACx, float ACy, float ASize, TDirection ADirection, uint32_t AColour,
                 float AWidth)
{
    const float h = ASize / 2;
    const TPointF a = Turned(-h / 2, -h, ADirection), tip = Turned(h / 2, 0, ADirection), c = Turned(-h / 2, h, ADirection);
    ARaster.Polyline({{ACx + a.X, ACy + a.Y}, {ACx + tip.X, ACy + tip.Y}, {ACx + c.X, ACy + c.Y}}, AWidth,
                     TPaint::Flat(AColour));
}

void DrawTriangle(TRaster& ARaster, float ACx, float ACy, float ASize, TDirection ADirection, uint32_t AColour)
{
    const float h = ASize / 2;
    const TPointF a = Turned(-h / 2, -h, ADirection), tip = Turned(h / 2, 0, ADirection), c = Turned(-h / 2, h, ADirection);
    ARaster.Polygon({{ACx + a.X, ACy + a.Y}, {ACx + tip.X, ACy + tip.Y}, {ACx + c.X, ACy + c.Y}}, TPaint::Flat(AColour));
}

void DrawTick(TRaster& ARaster, const TRect& ABox, uint32_t AColour)
{
    const float w = float(ABox.Right - ABox.Left), h = float(ABox.Bottom - ABox.Top);
    const float x = float(ABox.Left), y = float(ABox.Top);
    ARaster.Polyline({{x + w * 0.25f, y + h * 0.52f}, {x + w * 0.43f, y + h * 0.70f}, {x + w * 0.76f, y + h * 0.32f}},
                     std::max(1.6f, w / 8), TPaint::Flat(AColour));
}
