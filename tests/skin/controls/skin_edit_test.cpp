// The skinned edit: the height rule, the frame's insets and hit codes, the frame button and the image buttons,
// hover colours, and what the frame and background put on the screen.
#include <gtest/gtest.h>

#include "skin/controls/skin_edit.h"
#include "tests/skin/controls/controls_fixture.h"

namespace {

using namespace win;

constexpr TColor kFrame = static_cast<TColor>(0x2040C0);
constexpr TColor kClient = static_cast<TColor>(0xE0F0F0);

class SkinEditTest : public controlstest::TControlsFixture {
protected:
    // An edit record 60 x 24 with a 4, 5, 4, 5 frame: frame colour outside the client part, client colour in it.
    TspDataSkinEditControl* AddEditRecord(const std::string& AName = "edit")
    {
        const Integer picture = AddPicture(60, 24, kFrame);
        controlstest::Fill(PictureAt(picture), Rect(4, 5, 56, 19), kClient);
        auto* r = AddRecord<TspDataSkinEditControl>(AName);
        r->PictureIndex = picture;
        r->SkinRect = Rect(0, 0, 60, 24);
        r->ClRect = Rect(4, 5, 56, 19);
        r->LTPoint = {4, 5};
        r->RTPoint = {56, 5};
        r->LBPoint = {4, 19};
        r->RBPoint = {56, 19};
        r->FontName = "DejaVu Sans";
        r->FontHeight = 12;
        r->FontColor = clBlack;
        r->ActiveFontColor = static_cast<TColor>(0x0000FF);
        r->DisabledFontColor = static_cast<TColor>(0x808080);
        return r;
    }
    TspSkinEdit* NewEdit(bool ASkinned, bool AUseSkinFont = true)
    {
        auto* e = new TspSkinEdit(Form);
        e->SetParent(Form);
        e->SetUseSkinFont(AUseSkinFont);
        if (ASkinned) e->SetSkinData(Skin);
        e->SetBounds(10, 10, 150, 40);
        Pump();
        return e;
    }
    LRESULT HitAt(TControl* AControl, Integer AX, Integer AY)
    {
        return AControl->Perform(WM_NCHITTEST, 0, PointToLParam(ScreenPoint(AControl, AX, AY)));
    }
};

TEST_F(SkinEditTest, HeightFollowsTheSkinOrTheFont)
{
    AddEditRecord();
    auto* skinFont = NewEdit(true, true);
    auto* skinNoFont = NewEdit(true, false);
    Skin->Empty = true;  // the same two unskinned
    auto* plainFont = NewEdit(false, true);
    auto* plainNoFont = NewEdit(false, false);
    EXPECT_EQ(skinFont->Height(), 24);
    EXPECT_EQ(plainFont->Height(), 40);  // free
    EXPECT_GT(plainNoFont->Height(), 4);
    EXPECT_EQ(skinNoFont->Height() - plainNoFont->Height(), 10 - 4);  // the skin frame against the plain 2 + 2
    plainFont->SetDefaultHeight(33);
    EXPECT_EQ(plainFont->Height(), 33);
}

TEST_F(SkinEditTest, NonClientInsetsAndHitCodes)
{
    auto* plain = NewEdit(false);
    EXPECT_EQ(plain->ClientWidth(), 150 - 4);
    EXPECT_EQ(plain->ClientHeight(), 40 - 4);
    plain->SetButtonMode(true);
    Pump();
    EXPECT_EQ(plain->ClientWidth(), 150 - 2 - (40 + 2));
    // Client coordinates start 2 pixels inside the window: the button is the square at the right end.
    EXPECT_EQ(HitAt(plain, 150 - 2 - 20, 10), HTHSCROLL);
    EXPECT_EQ(HitAt(plain, 20, -1), HTVSCROLL);
    EXPECT_EQ(HitAt(plain, 20, 10), HTCLIENT);

    AddEditRecord();
    auto* skinned = NewEdit(true);
    EXPECT_EQ(skinned->ClientWidth(), 150 - 8);
    EXPECT_EQ(skinned->ClientHeight(), 24 - 10);
}

TEST_F(SkinEditTest, FrameButtonClicksOnlyAfterAPressOnIt)
{
    auto* e = NewEdit(false);
    e->SetButtonMode(true);
    Pump();
    int clicks = 0;
    e->OnButtonClick = [&](TObject*) { ++clicks; };
    const TPoint button = ScreenPoint(e, 150 - 2 - 20, 10);
    // A press elsewhere released over the button is no click.
    Display.PressButton(ScreenPoint(e, 20, 10));
    Pump();
    Display.MoveMouse(button);
    Pump();
    Display.ReleaseButton(button);
    Pump();
    EXPECT_EQ(clicks, 0);
    e->Perform(WM_NCLBUTTONUP, HTHSCROLL, PointToLParam(button));
    EXPECT_EQ(clicks, 0);

    Display.MoveMouse(button);
    Pump();
    EXPECT_TRUE(e->ButtonActive());
    Display.PressButton(button);
    Pump();
    EXPECT_TRUE(e->ButtonDown());
    EXPECT_EQ(ScreenColor(e, 150 - 2 - 20, 10), static_cast<TColor>(0xB59385));  // pressed fill
    Display.ReleaseButton(button);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(e->Focused());
}

TEST_F(SkinEditTest, ImageButtonsNarrowTheTextAndClickOnReleaseOverTheSameImage)
{
    auto* images = new TCustomImageList(Form, 12, 12);
    TBitmap picture(24, 12, pf24bit);
    controlstest::Fill(&picture, Rect(0, 0, 24, 12), static_cast<TColor>(0x00AA00));
    images->Add(&picture, nullptr);
    auto* e = NewEdit(false);
    e->SetImages(images);
    e->SetLeftImageIndex(0);
    e->SetRightImageIndex(1);
    Pump();
    RECT text{};
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text.Left, 12 + 2);
    EXPECT_EQ(text.Right, e->ClientWidth() - 12 - 2);
    EXPECT_EQ(HitAt(e, 5, 5), HT_EDIT_LEFTBUTTON);
    EXPECT_EQ(HitAt(e, e->ClientWidth() - 5, 5), HT_EDIT_RIGHTBUTTON);
    EXPECT_EQ(ScreenColor(e, 5, 18), static_cast<TColor>(0x00AA00));  // centred in the client height

