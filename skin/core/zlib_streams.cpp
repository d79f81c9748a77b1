#include "skin/core/zlib_streams.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr const char* kInvalidOperation = "Invalid stream operation";

int CompressionCheck(int ACode)
{
    if (ACode < 0) throw ECompressionError("error");
    return ACode;
}

int DecompressionCheck(int ACode)
{
    // A stream that asks for a preset dictionary cannot be ours, and inflate would make no progress on it.
    if (ACode < 0 || ACode == Z_NEED_DICT) throw EDecompressionError("compression error");
    return ACode;
}

int ZlibLevel(TCompressionLevel ALevel)
{
    switch (ALevel) {
        case clNone: return 0;
        case clFastest: return 1;
        case clMax: return 9;
        case clDefault: break;
    }
    return Z_DEFAULT_COMPRESSION;
}

// zlib counts in 32-bit units; larger transfers go through in slices.
constexpr Int64 kMaxSlice = std::numeric_limits<uInt>::max() / 2;

}  // namespace

TCustomZlibStream::TCustomZlibStream(TStream* Strm) : FStrm(Strm), FStrmPos(Strm->Position()) {}

void TCustomZlibStream::Progress(TObject* Sender)
{
    if (OnProgress) OnProgress(Sender);
}

// ---- compression ----------------------------------------------------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest) : TCustomZlibStream(Dest)
{
    FZRec.next_out = FBuffer;
    FZRec.avail_out = BufferSize;
    CompressionCheck(deflateInit(&FZRec, ZlibLevel(CompressionLevel)));
}

TCompressionStream::~TCompressionStream()
{
    try {
        Finish();
    } catch (...) {
        // A destructor cannot report; callers that care call Finish first.
    }
    deflateEnd(&FZRec);
}

void TCompressionStream::ReturnDestination()
{
    if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
}

void TCompressionStream::WriteWindow(Int64 ACount)
{
    FStrm->WriteBuffer(FBuffer, ACount);
    FZRec.next_out = FBuffer;
    FZRec.avail_out = BufferSize;
    FStrmPos = FStrm->Position();
}

Int64 TCompressionStream::Read(void*, Int64) { throw ECompressionError(kInvalidOperation); }

Int64 TCompressionStream::Write(const void* Buffer, Int64 Count)
{
    if (FFinished) throw ECompressionError(kInvalidOperation);
    if (Count <= 0) return 0;
    ReturnDestination();
    const Byte* next = static_cast<const Byte*>(Buffer);
    Int64 left = Count;
    while (left > 0) {
        const Int64 slice = std::min(left, kMaxSlice);
        FZRec.next_in = const_cast<Byte*>(next);
        FZRec.avail_in = static_cast<uInt>(slice);
        while (FZRec.avail_in > 0) {
            CompressionCheck(deflate(&FZRec, Z_NO_FLUSH));
            if (FZRec.avail_out == 0) {
                WriteWindow(BufferSize);
                Progress(this);
            }
        }
        next += slice;
        left -= slice;
    }
    return Count;
}

Int64 TCompressionStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    if (Offset == 0 && Origin == soFromCurrent) return static_cast<Int64>(FZRec.total_in);
    throw ECompressionError(kInvalidOperation);
}

float TCompressionStream::CompressionRate() const
{
    if (FZRec.total_in == 0) return 0;
    return static_cast<float>((1.0 - static_cast<double>(FZRec.total_out) / FZRec.total_in) * 100.0);
}

void TCompressionStream::Finish()
{
    if (FFinished) return;
    FFinished = true;
    FZRec.next_in = nullptr;
    FZRec.avail_in = 0;
    ReturnDestination();
    while (CompressionCheck(deflate(&FZRec, Z_FINISH)) != Z_STREAM_END && FZRec.avail_out == 0)
        WriteWindow(BufferSize);
    if (FZRec.avail_out < BufferSize) WriteWindow(BufferSize - FZRec.avail_out);
}

// ---- decompression --------------------------------------------------------------------------------------------

TDecompressionStream::TDecompressionStream(TStream* Source) : TCustomZlibStream(Source), FStartPos(FStrmPos)
{
    FZRec.next_in = FBuffer;
    FZRec.avail_in = 0;
    DecompressionCheck(inflateInit(&FZRec));
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&FZRec); }

Int64 TDecompressionStream::Read(void* Buffer, Int64 Count)
{
    if (Count <= 0 || FEndOfData) return 0;
    if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
    Byte* next = static_cast<Byte*>(Buffer);
    Int64 delivered = 0;
    while (delivered < Count) {
        const Int64 slice = std::min(Count - delivered, kMaxSlice);
        FZRec.next_out = next + delivered;
        FZRec.avail_out = static_cast<uInt>(slice);
        while (FZRec.avail_out > 0) {
            if (FZRec.avail_in == 0) {
                FZRec.avail_in = static_cast<uInt>(FStrm->Read(FBuffer, BufferSize));
                if (FZRec.avail_in == 0) {
                    // The source ended inside the compressed data: the stream was cut short.
                    throw EDecompressionError("compression error");
                }
                FZRec.next_in = FBuffer;
                FStrmPos = FStrm->Position();
                Progress(this);
            }
            if (DecompressionCheck(inflate(&FZRec, Z_NO_FLUSH)) == Z_STREAM_END) {
                FEndOfData = true;
                delivered += slice - FZRec.avail_out;
                return delivered;
            }
        }
        delivered += slice;
    }
    return delivered;
}

Int64 TDecompressionStream::Write(const void*, Int64) { throw EDecompressionError(kInvalidOperation); }

void TDecompressionStream::Skip(Int64 ACount)
{
    std::vector<Byte> scratch(BufferSize);
    for (; ACount >= BufferSize; ACount -= BufferSize) ReadBuffer(scratch.data(), BufferSize);
    if (ACount > 0) ReadBuffer(scratch.data(), ACount);
}

Int64 TDecompressionStream::Seek(Int64 Offset, TSeekOrigin Origin)
{
    const Int64 delivered = static_cast<Int64>(FZRec.total_out);
    if (Offset == 0 && Origin == soFromBeginning) {
        DecompressionCheck(inflateReset(&FZRec));
        FZRec.next_in = FBuffer;
        FZRec.avail_in = 0;
        FEndOfData = false;
        // Back to where the data began, which need not be the start of the source.
        FStrm->SetPosition(FStartPos);
        FStrmPos = FStartPos;
    } else if (Origin == soFromCurrent && Offset >= 0) {
        Skip(Offset);
    } else if (Origin == soFromBeginning && Offset > delivered) {
        Skip(Offset - delivered);
    } else {
        throw EDecompressionError(kInvalidOperation);
    }
    return static_cast<Int64>(FZRec.total_out);
}

// ---- whole streams --------------------------------------------------------------------------------------------

void CompressStream(TStream* Source, TStream* Dest)
{
    TCompressionStream compressor(clMax, Dest);
    Source->SetPosition(0);
    compressor.CopyFrom(Source, 0);
    compressor.Finish();
}

void DecompressStream(TStream* Dest, TStream* Source)
{
    Source->SetPosition(0);
    TDecompressionStream decompressor(Source);
    Byte piece[4096];
    for (;;) {
        const Int64 count = decompressor.Read(piece, sizeof piece);
        if (count == 0) break;
        Dest->WriteBuffer(piece, count);
    }
}
