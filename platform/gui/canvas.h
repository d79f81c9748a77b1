#pragma once
// A drawing surface with its font, pen and brush, over a device context. The DC is either foreign (given through
// SetHandle, never deleted here) or made by a derived canvas on first use (CreateHandle), such as a bitmap's.
#include <initializer_list>
#include <mutex>
#include <span>
#include <string>

#include "platform/gdi/gdi_types.h"
#include "platform/gui/graphics.h"

class TGraphic;

enum TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateItem>;

using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = win::BLACKNESS;
constexpr TCopyMode cmDstInvert = win::DSTINVERT;
constexpr TCopyMode cmMergeCopy = win::MERGECOPY;
constexpr TCopyMode cmMergePaint = win::MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = win::NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = win::NOTSRCERASE;
constexpr TCopyMode cmPatCopy = win::PATCOPY;
constexpr TCopyMode cmPatInvert = win::PATINVERT;
constexpr TCopyMode cmPatPaint = win::PATPAINT;
constexpr TCopyMode cmSrcAnd = win::SRCAND;
constexpr TCopyMode cmSrcCopy = win::SRCCOPY;
constexpr TCopyMode cmSrcErase = win::SRCERASE;
constexpr TCopyMode cmSrcInvert = win::SRCINVERT;
constexpr TCopyMode cmSrcPaint = win::SRCPAINT;
constexpr TCopyMode cmWhiteness = win::WHITENESS;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Asking for the handle makes one when there is none (a canvas without a way to make one raises
    // EInvalidOperation "Canvas does not allow drawing") and selects the font, pen and brush into it.
    win::HDC Handle();
    // A foreign DC; the canvas selects its tools into it and deselects them when the handle changes.
    void SetHandle(win::HDC AValue);
    bool HandleAllocated() const { return FHandle != nullptr; }

    // Serialises drawing from several threads (the video hooks draw on bitmaps off the interface thread).
    void Lock();
    void Unlock();
    bool TryLock();
    Integer LockCount() const { return FLockCount; }

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    void SetFont(TFont* AValue) { FFont.Assign(AValue); }
    void SetPen(TPen* AValue) { FPen.Assign(AValue); }
    void SetBrush(TBrush* AValue) { FBrush.Assign(AValue); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode AValue) { FCopyMode = AValue; }
    TPoint PenPos();
    void SetPenPos(TPoint AValue) { MoveTo(AValue.X, AValue.Y); }
    // Options ExtTextOut gets from TextOut and TextRect besides clipping and opaque filling.
    win::UINT TextFlags() const { return FTextFlags; }
    void SetTextFlags(win::UINT AValue) { FTextFlags = AValue; }
    TRect ClipRect();

    void MoveTo(Integer AX, Integer AY);
    void LineTo(Integer AX, Integer AY);
    void Polyline(std::span<const TPoint> APoints);
    void Polyline(std::initializer_list<TPoint> APoints) { Polyline(std::span<const TPoint>(APoints.begin(), APoints.size())); }
    void Rectangle(Integer AX1, Integer AY1, Integer AX2, Integer AY2);
    void Rectangle(const TRect& ARect) { Rectangle(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom); }
    void Ellipse(Integer AX1, Integer AY1, Integer AX2, Integer AY2);
    void Ellipse(const TRect& ARect) { Ellipse(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom); }
    void FillRect(const TRect& ARect);
    void FrameRect(const TRect& ARect);
    TColor Pixels(Integer AX, Integer AY);
    void SetPixels(Integer AX, Integer AY, TColor AColor);

    void TextOut(Integer AX, Integer AY, const std::string& AText);
    // The text at AX, AY clipped to ARect; with a solid brush ARect is filled first.
    void TextRect(const TRect& ARect, Integer AX, Integer AY, const std::string& AText);
    TSize TextExtent(const std::string& AText);
    Integer TextWidth(const std::string& AText) { return TextExtent(AText).cx; }
    Integer TextHeight(const std::string& AText) { return TextExtent(AText).cy; }

    void Draw(Integer AX, Integer AY, TGraphic* AGraphic);
    void StretchDraw(const TRect& ARect, TGraphic* AGraphic);
    // StretchBlt from ACanvas through CopyMode.
    void CopyRect(const TRect& ADest, TCanvas* ACanvas, const TRect& ASource);

    // Deselects the tools; the next drawing call selects them again.
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void CreateHandle();
    virtual void Changing();
    virtual void Changed();
    void RequiredState(TCanvasState AState);

private:
    void DeselectHandles();
    void FontChanged(TObject* ASender);
    void PenChanged(TObject* ASender);
    void BrushChanged(TObject* ASender);

    win::HDC FHandle = nullptr;
    TCanvasState FState;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    win::UINT FTextFlags = 0;
    std::recursive_mutex FLock;
    Integer FLockCount = 0;
};
