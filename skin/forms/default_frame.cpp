// The frame a skinned form draws without a skin: a striped caption band with the caption text and the default
// caption buttons, three nested 3D lines around it, and the size limits of the frame.
#include "platform/gdi/dc.h"
#include "platform/gui/bitmap.h"
#include "skin/core/glyph_text.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/caption_object.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

constexpr Integer kBorder = 3;

bool IsToolWindowStyle(TFormBorderStyle AStyle) { return AStyle == bsToolWindow || AStyle == bsSizeToolWin; }

// One-pixel 3D frame inside R: ATopLeft on the top and left edges, ABottomRight on the others.
void Frame3D(TCanvas* C, TRect& R, TColor ATopLeft, TColor ABottomRight)
{
    C->Pen()->SetColor(ATopLeft);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
    C->Pen()->SetColor(ABottomRight);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Left - 1, R.Bottom - 1);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
}

}  // namespace

Integer TspCorvalis::DefaultCaptionHeight() { return IsToolWindowStyle(FForm->BorderStyle()) ? 15 : 19; }
Integer TspCorvalis::DefaultButtonSize() { return IsToolWindowStyle(FForm->BorderStyle()) ? 13 : 17; }

TRect TspCorvalis::FrameClientRect()
{
    if (FSkinSupport) return NewClRect;
    const Integer w = FFormWidth ? FFormWidth : FForm->Width();
    const Integer h = FFormHeight ? FFormHeight : FForm->Height();
    return Rect(kBorder, kBorder + DefaultCaptionHeight(), w - kBorder, h - kBorder);
}

void TspCorvalis::CalcDefRects()
{
    if (ObjectList.empty()) return;
    // The caption band reaches down to the client area, so the whole band drags the form.
    NewDefCaptionRect = Rect(kBorder, kBorder, FFormWidth - kBorder, kBorder + DefaultCaptionHeight());
    const Integer size = DefaultButtonSize();
    Integer x = FFormWidth - kBorder;
    for (TStdCommand command : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
        TspSkinStdButtonObject* button = CaptionButtonOf(command, true);
        if (!button) continue;
        button->ObjectRect = Rect(x - size, 4, x, 4 + size);
        x -= size;
    }
    NewDefCaptionRect.Right = x;
    if (TspSkinStdButtonObject* menu = CaptionButtonOf(cmSysMenu, true)) {
        Integer w = size, h = size;
        if (FShowIcon) GetCaptionIconSize(w, h);
        menu->ObjectRect = Rect(NewDefCaptionRect.Left, 4, NewDefCaptionRect.Left + w, 4 + h);
        NewDefCaptionRect.Left = menu->ObjectRect.Right;
    }
}

void TspCorvalis::GetDefCaptionRect(TRect& R)
{
    CalcDefRects();
    R = NewDefCaptionRect;
}

void TspCorvalis::PaintNCDefault(HDC ADC, bool AUseExternalDC)
{
    if (FSD && FSD->ChangeSkinDataProcess) return;
    if (!FForm->HandleAllocated()) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (ObjectList.empty() && !FSkinSupport) CreateDefaultCaptionButtons();
    CalcDefRects();

    const Integer captionHeight = DefaultCaptionHeight();
    TBitmap caption(std::max(FFormWidth - 2 * kBorder, 0), captionHeight, pf24bit);
    PaintDefaultCaption(&caption);

    HDC dc = AUseExternalDC ? ADC : GetWindowDC(FForm->Handle());
    if (!dc) return;
    // A caller's context gets back its clipping and selected objects.
    const int saved = SaveDC(dc);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        ExcludeClipRect(dc, kBorder, captionHeight + kBorder, FFormWidth - kBorder, FFormHeight - kBorder);
        canvas.Draw(kBorder, kBorder, &caption);
        TRect r = Rect(0, 0, FFormWidth, FFormHeight);
        Frame3D(&canvas, r, cl3DLight, cl3DDkShadow);
        Frame3D(&canvas, r, clBtnHighlight, clBtnShadow);
        Frame3D(&canvas, r, clBtnFace, clBtnFace);
        canvas.SetHandle(nullptr);
    }
    RestoreDC(dc, saved);
    if (!AUseExternalDC) ReleaseDC(FForm->Handle(), dc);
}

