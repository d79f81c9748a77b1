#include "skin/dialogs/shell_tree_view.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "platform/rtl/process.h"
#include "platform/rtl/strings.h"
#include "platform/gui/screen.h"
#include "platform/win/messages.h"
#include "platform/win/message_queue.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_icons.h"
#include "skin/dialogs/shell_view_links.h"
#include "skin/forms/popup_menu.h"

namespace {

// Posted to the tree after a rename: the renamed node's parent is rebuilt once the edit has fully ended.
constexpr win::UINT kRefreshAfterRename = win::WM_APP + 0x115;
// Posted when a notifier was replaced: it may have been calling the tree, so it is freed from the message loop.
constexpr win::UINT kReleaseNotifiers = win::WM_APP + 0x116;

// The node after ANode in display order: its first child, else the next sibling of it or of an ancestor.
TTreeNode* NextNode(const TTreeNode* ANode, const TTreeNode* AStop = nullptr)
{
    if (TTreeNode* child = ANode->GetFirstChild()) return child;
    for (const TTreeNode* node = ANode; node && node != AStop; node = node->Parent())
        if (TTreeNode* next = node->GetNextSibling()) return next;
    return nullptr;
}

// Sets the hourglass for the time a slow folder read takes.
class THourGlass {
public:
    THourGlass() : FOld(Screen ? Screen->Cursor() : crDefault)
    {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~THourGlass()
    {
        if (Screen) Screen->SetCursor(FOld);
    }

private:
    TCursor FOld;
};

class TNodesUpdate {
public:
    explicit TNodesUpdate(TTreeNodes* ANodes) : FNodes(ANodes) { ANodes->BeginUpdate(); }
    ~TNodesUpdate() { FNodes->EndUpdate(); }

private:
    TTreeNodes* FNodes;
};

}  // namespace

TspCustomShellTreeView::TspCustomShellTreeView(TComponent* AOwner) : TspSkinCustomTreeView(AOwner)
{
    SetShowRoot(false);
    FImages = ShellImages(false);
    if (FImages) FImages->SetBkColor(clNone);
    // The tree's notifications come to the view first; the view raises the user's events from there.
    TCustomTreeView::OnChanging = [this](TObject*, TTreeNode* ANode, bool& AAllow) { CanChange(ANode, AAllow); };
    TCustomTreeView::OnExpanding = [this](TObject*, TTreeNode* ANode, bool& AAllow) { CanExpand(ANode, AAllow); };
    TCustomTreeView::OnDeletion = [this](TObject*, TTreeNode* ANode) { NodeDeleted(ANode); };
    TCustomTreeView::OnEdited = [this](TObject*, TTreeNode* ANode, std::string& S) { Edit(ANode, S); };
}

TspCustomShellTreeView::~TspCustomShellTreeView()
{
    if (FItemMenu) FItemMenu->Items()->Clear();  // its items call into this view
    SetShellComboBox(nullptr);
    SetShellListView(nullptr);
    delete FNotifier;
    FNotifier = nullptr;
    ReleaseRetiredNotifiers();
    // The nodes go now, while the folder objects they own can still be freed by this class.
    FreeAllNodes();
    TCustomTreeView::OnDeletion = nullptr;
}

void TspCustomShellTreeView::ChangeSkinData()
{
    TspSkinCustomTreeView::ChangeSkinData();
    // The skinned tree gives its images its own background; the shell's icons are every view's, and stay clear.
    if (FImages) FImages->SetBkColor(clNone);
}

void TspCustomShellTreeView::Loaded()
{
    TspSkinCustomTreeView::Loaded();
    BuildRootNode();
}

void TspCustomShellTreeView::CreateWnd()
{
    TspSkinCustomTreeView::CreateWnd();
    FreeAllNodes();
    ApplyImages();
    if (FLoadingRoot) return;
    BuildRootNode();
    if (!FPath.empty()) SetPath(FPath);
}

void TspCustomShellTreeView::DestroyWnd()
{
    FreeAllNodes();
    TspSkinCustomTreeView::DestroyWnd();
}

void TspCustomShellTreeView::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomTreeView::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (FComboBox && AComponent == FComboBox) FComboBox = nullptr;
    if (FListView && AComponent == FListView) FListView = nullptr;
    if (FUserImages && AComponent == FUserImages) {
        FUserImages = nullptr;
        ApplyImages();
    }
    if (AComponent == FNotifier) FNotifier = nullptr;
    std::erase(FRetiredNotifiers, AComponent);
}

