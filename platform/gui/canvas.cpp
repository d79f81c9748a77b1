#include "platform/gui/canvas.h"

#include "platform/gdi/gdi.h"
#include "platform/gui/graphic.h"

TCanvas::TCanvas()
{
    FFont.OnChange = [this](TObject* s) { FontChanged(s); };
    FPen.OnChange = [this](TObject* s) { PenChanged(s); };
    FBrush.OnChange = [this](TObject* s) { BrushChanged(s); };
}

TCanvas::~TCanvas()
{
    // Our tools must leave a foreign DC before they are deleted with this canvas.
    DeselectHandles();
    FFont.OnChange = nullptr;
    FPen.OnChange = nullptr;
    FBrush.OnChange = nullptr;
}

win::HDC TCanvas::Handle()
{
    // Whoever takes the DC may draw on it directly: the canvas gets ready as for any drawing of its own.
    Changing();
    RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
    return FHandle;
}

void TCanvas::SetHandle(win::HDC AValue)
{
    if (AValue == FHandle) return;
    if (FHandle) {
        DeselectHandles();
        FState.Exclude(csHandleValid);
    }
    FHandle = AValue;
    if (FHandle) FState.Include(csHandleValid);
}

void TCanvas::Lock()
{
    FLock.lock();
    ++FLockCount;
}

void TCanvas::Unlock()
{
    --FLockCount;
    FLock.unlock();
}

bool TCanvas::TryLock()
{
    if (!FLock.try_lock()) return false;
    ++FLockCount;
    return true;
}

void TCanvas::CreateHandle() {}

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

void TCanvas::RequiredState(TCanvasState AState)
{
    TCanvasState needed = AState - FState;
    if (needed.Empty()) return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
        FState.Include(csHandleValid);
    }
    if (needed.Contains(csFontValid)) {
        win::SelectObject(FHandle, FFont.Handle());
        win::SetTextColor(FHandle, ColorRefOf(FFont.Color()));
        FState.Include(csFontValid);
    }
    if (needed.Contains(csPenValid)) {
        win::SelectObject(FHandle, FPen.Handle());
        win::SetROP2(FHandle, FPen.Rop2());
        FState.Include(csPenValid);
    }
    if (needed.Contains(csBrushValid)) {
        win::SelectObject(FHandle, FBrush.Handle());
        // Text drawn on this canvas is backed by the brush, or by nothing when the brush is clear.
        win::SetBkColor(FHandle, ColorRefOf(FBrush.Color()));
        win::SetBkMode(FHandle, FBrush.Style() == bsClear ? win::TRANSPARENT : win::OPAQUE);
        FState.Include(csBrushValid);
    }
}

void TCanvas::DeselectHandles()
{
    if (!FHandle) return;
    if (FState.Contains(csFontValid)) win::SelectObject(FHandle, win::GetStockObject(win::SYSTEM_FONT));
    if (FState.Contains(csPenValid)) win::SelectObject(FHandle, win::GetStockObject(win::BLACK_PEN));
    if (FState.Contains(csBrushValid)) win::SelectObject(FHandle, win::GetStockObject(win::WHITE_BRUSH));
    FState -= TCanvasState{csFontValid, csPenValid, csBrushValid};
}

void TCanvas::FontChanged(TObject*)
{
    if (FHandle && FState.Contains(csFontValid)) {
        win::SelectObject(FHandle, win::GetStockObject(win::SYSTEM_FONT));
        FState.Exclude(csFontValid);
    }
}

void TCanvas::PenChanged(TObject*)
{
    if (FHandle && FState.Contains(csPenValid)) {
        win::SelectObject(FHandle, win::GetStockObject(win::BLACK_PEN));
        FState.Exclude(csPenValid);
    }
}

void TCanvas::BrushChanged(TObject*)
{
    if (FHandle && FState.Contains(csBrushValid)) {
        win::SelectObject(FHandle, win::GetStockObject(win::WHITE_BRUSH));
        FState.Exclude(csBrushValid);
    }
}

