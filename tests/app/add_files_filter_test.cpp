// The add-files dialog's filter text: its three summary choices and one choice per file type, in table order.
#include "app/add_files_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(const std::string& AText)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t bar; (bar = AText.find('|', start)) != std::string::npos; start = bar + 1)
        fields.push_back(AText.substr(start, bar - start));
    fields.push_back(AText.substr(start));
    return fields;
}

TEST(AddFilesFilter, SummaryChoicesThenOneChoicePerType)
{
    const std::vector<std::string> fields = Fields(OpenDialogFilter());
    ASSERT_EQ(fields.size(), 2u * (3 + 17 + 17));
    EXPECT_EQ(fields[0], "All Supported Formats");
    EXPECT_EQ(fields[1], fields[3] + fields[5]);  // video patterns, then audio patterns
    EXPECT_EQ(fields[2], "Video Formats");
    EXPECT_TRUE(fields[3].starts_with("*.mod;*.mts; *.ts; *.m2ts; *.tp;*.avi;*.mp4; *.m4v;")) << fields[3];
    EXPECT_TRUE(fields[3].ends_with(";*.nut;*.h.264;*.nsv;*.vob;")) << fields[3];
    EXPECT_EQ(fields[4], "Audio Formats");
    EXPECT_TRUE(fields[5].starts_with("*.aac;*.ac3;*.ape;")) << fields[5];
    EXPECT_TRUE(fields[5].ends_with(";*.tta;*.wav;*.wma;")) << fields[5];

    struct Choice { size_t field; const char* caption; const char* patterns; };
    const Choice choices[] = {
        {6, "MOD files (*.mod)", "*.mod;"},
        {8, "High-definition files (*.mts; *.ts; *.m2ts; *.tp)", "*.mts; *.ts; *.m2ts; *.tp;"},
        {38, "Video Object files (*.vob)", "*.vob;"},
        {40, "Advanced Audio Coding (*.aac)", "*.aac;"},
        {44, "Monkey's Audio (*.ape)", "*.ape;"},
        {72, "Windows Media Audio (*.wma)", "*.wma;"},
    };
    for (const Choice& c : choices) {
        EXPECT_EQ(fields[c.field], c.caption);
        EXPECT_EQ(fields[c.field + 1], c.patterns);
    }
}

}  // namespace
