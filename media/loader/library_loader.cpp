#include "media/loader/library_loader.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "media/loader/binding.h"
#include "media/log/ff_logger.h"
#include "media/util/text_format.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

TFFLoader* FFLoader = nullptr;

namespace {

struct TLibraryItem {
    TLibrary Lib;
    const char* Name;
    int Version;
    TFixupProc Fixup;
    TUnfixProc Unfix;
};

constexpr TLibraryItem LibraryItems[] = {
    {avUtil, "avutil", 57, FixupAVUtil, UnfixAVUtil},
    {swResample, "swresample", 4, FixupSwResample, UnfixSwResample},
    {swScale, "swscale", 6, FixupSwScale, UnfixSwScale},
    {avCodec, "avcodec", 59, FixupAVCodec, UnfixAVCodec},
    {avFormat, "avformat", 59, FixupAVFormat, UnfixAVFormat},
    {avFilter, "avfilter", 8, FixupAVFilter, UnfixAVFilter},
};
constexpr int LibraryCount = sizeof LibraryItems / sizeof LibraryItems[0];

struct TLibraryStatus {
    void* Handle = nullptr;
    bool Fixuped = false;
};

TLibraryStatus Status[LibraryCount];
std::string Path;
std::string LastError;

int Index(TLibrary ALibrary) { return static_cast<int>(ALibrary); }

std::string WithDelimiter(const std::string& AFolder)
{
    return AFolder.empty() ? AFolder : IncludeTrailingPathDelimiter(AFolder);
}

// An accepted library stays in memory for the rest of the process, also after the set is unloaded. Only now:
// a refused one must go, or the system's copy of the same soname would be answered by it.
void KeepLoaded(void* AHandle)
{
    link_map* map = nullptr;
    if (dlinfo(AHandle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr) return;
    if (void* pinned = dlopen(map->l_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE)) dlclose(pinned);
}

void PrependToPath(const std::string& AFolder)
{
    const char* old = std::getenv("PATH");
    const std::string current = old ? old : "";
    // A folder already contained in PATH (even inside a longer entry) counts as present: PATH only ever grows
    // by one entry per folder.
    if (current.find(AFolder) != std::string::npos) return;
    const std::string value = current.empty() ? AFolder : AFolder + ":" + current;
    setenv("PATH", value.c_str(), 1);
}

void CheckNotEmpty(TLibraries ALibraries)
{
    if (ALibraries.Empty()) throw EInvalidArgument("empty library set");
}

}  // namespace

void* LoadDllFromFolder(const std::string& AFolder, const std::string& AFileName, std::string& AError, bool AKeep)
{
    const int mode = RTLD_NOW | RTLD_LOCAL | (AKeep ? RTLD_NODELETE : 0);
    void* handle = nullptr;
    const std::string full = WithDelimiter(AFolder) + AFileName;
    if (!AFolder.empty() && FileExists(full)) {
        std::vector<char> cwd(4096);
        const bool saved = getcwd(cwd.data(), cwd.size()) != nullptr;
        if (chdir(AFolder.c_str()) != 0) { /* loading by full path works from anywhere */ }
        PrependToPath(AFolder);
        handle = dlopen(full.c_str(), mode);
        if (saved && chdir(cwd.data()) != 0) { /* the old folder vanished; nothing to go back to */ }
    } else {
        handle = dlopen(AFileName.c_str(), mode);
    }
    if (handle == nullptr) {
        const char* reason = dlerror();
        AError = reason ? reason : "cannot open shared object file";
    }
    return handle;
}

std::string TFFLoader::LibraryFileName(TLibrary ALibrary)
{
    const TLibraryItem& item = LibraryItems[Index(ALibrary)];
    return StrFormat("lib%s.so.%d", item.Name, item.Version);
}

bool TFFLoader::Load(TLibrary ALibrary)
{
    const TLibraryItem& item = LibraryItems[Index(ALibrary)];
    TLibraryStatus& status = Status[Index(ALibrary)];
    const std::string file_name = LibraryFileName(ALibrary);
    if (status.Handle == nullptr) {
        const std::string folder = Path.empty() ? std::string() : WithDelimiter(Path);
        std::string error;
        status.Handle = LoadDllFromFolder(folder, file_name, error, false);
        if (status.Handle == nullptr) {
            LastError = StrFormat("Load library %s error: %s", (folder + file_name).c_str(), error.c_str());
            return false;
        }
    }
    if (!status.Fixuped) {
        try {
            item.Fixup(file_name, status.Handle);
            status.Fixuped = true;
            KeepLoaded(status.Handle);
        } catch (const std::exception& e) {
            LastError = e.what();
        }
    }
    if (!status.Fixuped) {
        // The entries bound before the failing one would point into a library about to be closed.
        item.Unfix();
        Unload(ALibrary);
        return false;
    }
    // Runs on every load, also of a library bound before, as a re-installed hook is harmless. The lock
    // manager and global interrupt callback of older library generations have no counterpart: codec opening is
    // thread-safe, and interrupt callbacks are set per I/O context (interrupt_registry.h).
    if (ALibrary == avUtil && FInstallLogger) LoggerInstance()->InstallAVLogCallback();
    return true;
}

bool TFFLoader::Load(TLibraries ALibraries)
{
    CheckNotEmpty(ALibraries);
    for (int i = 0; i < LibraryCount; ++i) {
        const TLibrary lib = LibraryItems[i].Lib;
        if (ALibraries.Contains(lib) && !Load(lib)) {
            Unload(ALibraries);
            return false;
        }
    }
    return true;
}

bool TFFLoader::Loaded(TLibrary ALibrary) const
{
    const TLibraryStatus& status = Status[Index(ALibrary)];
    return status.Handle != nullptr && status.Fixuped;
}

bool TFFLoader::Loaded(TLibraries ALibraries) const
{
    CheckNotEmpty(ALibraries);
    for (int i = 0; i < LibraryCount; ++i)
        if (ALibraries.Contains(LibraryItems[i].Lib) && !Loaded(LibraryItems[i].Lib)) return false;
    return true;
}

void TFFLoader::Unload(TLibrary ALibrary)
{
    TLibraryStatus& status = Status[Index(ALibrary)];
    if (status.Fixuped) {
        LibraryItems[Index(ALibrary)].Unfix();
        status.Fixuped = false;
    }
    if (status.Handle != nullptr) {
        dlclose(status.Handle);
        status.Handle = nullptr;
    }
}

void TFFLoader::Unload(TLibraries ALibraries)
{
    CheckNotEmpty(ALibraries);
    // Dependents first, so that no library is closed under one still using it.
    for (int i = LibraryCount - 1; i >= 0; --i)
        if (ALibraries.Contains(LibraryItems[i].Lib)) Unload(LibraryItems[i].Lib);
}

std::string TFFLoader::LibraryPath() { return Path; }
void TFFLoader::SetLibraryPath(const std::string& AValue) { Path = AValue; }
std::string TFFLoader::LastErrMsg() { return LastError; }

void TFFLoader::ResetState()
{
    Path.clear();
    LastError.clear();
}
