#pragma once
// The skinned text label: several lines of text (a string list) with alignment, vertical layout and word wrap,
// in the font and colour of a "stdlabel" record, sized to its text unless told otherwise.
#include <memory>

#include "platform/gui/ext_controls.h"
#include "platform/rtl/strings.h"
#include "skin/controls/label_font.h"
#include "skin/controls/skin_link.h"

class TspSkinTextLabel : public TspSkinLinked<TGraphicControl> {
public:
    explicit TspSkinTextLabel(TComponent* AOwner);

    TStrings* Lines() { return FLines.get(); }
    // Copies the list.
    void SetLines(TStrings* AValue) { FLines->Assign(AValue); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout AValue);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool AValue) { FUseSkinColor = AValue; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }

    // The lines, each ended by a line break.
    std::string GetCaptionText() const { return FLines->Text(); }
    void GetSkinData();
    void ChangeSkinData() override;

    TspStdLabelFont RecordFont;

protected:
    void Paint() override;
    // The size follows the text; a right-aligned label keeps its right edge.
    void AdjustSize() override;
    void WndProc(TMessage& AMessage) override;

private:
    Cardinal TextFlags() const;
    // Draws, or with DT_CALCRECT measures, the text in R on ACanvas.
    void DrawLabelText(TCanvas* ACanvas, TRect& R, Cardinal AFlags);
    // Height of the measured text without the empty line after the last line break.
    Integer TextHeightOf(TCanvas* ACanvas, const TRect& AMeasured);
    void LinesChanged(TObject* ASender);

    std::unique_ptr<TStringList> FLines;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FUseSkinFont = true;
    bool FUseSkinColor = true;
    std::unique_ptr<TFont> FDefaultFont;
};
