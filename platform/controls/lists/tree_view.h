#pragma once
// The tree view: nodes with children filled on demand (OnExpanding), images and selected images, one selected
// node, lines and buttons, keys with type-to-find, hit testing, label editing and sorting. The scroll state is
// kept without visible bars: vertically in rows, horizontally in pixels.
#include "platform/controls/lists/label_edit.h"
#include "platform/controls/lists/list_common.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/image_list.h"

#include <memory>
#include <string>
#include <vector>

namespace lists {
inline constexpr win::UINT TVM_GETCOUNT = 0x1105;
inline constexpr win::UINT TVM_GETVISIBLECOUNT = 0x1110;
// WParam TVSIL_NORMAL, LParam the TCustomImageList* (or 0); the result is the list before. SetImages sends it once
// the window exists, so a view can keep the list it wants whoever sets one.
inline constexpr win::UINT TVM_SETIMAGELIST = 0x1109;
inline constexpr win::WPARAM TVSIL_NORMAL = 0;
}  // namespace lists

class TCustomTreeView;
class TTreeNodes;

class TTreeNode {
public:
    ~TTreeNode();
    const std::string& Text() const { return FText; }
    void SetText(const std::string& AValue);
    Integer ImageIndex = -1;
    Integer SelectedIndex = -1;
    Integer StateIndex = -1;
    void* Data = nullptr;

    TTreeNode* Parent() const;  // nullptr for a top-level node
    Integer Count() const { return static_cast<Integer>(FChildren.size()); }
    TTreeNode* Item(Integer AIndex) const { return FChildren.at(AIndex).get(); }
    Integer Index() const;
    Integer Level() const;
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;

    // Shows a button before any child is there, so that expanding can fill the children in.
    bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool AValue);
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool AValue);
    void Expand(bool ARecurse);
    void Collapse(bool ARecurse);
    bool IsVisible() const;  // every ancestor expanded
    bool Selected() const;
    void MakeVisible();
    void EditText();
    void Delete();
    void DeleteChildren();
    void AlphaSort(bool ARecurse = false);
    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNodes* FOwner = nullptr;
    TTreeNode* FParent = nullptr;  // the hidden root for top-level nodes
    std::string FText;
    bool FHasChildren = false;
    bool FExpanded = false;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* AView);
    ~TTreeNodes();
    TCustomTreeView* Owner() const { return FView; }
    Integer Count() const { return FCount; }  // every node, shown or not
    TTreeNode* GetFirstNode() const { return FRoot.GetFirstChild(); }
    // The node at AIndex counting every node depth first.
    TTreeNode* Item(Integer AIndex) const;
    // ASibling's parent gets the new node last (first); nullptr = top level.
    TTreeNode* Add(TTreeNode* ASibling, const std::string& AText);
    TTreeNode* AddFirst(TTreeNode* ASibling, const std::string& AText);
    TTreeNode* AddChild(TTreeNode* AParent, const std::string& AText);
    TTreeNode* AddChildFirst(TTreeNode* AParent, const std::string& AText);
    TTreeNode* Insert(TTreeNode* ASibling, const std::string& AText);  // before ASibling
    void Delete(TTreeNode* ANode);
    void Clear();
    void BeginUpdate() { ++FUpdating; }
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InsertAt(TTreeNode* AParent, size_t APosition, const std::string& AText);
    // True when ANode is shown and comes after every other shown node.
    bool IsLastShownRow(const TTreeNode* ANode) const;
    TCustomTreeView* FView;
    TTreeNode FRoot;
    Integer FCount = 0;
    int FUpdating = 0;
};

enum THitTest { htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
                htOnStateIcon, htToLeft, htToRight };
using THitTests = TSet<THitTest>;

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCompareEvent = std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, Integer& Compare)>;

class TCustomTreeView : public TCustomControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() { return FNodes.get(); }
    TTreeNode* Selected() const { return FSelected; }
    void SetSelected(TTreeNode* ANode);
    TTreeNode* TopItem();
    void SetTopItem(TTreeNode* ANode);
    Integer TopRow() const { return FTopRow; }

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* AValue);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool AValue);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool AValue);
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool AValue);
    Integer Indent() const { return FIndent; }
    void SetIndent(Integer AValue);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool AValue) { FReadOnly = AValue; }

    Integer ItemHeight() const;
    Integer VisibleCount();      // whole rows that fit
    Integer VisibleRowCount();   // rows of shown nodes (every ancestor expanded)
    TTreeNode* RowNode(Integer ARow);
    Integer RowOf(const TTreeNode* ANode);  // -1 when not shown
    TRect NodeRect(TTreeNode* ANode, bool ATextOnly);
    THitTests GetHitTestInfoAt(int AX, int AY);
    TTreeNode* GetNodeAt(int AX, int AY);  // on the item's image or label

    void FullExpand();
    void FullCollapse();
    void AlphaSort(bool ARecurse = true);
    void CustomSort(std::function<int(TTreeNode*, TTreeNode*)> ACompare, bool ARecurse = true);
    bool IsEditing() const { return FLabelEdit.Active(); }
    TLabelEditSession& LabelEdit() { return FLabelEdit; }

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;  // may fill the node's children
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVChangedEvent OnDeletion;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCompareEvent OnCompare;
    // Asked before a node's image (selected image) is drawn; the handler may change the node's index.
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;

    void WndProc(TMessage& AMessage) override;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    void CreateWnd() override;
    void Paint() override;
    void Resize() override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual void DrawNode(TTreeNode* ANode, Integer ARow);
    // The queries for a node's image and selected image before it is drawn: they raise OnGetImageIndex and
    // OnGetSelectedIndex.
    virtual void QueryNodeImage(TTreeNode* ANode);
    virtual void QueryNodeSelectedImage(TTreeNode* ANode);

private:
    bool ExpandNode(TTreeNode* ANode);
    bool CollapseNode(TTreeNode* ANode);
    // ARowsKept: the shown rows were brought up to date by the change itself (a row appended at the end).
    void StructureChanged(bool ARowsKept = false);
    void AppendRow(const TTreeNode* ANode);
    void NodeRemoving(TTreeNode* ANode);
    void EnsureRows();
    void UpdateScrollState();
    void SetOffsets(int ARow, int AX);
    void MakeRowVisible(Integer ARow);
    int NodeLeft(const TTreeNode* ANode) const;   // where the node's image (or label) starts, unscrolled
    int TextWidth(const std::string& AText);
    void EditNode(TTreeNode* ANode);
    std::function<int(TTreeNode*, TTreeNode*)> AlphaCompare();
    void SortChildren(TTreeNode* AParent, const std::function<int(TTreeNode*, TTreeNode*)>& ACompare, bool ARecurse);

    std::unique_ptr<TTreeNodes> FNodes;
    TTreeNode* FSelected = nullptr;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    bool FShowLines = true;
    bool FShowButtons = true;
    bool FShowRoot = true;
    bool FReadOnly = false;
    Integer FIndent = 19;
    Integer FTopRow = 0;
    int FOffsetX = 0;
    std::vector<TTreeNode*> FRows;  // the shown nodes, top to bottom; rebuilt after changes
    bool FRowsValid = false;
    int FWidest = 0;
    bool FClearing = false;
    TBitmap FMeasure;  // measures labels outside painting
    TTypeAhead FTypeAhead;
    TLabelEditSession FLabelEdit;
};

class TTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
};
