#include "skin/dialogs/shell_view_links.h"

#if __has_include("skin/dialogs/shell_list_view.h")
#include "skin/dialogs/shell_list_view.h"

TComponent* ShellListComponent(TspCustomShellListView* AList) { return AList; }
void ShellListSetRoot(TspCustomShellListView* AList, const TRoot& ARoot) { AList->SetRoot(ARoot); }
void ShellListLinkComboBox(TspCustomShellListView* AList, TspCustomShellComboBox* ACombo)
{
    AList->SetShellComboBox(ACombo);
}
void ShellListLinkTreeView(TspCustomShellListView* AList, TspCustomShellTreeView* ATree)
{
    AList->SetShellTreeView(ATree);
}
void ShellListFollowIdList(TspCustomShellListView* AList, const TItemIdList& ID) { AList->FollowIdList(ID); }
#else
// No list view is built yet: nothing can hand one over.
TComponent* ShellListComponent(TspCustomShellListView*) { return nullptr; }
void ShellListSetRoot(TspCustomShellListView*, const TRoot&) {}
void ShellListLinkComboBox(TspCustomShellListView*, TspCustomShellComboBox*) {}
void ShellListLinkTreeView(TspCustomShellListView*, TspCustomShellTreeView*) {}
void ShellListFollowIdList(TspCustomShellListView*, const TItemIdList&) {}
#endif
