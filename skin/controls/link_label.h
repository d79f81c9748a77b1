#pragma once
// The skinned link label: a label with a hand cursor and underlined text that takes a hover colour (or a glow)
// while the mouse is over it, and whose click opens its URL with the desktop's default program.
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/ext_controls.h"
#include "skin/controls/label_font.h"
#include "skin/controls/skin_link.h"

class TspSkinLinkLabel : public TspSkinLinked<TCustomLabel> {
public:
    explicit TspSkinLinkLabel(TComponent* AOwner);

    const std::string& URL() const { return FURL; }
    void SetURL(const std::string& AValue) { FURL = AValue; }
    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool AValue);
    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool AValue);
    Integer GlowSize() const { return FGlowSize; }
    void SetGlowSize(Integer AValue);
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor AValue) { FDefaultActiveFontColor = AValue; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }
    bool MouseIn() const { return FMouseIn; }

    void GetSkinData();
    void ChangeSkinData() override;
    void Click() override;

    // How the click opens URL; the desktop's default program, started with the address as its one argument.
    std::function<bool(const std::string&)> OpenURL;

    TspStdLabelFont RecordFont;

protected:
    void DoDrawText(TRect& ARect, win::UINT AFlags) override;
    void WndProc(TMessage& AMessage) override;

private:
    std::string FURL;
    bool FUseUnderLine = true;
    bool FGlowEffect = false;
    Integer FGlowSize = 7;
    TColor FDefaultActiveFontColor = clBlue;
    bool FUseSkinFont = true;
    bool FMouseIn = false;
    std::unique_ptr<TFont> FDefaultFont;
};
