#pragma once
// What the converter's small dialogs share when they build themselves in code: a skinned dialog frame of a fixed
// client size, and controls placed at fixed bounds and skinned through the application's skin data.
#include <string>

#include "platform/gui/forms.h"
#include "skin/core/skin_data.h"

class TspCorvalis;
class TspSkinButton;
class TspSkinStdLabel;

// Dialog border, centred on the main window, skinned frame with only the close box; the client size is set
// inside the skinned frame. ASkin nullptr: the plain look.
TspCorvalis* MakeSkinnedDialog(TForm* AForm, TspSkinData* ASkin, const std::string& ACaption, Integer AClientWidth,
                               Integer AClientHeight);

// A control of AForm on AParent at the given bounds, named when AName is not empty, then skinned.
template <typename TControlKind>
TControlKind* PlaceControl(TForm* AForm, TWinControl* AParent, TspSkinData* ASkin, const std::string& AName,
                           Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    auto* control = new TControlKind(AForm);
    if (!AName.empty()) control->SetName(AName);
    control->SetParent(AParent);
    control->SetBounds(ALeft, ATop, AWidth, AHeight);
    if (ASkin) control->SetSkinData(ASkin);
    return control;
}

// A fixed one-line text, sized to itself.
TspSkinStdLabel* PlaceText(TForm* AForm, TWinControl* AParent, TspSkinData* ASkin, const std::string& AText,
                           Integer ALeft, Integer ATop);

// A focusable push button of the standard dialog size; its click handler decides the modal result.
TspSkinButton* PlaceButton(TForm* AForm, TspSkinData* ASkin, const std::string& AName, const std::string& ACaption,
                           Integer ALeft, Integer ATop);
