// Menu item painting: the default look's colours and marks, a level drawn from a skin's pictures, and what a
// damaged skin record falls back to.
#include <filesystem>
#include <functional>
#include <utility>

#include "skin/forms/menu_item.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

constexpr TColor kWindowColor = static_cast<TColor>(0x203040);
constexpr TColor kNormalColor = static_cast<TColor>(0x0000C0);
constexpr TColor kHotColor = static_cast<TColor>(0x00C000);
constexpr TColor kDividerColor = static_cast<TColor>(0xC00000);

class MenuItemPaintTest : public TMenusFixture {
protected:
    void SetUp() override
    {
        TMenusFixture::SetUp();
        Skin = new TspSkinData(Form);
    }

    Integer AddPicture(Integer AWidth, Integer AHeight, TColor AColor)
    {
        auto picture = std::make_unique<TBitmap>(AWidth, AHeight, pf24bit);
        picture->Canvas()->Brush()->SetColor(AColor);
        picture->Canvas()->FillRect(Rect(0, 0, AWidth, AHeight));
        Skin->FActivePictures.push_back(std::move(picture));
        Skin->FActivePicturesNames->Add("picture" + std::to_string(Skin->FActivePictures.size()) + ".bmp");
        Skin->Empty = false;
        return static_cast<Integer>(Skin->FActivePictures.size()) - 1;
    }

    // A 40 x 40 window picture with a 4-pixel frame, and menu items 60 x 22 (normal above hot) with a 4-pixel
    // divider below them.
    TspDataSkinMenuItem* BuildSkin()
    {
        auto* pw = Skin->PopupWindow.get();
        pw->WindowPictureIndex = AddPicture(40, 40, kWindowColor);
        pw->LTPoint = {4, 4};
        pw->RTPoint = {36, 4};
        pw->LBPoint = {4, 36};
        pw->RBPoint = {36, 36};
        pw->ItemsRect = Rect(4, 4, 36, 36);
        const Integer items = AddPicture(60, 48, kNormalColor);
        TBitmap* picture = Skin->ActivePicture(items);
        picture->Canvas()->Brush()->SetColor(kHotColor);
        picture->Canvas()->FillRect(Rect(0, 22, 60, 44));
        picture->Canvas()->Brush()->SetColor(kDividerColor);
        picture->Canvas()->FillRect(Rect(0, 44, 60, 48));
        auto record = std::make_unique<TspDataSkinMenuItem>("menuitem");
        TspDataSkinMenuItem* mi = record.get();
        mi->ActivePictureIndex = items;
        mi->SkinRect = Rect(0, 0, 60, 22);
        mi->ActiveSkinRect = Rect(0, 22, 60, 44);
        mi->DividerRect = Rect(0, 44, 60, 48);
        mi->TextRct = Rect(4, 0, 56, 22);
        mi->FontName = "DejaVu Sans";
        mi->FontHeight = 12;
        Skin->ObjectList.push_back(std::move(record));
        return mi;
    }

    // The level as its paint renders it.
    TColor Painted(TspSkinPopupWindow* ALevel, Integer AX, Integer AY)
    {
        TBitmap b(ALevel->Width(), ALevel->Height());
        ALevel->PaintMenu(b.Canvas()->Handle());
        return b.Canvas()->Pixels(AX, AY);
    }

    TspSkinData* Skin = nullptr;
};

TEST(MenuGlyphs, TheArrowIsATriangleAndTheRadioMarkADot)
{
    TBitmap b(20, 20, pf24bit);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 20, 20));
    DrawSubMenuArrowGlyph(b.Canvas(), 5, 5, clBlack);
    for (Integer i = 0; i <= 3; ++i)
        for (Integer y = 0; y < 20; ++y)
            EXPECT_EQ(b.Canvas()->Pixels(5 + i, y) == clBlack, y >= 5 + i && y < 12 - i) << i << "," << y;
    EXPECT_EQ(b.Canvas()->Pixels(9, 8), clWhite);
    DrawMenuRadioGlyph(b.Canvas(), 12, 12, clBlack);
    EXPECT_EQ(b.Canvas()->Pixels(14, 14), clBlack);
    EXPECT_EQ(b.Canvas()->Pixels(18, 18), clWhite);
}

