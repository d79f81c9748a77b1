#include "x11_fixture.h"
#include "xwd_reader.h"

#include "platform/backend/headless/headless_backend.h"

#include <filesystem>

namespace x11test {
namespace {

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
    auto found = ReadXwdArea(dump_file, kPlace);
    ASSERT_TRUE(found.has_value());
    std::vector<uint32_t>& shown = *found;
    headless::WritePng((folder / "x11.png").string(), shown.data(), kPlace.Width(), kPlace.Height());
    ASSERT_EQ(shown.size(), expected.size());
    size_t differing = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        differing += shown[i] != expected[i];
    EXPECT_EQ(differing, 0u) << "compare " << (folder / "headless.png") << " with " << (folder / "x11.png");
}

}  // namespace
}  // namespace x11test
