#pragma once
// What the converter keeps for the whole run, made before any window so that the error report and the events
// log work from the first start-up step on.
#include <memory>
#include <string>

#include "app/catalogue.h"
#include "app/error_report.h"
#include "app/events_log.h"
#include "app/job_list.h"
#include "app/settings.h"

struct TConverterState {
    TCatalogue Catalogue;
    TSettings Settings;
    TSettingsStore SettingsStore;
    TEventsLog EventsLog;
    TLogHistory LogHistory;
    TJobList Jobs{Catalogue};
    std::string TempFolder;
    std::string AddFilesFolder;  // where the add-files dialog starts
    std::string ChosenFile;      // first file of the add-files dialog's last selection
    int JpegSnapshotNumber = 1;
    int BmpSnapshotNumber = 1;
};