TEST_F(MenuItemPaintTest, TheDefaultLookFramesTheHotItemAndShadesTheGlyphColumn)
{
    Add("Hot");
    Add("-");
    Add("Plain");
    PopupAt(100, 100);
    TspSkinPopupWindow* level = Last();
    const TRect hot = level->Item(0)->ObjectRect;
    const TRect plain = level->Item(2)->ObjectRect;
    EXPECT_EQ(Painted(level, hot.Left, hot.Top), static_cast<TColor>(0x800000));
    EXPECT_EQ(Painted(level, hot.Left + 5, hot.Top + 2), static_cast<TColor>(0xD2BDB6));
    EXPECT_EQ(Painted(level, plain.Left + 5, plain.Top + 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(Painted(level, plain.Right - 3, plain.Top + 2), ColorToRGB(clWindow));
    const TRect line = level->Item(1)->ObjectRect;
    EXPECT_EQ(Painted(level, line.Left + 30, line.Top + 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Painted(level, 0, 0), ColorToRGB(clBtnShadow));  // the window's frame
}

TEST_F(MenuItemPaintTest, ACheckedItemWithAGlyphIsFramedAndOneWithoutShowsItsMark)
{
    TMenuItem* glyphed = Add("Glyph");
    glyphed->Bitmap()->SetSize(10, 10);
    glyphed->Bitmap()->Canvas()->Brush()->SetColor(clRed);
    glyphed->Bitmap()->Canvas()->FillRect(Rect(0, 0, 10, 10));
    glyphed->SetChecked(true);
    Add("Spacer");
    TMenuItem* checked = Add("Checked");
    checked->SetChecked(true);
    PopupAt(100, 100);
    TspSkinPopupWindow* level = Last();
    Key(win::VK_DOWN);  // the first item is no longer hot
    const TRect r = level->Item(0)->ObjectRect;
    const Integer x = r.Left + 4, y = r.Top + 2 + (r.Height() - 4) / 2 - 5;
    EXPECT_EQ(Painted(level, x, y), clRed);
    EXPECT_EQ(Painted(level, x - 1, y - 1), ColorToRGB(clWindowText));  // the frame one pixel outside the glyph
    const TRect c = level->Item(2)->ObjectRect;
    const Integer middle = c.Top + 2 + (c.Height() - 4) / 2;
    // The check mark's lowest point: (X + 2, Y + 7) less the pen's end, with X, Y = 5, middle - 4.
    EXPECT_EQ(Painted(level, c.Left + 5 + 2, middle - 4 + 6), ColorToRGB(clWindowText));
}

// A skin change closes every open level of a menu drawn from that skin before the old pictures go, whichever
// way the change comes (a new skin read from disk, the skin cleared); a level left open would paint from freed
// pictures on its next paint.
TEST_F(MenuItemPaintTest, ASkinChangeClosesEveryOpenLevelBeforeThePicturesGo)
{
    BuildSkin();
    const std::string folder = ::testing::TempDir() + "menu-skin-change/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Skin->StoreToDisk(folder);
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"load", [&] { Skin->LoadFromFile(folder + "skin.ini"); }},
        {"clear", [&] { Skin->ClearSkin(); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Menu->Items()->Clear();
        TMenuItem* sub = Add("Sub");
        Add("Inner", sub);
        Add("Two");
        Engine->Popup(nullptr, Skin, 0, Rect(100, 100, 100, 100), Menu->Items(), false);
        Pump();
        Last()->PopupKeyDown(win::VK_RIGHT);
        Pump();
        ASSERT_EQ(Engine->LevelCount(), 2);
        ASSERT_TRUE(Last()->Skinned());
        bool pictures_there_at_close = false;
        Engine->FOnMenuClose = [&](TObject*) { pictures_there_at_close = !Skin->FActivePictures.empty(); };
        change();
        EXPECT_EQ(Engine->LevelCount(), 0);
        EXPECT_FALSE(Engine->FVisible);
        EXPECT_TRUE(pictures_there_at_close);
        // Whatever paints now paints without the old pictures.
        Form->Repaint();
        Pump();
        if (name == "load") EXPECT_FALSE(Skin->Empty);
    }
}

TEST_F(MenuItemPaintTest, ASkinnedLevelIsSizedByItsPicturesAndPaintsItemStrips)
{
    BuildSkin();
    Add("One");
    Add("-");
    Add("Two");
    Engine->Popup(nullptr, Skin, 0, Rect(100, 100, 100, 100), Menu->Items(), false);
    Pump();
    TspSkinPopupWindow* level = Last();
    ASSERT_TRUE(level->Skinned());
    ASSERT_NE(level->DSMI, nullptr);
    EXPECT_EQ(level->Height(), 22 + 4 + 22 + 4 + 4);
    EXPECT_EQ(level->Item(1)->ObjectRect.Height(), 4);
    EXPECT_EQ(Painted(level, 1, 1), kWindowColor);
    const TRect hot = level->Item(0)->ObjectRect;
    const TRect plain = level->Item(2)->ObjectRect;
    EXPECT_EQ(Painted(level, hot.Left + 1, hot.Top + 1), kHotColor);
    EXPECT_EQ(Painted(level, plain.Left + 1, plain.Top + 1), kNormalColor);
    EXPECT_EQ(Painted(level, plain.Left + 1, level->Item(1)->ObjectRect.Top + 1), kDividerColor);
}

TEST_F(MenuItemPaintTest, AMorphingItemTurnsHotInFiveSteps)
{
    TspDataSkinMenuItem* mi = BuildSkin();
    mi->Morphing = true;
    Add("One");
    Add("Two");
    Engine->Popup(nullptr, Skin, 0, Rect(100, 100, 100, 100), Menu->Items(), false);
    Pump();
    TspSkinPopupWindow* level = Last();
    Key(win::VK_DOWN);
    TspSkinMenuItem* item = level->Item(1);
    for (int step = 1; step <= 5; ++step) {
        AdvanceMs(20);
        EXPECT_NEAR(item->FMorphKf, std::min(1.0, 0.2 * step), 1e-9) << step;
    }
    EXPECT_NEAR(level->Item(0)->FMorphKf, 0.0, 1e-9);
}

TEST_F(MenuItemPaintTest, ADamagedSkinFallsBackToTheDefaultLook)
{
    // A window picture outside the list, then an item record without picture, then frames without a count.
    Skin->PopupWindow->WindowPictureIndex = 7;
    Skin->Empty = false;
    Add("One");
    Engine->Popup(nullptr, Skin, 0, Rect(100, 100, 100, 100), Menu->Items(), false);
    Pump();
    EXPECT_FALSE(Last()->Skinned());
    Engine->CloseLevels(0);

    TspDataSkinMenuItem* mi = BuildSkin();
    mi->ActivePictureIndex = 42;
    Engine->Popup(nullptr, Skin, 0, Rect(100, 100, 100, 100), Menu->Items(), false);
    Pump();
    ASSERT_TRUE(Last()->Skinned());
    EXPECT_EQ(Last()->DSMI, nullptr);
    EXPECT_EQ(Last()->Item(0)->ObjectRect.Height(), 20);
    Engine->CloseLevels(0);

    mi->ActivePictureIndex = 1;
    mi->AnimateSkinRect = Rect(0, 0, 60, 22);
    mi->FrameCount = 0;
    Add("Two");
    Engine->Popup(nullptr, Skin, 0, Rect(100, 100, 100, 100), Menu->Items(), false);
    Pump();
    EXPECT_FALSE(Last()->Item(0)->EnableAnimation());
    Key(win::VK_DOWN);
    Run(100);
    Painted(Last(), 5, 5);
}

}  // namespace
}  // namespace menustest