void TCanvas::Refresh() { DeselectHandles(); }

TPoint TCanvas::PenPos()
{
    RequiredState({csHandleValid});
    TPoint p;
    win::GetCurrentPositionEx(FHandle, &p);
    return p;
}

TRect TCanvas::ClipRect()
{
    RequiredState({csHandleValid});
    TRect r;
    win::GetClipBox(FHandle, &r);
    return r;
}

void TCanvas::MoveTo(Integer AX, Integer AY)
{
    RequiredState({csHandleValid});
    win::MoveToEx(FHandle, AX, AY, nullptr);
}

void TCanvas::LineTo(Integer AX, Integer AY)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    win::LineTo(FHandle, AX, AY);
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> APoints)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    win::Polyline(FHandle, APoints.data(), static_cast<int>(APoints.size()));
    Changed();
}

void TCanvas::Rectangle(Integer AX1, Integer AY1, Integer AX2, Integer AY2)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    win::Rectangle(FHandle, AX1, AY1, AX2, AY2);
    Changed();
}

void TCanvas::Ellipse(Integer AX1, Integer AY1, Integer AX2, Integer AY2)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    win::Ellipse(FHandle, AX1, AY1, AX2, AY2);
    Changed();
}

void TCanvas::FillRect(const TRect& ARect)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    win::FillRect(FHandle, &ARect, FBrush.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& ARect)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    win::FrameRect(FHandle, &ARect, FBrush.Handle());
    Changed();
}

TColor TCanvas::Pixels(Integer AX, Integer AY)
{
    RequiredState({csHandleValid});
    // Reading asks the bitmap below for its current pixels, as drawing does.
    Changing();
    // Outside the clip this is CLR_INVALID, which reads as -1.
    return static_cast<TColor>(win::GetPixel(FHandle, AX, AY));
}

void TCanvas::SetPixels(Integer AX, Integer AY, TColor AColor)
{
    Changing();
    RequiredState({csHandleValid, csPenValid});
    win::SetPixel(FHandle, AX, AY, ColorRefOf(AColor));
    Changed();
}

void TCanvas::TextOut(Integer AX, Integer AY, const std::string& AText)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    win::ExtTextOut(FHandle, AX, AY, FTextFlags, nullptr, AText.data(), static_cast<int>(AText.size()), nullptr);
    win::MoveToEx(FHandle, AX + TextWidth(AText), AY, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& ARect, Integer AX, Integer AY, const std::string& AText)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    win::UINT options = FTextFlags | win::ETO_CLIPPED;
    if (FBrush.Style() != bsClear) options |= win::ETO_OPAQUE;
    win::ExtTextOut(FHandle, AX, AY, options, &ARect, AText.data(), static_cast<int>(AText.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const std::string& AText)
{
    RequiredState({csHandleValid, csFontValid});
    TSize size;
    win::GetTextExtentPoint32(FHandle, AText.data(), static_cast<int>(AText.size()), &size);
    return size;
}

void TCanvas::Draw(Integer AX, Integer AY, TGraphic* AGraphic)
{
    if (!AGraphic || AGraphic->Empty()) return;
    Changing();
    RequiredState({csHandleValid});
    AGraphic->Draw(this, Bounds(AX, AY, AGraphic->Width(), AGraphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& ARect, TGraphic* AGraphic)
{
    if (!AGraphic) return;
    Changing();
    RequiredState({csHandleValid});
    AGraphic->Draw(this, ARect);
    Changed();
}

void TCanvas::CopyRect(const TRect& ADest, TCanvas* ACanvas, const TRect& ASource)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    win::HDC src = ACanvas->Handle();
    win::StretchBlt(FHandle, ADest.Left, ADest.Top, ADest.Width(), ADest.Height(), src, ASource.Left, ASource.Top,
                    ASource.Width(), ASource.Height(), static_cast<win::DWORD>(FCopyMode));
    Changed();
}
