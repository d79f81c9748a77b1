#pragma once
// The "Conversion" dialog: what is being converted, the run's and the current file's progress, what to do when
// the run ends (shut the computer down, open the output folder), and Pause/Resume and Cancel. Shown modally by the
// Start command for as long as a run goes on; the run drives it through TConversionView.
#include <functional>
#include <string>

#include "app/conversion_run.h"
#include "platform/gui/forms.h"

class TspCorvalis;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinData;
class TspSkinGauge;
class TspSkinStdLabel;

class TConvForm : public TForm, public TConversionView {
public:
    // Builds the form and its controls in code. ASkinData skins the frame and every control; nullptr gives the
    // plain look. The skin must outlive the form.
    TConvForm(TComponent* AOwner, TspSkinData* ASkinData);

    void PauseButtonClick(TObject* Sender);
    void CancelButtonClick(TObject* Sender);
    // What the two buttons do to the run; an empty one does nothing.
    std::function<void()> OnPause;
    std::function<void()> OnCancel;

    // TConversionView.
    void ShowRun() override;
    void CloseRun() override;
    void SetGauges(int ATotal, int ACurrent) override;
    void SetLabel(const std::string& AText) override;
    void SetPauseCaption(const std::string& AText) override;
    bool ShutdownChosen() const override;
    bool OpenOutputChosen() const override;

    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinStdLabel* lblConvertingTitle = nullptr;
    TspSkinGauge* ProgressTotal = nullptr;
    TspSkinGauge* ProgressCurrent = nullptr;
    TspSkinCheckRadioBox* cbShutdownPC = nullptr;
    TspSkinCheckRadioBox* cbOpenOutput = nullptr;
    TspSkinButton* PauseButton = nullptr;
    TspSkinButton* CancelButton = nullptr;

    // While a run shows the dialog only the run closes it (a close from the window manager would hand the main
    // window back with the run still going).
    bool CloseQuery() override;

protected:
    // Every show puts the height back to 213, whatever the frame did to it.
    void DoShow() override;

private:
    bool FRunShown = false;
};
