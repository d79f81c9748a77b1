// The time edit: Time and Milliseconds in and out (hours kept within two digits), the key filter, stepping the
// field under the caret with its wrap, and the arrow buttons.
#include <gtest/gtest.h>

#include "skin/controls/time_edit.h"
#include "skin/controls/up_down.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

using namespace win;

class TimeEditTest : public controlstest::TControlsFixture {
protected:
    TspSkinTimeEdit* NewTimeEdit()
    {
        auto* t = new TspSkinTimeEdit(Form);
        t->SetParent(Form);
        t->SetBounds(10, 10, 120, 20);
        Pump();
        return t;
    }
    void TypeAt(TspSkinTimeEdit* AEdit, int APosition, char ADigit)
    {
        AEdit->SetFocus();
        Pump();
        AEdit->SetSelStart(APosition);
        AEdit->SetSelLength(1);
        Display.PressKey(ADigit, static_cast<char32_t>(ADigit));
        Pump();
    }
};

TEST_F(TimeEditTest, TimeAndMillisecondsRoundTrip)
{
    auto* t = NewTimeEdit();
    const Integer ms = ((1 * 60 + 2) * 60 + 3) * 1000 + 4;
    t->SetShowMSec(true);
    t->SetMilliseconds(ms);
    EXPECT_EQ(t->Time(), "01:02:03.004");
    EXPECT_EQ(t->Milliseconds(), ms);
    t->SetShowMSec(false);
    t->SetMilliseconds(ms);
    EXPECT_EQ(t->Time(), "01:02:03");
    EXPECT_EQ(t->Milliseconds(), ms - 4);  // the missing milliseconds count as 0

    t->SetTime("12:34:56");
    EXPECT_EQ(t->Time(), "12:34:56");
    t->SetTime("5:7");  // the hours piece "5:" is no number
    EXPECT_EQ(t->Time(), "00:00:00");
    t->SetTime("  :  :  ");
    EXPECT_EQ(t->Time(), "00:00:00");
    t->SetShowSec(false);
    EXPECT_EQ(t->Time(), "00:00");
    t->SetTime("07:45:13");
    EXPECT_EQ(t->Time(), "07:45");
}

TEST_F(TimeEditTest, FieldsKeepTheirPlacesForHoursBeyondTwoDigitsAndNegativeTimes)
{
    auto* t = NewTimeEdit();
    t->SetShowMSec(true);
    t->SetMilliseconds(100 * 3600000 + 5000);
    EXPECT_EQ(t->Time(), "99:00:05.000");
    t->SetMilliseconds(-1500);
    EXPECT_EQ(t->Time(), "00:00:00.000");
    EXPECT_EQ(t->Milliseconds(), 0);
    t->SetTime("-1:02:03.004");
    EXPECT_EQ(t->Time(), "00:02:03.004");
}

TEST_F(TimeEditTest, KeyFilterRefusesDigitsThatMakeNoTime)
{
    auto* t = NewTimeEdit();
    t->SetTime("24:00:00");
    TypeAt(t, 0, '3');  // 34 hours
    EXPECT_EQ(t->Time(), "24:00:00");
    t->SetTime("04:00:00");
    TypeAt(t, 0, '2');  // 24:00:00 passes, minutes and seconds being 0
    EXPECT_EQ(t->Time(), "24:00:00");
    t->SetTime("04:10:00");
    TypeAt(t, 0, '2');  // 24:10:00 does not
    EXPECT_EQ(t->Time(), "04:10:00");
    TypeAt(t, 3, '7');  // 70 minutes
    EXPECT_EQ(t->Time(), "04:10:00");
    TypeAt(t, 4, '9');
    EXPECT_EQ(t->Time(), "04:19:00");
}

TEST_F(TimeEditTest, StepsWrapTheFieldUnderTheCaret)
{
    auto* t = NewTimeEdit();
    struct TCase {
        std::string Text;
        int Caret;
        bool Up;
        std::string Result;
    };
    const std::vector<TCase> cases = {
        {"23:59:59", 0, true, "00:59:59"}, {"23:59:59", 7, true, "23:59:00"}, {"00:00:00", 4, false, "00:59:00"},
        {"00:00:00", 1, false, "23:00:00"}, {"24:00:00", 6, true, "23:00:01"},  // 24 reads as 23 first
    };
    for (const TCase& c : cases) {
        t->SetTime(c.Text);
        t->SetSelStart(c.Caret);
        if (c.Up)
            t->StepUp();
        else
            t->StepDown();
        EXPECT_EQ(t->Time(), c.Result) << c.Text << " at " << c.Caret;
        EXPECT_EQ(t->SelStart(), c.Caret);
    }
    // The wheel towards the user steps down; with milliseconds shown, a caret there steps the seconds.
    t->SetTime("00:00:00");
    t->SetSelStart(4);
    Display.Wheel(ScreenPoint(t, 20, 5), -120);
    Pump();
    EXPECT_EQ(t->Time(), "00:59:00");
    t->SetShowMSec(true);
    t->SetTime("00:00:10.500");
    t->SetSelStart(10);
    t->StepUp();
    EXPECT_EQ(t->Time(), "00:00:11.500");
}

TEST_F(TimeEditTest, ArrowButtonsStepAndGoAway)
{
    auto* t = NewTimeEdit();
    t->SetShowUpDown(true);
    Pump();
    ASSERT_NE(t->UpDown(), nullptr);
    EXPECT_EQ(t->UpDown()->Left(), t->ClientWidth() - t->ClientHeight());
    EXPECT_EQ(t->UpDown()->Width(), t->ClientHeight());
    t->SetTime("10:20:30");
    t->SetSelStart(1);
    Display.Click(ScreenPoint(t->UpDown(), 4, 2));
    Pump();
    EXPECT_EQ(t->Time(), "11:20:30");
    t->SetShowUpDown(false);
    Pump();
    EXPECT_EQ(t->UpDown(), nullptr);
}

}  // namespace
