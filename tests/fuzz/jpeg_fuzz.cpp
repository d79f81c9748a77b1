// The JPEG reader, on the bytes of a file, drawn into a bitmap as the skins use it.
#include <cstdint>

#include "platform/gui/bitmap.h"
#include "platform/gui/graphic_errors.h"
#include "platform/gui/jpeg_image.h"
#include "platform/rtl/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    TMemoryStream stream;
    stream.WriteBuffer(AData, Int64(ASize));
    stream.SetPosition(0);
    TJPEGImage jpeg;
    try {
        jpeg.LoadFromStream(&stream);
        TBitmap bitmap;
        bitmap.Assign(&jpeg);
    } catch (const Exception&) {
    }
    return 0;
}
