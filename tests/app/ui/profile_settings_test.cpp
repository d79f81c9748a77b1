// The Profile Settings dialog over a small catalogue, shown modally on a headless screen and driven as a user
// would: the boxes it fills, what "OK" stores (and the settings then remember), "Default", "Cancel" and the
// resolution check.
#include "app/ui/profile_settings_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/job_list.h"
#include "app/settings.h"
#include "platform/win/input.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "tests/platform/gui/gui_fixture.h"

namespace {

namespace fs = std::filesystem;

TFormat VideoFormat()
{
    TFormat f;
    f.Title = "MP4 H.264 Video";
    f.Resolutions = "320*240,640*480,1280*720";
    f.FrameRates = "25000$25 fps,30000$30 fps";
    f.VideoBitRates = "800000$800 kbps,1200000$1200 kbps";
    f.VideoCodecs = "libx264$H.264,mpeg4$MPEG-4";
    f.SampleRates = "44100$44100 Hz,48000$48000 Hz";
    f.Channels = "1$Mono,2$Stereo";
    f.AudioCodecs = "aac$AAC";
    f.AudioBitRates = "128000$128 kbps,192000$192 kbps";
    f.Width = "640", f.Height = "480", f.FrameRate = "25000", f.VideoBitRate = "1200000";
    f.VideoCodecName = "libx264", f.SampleRate = "44100", f.Channel = "2", f.AudioCodecName = "aac";
    f.AudioBitRate = "128000";
    return f;
}

TFormat AudioFormat()
{
    TFormat f;
    f.Title = "MP3 Audio";
    f.IsAudioFormat = "1";
    f.SampleRates = "44100$44100 Hz";
    f.Channels = "2$Stereo";
    f.AudioCodecs = "libmp3lame$MP3";
    f.AudioBitRates = "128000$128 kbps,320000$320 kbps";
    f.SampleRate = "44100", f.Channel = "2", f.AudioCodecName = "libmp3lame", f.AudioBitRate = "128000";
    return f;
}

std::vector<std::string> ItemsOf(TspSkinComboBox* ABox)
{
    std::vector<std::string> items;
    for (Integer i = 0; i < ABox->Items()->Count(); ++i) items.push_back(ABox->Items()->Strings(i));
    return items;
}

class ProfileSettingsTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Catalogue.Profiles = {{"Video", "v", "v", {VideoFormat(), AudioFormat()}}};
        TVideoFile job;
        job.Source = "/videos/a.mp4";
        job.TrimmedLength = 80'000'000;  // 80 s
        Jobs.Append(job);
        Form = new Tsettingsform(App.get(), nullptr);
        Form->Attach(&Catalogue, &Jobs);
        Form->ShowWarning = [this](const std::string& AText) { Warnings.push_back(AText); };
        Form->ReportError = [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back(AText + " / " + AMark);
        };
        Form->OnStored = [this] { ++Repaints; };
    }

    void TearDown() override
    {
        if (Screen) Screen->OnActiveFormChange = nullptr;
        TGuiFixture::TearDown();
    }

    // Shows the dialog modally; AScript runs once it is the active form and must close it.
    TModalResult Run(const std::function<void()>& AScript)
    {
        bool scripted = false;
        Screen->OnActiveFormChange = [&](TObject*) {
            if (Screen->ActiveForm() != Form || scripted) return;
            scripted = true;
            AScript();
        };
        const TModalResult result = Form->ShowModal();
        Screen->OnActiveFormChange = nullptr;
        EXPECT_TRUE(scripted) << "the dialog never became active";
        EXPECT_FALSE(Form->Visible());
        return result;
    }

    void ClickOn(TControl* AControl)
    {
        Clock.Advance(1000000);  // never a double click with the last one
        Display.Click(AControl->ClientToScreen({AControl->Width() / 2, AControl->Height() / 2}));
        Pump();
    }

    TFormat& Format(int AIndex = 0) { return Catalogue.Profiles[0].Formats[AIndex]; }

    TCatalogue Catalogue;
    TJobList Jobs{Catalogue};
    Tsettingsform* Form = nullptr;
    std::vector<std::string> Warnings, Reports;
    int Repaints = 0;
};

