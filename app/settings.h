#pragma once
// The user's settings that outlive a run, kept under the registry key "Software\Brindlewave\Quennary": the
// output, add-files and snapshot folders, the remembered preset choice and the values of the format edited last.
#include <map>
#include <string>

#include "app/catalogue.h"
#include "app/error_report_event.h"

class TRegistry;

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
    // and last-edited pairs. A starting folder that no longer exists is cleared. A value that cannot be read (of
    // the wrong type, or damaged) keeps the default it has in ASettings or the catalogue for this run.
    void Read(TSettings& ASettings, TCatalogue& ACatalogue);

    // Writes the settings. AChosenFile is the first file of the add-files dialog's last selection, empty when
    // nothing was chosen in this run (the stored folder then stays). The last edited format is written only when
    // its pair addresses a format of this catalogue. Every value reaches the stored settings in one atomic
    // rewrite; a write failure is reported and the stored settings stay as they were.
    // Nothing is written when the settings were never read in this run, so an early start-up failure cannot
    // replace the user's stored settings with defaults. A value that could not be read is written only when this
    // run changed it from the default it was given; otherwise the file keeps what it holds.
    void Save(const TSettings& ASettings, const TCatalogue& ACatalogue, const std::string& AChosenFile);

    bool WasRead() const { return FRead; }

private:
    bool ReadString(TRegistry& ARegistry, const char* AName, std::string& AValue);
    void ReadInteger(TRegistry& ARegistry, const char* AName, int& AValue);
    bool KeepsStoredValue(const char* AName, const std::string& AValue) const;

    bool FRead = false;
    // The values that could not be read, with the default (as text) used in their place.
    std::map<std::string, std::string> FUnreadable;
};
