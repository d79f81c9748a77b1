// SDL's start-up and shut-down for one playback, into the host panel's native window of the display.
//
// SDL draws into the panel's own window of the display (SDL_WINDOWID) through a display connection of its own and
// takes nothing over: the panel keeps its mouse and keyboard input in the window layer, so there is no window
// procedure to put in front of it, and HijackWndProc has nothing to switch here.
#include <cstdarg>
#include <string>

#include "media/log/ff_logger.h"
#include "media/player/player.h"
#include "platform/rtl/environment.h"
#include "platform/win/backend.h"
#include "platform/win/geometry.h"

namespace {
// A line for FFmpeg's log hook at its debug level, as the library's own lines arrive.
void LogAVDebug(const char* AFormat, ...) __attribute__((format(printf, 1, 2)));
void LogAVDebug(const char* AFormat, ...)
{
    va_list args;
    va_start(args, AFormat);
    FFLogHook(nullptr, 48, AFormat, args);
    va_end(args);
}
}  // namespace

const char* TCustomPlayer::AudioDriverName(TAudioDriver ADriver)
{
    // The Windows drivers do not exist here: the sound server and the plain sound card stand in for them.
    switch (ADriver) {
    case adDirectSound: return "pulse";
    case adWaveOut: return "alsa";
    case adDefault: break;
    }
    return "";
}

const char* TCustomPlayer::VideoDriverName(TVideoDriver ADriver)
{
    // Both Windows drivers draw into windows of the desktop: here that is the X11 driver.
    switch (ADriver) {
    case vdDirectDraw:
    case vdGDI: return "x11";
    case vdDefault: break;
    }
    return "";
}

void TCustomPlayer::SetDriverVariables()
{
    // An empty variable would name no driver at all here: the defaults leave SDL's own choice (or the user's) alone.
    if (const char* audio = AudioDriverName(FAudioDriver); *audio != 0) SetEnvironmentVariable("SDL_AUDIODRIVER", audio);
    if (const char* video = VideoDriverName(FVideoDriver); *video != 0) SetEnvironmentVariable("SDL_VIDEODRIVER", video);
}

// Runs with SDLLibLock held: SDL reads the process environment while it starts.
bool TCustomPlayer::InitSDL(uintptr_t AWindowId)
{
    // SDL_putenv is absent here and the variable is set by value, so one attempt is all there is.
    if (AWindowId != 0) SetEnvironmentVariable("SDL_WINDOWID", std::to_string(AWindowId));
    const bool ok = FSDL.SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) == 0;
    if (AWindowId != 0) UnsetEnvironmentVariable("SDL_WINDOWID");
    {
        std::lock_guard guard(FSDLStateLock);
        FSDLStarted = ok;
    }
    if (!ok) return false;
    char name[256];
    if (FSDL.SDL_AudioDriverName(name, sizeof name) != nullptr) LogAVDebug("using audio driver: %s\n", name);
    if (FSDL.SDL_VideoDriverName(name, sizeof name) != nullptr) LogAVDebug("using video driver: %s\n", name);
    return true;
}

// SDL gives the panel's window back: the window of the display it drew into goes, and the panel shows its own
// picture again (an idle picture, its colour). The per-play options return to their defaults.
void TCustomPlayer::QuitSDL()
{
    bool released = false;
    {
        std::lock_guard guard(FSDLStateLock);
        if (FSDLStarted && FSDL.SDL_Quit != nullptr) FSDL.SDL_Quit();
        released = FSDLStarted && FScreenWindowId != 0;
        FSDLStarted = false;
    }
    if (released) win::ReleaseNativeWindow(FScreenHandle);
    ResetPlayState();
}

void TCustomPlayer::UpdateScreenPosition()
{
    // The window layer keeps SDL's window at the panel's place and size; SDL is told of a new size only when the
    // display reports it, which may come late or not at all (a size SDL saw before). So the panel's size is taken
    // here and the picture laid out again at once; a paused picture is drawn again after a move.
    TStateAccess is(*this);
    if (!is || FScreenHandle == nullptr) return;
    TRect client{};
    if (!Fis_full_screen && win::GetClientRect(FScreenHandle, client) && client.Width() > 0 && client.Height() > 0 &&
        (client.Width() != FScreenWidth || client.Height() != FScreenHeight)) {
        FScreenWidth = client.Width();
        FScreenHeight = client.Height();
        PushEvent(SDL_USEREVENT + 3, is.get());  // re-layout: new video mode, redraw
    } else if (is->paused) {
        PushEvent(SDL_VIDEOEXPOSE, is.get());
    }
}
