#pragma once
// Stream classes over zlib: a write-only stream that deflates into another stream, a read-only stream that
// inflates from one, and the two routines that pack or unpack a whole stream. The data is a zlib stream (header,
// deflate data, Adler-32 trailer).
#include <zlib.h>

#include <cstdint>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/streams.h"

enum TCompressionLevel { clNone, clFastest, clDefault, clMax };

class EZlibError : public Exception {
public:
    using Exception::Exception;
};
class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};
class EDecompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

class TCustomZlibStream : public TStream {
public:
    TNotifyEvent OnProgress;

protected:
    explicit TCustomZlibStream(TStream* Strm);
    virtual void Progress(TObject* Sender);

    static constexpr int BufferSize = 8192;
    TStream* FStrm;  // not owned
    Int64 FStrmPos;  // where this stream continues in FStrm
    z_stream FZRec{};
    Byte FBuffer[BufferSize];
};

class TCompressionStream final : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest);
    // Completes the data when Finish was not called; a failure then is swallowed, so call Finish to see it.
    ~TCompressionStream() override;
    TCompressionStream(const TCompressionStream&) = delete;
    TCompressionStream& operator=(const TCompressionStream&) = delete;

    Int64 Read(void* Buffer, Int64 Count) override;
    Int64 Write(const void* Buffer, Int64 Count) override;
    // Only (0, soFromCurrent), which gives the number of bytes taken in.
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    float CompressionRate() const;
    // Ends the deflate data and writes the rest of it to Dest; raises the destination's write error.
    void Finish();

private:
    void WriteWindow(Int64 ACount);
    void ReturnDestination();
    bool FFinished = false;
};

class TDecompressionStream final : public TCustomZlibStream {
public:
    explicit TDecompressionStream(TStream* Source);
    ~TDecompressionStream() override;
    TDecompressionStream(const TDecompressionStream&) = delete;
    TDecompressionStream& operator=(const TDecompressionStream&) = delete;

    // Count bytes, or fewer at the end of the data. Source running out before the end of the data raises
    // EDecompressionError: a cut stream is an error, not a short file.
    Int64 Read(void* Buffer, Int64 Count) override;
    Int64 Write(const void* Buffer, Int64 Count) override;
    // (0, soFromBeginning) starts over where the data began; forward moves skip by reading.
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

private:
    void Skip(Int64 ACount);
    Int64 FStartPos;
    bool FEndOfData = false;
};

// The whole of Source (from position 0) as one zlib stream at the best level, written at Dest's position.
void CompressStream(TStream* Source, TStream* Dest);
// The whole of Source (from position 0) inflated into Dest at its position. Note the order: destination first.
void DecompressStream(TStream* Dest, TStream* Source);
