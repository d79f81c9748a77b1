#include "skin/controls/link_label.h"

#include "platform/gdi/text.h"
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/rtl/process.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/std_label.h"
#include "skin/core/control_records.h"
#include "skin/core/glow_effects.h"

TspSkinLinkLabel::TspSkinLinkLabel(TComponent* AOwner)
    : TspSkinLinked<TCustomLabel>(AOwner), OpenURL(&OpenWithDefaultProgram), FDefaultFont(std::make_unique<TFont>())
{
    FSkinDataName = "stdlabel";
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle(TFontStyles{fsUnderline});
    Font()->Assign(FDefaultFont.get());
    SetTransparent(true);
    SetCursor(crHandPoint);
}

void TspSkinLinkLabel::SetUseUnderLine(bool AValue)
{
    if (FUseUnderLine == AValue) return;
    FUseUnderLine = AValue;
    Repaint();
}

void TspSkinLinkLabel::SetGlowEffect(bool AValue)
{
    FGlowEffect = AValue;
    Repaint();
}

void TspSkinLinkLabel::SetGlowSize(Integer AValue)
{
    FGlowSize = AValue;
    Repaint();
}

void TspSkinLinkLabel::GetSkinData()
{
    if (auto* record = LookUpRecord<TspDataSkinStdLabelControl>()) RecordFont.Read(*record);
}

void TspSkinLinkLabel::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

void TspSkinLinkLabel::Click()
{
    TspSkinLinked<TCustomLabel>::Click();
    // What the desktop then does is its own affair; the result is not examined.
    if (!FURL.empty() && OpenURL) OpenURL(FURL);
}

void TspSkinLinkLabel::DoDrawText(TRect& ARect, win::UINT AFlags)
{
    GetSkinData();
    const bool measuring = (AFlags & win::DT_CALCRECT) != 0;
    const std::string text = LabelTextToDraw(GetLabelText(), measuring, ShowAccelChar());
    const Cardinal flags = StdLabelTextFlags(AFlags, ShowAccelChar(), spetNone);
    TCanvas* c = Canvas();
    ApplyLinkLabelFont(c->Font(),
                       {Skinned(), FUseSkinFont, FUseUnderLine, FMouseIn, FGlowEffect, Enabled(),
                        FDefaultActiveFontColor},
                       RecordFont, FDefaultFont.get(), Font());
    // The glow needs room above the text; a measurement keeps the caller's rectangle.
    TRect r = ARect;
    if (FGlowEffect && !measuring) {
        r.Top += FGlowSize;
        r.Bottom += FGlowSize;
    }
    if (!Enabled() && !measuring) {
        const TspEmbossColors colors = EmbossColorsOf(SkinColors());
        DrawEmbossedText(c, text, r, flags, colors.Highlight, colors.Shadow);
        return;
    }
    if (FMouseIn && FGlowEffect && !measuring) {
        const TColor glow = Skinned() ? RecordFont.ActiveFontColor : FDefaultActiveFontColor;
        DrawThickGlowText(c, r, text, flags, 0, glow, FGlowSize);
        return;
    }
    DrawLabelTextIn(c, text, r, flags);
    if (measuring) ARect = r;
}

void TspSkinLinkLabel::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TspSkinLinked<TCustomLabel>::WndProc(AMessage);
        FMouseIn = AMessage.Msg == CM_MOUSEENTER;
        Repaint();
        return;
    default: TspSkinLinked<TCustomLabel>::WndProc(AMessage);
    }
}
