#include "skin/core/skin_bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/core/blit_routines.h"
#include "skin/core/surface_blits.h"

namespace {

// A bitmap whose pixel (x, y) is $FF00yyxx, so that every drawn pixel tells where it came from.
void Code(TspBitmap& bmp, Integer w, Integer h, TspColor alpha = 0xFF000000)
{
    bmp.SetSize(w, h);
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x) bmp.SetPixel(x, y, alpha | (y << 8) | x);
}

TEST(SkinBitmap, SetSizeKeepsPixelsUnlessTheSizeReallyChanges)
{
    TspBitmap bmp;
    EXPECT_TRUE(bmp.Empty());
    bmp.SetSize(-10, 5);
    EXPECT_EQ(bmp.Width(), 10);
    EXPECT_EQ(bmp.Height(), 5);
    EXPECT_NE(bmp.DC(), nullptr);
    EXPECT_EQ(FindBitmapByDC(bmp.DC()), &bmp);
    bmp.SetPixel(3, 3, 0x12345678);
    bmp.SetSize(0, 5);
    bmp.SetSize(10, 5);
    bmp.SetSize(10, -5);
    EXPECT_EQ(bmp.GetPixel(3, 3), 0x12345678u);
    bmp.SetSize(4, 4);
    EXPECT_EQ(bmp.GetPixel(3, 3), 0u);  // a new section starts at zero
    EXPECT_EQ(std::count(LiveBitmaps().begin(), LiveBitmaps().end(), &bmp), 1);
    win::HDC dc = bmp.DC();
    {
        TspBitmap other;
        other.SetSize(1, 1);
        EXPECT_EQ(FindBitmapByDC(other.DC()), &other);
    }
    EXPECT_EQ(FindBitmapByDC(dc), &bmp);
}

TEST(SkinBitmap, PixelAccessOutsideIsIgnored)
{
    TspBitmap bmp;
    EXPECT_EQ(bmp.GetPixel(0, 0), 0u);
    bmp.SetPixel(0, 0, 1);
    bmp.SetSize(3, 2);
    bmp.Clear(0xFFABCDEF);
    const struct { Integer x, y; } outside[] = {{3, 0}, {0, 2}, {-1, 0}, {0, -1}};
    for (const auto p : outside) {
        bmp.SetPixel(p.x, p.y, 7);
        EXPECT_EQ(bmp.GetPixel(p.x, p.y), 0u);
    }
    for (Integer y = 0; y < 2; ++y)
        for (Integer x = 0; x < 3; ++x) EXPECT_EQ(bmp.GetPixel(x, y), 0xFFABCDEFu);
}

TEST(SkinBitmap, AlphaAndKeyChecks)
{
    TspBitmap bmp;
    bmp.SetSize(3, 1);
    bmp.SetPixel(0, 0, 0xFFFA00FF);  // red 250: within 5 of magenta
    bmp.SetPixel(1, 0, 0xFFF900FF);  // red 249: not
    bmp.SetPixel(2, 0, 0x00FF00FF);
    bmp.CheckingTransparent(0x00FF00FF);
    EXPECT_TRUE(bmp.Transparent());
    EXPECT_EQ(bmp.GetPixel(0, 0), spKeyPixel);
    EXPECT_EQ(bmp.GetPixel(1, 0), 0xFFF900FFu);
    EXPECT_EQ(bmp.GetPixel(2, 0), spKeyPixel);
    bmp.CheckingTransparent(Rect(1, 0, 2, 1), 0x00FF00FF);
    EXPECT_FALSE(bmp.Transparent());

    bmp.Clear(0xFF000000);
    bmp.SetPixel(0, 0, 0x00000000);
    bmp.CheckingAlphaBlend();
    EXPECT_FALSE(bmp.AlphaBlend());
    bmp.SetPixel(2, 0, 0xFE000000);
    bmp.CheckingAlphaBlend(Rect(0, 0, 2, 1));
    EXPECT_FALSE(bmp.AlphaBlend());
    bmp.CheckingAlphaBlend();
    EXPECT_TRUE(bmp.AlphaBlend());

    bmp.SetPixel(1, 0, 0x80FF4020);
    bmp.CheckRGBA();
    EXPECT_EQ(bmp.GetPixel(1, 0), 0x80804020u);

    bmp.SetAlpha(0x11, Rect(-5, 0, 2, 9));
    bmp.SetAlpha(0x22, Rect(2, 0, 2, 1));  // zero width: nothing
    EXPECT_EQ(bmp.GetPixel(0, 0) >> 24, 0x11u);
    EXPECT_EQ(bmp.GetPixel(1, 0) >> 24, 0x11u);
    EXPECT_EQ(bmp.GetPixel(2, 0) >> 24, 0xFEu);
}

