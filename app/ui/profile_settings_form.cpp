#include "app/ui/profile_settings_form.h"

#include <exception>
#include <string>

#include "app/catalogue.h"
#include "app/job_list.h"
#include "app/ui/dialog_parts.h"
#include "app/value_lists.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/group_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/std_label.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr Integer kClientWidth = 440;
constexpr Integer kClientHeight = 310;
constexpr Integer kGroupTop = 50;
constexpr Integer kGroupWidth = 205;
constexpr Integer kGroupHeight = 170;
constexpr Integer kCaptionLeft = 10;
constexpr Integer kBoxLeft = 92;
constexpr Integer kBoxWidth = 103;
constexpr Integer kBoxHeight = 22;
constexpr Integer kFirstRowTop = 30;
constexpr Integer kRowStep = 34;
constexpr Integer kButtonTop = 270;

// A fixed-list box and the format's fields it offers and writes.
struct TChoiceField {
    TspSkinComboBox* Tsettingsform::*Box;
    std::string TFormat::*List;
    std::string TFormat::*Value;
};

// The order the boxes are filled in, and the order "OK" stores them in.
const TChoiceField kFillOrder[] = {
    {&Tsettingsform::cmbVideoFrameRate, &TFormat::FrameRates, &TFormat::FrameRate},
    {&Tsettingsform::cmbVideoEncoder, &TFormat::VideoCodecs, &TFormat::VideoCodecName},
    {&Tsettingsform::cmbVideoBitRate, &TFormat::VideoBitRates, &TFormat::VideoBitRate},
    {&Tsettingsform::cmbSampleRate, &TFormat::SampleRates, &TFormat::SampleRate},
    {&Tsettingsform::cmbChannel, &TFormat::Channels, &TFormat::Channel},
    {&Tsettingsform::cmbAudioEncoder, &TFormat::AudioCodecs, &TFormat::AudioCodecName},
    {&Tsettingsform::cmbAudioBitRate, &TFormat::AudioBitRates, &TFormat::AudioBitRate},
};
const TChoiceField kStoreOrder[] = {kFillOrder[2], kFillOrder[0], kFillOrder[1], kFillOrder[3],
                                    kFillOrder[4], kFillOrder[5], kFillOrder[6]};

void ClearBox(TspSkinComboBox* ABox)
{
    ABox->Items()->Clear();
    ABox->SetItemIndex(-1);
    ABox->SetText("");
}

void AddCaptions(TspSkinComboBox* ABox, const std::string& AList)
{
    for (const std::string& caption : SplitValueList(AList, false)) ABox->Items()->Add(caption);
}

}  // namespace

Tsettingsform::Tsettingsform(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("settingsform");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "Profile Settings", kClientWidth, kClientHeight);
    spCorvalis1->SetSizeable(true);

    PlaceText(this, this, ASkinData, "Profile:", kCaptionLeft + 6, 18);
    edProfile = PlaceControl<TspSkinEdit>(this, this, ASkinData, "edProfile", kBoxLeft, 14,
                                          kClientWidth - kBoxLeft - 16, kBoxHeight);
    edProfile->SetReadOnly(true);

    auto group = [&](const char* AName, const char* ACaption, Integer ALeft) {
        auto* box = PlaceControl<TspSkinGroupBox>(this, this, ASkinData, AName, ALeft, kGroupTop, kGroupWidth,
                                                  kGroupHeight);
        box->SetCaption(ACaption);
        return box;
    };
    // One row of a group: the caption, then its box.
    auto row = [&](TspSkinGroupBox* AGroup, int ARow, const char* ACaption, const char* AName) {
        const Integer top = kFirstRowTop + ARow * kRowStep;
        PlaceText(this, AGroup, ASkinData, ACaption, kCaptionLeft, top + 4);
        return PlaceControl<TspSkinComboBox>(this, AGroup, ASkinData, AName, kBoxLeft, top, kBoxWidth, kBoxHeight);
    };
    VideoGroup = group("VideoGroup", "Video", 10);
    cmbVideoResolution = row(VideoGroup, 0, "Resolution:", "cmbVideoResolution");
    cmbVideoResolution->SetStyle(spcbEditStyle);
    cmbVideoEncoder = row(VideoGroup, 1, "Encoder:", "cmbVideoEncoder");
    cmbVideoFrameRate = row(VideoGroup, 2, "Frame Rate:", "cmbVideoFrameRate");
    cmbVideoBitRate = row(VideoGroup, 3, "Bit Rate:", "cmbVideoBitRate");
    AudioGroup = group("AudioGroup", "Audio", kClientWidth - 10 - kGroupWidth);
    cmbSampleRate = row(AudioGroup, 0, "Sample Rate:", "cmbSampleRate");
    cmbChannel = row(AudioGroup, 1, "Channels:", "cmbChannel");
    cmbAudioEncoder = row(AudioGroup, 2, "Encoder:", "cmbAudioEncoder");
    cmbAudioBitRate = row(AudioGroup, 3, "Bit Rate:", "cmbAudioBitRate");

    spSkinButton3 = PlaceButton(this, ASkinData, "spSkinButton3", "Default", 10, kButtonTop);
    spSkinButton1 = PlaceButton(this, ASkinData, "spSkinButton1", "OK", kClientWidth - 10 - 75 - 8 - 75, kButtonTop);
    spSkinButton1->SetDefault(true);
    spSkinButton2 = PlaceButton(this, ASkinData, "spSkinButton2", "Cancel", kClientWidth - 10 - 75, kButtonTop);
    spSkinButton2->SetCancel(true);
    spSkinButton1->OnClick = [this](TObject* ASender) { spSkinButton1Click(ASender); };
    spSkinButton2->OnClick = [this](TObject* ASender) { spSkinButton2Click(ASender); };
    spSkinButton3->OnClick = [this](TObject* ASender) { spSkinButton3Click(ASender); };
}

