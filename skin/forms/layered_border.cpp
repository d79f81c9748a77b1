#include "skin/forms/layered_border.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gdi/bitmaps.h"
#include "platform/win/win.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/layer_window.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/caption_object.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

// A plain copy of ASrc's part ASrcRect stretched onto ADstRect of ADest, alpha included.
void CopyPiece(TspBitmap* ASrc, TspBitmap* ADest, const TRect& ADstRect, const TRect& ASrcRect)
{
    if (IsEmptyRect(ADstRect) || IsEmptyRect(ASrcRect)) return;
    const bool blend = ASrc->AlphaBlend();
    ASrc->SetAlphaBlend(false);
    ASrc->SetTransparent(false);
    ASrc->Draw(ADest, ADstRect, ASrcRect);
    ASrc->SetAlphaBlend(blend);
}

// A row of the frame (top or bottom) at AWidth: fixed left and right pieces, the middle stretched between them.
void BuildRow(TspBitmap* S, TspBitmap* ADest, Integer AWidth, Integer ATop, Integer AHeight, Integer ALeftX,
              Integer ARightX)
{
    const Integer sw = S->Width();
    ADest->SetSize(AWidth, AHeight);
    ADest->Clear(0);
    const Integer rightW = sw - ARightX;
    CopyPiece(S, ADest, Rect(0, 0, ALeftX, AHeight), Rect(0, ATop, ALeftX, ATop + AHeight));
    CopyPiece(S, ADest, Rect(AWidth - rightW, 0, AWidth, AHeight), Rect(ARightX, ATop, sw, ATop + AHeight));
    CopyPiece(S, ADest, Rect(ALeftX, 0, AWidth - rightW, AHeight), Rect(ALeftX, ATop, ARightX, ATop + AHeight));
    ADest->CheckingAlphaBlend();
}

// A side of the frame: the source columns stretched to AHeight, or tiled from the top.
void BuildSide(TspBitmap* S, TspBitmap* ADest, Integer AWidth, Integer AHeight, const TRect& ASource, bool AStretch)
{
    ADest->SetSize(AWidth, AHeight);
    ADest->Clear(0);
    if (AStretch) {
        CopyPiece(S, ADest, Rect(0, 0, AWidth, AHeight), ASource);
    } else if (HeightOfRect(ASource) > 0) {
        const Integer h = HeightOfRect(ASource);
        for (Integer y = 0; y < AHeight; y += h) {
            const Integer piece = std::min(h, AHeight - y);
            CopyPiece(S, ADest, Rect(0, y, AWidth, y + piece),
                      Rect(ASource.Left, ASource.Top, ASource.Right, ASource.Top + piece));
        }
    }
    ADest->CheckingAlphaBlend();
}

}  // namespace