TEST(SkinBitmap, StreamRoundTripAndBottomUpRows)
{
    TspBitmap bmp;
    Code(bmp, 4, 3);
    bmp.SetName("bouton \xC3\xA9t\xC3\xA9");
    TMemoryStream stream;
    bmp.SaveToStream(&stream);
    EXPECT_EQ(stream.Size(), 4 + 2 * 10 + 8 + 4 * 3 * 4);  // ten UTF-16 units of name
    stream.SetPosition(0);
    TspBitmap back;
    back.LoadFromStream(&stream);
    EXPECT_EQ(back.Name(), bmp.Name());
    ASSERT_EQ(back.Width(), 4);
    for (Integer y = 0; y < 3; ++y)
        for (Integer x = 0; x < 4; ++x) EXPECT_EQ(back.GetPixel(x, y), bmp.GetPixel(x, y));

    // The same record with a negative height: the rows were stored bottom-up.
    std::vector<Byte> bytes(static_cast<const Byte*>(stream.Memory()),
                            static_cast<const Byte*>(stream.Memory()) + stream.Size());
    const int32_t negative = -3;
    std::memcpy(&bytes[4 + 20 + 4], &negative, 4);
    TMemoryStream flipped;
    flipped.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    flipped.SetPosition(0);
    back.LoadFromStream(&flipped);
    EXPECT_EQ(back.GetPixel(1, 0), bmp.GetPixel(1, 2));
    EXPECT_EQ(back.GetPixel(1, 2), bmp.GetPixel(1, 0));
}

TEST(SkinBitmap, DamagedStreamHeadersRaiseAndChangeNothing)
{
    const struct { const char* what; int32_t name_length, width, height; } cases[] = {
        {"negative name length", -1, 2, 2},
        {"name longer than the stream", 1000, 2, 2},
        {"negative width", 0, -2, 2},
        {"more pixels than the stream holds", 0, 3000, 3000},
        {"pixels cut short", 0, 2, 3},
        // Sides whose product times four passes 2^63: the check must not wrap into a small size.
        {"both sides at the 32-bit limit", 0, 0x7FFFFFFF, 0x7FFFFFFF},
        {"bottom-up at the 32-bit limit", 0, 0x7FFFFFFF, -0x7FFFFFFF},
        {"one side at the limit", 0, 0x7FFFFFFF, 1},
    };
    for (const auto& c : cases) {
        TMemoryStream stream;
        stream.WriteBuffer(&c.name_length, 4);
        stream.WriteBuffer(&c.width, 4);
        stream.WriteBuffer(&c.height, 4);
        const std::vector<Byte> pixels(2 * 2 * 4, 0xAB);  // enough for 2 x 2 only
        stream.WriteBuffer(pixels.data(), static_cast<Int64>(pixels.size()));
        stream.SetPosition(0);
        TspBitmap bmp;
        Code(bmp, 5, 1);
        bmp.SetName("kept");
        EXPECT_THROW(bmp.LoadFromStream(&stream), EReadError) << c.what;
        EXPECT_EQ(bmp.Name(), "kept") << c.what;
        EXPECT_EQ(bmp.Width(), 5) << c.what;
        EXPECT_EQ(bmp.GetPixel(4, 0), 0xFF000004u) << c.what;
    }
}

