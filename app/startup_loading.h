#pragma once
// The start-up loading that needs no window, in the order the converter's start-up runs it: the profile icons,
// "Profiles.dat" with "All Profiles" after it, "Formats.dat", the user's output and snapshot folders, the stored
// settings, and last the formats attached to their profiles with the remembered choices. The main window runs
// it between its own steps; the tools and the tests run it as it stands. Reported failures go to OnReportError
// and the loading goes on; a missing or unreadable "Formats.dat" (EFOpenError, EReadError) or a stored setting of
// the wrong type (ERegistryException) ends the loading with that exception, as start-up does.
#include <string>

#include "app/catalogue.h"
#include "app/error_report_event.h"
#include "app/settings.h"

class TStartupLoading {
public:
    // Both must outlive the loading.
    TStartupLoading(TCatalogue& ACatalogue, TSettings& ASettings);

    TReportErrorEvent OnReportError;

    // Icons, profiles and formats of a "mp4-converter-profiles" folder.
    void ReadCatalogue(const std::string& AFolder);
    // "Brindlewave/Quennary/Output" and ".../Snapshots" under the documents folder, each made when missing, one
    // level at a time; the ones that exist become the settings' output and snapshot folders.
    void MakeUserFolders(const std::string& ADocumentsFolder);
    // The stored settings, over the folders of MakeUserFolders.
    void ReadSettings(TSettingsStore& AStore);
    // Attaches the formats to their profiles with the last edited values the settings remember.
    void AttachFormats();

    // Every step above in order. A tool without settings passes no store: it attaches the formats as shipped.
    void Run(const std::string& ACatalogueFolder, const std::string& ADocumentsFolder, TSettingsStore* AStore);
    // The catalogue alone, as shipped, with no user folders and no settings.
    void ReadShippedCatalogue(const std::string& AFolder);

private:
    TCatalogue& FCatalogue;
    TSettings& FSettings;
};
