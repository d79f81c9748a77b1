#include "app/ui/sending_report_form.h"

#include "app/ui/dialog_parts.h"
#include "platform/gui/timer.h"
#include "skin/controls/push_button.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr Integer kClientWidth = 300;
constexpr Integer kClientHeight = 76;

}  // namespace

TSendingReportForm::TSendingReportForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("SendingReportForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "Error report", kClientWidth, kClientHeight);
    PlaceText(this, this, ASkinData, "Sending the error report...", 10, 12);
    CancelButton = PlaceButton(this, ASkinData, "CancelButton", "Cancel", kClientWidth / 2 - 37, 42);
    CancelButton->SetCancel(true);
    CancelButton->OnClick = [this](TObject*) { SetModalResult(mrCancel); };
    FinishedTimer = new TTimer(this);
    FinishedTimer->SetEnabled(false);
    FinishedTimer->SetInterval(100);
    FinishedTimer->OnTimer = [this](TObject*) {
        if (FFinished && FFinished()) SetModalResult(mrOk);
    };
}

void TSendingReportForm::Wait(const std::function<bool()>& AFinished, const std::function<void()>& ACancel)
{
    if (AFinished()) return;
    FFinished = AFinished;
    FinishedTimer->SetEnabled(true);
    const TModalResult result = ShowModal();
    FinishedTimer->SetEnabled(false);
    FFinished = nullptr;
    // Closed before the sending finished: by "Cancel" or the close box.
    if (result != mrOk && !AFinished() && ACancel) ACancel();
}
