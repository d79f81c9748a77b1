#include "skin/controls/status_bar.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/forms.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records.h"

TspSkinStatusBar::TspSkinStatusBar(TComponent* AOwner) : TspSkinPanel(AOwner)
{
    FSkinDataName = "statusbar";
    FBorderStyle = TspSkinBorderStyle::bvNone;
    FForceBackground = false;
    SetAlign(alBottom);
    SetHeight(21);
}

void TspSkinStatusBar::SetSizeGrip(bool AValue)
{
    FSizeGrip = AValue;
    Repaint();
    Realign();
}

void TspSkinStatusBar::SetShowGrip(bool AValue)
{
    FShowGrip = AValue;
    Repaint();
    Realign();
}

void TspSkinStatusBar::SetSkinData(TspSkinData* AValue)
{
    TspSkinPanel::SetSkinData(AValue);
    for (Integer i = 0; i < ControlCount(); ++i)
        if (auto* child = dynamic_cast<TspSkinControl*>(Controls(i))) child->SetSkinData(AValue);
}

void TspSkinStatusBar::GetSkinData()
{
    TspSkinPanel::GetSkinData();
    auto* r = RecordAs<TspDataSkinPanelControl>();
    if (!r) return;
    GripperRect = r->GripperRect;
    GripperTransparent = r->GripperTransparent;
    GripperTransparentColor = r->GripperTransparentColor;
}

bool TspSkinStatusBar::SkinGripPicture() const
{
    return Skinned() && !IsEmptyRect(GripperRect);
}

void TspSkinStatusBar::AdjustClientRect(TRect& ARect)
{
    TspSkinPanel::AdjustClientRect(ARect);
    if (GripShown()) ARect.Right -= SkinGripPicture() ? GripperRect.Width() : ARect.Height();
}

TRect TspSkinStatusBar::GripRect()
{
    const TRect r = GetSkinClientRect();
    if (SkinGripPicture())
        return Rect(r.Right, r.Bottom - GripperRect.Height(), r.Right + GripperRect.Width(), r.Bottom);
    return Rect(r.Right + 2, r.Top, r.Right + r.Height(), r.Bottom - 2);
}

void DrawGripLines(TCanvas* ACanvas, const TRect& G, TColor ALight, TColor AShadow)
{
    ACanvas->Pen()->SetWidth(1);
    for (Integer k = 1; k <= G.Width() / 3 + 1; ++k) {
        const Integer d = 3 * k;
        if (G.Left + d + 2 > G.Right) continue;
        ACanvas->Pen()->SetColor(AShadow);
        ACanvas->MoveTo(G.Left + d, G.Bottom);
        ACanvas->LineTo(G.Right, G.Top + d);
        ACanvas->Pen()->SetColor(ALight);
        ACanvas->MoveTo(G.Left + d + 1, G.Bottom);
        ACanvas->LineTo(G.Right, G.Top + d + 1);
    }
}

void TspSkinStatusBar::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinPanel::DrawUnskinnedImage(B);
    if (GripShown()) DrawGripLines(B->Canvas(), GripRect(), clBtnHighlight, clBtnShadow);
}

void TspSkinStatusBar::DrawSkinnedImage(TBitmap* B)
{
    TspSkinPanel::DrawSkinnedImage(B);
    if (!GripShown()) return;
    const TRect grip = GripRect();
    if (!SkinGripPicture()) {
        DrawGripLines(B->Canvas(), grip, FSD->FSkinColors->FcBtnHighLight, FSD->FSkinColors->FcBtnShadow);
        return;
    }
    if (!Picture) return;
    TBitmap part(GripperRect.Width(), GripperRect.Height());
    part.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), Picture->Canvas(), GripperRect);
    if (GripperTransparent) {
        part.SetTransparentColor(GripperTransparentColor);
        part.SetTransparent(true);
    }
    B->Canvas()->Draw(grip.Left, grip.Top, &part);
}

void TspSkinStatusBar::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_NCHITTEST:
        if (Designing() || !GripShown()) break;
        AMessage.Result = PointInsideRect(GripRect(), ScreenToClient(win::LParamToPoint(AMessage.LParam)))
                              ? win::HTBOTTOMRIGHT
                              : win::HTCLIENT;
        return;
    case win::WM_NCLBUTTONDOWN:
        // The grip sizes the form, not the bar: the press goes on to the form's own sizing.
        if (static_cast<win::LRESULT>(AMessage.WParam) != win::HTBOTTOMRIGHT) break;
        if (TCustomForm* form = GetParentForm(this)) {
            win::SendMessage(form->Handle(), win::WM_SYSCOMMAND, win::SC_SIZE + win::WMSZ_BOTTOMRIGHT,
                             AMessage.LParam);
            return;
        }
        break;
    default: break;
    }
    TspSkinPanel::WndProc(AMessage);
}
