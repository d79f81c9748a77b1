// Writes a PNG of each of the converter's small dialogs, filled as a user would meet them, in the plain look and
// in a skin; with a clip (best about 10 seconds long, e.g. the test fixture long.avi) also the Trim dialog playing
// it:
//
//   app-forms <output folder> [skin folder [clip]]
//
// The Edit dialog opens a clip the tool makes with the ffmpeg tool (SDL's dummy drivers play it).
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/events_log.h"
#include "app/ui/about_form.h"
#include "app/ui/error_form.h"
#include "app/ui/file_info_form.h"
#include "app/ui/log_form.h"
// Profile Settings
#include "app/catalogue.h"
#include "app/job_list.h"
#include "app/ui/profile_settings_form.h"
#include "app/ui/converter_state.h"
#include "app/ui/profile_chooser_form.h"
#include "skin/dialogs/grids/string_grid.h"
// Conversion
#include "app/ui/conversion_form.h"
#include "platform/gui/application.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_memo.h"
#include "skin/controls/std_label.h"
#include "skin/core/skin_data.h"
#include "tools/demo-screen/demo_screen.h"
// Trim and Edit dialogs
#include <cstdlib>
#include "app/ui/edit_form.h"
#include "app/ui/trim_form.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/player/player.h"
#include "media/player/player_display_bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/main_thread_queue.h"

