#pragma once
// What the shell combo box and tree view ask of a linked shell list view, in one place.
#include "platform/shell/shell_folder.h"

class TComponent;
class TspCustomShellComboBox;
class TspCustomShellListView;
class TspCustomShellTreeView;

TComponent* ShellListComponent(TspCustomShellListView* AList);
void ShellListSetRoot(TspCustomShellListView* AList, const TRoot& ARoot);
void ShellListLinkComboBox(TspCustomShellListView* AList, TspCustomShellComboBox* ACombo);
void ShellListLinkTreeView(TspCustomShellListView* AList, TspCustomShellTreeView* ATree);
void ShellListFollowIdList(TspCustomShellListView* AList, const TItemIdList& ID);