bool LayerBorderDragBounds(TspFormLayerBorderHit AHit, const TRect& AFormBounds, Integer DX, Integer DY,
                           Integer AMinWidth, Integer AMaxWidth, Integer AMinHeight, Integer AMaxHeight,
                           TRect& ANewBounds)
{
    const Integer FL = AFormBounds.Left, FT = AFormBounds.Top;
    const Integer FW = WidthOfRect(AFormBounds), FH = HeightOfRect(AFormBounds);
    auto clampW = [&](Integer W) { return std::clamp(W, AMinWidth, std::max(AMinWidth, AMaxWidth)); };
    auto clampH = [&](Integer H) { return std::clamp(H, AMinHeight, std::max(AMinHeight, AMaxHeight)); };
    const bool moved = DX != 0 || DY != 0;
    Integer NW = FW, NH = FH, NL = FL, NT = FT;
    switch (AHit) {
    case spflhLeft:
        NW = clampW(FW - DX);
        // The right edge must stay: a step the limits would cut is not taken.
        if (NW != FW - DX || DX == 0 || NW == FW) return false;
        NL = FL + DX;
        break;
    case spflhTop:
        NH = clampH(FH - DY);
        if (NH != FH - DY || DY == 0 || NH == FH) return false;
        NT = FT + DY;
        break;
    case spflhRight:
        NW = clampW(FW + DX);
        if (DX == 0 || NW == FW) return false;
        break;
    case spflhBottom:
        NH = clampH(FH + DY);
        if (DY == 0 || NH == FH) return false;
        break;
    case spflhTopLeft:
        NW = clampW(FW - DX);
        NH = clampH(FH - DY);
        if (NW != FW - DX || NH != FH - DY || (NW == FW && NH == FH) || !moved) return false;
        NL = FL + DX;
        NT = FT + DY;
        break;
    case spflhTopRight:
        NW = clampW(FW + DX);
        NH = clampH(FH - DY);
        if (NH != FH - DY || (NW == FW && NH == FH) || !moved) return false;
        NT = FT + DY;
        break;
    case spflhBottomLeft:
        NW = clampW(FW - DX);
        NH = clampH(FH + DY);
        if (NW != FW - DX || (NW == FW && NH == FH) || !moved) return false;
        NL = FL + DX;
        break;
    case spflhBottomRight:
        NW = clampW(FW + DX);
        NH = clampH(FH + DY);
        if ((NW == FW && NH == FH) || !moved) return false;
        break;
    default: return false;
    }
    ANewBounds = Bounds(NL, NT, NW, NH);
    return true;
}

// --- The border ---

TspFormLayerBorder::TspFormLayerBorder(TspCorvalis* AOwner) : TComponent(AOwner), CVL(AOwner)
{
    MouseTimer = new TTimer(this);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(500);
    MouseTimer->SetOnTimer([this](TObject* Sender) { BorderMouseTimerProc(Sender); });
}

TspFormLayerBorder::~TspFormLayerBorder() { FreeWindows(); }

TspFormLayerWindow* TspFormLayerBorder::Window(TspFormLayerBorderType AType) const
{
    switch (AType) {
    case spflLeft: return LeftBorder;
    case spflTop: return TopBorder;
    case spflRight: return RightBorder;
    case spflBottom: return BottomBorder;
    }
    return nullptr;
}

void TspFormLayerBorder::InitFrame(TspSkinData* ASkinData, TCustomForm* AForm)
{
    FForm = AForm;
    FSD = ASkinData;
    FData = FSD && !FSD->Empty && FSD->LayerFrame ? FSD->LayerFrame.get() : nullptr;
    if (FData && FData->PictureIndex == -1) FData = nullptr;
    FSourceBitmap.reset();
    FSourceInActiveBitMap.reset();
    if (!FData) return;
    FCurrentAlphaBlendValue = FData->AlphaBlendValue;
    FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
    // A damaged skin may name pictures it lacks: without the frame picture there is no border.
    TBitmap* picture = FSD->ActivePicture(FData->PictureIndex);
    if (!picture || picture->Empty()) {
        FData = nullptr;
        return;
    }
    auto source = [this](TBitmap* APicture, Integer AMaskIndex) {
        auto bitmap = std::make_unique<TspBitmap>();
        TBitmap* mask = FSD->ActivePicture(AMaskIndex);
        if (mask && !mask->Empty()) {
            BuildLayerBitmap(APicture, mask, bitmap.get());
        } else {
            // No mask: the picture is opaque.
            bitmap->Assign(APicture);
            bitmap->SetAlpha(255);
        }
        bitmap->CheckingAlphaBlend();
        return bitmap;
    };
    FSourceBitmap = source(picture, FData->MaskPictureIndex);
    if (TBitmap* inactive = FSD->ActivePicture(FData->InActivePictureIndex); inactive && !inactive->Empty())
        FSourceInActiveBitMap = source(inactive, FData->InActiveMaskPictureIndex);
    const TspDataSkinLayerFrame& d = *FData;
    if (IsEmptyRect(d.BorderRect)) {
        LeftSize = TopSize = RightSize = BottomSize = 0;
    } else {
        LeftSize = d.ClRect.Left - d.BorderRect.Left;
        TopSize = d.ClRect.Top - d.BorderRect.Top;
        RightSize = d.BorderRect.Right - d.ClRect.Right;
        BottomSize = d.BorderRect.Bottom - d.ClRect.Bottom;
        HitTopLeftX = d.HitTestLTPoint.X - d.BorderRect.Left;
        HitTopLeftY = d.HitTestLTPoint.Y - d.BorderRect.Top;
        HitTopRightX = d.BorderRect.Right - d.HitTestRTPoint.X;
        HitTopRightY = d.HitTestRTPoint.Y - d.BorderRect.Top;
        HitBottomLeftX = d.HitTestLBPoint.X - d.BorderRect.Left;
        HitBottomLeftY = d.BorderRect.Bottom - d.HitTestLBPoint.Y;
        HitBottomRightX = d.BorderRect.Right - d.HitTestRBPoint.X;
        HitBottomRightY = d.BorderRect.Bottom - d.HitTestRBPoint.Y;
    }
    if (d.FullBorder) {
        for (Integer i = 0; i < CVL->ObjectCount(); ++i) CVL->Objects(i)->InitAlphaImages();
        OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    }
    CreateBlurCornerRegions();
}