void TspCorvalis::PaintDefaultCaption(TBitmap* ACaption)
{
    TCanvas* c = ACaption->Canvas();
    const Integer width = ACaption->Width();
    const Integer height = ACaption->Height();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, width, height));
    const Integer left = NewDefCaptionRect.Left - kBorder;
    const Integer right = width - NewDefCaptionRect.Right;  // the part right of the caption text's room
    if (height >= 6) {
        for (Integer y = 2; y <= height - 4; ++y) {
            c->Pen()->SetColor((y - 2) % 2 == 0 ? clBtnHighlight : clBtnShadow);
            c->MoveTo(left + 2, y);
            c->LineTo(width - right - 6, y);
        }
    }
    const bool active = GetFormActive();
    c->SetFont(active ? &FDefCaptionFont : &FDefInActiveCaptionFont);
    const std::string text = FForm->Caption();
    if (OnCaptionPaint) {
        OnCaptionPaint(this, c, Rect(left, 0, width - right - 3, height), active);
    } else if (!text.empty()) {
        WideString wide = Utf8ToWide(text);
        TruncateWideWithEllipsis(c, wide, width - left - right);
        const Integer tw = WideTextWidth(c, wide);
        const Integer th = WideTextHeight(c, wide);
        const Integer x = left + (width - left - right) / 2 - (tw + 5) / 2;
        const Integer y = height / 2 - th / 2;
        TRect back = Rect(x - 2, y - 2, x + tw + 5 + 2, y + th + 2);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(back);
        c->Brush()->SetStyle(bsClear);
        TRect place = Rect(x, y, x + tw + 5, y + th);
        DrawWideText(c, wide, place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Brush()->SetStyle(bsSolid);
    }
    DrawObjectsInto(c, {-kBorder, -kBorder});
}

void TspCorvalis::DrawObjectsInto(TCanvas* ACanvas, TPoint AOffset)
{
    for (auto& object : ObjectList) {
        if (!object->Visible) continue;
        const TRect saved = object->ObjectRect;
        object->ObjectRect = Rect(saved.Left + AOffset.X, saved.Top + AOffset.Y, saved.Right + AOffset.X,
                                  saved.Bottom + AOffset.Y);
        object->Draw(ACanvas, false);
        object->ObjectRect = saved;
    }
}

void TspCorvalis::PaintBGDefault(HDC DC)
{
    if (!DC) return;
    TCanvas canvas;
    canvas.SetHandle(DC);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(FForm->ClientRect());
    DrawLogo(&canvas);
    canvas.SetHandle(nullptr);
}

void TspCorvalis::DrawLogo(TCanvas* Canvas)
{
    if (FLogoBitMap.Empty()) return;
    FLogoBitMap.SetTransparent(FLogoBitMapTransparent);
    const TRect client = FForm->ClientRect();
    Canvas->Draw(std::max(0, client.Width() - FLogoBitMap.Width()), std::max(0, client.Height() - FLogoBitMap.Height()),
                 &FLogoBitMap);
}

void TspCorvalis::GetCaptionIconSize(Integer& W, Integer& H)
{
    W = GetSystemMetrics(SM_CXSMICON);
    H = GetSystemMetrics(SM_CYSMICON);
    if (W == 0) W = GetSystemMetrics(SM_CXSIZE);
    if (H == 0) H = GetSystemMetrics(SM_CYSIZE);
}

void TspCorvalis::PrepareCaptionIcon()
{
    if (FIcon) return;
    Integer w = 0, h = 0;
    GetCaptionIconSize(w, h);
    HICON source = nullptr;
    if (!FForm->Icon()->Empty()) source = FForm->Icon()->Handle();
    if (!source) source = LoadIcon(nullptr, IDI_APPLICATION);
    FIcon = std::make_unique<TIcon>();
    if (source) FIcon->SetHandle(static_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, 0)));
}

