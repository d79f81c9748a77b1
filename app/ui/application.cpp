#include "app/ui/application.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "app/error_report.h"
#include "app/report_mail_account.h"
#include "app/ui/bare_form.h"
#include "app/ui/conversion_form.h"
#include "app/ui/converter_state.h"
#include "app/ui/edit_form.h"
#include "app/ui/main_form.h"
#include "app/ui/profile_chooser_form.h"
#include "app/ui/profile_settings_form.h"
#include "app/ui/trim_form.h"
#include "media/encoder/encoder.h"
#include "media/loader/engine.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/x11/backend_choice.h"
#include "platform/controls/lists/label_edit.h"
#include "platform/gui/application.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/process.h"
#include "skin/controls/skin_edit.h"
#include "skin/core/skin_startup.h"
#include "skin/dialogs/message_box.h"

namespace {

// The windows after the main one, in the order the converter creates them. The events log, About, file
// information and error windows are bare forms of their caption until their own forms are merged in.
struct TConverterWindows {
    TMainForm* Main = nullptr;
    Tproform* ProfileChooser = nullptr;
    Tsettingsform* ProfileSettings = nullptr;
    TClipForm* Trim = nullptr;
    TCropForm* Edit = nullptr;
    TBareSkinnedForm* EventsLog = nullptr;
    TConvForm* Conversion = nullptr;
    TBareSkinnedForm* About = nullptr;
    TBareSkinnedForm* FileInformation = nullptr;
    TBareSkinnedForm* Error = nullptr;
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
    w.EventsLog = AApp.CreateForm<TBareSkinnedForm>(skin, "Events Log", 420, 300);
    w.Conversion = AApp.CreateForm<TConvForm>(skin);
    w.About = AApp.CreateForm<TBareSkinnedForm>(skin, "About", 334, 260);
    w.FileInformation = AApp.CreateForm<TBareSkinnedForm>(skin, "File Information", 338, 370);
    w.Error = AApp.CreateForm<TBareSkinnedForm>(skin, "Error!", 375, 255);
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
    int exitCode = 0;
    {
        TConverterState state;
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

        TErrorReporter reporter(state.EventsLog, state.LogHistory, LoadReportMailAccount(exeFolder));
        reporter.ShowDialog = [&app](const std::string& AText) {
            app.MessageBox(AText, "Error!");
            return TErrorDialogResult{};
        };
        auto warning = [skin](const std::string& AText) {
            TspSkinMessage box(nullptr);
            box.SetSkinData(skin);
            box.SetCtrlSkinData(skin);
            box.MessageDlg(AText, mtWarning, {mbOK});
        };
        main->ShowWarning = warning;
        main->OpenWithShell = [](const std::string& ATarget) { return OpenWithDefaultProgram(ATarget); };
        main->StartSiblingProgram = [exeFolder](const std::string& AProgram) {
            return StartProgram({exeFolder + AProgram}, false).Started;
        };
        main->ShowEventsLog = [&windows] { windows.EventsLog->ShowModal(); };
        main->ShowAbout = [&windows] { windows.About->ShowModal(); };
        main->ShowFileInformation = [&windows] { windows.FileInformation->ShowModal(); };
        main->ShowProfileSettings = [&windows] { windows.ProfileSettings->ShowModal(); };

        TStartupServices services;
        services.ExeFolder = exeFolder;
        services.DocumentsFolder = GetSpecialFolder(sfDocuments);
        services.VideosFolder = GetSpecialFolder(sfVideos);
        services.ReportError = [&reporter](const std::string& AText, const std::string& AMark) {
            reporter.SendErrorReport(AText, AMark);
        };
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

        // The window paints before the media libraries load, which takes longer than everything else.
        main->Show();
        app.ProcessMessages();
        if (deferred) deferred();
        app.Run();
        SetLabelEditorFactory(nullptr);
    }
    StopMediaEngine();
    win::SetBackend(nullptr);
    return exitCode;
}
