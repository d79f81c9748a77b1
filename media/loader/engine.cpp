#include "media/loader/engine.h"

#include "media/loader/interrupt_registry.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "media/util/media_utils.h"

#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

namespace {
#if defined(__x86_64__) || defined(__i386__)
// All x87 exceptions masked, 64-bit precision, round to nearest (SSE arithmetic masks them already).
constexpr fpu_control_t MediaControlWord = 0x133F;
fpu_control_t SavedControlWord = 0;
#endif
bool Started = false;
}  // namespace

void StartMediaEngine()
{
    if (Started) return;
    FFLoader = new TFFLoader();
    InterruptCB = new TInterruptCB();
    // The program's own copies come first; without them the system's libraries are used.
    TFFLoader::SetLibraryPath(GetExeFolder() + "LibAV");
#if defined(__x86_64__) || defined(__i386__)
    _FPU_GETCW(SavedControlWord);
    fpu_control_t word = MediaControlWord;
    _FPU_SETCW(word);
#endif
    Started = true;
}

void StopMediaEngine()
{
    if (!Started) return;
#if defined(__x86_64__) || defined(__i386__)
    _FPU_SETCW(SavedControlWord);
#endif
    FFLoader->Unload(AllLibraries);
    delete FFLoader;
    FFLoader = nullptr;
    delete InterruptCB;
    InterruptCB = nullptr;
    TFFLoader::ResetState();
    ShutdownLogger();
    Started = false;
}

bool MediaEngineStarted() { return Started; }
