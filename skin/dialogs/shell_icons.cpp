#include "skin/dialogs/shell_icons.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/shell/namespace.h"

#include <memory>

namespace {

constexpr TColor kMask = 0xFF00FF;  // clFuchsia: transparent

// Draws on a 16-unit grid scaled to the picture's size.
class TPainter {
public:
    TPainter(TCanvas* ACanvas, int ASize) : FCanvas(ACanvas), FScale(ASize / 16) {}
    void Box(int AX1, int AY1, int AX2, int AY2, TColor AFill, TColor AFrame)
    {
        FCanvas->Brush()->SetStyle(bsSolid);
        FCanvas->Brush()->SetColor(AFill);
        FCanvas->Pen()->SetColor(AFrame);
        FCanvas->Rectangle(AX1 * FScale, AY1 * FScale, AX2 * FScale, AY2 * FScale);
    }
    void Fill(int AX1, int AY1, int AX2, int AY2, TColor AColor)
    {
        FCanvas->Brush()->SetStyle(bsSolid);
        FCanvas->Brush()->SetColor(AColor);
        FCanvas->FillRect(Rect(AX1 * FScale, AY1 * FScale, AX2 * FScale, AY2 * FScale));
    }
    void Round(int AX1, int AY1, int AX2, int AY2, TColor AFill, TColor AFrame)
    {
        FCanvas->Brush()->SetStyle(bsSolid);
        FCanvas->Brush()->SetColor(AFill);
        FCanvas->Pen()->SetColor(AFrame);
        FCanvas->Ellipse(AX1 * FScale, AY1 * FScale, AX2 * FScale, AY2 * FScale);
    }
    void Line(int AX1, int AY1, int AX2, int AY2, TColor AColor)
    {
        FCanvas->Pen()->SetColor(AColor);
        FCanvas->Pen()->SetWidth(FScale);
        FCanvas->MoveTo(AX1 * FScale, AY1 * FScale);
        FCanvas->LineTo(AX2 * FScale, AY2 * FScale);
        FCanvas->Pen()->SetWidth(1);
    }

private:
    TCanvas* FCanvas;
    int FScale;
};

void Page(TPainter& P)
{
    P.Box(3, 1, 13, 15, 0xFFFFFF, 0x808080);
    P.Fill(10, 1, 13, 4, kMask);
    P.Line(10, 1, 10, 4, 0x808080);
    P.Line(10, 4, 13, 4, 0x808080);
}

void Folder(TPainter& P, bool AOpen)
{
    P.Box(1, 3, 7, 6, 0x3CB4E6, 0x1E78A0);       // the tab
    P.Box(1, 5, 15, 14, 0x50C8F0, 0x1E78A0);     // the body
    if (AOpen) P.Box(3, 8, 16, 14, 0x8CE1FA, 0x1E78A0);
}

void Drive(TPainter& P, TColor ALight)
{
    P.Box(1, 5, 15, 12, 0xC8C8C8, 0x505050);
    P.Fill(2, 10, 14, 11, 0x909090);
    P.Fill(11, 7, 13, 9, ALight);
}

void DrawKind(TCanvas* ACanvas, int ASize, int AKind)
{
    TPainter P(ACanvas, ASize);
    switch (AKind) {
        case sikFile: Page(P); break;
        case sikFolderClosed: Folder(P, false); break;
        case sikFolderOpen: Folder(P, true); break;
        case sikHome:
            P.Box(3, 7, 13, 15, 0xE0E8F0, 0x505050);
            for (int i = 0; i < 6; ++i) P.Line(2 + i, 8 - i, 14 - i, 8 - i, 0x2040C0);  // the roof
            P.Fill(7, 10, 10, 15, 0x204080);
            break;
        case sikComputer:
            P.Box(1, 2, 15, 11, 0x404040, 0x202020);
            P.Fill(2, 3, 14, 10, 0xE09050);
            P.Fill(6, 11, 10, 13, 0x606060);
            P.Fill(4, 13, 12, 14, 0x404040);
            break;
        case sikDesktop:
            P.Box(1, 2, 15, 13, 0xA06020, 0x603010);
            P.Fill(3, 4, 5, 6, 0xFFFFFF);
            P.Fill(3, 8, 5, 10, 0x50C8F0);
            break;
        case sikVolumeFixed: Drive(P, 0x00C000); break;
        case sikVolumeRemovable: Drive(P, 0x0080FF); break;
        case sikVolumeNetwork:
            Drive(P, 0x00C000);
            P.Line(8, 12, 8, 15, 0x404040);
            P.Line(3, 15, 13, 15, 0x404040);
            break;
        case sikVolumeRam:
            P.Box(1, 5, 15, 11, 0x208020, 0x104010);
            for (int x = 3; x < 14; x += 3) P.Fill(x, 6, x + 2, 9, 0x202020);
            break;
        case sikVolumeOptical:
            P.Round(1, 1, 15, 15, 0xD8D8D8, 0x707070);
            P.Round(6, 6, 10, 10, kMask, 0x707070);
            break;
        case sikVideo:
            Page(P);
            P.Fill(4, 6, 12, 12, 0x303030);
            for (int y = 7; y < 11; y += 2) {
                P.Fill(5, y, 6, y + 1, 0xFFFFFF);
                P.Fill(10, y, 11, y + 1, 0xFFFFFF);
            }
            break;
        case sikAudio:
            Page(P);
            P.Round(4, 10, 8, 13, 0x802000, 0x802000);
            P.Line(7, 5, 7, 11, 0x802000);
            P.Line(7, 5, 10, 6, 0x802000);
            break;
        case sikImage:
            Page(P);
            P.Fill(4, 5, 12, 9, 0xF0C080);
            P.Fill(4, 9, 12, 13, 0x40A040);
            break;
        case sikText:
            Page(P);
            for (int y = 5; y < 13; y += 2) P.Line(5, y, 11, y, 0x808080);
            break;
        default: Page(P); break;
    }
}

std::unique_ptr<TImageList> MakeList(int ASize)
{
    auto list = std::make_unique<TImageList>(nullptr, ASize, ASize);
    for (int kind = 0; kind < ShellIconKindCount; ++kind) {
        TBitmap picture(ASize, ASize, pf24bit);
        picture.Canvas()->Brush()->SetColor(kMask);
        picture.Canvas()->FillRect(Rect(0, 0, ASize, ASize));
        DrawKind(picture.Canvas(), ASize, kind);
        list->AddMasked(&picture, kMask);
    }
    return list;
}

}  // namespace

TCustomImageList* ShellImages(bool ALarge)
{
    static std::unique_ptr<TImageList> small = MakeList(16);
    static std::unique_ptr<TImageList> large = MakeList(32);
    return ALarge ? large.get() : small.get();
}