TEST(SkinBitmap, RectangleTexts)
{
    const struct { const char* text; TRect rect; } cases[] = {
        {"10,20,30,40", {10, 20, 30, 40}}, {"10, 20, 30, 40", {10, 20, 30, 40}}, {"10 20 30 40", {10, 20, 30, 40}},
        {"-1;2:3=4", {-1, 2, 3, 4}},        {"1,2,x,4", {0, 0, 0, 0}},           {"(1,2,3,4)", {0, 0, 0, 0}},
        {"1,2,3", {0, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseRectString(c.text), c.rect) << c.text;
    // A text longer than 255 characters is walked whole.
    EXPECT_EQ(ParseRectString(std::string(300, ' ').insert(0, "1,2,3,") + "4"), Rect(1, 2, 3, 4));

    TspBitmap bmp;
    bmp.SetName("pic");
    const auto link = bmp.GetBitmapLink("1, 2, 5, 6");
    EXPECT_EQ(link->Image(), &bmp);
    EXPECT_EQ(link->Name(), "pic");
    EXPECT_EQ(link->Rect(), Rect(1, 2, 5, 6));
    EXPECT_TRUE(link->Assigned());
    TMemoryStream stream;
    link->SaveToStream(&stream);
    stream.SetPosition(0);
    TspBitmapLink back;
    back.LoadFromStream(&stream);
    EXPECT_EQ(back.Rect(), link->Rect());
    EXPECT_EQ(back.Name(), "pic");
    EXPECT_FALSE(back.Assigned());
}

TEST(SkinBitmap, DrawingIntoAnotherBitmapByModeAndThroughItsCanvas)
{
    TspBitmap src, dst;
    src.SetSize(2, 1);
    src.SetPixel(0, 0, 0x80FFFFFF);
    src.SetPixel(1, 0, spKeyPixel);
    const struct { bool alpha, key; TspColor first, second; } modes[] = {
        {false, false, 0x80FFFFFF, spKeyPixel},
        {false, true, 0xFFFFFFFF, 0xFF000000},
        {true, false, 0xBF7F7F7F, 0xFF000000},  // alpha 0 key pixel leaves the destination; "MMX" blend on x86-64
    };
    for (const auto& m : modes) {
        dst.SetSize(4, 4);
        dst.Clear(0xFF000000);
        src.SetAlphaBlend(m.alpha);
        src.SetTransparent(m.key);
        src.Draw(&dst, 1, 1);
        EXPECT_EQ(dst.GetPixel(1, 1), m.first);
        EXPECT_EQ(dst.GetPixel(2, 1), m.second);
        EXPECT_EQ(dst.GetPixel(0, 1), 0xFF000000u);
    }

    // Through the canvas of the target, whose window origin is (5, 5): 5 pixels up and left in memory.
    TspBitmap big;
    Code(big, 3, 3);
    dst.SetSize(20, 20);
    dst.Clear(0);
    win::SetWindowOrgEx(dst.Canvas()->Handle(), 5, 5, nullptr);
    big.Draw(dst.Canvas(), 10, 12);
    EXPECT_EQ(dst.GetPixel(5, 7), big.GetPixel(0, 0));
    EXPECT_EQ(dst.GetPixel(7, 9), big.GetPixel(2, 2));
    EXPECT_EQ(dst.GetPixel(10, 12), 0u);
}

TEST(SkinBitmap, DrawingToAForeignDCMatchesDrawingIntoMemory)
{
    TspBitmap src;
    Code(src, 4, 3, 0x80000000);
    src.SetPixel(1, 1, spKeyPixel);
    for (const bool alpha : {false, true})
        for (const bool key : {false, true}) {
            src.SetAlphaBlend(alpha);
            src.SetTransparent(key);
            TBitmap foreign(8, 6, pf32bit);
            TspBitmap memory;
            memory.SetSize(8, 6);
            for (Integer y = 0; y < 6; ++y) {
                auto* row = static_cast<TspColor*>(foreign.ScanLine(y));
                for (Integer x = 0; x < 8; ++x) row[x] = 0xFF102030;
            }
            memory.Clear(0xFF102030);
            src.Draw(foreign.Canvas(), Rect(1, 1, 5, 4), Rect(0, 0, 4, 3));
            src.Draw(&memory, Rect(1, 1, 5, 4), Rect(0, 0, 4, 3));
            for (Integer y = 0; y < 6; ++y) {
                const auto* row = static_cast<const TspColor*>(foreign.ScanLine(y));
                for (Integer x = 0; x < 8; ++x)
                    EXPECT_EQ(row[x], memory.GetPixel(x, y)) << "alpha " << alpha << " key " << key << " at " << x
                                                             << "," << y;
            }
        }
}

TEST(SkinBitmap, ScaledColumnsTruncateInBitmapsAndRoundInDibBits)
{
    const struct { Integer dst_width, first, end; TspScaleRounding rounding; std::vector<Integer> columns; } cases[] = {
        {1, 4, 6, TspScaleRounding::Truncate, {4}},
        {3, 4, 6, TspScaleRounding::Truncate, {4, 4, 5}},
        {3, 4, 6, TspScaleRounding::Nearest, {4, 4, 5}},
        {3, 5, 7, TspScaleRounding::Nearest, {5, 6, 6}},
        {5, 0, 3, TspScaleRounding::Truncate, {0, 0, 1, 1, 2}},
    };
    for (const auto& c : cases) {
        std::vector<Integer> got;
        for (Integer q = 0; q < c.dst_width; ++q)
            got.push_back(ScaledSourceIndex(q, c.dst_width, c.first, c.end, c.rounding));
        EXPECT_EQ(got, c.columns) << c.dst_width << " from " << c.first << ".." << c.end;
    }

    TspBitmap src, dst;
    Code(src, 8, 2);
    dst.SetSize(3, 1);
    src.Draw(&dst, Rect(0, 0, 3, 1), Rect(4, 0, 6, 2));
    EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(4, 0));
    EXPECT_EQ(dst.GetPixel(1, 0), src.GetPixel(4, 0));
    EXPECT_EQ(dst.GetPixel(2, 0), src.GetPixel(5, 0));
    dst.Clear(7);
    src.Draw(&dst, Rect(0, 0, 3, 1), Rect(4, 0, 9, 2));  // one column beyond the source: nothing
    EXPECT_EQ(dst.GetPixel(0, 0), 7u);
}

TEST(SkinBitmap, TileCoversTheAreaWithCutTiles)
{
    TspBitmap tile, dst;
    Code(tile, 5, 4);
    dst.SetSize(12, 9);
    dst.Clear(0);
    tile.Tile(&dst, Rect(1, 1, 11, 8), Rect(1, 1, 4, 3));  // 10 x 7 by 3 x 2 tiles
    for (Integer y = 0; y < 9; ++y)
        for (Integer x = 0; x < 12; ++x) {
            const bool inside = x >= 1 && x < 11 && y >= 1 && y < 8;
            const TspColor want = inside ? tile.GetPixel(1 + (x - 1) % 3, 1 + (y - 1) % 2) : 0;
            EXPECT_EQ(dst.GetPixel(x, y), want) << x << "," << y;
        }

    // A DC over a bottom-up 32-bit DIB section is written directly, its window origin honoured.
    win::BITMAPINFO info{};
    info.bmiHeader.biWidth = 12;
    info.bmiHeader.biHeight = 9;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const win::HBITMAP section = win::CreateDIBSection(nullptr, &info, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    const win::HDC dc = win::CreateCompatibleDC(nullptr);
    const win::HGDIOBJ old = win::SelectObject(dc, section);
    win::SetWindowOrgEx(dc, 1, 1, nullptr);
    tile.Tile(dc, Rect(2, 2, 12, 9), Rect(1, 1, 4, 3));
    for (Integer y = 0; y < 9; ++y)
        for (Integer x = 0; x < 12; ++x) {
            const TspColor got = static_cast<const TspColor*>(bits)[(8 - y) * 12 + x];
            EXPECT_EQ(got, dst.GetPixel(x, y)) << x << "," << y;
        }
    win::SelectObject(dc, old);
    win::DeleteDC(dc);
    win::DeleteObject(section);

    dst.Clear(0);
    tile.TileClip(&dst, Rect(0, 0, 9, 2), Rect(4, 0, 5, 1), Rect(0, 0, 3, 2));  // only the tile at 3..5 meets
    EXPECT_EQ(dst.GetPixel(2, 0), 0u);
    EXPECT_EQ(dst.GetPixel(3, 1), tile.GetPixel(0, 1));
    EXPECT_EQ(dst.GetPixel(5, 0), tile.GetPixel(2, 0));
    EXPECT_EQ(dst.GetPixel(6, 0), 0u);
}

TEST(SkinBitmap, MergeDrawGoesBehindByDestinationAlpha)
{
    TspBitmap back, dst;
    back.SetSize(3, 1);
    back.Clear(0xFF0000FF);
    dst.SetSize(3, 1);
    dst.SetPixel(0, 0, 0x00FF0000);
    dst.SetPixel(1, 0, 0x80FFFFFF);
    dst.SetPixel(2, 0, 0xFF00FF00);
    dst.MergeDraw(&back, 0, 0, Rect(0, 0, 3, 1));
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(dst.GetPixel(1, 0), BlendPixel(0x80FFFFFF, 0xFF0000FF));
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFF00FF00u);
    dst.Clear(0);
    dst.MergeDraw(&back, 0, 0, Rect(-2, 0, 5, 1));  // negative left moves the target right
    EXPECT_EQ(dst.GetPixel(1, 0), 0u);
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFF0000FFu);
}

