// The component itself: attaching to the form and letting go, the private messages, the skin-change walks,
// the shortcut handler, lookup and placement.
#include <memory>
#include <string>
#include <vector>

#include "forms_fixture.h"
#include "platform/gui/menus.h"
#include "platform/rtl/exceptions.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/std_label.h"

using namespace win;

namespace {

using formstest::TFormsFixture;

class SkinFormTest : public TFormsFixture {};

// Notes the messages the form's own procedure sees; the form may outlive it.
struct TProcSpy {
    void Install(TForm* AForm)
    {
        TWndMethod previous = AForm->WindowProc;
        AForm->WindowProc = [seen = FSeen, previous](TMessage& M) {
            seen->push_back(M.Msg);
            previous(M);
        };
    }
    bool Saw(UINT AMsg) const { return std::find(FSeen->begin(), FSeen->end(), AMsg) != FSeen->end(); }
    void Clear() { FSeen->clear(); }

private:
    std::shared_ptr<std::vector<UINT>> FSeen = std::make_shared<std::vector<UINT>>();
};

TEST_F(SkinFormTest, TakesTheWindowProcedureAndGivesItBack)
{
    Form = NewForm(Bounds(100, 100, 200, 100));
    Form->Show();
    Pump();
    TProcSpy spy;
    spy.Install(Form);
    const TRect plainClient = Form->ClientRect();

    auto* corvalis = new TspCorvalis(Form);
    Pump();
    spy.Clear();
    EXPECT_EQ(SendMessage(Form->Handle(), SKM_QUERY_SKINNABLE, 0, 0), 12853);
    EXPECT_FALSE(spy.Saw(SKM_QUERY_SKINNABLE)) << "an answered message never reaches the previous procedure";
    SendMessage(Form->Handle(), WM_USER + 7, 0, 0);
    EXPECT_TRUE(spy.Saw(WM_USER + 7)) << "everything else does";
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 194, 75));

    delete corvalis;
    Pump();
    spy.Clear();
    EXPECT_EQ(SendMessage(Form->Handle(), SKM_QUERY_SKINNABLE, 0, 0), 0);
    EXPECT_TRUE(spy.Saw(SKM_QUERY_SKINNABLE));
    EXPECT_EQ(Form->ClientRect(), plainClient) << "the platform's frame is back";
}

TEST_F(SkinFormTest, AnOwnerThatIsNoFormIsRefused)
{
    TComponent owner(nullptr);
    EXPECT_THROW(TspCorvalis corvalis(&owner), EInvalidCast);
}

TEST_F(SkinFormTest, PrivateMessagesAreAnswered)
{
    Form = NewForm(Bounds(100, 100, 200, 100));
    TProcSpy spy;
    spy.Install(Form);
    Corvalis = new TspCorvalis(Form);
    Form->Show();
    Pump();
    HDC dc = GetWindowDC(Form->Handle());
    struct TCase {
        UINT Msg;
        LPARAM LParam;
        LRESULT Answer;
        bool ReachesPrevious;
    };
    const TCase cases[] = {
        {SKM_QUERY_SKINNABLE, 0, 12853, false},
        {SKM_PAINT_NCAREA, 0, 12851, false},
        {SKM_PAINT_NCAREA_EX, 16802, 16802, false},
        {SKM_PAINT_NCAREA_EX, 5, 0, true},
    };
    for (const TCase& c : cases) {
        spy.Clear();
        EXPECT_EQ(SendMessage(Form->Handle(), c.Msg, reinterpret_cast<WPARAM>(dc), c.LParam), c.Answer) << c.Msg;
        EXPECT_EQ(spy.Saw(c.Msg), c.ReachesPrevious) << c.Msg;
    }
    ReleaseDC(Form->Handle(), dc);

    Corvalis->SetUseRibbon(true);
    EXPECT_FALSE(Corvalis->SkinnableForm());
    EXPECT_EQ(SendMessage(Form->Handle(), SKM_QUERY_SKINNABLE, 0, 0), 12852);
}

TEST_F(SkinFormTest, PaintNCAreaDrawsTheDefaultFrameIntoTheGivenContext)
{
    NewSkinnedForm();
    TBitmap target(200, 100, pf24bit);
    target.Canvas()->Brush()->SetColor(clRed);
    target.Canvas()->FillRect(Rect(0, 0, 200, 100));
    ASSERT_EQ(ColorToRGB(target.Canvas()->Pixels(100, 50)), ColorToRGB(clRed));
    SendMessage(Form->Handle(), SKM_PAINT_NCAREA, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0);
    EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(0, 50)), ColorToRGB(cl3DLight));
    EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(100, 50)), ColorToRGB(clRed)) << "the client area stays untouched";

    // Between the announcement of a skin change and the change itself no default frame is painted.
    auto* skin = new TspSkinData(App.get());
    Corvalis->SetSkinData(skin);
    SendMessage(Form->Handle(), SKM_BEFORECHANGE, reinterpret_cast<WPARAM>(skin), 1000);
    target.Canvas()->FillRect(Rect(0, 0, 200, 100));
    SendMessage(Form->Handle(), SKM_PAINT_NCAREA, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0);
    EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(0, 50)), ColorToRGB(clRed));
}

