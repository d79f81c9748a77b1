#include "skin/core/stored_skin_zlib.h"

#include <vector>

#include "skin/core/zlib_streams.h"

void PackSkinContent(TMemoryStream* AContent, TMemoryStream* ADest)
{
    AContent->SetPosition(0);
    CompressStream(AContent, ADest);
}

void InflateSkinContent(TMemoryStream* ABlock, TMemoryStream* ADest, Int64 ALimit)
{
    ABlock->SetPosition(0);
    TDecompressionStream inflater(ABlock);
    std::vector<uint8_t> piece(4096);
    Int64 total = 0;
    for (;;) {
        const Int64 got = inflater.Read(piece.data(), static_cast<Int64>(piece.size()));
        if (got <= 0) break;
        total += got;
        if (total > ALimit) throw EDecompressionError("The stored skin inflates past its limit");
        ADest->WriteBuffer(piece.data(), got);
    }
}
