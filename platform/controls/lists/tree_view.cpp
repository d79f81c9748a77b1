#include "platform/controls/lists/tree_view.h"

#include "platform/win/input.h"
#include "platform/win/keys.h"
#include "platform/win/scrolling.h"

#include <algorithm>
#include <functional>

using namespace win;
using namespace lists;

namespace {

constexpr int kVK_MULTIPLY = 0x6A;
constexpr int kVK_ADD = 0x6B;
constexpr int kVK_SUBTRACT = 0x6D;

Integer SubtreeSize(const TTreeNode* ANode)
{
    Integer size = 1;
    for (Integer i = 0; i < ANode->Count(); ++i)
        size += SubtreeSize(ANode->Item(i));
    return size;
}

bool IsInside(const TTreeNode* ANode, const TTreeNode* AAncestor)
{
    for (const TTreeNode* node = ANode; node; node = node->Parent())
        if (node == AAncestor)
            return true;
    return false;
}

// Every other pixel, as the platform draws tree lines.
void DottedLine(TCanvas* ACanvas, int AX1, int AY1, int AX2, int AY2, TColor AColor)
{
    if (AX1 == AX2) {
        for (int y = std::min(AY1, AY2); y < std::max(AY1, AY2); ++y)
            if ((y & 1) == 0)
                ACanvas->SetPixels(AX1, y, AColor);
    } else {
        for (int x = std::min(AX1, AX2); x < std::max(AX1, AX2); ++x)
            if ((x & 1) == 0)
                ACanvas->SetPixels(x, AY1, AColor);
    }
}

}  // namespace

// --- TTreeNode

TTreeNode::~TTreeNode() = default;

void TTreeNode::SetText(const std::string& AValue)
{
    FText = AValue;
    if (FOwner)
        FOwner->FView->StructureChanged();
}

TTreeNode* TTreeNode::Parent() const
{
    return FOwner && FParent == &FOwner->FRoot ? nullptr : FParent;
}

TCustomTreeView* TTreeNode::TreeView() const
{
    return FOwner ? FOwner->FView : nullptr;
}

Integer TTreeNode::Index() const
{
    if (!FParent)
        return -1;
    const auto& siblings = FParent->FChildren;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return static_cast<Integer>(i);
    return -1;
}

Integer TTreeNode::Level() const
{
    Integer level = 0;
    for (const TTreeNode* node = Parent(); node; node = node->Parent())
        ++level;
    return level;
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    Integer index = Index();
    return index >= 0 && index + 1 < FParent->Count() ? FParent->Item(index + 1) : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    Integer index = Index();
    return index > 0 ? FParent->Item(index - 1) : nullptr;
}

void TTreeNode::SetHasChildren(bool AValue)
{
    FHasChildren = AValue;
    FOwner->FView->StructureChanged();
}

void TTreeNode::SetExpanded(bool AValue)
{
    if (AValue)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool ARecurse)
{
    FOwner->FView->ExpandNode(this);
    if (ARecurse)
        for (Integer i = 0; i < Count(); ++i)
            Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool ARecurse)
{
    FOwner->FView->CollapseNode(this);
    if (ARecurse)
        for (Integer i = 0; i < Count(); ++i)
            Item(i)->Collapse(true);
}

bool TTreeNode::IsVisible() const
{
    for (const TTreeNode* node = Parent(); node; node = node->Parent())
        if (!node->FExpanded)
            return false;
    return true;
}

bool TTreeNode::Selected() const
{
    return FOwner && FOwner->FView->FSelected == this;
}

void TTreeNode::MakeVisible()
{
    std::vector<TTreeNode*> ancestors;
    for (TTreeNode* node = Parent(); node; node = node->Parent())
        ancestors.push_back(node);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        FOwner->FView->ExpandNode(*it);
    FOwner->FView->MakeRowVisible(FOwner->FView->RowOf(this));
}

void TTreeNode::EditText()
{
    FOwner->FView->EditNode(this);
}

void TTreeNode::Delete()
{
    FOwner->Delete(this);
}

void TTreeNode::DeleteChildren()
{
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back().get());
}

