// Painting of the MDI tabs bar: its background (the record's tile and the strip under the tabs), each tab in its
// look (plain, the record's tab at the skin's size or resized, or a resizable button), the close buttons and the
// mark where a dragged tab would land.
#include "platform/gui/canvas.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/parent_background.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/mdi_tabs_bar.h"

using namespace win;

namespace {

constexpr TColor kHotFill = static_cast<TColor>(0xD2BDB6);
constexpr TColor kActiveFill = static_cast<TColor>(0xB59385);
constexpr Cardinal kTabTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

TspDataSkinButtonControl* ButtonRecord(TspSkinMDITabsBar* ABar, const char* AName)
{
    return ABar->Skinned() ? FindButtonRecord(ABar->SkinData(), {AName}) : nullptr;
}

TRect PickRect(const TRect& AFirst, const TRect& AFallback) { return IsEmptyRect(AFirst) ? AFallback : AFirst; }

// A skin font (name, style, height) with the bar's UseSkinFont, else the bar's default font; the colour either way.
void SetTabFont(TCanvas* C, TspSkinMDITabsBar* ABar, const std::string& AName, TFontStyles AStyle, Integer AHeight,
                TColor AColor)
{
    if (ABar->UseSkinFont()) {
        C->Font()->SetName(AName);
        C->Font()->SetStyle(AStyle);
        C->Font()->SetHeight(AHeight);
    } else {
        C->Font()->Assign(ABar->DefaultFont());
    }
    C->Font()->SetColor(AColor);
}

}  // namespace

// ---- Tab ----

void TspMDITab::Draw(TCanvas* Cnvs)
{
    if (ObjectRect.Width() <= 0) return;
    if (TabsBar->TabKind() == sptkButton && TabsBar->Skinned())
        ButtonDraw(Cnvs);
    else if (TabsBar->UseSkinSize() || !TabsBar->Skinned())
        PlainDraw(Cnvs);
    else
        ResizeDraw(Cnvs);
}

void TspMDITab::DrawCaption(TCanvas* Cnvs, TRect R, bool ARaiseDrawParams)
{
    WideString caption = Utf8ToWide(Child->Caption());
    TruncateWideWithEllipsis(Cnvs, caption, R.Width());
    if (ARaiseDrawParams && TabsBar->OnTabGetDrawParamsEvent) TabsBar->OnTabGetDrawParamsEvent(this, Cnvs);
    Cnvs->Brush()->SetStyle(bsClear);
    DrawWideText(Cnvs, caption, R, kTabTextFormat);
}

TRect TspMDITab::TextBesideCloseButton(TCanvas* Cnvs, TRect AText, Integer AWidth, Integer AHeight)
{
    if (!TabsBar->ShowCloseButtons()) return AText;
    AText.Right = AWidth - TabsBar->FCloseSize - 5;
    DrawCloseButton(Cnvs, Rect(AText.Right, 0, AWidth, AHeight));
    return AText;
}