bool TspFormLayerBorder::RolledUpFullBorder()
{
    if (!FullBorder() || !FForm) return false;
    if (CVL->RollUpState()) return true;
    return CVL->WindowState() == wsMinimized && !CVL->MinimizeDefault() && Application &&
           Application->MainForm() != FForm;
}

TRect TspFormLayerBorder::WindowBounds(Integer L, Integer T, Integer W, Integer H, bool ANoRollUp)
{
    if (!FData || !FSourceBitmap) return TRect{};
    const TspDataSkinLayerFrame& d = *FData;
    const Integer sw = FSourceBitmap->Width(), sh = FSourceBitmap->Height();
    Integer fh = H + d.HeightOffset;
    if (!ANoRollUp && RolledUpFullBorder()) fh = d.RollUpFormHeight;
    return Bounds(L + d.LeftOffset - d.ClRect.Left, T + d.TopOffset - d.ClRect.Top,
                  W + d.WidthOffset + sw - WidthOfRect(d.ClRect), fh + sh - HeightOfRect(d.ClRect));
}

Integer TspFormLayerBorder::TopHeight() const
{
    return FData ? std::max(FData->LTPoint.Y, FData->RTPoint.Y) : 0;
}

void TspFormLayerBorder::CreateBorderImages(Integer AWidth, Integer AHeight)
{
    if (!FData || !FSourceBitmap) return;
    TspBitmap* S = FActive || !FSourceInActiveBitMap ? FSourceBitmap.get() : FSourceInActiveBitMap.get();
    LeftImage.reset();
    TopImage.reset();
    RightImage.reset();
    BottomImage.reset();
    const TspDataSkinLayerFrame& d = *FData;
    const Integer sw = S->Width(), sh = S->Height();
    if (IsNullPoint(d.RBPoint)) {
        // One piece, never resized.
        TopImage = std::make_unique<TspBitmap>();
        TopImage->Assign(S);
        TopImage->CheckRGBA();
        return;
    }
    const Integer th = TopHeight();
    TopImage = std::make_unique<TspBitmap>();
    BuildRow(S, TopImage.get(), AWidth, 0, th, d.LTPoint.X, d.RTPoint.X);
    if (d.FullBorder) {
        ArrangeBorderObjects();
        DrawObjectsInto(TopImage.get());
    }
    Integer bh = sh - std::min(d.LBPoint.Y, d.RBPoint.Y);
    if (AHeight < th + bh) bh = std::max(AHeight - th, 0);
    BottomImage = std::make_unique<TspBitmap>();
    if (bh > 0) BuildRow(S, BottomImage.get(), AWidth, sh - bh, bh, d.LBPoint.X, d.RBPoint.X);
    const Integer sideH = AHeight - th - bh;
    LeftImage = std::make_unique<TspBitmap>();
    RightImage = std::make_unique<TspBitmap>();
    if (sideH > 0) {
        const Integer rightW = sw - d.ClRect.Right;
        BuildSide(S, LeftImage.get(), d.ClRect.Left, sideH, Rect(0, th, d.ClRect.Left, sh - bh), d.FullStretch);
        BuildSide(S, RightImage.get(), rightW, sideH, Rect(sw - rightW, th, sw, sh - bh), d.FullStretch);
    }
    for (TspBitmap* image : {TopImage.get(), BottomImage.get(), LeftImage.get(), RightImage.get()})
        if (!image->Empty()) image->CheckRGBA();
    if (FSD->AeroBlurEnabled() && IsDwmCompositionOn()) UpdateBlurRegions();
}