void TTreeNode::AlphaSort(bool ARecurse)
{
    TCustomTreeView* view = FOwner->FView;
    view->SortChildren(this, view->AlphaCompare(), ARecurse);
}

// --- TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* AView) : FView(AView)
{
    FRoot.FOwner = this;
    FRoot.FExpanded = true;
}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::Item(Integer AIndex) const
{
    Integer seen = 0;
    std::function<TTreeNode*(const TTreeNode*)> walk = [&](const TTreeNode* AParent) -> TTreeNode* {
        for (const auto& child : AParent->FChildren) {
            if (seen++ == AIndex)
                return child.get();
            if (TTreeNode* found = walk(child.get()))
                return found;
        }
        return nullptr;
    };
    if (AIndex < 0 || AIndex >= FCount)
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    return walk(&FRoot);
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* AParent, size_t APosition, const std::string& AText)
{
    auto node = std::make_unique<TTreeNode>();
    node->FOwner = this;
    node->FParent = AParent;
    node->FText = AText;
    TTreeNode* result = node.get();
    APosition = std::min(APosition, AParent->FChildren.size());
    AParent->FChildren.insert(AParent->FChildren.begin() + static_cast<std::ptrdiff_t>(APosition), std::move(node));
    ++FCount;
    // A node added below the last shown row extends the rows, so a long run of additions stays linear.
    if (FView->FRowsValid && IsLastShownRow(result)) {
        FView->AppendRow(result);
        FView->StructureChanged(true);
    } else {
        FView->StructureChanged();
    }
    return result;
}

bool TTreeNodes::IsLastShownRow(const TTreeNode* ANode) const
{
    for (const TTreeNode* node = ANode; node != &FRoot; node = node->FParent) {
        const TTreeNode* parent = node->FParent;
        if (parent->FChildren.back().get() != node) return false;
        if (parent != &FRoot && !parent->FExpanded) return false;
    }
    return true;
}

TTreeNode* TTreeNodes::Add(TTreeNode* ASibling, const std::string& AText)
{
    TTreeNode* parent = ASibling ? ASibling->FParent : &FRoot;
    return InsertAt(parent, parent->FChildren.size(), AText);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* ASibling, const std::string& AText)
{
    return InsertAt(ASibling ? ASibling->FParent : &FRoot, 0, AText);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* AParent, const std::string& AText)
{
    TTreeNode* parent = AParent ? AParent : &FRoot;
    return InsertAt(parent, parent->FChildren.size(), AText);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* AParent, const std::string& AText)
{
    return InsertAt(AParent ? AParent : &FRoot, 0, AText);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* ASibling, const std::string& AText)
{
    if (!ASibling)
        return Add(nullptr, AText);
    return InsertAt(ASibling->FParent, static_cast<size_t>(ASibling->Index()), AText);
}

void TTreeNodes::Delete(TTreeNode* ANode)
{
    if (!ANode || ANode->FOwner != this || ANode == &FRoot)
        return;
    FView->NodeRemoving(ANode);
    FCount -= SubtreeSize(ANode);
    TTreeNode* parent = ANode->FParent;
    auto& siblings = parent->FChildren;
    siblings.erase(siblings.begin() + ANode->Index());
    FView->StructureChanged();
}

void TTreeNodes::Clear()
{
    FView->FClearing = true;
    while (!FRoot.FChildren.empty())
        Delete(FRoot.FChildren.back().get());
    FView->FClearing = false;
    FView->FTopRow = 0;
    FView->StructureChanged();
}

void TTreeNodes::EndUpdate()
{
    if (FUpdating > 0 && --FUpdating == 0)
        FView->StructureChanged();
}

// --- TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), FNodes(std::make_unique<TTreeNodes>(this))
{
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView()
{
    FLabelEdit.End(false);
}

void TCustomTreeView::SetImages(TCustomImageList* AValue)
{
    if (HandleAllocated()) {
        Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(AValue));
        return;
    }
    LinkImageList(this, FImages, AValue);
    StructureChanged();
}

void TCustomTreeView::SetStateImages(TCustomImageList* AValue)
{
    LinkImageList(this, FStateImages, AValue);
    StructureChanged();
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation AOperation)
{
    TCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (AComponent == FStateImages)
        FStateImages = nullptr;
}