TEST_F(ProfileSettingsTest, ShowFillsTheBoxesFromTheFormatAndItsChoiceLists)
{
    EXPECT_EQ(Form->Caption(), "Profile Settings");
    EXPECT_EQ(Form->ClientWidth(), 440);
    EXPECT_EQ(Form->ClientHeight(), 310);
    Run([&] {
        EXPECT_EQ(Form->edProfile->Text(), "MP4 H.264 Video");
        EXPECT_TRUE(Form->edProfile->ReadOnly());
        EXPECT_EQ(ItemsOf(Form->cmbVideoResolution), (std::vector<std::string>{"320*240", "640*480", "1280*720"}));
        EXPECT_EQ(Form->cmbVideoResolution->Text(), "640*480");
        EXPECT_EQ(Form->cmbVideoResolution->Style(), spcbEditStyle);
        EXPECT_EQ(ItemsOf(Form->cmbVideoFrameRate), (std::vector<std::string>{"25 fps", "30 fps"}));
        struct {
            TspSkinComboBox* Box;
            Integer Index;
            const char* Text;
        } const selected[] = {
            {Form->cmbVideoEncoder, 0, "H.264"},  {Form->cmbVideoFrameRate, 0, "25 fps"},
            {Form->cmbVideoBitRate, 1, "1200 kbps"}, {Form->cmbSampleRate, 0, "44100 Hz"},
            {Form->cmbChannel, 1, "Stereo"},      {Form->cmbAudioEncoder, 0, "AAC"},
            {Form->cmbAudioBitRate, 0, "128 kbps"},
        };
        for (const auto& s : selected) {
            SCOPED_TRACE(s.Text);
            EXPECT_EQ(s.Box->ItemIndex(), s.Index);
            EXPECT_EQ(s.Box->Text(), s.Text);
            EXPECT_TRUE(s.Box->Enabled());
            EXPECT_EQ(s.Box->Style(), spcbFixedStyle);
        }
        ClickOn(Form->spSkinButton2);
    });

    // An audio format has no video choices: those boxes are empty and disabled.
    Catalogue.Current = {0, 1};
    Run([&] {
        EXPECT_EQ(Form->edProfile->Text(), "MP3 Audio");
        for (TspSkinComboBox* box : {Form->cmbVideoResolution, Form->cmbVideoEncoder, Form->cmbVideoFrameRate,
                                     Form->cmbVideoBitRate}) {
            SCOPED_TRACE(box->Name());
            EXPECT_EQ(box->Text(), "");
            EXPECT_FALSE(box->Enabled());
        }
        EXPECT_TRUE(Form->cmbAudioBitRate->Enabled());
        EXPECT_EQ(Form->cmbAudioBitRate->Text(), "128 kbps");
        ClickOn(Form->spSkinButton2);
    });
}

