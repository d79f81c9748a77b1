#include "skin/core/zlib_streams.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<Byte> Bytes(TMemoryStream& s)
{
    const Byte* p = static_cast<const Byte*>(s.Memory());
    return {p, p + s.Size()};
}

void Fill(TMemoryStream& s, const std::vector<Byte>& data)
{
    s.Clear();
    if (!data.empty()) s.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

std::vector<Byte> Sample(size_t size, bool compressible, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<Byte> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = compressible ? static_cast<Byte>("skin picture "[i % 13]) : rng();
    return data;
}

TEST(CompressionStreams, RoundTripsWhateverTheSizeAndStartingPosition)
{
    const struct { size_t size; bool compressible; } cases[] = {
        {0, false}, {1, false}, {4095, true}, {8192, false}, {8193, true}, {100000, false}, {1 << 20, false},
        {1 << 20, true}};
    unsigned seed = 1;
    for (const auto c : cases) {
        const std::vector<Byte> data = Sample(c.size, c.compressible, seed++);
        TMemoryStream source, packed, unpacked;
        Fill(source, data);
        source.SetPosition(static_cast<Int64>(c.size / 2));  // both routines start at 0 anyway
        CompressStream(&source, &packed);
        ASSERT_GE(packed.Size(), 8) << c.size;
        EXPECT_EQ(static_cast<const Byte*>(packed.Memory())[0], 0x78);
        packed.SetPosition(packed.Size());
        DecompressStream(&unpacked, &packed);
        EXPECT_EQ(Bytes(unpacked), data) << c.size;
    }
}

TEST(CompressionStreams, EmptySourceStillMakesACompleteStream)
{
    TMemoryStream source, packed, unpacked;
    CompressStream(&source, &packed);
    const std::vector<Byte> expected = {0x78, 0xDA, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(Bytes(packed), expected);
    DecompressStream(&unpacked, &packed);
    EXPECT_EQ(unpacked.Size(), 0);
}

TEST(CompressionStreams, TruncatedOrDamagedDataRaises)
{
    TMemoryStream source, packed;
    Fill(source, Sample(50000, false, 9));
    CompressStream(&source, &packed);
    const std::vector<Byte> whole = Bytes(packed);
    for (const size_t keep : {size_t{0}, size_t{1}, size_t{2}, whole.size() / 2, whole.size() - 4, whole.size() - 1}) {
        TMemoryStream cut, out;
        Fill(cut, std::vector<Byte>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(keep)));
        EXPECT_THROW(DecompressStream(&out, &cut), EDecompressionError) << "kept " << keep;
    }
    // A header that asks for a preset dictionary must not leave the reader waiting for one.
    TMemoryStream needs_dictionary, unused;
    Fill(needs_dictionary, {0x78, 0xBB, 0x00, 0x00, 0x00, 0x01, 0x03, 0x00});
    EXPECT_THROW(DecompressStream(&unused, &needs_dictionary), EDecompressionError);

    std::vector<Byte> damaged = whole;
    damaged[0] = 0x12;  // not a zlib header
    TMemoryStream bad, out;
    Fill(bad, damaged);
    try {
        DecompressStream(&out, &bad);
        FAIL() << "damaged data was accepted";
    } catch (const EDecompressionError& e) {
        EXPECT_STREQ(e.what(), "compression error");
    }
}

TEST(CompressionStreams, InvalidOperationsRaise)
{
    TMemoryStream dest, source;
    TCompressionStream compressor(clDefault, &dest);
    Byte b[4] = {1, 2, 3, 4};
    compressor.WriteBuffer(b, 4);
    EXPECT_EQ(compressor.Seek(0, soFromCurrent), 4);
    const std::vector<std::function<void()>> compressor_misuse = {
        [&] { compressor.Seek(1, soFromCurrent); }, [&] { compressor.Seek(0, soFromBeginning); },
        [&] { compressor.Read(b, 1); }};
    for (const auto& misuse : compressor_misuse) {
        try {
            misuse();
            FAIL() << "accepted";
        } catch (const ECompressionError& e) {
            EXPECT_STREQ(e.what(), "Invalid stream operation");
        }
    }

    Fill(source, Sample(20000, true, 3));
    TMemoryStream packed;
    CompressStream(&source, &packed);
    packed.SetPosition(0);
    TDecompressionStream decompressor(&packed);
    EXPECT_EQ(decompressor.Seek(10, soFromBeginning), 10);
    EXPECT_EQ(decompressor.Seek(5, soFromCurrent), 15);
    const std::vector<std::function<void()>> decompressor_misuse = {
        [&] { decompressor.Seek(-1, soFromCurrent); }, [&] { decompressor.Seek(15, soFromBeginning); },
        [&] { decompressor.Seek(0, soFromEnd); }, [&] { decompressor.Write(b, 1); }};
    for (const auto& misuse : decompressor_misuse) {
        try {
            misuse();
            FAIL() << "accepted";
        } catch (const EDecompressionError& e) {
            EXPECT_STREQ(e.what(), "Invalid stream operation");
        }
    }
    EXPECT_THROW(decompressor.Seek(30000, soFromCurrent), EReadError);  // skipping past the end of the data
}

TEST(CompressionStreams, DecompressionStartsOverWhereTheDataBeganAndEndsWithZero)
{
    TMemoryStream source, packed;
    const std::vector<Byte> data = Sample(30000, false, 5);
    Fill(source, data);
    const Byte prefix[3] = {'a', 'b', 'c'};
    packed.WriteBuffer(prefix, 3);  // the compressed block does not start at 0
    {
        TCompressionStream compressor(clFastest, &packed);
        compressor.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
        compressor.Finish();
        EXPECT_GT(compressor.CompressionRate(), -1.0f);
    }
    packed.SetPosition(3);
    TDecompressionStream decompressor(&packed);
    int progress_calls = 0;
    decompressor.OnProgress = [&](TObject*) { ++progress_calls; };
    std::vector<Byte> first(100), again(100), rest(data.size());
    decompressor.ReadBuffer(first.data(), 100);
    EXPECT_EQ(decompressor.Seek(0, soFromBeginning), 0);
    decompressor.ReadBuffer(again.data(), 100);
    EXPECT_EQ(again, first);
    EXPECT_EQ(decompressor.Read(rest.data(), static_cast<Int64>(rest.size())), static_cast<Int64>(data.size() - 100));
    Byte tail[10];
    EXPECT_EQ(decompressor.Read(tail, 10), 0);
    EXPECT_GT(progress_calls, 0);
    rest.resize(data.size() - 100);
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), data.begin() + 100));
}

TEST(CompressionStreams, CompressionRateOfRepetitiveData)
{
    TMemoryStream dest;
    TCompressionStream compressor(clMax, &dest);
    EXPECT_EQ(compressor.CompressionRate(), 0.0f);
    const std::vector<Byte> data = Sample(100000, true, 1);
    compressor.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
    compressor.Finish();
    EXPECT_GT(compressor.CompressionRate(), 90.0f);
}

}  // namespace
