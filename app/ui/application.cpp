#include "app/ui/application.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <time.h>

#include "app/add_files.h"
#include "app/engine_logger.h"
#include "app/error_report.h"
#include "app/report_mail_account.h"
#include "app/ui/about_form.h"
#include "app/ui/conversion_form.h"
#include "app/ui/converter_state.h"
#include "app/ui/edit_form.h"
#include "app/ui/error_form.h"
#include "app/ui/file_adder_loop.h"
#include "app/ui/sending_report_form.h"
#include "app/ui/file_info_form.h"
#include "app/ui/log_form.h"
#include "app/ui/main_form.h"
#include "app/ui/main_thread_calls.h"
#include "app/ui/profile_chooser_form.h"
#include "app/ui/profile_settings_form.h"
#include "app/ui/trim_form.h"
#include "media/decode/frame_decoder.h"
#include "media/encoder/encoder.h"
#include "media/loader/engine.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/backend_choice.h"
#include "platform/controls/lists/label_edit.h"
#include "platform/gui/application.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/process.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/track_bar.h"
#include "skin/core/skin_startup.h"
#include "skin/dialogs/grids/string_grid.h"
#include "skin/dialogs/message_box.h"

namespace {

// The start-up benchmark passes the moment it started the program (CLOCK_MONOTONIC, in nanoseconds) in
// QUENNARY_LAUNCHED_AT; the time from there to the main window's first paint goes to standard error.
void ReportFirstPaint(TMainForm& AMain)
{
    const char* launched = std::getenv("QUENNARY_LAUNCHED_AT");
    if (!launched) return;
    const long long launchedNs = std::atoll(launched);
    AMain.OnPaint = [launchedNs, reported = false](TObject*) mutable {
        if (reported) return;
        reported = true;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
        std::fprintf(stderr, "first paint after %.1f ms\n", (nowNs - launchedNs) / 1e6);
    };
}

// The windows, in the order the converter creates them.
struct TConverterWindows {
    TMainForm* Main = nullptr;
    Tproform* ProfileChooser = nullptr;
    Tsettingsform* ProfileSettings = nullptr;
    TClipForm* Trim = nullptr;
    TCropForm* Edit = nullptr;
    TLogForm* EventsLog = nullptr;
    TConvForm* Conversion = nullptr;
    TAboutForm* About = nullptr;
    TFileInfoForm* FileInformation = nullptr;
    TErrorForm* Error = nullptr;
};

TConverterWindows CreateWindows(TApplication& AApp, TConverterState& AState, const std::string& ASuiteArgument)
{
    TConverterWindows w;
    w.Main = AApp.CreateForm<TMainForm>(AState, ASuiteArgument);
    TspSkinData* skin = w.Main->SkinData();
    w.ProfileChooser = AApp.CreateForm<Tproform>(skin);
    w.ProfileSettings = AApp.CreateForm<Tsettingsform>(skin);
    w.Trim = AApp.CreateForm<TClipForm>(skin);
    w.Edit = AApp.CreateForm<TCropForm>(skin);
    w.EventsLog = AApp.CreateForm<TLogForm>(skin);
    w.Conversion = AApp.CreateForm<TConvForm>(skin);
    w.About = AApp.CreateForm<TAboutForm>(skin);
    w.FileInformation = AApp.CreateForm<TFileInfoForm>(skin);
    w.Error = AApp.CreateForm<TErrorForm>(skin);
    return w;
}

bool HeadlessAskedFor()
{
    const char* wanted = std::getenv("QUENNARY_BACKEND");
    return wanted && std::strcmp(wanted, "headless") == 0;
}

}  // namespace

