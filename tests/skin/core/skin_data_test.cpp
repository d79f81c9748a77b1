#include "skin/core/skin_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data_listing.h"
#include "skin/core/stored_skin.h"
#include "tools/make-test-skin/test_skin_writer.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under the build tree for each test.
std::string TempFolder(const std::string& AName)
{
    const fs::path path = fs::path(QUENNARY_BINARY_DIR) / "skin-data-test" / AName;
    fs::remove_all(path);
    fs::create_directories(path);
    return path.string() + "/";
}

std::string TestSkin(const std::string& AName)
{
    const std::string folder = TempFolder(AName);
    test_skin::WriteTestSkin(folder);
    return folder;
}

// A form in the registry that notes every message it gets.
struct RecordingForm final : TspSkinMessageReceiver {
    RecordingForm(std::vector<std::string>& ALog, std::string AName, TComponent* AForm = nullptr, bool ALayer = false)
        : Log(ALog), Name(std::move(AName)), Form(AForm), Layer(ALayer)
    {
        TspFormRegistry::Register(this);
    }
    ~RecordingForm() override { TspFormRegistry::Unregister(this); }
    TComponent* ReceiverForm() const override { return Form; }
    bool IsLayerWindow() const override { return Layer; }
    void SkinDataMessage(Cardinal Msg, intptr_t WParam, intptr_t LParam) override
    {
        Log.push_back(Name + ":" + std::to_string(Msg) + (LParam == SkinDataMessageLParam ? "" : "!") +
                      (WParam == Expected ? "" : "?") + (OnMessage ? OnMessage() : ""));
    }
    std::vector<std::string>& Log;
    std::string Name;
    TComponent* Form;
    bool Layer;
    intptr_t Expected = 0;
    std::function<std::string()> OnMessage;
};

