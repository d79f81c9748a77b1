#include "platform/rtl/dynlib.h"

#include <dlfcn.h>

namespace win {
namespace {
thread_local std::string last_error;

void Remember(const char* AText, const std::string& AFallback)
{
    last_error = AText ? AText : AFallback;
}
}  // namespace

HMODULE LoadLibrary(const std::string& APath, TLibraryScope AScope)
{
    // dlopen("") would hand back the program itself.
    if (APath.empty()) {
        last_error = "No library name given";
        return nullptr;
    }
    dlerror();
    HMODULE handle = dlopen(APath.c_str(), RTLD_NOW | (AScope == lsGlobal ? RTLD_GLOBAL : RTLD_LOCAL));
    if (handle)
        last_error.clear();
    else
        Remember(dlerror(), APath + ": cannot open the library");
    return handle;
}

void* GetProcAddress(HMODULE AModule, const char* AName)
{
    if (!AModule || !AName) {
        last_error = "No library or no symbol name given";
        return nullptr;
    }
    // A symbol may legitimately be null; only dlerror tells a missing one apart.
    dlerror();
    void* symbol = dlsym(AModule, AName);
    const char* error = dlerror();
    if (error)
        Remember(error, "");
    else
        last_error.clear();
    return error ? nullptr : symbol;
}

bool FreeLibrary(HMODULE AModule)
{
    if (!AModule) {
        last_error = "No library given";
        return false;
    }
    dlerror();
    if (dlclose(AModule) != 0) {
        Remember(dlerror(), "Cannot close the library");
        return false;
    }
    last_error.clear();
    return true;
}

std::string LastLibraryError()
{
    return last_error;
}
}  // namespace win
