#include "skin/controls/skin_custom_control.h"

#include "platform/gdi/dc.h"
#include "platform/gui/bitmap.h"
#include "platform/win/painting.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/mask_regions.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_strips.h"

template <typename TBase>
TspSkinPictureCore<TBase>::TspSkinPictureCore(TComponent* AOwner)
    : TBase(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->OnChange = [this](TObject* ASender) { HandleDefaultFontChange(ASender); };
}

template <typename TBase>
void TspSkinPictureCore<TBase>::SetDefaultFont(TFont* AValue)
{
    FDefaultFont->Assign(AValue);
    ApplyDefaultFont();
}

template <typename TBase>
void TspSkinPictureCore<TBase>::HandleDefaultFontChange(TObject*)
{
    ApplyDefaultFont();
    if (!this->Skinned()) this->Repaint();
}

template <typename TBase>
void TspSkinPictureCore<TBase>::SetDefaultWidth(Integer AValue)
{
    FDefaultWidth = AValue;
    if (!this->Skinned() && AValue > 0) this->SetWidth(AValue);
}

template <typename TBase>
void TspSkinPictureCore<TBase>::SetDefaultHeight(Integer AValue)
{
    FDefaultHeight = AValue;
    if (!this->Skinned() && AValue > 0) this->SetHeight(AValue);
}

template <typename TBase>
void TspSkinPictureCore<TBase>::GetSkinData()
{
    TBase::GetSkinData();
    if (!this->Skinned()) return;
    auto* record = this->template RecordAs<TspDataSkinCustomControl>();
    if (!record) {
        // A record of another class: the control stays skinned, without a picture.
        ResizeMode = rmFixed;
        Picture = nullptr;
        return;
    }
    Pieces = {record->LTPoint, record->RTPoint, record->LBPoint, record->RBPoint, record->SkinRect, record->ClRect};
    this->CursorIndex = record->CursorIndex;
    StretchEffect = record->StretchEffect;
    LeftStretch = record->LeftStretch;
    TopStretch = record->TopStretch;
    RightStretch = record->RightStretch;
    BottomStretch = record->BottomStretch;
    StretchType = record->StretchType;
    Picture = SkinPicture(this->FSD, record->PictureIndex);
    ResizeMode = CalcResizeMode(Pieces);
}

template <typename TBase>
void TspSkinPictureCore<TBase>::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    ::FitSizeToSkin(ResizeMode, this->Skinned(), Pieces, AWidth, AHeight, Fitted);
}

template <typename TBase>
void TspSkinPictureCore<TBase>::FitCurrentSize()
{
    Integer w = this->Width(), h = this->Height();
    FitSizeToSkin(w, h);
}

template <typename TBase>
void TspSkinPictureCore<TBase>::AfterSkinResize()
{
    ApplyMaskRegion();
    this->Repaint();
}

template <typename TBase>
void TspSkinPictureCore<TBase>::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    GetSkinData();
    const bool changed = (AWidth != this->Width() || AHeight != this->Height()) && this->Skinned();
    if (changed) FitSizeToSkin(AWidth, AHeight);
    if (auto* centring = dynamic_cast<TspCentringParent*>(this->Parent()); centring && centring->CentresControls()) {
        const TRect client = centring->SkinClientRect();
        ATop = client.Top + client.Height() / 2 - AHeight / 2;
    }
    TBase::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) AfterSkinResize();
    if (this->Skinned() && StretchEffect) AfterSetBounds();
}

template <typename TBase>
void TspSkinPictureCore<TBase>::ChangeSkinData()
{
    GetSkinData();
    this->ApplySkinCursor();
    bool resized = false;
    if (!this->Skinned()) {
        if (FDefaultWidth > 0) this->SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) this->SetHeight(FDefaultHeight);
    } else {
        Integer w = this->Width(), h = this->Height();
        FitSizeToSkin(w, h);
        resized = w != this->Width() || h != this->Height();
        if (w != this->Width()) this->SetWidth(w);
        if (h != this->Height()) this->SetHeight(h);
    }
    if (!resized) {
        ApplyMaskRegion();
        this->Repaint();
    }
}