int RunConverter(int AArgc, char** AArgv)
{
    std::unique_ptr<win::TBackend> backend = x11::CreateBackend();
    if (!HeadlessAskedFor() && dynamic_cast<headless::THeadlessBackend*>(backend.get())) {
        std::fprintf(stderr, "quennary: no X display (set DISPLAY)\n");
        return 1;
    }
    win::SetBackend(backend.get());
    SkinCoreStartUp();
    StartMediaEngine();
    const std::string exeFolder = GetExecutableFolder();
    {
        TConverterState state;
        // Conversion from the window: the encoder's events reach the windows through the message loop.
        TMainThreadCallsInLoop mainThreadCalls;
        TApplication app(nullptr);
        app.Initialize();
        TConverterWindows windows = CreateWindows(app, state, AArgc > 1 ? AArgv[1] : "");
        TMainForm* main = windows.Main;
        TspSkinData* skin = main->SkinData();
        // Label editors of the lists are the skinned single-line edit.
        SetLabelEditorFactory([skin](TWinControl*) -> TWinControl* {
            auto* edit = new TspSkinEdit(nullptr);
            edit->SetSkinData(skin);
            return edit;
        });
        auto* encoder = new TFFEncoder(main);  // the component that loads the media libraries
        // FFmpeg's lines and the engine's own go into the logger history the error report carries.
        CreateHistoryLogger(main, state.LogHistory);

        TErrorReporter reporter(state.EventsLog, state.LogHistory, LoadReportMailAccount(exeFolder));
        reporter.ShowDialog = [&windows](const std::string& AText) { return windows.Error->Execute(AText); };
        auto* sending = new TSendingReportForm(main, skin);
        reporter.WaitForSending = [sending](const std::function<bool()>& AFinished,
                                            const std::function<void()>& ACancel) { sending->Wait(AFinished, ACancel); };
        const TReportErrorEvent report = [&reporter](const std::string& AText, const std::string& AMark) {
            reporter.SendErrorReport(AText, AMark);
        };
        windows.EventsLog->Follow(&state.EventsLog);
        windows.About->SetOpenURL([](const std::string& AAddress) { return OpenWithDefaultProgram(AAddress); });
        auto* decoder = new TFFDecoder(main);  // probes the selected job for its file information
        const auto skinnedMessage = [skin](const std::string& AText, TMsgDlgType AType) {
            TspSkinMessage box(nullptr);
            box.SetSkinData(skin);
            box.SetCtrlSkinData(skin);
            box.MessageDlg(AText, AType, {mbOK});
        };
        main->ShowWarning = [skinnedMessage](const std::string& AText) { skinnedMessage(AText, mtWarning); };
        main->OpenWithShell = [](const std::string& ATarget) { return OpenWithDefaultProgram(ATarget); };
        main->StartSiblingProgram = [exeFolder](const std::string& AProgram) {
            return StartProgram({exeFolder + AProgram}, false).Started;
        };
        main->ShowEventsLog = [&windows] { windows.EventsLog->ShowModal(); };
        main->ShowAbout = [&windows] { windows.About->ShowModal(); };
        main->ShowFileInformation = [&windows, &state, report, decoder] {
            const TVideoFile* job = state.Jobs.SelectedJob();
            TFileInfoTexts texts;
            if (!job || !LoadFileInformation(*decoder, job->Source, texts, state.EventsLog, report)) return;
            windows.FileInformation->ShowTexts(texts);
            windows.FileInformation->ShowModal();
        };
        main->ShowProfileSettings = [&windows] { windows.ProfileSettings->ShowModal(); };
        // Conversion from the window.
        main->AttachConversion(*encoder, *windows.Conversion, report);
        // Preview and snapshots: the player's failures go to the error report, the snapshot's to an error box.
        main->ReportPreviewError = report;
        main->ShowError = [skinnedMessage](const std::string& AText) { skinnedMessage(AText, mtError); };
        windows.ProfileSettings->Attach(&state.Catalogue, &state.Jobs);
        windows.ProfileSettings->ShowWarning = main->ShowWarning;
        windows.ProfileSettings->ReportError = report;
        windows.ProfileSettings->OnStored = [main] { main->sgList->Invalidate(); };
        windows.ProfileChooser->Attach(state);
        windows.ProfileChooser->LoadArrowPictures(exeFolder + "skin-red");
        windows.ProfileChooser->ReportError = report;
        windows.ProfileChooser->IsApplyToAll = [main] { return main->chApplyToAll->Checked(); };
        windows.ProfileChooser->RepaintJobs = [main] { main->sgList->Repaint(); };
        windows.ProfileChooser->FocusMainWindow = [main] { main->SetFocus(); };
        main->ShowProfileChooser = [&windows, &state](TPoint AFieldTopLeft) {
            windows.ProfileChooser->PopUpAbove(AFieldTopLeft, state.Catalogue.ChooserHeight);
        };
        // Trim dialog.
        windows.Trim->Attach(&state.Jobs, &state.EventsLog, report, exeFolder);
        windows.Trim->LoadPictures(exeFolder + "skin-red");
        windows.Trim->RepaintJobs = [main] { main->sgList->Repaint(); };
        windows.Trim->ShowError = [skinnedMessage](const std::string& AText) { skinnedMessage(AText, mtError); };
        main->ShowTrim = [&windows] { windows.Trim->ShowModal(); };
        // Edit dialog.
        windows.Edit->Attach(&state, exeFolder);
        windows.Edit->ReportError = report;
        windows.Edit->LoadButtonPictures(exeFolder + "skin-red");
        windows.Edit->MainVolume = [main] { return main->VolumeTrackBar->Value(); };
        main->ShowEdit = [&windows] { windows.Edit->ShowModal(); };

        // New files are probed through the encoder's own decoder.
        TFileAdder adder(state.Jobs, *encoder->Decoder(), state.EventsLog, state.Catalogue);
        adder.ShowMessage = [skinnedMessage](const std::string& AText) { skinnedMessage(AText, mtInformation); };
        WaitInMessageLoop(adder, app);
        main->FileAdder = &adder;
        main->PrepareMedia = [encoder, exeFolder, report, &state] {
            // Only when start-up could not load them.
            if (encoder->AVLibLoaded()) return true;
            if (encoder->LoadAVLib(exeFolder + kMediaLibraryFolderName)) return true;
            report(encoder->LastErrMsg(), "CLM_FFLoadAVLib2");
            state.EventsLog.Add(encoder->LastErrMsg());
            return false;
        };

        TStartupServices services;
        services.ExeFolder = exeFolder;
        services.DocumentsFolder = GetSpecialFolder(sfDocuments);
        services.VideosFolder = GetSpecialFolder(sfVideos);
        services.ReportError = report;
        services.ShowPlainMessage = [&app](const std::string& AText) { app.MessageBox(AText, kApplicationTitle); };
        services.LoadMediaLibraries = [encoder](const std::string& AFolder, std::string& AError) {
            if (encoder->LoadAVLib(AFolder)) return true;
            AError = encoder->LastErrMsg();
            return false;
        };
        services.MediaLibrariesLoaded = [encoder] { return encoder->AVLibLoaded(); };
        std::function<void()> deferred;
        services.DeferLastStep = [&deferred](std::function<void()> AStep) { deferred = std::move(AStep); };
        main->Load(std::move(services));

        ReportFirstPaint(*main);
        // The window paints before the media libraries load, which takes longer than everything else.
        main->Show();
        app.ProcessMessages();
        if (deferred) deferred();
        app.Run();
        main->FileAdder = nullptr;
        windows.EventsLog->Follow(nullptr);
        SetLabelEditorFactory(nullptr);
    }
    StopMediaEngine();
    win::SetBackend(nullptr);
    return 0;
}