TEST(SkinBitmap, FillFlipAndReflections)
{
    TspBitmap bmp;
    bmp.SetSize(2, 4);
    bmp.Clear(0xFF000000);
    bmp.SetAlphaBlend(true);
    bmp.FillRect(Rect(-3, -3, 1, 1), 0x80FFFFFF);
    EXPECT_EQ(bmp.GetPixel(0, 0), BlendPixel(0x80FFFFFF, 0xFF000000));
    EXPECT_EQ(bmp.GetPixel(1, 0), 0xFF000000u);
    bmp.SetAlphaBlend(false);
    bmp.FillRect(Rect(1, 1, 9, 9), 0x12345678);
    EXPECT_EQ(bmp.GetPixel(1, 3), 0x12345678u);

    // Rows 0..3 with alpha 200, 100, 0, 255 become, flipped, 255, 0, 100, 200 faded by 1, 0.5, 0, -0.5.
    const TspColor alphas[4] = {200, 100, 0, 255};
    const struct { void (TspBitmap::*reflect)(); Integer divisor; } kinds[] = {
        {&TspBitmap::Reflection, 3}, {&TspBitmap::Reflection2, 4}, {&TspBitmap::Reflection3, 2}};
    for (const auto& k : kinds) {
        for (Integer y = 0; y < 4; ++y) bmp.SetPixel(0, y, (alphas[y] << 24) | 0x123456);
        (bmp.*k.reflect)();
        EXPECT_EQ(bmp.GetPixel(0, 0), (static_cast<TspColor>(255 / k.divisor) << 24) | 0x123456);
        EXPECT_EQ(bmp.GetPixel(0, 1) >> 24, 0u);
        EXPECT_EQ(bmp.GetPixel(0, 2) >> 24, 0u);  // 0.0 * 100
        EXPECT_EQ(bmp.GetPixel(0, 3) >> 24, 0u);  // negative factor ends at 0
    }
}

