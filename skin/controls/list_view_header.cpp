// The skinned list view's column header: a window procedure in front of the native header's that paints every
// section from a skin button record (or in the plain look) and remembers which section is pressed and whether a
// divider is being dragged.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/win/geometry.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/controls/list_view.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_text.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_strips.h"

namespace {
// The native header is made wider than the view so that its last section never ends inside the view.
constexpr int kHeaderExtraWidth = 25;
constexpr int kTextInset = 5;
constexpr int kImageGap = 10;
}  // namespace

void TspSkinCustomListView::HookHeader(win::HWND AHeader)
{
    ReleaseHeader();
    FHeaderHandle = AHeader;
    FDefHeaderProc = reinterpret_cast<win::WNDPROC>(win::GetWindowLong(AHeader, win::GWL_WNDPROC));
    win::SetWindowLong(AHeader, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(FHeaderInstance));
}

void TspSkinCustomListView::ReleaseHeader()
{
    if (FHeaderHandle && FDefHeaderProc && win::IsWindow(FHeaderHandle))
        win::SetWindowLong(FHeaderHandle, win::GWL_WNDPROC, reinterpret_cast<win::LONG_PTR>(FDefHeaderProc));
    FHeaderHandle = nullptr;
    FDefHeaderProc = nullptr;
}

win::LRESULT TspSkinCustomListView::HeaderWndProc(win::HWND AWindow, win::UINT AMsg, win::WPARAM AWParam,
                                                  win::LPARAM ALParam)
{
    win::LRESULT result = 0;
    switch (AMsg) {
    case win::WM_WINDOWPOSCHANGING:
        if (auto* pos = reinterpret_cast<win::WINDOWPOS*>(ALParam)) pos->cx += kHeaderExtraWidth;
        break;
    case win::WM_PAINT: PaintHeader(reinterpret_cast<win::HDC>(AWParam)); break;
    case win::WM_ERASEBKGND: result = 1; break;
    default:
        if (FDefHeaderProc) result = win::CallWindowProc(FDefHeaderProc, AWindow, AMsg, AWParam, ALParam);
        if (AMsg == win::WM_NCDESTROY && AWindow == FHeaderHandle) {
            FHeaderHandle = nullptr;
            FDefHeaderProc = nullptr;
        }
        break;
    }
    TrackHeaderMouse(AMsg, ALParam);
    return result;
}

void TspSkinCustomListView::TrackHeaderMouse(win::UINT AMsg, win::LPARAM ALParam)
{
    if (!FHeaderHandle) return;
    switch (AMsg) {
    case win::WM_MOUSEMOVE:
        // A column being resized repaints as it moves.
        if (FDevDown) win::RedrawWindow(FHeaderHandle, nullptr, nullptr, win::RDW_INVALIDATE);
        break;
    case win::WM_LBUTTONDOWN: {
        const TPoint at{static_cast<int16_t>(win::LOWORD(ALParam)), static_cast<int16_t>(win::HIWORD(ALParam))};
        FActiveSection = -1;
        for (Integer i = 0; i < ColumnCount(); ++i) {
            const TRect r = SectionRect(i);
            if (at.X >= r.Left && at.X < r.Right && at.Y >= r.Top && at.Y < r.Bottom) {
                FActiveSection = i;
                break;
            }
        }
        lists::HDHITTESTINFO hit;
        hit.pt = at;
        win::SendMessage(FHeaderHandle, lists::HDM_HITTEST, 0, reinterpret_cast<win::LPARAM>(&hit));
        FDevDown = (hit.flags & lists::HHT_ONDIVIDER) != 0;
        FHeaderDown = !FDevDown;
        win::RedrawWindow(FHeaderHandle, nullptr, nullptr, win::RDW_INVALIDATE);
        break;
    }
    case win::WM_LBUTTONUP:
        FHeaderDown = false;
        FDevDown = false;
        FActiveSection = -1;
        win::RedrawWindow(FHeaderHandle, nullptr, nullptr, win::RDW_INVALIDATE);
        break;
    default: break;
    }
}

TRect TspSkinCustomListView::SectionRect(Integer APosition)
{
    // Sections can be dragged into another order: display position i is the header item the order names.
    const auto count = static_cast<Integer>(win::SendMessage(FHeaderHandle, lists::HDM_GETITEMCOUNT, 0, 0));
    Integer item = APosition;
    if (count > 0) {
        std::vector<int> order(static_cast<size_t>(count));
        if (win::SendMessage(FHeaderHandle, lists::HDM_GETORDERARRAY, static_cast<win::WPARAM>(count),
                             reinterpret_cast<win::LPARAM>(order.data())) &&
            APosition >= 0 && APosition < count)
            item = order[static_cast<size_t>(APosition)];
    }
    TRect r;
    win::SendMessage(FHeaderHandle, lists::HDM_GETITEMRECT, static_cast<win::WPARAM>(item),
                     reinterpret_cast<win::LPARAM>(&r));
    return r;
}

