#include "skin/controls/skin_memo.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/win/win.h"
#include "skin/controls/edit_context_menu.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_bar_link.h"
#include "skin/controls/skin_pictures.h"
#include "skin/controls/text_control_skin.h"
#include "skin/core/control_records.h"
#include "skin/core/parent_background.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"

using namespace win;

TspSkinMemo::TspSkinMemo(TComponent* AOwner)
    : TspSkinLinked<TMemo>(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FSkinDataName = "memo";
    ControlStyle().Include(csOpaque);
    // Background, frame and text go through one buffer.
    SetDoubleBuffered(true);
    TCustomEdit::SetTransparent(true);
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(clBlack);
    FDefaultFont->Assign(Font());
    FDefaultFont->OnChange = [this](TObject*) {
        if (!Skinned()) Font()->Assign(FDefaultFont.get());
    };
    auto scroller = [this](UINT AMessage) {
        return [this, AMessage](Integer APosition) {
            SendThumbPosition(this, AMessage, APosition);
            Invalidate();
        };
    };
    FVLink = new TspScrollBarLink(this, scroller(WM_VSCROLL));
    FHLink = new TspScrollBarLink(this, scroller(WM_HSCROLL));
}

TspSkinMemo::~TspSkinMemo()
{
    FSysPopupMenu.reset();
    // The links detach the bars' OnChange, so a bar that outlives the memo never calls into it.
    delete FVLink;
    delete FHLink;
}

// ---- properties ----

void TspSkinMemo::SetSkinData(TspSkinData* AValue)
{
    Link(AValue);
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspSkinMemo::SetDefaultFont(TFont* AValue)
{
    FDefaultFont->Assign(AValue);
    GetSkinData();
    if (!Skinned()) Font()->Assign(AValue);
}

void TspSkinMemo::SetBitMapBG(bool AValue)
{
    FBitMapBG = AValue;
    TCustomEdit::SetTransparent(AValue);
    if (HandleAllocated()) RecreateWnd();
}

void TspSkinMemo::SetTransparent(bool AValue)
{
    if (FAlphaBlend == AValue) return;
    FAlphaBlend = AValue;
    Invalidate();
}

void TspSkinMemo::SetAlphaBlendValue(Byte AValue)
{
    if (FAlphaBlendValue == AValue) return;
    FAlphaBlendValue = AValue;
    if (FAlphaBlend) Invalidate();
}

TspSkinScrollBar* TspSkinMemo::VScrollBar() const { return FVLink->Bar(); }
TspSkinScrollBar* TspSkinMemo::HScrollBar() const { return FHLink->Bar(); }

void TspSkinMemo::SetVScrollBar(TspSkinScrollBar* AValue)
{
    if (AValue) AValue->SetRange(0, 0, 0, 0);
    FVLink->SetBar(AValue);
}

void TspSkinMemo::SetHScrollBar(TspSkinScrollBar* AValue)
{
    if (AValue) AValue->SetRange(0, 0, 0, 0);
    FHLink->SetBar(AValue);
}

void TspSkinMemo::CreateParams(TCreateParams& AParams)
{
    TspSkinLinked<TMemo>::CreateParams(AParams);
    AParams.ExStyle &= ~(WS_EX_CLIENTEDGE | WS_EX_TRANSPARENT);
    AParams.Style &= ~WS_BORDER;
    AParams.Style |= ES_MULTILINE;
}

// ---- skin ----

void TspSkinMemo::GetSkinData()
{
    // A record of another class is not a memo's: the plain look rather than a stale copy.
    auto* r = LookUpRecord<TspDataSkinMemoControl>();
    if (!r) return;
    Picture = SkinPicture(FSD, r->PictureIndex);
    SkinRect = r->SkinRect;
    ActiveSkinRect = IsEmptyRect(r->ActiveSkinRect) ? r->SkinRect : r->ActiveSkinRect;
    LTPoint = r->LTPoint;
    RTPoint = r->RTPoint;
    LBPoint = r->LBPoint;
    RBPoint = r->RBPoint;
    ClRect = r->ClRect;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    ActiveFontColor = r->ActiveFontColor;
    BGColor = r->BGColor;
    ActiveBGColor = r->ActiveBGColor;
    LeftStretch = r->LeftStretch;
    TopStretch = r->TopStretch;
    RightStretch = r->RightStretch;
    BottomStretch = r->BottomStretch;
    StretchEffect = r->StretchEffect;
    StretchType = r->StretchType;
}

void TspSkinMemo::ChangeSkinData()
{
    GetSkinData();
    if (!Skinned()) {
        Font()->Assign(FDefaultFont.get());
    } else {
        if (FUseSkinFont) {
            Font()->SetName(FontName);
            Font()->SetStyle(FontStyle);
            Font()->SetHeight(FontHeight);
        } else {
            Font()->Assign(FDefaultFont.get());
        }
        SetColor(BGColor);
    }
    Font()->SetCharset(SkinCharset(FSD, FDefaultFont->Charset()));
    UpDateScrollRange();
    if (TspSkinScrollBar* bar = VScrollBar()) bar->SetAlign(bar->Align());
    if (!Enabled())
        Font()->SetColor(clGrayText);
    else
        Font()->SetColor(Skinned() && FUseSkinFontColor ? FontColor : FDefaultFont->Color());
    AdjustTextRect();
    Invalidate();
}

void TspSkinMemo::HotColours(bool AActive)
{
    if (!Skinned()) return;
    if (FUseSkinFontColor) Font()->SetColor(AActive ? ActiveFontColor : FontColor);
    if (!FBitMapBG) SetColor(AActive ? ActiveBGColor : BGColor);
}

// ---- scroll bars ----

void TspSkinMemo::MirrorBar(TspScrollBarLink* ALink, int ABar, bool AVertical)
{
    TspSkinScrollBar* bar = ALink->Bar();
    if (!bar) return;
    if (!Enabled()) {
        bar->SetEnabled(false);
        return;
    }
    if (!HandleAllocated()) return;
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Handle(), ABar, info);
    const int page = static_cast<int>(info.nPage);
    // The vertical bar scrolls while a line is hidden; the horizontal one needs a page below the width.
    const bool scrolls = AVertical ? page < info.nMax + 1 : page < info.nMax;
    if (scrolls) {
        ALink->Mirror(0, info.nMax, page, info.nPos);
        if (!bar->Enabled()) bar->SetEnabled(true);
    } else {
        ALink->Mirror(0, 0, 0, 0);
        if (bar->Enabled()) bar->SetEnabled(false);
    }
}

