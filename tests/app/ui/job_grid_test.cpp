// The job grid of the main window with real media files: files added through the open dialog and by a drop,
// the grid's rows, texts and selection, the title editor, and apply to all. Headless, input injected.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/add_files.h"
#include "app/ui/main_form.h"
#include "media/decode/frame_decoder.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/menus.h"
#include "platform/gui/picture.h"
#include "platform/gui/screen.h"
#include "platform/win/keys.h"
#include "skin/controls/button_label.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/notebook.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/grids/string_grid.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/forms/popup_menu.h"
#include "tests/app/ui/startup_services_fixture.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/platform/gui/gui_fixture.h"

namespace fs = std::filesystem;

namespace {

class JobGridTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(DecoderLibraries)) << TFFLoader::LastErrMsg();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" /
               ("grid-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        for (const char* folder : {"config", "documents", "media"}) fs::create_directories(Root / folder);
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
        fs::copy_file(MediaFixture("clip.avi"), Root / "media" / "clip.avi");
        fs::copy_file(MediaFixture("tagged.mp3"), Root / "media" / "song.mp3");
        fs::copy_file(MediaFixture("not_media.mp4"), Root / "media" / "broken.mp4");
        Decoder = new TFFDecoder(App.get());
        Adder = std::make_unique<TFileAdder>(State.Jobs, *Decoder, State.EventsLog, State.Catalogue);
        Adder->ShowMessage = [this](const std::string& AText) { Messages.push_back(AText); };

        Form = App->CreateForm<TMainForm>(State, "");
        Form->FileAdder = Adder.get();
        TStartupServices services = BuildTreeStartupServices(Root, Messages);
        services.VideosFolder = (Root / "media").string();
        EXPECT_TRUE(Form->Load(services));
        EXPECT_EQ(Form->dlgopen->InitialDir, services.VideosFolder);  // no folder remembered yet
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        if (Screen) Screen->OnActiveFormChange = nullptr;
        Form->FileAdder = nullptr;
        Adder.reset();
        TGuiFixture::TearDown();
        StopMediaEngine();
    }

    std::string Media(const std::string& AName) const { return (Root / "media" / AName).string(); }

    // Runs the Add command; AScript drives the open dialog once it is the active form.
    void AddThroughDialog(const std::function<void(TspOpenDlgForm*)>& AScript)
    {
        bool scripted = false;
        Screen->OnActiveFormChange = [&](TObject*) {
            auto* dialog = dynamic_cast<TspOpenDlgForm*>(Screen->ActiveForm());
            if (!dialog || scripted) return;
            scripted = true;
            AScript(dialog);
        };
        Form->AddButton->Click();
        Pump();
        Screen->OnActiveFormChange = nullptr;
        EXPECT_TRUE(scripted) << "the open dialog never became active";
    }
    void ClickOn(TControl* AControl, TPoint AAt = {-1, -1})
    {
        Clock.Advance(1000000);  // never a double click with the last one
        if (AAt.X < 0) AAt = {AControl->Width() / 2, AControl->Height() / 2};
        Display.Click(AControl->ClientToScreen(AAt));
        Pump();
    }
    void ClickItem(TspOpenDlgForm* ADialog, const std::string& AName)
    {
        for (Integer i = 0; i < ADialog->FileListView->FolderCount(); ++i) {
            if (ADialog->FileListView->FolderAt(i)->DisplayName() != AName) continue;
            const TRect r = ADialog->FileListView->ItemRect(i);
            ClickOn(ADialog->FileListView, {r.Left + 8, (r.Top + r.Bottom) / 2});
            return;
        }
        ADD_FAILURE() << AName << " is not listed";
    }
    void DropOnForm(const std::vector<std::string>& APaths)
    {
        EXPECT_TRUE(Display.DropFiles(Form->ClientToScreen({400, 150}), APaths));
        Pump();
    }
    std::vector<std::string> Column(int ACol)
    {
        std::vector<std::string> texts;
        for (const TVideoFile& job : State.Jobs.Jobs()) texts.push_back(JobCellText(job, State.Catalogue, ACol));
        return texts;
    }
    // The screen's pixel at a point of the grid's client area.
    uint32_t GridPixel(TPoint AAt)
    {
        Form->Repaint();
        Pump();
        const TPoint p = Form->sgList->ClientToScreen(AAt);
        return Display.ComposeScreen()[p.Y * Display.ScreenSize().cx + p.X] & 0xFFFFFF;
    }
    bool JobCommandsEnabled() { return Form->RemoveButton->Enabled(); }

    fs::path Root;
    TConverterState State;
    TFFDecoder* Decoder = nullptr;
    std::unique_ptr<TFileAdder> Adder;
    TMainForm* Form = nullptr;
    std::vector<std::string> Messages;
};

