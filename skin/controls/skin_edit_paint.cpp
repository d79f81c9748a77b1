// The skinned edit's pictures: the frame in the non-client area, the background behind the native text, the
// image buttons and the text of a disabled edit.
#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/win/win.h"
#include "skin/controls/button_record.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_pictures.h"
#include "skin/controls/text_control_skin.h"
#include "skin/core/control_records.h"
#include "skin/core/parent_background.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"

using namespace win;

namespace {

void Blit(HDC ADC, Integer AX, Integer AY, TBitmap* ABitmap)
{
    BitBlt(ADC, AX, AY, ABitmap->Width(), ABitmap->Height(), ABitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// B over the part APart (control coordinates) of what lies behind the control, B's weight AValue / 255.
void BlendOverParent(TBitmap* B, TControl* AControl, const TRect& APart, Byte AValue)
{
    TBitmap parent(AControl->Width(), AControl->Height());
    PaintParentBackground(AControl, parent.Canvas());
    TBitmap behind(B->Width(), B->Height());
    BitBlt(behind.Canvas()->Handle(), 0, 0, B->Width(), B->Height(), parent.Canvas()->Handle(), APart.Left,
           APart.Top, SRCCOPY);
    MixOver(B, &behind, AValue);
}

// The four sides of AImage around AHole; the text area belongs to the client painting.
void BlitRing(HDC ADC, TBitmap* AImage, const TRect& AHole)
{
    HDC source = AImage->Canvas()->Handle();
    const Integer w = AImage->Width(), h = AImage->Height();
    const TRect parts[] = {Rect(0, 0, w, AHole.Top), Rect(0, AHole.Bottom, w, h), Rect(0, AHole.Top, AHole.Left, AHole.Bottom),
                           Rect(AHole.Right, AHole.Top, w, AHole.Bottom)};
    for (const TRect& r : parts)
        if (r.Width() > 0 && r.Height() > 0) BitBlt(ADC, r.Left, r.Top, r.Width(), r.Height(), source, r.Left, r.Top, SRCCOPY);
}

}  // namespace

class TspSkinEditPainter {
public:
    explicit TspSkinEditPainter(TspSkinCustomEdit* AEdit) : E(AEdit) {}

    bool SkinLook() const { return E->Skinned() && E->Picture; }

    void FrameStrip(TBitmap* B)
    {
        TCanvas* c = B->Canvas();
        const Integer w = E->Width(), h = E->Height();
        if (!SkinLook()) {
            const Integer b = E->FButtonMode ? w - E->FButtonRect.Left : 0;
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clBtnShadow);
            c->FrameRect(Rect(0, 0, w - b, h));
            c->Brush()->SetColor(clBtnFace);
            c->FrameRect(Rect(1, 1, w - b - 1, h - 1));
            if (E->FButtonMode) DrawPlainPart(c, E->FButtonRect, PartLook());
            return;
        }
        TBitmap strip;
        BuildHStripImage(E->LOffset, E->ROffset, &strip, E->Picture, E->StateRect(), w, h, E->StretchEffect);
        c->Draw(0, 0, &strip);
        if (!E->FButtonMode) return;
        TRect source;
        if (!E->Enabled() && !IsEmptyRect(E->UnEnabledButtonRect))
            source = E->UnEnabledButtonRect;
        else if (E->FButtonDown && E->FButtonActive)
            source = E->DownButtonRect;
        else if (E->FButtonActive)
            source = E->ActiveButtonRect;
        if (!IsEmptyRect(source)) c->CopyRect(E->FButtonRect, E->Picture->Canvas(), source);
    }

    void FrameNinePiece(TBitmap* B)
    {
        ComposeSkinImageSimple(B, E->Picture, E->StateRect(), E->ClRect, false);
        if (E->FButtonMode) EditButton(B);
    }

    void EditButton(TBitmap* B)
    {
        TspDataSkinButtonControl* record = FindButtonRecord(E->FSD, {"editbutton", "resizebutton"});
        if (!record) return;
        const TRect& r = E->FButtonRect;
        TBitmap button;
        if (ComposeButtonRecord(E->FSD, *record, ButtonState(), r.Width(), r.Height(), &button))
            B->Canvas()->Draw(r.Left, r.Top, &button);
    }

    TspPartLook PartLook() const { return PartLookOf(E->FButtonDown, E->FButtonActive); }
    TspButtonState ButtonState() const
    {
        return E->FButtonDown && E->FButtonActive ? TspButtonState::Pressed
               : E->FButtonActive                 ? TspButtonState::Hot
                                                  : TspButtonState::Normal;
    }

private:
    TspSkinCustomEdit* E;
};

void TspSkinCustomEdit::PaintFrame(HDC ADC)
{
    const Integer w = Width(), h = Height();
    if (w <= 0 || h <= 0 || !ADC) return;
    GetSkinData();
    CalcEditRect();
    TspSkinEditPainter painter(this);
    TBitmap frame(w, h);
    if (FUseSkinFont || !painter.SkinLook())
        painter.FrameStrip(&frame);
    else
        painter.FrameNinePiece(&frame);
    if (FAlphaBlend) BlendOverParent(&frame, this, Rect(0, 0, w, h), FAlphaBlendValue);
    BlitRing(ADC, &frame, FEditRect);
}

void TspSkinCustomEdit::PaintClientBackground(HDC ADC)
{
    GetSkinData();
    CalcEditRect();
    const Integer w = FEditRect.Width(), h = FEditRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h);
    TspSkinEditPainter painter(this);
    if (!painter.SkinLook()) {
        image.Canvas()->Brush()->SetColor(FDefaultColor);
        image.Canvas()->FillRect(Rect(0, 0, w, h));
    } else {
        const TRect state = StateRect();
        const TRect source = Bounds(state.Left + ClRect.Left, state.Top + ClRect.Top, ClRect.Width(), ClRect.Height());
        TBitmap strip;
        BuildHStripImage(std::max(0, LOffset - ClRect.Left), std::max(0, ClRect.Right - (SkinRect.Width() - ROffset)),
                         &strip, Picture, source, w, h, StretchEffect);
        if (FUseSkinFont)
            image.Canvas()->Draw(0, 0, &strip);
        else
            image.Canvas()->StretchDraw(Rect(0, 0, w, h), &strip);
    }
    if (FAlphaBlend) BlendOverParent(&image, this, FEditRect, FAlphaBlendValue);
    Blit(ADC, 0, 0, &image);
}

