#include "skin/dialogs/shell_images.h"

#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/shell/namespace.h"

namespace {

constexpr TColor kKey = static_cast<TColor>(0xFF00FF);
constexpr TColor kOutline = static_cast<TColor>(0x404040);
constexpr TColor kFolder = static_cast<TColor>(0x4CC8F0);       // warm yellow
constexpr TColor kFolderDark = static_cast<TColor>(0x2090C0);
constexpr TColor kPage = clWhite;
constexpr TColor kScreen = static_cast<TColor>(0xC08040);       // blue
constexpr TColor kDrive = static_cast<TColor>(0xB0B0B0);

// Draws on a 16-unit grid scaled to the picture's size.
class TIconPen {
public:
    TIconPen(TCanvas* ACanvas, Integer ASize) : C(ACanvas), K(ASize / 16) {}
    void Box(Integer L, Integer T, Integer R, Integer B, TColor AFill, TColor ALine = kOutline)
    {
        C->Pen()->SetColor(ALine);
        C->Brush()->SetColor(AFill);
        C->Rectangle(L * K, T * K, R * K, B * K);
    }
    void Fill(Integer L, Integer T, Integer R, Integer B, TColor AFill)
    {
        C->Brush()->SetColor(AFill);
        C->FillRect(Rect(L * K, T * K, R * K, B * K));
    }
    void Disc(Integer L, Integer T, Integer R, Integer B, TColor AFill)
    {
        C->Pen()->SetColor(kOutline);
        C->Brush()->SetColor(AFill);
        C->Ellipse(L * K, T * K, R * K, B * K);
    }

private:
    TCanvas* C;
    Integer K;
};

void DrawPage(TIconPen& P, TColor ABadge)
{
    P.Box(3, 1, 13, 15, kPage);
    P.Fill(10, 1, 13, 4, kKey);
    P.Box(10, 1, 13, 4, static_cast<TColor>(0xE0E0E0));
    if (ABadge != kPage) P.Box(5, 7, 11, 13, ABadge);
}

void DrawFolder(TIconPen& P, bool AOpen)
{
    P.Box(1, 3, 7, 6, kFolderDark);
    P.Box(1, 5, 15, 14, AOpen ? kFolderDark : kFolder);
    if (AOpen) P.Box(3, 8, 15, 14, kFolder);
}

void DrawDrive(TIconPen& P, TColor ALight)
{
    P.Box(1, 6, 15, 12, kDrive);
    P.Fill(11, 8, 13, 10, ALight);
}

void DrawIcon(TCanvas* ACanvas, Integer ASize, TShellIconKind AKind)
{
    TIconPen P(ACanvas, ASize);
    switch (AKind) {
    case sikFile: DrawPage(P, kPage); break;
    case sikFolderClosed: DrawFolder(P, false); break;
    case sikFolderOpen: DrawFolder(P, true); break;
    case sikHome:
        P.Box(3, 7, 13, 15, static_cast<TColor>(0xD0E0F0));
        P.Box(2, 3, 14, 8, static_cast<TColor>(0x3050C0));
        P.Fill(7, 10, 9, 15, kOutline);
        break;
    case sikComputer:
        P.Box(1, 2, 15, 11, static_cast<TColor>(0xD0D0D0));
        P.Box(3, 4, 13, 9, kScreen);
        P.Box(4, 12, 12, 15, kDrive);
        break;
    case sikDesktop:
        P.Box(1, 2, 15, 13, kScreen);
        P.Box(3, 4, 6, 7, kFolder);
        P.Fill(6, 13, 10, 15, kOutline);
        break;
    case sikVolumeFixed: DrawDrive(P, static_cast<TColor>(0x30C030)); break;
    case sikVolumeRemovable:
        DrawDrive(P, static_cast<TColor>(0x30C030));
        P.Fill(3, 8, 9, 10, kOutline);
        break;
    case sikVolumeOptical: P.Disc(1, 1, 15, 15, static_cast<TColor>(0xE0D0C0)); P.Disc(6, 6, 10, 10, kKey); break;
    case sikVolumeNetwork:
        DrawDrive(P, static_cast<TColor>(0x30C030));
        P.Fill(7, 12, 9, 15, kOutline);
        P.Fill(3, 14, 13, 15, kOutline);
        break;
    case sikVolumeRam: DrawDrive(P, static_cast<TColor>(0x2060E0)); break;
    case sikVideo: DrawPage(P, static_cast<TColor>(0x3030C0)); break;
    case sikAudio: DrawPage(P, static_cast<TColor>(0x30A030)); break;
    case sikImage: DrawPage(P, static_cast<TColor>(0xC08030)); break;
    case sikText: DrawPage(P, static_cast<TColor>(0xA0A0A0)); break;
    }
}

std::unique_ptr<TImageList> MakeList(Integer ASize)
{
    auto list = std::make_unique<TImageList>(nullptr, ASize, ASize);
    for (int kind = 0; kind < ShellIconKindCount; ++kind) {
        TBitmap picture(ASize, ASize, pf24bit);
        picture.Canvas()->Brush()->SetColor(kKey);
        picture.Canvas()->FillRect(Rect(0, 0, ASize, ASize));
        DrawIcon(picture.Canvas(), ASize, static_cast<TShellIconKind>(kind));
        list->AddMasked(&picture, kKey);
    }
    return list;
}

}  // namespace

TCustomImageList* ShellSystemImages(bool ALarge)
{
    static const std::unique_ptr<TImageList> small = MakeList(16);
    static const std::unique_ptr<TImageList> large = MakeList(32);
    return ALarge ? large.get() : small.get();
}