void TspMDITab::PlainDraw(TCanvas* Cnvs)
{
    TspSkinMDITabsBar* bar = TabsBar;
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (!bar->Skinned()) {
        TBitmap image(w, h);
        TCanvas* c = image.Canvas();
        c->Brush()->SetColor(Active ? kActiveFill : MouseIn ? kHotFill : clBtnFace);
        c->FillRect(Rect(0, 0, w, h));
        c->Font()->Assign(bar->DefaultFont());
        const TRect text = TextBesideCloseButton(c, Rect(2, 0, w - 2, h), w, h);
        DrawCaption(c, text, true);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
        return;
    }
    const TRect source = Active ? bar->ActiveTabRect : MouseIn ? bar->MouseInTabRect : bar->TabRect;
    const TColor color = Active ? bar->ActiveFontColor : MouseIn ? bar->MouseInFontColor : bar->FontColor;
    if (!bar->Picture || source.Width() <= 0 || source.Height() <= 0) return;
    TBitmap image(w, source.Height());
    BuildHStripImage(bar->TabLeftOffset, bar->TabRightOffset, &image, bar->Picture, source, w, source.Height(),
                     bar->TabStretchEffect);
    TCanvas* c = image.Canvas();
    SetTabFont(c, bar, bar->FontName, bar->FontStyle, bar->FontHeight, color);
    const TRect text = TextBesideCloseButton(c, Rect(bar->TabLeftOffset, 0, w - bar->TabRightOffset, h), w, h);
    DrawCaption(c, text, false);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspMDITab::ResizeDraw(TCanvas* Cnvs)
{
    TspSkinMDITabsBar* bar = TabsBar;
    const Integer w = ObjectRect.Width();
    const Integer h = ObjectRect.Height() + (Active ? bar->FActiveTabOffset : 0);
    TRect source = bar->TabRect;
    TColor color = bar->FontColor;
    if (MouseIn && !Active && !IsEmptyRect(bar->MouseInTabRect)) {
        source = bar->MouseInTabRect;
        color = bar->MouseInFontColor;
    } else if (Active) {
        source = bar->ActiveTabRect;
        color = bar->ActiveFontColor;
    }
    if (!bar->Picture || source.Width() <= 0 || source.Height() <= 0 || h <= 0) return;
    TBitmap image(w, h);
    const Integer q = bar->TabRect.Height() / 4;
    ComposeSkinImageSimple(&image, bar->Picture, source,
                           Rect(bar->TabLeftOffset, q, source.Width() - bar->TabRightOffset, source.Height() - q), true);
    TCanvas* c = image.Canvas();
    SetTabFont(c, bar, bar->FontName, bar->FontStyle, bar->FontHeight, color);
    const TRect text = TextBesideCloseButton(c, Rect(2, 0, w - 2, h), w, h);
    DrawCaption(c, text, true);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspMDITab::ButtonDraw(TCanvas* Cnvs)
{
    TspSkinMDITabsBar* bar = TabsBar;
    TspDataSkinButtonControl* r = ButtonRecord(bar, "resizebutton");
    TBitmap* picture = r ? SkinPicture(bar->SkinData(), r->PictureIndex) : nullptr;
    if (!r || !picture) return;
    TRect source = r->SkinRect;
    TColor color = r->FontColor;
    if (Active) {
        source = PickRect(r->DownSkinRect, PickRect(r->ActiveSkinRect, r->SkinRect));
        color = r->DownFontColor;
    } else if (MouseIn) {
        source = PickRect(r->ActiveSkinRect, r->SkinRect);
        color = r->ActiveFontColor;
    }
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (h <= 0) return;
    const Integer dw = w - r->SkinRect.Width(), dh = h - r->SkinRect.Height();
    const TRect cl = Rect(r->ClRect.Left, r->ClRect.Top, r->ClRect.Right + dw, r->ClRect.Bottom + dh);
    TBitmap image(w, h);
    ComposeSkinImage(r->LTPoint, r->RTPoint, r->LBPoint, r->RBPoint, r->ClRect, r->LTPoint,
                     TPoint{r->RTPoint.X + dw, r->RTPoint.Y}, TPoint{r->LBPoint.X, r->LBPoint.Y + dh},
                     TPoint{r->RBPoint.X + dw, r->RBPoint.Y + dh}, cl, &image, picture, source, w, h, true,
                     r->LeftStretch, r->TopStretch, r->RightStretch, r->BottomStretch, r->StretchEffect,
                     r->StretchType);
    TCanvas* c = image.Canvas();
    SetTabFont(c, bar, r->FontName, r->FontStyle, r->FontHeight, color);
    TRect text = cl;
    if (bar->ShowCloseButtons()) {
        text.Right -= bar->FCloseSize + 3;
        DrawCloseButton(c, Rect(text.Right, 0, text.Right + bar->FCloseSize + 3, h));
    }
    const Integer textHeight = c->TextHeight("Wg");
    if (text.Height() < textHeight) {
        text.Top = (h - textHeight) / 2;
        text.Bottom = text.Top + textHeight;
    }
    DrawCaption(c, text, true);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspMDITab::DrawCloseButton(TCanvas* Cnvs, TRect R)
{
    TspSkinMDITabsBar* bar = TabsBar;
    const bool down = ButtonMouseDown && ButtonMouseIn;
    if (!bar->Skinned()) {
        const Integer c = R.Top + R.Height() / 2;
        ButtonRect = Rect(R.Left, c - 7, R.Left + 14, c + 7);
        DrawCloseGlyph(Cnvs, ButtonRect.Left + 2, ButtonRect.Top + 2, ButtonMouseIn ? clWhite : clBlack);
        return;
    }
    if (IsEmptyRect(bar->CloseButtonRect)) {
        TspDataSkinButtonControl* r = ButtonRecord(bar, "resizetoolbutton");
        TBitmap* picture = r ? SkinPicture(bar->SkinData(), r->PictureIndex) : nullptr;
        if (!r || !picture) return;
        const Integer size = bar->FCloseSize;
        TRect source = r->SkinRect;
        TColor color = r->FontColor;
        if (down) {
            source = PickRect(r->DownSkinRect, r->SkinRect);
            color = r->DownFontColor;
        } else if (ButtonMouseIn) {
            source = PickRect(r->ActiveSkinRect, r->SkinRect);
            color = r->ActiveFontColor;
        }
        TBitmap button(size, size);
        ComposeSkinImageSimple(&button, picture, source, r->ClRect, true);
        DrawCloseGlyph(button.Canvas(), size / 2 - 5, size / 2 - 5, color);
        const Integer top = R.Top + (R.Height() - size) / 2;
        ButtonRect = Rect(R.Left, top, R.Left + size, top + size);
        Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &button);
        return;
    }
    const TRect source = down ? bar->CloseButtonDownRect : ButtonMouseIn ? bar->ClosebuttonActiveRect
                                                                         : bar->CloseButtonRect;
    if (!bar->Picture || IsEmptyRect(source)) return;
    const Integer top = R.Top + (R.Height() - source.Height()) / 2;
    ButtonRect = Rect(R.Left, top, R.Left + source.Width(), top + source.Height());
    TBitmap button(source.Width(), source.Height());
    button.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), bar->Picture->Canvas(), source);
    if (bar->ButtonTransparent) {
        button.SetTransparentMode(tmFixed);
        button.SetTransparentColor(bar->ButtonTransparentColor);
        button.SetTransparent(true);
    }
    Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &button);
}

