#pragma once
// The "Error!" dialog of the error report: the failure's text, an explanation, the user's name, e-mail and
// details, and "Send" (modal result OK) or "Cancel" (Cancel). Created once at start-up; Execute is what the
// error report shows (TErrorReporter::ShowDialog).
#include <string>
#include <vector>

#include "app/error_report.h"
#include "platform/gui/forms.h"

class TspCorvalis;
class TspSkinButton;
class TspSkinData;
class TspSkinEdit;
class TspSkinMemo;
class TspSkinStdLabel;

class TErrorForm : public TForm {
public:
    // Builds the form and its controls in code. ASkinData skins the frame and every control; nullptr gives the
    // plain look. The skin must outlive the form.
    TErrorForm(TComponent* AOwner, TspSkinData* ASkinData);

    // Puts AText into the message label, shows the dialog modally and answers what the user chose and wrote.
    // Only "Send" sends; "Cancel" and the close box do not.
    TErrorDialogResult Execute(const std::string& AText);
    // Puts the whole of AText into the message label, broken into lines that fit it; a text of more than two
    // lines makes the label taller and moves the rest of the dialog down by as much.
    void SetMessageText(const std::string& AText);

    void PreviewButtonClick(TObject* Sender);
    void spSkinButton1Click(TObject* Sender);

    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinStdLabel* lblErrorText = nullptr;
    TspSkinEdit* edName = nullptr;
    TspSkinEdit* edEmail = nullptr;
    TspSkinMemo* memDetails = nullptr;
    TspSkinButton* PreviewButton = nullptr;  // "Send"
    TspSkinButton* spSkinButton1 = nullptr;  // "Cancel"

protected:
    // Every show puts the client height back to 255, and as much more as the message needs.
    void DoShow() override;

private:
    struct TPlaced {
        TControl* Control;
        Integer Top;  // as built, for a message of two lines
    };
    std::vector<TPlaced> FBelowMessage;
    Integer FMessageGrowth = 0;
};