TEST_F(ProfileSettingsTest, OkStoresTheChosenValuesAndTheSettingsRememberThem)
{
    const fs::path config = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "profile-settings-config";
    fs::remove_all(config);
    fs::create_directories(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    TSettingsStore store;
    TSettings settings;
    store.Read(settings, Catalogue);
    Catalogue.Current = {0, 0};
    const double before = Jobs.Job(0).EstimatedSize;

    const TModalResult result = Run([&] {
        Form->cmbVideoResolution->SetText("1280*720");
        Form->cmbVideoBitRate->SetItemIndex(0);
        Form->cmbVideoFrameRate->SetItemIndex(1);
        Form->cmbVideoEncoder->SetItemIndex(1);
        Form->cmbSampleRate->SetItemIndex(1);
        Form->cmbChannel->SetItemIndex(0);
        Form->cmbAudioBitRate->SetItemIndex(1);
        ClickOn(Form->spSkinButton1);
    });
    EXPECT_EQ(result, mrOk);
    const TFormat& f = Format();
    EXPECT_EQ(f.Width, "1280");
    EXPECT_EQ(f.Height, "720");
    EXPECT_EQ(f.VideoBitRate, "800000");
    EXPECT_EQ(f.FrameRate, "30000");
    EXPECT_EQ(f.VideoCodecName, "mpeg4");
    EXPECT_EQ(f.SampleRate, "48000");
    EXPECT_EQ(f.Channel, "1");
    EXPECT_EQ(f.AudioCodecName, "aac");
    EXPECT_EQ(f.AudioBitRate, "192000");
    EXPECT_TRUE(f.AreSettingsChanged);
    EXPECT_EQ(Catalogue.LastEdited, (TFormatIndex{0, 0}));
    // (800 + 192) kbit/s over 80 s, against (1200 + 128) before.
    EXPECT_NE(Jobs.Job(0).EstimatedSize, before);
    EXPECT_DOUBLE_EQ(Jobs.Job(0).EstimatedSize, (100.0 + 24.0) * 80 / 1024);
    EXPECT_EQ(Repaints, 1);
    EXPECT_TRUE(Warnings.empty());
    EXPECT_TRUE(Reports.empty());

    store.Save(settings, Catalogue, "");
    TSettingsStore again;
    TSettings remembered;
    TCatalogue fresh;
    again.Read(remembered, fresh);
    EXPECT_EQ(fresh.LastEdited, (TFormatIndex{0, 0}));
    EXPECT_EQ(remembered.LastEditedValues.Width, "1280");
    EXPECT_EQ(remembered.LastEditedValues.VideoCodecName, "mpeg4");
    EXPECT_EQ(remembered.LastEditedValues.AudioBitRate, "192000");
}

TEST_F(ProfileSettingsTest, ChangedFlagFollowsTheValues)
{
    struct TCase {
        const char* Name;
        bool ChangedBefore;
        std::function<void()> Choose;
        bool ChangedAfter;
    } const cases[] = {
        {"same values", false, [] {}, false},
        {"same values, changed earlier", true, [] {}, true},
        {"same resolution typed again", false, [&] { Form->cmbVideoResolution->SetText("640*480"); }, false},
        {"resolution", false, [&] { Form->cmbVideoResolution->SetText("640*360"); }, true},
        {"audio bit rate", false, [&] { Form->cmbAudioBitRate->SetItemIndex(1); }, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Catalogue.Profiles[0].Formats[0] = VideoFormat();
        Format().AreSettingsChanged = c.ChangedBefore;
        EXPECT_EQ(Run([&] {
                      c.Choose();
                      ClickOn(Form->spSkinButton1);
                  }),
                  mrOk);
        EXPECT_EQ(Format().AreSettingsChanged, c.ChangedAfter);
    }
}

TEST_F(ProfileSettingsTest, DefaultRestoresTheStoredValuesAndCancelChangesNothing)
{
    const TModalResult result = Run([&] {
        Form->cmbVideoResolution->SetText("1280*720");
        Form->cmbVideoFrameRate->SetItemIndex(1);
        Form->cmbAudioBitRate->SetItemIndex(1);
        ClickOn(Form->spSkinButton3);
        EXPECT_EQ(Form->cmbVideoResolution->Text(), "640*480");
        EXPECT_EQ(Form->cmbVideoFrameRate->Text(), "25 fps");
        EXPECT_EQ(Form->cmbAudioBitRate->Text(), "128 kbps");
        EXPECT_TRUE(Form->Visible());

        Form->cmbVideoBitRate->SetItemIndex(0);
        ClickOn(Form->spSkinButton2);
    });
    EXPECT_NE(result, mrOk);
    const TFormat shipped = VideoFormat();
    EXPECT_EQ(Format().VideoBitRate, shipped.VideoBitRate);
    EXPECT_EQ(Format().FrameRate, shipped.FrameRate);
    EXPECT_EQ(Format().Width, shipped.Width);
    EXPECT_FALSE(Format().AreSettingsChanged);
    EXPECT_EQ(Catalogue.LastEdited, (TFormatIndex{-1, -1}));
    EXPECT_EQ(Repaints, 0);
}

TEST_F(ProfileSettingsTest, ResolutionCheck)
{
    struct TCase {
        const char* Typed;
        bool Accepted;
    } const cases[] = {
        {"720*576", true},     {"1920*1280", true},  {"64*64", true},  {"721*576", false}, {"62*480", false},
        {"1920*1282", false}, {"640x480", false},   {"", false},       {"640*2*480", true}, {"640*480*2", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Typed);
        Catalogue.Profiles[0].Formats[0] = VideoFormat();
        Warnings.clear();
        const TModalResult result = Run([&] {
            Form->cmbVideoResolution->SetText(c.Typed);
            Form->cmbVideoFrameRate->SetItemIndex(1);
            ClickOn(Form->spSkinButton1);
            if (c.Accepted) return;
            // Refused: the dialog stays open for a correction.
            EXPECT_TRUE(Form->Visible());
            ClickOn(Form->spSkinButton2);
        });
        EXPECT_EQ(result == mrOk, c.Accepted);
        if (c.Accepted) {
            EXPECT_TRUE(Warnings.empty());
            EXPECT_EQ(Format().FrameRate, "30000");
        } else {
            EXPECT_EQ(Warnings, (std::vector<std::string>{
                                    "Please input valid resolution. Both width and height must be multiples of 2, "
                                    "and range from 64*64 to 1920*1280."}));
            EXPECT_EQ(Format().FrameRate, "25000");
            EXPECT_EQ(Format().Width, "640");
            EXPECT_FALSE(Format().AreSettingsChanged);
        }
    }

    // A format without a resolution cannot pass the check: nothing of it is stored.
    Catalogue.Current = {0, 1};
    Catalogue.LastEdited = {-1, -1};
    Warnings.clear();
    Run([&] {
        Form->cmbAudioBitRate->SetItemIndex(1);
        ClickOn(Form->spSkinButton1);
        EXPECT_EQ(Warnings.size(), 1u);
        ClickOn(Form->spSkinButton2);
    });
    EXPECT_EQ(Format(1).AudioBitRate, "128000");
    EXPECT_EQ(Catalogue.LastEdited, (TFormatIndex{-1, -1}));
}

TEST_F(ProfileSettingsTest, BoxWithoutSelectionIsReportedAndTheValuesBeforeItStay)
{
    const TModalResult result = Run([&] {
        Form->cmbVideoBitRate->SetItemIndex(0);
        Form->cmbSampleRate->SetItemIndex(1);
        Form->cmbChannel->SetItemIndex(-1);  // enabled, nothing chosen
        Form->cmbAudioBitRate->SetItemIndex(1);
        ClickOn(Form->spSkinButton1);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Reports, (std::vector<std::string>{"Error setting profile / CLM_SettingProfile"}));
    EXPECT_EQ(Format().VideoBitRate, "800000");
    EXPECT_EQ(Format().SampleRate, "48000");
    EXPECT_EQ(Format().Channel, "2");
    EXPECT_EQ(Format().AudioBitRate, "128000");
    EXPECT_TRUE(Format().AreSettingsChanged);
    EXPECT_EQ(Repaints, 1);
}

TEST_F(ProfileSettingsTest, WithoutAFormatNothingIsShownOrStored)
{
    Catalogue.Current = {3, 7};
    EXPECT_EQ(Run([&] {
                  EXPECT_EQ(Form->edProfile->Text(), "");
                  EXPECT_FALSE(Form->cmbVideoResolution->Enabled());
                  ClickOn(Form->spSkinButton1);
                  EXPECT_EQ(Warnings.size(), 1u);
                  ClickOn(Form->spSkinButton2);
              }),
              mrCancel);
}

}  // namespace