// A skinned control that notes the walks reaching it.
template <typename TBase>
class TWalkedControl : public TBase {
public:
    TWalkedControl(TComponent* AOwner, std::string AName, std::vector<std::string>* ALog)
        : TBase(AOwner), FName(std::move(AName)), FLog(ALog)
    {
    }
    void BeforeChangeSkinData() override { FLog->push_back("before " + FName); }
    void ChangeSkinData() override { FLog->push_back("change " + FName); }

private:
    std::string FName;
    std::vector<std::string>* FLog;
};

class TWalkedLabel : public TspSkinStdLabel {
public:
    TWalkedLabel(TComponent* AOwner, std::vector<std::string>* ALog) : TspSkinStdLabel(AOwner), FLog(ALog) {}
    void ChangeSkinData() override { FLog->push_back("change std label"); }

private:
    std::vector<std::string>* FLog;
};

TEST_F(SkinFormTest, SkinChangeWalksVisitTheSkinDataTheyAreGiven)
{
    NewSkinnedForm(Bounds(100, 100, 400, 300));
    auto* mine = new TspSkinData(App.get());
    auto* other = new TspSkinData(App.get());
    std::vector<std::string> log;
    auto* panel = new TWalkedControl<TspSkinControl>(Form, "panel", &log);
    panel->SetParent(Form);
    auto* inner = new TWalkedControl<TspGraphicSkinControl>(Form, "inner", &log);
    inner->SetParent(panel);
    auto* button = new TWalkedControl<TspSkinControl>(Form, "button", &log);
    button->SetParent(panel);
    auto* label = new TWalkedControl<TspGraphicSkinControl>(Form, "label", &log);
    label->SetParent(Form);
    panel->SetSkinData(mine);
    inner->SetSkinData(mine);
    button->SetSkinData(other);
    label->SetSkinData(mine);
    Pump();

    log.clear();
    Corvalis->ChangeControlsSkinData(mine, Form);
    EXPECT_EQ(log, (std::vector<std::string>{"change label", "change panel", "change inner"}))
        << "windowless children come first in a parent's list; the other skin's control is left alone";

    log.clear();
    Corvalis->BeforeChangeControlsSkinData(nullptr, Form);
    EXPECT_EQ(log, (std::vector<std::string>{"before label", "before panel", "before inner", "before button"}));

    // A label carries its own link; only the change itself reaches it.
    auto* stdLabel = new TWalkedLabel(Form, &log);
    stdLabel->SetParent(Form);
    stdLabel->SetSkinData(other);
    log.clear();
    Corvalis->BeforeChangeControlsSkinData(other, Form);
    EXPECT_EQ(log, (std::vector<std::string>{"before button"}));

    log.clear();
    SendMessage(Form->Handle(), SKM_CHANGE, reinterpret_cast<WPARAM>(other), 1000);
    EXPECT_EQ(log, (std::vector<std::string>{"change std label", "change button"}))
        << "a skin change reaches only that skin's controls";
}