TEST_F(JobGridTest, FilesChosenInTheDialogBecomeJobsAndTheLastIsSelected)
{
    EXPECT_EQ(Form->dlgopen->Title, "Open file");
    EXPECT_EQ(Form->dlgopen->Filter.rfind("All Supported Formats|", 0), 0u);
    AddThroughDialog([&](TspOpenDlgForm* ADialog) { ClickOn(ADialog->CancelButton); });
    EXPECT_EQ(State.Jobs.Count(), 0);
    EXPECT_TRUE(State.ChosenFile.empty());
    EXPECT_EQ(Form->spSkinNotebook1->PageIndex(), 0);
    EXPECT_FALSE(JobCommandsEnabled());

    AddThroughDialog([&](TspOpenDlgForm* ADialog) {
        ClickItem(ADialog, "clip.avi");
        Display.KeyDown(win::VK_CONTROL);
        ClickItem(ADialog, "song.mp3");
        Display.KeyUp(win::VK_CONTROL);
        ClickOn(ADialog->OpenButton);
    });
    EXPECT_EQ(Column(0), (std::vector<std::string>{"clip.avi", "song.mp3"}));
    EXPECT_EQ(State.ChosenFile, Media("clip.avi"));  // the next run's dialog starts in its folder
    EXPECT_EQ(State.Jobs.Row(), 2);
    EXPECT_EQ(Form->sgList->Row(), 2);
    EXPECT_EQ(Form->sgList->RowCount(), 3);
    EXPECT_EQ(Form->spSkinNotebook1->PageIndex(), 1);
    EXPECT_FALSE(Form->GettingStartedPanel->Visible());
    EXPECT_TRUE(JobCommandsEnabled());
    EXPECT_TRUE(Messages.empty());
}

TEST_F(JobGridTest, DroppedFilesAreAddedInOrderAndTheRowStays)
{
    // Only files that fail: the list stays empty and the commands wait.
    DropOnForm({Media("broken.mp4")});
    EXPECT_EQ(State.Jobs.Count(), 0);
    EXPECT_FALSE(JobCommandsEnabled());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "File broken.mp4 is not a valid media file or its format is not supported.");

    DropOnForm({Media("song.mp3"), Media("broken.mp4"), Media("clip.avi")});
    EXPECT_EQ(Column(0), (std::vector<std::string>{"song.mp3", "clip.avi"}));
    EXPECT_EQ(State.Jobs.Row(), 1);
    EXPECT_TRUE(JobCommandsEnabled());
    EXPECT_FALSE(Form->GettingStartedPanel->Visible());
}

