// The main window's Start command: the run of every job through the encoder, shown in the "Conversion" dialog.
#include <utility>

#include "app/add_files.h"
#include "app/conversion_desktop.h"
#include "app/conversion_ffencoder.h"
#include "app/conversion_run.h"
#include "app/native_filters.h"
#include "app/ui/conversion_form.h"
#include "app/ui/main_form.h"
#include "skin/controls/check_radio_box.h"
#include "skin/dialogs/directory_edit.h"

namespace {

// The run and the link it drives, released together (the run first: it lets go of the link's events).
struct TConversionParts {
    TConversionParts(TCustomEncoder& AEncoder, TConverterState& AState, TConversionView& AView)
        : Link(AEncoder), Run(Link, AState.Jobs, AState.Catalogue, AState.EventsLog, AView)
    {
    }
    TEncoderConversionLink Link;
    TConversion Run;
};

}  // namespace

void TMainForm::AttachConversion(TCustomEncoder& AEncoder, TConvForm& AForm, TReportErrorEvent AReport)
{
    FConversion.reset();
    // The jobs' brightness, contrast and saturation convert through these; registering again is harmless.
    RegisterEqFilter();
    RegisterHueFilter();
    auto parts = std::make_shared<TConversionParts>(AEncoder, FState, AForm);
    FConversion = std::shared_ptr<TConversion>(parts, &parts->Run);
    TConversion& run = *FConversion;
    run.OnReportError = std::move(AReport);
    run.Desktop.ShowWarning = [this](const std::string& AText) {
        if (ShowWarning) ShowWarning(AText);
    };
    run.Desktop.StopPreview = [this] {
        if (StopPreviewIfPlaying) StopPreviewIfPlaying();
    };
    run.Desktop.OpenFolder = [this](const std::string& AFolder) {
        if (OpenWithShell) OpenWithShell(AFolder);
    };
    // The computer goes down next: what the user set so far is kept as at a close of the window.
    run.Desktop.SaveSettings = [this] {
        FState.Settings.OutputPath = edDestinationFolder->Text();
        SaveConverterSettings(FState);
    };
    run.Desktop.ShutDown = PowerOffComputer;
    AForm.OnPause = [&run] { run.PauseButtonClick(); };
    AForm.OnCancel = [&run] { run.CancelButtonClick(); };
}

void TMainForm::StartButtonClick(TObject*)
{
    // Files still being added come first, as they did when the window waited for them: the run starts once they
    // are in the list (one start, however often it was asked for meanwhile).
    if (FileAdder && FileAdder->Adding()) {
        if (!FStartAfterAdding) {
            FStartAfterAdding = true;
            FileAdder->AfterAdding([this] {
                FStartAfterAdding = false;
                StartButtonClick(nullptr);
            });
        }
        return;
    }
    if (!FConversion || FState.Jobs.Count() == 0) return;
    FConversion->Merge = chMerge->Checked();
    FConversion->Start(edDestinationFolder->Text());
}
