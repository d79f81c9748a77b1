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

// The nine windows after the main one, in creation order. They are built once the main window has painted;
// the error form may exist already, made on demand by a failure reported while the main window loaded.
void CreateOtherWindows(TApplication& AApp, TConverterWindows& AWindows)
{
    TspSkinData* skin = AWindows.Main->SkinData();
    AWindows.ProfileChooser = AApp.CreateForm<Tproform>(skin);
    AWindows.ProfileSettings = AApp.CreateForm<Tsettingsform>(skin);
    AWindows.Trim = AApp.CreateForm<TClipForm>(skin);
    AWindows.Edit = AApp.CreateForm<TCropForm>(skin);
    AWindows.EventsLog = AApp.CreateForm<TLogForm>(skin);
    AWindows.Conversion = AApp.CreateForm<TConvForm>(skin);
    AWindows.About = AApp.CreateForm<TAboutForm>(skin);
    AWindows.FileInformation = AApp.CreateForm<TFileInfoForm>(skin);
    if (!AWindows.Error) AWindows.Error = AApp.CreateForm<TErrorForm>(skin);
}

TErrorForm& ErrorForm(TApplication& AApp, TConverterWindows& AWindows)
{
    if (!AWindows.Error) AWindows.Error = AApp.CreateForm<TErrorForm>(AWindows.Main->SkinData());
    return *AWindows.Error;
}

// Handles what is waiting (the main window's first paint among it) but leaves the user's keys and clicks queued
// for the message loop, which runs once every window exists.
void ProcessMessagesButInput(TApplication& AApp)
{
    using namespace win;
    constexpr std::pair<UINT, UINT> kRanges[] = {{0, WM_NCMOUSEMOVE - 1},
                                                 {WM_NCMBUTTONDBLCLK + 1, WM_KEYFIRST - 1},
                                                 {WM_KEYLAST + 1, WM_MOUSEFIRST - 1},
                                                 {WM_MOUSELAST + 1, 0xFFFFFFFF}};
    for (bool more = true; more;) {
        more = false;
        for (auto [first, last] : kRanges) {
            MSG msg;
            while (PeekMessage(msg, nullptr, first, last, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(msg.wParam));
                    return;
                }
                more = true;
                try {
                    TranslateMessage(msg);
                    DispatchMessage(msg);
                } catch (...) {
                    AApp.HandleException(&AApp);
                }
            }
        }
    }
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
        // The main window first; it paints before the other windows are built (below).
        TConverterWindows windows;
        windows.Main = app.CreateForm<TMainForm>(state, AArgc > 1 ? AArgv[1] : "");
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
        reporter.ShowDialog = [&app, &windows](const std::string& AText) {
            return ErrorForm(app, windows).Execute(AText);
        };
        auto* sending = new TSendingReportForm(main, skin);
        reporter.WaitForSending = [sending](const std::function<bool()>& AFinished,
                                            const std::function<void()>& ACancel) { sending->Wait(AFinished, ACancel); };
        const TReportErrorEvent report = [&reporter](const std::string& AText, const std::string& AMark) {
            reporter.SendErrorReport(AText, AMark);
        };
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

        // Preview and snapshots: the player's failures go to the error report, the snapshot's to an error box.
        main->ReportPreviewError = report;
        main->ShowError = [skinnedMessage](const std::string& AText) { skinnedMessage(AText, mtError); };
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
        // The window paints before the other windows are built and the media libraries load.
        main->Show();
        ProcessMessagesButInput(app);
        CreateOtherWindows(app, windows);
        windows.EventsLog->Follow(&state.EventsLog);
        windows.About->SetOpenURL([](const std::string& AAddress) { return OpenWithDefaultProgram(AAddress); });
        // Conversion from the window.
        main->AttachConversion(*encoder, *windows.Conversion, report);
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