void TCustomTreeView::SetShowLines(bool AValue)
{
    FShowLines = AValue;
    StructureChanged();
}

void TCustomTreeView::SetShowButtons(bool AValue)
{
    FShowButtons = AValue;
    StructureChanged();
}

void TCustomTreeView::SetShowRoot(bool AValue)
{
    FShowRoot = AValue;
    StructureChanged();
}

void TCustomTreeView::SetIndent(Integer AValue)
{
    if (AValue <= 0)
        return;
    FIndent = AValue;
    StructureChanged();
}

Integer TCustomTreeView::ItemHeight() const
{
    return std::max(17, FImages ? FImages->Height() + 1 : 0);
}

Integer TCustomTreeView::VisibleCount()
{
    return std::max(0, ClientHeight() / ItemHeight());
}

Integer TCustomTreeView::VisibleRowCount()
{
    EnsureRows();
    return static_cast<Integer>(FRows.size());
}

TTreeNode* TCustomTreeView::RowNode(Integer ARow)
{
    EnsureRows();
    return ARow >= 0 && ARow < static_cast<Integer>(FRows.size()) ? FRows[ARow] : nullptr;
}

Integer TCustomTreeView::RowOf(const TTreeNode* ANode)
{
    EnsureRows();
    auto at = std::find(FRows.begin(), FRows.end(), ANode);
    return at == FRows.end() ? -1 : static_cast<Integer>(at - FRows.begin());
}

int TCustomTreeView::NodeLeft(const TTreeNode* ANode) const
{
    return (ANode->Level() + (FShowRoot ? 1 : 0)) * FIndent;
}

int TCustomTreeView::TextWidth(const std::string& AText)
{
    TCanvas* canvas = FMeasure.Canvas();
    canvas->Font()->Assign(Font());
    return canvas->TextWidth(AText);
}

void TCustomTreeView::EnsureRows()
{
    if (FRowsValid)
        return;
    FRows.clear();
    FWidest = 0;
    std::function<void(const TTreeNode*)> add = [&](const TTreeNode* AParent) {
        for (const auto& child : AParent->FChildren) {
            AppendRow(child.get());
            if (child->FExpanded)
                add(child.get());
        }
    };
    add(&FNodes->FRoot);
    FRowsValid = true;
}

void TCustomTreeView::AppendRow(const TTreeNode* ANode)
{
    const int iconWidth = (FImages ? FImages->Width() + 2 : 0) + (FStateImages ? FStateImages->Width() : 0);
    FRows.push_back(const_cast<TTreeNode*>(ANode));
    FWidest = std::max(FWidest, NodeLeft(ANode) + iconWidth + TextWidth(ANode->FText) + 6);
}

void TCustomTreeView::StructureChanged(bool ARowsKept)
{
    if (!ARowsKept) FRowsValid = false;
    if (FNodes && FNodes->FUpdating > 0)
        return;
    UpdateScrollState();
    Invalidate();
}

void TCustomTreeView::UpdateScrollState()
{
    if (!HandleAllocated())
        return;
    EnsureRows();
    Integer rows = static_cast<Integer>(FRows.size());
    Integer visible = VisibleCount();
    FTopRow = std::clamp(FTopRow, 0, std::max(0, rows - std::max(1, visible)));
    FOffsetX = std::clamp(FOffsetX, 0, std::max(0, FWidest - ClientWidth()));
    SetHiddenScrollState(Handle(), SB_VERT, rows - 1, visible, FTopRow);
    SetHiddenScrollState(Handle(), SB_HORZ, FWidest - 1, ClientWidth(), FOffsetX);
}

void TCustomTreeView::SetOffsets(int ARow, int AX)
{
    int oldRow = FTopRow, oldX = FOffsetX;
    FTopRow = ARow;
    FOffsetX = AX;
    UpdateScrollState();
    if (FTopRow == oldRow && FOffsetX == oldX)
        return;
    FLabelEdit.End(true);
    Invalidate();
}

TTreeNode* TCustomTreeView::TopItem()
{
    return RowNode(FTopRow);
}

