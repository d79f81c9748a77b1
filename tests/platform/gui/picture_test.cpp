// Pictures by file name, and icons from ICO files with a colour image and an AND mask.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/icon.h"
#include "platform/gui/jpeg_image.h"
#include "platform/gui/picture.h"
#include "platform/gui/png_image.h"

namespace {

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = std::filesystem::temp_directory_path() / ("quennary-picture-" + std::to_string(getpid()));
        std::filesystem::create_directories(FFolder);
    }
    void TearDown() override { std::filesystem::remove_all(FFolder); }
    std::string Path(const std::string& AName) const { return (FFolder / AName).string(); }
    std::filesystem::path FFolder;
};

TEST_F(PictureFiles, TheExtensionPicksTheKind)
{
    TBitmap bitmap(3, 2, pf24bit);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    bitmap.SaveToFile(Path("a.bmp"));
    TPngImage png;
    png.Assign(&bitmap);
    png.SaveToFile(Path("a.PNG"));
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SaveToFile(Path("a.jpeg"));

    struct Case { const char* name; bool (*kind)(TGraphic*); };
    for (Case k : {Case{"a.bmp", [](TGraphic* g) { return dynamic_cast<TBitmap*>(g) != nullptr; }},
                   Case{"a.PNG", [](TGraphic* g) { return dynamic_cast<TPngImage*>(g) != nullptr; }},
                   Case{"a.jpeg", [](TGraphic* g) { return dynamic_cast<TJPEGImage*>(g) != nullptr; }}}) {
        TPicture picture;
        int changes = 0;
        picture.OnChange = [&](TObject*) { ++changes; };
        picture.LoadFromFile(Path(k.name));
        EXPECT_TRUE(k.kind(picture.Graphic())) << k.name;
        EXPECT_EQ(picture.Width(), 3);
        EXPECT_EQ(picture.Height(), 2);
        EXPECT_GT(changes, 0);
    }

    TPicture picture;
    picture.LoadFromFile(Path("a.bmp"));
    std::ofstream(Path("b.gif")) << "GIF89a";
    std::ofstream(Path("broken.png")) << "not a png";
    EXPECT_THROW(picture.LoadFromFile(Path("b.gif")), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(Path("broken.png")), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(Path("missing.bmp")), EFOpenError);
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);  // what was held stays
    // A damaged file is named in the error, for every kind: the user has to know which file it is.
    std::filesystem::copy_file(Path("a.bmp"), Path("cut.bmp"));
    std::filesystem::resize_file(Path("cut.bmp"), 60);
    std::filesystem::copy_file(Path("a.jpeg"), Path("cut.jpeg"));
    std::filesystem::resize_file(Path("cut.jpeg"), 60);
    for (const char* name : {"cut.bmp", "cut.jpeg", "broken.png"}) {
        try {
            picture.LoadFromFile(Path(name));
            ADD_FAILURE() << name << " loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(Path(name)), std::string::npos) << e.Message();
        }
    }
    EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(0, 0), clRed);

    // A picture assigned to a bitmap hands over its graphic.
    picture.LoadFromFile(Path("a.PNG"));
    TBitmap copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.Canvas()->Pixels(0, 0), clRed);

    // A failed save never leaves a half-written file behind the name.
    std::ofstream(Path("keep.png")) << "old";
    TPngImage empty;
    EXPECT_THROW(empty.SaveToFile(Path("keep.png")), EInvalidGraphicOperation);
    EXPECT_EQ(std::filesystem::file_size(Path("keep.png")), 3u);
}

// A 2 x 2 icon with a 24-bit colour image (red, green / blue, white) whose AND mask hides the white pixel.
std::vector<uint8_t> MaskedIco()
{
    std::vector<uint8_t> dib(40, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(dib.data() + at, &v, 4); };
    put32(0, 40);
    put32(4, 2);
    put32(8, 4);  // twice the height: colour and mask
    dib[12] = 1;
    dib[14] = 24;
    std::vector<uint8_t> colour = {255, 0, 0, 255, 255, 255, 0, 0,   // bottom row: blue, white
                                   0, 0, 255, 0, 255, 0, 0, 0};      // top row: red, green
    std::vector<uint8_t> mask = {0x40, 0, 0, 0, 0x00, 0, 0, 0};      // bottom row: second pixel clear
    dib.insert(dib.end(), colour.begin(), colour.end());
    dib.insert(dib.end(), mask.begin(), mask.end());
    std::vector<uint8_t> ico = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 24, 0};
    uint32_t size = uint32_t(dib.size()), offset = 22;
    ico.insert(ico.end(), reinterpret_cast<uint8_t*>(&size), reinterpret_cast<uint8_t*>(&size) + 4);
    ico.insert(ico.end(), reinterpret_cast<uint8_t*>(&offset), reinterpret_cast<uint8_t*>(&offset) + 4);
    ico.insert(ico.end(), dib.begin(), dib.end());
    return ico;
}

TEST(Icon, ReadsAnIcoWithItsMaskAndSavesItBack)
{
    std::vector<uint8_t> ico = MaskedIco();
    TMemoryStream stream;
    stream.WriteBuffer(ico.data(), Int64(ico.size()));
    stream.SetPosition(0);
    TIcon icon;
    icon.LoadFromStream(&stream);
    ASSERT_EQ(icon.Width(), 2);
    std::vector<uint32_t> expected = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00FFFFFF};
    EXPECT_EQ(icon.Pixels(), expected);

    TMemoryStream saved;
    icon.SaveToStream(&saved);
    saved.SetPosition(0);
    TIcon again;
    again.LoadFromStream(&saved);
    EXPECT_EQ(again.Pixels(), expected);

    TBitmap target(2, 2, pf24bit);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(Rect(0, 0, 2, 2));
    target.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clBlack);

    std::vector<uint8_t> bad = ico;
    bad[18] = 0xFF;  // image offset far past the end
    TMemoryStream bad_stream;
    bad_stream.WriteBuffer(bad.data(), Int64(bad.size()));
    bad_stream.SetPosition(0);
    EXPECT_THROW(again.LoadFromStream(&bad_stream), EInvalidGraphic);
}

}  // namespace