TEST_F(JobGridTest, RowsShowTheJobsTextsAndTheSelectedRowItsPicture)
{
    DropOnForm({Media("clip.avi"), Media("song.mp3")});
    EXPECT_EQ(Column(1), (std::vector<std::string>{"00:00:01", "00:00:01"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"clip", "song"}));
    for (const std::string& size : Column(2)) EXPECT_EQ(size.substr(size.size() - 3), " MB");
    const TFormat* format = State.Catalogue.FindFormat(State.Catalogue.Current);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(Column(4), (std::vector<std::string>{format->FormatExt, format->FormatExt}));

    // Row 1 selected: its cells carry the skin's row picture, row 2 is white; then the other way round.
    const int col1 = Form->sgList->ColWidths(0) + 3;
    const auto rowMiddle = [&](int ARow) { return Form->sgList->CellRect(1, ARow).Top + 10; };
    EXPECT_NE(GridPixel({col1, rowMiddle(1)}), 0xFFFFFFu);
    EXPECT_EQ(GridPixel({col1, rowMiddle(2)}), 0xFFFFFFu);
    ClickOn(Form->sgList, {col1, rowMiddle(2)});
    EXPECT_EQ(State.Jobs.Row(), 2);
    EXPECT_EQ(GridPixel({col1, rowMiddle(1)}), 0xFFFFFFu);
    EXPECT_NE(GridPixel({col1, rowMiddle(2)}), 0xFFFFFFu);

    // A picture of the window with three jobs, to be looked at.
    DropOnForm({Media("clip.avi")});
    Form->Repaint();
    Pump();
    const std::vector<uint32_t> screen = Display.ComposeScreen();
    const TRect area = Form->BoundsRect();
    std::vector<uint32_t> window;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) window.push_back(screen[y * Display.ScreenSize().cx + x]);
    const fs::path png = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "main-window-jobs.png";
    EXPECT_TRUE(headless::WritePng(png.string(), window.data(), area.Width(), area.Height()));
}

TEST_F(JobGridTest, AOneRowScrollPaintsOnlyTheNewRowAndLooksLikeAFullRepaint)
{
    // Rows that differ, so that one drawn in the wrong place shows.
    std::vector<std::string> files;
    for (int i = 0; i < 20; ++i) files.insert(files.end(), {Media("clip.avi"), Media("song.mp3")});
    DropOnForm(files);
    ASSERT_EQ(State.Jobs.Count(), 40);
    TspSkinStringGrid* grid = Form->sgList;
    ASSERT_LT(grid->VisibleRowCount(), 39);
    grid->Perform(win::WM_VSCROLL, win::SB_TOP, 0);
    Pump();
    int drawn = 0;
    const auto draw = grid->OnDrawCell;
    grid->OnDrawCell = [&](TObject* S, Integer C, Integer R, const TRect& Rect, TGridDrawState St) {
        ++drawn;
        draw(S, C, R, Rect, St);
    };
    const auto pixels = [&] {
        const std::vector<uint32_t> screen = Display.ComposeScreen();
        const TPoint origin = grid->ClientToScreen({0, 0});
        std::vector<uint32_t> out;
        for (int y = 0; y < grid->ClientHeight(); ++y)
            for (int x = 0; x < grid->ClientWidth(); ++x)
                out.push_back(screen[(origin.Y + y) * Display.ScreenSize().cx + origin.X + x] & 0xFFFFFF);
        return out;
    };
    for (win::WPARAM code : {win::SB_LINEDOWN, win::SB_LINEDOWN, win::SB_LINEUP}) {
        drawn = 0;
        grid->Perform(win::WM_VSCROLL, code, 0);
        Pump();
        // The row that came into view and the one cut by the bottom edge, five cells each; a full page is 75.
        EXPECT_GT(drawn, 0);
        EXPECT_LE(drawn, 2 * 5);
        const std::vector<uint32_t> scrolled = pixels();
        grid->Invalidate();
        Pump();
        EXPECT_TRUE(scrolled == pixels()) << "the scrolled job grid differs from its full repaint";
    }
    EXPECT_EQ(grid->TopRow(), 2);
    grid->OnDrawCell = draw;
    std::vector<uint32_t> window = pixels();
    for (uint32_t& pixel : window) pixel |= 0xFF000000u;
    const fs::path png = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "job-grid-scrolled.png";
    EXPECT_TRUE(headless::WritePng(png.string(), window.data(), grid->ClientWidth(), grid->ClientHeight()));
}

