#include "app/startup_loading.h"

#include "platform/rtl/sysutils.h"

TStartupLoading::TStartupLoading(TCatalogue& ACatalogue, TSettings& ASettings)
    : FCatalogue(ACatalogue), FSettings(ASettings)
{
}

void TStartupLoading::ReadCatalogue(const std::string& AFolder)
{
    const std::string folder = IncludeTrailingPathDelimiter(AFolder);
    FCatalogue.OnReportError = OnReportError;
    FCatalogue.LoadIcons(folder + "Icons");
    FCatalogue.LoadProfiles(folder + "Profiles.dat");
    FCatalogue.LoadFormats(folder + "Formats.dat");
}

void TStartupLoading::MakeUserFolders(const std::string& ADocumentsFolder)
{
    const std::string quennary = ADocumentsFolder + "/Brindlewave/Quennary";
    for (const std::string& folder : {ADocumentsFolder + "/Brindlewave", quennary, quennary + "/Output",
                                      quennary + "/Snapshots"})
        if (!DirectoryExists(folder)) CreateDir(folder);
    if (DirectoryExists(quennary + "/Snapshots")) FSettings.ScreenShotsPath = quennary + "/Snapshots";
    if (DirectoryExists(quennary + "/Output")) FSettings.OutputPath = quennary + "/Output";
}

void TStartupLoading::ReadSettings(TSettingsStore& AStore)
{
    AStore.OnReportError = OnReportError;
    AStore.Read(FSettings, FCatalogue);
}

void TStartupLoading::AttachFormats() { FCatalogue.AttachFormats(FSettings.LastEditedValues); }

void TStartupLoading::Run(const std::string& ACatalogueFolder, const std::string& ADocumentsFolder,
                          TSettingsStore* AStore)
{
    ReadCatalogue(ACatalogueFolder);
    MakeUserFolders(ADocumentsFolder);
    if (AStore) ReadSettings(*AStore);
    AttachFormats();
}

void TStartupLoading::ReadShippedCatalogue(const std::string& AFolder)
{
    ReadCatalogue(AFolder);
    AttachFormats();
}
