// The components' about box on a headless screen: its texts and layout, the icon tile, the link and the button.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "media/about/about_box.h"
#include "media/decode/frame_decoder.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/icon.h"
#include "tests/platform/gui/gui_fixture.h"

namespace {

class TFFSample : public TFFBaseComponent {
public:
    using TFFBaseComponent::TFFBaseComponent;
};

class AboutBoxTest : public guitest::TGuiFixture {
protected:
    TPoint Centre(TControl* AControl)
    {
        const TRect bounds = AControl->BoundsRect();
        return AControl->Parent()->ClientToScreen(
            TPoint{bounds.Left + bounds.Width() / 2, bounds.Top + bounds.Height() / 2});
    }
};

TEST_F(AboutBoxTest, NameVersionAndTheMakersLinesInTheUsersLanguage)
{
    TfrmAbout box(nullptr);
    box.Setup("FFDecoder", "3.9", nullptr, "en");
    EXPECT_EQ(box.Caption(), "About FFDecoder");
    EXPECT_EQ(box.Label1->Caption(), "FFDecoder - Version 3.9");
    EXPECT_EQ(box.ClientWidth(), 291);
    EXPECT_EQ(box.ClientHeight(), 160);
    EXPECT_EQ(box.Image1->BoundsRect(), Bounds(14, 16, 24, 24));
    EXPECT_EQ(box.Label4->Top(), 93);
    EXPECT_EQ(box.Label4->Left(), 56);
    const std::string english = box.Label3->Caption();

    TfrmAbout german(nullptr);
    german.Setup("FFLogger", "", nullptr, "de");
    EXPECT_EQ(german.Label1->Caption(), "FFLogger");
    EXPECT_NE(german.Label3->Caption(), english);

    setenv("LC_ALL", "de_AT.UTF-8", 1);
    EXPECT_EQ(UserLanguage(), "de");
    unsetenv("LC_ALL");
}

TEST_F(AboutBoxTest, AnIconGetsTheFramedTileAndTheLabelsMakeRoom)
{
    TIcon icon;
    icon.SetPixels(16, 16, std::vector<uint32_t>(16 * 16, 0xFFFF0000));
    TfrmAbout box(nullptr);
    box.Setup("FFDecoder", "3.9", &icon, "en");
    // Centred on the old 24 x 24 place.
    EXPECT_EQ(box.Image1->BoundsRect(), Bounds(2, 4, 48, 48));
    EXPECT_EQ(box.Label1->Left(), 64);
    EXPECT_EQ(box.Label4->Left(), 64);
    TBitmap* tile = box.Image1->Picture()->Bitmap();
    TCanvas* canvas = tile->Canvas();
    EXPECT_EQ(canvas->Pixels(0, 0), static_cast<TColor>(win::RGB(241, 239, 226)));
    EXPECT_EQ(canvas->Pixels(1, 10), static_cast<TColor>(win::RGB(113, 111, 100)));
    EXPECT_EQ(canvas->Pixels(5, 5), clWhite);
    EXPECT_EQ(canvas->Pixels(24, 24), static_cast<TColor>(win::RGB(255, 0, 0)));

    box.Show();
    Pump();
    ASSERT_TRUE(Display.WriteWindowPng(box.Handle(), QUENNARY_BINARY_DIR "/tests/media/about_box.png"));
}

TEST_F(AboutBoxTest, TheLinkLightsUpUnderTheMouseAndOpensTheMakersPage)
{
    TfrmAbout box(nullptr);
    box.Setup("FFDecoder", "3.9", nullptr, "en");
    std::vector<std::string> opened;
    box.OpenLink = [&](const std::string& AAddress) {
        opened.push_back(AAddress);
        return true;
    };
    box.Show();
    Pump();
    EXPECT_EQ(box.Label4->Cursor(), crHandPoint);
    EXPECT_EQ(box.Label4->Font()->Color(), clBlue);
    Display.MoveMouse(Centre(box.Label4));
    Pump();
    EXPECT_EQ(box.Label4->Font()->Color(), clRed);
    Display.Click(Centre(box.Label4));
    Pump();
    ASSERT_EQ(opened.size(), 1u);
    // The tag: a fixed word and the link's caption, blanks turned into "_", lower case.
    EXPECT_EQ(box.Label4->Caption(), "https://quennary.example.org");
    EXPECT_EQ(opened[0], "https://quennary.example.org/?from=about_https%3A%2F%2Fquennary.example.org");
    Display.MoveMouse(Centre(box.Label1));
    Pump();
    EXPECT_EQ(box.Label4->Font()->Color(), clBlue);
}

TEST_F(AboutBoxTest, CloseAndEscapeEndTheModalBox)
{
    TfrmAbout box(nullptr);
    box.Setup("FFDecoder", "3.9", nullptr, "en");
    box.OnShow = [&](TObject*) { Display.Click(Centre(box.btnOK)); };
    EXPECT_EQ(box.ShowModal(), mrCancel);
    EXPECT_EQ(box.btnOK->Caption(), "&Close");
    box.OnShow = [&](TObject*) { Display.PressKey(win::VK_ESCAPE); };
    EXPECT_EQ(box.ShowModal(), mrCancel);
}

TEST(AboutName, TheClassNameWithoutItsFirstLetter)
{
    TFFDecoder decoder(nullptr);
    EXPECT_EQ(AboutName(decoder), "FFDecoder");
    TFFSample sample(nullptr);
    EXPECT_EQ(AboutName(sample), "FFSample");
}

}  // namespace
