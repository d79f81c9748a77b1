#include "app/ui/error_form.h"

#include <algorithm>

#include "app/ui/dialog_parts.h"
#include "app/ui/message_lines.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/graphics.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_memo.h"
#include "skin/controls/std_label.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr Integer kClientWidth = 375;
constexpr Integer kClientHeight = 255;
constexpr Integer kLeft = 10;
constexpr const char* kNarrowFace = "Arial";
constexpr Integer kFieldLeft = 96;
constexpr Integer kFieldWidth = kClientWidth - kFieldLeft - kLeft;
constexpr Integer kMessageTop = 26;
constexpr Integer kMessageHeight = 34;  // two lines; a longer message moves what is below it down
constexpr Integer kMaxMessageHeight = 480;

}  // namespace

TErrorForm::TErrorForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("ErrorForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "Error!", kClientWidth, kClientHeight);

    // The explanations are long for the width: a narrower face, and they wrap inside the width when they must.
    auto wrapped = [&](const std::string& AText, Integer ATop, Integer AHeight) {
        auto* label = PlaceControl<TspSkinStdLabel>(this, this, nullptr, "", kLeft, ATop, 0, 0);
        label->SetAutoSize(false);
        label->SetWordWrap(true);
        label->SetUseSkinFont(false);
        label->Font()->SetName(kNarrowFace);
        label->Font()->SetHeight(12);
        label->SetBounds(kLeft, ATop, kClientWidth - 2 * kLeft, AHeight);
        label->SetCaption(AText);
        if (ASkinData) label->SetSkinData(ASkinData);
        return label;
    };
    PlaceText(this, this, ASkinData, "The following error occured:", kLeft, 8);
    lblErrorText = wrapped("", kMessageTop, kMessageHeight);
    lblErrorText->SetName("lblErrorText");
    lblErrorText->SetUseSkinFont(true);
    // A failure's text often names a file: an "&" in it is text.
    lblErrorText->SetShowAccelChar(false);
    wrapped("Error report is generated. Please send it to developers to fix the problem.", 64, 16);
    wrapped("If you want to be notified when the problem is fixed,  you can leave", 90, 16);
    wrapped("your contact information. You can also provide details of the problem. ", 106, 30);

    PlaceText(this, this, ASkinData, "Your Name:", kLeft, 146);
    edName = PlaceControl<TspSkinEdit>(this, this, ASkinData, "edName", kFieldLeft, 142, kFieldWidth, 21);
    PlaceText(this, this, ASkinData, "Your E-Mail:", kLeft, 170);
    edEmail = PlaceControl<TspSkinEdit>(this, this, ASkinData, "edEmail", kFieldLeft, 166, kFieldWidth, 21);
    PlaceText(this, this, ASkinData, "Details:", kLeft, 194);
    memDetails = PlaceControl<TspSkinMemo>(this, this, ASkinData, "memDetails", kFieldLeft, 190, kFieldWidth, 30);

    PreviewButton = PlaceButton(this, ASkinData, "PreviewButton", "Send", kClientWidth / 2 - 80, 226);
    PreviewButton->SetDefault(true);
    PreviewButton->OnClick = [this](TObject* ASender) { PreviewButtonClick(ASender); };
    spSkinButton1 = PlaceButton(this, ASkinData, "spSkinButton1", "Cancel", kClientWidth / 2 + 5, 226);
    spSkinButton1->SetCancel(true);
    spSkinButton1->OnClick = [this](TObject* ASender) { spSkinButton1Click(ASender); };

    for (Integer i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Top() > kMessageTop) FBelowMessage.push_back({Controls(i), Controls(i)->Top()});
}

void TErrorForm::SetMessageText(const std::string& AText)
{
    // The label measures in the font it draws with, which it has taken into its canvas once it has measured.
    lblErrorText->SetAutoSize(true);
    lblErrorText->SetCaption(AText);
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(lblErrorText->Canvas()->Font());
    const auto widthOf = [&measure](const std::string& APiece) { return measure.Canvas()->TextWidth(APiece); };
    lblErrorText->SetCaption(BreakIntoLines(AText, lblErrorText->Width() - 2, widthOf));
    lblErrorText->SetAutoSize(false);
    const Integer height = std::clamp(lblErrorText->Height(), kMessageHeight, kMaxMessageHeight);
    lblErrorText->SetBounds(kLeft, kMessageTop, kClientWidth - 2 * kLeft, height);
    FMessageGrowth = height - kMessageHeight;
    for (const TPlaced& placed : FBelowMessage) placed.Control->SetTop(placed.Top + FMessageGrowth);
}

TErrorDialogResult TErrorForm::Execute(const std::string& AText)
{
    SetMessageText(AText);
    TErrorDialogResult result;
    result.Send = ShowModal() == mrOk;
    result.Name = edName->Text();
    result.EMail = edEmail->Text();
    TStrings* lines = memDetails->Lines();
    for (Integer i = 0; i < lines->Count(); ++i) result.Details.push_back(lines->Strings(i));
    return result;
}

void TErrorForm::PreviewButtonClick(TObject* /*Sender*/) { SetModalResult(mrOk); }

void TErrorForm::spSkinButton1Click(TObject* /*Sender*/) { SetModalResult(mrCancel); }

void TErrorForm::DoShow()
{
    SetClientHeight(kClientHeight + FMessageGrowth);
    TForm::DoShow();
}
