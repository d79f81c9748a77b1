// The windowless labels and the bevel: font and colour choice, text flags, the measuring blank, embossed
// disabled text in skin colours, the link click reaching the desktop's default program, the glow offset, the
// text label's auto size, the button label's glyph frames and web style, and the bevel's lines per shape.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/gdi/text.h"
#include "platform/rtl/environment.h"
#include "skin/controls/bevel.h"
#include "skin/controls/button_label.h"
#include "skin/controls/link_label.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"
#include "tests/skin/controls/control_shot.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

constexpr TColor kInk = static_cast<TColor>(0x0000FF), kSkinInk = static_cast<TColor>(0x00FF00),
                 kHoverInk = static_cast<TColor>(0xFF0000), kDefaultInk = static_cast<TColor>(0x00FFFF);

TspStdLabelFont RecordFont()
{
    TspStdLabelFont r;
    r.FontName = "DejaVu Serif";
    r.FontStyle = TFontStyles{fsItalic};
    r.FontHeight = 20;
    r.FontColor = kSkinInk;
    r.ActiveFontColor = kHoverInk;
    return r;
}

struct FontSeen {
    std::string Name;
    Integer Height;
    TColor Color;
    bool Underline;
};

FontSeen Seen(const TFont& AFont)
{
    return {AFont.Name(), AFont.Height(), AFont.Color(), AFont.Style().Contains(fsUnderline)};
}

class FontChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Default.SetName("DejaVu Sans");
        Default.SetHeight(14);
        Default.SetColor(kDefaultInk);
        Own.SetName("DejaVu Sans Mono");
        Own.SetHeight(11);
        Own.SetColor(kInk);
    }
    TFont Default, Own, Target;
};

TEST_F(FontChoiceTest, StandardLabelTakesFaceAndColourByCase)
{
    struct Case {
        const char* what;
        TspLabelFontChoice choice;
        std::string name;
        Integer height;
        TColor color;
    } cases[] = {
        {"unskinned", {false, true, true}, "DejaVu Sans", 14, kInk},
        {"unskinned, own font", {false, false, true}, "DejaVu Sans Mono", 11, kInk},
        {"skinned", {true, true, true}, "DejaVu Serif", 20, kSkinInk},
        {"skinned, own face", {true, false, true}, "DejaVu Sans Mono", 11, kSkinInk},
        {"skinned, own colour", {true, true, false}, "DejaVu Serif", 20, kInk},
    };
    for (const Case& c : cases) {
        ApplyStdLabelFont(&Target, c.choice, RecordFont(), &Default, &Own);
        EXPECT_EQ(Target.Name(), c.name) << c.what;
        EXPECT_EQ(Target.Height(), c.height) << c.what;
        EXPECT_EQ(Target.Color(), c.color) << c.what;
    }
}

TEST_F(FontChoiceTest, LinkLabelHoverColourAndUnderline)
{
    struct Case {
        const char* what;
        TspLinkFontChoice choice;
        TColor color;
        bool underline;
    } cases[] = {
        {"unskinned", {false, true, true, false, false, true, kHoverInk}, kDefaultInk, true},
        {"unskinned, hover", {false, true, true, true, false, true, kHoverInk}, kHoverInk, true},
        {"unskinned, no underline", {false, true, false, false, false, true, kHoverInk}, kDefaultInk, false},
        {"unskinned disabled stays underlined", {false, true, false, false, false, false, kHoverInk}, kDefaultInk,
         true},
        {"skinned", {true, true, true, false, false, true, kHoverInk}, kSkinInk, true},
        {"skinned, hover", {true, true, true, true, false, true, kHoverInk}, kHoverInk, true},
        {"skinned, hover with glow", {true, true, true, true, true, true, kHoverInk}, kSkinInk, true},
        {"skinned, no underline", {true, true, false, false, false, false, kHoverInk}, kSkinInk, false},
    };
    for (const Case& c : cases) {
        ApplyLinkLabelFont(&Target, c.choice, RecordFont(), &Default, &Own);
        EXPECT_EQ(Target.Color(), c.color) << c.what;
        EXPECT_EQ(Target.Style().Contains(fsUnderline), c.underline) << c.what;
    }
}

