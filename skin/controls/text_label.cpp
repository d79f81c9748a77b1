#include "skin/controls/text_label.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/win/painting.h"
#include "skin/controls/plain_look.h"
#include "skin/core/control_records.h"

TspSkinTextLabel::TspSkinTextLabel(TComponent* AOwner)
    : TspSkinLinked<TGraphicControl>(AOwner), FLines(std::make_unique<TStringList>()),
      FDefaultFont(std::make_unique<TFont>())
{
    FSkinDataName = "stdlabel";
    ControlStyle().Exclude(csOpaque);
    SetBounds(Left(), Top(), 65, 65);
    FLines->OnChange = [this](TObject* ASender) { LinesChanged(ASender); };
    TControl::SetAutoSize(true);
}

void TspSkinTextLabel::SetAlignment(TAlignment AValue)
{
    if (FAlignment == AValue) return;
    FAlignment = AValue;
    Invalidate();
}

void TspSkinTextLabel::SetLayout(TTextLayout AValue)
{
    if (FLayout == AValue) return;
    FLayout = AValue;
    Invalidate();
}

void TspSkinTextLabel::SetWordWrap(bool AValue)
{
    if (FWordWrap == AValue) return;
    FWordWrap = AValue;
    AdjustSize();
    Invalidate();
}

void TspSkinTextLabel::LinesChanged(TObject*)
{
    AdjustSize();
    Repaint();
}

void TspSkinTextLabel::GetSkinData()
{
    if (auto* record = LookUpRecord<TspDataSkinStdLabelControl>()) RecordFont.Read(*record);
}

void TspSkinTextLabel::ChangeSkinData()
{
    GetSkinData();
    AdjustSize();
    Repaint();
}

Cardinal TspSkinTextLabel::TextFlags() const
{
    Cardinal flags = win::DT_EXPANDTABS;
    if (FWordWrap) flags |= win::DT_WORDBREAK;
    if (FAlignment == taRightJustify) flags |= win::DT_RIGHT;
    if (FAlignment == taCenter) flags |= win::DT_CENTER;
    return flags;
}

void TspSkinTextLabel::DrawLabelText(TCanvas* ACanvas, TRect& R, Cardinal AFlags)
{
    GetSkinData();
    const std::string text = GetCaptionText();
    ApplyStdLabelFont(ACanvas->Font(), {Skinned(), FUseSkinFont, FUseSkinColor}, RecordFont, FDefaultFont.get(),
                      Font());
    if (!Enabled() && (AFlags & win::DT_CALCRECT) == 0) {
        const TspEmbossColors colors = EmbossColorsOf(SkinColors());
        DrawEmbossedText(ACanvas, text, R, AFlags, colors.Highlight, colors.Shadow);
        return;
    }
    DrawLabelTextIn(ACanvas, text, R, AFlags);
}

Integer TspSkinTextLabel::TextHeightOf(TCanvas* ACanvas, const TRect& AMeasured)
{
    return std::max(0, AMeasured.Bottom - ACanvas->TextHeight("A"));
}

void TspSkinTextLabel::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    const Cardinal flags = TextFlags();
    if (FLayout != tlTop) {
        TRect measured = r;
        DrawLabelText(c, measured, flags | win::DT_CALCRECT);
        const Integer t = TextHeightOf(c, measured);
        const Integer shift = FLayout == tlBottom ? Height() - t : (Height() - t) / 2;
        r.Top += shift;
        r.Bottom += shift;
    }
    DrawLabelText(c, r, flags);
}

void TspSkinTextLabel::AdjustSize()
{
    if (!AutoSize()) return;
    // Measured on the screen, so that a label fits itself before it has a parent.
    win::HDC dc = win::GetDC(nullptr);
    TCanvas* c = Canvas();
    c->SetHandle(dc);
    TRect r = ClientRect();
    DrawLabelText(c, r, win::DT_CALCRECT | win::DT_EXPANDTABS | (FWordWrap ? win::DT_WORDBREAK : 0));
    const Integer height = TextHeightOf(c, r);
    c->SetHandle(nullptr);
    win::ReleaseDC(nullptr, dc);
    const Integer width = r.Width();
    const Integer left = FAlignment == taRightJustify ? Left() + Width() - width : Left();
    SetBounds(left, Top(), width, height);
}

void TspSkinTextLabel::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == CM_FONTCHANGED) {
        TspSkinLinked<TGraphicControl>::WndProc(AMessage);
        AdjustSize();
        Invalidate();
        return;
    }
    TspSkinLinked<TGraphicControl>::WndProc(AMessage);
}
