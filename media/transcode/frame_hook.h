#pragma once
// Frame-hook chains: plug-ins (frame_hook_abi.h) loaded by path and run, in the order they were added, on every
// decoded picture of a conversion. A chain belongs to one transcoder and lives until the end of its task.
#include <cstdint>

#include "media/transcode/frame_hook_abi.h"

struct TFrameHookEntry {
    TFrameHookEntry* next = nullptr;
    TFrameHookConfigureFn Configure = nullptr;
    TFrameHookProcessFn Process = nullptr;
    TFrameHookReleaseFn Release = nullptr;
    void* ctx = nullptr;
};

// Loads argv[0] (once per process; names compared ignoring letter case), configures a new entry with the
// arguments and appends it to the chain. Answers 0, or -2 (no arguments, no "Process", no "Configure" while
// arguments are given), -1 (library not loadable), -12 (no memory), -22 ("Configure" refused); failures are
// logged. The library is opened by the path given: the current folder and PATH are left alone.
// The caller's thread; the list of loaded libraries is shared by every thread.
int FrameHookAdd(TFrameHookEntry*& AFirst, int argc, char* argv[]);
// Every hook of the chain in turn, on the conversion thread.
void FrameHookProcess(TFrameHookEntry* AFirst, QuennaryHookPicture* APicture, int APixFmt, int AWidth, int AHeight,
                      int64_t APts);
// Releases every context that has a Release and frees the chain; AFirst becomes nullptr.
void FrameHookRelease(TFrameHookEntry*& AFirst);
