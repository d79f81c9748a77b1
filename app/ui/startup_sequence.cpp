#include "app/ui/startup_sequence.h"

#include "app/startup_loading.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/sysutils.h"

namespace {

template <typename TCallback, typename... TArgs>
void CallIfSet(const TCallback& ACallback, TArgs&&... AArgs)
{
    if (ACallback) ACallback(std::forward<TArgs>(AArgs)...);
}

void LoadMediaLibraries(const TStartupServices& AServices, TConverterState& AState)
{
    if (AServices.MediaLibrariesLoaded && AServices.MediaLibrariesLoaded()) return;
    if (!AServices.LoadMediaLibraries) return;
    std::string error;
    if (AServices.LoadMediaLibraries(AServices.ExeFolder + kMediaLibraryFolderName, error)) return;
    // The program runs on; adding the first file tries the libraries again.
    CallIfSet(AServices.ReportError, error, std::string("CLM_FFAVLibLoad"));
    AState.EventsLog.Add(error);
}

}  // namespace

TStartupSequence::TStartupSequence(TConverterState& AState, TStartupServices AServices, TWindowSteps AWindow)
    : FState(AState), FServices(std::move(AServices)), FWindow(std::move(AWindow))
{
    const std::string skin = FServices.ExeFolder + kSkinFolderName;
    const std::string catalogue = FServices.ExeFolder + kCatalogueFolderName + "/";
    // Shared by the catalogue steps; the loading object holds references only.
    auto loading = std::make_shared<TStartupLoading>(FState.Catalogue, FState.Settings);
    loading->OnReportError = FServices.ReportError;
    FState.Catalogue.OnReportError = FServices.ReportError;
    FState.SettingsStore.OnReportError = FServices.ReportError;

    FSteps = {
        {"drop target", [this] { CallIfSet(FWindow.AcceptDrops); }},
        {"skin", [this, skin] { CallIfSet(FWindow.LoadSkin, skin); }},
        {"pictures", [this, skin] { CallIfSet(FWindow.LoadPictures, skin); }},
        {"captions", [this] { CallIfSet(FWindow.SetCaptionsAndLooks); }},
        {"suite menu", [this] { CallIfSet(FWindow.BuildSuiteMenu); }},
        {"title", [this] { CallIfSet(FWindow.SetTitle); }},
        {"temp folder",
         [this] { FState.TempFolder = FServices.TempFolder ? FServices.TempFolder() : GetPrivateTempFolder(); }},
        {"add-files folder", [this] { FState.AddFilesFolder = FServices.VideosFolder; }},
        // The logger history exists with its first line since the state was made: reports before this step
        // need it.
        {"log history", [] {}},
        {"grid columns", [this] { CallIfSet(FWindow.SetGridColumns); }},
        {"optional pictures", [this, skin] { CallIfSet(FWindow.ShowOptionalPictures, skin); }},
        {"profile icons", [this, catalogue] { FState.Catalogue.LoadIcons(catalogue + "Icons"); }},
        {"snapshot counters", [this] { FState.JpegSnapshotNumber = FState.BmpSnapshotNumber = 1; }},
        {"open-dialog filter", [this] { CallIfSet(FWindow.SetOpenDialogFilter); }},
        {"profiles", [this, catalogue] { FState.Catalogue.LoadProfiles(catalogue + "Profiles.dat"); }},
        {"formats", [this, catalogue] { FState.Catalogue.LoadFormats(catalogue + "Formats.dat"); }},
        {"user folders",
         [this, loading] {
             loading->MakeUserFolders(FServices.DocumentsFolder);
             CallIfSet(FWindow.ShowOutputFolder);
         }},
        {"settings",
         [this, loading] {
             loading->ReadSettings(FState.SettingsStore);
             if (!FState.Settings.OpenVideoDialogPath.empty())
                 FState.AddFilesFolder = FState.Settings.OpenVideoDialogPath;
             CallIfSet(FWindow.ShowOutputFolder);
         }},
        {"attach formats", [loading] { loading->AttachFormats(); }},
        {"profile repaint", [this] { CallIfSet(FWindow.RepaintProfile); }},
        {"media libraries",
         [this] {
             // The deferred step may outlive this sequence: it keeps its own copy of the services.
             auto load = [services = FServices, &state = FState] { LoadMediaLibraries(services, state); };
             if (FServices.DeferLastStep)
                 FServices.DeferLastStep(load);
             else
                 load();
         }},
    };
}

bool TStartupSequence::Run()
{
    FStepsRun.clear();
    for (const TStep& step : FSteps) {
        FStepsRun.push_back(step.Name);
        try {
            step.Body();
        } catch (const std::exception& E) {
            CallIfSet(FServices.ShowPlainMessage, std::string(E.what()));
            return false;
        }
    }
    return true;
}

TOptionalPictures FindOptionalPictures(const std::string& ASkinFolder)
{
    const std::string folder = IncludeTrailingPathDelimiter(ASkinFolder);
    TOptionalPictures found;
    if (FileExists(folder + "gettingstarted.bmp")) found.GettingStarted = folder + "gettingstarted.bmp";
    if (FileExists(folder + "preview.bmp")) found.Preview = folder + "preview.bmp";
    return found;
}

void SaveConverterSettings(TConverterState& AState)
{
    AState.SettingsStore.Save(AState.Settings, AState.Catalogue, AState.ChosenFile);
}