namespace {

struct TShot {
    const char* File;
    std::function<TForm*(TApplication*, TspSkinData*)> Make;
};

TEventsLog& SampleLog()
{
    static TEventsLog log([] { return std::string("14:03:27"); });
    if (log.Lines().empty()) {
        log.Add("File added: /home/ann/Videos/holiday at the sea side, day one (full length).mp4");
        log.Add("File added: /home/ann/Videos/birthday.avi");
        log.AddEmpty();
        log.Add("File load error: invalid data found when processing input.");
        log.AddEmpty();
        log.Add("Started Conversion");
        log.Add("Conversion successfully done.");
        for (int i = 1; i <= 12; ++i) log.Add("File added: /home/ann/Videos/clip" + std::to_string(i) + ".mp4");
    }
    return log;
}

std::string EditClip;

// The profile chooser: the shipped catalogue beside the skin folder when there is one, else a small sample.
std::string ChooserSkinFolder;

TConverterState& ChooserState()
{
    static TConverterState state;
    if (!state.Catalogue.Profiles.empty()) return state;
    TCatalogue& catalogue = state.Catalogue;
    const std::string presets = ExtractFilePath(ExcludeTrailingPathDelimiter(ChooserSkinFolder)) + "mp4-converter-profiles/";
    if (!ChooserSkinFolder.empty() && FileExists(presets + "Formats.dat")) {
        catalogue.LoadIcons(presets + "Icons");
        catalogue.LoadProfiles(presets + "Profiles.dat");
        catalogue.LoadFormats(presets + "Formats.dat");
        catalogue.AttachFormats({});
    } else {
        for (const char* title : {"Video", "Audio", "Phones", "All Profiles"}) {
            TProfile profile{title, title, title, {}};
            for (int f = 0; f < 6; ++f) {
                TFormat format;
                format.Title = std::string(title) + " format " + std::to_string(f + 1) + " with a long title to cut";
                format.Description = "A sample description long enough to wrap onto a second line of the row.";
                profile.Formats.push_back(format);
            }
            catalogue.Profiles.push_back(profile);
        }
    }
    catalogue.Current = {0, 1};
    return state;
}

const TShot kShots[] = {
    {"about", [](TApplication* A, TspSkinData* S) -> TForm* { return new TAboutForm(A, S); }},
    {"file-info",
     [](TApplication* A, TspSkinData* S) -> TForm* {
         auto* form = new TFileInfoForm(A, S);
         TFileInfoTexts texts;
         texts.SetFile("/home/ann/Videos/holiday at the sea side.mp4", 754'120'000);
         texts.SetVideoStream(1280, 720, 0, 30000, 1001);
         texts.SetAudioStream(44100, 2, 128'000);
         form->ShowTexts(texts);
         return form;
     }},
    {"events-log",
     [](TApplication* A, TspSkinData* S) -> TForm* {
         auto* form = new TLogForm(A, S);
         form->Follow(&SampleLog());
         return form;
     }},
    {"error",
     [](TApplication* A, TspSkinData* S) -> TForm* {
         auto* form = new TErrorForm(A, S);
         form->lblErrorText->SetCaption(
             "Cannot set output file: Permission denied\r\nPlease choose other output folder or rename output file.");
         form->edName->SetText("Ann");
         form->edEmail->SetText("ann@example.org");
         form->memDetails->Lines()->Add("It happens with every file.");
         return form;
     }},
    // Profile Settings: an MP4 format with its choices, the way the dialog opens on it.
    {"profile-settings",
     [](TApplication* A, TspSkinData* S) -> TForm* {
         static TCatalogue catalogue;
         static TJobList jobs{catalogue};
         TFormat f;
         f.Title = "MP4 - H.264 Video (720p)";
         f.Resolutions = "320*240,640*480,1280*720,1920*1080";
         f.FrameRates = "23976$23.976 fps,25000$25 fps,30000$30 fps";
         f.VideoBitRates = "800000$800 kbps,1500000$1500 kbps,3000000$3000 kbps";
         f.VideoCodecs = "libx264$H.264,mpeg4$MPEG-4";
         f.SampleRates = "44100$44100 Hz,48000$48000 Hz";
         f.Channels = "1$Mono,2$Stereo";
         f.AudioCodecs = "aac$AAC";
         f.AudioBitRates = "128000$128 kbps,192000$192 kbps";
         f.Width = "1280", f.Height = "720", f.FrameRate = "25000", f.VideoBitRate = "3000000";
         f.VideoCodecName = "libx264", f.SampleRate = "48000", f.Channel = "2", f.AudioCodecName = "aac";
         f.AudioBitRate = "192000";
         catalogue.Profiles = {{"Video", "v", "v", {f}}};
         auto* form = new Tsettingsform(A, S);
         form->Attach(&catalogue, &jobs);
         return form;
     }},
    // Edit: a 640 x 360 clip with margins and brightness set, both players paused on a picture.
    {"edit",
     [](TApplication* A, TspSkinData* S) -> TForm* {
         static TConverterState state;
         if (state.Jobs.Count() == 0) {
             TVideoFile job;
             job.Source = EditClip;
             job.CropLeft = 120, job.CropTop = 40, job.CropRight = 120, job.CropBottom = 60;
             job.Brightness = 35;
             state.Jobs.Append(job);
         }
         auto* form = new TCropForm(A, S);
         form->Attach(&state, "");
         if (!ChooserSkinFolder.empty()) form->LoadButtonPictures(ChooserSkinFolder);
         form->ReportError = [](const std::string& AText, const std::string& AMark) {
             std::fprintf(stderr, "%s: %s\n", AMark.c_str(), AText.c_str());
         };
         return form;
     }},
    {"profile-chooser",
     [](TApplication* A, TspSkinData* S) -> TForm* {
         auto* form = new Tproform(A, S);
         form->Attach(ChooserState());
         if (!ChooserSkinFolder.empty()) form->LoadArrowPictures(ChooserSkinFolder);
         return form;
     }},
    // Conversion: the second of three files, half way through, with a title too long for the label.
    {"conversion",
     [](TApplication* A, TspSkinData* S) -> TForm* {
         auto* form = new TConvForm(A, S);
         form->SetLabel("Converting \"holiday at the sea side, day one (full length).mp4\" to "
                        "\"holiday at the sea side, day one (full length).mp4\"");
         form->SetGauges(50, 52);
         return form;
     }},
};

// The PNG cannot show what SDL would draw into the preview panels: the players' current pictures stand in for
// it, as pictures under the selection.
void ShowEditPictures(TCropForm* AForm, TApplication* AApp)
{
    WaitForWithSlices([&] { return AForm->FFPlayer1->CurrentPTS() >= 0 && AForm->FFPlayer2->CurrentPTS() >= 0; }, 10,
                      10000);
    AForm->PauseButtonClick(nullptr);
    WaitForWithSlices([&] { return AForm->FFPlayer1->Paused() && AForm->FFPlayer2->Paused(); }, 10, 5000);
    const std::pair<TFFPlayer*, TPanel*> screens[] = {{AForm->FFPlayer1.get(), AForm->panPreview1},
                                                      {AForm->FFPlayer2.get(), AForm->panPreview2}};
    for (const auto& [player, panel] : screens) {
        auto* image = new TImage(AForm);
        image->SetParent(panel);
        image->SetAlign(alClient);
        image->SetStretch(true);
        image->SetProportional(true);
        image->SetCenter(true);
        if (TBitmap* picture = player->CurrentFrame()) image->Picture()->Assign(picture);
    }
    AApp->ProcessMessages();
}

// Points at the second profile long enough to list it, then at its second format.
void HoverChooser(Tproform* AChooser, TDemoScreen& AScreen, TApplication* AApp)
{
    const TRect profile = AChooser->sgProfiles->CellRect(0, 1);
    AChooser->sgProfilesMouseMove(AChooser->sgProfiles, {}, profile.Left + 10, profile.Top + 5);
    AScreen.Clock().Advance(500 * 1000);
    AApp->ProcessMessages();
    const TRect format = AChooser->sgFormats->CellRect(0, 1);
    AChooser->sgFormatsMouseMove(AChooser->sgFormats, {}, format.Left + 10, format.Top + 5);
    AApp->ProcessMessages();
}

// ---- Trim dialog ----
// The dialog on a job of the clip trimmed to 2-6 s, paused a moment after the start. Headless, SDL draws into a
// surface of its own: the player's current picture is put where a display would show it, in the dialog's screen.
bool ShootTrimDialog(TApplication* AApp, TDemoScreen& AScreen, TspSkinData* ALook, const std::string& ASkinFolder,
                     const std::string& AClip, const std::string& AFile)
{
    static TCatalogue catalogue;
    TJobList jobs{catalogue};
    TVideoFile job;
    job.Source = AClip;
    job.TimeStart = 2000000;
    job.TimeEnd = 6000000;
    jobs.Append(job);
    std::unique_ptr<TClipForm> form(new TClipForm(AApp, ALook));
    form->Attach(&jobs, nullptr, [](const std::string& AText, const std::string&) {
        std::fprintf(stderr, "trim dialog: %s\n", AText.c_str());
    }, GetExecutableFolder());
    form->LoadPictures(ASkinFolder);
    form->SetLeft(20);
    form->SetTop(20);
    form->Show();
    const auto waitFor = [&](const std::function<bool()>& ADone) {
        return WaitForWithSlices([&] {
            AApp->ProcessMessages();
            return ADone();
        }, 10, 20000);
    };
    if (!waitFor([&] { return form->Logic().LastTrimPosition() > 1500000; })) return false;
    form->PauseButtonClick(nullptr);
    waitFor([&] { return form->FFPlayer2->Paused(); });
    auto* picture = new TImage(form.get());
    picture->SetParent(form->panPreview);
    picture->SetAlign(alClient);
    picture->SetStretch(true);
    picture->Picture()->Assign(form->FFPlayer2->CurrentFrame());
    for (int step = 0; step < 4; ++step) {
        AScreen.Clock().Advance(25 * 1000);
        AApp->ProcessMessages();
    }
    const bool written = AScreen.WriteWindow(form->Handle(), AFile);
    form->Close();
    form.reset();
    AApp->ProcessMessages();
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: app-forms <output folder> [skin folder [clip]]\n");
        return 2;
    }
    const std::string out = IncludeTrailingPathDelimiter(argv[1]);
    bool ok = true;
    SetEnvironmentVariable("SDL_VIDEODRIVER", "dummy");
    SetEnvironmentVariable("SDL_AUDIODRIVER", "dummy");
    EditClip = out + "edit-clip.mp4";
    const std::string makeClip = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                                 "testsrc=size=640x360:rate=25 -t 4 -c:v mpeg4 -q:v 4 -an '" + EditClip + "'";
    if (std::system(makeClip.c_str()) != 0) std::fprintf(stderr, "cannot make the Edit dialog's clip\n");
    StartMediaEngine();
    if (!FFLoader->Load(PlayerLibraries)) std::fprintf(stderr, "%s\n", TFFLoader::LastErrMsg().c_str());
    {
        TDemoScreen screen(TSize{800, 600});
        auto app = std::make_unique<TApplication>(nullptr);
        app->SetTitle("Quennary");
        TspSkinData* skin = nullptr;
        if (argc >= 3) {
            ChooserSkinFolder = argv[2];
            skin = new TspSkinData(app.get());
            skin->LoadFromFile(IncludeTrailingPathDelimiter(argv[2]) + "skin.ini");
        }
        std::vector<TspSkinData*> looks{nullptr};
        if (skin) looks.push_back(skin);
        for (TspSkinData* look : looks) {
            for (const TShot& shot : kShots) {
                std::unique_ptr<TForm> form(shot.Make(app.get(), look));
                form->SetLeft(20);
                form->SetTop(20);
                form->Show();
                // The skinned form finishes showing on a timer of its own.
                for (int step = 0; step < 4; ++step) {
                    screen.Clock().Advance(25 * 1000);
                    app->ProcessMessages();
                }
                if (auto* chooser = dynamic_cast<Tproform*>(form.get())) HoverChooser(chooser, screen, app.get());
                if (auto* edit = dynamic_cast<TCropForm*>(form.get())) ShowEditPictures(edit, app.get());
                ok = screen.WriteWindow(form->Handle(), out + shot.File + (look ? "-skin" : "-plain") + ".png") && ok;
                form.reset();
                app->ProcessMessages();
            }
        }
        if (argc == 4) {
            for (TspSkinData* look : looks)
                ok = ShootTrimDialog(app.get(), screen, look, argv[2], argv[3],
                                     out + (look ? "trim-skin.png" : "trim-plain.png")) && ok;
        }
        app.reset();
        headless::THeadlessBackend::ProcessMessages();
    }
    StopMediaEngine();
    std::remove(EditClip.c_str());
    return ok ? 0 : 1;
}