TEST(LabelTextTest, FlagsAndTheMeasuringBlank)
{
    using namespace win;
    EXPECT_EQ(StdLabelTextFlags(DT_LEFT, true, spetNone), Cardinal(DT_LEFT));
    EXPECT_EQ(StdLabelTextFlags(DT_LEFT, false, spetNone), Cardinal(DT_LEFT | DT_NOPREFIX));
    EXPECT_EQ(StdLabelTextFlags(DT_CENTER, true, spetEndEllips), Cardinal(DT_CENTER | DT_END_ELLIPSIS));
    EXPECT_EQ(StdLabelTextFlags(0, false, spetPathEllips), Cardinal(DT_NOPREFIX | DT_PATH_ELLIPSIS));

    EXPECT_EQ(LabelTextToDraw("", true, true), " ");
    EXPECT_EQ(LabelTextToDraw("&", true, true), "& ");
    EXPECT_EQ(LabelTextToDraw("&", true, false), "&");  // shown as it stands: no blank needed
    EXPECT_EQ(LabelTextToDraw("", false, true), "");
    EXPECT_EQ(LabelTextToDraw("Open", true, true), "Open");
}

class LabelsTest : public controlstest::TControlsFixture {
protected:
    template <typename TLabel>
    TLabel* NewLabel(const std::string& ACaption, Integer AX = 10, Integer AY = 10)
    {
        auto* l = new TLabel(Form);
        l->SetParent(Form);
        l->SetLeft(AX);
        l->SetTop(AY);
        l->SetCaption(ACaption);
        Pump();
        return l;
    }
    TspDataSkinStdLabelControl* AddStdLabelRecord()
    {
        auto* r = AddRecord<TspDataSkinStdLabelControl>("stdlabel");
        r->FontName = "DejaVu Sans";
        r->FontHeight = 24;
        r->FontStyle = TFontStyles{fsBold};
        r->FontColor = kSkinInk;
        r->ActiveFontColor = kHoverInk;
        return r;
    }
    std::vector<TColor> Shot(TControl* AControl) { return controlstest::ControlShot(Display, AControl); }
    // The first row of the control that shows the colour, -1 when none does.
    Integer FirstRowWith(TControl* AControl, TColor AColor)
    {
        const auto pixels = Shot(AControl);
        for (size_t i = 0; i < pixels.size(); ++i)
            if (pixels[i] == AColor) return static_cast<Integer>(i / AControl->Width());
        return -1;
    }
    bool Shows(TControl* AControl, TColor AColor) { return FirstRowWith(AControl, AColor) >= 0; }
};

TEST_F(LabelsTest, StandardLabelDrawsInTheRecordFontOrFallsBack)
{
    auto* label = NewLabel<TspSkinStdLabel>("Preview:");
    label->Font()->SetColor(kInk);
    label->DefaultFont()->SetName("DejaVu Sans");
    label->Repaint();
    Pump();
    EXPECT_TRUE(Shows(label, kInk));
    const Integer plainHeight = label->Height();

    // A record of another class under the name leaves the label unskinned.
    AddRecord<TspDataSkinBevel>("stdlabel");
    label->SetSkinData(Skin);
    Pump();
    EXPECT_FALSE(label->Skinned());
    EXPECT_TRUE(Shows(label, kInk));

    label->SetSkinDataName("mylabel");
    auto* record = AddStdLabelRecord();
    record->IDName = "mylabel";
    label->SetSkinData(Skin);
    Pump();
    EXPECT_TRUE(label->Skinned());
    EXPECT_TRUE(Shows(label, kSkinInk));
    EXPECT_FALSE(Shows(label, kInk));
    EXPECT_GT(label->Height(), plainHeight);  // auto size measured the record's larger font

    label->SetUseSkinColor(false);
    label->Repaint();
    Pump();
    EXPECT_TRUE(Shows(label, kInk));
}