template <typename TBase>
void TspSkinPictureCore<TBase>::CreateSkinImage(TBitmap* B, TBitmap* P, const TRect& R)
{
    if (!P) return;
    const TspSkinPieces& p = Pieces;
    switch (ResizeMode) {
    case rmFixed:
        B->SetSize(R.Width(), R.Height());
        B->Canvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), P->Canvas(), R);
        break;
    case rmNinePiece:
        if (FForceBackground) break;
        ComposeSkinImage(p.LTPt, p.RTPt, p.LBPt, p.RBPt, p.ClRect, Fitted.NewLTPoint, Fitted.NewRTPoint,
                         Fitted.NewLBPoint, Fitted.NewRBPoint, Fitted.NewClRect, B, P, R, this->Width(),
                         this->Height(), true, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect,
                         StretchType);
        break;
    case rmHorzStrip:
        BuildHStripImage(p.LTPt.X, WidthOfRect(p.SkinRect) - p.RTPt.X, B, P, R, this->Width(), this->Height(),
                         StretchEffect);
        break;
    case rmVertStrip:
        BuildVStripImage(p.LTPt.Y, HeightOfRect(p.SkinRect) - p.LBPt.Y, B, P, R, this->Width(), this->Height(),
                         StretchEffect);
        break;
    default: break;
    }
}

template <typename TBase>
void TspSkinPictureCore<TBase>::DrawUnskinnedImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetStyle(bsSolid);
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(Rect(0, 0, this->Width(), this->Height()));
}

template <typename TBase>
void TspSkinPictureCore<TBase>::DrawSkinnedImage(TBitmap* B)
{
    CreateSkinImage(B, Picture, Pieces.SkinRect);
}

template <typename TBase>
void TspSkinPictureCore<TBase>::Paint()
{
    if (this->Width() < 1 || this->Height() < 1) return;
    GetSkinData();
    FitCurrentSize();
    if (!PaintDirect()) this->PaintCycle();
}

template class TspSkinPictureCore<TspSkinControl>;
template class TspSkinPictureCore<TspGraphicSkinControl>;

TspSkinCustomControl::TspSkinCustomControl(TComponent* AOwner) : TspSkinPictureCore<TspSkinControl>(AOwner) {}

void TspSkinCustomControl::GetSkinData()
{
    TspSkinPictureCore<TspSkinControl>::GetSkinData();
    if (!Skinned()) return;
    auto* record = RecordAs<TspDataSkinCustomControl>();
    MaskPicture = record ? SkinPicture(FSD, record->MaskPictureIndex) : nullptr;
}

TRect TspSkinCustomControl::MapSkinRect(const TRect& S) const
{
    return ::MapSkinRect(ResizeMode, Pieces, S, Width(), Height());
}

void TspSkinCustomControl::AfterSetBounds()
{
    // The stretched background under the children moved or changed.
    CheckControlsBackground();
}

void TspSkinCustomControl::ApplyMaskRegion()
{
    if (!Parent()) return;
    if (!MaskPicture || !Skinned()) {
        if (FRgn) {
            win::SetWindowRgn(Handle(), nullptr, true);
            FRgn = nullptr;
        }
        return;
    }
    BuildMaskRegion();
}

void TspSkinCustomControl::BuildMaskRegion()
{
    FitCurrentSize();
    const TspSkinPieces& p = Pieces;
    const TspFittedPieces& f = Fitted;
    const Integer dw = Width() - WidthOfRect(p.SkinRect), dh = Height() - HeightOfRect(p.SkinRect);
    win::HRGN region = nullptr;
    switch (ResizeMode) {
    case rmFixed: RegionFromMask(region, MaskPicture); break;
    case rmNinePiece:
        BuildSkinWindowRegion(region, p.LTPt, p.RTPt, p.LBPt, p.RBPt, p.ClRect, f.NewLTPoint, f.NewRTPoint,
                              f.NewLBPoint, f.NewRBPoint, f.NewClRect, MaskPicture, Width(), Height());
        break;
    case rmHorzStrip: {
        const TPoint rt{p.RTPt.X + dw, p.RTPt.Y};
        BuildSkinWindowRegion(region, p.LTPt, p.RTPt, p.LTPt, p.RTPt, p.ClRect, p.LTPt, rt, p.LTPt, rt,
                              f.NewClRect, MaskPicture, Width(), Height());
        break;
    }
    case rmVertStrip: {
        const TPoint lb{p.LBPt.X, p.LBPt.Y + dh};
        BuildSkinWindowRegion(region, p.LTPt, p.LTPt, p.LBPt, p.LBPt, p.ClRect, p.LTPt, p.LTPt, lb, lb,
                              f.NewClRect, MaskPicture, Width(), Height());
        break;
    }
    default: return;
    }
    // The region belongs to the window from here on.
    win::SetWindowRgn(Handle(), region, true);
    FRgn = region;
}