void TspSkinMemo::UpDateScrollRange()
{
    MirrorBar(FVLink, SB_VERT, true);
    MirrorBar(FHLink, SB_HORZ, false);
}

// ---- repaint requests ----

void TspSkinMemo::Invalidate()
{
    if (!FBitMapBG) {
        TMemo::Invalidate();
        return;
    }
    if (Parent() && HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}

void TspSkinMemo::Refresh()
{
    UpDateScrollRange();
    if (FBitMapBG) Invalidate();
}

void TspSkinMemo::Change()
{
    TMemo::Change();
    UpDateScrollRange();
}

void TspSkinMemo::AdjustTextRect()
{
    GetSkinData();
    TRect r = ClientRect();
    if (!Skinned()) {
        r.Left += FBitMapBG ? 3 : 6;
        r.Top += 2;
        r.Right -= 4;
        r.Bottom -= 2;
    } else {
        r.Left += ClRect.Left + (FBitMapBG ? 1 : 3);
        r.Top += ClRect.Top + (FBitMapBG ? 1 : 2);
        r.Right -= SkinRect.Width() - ClRect.Right + 3;
        r.Bottom -= SkinRect.Height() - ClRect.Bottom + 2;
    }
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    if (r == FTextArea) return;
    FTextArea = r;
    if (!HandleAllocated()) return;
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    UpDateScrollRange();
}

// ---- painting ----

void TspSkinMemo::PaintFrame(TCanvas* ACanvas)
{
    const Integer w = Width(), h = Height();
    if (!Skinned() || !Picture) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(clBtnShadow);
        ACanvas->FrameRect(Rect(0, 0, w, h));
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->FrameRect(Rect(1, 1, w - 1, h - 1));
        return;
    }
    const Integer dw = w - SkinRect.Width(), dh = h - SkinRect.Height();
    TBitmap left, top, right, bottom;
    BuildSkinFrameStrips(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, {RTPoint.X + dw, RTPoint.Y},
                         {LBPoint.X, LBPoint.Y + dh}, {RBPoint.X + dw, RBPoint.Y + dh},
                         Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh), &left, &top, &right,
                         &bottom, Picture, Hot() ? ActiveSkinRect : SkinRect, w, h, LeftStretch, TopStretch,
                         RightStretch, BottomStretch);
    ACanvas->Draw(0, 0, &top);
    ACanvas->Draw(0, top.Height(), &left);
    ACanvas->Draw(w - right.Width(), top.Height(), &right);
    ACanvas->Draw(0, h - bottom.Height(), &bottom);
}

