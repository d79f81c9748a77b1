#include "media/transcode/frame_hook.h"

#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "media/log/ff_logger.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/sysutils.h"

namespace {

// The plug-ins loaded so far. Their modules stay loaded for the life of the process: a chain of another task
// may still point into them.
class TFrameHookLibs {
public:
    // The module of AName, loading it on first use; nullptr with the loader's text in AError.
    win::HMODULE Module(const std::string& AName, std::string& AError)
    {
        std::lock_guard guard(FLock);
        for (const auto& [name, module] : FLibs)
            if (SameText(name, AName)) return module;
        win::HMODULE module = win::LoadLibrary(AName, win::lsLocal);
        if (module == nullptr) {
            AError = win::LastLibraryError();
            return nullptr;
        }
        FLibs.emplace_back(AName, module);
        return module;
    }

private:
    std::mutex FLock;
    std::vector<std::pair<std::string, win::HMODULE>> FLibs;
};

TFrameHookLibs& FrameHookLibs()
{
    static TFrameHookLibs libs;
    return libs;
}

void LogHookError(const std::string& AText) { LoggerInstance()->Log(nullptr, llError, AText); }

}  // namespace

int FrameHookAdd(TFrameHookEntry*& AFirst, int argc, char* argv[])
{
    if (argc < 1 || argv == nullptr || argv[0] == nullptr) return -2;
    const std::string name = argv[0];
    std::string error;
    win::HMODULE module = FrameHookLibs().Module(name, error);
    if (module == nullptr) {
        LogHookError(error);
        return -1;
    }
    auto* entry = new (std::nothrow) TFrameHookEntry{};
    if (entry == nullptr) return -12;
    entry->Configure = reinterpret_cast<TFrameHookConfigureFn>(win::GetProcAddress(module, "Configure"));
    entry->Process = reinterpret_cast<TFrameHookProcessFn>(win::GetProcAddress(module, "Process"));
    entry->Release = reinterpret_cast<TFrameHookReleaseFn>(win::GetProcAddress(module, "Release"));
    if (entry->Process == nullptr) {
        LogHookError("Failed to find Process entrypoint in " + name);
        delete entry;
        return -2;
    }
    if (entry->Configure == nullptr && argc > 1) {
        LogHookError("Failed to find Configure entrypoint in " + name);
        delete entry;
        return -2;
    }
    if (entry->Configure != nullptr && entry->Configure(&entry->ctx, argc, argv) != 0) {
        LogHookError("Failed to Configure " + name);
        // A hook that refused its arguments gets no Release: it has no context of its own to give back.
        delete entry;
        return -22;
    }
    TFrameHookEntry** last = &AFirst;
    while (*last != nullptr) last = &(*last)->next;
    *last = entry;
    return 0;
}

void FrameHookProcess(TFrameHookEntry* AFirst, QuennaryHookPicture* APicture, int APixFmt, int AWidth, int AHeight,
                      int64_t APts)
{
    for (TFrameHookEntry* entry = AFirst; entry != nullptr; entry = entry->next)
        entry->Process(entry->ctx, APicture, APixFmt, AWidth, AHeight, APts);
}

void FrameHookRelease(TFrameHookEntry*& AFirst)
{
    while (AFirst != nullptr) {
        TFrameHookEntry* entry = AFirst;
        AFirst = entry->next;
        if (entry->Release != nullptr) entry->Release(entry->ctx);
        delete entry;
    }
}