TEST_F(LabelsTest, DisabledTextIsEmbossedInTheSkinColours)
{
    AddStdLabelRecord();
    auto colors = std::make_unique<TspSkinColors>();
    colors->FcBtnHighLight = static_cast<TColor>(0x00FFFF);
    colors->FcBtnShadow = static_cast<TColor>(0xFF00FF);
    Skin->FSkinColors = std::move(colors);
    auto* label = NewLabel<TspSkinStdLabel>("Disabled");
    label->SetSkinData(Skin);
    label->SetEnabled(false);
    Pump();
    EXPECT_TRUE(Shows(label, static_cast<TColor>(0x00FFFF)));
    EXPECT_TRUE(Shows(label, static_cast<TColor>(0xFF00FF)));
    EXPECT_FALSE(Shows(label, kSkinInk));
}

TEST_F(LabelsTest, AnEmptyAutoSizedLabelKeepsOneLineOfHeight)
{
    auto* empty = NewLabel<TspSkinStdLabel>("");
    auto* text = NewLabel<TspSkinStdLabel>("Ag", 10, 60);
    EXPECT_GT(empty->Height(), 0);
    EXPECT_EQ(empty->Height(), text->Height());
}

TEST_F(LabelsTest, EllipsisShortensTheTextToTheLabel)
{
    auto* label = NewLabel<TspSkinStdLabel>("/home/user/Videos/holidays/2025/summer/beach-day-one.mp4");
    label->SetAutoSize(false);
    label->SetWidth(120);
    label->Font()->SetColor(kInk);
    Pump();
    // Without an ellipsis the text runs to the right edge; the path ellipsis ends with the file name.
    const auto cut = Shot(label);
    label->SetEllipsType(spetPathEllips);
    Pump();
    const auto path = Shot(label);
    EXPECT_NE(cut, path);
    label->SetEllipsType(spetEndEllips);
    Pump();
    EXPECT_NE(Shot(label), path);
}