TEST_F(JobGridTest, RenameEditsTheDestinationTitleOverItsCell)
{
    DropOnForm({Media("clip.avi"), Media("song.mp3")});
    State.Jobs.SetRow(2);
    Form->RenameButton->ButtonClick();
    Pump();
    ASSERT_TRUE(Form->edDestinationTitle->Visible());
    EXPECT_EQ(Form->edDestinationTitle->Text(), "song");
    EXPECT_EQ(Form->edDestinationTitle->Left(), Form->sgList->CellRect(3, 2).Left);
    // Typed text replaces the selected title; Enter stores it without any check.
    for (char c : std::string("MIX")) Display.PressKey(c, static_cast<char32_t>(c));
    Display.PressKey(win::VK_RETURN, U'\r');
    Pump();
    EXPECT_FALSE(Form->edDestinationTitle->Visible());
    EXPECT_EQ(Column(3), (std::vector<std::string>{"clip", "MIX"}));

    // A press in the Destination column of row 1 edits that job; leaving the box keeps the text.
    const TRect cell = Form->sgList->CellRect(3, 1);
    ClickOn(Form->sgList, {cell.Left + 10, cell.Top + 10});
    ASSERT_TRUE(Form->edDestinationTitle->Visible());
    EXPECT_EQ(Form->edDestinationTitle->Text(), "clip");
    Form->edDestinationTitle->SetText("first");
    Form->sgList->SetFocus();
    Pump();
    EXPECT_FALSE(Form->edDestinationTitle->Visible());
    EXPECT_EQ(Column(3), (std::vector<std::string>{"first", "MIX"}));
}

