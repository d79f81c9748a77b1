#include "skin/controls/plain_look.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/text.h"
#include "platform/gui/canvas.h"
#include "skin/core/glyph_pictures.h"

TspPartLook PartLookOf(bool ADown, bool AMouseIn)
{
    if (ADown && AMouseIn) return TspPartLook::Pressed;
    return AMouseIn ? TspPartLook::Hot : TspPartLook::Normal;
}

void DrawPlainPart(TCanvas* ACanvas, const TRect& R, TspPartLook ALook)
{
    TColor frame = clBtnShadow, fill = clBtnFace;
    if (ALook == TspPartLook::Hot) {
        frame = kPlainHotFrame;
        fill = kPlainHotFill;
    } else if (ALook == TspPartLook::Pressed) {
        frame = kPlainPressedFrame;
        fill = kPlainPressedFill;
    }
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(frame);
    ACanvas->FrameRect(R);
    ACanvas->Brush()->SetColor(fill);
    ACanvas->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

void DrawPlainArrowButton(TCanvas* ACanvas, const TRect& R, TspPartLook ALook, Integer AArrowKind)
{
    DrawPlainPart(ACanvas, R, ALook);
    DrawArrowGlyph(ACanvas, R, kPlainArrowColor, AArrowKind);
}

void DrawEmbossedText(TCanvas* ACanvas, const std::string& AText, TRect R, Cardinal AFormat, TColor AHighlight,
                      TColor AShadow)
{
    ACanvas->Brush()->SetStyle(bsClear);
    win::HDC dc = ACanvas->Handle();
    const int mode = win::SetBkMode(dc, win::TRANSPARENT);
    TRect shifted{R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1};
    const win::COLORREF old = win::SetTextColor(dc, ColorRefOf(AHighlight));
    win::DrawText(dc, AText, &shifted, AFormat);
    win::SetTextColor(dc, ColorRefOf(AShadow));
    win::DrawText(dc, AText, &R, AFormat);
    win::SetTextColor(dc, old);
    win::SetBkMode(dc, mode);
}
