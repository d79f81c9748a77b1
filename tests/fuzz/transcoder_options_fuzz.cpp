// The transcoder's option values: "name=value" lines (as a format's extra parameters in Formats.dat carry them)
// applied to a transcoder with the media libraries loaded; the first byte chooses the output flavour.
#include <cstdint>
#include <string>

#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/transcode/custom_ffmpeg.h"
#include "platform/rtl/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    static const bool loaded = [] {
        StartMediaEngine();
        const bool ok = FFLoader->Load(AllLibraries);
        if (ok) ff::av_log_set_level(AV_LOG_QUIET);
        return ok;
    }();
    if (!loaded || ASize < 1) return 0;
    TCustomFFmpeg engine(4);
    try {
        engine.ApplyExtOptions(std::string(reinterpret_cast<const char*>(AData + 1), ASize - 1), AData[0] & 1);
    } catch (const Exception&) {
    }
    return 0;
}
