// A form that shows its main menu on a main-menu bar shows it there only: a skin with a caption main-menu item
// record adds no menu items to the frame of such a form.
#include "skin/forms/main_menu_bar.h"
#include "skin_frame_fixture.h"

namespace formstest {
namespace {

class MenuBarCaptionTest : public TSkinFrameFixture {};

TEST_F(MenuBarCaptionTest, ASkinsCaptionMenuItemRecordAddsNothingBesideTheBar)
{
    NewSkinnedForm(Bounds(100, 100, 300, 200));
    auto* menu = new TMainMenu(Form);
    auto* file = new TMenuItem(Form);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    Corvalis->SetMainMenu(menu);
    auto* bar = new TspSkinMainMenuBar(Form);
    bar->SetParent(Form);
    bar->SetMainMenu(menu);
    bar->SetCorvalis(Corvalis);
    ASSERT_TRUE(FormShowsMenuOnBar(Corvalis));

    TspSkinData* skin = MakeSkin();
    auto item = std::make_unique<TspDataSkinMainMenuItem>("MAINMENUITEM");
    item->SkinRect = Rect(0, 0, 40, 18);
    item->TextRct = Rect(4, 0, 36, 18);
    skin->ObjectList.push_back(std::move(item));
    Corvalis->SetSkinData(skin);
    Pump();
    EXPECT_EQ(Corvalis->ObjectCount(), 2) << "the close button and the caption only";
    EXPECT_EQ(bar->Items().size(), 1u);
}

}  // namespace
}  // namespace formstest
