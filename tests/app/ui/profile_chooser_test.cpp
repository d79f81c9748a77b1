// The profile chooser on the virtual clock: the half-second hover delay over the profiles, the highlight going
// back when the mouse reaches the formats, and a click giving the format to the jobs and the profile field.
#include "app/ui/profile_chooser_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/ui/converter_state.h"
#include "app/ui/main_form.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/picture.h"
#include "platform/gui/timer.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/grids/string_grid.h"
#include "tests/platform/gui/gui_fixture.h"


namespace fs = std::filesystem;

namespace {

TProfile MakeProfile(const std::string& ATitle, const std::string& AIcon, int AFormats)
{
    TProfile profile{ATitle, ATitle, AIcon, {}};
    for (int f = 0; f < AFormats; ++f) {
        TFormat format;
        format.Title = ATitle + " " + std::to_string(f);
        format.Description = "Format " + std::to_string(f) + " of " + ATitle;
        format.Icon = AIcon;
        format.FormatExt = ".mp4";
        profile.Formats.push_back(format);
    }
    return profile;
}

class ProfileChooserTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        State.Catalogue.Profiles = {MakeProfile("Video", "video", 3), MakeProfile("Phone", "phone", 2),
                                    MakeProfile("Empty", "video", 0), MakeProfile("All Profiles", "menuall", 5)};
        State.Catalogue.ProfileIcons = {{"Video", "/nonexistent/Video.png"}};
        State.Catalogue.OnShowChoice = [this](TFormatIndex AIndex) { ShownChoices.push_back(AIndex); };
        State.Catalogue.Current = {1, 1};
        for (const char* name : {"a", "b", "c"}) {
            TVideoFile job;
            job.Source = std::string("/media/") + name;
            job.DestinationTitle = name;
            job.ProfileInd = 1;
            job.FormatInd = 1;
            State.Jobs.Append(job);
        }
        State.Jobs.SetRow(2);

        Chooser = new Tproform(App.get(), nullptr);
        Chooser->Attach(State);
        Chooser->IsApplyToAll = [this] { return ApplyToAll; };
        Chooser->RepaintJobs = [this] { ++JobRepaints; };
        Chooser->FocusMainWindow = [this] { ++MainFocused; };
        Chooser->ReportError = [this](const std::string& AText, const std::string& AMark) {
            Reports.push_back(AText + " | " + AMark);
        };
        Chooser->Show();
        Pump();
    }

    static TPoint Inside(TspSkinStringGrid* AGrid, int ARow)
    {
        const TRect cell = AGrid->CellRect(0, ARow);
        EXPECT_GT(cell.Bottom, cell.Top) << "row " << ARow << " is not on screen";
        return Point(cell.Left + 10, cell.Top + 5);
    }
    void OverProfile(int ARow)
    {
        const TPoint p = Inside(Chooser->sgProfiles, ARow);
        Chooser->sgProfilesMouseMove(Chooser->sgProfiles, {}, p.X, p.Y);
    }
    void OverFormat(int ARow)
    {
        const TPoint p = Inside(Chooser->sgFormats, ARow);
        Chooser->sgFormatsMouseMove(Chooser->sgFormats, {}, p.X, p.Y);
    }
    // Rests on a profile until its formats are listed, then points at one of them.
    void Pick(int AProfile, int AFormat)
    {
        OverProfile(AProfile);
        AdvanceMs(500);
        OverFormat(AFormat);
    }

    std::vector<std::pair<int, int>> Presets() const
    {
        std::vector<std::pair<int, int>> presets;
        for (const TVideoFile& job : State.Jobs.Jobs()) presets.emplace_back(job.ProfileInd, job.FormatInd);
        return presets;
    }

    TConverterState State;
    Tproform* Chooser = nullptr;
    bool ApplyToAll = false;
    int JobRepaints = 0;
    int MainFocused = 0;
    std::vector<TFormatIndex> ShownChoices;
    std::vector<std::string> Reports;
};

