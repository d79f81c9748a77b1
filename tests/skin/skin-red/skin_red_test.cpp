// The shipped skin "skin-red" as the build draws it: it loads whole, every name the controls, forms, menus,
// grids and dialogs look up finds a record of the class they expect, it survives a save and reload, every
// picture part lies inside its picture, and every text colour stands out from what it is drawn on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "picture_parts.h"
#include "raster.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_data_listing.h"
#include "skin/core/skin_records_factory.h"
#include "skin/core/skin_startup.h"
#include "style_source.h"

namespace {

namespace fs = std::filesystem;

const std::string kSkinFolder = std::string(QUENNARY_BINARY_DIR) + "/tools/skin-build/skin-red/";
const std::string kStyleFile = std::string(QUENNARY_SOURCE_DIR) + "/data/skin-red-style/style.ini";

class SkinRedTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SkinCoreStartUp(); }
    void SetUp() override
    {
        Skin = std::make_unique<TspSkinData>(nullptr);
        Skin->LoadFromFile(kSkinFolder + "skin.ini");
        ASSERT_FALSE(Skin->Empty) << kSkinFolder;
    }
    template <typename TRecord>
    TRecord* Control(const std::string& AName)
    {
        const Integer index = Skin->GetControlIndex(AName);
        return index < 0 ? nullptr : dynamic_cast<TRecord*>(Skin->CtrlList[index].get());
    }
    template <typename TRecord>
    TRecord* Object(const std::string& AName)
    {
        const Integer index = Skin->GetIndex(AName);
        return index < 0 ? nullptr : dynamic_cast<TRecord*>(Skin->ObjectList[index].get());
    }
    // The picture files, read apart from the skin so that pixels can be sampled.
    const TRaster& Picture(const std::string& AName)
    {
        auto& slot = FPictures[AName];
        if (!slot) slot = TRaster::Load(kSkinFolder + AName);
        return *slot;
    }
    const TRaster& ActivePicture(Integer AIndex) { return Picture(Skin->FActivePicturesNames->Strings(AIndex)); }

    std::unique_ptr<TspSkinData> Skin;

private:
    std::map<std::string, std::unique_ptr<TRaster>> FPictures;
};

uint32_t Rgb(TColor AColour) { return (AColour & 0xFF) << 16 | (AColour & 0xFF00) | ((AColour >> 16) & 0xFF); }

// Each name a control, form, menu, grid or dialog looks up by default, with the record class it checks for.
template <typename TRecord>
bool Is(const TspDataSkinControl* ARecord)
{
    return dynamic_cast<const TRecord*>(ARecord) != nullptr;
}

