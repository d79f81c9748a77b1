// The gauge: the progress rectangle and the percent text, the value clamp, the plain look, the skinned strip with
// its end caps, the paint hook, and a fixed skin stretched to any size without the skin's size.
#include <gtest/gtest.h>

#include "skin/controls/gauge.h"
#include "tests/skin/controls/control_shot.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

TEST(GaugeMathTest, ProgressRectangle)
{
    struct Case {
        const char* what;
        TRect r;
        Integer value, min, max;
        bool vertical;
        TRect expected;
    } cases[] = {
        {"half of 200", Rect(0, 0, 200, 10), 50, 0, 100, false, Rect(0, 0, 100, 10)},
        {"none", Rect(0, 0, 200, 10), 0, 0, 100, false, Rect(0, 0, 0, 10)},
        {"truncated", Rect(5, 0, 105, 10), 2, 0, 3, false, Rect(5, 0, 71, 10)},
        {"whole numbers: 29 of 100 is 29", Rect(0, 0, 100, 10), 29, 0, 100, false, Rect(0, 0, 29, 10)},
        {"offset range", Rect(0, 0, 100, 10), -50, -100, 100, false, Rect(0, 0, 25, 10)},
        {"vertical from the bottom", Rect(0, 10, 20, 110), 25, 0, 100, true, Rect(0, 85, 20, 110)},
        {"empty range", Rect(0, 0, 200, 10), 7, 7, 7, false, Rect(0, 0, 0, 10)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GaugeProgressRect(c.r, c.value, c.min, c.max, c.vertical), c.expected) << c.what;
}

TEST(GaugeMathTest, PercentText)
{
    EXPECT_EQ(GaugeText(33, 0, 99, false, "", true), "33%");
    EXPECT_EQ(GaugeText(2, 0, 3, false, "", true), "66%");
    EXPECT_EQ(GaugeText(29, 0, 100, false, "", true), "29%");
    EXPECT_EQ(GaugeText(33, 0, 99, true, "Converting ", true), "Converting 33%");
    EXPECT_EQ(GaugeText(33, 0, 99, true, "Converting", false), "Converting");
    EXPECT_EQ(GaugeText(33, 0, 99, false, "Converting", false), "");
    EXPECT_EQ(GaugeText(5, 5, 5, false, "", true), "0%");
}

class GaugeTest : public controlstest::TControlsFixture {
protected:
    TspSkinGauge* NewGauge(Integer AWidth = 100, Integer AHeight = 20)
    {
        auto* g = new TspSkinGauge(Form);
        g->SetParent(Form);
        g->SetBounds(10, 10, AWidth, AHeight);
        Pump();
        return g;
    }
    // A gauge picture 100 x 20 in grey, with a progress strip at (0, 20): a red begin cap 4 wide, a green middle
    // 10 wide, a blue end cap 4 wide.
    TspDataSkinGaugeControl* GaugeRecord()
    {
        const Integer p = AddPicture(100, 40, static_cast<TColor>(0x808080));
        controlstest::Fill(PictureAt(p), Rect(0, 20, 4, 40), kCap1);
        controlstest::Fill(PictureAt(p), Rect(4, 20, 14, 40), kMiddle);
        controlstest::Fill(PictureAt(p), Rect(14, 20, 18, 40), kCap2);
        auto* r = AddRecord<TspDataSkinGaugeControl>("gauge");
        r->PictureIndex = p;
        r->SkinRect = Rect(0, 0, 100, 20);
        r->ProgressArea = Rect(0, 0, 100, 20);
        r->ProgressRect = Rect(0, 20, 18, 40);
        r->BeginOffset = 4;
        r->EndOffset = 4;
        return r;
    }
    static constexpr TColor kCap1 = static_cast<TColor>(0x0000FF), kMiddle = static_cast<TColor>(0x00FF00),
                            kCap2 = static_cast<TColor>(0xFF0000), kBack = static_cast<TColor>(0x808080);
};

TEST_F(GaugeTest, ValueIsClampedWithoutEvents)
{
    auto* g = NewGauge();
    g->SetValue(150);
    EXPECT_EQ(g->Value(), 100);
    g->SetValue(-3);
    EXPECT_EQ(g->Value(), 0);
    g->SetValue(50);
    g->SetMaxValue(10);
    EXPECT_EQ(g->Value(), 10);
    g->SetMinValue(20);
    EXPECT_EQ(g->Value(), 20);
    g->SetProgressAnimationPause(-5);
    EXPECT_EQ(g->ProgressAnimationPause(), 1000);
}

TEST_F(GaugeTest, PlainLookFillsTheProgressPart)
{
    auto* g = NewGauge();
    g->SetValue(50);
    Pump();
    const TColor window = static_cast<TColor>(ColorToRGB(clWindow));
    EXPECT_EQ(ScreenColor(g, 0, 10), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(ScreenColor(g, 1, 10), static_cast<TColor>(0xD2BDB6));
    EXPECT_EQ(ScreenColor(g, 49, 10), static_cast<TColor>(0xD2BDB6));
    EXPECT_EQ(ScreenColor(g, 50, 10), window);
    g->SetValue(0);
    Pump();
    EXPECT_EQ(ScreenColor(g, 1, 10), window);

    TRect area, progress;
    g->OnGaugePaint = [&](TCanvas*, const TRect& AArea, const TRect& AProgress) {
        area = AArea;
        progress = AProgress;
    };
    g->SetValue(25);
    Pump();
    EXPECT_EQ(area, Rect(1, 1, 99, 19));
    EXPECT_EQ(progress, Rect(1, 1, 25, 19));
}

TEST_F(GaugeTest, SkinnedStripHasCapsAndATiledMiddle)
{
    GaugeRecord();
    auto* g = NewGauge();
    g->SetSkinData(Skin);
    g->SetValue(50);
    Pump();
    ASSERT_TRUE(g->Skinned());
    EXPECT_EQ(ScreenColor(g, 0, 10), kCap1);
    EXPECT_EQ(ScreenColor(g, 3, 10), kCap1);
    EXPECT_EQ(ScreenColor(g, 4, 10), kMiddle);
    EXPECT_EQ(ScreenColor(g, 45, 10), kMiddle);
    EXPECT_EQ(ScreenColor(g, 46, 10), kCap2);
    EXPECT_EQ(ScreenColor(g, 49, 10), kCap2);
    EXPECT_EQ(ScreenColor(g, 50, 10), kBack);

    // Shorter than both caps: only the caps, overlapping.
    g->SetValue(6);
    Pump();
    EXPECT_EQ(ScreenColor(g, 0, 10), kCap1);
    EXPECT_EQ(ScreenColor(g, 1, 10), kCap1);
    EXPECT_EQ(ScreenColor(g, 2, 10), kCap2);
    EXPECT_EQ(ScreenColor(g, 5, 10), kCap2);
    EXPECT_EQ(ScreenColor(g, 6, 10), kBack);
    g->SetValue(0);
    Pump();
    EXPECT_EQ(ScreenColor(g, 0, 10), kBack);
}

TEST_F(GaugeTest, WithoutTheSkinSizeAFixedSkinStretchesAndTheTextIsCentred)
{
    GaugeRecord();
    auto* g = NewGauge(200, 40);
    g->SetUseSkinSize(false);
    g->SetSkinData(Skin);
    g->SetBounds(10, 10, 200, 40);
    g->SetValue(50);
    Pump();
    EXPECT_EQ(g->Width(), 200);
    EXPECT_EQ(g->Height(), 40);
    EXPECT_EQ(ScreenColor(g, 1, 20), kCap1);   // stretched two-fold
    EXPECT_EQ(ScreenColor(g, 7, 20), kCap1);
    EXPECT_EQ(ScreenColor(g, 50, 20), kMiddle);
    EXPECT_EQ(ScreenColor(g, 150, 20), kBack);

    // Black text over the middle: the percentage centred at the control's middle.
    Skin->CtrlList.back()->IDName = "gauge";
    auto* record = static_cast<TspDataSkinGaugeControl*>(Skin->CtrlList.back().get());
    record->FontName = "DejaVu Sans";
    record->FontHeight = 20;
    record->FontColor = clBlack;
    g->SetShowPercent(true);
    Pump();
    const auto pixels = controlstest::ControlShot(Display, g);
    Integer left = 200, right = -1;
    for (Integer x = 0; x < 200; ++x)
        for (Integer y = 0; y < 40; ++y)
            if (pixels[size_t(y) * 200 + x] == clBlack) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right) / 2, 100, 3);
}

}  // namespace