void TspSkinCustomListView::GetHeaderSkinData()
{
    FHIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FHeaderSkinDataName) : -1;
    FH.Picture = nullptr;
    if (FHIndex < 0) return;
    auto* record = dynamic_cast<TspDataSkinButtonControl*>(FSD->CtrlList[FHIndex].get());
    if (!record) return;
    FH.LTPt = record->LTPoint;
    FH.RTPt = record->RTPoint;
    FH.LBPt = record->LBPoint;
    FH.RBPt = record->RBPoint;
    FH.SkinRect = record->SkinRect;
    FH.ClRect = record->ClRect;
    FH.StretchEffect = record->StretchEffect;
    FH.LeftStretch = record->LeftStretch;
    FH.TopStretch = record->TopStretch;
    FH.RightStretch = record->RightStretch;
    FH.BottomStretch = record->BottomStretch;
    FH.StretchType = record->StretchType;
    FH.Picture = SkinPicture(FSD, record->PictureIndex);
    FH.FontColor = record->FontColor;
    FH.ActiveFontColor = record->ActiveFontColor;
    FH.DownFontColor = record->DownFontColor;
    FH.ActiveSkinRect = IsEmptyRect(record->ActiveSkinRect) ? FH.SkinRect : record->ActiveSkinRect;
    FH.DownSkinRect = IsEmptyRect(record->DownSkinRect) ? FH.ActiveSkinRect : record->DownSkinRect;
}

void TspSkinCustomListView::PaintHeader(win::HDC ADC)
{
    if (!FHeaderHandle) return;
    win::PAINTSTRUCT ps;
    const bool own = ADC == nullptr;
    win::HDC dc = own ? win::BeginPaint(FHeaderHandle, ps) : ADC;
    TCanvas canvas;
    canvas.SetHandle(dc);
    const auto count = static_cast<Integer>(win::SendMessage(FHeaderHandle, lists::HDM_GETITEMCOUNT, 0, 0));
    Integer right = 0;
    for (Integer i = 0; i < count; ++i) {
        const TRect r = SectionRect(i);
        TListColumn* column = i < ColumnCount() ? Column(i) : nullptr;
        DrawHeaderSection(&canvas, column, i == FActiveSection && FHeaderDown, r);
        right = std::max(right, r.Right);
    }
    TRect window;
    win::GetWindowRect(FHeaderHandle, window);
    GetHeaderSkinData();
    // The filler right of the last section reaches one pixel beyond the header.
    const TRect filler{right, 0, window.Width() + 1, window.Height()};
    if (filler.Left < filler.Right) DrawHeaderFiller(&canvas, filler);
    canvas.SetHandle(nullptr);
    if (own) win::EndPaint(FHeaderHandle, ps);
}

void TspSkinCustomListView::DrawHeaderFiller(TCanvas* ACanvas, const TRect& F)
{
    if (!FH.Picture) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->FillRect(F);
        ACanvas->Brush()->SetColor(clBtnShadow);
        ACanvas->FrameRect(F);
        return;
    }
    TBitmap b(F.Width(), F.Height());
    const Integer dw = F.Width() - FH.SkinRect.Width(), dh = F.Height() - FH.SkinRect.Height();
    if (FH.LBPt.X != 0 || FH.LBPt.Y != 0) {
        const TPoint rt{FH.RTPt.X + dw, FH.RTPt.Y}, lb{FH.LBPt.X, FH.LBPt.Y + dh}, rb{FH.RBPt.X + dw, FH.RBPt.Y + dh};
        const TRect cl{FH.ClRect.Left, FH.ClRect.Top, FH.ClRect.Right + dw, FH.ClRect.Bottom + dh};
        ComposeSkinImageNoRightEdge(FH.LTPt, FH.RTPt, FH.LBPt, FH.RBPt, FH.ClRect, FH.LTPt, rt, lb, rb, cl, &b,
                                    FH.Picture, FH.SkinRect, F.Width(), F.Height(), true, FH.LeftStretch,
                                    FH.TopStretch, FH.RightStretch, FH.BottomStretch, FH.StretchEffect,
                                    FH.StretchType);
    } else {
        TBitmap strip;
        BuildLeftStripImage(FH.LTPt.X, FH.SkinRect.Width() - FH.RTPt.X, &strip, FH.Picture, FH.SkinRect, F.Width(),
                            FH.SkinRect.Height(), FH.StretchEffect);
        b.Canvas()->StretchDraw(Rect(0, 0, F.Width(), F.Height()), &strip);
    }
    ACanvas->Draw(F.Left, F.Top, &b);
}

