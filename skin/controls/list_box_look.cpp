// How the skinned list box frame paints itself, and its caption strip with the up, down and check buttons.
#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/win/message_queue.h"
#include "skin/controls/list_box.h"
#include "skin/controls/plain_look.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/rect_helpers.h"

namespace {

constexpr win::UINT kRepeatFirstMs = 500, kRepeatMs = 100, kRepeatResumeMs = 50;

// The caption's width: text, and glyph plus spacing when there is a glyph.
Integer CaptionWidth(TCanvas* ACanvas, const std::string& AText, TBitmap* AGlyph, Integer ANumGlyphs, Integer ASpacing)
{
    Integer w = ACanvas->TextWidth(AText);
    if (AGlyph && !AGlyph->Empty()) w += AGlyph->Width() / std::max(1, ANumGlyphs) + ASpacing;
    return w;
}

}  // namespace

void TspSkinCustomListBox::LayoutUnskinnedCaptionButtons()
{
    for (auto& b : Buttons) b.R = TRect{};
    if (!CaptionButtonsActive()) return;
    const Integer s = std::min(17, FDefaultCaptionHeight - 3);
    const Integer w = Width();
    Buttons[0].R = Rect(w - s - 2, 2, w - 2, s + 1);
    Buttons[1].R = Rect(w - 2 * s - 2, 2, w - s - 2, s + 1);
    Buttons[2].R = Rect(w - 3 * s - 2, 2, w - 2 * s - 2, s + 1);
}

void TspSkinCustomListBox::DrawCaption(TCanvas* ACanvas, const TRect& ATextRect, Integer AY, TColor AColor)
{
    const std::string caption = Caption();
    const Integer numGlyphs = std::max(1, FNumGlyphs);
    const Integer w = CaptionWidth(ACanvas, caption, FGlyph.get(), numGlyphs, FSpacing);
    const TRect& r = ATextRect;
    const Integer inset = FHasRecord ? 2 : 0;
    Integer x = r.Left + inset;
    if (FAlignment == taRightJustify)
        x = r.Right - w - inset;
    else if (FAlignment == taCenter)
        x = r.Left + inset + r.Width() / 2 - w / 2;
    if (!FGlyph->Empty()) {
        const Integer gw = FGlyph->Width() / numGlyphs;
        const Integer gy = r.Top + r.Height() / 2 - FGlyph->Height() / 2 - (FHasRecord ? 0 : 1);
        const Integer frame = !Enabled() && FNumGlyphs == 2 ? 2 : 1;
        DrawGlyphStripFrame(ACanvas, x, gy, FGlyph.get(), numGlyphs, frame);
        x += gw + FSpacing;
    }
    ACanvas->Font()->SetColor(AColor);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextRect(r, x, AY, caption);
}

void TspSkinCustomListBox::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawUnskinnedImage(B);
    TCanvas* c = B->Canvas();
    LayoutUnskinnedCaptionButtons();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, Width(), Height()));
    if (!FCaptionMode) return;
    const Integer s = std::min(17, FDefaultCaptionHeight - 3);
    const TRect r = FShowCaptionButtons ? Rect(3, 2, Width() - 3 * s - 3, FDefaultCaptionHeight - 2)
                                        : Rect(3, 2, Width() - 2, FDefaultCaptionHeight - 2);
    c->Font()->Assign(FDefaultCaptionFont.get());
    if (FSD && FSD->ResourceStrData()) c->Font()->SetCharset(InterfaceCharset());
    const Integer y = (FDefaultCaptionHeight - 2) / 2 - c->TextHeight(Caption()) / 2;
    DrawCaption(c, r, y, FDefaultCaptionFont->Color());
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(1, FDefaultCaptionHeight - 1);
    c->LineTo(Width() - 1, FDefaultCaptionHeight - 1);
    if (FShowCaptionButtons)
        for (Integer i = 0; i < 3; ++i) DrawCaptionButton(c, i);
}