bool TspSkinCustomControl::PaintDirect()
{
    if (!Skinned() || !FForceBackground || ResizeMode != rmNinePiece || FAlphaBlend || !Picture) return false;
    const TspSkinPieces& p = Pieces;
    const TspFittedPieces& f = Fitted;
    TBitmap left, top, right, bottom;
    BuildSkinFrameStrips(p.LTPt, p.RTPt, p.LBPt, p.RBPt, p.ClRect, f.NewLTPoint, f.NewRTPoint, f.NewLBPoint,
                         f.NewRBPoint, f.NewClRect, &left, &top, &right, &bottom, Picture, p.SkinRect, Width(),
                         Height(), LeftStretch, TopStretch, RightStretch, BottomStretch);
    DrawSkinnedImage(&top);
    if (FDrawbackground) DrawClientPart(Canvas());
    Canvas()->Draw(0, 0, &top);
    Canvas()->Draw(0, top.Height(), &left);
    Canvas()->Draw(Width() - right.Width(), top.Height(), &right);
    Canvas()->Draw(0, Height() - bottom.Height(), &bottom);
    return true;
}

void TspSkinCustomControl::DrawClientPart(TCanvas* ACanvas)
{
    DrawClientPart(ACanvas, Fitted.NewClRect);
}

void TspSkinCustomControl::DrawClientPart(TCanvas* ACanvas, const TRect& ADest)
{
    if (!Picture) return;
    const TRect& cl = Pieces.ClRect;
    const TRect source{Pieces.SkinRect.Left + cl.Left, Pieces.SkinRect.Top + cl.Top, Pieces.SkinRect.Left + cl.Right,
                       Pieces.SkinRect.Top + cl.Bottom};
    if (source.Width() <= 0 || source.Height() <= 0) return;
    TBitmap part(source.Width(), source.Height());
    part.Canvas()->CopyRect(Rect(0, 0, source.Width(), source.Height()), Picture->Canvas(), source);
    DrawTiledPicture(ACanvas, &part, ADest, StretchEffect, StretchType);
}

void DrawTiledPicture(TCanvas* ACanvas, TBitmap* APart, const TRect& ADest, bool AStretch, TspStretchType AType)
{
    const Integer cw = APart->Width(), ch = APart->Height();
    if (cw <= 0 || ch <= 0 || ADest.Width() <= 0 || ADest.Height() <= 0) return;
    win::HDC dc = ACanvas->Handle();
    const int saved = win::SaveDC(dc);
    win::IntersectClipRect(dc, ADest.Left, ADest.Top, ADest.Right, ADest.Bottom);
    if (!AStretch) {
        for (Integer col = 0; col <= ADest.Width() / cw; ++col)
            for (Integer row = 0; row <= ADest.Height() / ch; ++row)
                ACanvas->Draw(ADest.Left + col * cw, ADest.Top + row * ch, APart);
    } else {
        switch (AType) {
        case spstFull: ACanvas->StretchDraw(ADest, APart); break;
        case spstHorz:
            for (Integer x = ADest.Left; x < ADest.Right; x += cw)
                ACanvas->StretchDraw(Rect(x, ADest.Top, x + cw, ADest.Bottom), APart);
            break;
        case spstVert:
            for (Integer y = ADest.Top; y < ADest.Bottom; y += ch)
                ACanvas->StretchDraw(Rect(ADest.Left, y, ADest.Right, y + ch), APart);
            break;
        }
    }
    win::RestoreDC(dc, saved);
}

TspGraphicSkinCustomControl::TspGraphicSkinCustomControl(TComponent* AOwner)
    : TspSkinPictureCore<TspGraphicSkinControl>(AOwner)
{
}
