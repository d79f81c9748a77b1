// The spin edit: clamping, formatting and reading back typed text (also text that does not convert), the value
// shown once the box is left, the buttons' repeat on the virtual clock, and keys and wheel through the number
// edit.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "skin/controls/spin_edit.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

using namespace win;

class SpinEditTest : public controlstest::TControlsFixture {
protected:
    TspSkinSpinEdit* NewSpin(double AMin = 0, double AMax = 0)
    {
        auto* s = new TspSkinSpinEdit(Form);
        s->SetParent(Form);
        s->SetBounds(10, 10, 120, 20);
        s->SetMinValue(AMin);
        s->SetMaxValue(AMax);
        s->OnChange = [this, s](TObject*) {
            Changes.push_back(s->Value());
            Times.push_back((Clock.NowMicros() - Start) / 1000);
        };
        Pump();
        return s;
    }
    void TypeText(TspSkinSpinEdit* ASpin, const std::string& AText)
    {
        ASpin->Edit()->SetFocus();
        ASpin->Edit()->SelectAll();
        Pump();
        for (char c : AText) {
            Display.PressKey(c >= '0' && c <= '9' ? c : 0xBD, static_cast<char32_t>(c));
            Pump();
        }
    }

    // A 60x20 box picture: the text area from 2,2 to 44,18, the buttons stacked right of it.
    void AddSpinEditRecord()
    {
        auto* r = AddRecord<TspDataSkinSpinEditControl>("spinedit");
        r->PictureIndex = AddPicture(60, 20, static_cast<TColor>(0xF0F0F0));
        r->SkinRect = Rect(0, 0, 60, 20);
        r->ClRect = Rect(2, 2, 44, 18);
        r->LTPoint = {2, 2};
        r->RTPoint = {44, 2};
        r->LBPoint = {2, 18};
        r->RBPoint = {44, 18};
        r->UpButtonRect = Rect(45, 2, 58, 10);
        r->DownButtonRect = Rect(45, 10, 58, 18);
    }

    std::vector<double> Changes;
    std::vector<int64_t> Times;
    int64_t Start = 0;
};

TEST_F(SpinEditTest, TypedTextIsClampedAndRewrittenOnlyWhereTypingCannotMendIt)
{
    struct TCase {
        double Min, Max;
        std::string Typed;
        double Value;
        std::string Shown;
    };
    const std::vector<TCase> cases = {
        {10, 100, "5", 10, "5"},           // more digits may still bring it into range
        {10, 100, "500", 100, "100"},      // above the range: rewritten
        {10, 100, "-5", 10, "10"},         // negative against a positive minimum
        {5, 0, "7", 0, "0"},               // one bound set: the other, 0, still applies
        {0, 0, "-123", -123, "-123"},      // no bounds
        // Typed key by key: beyond 32 bits the text no longer converts and is kept as typed, the value stays
        // at the last one that did; nothing escapes the change handler.
        {0, 0, "99999999999", 999999999, "99999999999"},
        {0, 100, "99999999999", 100, "100"},
    };
    for (const TCase& c : cases) {
        auto* s = NewSpin(c.Min, c.Max);
        s->SetValue(0);
        TypeText(s, c.Typed);
        EXPECT_EQ(s->Value(), c.Value) << c.Typed << " in " << c.Min << ".." << c.Max;
        EXPECT_EQ(s->Edit()->Text(), c.Shown) << c.Typed << " in " << c.Min << ".." << c.Max;
        delete s;
    }
    // Pasted in one piece, or a lone "-" and separator in a float box.
    auto* s = NewSpin(0, 100);
    s->SetValue(42);
    s->Edit()->SetText("99999999999");
    EXPECT_EQ(s->Value(), 42);
    s->SetValueType(vtFloat);
    s->Edit()->SetText("-.");
    EXPECT_EQ(s->Value(), 42);
    EXPECT_EQ(s->Edit()->Text(), "-.");
}

TEST_F(SpinEditTest, LeavingTheBoxShowsTheKeptValue)
{
    auto* s = NewSpin(10, 100);
    auto* other = NewSpin();
    TypeText(s, "5");
    EXPECT_EQ(s->Value(), 10);
    other->Edit()->SetFocus();
    Pump();
    EXPECT_EQ(s->Edit()->Text(), "10");
}

