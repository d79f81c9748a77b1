// The main window built headless on the shipped skin and catalogue: the suite menu by the command line, and the
// commands of the menus and buttons reaching the job list and the other windows.
#include "app/ui/main_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/gui/menus.h"
#include "skin/controls/notebook.h"
#include "skin/controls/push_button.h"
#include "skin/dialogs/directory_edit.h"
#include "skin/forms/popup_menu.h"
#include "tests/app/ui/startup_services_fixture.h"
#include "tests/platform/gui/gui_fixture.h"

namespace fs = std::filesystem;

namespace {

class MainWindowTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
               ("main-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        fs::create_directories(Root / "config");
        fs::create_directories(Root / "documents");
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
    }

    TMainForm* Open(const std::string& AArgument)
    {
        auto* form = App->CreateForm<TMainForm>(State, AArgument);
        form->ShowEventsLog = [this] { Shown.push_back("Events Log"); };
        form->StartSiblingProgram = [this](const std::string& AProgram) {
            Shown.push_back("start " + AProgram);
            return false;  // as when the program is missing
        };
        form->ShowWarning = [this](const std::string& AText) { Shown.push_back(AText); };
        form->OpenWithShell = [this](const std::string& ATarget) {
            Shown.push_back("open " + ATarget);
            return true;
        };
        EXPECT_TRUE(form->Load(BuildTreeStartupServices(Root, Shown)));
        form->Show();
        Pump();
        return form;
    }

    static TMenuItem* Find(TMenuItem* AParent, const std::string& ACaption)
    {
        for (Integer i = 0; i < AParent->Count(); ++i)
            if (StripHotkey(AParent->Items(i)->Caption()) == ACaption) return AParent->Items(i);
        return nullptr;
    }

    void AddJobs(std::initializer_list<const char*> ANames, bool AAudio = false)
    {
        for (const char* name : ANames) {
            TVideoFile job;
            job.Source = std::string("/media/") + name;
            job.SourceTitleExt = name;
            job.DestinationTitle = name;
            job.isSourceAudioFormat = AAudio;
            State.Jobs.Append(job);
        }
    }

    std::vector<std::string> Titles()
    {
        std::vector<std::string> titles;
        for (const TVideoFile& job : State.Jobs.Jobs()) titles.push_back(job.DestinationTitle);
        return titles;
    }

    fs::path Root;
    TConverterState State;
    std::vector<std::string> Shown;
};

// A damaged picture of the skin ends the start-up with a message that names the file, whether the window's own
// pictures or the skin description ask for it.
TEST_F(MainWindowTest, ADamagedSkinPictureIsNamedInTheStartUpMessage)
{
    const fs::path built = fs::path(QUENNARY_BINARY_DIR) / "app";
    for (const char* damaged : {"tablerow.bmp", "bars.bmp", "convert.png"}) {
        SCOPED_TRACE(damaged);
        const fs::path exe = Root / damaged;
        fs::create_directories(exe);
        fs::copy(built / kSkinFolderName, exe / kSkinFolderName, fs::copy_options::recursive);
        fs::copy(built / kCatalogueFolderName, exe / kCatalogueFolderName, fs::copy_options::recursive);
        const fs::path picture = exe / kSkinFolderName / damaged;
        ASSERT_TRUE(fs::exists(picture));
        fs::resize_file(picture, 60);
        Shown.clear();
        TConverterState state;
        auto* form = App->CreateForm<TMainForm>(state, "");
        TStartupServices services = BuildTreeStartupServices(Root, Shown);
        services.ExeFolder = exe.string() + "/";
        EXPECT_FALSE(form->Load(services));
        ASSERT_EQ(Shown.size(), 1u);
        EXPECT_NE(Shown[0].find(picture.string()), std::string::npos) << Shown[0];
        delete form;
    }
}

TEST_F(MainWindowTest, SuiteMenuByTheCommandLine)
{
    TMainForm* plain = Open("");
    EXPECT_EQ(plain->Caption(), "Quennary");
    EXPECT_EQ(plain->SuiteMenu->Caption(), "&Tools");
    EXPECT_EQ(plain->SuiteMenuItem->Caption(), "Events Log");
    plain->SuiteMenuItem->Click();
    EXPECT_EQ(Shown, std::vector<std::string>{"Events Log"});
    EXPECT_TRUE(plain->Visible());

    Shown.clear();
    TMainForm* suite = Open("other-converter");
    EXPECT_EQ(suite->SuiteMenu->Caption(), "&Suite ");
    EXPECT_EQ(suite->SuiteMenuItem->Caption(), "Switch Converter");
    // The program cannot be started, and the window closes all the same.
    suite->SuiteMenuItem->Click();
    Pump();
    EXPECT_EQ(Shown, std::vector<std::string>{"start other-converter"});
    EXPECT_FALSE(suite->Visible());
}

