// The images menu: its grid layout and size, keyboard moves over the cells, and the events of a choice, of a
// choice of the selected cell, and of a click outside.
#include "skin/forms/images_menu.h"
#include "tests/skin/menus/menus_fixture.h"

namespace menustest {
namespace {

constexpr Integer kImage = 16;
constexpr Integer kCell = kImage + 10;

class ImagesMenuTest : public TMenusFixture {
protected:
    void SetUp() override
    {
        TMenusFixture::SetUp();
        Images = new TCustomImageList(Form, kImage, kImage);
        for (TColor color : {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF}) {
            TBitmap b(kImage, kImage, pf24bit);
            b.Canvas()->Brush()->SetColor(color);
            b.Canvas()->FillRect(Rect(0, 0, kImage, kImage));
            Images->Add(&b, nullptr);
        }
        Picker = new TspSkinImagesMenu(Form);
        Picker->SetImages(Images);
        Picker->OnItemClick = [this](TObject*) { Log.push_back("item click"); };
        Picker->OnChange = [this](TObject*) { Log.push_back("change"); };
        Picker->OnMenuClose = [this](TObject*) { Log.push_back("close"); };
        Picker->OnMenuPopup = [this](TObject*) { Log.push_back("popup"); };
    }

    // Items by kind: 'c' a plain cell, 'b' a button row, 'h' a title row.
    void Build(const std::string& AKinds, Integer AColumns)
    {
        Picker->SetColumnsCount(AColumns);
        Picker->ImagesItems()->Clear();
        for (char kind : AKinds) {
            TspImagesMenuItem* item = Picker->ImagesItems()->Add();
            item->SetImageIndex(Picker->ImagesItems()->Count() % 4);
            item->SetButton(kind == 'b');
            item->SetHeader(kind == 'h');
            item->SetCaption(kind == 'c' ? "" : "Row");
        }
    }
    void Open()
    {
        Picker->Popup(200, 200);
        Pump();
        Log.clear();
    }
    TspSkinImagesMenuPopupWindow* Window() { return Picker->PopupWindow(); }
    TRect Cell(Integer AIndex) { return Picker->ImagesItems()->Items(AIndex)->ItemRect; }
    void Key(Integer AKey)
    {
        Window()->ProcessKey(AKey);
        Pump();
    }

    TCustomImageList* Images = nullptr;
    TspSkinImagesMenu* Picker = nullptr;
};

TEST_F(ImagesMenuTest, SevenCellsInThreeColumnsMakeThreeRowsOneApart)
{
    Build("ccccccc", 3);
    Open();
    ASSERT_NE(Window(), nullptr);
    const std::vector<TRect> expected = {
        Bounds(5, 5, kCell, kCell),           Bounds(5 + kCell, 5, kCell, kCell),
        Bounds(5 + 2 * kCell, 5, kCell, kCell), Bounds(5, 5 + kCell + 1, kCell, kCell),
        Bounds(5 + kCell, 5 + kCell + 1, kCell, kCell), Bounds(5 + 2 * kCell, 5 + kCell + 1, kCell, kCell),
        Bounds(5, 5 + 2 * (kCell + 1), kCell, kCell)};
    for (Integer i = 0; i < 7; ++i) EXPECT_EQ(Cell(i), expected[static_cast<size_t>(i)]) << i;
    // The plain window: the row width and the items' height plus 5 on each side.
    EXPECT_EQ(Window()->Width(), 3 * kCell + 10);
    EXPECT_EQ(Window()->Height(), 3 * kCell + 2 + 10);
    EXPECT_EQ(Window()->Left(), 200);
    EXPECT_EQ(Window()->Top(), 200);
}

TEST_F(ImagesMenuTest, ButtonAndTitleRowsStartANewRowAndSpanIt)
{
    Build("ccbhcc", 3);
    Open();
    const Integer row2 = 5 + kCell + 1;
    EXPECT_EQ(Cell(2), Bounds(5, row2, 3 * kCell, kCell));
    EXPECT_EQ(Cell(3), Bounds(5, row2 + kCell + 1, 3 * kCell, kCell));  // a title as tall as a cell without a skin
    EXPECT_EQ(Cell(4), Bounds(5, row2 + 2 * (kCell + 1), kCell, kCell));
    EXPECT_EQ(Cell(5), Bounds(5 + kCell, row2 + 2 * (kCell + 1), kCell, kCell));
}

TEST_F(ImagesMenuTest, TheWindowOpensAboveItsAnchorAndInsideTheWorkAreaWhenBelowHasNoRoom)
{
    Build("cccc", 4);
    Picker->PopupFromRect(Rect(1000, 720, 1020, 735));
    Pump();
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Window()->Top(), 720 - Window()->Height());
    EXPECT_EQ(Window()->Left(), WorkArea.Right - Window()->Width());
}

TEST_F(ImagesMenuTest, ArrowKeysFollowTheTable)
{
    // Row 1: cells 0 1 2; row 2: cells 3 4; row 3: button 5; row 4: title 6; row 5: cell 7.
    Build("cccccbhc", 3);
    Open();
    struct TStep {
        Integer From;
        Integer Key;
        Integer To;
    };
    const TStep steps[] = {
        {-1, win::VK_RIGHT, 0}, {-1, win::VK_DOWN, 0}, {-1, win::VK_LEFT, 7}, {-1, win::VK_UP, 7},
        {0, win::VK_LEFT, 7},   {7, win::VK_RIGHT, 0}, {2, win::VK_RIGHT, 3}, {5, win::VK_RIGHT, 7},
        {4, win::VK_LEFT, 3},   {7, win::VK_LEFT, 5},  {4, win::VK_UP, 1},    {1, win::VK_DOWN, 4},
        {3, win::VK_UP, 0},     {0, win::VK_UP, 0},    {5, win::VK_UP, 3},    {7, win::VK_UP, 5},
        {4, win::VK_DOWN, 5},   {5, win::VK_DOWN, 7},  {7, win::VK_DOWN, 7},
    };
    for (const TStep& step : steps) {
        Window()->MouseInItem = step.From;
        Key(step.Key);
        EXPECT_EQ(Window()->MouseInItem, step.To) << "from " << step.From << " key " << step.Key;
    }
}

TEST_F(ImagesMenuTest, LeftFromTheFirstCellAfterATitleWrapsToTheLast)
{
    Build("hccc", 3);
    Open();
    Window()->MouseInItem = 1;
    Key(win::VK_LEFT);
    EXPECT_EQ(Window()->MouseInItem, 3);
    Key(win::VK_RIGHT);
    EXPECT_EQ(Window()->MouseInItem, 1);
}

TEST_F(ImagesMenuTest, EnterChoosesTheHotCellAndChoosingTheSelectedOneChangesNothing)
{
    Build("cccc", 4);
    int clicks = 0;
    Picker->ImagesItems()->Items(2)->OnClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Picker);
        ++clicks;
    };
    Open();
    Window()->MouseInItem = 2;
    Key(win::VK_RETURN);
    EXPECT_EQ(Picker->ItemIndex(), 2);
    EXPECT_EQ(Picker->PopupWindow(), nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "item click", "change"}));
    EXPECT_EQ(clicks, 1);

    Open();
    Window()->MouseInItem = 2;
    Key(win::VK_SPACE);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "item click"}));
    EXPECT_EQ(clicks, 2);

    Open();
    Key(win::VK_ESCAPE);
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
    EXPECT_EQ(Picker->ItemIndex(), 2);
}