void TCustomTreeView::SetTopItem(TTreeNode* ANode)
{
    Integer row = ANode ? RowOf(ANode) : -1;
    if (row >= 0)
        SetOffsets(row, FOffsetX);
}

void TCustomTreeView::MakeRowVisible(Integer ARow)
{
    if (ARow < 0)
        return;
    Integer visible = std::max(1, VisibleCount());
    if (ARow < FTopRow)
        SetOffsets(ARow, FOffsetX);
    else if (ARow >= FTopRow + visible)
        SetOffsets(ARow - visible + 1, FOffsetX);
}

bool TCustomTreeView::ExpandNode(TTreeNode* ANode)
{
    if (ANode->FExpanded)
        return true;
    if (!ANode->HasChildren())
        return false;
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, ANode, allow);
    if (!allow)
        return false;
    if (ANode->FChildren.empty()) {
        // Nothing came: the button goes, as there is nothing to show.
        ANode->FHasChildren = false;
        StructureChanged();
        return false;
    }
    ANode->FExpanded = true;
    StructureChanged();
    if (OnExpanded)
        OnExpanded(this, ANode);
    return true;
}

bool TCustomTreeView::CollapseNode(TTreeNode* ANode)
{
    if (!ANode->FExpanded)
        return true;
    bool allow = true;
    if (OnCollapsing)
        OnCollapsing(this, ANode, allow);
    if (!allow)
        return false;
    ANode->FExpanded = false;
    if (FSelected && FSelected != ANode && IsInside(FSelected, ANode))
        SetSelected(ANode);
    StructureChanged();
    if (OnCollapsed)
        OnCollapsed(this, ANode);
    return true;
}

void TCustomTreeView::FullExpand()
{
    for (TTreeNode* node = FNodes->GetFirstNode(); node; node = node->GetNextSibling())
        node->Expand(true);
}

void TCustomTreeView::FullCollapse()
{
    for (TTreeNode* node = FNodes->GetFirstNode(); node; node = node->GetNextSibling())
        node->Collapse(true);
}

void TCustomTreeView::NodeRemoving(TTreeNode* ANode)
{
    FLabelEdit.End(false);
    if (OnDeletion) {
        std::function<void(TTreeNode*)> tell = [&](TTreeNode* ANodeGoing) {
            for (const auto& child : ANodeGoing->FChildren)
                tell(child.get());
            OnDeletion(this, ANodeGoing);
        };
        tell(ANode);
    }
    if (!FSelected || !IsInside(FSelected, ANode))
        return;
    if (FClearing) {
        FSelected = nullptr;
        return;
    }
    // The selection moves to a neighbour, as the platform does; nobody may refuse it.
    TTreeNode* next = ANode->GetNextSibling();
    if (!next)
        next = ANode->GetPrevSibling();
    if (!next)
        next = ANode->Parent();
    FSelected = next;
    if (OnChange)
        OnChange(this, next);
}

void TCustomTreeView::SetSelected(TTreeNode* ANode)
{
    if (ANode == FSelected)
        return;
    bool allow = true;
    if (OnChanging)
        OnChanging(this, ANode, allow);
    if (!allow)
        return;
    FSelected = ANode;
    if (ANode)
        ANode->MakeVisible();
    Invalidate();
    if (OnChange)
        OnChange(this, ANode);
}

TRect TCustomTreeView::NodeRect(TTreeNode* ANode, bool ATextOnly)
{
    Integer row = ANode ? RowOf(ANode) : -1;
    if (row < 0)
        return Rect(0, 0, 0, 0);
    int h = ItemHeight();
    int y = (row - FTopRow) * h;
    if (!ATextOnly)
        return Rect(0, y, ClientWidth(), y + h);
    int left = NodeLeft(ANode) - FOffsetX + (FStateImages ? FStateImages->Width() : 0) +
               (FImages ? FImages->Width() + 2 : 0);
    return Rect(left, y, left + TextWidth(ANode->FText) + 4, y + h);
}

