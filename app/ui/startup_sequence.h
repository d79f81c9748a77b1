#pragma once
// The converter's start-up loading, step by step in its fixed order. The window's own steps (skin, pictures,
// captions, menus, grid) come from the main window; the rest run here on the converter's state.
//
// A step either handles its failure itself (profiles, format lines, attaching formats and the media libraries
// report to the error report and the loading goes on) or raises: then the failure's message is shown in a
// plain message box, the remaining steps do not run, and the program goes on with what was loaded.
#include <functional>
#include <string>
#include <vector>

#include "app/ui/converter_state.h"

// What start-up needs from outside the converter's state; tests replace these.
struct TStartupServices {
    std::string ExeFolder;        // with a trailing "/"
    std::string DocumentsFolder;  // the user's documents folder, empty when unknown
    std::string VideosFolder;     // the user's videos folder, empty when unknown
    TReportErrorEvent ReportError;                                // the error report
    std::function<void(const std::string& AText)> ShowPlainMessage;  // a plain message box
    // Loads the media libraries from AFolder, else from the system; answers false with the loader's text.
    std::function<bool(const std::string& AFolder, std::string& AError)> LoadMediaLibraries;
    std::function<bool()> MediaLibrariesLoaded;
    std::function<std::string()> TempFolder;  // the private temporary folder unless replaced
    // When set, the last step (the media libraries, by far the slowest) is handed here instead of run at once,
    // so that the window can paint first; the program runs it right after the first paint.
    std::function<void(std::function<void()> AStep)> DeferLastStep;
};

// The main window's part of the loading, each run at its place in the order; an empty one is passed over.
struct TWindowSteps {
    std::function<void()> AcceptDrops;
    std::function<void(const std::string& ASkinFolder)> LoadSkin;
    std::function<void(const std::string& ASkinFolder)> LoadPictures;
    std::function<void()> SetCaptionsAndLooks;
    std::function<void()> BuildSuiteMenu;
    std::function<void()> SetTitle;
    std::function<void()> SetGridColumns;
    std::function<void(const std::string& ASkinFolder)> ShowOptionalPictures;
    std::function<void()> SetOpenDialogFilter;
    std::function<void()> ShowOutputFolder;
    std::function<void()> RepaintProfile;
};

// The folders beside the executable.
inline constexpr const char* kSkinFolderName = "skin-red";
inline constexpr const char* kCatalogueFolderName = "mp4-converter-profiles";
inline constexpr const char* kMediaLibraryFolderName = "LibAV";

class TStartupSequence {
public:
    TStartupSequence(TConverterState& AState, TStartupServices AServices, TWindowSteps AWindow);

    // Runs the steps; answers whether every one ran.
    bool Run();
    // The names of the steps begun, in order (the one that raised included).
    const std::vector<std::string>& StepsRun() const { return FStepsRun; }

private:
    struct TStep {
        std::string Name;
        std::function<void()> Body;
    };
    TConverterState& FState;
    TStartupServices FServices;
    TWindowSteps FWindow;
    std::vector<TStep> FSteps;
    std::vector<std::string> FStepsRun;
};

// The optional pictures of a skin folder: the full names of "gettingstarted.bmp" and "preview.bmp", each empty
// when the skin has none (the window then hides what would show it).
struct TOptionalPictures {
    std::string GettingStarted;
    std::string Preview;
};
TOptionalPictures FindOptionalPictures(const std::string& ASkinFolder);

// Shut-down: writes the settings (the store itself refuses when they were never read in this run).
void SaveConverterSettings(TConverterState& AState);
