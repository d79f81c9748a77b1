#include "media/decode/unicode_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "media/loader/av_bindings.h"

namespace {

constexpr size_t UnicodeURLPrefixLength = sizeof UnicodeURLPrefix - 1;
constexpr int IOBufferSize = 32768;

struct TUnicodeFile {
    int Handle = -1;
};

int ReadPacket(void* AOpaque, uint8_t* ABuffer, int ASize)
{
    const auto* file = static_cast<TUnicodeFile*>(AOpaque);
    const ssize_t count = ::read(file->Handle, ABuffer, static_cast<size_t>(ASize));
    if (count < 0) return AVERROR(errno);
    // A read of nothing is the end of the file for an I/O context of this library generation.
    return count == 0 ? AVERROR_EOF : static_cast<int>(count);
}

// The header of this library generation declares the write callback with a mutable buffer.
int WritePacket(void* AOpaque, uint8_t* ABuffer, int ASize)
{
    const auto* file = static_cast<TUnicodeFile*>(AOpaque);
    const ssize_t count = ::write(file->Handle, ABuffer, static_cast<size_t>(ASize));
    return count < 0 ? AVERROR(errno) : static_cast<int>(count);
}

int64_t Seek(void* AOpaque, int64_t APosition, int AWhence)
{
    const auto* file = static_cast<TUnicodeFile*>(AOpaque);
    if (AWhence == AVSEEK_SIZE) {
        struct stat info {};
        return fstat(file->Handle, &info) == 0 ? static_cast<int64_t>(info.st_size) : AVERROR(errno);
    }
    const off_t result = lseek(file->Handle, static_cast<off_t>(APosition), AWhence & ~AVSEEK_FORCE);
    return result < 0 ? AVERROR(errno) : static_cast<int64_t>(result);
}

}  // namespace

bool NeedsUnicodeName(const std::string& AName)
{
    const size_t colon = AName.find(':');
    if (colon != std::string::npos) {
        const std::string known = ":unicode:stream:gopher:http:pipe:rtp:tcp:udp:";
        if (known.find(":" + AName.substr(0, colon) + ":") != std::string::npos) return false;
    }
    // Names are UTF-8 through and through: every name survives the round trip the old code page test made.
    return false;
}

bool IsUnicodeURL(const std::string& AText)
{
    return AText.size() > UnicodeURLPrefixLength && AText.compare(0, UnicodeURLPrefixLength, UnicodeURLPrefix) == 0;
}

std::string MakeUnicodeURL(const std::string& AName) { return UnicodeURLPrefix + AName; }

std::string DecodeUnicodeURL(const std::string& AText)
{
    std::string rest = AText;
    for (int i = 0; i < 2; ++i) {
        const size_t colon = rest.find(':');
        if (colon == std::string::npos) return std::string();
        rest.erase(0, colon + 1);
    }
    return rest;
}

std::string FileNameToAnsiURL(const std::string& AName)
{
    return NeedsUnicodeName(AName) ? MakeUnicodeURL(AName) : AName;
}

std::string URLToWideName(const std::string& AText)
{
    return IsUnicodeURL(AText) ? DecodeUnicodeURL(AText) : AText;
}

int UnicodeIOOpen(const std::string& AURL, TUnicodeIOMode AMode, AVIOContext*& AContext)
{
    AContext = nullptr;
    const std::string name = DecodeUnicodeURL(AURL);
    int flags = O_RDONLY;
    if (AMode == uioReadWrite)
        flags = O_RDWR | O_CREAT | O_TRUNC;
    else if (AMode == uioWrite)
        flags = O_WRONLY | O_CREAT | O_TRUNC;
    const int handle = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
    if (handle < 0) return AVERROR(errno);

    auto* file = new TUnicodeFile{handle};
    auto* buffer = static_cast<unsigned char*>(ff::av_malloc(IOBufferSize));
    const bool writing = AMode != uioRead;
    AContext = buffer ? ff::avio_alloc_context(buffer, IOBufferSize, writing ? 1 : 0, file, ReadPacket,
                                               writing ? WritePacket : nullptr, Seek)
                      : nullptr;
    if (AContext == nullptr) {
        ff::av_free(buffer);
        ::close(handle);
        delete file;
        return AVERROR(ENOMEM);
    }
    return 0;
}

void UnicodeIOClose(AVIOContext*& AContext)
{
    if (AContext == nullptr) return;
    auto* file = static_cast<TUnicodeFile*>(AContext->opaque);
    if (AContext->write_flag) ff::avio_flush(AContext);
    // The context's buffer may have been replaced by FFmpeg; free whatever it holds now.
    ff::av_freep(&AContext->buffer);
    ff::avio_context_free(&AContext);
    if (file != nullptr) {
        ::close(file->Handle);
        delete file;
    }
}
