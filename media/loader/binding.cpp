#include "media/loader/binding.h"

#include <dlfcn.h>

#include "media/loader/av_bindings.h"
#include "media/util/text_format.h"
#include "platform/rtl/exceptions.h"

void* BindAddress(const std::string& ALibName, void* AHandle, const char* AName, bool AOptional, bool AVariable)
{
    dlerror();
    void* address = dlsym(AHandle, AName);
    if (address == nullptr && !AOptional) {
        const char* reason = dlerror();
        throw Exception(StrFormat(AVariable ? "Load variable %s@%s error: %s" : "Load function %s@%s error: %s",
                                  AName, ALibName.c_str(), reason ? reason : "symbol not found"));
    }
    return address;
}

namespace {

// A library built for another major version has other structure layouts than our headers describe; calling it
// would corrupt memory, so it is refused like a missing library.
void CheckMajor(const std::string& ALibName, unsigned AVersion, int AExpectedMajor)
{
    const int major = static_cast<int>(AV_VERSION_MAJOR(AVersion));
    if (major != AExpectedMajor)
        throw Exception(StrFormat("Load library %s error: major version %d, expected %d", ALibName.c_str(), major,
                                  AExpectedMajor));
}

#define QUENNARY_BIND_SLOT(name, optional) BindFunction(ALibName, AHandle, #name, optional, ff::name);
#define QUENNARY_CLEAR_SLOT(name, optional) ff::name = nullptr;

}  // namespace

void FixupAVUtil(const std::string& ALibName, void* AHandle)
{
    QUENNARY_AVUTIL_ENTRIES(QUENNARY_BIND_SLOT)
    CheckMajor(ALibName, ff::avutil_version(), LIBAVUTIL_VERSION_MAJOR);
}
void FixupSwResample(const std::string& ALibName, void* AHandle)
{
    QUENNARY_SWRESAMPLE_ENTRIES(QUENNARY_BIND_SLOT)
    CheckMajor(ALibName, ff::swresample_version(), LIBSWRESAMPLE_VERSION_MAJOR);
}
void FixupSwScale(const std::string& ALibName, void* AHandle)
{
    QUENNARY_SWSCALE_ENTRIES(QUENNARY_BIND_SLOT)
    CheckMajor(ALibName, ff::swscale_version(), LIBSWSCALE_VERSION_MAJOR);
}
void FixupAVCodec(const std::string& ALibName, void* AHandle)
{
    QUENNARY_AVCODEC_ENTRIES(QUENNARY_BIND_SLOT)
    CheckMajor(ALibName, ff::avcodec_version(), LIBAVCODEC_VERSION_MAJOR);
}
void FixupAVFormat(const std::string& ALibName, void* AHandle)
{
    QUENNARY_AVFORMAT_ENTRIES(QUENNARY_BIND_SLOT)
    CheckMajor(ALibName, ff::avformat_version(), LIBAVFORMAT_VERSION_MAJOR);
}
void FixupAVFilter(const std::string& ALibName, void* AHandle)
{
    QUENNARY_AVFILTER_ENTRIES(QUENNARY_BIND_SLOT)
    CheckMajor(ALibName, ff::avfilter_version(), LIBAVFILTER_VERSION_MAJOR);
}

void UnfixAVUtil() { QUENNARY_AVUTIL_ENTRIES(QUENNARY_CLEAR_SLOT) }
void UnfixSwResample() { QUENNARY_SWRESAMPLE_ENTRIES(QUENNARY_CLEAR_SLOT) }
void UnfixSwScale() { QUENNARY_SWSCALE_ENTRIES(QUENNARY_CLEAR_SLOT) }
void UnfixAVCodec() { QUENNARY_AVCODEC_ENTRIES(QUENNARY_CLEAR_SLOT) }
void UnfixAVFormat() { QUENNARY_AVFORMAT_ENTRIES(QUENNARY_CLEAR_SLOT) }
void UnfixAVFilter() { QUENNARY_AVFILTER_ENTRIES(QUENNARY_CLEAR_SLOT) }