TEST_F(ProfileChooserTest, ShowStartsFromTheCurrentChoice)
{
    EXPECT_EQ(Chooser->sgProfiles->RowCount(), 4);
    EXPECT_EQ(Chooser->sgFormats->RowCount(), 2);
    EXPECT_EQ(Chooser->ListedProfile(), 1);
    EXPECT_EQ(Chooser->ShownProfile(), 1);
    EXPECT_EQ(Chooser->HoverFormat(), 1);
    EXPECT_FALSE(Chooser->ProfileChangeDelayTimer->Enabled());

    // A later show forgets the hover state of the last one.
    Pick(0, 2);
    Chooser->Hide();
    State.Catalogue.Current = {3, 4};
    Chooser->Show();
    Pump();
    EXPECT_EQ(Chooser->sgFormats->RowCount(), 5);
    EXPECT_EQ(Chooser->ListedProfile(), 3);
    EXPECT_EQ(Chooser->HoverFormat(), 4);
}

TEST_F(ProfileChooserTest, RestingOnAProfileListsItsFormatsEveryHalfSecond)
{
    OverProfile(0);
    EXPECT_EQ(Chooser->ShownProfile(), 0);  // highlighted at once
    AdvanceMs(499);
    EXPECT_EQ(Chooser->ListedProfile(), 1);  // listed only after the delay
    EXPECT_EQ(Chooser->HoverFormat(), 1);
    AdvanceMs(1);
    EXPECT_EQ(Chooser->ListedProfile(), 0);
    EXPECT_EQ(Chooser->sgFormats->RowCount(), 3);
    EXPECT_EQ(Chooser->HoverFormat(), -1);

    // Moving within the same row does not restart the delay, and the timer keeps listing.
    OverProfile(0);
    State.Catalogue.Profiles[0].Formats.pop_back();
    AdvanceMs(500);
    EXPECT_EQ(Chooser->sgFormats->RowCount(), 2);
    EXPECT_TRUE(Chooser->ProfileChangeDelayTimer->Enabled());

    // Reaching the formats stops it for good.
    OverFormat(1);
    EXPECT_EQ(Chooser->HoverFormat(), 1);
    EXPECT_FALSE(Chooser->ProfileChangeDelayTimer->Enabled());
    AdvanceMs(2000);
    EXPECT_EQ(Chooser->HoverFormat(), 1);
    EXPECT_EQ(Chooser->ListedProfile(), 0);
}

TEST_F(ProfileChooserTest, CrossingProfilesQuicklyKeepsTheListedOne)
{
    OverProfile(0);
    AdvanceMs(200);
    OverProfile(2);
    AdvanceMs(200);
    OverProfile(3);
    EXPECT_EQ(Chooser->ShownProfile(), 3);
    AdvanceMs(499);  // each new row restarted the delay
    EXPECT_EQ(Chooser->ListedProfile(), 1);
    OverFormat(0);
    EXPECT_EQ(Chooser->ShownProfile(), 1);  // the highlight is back on the listed profile
    EXPECT_EQ(Chooser->ListedProfile(), 1);
    EXPECT_EQ(Chooser->HoverFormat(), 0);
    AdvanceMs(1000);
    EXPECT_EQ(Chooser->ListedProfile(), 1);
    EXPECT_EQ(Chooser->sgFormats->RowCount(), 2);

    // Below the last profile the pending switch is dropped too.
    OverProfile(0);
    const TRect last = Chooser->sgProfiles->CellRect(0, 3);
    Chooser->sgProfilesMouseMove(Chooser->sgProfiles, {}, last.Left + 10, last.Bottom + 20);
    AdvanceMs(1000);
    EXPECT_EQ(Chooser->ListedProfile(), 1);
}

TEST_F(ProfileChooserTest, ChoosingGivesTheFormatToTheSelectedJobOrToAll)
{
    struct Case {
        bool ApplyToAll;
        std::vector<std::pair<int, int>> Presets;
    };
    for (const Case& c : {Case{false, {{1, 1}, {0, 2}, {1, 1}}}, Case{true, {{0, 2}, {0, 2}, {0, 2}}}}) {
        SCOPED_TRACE(c.ApplyToAll ? "apply to all" : "selected job only");
        State.Catalogue.Current = State.Catalogue.Recent = {1, 1};
        for (int i = 0; i < State.Jobs.Count(); ++i) {
            State.Jobs.Job(i).ProfileInd = 1;
            State.Jobs.Job(i).FormatInd = 1;
            State.Jobs.Job(i).Status = "Done";
        }
        ShownChoices.clear();
        ApplyToAll = c.ApplyToAll;
        Chooser->Show();
        Pump();
        Pick(0, 2);
        Chooser->sgFormatsClick(Chooser->sgFormats);

        EXPECT_EQ(Presets(), c.Presets);
        EXPECT_EQ(State.Jobs.Job(1).Status, "-");
        EXPECT_EQ(State.Catalogue.Current, (TFormatIndex{0, 2}));
        EXPECT_EQ(State.Catalogue.Recent, (TFormatIndex{0, 2}));
        EXPECT_EQ(ShownChoices, std::vector<TFormatIndex>{(TFormatIndex{0, 2})});
        EXPECT_FALSE(Chooser->Visible());
    }
    EXPECT_EQ(JobRepaints, 2);
    EXPECT_TRUE(Reports.empty());
}

TEST_F(ProfileChooserTest, ClicksThatNameNoFormatDoNothing)
{
    // A profile without formats: the grid keeps one empty row, which cannot be hovered or chosen.
    Pick(2, 0);
    EXPECT_EQ(Chooser->ListedProfile(), 2);
    EXPECT_EQ(Chooser->HoverFormat(), -1);
    Chooser->sgFormatsClick(Chooser->sgFormats);
    EXPECT_TRUE(Chooser->Visible());

    // A format row of the listed profile while another profile is still only highlighted.
    Pick(1, 1);
    OverProfile(0);
    Chooser->sgFormatsMouseMove(Chooser->sgFormats, {}, 10, 10000);  // below the rows
    EXPECT_EQ(Chooser->HoverFormat(), -1);
    Chooser->sgFormatsClick(Chooser->sgFormats);

    EXPECT_TRUE(Chooser->Visible());
    EXPECT_EQ(Presets(), (std::vector<std::pair<int, int>>{{1, 1}, {1, 1}, {1, 1}}));
    EXPECT_EQ(State.Catalogue.Current, (TFormatIndex{1, 1}));
    EXPECT_EQ(JobRepaints, 0);
}

TEST_F(ProfileChooserTest, DeactivationHidesWithoutAChange)
{
    Pick(0, 1);
    Chooser->FormDeactivate(Chooser);
    EXPECT_FALSE(Chooser->Visible());
    EXPECT_GE(MainFocused, 1);  // hiding deactivates the popup once more
    EXPECT_EQ(State.Catalogue.Current, (TFormatIndex{1, 1}));
    EXPECT_EQ(Presets(), (std::vector<std::pair<int, int>>{{1, 1}, {1, 1}, {1, 1}}));
    EXPECT_TRUE(ShownChoices.empty());
}

// Hidden by deactivation with the mouse resting on another profile, the popup must not keep its half-second timer
// running; after a deactivation or a choice the next show starts still, and hovering works as the first time.
TEST_F(ProfileChooserTest, HidingStopsThePendingSwitchAndTheNextShowHoversAfresh)
{
    for (const bool choose : {false, true}) {
        SCOPED_TRACE(choose ? "hidden by a choice" : "hidden by deactivation");
        Chooser->Show();
        Pump();
        if (choose) {
            Pick(0, 1);
            Chooser->sgFormatsClick(Chooser->sgFormats);
        } else {
            OverProfile(3);
            Chooser->FormDeactivate(Chooser);
        }
        ASSERT_FALSE(Chooser->Visible());
        EXPECT_FALSE(Chooser->ProfileChangeDelayTimer->Enabled());
        const TFormatIndex current = State.Catalogue.Current;
        AdvanceMs(1500);

        Chooser->Show();
        Pump();
        EXPECT_EQ(Chooser->ListedProfile(), current.Profile);
        EXPECT_EQ(Chooser->HoverFormat(), current.Format);
        EXPECT_FALSE(Chooser->ProfileChangeDelayTimer->Enabled());
        AdvanceMs(500);
        EXPECT_EQ(Chooser->HoverFormat(), current.Format);  // nothing re-lists without a hover

        OverProfile(3);
        EXPECT_TRUE(Chooser->ProfileChangeDelayTimer->Enabled());
        AdvanceMs(500);
        EXPECT_EQ(Chooser->ListedProfile(), 3);
        EXPECT_EQ(Chooser->sgFormats->RowCount(), 5);
        OverFormat(4);
        EXPECT_EQ(Chooser->HoverFormat(), 4);
        Chooser->Hide();
    }
}

