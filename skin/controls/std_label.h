#pragma once
// The skinned standard label: the platform's label (caption, alignment, layout, word wrap, accelerator, auto
// size) drawn in the font and colour of a "stdlabel" record, or in DefaultFont without one, with optional
// ellipsis modes. Nearly every text on the application's forms and dialogs is one.
#include <memory>
#include <string>

#include "platform/gui/ext_controls.h"
#include "skin/controls/label_font.h"
#include "skin/controls/skin_link.h"

enum TspEllipsType { spetNone, spetEndEllips, spetPathEllips };

// The flags a label draws its text with: the caller's, no prefix handling when the accelerator is hidden, and
// the ellipsis mode's flag.
Cardinal StdLabelTextFlags(Cardinal ACallerFlags, bool AShowAccelChar, TspEllipsType AEllips);
// The text to draw or measure: a measured empty caption (or a lone accelerator "&") gets a blank, so that it
// keeps the height of one line.
std::string LabelTextToDraw(std::string AText, bool AMeasuring, bool AShowAccelChar);

class TspSkinStdLabel : public TspSkinLinked<TCustomLabel> {
public:
    explicit TspSkinStdLabel(TComponent* AOwner);

    TspEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TspEllipsType AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool AValue) { FUseSkinColor = AValue; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    // Copies the font; nothing else.
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }

    void GetSkinData();
    // Re-reads the record, re-measures an auto-sized label and repaints.
    void ChangeSkinData() override;

    // Copied from the record by the lookup.
    TspStdLabelFont RecordFont;

protected:
    void DoDrawText(TRect& ARect, win::UINT AFlags) override;

private:
    TspEllipsType FEllipsType = spetNone;
    bool FUseSkinFont = true;
    bool FUseSkinColor = true;
    std::unique_ptr<TFont> FDefaultFont;
};
