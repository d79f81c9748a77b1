// A frame-hook plug-in for the tests, built in several flavours: HOOK_NO_RELEASE, HOOK_NO_PROCESS and
// HOOK_NO_CONFIGURE leave that entry point out. Process inverts the luma plane of 8-bit planar pictures.
// Configure refuses the argument "fail". The counters tell the tests how the library was used.
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "media/transcode/frame_hook_abi.h"

namespace {

struct THookContext {
    int Id;
};

int Configured = 0;
int Released = 0;
int Processed = 0;
void* LastContexts[2] = {nullptr, nullptr};

}  // namespace

extern "C" {

#ifndef HOOK_NO_CONFIGURE
__attribute__((visibility("default"))) int Configure(void** ctx, int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "fail") == 0) return 1;
#ifdef HOOK_NO_RELEASE
    // Nobody gives this one back: it must not be the heap's.
    static THookContext contexts[64];
    THookContext* context = &contexts[Configured % 64];
#else
    auto* context = static_cast<THookContext*>(std::malloc(sizeof(THookContext)));
#endif
    context->Id = ++Configured;
    LastContexts[0] = LastContexts[1];
    LastContexts[1] = context;
    *ctx = context;
    return 0;
}
#endif

#ifndef HOOK_NO_PROCESS
__attribute__((visibility("default"))) void Process(void* ctx, QuennaryHookPicture* picture, int pix_fmt, int width,
                                                     int height, int64_t pts)
{
    (void)ctx;
    (void)pix_fmt;
    (void)pts;
    ++Processed;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture->data[0] + static_cast<ptrdiff_t>(y) * picture->linesize[0];
        for (int x = 0; x < width; ++x) row[x] = static_cast<uint8_t>(255 - row[x]);
    }
}
#endif

#ifndef HOOK_NO_RELEASE
__attribute__((visibility("default"))) void Release(void* ctx)
{
    ++Released;
    std::free(ctx);
}
#endif

__attribute__((visibility("default"))) int HookConfigured() { return Configured; }
__attribute__((visibility("default"))) int HookReleased() { return Released; }
__attribute__((visibility("default"))) int HookProcessed() { return Processed; }
__attribute__((visibility("default"))) int HookContextsDiffer()
{
    return LastContexts[0] != nullptr && LastContexts[1] != nullptr && LastContexts[0] != LastContexts[1];
}

}  // extern "C"
