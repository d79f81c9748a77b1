#include "platform/gui/graphics.h"

#include <cstring>

#include "platform/gdi/objects.h"
#include "platform/gdi/text.h"
#include "platform/rtl/sysutils.h"

// ---- TGraphicsObject

TGraphicsObject::~TGraphicsObject()
{
    if (FHandle) win::DeleteObject(FHandle);
}

void TGraphicsObject::Changed()
{
    // The canvas that uses this object deselects it in OnChange; only then can the old handle go.
    win::HGDIOBJ old = FHandle;
    FHandle = nullptr;
    if (OnChange) OnChange(this);
    if (old) win::DeleteObject(old);
}

// ---- TFont

TFont::TFont() = default;

void TFont::Assign(TPersistent* ASource)
{
    auto* src = dynamic_cast<TFont*>(ASource);
    if (!src) {
        TGraphicsObject::Assign(ASource);
        return;
    }
    FName = src->FName;
    FHeight = src->FHeight;
    FStyle = src->FStyle;
    FColor = src->FColor;
    FCharset = src->FCharset;
    FPitch = src->FPitch;
    FOrientation = src->FOrientation;
    // The size in points is what carries over when the two fonts count pixels differently.
    if (src->FPixelsPerInch != FPixelsPerInch) FHeight = MulDiv(FHeight, FPixelsPerInch, src->FPixelsPerInch);
    Changed();
}

win::HFONT TFont::Handle()
{
    if (!ObjectHandle()) {
        win::LOGFONT lf;
        lf.lfHeight = FHeight;
        lf.lfEscapement = FOrientation;
        lf.lfOrientation = FOrientation;
        lf.lfWeight = FStyle.Contains(fsBold) ? win::FW_BOLD : win::FW_NORMAL;
        lf.lfItalic = FStyle.Contains(fsItalic);
        lf.lfUnderline = FStyle.Contains(fsUnderline);
        lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        lf.lfCharSet = FCharset;
        lf.lfPitchAndFamily = static_cast<win::BYTE>(FPitch);
        std::strncpy(lf.lfFaceName, FName.c_str(), win::LF_FACESIZE - 1);
        SetObjectHandle(win::CreateFontIndirect(&lf));
    }
    return static_cast<win::HFONT>(ObjectHandle());
}

void TFont::SetName(const std::string& AValue)
{
    if (AValue.empty() || AValue == FName) return;
    FName = AValue;
    Changed();
}

void TFont::SetHeight(Integer AValue)
{
    if (AValue == FHeight) return;
    FHeight = AValue;
    Changed();
}

Integer TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(Integer AValue) { SetHeight(-MulDiv(AValue, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles AValue)
{
    if (AValue == FStyle) return;
    FStyle = AValue;
    Changed();
}

void TFont::SetColor(TColor AValue)
{
    if (AValue == FColor) return;
    FColor = AValue;
    Changed();
}

void TFont::SetCharset(TFontCharset AValue)
{
    if (AValue == FCharset) return;
    FCharset = AValue;
    Changed();
}

void TFont::SetPitch(TFontPitch AValue)
{
    if (AValue == FPitch) return;
    FPitch = AValue;
    Changed();
}

void TFont::SetOrientation(Integer AValue)
{
    if (AValue == FOrientation) return;
    FOrientation = AValue;
    Changed();
}

// ---- TPen

void TPen::Assign(TPersistent* ASource)
{
    auto* src = dynamic_cast<TPen*>(ASource);
    if (!src) {
        TGraphicsObject::Assign(ASource);
        return;
    }
    FColor = src->FColor;
    FWidth = src->FWidth;
    FStyle = src->FStyle;
    FMode = src->FMode;
    Changed();
}

win::HPEN TPen::Handle()
{
    if (!ObjectHandle()) {
        static constexpr win::UINT kStyles[] = {win::PS_SOLID, win::PS_DASH, win::PS_DOT, win::PS_DASHDOT,
                                                win::PS_DASHDOTDOT, win::PS_NULL, win::PS_INSIDEFRAME};
        SetObjectHandle(win::CreatePen(static_cast<int>(kStyles[FStyle]), FWidth, ColorRefOf(FColor)));
    }
    return static_cast<win::HPEN>(ObjectHandle());
}

void TPen::SetColor(TColor AValue)
{
    if (AValue == FColor) return;
    FColor = AValue;
    Changed();
}

void TPen::SetWidth(Integer AValue)
{
    if (AValue < 0 || AValue == FWidth) return;
    FWidth = AValue;
    Changed();
}

void TPen::SetStyle(TPenStyle AValue)
{
    if (AValue == FStyle) return;
    FStyle = AValue;
    Changed();
}

void TPen::SetMode(TPenMode AValue)
{
    if (AValue == FMode) return;
    FMode = AValue;
    Changed();
}

int TPen::Rop2() const
{
    static constexpr int kModes[] = {
        win::R2_BLACK,       win::R2_WHITE,      win::R2_NOP,         win::R2_NOT,
        win::R2_COPYPEN,     win::R2_NOTCOPYPEN, win::R2_MERGEPENNOT, win::R2_MASKPENNOT,
        win::R2_MERGENOTPEN, win::R2_MASKNOTPEN, win::R2_MERGEPEN,    win::R2_NOTMERGEPEN,
        win::R2_MASKPEN,     win::R2_NOTMASKPEN, win::R2_XORPEN,      win::R2_NOTXORPEN};
    return kModes[FMode];
}

// ---- TBrush

void TBrush::Assign(TPersistent* ASource)
{
    auto* src = dynamic_cast<TBrush*>(ASource);
    if (!src) {
        TGraphicsObject::Assign(ASource);
        return;
    }
    FColor = src->FColor;
    FStyle = src->FStyle;
    Changed();
}

win::HBRUSH TBrush::Handle()
{
    if (!ObjectHandle()) {
        if (FStyle == bsClear)
            SetObjectHandle(win::GetStockObject(win::NULL_BRUSH));
        else
            SetObjectHandle(win::CreateSolidBrush(ColorRefOf(FColor)));
    }
    return static_cast<win::HBRUSH>(ObjectHandle());
}

void TBrush::SetColor(TColor AValue)
{
    // A colour given to a clear brush makes it solid again, as callers expect when they set a colour to fill.
    if (AValue == FColor && FStyle != bsClear) return;
    FColor = AValue;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle AValue)
{
    if (AValue == FStyle) return;
    FStyle = AValue;
    Changed();
}