void TspSkinCustomListBox::DrawSkinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawSkinnedImage(B);
    if (!FHasRecord) return;
    TCanvas* c = B->Canvas();
    const TspListBoxSkin& s = FSkin;
    const TRect& skin = Pieces.SkinRect;
    const Integer dw = Width() - WidthOfRect(skin), dh = Height() - HeightOfRect(skin);
    // Caption buttons painted into the frame picture are covered when they are switched off.
    if (!FShowCaptionButtons && !IsEmptyRect(s.UpButtonRect) && Picture) {
        if (!IsEmptyRect(s.DisabledButtonsRect)) {
            TRect area = s.ButtonsArea;
            area.Left += dw;
            area.Right += dw;
            c->CopyRect(area, Picture->Canvas(), s.DisabledButtonsRect);
        } else if (Pieces.ClRect.Top > 1) {
            const TRect source{skin.Left + Pieces.LTPt.X, skin.Top, skin.Left + Pieces.RTPt.X, skin.Top + Pieces.ClRect.Top - 1};
            const TRect dest{Pieces.LTPt.X, 0, Width() - (WidthOfRect(skin) - s.UpButtonRect.Right), Pieces.ClRect.Top - 1};
            if (!IsEmptyRect(source) && !IsEmptyRect(dest)) c->CopyRect(dest, Picture->Canvas(), source);
        }
    }
    FNewClRect = Pieces.ClRect;
    FNewClRect.Right += dw;
    FNewClRect.Bottom += dh;
    for (auto& b : Buttons) b.R = TRect{};
    if (!FCaptionMode) return;
    FNewCaptionRect = s.CaptionRect;
    if (FShowCaptionButtons) {
        if (s.CaptionRect.Right >= Pieces.RTPt.X) FNewCaptionRect.Right += dw;
        const TRect* rects[3] = {&s.UpButtonRect, &s.DownButtonRect, &s.CheckButtonRect};
        for (Integer i = 0; i < 3; ++i) {
            TRect r = *rects[i];
            const bool down = r.Top > Pieces.LTPt.Y;
            if (down) {
                r.Top += dh;
                r.Bottom += dh;
            }
            if (r.Left > (down ? Pieces.RBPt.X : Pieces.RTPt.X)) {
                r.Left += dw;
                r.Right += dw;
            }
            Buttons[i].R = r;
        }
    } else {
        FNewCaptionRect.Right = Width() - s.CaptionRect.Left;
    }
    if (!IsEmptyRect(s.CaptionRect)) {
        c->Font()->SetName(s.CaptionFontName);
        c->Font()->SetHeight(s.CaptionFontHeight);
        c->Font()->SetStyle(s.CaptionFontStyle);
        c->Font()->SetCharset(FSD && FSD->ResourceStrData() ? InterfaceCharset() : FDefaultCaptionFont->Charset());
        const TRect& r = FNewCaptionRect;
        const Integer y = r.Top + r.Height() / 2 - c->TextHeight(Caption()) / 2;
        DrawCaption(c, r, y, s.CaptionFontColor);
    }
    if (FShowCaptionButtons)
        for (Integer i = 0; i < 3; ++i) DrawCaptionButton(c, i);
}

void TspSkinCustomListBox::DrawCaptionButton(TCanvas* ACanvas, Integer AIndex)
{
    const TCaptionButton& b = Buttons[AIndex];
    if (!FHasRecord) {
        if (IsEmptyRect(b.R)) return;
        const TspPartLook look = PartLookOf(b.Down, b.MouseIn);
        if (look == TspPartLook::Normal) {
            ACanvas->Brush()->SetStyle(bsSolid);
            ACanvas->Brush()->SetColor(clBtnFace);
            ACanvas->FillRect(b.R);
        } else {
            DrawPlainPart(ACanvas, b.R, look);
        }
        if (AIndex == 2)
            DrawCheckGlyph(ACanvas, b.R.Left + 4, b.R.Top + 4, clBlack);
        else
            DrawArrowGlyph(ACanvas, b.R, clBlack, AIndex == 0 ? 3 : 4);
        return;
    }
    if (IsEmptyRect(b.R) || !Picture) return;
    const TspListBoxSkin& s = FSkin;
    const TRect normal[3] = {s.UpButtonRect, s.DownButtonRect, s.CheckButtonRect};
    const TRect active[3] = {s.ActiveUpButtonRect, s.ActiveDownButtonRect, s.ActiveCheckButtonRect};
    const TRect down[3] = {s.DownUpButtonRect, s.DownDownButtonRect, s.DownCheckButtonRect};
    TRect source;
    if (b.Down && b.MouseIn)
        source = down[AIndex];
    else if (b.MouseIn)
        source = active[AIndex];
    if (IsEmptyRect(source)) {
        source = normal[AIndex];
        source.Left += Pieces.SkinRect.Left;
        source.Right += Pieces.SkinRect.Left;
        source.Top += Pieces.SkinRect.Top;
        source.Bottom += Pieces.SkinRect.Top;
    }
    ACanvas->CopyRect(b.R, Picture->Canvas(), source);
}

// --- caption buttons and their auto-repeat

