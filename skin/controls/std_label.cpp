#include "skin/controls/std_label.h"

#include "platform/gdi/text.h"
#include "platform/gui/canvas.h"
#include "skin/controls/plain_look.h"
#include "skin/core/control_records.h"

Cardinal StdLabelTextFlags(Cardinal ACallerFlags, bool AShowAccelChar, TspEllipsType AEllips)
{
    Cardinal flags = ACallerFlags;
    if (!AShowAccelChar) flags |= win::DT_NOPREFIX;
    if (AEllips == spetEndEllips) flags |= win::DT_END_ELLIPSIS;
    if (AEllips == spetPathEllips) flags |= win::DT_PATH_ELLIPSIS;
    return flags;
}

std::string LabelTextToDraw(std::string AText, bool AMeasuring, bool AShowAccelChar)
{
    if (AMeasuring && (AText.empty() || (AShowAccelChar && AText == "&"))) AText += " ";
    return AText;
}

TspSkinStdLabel::TspSkinStdLabel(TComponent* AOwner)
    : TspSkinLinked<TCustomLabel>(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FSkinDataName = "stdlabel";
    SetTransparent(true);
}

void TspSkinStdLabel::SetEllipsType(TspEllipsType AValue)
{
    if (FEllipsType == AValue) return;
    FEllipsType = AValue;
    Invalidate();
}

void TspSkinStdLabel::GetSkinData()
{
    if (auto* record = LookUpRecord<TspDataSkinStdLabelControl>()) RecordFont.Read(*record);
}

void TspSkinStdLabel::ChangeSkinData()
{
    GetSkinData();
    if (AutoSize()) AdjustSize();
    Repaint();
}

void TspSkinStdLabel::DoDrawText(TRect& ARect, win::UINT AFlags)
{
    GetSkinData();
    const bool measuring = (AFlags & win::DT_CALCRECT) != 0;
    const std::string text = LabelTextToDraw(GetLabelText(), measuring, ShowAccelChar());
    const Cardinal flags = StdLabelTextFlags(AFlags, ShowAccelChar(), FEllipsType);
    TCanvas* c = Canvas();
    ApplyStdLabelFont(c->Font(), {Skinned(), FUseSkinFont, FUseSkinColor}, RecordFont, FDefaultFont.get(), Font());
    if (!Enabled() && !measuring) {
        const TspEmbossColors colors = EmbossColorsOf(SkinColors());
        DrawEmbossedText(c, text, ARect, flags, colors.Highlight, colors.Shadow);
        return;
    }
    DrawLabelTextIn(c, text, ARect, flags);
}
