#include "app/ui/dialog_parts.h"

#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/forms/skin_form.h"

namespace {
constexpr Integer kButtonWidth = 75;
constexpr Integer kButtonHeight = 25;
}  // namespace

TspCorvalis* MakeSkinnedDialog(TForm* AForm, TspSkinData* ASkin, const std::string& ACaption, Integer AClientWidth,
                               Integer AClientHeight)
{
    AForm->SetBorderStyle(bsDialog);
    AForm->SetPosition(poMainFormCenter);
    AForm->SetKeyPreview(true);
    AForm->SetCaption(ACaption);
    auto* corvalis = new TspCorvalis(AForm);
    corvalis->SetName("spCorvalis1");
    // Dialogs keep only the close button, which the border icons do not govern.
    corvalis->SetBorderIcons({});
    corvalis->SetSizeable(false);
    corvalis->SetSkinData(ASkin);
    corvalis->SetMenusSkinData(ASkin);
    // The client size is meant inside the skinned frame, which only a window has.
    AForm->HandleNeeded();
    AForm->SetClientWidth(AClientWidth);
    AForm->SetClientHeight(AClientHeight);
    return corvalis;
}

TspSkinStdLabel* PlaceText(TForm* AForm, TWinControl* AParent, TspSkinData* ASkin, const std::string& AText,
                           Integer ALeft, Integer ATop)
{
    auto* label = new TspSkinStdLabel(AForm);
    label->SetParent(AParent);
    label->SetAutoSize(true);
    label->SetCaption(AText);
    label->SetLeft(ALeft);
    label->SetTop(ATop);
    if (ASkin) label->SetSkinData(ASkin);
    return label;
}

TspSkinButton* PlaceButton(TForm* AForm, TspSkinData* ASkin, const std::string& AName, const std::string& ACaption,
                           Integer ALeft, Integer ATop)
{
    auto* button = PlaceControl<TspSkinButton>(AForm, AForm, ASkin, AName, ALeft, ATop, kButtonWidth, kButtonHeight);
    button->SetCanFocused(true);
    button->SetCaption(ACaption);
    return button;
}
