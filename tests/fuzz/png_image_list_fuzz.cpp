// The PNG image list: a picture from the input (its first two bytes choose the list's size) added and drawn in
// the enabled and the disabled look.
#include <cstdint>

#include "platform/gui/bitmap.h"
#include "platform/gui/graphic_errors.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/streams.h"
#include "skin/core/png_image_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    if (ASize < 2) return 0;
    TMemoryStream stream;
    stream.WriteBuffer(AData + 2, Int64(ASize - 2));
    stream.SetPosition(0);
    TPngImage png;
    try {
        png.LoadFromStream(&stream);
    } catch (const Exception&) {
        return 0;
    }
    TspPngImageList list(nullptr);
    list.SetPngWidth(1 + AData[0] % 64);
    list.SetPngHeight(1 + AData[1] % 64);
    static_cast<TspPngImageItem*>(list.PngImages()->Add())->SetPngImage(&png);
    TBitmap target(80, 80, pf32bit);
    list.Draw(target.Canvas(), 3, 5, 0, true);
    list.Draw(target.Canvas(), 3, 5, 0, false);
    return 0;
}