TEST(SkinBitmap, MaskedZonesOfALink)
{
    TspBitmap bmp;
    bmp.SetSize(6, 6);
    bmp.Clear(0xFF000000);
    const auto link = bmp.GetBitmapLink(Rect(0, 0, 6, 6));
    link->CheckingMasked();
    EXPECT_FALSE(link->Masked());
    bmp.SetPixel(3, 0, spKeyPixel);  // top edge strip
    link->CheckingMasked(Rect(2, 2, 2, 2));
    EXPECT_TRUE(link->MaskedBorder());
    EXPECT_FALSE(link->MaskedAngles());
    EXPECT_FALSE(link->Masked());
    bmp.SetPixel(0, 5, 0x33333333);  // the exemption value is not masked
    bmp.SetPixel(5, 5, 0x10FFFFFF);  // corner
    bmp.SetPixel(3, 3, 0xFEFFFFFF);  // middle
    link->CheckingMasked(Rect(2, 2, 2, 2));
    EXPECT_TRUE(link->MaskedAngles());
    EXPECT_TRUE(link->Masked());
    link->SetRect(Rect(5, 5, 8, 8));  // reaching outside the image counts as masked
    bmp.SetPixel(5, 5, 0xFF000000);
    link->CheckingMasked();
    EXPECT_TRUE(link->Masked());
}

