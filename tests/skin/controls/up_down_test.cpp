// Up-down buttons: position rules, hit tests on the shared edge, the click on release and the 500/100/50 ms
// repeat on the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/up_down.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

class UpDownTest : public controlstest::TControlsFixture {
protected:
    template <typename TUpDown>
    TUpDown* NewUpDown(TUDOrientation AOrientation = udHorizontal)
    {
        auto* c = new TUpDown(Form);
        c->SetParent(Form);
        c->SetOrientation(AOrientation);
        c->SetBoundsRect(Bounds(10, 10, 40, 20));
        c->OnChange = [this, c](TObject*) { Steps.push_back((Clock.NowMicros() - Start) / 1000); };
        Pump();
        return c;
    }
    void Press(TControl* AControl, Integer AX, Integer AY)
    {
        Display.MoveMouse(ScreenPoint(AControl, AX, AY));
        Pump();
        Start = Clock.NowMicros();
        Display.PressButton(ScreenPoint(AControl, AX, AY));
        Pump();
    }
    void MoveTo(TControl* AControl, Integer AX, Integer AY)
    {
        Display.MoveMouse(ScreenPoint(AControl, AX, AY));
        Pump();
    }
    void Release(TControl* AControl, Integer AX, Integer AY)
    {
        Display.ReleaseButton(ScreenPoint(AControl, AX, AY));
        Pump();
    }

    std::vector<int64_t> Steps;
    int64_t Start = 0;
};

TEST_F(UpDownTest, PositionRefusesValuesOutsideTheRangeAndAlwaysTellsOtherwise)
{
    auto* c = NewUpDown<TspSkinUpDown>();
    c->SetPosition(101);
    c->SetPosition(-1);
    EXPECT_EQ(c->Position(), 0);
    EXPECT_TRUE(Steps.empty());
    c->SetPosition(0);  // unchanged, still told
    EXPECT_EQ(Steps.size(), 1u);
    c->SetPosition(40);
    c->SetMin(50);
    EXPECT_EQ(c->Position(), 50);
    c->SetMax(45);
    EXPECT_EQ(c->Position(), 45);
    EXPECT_EQ(Steps.size(), 2u);
}

TEST_F(UpDownTest, HeldButtonSteps500Then100AndAt50AfterComingBack)
{
    auto* c = NewUpDown<TspSkinUpDown>();
    int clicks = 0;
    c->OnUpButtonClick = [&](TObject*) { ++clicks; };
    Press(c, 30, 10);  // the right half steps up
    Run(800);
    EXPECT_EQ(Steps, (std::vector<int64_t>{600, 700, 800}));
    MoveTo(c, 5, 10);  // off the held button: the repeat pauses
    Run(300);
    EXPECT_EQ(Steps.size(), 3u);
    MoveTo(c, 30, 10);
    const int64_t back = (Clock.NowMicros() - Start) / 1000;
    Run(150);
    EXPECT_EQ(Steps, (std::vector<int64_t>{600, 700, 800, back + 50, back + 100, back + 150}));
    Release(c, 30, 10);
    EXPECT_EQ(c->Position(), 7);  // six repeats and the click on release
    EXPECT_EQ(clicks, 1);
    Run(300);
    EXPECT_EQ(c->Position(), 7);
}

TEST_F(UpDownTest, ClickAtMaxFiresTheClickButNoChange)
{
    auto* c = NewUpDown<TspSkinUpDown>();
    c->SetPosition(100);
    Steps.clear();
    int clicks = 0;
    c->OnUpButtonClick = [&](TObject*) { ++clicks; };
    Press(c, 30, 10);
    Release(c, 30, 10);
    EXPECT_EQ(c->Position(), 100);
    EXPECT_TRUE(Steps.empty());
    EXPECT_EQ(clicks, 1);
}

TEST_F(UpDownTest, IncrementZeroNeverRepeats)
{
    auto* c = NewUpDown<TspSkinUpDown>();
    c->SetIncrement(0);
    int clicks = 0;
    c->OnDownButtonClick = [&](TObject*) { ++clicks; };
    Press(c, 5, 10);
    Run(1000);
    Release(c, 5, 10);
    EXPECT_TRUE(Steps.empty());
    EXPECT_EQ(clicks, 1);
}

TEST_F(UpDownTest, ReleaseOutsideClicksOnlyOnThePlainUpDown)
{
    auto* plain = NewUpDown<TspSkinUpDown>();
    Press(plain, 30, 10);
    MoveTo(plain, 30, 60);
    Release(plain, 30, 60);
    EXPECT_EQ(plain->Position(), 1);

    auto* integer = NewUpDown<TspSkinIntUpDown>();
    integer->SetBoundsRect(Bounds(10, 100, 40, 20));
    Pump();
    int clicks = 0;
    integer->OnUpButtonClick = [&](TObject*) { ++clicks; };
    Press(integer, 30, 10);
    MoveTo(integer, 30, 60);
    Release(integer, 30, 60);
    EXPECT_EQ(integer->Position(), 0);
    EXPECT_EQ(clicks, 0);
}

TEST_F(UpDownTest, IntegerUpDownTellsEachAutomaticStep)
{
    auto* c = NewUpDown<TspSkinIntUpDown>();
    int up = 0, down = 0;
    c->FOnUpChange = [&](TObject*) { ++up; };
    c->FOnDownChange = [&](TObject*) { ++down; };
    c->SetPosition(50);
    Press(c, 5, 10);
    Run(700);
    Release(c, 5, 10);
    EXPECT_EQ(down, 2);
    EXPECT_EQ(up, 0);
    EXPECT_EQ(c->Position(), 47);
}

TEST_F(UpDownTest, TheSharedEdgeBelongsToButtonZero)
{
    for (TUDOrientation o : {udHorizontal, udVertical}) {
        auto* c = NewUpDown<TspSkinUpDown>(o);
        const Integer x = o == udHorizontal ? 20 : 10, y = o == udHorizontal ? 10 : 10;
        c->SetBoundsRect(Bounds(10, 10, 40, o == udHorizontal ? 20 : 20));
        Pump();
        Press(c, x, y);
        EXPECT_TRUE(c->Button(0).Down) << "orientation " << o;
        EXPECT_FALSE(c->Button(1).Down);
        Release(c, x, y);
        delete c;
    }
}

}  // namespace
