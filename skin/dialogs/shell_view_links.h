#pragma once
// How the shell views link to each other, and what the combo box and tree view ask of a linked list view.
#include "platform/rtl/classes.h"
#include "platform/shell/shell_folder.h"

class TspCustomShellComboBox;
class TspCustomShellListView;
class TspCustomShellTreeView;

TComponent* ShellListComponent(TspCustomShellListView* AList);
void ShellListSetRoot(TspCustomShellListView* AList, const TRoot& ARoot);
void ShellListLinkComboBox(TspCustomShellListView* AList, TspCustomShellComboBox* ACombo);
void ShellListLinkTreeView(TspCustomShellListView* AList, TspCustomShellTreeView* ATree);
void ShellListFollowIdList(TspCustomShellListView* AList, const TItemIdList& ID);

// The rule every shell view links a partner by: nothing for the current partner; a new one hears about this
// view's removal, takes its root and links back; with none, the old partner's link back is cleared. The field is
// stored first, because the partner's writer calls back here and must find the link made.
template <typename TPartner, typename TComponentOf, typename TTakeRoot, typename TLinkBack>
void LinkShellPartner(TComponent* ASelf, TPartner*& AField, TPartner* AValue, TComponentOf AComponentOf,
                      TTakeRoot ATakeRoot, TLinkBack ALinkBack)
{
    if (AValue == AField) return;
    TPartner* old = AField;
    AField = AValue;
    if (AValue) {
        AComponentOf(AValue)->FreeNotification(ASelf);
        ATakeRoot(AValue);
        ALinkBack(AValue, true);
    } else if (old) {
        ALinkBack(old, false);
    }
}
