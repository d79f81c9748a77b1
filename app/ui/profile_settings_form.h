#pragma once
// The "Profile Settings" dialog: the values of the current format of the preset catalogue, each chosen from the
// choices the format lists for it (the resolution may also be typed). "OK" checks the resolution, stores the
// chosen values in the format, remembers it as the last edited one and has every job estimated again;
// "Default" refills the boxes from the format's stored values; "Cancel" closes and changes nothing.
#include <functional>
#include <string>

#include "app/error_report_event.h"
#include "platform/gui/forms.h"

class TCatalogue;
class TJobList;
struct TFormat;
class TspCorvalis;
class TspSkinButton;
class TspSkinComboBox;
class TspSkinData;
class TspSkinEdit;
class TspSkinGroupBox;

class Tsettingsform : public TForm {
public:
    // Builds the form and its controls in code. ASkinData skins the frame and every control; nullptr gives the
    // plain look. The skin must outlive the form.
    Tsettingsform(TComponent* AOwner, TspSkinData* ASkinData);

    // The catalogue whose current format the dialog edits and the jobs whose estimates follow it; both outlive
    // the form. Without them the dialog shows nothing and stores nothing.
    void Attach(TCatalogue* ACatalogue, TJobList* AJobs);

    // The invalid-resolution warning (a skinned warning box with OK), the error report, and the repaint of the
    // job grid after the values were stored. An empty hook does nothing.
    std::function<void(const std::string& AText)> ShowWarning;
    TReportErrorEvent ReportError;
    std::function<void()> OnStored;

    // Loads the boxes from the current format; also what "Default" does.
    void FillSettingsDialog();

    void spSkinButton1Click(TObject* Sender);  // OK
    void spSkinButton2Click(TObject* Sender);  // Cancel
    void spSkinButton3Click(TObject* Sender);  // Default

    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinEdit* edProfile = nullptr;
    TspSkinGroupBox* VideoGroup = nullptr;
    TspSkinGroupBox* AudioGroup = nullptr;
    TspSkinComboBox* cmbVideoResolution = nullptr;
    TspSkinComboBox* cmbVideoEncoder = nullptr;
    TspSkinComboBox* cmbVideoFrameRate = nullptr;
    TspSkinComboBox* cmbVideoBitRate = nullptr;
    TspSkinComboBox* cmbSampleRate = nullptr;
    TspSkinComboBox* cmbChannel = nullptr;
    TspSkinComboBox* cmbAudioEncoder = nullptr;
    TspSkinComboBox* cmbAudioBitRate = nullptr;
    TspSkinButton* spSkinButton1 = nullptr;
    TspSkinButton* spSkinButton2 = nullptr;
    TspSkinButton* spSkinButton3 = nullptr;

protected:
    // Every show enables the boxes, fills them and disables each one left without a text.
    void DoShow() override;

private:
    TFormat* CurrentFormat() const;
    // Stores the boxes' values in AFormat; raises on a box without a usable selection, after storing the values
    // before it.
    void StoreValues(TFormat& AFormat);

    TCatalogue* FCatalogue = nullptr;
    TJobList* FJobs = nullptr;
};
