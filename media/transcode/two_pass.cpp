#include "media/transcode/two_pass.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "media/loader/av_bindings.h"
#include "media/transcode/transcode_types.h"
#include "media/util/text_format.h"

std::string PassLogFileName(const std::string& APrefix, int AIndex)
{
    std::string name = StrFormat("%s-%d.log", APrefix.empty() ? "ffmpeg2pass" : APrefix.c_str(), AIndex);
    if (name.size() > 1023) name.resize(1023);
    return name;
}

bool EncoderKeepsItsPassLog(const AVCodec* ACodec)
{
    return ACodec != nullptr && std::strncmp(ACodec->name, "libx264", 7) == 0;
}

std::string ReadPassLog(const std::string& AFileName)
{
    FILE* file = std::fopen(AFileName.c_str(), "rb");
    std::string text;
    bool failed = file == nullptr;
    try {
        char buffer[65536];
        size_t count;
        while (!failed && (count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, count);
        failed = failed || std::ferror(file) != 0;
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        throw FFmpegException(StrFormat(
            "Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding", AFileName.c_str()));
    }
    if (file != nullptr) std::fclose(file);
    if (failed)
        throw FFmpegException(
            StrFormat("Cannot read file: Error reading log file \"%s\" for pass-2 encoding", AFileName.c_str()));
    return text;
}