TEST_F(LabelsTest, LinkClickOpensTheAddressAsOneArgument)
{
    char pattern[] = "/tmp/quennary-link-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const std::string record = dir + "/args";
    {
        std::ofstream script(dir + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" << record << ".part'\n/bin/mv '" << record
               << ".part' '" << record << "'\n";
    }
    std::filesystem::permissions(dir + "/xdg-open", std::filesystem::perms::owner_all);
    const auto savedPath = FindEnvironmentVariable("PATH");
    SetEnvironmentVariable("PATH", dir);

    auto* link = NewLabel<TspSkinLinkLabel>("Home page");
    int clicks = 0;
    link->OnClick = [&](TObject*) { ++clicks; };
    const std::string url = "https://example.org/a page?x=1;y='2'";
    link->SetURL(url);
    Display.Click(ScreenPoint(link, 5, 5));
    Pump();
    EXPECT_EQ(clicks, 1);
    // xdg-open runs detached; wait for its record (bounded, not a fixed sleep).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(record) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::stringstream text;
    text << std::ifstream(record).rdbuf();
    EXPECT_EQ(text.str(), "1\n" + url + "\n");

    savedPath ? SetEnvironmentVariable("PATH", *savedPath) : UnsetEnvironmentVariable("PATH");
    std::filesystem::remove_all(dir);
}

TEST_F(LabelsTest, LinkClickWithoutAddressOnlyClicks)
{
    auto* link = NewLabel<TspSkinLinkLabel>("Support");
    std::vector<std::string> order;
    link->OnClick = [&](TObject*) { order.push_back("click"); };
    link->OpenURL = [&](const std::string& AUrl) {
        order.push_back("open " + AUrl);
        return true;
    };
    Display.Click(ScreenPoint(link, 5, 5));
    Pump();
    EXPECT_EQ(order, (std::vector<std::string>{"click"}));
    Run(1000);  // not a double click
    link->SetURL("mailto:support@example.org");
    Display.Click(ScreenPoint(link, 5, 5));
    Pump();
    EXPECT_EQ(order, (std::vector<std::string>{"click", "click", "open mailto:support@example.org"}));
}

TEST_F(LabelsTest, LinkHoverColourAndGlowOffset)
{
    auto* link = NewLabel<TspSkinLinkLabel>("Home page");
    link->DefaultFont()->SetColor(kInk);
    link->SetDefaultActiveFontColor(kHoverInk);
    link->SetAutoSize(false);
    link->SetHeight(40);
    Pump();
    const Integer plainTop = FirstRowWith(link, kInk);
    ASSERT_GE(plainTop, 0);
    Display.MoveMouse(ScreenPoint(link, 5, 5));
    Pump();
    EXPECT_TRUE(link->MouseIn());
    EXPECT_TRUE(Shows(link, kHoverInk));
    EXPECT_FALSE(Shows(link, kInk));
    Display.MoveMouse(ScreenPoint(Form, 390, 5));
    Pump();
    link->SetGlowEffect(true);
    Pump();
    EXPECT_FALSE(link->MouseIn());
    EXPECT_EQ(FirstRowWith(link, kInk), plainTop + link->GlowSize());
}

TEST_F(LabelsTest, RightAlignedTextLabelGrowsToTheLeft)
{
    auto* label = new TspSkinTextLabel(Form);
    label->SetParent(Form);
    label->SetAlignment(taRightJustify);
    label->SetBounds(100, 10, 65, 65);
    label->Lines()->Add("one");
    Pump();
    const Integer right = label->Left() + label->Width();
    const Integer oneLine = label->Height();
    label->Lines()->Add("a much longer second line");
    Pump();
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_GT(label->Height(), oneLine);
    EXPECT_LT(label->Left(), 100);
}

TEST_F(LabelsTest, TextLabelLayoutPlacesTheTextVertically)
{
    auto* label = new TspSkinTextLabel(Form);
    label->SetParent(Form);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 120, 90);
    label->Font()->SetColor(kInk);
    label->Lines()->Add("Middle");
    Pump();
    const Integer top = FirstRowWith(label, kInk);
    label->SetLayout(tlCenter);
    Pump();
    const Integer centre = FirstRowWith(label, kInk);
    label->SetLayout(tlBottom);
    Pump();
    const Integer bottom = FirstRowWith(label, kInk);
    EXPECT_LT(top, centre);
    EXPECT_LT(centre, bottom);
    EXPECT_NEAR(centre - top, (bottom - top) / 2, 1);
}

