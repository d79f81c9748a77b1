#include "app/ui/player_sdl_copy.h"

#include <unistd.h>

#include <mutex>
#include <set>

#include "media/player/player.h"
#include "media/player/sdl_loader.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/folders.h"

std::string SDLCopyFolder() { return GetPrivateTempFolder() + "/"; }

std::string PrepareSDLCopy(int ANumber)
{
    static std::mutex lock;
    static std::set<std::string> made;
    const std::string name = "SDL_" + std::to_string(ANumber) + ".so";
    std::lock_guard guard(lock);
    try {
        const std::string path = SDLCopyFolder() + name;
        if (made.count(path) != 0) return name;
        std::string error;
        if (CopySDLLibrary(path, error))
            made.insert(path);
        else
            unlink(path.c_str());  // never an older copy in its place
    } catch (const EOSError&) {
        // No private folder: there is nothing to load from, which the load reports.
    }
    return name;
}

std::string LoadPlayerSDLCopy(TCustomPlayer& APlayer, int ANumber)
{
    if (APlayer.SDLLibLoaded()) return {};
    try {
        if (APlayer.LoadSDLLib(SDLCopyFolder(), PrepareSDLCopy(ANumber))) return {};
        return APlayer.LastErrMsg();
    } catch (const Exception& E) {
        return E.Message();  // no private temporary folder to copy into
    }
}
