#include "skin/controls/label_font.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/text.h"
#include "platform/gui/canvas.h"
#include "skin/core/control_records.h"
#include "skin/core/skin_records.h"

void TspStdLabelFont::Read(const TspDataSkinStdLabelControl& ARecord)
{
    FontName = ARecord.FontName;
    FontStyle = ARecord.FontStyle;
    FontHeight = ARecord.FontHeight;
    FontColor = ARecord.FontColor;
    ActiveFontColor = ARecord.ActiveFontColor;
}

namespace {

void ApplyRecordFace(TFont* ATarget, const TspStdLabelFont& ARecord)
{
    ATarget->SetName(ARecord.FontName);
    ATarget->SetStyle(ARecord.FontStyle);
    ATarget->SetHeight(ARecord.FontHeight);
}

}  // namespace

void ApplyStdLabelFont(TFont* ATarget, const TspLabelFontChoice& AChoice, const TspStdLabelFont& ARecord,
                       TFont* ADefaultFont, TFont* AFont)
{
    if (!AChoice.Skinned) {
        ATarget->Assign(AChoice.UseSkinFont ? ADefaultFont : AFont);
        ATarget->SetColor(AFont->Color());
        return;
    }
    ATarget->Assign(AFont);
    if (AChoice.UseSkinFont) ApplyRecordFace(ATarget, ARecord);
    if (AChoice.UseSkinColor) ATarget->SetColor(ARecord.FontColor);
}

void ApplyLinkLabelFont(TFont* ATarget, const TspLinkFontChoice& AChoice, const TspStdLabelFont& ARecord,
                        TFont* ADefaultFont, TFont* AFont)
{
    TFontStyles style;
    if (!AChoice.Skinned) {
        ATarget->Assign(AChoice.UseSkinFont ? ADefaultFont : AFont);
        if (AChoice.MouseIn) ATarget->SetColor(AChoice.DefaultActiveFontColor);
        style = ATarget->Style();
        style.Include(fsUnderline);
        if (AChoice.Enabled && !AChoice.UseUnderLine) style.Exclude(fsUnderline);
    } else {
        ATarget->Assign(AFont);
        if (AChoice.UseSkinFont) ApplyRecordFace(ATarget, ARecord);
        ATarget->SetColor(AChoice.MouseIn && !AChoice.GlowEffect ? ARecord.ActiveFontColor : ARecord.FontColor);
        style = ATarget->Style();
        if (AChoice.UseUnderLine)
            style.Include(fsUnderline);
        else
            style.Exclude(fsUnderline);
    }
    ATarget->SetStyle(style);
}

TspEmbossColors EmbossColorsOf(const TspSkinColors* AColors)
{
    if (!AColors) return {};
    return {AColors->FcBtnHighLight, AColors->FcBtnShadow};
}

void DrawLabelTextIn(TCanvas* ACanvas, const std::string& AText, TRect& R, Cardinal AFlags)
{
    win::HDC dc = ACanvas->Handle();
    const int mode = win::SetBkMode(dc, win::TRANSPARENT);
    win::SetTextColor(dc, ColorRefOf(ACanvas->Font()->Color()));
    win::DrawText(dc, AText, &R, AFlags);
    win::SetBkMode(dc, mode);
}
