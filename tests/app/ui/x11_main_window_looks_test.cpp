// The real converter's main window and its Error! dialog on the X server, read back from the screen: the
// getting-started page shows each of its pictures whole and apart, the bottom row of the preview keeps clear of
// the frame with the camera's drop-down arrow drawn, and a failure's message of several lines is shown whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/bmp_format.h"
#include "platform/gui/png_format.h"
#include "tests/app/ui/x11_quennary_rig.h"
#include "tests/fixtures/media_fixtures.h"

namespace fs = std::filesystem;

namespace {

const fs::path Pictures = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui";
const fs::path Skin = fs::path(QUENNARY_BINARY_DIR) / "app" / "skin-red";

// A picture of the skin as its pixels (0x00RRGGBB) and which of them are fully opaque: only those show on screen
// exactly as they are.
struct TSkinPicture {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    std::vector<bool> Opaque;
};

std::vector<uint8_t> FileBytes(const fs::path& AFile)
{
    std::ifstream file(AFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TSkinPicture ReadSkinPicture(const std::string& AName)
{
    const std::vector<uint8_t> bytes = FileBytes(Skin / AName);
    TSkinPicture picture;
    if (AName.ends_with(".bmp")) {
        const TDibPixels dib = ReadBmp(bytes);
        EXPECT_EQ(dib.BitCount, 24) << AName;
        picture.Width = dib.Width;
        picture.Height = dib.Height;
        const size_t stride = DibStride(dib.Width, 24);
        for (int y = 0; y < dib.Height; ++y)
            for (int x = 0; x < dib.Width; ++x) {
                const uint8_t* p = &dib.Bits[size_t(dib.Height - 1 - y) * stride + size_t(x) * 3];
                picture.Pixels.push_back(uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
                picture.Opaque.push_back(true);
            }
    } else {
        const TPngPixels png = ReadPng(bytes);
        EXPECT_TRUE(png.ColorType == COLOR_RGBALPHA && png.BitDepth == 8) << AName;
        picture.Width = png.Width;
        picture.Height = png.Height;
        for (int y = 0; y < png.Height; ++y)
            for (int x = 0; x < png.Width; ++x) {
                const uint8_t* p = &png.Data[size_t(y) * png.RowBytes + size_t(x) * 3];
                picture.Pixels.push_back(uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
                picture.Opaque.push_back(png.Alpha[size_t(y) * png.Width + x] == 255);
            }
    }
    return picture;
}

// Where the screen shows every opaque pixel of the picture, in the shot's coordinates; nothing when a part of it
// is cut off or covered.
std::optional<TRect> FindWhole(const x11rig::TShot& AShot, const TSkinPicture& APicture)
{
    size_t first = 0;
    while (first < APicture.Opaque.size() && !APicture.Opaque[first]) ++first;
    if (first == APicture.Opaque.size()) return std::nullopt;
    const int fx = int(first) % APicture.Width, fy = int(first) / APicture.Width;
    for (int y = fy; y + APicture.Height - fy <= AShot.Area.Height(); ++y)
        for (int x = fx; x + APicture.Width - fx <= AShot.Area.Width(); ++x) {
            if (AShot.At(x, y) != APicture.Pixels[first]) continue;
            bool all = true;
            for (int py = 0; py < APicture.Height && all; ++py)
                for (int px = 0; px < APicture.Width && all; ++px) {
                    const size_t i = size_t(py) * APicture.Width + px;
                    all = !APicture.Opaque[i] || AShot.At(x - fx + px, y - fy + py) == APicture.Pixels[i];
                }
            if (all) return Bounds(x - fx, y - fy, APicture.Width, APicture.Height);
        }
    return std::nullopt;
}

bool Overlap(const TRect& A, const TRect& B)
{
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

bool Dark(uint32_t APixel)
{
    return ((APixel >> 16 & 0xFF) + (APixel >> 8 & 0xFF) + (APixel & 0xFF)) < 3 * 100;
}

class MainWindowLooksX11Test : public x11rig::TQuennaryX11Test {};

TEST_F(MainWindowLooksX11Test, GettingStartedPageAndThePreviewsBottomRow)
{
    Start();
    const Window window = WaitForWindow("Quennary");
    ASSERT_NE(window, 0u) << "no main window appeared";
    ParkPointer();
    const std::optional<x11rig::TShot> shot = Shoot(window, Pictures / "x11-getting-started.png");
    ASSERT_TRUE(shot);

    // The page's three pictures, each whole and none over another.
    std::vector<TRect> found;
    for (const char* name : {"gettingstarted.bmp", "dragdrop.png", "open_for_gs.png"}) {
        const std::optional<TRect> at = FindWhole(*shot, ReadSkinPicture(name));
        EXPECT_TRUE(at) << name << " is not shown whole";
        if (!at) continue;
        for (const TRect& other : found) EXPECT_FALSE(Overlap(*at, other)) << name << " overlaps another picture";
        found.push_back(*at);
    }

    // Play, Stop and the camera: whole, with rows of the window's own face between them and the frame below.
    const int height = shot->Area.Height();
    for (const char* name : {"play.png", "stop.png", "photo.png"}) {
        const std::optional<TRect> at = FindWhole(*shot, ReadSkinPicture(name));
        ASSERT_TRUE(at) << name << " is not shown whole";
        const int x = (at->Left + at->Right) / 2;
        const uint32_t frame = shot->At(x, height - 2);
        int gap = 0;
        for (int y = at->Bottom; y < height && shot->At(x, y) != frame; ++y) ++gap;
        EXPECT_GE(gap, 6) << name << " ends " << gap << " pixels above the frame";
    }
    // The camera's drop-down part, right of its picture, carries the arrow.
    const std::optional<TRect> camera = FindWhole(*shot, ReadSkinPicture("photo.png"));
    ASSERT_TRUE(camera);
    int arrow = 0;
    for (int y = camera->Top; y < camera->Bottom; ++y)
        for (int x = camera->Right; x < camera->Right + 16 && x < shot->Area.Width(); ++x) arrow += Dark(shot->At(x, y));
    EXPECT_GE(arrow, 6) << "no drop-down arrow beside the camera";
}

// A preview that cannot open its file reports the failure; the Error! dialog shows the whole text, a path of
// several lines included, every line of it as tall as the others.
TEST_F(MainWindowLooksX11Test, TheErrorDialogShowsAMessageOfSeveralLinesWhole)
{
    const fs::path folder = Root / "media" / "a-folder-with-a-long-name-for-the-message" / "and-one-more-below-it";
    fs::create_directories(folder);
    const fs::path clip = folder / "holiday-by-the-sea-first-day-morning.avi";
    fs::copy_file(MediaFixture("clip.avi"), clip);
    Start();
    const Window window = WaitForWindow("Quennary");
    ASSERT_NE(window, 0u) << "no main window appeared";
    // A window that has not painted yet may not take drops either: wait for its face before dropping.
    ASSERT_TRUE(x11rig::WaitFor([&] {
        const std::optional<x11rig::TShot> face = Shoot(window, Root / "face.png");
        return face && FindWhole(*face, ReadSkinPicture("play.png"));
    })) << "the main window did not paint";
    DropFiles(window, 600, 200, {clip.string()});
    ParkPointer();
    ASSERT_TRUE(x11rig::WaitFor([&] {
        const std::optional<x11rig::TShot> jobs = Shoot(window, Root / "jobs.png");
        return jobs && FindWhole(*jobs, ReadSkinPicture("filmicon.bmp"));
    })) << "the file did not become a job";
    fs::remove(clip);

    // Play, found on screen.
    const std::optional<x11rig::TShot> main = Shoot(window, Root / "main.png");
    ASSERT_TRUE(main);
    const std::optional<TRect> play = FindWhole(*main, ReadSkinPicture("play.png"));
    ASSERT_TRUE(play);
    ClickAt(window, (play->Left + play->Right) / 2, (play->Top + play->Bottom) / 2);
    const Window dialog = WaitForWindow("Error!");
    ASSERT_NE(dialog, 0u) << "no Error! dialog";
    ParkPointer();
    const std::optional<x11rig::TShot> shot = Shoot(dialog, Pictures / "x11-error-dialog.png");
    ASSERT_TRUE(shot);

    // The bands of text rows between the heading and the explanation below the message: the heading first, then
    // the message's lines, then the explanation. Rows with dark pixels in the left part of the client area.
    std::vector<std::pair<int, int>> bands;  // first row, row past the last
    const int left = 12, right = std::min(shot->Area.Width() - 12, 360);
    for (int y = 30; y < shot->Area.Height(); ++y) {
        bool text = false;
        for (int x = left; x < right && !text; ++x) text = Dark(shot->At(x, y));
        if (!text) continue;
        if (!bands.empty() && bands.back().second >= y - 1) bands.back().second = y + 1;
        else bands.push_back({y, y + 1});
    }
    // Heading, at least three message lines, the explanation's lines and the fields below.
    ASSERT_GE(bands.size(), 6u);
    // The message lines (after the heading) up to the first band of the explanation: every one as tall as the
    // tallest less a descender, none cut.
    int tallest = 0;
    for (size_t i = 1; i < 4; ++i) tallest = std::max(tallest, bands[i].second - bands[i].first);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_GE(bands[i].second - bands[i].first, tallest - 4) << "message line " << i << " is cut";
    // Its close box closes it, and the main window stays.
    CloseThroughTheWindowManager(dialog);
    EXPECT_TRUE(x11rig::WaitFor([&] { return FindTopLevel("Error!") == 0; }));
    EXPECT_NE(FindTopLevel("Quennary"), 0u);
}

}  // namespace
