#pragma once
// Byte streams: the abstract TStream, files through a POSIX descriptor, growable memory, and strings.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <cstdint>
#include <string>
#include <vector>

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
inline constexpr TSeekOrigin soFromBeginning = soBeginning;
inline constexpr TSeekOrigin soFromCurrent = soCurrent;
inline constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
public:
    // Transfer up to ACount bytes; the result is the count moved, which may be short.
    virtual Int64 Read(void* ABuffer, Int64 ACount) = 0;
    virtual Int64 Write(const void* ABuffer, Int64 ACount) = 0;
    virtual Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) = 0;

    // Transfer exactly ACount bytes or raise EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* ABuffer, Int64 ACount);
    void WriteBuffer(const void* ABuffer, Int64 ACount);
    // Copies ACount bytes from the current position of ASource; 0 copies all of ASource from its start.
    Int64 CopyFrom(TStream* ASource, Int64 ACount);

    Int64 Position() { return Seek(0, soCurrent); }
    void SetPosition(Int64 AValue) { Seek(AValue, soBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 ANewSize);
};

// Open modes and share modes of TFileStream; share modes are accepted and have no effect here.
inline constexpr Word fmCreate = 0xFF00;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

// A stream over a file descriptor it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}
    Int64 Read(void* ABuffer, Int64 ACount) override;
    Int64 Write(const void* ABuffer, Int64 ACount) override;
    Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) override;
    // Cuts or extends the file and leaves the position at the new end, as the class library does.
    void SetSize(Int64 ANewSize) override;
    int Handle() const { return FHandle; }

protected:
    int FHandle;
};

// Raises EFCreateError "Cannot create file "%s". %s" or EFOpenError "Cannot open file "%s". %s".
class TFileStream : public THandleStream {
public:
    TFileStream(const std::string& AFileName, Word AMode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
};

// A stream held in memory; seeking past the end is allowed and a write there fills the gap with zeros.
class TMemoryStream : public TStream {
public:
    Int64 Read(void* ABuffer, Int64 ACount) override;
    Int64 Write(const void* ABuffer, Int64 ACount) override;
    Int64 Seek(Int64 AOffset, TSeekOrigin AOrigin) override;
    Int64 Size() override { return static_cast<Int64>(FData.size()); }
    void SetSize(Int64 ANewSize) override;

    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void Clear();
    void LoadFromStream(TStream* AStream);
    void LoadFromFile(const std::string& AFileName);
    void SaveToStream(TStream* AStream);
    void SaveToFile(const std::string& AFileName);

protected:
    std::vector<uint8_t> FData;
    Int64 FPosition = 0;
};

// A memory stream whose bytes are read and written as a string.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const std::string& AString = "");
    std::string DataString() const;
    // Up to ACount bytes from the position.
    std::string ReadString(Int64 ACount);
    void WriteString(const std::string& AString);
};
