// The shell combo box over a private namespace: the standard entries and their indents, the chain of a shown
// folder, choosing entries and the views linked to the box.
#include <algorithm>
#include <string>
#include <vector>

#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_tree_view.h"
#include "tests/skin/dialogs/shell_views/shell_views_fixture.h"

namespace {

using shellviewstest::TShellViewsFixture;

struct TEntry {
    std::string Caption;
    Integer Indent;
    bool operator==(const TEntry&) const = default;
};

std::vector<TEntry> Entries(TspCustomShellComboBox* ABox)
{
    std::vector<TEntry> entries;
    for (Integer i = 0; i < ABox->ItemsEx().Count(); ++i)
        entries.push_back({ABox->ItemsEx().Items(i)->Caption, ABox->ItemsEx().Items(i)->Indent});
    return entries;
}

void PrintTo(const TEntry& AEntry, std::ostream* AOut) { *AOut << "{" << AEntry.Caption << ", " << AEntry.Indent << "}"; }

class ShellComboBoxTest : public TShellViewsFixture {};

// Counts how often the standard entries are built, so that a second rebuild shows.
class TCountingComboBox : public TspSkinShellComboBox {
public:
    using TspSkinShellComboBox::TspSkinShellComboBox;
    int Builds = 0;

protected:
    void AddStandardItems() override
    {
        ++Builds;
        TspSkinShellComboBox::AddStandardItems();
    }
};

std::vector<std::string> Captions(TspCustomShellComboBox* ABox)
{
    std::vector<std::string> captions;
    for (const TEntry& entry : Entries(ABox)) captions.push_back(entry.Caption);
    return captions;
}

TEST_F(ShellComboBoxTest, DesktopListsItsChildrenAndTheVolumesBelowComputer)
{
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    const std::vector<TEntry> expected = {{"Desktop", 0}, {"Home", 1}, {"Computer", 1}, {"File System", 2},
                                          {"DVD", 2},     {"USB", 2},  {"Projects", 1}};
    EXPECT_EQ(Entries(box), expected);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->Items()->Count(), box->ItemsEx().Count());
    EXPECT_EQ(box->Path(), Home + "/Desktop");
    // An index past the end means the last entry.
    EXPECT_EQ(box->FolderAt(99), box->FolderAt(box->ItemsEx().Count() - 1));
}

TEST_F(ShellComboBoxTest, VolumesAreListedOnlyForTheExactDesktopName)
{
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    box->SetRoot("rfMyComputer");
    EXPECT_EQ(Captions(box), (std::vector<std::string>{"Computer", "File System", "DVD", "USB"}));
    // The writer ignores letter case only against the current root, so this one is taken, but it is not the
    // exact name: the desktop's children come without the volumes.
    box->SetRoot("RFDESKTOP");
    EXPECT_EQ(Captions(box), (std::vector<std::string>{"Desktop", "Home", "Computer", "Projects"}));
    box->SetRoot("rfdesktop");
    EXPECT_EQ(box->Root(), "RFDESKTOP");
}

TEST_F(ShellComboBoxTest, ShowingAFolderInsertsItsChainBelowTheDeepestListedAncestor)
{
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    box->SetPath(Usb + "/one/two");
    const std::vector<TEntry> expected = {{"Desktop", 0}, {"Home", 1}, {"Computer", 1}, {"File System", 2},
                                          {"DVD", 2},     {"USB", 2},  {"one", 3},      {"two", 4},
                                          {"Projects", 1}};
    EXPECT_EQ(Entries(box), expected);
    EXPECT_EQ(box->ItemIndex(), 7);
    EXPECT_EQ(box->Path(), Usb + "/one/two");
    EXPECT_EQ(box->Text(), "two");

    // A standard entry adds nothing; the chain of the folder before goes.
    box->SetPath(Usb);
    EXPECT_EQ(Captions(box).size(), 7u);
    EXPECT_EQ(box->ItemIndex(), 5);
    EXPECT_EQ(box->Path(), Usb);
}

TEST_F(ShellComboBoxTest, AFolderBelowTheRootFileSystemHangsBelowItsVolume)
{
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    box->SetPath(Videos + "/2024");
    const std::vector<TEntry> entries = Entries(box);
    ASSERT_EQ(entries[3], (TEntry{"File System", 2}));
    // Every folder from "/" down to 2024 follows "File System", one level deeper each.
    const Integer depth = static_cast<Integer>(std::count(Videos.begin(), Videos.end(), '/')) + 1;
    ASSERT_EQ(entries.size(), 7u + static_cast<size_t>(depth));
    for (Integer i = 0; i < depth; ++i) EXPECT_EQ(entries[4 + static_cast<size_t>(i)].Indent, 3 + i);
    EXPECT_EQ(entries[3 + static_cast<size_t>(depth)].Caption, "2024");
    EXPECT_EQ(box->ItemIndex(), 3 + depth);
}