std::string WithoutSection(std::string AText, const std::string& ASection)
{
    const size_t start = AText.find("[" + ASection + "]");
    if (start == std::string::npos) return AText;
    const size_t end = AText.find("\n[", start + 1);
    return AText.erase(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

TEST(SkinData, SaveThenLoadGivesTheSameSkinAndKeepsExactRecordClasses)
{
    const std::string folder = TestSkin("roundtrip");
    TspSkinData first(nullptr);
    first.LoadFromFile(folder + "skin.ini");
    ASSERT_FALSE(first.Empty);
    EXPECT_EQ(first.ObjectList.size(), 16u);
    EXPECT_EQ(first.CtrlList.size(), 33u);

    const std::string copy = TempFolder("roundtrip-copy");
    first.StoreToDisk(copy);
    TspSkinData second(nullptr);
    second.LoadFromFile(copy + "skin.ini");
    EXPECT_EQ(SkinDataListing(&second), SkinDataListing(&first));
    // The JPEG picture goes back as the same JPEG file.
    std::ifstream a(folder + "buttons.jpg", std::ios::binary), b(copy + "buttons.jpg", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), std::string(std::istreambuf_iterator<char>(b), {}));

    const Integer bar_button = second.GetIndex("obj_mainmenubarbutton");
    ASSERT_GE(bar_button, 0);
    EXPECT_TRUE(dynamic_cast<TspDataSkinMainMenuBarButton*>(second.ObjectList[size_t(bar_button)].get()));
}

TEST(SkinData, PackedIntoAStoredSkinThenLoadedGivesTheSameSkinButCursors)
{
    const std::string folder = TestSkin("packed");
    TspSkinData first(nullptr);
    first.LoadFromFile(folder + "skin.ini");
    first.SaveToCompressedFile(folder + "packed.skn");

    TspSkinData second(nullptr);
    second.LoadFromCompressedFile(folder + "packed.skn");
    EXPECT_FALSE(second.Empty);
    // A stored skin installs no cursors.
    EXPECT_EQ(second.FCursorsNames->Count(), 0);
    EXPECT_EQ(WithoutSection(SkinDataListing(&second), "CURSORS"), WithoutSection(SkinDataListing(&first), "CURSORS"));

    // Packing the folder itself gives the same skin too.
    TspCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(folder + "skin.ini");
    TspSkinData third(nullptr);
    third.LoadCompressedStoredSkin(&stored);
    EXPECT_EQ(WithoutSection(SkinDataListing(&third), "CURSORS"), WithoutSection(SkinDataListing(&first), "CURSORS"));
}

TEST(SkinData, LoadAndClearAnnounceTheChangeToEveryFormInOrder)
{
    const std::string folder = TestSkin("messages");
    std::vector<std::string> log;
    TspSkinData skin(nullptr);
    RecordingForm one(log, "one"), two(log, "two");
    one.Expected = two.Expected = reinterpret_cast<intptr_t>(&skin);
    one.OnMessage = [&] { return std::string(skin.Empty ? "E" : "") + (skin.ChangeSkinDataProcess ? "P" : ""); };
    skin.OnLoadData = [&](TObject* Sender) {
        log.push_back(std::string("loaded") + (Sender == &skin ? "" : "?") + (skin.Empty ? "E" : ""));
    };
    skin.LoadFromFile(folder + "skin.ini");
    // The new skin has a layer-frame picture, so once it is read the forms hear from the last to the first.
    EXPECT_EQ(log, (std::vector<std::string>{"one:1225EP", "two:1225", "loaded", "two:1226", "one:1226P", "two:1227",
                                             "one:1227"}));
    log.clear();
    skin.ClearSkin();
    // The change is announced while the pictures are still there (so that nothing drawn from them, an open menu,
    // outlives them), in the order of the skin being cleared; the rest follows once it is empty.
    EXPECT_EQ(log, (std::vector<std::string>{"two:1225", "one:1225", "one:1226E", "two:1226", "one:1227E",
                                             "two:1227"}));

    // A file without SKINCONTROLS is no skin: nothing changes, nothing is sent.
    skin.LoadFromFile(folder + "skin.ini");
    std::string text;
    {
        std::ifstream in(folder + "skin.ini");
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(folder + "noskin.ini") << WithoutSection(text, "SKINCONTROLS");
    log.clear();
    skin.LoadFromFile(folder + "noskin.ini");
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(skin.Empty);
    EXPECT_EQ(skin.CtrlList.size(), 33u);
}

TEST(SkinData, OwnerFormFirstWithoutLayeredBordersReverseOrderWithALayerFramePicture)
{
    std::vector<std::string> log;
    TComponent owner(nullptr);
    auto* skin = new TspSkinData(&owner);
    RecordingForm first(log, "first"), layer(log, "layer", nullptr, true), owner_form(log, "owner", &owner),
        last(log, "last");
    for (auto* form : {&first, &layer, &owner_form, &last}) form->Expected = reinterpret_cast<intptr_t>(skin);

    skin->SetShowLayeredBorders(true);
    EXPECT_TRUE(log.empty());
    skin->SetShowLayeredBorders(false);
    EXPECT_EQ(log, (std::vector<std::string>{"owner:1427", "first:1427", "last:1427"}));

    log.clear();
    skin->SetShowLayeredBorders(true);
    skin->LayerFrame->PictureIndex = 0;
    log.clear();
    skin->SendSkinDataMessage(SKM_CHANGE);
    EXPECT_EQ(log, (std::vector<std::string>{"last:1226", "owner:1226", "first:1226"}));

    log.clear();
    skin->LayerFrame->PictureIndex = -1;
    skin->SetSkinnableForm(false);
    skin->SetAeroBlurEnabled(false);
    EXPECT_EQ(log, (std::vector<std::string>{"first:1294", "owner:1294", "last:1294", "first:1428", "owner:1428",
                                             "last:1428"}));
}

TEST(SkinData, AMissingPictureEndsInAClearedSkinWithTheAnnouncementCompleted)
{
    const std::string folder = TestSkin("missing");
    fs::remove(folder + "glyphs.bmp");
    std::vector<std::string> log;
    TspSkinData skin(nullptr);
    RecordingForm form(log, "form");
    form.Expected = reinterpret_cast<intptr_t>(&skin);
    form.OnMessage = [&] { return std::string(skin.ChangeSkinDataProcess ? "P" : ""); };
    EXPECT_THROW(skin.LoadFromFile(folder + "skin.ini"), EFOpenError);
    EXPECT_EQ(log, (std::vector<std::string>{"form:1225P", "form:1226", "form:1227"}));
    EXPECT_TRUE(skin.Empty);
    EXPECT_FALSE(skin.ChangeSkinDataProcess);
    EXPECT_TRUE(skin.FActivePictures.empty());
    EXPECT_TRUE(skin.FPicture->Empty());
    EXPECT_EQ(skin.FActivePicturesNames->Count(), 0);
    EXPECT_TRUE(skin.CtrlList.empty());
    EXPECT_EQ(skin.FSkinColors->FcBtnFace, clBtnFace);
}

// Every count of the description set to 200,000,000: each list must end at its last real entry, so the skin
// loads as quickly as the original and lists the same (the writer counts what was really read).
TEST(SkinData, HugeCountsEndAtTheFirstMissingEntryInEveryList)
{
    const std::string folder = TestSkin("huge-counts");
    TspSkinData original(nullptr);
    original.LoadFromFile(folder + "skin.ini");
    ASSERT_FALSE(original.Empty);

    const std::string huge = "200000000";
    Integer line_lists = 0;
    {
        TMemIniFile ini(folder + "skin.ini");
        ini.WriteString("PICTURES", "activepicturescount", huge);
        ini.WriteString("CURSORS", "cursorscount", huge);
        for (const char* section : {"SKINAREAS", "SKINOBJECTS", "SKINCONTROLS"}) ini.WriteString(section, "count", huge);
        TStringList sections, keys;
        ini.ReadSections(&sections);
        for (Integer i = 0; i < sections.Count(); ++i) {
            ini.ReadSection(sections.Strings(i), &keys);
            for (Integer k = 0; k < keys.Count(); ++k)
                if (keys.Strings(k).ends_with("linecount")) {
                    ini.WriteString(sections.Strings(i), keys.Strings(k), huge);
                    ++line_lists;
                }
        }
        ini.UpdateFile();
    }
    EXPECT_GE(line_lists, 2);  // the symbol lines of the bit label object and control at least

    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    ASSERT_FALSE(skin.Empty);
    EXPECT_EQ(skin.FActivePictures.size(), 3u);
    EXPECT_EQ(skin.FCursorsNames->Count(), 2);
    EXPECT_EQ(skin.AreaList.size(), 2u);
    EXPECT_EQ(skin.ObjectList.size(), 16u);
    EXPECT_EQ(skin.CtrlList.size(), 33u);
    EXPECT_EQ(SkinDataListing(&skin), SkinDataListing(&original));

    // The same description packed into a stored skin (its own picture list read by the same rule).
    TspCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(folder + "skin.ini");
    TspSkinData packed(nullptr);
    packed.LoadCompressedStoredSkin(&stored);
    EXPECT_EQ(WithoutSection(SkinDataListing(&packed), "CURSORS"),
              WithoutSection(SkinDataListing(&original), "CURSORS"));
}

// A gap ends a list: entries after it are not read even though the count covers them.
TEST(SkinData, AListEndsAtItsFirstGap)
{
    const std::string folder = TempFolder("gap");
    std::ofstream(folder + "skin.ini") << "[VERSION]\nskinname=gap\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
                                          "[SKINAREAS]\ncount=3\n0=a:1,1,2,2\n2=c:1,1,2,2\n"
                                          "[SKINOBJECTS]\ncount=9\n1=close:stdbutton\n"
                                          "[SKINCONTROLS]\ncount=2\n0=b:button\n1=\n";
    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    ASSERT_FALSE(skin.Empty);
    ASSERT_EQ(skin.AreaList.size(), 1u);
    EXPECT_EQ(skin.AreaList[0]->IDName, "a");
    EXPECT_TRUE(skin.ObjectList.empty());
    // An entry that is there but empty is no gap: it is passed over like any entry without ":".
    ASSERT_EQ(skin.CtrlList.size(), 1u);
}

// A skin author must be able to find a bad value: the error names the file, the section and the key.
TEST(SkinData, LoadErrorsNameTheFileSectionAndKey)
{
    const struct {
        const char* What;
        std::function<void(TMemIniFile&, const std::string&)> Damage;
        std::string Section, Key;
    } rows[] = {
        {"rectangle of a control", [](TMemIniFile& ini, const std::string&) {
             ini.WriteString("ctl_button", "skinrect", "1,2,,4");
         }, "ctl_button", "skinrect"},
        {"point of the form", [](TMemIniFile& ini, const std::string&) {
             ini.WriteString("FORMINFO", "lefttoppoint", "abc");
         }, "FORMINFO", "lefttoppoint"},
        {"area rectangle", [](TMemIniFile& ini, const std::string&) {
             ini.WriteString("SKINAREAS", "1", "client:1,x");
         }, "SKINAREAS", "1"},
        {"missing active picture", [](TMemIniFile&, const std::string& folder) {
             fs::remove(folder + "glyphs.bmp");
         }, "PICTURES", "2"},
        {"missing main picture", [](TMemIniFile&, const std::string& folder) {
             fs::remove(folder + "rollup.bmp");
         }, "PICTURES", "rolluppicture"},
    };
    for (const auto& row : rows) {
        const std::string folder = TestSkin("named-errors");
        {
            TMemIniFile ini(folder + "skin.ini");
            row.Damage(ini, folder);
            ini.UpdateFile();
        }
        TspSkinData skin(nullptr);
        try {
            skin.LoadFromFile(folder + "skin.ini");
            ADD_FAILURE() << row.What << ": no error";
        } catch (const Exception& e) {
            const std::string message = e.Message();
            EXPECT_NE(message.find(folder + "skin.ini"), std::string::npos) << row.What << ": " << message;
            EXPECT_NE(message.find("[" + row.Section + "]"), std::string::npos) << row.What << ": " << message;
            EXPECT_NE(message.find("\"" + row.Key + "\""), std::string::npos) << row.What << ": " << message;
        }
        EXPECT_TRUE(skin.Empty) << row.What;
    }
}

// A NUL byte inside a value is part of the value: it is read, listed and written back whole.
TEST(SkinData, ANulInsideAValueKeepsTheRestOfTheValueAndTheListing)
{
    const std::string folder = TestSkin("nul");
    const std::string name("before\0after", 12);
    {
        TMemIniFile ini(folder + "skin.ini");
        ini.WriteString("VERSION", "skinname", name);
        ini.UpdateFile();
    }
    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    EXPECT_EQ(skin.SkinName, name);
    const std::string listing = SkinDataListing(&skin);
    EXPECT_NE(listing.find("skinname=" + name + "\n"), std::string::npos);
    EXPECT_NE(listing.find("[SKINCONTROLS]"), std::string::npos);
}

TEST(SkinData, LookupsPicturesAndFormGeometry)
{
    const std::string folder = TestSkin("lookups");
    {
        TMemIniFile ini(folder + "skin.ini");
        ini.WriteInteger("SKINCONTROLS", "count", 36);
        ini.WriteString("SKINCONTROLS", "33", "button:button");
        ini.WriteString("SKINCONTROLS", "34", "edit:edit");
        ini.WriteString("SKINCONTROLS", "35", "edit:memo");
        ini.UpdateFile();
    }
    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    EXPECT_EQ(skin.GetControlIndex("Button"), -1);
    EXPECT_EQ(skin.GetControlIndex("button"), 33);
    EXPECT_EQ(skin.GetControlIndex("edit"), 34);
    EXPECT_EQ(skin.GetIndex("no such"), -1);
    EXPECT_EQ(skin.GetAreaIndex("client"), 1);
    for (Integer index : {-2, -1, 3, 1000}) EXPECT_EQ(skin.ActivePicture(index), nullptr) << index;
    ASSERT_NE(skin.ActivePicture(1), nullptr);
    EXPECT_EQ(skin.ActivePicture(1)->Width(), 40);
    // The mask widens its area to the client rectangle; the zero hit-test corners take the form's corners.
    EXPECT_EQ(skin.MaskRectArea, Rect(6, 20, 74, 54));
    EXPECT_EQ(skin.HitTestLTPoint, (TPoint{5, 5}));
    EXPECT_EQ(skin.HitTestRBPoint, skin.RBPoint);
    EXPECT_EQ(skin.StartCursorIndex, 3);
}

TEST(SkinData, HandWrittenEntriesCursorsAndFormInfoAdjustments)
{
    const std::string folder = TempFolder("handwritten");
    std::ofstream(folder + "skin.ini") << "[VERSION]\nskinname=hand\n[PICTURES]\nmask=m.bmp\n"
                                          "[CURSORS]\nstartcursorindex=0\ncursorscount=2\n0=a.cur\n1=b.cur\n"
                                          "[FORMINFO]\nclientrect=10,30,90,70\nmaskrectarea=20,20,80,80\n"
                                          "topstretch=2\ninactiveeffect=foo\nstretchtype=sthorz\n"
                                          "[SKINAREAS]\ncount=2\n0=nocolon\n1=title:1,2,3,4\n"
                                          "[SKINOBJECTS]\ncount=4\n0=close:stdbutton\n1=bad:whatever\n"
                                          "2=cap:caption\n3=a:b:c\n[SKINCONTROLS]\ncount=1\n0=nocolon\n";
    TBitmap(2, 2, pf24bit).SaveToFile(folder + "m.bmp");
    std::vector<std::pair<Integer, std::string>> cursors;
    SetSkinCursorInstaller([&](Integer ANumber, const std::string& AFile) {
        cursors.emplace_back(ANumber, ExtractFileName(AFile));
        return false;
    });
    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    SetSkinCursorInstaller(nullptr);
    EXPECT_EQ(skin.StartCursorIndex, 1);
    EXPECT_EQ(cursors, (std::vector<std::pair<Integer, std::string>>{{1, "a.cur"}, {2, "b.cur"}}));
    ASSERT_EQ(skin.ObjectList.size(), 2u);
    EXPECT_EQ(skin.ObjectList[0]->IDName, "close");
    EXPECT_EQ(skin.ObjectList[1]->IDName, "cap");
    EXPECT_TRUE(skin.CtrlList.empty());
    ASSERT_EQ(skin.AreaList.size(), 2u);
    EXPECT_EQ(skin.AreaList[0]->IDName, "");
    EXPECT_EQ(skin.AreaList[1]->AreaRect, Rect(1, 2, 3, 4));
    EXPECT_EQ(skin.MaskRectArea, Rect(10, 20, 90, 80));
    EXPECT_FALSE(skin.TopStretch);
    EXPECT_EQ(skin.InActiveEffect, ieGrayScale);
    EXPECT_EQ(skin.StretchType, spstHorz);
    EXPECT_EQ(skin.MDIBGStretchType, spstFull);
    EXPECT_EQ(skin.FSkinColors->FcBtnFace, 0);
    EXPECT_EQ(skin.HintWindow->FontHeight, 14);
}

TEST(SkinData, StoreToDiskWritesOnlyPlainNamesInsideTheFolder)
{
    const std::string folder = TestSkin("store");
    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    skin.FActivePicturesNames->SetStrings(0, "../escaped.bmp");
    const std::string target = TempFolder("store-target");
    EXPECT_THROW(skin.StoreToDisk(target), EFCreateError);
    EXPECT_TRUE(fs::is_empty(target));
    EXPECT_FALSE(fs::exists(fs::path(target) / ".." / "escaped.bmp"));
}

TEST(SkinData, GlobalFontChangeReachesTextRecordsOnlyAndSendsNothing)
{
    const std::string folder = TestSkin("fonts");
    std::vector<std::string> log;
    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    RecordingForm form(log, "form");
    auto control = [&](const char* name) { return skin.CtrlList[size_t(skin.GetControlIndex(name))].get(); };
    auto object = [&](const char* name) { return skin.ObjectList[size_t(skin.GetIndex(name))].get(); };
    auto* edit = dynamic_cast<TspDataSkinEditControl*>(control("ctl_edit"));
    auto* memo = dynamic_cast<TspDataSkinMemoControl*>(control("ctl_memo"));
    auto* grid = dynamic_cast<TspDataSkinGridControl*>(control("ctl_grid"));
    auto* bar_item = dynamic_cast<TspDataSkinMainMenuItem*>(object("obj_mainmenubaritem"));
    auto* menu_item = dynamic_cast<TspDataSkinMainMenuItem*>(object("obj_mainmenuitem"));
    const Integer edit_height = edit->FontHeight, grid_fixed = grid->FixedFontHeight;
    const std::string item_font = menu_item->FontName;

    skin.GlobalChangeFont("Liberation Sans", 2);
    EXPECT_EQ(edit->FontName, "Liberation Sans");
    EXPECT_EQ(memo->FontName, "Liberation Sans");
    EXPECT_EQ(edit->FontHeight, edit_height + 2);
    EXPECT_EQ(grid->FixedFontHeight, grid_fixed + 2);
    EXPECT_EQ(bar_item->FontName, "Liberation Sans");
    EXPECT_EQ(menu_item->FontName, item_font);
    skin.GlobalChangeFont("Liberation Sans", -2);
    EXPECT_EQ(edit->FontHeight, edit_height);
    skin.GlobalChangeFont("Liberation Sans", 2147483647);
    EXPECT_EQ(edit->FontHeight, 2147483647);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(skin.Empty);
}

TEST(SkinData, ColoursAreBlackWithoutTheirSectionAndSystemColoursAfterAClear)
{
    const std::string folder = TestSkin("colours");
    std::string text;
    {
        std::ifstream in(folder + "skin.ini");
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(folder + "skin.ini") << WithoutSection(text, "SKINCOLORS");
    TspSkinData skin(nullptr);
    skin.LoadFromFile(folder + "skin.ini");
    EXPECT_EQ(skin.FSkinColors->FcBtnFace, 0);
    const Integer alpha = skin.LayerFrame->AlphaBlendValue;
    skin.ClearObjects();
    EXPECT_EQ(skin.FSkinColors->FcBtnFace, clBtnFace);
    EXPECT_EQ(skin.LayerFrame->PictureIndex, -1);
    EXPECT_EQ(skin.LayerFrame->AlphaBlendValue, alpha);
}

}  // namespace