TEST_F(SpinEditTest, ValueSettingFormatsAndAlwaysTellsOnChange)
{
    auto* s = NewSpin();
    struct TCase {
        TspValueType Type;
        double Value;
        std::string Shown;
    };
    for (const TCase& c : std::vector<TCase>{{vtFloat, 1.5, "1.50"}, {vtInteger, 1.5, "2"}, {vtInteger, 2.5, "2"},
                                             {vtInteger, -3, "-3"}}) {
        s->SetValueType(c.Type);
        s->SetValue(c.Value);
        EXPECT_EQ(s->Edit()->Text(), c.Shown);
    }
    Changes.clear();
    s->SetValue(-3);  // unchanged, still told
    EXPECT_EQ(Changes.size(), 1u);

    s->SetValueType(vtFloat);
    s->SetIncrement(0.4);
    s->SetValueType(vtInteger);
    EXPECT_EQ(s->Increment(), 1);
    s->SetValueType(vtFloat);
    s->SetIncrement(2.5);
    s->SetValueType(vtInteger);
    EXPECT_EQ(s->Increment(), 2);
}

TEST_F(SpinEditTest, HeldUpButtonRepeatsAndReleaseOverItStepsOnceMore)
{
    auto* s = NewSpin();
    int clicks = 0;
    s->OnUpButtonClick = [&](TObject*) { ++clicks; };
    const TPoint up = ScreenPoint(s, 110, 5);
    Display.MoveMouse(up);
    Pump();
    Start = Clock.NowMicros();
    Display.PressButton(up);
    Pump();
    Run(800);
    EXPECT_EQ(Times, (std::vector<int64_t>{600, 700, 800}));
    EXPECT_EQ(clicks, 0);
    Display.ReleaseButton(up);
    Pump();
    EXPECT_EQ(s->Value(), 4);
    EXPECT_EQ(clicks, 1);
    Display.PressButton(up);
    Pump();
    Display.MoveMouse(ScreenPoint(Form, 300, 250));
    Pump();
    Display.ReleaseButton(ScreenPoint(Form, 300, 250));
    Pump();
    EXPECT_EQ(clicks, 1);  // released elsewhere
}

TEST_F(SpinEditTest, TheLineWhereTheButtonsMeetBelongsToTheLowerOne)
{
    auto* s = NewSpin();
    EXPECT_EQ(s->Button(0).R, Rect(103, 2, 118, 10));
    EXPECT_EQ(s->Button(1).R, Rect(103, 10, 118, 18));
    Display.MoveMouse(ScreenPoint(s, 110, 10));
    Pump();
    EXPECT_FALSE(s->Button(0).MouseIn);
    EXPECT_TRUE(s->Button(1).MouseIn);
}

TEST_F(SpinEditTest, FreeSizedSkinRecutsTheButtonsAtTheMiddleOfTheirBox)
{
    AddSpinEditRecord();
    auto* s = new TspSkinSpinEdit(Form);
    s->SetParent(Form);
    s->SetUseSkinSize(false);
    s->SetSkinData(Skin);
    s->SetBounds(10, 10, 120, 30);
    Pump();
    // The box runs from 2 to 28 once 10 pixels taller: its middle is 15, not 2 + 28 / 2.
    EXPECT_EQ(s->Button(0).R, Rect(105, 2, 118, 15));
    EXPECT_EQ(s->Button(1).R, Rect(105, 15, 118, 28));
}

TEST_F(SpinEditTest, KeysAndWheelStepAlsoWithTheEditorDisabled)
{
    auto* s = NewSpin();
    int ups = 0, downs = 0, arrowKeys = 0;
    s->OnUpButtonClick = [&](TObject*) { ++ups; };
    s->OnDownButtonClick = [&](TObject*) { ++downs; };
    s->OnEditKeyDown = [&](TObject*, WORD& AKey, TShiftState) { arrowKeys += AKey == VK_UP || AKey == VK_DOWN; };
    s->SetEditorEnabled(false);
    s->Edit()->SetFocus();
    Pump();
    Display.PressKey(VK_UP);
    Display.PressKey(VK_UP);
    Display.PressKey(VK_DOWN);
    Pump();
    Display.Wheel(ScreenPoint(s, 20, 10), 120);
    Pump();
    Display.PressKey('7', U'7');
    Pump();
    EXPECT_EQ(s->Value(), 2);
    EXPECT_EQ(ups, 3);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(arrowKeys, 0);
    EXPECT_EQ(s->Edit()->Text(), "2");
}

}  // namespace