TEST(SkinBitmap, AssignFromClassLibraryBitmaps)
{
    TBitmap rgb(3, 2, pf24bit);
    rgb.Canvas()->Brush()->SetColor(0x0000FF);
    rgb.Canvas()->FillRect(Rect(0, 0, 3, 2));
    TspBitmap bmp;
    bmp.Assign(&rgb);
    EXPECT_EQ(bmp.Width(), 3);
    EXPECT_EQ(bmp.GetPixel(2, 1), 0xFFFF0000u);

    TBitmap argb(2, 1, pf32bit);
    static_cast<TspColor*>(argb.ScanLine(0))[0] = 0x80102030;
    static_cast<TspColor*>(argb.ScanLine(0))[1] = 0xFF405060;
    bmp.Assign(&argb);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0x80102030u);
    EXPECT_TRUE(bmp.AlphaBlend());

    TspBitmap copy;
    bmp.SetName("n");
    copy.Assign(&bmp);
    EXPECT_EQ(copy.GetPixel(1, 0), 0xFF405060u);
    EXPECT_EQ(copy.Name(), "n");
    EXPECT_TRUE(copy.AlphaBlend());

    TBitmap out;
    out.Assign(&copy);
    EXPECT_EQ(out.Width(), 2);
}

TEST(SkinBitmap, RandomRectanglesPartlyOutsideNeverTouchOutsideMemory)
{
    std::mt19937 rng(3);
    std::uniform_int_distribution<Integer> coord(-12, 24);
    TspBitmap src, dst;
    Code(src, 9, 7, 0x80000000);
    dst.SetSize(11, 6);
    for (int i = 0; i < 400; ++i) {
        src.SetAlphaBlend(i % 3 == 1);
        src.SetTransparent(i % 3 == 2);
        const TRect d{coord(rng), coord(rng), coord(rng), coord(rng)};
        const TRect s{coord(rng), coord(rng), coord(rng), coord(rng)};
        src.Draw(&dst, d, s);
        src.Tile(&dst, d, Rect(0, 0, 1 + i % 4, 1 + i % 3));
        dst.MergeDraw(&src, coord(rng), coord(rng), s);
        dst.FillRect(d, 0x44332211);
        dst.SetAlpha(9, d);
    }
    SUCCEED();
}

}  // namespace

