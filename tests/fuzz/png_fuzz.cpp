// The PNG reader, on the bytes of a file, through the picture class the skins use.
#include <cstdint>
#include <span>

#include "platform/gui/graphic_errors.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    TMemoryStream stream;
    stream.WriteBuffer(AData, Int64(ASize));
    stream.SetPosition(0);
    TPngImage png;
    try {
        png.LoadFromStream(&stream);
        std::vector<uint32_t> row(size_t(png.Width()));
        for (Integer y = 0; y < png.Height(); ++y) png.ReadRow(y, row);
    } catch (const Exception&) {
    }
    return 0;
}