TEST_F(JobGridTest, ListCommandsAndApplyToAll)
{
    DropOnForm({Media("clip.avi"), Media("song.mp3"), Media("clip.avi")});
    State.Jobs.Job(0).DestinationTitle = "a";
    State.Jobs.Job(1).DestinationTitle = "b";
    State.Jobs.Job(2).DestinationTitle = "c";
    State.Jobs.SetRow(2);
    Form->MoveUpButton->ButtonClick();
    EXPECT_EQ(Column(3), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(Form->sgList->Row(), 1);
    Form->MoveDownButton->ButtonClick();
    Form->MoveDownButton->ButtonClick();
    EXPECT_EQ(Column(3), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(Form->sgList->Row(), 3);

    // Apply to all: every job takes the current pair when the box is switched on.
    ASSERT_GT(State.Catalogue.Profiles.size(), 1u);
    State.Catalogue.Current = {1, 0};
    Form->chApplyToAll->SetChecked(false);
    for (const TVideoFile& job : State.Jobs.Jobs()) EXPECT_NE(job.ProfileInd, 1);
    Form->chApplyToAll->SetChecked(true);
    for (const TVideoFile& job : State.Jobs.Jobs()) EXPECT_EQ(job.ProfileInd, 1);

    // Picking a row makes its job's pair the current one.
    State.Jobs.Job(0).ProfileInd = 0;
    ClickOn(Form->sgList, {10, Form->sgList->CellRect(0, 1).Top + 10});
    EXPECT_EQ(State.Catalogue.Current.Profile, 0);

    Form->RemoveButton->ButtonClick();
    EXPECT_EQ(Column(3), (std::vector<std::string>{"c", "b"}));
    Form->ClearAll1Click(nullptr);
    EXPECT_EQ(State.Jobs.Count(), 0);
    EXPECT_FALSE(JobCommandsEnabled());
}

}  // namespace

namespace {

// The arrow keys, Home and End move the grid's selection as a click does: the selected job, the current preset and
// the profile field, and the job the file information is shown for, all follow.
TEST_F(JobGridTest, KeyboardSelectionPicksTheJobAsAClickDoes)
{
    DropOnForm({Media("clip.avi"), Media("song.mp3"), Media("clip.avi")});
    ASSERT_EQ(State.Jobs.Count(), 3);
    ASSERT_GE(State.Catalogue.Profiles.size(), 3u);
    Form->chApplyToAll->SetChecked(false);
    for (int i = 0; i < 3; ++i) {
        State.Jobs.Job(i).ProfileInd = i;
        State.Jobs.Job(i).FormatInd = 0;
        State.Jobs.Job(i).Source += "#" + std::to_string(i);
    }
    std::string infoFor;
    Form->ShowFileInformation = [&] {
        if (const TVideoFile* job = State.Jobs.SelectedJob()) infoFor = job->Source;
    };
    ClickOn(Form->sgList, {10, Form->sgList->CellRect(0, 1).Top + 10});
    ASSERT_TRUE(Form->sgList->Focused());

    struct Step { int key; int row; };
    const Step steps[] = {{win::VK_DOWN, 2}, {win::VK_DOWN, 3}, {win::VK_DOWN, 3}, {win::VK_UP, 2},
                          {win::VK_HOME, 1}, {win::VK_UP, 1}, {win::VK_END, 3}};
    for (const Step& step : steps) {
        Display.PressKey(step.key);
        Pump();
        SCOPED_TRACE("key " + std::to_string(step.key) + " to row " + std::to_string(step.row));
        EXPECT_EQ(Form->sgList->Row(), step.row);
        EXPECT_EQ(State.Jobs.Row(), step.row);
        const TVideoFile& job = State.Jobs.Jobs()[step.row - 1];
        EXPECT_EQ(State.Catalogue.Current, (TFormatIndex{job.ProfileInd, job.FormatInd}));
        const TFormat* format = State.Catalogue.FindFormat(State.Catalogue.Current);
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(Form->lblProfile->Caption(), format->Title);
        Form->FileInformation1Click(nullptr);
        EXPECT_EQ(infoFor, job.Source);
    }
}

}  // namespace

namespace {

TMenuItem* ItemNamed(TMenuItem* AParent, const std::string& ACaption)
{
    for (Integer i = 0; i < AParent->Count(); ++i)
        if (StripHotkey(AParent->Items(i)->Caption()) == ACaption) return AParent->Items(i);
    ADD_FAILURE() << "no item " << ACaption;
    return nullptr;
}

// "Edit" and "Trim" wait for a job like the list's commands, and clicks on them do nothing while they wait. Clear
// All makes them wait again with the list menu and "Snapshot"; the main menu's items keep their state.
TEST_F(JobGridTest, EditAndTrimWaitForAJobAndClearAllLeavesTheMainMenu)
{
    int edits = 0, trims = 0;
    Form->ShowEdit = [&] { ++edits; };
    Form->ShowTrim = [&] { ++trims; };
    TMenuItem* file = ItemNamed(Form->MainMenu1->Items(), "File ");
    TMenuItem* edit = ItemNamed(Form->MainMenu1->Items(), "Edit ");
    const std::vector<TMenuItem*> mainItems = {
        ItemNamed(file, "File Information"), ItemNamed(file, "Start Conversion"), ItemNamed(edit, "Remove"),
        ItemNamed(edit, "Clear All"),        ItemNamed(edit, "Rename"),           ItemNamed(edit, "Move Up"),
        ItemNamed(edit, "Move Down"),        ItemNamed(edit, "Trim Video..."),    ItemNamed(edit, "Edit Video...")};
    std::vector<TMenuItem*> listItems = {Form->Item12};
    for (const char* caption : {"Remove", "Clear All", "Rename", "Move Up", "Move Down", "Trim Video...",
                                "Edit Video...", "File Information"})
        listItems.push_back(ItemNamed(Form->ListMenu->Items(), caption));
    const std::vector<TControl*> buttons = {Form->EditButton, Form->ClipButton, Form->SettingsButton};
    auto states = [](const auto& AThings) {
        std::vector<bool> enabled;
        for (const auto* thing : AThings) enabled.push_back(thing->Enabled());
        return enabled;
    };
    auto all = [](size_t ACount, bool AValue) { return std::vector<bool>(ACount, AValue); };

    EXPECT_EQ(states(mainItems), all(mainItems.size(), false));
    EXPECT_EQ(states(listItems), all(listItems.size(), false));
    EXPECT_EQ(states(buttons), all(buttons.size(), false));
    ClickOn(Form->EditButton);
    ClickOn(Form->ClipButton);
    EXPECT_EQ(edits + trims, 0);

    DropOnForm({Media("clip.avi"), Media("song.mp3")});
    ASSERT_EQ(State.Jobs.Count(), 2);
    EXPECT_EQ(states(mainItems), all(mainItems.size(), true));
    EXPECT_EQ(states(listItems), all(listItems.size(), true));
    EXPECT_EQ(states(buttons), all(buttons.size(), true));
    State.Jobs.SetRow(1);  // the video: Edit opens on it
    ClickOn(Form->EditButton);
    ClickOn(Form->ClipButton);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(trims, 1);

    ItemNamed(Form->ListMenu->Items(), "Clear All")->Click();
    Pump();
    ASSERT_EQ(State.Jobs.Count(), 0);
    EXPECT_EQ(states(mainItems), all(mainItems.size(), true));
    EXPECT_EQ(states(listItems), all(listItems.size(), false));
    EXPECT_EQ(states(buttons), all(buttons.size(), false));
    ClickOn(Form->EditButton);
    ClickOn(Form->ClipButton);
    // The main menu's commands find no job and do nothing.
    ItemNamed(edit, "Edit Video...")->Click();
    ItemNamed(edit, "Trim Video...")->Click();
    ItemNamed(edit, "Remove")->Click();
    Pump();
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(trims, 1);

    // The next file enables them all again.
    DropOnForm({Media("clip.avi")});
    EXPECT_EQ(states(listItems), all(listItems.size(), true));
    EXPECT_EQ(states(buttons), all(buttons.size(), true));
}

// Picking a job shows its preset in the profile field: the format's title and the icon of its profile, as the
// chooser shows a choice.
TEST_F(JobGridTest, PickingAJobShowsItsFormatsTitleAndIcon)
{
    DropOnForm({Media("clip.avi"), Media("song.mp3")});
    ASSERT_EQ(State.Jobs.Count(), 2);
    Form->chApplyToAll->SetChecked(false);
    // Two profiles with different icons.
    int other = -1;
    const TProfileIcon* firstIcon = State.Catalogue.IconOfProfile(0);
    ASSERT_NE(firstIcon, nullptr);
    for (int p = 1; p < static_cast<int>(State.Catalogue.Profiles.size()) && other < 0; ++p)
        if (!State.Catalogue.Profiles[p].Formats.empty() && State.Catalogue.IconOfProfile(p) != firstIcon) other = p;
    ASSERT_GE(other, 0) << "the catalogue has no second icon";
    State.Jobs.Job(0).ProfileInd = 0;
    State.Jobs.Job(0).FormatInd = 0;
    State.Jobs.Job(1).ProfileInd = other;
    State.Jobs.Job(1).FormatInd = 0;

    // The icon as the screen shows it.
    auto iconPixels = [&] {
        Form->Repaint();
        Pump();
        const std::vector<uint32_t> screen = Display.ComposeScreen();
        const TPoint at = Form->imgProfileIcon->ClientToScreen({0, 0});
        std::vector<uint32_t> pixels;
        for (int y = 0; y < Form->imgProfileIcon->Height(); ++y)
            for (int x = 0; x < Form->imgProfileIcon->Width(); ++x)
                pixels.push_back(screen[(at.Y + y) * Display.ScreenSize().cx + at.X + x] & 0xFFFFFF);
        return pixels;
    };
    std::vector<uint32_t> shown[3];
    const int rows[] = {2, 1, 2};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("row " + std::to_string(rows[i]));
        ClickOn(Form->sgList, {10, Form->sgList->CellRect(0, rows[i]).Top + 10});
        const TVideoFile& job = State.Jobs.Jobs()[rows[i] - 1];
        EXPECT_EQ(Form->lblProfile->Caption(), State.Catalogue.FindFormat({job.ProfileInd, 0})->Title);
        TPicture expected;
        expected.LoadFromFile(State.Catalogue.IconOfProfile(job.ProfileInd)->FileName);
        ASSERT_NE(Form->imgProfileIcon->Picture()->Graphic(), nullptr);
        EXPECT_EQ(Form->imgProfileIcon->Picture()->Width(), expected.Width());
        EXPECT_EQ(Form->imgProfileIcon->Picture()->Height(), expected.Height());
        shown[i] = iconPixels();
    }
    // The two profiles' icons differ on screen, and each job brings its own back.
    EXPECT_NE(shown[0], shown[1]);
    EXPECT_EQ(shown[0], shown[2]);
}

}  // namespace