#include "platform/gui/picture.h"

namespace {

// A 3 x 2 picture, version 5, run-length coded, one plane of 4 bytes per line, with a 256-entry palette.
std::vector<Byte> SamplePcx(Byte manufacturer, int32_t x_max)
{
    std::vector<Byte> pcx(128, 0);
    pcx[0] = manufacturer;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[8] = static_cast<Byte>(x_max);
    pcx[10] = 1;  // y_max
    pcx[65] = 1;
    pcx[66] = 4;
    const Byte data[] = {0xC3, 1, 2,   // row 0: 1, 1, 1, 2
                         0, 0xC2, 2, 9};  // row 1: 0, 2, 2, 9
    pcx.insert(pcx.end(), std::begin(data), std::end(data));
    pcx.push_back(12);
    std::vector<Byte> palette(768, 0);
    palette[3] = 255;                    // entry 1 red
    palette[6 + 1] = 255;                // entry 2 green
    palette[9 * 3 + 2] = 255;            // entry 9 blue
    pcx.insert(pcx.end(), palette.begin(), palette.end());
    return pcx;
}

TEST(SkinBitmap, PcxPicturesAndDamagedHeaders)
{
    TspBitmap bmp;
    TMemoryStream stream;
    auto pcx = SamplePcx(10, 2);
    stream.WriteBuffer(pcx.data(), static_cast<Int64>(pcx.size()));
    stream.SetPosition(0);
    bmp.LoadFromPcxStream(&stream);
    ASSERT_EQ(bmp.Width(), 3);
    ASSERT_EQ(bmp.Height(), 2);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(bmp.GetPixel(2, 0), 0xFFFF0000u);
    EXPECT_EQ(bmp.GetPixel(0, 1), 0xFF000000u);
    EXPECT_EQ(bmp.GetPixel(2, 1), 0xFF00FF00u);

    TMemoryStream other;
    pcx = SamplePcx(11, 2);  // not a PCX manufacturer byte: ignored
    other.WriteBuffer(pcx.data(), static_cast<Int64>(pcx.size()));
    other.SetPosition(0);
    bmp.LoadFromPcxStream(&other);
    EXPECT_EQ(bmp.GetPixel(2, 1), 0xFF00FF00u);

    TMemoryStream wide;
    pcx = SamplePcx(205, 9);  // ten pixels wide but four bytes per line
    wide.WriteBuffer(pcx.data(), static_cast<Int64>(pcx.size()));
    wide.SetPosition(0);
    EXPECT_THROW(bmp.LoadFromPcxStream(&wide), EReadError);
    EXPECT_EQ(bmp.Width(), 3);
}

TEST(SkinBitmap, ForeignGraphicsLeaveTheirMagentaOut)
{
    TBitmap picture(4, 1, pf24bit);
    picture.Canvas()->Brush()->SetColor(0x00FF00);
    picture.Canvas()->FillRect(Rect(0, 0, 4, 1));
    picture.Canvas()->SetPixels(1, 0, 0xFF00FF);
    TspBitmap bmp;
    bmp.SetSize(4, 1);
    bmp.Clear(0x11223344);
    bmp.DrawGraphic(&picture, Rect(0, 0, 4, 1));
    EXPECT_EQ(bmp.GetPixel(0, 0) & 0x00FFFFFF, 0x00FF00u);
    EXPECT_EQ(bmp.GetPixel(1, 0), 0x11223344u);

    TPicture holder;
    holder.SetGraphic(&picture);
    TspBitmap from_picture;
    from_picture.Assign(&holder);
    EXPECT_EQ(from_picture.GetPixel(1, 0), 0xFFFF00FFu);  // a bitmap picture is copied whole, alpha 255
    TPicture empty;
    from_picture.Assign(&empty);  // no graphic: nothing changes
    EXPECT_EQ(from_picture.Width(), 4);
}

}  // namespace
