#include "platform/rtl/streams.h"

#include "platform/rtl/sysutils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// ---- TStream ---------------------------------------------------------------------------------------------------

void TStream::ReadBuffer(void* ABuffer, Int64 ACount)
{
    if (ACount != 0 && Read(ABuffer, ACount) != ACount) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* ABuffer, Int64 ACount)
{
    if (ACount != 0 && Write(ABuffer, ACount) != ACount) throw EWriteError("Stream write error");
}

Int64 TStream::CopyFrom(TStream* ASource, Int64 ACount)
{
    if (ACount == 0) {
        ASource->SetPosition(0);
        ACount = ASource->Size();
    }
    Int64 result = ACount;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<Int64>(ACount, 0xF000)));
    while (ACount > 0) {
        Int64 n = std::min<Int64>(ACount, static_cast<Int64>(buffer.size()));
        ASource->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        ACount -= n;
    }
    return result;
}

Int64 TStream::Size()
{
    Int64 pos = Seek(0, soCurrent);
    Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

// ---- THandleStream / TFileStream -------------------------------------------------------------------------------

Int64 THandleStream::Read(void* ABuffer, Int64 ACount)
{
    if (ACount <= 0) return 0;
    auto* p = static_cast<uint8_t*>(ABuffer);
    Int64 done = 0;
    while (done < ACount) {
        ssize_t n = ::read(FHandle, p + done, static_cast<size_t>(ACount - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

Int64 THandleStream::Write(const void* ABuffer, Int64 ACount)
{
    if (ACount <= 0) return 0;
    auto* p = static_cast<const uint8_t*>(ABuffer);
    Int64 done = 0;
    while (done < ACount) {
        ssize_t n = ::write(FHandle, p + done, static_cast<size_t>(ACount - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

Int64 THandleStream::Seek(Int64 AOffset, TSeekOrigin AOrigin)
{
    int whence = AOrigin == soBeginning ? SEEK_SET : AOrigin == soCurrent ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(FHandle, static_cast<off_t>(AOffset), whence);
    return r < 0 ? -1 : static_cast<Int64>(r);
}

void THandleStream::SetSize(Int64 ANewSize)
{
    Seek(ANewSize, soBeginning);
    if (::ftruncate(FHandle, static_cast<off_t>(ANewSize)) != 0) {
        throw EStreamError("Stream write error. " + SysErrorMessage(errno));
    }
}

TFileStream::TFileStream(const std::string& AFileName, Word AMode) : THandleStream(-1), FFileName(AFileName)
{
    if ((AMode & fmCreate) == fmCreate) {
        FHandle = ::open(AFileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0) {
            int error = errno;
            throw EFCreateError("Cannot create file \"" + ExpandFileName(AFileName) + "\". " + SysErrorMessage(error));
        }
        return;
    }
    int access = (AMode & 3) == fmOpenWrite ? O_WRONLY : (AMode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    FHandle = ::open(AFileName.c_str(), access | O_CLOEXEC);
    int error = errno;
    if (FHandle >= 0) {
        // A folder opens on POSIX but is no file to stream.
        struct stat st{};
        if (fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(FHandle);
            FHandle = -1;
            error = EISDIR;
        }
    }
    if (FHandle < 0) {
        throw EFOpenError("Cannot open file \"" + ExpandFileName(AFileName) + "\". " + SysErrorMessage(error));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) ::close(FHandle);
}

// ---- TMemoryStream ---------------------------------------------------------------------------------------------

Int64 TMemoryStream::Read(void* ABuffer, Int64 ACount)
{
    if (ACount <= 0 || FPosition < 0 || FPosition >= Size()) return 0;
    Int64 n = std::min(ACount, Size() - FPosition);
    std::memcpy(ABuffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

Int64 TMemoryStream::Write(const void* ABuffer, Int64 ACount)
{
    if (ACount <= 0 || FPosition < 0) return 0;
    Int64 end = FPosition + ACount;
    if (end > Size()) FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, ABuffer, static_cast<size_t>(ACount));
    FPosition = end;
    return ACount;
}

Int64 TMemoryStream::Seek(Int64 AOffset, TSeekOrigin AOrigin)
{
    Int64 base = AOrigin == soBeginning ? 0 : AOrigin == soCurrent ? FPosition : Size();
    FPosition = base + AOffset;
    return FPosition;
}

void TMemoryStream::SetSize(Int64 ANewSize)
{
    if (ANewSize < 0) ANewSize = 0;
    FData.resize(static_cast<size_t>(ANewSize));
    if (FPosition > ANewSize) FPosition = ANewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* AStream)
{
    AStream->SetPosition(0);
    Int64 size = AStream->Size();
    SetSize(size);
    if (size != 0) AStream->ReadBuffer(FData.data(), size);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& AFileName)
{
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TMemoryStream::SaveToStream(TStream* AStream)
{
    if (!FData.empty()) AStream->WriteBuffer(FData.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string& AFileName)
{
    TFileStream stream(AFileName, fmCreate);
    SaveToStream(&stream);
}

// ---- TStringStream ---------------------------------------------------------------------------------------------

TStringStream::TStringStream(const std::string& AString)
{
    FData.assign(AString.begin(), AString.end());
}

std::string TStringStream::DataString() const { return std::string(FData.begin(), FData.end()); }

std::string TStringStream::ReadString(Int64 ACount)
{
    Int64 n = std::max<Int64>(0, std::min(ACount, Size() - FPosition));
    std::string s(static_cast<size_t>(n), '\0');
    if (n > 0) Read(s.data(), n);
    return s;
}

void TStringStream::WriteString(const std::string& AString)
{
    Write(AString.data(), static_cast<Int64>(AString.size()));
}
