#pragma once
// Shared libraries opened at run time: the Windows-style calls the loaders use, over dlopen.
#include <string>

namespace win {
using HMODULE = void*;

enum TLibraryScope {
    lsLocal,   // RTLD_LOCAL: symbols stay private to this handle (each player's own SDL copy)
    lsGlobal,  // RTLD_GLOBAL: symbols also resolve libraries opened later
};

// Opens APath with every symbol bound at once (RTLD_NOW). A name without "/" is searched on the library path.
// Returns null on failure; LastLibraryError() then says why.
HMODULE LoadLibrary(const std::string& APath, TLibraryScope AScope = lsLocal);
// Null when the symbol is missing (LastLibraryError() says so) or when AModule is null.
void* GetProcAddress(HMODULE AModule, const char* AName);
bool FreeLibrary(HMODULE AModule);
// The text of the last failure of the three calls above on this thread ("" after a success).
std::string LastLibraryError();
}  // namespace win