THitTests TCustomTreeView::GetHitTestInfoAt(int AX, int AY)
{
    THitTests hits;
    if (AY < 0)
        hits.Include(htAbove);
    if (AY >= ClientHeight())
        hits.Include(htBelow);
    if (AX < 0)
        hits.Include(htToLeft);
    if (AX >= ClientWidth())
        hits.Include(htToRight);
    if (!hits.Empty())
        return hits;
    TTreeNode* node = RowNode(FTopRow + AY / ItemHeight());
    if (!node)
        return THitTests{htNowhere};
    int x = AX + FOffsetX;
    int left = NodeLeft(node);
    bool buttonCell = FShowButtons && node->HasChildren() && (node->Level() > 0 || FShowRoot);
    if (x < left)
        return buttonCell && x >= left - FIndent ? THitTests{htOnButton} : THitTests{htOnIndent};
    if (FStateImages) {
        if (x < left + FStateImages->Width())
            return THitTests{htOnItem, htOnStateIcon};
        left += FStateImages->Width();
    }
    if (FImages) {
        if (x < left + FImages->Width() + 2)
            return THitTests{htOnItem, htOnIcon};
        left += FImages->Width() + 2;
    }
    if (x < left + TextWidth(node->FText) + 4)
        return THitTests{htOnItem, htOnLabel};
    return THitTests{htOnRight};
}

TTreeNode* TCustomTreeView::GetNodeAt(int AX, int AY)
{
    if (AX < 0 || AY < 0 || AX >= ClientWidth() || AY >= ClientHeight())
        return nullptr;
    return RowNode(FTopRow + AY / ItemHeight());
}

// --- editing and sorting

void TCustomTreeView::EditNode(TTreeNode* ANode)
{
    if (FReadOnly || !ANode || !HandleAllocated())
        return;
    bool allow = true;
    if (OnEditing)
        OnEditing(this, ANode, allow);
    if (!allow)
        return;
    ANode->MakeVisible();
    TRect rect = NodeRect(ANode, true);
    rect.Right = std::max(rect.Right, rect.Left + 60);
    rect.Bottom = rect.Top + ItemHeight() + 2;
    FLabelEdit.Begin(this, rect, ANode->Text(), [this, ANode](bool AAccepted, const std::string& AText) {
        if (!AAccepted)
            return;
        std::string text = AText;
        if (OnEdited)
            OnEdited(this, ANode, text);
        ANode->SetText(text);
    });
}

std::function<int(TTreeNode*, TTreeNode*)> TCustomTreeView::AlphaCompare()
{
    return [this](TTreeNode* A, TTreeNode* B) {
        if (OnCompare) {
            Integer result = 0;
            OnCompare(this, A, B, result);
            return static_cast<int>(result);
        }
        const std::string& a = A->Text();
        const std::string& b = B->Text();
        for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
            int x = std::tolower(static_cast<unsigned char>(a[i]));
            int y = std::tolower(static_cast<unsigned char>(b[i]));
            if (x != y)
                return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
    };
}

void TCustomTreeView::SortChildren(TTreeNode* AParent, const std::function<int(TTreeNode*, TTreeNode*)>& ACompare,
                                   bool ARecurse)
{
    std::stable_sort(AParent->FChildren.begin(), AParent->FChildren.end(),
                     [&](const auto& a, const auto& b) { return ACompare(a.get(), b.get()) < 0; });
    if (ARecurse)
        for (const auto& child : AParent->FChildren)
            SortChildren(child.get(), ACompare, true);
    StructureChanged();
}

void TCustomTreeView::AlphaSort(bool ARecurse)
{
    SortChildren(&FNodes->FRoot, AlphaCompare(), ARecurse);
}

void TCustomTreeView::CustomSort(std::function<int(TTreeNode*, TTreeNode*)> ACompare, bool ARecurse)
{
    SortChildren(&FNodes->FRoot, ACompare ? ACompare : AlphaCompare(), ARecurse);
}

// --- input

