#include "skin/core/interface_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(InterfaceTexts, GetResStrFindsTheFirstLineByNameWithoutRegardToCase)
{
    TspResourceStrData texts(nullptr);
    EXPECT_EQ(texts.ResStrings()->Count(), 131);
    EXPECT_EQ(texts.CharSet, 1);
    const struct {
        const char* Name;
        const char* Text;
    } defaults[] = {{"EDIT_COPY", "Copy"},          {"edit_copy", "Copy"},      {"FLV_LOOKIN", "Look in: "},
                    {"MI_MINCAPTION", "Mi&nimize"}, {"MSG_BTN_NOTOALL", "N&oToAll"}, {"DBNAV_REFRESH", "REFRESH"},
                    {"NO_SUCH_TEXT", ""},           {"", ""}};
    for (const auto& row : defaults) EXPECT_EQ(texts.GetResStr(row.Name), row.Text) << row.Name;

    TStringList own;
    own.Add("no name here");
    own.Add("A=b=c");
    own.Add("a=second");
    texts.SetResStrings(&own);
    own.Clear();
    EXPECT_EQ(texts.GetResStr("A"), "b=c");
    EXPECT_EQ(texts.GetResStr("no name here"), "");
    EXPECT_EQ(texts.GetResStr("EDIT_COPY"), "");
}

}  // namespace