namespace {

// The box in the skin with its edit see-through, as the converter's dialogs show it.
class SkinnedSpinEditTest : public SpinEditTest {
protected:
    TspSkinSpinEdit* NewSkinnedSpin(double AMin, double AMax)
    {
        AddSpinEditRecord();
        auto* s = NewSpin(AMin, AMax);
        s->SetSkinData(Skin);
        Pump();
        return s;
    }
    // The edit's pixels as the screen shows them.
    std::vector<TColor> EditPixels(TspSkinSpinEdit* ASpin)
    {
        std::vector<TColor> pixels;
        TWinControl* edit = ASpin->Edit();
        const auto screen = Display.ComposeScreen();
        const TPoint origin = edit->ClientToScreen({0, 0});
        for (Integer y = 0; y < edit->Height(); ++y)
            for (Integer x = 0; x < edit->Width(); ++x) {
                const uint32_t argb = screen[size_t(origin.Y + y) * Display.ScreenSize().cx + origin.X + x];
                pixels.push_back(static_cast<TColor>(((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF)));
            }
        return pixels;
    }
};

TEST_F(SkinnedSpinEditTest, AValueRewrittenByTheRangeLeavesNoOldDigitsBehind)
{
    auto* s = NewSkinnedSpin(0, 480);
    TypeText(s, "999");
    ASSERT_EQ(s->Edit()->Text(), "480");
    const std::vector<TColor> typed = EditPixels(s);
    // The same text drawn from scratch.
    s->Invalidate();
    win::RedrawWindow(Form->Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN);
    Pump();
    const std::vector<TColor> redrawn = EditPixels(s);
    if (typed != redrawn) {
        std::string map;
        const Integer w = s->Edit()->Width();
        for (size_t i = 0; i < typed.size(); ++i) {
            map += typed[i] == redrawn[i] ? (typed[i] == static_cast<TColor>(0xF0F0F0) ? '.' : '#') : 'X';
            if ((i + 1) % w == 0) map += '\n';
        }
        ADD_FAILURE() << "typed and redrawn differ (X):\n" << map;
    }
    // Nothing but the skin's face and the text's ink: every pixel differing from the face belongs to "480".
    Integer ink = 0;
    for (TColor c : typed) ink += c != static_cast<TColor>(0xF0F0F0);
    EXPECT_GT(ink, 0);
}

TEST_F(SkinnedSpinEditTest, EraseOutsideItsOwnPaintDrawsTheBoxAndItsEdit)
{
    auto* s = NewSkinnedSpin(0, 480);
    s->SetValue(123);
    Pump();
    TBitmap into(s->Width(), s->Height(), pf24bit);
    controlstest::Fill(&into, Rect(0, 0, s->Width(), s->Height()), clFuchsia);
    s->Perform(win::WM_ERASEBKGND, reinterpret_cast<win::WPARAM>(into.Canvas()->Handle()), 0);
    Integer face = 0, ink = 0, untouched = 0;
    for (Integer y = 0; y < s->Height(); ++y)
        for (Integer x = 0; x < s->Width(); ++x) {
            const TColor c = into.Canvas()->Pixels(x, y);
            face += c == static_cast<TColor>(0xF0F0F0);
            untouched += c == clFuchsia;
            ink += c != static_cast<TColor>(0xF0F0F0) && c != clFuchsia;
        }
    EXPECT_EQ(untouched, 0);
    EXPECT_GT(face, 0);
    EXPECT_GT(ink, 10);  // the digits the edit drew into the same context
}

TEST_F(SpinEditTest, HugeValuesOnAnUnboundedRangeStepWithoutThrowing)
{
    auto* s = NewSpin();  // 0..0: no range
    s->SetValue(1e300);
    EXPECT_EQ(s->Edit()->Text(), std::to_string(INT_MAX));
    s->Edit()->SetFocus();
    Pump();
    Display.Wheel(ScreenPoint(s, 20, 10), 120);
    Pump();
    EXPECT_EQ(s->Value(), INT_MAX);
    s->SetValue(-1e300);
    Display.Wheel(ScreenPoint(s, 20, 10), -120);
    Pump();
    EXPECT_EQ(s->Value(), INT_MIN);
    EXPECT_EQ(s->Edit()->Text(), std::to_string(INT_MIN));
    s->SetValueType(vtFloat);
    s->SetValue(1e300);  // a float box keeps what it is given
    EXPECT_EQ(s->Value(), 1e300);
}

}  // namespace

// A handler that lets messages through (a wait that pumps, as the previews' players need) may see the user's next
// keys arrive inside it: they still count, also once the box is left.
TEST_F(SpinEditTest, KeysTypedWhileItsChangeHandlerRunsAreRead)
{
    auto* s = NewSpin(0, 5000);
    auto* other = NewSpin();
    std::vector<double> seen;
    bool typing_inside = true;
    s->OnChange = [&](TObject*) {
        seen.push_back(s->Value());
        if (typing_inside && s->Edit()->Text() == "36") {
            typing_inside = false;
            Display.PressKey('0', U'0');
            Pump();
        }
    };
    TypeText(s, "36");
    EXPECT_EQ(s->Edit()->Text(), "360");
    EXPECT_EQ(s->Value(), 360);
    EXPECT_EQ(seen, (std::vector<double>{3, 36, 360}));
    other->Edit()->SetFocus();
    Pump();
    EXPECT_EQ(s->Edit()->Text(), "360");
}
