// The cover of an inactive form's client area: its snapshot, its two effects and when the form shows it.
#include "skin/forms/client_inactive_panel.h"

#include <cstdlib>

#include "forms_fixture.h"
#include "platform/gdi/drawing.h"
#include "platform/gdi/objects.h"
#include "platform/win/painting.h"

using namespace win;

namespace {

class ClientInActivePanelTest : public formstest::TFormsFixture {
protected:
    void SetUp() override
    {
        TFormsFixture::SetUp();
        NewSkinnedForm();
        PaintHalves();
    }
    // The client's left half red, its right half blue, painted straight onto the window.
    void PaintHalves()
    {
        HDC dc = GetDC(Form->Handle());
        const Integer w = Form->ClientWidth(), h = Form->ClientHeight();
        for (auto [r, color] : {std::pair{Rect(0, 0, w / 2, h), RGB(255, 0, 0)}, std::pair{Rect(w / 2, 0, w, h), RGB(0, 0, 255)}}) {
            HBRUSH brush = CreateSolidBrush(color);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
        ReleaseDC(Form->Handle(), dc);
    }
    // Red, green and blue of a snapshot pixel.
    static std::array<int, 3> Channels(TspBitmap* B, Integer X, Integer Y)
    {
        const TspColor c = B->GetPixel(X, Y);
        return {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF)};
    }
};

TEST_F(ClientInActivePanelTest, BlurSoftensTheSnapshotOnlyNearEdges)
{
    auto* panel = new TspClientInActivePanel(Corvalis);
    panel->ShowPanel(Form, spieBlur);
    ASSERT_TRUE(panel->Buffer());
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(panel->Parent(), Form);
    EXPECT_EQ(panel->Width(), Form->ClientWidth());
    const Integer mid = Form->ClientWidth() / 2, y = Form->ClientHeight() / 2;
    EXPECT_EQ(Channels(panel->Buffer(), 10, y), (std::array<int, 3>{255, 0, 0})) << "far from the edge";
    EXPECT_EQ(Channels(panel->Buffer(), mid + 10, y), (std::array<int, 3>{0, 0, 255}));
    const auto edge = Channels(panel->Buffer(), mid - 1, y);
    EXPECT_GT(edge[0], 0);
    EXPECT_LT(edge[0], 255);
    EXPECT_GT(edge[2], 0) << "red and blue mixed at the edge";
    panel->HidePanel();
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->Buffer(), nullptr);
}

TEST_F(ClientInActivePanelTest, SemiTransparentLaysTheBackgroundOverTheSnapshot)
{
    auto* panel = new TspClientInActivePanel(Corvalis);
    panel->ShowPanel(Form, spieSemiTransparent);
    ASSERT_TRUE(panel->Buffer());
    const TColor face = ColorToRGB(clBtnFace);
    const int faceR = face & 0xFF, faceG = (face >> 8) & 0xFF, faceB = (face >> 16) & 0xFF;
    const auto p = Channels(panel->Buffer(), 10, 10);
    // 170/255 of the background, 85/255 of the red snapshot.
    const std::array<int, 3> expected{(faceR * 170 + 255 * 85) / 255, faceG * 170 / 255, faceB * 170 / 255};
    for (int i = 0; i < 3; ++i) EXPECT_LE(std::abs(p[i] - expected[i]), 2) << "channel " << i;
}

TEST_F(ClientInActivePanelTest, HiddenOrEmptyFormsGetNoCoverAndAResizeKeepsTheOldOne)
{
    auto* panel = new TspClientInActivePanel(Corvalis);
    Form->SetClientHeight(0);
    panel->ShowPanel(Form, spieBlur);
    EXPECT_EQ(panel->Buffer(), nullptr);
    EXPECT_FALSE(panel->Visible());
    Form->SetClientHeight(60);
    Form->Hide();
    panel->ShowPanel(Form, spieBlur);
    EXPECT_EQ(panel->Buffer(), nullptr);
    Form->Show();
    Pump();
    panel->ShowPanel(Form, spieBlur);
    ASSERT_TRUE(panel->Buffer());
    const Integer w = panel->Width();
    Form->SetClientWidth(w + 40);
    Pump();
    EXPECT_EQ(panel->Width(), w);
    EXPECT_EQ(panel->Buffer()->Width(), w);
}

TEST_F(ClientInActivePanelTest, TheFormCoversItsClientWhileInactive)
{
    Corvalis->SetClientInActiveEffect(true);
    Corvalis->SetClientInActiveEffectType(spieBlur);
    SendMessage(Form->Handle(), WM_NCACTIVATE, 0, 0);
    ASSERT_NE(Corvalis->InActivePanel(), nullptr);
    EXPECT_TRUE(Corvalis->InActivePanel()->Visible());
    EXPECT_FALSE(Corvalis->FClientInActiveDraw);
    Pump();
    EXPECT_EQ(ScreenColor(Form->ClientOrigin().X - Form->Left() + 10, Form->ClientOrigin().Y - Form->Top() + 10),
              ColorToRGB(clRed))
        << "the cover shows the snapshot";
    SendMessage(Form->Handle(), WM_NCACTIVATE, 1, 0);
    EXPECT_EQ(Corvalis->InActivePanel(), nullptr);
    Corvalis->SetClientInActiveEffect(false);
    SendMessage(Form->Handle(), WM_NCACTIVATE, 0, 0);
    EXPECT_EQ(Corvalis->InActivePanel(), nullptr);
}

}  // namespace
