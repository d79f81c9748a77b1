// A compressed skin file as it comes: version, length and the zlib block, loaded into skin data.
#include <cstdint>

#include "platform/rtl/exceptions.h"
#include "skin/core/skin_data.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    const std::string file = fuzz::WriteInput("skin.skn", AData, ASize);
    TspSkinData skin(nullptr);
    try {
        skin.LoadFromCompressedFile(file);
    } catch (const Exception&) {
    }
    return 0;
}
