// The filter combo box: parsing "description|mask" pairs, the mask answered with and without a choice, a filter
// changed only in letter case, and the mask handed to a linked file list, whose link goes when either side does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/dialogs/file_controls.h"
#include "skin/dialogs/filter_combo_box.h"
#include "tests/skin/dialogs/file_controls/file_tree_fixture.h"

namespace {

class TCountingFilterCombo : public TspSkinFilterComboBox {
public:
    using TspSkinFilterComboBox::TspSkinFilterComboBox;
    int Selections = 0;
    void SelectionChanged() override
    {
        ++Selections;
        TspSkinFilterComboBox::SelectionChanged();
    }
};

class FilterComboBoxTest : public filetest::TFileTreeFixture {
protected:
    template <typename T = TspSkinFilterComboBox>
    T* NewCombo(const std::string& AFilter)
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(10, 10, 200, 20);
        c->SetFilter(AFilter);
        c->Handle();
        Pump();
        return c;
    }
    std::vector<std::string> ItemsOf(TspSkinFilterComboBox* C)
    {
        std::vector<std::string> items;
        for (Integer i = 0; i < C->Items()->Count(); ++i) items.push_back(C->Items()->Strings(i) + "=" + C->MaskList().Strings(i));
        return items;
    }
};

TEST_F(FilterComboBoxTest, ParseFilterMakesOneItemPerPair)
{
    struct TCase {
        std::string Filter;
        std::vector<std::string> Items;
    };
    const std::vector<TCase> cases = {
        {"Text files|*.txt|All files (*.*)|*.*", {"Text files=*.txt", "All files (*.*)=*.*"}},
        {"Video|*.mp4; *.m4v;*.ts", {"Video=*.mp4; *.m4v;*.ts"}},  // masks are answered unsplit
        {"Text|*.txt|dangling", {"Text=*.txt"}},
        {"|*.a|B|*.b", {"=*.a", "B=*.b"}},
        {"no bar at all", {}},
        {"", {}},
        {"Empty mask|", {"Empty mask="}},
    };
    for (const TCase& c : cases) {
        auto* combo = NewCombo(c.Filter);
        EXPECT_EQ(ItemsOf(combo), c.Items) << c.Filter;
        EXPECT_EQ(combo->ItemIndex(), c.Items.empty() ? -1 : 0) << c.Filter;
        delete combo;
    }
}

TEST_F(FilterComboBoxTest, GetMaskAnswersTheChosenItemsMask)
{
    auto* combo = NewCombo("Text files|*.txt|All files (*.*)|*.*");
    EXPECT_EQ(combo->GetMask(), "*.txt");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->GetMask(), "*.*");
    // With no item chosen the last one is chosen first.
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->GetMask(), "*.*");
    EXPECT_EQ(combo->ItemIndex(), 1);

    auto* empty = NewCombo("nothing");
    EXPECT_EQ(empty->GetMask(), "*.*");
}

TEST_F(FilterComboBoxTest, AFilterChangedOnlyInLetterCaseChangesNothing)
{
    auto* combo = NewCombo<TCountingFilterCombo>("Text|*.txt");
    combo->Selections = 0;
    combo->SetFilter("TEXT|*.TXT");
    EXPECT_EQ(combo->Filter(), "Text|*.txt");
    EXPECT_EQ(combo->Selections, 0);
    combo->SetFilter("Media|*.mp4|Text|*.txt");
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_GT(combo->Selections, 0);
    // Without a window the items wait for it.
    auto* later = new TspSkinFilterComboBox(Form);
    EXPECT_EQ(later->Filter(), kAllFilesFilter);
    later->SetFilter("A|*.a|B|*.b");
    EXPECT_EQ(later->Items()->Count(), 0);
    later->SetParent(Form);
    later->Handle();
    EXPECT_EQ(later->Items()->Count(), 2);
}

TEST_F(FilterComboBoxTest, TheChosenMaskReachesTheLinkedFileList)
{
    std::filesystem::current_path(Root + "/docs");
    auto* files = new TspSkinFileListBox(Form);
    files->SetParent(Form);
    files->SetBounds(10, 40, 200, 150);
    files->Handle();
    auto* combo = NewCombo("Text|*.txt|Markdown|*.md");
    combo->SetFileList(files);
    EXPECT_EQ(files->FilterCombo(), combo);
    combo->SetItemIndex(1);
    EXPECT_EQ(files->Mask(), "*.md");
    EXPECT_EQ(files->Items()->Count(), 1);
    combo->SetItemIndex(0);
    EXPECT_EQ(files->Mask(), "*.txt");

    // Relinking clears the old back link; removing either side clears the other's.
    auto* other = NewCombo("Any|*");
    other->SetFileList(files);
    EXPECT_EQ(combo->FileList(), nullptr);
    EXPECT_EQ(files->FilterCombo(), other);
    delete files;
    EXPECT_EQ(other->FileList(), nullptr);
    auto* again = new TspSkinFileListBox(Form);
    other->SetFileList(again);
    delete other;
    EXPECT_EQ(again->FilterCombo(), nullptr);
}

}  // namespace