// ---- Bar ----

void TspSkinMDITabsBar::Paint()
{
    TspSkinControl::Paint();
    // The button listing the hidden tabs is there exactly while some are hidden.
    if (FInVisibleCount > 0 && !FHideListButton)
        CreateHideListButton();
    else if (FInVisibleCount == 0 && FHideListButton)
        FreeHideListButton();
}

void TspSkinMDITabsBar::DrawUnskinnedImage(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, B->Width(), B->Height()));
    DrawTabs(c);
}

void TspSkinMDITabsBar::DrawSkinnedImage(TBitmap* B)
{
    DrawBackground(B->Canvas());
    DrawTabs(B->Canvas());
}

void TspSkinMDITabsBar::DrawBackground(TCanvas* C)
{
    const Integer w = Width(), h = TabHeight();
    if (FSD && FSD->MDITabsTransparent) {
        PaintParentBackground(this, C);
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Rect(0, 0, w, Height()));
        // A skin's empty background tile leaves the plain face.
        const Integer tileW = TabsBGRect.Width();
        if (Picture && tileW > 0 && TabsBGRect.Height() > 0 && h > 0) {
            TBitmap tile(tileW, h);
            tile.Canvas()->CopyRect(Rect(0, 0, tileW, h), Picture->Canvas(), TabsBGRect);
            for (Integer i = 0; i <= w / tileW; ++i) C->Draw(i * tileW, 0, &tile);
        }
    }
    if (FTabKind != sptkTab || IsEmptyRect(SkinRect) || !Picture || FBottomOffset <= 0) return;
    const TRect source = Rect(SkinRect.Left + LTPoint.X, SkinRect.Top,
                              SkinRect.Right - (SkinRect.Width() - RTPoint.X), SkinRect.Top + ClRect.Top);
    if (source.Width() <= 0 || source.Height() <= 0) return;
    TBitmap strip(w, source.Height());
    BuildHStripImage(LTPoint.X, SkinRect.Width() - RTPoint.X, &strip, Picture, source, w, FBottomOffset, false);
    C->Draw(0, Height() - FBottomOffset, &strip);
}

void TspSkinMDITabsBar::DrawTabs(TCanvas* C)
{
    CalcTabRects();
    const bool held = FDown && DragIndex >= 0 && DragIndex < TabCount();
    for (Integer i = 0; i < TabCount(); ++i)
        if (Tabs(i)->Visible && !(held && i == DragIndex)) Tabs(i)->Draw(C);
    // The pressed tab goes on top, where the drag has taken it.
    if (held) Tabs(DragIndex)->Draw(C);
    if (IsDrag) DrawDropMark(C);
}

void TspSkinMDITabsBar::DrawDropMark(TCanvas* C)
{
    const Integer target = GetMoveIndex();
    if (target < 0) return;
    const TRect r = Tabs(target)->ObjectRect;
    const Integer x = TabDX < 1 ? r.Left : r.Right;
    const Integer h = Height() / 2;
    C->Pen()->SetMode(pmNot);
    for (Integer dx = -1; dx <= 1; ++dx) {
        C->MoveTo(x + dx, 0);
        C->LineTo(x + dx, Height());
    }
    C->Polyline({TPoint{x + 2, h}, TPoint{x + 5, h - 3}, TPoint{x + 5, h + 3}, TPoint{x + 2, h}});
    C->Polyline({TPoint{x - 2, h}, TPoint{x - 5, h - 3}, TPoint{x - 5, h + 3}, TPoint{x - 2, h}});
    C->Pen()->SetMode(pmCopy);
}