void Tsettingsform::Attach(TCatalogue* ACatalogue, TJobList* AJobs)
{
    FCatalogue = ACatalogue;
    FJobs = AJobs;
}

TFormat* Tsettingsform::CurrentFormat() const
{
    return FCatalogue ? FCatalogue->FindFormat(FCatalogue->Current) : nullptr;
}

void Tsettingsform::FillSettingsDialog()
{
    ClearBox(cmbVideoResolution);
    for (const TChoiceField& field : kFillOrder) ClearBox(this->*field.Box);
    const TFormat* format = CurrentFormat();
    edProfile->SetText(format ? format->Title : "");
    if (!format) return;

    AddCaptions(cmbVideoResolution, format->Resolutions);
    cmbVideoResolution->SetText(ResolutionText(format->Width, format->Height));
    for (const TChoiceField& field : kFillOrder) {
        TspSkinComboBox* box = this->*field.Box;
        AddCaptions(box, format->*field.List);
        box->SetItemIndex(IndexOfValue(format->*field.List, format->*field.Value));
    }
}

void Tsettingsform::DoShow()
{
    cmbVideoResolution->SetEnabled(true);
    for (const TChoiceField& field : kFillOrder) (this->*field.Box)->SetEnabled(true);
    FillSettingsDialog();
    // A format without, say, audio choices shows those boxes disabled.
    cmbVideoResolution->SetEnabled(!cmbVideoResolution->Text().empty());
    for (const TChoiceField& field : kFillOrder) {
        TspSkinComboBox* box = this->*field.Box;
        box->SetEnabled(!box->Text().empty());
    }
    TForm::DoShow();
}

void Tsettingsform::StoreValues(TFormat& AFormat)
{
    bool changed = AFormat.AreSettingsChanged;
    // Whatever fails below, the flag tells what was stored before the failure.
    struct TChangedFlag {
        TFormat& Format;
        bool& Changed;
        ~TChangedFlag() { Format.AreSettingsChanged = Changed; }
    } flag{AFormat, changed};

    if (cmbVideoResolution->Enabled()) {
        const std::string text = cmbVideoResolution->Text();
        const std::string width = ResolutionWidth(text), height = ResolutionHeight(text);
        changed = changed || width != AFormat.Width || height != AFormat.Height;
        AFormat.Width = width;
        AFormat.Height = height;
    }
    for (const TChoiceField& field : kStoreOrder) {
        TspSkinComboBox* box = this->*field.Box;
        if (!box->Enabled()) continue;
        // A box without a selection, or one whose caption has no value, has nothing to store.
        const std::string value = SplitValueList(AFormat.*field.List, true).at(box->ItemIndex());
        changed = changed || value != AFormat.*field.Value;
        AFormat.*field.Value = value;
    }
}

void Tsettingsform::spSkinButton1Click(TObject*)
{
    const std::string text = cmbVideoResolution->Text();
    if (!IsValidResolution(std::stoi(ResolutionWidth(text)), std::stoi(ResolutionHeight(text)))) {
        if (ShowWarning) ShowWarning(kInvalidResolutionText);
        return;
    }
    if (TFormat* format = CurrentFormat()) {
        try {
            // The settings save this format's values at exit.
            FCatalogue->LastEdited = FCatalogue->Current;
            StoreValues(*format);
        } catch (const std::exception&) {
            if (ReportError) ReportError("Error setting profile", "CLM_SettingProfile");
        }
    }
    if (FJobs) FJobs->EstimateAll();
    if (OnStored) OnStored();
    SetModalResult(mrOk);
}

void Tsettingsform::spSkinButton2Click(TObject*) { Close(); }

void Tsettingsform::spSkinButton3Click(TObject*) { FillSettingsDialog(); }
