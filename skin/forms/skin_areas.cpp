// Skin areas (named rectangles of the skin picture that controls are placed over) and the client backgrounds of
// a skinned form: the client part of the form picture, a background picture or an MDI background picture,
// stretched or tiled.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gui/bitmap.h"
#include "skin/controls/skin_control.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/forms/skin_form.h"

using namespace win;

void TspCorvalis::LinkControlToArea(const std::string& AreaName, TControl* Control)
{
    if (!FSD || !Control) return;
    // The first area of the name, where the area lookup for a rectangle takes the last.
    const Integer index = FSD->GetAreaIndex(AreaName);
    if (index < 0) return;
    const TRect r = FSD->AreaList[static_cast<size_t>(index)]->AreaRect;
    if (IsEmptyRect(r)) return;
    Control->SetAlign(alNone);
    AreaList.push_back({Control, r});
}

void TspCorvalis::UnLinkControlFromArea(TControl* Control)
{
    auto it = std::find_if(AreaList.begin(), AreaList.end(),
                           [Control](const TspAreaLink& L) { return L.Control == Control; });
    if (it != AreaList.end()) AreaList.erase(it);
}

void TspCorvalis::LinkAreaControls()
{
    for (Integer i = 0; i < FForm->ControlCount(); ++i) {
        TControl* child = FForm->Controls(i);
        std::string area;
        if (auto* windowed = dynamic_cast<TspSkinControl*>(child))
            area = windowed->AreaName();
        else if (auto* windowless = dynamic_cast<TspGraphicSkinControl*>(child))
            area = windowless->AreaName();
        if (!area.empty()) LinkControlToArea(area, child);
    }
}

void TspCorvalis::PlaceLinkedControls()
{
    const bool sizeable = SkinIsSizeable();
    for (const TspAreaLink& link : AreaList) {
        const TRect r = sizeable ? MapSkinRect(link.AreaRect) : link.AreaRect;
        link.Control->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        if (auto* windowed = dynamic_cast<TWinControl*>(link.Control)) windowed->Realign();
    }
}

void TspCorvalis::FitClientToSkin()
{
    if (!FSD || !FSD->FPicture) return;
    const Integer w = FSD->FPicture->Width(), h = FSD->FPicture->Height();
    if (SkinIsSizeable()) {
        if (FMinWidth != 0 && FMinHeight != 0) return;
        if (FForm->ClientWidth() < w) FForm->SetClientWidth(w);
        if (FForm->ClientHeight() < h) FForm->SetClientHeight(h);
        return;
    }
    if (FForm->ClientWidth() != w) FForm->SetClientWidth(w);
    if (FForm->ClientHeight() != h) FForm->SetClientHeight(h);
    FSizeable = false;
}

namespace {

// Paints A over the form (AFormW x AFormH outside, AClientW x AClientH inside) by the stretch rule, or tiles it.
void PaintTiles(TCanvas* C, TBitmap* A, bool AStretch, TspStretchType AType, Integer AFormW, Integer AFormH,
                Integer AClientW, Integer AClientH)
{
    // A picture of no size (a damaged skin) paints nothing: there is nothing to tile.
    if (!A || A->Empty() || AClientW <= 0 || AClientH <= 0) return;
    if (AStretch) {
        switch (AType) {
        case spstFull: C->StretchDraw(Rect(0, 0, AFormW, AFormH), A); return;
        case spstHorz: {
            TBitmap strip(A->Width(), std::max(AFormH, 1), pf24bit);
            strip.Canvas()->StretchDraw(Rect(0, 0, strip.Width(), strip.Height()), A);
            for (Integer i = 0; i <= AFormW / strip.Width(); ++i) C->Draw(i * strip.Width(), 0, &strip);
            return;
        }
        case spstVert: {
            TBitmap strip(std::max(AFormW, 1), A->Height(), pf24bit);
            strip.Canvas()->StretchDraw(Rect(0, 0, strip.Width(), strip.Height()), A);
            for (Integer j = 0; j <= AFormH / strip.Height(); ++j) C->Draw(0, j * strip.Height(), &strip);
            return;
        }
        }
    }
    // One more column and row than fit; the last ones are clipped.
    for (Integer i = 0; i <= AClientW / A->Width(); ++i)
        for (Integer j = 0; j <= AClientH / A->Height(); ++j) C->Draw(i * A->Width(), j * A->Height(), A);
}

}  // namespace

void TspCorvalis::PaintBG(HDC DC)
{
    if (!DC || !FSD || FSD->Empty || !FSD->FPicture) return;
    TCanvas canvas;
    canvas.SetHandle(DC);
    const TRect cl = FSD->ClRect;
    if (IsEmptyRect(cl)) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(clBtnFace);
        canvas.FillRect(FForm->ClientRect());
    } else {
        TBitmap part(cl.Width(), cl.Height(), pf24bit);
        part.Canvas()->CopyRect(Rect(0, 0, cl.Width(), cl.Height()), FSD->FPicture->Canvas(), cl);
        PaintTiles(&canvas, &part, FSD->StretchEffect, FSD->StretchType, FFormWidth, FFormHeight,
                   FForm->ClientWidth(), FForm->ClientHeight());
        DrawLogo(&canvas);
    }
    canvas.SetHandle(nullptr);
}

void TspCorvalis::PaintBG2(HDC DC)
{
    if (!DC || !FSD || FSD->Empty) return;
    TCanvas canvas;
    canvas.SetHandle(DC);
    // An index outside the picture list is no picture.
    PaintTiles(&canvas, FSD->ActivePicture(FSD->BGPictureIndex), FSD->StretchEffect, FSD->StretchType, FFormWidth,
               FFormHeight, FForm->ClientWidth(), FForm->ClientHeight());
    DrawLogo(&canvas);
    canvas.SetHandle(nullptr);
}

void TspCorvalis::PaintBG3(HDC DC)
{
    if (!DC || !FSD || FSD->Empty) return;
    TCanvas canvas;
    canvas.SetHandle(DC);
    PaintTiles(&canvas, FSD->ActivePicture(FSD->MDIBGPictureIndex), FSD->MDIBGStretchEffect,
               FSD->MDIBGStretchType, FFormWidth, FFormHeight, FForm->ClientWidth(), FForm->ClientHeight());
    DrawLogo(&canvas);
    canvas.SetHandle(nullptr);
}

void TspCorvalis::PaintClientBackground(HDC DC)
{
    if (!FSupportNCArea && FSkinnableForm) {
        PaintFrameless(DC);
        return;
    }
    if (!FSupportNCArea || !FSkinSupport || !FSD || FSD->Empty) {
        PaintBGDefault(DC);
        return;
    }
    if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
        PaintBG3(DC);
    else if (FSD->BGPictureIndex == -1)
        PaintBG(DC);
    else
        PaintBG2(DC);
}
