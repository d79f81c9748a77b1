#include "skin/core/layer_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/bitmap.h"
#include "platform/rtl/clock.h"
#include "platform/win/win.h"

namespace {

class LayerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::SetBackend(&Display);
        Display.SetCompositor(true);
        Image.SetSize(8, 6);
        Mask.SetSize(8, 6);
        Mask.Canvas()->Brush()->SetColor(clWhite);
        Mask.Canvas()->FillRect(Rect(0, 0, 8, 6));
    }
    void TearDown() override {
        Manager.reset();
        headless::THeadlessBackend::ProcessMessages();
        win::SetBackend(nullptr);
    }
    // Ticks until the timer stops (bounded), recording the window's constant alpha after each.
    std::vector<Integer> Fade(Integer AEnd) {
        Manager->Show(10, 20, &Image, &Mask, AEnd);
        std::vector<Integer> alphas;
        for (int i = 0; i < 300 && Manager->Timer->Enabled(); ++i) {
            Clock.Advance(25 * 1000);
            headless::THeadlessBackend::ProcessMessages();
            alphas.push_back(Manager->BeginAlphaBlendValue);
        }
        return alphas;
    }

    TVirtualClock Clock{int64_t(1) << 32};
    TClockOverride ClockScope{Clock};
    headless::THeadlessBackend Display;
    TBitmap Image, Mask;
    std::unique_ptr<TspLayerManager> Manager = std::make_unique<TspLayerManager>(nullptr);
};

TEST_F(LayerWindowTest, FadeAlwaysEndsAndItsTimerStops)
{
    const struct { Integer end; std::vector<Integer> alphas; } cases[] = {
        {255, {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}},
        {0, {0}},
        {1, {1}},
        {5, {1, 2, 3, 4, 5}},
        {9, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {30, {3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Fade(c.end), c.alphas) << c.end;
        EXPECT_FALSE(Manager->Timer->Enabled());
        EXPECT_TRUE(Manager->IsVisible);
        ASSERT_NE(Manager->LayerWindow, nullptr);
    }
    // Once ended, the timer stays quiet.
    Clock.Advance(1000 * 1000);
    headless::THeadlessBackend::ProcessMessages();
    EXPECT_EQ(Manager->BeginAlphaBlendValue, 30);
}

TEST_F(LayerWindowTest, WindowStylesAndHide)
{
    Manager->Show(10, 20, &Image, &Mask, 255);
    const win::HWND wnd = Manager->LayerWindow->Handle();
    EXPECT_EQ(static_cast<win::DWORD>(win::GetWindowLong(wnd, win::GWL_STYLE)) & 0xFFFF0000u,
              static_cast<win::DWORD>(win::WS_POPUP | win::WS_VISIBLE));
    const auto ex = static_cast<win::DWORD>(win::GetWindowLong(wnd, win::GWL_EXSTYLE));
    EXPECT_EQ(ex & 0xA0u, 0xA0u);
    EXPECT_NE(ex & win::WS_EX_LAYERED, 0u);
    EXPECT_TRUE(win::IsWindowVisible(wnd));
    EXPECT_EQ(win::SendMessage(wnd, win::WM_MOUSEACTIVATE, 0, 0), win::MA_NOACTIVATE);

    Manager->Hide();
    EXPECT_EQ(Manager->LayerWindow, nullptr);
    EXPECT_EQ(Manager->Bmp, nullptr);
    EXPECT_FALSE(Manager->IsVisible);
    EXPECT_FALSE(Manager->Timer->Enabled());
    Manager->Hide();  // nothing shown: only stops the timer
    EXPECT_FALSE(Manager->IsVisible);
}

TEST_F(LayerWindowTest, LayerBitmapTakesTheMaskAsPremultipliedAlpha)
{
    Image.Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000C8));  // red 200
    Image.Canvas()->FillRect(Rect(0, 0, 8, 6));
    Mask.Canvas()->Brush()->SetColor(static_cast<TColor>(0x808080));
    Mask.Canvas()->FillRect(Rect(0, 0, 4, 6));
    TspBitmap layer;
    BuildLayerBitmap(&Image, &Mask, &layer);
    const TspColor half = layer.GetPixel(1, 1);
    const TspColor full = layer.GetPixel(6, 1);
    EXPECT_EQ(full >> 24, 255u);
    EXPECT_EQ((full >> 16) & 0xFF, 200u);
    EXPECT_EQ(half >> 24, 128u);
    EXPECT_LE((half >> 16) & 0xFF, 128u);
}

}  // namespace
