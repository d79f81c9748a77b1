/* The binary interface of frame-hook plug-ins ("vhook"), for the plug-ins themselves: plain C, no other header
 * of this program needed.
 *
 * A plug-in is a shared library that exports, with C linkage:
 *
 *   int  Configure(void** ctx, int argc, char* argv[]);
 *       Optional when the hook takes no arguments, required otherwise. argv[0] is the path the plug-in was loaded
 *       from, argv[1..argc-1] its arguments; argv[argc] is NULL. Stores the hook's own context in *ctx (which
 *       starts NULL) and answers 0 on success; any other answer refuses the hook.
 *
 *   void Process(void* ctx, QuennaryHookPicture* picture, int pix_fmt, int width, int height, int64_t pts);
 *       Required. Called on the conversion thread for every decoded picture, in the order the hooks were added.
 *       The picture may be changed in place (its planes are writable); the plane pointers and line sizes must
 *       stay as they are. pix_fmt is an AVPixelFormat of the FFmpeg 5.1 headers (0 = yuv420p), pts the picture's
 *       time in microseconds. Must not keep the picture after it returns.
 *
 *   void Release(void* ctx);
 *       Optional. Called once at the end of the conversion with the context Configure made.
 *
 * One library added several times is loaded once; every addition gets its own context. Libraries stay loaded
 * until the process ends.
 */
#ifndef QUENNARY_FRAME_HOOK_ABI_H
#define QUENNARY_FRAME_HOOK_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Four planes and their line sizes in bytes, as laid out by the decoder. */
typedef struct QuennaryHookPicture {
    uint8_t* data[4];
    int linesize[4];
} QuennaryHookPicture;

typedef int (*TFrameHookConfigureFn)(void** ctx, int argc, char* argv[]);
typedef void (*TFrameHookProcessFn)(void* ctx, QuennaryHookPicture* picture, int pix_fmt, int width, int height,
                                    int64_t pts);
typedef void (*TFrameHookReleaseFn)(void* ctx);

#ifdef __cplusplus
}
#endif

#endif