TEST_F(ShellComboBoxTest, APathThatNamesNothingRaisesAndKeepsTheList)
{
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    box->SetPath(Usb + "/one");
    const std::vector<TEntry> before = Entries(box);
    for (const std::string& bad : {Usb + "/missing", std::string("relative/path"), std::string()}) {
        try {
            box->SetPath(bad);
            ADD_FAILURE() << "no exception for \"" << bad << "\"";
        } catch (const EInvalidPath& e) {
            EXPECT_EQ(e.Message(), "Error setting path: \"" + bad + "\"");
        }
    }
    EXPECT_EQ(Entries(box), before);
    EXPECT_EQ(box->Path(), Usb + "/one");
}

TEST_F(ShellComboBoxTest, AnUnresolvableRootRaisesAndKeepsTheOldRoot)
{
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    box->SetRoot(Usb);
    EXPECT_THROW(box->SetRoot("rfPrinters"), Exception);
    EXPECT_EQ(box->Root(), Usb);
    EXPECT_EQ(Captions(box), (std::vector<std::string>{"USB", "one"}));
    // A folder outside the root has no listed ancestor: the standard list stays, with the root chosen.
    box->SetPath(Videos);
    EXPECT_EQ(Captions(box), (std::vector<std::string>{"USB", "one"}));
    EXPECT_EQ(box->ItemIndex(), 0);
}

TEST_F(ShellComboBoxTest, ChoosingAnEntryMovesTheLinkedTreeAndIsNotEchoedBack)
{
    auto* tree = NewView<TspSkinDirTreeView>(240, 200);
    auto* box = NewView<TCountingComboBox>(240, 22);
    box->SetShellTreeView(tree);
    EXPECT_EQ(tree->ShellComboBox(), box);
    box->SetPath(Usb + "/one/two");
    box->Builds = 0;

    // USB, chosen in the dropped list: moving through the open list moves nothing yet.
    const std::string before = tree->Path();
    box->DropDown();
    box->ListBox()->SetItemIndex(5);
    EXPECT_EQ(tree->Path(), before);
    box->CloseUp(true);
    EXPECT_FALSE(box->IsPopupVisible());
    EXPECT_EQ(box->Builds, 1) << "the tree's folder change must not rebuild the box again";
    EXPECT_EQ(tree->Path(), Usb);
    EXPECT_EQ(box->Path(), Usb);
    // The chain of the folder chosen before is gone.
    EXPECT_EQ(Captions(box).size(), 7u);

    // And the other way: a folder chosen in the tree shows its chain in the box.
    tree->SetPath(Usb + "/one");
    EXPECT_EQ(box->Path(), Usb + "/one");
    EXPECT_EQ(box->Text(), "one");
}

TEST_F(ShellComboBoxTest, ALinkIsClearedWhenThePartnerGoes)
{
    auto* tree = NewView<TspSkinDirTreeView>(240, 200);
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    tree->SetShellComboBox(box);
    EXPECT_EQ(box->ShellTreeView(), tree);
    delete tree;
    EXPECT_EQ(box->ShellTreeView(), nullptr);
    box->SetItemIndex(1);
    EXPECT_EQ(box->Path(), Home);
    box->SetShellTreeView(nullptr);
}

TEST_F(ShellComboBoxTest, AChoiceOpensItInTheLinkedListViewAndTheListsFolderChangesComeBack)
{
    auto* list = NewView<TspSkinFileListView>(240, 200);
    auto* box = NewView<TCountingComboBox>(240, 22);
    box->SetShellListView(list);
    EXPECT_EQ(list->ShellComboBox(), box);
    box->SetPath(Usb + "/one/two");
    box->Builds = 0;
    box->SetItemIndex(6);  // "one"
    EXPECT_EQ(list->Path(), Usb + "/one");
    EXPECT_EQ(box->Builds, 1) << "the list's folder change must not rebuild the box again";

    // The list's own navigation moves the box.
    list->Back();
    EXPECT_EQ(list->Path(), Usb);
    EXPECT_EQ(box->Path(), Usb);
    list->SetPath(Usb + "/one/two");
    EXPECT_EQ(box->Text(), "two");
    EXPECT_EQ(Captions(box).size(), 9u);

    delete list;
    EXPECT_EQ(box->ShellListView(), nullptr);
    box->SetItemIndex(1);
    EXPECT_EQ(box->Path(), Home);
}

TEST(ShellComboBoxGeometry, IconsIndentByHalfAnIconPerLevelInTheListOnly)
{
    const TRect row{2, 10, 200, 30};
    struct TCase {
        Integer Indent, Width, Height;
        TPoint Icon;
        Integer Caption;
    };
    for (const TCase& c : {TCase{0, 16, 16, {2, 12}, 22}, TCase{1, 16, 16, {10, 12}, 30},
                           TCase{3, 16, 16, {26, 12}, 46}, TCase{3, 15, 17, {24, 11}, 43},
                           TCase{4, 32, 32, {66, 4}, 102}}) {
        const TspShellComboItemPlace list = ShellComboListPlace(row, c.Indent, c.Width, c.Height);
        EXPECT_EQ(list.Icon, c.Icon) << c.Indent;
        EXPECT_EQ(list.CaptionLeft, c.Caption) << c.Indent;
        const TspShellComboItemPlace face = ShellComboFacePlace(row, c.Width, c.Height);
        EXPECT_EQ(face.Icon.X, row.Left);
        EXPECT_EQ(face.CaptionLeft, row.Left + c.Width + 4);
    }
}

}  // namespace
