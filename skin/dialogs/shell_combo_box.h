#pragma once
// The shell combo box: a "Look in" box over the shell namespace. Its list holds the root folder, the root's
// children and, below Computer, the volumes; for the folder being shown it also holds the chain of folders that
// leads to it, each entry drawn with its icon and indented by depth. Choosing an entry makes the linked tree view
// or list view show that folder; a linked view's folder change makes the box show that folder's chain.
#include <memory>
#include <string>
#include <vector>

#include "platform/shell/shell_folder.h"
#include "skin/controls/combo_box.h"
#include "skin/dialogs/shell_list_view.h"

class TspCustomShellTreeView;

// One entry of the list: its text, its folder (owned by the entry), depth and icon.
struct TspItemEx {
    std::string Caption;
    std::unique_ptr<TspShellFolder> Data;
    Integer Indent = 0;
    Integer ImageIndex = -1;
    Integer SelectedImageIndex = -1;
};

class TspItemsEx {
public:
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    TspItemEx* Items(Integer AIndex) const { return FItems.at(static_cast<size_t>(AIndex)).get(); }
    TspItemEx* Add();
    TspItemEx* Insert(Integer AIndex);
    TspItemEx* AddItem(const std::string& ACaption, Integer AImageIndex, Integer ASelectedIndex, Integer AIdent,
                       std::unique_ptr<TspShellFolder> AFolder);
    void Clear() { FItems.clear(); }
    // While an update is open the box ignores its own selection changes.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { --FUpdateCount; }
    Integer UpdateCount() const { return FUpdateCount; }

private:
    std::vector<std::unique_ptr<TspItemEx>> FItems;
    Integer FUpdateCount = 0;
};

// Where an entry's icon and caption go inside the rectangle it is drawn in.
struct TspShellComboItemPlace {
    TPoint Icon;          // top left of the icon
    Integer CaptionLeft;  // where the caption starts
};
// The closed box's face: no indent.
TspShellComboItemPlace ShellComboFacePlace(const TRect& R, Integer AImageWidth, Integer AImageHeight);
// A row of the open list: the icon indented by half an icon per level, the caption 4 pixels after it.
TspShellComboItemPlace ShellComboListPlace(const TRect& R, Integer AIndent, Integer AImageWidth,
                                           Integer AImageHeight);

class TspCustomShellComboBox : public TspSkinCustomComboBox, public IspShellListLink {
public:
    explicit TspCustomShellComboBox(TComponent* AOwner);
    ~TspCustomShellComboBox() override;

    const TRoot& Root() const { return FRoot; }
    // Ignores a change of letter case alone; an unresolvable root raises "Error setting path" and keeps the old.
    void SetRoot(const TRoot& AValue);
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(TShellObjectTypes AValue);
    TspCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TspCustomShellTreeView* AValue);
    TspCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TspCustomShellListView* AValue);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool AValue) { ApplyShellImages(AValue); }
    TspItemsEx& ItemsEx() { return FItemsEx; }
    Integer ImageWidth() const { return FImageWidth; }
    Integer ImageHeight() const { return FImageHeight; }

    // The chosen entry's folder path; empty without a choice.
    std::string Path() const;
    // Raises EInvalidPath "Error setting path: \"%s\"" for a text that names nothing.
    void SetPath(const std::string& AValue);
    // Entry AIndex's folder; an index past the end means the last entry.
    TspShellFolder* FolderAt(Integer AIndex) const;
    // The last entry whose folder is ID; -1 when none.
    Integer IndexOfIdList(const TItemIdList& ID) const;
    // What linked views call when their folder changed.
    void FollowIdList(const TItemIdList& ID);
    // Rebuilds the standard entries, adds the chain down to ID and chooses ID's entry.
    void ShowIdList(const TItemIdList& ID);

    void SelectionChanged() override;
    void Loaded() override;

    // A linked list view's notices: its root when it links (taken as the box's own), its folder changes.
    void ShellListRootChanged(const TRoot& ARoot) override { SetRoot(ARoot); }
    void ShellListFolderChanged(const TItemIdList& AAbsolute) override { FollowIdList(AAbsolute); }
    void ShellListItemRenamed() override {}
    void SetLinkedListView(TspCustomShellListView* AList) override;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    // The standard entries below the root: its children and, for the desktop, the volumes below Computer.
    virtual void AddStandardItems();

private:
    void BuildItems();
    void InsertChildren(Integer AIndex, TspShellFolder* AParent);
    void InsertChildEntry(Integer AIndex, TspShellFolder* AParent, const TItemIdList& ID);
    std::unique_ptr<TspShellFolder> ChildFolder(TspShellFolder* AParent, const TItemIdList& ID) const;
    Integer FolderImage(const TspShellFolder& AFolder) const;
    void CopyCaptions();
    void FreeAllItems();
    void ApplyShellImages(bool AValue);
    void ApplyRoot();
    void ChooseEntry(Integer AIndex);
    void DrawFaceItem(TCanvas* ACanvas, Integer AIndex, const TRect& R);
    void DrawListItem(TCanvas* ACanvas, Integer AIndex, const TRect& R);
    void DrawEntry(TCanvas* ACanvas, Integer AIndex, const TspShellComboItemPlace& APlace, const TRect& R);

    TspItemsEx FItemsEx;
    TCustomImageList* FImages = nullptr;
    Integer FImageHeight = 16, FImageWidth = 16;
    TRoot FOldRoot;
    TRoot FRoot = "rfDesktop";
    std::unique_ptr<TspShellFolder> FRootFolder;
    TspCustomShellTreeView* FTreeView = nullptr;
    TspCustomShellListView* FListView = nullptr;
    TShellObjectTypes FObjectTypes{otFolders};
    bool FUseShellImages = true;
    bool FUpdating = false;
};

class TspSkinShellComboBox : public TspCustomShellComboBox {
public:
    using TspCustomShellComboBox::TspCustomShellComboBox;
};
