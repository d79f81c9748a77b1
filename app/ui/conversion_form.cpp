#include "app/ui/conversion_form.h"

#include "app/ui/dialog_parts.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/gauge.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/forms/skin_form.h"

namespace {
constexpr Integer kClientWidth = 420;
constexpr Integer kHeight = 213;        // the whole window, frame included
constexpr Integer kClientHeight = 178;  // what the skinned frame leaves of it, about
constexpr Integer kMargin = 12;
constexpr Integer kInnerWidth = kClientWidth - 2 * kMargin;
}  // namespace

TConvForm::TConvForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("ConvForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "Conversion", kClientWidth, kClientHeight);
    // A run ends through its own buttons or its final event, never through the frame.
    spCorvalis1->SetBorderIcons({});
    spCorvalis1->SetHideCaptionButtons(true);

    lblConvertingTitle = PlaceControl<TspSkinStdLabel>(this, this, ASkinData, "lblConvertingTitle", kMargin, 10,
                                                       kInnerWidth, 18);
    // Sized to the dialog: an auto-sized label grows to the whole text and has nothing to cut.
    lblConvertingTitle->SetAutoSize(false);
    lblConvertingTitle->SetBounds(kMargin, 10, kInnerWidth, 18);
    lblConvertingTitle->SetEllipsType(spetEndEllips);
    lblConvertingTitle->SetCaption("Converting ...");

    auto gauge = [&](const std::string& AName, Integer ATop) {
        auto* bar = PlaceControl<TspSkinGauge>(this, this, ASkinData, AName, kMargin, ATop, kInnerWidth, 20);
        bar->SetUseSkinSize(false);
        bar->SetMinValue(0);
        bar->SetMaxValue(100);
        bar->SetValue(0);
        return bar;
    };
    ProgressTotal = gauge("ProgressTotal", 34);
    ProgressCurrent = gauge("ProgressCurrent", 60);

    auto check = [&](const std::string& AName, const std::string& ACaption, Integer ATop, bool AChecked) {
        auto* box = PlaceControl<TspSkinCheckRadioBox>(this, this, ASkinData, AName, kMargin, ATop, kInnerWidth, 20);
        box->SetCaption(ACaption);
        box->SetChecked(AChecked);
        return box;
    };
    cbShutdownPC = check("cbShutdownPC", "Shut down computer when conversion completed", 88, false);
    cbOpenOutput = check("cbOpenOutput", "Open output folder when conversion completed", 110, true);

    PauseButton = PlaceButton(this, ASkinData, "PauseButton", "Pause", kClientWidth / 2 - 75 - 6, 140);
    PauseButton->OnClick = [this](TObject* ASender) { PauseButtonClick(ASender); };
    CancelButton = PlaceButton(this, ASkinData, "CancelButton", "Cancel", kClientWidth / 2 + 6, 140);
    CancelButton->OnClick = [this](TObject* ASender) { CancelButtonClick(ASender); };
}

void TConvForm::PauseButtonClick(TObject* /*Sender*/)
{
    if (OnPause) OnPause();
}

void TConvForm::CancelButtonClick(TObject* /*Sender*/)
{
    if (OnCancel) OnCancel();
}

void TConvForm::ShowRun()
{
    FRunShown = true;
    try {
        ShowModal();
    } catch (...) {
        FRunShown = false;
        throw;
    }
    FRunShown = false;
}

void TConvForm::CloseRun()
{
    FRunShown = false;
    if (Visible()) Close();
}

bool TConvForm::CloseQuery() { return !FRunShown && TForm::CloseQuery(); }

void TConvForm::SetGauges(int ATotal, int ACurrent)
{
    ProgressTotal->SetValue(ATotal);
    ProgressCurrent->SetValue(ACurrent);
}

void TConvForm::SetLabel(const std::string& AText) { lblConvertingTitle->SetCaption(AText); }

void TConvForm::SetPauseCaption(const std::string& AText) { PauseButton->SetCaption(AText); }

bool TConvForm::ShutdownChosen() const { return cbShutdownPC->Checked(); }

bool TConvForm::OpenOutputChosen() const { return cbOpenOutput->Checked(); }

void TConvForm::DoShow()
{
    SetHeight(kHeight);
    TForm::DoShow();
}
