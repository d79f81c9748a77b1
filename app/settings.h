#pragma once
// The user's settings that outlive a run, kept under the registry key "Software\Brindlewave\Quennary": the
// output, add-files and snapshot folders, the remembered preset choice and the values of the format edited last.
#include <string>

#include "app/catalogue.h"
#include "app/error_report_event.h"

inline constexpr const char* kSettingsKey = "Software\\Brindlewave\\Quennary";

struct TSettings {
    std::string OutputPath;           // text of the output box
    std::string OpenVideoDialogPath;  // starting folder of the add-files dialog
    std::string ScreenShotsPath;      // the snapshot folder
    TRememberedFormat LastEditedValues;
};

class TSettingsStore {
public:
    TReportErrorEvent OnReportError;

    // Reads what the key holds over the defaults already in ASettings; the indexes go to the catalogue's recent
    // and last-edited pairs. A starting folder that no longer exists is cleared. An index stored with the wrong
    // type raises ERegistryException, which ends the start-up loading.
    void Read(TSettings& ASettings, TCatalogue& ACatalogue);

    // Writes the settings. AChosenFile is the first file of the add-files dialog's last selection, empty when
    // nothing was chosen in this run (the stored folder then stays). The last edited format is written only when
    // its pair addresses a format of this catalogue. Every value reaches the stored settings in one atomic
    // rewrite; a write failure is reported and the stored settings stay as they were.
    // Nothing is written when the settings were never read in this run, so an early start-up failure cannot
    // replace the user's stored settings with defaults.
    void Save(const TSettings& ASettings, const TCatalogue& ACatalogue, const std::string& AChosenFile);

    bool WasRead() const { return FRead; }

private:
    bool FRead = false;
};
