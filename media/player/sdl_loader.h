#pragma once
// Each player loads its own copy of the SDL library: SDL keeps one video surface, one audio device and one event
// queue per loaded module, so two players in one process need two files. The copy is opened privately
// (RTLD_LOCAL) and never linked, so its symbols never meet another copy's.
#include <SDL/SDL.h>

#include <string>

#include "platform/rtl/object.h"
#include "platform/rtl/threads.h"

// field, exported name, optional. SDL_putenv is a macro for putenv on Linux and not exported; the player sets
// the environment itself when it is missing. The lock fields keep their exported names, which SDL's
// SDL_LockMutex and SDL_UnlockMutex macros expand to.
#define QUENNARY_SDL_ENTRIES(X)                           \
    X(SDL_Init, "SDL_Init", false)                        \
    X(SDL_Quit, "SDL_Quit", false)                        \
    X(SDL_putenv, "SDL_putenv", true)                     \
    X(SDL_GetError, "SDL_GetError", false)                \
    X(SDL_OpenAudio, "SDL_OpenAudio", false)              \
    X(SDL_PauseAudio, "SDL_PauseAudio", false)            \
    X(SDL_CloseAudio, "SDL_CloseAudio", false)            \
    X(SDL_MixAudio, "SDL_MixAudio", false)                \
    X(SDL_WaitEvent, "SDL_WaitEvent", false)              \
    X(SDL_PushEvent, "SDL_PushEvent", false)              \
    X(SDL_EventState, "SDL_EventState", false)            \
    X(SDL_GetVideoInfo, "SDL_GetVideoInfo", false)        \
    X(SDL_SetVideoMode, "SDL_SetVideoMode", false)        \
    X(SDL_UpdateRect, "SDL_UpdateRect", false)            \
    X(SDL_WM_SetCaption, "SDL_WM_SetCaption", false)      \
    X(SDL_MapRGB, "SDL_MapRGB", false)                    \
    X(SDL_FillRect, "SDL_FillRect", false)                \
    X(SDL_CreateYUVOverlay, "SDL_CreateYUVOverlay", false) \
    X(SDL_LockYUVOverlay, "SDL_LockYUVOverlay", false)    \
    X(SDL_UnlockYUVOverlay, "SDL_UnlockYUVOverlay", false) \
    X(SDL_DisplayYUVOverlay, "SDL_DisplayYUVOverlay", false) \
    X(SDL_FreeYUVOverlay, "SDL_FreeYUVOverlay", false)    \
    X(SDL_CreateMutex, "SDL_CreateMutex", false)          \
    X(SDL_mutexP, "SDL_mutexP", false)                    \
    X(SDL_mutexV, "SDL_mutexV", false)                    \
    X(SDL_DestroyMutex, "SDL_DestroyMutex", false)        \
    X(SDL_CreateCond, "SDL_CreateCond", false)            \
    X(SDL_DestroyCond, "SDL_DestroyCond", false)          \
    X(SDL_CondSignal, "SDL_CondSignal", false)            \
    X(SDL_CondWait, "SDL_CondWait", false)                \
    X(SDL_CreateThread, "SDL_CreateThread", false)        \
    X(SDL_WaitThread, "SDL_WaitThread", false)            \
    X(SDL_AudioDriverName, "SDL_AudioDriverName", false)  \
    X(SDL_VideoDriverName, "SDL_VideoDriverName", false)

// The entry points of one loaded copy, typed after SDL 1.2's own declarations.
struct TSDLEntries {
#define QUENNARY_SDL_FIELD(field, exported, optional) decltype(&::field) field = nullptr;
    QUENNARY_SDL_ENTRIES(QUENNARY_SDL_FIELD)
#undef QUENNARY_SDL_FIELD
};

// Guards the list of files held and, during a player's SDL start-up, the environment SDL reads.
TCriticalSection& SDLLibLock();

class TSDLLoader : public TObject, public TSDLEntries {
public:
    TSDLLoader() = default;
    ~TSDLLoader() override;

    // Any thread. Loads and binds APath + AFile; refuses a file another loader holds (compared without regard to
    // case) and keeps what it held before in that case.
    bool Load(const std::string& APath, const std::string& AFile);
    bool Loaded() const { return FHandle != nullptr && FFixuped; }
    void Unload();

    const std::string& LibFile() const { return FLibFile; }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    const TSDLEntries& Entries() const { return *this; }

private:
    void DoUnload();
    void BindEntries(const std::string& AFile, void* AHandle);
    void ClearEntries();

    std::string FLibFile;
    void* FHandle = nullptr;
    bool FFixuped = false;
    std::string FLastErrMsg;
};

// The installed SDL 1.2 library: the "LibAV" folder beside the executable first, then the system's folders.
// Empty when none is found.
std::string SDLLibrarySource();
// Copies the installed SDL library to ADestFile (replaced as a whole, so a copy another player has open keeps its
// own file). False with the reason in AError.
bool CopySDLLibrary(const std::string& ADestFile, std::string& AError);