TEST_F(SkinRedTest, EveryControlNameFindsARecordOfTheExpectedClass)
{
    using TCheck = std::function<bool(const TspDataSkinControl*)>;
    const std::map<std::string, TCheck> names = {
        {"button", Is<TspDataSkinButtonControl>}, {"resizebutton", Is<TspDataSkinButtonControl>},
        {"resizetoolbutton", Is<TspDataSkinButtonControl>}, {"toolbutton", Is<TspDataSkinButtonControl>},
        {"bigtoolbutton", Is<TspDataSkinButtonControl>}, {"editbutton", Is<TspDataSkinButtonControl>},
        {"combobutton", Is<TspDataSkinButtonControl>}, {"officequickbutton", Is<TspDataSkinButtonControl>},
        {"menuitembutton", Is<TspDataSkinButtonControl>}, {"htracktoolbutton", Is<TspDataSkinButtonControl>},
        {"vtracktoolbutton", Is<TspDataSkinButtonControl>}, {"lvheader", Is<TspDataSkinButtonControl>},
        {"toolmenubutton", Is<TspDataSkinMenuButtonControl>}, {"toolmenutrackbutton", Is<TspDataSkinMenuButtonControl>},
        {"bigtoolmenubutton", Is<TspDataSkinMenuButtonControl>},
        {"bigtoolmenutrackbutton", Is<TspDataSkinMenuButtonControl>},
        {"checkbox", Is<TspDataSkinCheckRadioControl>}, {"radiobox", Is<TspDataSkinCheckRadioControl>},
        {"panel", Is<TspDataSkinPanelControl>}, {"groupbox", Is<TspDataSkinPanelControl>},
        {"statusbar", Is<TspDataSkinPanelControl>}, {"toolpanel", Is<TspDataSkinPanelControl>},
        {"stdlabel", Is<TspDataSkinStdLabelControl>}, {"label", Is<TspDataSkinLabelControl>},
        {"menuheader", Is<TspDataSkinLabelControl>}, {"bevel", Is<TspDataSkinBevel>},
        {"gauge", Is<TspDataSkinGaugeControl>}, {"vgauge", Is<TspDataSkinGaugeControl>},
        {"htrackbar", Is<TspDataSkinTrackBarControl>}, {"trackbar", Is<TspDataSkinTrackBarControl>},
        {"hscrollbar", Is<TspDataSkinScrollBarControl>}, {"vscrollbar", Is<TspDataSkinScrollBarControl>},
        {"bothhscrollbar", Is<TspDataSkinScrollBarControl>}, {"hupdown", Is<TspDataSkinUpDownControl>},
        {"vupdown", Is<TspDataSkinUpDownControl>}, {"edit", Is<TspDataSkinEditControl>},
        {"buttonedit", Is<TspDataSkinEditControl>}, {"tooledit", Is<TspDataSkinEditControl>},
        {"memo", Is<TspDataSkinMemoControl>}, {"spinedit", Is<TspDataSkinSpinEditControl>},
        {"listbox", Is<TspDataSkinListBox>}, {"combobox", Is<TspDataSkinComboBox>},
        {"treeview", Is<TspDataSkinTreeView>}, {"listview", Is<TspDataSkinListView>},
        {"grid", Is<TspDataSkinGridControl>}, {"tab", Is<TspDataSkinTabControl>},
        {"mainmenubar", Is<TspDataSkinMainMenuBar>},
    };
    for (const auto& [name, check] : names) {
        const Integer index = Skin->GetControlIndex(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_TRUE(check(Skin->CtrlList[index].get())) << name << " is a " << SkinControlTypeWord(*Skin->CtrlList[index]);
    }
}

TEST_F(SkinRedTest, FrameMenuAndAreaNamesFindTheirRecords)
{
    ASSERT_NE(Object<TspDataSkinCaption>("caption"), nullptr);
    const std::map<std::string, TStdCommand> buttons = {
        {"closebutton", cmClose}, {"maxbutton", cmMaximize}, {"minbutton", cmMinimize}, {"sysmenubutton", cmSysMenu}};
    for (const auto& [name, command] : buttons) {
        auto* button = Object<TspDataSkinStdButton>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->Command, command) << name;
    }
    EXPECT_EQ(Object<TspDataSkinStdButton>("maxbutton")->RestoreHint, "Restore");
    EXPECT_NE(Object<TspDataSkinMenuItem>("menuitem"), nullptr);
    for (const char* area : {"mainmenubararea", "videoplayerarea"}) EXPECT_GE(Skin->GetAreaIndex(area), 0) << area;

    // Names that records give for other records.
    auto* bar = Control<TspDataSkinMainMenuBar>("mainmenubar");
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(Object<TspDataSkinMainMenuBarItem>(bar->MenuBarItem), nullptr);
    EXPECT_NE(Control<TspDataSkinListBox>(Control<TspDataSkinComboBox>("combobox")->ListBoxName), nullptr);
    auto* list = Control<TspDataSkinListBox>("listbox");
    for (const std::string& name : {list->HScrollBarName, list->VScrollBarName, list->BothScrollBarName})
        EXPECT_NE(Control<TspDataSkinScrollBarControl>(name), nullptr) << name;
    EXPECT_NE(Control<TspDataSkinUpDownControl>(Control<TspDataSkinTabControl>("tab")->UpDown), nullptr);
    EXPECT_NE(Control<TspDataSkinPanelControl>(Skin->StatusBarName), nullptr);
    EXPECT_GE(Skin->PopupWindow->WindowPictureIndex, 0);
    EXPECT_GE(Skin->HintWindow->WindowPictureIndex, 0);
}

