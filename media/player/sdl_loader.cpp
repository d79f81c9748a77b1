#include "media/player/sdl_loader.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "media/loader/binding.h"
#include "media/loader/library_loader.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

namespace {

std::vector<std::string>& LoadedSDLLibs()
{
    static std::vector<std::string> list;
    return list;
}

// Windows file names: one file whatever the letter case of its spelling.
std::vector<std::string>::iterator FindLoaded(const std::string& APath)
{
    auto& list = LoadedSDLLibs();
    return std::find_if(list.begin(), list.end(),
                        [&](const std::string& AItem) { return strcasecmp(AItem.c_str(), APath.c_str()) == 0; });
}

std::string WithDelimiter(const std::string& APath)
{
    if (APath.empty() || APath.back() == '/') return APath;
    return APath + "/";
}

}  // namespace

TCriticalSection& SDLLibLock()
{
    static TCriticalSection lock;
    return lock;
}

TSDLLoader::~TSDLLoader() { Unload(); }

bool TSDLLoader::Load(const std::string& APath, const std::string& AFile)
{
    const std::string path = WithDelimiter(APath);
    const std::string full = path + AFile;
    if (Loaded() && FLibFile == full) return true;

    SDLLibLock().Enter();
    struct TLeave {
        ~TLeave() { SDLLibLock().Leave(); }
    } leave;

    if (FindLoaded(full) != LoadedSDLLibs().end()) {
        FLastErrMsg = full + " alreay loaded in another instance.";
        return false;
    }
    DoUnload();
    std::string error;
    FHandle = LoadDllFromFolder(path, AFile, error);
    if (FHandle == nullptr) {
        FLastErrMsg = "Load library " + full + " error: " + error;
        return false;
    }
    try {
        BindEntries(full, FHandle);
        FFixuped = true;
    } catch (const Exception& E) {
        FLastErrMsg = E.Message();
        FFixuped = false;
    }
    if (FFixuped) {
        FLibFile = full;
        LoadedSDLLibs().push_back(full);
    } else {
        DoUnload();
    }
    return FFixuped;
}

void TSDLLoader::Unload()
{
    SDLLibLock().Enter();
    DoUnload();
    SDLLibLock().Leave();
}

void TSDLLoader::DoUnload()
{
    if (FFixuped) {
        ClearEntries();
        FFixuped = false;
    }
    if (FHandle != nullptr) {
        win::FreeLibrary(FHandle);
        FHandle = nullptr;
    }
    if (!FLibFile.empty()) {
        auto it = FindLoaded(FLibFile);
        if (it != LoadedSDLLibs().end()) LoadedSDLLibs().erase(it);
        FLibFile.clear();
    }
}

void TSDLLoader::BindEntries(const std::string& AFile, void* AHandle)
{
#define QUENNARY_SDL_BIND(field, exported, optional) BindFunction(AFile, AHandle, exported, optional, this->field);
    QUENNARY_SDL_ENTRIES(QUENNARY_SDL_BIND)
#undef QUENNARY_SDL_BIND
}

void TSDLLoader::ClearEntries() { static_cast<TSDLEntries&>(*this) = TSDLEntries{}; }

std::string SDLLibrarySource()
{
    const std::string name = "libSDL-1.2.so.0";
    std::vector<std::string> folders = {GetExecutableFolder() + "LibAV/"};
    if (!TFFLoader::LibraryPath().empty()) folders.push_back(WithDelimiter(TFFLoader::LibraryPath()));
    for (const char* folder : {"/usr/lib/x86_64-linux-gnu/", "/lib/x86_64-linux-gnu/", "/usr/lib64/", "/usr/lib/",
                               "/usr/local/lib/"})
        folders.push_back(folder);
    std::error_code ec;
    for (const std::string& folder : folders)
        if (std::filesystem::is_regular_file(folder + name, ec)) return folder + name;
    return "";
}

bool CopySDLLibrary(const std::string& ADestFile, std::string& AError)
{
    const std::string source = SDLLibrarySource();
    if (source.empty()) {
        AError = "the SDL library libSDL-1.2.so.0 was not found";
        return false;
    }
    // A fresh file renamed over the old name: a copy still open elsewhere keeps its inode.
    const std::string temp = ADestFile + ".part";
    std::error_code ec;
    std::filesystem::copy_file(source, temp, std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec) std::filesystem::rename(temp, ADestFile, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        AError = "copying " + source + " to " + ADestFile + " failed: " + ec.message();
        return false;
    }
    return true;
}
