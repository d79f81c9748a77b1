#pragma once
// The drawing tools of a canvas: font, pen and brush. Each owns the GDI object made from its properties, builds it
// when first asked for its Handle and drops it on every change, then tells OnChange (a canvas selects the new one).
#include <string>

#include "platform/gdi/colors.h"
#include "platform/gdi/gdi_types.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/set.h"

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// A colour as the GDI takes it: system colours resolved, flag bits dropped.
inline win::COLORREF ColorRefOf(TColor AColor) { return static_cast<win::COLORREF>(ColorToRGB(AColor)) & 0xFFFFFF; }
// The same as a 0x00RRGGBB pixel, and a pixel's colour back as a TColor.
inline uint32_t PixelOfColor(TColor AColor)
{
    win::COLORREF c = ColorRefOf(AColor);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline TColor ColorOfPixel(uint32_t APixel)
{
    return static_cast<TColor>(((APixel & 0xFF) << 16) | (APixel & 0xFF00) | ((APixel >> 16) & 0xFF));
}

class TGraphicsObject : public TPersistent {
public:
    ~TGraphicsObject() override;
    TNotifyEvent OnChange;

protected:
    // Drops the handle and tells OnChange.
    void Changed();
    void SetObjectHandle(win::HGDIOBJ AHandle) { FHandle = AHandle; }
    win::HGDIOBJ ObjectHandle() const { return FHandle; }

private:
    win::HGDIOBJ FHandle = nullptr;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

class TFont : public TGraphicsObject {
public:
    TFont();
    void Assign(TPersistent* ASource) override;

    win::HFONT Handle();
    const std::string& Name() const { return FName; }
    void SetName(const std::string& AValue);
    // Negative: the character height in pixels; positive: the cell height.
    Integer Height() const { return FHeight; }
    void SetHeight(Integer AValue);
    // Points at PixelsPerInch.
    Integer Size() const;
    void SetSize(Integer AValue);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles AValue);
    TColor Color() const { return FColor; }
    void SetColor(TColor AValue);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset AValue);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch AValue);
    // Angle of the baseline in tenths of a degree.
    Integer Orientation() const { return FOrientation; }
    void SetOrientation(Integer AValue);
    Integer PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(Integer AValue) { FPixelsPerInch = AValue; }

private:
    std::string FName = "Tahoma";
    Integer FHeight = -11;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    TFontCharset FCharset = win::DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    Integer FOrientation = 0;
    Integer FPixelsPerInch = 96;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, pmMaskNotPen,
    pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    void Assign(TPersistent* ASource) override;

    win::HPEN Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor AValue);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer AValue);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle AValue);
    // The mix mode is DC state, not part of the pen object; the canvas applies it with the pen.
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode AValue);
    int Rop2() const;

private:
    TColor FColor = clBlack;
    Integer FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Hatched styles are drawn solid: nothing here asks for hatching.
class TBrush : public TGraphicsObject {
public:
    void Assign(TPersistent* ASource) override;

    win::HBRUSH Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor AValue);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle AValue);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};