void TspSkinMemo::PaintBackground(HDC ADC)
{
    const Integer w = ClientWidth(), h = ClientHeight();
    if (w < 1 || h < 1) return;
    GetSkinData();
    TBitmap buffer(w, h);
    TCanvas* c = buffer.Canvas();
    TBitmap parent;
    if (FAlphaBlend) {
        parent.SetSize(w, h);
        PaintParentBackground(this, parent.Canvas());
    }
    if (FAlphaBlend && FAlphaBlendValue == 255) {
        // The parent's picture as background under an unmixed frame.
        c->Draw(0, 0, &parent);
        PaintFrame(c);
    } else {
        if (!Skinned() || !Picture) {
            c->Brush()->SetColor(clWindow);
            c->FillRect(Rect(0, 0, w, h));
        } else if (FBitMapBG) {
            ComposeSkinClientImage(ClRect, Rect(0, 0, w, h), &buffer, Picture, Hot() ? ActiveSkinRect : SkinRect, w,
                                   h, StretchEffect, StretchType);
        } else {
            c->Brush()->SetColor(Color());
            c->FillRect(Rect(0, 0, w, h));
        }
        PaintFrame(c);
        if (FAlphaBlend) {
            MixOver(&buffer, &parent, FAlphaBlendValue);
        }
    }
    BitBlt(ADC, 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
    AdjustTextRect();
}

void TspSkinMemo::PaintWindow(HDC ADC)
{
    if (Enabled()) {
        TMemo::PaintWindow(ADC);
        return;
    }
    PaintDisabledLines(ADC);
}

void TspSkinMemo::PaintDisabledLines(HDC ADC)
{
    GetSkinData();
    // The disabled colour is the edits', whatever the memo's own record is called.
    auto* edit = FindRecord<TspDataSkinEditControl>(FSD, "edit");
    const TColor disabled = Skinned() && edit ? edit->DisabledFontColor : clGrayText;
    TFont font;
    if (Skinned() && FUseSkinFont) {
        font.SetName(FontName);
        font.SetHeight(FontHeight);
        font.SetStyle(FontStyle);
    } else {
        font.Assign(FDefaultFont.get());
    }
    font.SetColor(disabled);
    font.SetCharset(Font()->Charset());
    TCanvas canvas;
    canvas.SetHandle(ADC);
    canvas.SetFont(&font);
    canvas.Brush()->SetStyle(bsClear);
    const Integer lineHeight = canvas.TextHeight("Wq");
    static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TRect r = FTextArea;
    // Every line that shows, also the one the bottom edge cuts.
    for (Integer i = FirstVisibleRow(); i < Lines()->Count() && r.Top < FTextArea.Bottom && lineHeight > 0; ++i) {
        const std::string line = Lines()->Strings(i);
        RECT box = r;
        DrawText(ADC, line.c_str(), static_cast<int>(line.size()), &box, kAlign[Alignment()] | DT_NOPREFIX);
        r.Top += lineHeight;
    }
    canvas.SetHandle(nullptr);
}

// ---- messages ----

void TspSkinMemo::ContextMenu(TMessage& AMessage)
{
    if (PopupMenu()) {
        TspSkinLinked<TMemo>::WndProc(AMessage);
        return;
    }
    ShowEditMenu(this, AMessage, FSD ? FSD->ResourceStrData() : nullptr, FSysPopupMenu);
    AMessage.Result = 1;
}

void TspSkinMemo::WndProc(TMessage& AMessage)
{
    const bool readOnly = ReadOnly();
    switch (AMessage.Msg) {
    case WM_NCCALCSIZE: AMessage.Result = 0; return;  // the whole window is client area
    case WM_NCHITTEST: AMessage.Result = HTCLIENT; return;
    case WM_NCPAINT:
        if (FBitMapBG) Invalidate();
        return;
    case WM_ERASEBKGND:
        if (AMessage.WParam) PaintBackground(reinterpret_cast<HDC>(AMessage.WParam));
        AMessage.Result = 1;
        return;
    case WM_CHAR:
        if (!readOnly || AMessage.WParam == 3) TspSkinLinked<TMemo>::WndProc(AMessage);
        Refresh();
        return;
    case WM_KEYDOWN:
        if (readOnly && AMessage.WParam == VK_DELETE) return;
        TspSkinLinked<TMemo>::WndProc(AMessage);
        Refresh();
        return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_SETTEXT:
        if (readOnly && AMessage.Msg != WM_SETTEXT) return;
        TspSkinLinked<TMemo>::WndProc(AMessage);
        if (FBitMapBG) Invalidate();
        UpDateScrollRange();
        return;
    case WM_SIZE:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        AdjustTextRect();
        UpDateScrollRange();
        return;
    case WM_VSCROLL:
    case WM_HSCROLL:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        UpDateScrollRange();
        return;
    case WM_MOUSEWHEEL:
        // One line per wheel message, away from the user scrolling up.
        Perform(WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        if (FBitMapBG) Invalidate();
        AMessage.Result = 1;
        return;
    case WM_LBUTTONDOWN:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        FDown = true;
        return;
    case WM_LBUTTONUP:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        if (FDown) {
            UpDateScrollRange();
            FDown = false;
        }
        return;
    case WM_MOUSEMOVE:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        if (FDown) Refresh();
        return;
    case WM_MOVE:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        if (FAlphaBlend && Skinned()) Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        SendThumbPosition(this, WM_HSCROLL, 0);
        TspSkinLinked<TMemo>::WndProc(AMessage);
        UpDateScrollRange();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        if (!FMouseIn) {
            HotColours(AMessage.Msg == WM_SETFOCUS);
            Invalidate();
        }
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TspSkinLinked<TMemo>::WndProc(AMessage);
        if (AMessage.LParam != 0 && AMessage.LParam != reinterpret_cast<LPARAM>(this)) return;
        FMouseIn = AMessage.Msg == CM_MOUSEENTER;
        if (!Focused()) {
            HotColours(FMouseIn);
            Invalidate();
        }
        return;
    case WM_CONTEXTMENU: ContextMenu(AMessage); return;
    case SKM_AFTERMENUCOMMAND: FSysPopupMenu.reset(); return;
    default: TspSkinLinked<TMemo>::WndProc(AMessage);
    }
}