void TCustomTreeView::KeyDown(WORD& AKey, TShiftState AShift)
{
    TCustomControl::KeyDown(AKey, AShift);
    Integer rows = VisibleRowCount();
    if (rows == 0)
        return;
    Integer row = FSelected ? RowOf(FSelected) : -1;
    Integer page = std::max(1, VisibleCount() - 1);
    auto go = [&](Integer ARow) { SetSelected(RowNode(std::clamp(ARow, 0, rows - 1))); };
    switch (AKey) {
    case VK_UP: go(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: go(row + 1); break;
    case VK_PRIOR: go(row - page); break;
    case VK_NEXT: go(row + page); break;
    case VK_HOME: go(0); break;
    case VK_END: go(rows - 1); break;
    case VK_LEFT:
        if (FSelected && FSelected->Expanded())
            CollapseNode(FSelected);
        else if (FSelected && FSelected->Parent())
            SetSelected(FSelected->Parent());
        break;
    case VK_RIGHT:
        if (FSelected && FSelected->Expanded())
            SetSelected(FSelected->GetFirstChild());
        else if (FSelected)
            ExpandNode(FSelected);
        break;
    case kVK_ADD:
        if (FSelected)
            ExpandNode(FSelected);
        break;
    case kVK_SUBTRACT:
        if (FSelected)
            CollapseNode(FSelected);
        break;
    case kVK_MULTIPLY:
        if (FSelected)
            FSelected->Expand(true);
        break;
    case lists::VK_F2: EditNode(FSelected); break;
    default: return;
    }
    AKey = 0;
}

void TCustomTreeView::KeyPress(char32_t& AKey)
{
    TCustomControl::KeyPress(AKey);
    if (AKey <= 0x20 || AKey == 0x7F || (AKey == '+' || AKey == '-' || AKey == '*'))
        return;
    bool fresh = false;
    std::string prefix = FTypeAhead.Add(AKey, fresh);
    Integer rows = VisibleRowCount();
    if (rows == 0)
        return;
    Integer row = FSelected ? RowOf(FSelected) : -1;
    Integer start = row < 0 ? 0 : (fresh ? row + 1 : row);
    for (Integer n = 0; n < rows; ++n) {
        TTreeNode* node = FRows[(start + n) % rows];
        if (StartsWithNoCase(node->Text(), prefix)) {
            SetSelected(node);
            return;
        }
    }
}

void TCustomTreeView::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (CanFocus() && !Focused())
        SetFocus();
    TCustomControl::MouseDown(AButton, AShift, AX, AY);
    if (AShift.Contains(ssDouble))
        return;
    THitTests hits = GetHitTestInfoAt(AX, AY);
    TTreeNode* node = GetNodeAt(AX, AY);
    if (!node)
        return;
    if (AButton == mbLeft && hits.Contains(htOnButton)) {
        if (node->Expanded())
            CollapseNode(node);
        else
            ExpandNode(node);
        return;
    }
    if (AButton == mbLeft && !hits.Contains(htOnIndent))
        SetSelected(node);
}

void TCustomTreeView::DblClick()
{
    TCustomControl::DblClick();
    TPoint at = ScreenToClient([] {
        TPoint p;
        GetCursorPos(p);
        return p;
    }());
    if (!GetHitTestInfoAt(at.X, at.Y).Contains(htOnItem) || !FSelected)
        return;
    if (FSelected->Expanded())
        CollapseNode(FSelected);
    else
        ExpandNode(FSelected);
}

bool TCustomTreeView::DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos)
{
    if (TCustomControl::DoMouseWheel(AShift, AWheelDelta, AMousePos))
        return true;
    SetOffsets(FTopRow - AWheelDelta / 120 * 3, FOffsetX);
    return true;
}

void TCustomTreeView::Resize()
{
    TCustomControl::Resize();
    FLabelEdit.End(true);
    UpdateScrollState();
    Invalidate();
}

void TCustomTreeView::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollState();
}

// --- painting

