#pragma once
// Run-time loading of the FFmpeg libraries. Nothing in the program links FFmpeg: the libraries are opened by
// file name, first from a library folder (the program's "LibAV" folder beside the executable) and otherwise from
// the system's search path, and their entry points are bound into the slots of av_bindings.h.
//
// The state is process-wide: every component loads the set it needs through the one loader and asks it whether
// the set is loaded before touching FFmpeg. Loading and unloading run on the main thread and never while other
// threads do FFmpeg work.
#include <string>

#include "platform/rtl/object.h"
#include "platform/rtl/set.h"

// In dependency order, so that a library from the library folder finds the ones it needs already open under
// their own names instead of pulling in the system's copies.
enum class TLibrary { avUtil, swResample, swScale, avCodec, avFormat, avFilter };
using TLibraries = TSet<TLibrary>;
constexpr TLibrary avUtil = TLibrary::avUtil;
constexpr TLibrary swResample = TLibrary::swResample;
constexpr TLibrary swScale = TLibrary::swScale;
constexpr TLibrary avCodec = TLibrary::avCodec;
constexpr TLibrary avFormat = TLibrary::avFormat;
constexpr TLibrary avFilter = TLibrary::avFilter;

// The sets the components use.
inline constexpr TLibraries DecoderLibraries{avUtil, swResample, swScale, avCodec, avFormat};
inline constexpr TLibraries PlayerLibraries{avUtil, swResample, swScale, avCodec, avFormat, avFilter};
inline constexpr TLibraries AllLibraries = PlayerLibraries;

// Opens one shared library. When AFolder is not empty and holds AFileName, the file is opened from there (with
// the folder made the current directory meanwhile and put in front of PATH for good, so that helpers the
// libraries start find their neighbours); otherwise by bare name through the system's search. Answers nullptr and
// the system's text in AError on failure. With AKeep the library stays in memory for the rest of the process even
// once closed; without, closing it really unloads it.
void* LoadDllFromFolder(const std::string& AFolder, const std::string& AFileName, std::string& AError,
                        bool AKeep = true);

class TFFLoader : public TObject {
public:
    TFFLoader() = default;

    // "libavcodec.so.59" and so on: the base name and the major version the headers were written for.
    static std::string LibraryFileName(TLibrary ALibrary);

    bool Load(TLibrary ALibrary);
    // Loads the set in order; at the first failure unloads the whole set (also what other components had
    // loaded) and answers false. An empty set is misuse.
    bool Load(TLibraries ALibraries);
    bool Loaded(TLibrary ALibrary) const;
    bool Loaded(TLibraries ALibraries) const;
    void Unload(TLibrary ALibrary);
    void Unload(TLibraries ALibraries);

    // The folder of the libraries; empty lets the system search.
    static std::string LibraryPath();
    static void SetLibraryPath(const std::string& AValue);
    // The text of the last failure; a success never clears it.
    static std::string LastErrMsg();
    bool InstallLogger() const { return FInstallLogger; }
    void SetInstallLogger(bool AValue) { FInstallLogger = AValue; }

    // Forgets the folder and the last failure (engine shut-down).
    static void ResetState();

private:
    bool FInstallLogger = true;
};

// The one loader of the process, between engine start-up and shut-down (engine.h); nullptr outside.
extern TFFLoader* FFLoader;
