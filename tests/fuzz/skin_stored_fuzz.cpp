// A stored skin's content (its pictures and description as the block holds them): the input is packed into a
// well-formed compressed skin file here, so that every run reaches the content reader.
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "skin/core/skin_data.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    uLongf packed_size = compressBound(ASize);
    std::vector<uint8_t> file(8 + packed_size);
    if (compress(file.data() + 8, &packed_size, AData, ASize) != Z_OK) return 0;
    file.resize(8 + packed_size);
    const int32_t version = 3, length = int32_t(packed_size);
    std::memcpy(file.data(), &version, 4);
    std::memcpy(file.data() + 4, &length, 4);
    const std::string name = fuzz::WriteInput("stored.skn", file.data(), file.size());
    TspSkinData skin(nullptr);
    try {
        skin.LoadFromCompressedFile(name);
    } catch (const Exception&) {
    }
    return 0;
}