TEST(ButtonLabelGlyphTest, FrameByState)
{
    struct Case {
        bool down, in, enabled;
        TspNumGlyphs glyphs;
        Integer frame;
    } cases[] = {
        {false, false, true, 4, 1}, {false, true, true, 4, 4}, {true, true, true, 4, 3},
        {true, false, true, 4, 1},  {true, true, true, 3, 3},  {false, true, true, 3, 1},
        {false, false, false, 2, 2}, {false, false, false, 1, 1}, {true, true, true, 2, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ButtonLabelGlyphFrame(c.down, c.in, c.enabled, c.glyphs), c.frame)
            << c.down << c.in << c.enabled << " of " << c.glyphs;
}

TEST_F(LabelsTest, ButtonLabelHoverPressAndWebStyle)
{
    auto* label = new TspSkinButtonLabel(Form);
    label->SetParent(Form);
    label->SetBounds(10, 10, 120, 40);
    label->SetCaption("Convert");
    label->SetNumGlyphs(4);
    int clicks = 0;
    label->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    label->SetMargin(-2);
    EXPECT_EQ(label->Margin(), -1);

    const TPoint at = ScreenPoint(label, 60, 20);
    Display.MoveMouse(at);
    Pump();
    EXPECT_EQ(label->GlyphFrame(), 4);
    const auto hover = Shot(label);
    Display.PressButton(at);
    Pump();
    EXPECT_EQ(label->GlyphFrame(), 3);
    EXPECT_NE(Shot(label), hover);  // the pressed look shifts the content
    Display.ReleaseButton(at);
    Pump();
    EXPECT_EQ(clicks, 1);

    Run(1000);  // not a double click
    label->SetWebStyle(true);
    label->Repaint();
    Pump();
    const auto webHover = Shot(label);
    Display.PressButton(at);
    Pump();
    EXPECT_EQ(Shot(label), webHover);
    Display.ReleaseButton(at);
    Pump();
    EXPECT_EQ(clicks, 2);
}

TEST(BevelLinesTest, LinesPerShape)
{
    const TColor light = static_cast<TColor>(0xEEEEEE), dark = static_cast<TColor>(0x333333);
    using L = TspBevelLine;
    const Integer w = 40, h = 20;
    struct Case {
        const char* what;
        TBevelShape shape;
        TBevelStyle style;
        bool divider;
        std::vector<L> lines;
    } cases[] = {
        {"box", bsBox, bsLowered, false,
         {{dark, {{0, 19}, {0, 0}, {39, 0}}}, {light, {{39, 0}, {39, 19}, {0, 19}}}}},
        {"raised box", bsBox, bsRaised, false,
         {{light, {{0, 19}, {0, 0}, {39, 0}}}, {dark, {{39, 0}, {39, 19}, {0, 19}}}}},
        {"frame", bsFrame, bsLowered, false,
         {{light, {{1, 19}, {1, 1}, {39, 1}}},
          {light, {{39, 1}, {39, 19}, {1, 19}}},
          {dark, {{0, 18}, {0, 0}, {38, 0}}},
          {dark, {{38, 0}, {38, 18}, {0, 18}}}}},
        {"top line", bsTopLine, bsLowered, false, {{dark, {{0, 0}, {40, 0}}}, {light, {{0, 1}, {40, 1}}}}},
        {"bottom line", bsBottomLine, bsLowered, false, {{dark, {{0, 18}, {40, 18}}}, {light, {{0, 19}, {40, 19}}}}},
        {"left line", bsLeftLine, bsLowered, false, {{dark, {{0, 0}, {0, 20}}}, {light, {{1, 0}, {1, 20}}}}},
        {"right line", bsRightLine, bsRaised, false, {{light, {{38, 0}, {38, 20}}}, {dark, {{39, 0}, {39, 20}}}}},
        {"spacer", bsSpacer, bsLowered, false, {}},
        {"divider, top line", bsTopLine, bsLowered, true,
         {{dark, {{2, 10}, {2, 9}, {38, 9}}}, {light, {{38, 9}, {38, 10}, {2, 10}}}}},
        {"divider, box", bsBox, bsLowered, true,
         {{dark, {{19, 18}, {19, 2}, {20, 2}}}, {light, {{20, 2}, {20, 18}, {19, 18}}}}},
        {"divider, spacer", bsSpacer, bsLowered, true, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(BevelLines(c.shape, c.style, c.divider, w, h, light, dark), c.lines) << c.what;
}

TEST_F(LabelsTest, BevelColoursFromTheSkinAndItsLines)
{
    auto* bevel = new TspSkinBevel(Form);
    bevel->SetParent(Form);
    bevel->SetBounds(10, 10, 40, 20);
    bevel->SetShape(bsTopLine);
    Pump();
    EXPECT_EQ(ScreenColor(bevel, 5, 0), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(ScreenColor(bevel, 5, 1), static_cast<TColor>(ColorToRGB(clBtnHighlight)));

    auto* record = AddRecord<TspDataSkinBevel>("bevel");
    record->LightColor = static_cast<TColor>(0x00FF00);
    record->DarkColor = static_cast<TColor>(0x0000FF);
    bevel->SetSkinData(Skin);
    Pump();
    EXPECT_EQ(ScreenColor(bevel, 5, 0), static_cast<TColor>(0x0000FF));
    EXPECT_EQ(ScreenColor(bevel, 5, 1), static_cast<TColor>(0x00FF00));

    // A record of another class keeps the colours there were; no skin at all brings the system's back.
    bevel->SetSkinDataName("other");
    AddRecord<TspDataSkinStdLabelControl>("other");
    bevel->ChangeSkinData();
    EXPECT_EQ(bevel->DarkColor(), static_cast<TColor>(0x0000FF));
    bevel->SetSkinData(nullptr);
    EXPECT_EQ(bevel->DarkColor(), clBtnShadow);
}

}  // namespace