void TspCustomShellTreeView::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == kRefreshAfterRename) {
        std::vector<TItemIdList> pending = std::move(FPendingRefreshes);
        FPendingRefreshes.clear();
        for (const TItemIdList& list : pending) RefreshFolderOf(list);
        return;
    }
    if (AMessage.Msg == kReleaseNotifiers) {
        ReleaseRetiredNotifiers();
        return;
    }
    if (AMessage.Msg == lists::TVM_SETIMAGELIST && AMessage.WParam == lists::TVSIL_NORMAL && !FImageListChanging) {
        // A list given from outside is replaced by the tree's own choice.
        ApplyImages();
        return;
    }
    TspSkinCustomTreeView::WndProc(AMessage);
}

void TspCustomShellTreeView::QueryNodeImage(TTreeNode* ANode)
{
    if (FUserImages) TspSkinCustomTreeView::QueryNodeImage(ANode);
}

void TspCustomShellTreeView::QueryNodeSelectedImage(TTreeNode* ANode)
{
    if (FUserImages) TspSkinCustomTreeView::QueryNodeSelectedImage(ANode);
}

// --- properties

void TspCustomShellTreeView::SetRoot(const TRoot& AValue)
{
    if (SameText(AValue, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = AValue;
    ApplyRoot();
}

void TspCustomShellTreeView::SetObjectTypes(TShellObjectTypes AValue)
{
    FObjectTypes = AValue;
    ApplyRoot();
}

void TspCustomShellTreeView::SetShellComboBox(TspCustomShellComboBox* AValue)
{
    LinkShellPartner(
        this, FComboBox, AValue,
        [this](TspCustomShellComboBox* ABox) { ABox->SetRoot(FRoot); },
        [this](TspCustomShellComboBox* ABox, bool ALink) { ABox->SetShellTreeView(ALink ? this : nullptr); });
}

void TspCustomShellTreeView::SetShellListView(TspCustomShellListView* AValue)
{
    LinkShellPartner(
        this, FListView, AValue,
        [this](TspCustomShellListView* AList) { AList->SetRoot(FRoot); },
        [this](TspCustomShellListView* AList, bool ALink) { AList->SetShellTreeView(ALink ? this : nullptr); });
}

void TspCustomShellTreeView::SetLinkedListView(TspCustomShellListView* AList)
{
    FListView = AList;
    if (AList) AList->FreeNotification(this);
}

void TspCustomShellTreeView::SetUseShellImages(bool AValue)
{
    FUseShellImages = AValue;
    ApplyImages();
}

void TspCustomShellTreeView::SetImages(TCustomImageList* AValue)
{
    if (FUserImages) FUserImages->RemoveFreeNotification(this);
    FUserImages = AValue;
    if (FUserImages) FUserImages->FreeNotification(this);
    ApplyImages();
}

void TspCustomShellTreeView::ApplyImages()
{
    // The window shows the user's images, else the shell's icons, else none, whoever set its list before.
    if (FImageListChanging) return;
    FImageListChanging = true;
    try {
        TCustomTreeView::SetImages(FUserImages ? FUserImages : FUseShellImages ? FImages : nullptr);
    } catch (...) {
        FImageListChanging = false;
        throw;
    }
    FImageListChanging = false;
}

void TspCustomShellTreeView::SetAutoRefresh(bool AValue)
{
    FAutoRefresh = AValue;
    if (ComponentState().Contains(csLoading)) return;
    if (FNotifier) {
        FRetiredNotifiers.push_back(FNotifier);
        FNotifier = nullptr;
        if (HandleAllocated()) win::PostMessage(Handle(), kReleaseNotifiers, 0, 0);
    }
    if (AValue) RestartNotifier();
}

void TspCustomShellTreeView::ReleaseRetiredNotifiers()
{
    std::vector<TspShellChangeNotifier*> retired = std::move(FRetiredNotifiers);
    FRetiredNotifiers.clear();
    for (TspShellChangeNotifier* notifier : retired) delete notifier;
}

void TspCustomShellTreeView::RestartNotifier()
{
    const TspShellFolder* watched = FNodeToMonitor ? NodeFolder(FNodeToMonitor) : FRootFolder.get();
    if (!watched) return;
    auto* notifier = new TspShellChangeNotifier(this);
    FNotifier = notifier;
    notifier->SetWatchSubTree(false);
    notifier->SetRoot(watched->PathName());
    // A replaced notifier lives on until the message loop frees it, silent.
    notifier->SetOnChange([this, notifier] {
        if (notifier == FNotifier) RefreshSelectedNode();
    });
}

// --- folders of nodes

TspShellFolder* TspCustomShellTreeView::NodeFolder(const TTreeNode* ANode)
{
    return ANode ? static_cast<TspShellFolder*>(ANode->Data) : nullptr;
}

TspShellFolder* TspCustomShellTreeView::NodeFolder(Integer AIndex) const
{
    TTreeNodes* nodes = const_cast<TspCustomShellTreeView*>(this)->Items();
    if (nodes->Count() == 0) return nullptr;
    return NodeFolder(nodes->Item(AIndex));
}

TspShellFolder* TspCustomShellTreeView::SelectedFolder() const
{
    return NodeFolder(Selected());
}

std::string TspCustomShellTreeView::Path() const
{
    const TspShellFolder* folder = SelectedFolder();
    return folder ? folder->PathName() : std::string();
}

void TspCustomShellTreeView::SetPath(const std::string& AValue)
{
    const TItemIdList list = ParseDisplayName(AValue);
    if (list.IsNil()) throw EInvalidPath(Format("Error setting path: \"%s\"", {AValue}));
    SelectIdList(list);
    if (TTreeNode* node = Selected()) {
        node->Expand(false);
        NotifyChange(node);
    }
    FPath = AValue;
}

TTreeNode* TspCustomShellTreeView::FindFolderNode(const TItemIdList& ID, TTreeNode* AStart) const
{
    for (TTreeNode* node = AStart; node; node = NextNode(node))
        if (const TspShellFolder* folder = NodeFolder(node); folder && SameItemIdList(folder->AbsoluteIdList(), ID))
            return node;
    return nullptr;
}

TTreeNode* TspCustomShellTreeView::FindFolderNodeBelow(const TItemIdList& ID, TTreeNode* ANode) const
{
    for (TTreeNode* node = ANode; node; node = NextNode(node, ANode))
        if (const TspShellFolder* folder = NodeFolder(node); folder && SameItemIdList(folder->AbsoluteIdList(), ID))
            return node;
    return nullptr;
}

void TspCustomShellTreeView::SelectIdList(const TItemIdList& ID)
{
    if (ComponentState().Contains(csLoading)) return;
    if (const TspShellFolder* selected = SelectedFolder(); selected && SameItemIdList(selected->AbsoluteIdList(), ID))
        return;
    TShellFlagScope updating(FUpdating);
    TNodesUpdate update(Items());
    TTreeNode* start = Items()->GetFirstNode();
    for (const TItemIdList& ancestor : AncestorIdLists(ID))
        if (TTreeNode* node = FindFolderNode(ancestor, start)) {
            node->Expand(false);
            start = node;
        }
    TTreeNode* found = FindFolderNode(ID, start);
    SetSelected(found);
    if (!found) return;
    const TItemIdList list = NodeFolder(found)->AbsoluteIdList();
    if (FListView) FListView->FollowIdList(list);
    if (FComboBox) FComboBox->FollowIdList(list);
}

void TspCustomShellTreeView::ExpandMyComputer()
{
    SelectIdList(SpecialFolderLocation(rfMyComputer));
    if (TTreeNode* node = Selected()) node->Expand(false);
}

// --- building nodes

void TspCustomShellTreeView::BuildRootNode()
{
    if (ComponentState().Contains(csLoading)) return;
    std::optional<std::string> held;
    try {
        FRootFolder = ResolveRootFolder(FRootFolder, FOldRoot, FRoot);
    } catch (const Exception& e) {
        held = e.Message();
    }
    if (FRootFolder) {
        TShellFlagScope loading(FLoadingRoot);
        FreeAllNodes();
        const TItemIdList& list = FRootFolder->AbsoluteIdList();
        auto folder = std::make_unique<TspShellFolder>(nullptr, list, FRootFolder->ShellFolder());
        TTreeNode* top = Items()->Add(nullptr, ItemDisplayName(DesktopFolderInterface(), list, SHGDN_NORMAL));
        top->Data = folder.get();
        TspShellFolder& data = *folder.release();
        if (FUseShellImages && !FUserImages) {
            top->ImageIndex = ShellImageIndex(list, false, false);
            top->SelectedIndex = ShellImageIndex(list, false, true);
        }
        top->SetHasChildren(data.SubFolders());
        top->Expand(false);
        SetSelected(top);
    }
    if (held) throw Exception(*held);
}

void TspCustomShellTreeView::SetNodeImages(TTreeNode* ANode, const TspShellFolder& AFolder)
{
    ANode->ImageIndex = ShellImageIndex(AFolder.AbsoluteIdList(), false, false);
    ANode->SelectedIndex = ShellImageIndex(AFolder.AbsoluteIdList(), false, true);
}

void TspCustomShellTreeView::AddFolderNode(TTreeNode* ANode, const TItemIdList& ID, TTreeNode* AParentNode)
{
    TspShellFolder* parent = NodeFolder(AParentNode);
    auto owned = std::make_unique<TspShellFolder>(parent, ID, BindFolderInterface(parent->ShellFolder(), ID));
    TspShellFolder* folder = owned.release();
    ANode->Data = folder;
    ANode->SetText(folder->DisplayName());
    if (FUseShellImages && !FUserImages) SetNodeImages(ANode, *folder);
    if (ANode->SelectedIndex == 0) ANode->SelectedIndex = ANode->ImageIndex;
    bool children = folder->SubFolders();
    if (FObjectTypes.Contains(otNonFolders) && folder->ShellFolder())
        children = FolderHasItems(folder->ShellFolder(), EnumFlagsOf(FObjectTypes));
    ANode->SetHasChildren(children);
    bool canAdd = true;
    if (OnAddFolder) OnAddFolder(this, folder, canAdd);
    if (!canAdd) ANode->Delete();
}

void TspCustomShellTreeView::FillNode(TTreeNode* ANode)
{
    THourGlass hourGlass;
    TNodesUpdate update(Items());
    const PNamespaceFolder& folder = NodeFolder(ANode)->ShellFolder();
    auto ids = folder ? folder->EnumObjects(EnumFlagsOf(FObjectTypes)) : std::nullopt;
    if (!ids) return;
    // Sorted before the nodes are made: a child refused by OnAddFolder then leaves the order as it is.
    std::stable_sort(ids->begin(), ids->end(), [&](const TItemIdList& A, const TItemIdList& B) {
        return folder->CompareIDs(A, B) < 0;
    });
    for (const TItemIdList& id : *ids) AddFolderNode(Items()->AddChild(ANode, ""), id, ANode);
}

void TspCustomShellTreeView::Refresh(TTreeNode* ANode)
{
    TspShellFolder* old = NodeFolder(ANode);
    if (!old || !old->ShellFolder()) return;
    const auto listOf = [](TTreeNode* ANodeOf) -> std::optional<TItemIdList> {
        if (const TspShellFolder* folder = NodeFolder(ANodeOf)) return folder->AbsoluteIdList();
        return std::nullopt;
    };
    const std::optional<TItemIdList> top = listOf(TopItem());
    const std::optional<TItemIdList> selected = listOf(Selected());
    std::vector<TItemIdList> expanded;
    for (TTreeNode* node = ANode; node; node = NextNode(node, ANode))
        if (node->Expanded() && NodeFolder(node)) expanded.push_back(NodeFolder(node)->AbsoluteIdList());

    THourGlass hourGlass;
    {
        TNodesUpdate update(Items());
        TTreeNode* fresh = Items()->Insert(ANode, "");
        auto owned = std::make_unique<TspShellFolder>(NodeFolder(ANode->Parent()), old->RelativeIdList(),
                                                      old->ShellFolder());
        TspShellFolder* folder = owned.release();
        fresh->Data = folder;
        FillNode(fresh);
        SetNodeImages(fresh, *folder);
        fresh->SetHasChildren(folder->SubFolders());
        fresh->SetText(folder->DisplayName());
        for (const TItemIdList& list : expanded)
            if (TTreeNode* again = FindFolderNodeBelow(list, fresh)) again->Expand(false);
        // The deletion hook frees the old folder object; freeing it here as well would free it twice.
        ANode->Delete();
        if (selected) SetSelected(FindFolderNode(*selected, Items()->GetFirstNode()));
        if (top)
            if (TTreeNode* node = FindFolderNode(*top, Items()->GetFirstNode())) SetTopItem(node);
    }
}

void TspCustomShellTreeView::RefreshSelectedNode()
{
    if (TTreeNode* node = Selected()) Refresh(node);
}

void TspCustomShellTreeView::RefreshFolderOf(const TItemIdList& AAbsolute)
{
    if (TTreeNode* node = FindFolderNode(AAbsolute, Items()->GetFirstNode())) Refresh(node);
}

void TspCustomShellTreeView::FreeAllNodes()
{
    TNodesUpdate update(Items());
    Items()->Clear();
}

void TspCustomShellTreeView::ApplyRoot()
{
    if (FUpdating) return;
    TShellFlagScope updating(FUpdating);
    BuildRootNode();
    if (FListView) FListView->SetRoot(FRoot);
}

// --- the tree's notifications

void TspCustomShellTreeView::CanChange(TTreeNode* ANode, bool& AAllow)
{
    if (OnChanging) OnChanging(this, ANode, AAllow);
    if (AAllow && !FUpdating && ANode) NotifyChange(ANode);
}

void TspCustomShellTreeView::NotifyChange(TTreeNode* ANode)
{
    TspShellFolder* folder = NodeFolder(ANode);
    if (!folder) return;
    if (!folder->IsFolder() && folder->Parent()) folder = folder->Parent();
    const bool autoRefresh = FAutoRefresh;
    SetAutoRefresh(false);
    {
        TShellFlagScope updating(FUpdating);
        if (FComboBox) FComboBox->FollowIdList(folder->AbsoluteIdList());
        if (FListView) FListView->FollowIdList(folder->AbsoluteIdList());
    }
    // A new notifier watches the node being selected.
    FNodeToMonitor = ANode;
    SetAutoRefresh(autoRefresh);
    FNodeToMonitor = nullptr;
}

void TspCustomShellTreeView::CanExpand(TTreeNode* ANode, bool& AAllow)
{
    if (OnExpanding) OnExpanding(this, ANode, AAllow);
    if (!AAllow) return;
    TspShellFolder* folder = NodeFolder(ANode);
    if (!folder) return;
    if (folder->IsFolder()) {
        if (ANode->HasChildren() && ANode->Count() == 0) FillNode(ANode);
    } else {
        folder->ExecuteDefault();
    }
    ANode->SetHasChildren(ANode->Count() > 0);
}

void TspCustomShellTreeView::NodeDeleted(TTreeNode* ANode)
{
    delete NodeFolder(ANode);
    ANode->Data = nullptr;
    if (ANode == FNodeToMonitor) FNodeToMonitor = nullptr;
    if (OnDeletion) OnDeletion(this, ANode);
}

void TspCustomShellTreeView::Edit(TTreeNode* ANode, std::string& S)
{
    if (OnEdited) OnEdited(this, ANode, S);
    TspShellFolder* folder = NodeFolder(ANode);
    // The label keeps its old text unless the item on disk took the new name; a failed rename raises.
    const std::string old = ANode->Text();
    bool renamed = false;
    try {
        renamed = folder && folder->Rename(S);
    } catch (...) {
        S = old;
        throw;
    }
    if (!renamed) S = old;
    if (TTreeNode* parent = ANode->Parent(); parent && NodeFolder(parent)) {
        FPendingRefreshes.push_back(NodeFolder(parent)->AbsoluteIdList());
        if (HandleAllocated()) win::PostMessage(Handle(), kRefreshAfterRename, 0, 0);
    }
}

// --- context-menu commands

void TspCustomShellTreeView::RunItemVerb(const std::string& AVerb)
{
    TTreeNode* node = Selected();
    TspShellFolder* folder = NodeFolder(node);
    if (!folder) return;
    bool handled = false;
    ExecuteCommand(AVerb, handled);
    bool succeeded = handled;
    if (!handled && SameText(AVerb, "open")) {
        const std::string path = folder->FullObjectName();
        succeeded = !path.empty() && OpenWithDefaultProgram(path);
    } else if (!handled && SameText(AVerb, "newfolder") && folder->ShellFolder()) {
        // "New Folder", or "New Folder (2)" and on when taken; a folder that cannot be made raises with the reason.
        errno = 0;
        const TItemIdList made = folder->ShellFolder()->CreateNewFolder();
        if (made.IsNil())
            throw EInOutError(Format("Cannot create a folder in \"%s\": %s",
                                     {folder->FullObjectName(), std::string(std::strerror(errno ? errno : EIO))}));
        const TItemIdList absolute = JoinItemIdLists(folder->AbsoluteIdList(), made);
        Refresh(node);
        node = Selected();
        if (node) node->Expand(false);
        if (TTreeNode* created = FindFolderNode(absolute, node)) {
            created->MakeVisible();
            SetSelected(created);
            created->EditText();
        }
        succeeded = true;
    }
    CommandCompleted(AVerb, succeeded);
}

// No shell menu exists here: the item menu holds the verbs the views know.
void TspCustomShellTreeView::DoContextPopup(TPoint AMousePos, bool& AHandled)
{
    if (!FAutoContext || !SelectedFolder()) {
        TspSkinCustomTreeView::DoContextPopup(AMousePos, AHandled);
        return;
    }
    if (!FItemMenu) {
        FItemMenu = new TspSkinPopupMenu(this);
        for (auto [caption, verb] : {std::pair{"Open", "open"}, {"Rename", "rename"}, {"New Folder", "newfolder"}}) {
            auto* item = new TMenuItem(FItemMenu);
            item->SetCaption(caption);
            item->OnClick = [this, verb = std::string(verb)](TObject*) { RunItemVerb(verb); };
            FItemMenu->Items()->Add(item);
        }
    }
    FItemMenu->SetSkinData(SkinData());
    const TPoint at = AMousePos.X == -1 && AMousePos.Y == -1 ? ClientToScreen({0, 0}) : ClientToScreen(AMousePos);
    FItemMenu->PopupFromRect2(this, Rect(at.X, at.Y, at.X, at.Y), false);
    AHandled = true;
}

void TspCustomShellTreeView::ExecuteCommand(const std::string& Verb, bool& Handled)
{
    if (SameText(Verb, "rename") && Selected()) {
        Selected()->EditText();
        Handled = true;
    }
    // "open" needs no change of the process's folder here: programs are started in their own folder.
}

void TspCustomShellTreeView::CommandCompleted(const std::string& Verb, bool Succeeded)
{
    TTreeNode* node = Selected();
    if (!Succeeded || !node) return;
    if (SameText(Verb, "delete")) {
        const TspShellFolder* folder = NodeFolder(node);
        const std::string path = folder ? folder->FullObjectName() : std::string();
        if (!path.empty() && !FileExists(path) && !DirectoryExists(path)) node->Delete();
    } else if (SameText(Verb, "paste")) {
        Refresh(node);
    }
}