TEST_F(SkinRedTest, EveryPicturePartLiesInsideItsPicture)
{
    const Integer count = Integer(Skin->FActivePictures.size());
    auto check = [&](const std::string& AName, const std::string& AKind, const TRectCollector& ARects,
                     Integer AIndex, const TBitmap* ASkinRectPicture) {
        ASSERT_LT(AIndex, count) << AName;
        for (const auto& [key, rect] : ARects.Rects) {
            if (!IsPicturePart(AKind, key)) continue;
            const TBitmap* picture = key == "skinrect" && ASkinRectPicture ? ASkinRectPicture
                                     : AIndex >= 0                        ? Skin->FActivePictures[AIndex].get()
                                                                          : nullptr;
            ASSERT_NE(picture, nullptr) << AName << " " << key << " has no picture";
            EXPECT_LE(rect.Right, picture->Width()) << AName << " " << key;
            EXPECT_LE(rect.Bottom, picture->Height()) << AName << " " << key;
        }
    };
    for (const auto& record : Skin->CtrlList) {
        TRectCollector rects;
        record->DescribeFields(rects);
        check(record->IDName, SkinControlTypeWord(*record), rects, record->PictureIndex, nullptr);
    }
    for (const auto& record : Skin->ObjectList) {
        TRectCollector rects;
        record->DescribeFields(rects);
        check(record->IDName, SkinObjectTypeWord(*record), rects, record->ActivePictureIndex,
              record->SkinRectInAPicture ? nullptr : Skin->FPicture.get());
    }
    EXPECT_EQ(Skin->FPicture->Width(), Skin->FMask->Width());
    EXPECT_EQ(Skin->FPicture->Height(), Skin->FInActivePicture->Height());
}

TEST_F(SkinRedTest, StoringAndReloadingGivesTheSameSkin)
{
    const fs::path folder = fs::path(QUENNARY_BINARY_DIR) / "skin-red-test" / "stored";
    fs::remove_all(folder);
    fs::create_directories(folder);
    Skin->StoreToDisk(folder.string() + "/");
    TspSkinData reloaded(nullptr);
    reloaded.LoadFromFile((folder / "skin.ini").string());
    EXPECT_EQ(SkinDataListing(&reloaded), SkinDataListing(Skin.get()));
}

// The converter's own pictures, by the names it loads them under.
TEST_F(SkinRedTest, TheConverterFindsEveryPictureOfItsOwn)
{
    const char* const names[] = {
        "open.png", "trim.png", "edit.png", "open_over.png", "trim_over.png", "edit_over.png", "convert.png",
        "convert_over.png", "play.png", "pause.png", "stop.png", "photo.png", "setstart.png", "setend.png",
        "playpart.png", "profilescombo_over.bmp", "profilescombo.bmp", "tablerow.bmp", "tablecolumncaptionbar.bmp",
        "filmicon.bmp", "like.png", "tweet.png", "like_over.png", "tweet_over.png", "dragdrop.png",
        "open_for_gs.png", "volume.png", "gettingstarted.bmp", "preview.bmp", "trim_left.bmp", "trim_right.bmp",
        "imgarrow.png", "imgarrow_over.png"};
    for (const char* name : names) {
        const TRaster& picture = Picture(name);
        EXPECT_GT(picture.Width(), 0) << name;
        const std::string file = name;
        if (file.substr(file.size() - 4) != ".png") continue;
        // A glyph is drawn on nothing: its corner lets whatever lies behind show through.
        if (file.rfind("convert", 0) != 0) {
            EXPECT_EQ(picture.AlphaAt(0, 0), 0) << name;
        }
    }
    // The pictures that come in pairs change under the mouse.
    for (const char* stem : {"open", "trim", "edit", "convert", "like", "tweet", "imgarrow"}) {
        const TRaster& rest = Picture(std::string(stem) + ".png");
        const TRaster& over = Picture(std::string(stem) + "_over.png");
        bool differs = false;
        for (int y = 0; y < rest.Height() && !differs; ++y)
            for (int x = 0; x < rest.Width() && !differs; ++x) differs = rest.ColourAt(x, y) != over.ColourAt(x, y);
        EXPECT_TRUE(differs) << stem;
    }
    EXPECT_NE(Picture("profilescombo.bmp").ColourAt(150, 17), Picture("profilescombo_over.bmp").ColourAt(150, 17));
}