void TspSkinCustomEdit::DrawImageButtons(HDC ADC)
{
    if (!FImages) return;
    UpdateImageButtons(false);
    TCanvas canvas;
    canvas.SetHandle(ADC);
    auto draw = [&](const TspCBButtonX& AButton, Integer ANormal, Integer AHot, Integer ADown) {
        auto valid = [&](Integer AIndex) { return AIndex >= 0 && AIndex < FImages->Count(); };
        if (!valid(ANormal)) return;
        Integer index = ANormal;
        if (AButton.Down && AButton.MouseIn && valid(ADown))
            index = ADown;
        else if (AButton.MouseIn && valid(AHot))
            index = AHot;
        const Integer y = std::max(AButton.R.Top, AButton.R.Top + AButton.R.Height() / 2 - FImages->Height() / 2);
        FImages->Draw(&canvas, AButton.R.Left, y, index, Enabled());
    };
    draw(FLeftButton, FLeftImageIndex, LeftImageHotIndex, LeftImageDownIndex);
    draw(FRightButton, FRightImageIndex, RightImageHotIndex, RightImageDownIndex);
    canvas.SetHandle(nullptr);
}

void TspSkinCustomEdit::PaintWindow(HDC ADC)
{
    if (Enabled()) {
        TspCustomEdit::PaintWindow(ADC);
        return;
    }
    PaintDisabledText(ADC);
}

void TspSkinCustomEdit::PaintDisabledText(HDC ADC)
{
    GetSkinData();
    CalcEditRect();
    TFont font;
    if (Skinned() && FUseSkinFont) {
        font.SetName(FontName);
        font.SetHeight(FontHeight);
        font.SetStyle(FontStyle);
        font.SetColor(DisabledFontColor);
    } else {
        font.Assign(FDefaultFont.get());
        font.SetColor(Skinned() ? DisabledFontColor : clGrayText);
    }
    font.SetCharset(Font()->Charset());
    TCanvas canvas;
    canvas.SetHandle(ADC);
    canvas.SetFont(&font);
    canvas.Brush()->SetStyle(bsClear);
    const std::string text = PasswordChar() ? std::string(static_cast<size_t>(Model().CharCount()), '*') : Text();
    const TRect box = Rect(0, 0, FEditRect.Width(), FEditRect.Height());
    const Integer width = canvas.TextWidth(text);
    Integer x = 2;
    if (Alignment() == taRightJustify)
        x = box.Width() - width - 1;
    else if (Alignment() == taCenter)
        x = box.Width() / 2 - width / 2;
    canvas.TextRect(box, x, 0, text);
    canvas.SetHandle(nullptr);
}
