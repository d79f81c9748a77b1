#include "app/ui/player_sdl_copy.h"

#include <unistd.h>

#include <mutex>
#include <set>

#include "media/player/sdl_loader.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/folders.h"

std::string SDLCopyFolder() { return GetPrivateTempFolder() + "/"; }

std::string PrepareSDLCopy(int ANumber)
{
    static std::mutex lock;
    static std::set<int> made;
    const std::string name = "SDL_" + std::to_string(ANumber) + ".so";
    std::lock_guard guard(lock);
    if (made.count(ANumber) != 0) return name;
    try {
        const std::string path = SDLCopyFolder() + name;
        std::string error;
        if (CopySDLLibrary(path, error))
            made.insert(ANumber);
        else
            unlink(path.c_str());  // never an older copy in its place
    } catch (const EOSError&) {
        // No private folder: there is nothing to load from, which the load reports.
    }
    return name;
}
