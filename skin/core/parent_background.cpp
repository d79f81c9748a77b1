#include "skin/core/parent_background.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/controls.h"
#include "platform/gui/forms.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/win.h"
#include "skin/core/rect_helpers.h"

namespace {

// The parent's own window painting, without its children: reached through the class's protected slot.
struct TWindowPainting : TWinControl {
    using TWinControl::PaintWindow;
};

// Marks a control as painting a copy for as long as the guard lives, also when its painting raises.
class TPaintCopyMark {
public:
    explicit TPaintCopyMark(TControl* AControl) : FControl(AControl) { FControl->ControlState() += TControlState{csPaintCopy}; }
    ~TPaintCopyMark() { FControl->ControlState() -= TControlState{csPaintCopy}; }
    TPaintCopyMark(const TPaintCopyMark&) = delete;
    TPaintCopyMark& operator=(const TPaintCopyMark&) = delete;

private:
    TControl* FControl;
};

class TSavedDC {
public:
    explicit TSavedDC(win::HDC ADC) : FDC(ADC), FLevel(win::SaveDC(ADC)) {}
    ~TSavedDC() { win::RestoreDC(FDC, FLevel); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    win::HDC FDC;
    int FLevel;
};

void PaintBackgroundOf(TWinControl* P, TControl* Control, win::HDC DC) {
    TSavedDC saved(DC);
    win::SetViewportOrgEx(DC, -Control->Left(), -Control->Top(), nullptr);
    win::IntersectClipRect(DC, 0, 0, P->ClientWidth(), P->ClientHeight());
    auto* form = dynamic_cast<TCustomForm*>(P);
    if (form && form->FormStyle() == fsMDIForm) {
        win::SendMessage(form->ClientHandle(), win::WM_ERASEBKGND, reinterpret_cast<win::WPARAM>(DC), 0);
        return;
    }
    P->Perform(win::WM_ERASEBKGND, reinterpret_cast<win::WPARAM>(DC), 0);
    if (!form) (P->*(&TWindowPainting::PaintWindow))(DC);
}

}  // namespace

void PaintParentBackground(TControl* Control, TCanvas* Canvas) {
    if (Control == nullptr || Control->Parent() == nullptr) return;
    TWinControl* P = Control->Parent();
    const Integer count = P->ControlCount();
    const win::HDC dc = Canvas->Handle();
    TPaintCopyMark parentMark(P);
    const TRect cr = Bounds(Control->Left(), Control->Top(), Control->Width(), Control->Height());
    PaintBackgroundOf(P, Control, dc);
    for (Integer i = 0; i < count; ++i) {
        TControl* sibling = P->Controls(i);
        if (sibling == Control) break;
        if (dynamic_cast<TGraphicControl*>(sibling) == nullptr || !sibling->Visible()) continue;
        if (IsEmptyRect(IntersectionOf(sibling->BoundsRect(), cr))) continue;
        TPaintCopyMark mark(sibling);
        TSavedDC saved(dc);
        win::SetViewportOrgEx(dc, sibling->Left() - Control->Left(), sibling->Top() - Control->Top(), nullptr);
        win::IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
        sibling->Perform(win::WM_PAINT, reinterpret_cast<win::WPARAM>(dc), 0);
    }
}

void CaptureScreenArea(Integer X, Integer Y, TBitmap* Bitmap) {
    const win::HDC screen = win::GetDC(nullptr);
    win::BitBlt(Bitmap->Canvas()->Handle(), 0, 0, Bitmap->Width(), Bitmap->Height(), screen, X, Y, win::SRCCOPY);
    win::ReleaseDC(nullptr, screen);
}

TColor DarkenColor(TColor Color, Integer Percent) {
    const uint32_t rgb = static_cast<uint32_t>(ColorToRGB(Color));
    Integer r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    r -= MulDiv(r, Percent, 100);
    g -= MulDiv(g, Percent, 100);
    b -= MulDiv(b, Percent, 100);
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}