TEST_F(SkinFormTest, ShortcutsGoToTheUserThenAltSpaceThenTheMenu)
{
    NewSkinnedForm();
    auto* menu = new TMainMenu(Form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("&Open");
    item->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    int opened = 0;
    item->OnClick = [&](TObject*) { ++opened; };
    menu->Items()->Add(item);
    Corvalis->SetMainMenu(menu);
    Corvalis->SetDisableSystemMenu(true);

    auto keyWith = [&](int AModifier, WORD AKey) {
        if (AModifier) Display.KeyDown(AModifier);
        Pump();
        TMessage m{WM_KEYDOWN, AKey, 0, 0};
        bool handled = false;
        Form->OnShortCut(m, handled);
        if (AModifier) Display.KeyUp(AModifier);
        Pump();
        return handled;
    };
    EXPECT_TRUE(keyWith(VK_MENU, VK_SPACE)) << "Alt+Space is taken even when the system menu is disabled";
    EXPECT_TRUE(keyWith(VK_CONTROL, 'O'));
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(keyWith(VK_MENU, VK_F4)) << "Alt+F4 goes through the menu's own test, which has no such item";
    EXPECT_FALSE(keyWith(0, 'O'));

    bool userSaw = false;
    Corvalis->OnShortCut = [&](TMessage&, bool& AHandled) {
        userSaw = true;
        AHandled = true;
    };
    EXPECT_TRUE(keyWith(VK_CONTROL, 'O'));
    EXPECT_TRUE(userSaw);
    EXPECT_EQ(opened, 1) << "the user's handler took the key first";
}

TEST_F(SkinFormTest, FindsTheFirstComponentOfAForm)
{
    Form = NewForm();
    EXPECT_EQ(FindSkinFormComponent(Form), nullptr);
    EXPECT_EQ(FindSkinFormComponent(nullptr), nullptr);
    new TComponent(Form);
    auto* first = new TspCorvalis(Form);
    new TspCorvalis(Form);
    EXPECT_EQ(FindSkinFormComponent(Form), first);
    EXPECT_EQ(TspCorvalis::GetProductVersion(), "11.27");
}

TEST_F(SkinFormTest, AreaRectTakesTheLastAreaOfTheName)
{
    NewSkinnedForm();
    auto* skin = new TspSkinData(App.get());
    skin->AddSkinArea("player", Rect(1, 2, 3, 4));
    skin->AddSkinArea("player", Rect(5, 6, 7, 8));
    Corvalis->SetSkinData(skin);
    EXPECT_EQ(Corvalis->GetAreaRect("player"), TRect{}) << "no loaded skin";
    skin->Empty = false;
    EXPECT_EQ(Corvalis->GetAreaRect("player"), Rect(5, 6, 7, 8));
    EXPECT_EQ(Corvalis->GetAreaRect("Player"), TRect{});
}

TEST_F(SkinFormTest, FirstShowCentresOnceOnTheMonitor)
{
    Form = NewForm(Bounds(10, 20, 301, 201));
    Corvalis = new TspCorvalis(Form);
    Corvalis->SetPositionInMonitor(sppScreenCenter);
    Form->Show();
    Pump();
    // 1024 x 768 screen: 512 - 150, 384 - 100 (div truncates).
    EXPECT_EQ(Form->Left(), 362);
    EXPECT_EQ(Form->Top(), 284);
    Form->Hide();
    Form->SetBounds(5, 5, 301, 201);
    Form->Show();
    Pump();
    EXPECT_EQ(Form->Left(), 5) << "a second show leaves the form where it is";
}

TEST_F(SkinFormTest, AlphaBlendValueWaitsForAlphaBlend)
{
    NewSkinnedForm();
    Corvalis->SetAlphaBlendValue(150);
    EXPECT_FALSE(GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    Corvalis->SetAlphaBlend(true);
    EXPECT_TRUE(GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    Corvalis->SetAlphaBlend(false);
    EXPECT_FALSE(GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(SkinFormTest, ManyFormsComeAndGoCleanly)
{
    for (int i = 0; i < 1000; ++i) {
        auto* form = NewForm(Bounds(50, 50, 200, 100));
        auto* corvalis = new TspCorvalis(form);
        if (i % 10 == 0) {
            form->Show();
            Pump();
            SendMessage(form->Handle(), WM_NCHITTEST, 0, PointToLParam({form->Left() + 188, form->Top() + 12}));
        }
        if (i % 2 == 0) delete corvalis;
        delete form;
    }
    Pump();
    EXPECT_TRUE(TspFormRegistry::Forms().empty());
}

}  // namespace

namespace {

class ShowEffectTest : public formstest::TFormsFixture {
protected:
    // The alpha values the form takes while it fades in, and whether it stays layered.
    std::vector<int> Fade(bool AAlphaBlend, int AValue, bool& ALayered)
    {
        Display.SetCompositor(true);
        Form = NewForm(Bounds(100, 100, 200, 100));
        Corvalis = new TspCorvalis(Form);
        Corvalis->SetAlphaBlendValue(static_cast<Byte>(AValue));
        Corvalis->SetAlphaBlendAnimation(true);
        Corvalis->SetAlphaBlend(AAlphaBlend);
        Form->Show();
        std::vector<int> seen;
        for (int i = 0; i < 100; ++i) {
            AdvanceMs(3);
            BYTE alpha = 0;
            if (GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED)
                GetLayeredWindowAttributes(Form->Handle(), nullptr, &alpha, nullptr);
            else
                alpha = 255;
            if (seen.empty() || seen.back() != alpha) seen.push_back(alpha);
        }
        ALayered = GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED;
        return seen;
    }
};

TEST_F(ShowEffectTest, FadesToTheBlendValueAndStaysLayered)
{
    bool layered = false;
    const std::vector<int> seen = Fade(true, 150, layered);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[1] - seen[0], 10);
    EXPECT_EQ(seen.back(), 150);
    EXPECT_EQ(seen.size(), 16u) << "0, then 15 steps of 10";
    EXPECT_TRUE(layered);
}

TEST_F(ShowEffectTest, FadesToOpaqueAndDropsTheLayeredStyle)
{
    bool layered = true;
    const std::vector<int> seen = Fade(false, 150, layered);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[1] - seen[0], 17);
    EXPECT_EQ(seen.back(), 255);
    EXPECT_FALSE(layered);
}

}  // namespace

namespace {

TEST_F(ShowEffectTest, WithoutACompositorTheFormShowsAtOnce)
{
    Form = NewForm(Bounds(100, 100, 200, 100));
    Corvalis = new TspCorvalis(Form);
    Corvalis->SetAlphaBlendAnimation(true);
    Form->Show();
    Pump();
    EXPECT_FALSE(GetWindowLong(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace
