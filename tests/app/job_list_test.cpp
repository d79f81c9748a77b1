// The job list's commands on a small list: order, selected row and repaints, and estimates that follow the preset.
#include "app/job_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"

namespace {

constexpr int64_t kSecond = 1000000;

TCatalogue TwoFormats()
{
    TCatalogue catalogue;
    TProfile profile;
    profile.Formats.resize(2);
    profile.Formats[0].VideoBitRate = "1000000";  // 125 KB a second
    profile.Formats[1].AudioBitRate = "128000";   // 16 KB a second
    catalogue.Profiles.push_back(profile);
    return catalogue;
}

TVideoFile Job(const std::string& ATitle, TFormatIndex APair = {0, 0})
{
    TVideoFile job;
    job.DestinationTitle = ATitle;
    job.TrimmedLength = 60 * kSecond;
    job.ProfileInd = APair.Profile;
    job.FormatInd = APair.Format;
    return job;
}

std::string Titles(const TJobList& AList)
{
    std::string titles;
    for (const TVideoFile& job : AList.Jobs())
        titles += job.DestinationTitle;
    return titles;
}

enum TCommand { cmMoveUp, cmMoveDown, cmRemove, cmClearAll };

TEST(JobList, CommandsKeepOrderRowAndRepaint)
{
    struct Case { const char* start; int row; TCommand command; const char* order; int new_row; int repaints; };
    const Case cases[] = {
        {"ABC", 2, cmMoveUp, "BAC", 1, 1},
        {"ABC", 1, cmMoveUp, "ABC", 1, 1},    // the top row stays, the grid still repaints
        {"ABC", 1, cmMoveDown, "BAC", 2, 1},
        {"ABC", 3, cmMoveDown, "ABC", 3, 1},  // the bottom row stays, the grid still repaints
        {"A", 1, cmMoveUp, "A", 1, 0},        // fewer than two jobs: nothing at all
        {"A", 1, cmMoveDown, "A", 1, 0},
        {"ABC", 1, cmRemove, "BC", 1, 1},
        {"ABC", 2, cmRemove, "AC", 2, 1},     // the row now shows the job that followed
        {"ABC", 3, cmRemove, "AB", 2, 1},     // the last row moves up with the list's end
        {"A", 1, cmRemove, "", 0, 1},         // the only job: the list is cleared
        {"", 0, cmRemove, "", 0, 0},
        {"ABC", 2, cmClearAll, "", 0, 1},
    };
    const TCatalogue catalogue = TwoFormats();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " row " + std::to_string(c.row) + " command " + std::to_string(c.command));
        TJobList list(catalogue);
        for (const char* title = c.start; *title; ++title)
            list.Append(Job(std::string(1, *title)));
        list.SetRow(c.row);
        int repaints = 0;
        list.OnChange = [&](TObject*) { ++repaints; };
        switch (c.command) {
        case cmMoveUp: list.MoveUp(); break;
        case cmMoveDown: list.MoveDown(); break;
        case cmRemove: list.Remove(); break;
        case cmClearAll: list.ClearAll(); break;
        }
        EXPECT_EQ(Titles(list), c.order);
        EXPECT_EQ(list.Row(), c.new_row);
        EXPECT_EQ(repaints, c.repaints);
    }
}

TEST(JobList, SelectedRowAlwaysNamesAJobWhileJobsExist)
{
    const TCatalogue catalogue = TwoFormats();
    TJobList list(catalogue);
    EXPECT_EQ(list.Row(), 0);
    EXPECT_EQ(list.SelectedJob(), nullptr);
    list.SetRow(1);
    EXPECT_EQ(list.Row(), 0);

    list.Append(Job("A"));  // the first job of an empty list is selected
    EXPECT_EQ(list.Row(), 1);
    list.Append(Job("B"));
    EXPECT_EQ(list.Row(), 1);  // a later job leaves the selection alone
    list.SetRow(0);            // the caption row cannot be selected while jobs exist
    EXPECT_EQ(list.Row(), 1);
    list.SetRow(7);
    EXPECT_EQ(list.Row(), 2);
    EXPECT_EQ(list.SelectedJob()->DestinationTitle, "B");

    list.ClearAll();
    list.Append(Job("C"));
    EXPECT_EQ(list.Row(), 1);
    EXPECT_THROW(list.ExchangeJobs(0, 1), EListError);
    EXPECT_THROW(list.Job(-1), EListError);
}

TEST(JobList, EstimatesFollowThePreset)
{
    TCatalogue catalogue = TwoFormats();
    TJobList list(catalogue);
    list.Append(Job("A", {0, 0}));
    list.Append(Job("B", {0, 1}));
    TVideoFile orphan = Job("C", {3, 0});  // a pair from another catalogue
    orphan.EstimatedSize = 2.5;
    list.Append(orphan);
    EXPECT_DOUBLE_EQ(list.Jobs()[0].EstimatedSize, 60 * 125 / 1024.0);
    EXPECT_DOUBLE_EQ(list.Jobs()[1].EstimatedSize, 60 * 16 / 1024.0);
    EXPECT_EQ(list.Jobs()[2].EstimatedSize, 2.5);

    // A trimmed length is estimated again on request; a bad index is ignored.
    list.Job(0).TrimmedLength = 30 * kSecond;
    list.EstimateOutputSize(0);
    list.EstimateOutputSize(9);
    EXPECT_DOUBLE_EQ(list.Jobs()[0].EstimatedSize, 30 * 125 / 1024.0);

    int repaints = 0;
    list.OnChange = [&](TObject*) { ++repaints; };
    list.ApplyToAll({0, 1});
    EXPECT_EQ(repaints, 1);
    for (const TVideoFile& job : list.Jobs()) {
        EXPECT_EQ(job.ProfileInd, 0);
        EXPECT_EQ(job.FormatInd, 1);
    }
    EXPECT_DOUBLE_EQ(list.Jobs()[0].EstimatedSize, 30 * 16 / 1024.0);
    EXPECT_DOUBLE_EQ(list.Jobs()[2].EstimatedSize, 60 * 16 / 1024.0);

    // Exchanging moves every field with the job.
    list.ExchangeJobs(0, 2);
    EXPECT_EQ(Titles(list), "CBA");
    EXPECT_EQ(list.Jobs()[2].TrimmedLength, 30 * kSecond);
    EXPECT_DOUBLE_EQ(list.Jobs()[2].EstimatedSize, 30 * 16 / 1024.0);
}

}  // namespace