TEST_F(ImagesMenuTest, AClickOnACellChoosesItAndAClickOutsideOnlyCloses)
{
    Build("cccc", 2);
    Open();
    const TRect cell = Cell(3);
    Display.Click(TPoint{Window()->Left() + cell.Left + 3, Window()->Top() + cell.Top + 3});
    Pump();
    EXPECT_EQ(Picker->ItemIndex(), 3);
    EXPECT_EQ(Picker->PopupWindow(), nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "item click", "change"}));

    Open();
    Display.Click(TPoint{20, 20});
    Pump();
    EXPECT_EQ(Picker->PopupWindow(), nullptr);
    EXPECT_EQ(Log, std::vector<std::string>{"close"});
    EXPECT_EQ(Picker->ItemIndex(), 3);
}

TEST_F(ImagesMenuTest, KeysReachThePickerThroughTheApplicationAndAnotherPopupReplacesIt)
{
    Build("cccc", 4);
    Open();
    Display.PressKey(win::VK_RIGHT);
    Pump();
    EXPECT_EQ(Window()->MouseInItem, 0);
    Picker->Popup(300, 300);
    Pump();
    EXPECT_NE(Window(), nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"close", "popup"}));
    Display.PressKey(win::VK_ESCAPE);
    Pump();
    EXPECT_EQ(Window(), nullptr);
}

TEST_F(ImagesMenuTest, NothingOpensWithoutImagesOrItemsAndColumnsOutsideTheRangeAreIgnored)
{
    Picker->SetColumnsCount(0);
    EXPECT_EQ(Picker->ColumnsCount(), 1);
    Picker->SetColumnsCount(51);
    EXPECT_EQ(Picker->ColumnsCount(), 1);
    Picker->SetColumnsCount(50);
    EXPECT_EQ(Picker->ColumnsCount(), 50);
    Picker->Popup(10, 10);
    EXPECT_EQ(Picker->PopupWindow(), nullptr);
    EXPECT_EQ(Log, std::vector<std::string>{"popup"});
    Build("c", 1);
    Picker->SetImages(nullptr);
    Picker->Popup(10, 10);
    EXPECT_EQ(Picker->PopupWindow(), nullptr);
    EXPECT_EQ(Picker->SelectedItem(), nullptr);
}

}  // namespace
}  // namespace menustest