void TCustomTreeView::DrawNode(TTreeNode* ANode, Integer ARow)
{
    TCanvas* canvas = Canvas();
    int h = ItemHeight();
    int y = (ARow - FTopRow) * h;
    int middle = y + h / 2;
    int level = ANode->Level();
    int rootShift = FShowRoot ? 1 : 0;
    auto centreOf = [&](int ALevel) { return (ALevel + rootShift - 1) * FIndent + FIndent / 2 - FOffsetX; };
    int left = NodeLeft(ANode) - FOffsetX;
    if (FShowLines && (level > 0 || FShowRoot)) {
        TColor line = clBtnShadow;
        int x = centreOf(level);
        // The node's own stub, and its parent's line going on past it to later siblings.
        DottedLine(canvas, x, middle, left, middle, line);
        bool first = !ANode->GetPrevSibling() && level == 0;
        DottedLine(canvas, x, first ? middle : y, x, ANode->GetNextSibling() ? y + h : middle + 1, line);
        int ancestorLevel = level - 1;
        for (TTreeNode* up = ANode->Parent(); up; up = up->Parent(), --ancestorLevel)
            if (up->GetNextSibling() && (ancestorLevel > 0 || FShowRoot))
                DottedLine(canvas, centreOf(ancestorLevel), y, centreOf(ancestorLevel), y + h, line);
    }
    if (FShowButtons && ANode->HasChildren() && (level > 0 || FShowRoot)) {
        int x = centreOf(level);
        TRect box = Rect(x - 4, middle - 4, x + 5, middle + 5);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(box);
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(box);
        canvas->Pen()->SetColor(clWindowText);
        canvas->MoveTo(x - 2, middle);
        canvas->LineTo(x + 3, middle);
        if (!ANode->Expanded()) {
            canvas->MoveTo(x, middle - 2);
            canvas->LineTo(x, middle + 3);
        }
    }
    if (FStateImages) {
        if (ANode->StateIndex >= 0)
            FStateImages->Draw(canvas, left, y + (h - FStateImages->Height()) / 2, ANode->StateIndex);
        left += FStateImages->Width();
    }
    bool selected = ANode == FSelected;
    if (FImages) {
        selected ? QueryNodeSelectedImage(ANode) : QueryNodeImage(ANode);
        Integer image = selected && ANode->SelectedIndex >= 0 ? ANode->SelectedIndex : ANode->ImageIndex;
        if (image >= 0)
            FImages->Draw(canvas, left, y + (h - FImages->Height()) / 2, image);
        left += FImages->Width() + 2;
    }
    TRect label = Rect(left, y, left + TextWidth(ANode->Text()) + 4, y + h);
    TOwnerDrawState state;
    if (selected)
        state.Include(odSelected);
    if (selected && Focused())
        state.Include(odFocused);
    DrawPlainRow(canvas, label, ANode->Text(), state);
}

void TCustomTreeView::QueryNodeImage(TTreeNode* ANode)
{
    if (OnGetImageIndex)
        OnGetImageIndex(this, ANode);
}

void TCustomTreeView::QueryNodeSelectedImage(TTreeNode* ANode)
{
    if (OnGetSelectedIndex)
        OnGetSelectedIndex(this, ANode);
}

void TCustomTreeView::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    EnsureRows();
    Integer last = std::min(static_cast<Integer>(FRows.size()), FTopRow + VisibleCount() + 1);
    for (Integer row = FTopRow; row < last; ++row)
        DrawNode(FRows[row], row);
}

void TCustomTreeView::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case TVM_GETCOUNT: AMessage.Result = FNodes->Count(); return;
    case TVM_GETVISIBLECOUNT: AMessage.Result = VisibleCount(); return;
    case TVM_SETIMAGELIST:
        if (AMessage.WParam == TVSIL_NORMAL) {
            AMessage.Result = reinterpret_cast<LRESULT>(FImages);
            LinkImageList(this, FImages, reinterpret_cast<TCustomImageList*>(AMessage.LParam));
            StructureChanged();
        }
        return;
    case WM_VSCROLL:
        if (HandleAllocated())
            SetOffsets(ScrollMessageTarget(Handle(), SB_VERT, AMessage), FOffsetX);
        return;
    case WM_HSCROLL:
        if (HandleAllocated())
            SetOffsets(FTopRow, ScrollMessageTarget(Handle(), SB_HORZ, AMessage, 8));
        return;
    case WM_GETDLGCODE: AMessage.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_ERASEBKGND: AMessage.Result = 1; return;
    default: break;
    }
    TCustomControl::WndProc(AMessage);
}
