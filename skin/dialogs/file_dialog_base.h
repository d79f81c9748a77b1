#pragma once
// What the open-file and the select-folder dialog components share: the skins of the frame and of the controls,
// the default font, the form's size kept between calls and its transparency, and the steps that give a freshly
// built form its skinned frame and its size.
#include <memory>
#include <string>

#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/types.h"

class TspCorvalis;
class TspSkinData;

class TspSkinFileDialogBase : public TComponent {
public:
    TspSkinFileDialogBase(TComponent* AOwner, std::string ATitle, Byte AAlphaBlendValue);
    ~TspSkinFileDialogBase() override;

    Integer DialogWidth = 0, DialogHeight = 0;  // client size; 0 or less: the dialog's own default
    Integer DialogMinWidth = 0, DialogMinHeight = 0;
    bool AlphaBlend = false;
    Byte AlphaBlendValue;
    bool AlphaBlendAnimation = false;
    bool ToolButtonsTransparent = false;
    std::string Title;

    // Skins the form's frame.
    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* AValue);
    // Skins the controls and menus and gives the texts.
    TspSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TspSkinData* AValue);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }

    // Raised at the start and the end of Execute, and after an accepted one.
    TNotifyEvent OnShow, OnClose, OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // Title, no border icons, the frame's skin, the menus' skin, transparency and minimum size.
    void ApplyFrame(TForm* AForm, TspCorvalis* ACVL) const;
    // The kept client size (the defaults when none), at least the skinned frame's minimum; the form gets its window
    // first, as sizes are meant inside the skinned frame.
    void SizeForm(TForm* AForm, TspCorvalis* ACVL, Integer ADefaultWidth, Integer ADefaultHeight) const;
    // Keeps the form's client size for the next call.
    void KeepSize(TForm* AForm);

    TspSkinData* FSD = nullptr;
    TspSkinData* FCtrlFSD = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
};
