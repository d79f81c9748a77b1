// The skin description file "skin.ini", read from a skin folder that holds one small picture of each kind the
// description may name ("p.bmp", "p.png", "p.jpg").
#include <cstdint>

#include "platform/gui/bitmap.h"
#include "platform/gui/jpeg_image.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/exceptions.h"
#include "skin/core/skin_data.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void MakePictures()
{
    static bool made = false;
    if (made) return;
    made = true;
    std::filesystem::create_directories(fuzz::Scratch() / "skin");
    TBitmap bitmap(12, 9, pf24bit);
    bitmap.Canvas()->SetPixels(1, 1, 0x00FF00);
    bitmap.SaveToFile((fuzz::Scratch() / "skin" / "p.bmp").string());
    TPngImage png;
    png.Assign(&bitmap);
    png.SaveToFile((fuzz::Scratch() / "skin" / "p.png").string());
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SaveToFile((fuzz::Scratch() / "skin" / "p.jpg").string());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    MakePictures();
    const std::string file = fuzz::WriteInput("skin/skin.ini", AData, ASize);
    TspSkinData skin(nullptr);
    try {
        skin.LoadFromFile(file);
    } catch (const Exception&) {
    }
    return 0;
}