TEST(SkinRedStyle, EveryTextColourOfThePaletteReachesTheContrastRatio)
{
    const TSkinStyle style = TSkinStyle::Load(kStyleFile);
    ASSERT_FALSE(style.ContrastPairs().empty());
    for (const TContrastPair& pair : style.ContrastPairs())
        EXPECT_GE(ContrastRatio(style.Colour(pair.Text), style.Colour(pair.Background)), 4.5)
            << pair.Name << ": " << pair.Text << " on " << pair.Background;
}

// A damaged style source stops the build with the file, the line and what is wrong.
TEST(SkinRedStyle, MalformedSourcesAreRefusedWithWhereAndWhy)
{
    const fs::path folder = fs::path(QUENNARY_BINARY_DIR) / "skin-red-test" / "styles";
    fs::create_directories(folder);
    struct TCase {
        const char* Text;
        const char* Expected;
    };
    const TCase cases[] = {
        {"key = value\n", ":1: expected 'key = value' inside a section"},
        {"[palette]\nink #000000\n", ":2: expected 'key = value'"},
        {"[palette\n", ":1: a section line ends with ']'"},
        {"[palette]\nink = #000000\n[contrast]\nbody = ink over paper\n", ":4: a contrast pair reads"},
        {"[palette]\nink = #000000\n[contrast]\nbody = ink on paper\n", "no 'paper' in [palette]"},
        {"[palette]\nink = #00000\npaper = #FFFFFF\n[contrast]\nbody = ink on paper\n", "is not #RRGGBB"},
    };
    int number = 0;
    for (const TCase& c : cases) {
        const std::string file = (folder / ("style" + std::to_string(++number) + ".ini")).string();
        std::ofstream(file) << c.Text;
        try {
            TSkinStyle::Load(file);
            ADD_FAILURE() << c.Text << " was accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.Expected), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(TSkinStyle::Load((folder / "missing.ini").string()), std::runtime_error);
}

TEST(SkinRedStyle, ContrastRatioMatchesKnownValues)
{
    EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(0x777777, 0xFFFFFF), 4.48, 0.01);
    EXPECT_NEAR(ContrastRatio(0x123456, 0x123456), 1.0, 1e-9);
}

// Every font colour of the records against the pixel its text lands on, sampled from the drawn pictures.
TEST_F(SkinRedTest, RecordTextStandsOutFromItsDrawnBackground)
{
    struct TSample {
        std::string What;
        TColor Text;
        const TRaster* Picture;
        TRect Part;
    };
    std::vector<TSample> samples;
    auto add = [&](const std::string& AWhat, TColor AText, const TRaster& APicture, const TRect& APart) {
        samples.push_back({AWhat, AText, &APicture, APart});
    };
    for (const auto& record : Skin->CtrlList) {
        const std::string& n = record->IDName;
        if (record->PictureIndex < 0) continue;
        const TRaster& p = ActivePicture(record->PictureIndex);
        if (auto* b = dynamic_cast<TspDataSkinButtonControl*>(record.get())) {
            add(n + " normal", b->FontColor, p, b->SkinRect);
            add(n + " hot", b->ActiveFontColor, p, b->ActiveSkinRect);
            add(n + " pressed", b->DownFontColor, p, b->DownSkinRect);
            add(n + " disabled", b->DisabledFontColor, p, b->DisabledSkinRect);
            add(n + " focused", b->FontColor, p, b->FocusedSkinRect);
        } else if (auto* c = dynamic_cast<TspDataSkinCheckRadioControl*>(record.get())) {
            add(n + " normal", c->FontColor, p, c->SkinRect);
            add(n + " hot", c->ActiveFontColor, p, c->ActiveSkinRect);
            add(n + " disabled", c->UnEnabledFontColor, p, c->SkinRect);
        } else if (auto* e = dynamic_cast<TspDataSkinEditControl*>(record.get())) {
            add(n + " normal", e->FontColor, p, e->SkinRect);
            add(n + " focused", e->ActiveFontColor, p, e->ActiveSkinRect);
        } else if (auto* s = dynamic_cast<TspDataSkinSpinEditControl*>(record.get())) {
            add(n + " normal", s->FontColor, p, s->SkinRect);
        } else if (auto* cb = dynamic_cast<TspDataSkinComboBox*>(record.get())) {
            add(n + " item", cb->FontColor, p, cb->SItemRect);
            add(n + " hot item", cb->ActiveFontColor, p, cb->ActiveItemRect);
            add(n + " focused item", cb->FocusFontColor, p, cb->FocusItemRect);
        } else if (auto* l = dynamic_cast<TspDataSkinListBox*>(record.get())) {
            add(n + " item", l->FontColor, p, l->SItemRect);
            add(n + " selected item", l->ActiveFontColor, p, l->ActiveItemRect);
            add(n + " focused item", l->FocusFontColor, p, l->FocusItemRect);
        } else if (auto* g = dynamic_cast<TspDataSkinGridControl*>(record.get())) {
            add(n + " caption cell", g->FixedFontColor, p, g->FixedCellRect);
            add(n + " selected cell", g->SelectFontColor, p, g->SelectCellRect);
            add(n + " focused cell", g->FocusFontColor, p, g->FocusCellRect);
        } else if (auto* t = dynamic_cast<TspDataSkinTabControl*>(record.get())) {
            add(n + " tab", t->FontColor, p, t->TabRect);
            add(n + " chosen tab", t->ActiveFontColor, p, t->ActiveTabRect);
            add(n + " hot tab", t->MouseInFontColor, p, t->MouseInTabRect);
        } else if (auto* ga = dynamic_cast<TspDataSkinGaugeControl*>(record.get())) {
            // One text colour over the track and over the filled part.
            add(n + " track", ga->FontColor, p, ga->SkinRect);
            add(n + " filled", ga->FontColor, p, ga->ProgressRect);
        } else if (auto* pa = dynamic_cast<TspDataSkinPanelControl*>(record.get())) {
            add(n, pa->FontColor, p, pa->SkinRect);
        } else if (auto* la = dynamic_cast<TspDataSkinLabelControl*>(record.get())) {
            add(n, la->FontColor, p, la->SkinRect);
        }
    }
    {
        auto* item = Object<TspDataSkinMenuItem>("menuitem");
        const TRaster& p = ActivePicture(item->ActivePictureIndex);
        add("menu item", item->FontColor, p, item->SkinRect);
        add("menu item hot", item->ActiveFontColor, p, item->ActiveSkinRect);
        add("menu item disabled", item->UnEnabledFontColor, p, item->SkinRect);
    }
    auto* barItem = Object<TspDataSkinMainMenuBarItem>("mainmenubaritem");
    const TRaster& barPicture = ActivePicture(barItem->ActivePictureIndex);
    add("menu bar item", barItem->FontColor, barPicture, barItem->SkinRect);
    add("menu bar item hot", barItem->ActiveFontColor, barPicture, barItem->ActiveSkinRect);
    add("menu bar item open", barItem->DownFontColor, barPicture, barItem->DownRect);
    auto* caption = Object<TspDataSkinCaption>("caption");
    add("caption", caption->ActiveFontColor, Picture(Skin->FPictureName), caption->SkinRect);
    add("inactive caption", caption->FontColor, Picture(Skin->FInActivePictureName), caption->SkinRect);
    const TRaster& hint = ActivePicture(Skin->HintWindow->WindowPictureIndex);
    add("hint", Skin->HintWindow->FontColor, hint, Rect(0, 0, hint.Width(), hint.Height()));

    ASSERT_GT(samples.size(), 60u);
    for (const TSample& s : samples) {
        const uint32_t back = s.Picture->ColourAt((s.Part.Left + s.Part.Right) / 2, (s.Part.Top + s.Part.Bottom) / 2);
        EXPECT_GE(ContrastRatio(Rgb(s.Text), back), 4.5) << s.What;
    }
}

}  // namespace
