#include "media/transcode/sdp.h"

#include <cstring>

#include "media/loader/av_bindings.h"
#include "platform/rtl/sysutils.h"

bool AllFormatsAreRtp(const std::vector<AVFormatContext*>& AFiles)
{
    if (AFiles.empty()) return false;
    for (const AVFormatContext* file : AFiles)
        if (file == nullptr || file->oformat == nullptr || std::strcmp(file->oformat->name, "rtp") != 0) return false;
    return true;
}

std::string SessionDescription(std::vector<AVFormatContext*>& AFiles)
{
    char buffer[2048] = {};
    if (ff::av_sdp_create(AFiles.data(), static_cast<int>(AFiles.size()), buffer, sizeof(buffer)) < 0) return {};
    return Trim(std::string(buffer));
}
