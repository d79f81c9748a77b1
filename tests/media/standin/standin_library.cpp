// A stand-in for the scaling library: every entry of the engine's list as an empty function, and a version
// function answering STANDIN_VERSION. The build renames one entry (-D<entry>=...) to leave it out.
#include "media/loader/entry_points.h"

#define swscale_version standin_version_slot
#define STANDIN_ENTRY(name, optional) \
    extern "C" __attribute__((visibility("default"))) void name() {}
QUENNARY_SWSCALE_ENTRIES(STANDIN_ENTRY)
#undef swscale_version

extern "C" __attribute__((visibility("default"))) unsigned swscale_version() { return STANDIN_VERSION; }