TEST_F(MainWindowTest, CommandsReachTheJobList)
{
    TMainForm* form = Open("");
    TMenuItem* edit = Find(form->MainMenu1->Items(), "Edit ");
    ASSERT_NE(edit, nullptr);
    // Waiting for the first file.
    EXPECT_FALSE(Find(edit, "Remove")->Enabled());
    EXPECT_FALSE(form->RemoveButton->Enabled());
    Find(edit, "Move Down")->Click();  // nothing to move: no failure

    AddJobs({"a", "b", "c"});
    EXPECT_TRUE(Find(edit, "Remove")->Enabled());
    EXPECT_TRUE(form->RemoveButton->Enabled());
    EXPECT_EQ(form->spSkinNotebook1->PageIndex(), 1);

    State.Jobs.SetRow(1);
    Find(edit, "Move Down")->Click();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"b", "a", "c"}));
    form->MoveUpButton->ButtonClick();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"a", "b", "c"}));
    // The grid's context menu runs the same commands.
    Find(form->ListMenu->Items(), "Remove")->Click();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"b", "c"}));
    form->RemoveButton->ButtonClick();
    EXPECT_EQ(Titles(), std::vector<std::string>{"c"});
    Find(edit, "Clear All")->Click();
    EXPECT_TRUE(Titles().empty());
    // The list's own commands wait again; the main menu's items stay as they were and find no job.
    EXPECT_FALSE(form->RemoveButton->Enabled());
    EXPECT_FALSE(Find(form->ListMenu->Items(), "Remove")->Enabled());
    EXPECT_TRUE(Find(edit, "Remove")->Enabled());
    Find(edit, "Remove")->Click();
    EXPECT_TRUE(Titles().empty());
}

TEST_F(MainWindowTest, EditRefusesAnAudioJobAndLinksOpenTheirPages)
{
    TMainForm* form = Open("");
    form->EditButtonClick(nullptr);  // an empty list: nothing
    EXPECT_TRUE(Shown.empty());
    AddJobs({"song.mp3"}, true);
    form->EditButtonClick(nullptr);
    EXPECT_EQ(Shown, std::vector<std::string>{"Can't edit audio formats. You can click \"Trim\" button."});

    Shown.clear();
    form->FindTargetButtonClick(nullptr);
    form->TweetButtonClick(nullptr);
    ASSERT_EQ(Shown.size(), 2u);
    EXPECT_EQ(Shown[0], "open " + (Root / "documents/Brindlewave/Quennary/Output").string());
    EXPECT_NE(Shown[1].find("share?original_referer="), std::string::npos);
    EXPECT_NE(Shown[1].find("&text=Quennary"), std::string::npos);
}

TEST_F(MainWindowTest, PrimaryButtonIsTheLeftOneHeld)
{
    EXPECT_FALSE(IsPrimaryButtonDown());
    Display.PressButton({10, 10});
    Pump();
    EXPECT_TRUE(IsPrimaryButtonDown());
    Display.ReleaseButton({10, 10});
    Pump();
    EXPECT_FALSE(IsPrimaryButtonDown());
    Display.PressButton({10, 10}, 0x02);  // the right one, with the buttons not swapped
    Pump();
    EXPECT_FALSE(IsPrimaryButtonDown());
    Display.ReleaseButton({10, 10}, 0x02);
}

TEST_F(MainWindowTest, ClosingWritesTheSettings)
{
    TMainForm* form = Open("");
    fs::create_directories(Root / "elsewhere");
    // As the output box's select-folder dialog leaves it.
    form->edDestinationFolder->SetText((Root / "elsewhere").string());
    form->Close();
    Pump();
    TSettings read;
    TCatalogue catalogue;
    TSettingsStore().Read(read, catalogue);
    EXPECT_EQ(read.OutputPath, (Root / "elsewhere").string());
}

}  // namespace