void TspFormLayerBorder::DrawObjectsInto(TspBitmap* AImage)
{
    // The objects draw opaquely over the top image: their rectangles become fully opaque.
    TBitmap canvas(AImage->Width(), AImage->Height(), pf24bit);
    BitBlt(canvas.Canvas()->Handle(), 0, 0, AImage->Width(), AImage->Height(), AImage->DC(), 0, 0, SRCCOPY);
    for (Integer i = 0; i < CVL->ObjectCount(); ++i) {
        TspActiveSkinObject* o = CVL->Objects(i);
        if (!o->Visible || IsEmptyRect(o->ObjectRect)) continue;
        o->DrawAlpha(canvas.Canvas(), &canvas);
        o->Draw(canvas.Canvas(), true);
        const TRect r = IntersectionOf(o->ObjectRect, Rect(0, 0, AImage->Width(), AImage->Height()));
        if (IsEmptyRect(r)) continue;
        BitBlt(AImage->DC(), r.Left, r.Top, WidthOfRect(r), HeightOfRect(r), canvas.Canvas()->Handle(), r.Left, r.Top,
               SRCCOPY);
        AImage->SetAlpha(255, r);
    }
}

void TspFormLayerBorder::PutImage(TspFormLayerWindow* AWindow, TspBitmap* AImage)
{
    if (!AWindow || !AImage || AImage->Empty()) return;
    const Integer alpha = FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue;
    AWindow->SetBounds(AWindow->Left(), AWindow->Top(), AImage->Width(), AImage->Height());
    UpdateLayeredAlpha(AImage, static_cast<Byte>(std::clamp(alpha, 0, 255)), AWindow);
}

void TspFormLayerBorder::FreeWindows()
{
    for (TspFormLayerWindow** w : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder}) {
        delete *w;
        *w = nullptr;
    }
}