void TspSkinCustomListBox::TestActiveButton(int AX, int AY)
{
    if (FHasRecord && (IsEmptyRect(FSkin.UpButtonRect) || IsEmptyRect(FSkin.DownButtonRect))) return;
    if (!FHasRecord) LayoutUnskinnedCaptionButtons();
    FOldActiveButton = FActiveButton;
    FActiveButton = -1;
    for (Integer i = 0; i < 3; ++i)
        if (AX >= Buttons[i].R.Left && AX < Buttons[i].R.Right && AY >= Buttons[i].R.Top && AY < Buttons[i].R.Bottom) {
            FActiveButton = i;
            break;
        }
    if (FCaptureButton != -1 && FActiveButton != FCaptureButton) FActiveButton = -1;
    if (FActiveButton == FOldActiveButton) return;
    if (FOldActiveButton != -1) CaptionButtonLeave(FOldActiveButton);
    if (FActiveButton != -1) CaptionButtonEnter(FActiveButton);
}

void TspSkinCustomListBox::RedrawCaptionButton(Integer)
{
    Repaint();
}

void TspSkinCustomListBox::CaptionButtonDown(Integer AIndex)
{
    Buttons[AIndex].MouseIn = true;
    Buttons[AIndex].Down = true;
    RedrawCaptionButton(AIndex);
    const TNotifyEvent* events[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (*events[AIndex] || AIndex == 2) return;
    FTimerMode = AIndex + 1;
    FRepeat.Start(kRepeatFirstMs);
}

void TspSkinCustomListBox::CaptionButtonEnter(Integer AIndex)
{
    Buttons[AIndex].MouseIn = true;
    RedrawCaptionButton(AIndex);
    if (FTimerMode != 0 && FCaptureButton == AIndex) FRepeat.Resume(kRepeatResumeMs);
}

void TspSkinCustomListBox::CaptionButtonLeave(Integer AIndex)
{
    Buttons[AIndex].MouseIn = false;
    RedrawCaptionButton(AIndex);
    if (FTimerMode != 0 && FCaptureButton == AIndex) FRepeat.Pause();
}

void TspSkinCustomListBox::CaptionButtonUp(Integer AIndex)
{
    Buttons[AIndex].Down = false;
    if (AIndex != FActiveButton) Buttons[AIndex].MouseIn = false;
    RedrawCaptionButton(AIndex);
    const TNotifyEvent* events[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (AIndex == FActiveButton && *events[AIndex]) {
        (*events[AIndex])(this);
        return;
    }
    const Integer last = FListBox->Count() - 1;
    switch (AIndex) {
    case 0:
        if (ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
        break;
    case 1:
        if (ItemIndex() < last) SetItemIndex(ItemIndex() + 1);
        break;
    default:
        ListBoxClick();
        if (FListBox->OnClick) FListBox->OnClick(FListBox);
        break;
    }
    StopRepeatTimer();
}

void TspSkinCustomListBox::StopRepeatTimer()
{
    FRepeat.Stop();
    FTimerMode = 0;
}

void TspSkinCustomListBox::RepeatTick()
{
    if (FTimerMode == 1 && ItemIndex() >= 1)
        SetItemIndex(ItemIndex() - 1);
    else if (FTimerMode == 2 && ItemIndex() < FListBox->Count() - 1)
        SetItemIndex(ItemIndex() + 1);
}

void TspSkinCustomListBox::HandleMouseLeave()
{
    bool changed = false;
    for (auto& b : Buttons)
        if (b.MouseIn) {
            b.MouseIn = false;
            changed = true;
        }
    FActiveButton = -1;
    if (changed) Repaint();
}

void TspSkinCustomListBox::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (CaptionButtonsActive()) {
        TestActiveButton(AX, AY);
        if (FActiveButton != -1) {
            FCaptureButton = FActiveButton;
            CaptionButtonDown(FActiveButton);
        }
    }
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
}

void TspSkinCustomListBox::MouseMove(TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseMove(AShift, AX, AY);
    if (CaptionButtonsActive()) TestActiveButton(AX, AY);
}

void TspSkinCustomListBox::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (CaptionButtonsActive() && FCaptureButton != -1) {
        const Integer captured = FCaptureButton;
        CaptionButtonUp(captured);
        FCaptureButton = -1;
    }
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinCustomListBox::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_TIMER:
        TspSkinCustomControl::WndProc(AMessage);
        if (AMessage.WParam == FRepeat.Id() && FTimerMode != 0 && FRepeat.Tick(kRepeatMs)) RepeatTick();
        return;
    case CM_MOUSEENTER:
        TspSkinCustomControl::WndProc(AMessage);
        if (CaptionButtonsActive()) TestActiveButton(-1, -1);
        return;
    case CM_MOUSELEAVE:
        TspSkinCustomControl::WndProc(AMessage);
        if (CaptionButtonsActive()) HandleMouseLeave();
        return;
    case CM_TEXTCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (FCaptionMode) Repaint();
        return;
    default: TspSkinCustomControl::WndProc(AMessage);
    }
}
