#include "x11_fixture.h"

#include "platform/backend/headless/headless_backend.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace x11test {
namespace {

// Reads the pixels of an X window dump (xwd) of a 24- or 32-bit true-colour screen as 0xFFRRGGBB.
struct TDump {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
};

std::optional<TDump> ReadXwd(const std::string& AFileName)
{
    std::ifstream file(AFileName, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto card = [&](size_t AIndex) -> uint32_t {
        size_t at = AIndex * 4;
        return at + 4 <= data.size() ? (uint32_t(data[at]) << 24) | (uint32_t(data[at + 1]) << 16) |
                                           (uint32_t(data[at + 2]) << 8) | data[at + 3]
                                     : 0;
    };
    if (data.size() < 100 || card(1) != 7)
        return std::nullopt;
    uint32_t header = card(0), width = card(4), height = card(5), byte_order = card(7), bpp = card(11);
    uint32_t line = card(12), red = card(14), green = card(15), blue = card(16), colors = card(19);
    if (bpp != 32 || red != 0xFF0000 || green != 0xFF00 || blue != 0xFF)
        return std::nullopt;
    size_t start = header + size_t(colors) * 12;
    if (start + size_t(line) * height > data.size())
        return std::nullopt;
    TDump dump{int(width), int(height), {}};
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = &data[start + size_t(y) * line + x * 4];
            uint32_t pixel = byte_order == 0 ? p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24)
                                             : (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
            dump.Pixels.push_back(0xFF000000u | (pixel & 0xFFFFFF));
        }
    return dump;
}

class X11Screenshot : public TX11Fixture {
protected:
    HWND CreateDemo()
    {
        HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, kPlace, nullptr, "Quennary demo");
        On(window, WM_PAINT, [this](HWND AWindow, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(AWindow, paint);
            const COLORREF colors[] = {RGB(200, 40, 40), RGB(40, 160, 60), RGB(40, 70, 200), RGB(240, 200, 30)};
            for (int i = 0; i < 4; ++i) {
                HBRUSH brush = CreateSolidBrush(colors[i]);
                RECT band = Rect(10 + i * 40, 10, 45 + i * 40, 60);
                FillRect(dc, &band, brush);
                DeleteObject(brush);
            }
            Ellipse(dc, 190, 10, 280, 70);
            SetBkMode(dc, TRANSPARENT);
            std::string text = "Quennary – Grüße";
            TextOut(dc, 12, 80, text.c_str(), static_cast<int>(text.size()));
            EndPaint(AWindow, paint);
            ++Paints;
            return 0;
        });
        return window;
    }

    static constexpr TRect kPlace = {40, 40, 360, 240};
    int Paints = 0;
};

TEST_F(X11Screenshot, TheDisplayShowsWhatTheHeadlessScreenShows)
{
    auto folder = std::filesystem::path(QUENNARY_BINARY_DIR) / "x11-screenshots";
    std::filesystem::create_directories(folder);

    headless::THeadlessBackend headless({1280, 1024});
    SetBackend(&headless);
    HWND window = CreateDemo();
    UpdateWindow(window);
    Drain();
    TTopLevelView view;
    ASSERT_TRUE(ViewTopLevel(window, view));
    std::vector<uint32_t> expected(view.Pixels, view.Pixels + size_t(view.Width) * view.Height);
    for (uint32_t& pixel : expected)
        pixel |= 0xFF000000u;
    EXPECT_TRUE(headless.WriteWindowPng(window, (folder / "headless.png").string()));
    DestroyWindow(window);
    SetBackend(Backend.get());

    Paints = 0;
    window = CreateDemo();
    ASSERT_TRUE(ShownOnX(window));
    ASSERT_TRUE(PumpUntil([&] { return Paints > 0; }));
    Drain();
    Backend->Sync();

    std::string dump_file = (folder / "screen.xwd").string();
    ASSERT_EQ(std::system(("xwd -root -silent -out '" + dump_file + "'").c_str()), 0);
    auto dump = ReadXwd(dump_file);
    ASSERT_TRUE(dump.has_value());
    ASSERT_GE(dump->Width, kPlace.Right);
    ASSERT_GE(dump->Height, kPlace.Bottom);
    std::vector<uint32_t> shown;
    for (int y = kPlace.Top; y < kPlace.Bottom; ++y)
        for (int x = kPlace.Left; x < kPlace.Right; ++x)
            shown.push_back(dump->Pixels[size_t(y) * dump->Width + x]);
    headless::WritePng((folder / "x11.png").string(), shown.data(), kPlace.Width(), kPlace.Height());
    ASSERT_EQ(shown.size(), expected.size());
    size_t differing = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        differing += shown[i] != expected[i];
    EXPECT_EQ(differing, 0u) << "compare " << (folder / "headless.png") << " with " << (folder / "x11.png");
}

}  // namespace
}  // namespace x11test