void TspFormLayerBorder::PlaceWindows(Integer X, Integer Y, Integer AWidth, Integer AHeight)
{
    const Integer th = TopImage ? TopImage->Height() : 0;
    auto place = [](TspFormLayerWindow* W, Integer AX, Integer AY, bool AShow) {
        if (!W) return;
        if (!AShow) {
            W->SetVisible(false);
            return;
        }
        SetWindowPos(W->Handle(), nullptr, AX, AY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    };
    place(TopBorder, X, Y, true);
    if (BottomImage) place(BottomBorder, X, Y + AHeight - BottomImage->Height(), BottomImage->Height() > 0);
    if (LeftImage) place(LeftBorder, X, Y + th, LeftImage->Height() > 0);
    if (RightImage) place(RightBorder, X + AWidth - RightImage->Width(), Y + th, RightImage->Height() > 0);
}

void TspFormLayerBorder::Show(Integer X, Integer Y, Integer AWidth, Integer AHeight)
{
    if (!FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    CreateBorderImages(AWidth, AHeight);
    FreeWindows();
    if (IsNullPoint(FData->RBPoint)) {
        TopBorder = new TspFormLayerWindow(this, spflTop);
        TopBorder->SetBounds(X, Y, TopImage->Width(), TopImage->Height());
        PutImage(TopBorder, TopImage.get());
        PlaceWindows(X, Y, AWidth, AHeight);
        return;
    }
    LeftBorder = new TspFormLayerWindow(this, spflLeft);
    RightBorder = new TspFormLayerWindow(this, spflRight);
    TopBorder = new TspFormLayerWindow(this, spflTop);
    BottomBorder = new TspFormLayerWindow(this, spflBottom);
    PutImage(TopBorder, TopImage.get());
    PutImage(BottomBorder, BottomImage.get());
    if (LeftImage->Height() > 0) PutImage(LeftBorder, LeftImage.get());
    if (RightImage->Height() > 0) PutImage(RightBorder, RightImage.get());
    PlaceWindows(X, Y, AWidth, AHeight);
}

void TspFormLayerBorder::SetBounds(Integer X, Integer Y, Integer AWidth, Integer AHeight)
{
    if (!FData || !FVisible) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateBorderImages(AWidth, AHeight);
    PutImage(TopBorder, TopImage.get());
    PutImage(BottomBorder, BottomImage.get());
    if (LeftImage && LeftImage->Height() > 0) PutImage(LeftBorder, LeftImage.get());
    if (RightImage && RightImage->Height() > 0) PutImage(RightBorder, RightImage.get());
    PlaceWindows(X, Y, AWidth, AHeight);
}

void TspFormLayerBorder::Hide()
{
    FVisible = false;
    LeftImage.reset();
    TopImage.reset();
    RightImage.reset();
    BottomImage.reset();
    FreeWindows();
}

void TspFormLayerBorder::ShowWithForm()
{
    if (!FData || !FForm) return;
    const TRect r = WindowBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Show(r.Left, r.Top, WidthOfRect(r), HeightOfRect(r));
}

void TspFormLayerBorder::ShowWithFormAnimation()
{
    if (!FData || !FForm) return;
    // About fifteen alpha steps up to the border's alpha; they are not spaced in time (no compositor here shows
    // them, and waiting would block the thread for nothing).
    const Integer target = FCurrentAlphaBlendValue;
    const TRect r = WindowBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(), true);
    FCurrentAlphaBlendValue = 0;
    Show(r.Left, r.Top, WidthOfRect(r), HeightOfRect(r));
    const Integer step = std::max(target / 15, 1);
    while (FCurrentAlphaBlendValue < target) {
        FCurrentAlphaBlendValue = std::min(FCurrentAlphaBlendValue + step, target);
        SetAlphaBlend();
    }
}

void TspFormLayerBorder::SetBoundsWithForm()
{
    if (!FVisible || !FForm) return;
    SetBoundsWithForm3(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
}

void TspFormLayerBorder::SetBoundsWithForm2(Integer AW, Integer AH)
{
    if (FForm) SetBoundsWithForm3(FForm->Left(), FForm->Top(), AW, AH);
}

void TspFormLayerBorder::SetBoundsWithForm3(Integer ALeft, Integer ATop, Integer AW, Integer AH)
{
    if (!FData) return;
    const TRect r = WindowBounds(ALeft, ATop, AW, AH);
    SetBounds(r.Left, r.Top, WidthOfRect(r), HeightOfRect(r));
}

void TspFormLayerBorder::MoveWithForm()
{
    if (FForm) MoveWithForm2(FForm->Left(), FForm->Top());
}

void TspFormLayerBorder::MoveWithForm2(Integer ALeft, Integer ATop)
{
    if (!FData || !FVisible || !FForm) return;
    const TRect r = WindowBounds(ALeft, ATop, FForm->Width(), FForm->Height());
    PlaceWindows(r.Left, r.Top, FWidth, FHeight);
}

void TspFormLayerBorder::SetAlphaBlend()
{
    if (!FData || !FVisible || !TopImage) return;
    PutImage(TopBorder, TopImage.get());
    if (BottomImage && BottomImage->Width() > 0) PutImage(BottomBorder, BottomImage.get());
    if (LeftBorder && LeftBorder->Visible()) PutImage(LeftBorder, LeftImage.get());
    if (RightBorder && RightBorder->Visible()) PutImage(RightBorder, RightImage.get());
}

void TspFormLayerBorder::SetAlphaBlend2()
{
    SetAlphaBlend();
    if (FVisible && FForm) {
        const TRect r = WindowBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
        PlaceWindows(r.Left, r.Top, FWidth, FHeight);
    }
}

void TspFormLayerBorder::CheckFormAlpha(Integer AFormAlpha, bool AUpdate)
{
    if (!FData) return;
    FCurrentAlphaBlendValue = RoundHalfEven(FData->AlphaBlendValue * AFormAlpha / 255.0);
    FCurrentInActiveAlphaBlendValue = RoundHalfEven(FData->InActiveAlphaBlendValue * AFormAlpha / 255.0);
    if (AUpdate) SetAlphaBlend();
}

void TspFormLayerBorder::SetActive(bool AValue, bool AUpdate)
{
    FActive = AValue;
    if (!AValue) {
        if (ActiveObject != -1 && ActiveObject < CVL->ObjectCount())
            if (CVL->Objects(ActiveObject)->MouseIn()) CVL->Objects(ActiveObject)->MouseLeave();
        MouseCaptureObject = -1;
        ActiveObject = -1;
    }
    if (!FVisible) return;
    if (FullBorder()) SetBoundsWithForm();
    if (AUpdate) {
        // New images for the new state, then the alpha for it.
        if (!FullBorder() && FForm) SetBoundsWithForm();
        SetAlphaBlend2();
    }
}

void TspFormLayerBorder::Draw(TCanvas* C, Integer X, Integer Y, Integer AWidth, Integer AHeight)
{
    if (!FData) return;
    CreateBorderImages(AWidth, AHeight);
    const Integer th = TopImage ? TopImage->Height() : 0;
    auto draw = [C](TspBitmap* AImage, Integer AX, Integer AY) {
        if (!AImage || AImage->Empty()) return;
        AImage->SetAlphaBlend(true);
        AImage->Draw(C, AX, AY);
    };
    draw(TopImage.get(), X, Y);
    if (BottomImage) draw(BottomImage.get(), X, Y + AHeight - BottomImage->Height());
    draw(LeftImage.get(), X, Y + th);
    if (RightImage) draw(RightImage.get(), X + AWidth - RightImage->Width(), Y + th);
}

void TspFormLayerBorder::ArrangeBorderObjects()
{
    if (!FData || !TopImage || !FSourceBitmap) return;
    const TspDataSkinLayerFrame& d = *FData;
    const Integer dx = TopImage->Width() - FSourceBitmap->Width();
    const Integer offset = FSD ? FSD->ButtonsOffset : 0;
    TRect cr = d.CaptionRect;
    cr.Right += dx;
    Integer x, top;
    if (IsEmptyRect(d.ButtonsRect)) {
        x = cr.Right;
        top = d.ButtonsTopOffset != 0 ? d.ButtonsTopOffset : cr.Top;
    } else {
        x = d.ButtonsRect.Right + dx;
        top = d.ButtonsRect.Top;
    }
    auto button = [this](TStdCommand ACommand) -> TspSkinStdButtonObject* {
        for (Integer i = 0; i < CVL->ObjectCount(); ++i)
            if (auto* b = dynamic_cast<TspSkinStdButtonObject*>(CVL->Objects(i)))
                if (b->Visible && b->SkinRectInAPicture && b->Command == ACommand) return b;
        return nullptr;
    };
    for (TStdCommand command : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (TspSkinStdButtonObject* b = button(command)) {
            const Integer w = WidthOfRect(b->SkinRect), h = HeightOfRect(b->SkinRect);
            b->ObjectRect = Rect(x - w, top, x, top + h);
            x -= offset + w;
        }
    TspActiveSkinObject* caption = nullptr;
    for (Integer i = 0; i < CVL->ObjectCount() && !caption; ++i)
        if (dynamic_cast<TspSkinCaptionObject*>(CVL->Objects(i))) caption = CVL->Objects(i);
    if (caption) caption->ObjectRect = Rect(cr.Left, cr.Top, x - offset, cr.Bottom);
    TspSkinStdButtonObject* menu = button(cmSysMenu);
    if (!menu) return;
    Integer w = WidthOfRect(menu->SkinRect), h = HeightOfRect(menu->SkinRect);
    if (CVL->ShowIcon()) CVL->GetCaptionIconSize(w, h);
    if (IsEmptyRect(d.SysMenuButtonRect)) {
        const Integer left = cr.Left;
        const Integer t = d.SysButtonTopOffset != 0 ? d.SysButtonTopOffset : HeightOfRect(cr) / 2 + cr.Top - h / 2;
        menu->ObjectRect = Rect(left, t, left + w, t + h);
        if (caption) caption->ObjectRect.Left = left + w + offset;
    } else {
        const TRect& s = d.SysMenuButtonRect;
        const Integer t = HeightOfRect(s) / 2 + s.Top - h / 2;
        menu->ObjectRect = Rect(s.Left, t, s.Left + w, t + h);
    }
}

void TspFormLayerBorder::TrackBorderObject(Integer X, Integer Y)
{
    if (CVL->ObjectCount() == 0 || !FData || !FData->FullBorder || CVL->PreviewMode) return;
    if (!CVL->FFormActive && CVL->SupportNCArea()) return;
    OldActiveObject = ActiveObject;
    Integer found = -1;
    const TPoint p{X, Y};
    for (Integer i = 0; i < CVL->ObjectCount(); ++i) {
        TspActiveSkinObject* o = CVL->Objects(i);
        if (!o->Enabled || !o->Visible || !PtInRect(o->ObjectRect, p)) continue;
        if (o->PtInMask(X - o->ObjectRect.Left, Y - o->ObjectRect.Top)) {
            found = i;
            break;
        }
    }
    ActiveObject = found;
    if (MouseCaptureObject != -1 && found != MouseCaptureObject) ActiveObject = -1;
    if (ActiveObject >= CVL->ObjectCount()) ActiveObject = -1;
    if (OldActiveObject >= CVL->ObjectCount()) OldActiveObject = -1;
    if (OldActiveObject == ActiveObject) return;
    TspSkinHintBase* hint = CVL->ShowObjectHint() ? CVL->SkinHint() : nullptr;
    if (OldActiveObject != -1) {
        TspActiveSkinObject* old = CVL->Objects(OldActiveObject);
        if (old->Enabled && old->Visible) {
            old->MouseLeave();
            if (hint && !old->Hint.empty()) hint->HideHint();
        }
    }
    if (ActiveObject != -1) {
        TspActiveSkinObject* now = CVL->Objects(ActiveObject);
        now->MouseEnter();
        if (hint && CVL->FFormActive && !now->Hint.empty()) hint->ActivateHint2(now->Hint);
    }
}

void TspFormLayerBorder::BorderMouseTimerProc(TObject* /*Sender*/)
{
    if (FData && !FData->FullBorder) {
        MouseTimer->SetEnabled(false);
        return;
    }
    TPoint cursor;
    GetCursorPos(cursor);
    if (TopBorder && TopBorder->HandleAllocated() && WindowFromPoint(cursor) == TopBorder->Handle()) return;
    MouseTimer->SetEnabled(false);
    MouseCaptureObject = -1;
    TrackBorderObject(-1, -1);
}
