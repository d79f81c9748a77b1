#pragma once
// The shell folder tree: one node per folder of the shell namespace below a root, filled when a node is first
// expanded, with the shell's icons, selection by path, renaming by label edit and an optional refresh of the
// selected node when its folder changes on disk. Each node's Data is the TspShellFolder of its item, owned by
// the node. Selecting a node makes a linked shell combo box and list view follow.
#include <memory>
#include <string>
#include <vector>

#include "platform/shell/change_notifier.h"
#include "platform/shell/shell_folder.h"
#include "skin/controls/tree_view.h"
#include "skin/dialogs/shell_list_view.h"

class TspCustomShellComboBox;
class TspSkinPopupMenu;

class TspCustomShellTreeView : public TspSkinCustomTreeView, public IspShellVerbHandler, public IspShellListLink {
public:
    explicit TspCustomShellTreeView(TComponent* AOwner);
    ~TspCustomShellTreeView() override;

    const TRoot& Root() const { return FRoot; }
    // Ignores a change of letter case alone; an unresolvable root raises "Error setting path" and keeps the old.
    void SetRoot(const TRoot& AValue);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes AValue);
    TspCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TspCustomShellComboBox* AValue);
    TspCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TspCustomShellListView* AValue);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool AValue);
    // The user's own images; while none are set the shell's icons are shown (when UseShellImages).
    TCustomImageList* Images() const { return FUserImages; }
    void SetImages(TCustomImageList* AValue);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool AValue) { FAutoContext = AValue; }
    bool AutoRefresh() const { return FAutoRefresh; }
    // On: a change notifier watches the selected node's folder and refreshes that node on every change.
    void SetAutoRefresh(bool AValue);
    // The notifier watching now; nullptr while AutoRefresh is off.
    TspShellChangeNotifier* Notifier() const { return FNotifier; }

    // The selected folder's path; empty without a selection.
    std::string Path() const;
    // Selects the folder, expanding its ancestors; raises EInvalidPath "Error setting path: \"%s\"" for a text
    // that names nothing, leaving the selection as it was.
    void SetPath(const std::string& AValue);
    TspShellFolder* SelectedFolder() const;
    static TspShellFolder* NodeFolder(const TTreeNode* ANode);
    // The folder of node AIndex counting every node depth first; nullptr for an empty tree.
    TspShellFolder* NodeFolder(Integer AIndex) const;
    // Rebuilds a node's subtree from disk, keeping what was expanded, the selection and the top row.
    void Refresh(TTreeNode* ANode);
    void RefreshSelectedNode();
    void ExpandMyComputer();
    // Selects the node of an absolute id list, expanding each ancestor on the way.
    void SelectIdList(const TItemIdList& ID);
    // The first node from AStart on, in display order, whose folder is ID; nullptr when none.
    TTreeNode* FindFolderNode(const TItemIdList& ID, TTreeNode* AStart) const;
    // Removes every node and frees their folders.
    virtual void EmptyTree() { FreeAllNodes(); }

    // The item menu of the selected node: "Open" (with the desktop's default program), "Rename" and "New Folder"
    // (made inside the selected folder, then renamed in place), shown through the skinned popup menu by a right
    // click when AutoContextMenus is set; built at the first context popup.
    TspSkinPopupMenu* ItemMenu() const { return FItemMenu; }
    // Runs one verb ("open", "rename", "newfolder") on the selected node: the view's hook first, then the verb.
    void RunItemVerb(const std::string& AVerb);

    // A linked list view's notices: its root, its folder changes, a rename in it (the selected node is read again).
    void ShellListRootChanged(const TRoot& ARoot) override { SetRoot(ARoot); }
    void ShellListFolderChanged(const TItemIdList& AAbsolute) override { SelectIdList(AAbsolute); }
    void ShellListItemRenamed() override { RefreshSelectedNode(); }
    void SetLinkedListView(TspCustomShellListView* AList) override;

    void ExecuteCommand(const std::string& Verb, bool& Handled) override;
    void CommandCompleted(const std::string& Verb, bool Succeeded) override;
    void Loaded() override;
    void WndProc(TMessage& AMessage) override;
    void ChangeSkinData() override;

    TAddFolderEvent OnAddFolder;
    // The view's own events, raised from inside its handling of the tree's notifications.
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVChangedEvent OnDeletion;
    TTVEditedEvent OnEdited;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void DoContextPopup(TPoint AMousePos, bool& AHandled) override;
    // Only with the user's own Images: the nodes keep the shell's indexes otherwise.
    void QueryNodeImage(TTreeNode* ANode) override;
    void QueryNodeSelectedImage(TTreeNode* ANode) override;

private:
    void BuildRootNode();
    void AddFolderNode(TTreeNode* ANode, const TItemIdList& ID, TTreeNode* AParentNode);
    void FillNode(TTreeNode* ANode);
    void SetNodeImages(TTreeNode* ANode, const TspShellFolder& AFolder);
    void CanChange(TTreeNode* ANode, bool& AAllow);
    void NotifyChange(TTreeNode* ANode);
    void CanExpand(TTreeNode* ANode, bool& AAllow);
    void NodeDeleted(TTreeNode* ANode);
    void Edit(TTreeNode* ANode, std::string& S);
    void RefreshFolderOf(const TItemIdList& AAbsolute);
    void FreeAllNodes();
    void ApplyRoot();
    void ApplyImages();
    void RestartNotifier();
    void ReleaseRetiredNotifiers();
    TTreeNode* FindFolderNodeBelow(const TItemIdList& ID, TTreeNode* ANode) const;

    std::string FPath;
    TRoot FRoot = "rfDesktop";
    TRoot FOldRoot;
    std::unique_ptr<TspShellFolder> FRootFolder;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FLoadingRoot = false;
    bool FAutoContext = true;
    bool FUpdating = false;
    TspCustomShellListView* FListView = nullptr;
    TspCustomShellComboBox* FComboBox = nullptr;
    bool FAutoRefresh = false;
    bool FUseShellImages = true;
    TspShellChangeNotifier* FNotifier = nullptr;
    std::vector<TspShellChangeNotifier*> FRetiredNotifiers;
    TTreeNode* FNodeToMonitor = nullptr;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FUserImages = nullptr;
    // Renames are finished through the message queue: the node that was edited may be rebuilt.
    std::vector<TItemIdList> FPendingRefreshes;
    TspSkinPopupMenu* FItemMenu = nullptr;  // owned as a component
    bool FImageListChanging = false;
};

class TspSkinDirTreeView : public TspCustomShellTreeView {
public:
    using TspCustomShellTreeView::TspCustomShellTreeView;
};