void TspSkinCustomListView::DrawHeaderSection(TCanvas* ACanvas, TListColumn* AColumn, bool APressed, const TRect& R)
{
    if (R.Width() <= 0 || R.Height() <= 0) return;
    const Integer w = R.Width(), h = R.Height();
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    const TRect L{0, 0, w, h};
    GetHeaderSkinData();
    c->Font()->Assign(Font());
    if (!FH.Picture) {
        DrawPlainPart(c, L, APressed ? TspPartLook::Pressed : TspPartLook::Normal);
        c->Font()->SetColor(clBtnText);
    } else {
        const TRect& S = APressed ? FH.DownSkinRect : FH.SkinRect;
        c->Font()->SetColor(APressed ? FH.DownFontColor : FH.FontColor);
        const Integer dw = w - FH.SkinRect.Width(), dh = h - FH.SkinRect.Height();
        if (FH.LBPt.X != 0 || FH.LBPt.Y != 0) {
            const TPoint rt{FH.RTPt.X + dw, FH.RTPt.Y}, lb{FH.LBPt.X, FH.LBPt.Y + dh},
                rb{FH.RBPt.X + dw, FH.RBPt.Y + dh};
            const TRect cl{FH.ClRect.Left, FH.ClRect.Top, FH.ClRect.Right + dw, FH.ClRect.Bottom + dh};
            ComposeSkinImage(FH.LTPt, FH.RTPt, FH.LBPt, FH.RBPt, FH.ClRect, FH.LTPt, rt, lb, rb, cl, &b, FH.Picture,
                             S, w, h, true, FH.LeftStretch, FH.TopStretch, FH.RightStretch, FH.BottomStretch,
                             FH.StretchEffect, FH.StretchType);
        } else {
            TBitmap strip;
            BuildHStripImage(FH.LTPt.X, S.Width() - FH.RTPt.X, &strip, FH.Picture, S, w, FH.SkinRect.Height(),
                             FH.StretchEffect);
            c->StretchDraw(L, &strip);
        }
    }
    if (OnDrawHeaderSection)
        OnDrawHeaderSection(c, AColumn, APressed, L);
    else if (AColumn)
        DrawSectionContent(c, AColumn, L);
    ACanvas->Draw(R.Left, R.Top, &b);
}

void TspSkinCustomListView::DrawSectionContent(TCanvas* ACanvas, TListColumn* AColumn, const TRect& ASection)
{
    ACanvas->Brush()->SetStyle(bsClear);
    const TRect L{ASection.Left + kTextInset, ASection.Top, ASection.Right - kTextInset, ASection.Bottom};
    std::string text = AColumn->Caption;
    TCustomImageList* images = SmallImages();
    if (images && AColumn->ImageIndex >= 0 && AColumn->ImageIndex < images->Count()) {
        const Integer iw = images->Width();
        TruncateWithEllipsis(ACanvas, text, L.Width() - kImageGap - iw);
        const Integer tw = ACanvas->TextWidth(text);
        Integer x = L.Left;
        // A shortened caption starts at the left whatever the column's alignment.
        if (text == AColumn->Caption) {
            if (AColumn->Alignment == taRightJustify)
                x = L.Right - tw - iw - kImageGap;
            else if (AColumn->Alignment == taCenter)
                x = L.Left + L.Width() / 2 - (tw + iw + kImageGap) / 2;
        }
        images->Draw(ACanvas, x, L.Top + L.Height() / 2 - images->Height() / 2, AColumn->ImageIndex, true);
        ACanvas->TextRect(L, x + iw + kImageGap, L.Top + L.Height() / 2 - ACanvas->TextHeight(text) / 2, text);
        return;
    }
    TruncateWithEllipsis(ACanvas, text, L.Width());
    const Integer tw = ACanvas->TextWidth(text);
    const Integer y = L.Top + L.Height() / 2 - ACanvas->TextHeight(text) / 2;
    Integer x = L.Left;
    if (AColumn->Alignment == taRightJustify)
        x = L.Right - tw;
    else if (AColumn->Alignment == taCenter)
        x = L.Left + L.Width() / 2 - tw / 2;
    ACanvas->TextRect(L, x, y, text);
}