TEST_F(ProfileChooserTest, AFailedChoiceIsReportedAndThePopupStillCloses)
{
    State.Catalogue.ProfileIcons.clear();  // the profile field has no icon to show
    ApplyToAll = true;
    Pick(0, 2);
    Chooser->sgFormatsClick(Chooser->sgFormats);
    EXPECT_EQ(Reports, std::vector<std::string>{"Error on profile 0, format 2 choosing | CLM_ProfileChoosing"});
    EXPECT_FALSE(Chooser->Visible());
    EXPECT_EQ(JobRepaints, 1);
    // The steps before the failure stay; "apply to all" comes after it.
    EXPECT_EQ(Presets(), (std::vector<std::pair<int, int>>{{1, 1}, {0, 2}, {1, 1}}));
}

}  // namespace

namespace {

// The real main window on the shipped catalogue and skin: the profile field opens the chooser above itself and
// the choice comes back to the field.
class ChooserOnMainWindowTest : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "chooser-main";
        fs::remove_all(Root);
        fs::create_directories(Root / "config");
        fs::create_directories(Root / "documents");
        setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
    }

    fs::path Root;
    TConverterState State;
};

TEST_F(ChooserOnMainWindowTest, TheProfileFieldOpensTheChooserAndShowsTheChoice)
{
    auto* main = App->CreateForm<TMainForm>(State, std::string());
    auto* chooser = App->CreateForm<Tproform>(main->SkinData());
    TStartupServices services;
    services.ExeFolder = std::string(QUENNARY_BINARY_DIR) + "/app/";
    services.DocumentsFolder = (Root / "documents").string();
    services.ReportError = [](const std::string& AText, const std::string&) { ADD_FAILURE() << AText; };
    services.ShowPlainMessage = [](const std::string& AText) { ADD_FAILURE() << AText; };
    services.TempFolder = [this] { return (Root / "tmp").string(); };
    ASSERT_TRUE(main->Load(services));
    // As the application wires them.
    chooser->Attach(State);
    chooser->LoadArrowPictures(services.ExeFolder + "skin-red");
    chooser->IsApplyToAll = [main] { return main->chApplyToAll->Checked(); };
    main->ShowProfileChooser = [chooser, this](TPoint AFieldTopLeft) {
        chooser->PopUpAbove(AFieldTopLeft, State.Catalogue.ChooserHeight);
    };
    main->Show();
    Pump();

    main->imgProfileButtonMouseDown(main->lblProfile, mbLeft, {}, 5, 5);
    EXPECT_FALSE(chooser->Visible());  // no jobs yet
    for (const char* name : {"a", "b"}) {
        TVideoFile job;
        job.Source = std::string("/media/") + name;
        job.DestinationTitle = name;
        State.Jobs.Append(job);
    }
    main->imgProfileButtonMouseDown(main->lblProfile, mbLeft, {}, 5, 5);
    Pump();
    ASSERT_TRUE(chooser->Visible());
    const TPoint field = main->imgProfileField->ClientToScreen(Point(0, 0));
    EXPECT_EQ(chooser->Left(), field.X);
    EXPECT_EQ(chooser->Top() + chooser->Height(), field.Y);
    if (State.Catalogue.ChooserHeight > 0) {
        EXPECT_EQ(chooser->Height(), State.Catalogue.ChooserHeight);
    }

    const TRect profile = chooser->sgProfiles->CellRect(0, 1);
    chooser->sgProfilesMouseMove(chooser->sgProfiles, {}, profile.Left + 10, profile.Top + 5);
    AdvanceMs(500);
    const TRect format = chooser->sgFormats->CellRect(0, 1);
    chooser->sgFormatsMouseMove(chooser->sgFormats, {}, format.Left + 10, format.Top + 5);
    chooser->sgFormatsClick(chooser->sgFormats);
    Pump();

    const TFormat* chosen = State.Catalogue.FindFormat({1, 1});
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(main->lblProfile->Caption(), chosen->Title);
    EXPECT_NE(main->imgProfileIcon->Picture()->Graphic(), nullptr);
    EXPECT_EQ(State.Catalogue.Current, (TFormatIndex{1, 1}));
    for (const TVideoFile& job : State.Jobs.Jobs())  // "Apply to all" starts checked
        EXPECT_EQ((TFormatIndex{job.ProfileInd, job.FormatInd}), (TFormatIndex{1, 1}));
    EXPECT_FALSE(chooser->Visible());
}

}  // namespace
