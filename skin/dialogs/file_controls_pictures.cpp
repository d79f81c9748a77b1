#include "skin/dialogs/file_controls_pictures.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"

namespace {

// 0x00BBGGRR.
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kLightPink = 0xFFC0FF;
constexpr TColor kGrey = 0xC0C0C0;
constexpr TColor kDarkGrey = 0x808080;
constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kYellow = 0x00E0FF;
constexpr TColor kDarkYellow = 0x0080A0;
constexpr TColor kGreen = 0x00A000;
constexpr TColor kBlue = 0xC06000;
constexpr TColor kLed = 0x00FF00;

void Box(TCanvas* C, TRect R, TColor AFill, TColor AEdge)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(AFill);
    C->Pen()->SetColor(AEdge);
    C->Rectangle(R);
}

void Fill(TCanvas* C, TRect R, TColor AColor)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(AColor);
    C->FillRect(R);
}

void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor AColor)
{
    C->Pen()->SetColor(AColor);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

// A flat drive box with a slot and a lamp, as the hard, network and disc drives show it.
void DriveBox(TCanvas* C, Integer ATop)
{
    Box(C, Rect(1, ATop, 15, ATop + 6), kGrey, kDarkGrey);
    Line(C, 3, ATop + 2, 9, ATop + 2, kDarkGrey);
    Fill(C, Rect(11, ATop + 3, 13, ATop + 4), kLed);
}

void DrawFloppy(TCanvas* C)
{
    Box(C, Rect(1, 2, 15, 14), kGrey, kDarkGrey);
    Fill(C, Rect(4, 4, 12, 6), kBlack);      // the slot
    Fill(C, Rect(11, 10, 13, 12), kDarkGrey); // the eject button
}

void DrawHard(TCanvas* C) { DriveBox(C, 5); }

void DrawNetwork(TCanvas* C)
{
    DriveBox(C, 2);
    Line(C, 8, 8, 8, 12, kBlack);
    Line(C, 1, 12, 15, 12, kBlack);
    Fill(C, Rect(6, 12, 11, 15), kDarkGrey);
}

void DrawCDROM(TCanvas* C)
{
    DriveBox(C, 9);
    C->Brush()->SetColor(kWhite);
    C->Pen()->SetColor(kDarkGrey);
    C->Ellipse(3, 0, 13, 10);
    Fill(C, Rect(7, 4, 9, 6), kLightPink);  // the hole
}

void DrawRAM(TCanvas* C)
{
    Box(C, Rect(0, 0, 16, 10), kMagenta, kBlue);
    Fill(C, Rect(3, 3, 13, 7), kBlack);
    for (Integer x = 4; x < 13; x += 2) {
        Line(C, x, 1, x, 3, kDarkGrey);
        Line(C, x, 7, x, 9, kDarkGrey);
    }
}

void DrawFolderBody(TCanvas* C, bool AOpen)
{
    Box(C, Rect(1, 2, 7, 5), kYellow, kDarkYellow);  // the tab
    Box(C, Rect(1, 4, 15, 14), kYellow, kDarkYellow);
    if (AOpen) {
        // The front flap tilted down shows the folder open.
        Fill(C, Rect(2, 5, 14, 8), kWhite);
        Line(C, 1, 8, 15, 8, kDarkYellow);
    }
}

void DrawArrow(TCanvas* C)
{
    for (Integer i = 0; i < 4; ++i) Line(C, 9 + i, 7 - i + 3, 9 + i, 7 + i + 4, kGreen);
    Fill(C, Rect(5, 9, 9, 12), kGreen);
}

}  // namespace

std::unique_ptr<TBitmap> MakeFileControlPicture(TFileControlPicture AKind)
{
    const bool folder = AKind == TFileControlPicture::OpenFolder || AKind == TFileControlPicture::ClosedFolder ||
                        AKind == TFileControlPicture::CurrentFolder;
    const Integer height = folder ? 15 : AKind == TFileControlPicture::RAM ? 11 : 16;
    auto picture = std::make_unique<TBitmap>(16, height, pf24bit);
    TCanvas* c = picture->Canvas();
    const bool pink = AKind == TFileControlPicture::Floppy || AKind == TFileControlPicture::CDROM;
    Fill(c, Rect(0, 0, 16, height), pink ? kLightPink : kMagenta);
    switch (AKind) {
    case TFileControlPicture::Floppy: DrawFloppy(c); break;
    case TFileControlPicture::Hard: DrawHard(c); break;
    case TFileControlPicture::Network: DrawNetwork(c); break;
    case TFileControlPicture::CDROM: DrawCDROM(c); break;
    case TFileControlPicture::RAM: DrawRAM(c); break;
    case TFileControlPicture::OpenFolder: DrawFolderBody(c, true); break;
    case TFileControlPicture::ClosedFolder: DrawFolderBody(c, false); break;
    case TFileControlPicture::CurrentFolder:
        DrawFolderBody(c, true);
        DrawArrow(c);
        break;
    }
    // The key colour must stay in the bottom-left pixel.
    c->SetPixels(0, height - 1, pink ? kLightPink : kMagenta);
    picture->SetTransparent(true);
    return picture;
}
