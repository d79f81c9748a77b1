#pragma once
// The shell file list view: a skinned owner-data list view over the items of one namespace folder (its root):
// subfolders first, then the files the mask lets through, with icons by kind, the four detail columns of a
// file-system folder, sorting by any column, type-to-find, keyboard and double-click navigation, label-edit
// renaming and an optional automatic refresh. It can be linked to a shell tree view and a shell combo box, which
// follow its folder and make it follow theirs.
#include "platform/shell/change_notifier.h"
#include "platform/shell/shell_folder.h"
#include "skin/controls/list_view.h"

#include <memory>
#include <string>
#include <vector>

class TStrings;
class TspCustomShellListView;
class TspSkinPopupMenu;

// What a linked tree view or combo box hears from the list (their classes implement it).
class IspShellListLink {
public:
    virtual ~IspShellListLink() = default;
    // The list's Root text changed: a tree takes it as its own root.
    virtual void ShellListRootChanged(const TRoot& ARoot) = 0;
    // The list shows another folder: a tree selects it, a combo box follows it.
    virtual void ShellListFolderChanged(const TItemIdList& AAbsolute) = 0;
    // An item was renamed in the list: a tree refreshes its selected node.
    virtual void ShellListItemRenamed() = 0;
    // The list links itself (or unlinks with nullptr).
    virtual void SetLinkedListView(TspCustomShellListView* AList) = 0;
};

class TspCustomShellListView : public TspSkinCustomListView, public IspShellVerbHandler {
public:
    explicit TspCustomShellListView(TComponent* AOwner);
    ~TspCustomShellListView() override;

    const TRoot& Root() const { return FRoot; }
    // Raises Exception "Error setting path: \"%s\"" and keeps the old root when the text cannot be resolved.
    void SetRoot(const TRoot& AValue);
    // The shown folder's parsing name; empty without one. Writing parses an absolute path (EInvalidPath
    // "Error setting path: \"%s\"" when it cannot be parsed) and opens it.
    std::string Path() const;
    void SetPath(const std::string& AValue);
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& AValue);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool AValue);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TShellObjectTypes AValue);
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool AValue);
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool AValue) { FAutoNavigate = AValue; }
    // In the report style the columns are built for the shown folder.
    void SetViewStyle(TViewStyle AValue);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool AValue) { FAutoContext = AValue; }

    // AValue is a component implementing IspShellListLink, or nullptr.
    TComponent* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TComponent* AValue);
    TComponent* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TComponent* AValue);

    TspShellFolder* RootFolder() const { return FRootFolder.get(); }
    // The system's error number of the last failed read of the shown folder (its list is then empty); 0 when it
    // was read.
    int ReadError() const { return FReadError; }
    Integer FolderCount() const { return static_cast<Integer>(FFolders.size()); }
    // nullptr outside the list.
    TspShellFolder* FolderAt(Integer AIndex) const;
    TspShellFolder* SelectedFolder();
    // The selected file's path; empty when nothing or a folder is selected.
    std::string GetSelectedFile();
    // Clears AFiles, then adds the paths of the selected files (not folders) in list order.
    void GetSelectedFiles(TStrings* AFiles);

    // The parent folder; nothing at the desktop.
    void Back();
    // Reads the folder again; the selected and the focused items stay selected and focused wherever they are now
    // (a file gone meanwhile is no longer selected, and the focus stays at its place).
    void Refresh();
    void OpenIdList(const TItemIdList& AId);
    // What linked views call: ignored while the list updates itself.
    void FollowIdList(const TItemIdList& AId);
    void StartRename();

    // The index of the first item from AStartIndex on whose shown name starts with AFind (any letter case),
    // going on at 0 after the end when AWrap is set; -1 when none or AStartIndex is outside the list.
    Integer FindOwnerItem(const std::string& AFind, Integer AStartIndex, bool AWrap);
    // A header click: sorts by that column, the same column again reverses the order; the selected and focused
    // items stay selected and focused at their new places.
    void ColClick(Integer AColumn);
    Integer SortColumn() const { return FSortColumn; }
    bool SortDescending() const { return FSortDirection; }

    // True when an item passes the mask (the name of its file-system path against each part).
    bool MatchesListMask(TspShellFolder* AFolder) const;

    // The item menu of the selected item: "Open" (with the desktop's default program) and "Rename", shown through
    // the skinned popup menu by a right click when AutoContextMenus is set; built at the last context popup.
    TspSkinPopupMenu* ItemMenu() const { return FItemMenu; }
    // Runs one verb ("open", "rename") on the selected item: the view's hook first, then the verb itself.
    void RunItemVerb(const std::string& AVerb);

    void ExecuteCommand(const std::string& Verb, bool& Handled) override;
    void CommandCompleted(const std::string& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;
    TNotifyEvent OnPathChanged;
    // The user's column-click and label-edit events; the view uses the native list's own ones itself.
    TLVColumnClickEvent OnColumnClick;
    TLVEditedEvent OnEdited;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void DblClick() override;
    void DoContextPopup(TPoint AMousePos, bool& AHandled) override;
    virtual void FillFolderList();

private:
    // The selected and focused items by their ids, so they can be found again after the order or the items
    // changed.
    struct TItemChoice {
        std::vector<TItemIdList> Selected;
        TItemIdList Focused;
        Integer FocusedIndex = -1;
    };
    TItemChoice KeepChoice();
    void RestoreChoice(const TItemChoice& AChoice);

    void FetchOwnerItem(TListItem* AItem);
    void Edit(TListItem* AItem, std::string& AText);
    void FreeFolderList();
    void ResolveRoot();
    void ApplyRoot();
    void SyncLinkedViews();
    void BuildColumns();
    void FitListColumn();
    void SortFolders(bool AByColumn);
    void WatchRoot();
    IspShellListLink* LinkOf(TComponent* AComponent) const;
    void SetLink(TComponent*& AField, TComponent* AValue);

    Integer FOldSortColumn = -1;
    Integer FSortColumn = -1;
    bool FSortDirection = false;
    TRoot FOldRoot;
    TRoot FRoot = "rfDesktop";
    std::unique_ptr<TspShellFolder> FRootFolder;
    bool FAutoContext = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
    std::vector<std::unique_ptr<TspShellFolder>> FFolders;
    TComponent* FTreeView = nullptr;
    TComponent* FComboBox = nullptr;
    std::unique_ptr<TspShellChangeNotifier> FNotifier;
    bool FSettingRoot = false;
    std::string FMask = "*.*|*.*";
    int FReadError = 0;
    TspSkinPopupMenu* FItemMenu = nullptr;  // owned as a component
};

class TspSkinFileListView : public TspCustomShellListView {
public:
    using TspCustomShellListView::TspCustomShellListView;
};
