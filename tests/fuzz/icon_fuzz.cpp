// The icon reader (ICO files with BMP or PNG images), on the bytes of a file.
#include <cstdint>

#include "platform/gui/graphic_errors.h"
#include "platform/gui/icon.h"
#include "platform/rtl/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    TMemoryStream stream;
    stream.WriteBuffer(AData, Int64(ASize));
    stream.SetPosition(0);
    TIcon icon;
    try {
        icon.LoadFromStream(&stream);
    } catch (const Exception&) {
    }
    return 0;
}