    int left = 0, right = 0;
    e->OnLeftButtonClick = [&](TObject*) { ++left; };
    e->OnRightButtonClick = [&](TObject*) { ++right; };
    Display.Click(ScreenPoint(e, 5, 5));
    Pump();
    Display.PressButton(ScreenPoint(e, 5, 5));
    Pump();
    Display.MoveMouse(ScreenPoint(e, e->ClientWidth() - 5, 5));
    Pump();
    Display.ReleaseButton(ScreenPoint(e, e->ClientWidth() - 5, 5));
    Pump();
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 0);

    // An image list freed first is forgotten: the text takes the whole width again.
    delete images;
    e->Repaint();
    Pump();
    EXPECT_EQ(e->Images(), nullptr);
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LT(text.Left, 12);
}

TEST_F(SkinEditTest, HoverSwitchesToTheActiveLookUnlessFocused)
{
    auto* r = AddEditRecord();
    const Integer active = AddPicture(60, 24, static_cast<TColor>(0x10A010));
    r->ActiveSkinRect = Rect(0, 24, 60, 48);  // below the normal look in a taller picture
    auto tall = std::make_unique<TBitmap>(60, 48, pf24bit);
    tall->Canvas()->Draw(0, 0, PictureAt(r->PictureIndex));
    tall->Canvas()->Draw(0, 24, PictureAt(active));
    Skin->FActivePictures[r->PictureIndex] = std::move(tall);
    auto* e = NewEdit(true);
    EXPECT_EQ(ScreenColor(e, -2, -2), kFrame);
    Display.MoveMouse(ScreenPoint(e, 20, 5));
    Pump();
    EXPECT_EQ(e->Font()->Color(), r->ActiveFontColor);
    EXPECT_EQ(ScreenColor(e, -2, -2), static_cast<TColor>(0x10A010));
    Display.MoveMouse(ScreenPoint(Form, 300, 250));
    Pump();
    EXPECT_EQ(e->Font()->Color(), r->FontColor);
    EXPECT_EQ(ScreenColor(e, -2, -2), kFrame);
    e->SetFocus();
    Pump();
    Display.MoveMouse(ScreenPoint(e, 20, 5));
    Pump();
    Display.MoveMouse(ScreenPoint(Form, 300, 250));
    Pump();
    EXPECT_EQ(e->Font()->Color(), r->ActiveFontColor);
}

TEST_F(SkinEditTest, FrameAndBackgroundReachTheScreen)
{
    auto* plain = NewEdit(false);
    EXPECT_EQ(ScreenColor(plain, -2, -2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(ScreenColor(plain, -1, -1), ColorToRGB(clBtnFace));
    EXPECT_EQ(ScreenColor(plain, 140, 30), static_cast<TColor>(0xFFFFFF));  // clWindow behind the text
    AddEditRecord();
    auto* skinned = NewEdit(true);
    EXPECT_EQ(ScreenColor(skinned, -3, -3), kFrame);
    EXPECT_EQ(ScreenColor(skinned, 130, 10), kClient);
    skinned->SetEnabled(false);
    Pump();
    EXPECT_EQ(skinned->Font()->Color(), static_cast<TColor>(0x808080));
}

}  // namespace