void TspCorvalis::DrawCaptionIcon(TCanvas* Canvas, Integer X, Integer Y)
{
    PrepareCaptionIcon();
    if (FIcon && !FIcon->Empty())
        DrawIconEx(Canvas->Handle(), X, Y, FIcon->Handle(), FIcon->Width(), FIcon->Height(), 0, nullptr, DI_NORMAL);
}

Integer TspCorvalis::GetMinWidth()
{
    const bool minimized = FWindowState == wsMinimized;
    if (FSupportNCArea) {
        if (!FSkinSupport || !FSD) return FMinWidth > 0 ? FMinWidth : 130;
        const Integer picture = FSD->FPicture ? FSD->FPicture->Width() : 0;
        if (picture < FMinWidth && !minimized) return FMinWidth;
        if (FSD->FormMinWidth > 0) return FMinWidth > FSD->FormMinWidth && !minimized ? FMinWidth : FSD->FormMinWidth;
        return picture;
    }
    if (!FSkinSupport || !FSD || !FSD->FPicture) return 0;
    const Integer picture = FSD->FPicture->Width();
    return FMinWidth == 0 ? picture : std::min(picture, FMinWidth);
}

Integer TspCorvalis::GetMinHeight()
{
    const bool free = !FRollUpState && FWindowState != wsMinimized;
    if (FSupportNCArea) {
        if (!FSkinSupport || !FSD) {
            const Integer frame = DefaultCaptionHeight() + 6;
            return FMinHeight > frame && free ? FMinHeight : frame;
        }
        const Integer picture = FSD->FPicture ? FSD->FPicture->Height() : 0;
        const Integer frame = picture - HeightOfRect(FSD->ClRect);
        const Integer base = FSD->FormMinHeight != 0 ? FSD->FormMinHeight : frame;
        return FMinHeight > base && free ? FMinHeight : base;
    }
    if (!FSkinSupport || !FSD || !FSD->FPicture) return 0;
    const Integer picture = FSD->FPicture->Height();
    return FMinHeight == 0 ? picture : std::min(picture, FMinHeight);
}

Integer TspCorvalis::GetMaxWidth()
{
    if (FMaxWidth != 0) return FMaxWidth;
    TRect area;
    GetWorkAreaOf(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen, area);
    return area.Width();
}

Integer TspCorvalis::GetMaxHeight()
{
    if (FMaxHeight != 0) return FMaxHeight;
    TRect area;
    GetWorkAreaOf(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !FMaximizeOnFullScreen, area);
    return area.Height();
}

void TspCorvalis::UpDateFormNC() { FrameRepaint(); }

void TspCorvalis::UpdateCaptionActivity(bool ARedraw)
{
    const bool active = GetFormActive();
    for (Integer i = 0; i < ObjectCount(); ++i) {
        auto* caption = dynamic_cast<TspSkinCaptionObject*>(Objects(i));
        if (!caption) continue;
        if (!ARedraw || !ObjectShownInRollUpState(caption->RollUp)) {
            if (caption->Morphing) caption->SetMorphKf(active ? 1 : 0);
            continue;
        }
        // The animation steps towards the new state (a frame caption takes it again when drawn).
        caption->Active = active;
        caption->StartAnimation(active);
        if (!FSupportNCArea || !IsEmptyRect(caption->ActiveSkinRect)) caption->RedrawState();
    }
    if (active) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeActivate) {
        OnDeActivate(this);
    }
}

void TspCorvalis::DrawSkinObject(TspActiveSkinObject* AObject)
{
    if (!ObjectShownInRollUpState(AObject->RollUp) || !FForm->HandleAllocated()) return;
    // A frameless form's objects lie on its client area; the frame's on the whole window.
    if (FSupportNCArea && !FrameWithBorder()) return;
    HDC dc = FSupportNCArea ? GetWindowDC(FForm->Handle()) : GetDC(FForm->Handle());
    if (!dc) return;
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        AObject->Draw(&canvas, true);
        canvas.SetHandle(nullptr);
    }
    ReleaseDC(FForm->Handle(), dc);
}
