#include "platform/controls/lists/list_view.h"

#include "platform/win/keys.h"
#include "platform/win/scrolling.h"

#include <algorithm>

using namespace win;
using namespace lists;

namespace {

int CaptionCompare(const std::string& A, const std::string& B)
{
    size_t n = std::min(A.size(), B.size());
    for (size_t i = 0; i < n; ++i) {
        int a = std::tolower(static_cast<unsigned char>(A[i]));
        int b = std::tolower(static_cast<unsigned char>(B[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    return A.size() == B.size() ? 0 : A.size() < B.size() ? -1 : 1;
}

// Pixels rounded to whole steps, at least one step for any movement.
int WholeSteps(int APixels, int AStep)
{
    if (APixels == 0 || AStep <= 0)
        return 0;
    int steps = APixels / AStep;
    return steps != 0 ? steps : (APixels > 0 ? 1 : -1);
}


}  // namespace

// --- TListItems

Integer TListItems::Count() const
{
    return FView->FOwnerData ? FVirtualCount : static_cast<Integer>(FItems.size());
}

void TListItems::SetCount(Integer AValue)
{
    if (!FView->FOwnerData)
        return;
    FVirtualCount = std::max(0, AValue);
    FView->FSelection.erase(FView->FSelection.lower_bound(FVirtualCount), FView->FSelection.end());
    if (FView->FFocused >= FVirtualCount)
        FView->FFocused = -1;
    if (FView->FAnchor >= FVirtualCount)
        FView->FAnchor = -1;
    FView->ItemsChanged();
}

TListItem* TListItems::Item(Integer AIndex)
{
    if (AIndex < 0 || AIndex >= Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    if (!FView->FOwnerData)
        return FItems[AIndex].get();
    FScratch = TListItem();
    FScratch.FView = FView;
    FScratch.FIndex = AIndex;
    if (FView->OnData)
        FView->OnData(FView, &FScratch);
    return &FScratch;
}

TListItem* TListItems::Add()
{
    return Insert(static_cast<Integer>(FItems.size()));
}

TListItem* TListItems::Insert(Integer AIndex)
{
    if (FView->FOwnerData)
        throw EInvalidOperation("An owner-data list view holds no items of its own");
    if (AIndex < 0 || AIndex > static_cast<Integer>(FItems.size()))
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    auto item = std::make_unique<TListItem>();
    item->FView = FView;
    TListItem* result = item.get();
    FItems.insert(FItems.begin() + AIndex, std::move(item));
    Renumber(AIndex);
    FView->ItemInserted(AIndex);
    return result;
}

void TListItems::Delete(Integer AIndex)
{
    if (FView->FOwnerData || AIndex < 0 || AIndex >= static_cast<Integer>(FItems.size()))
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    FItems.erase(FItems.begin() + AIndex);
    Renumber(AIndex);
    FView->ItemDeleted(AIndex);
}

void TListItems::Clear()
{
    FItems.clear();
    FVirtualCount = 0;
    FView->FSelection.clear();
    FView->FFocused = -1;
    FView->FAnchor = -1;
    FView->ItemsChanged();
}

void TListItems::Renumber(Integer AFrom)
{
    for (size_t i = static_cast<size_t>(AFrom); i < FItems.size(); ++i)
        FItems[i]->FIndex = static_cast<Integer>(i);
}

// --- TCustomListView

TCustomListView::TCustomListView(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomListView::~TCustomListView()
{
    FLabelEdit.End(false);
}

TListColumn* TCustomListView::AddColumn(const std::string& ACaption, Integer AWidth)
{
    auto column = std::make_unique<TListColumn>();
    column->Caption = ACaption;
    column->Width = std::max(0, AWidth);
    column->DataIndex = ColumnCount();
    FColumns.push_back(std::move(column));
    ColumnsChanged();
    return FColumns.back().get();
}

void TCustomListView::ClearColumns()
{
    FColumns.clear();
    ColumnsChanged();
}

void TCustomListView::ColumnsChanged()
{
    if (FHeader) {
        std::vector<THeaderSection> sections;
        for (const auto& column : FColumns)
            sections.push_back({column->Caption, column->Width, column->Alignment, column->ImageIndex});
        FHeader->SetSections(std::move(sections));
    }
    ClampOffsets();
    UpdateHeader();
    UpdateScrollState();
    Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle AValue)
{
    if (FViewStyle == AValue)
        return;
    FLabelEdit.End(false);
    FViewStyle = AValue;
    FOffsetX = FOffsetY = 0;
    UpdateHeader();
    UpdateScrollState();
    Invalidate();
}

void TCustomListView::SetOwnerData(bool AValue)
{
    if (FOwnerData == AValue)
        return;
    FItems.Clear();
    FOwnerData = AValue;
    ItemsChanged();
}

void TCustomListView::SetShowColumnHeaders(bool AValue)
{
    if (FShowColumnHeaders == AValue)
        return;
    FShowColumnHeaders = AValue;
    UpdateHeader();
    UpdateScrollState();
    Invalidate();
}

void TCustomListView::SetMultiSelect(bool AValue)
{
    FMultiSelect = AValue;
    if (!FMultiSelect && FSelection.size() > 1) {
        Integer keep = SelectedIndex();
        FSelection.clear();
        FSelection.insert(keep);
        Invalidate();
    }
}

void TCustomListView::SetLargeImages(TCustomImageList* AValue)
{
    LinkImageList(this, FLargeImages, AValue);
    ItemsChanged();
}

void TCustomListView::SetSmallImages(TCustomImageList* AValue)
{
    LinkImageList(this, FSmallImages, AValue);
    ItemsChanged();
}

void TCustomListView::Notification(TComponent* AComponent, TOperation AOperation)
{
    TCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove)
        return;
    if (AComponent == FLargeImages)
        FLargeImages = nullptr;
    if (AComponent == FSmallImages)
        FSmallImages = nullptr;
    if (AComponent == FHeader)
        FHeader = nullptr;
}

void TCustomListView::SetListColumnWidth(Integer AValue)
{
    if (AValue <= 0 || AValue == FListColumnWidth)
        return;
    FListColumnWidth = AValue;
    ItemsChanged();
}

// --- selection

Integer TCustomListView::SelectedIndex()
{
    if (FFocused >= 0 && IsSelected(FFocused))
        return FFocused;
    return FSelection.empty() ? -1 : *FSelection.begin();
}

TListItem* TCustomListView::Selected()
{
    Integer index = SelectedIndex();
    return index >= 0 ? FItems.Item(index) : nullptr;
}

void TCustomListView::SetSelected(Integer AIndex, bool AValue)
{
    if (AIndex < 0 || AIndex >= FItems.Count() || IsSelected(AIndex) == AValue)
        return;
    if (AValue && !FMultiSelect)
        ClearSelection();
    if (AValue)
        FSelection.insert(AIndex);
    else
        FSelection.erase(AIndex);
    Invalidate();
    Changed(AIndex, AValue);
}

void TCustomListView::ClearSelection()
{
    if (FSelection.empty())
        return;
    std::set<Integer> was;
    was.swap(FSelection);
    // One change for the lot; only a handler of single items hears of each.
    if (OnSelectItem)
        for (Integer i : was)
            OnSelectItem(this, FItems.Item(i), false);
    if (OnChange)
        OnChange(this);
    Invalidate();
}

void TCustomListView::SetItemFocused(Integer AIndex)
{
    FFocused = AIndex >= 0 && AIndex < FItems.Count() ? AIndex : -1;
    Invalidate();
}

void TCustomListView::Changed(Integer AIndex, bool ASelected)
{
    if (OnSelectItem)
        OnSelectItem(this, FItems.Item(AIndex), ASelected);
    if (OnChange)
        OnChange(this);
}

void TCustomListView::SelectOnly(Integer AIndex)
{
    if (FSelection.size() == 1 && IsSelected(AIndex))
        return;
    ClearSelection();
    SetSelected(AIndex, true);
}

void TCustomListView::MoveFocus(Integer ATarget, TShiftState AShift)
{
    Integer count = FItems.Count();
    if (count == 0)
        return;
    ATarget = std::clamp(ATarget, 0, count - 1);
    if (FMultiSelect && AShift.Contains(ssShift)) {
        Integer anchor = FAnchor >= 0 ? FAnchor : ATarget;
        if (!AShift.Contains(ssCtrl))
            FSelection.clear();
        for (Integer i = std::min(anchor, ATarget); i <= std::max(anchor, ATarget); ++i)
            FSelection.insert(i);
        FAnchor = anchor;
        if (OnChange)
            OnChange(this);
    } else if (FMultiSelect && AShift.Contains(ssCtrl)) {
        // Ctrl moves the focus and leaves the selection.
    } else {
        SelectOnly(ATarget);
        FAnchor = ATarget;
    }
    FFocused = ATarget;
    MakeVisible(ATarget);
    Invalidate();
}

// --- geometry

Integer TCustomListView::RowHeight() const
{
    return std::max(17, FSmallImages ? FSmallImages->Height() + 1 : 0);
}

int TCustomListView::ColumnsWidth() const
{
    int total = 0;
    for (const auto& column : FColumns)
        total += column->Width;
    return total;
}

TCustomListView::TLayout TCustomListView::Layout()
{
    TLayout layout;
    TRect client = ClientRect();
    layout.Area = client;
    Integer count = FItems.Count();
    switch (FViewStyle) {
    case vsReport:
        if (FShowColumnHeaders)
            layout.Area.Top = std::min(client.Bottom, client.Top + kHeaderHeight);
        layout.CellWidth = FColumns.empty() ? client.Width() : ColumnsWidth();
        layout.CellHeight = RowHeight();
        layout.PerLine = 1;
        layout.Lines = count;
        break;
    case vsList:
        layout.CellWidth = FListColumnWidth;
        layout.CellHeight = RowHeight();
        layout.PerLine = std::max(1, client.Height() / layout.CellHeight);
        layout.Lines = (count + layout.PerLine - 1) / layout.PerLine;
        break;
    case vsIcon:
    case vsSmallIcon:
        if (FViewStyle == vsIcon) {
            layout.CellWidth = std::max(kIconCellWidth, FLargeImages ? FLargeImages->Width() + 12 : 0);
            layout.CellHeight = std::max(kIconCellHeight, FLargeImages ? FLargeImages->Height() + 32 : 0);
        } else {
            layout.CellWidth = kSmallCellWidth;
            layout.CellHeight = RowHeight();
        }
        layout.PerLine = std::max(1, client.Width() / layout.CellWidth);
        layout.Lines = (count + layout.PerLine - 1) / layout.PerLine;
        break;
    }
    return layout;
}

Integer TCustomListView::CountPerPage()
{
    TLayout layout = Layout();
    switch (FViewStyle) {
    case vsReport: return std::max(1, layout.Area.Height() / layout.CellHeight);
    case vsList: return layout.PerLine * std::max(1, layout.Area.Width() / layout.CellWidth);
    default: return layout.PerLine * std::max(1, layout.Area.Height() / layout.CellHeight);
    }
}

Integer TCustomListView::TopIndex()
{
    TLayout layout = Layout();
    switch (FViewStyle) {
    case vsReport: return FOffsetY;
    case vsList: return FOffsetX * layout.PerLine;
    default: return (FOffsetY / layout.CellHeight) * layout.PerLine;
    }
}

TRect TCustomListView::ItemRect(Integer AIndex)
{
    TLayout layout = Layout();
    switch (FViewStyle) {
    case vsReport:
        return Bounds(-FOffsetX, layout.Area.Top + (AIndex - FOffsetY) * layout.CellHeight, layout.CellWidth,
                      layout.CellHeight);
    case vsList:
        return Bounds((AIndex / layout.PerLine - FOffsetX) * layout.CellWidth,
                      (AIndex % layout.PerLine) * layout.CellHeight, layout.CellWidth, layout.CellHeight);
    default:
        return Bounds((AIndex % layout.PerLine) * layout.CellWidth - FOffsetX,
                      (AIndex / layout.PerLine) * layout.CellHeight - FOffsetY, layout.CellWidth, layout.CellHeight);
    }
}

Integer TCustomListView::ItemAtPos(TPoint APos)
{
    TLayout layout = Layout();
    if (APos.X < layout.Area.Left || APos.X >= layout.Area.Right || APos.Y < layout.Area.Top ||
        APos.Y >= layout.Area.Bottom)
        return -1;
    Integer index = -1;
    switch (FViewStyle) {
    case vsReport:
        if (APos.X + FOffsetX >= layout.CellWidth)
            return -1;
        index = FOffsetY + (APos.Y - layout.Area.Top) / layout.CellHeight;
        break;
    case vsList: {
        Integer row = APos.Y / layout.CellHeight;
        if (row >= layout.PerLine)
            return -1;
        index = (APos.X / layout.CellWidth + FOffsetX) * layout.PerLine + row;
        break;
    }
    default: {
        Integer column = (APos.X + FOffsetX) / layout.CellWidth;
        if (column >= layout.PerLine)
            return -1;
        index = ((APos.Y + FOffsetY) / layout.CellHeight) * layout.PerLine + column;
        break;
    }
    }
    return index >= 0 && index < FItems.Count() ? index : -1;
}

void TCustomListView::ClampOffsets()
{
    TLayout layout = Layout();
    int maxX = 0, maxY = 0;
    switch (FViewStyle) {
    case vsReport:
        maxX = std::max(0, layout.CellWidth - layout.Area.Width());
        maxY = std::max(0, FItems.Count() - std::max(1, layout.Area.Height() / layout.CellHeight));
        break;
    case vsList: maxX = std::max(0, layout.Lines - std::max(1, layout.Area.Width() / layout.CellWidth)); break;
    default: maxY = std::max(0, layout.Lines * layout.CellHeight - layout.Area.Height()); break;
    }
    FOffsetX = std::clamp(FOffsetX, 0, maxX);
    FOffsetY = std::clamp(FOffsetY, 0, maxY);
}

void TCustomListView::UpdateScrollState()
{
    if (!HandleAllocated())
        return;
    ClampOffsets();
    TLayout layout = Layout();
    HWND handle = Handle();
    switch (FViewStyle) {
    case vsReport:
        SetHiddenScrollState(handle, SB_VERT, FItems.Count() - 1, std::max(1, layout.Area.Height() / layout.CellHeight),
                             FOffsetY);
        SetHiddenScrollState(handle, SB_HORZ, layout.CellWidth - 1, layout.Area.Width(), FOffsetX);
        break;
    case vsList:
        SetHiddenScrollState(handle, SB_VERT, 0, 0, 0);
        SetHiddenScrollState(handle, SB_HORZ, layout.Lines - 1, std::max(1, layout.Area.Width() / layout.CellWidth),
                             FOffsetX);
        break;
    default:
        SetHiddenScrollState(handle, SB_VERT, layout.Lines * layout.CellHeight - 1, layout.Area.Height(), FOffsetY);
        SetHiddenScrollState(handle, SB_HORZ, layout.PerLine * layout.CellWidth - 1, layout.Area.Width(), 0);
        break;
    }
}

void TCustomListView::SetOffsets(int AX, int AY)
{
    int oldX = FOffsetX, oldY = FOffsetY;
    FOffsetX = AX;
    FOffsetY = AY;
    ClampOffsets();
    if (FOffsetX == oldX && FOffsetY == oldY)
        return;
    FLabelEdit.End(true);
    UpdateScrollState();
    UpdateHeader();
    Invalidate();
}

void TCustomListView::Scroll(int ADX, int ADY)
{
    TLayout layout = Layout();
    switch (FViewStyle) {
    case vsReport: SetOffsets(FOffsetX + ADX, FOffsetY + WholeSteps(ADY, layout.CellHeight)); break;
    case vsList: SetOffsets(FOffsetX + WholeSteps(ADX, layout.CellWidth), 0); break;
    default: SetOffsets(0, FOffsetY + ADY); break;
    }
}

void TCustomListView::MakeVisible(Integer AIndex)
{
    if (AIndex < 0 || AIndex >= FItems.Count())
        return;
    TLayout layout = Layout();
    switch (FViewStyle) {
    case vsReport: {
        int rows = std::max(1, layout.Area.Height() / layout.CellHeight);
        if (AIndex < FOffsetY)
            SetOffsets(FOffsetX, AIndex);
        else if (AIndex >= FOffsetY + rows)
            SetOffsets(FOffsetX, AIndex - rows + 1);
        break;
    }
    case vsList: {
        int column = AIndex / layout.PerLine;
        int columns = std::max(1, layout.Area.Width() / layout.CellWidth);
        if (column < FOffsetX)
            SetOffsets(column, 0);
        else if (column >= FOffsetX + columns)
            SetOffsets(column - columns + 1, 0);
        break;
    }
    default: {
        int top = (AIndex / layout.PerLine) * layout.CellHeight;
        if (top < FOffsetY)
            SetOffsets(0, top);
        else if (top + layout.CellHeight > FOffsetY + layout.Area.Height())
            SetOffsets(0, top + layout.CellHeight - layout.Area.Height());
        break;
    }
    }
}

void TCustomListView::UpdateHeader()
{
    if (!HandleAllocated())
        return;
    bool wanted = FViewStyle == vsReport && FShowColumnHeaders;
    if (!wanted) {
        if (FHeader)
            FHeader->Hide();
        return;
    }
    if (!FHeader) {
        FHeader = new TListHeader(this);
        std::vector<THeaderSection> sections;
        for (const auto& column : FColumns)
            sections.push_back({column->Caption, column->Width, column->Alignment, column->ImageIndex});
        FHeader->SetSections(std::move(sections));
        FHeader->SetBounds(-FOffsetX, 0, std::max(ClientWidth() + FOffsetX, ColumnsWidth()), kHeaderHeight);
        FHeader->SetParent(this);
    }
    // The header moves with the items; a hook on its window may widen it.
    FHeader->SetBounds(-FOffsetX, 0, std::max(ClientWidth() + FOffsetX, ColumnsWidth()), kHeaderHeight);
    FHeader->Show();
}

void TCustomListView::HeaderNotify(const NMHEADER& ANotify, TMessage& AMessage)
{
    int item = ANotify.iItem;
    if (item < 0 || item >= ColumnCount())
        return;
    switch (ANotify.hdr.code) {
    case HDN_TRACK:
    case HDN_ENDTRACK:
        FColumns[item]->Width = std::max(0, ANotify.cxy);
        ClampOffsets();
        UpdateScrollState();
        if (ANotify.hdr.code == HDN_ENDTRACK)
            UpdateHeader();
        Invalidate();
        break;
    case HDN_ITEMCLICK:
        if (OnColumnClick)
            OnColumnClick(this, FColumns[item].get());
        break;
    case HDN_ENDDRAG: {
        // Columns stay in display order: the column moves, its data stays with it.
        int target = std::clamp(ANotify.cxy, 0, ColumnCount() - 1);
        auto column = std::move(FColumns[item]);
        FColumns.erase(FColumns.begin() + item);
        FColumns.insert(FColumns.begin() + target, std::move(column));
        ColumnsChanged();
        AMessage.Result = 1;  // the sections were rebuilt in the new order
        break;
    }
    default: break;
    }
}

void TCustomListView::ItemsChanged()
{
    ClampOffsets();
    UpdateScrollState();
    Invalidate();
}

void TCustomListView::ItemInserted(Integer AIndex)
{
    std::set<Integer> moved;
    for (Integer i : FSelection)
        moved.insert(i >= AIndex ? i + 1 : i);
    FSelection = std::move(moved);
    if (FFocused >= AIndex)
        ++FFocused;
    if (FAnchor >= AIndex)
        ++FAnchor;
    ItemsChanged();
}

void TCustomListView::ItemDeleted(Integer AIndex)
{
    FLabelEdit.End(false);
    std::set<Integer> moved;
    for (Integer i : FSelection)
        if (i != AIndex)
            moved.insert(i > AIndex ? i - 1 : i);
    FSelection = std::move(moved);
    for (Integer* index : {&FFocused, &FAnchor})
        if (*index == AIndex)
            *index = -1;
        else if (*index > AIndex)
            --*index;
    ItemsChanged();
}

// --- sorting and editing

void TCustomListView::SortWith(const std::function<int(TListItem*, TListItem*)>& ACompare)
{
    if (FOwnerData)
        return;
    auto& items = FItems.FItems;
    std::vector<TListItem*> selected;
    for (Integer i : FSelection)
        selected.push_back(items[i].get());
    TListItem* focused = FFocused >= 0 ? items[FFocused].get() : nullptr;
    std::stable_sort(items.begin(), items.end(),
                     [&](const auto& a, const auto& b) { return ACompare(a.get(), b.get()) < 0; });
    FItems.Renumber(0);
    FSelection.clear();
    for (TListItem* item : selected)
        FSelection.insert(item->Index());
    FFocused = focused ? focused->Index() : -1;
    Invalidate();
}

void TCustomListView::AlphaSort()
{
    SortWith([this](TListItem* A, TListItem* B) {
        if (!OnCompare)
            return CaptionCompare(A->Caption, B->Caption);
        Integer result = 0;
        OnCompare(this, A, B, result);
        return result;
    });
}

void TCustomListView::CustomSort(std::function<int(TListItem*, TListItem*)> ACompare)
{
    if (ACompare)
        SortWith(ACompare);
    else
        AlphaSort();
}

std::string TCustomListView::CaptionOf(Integer AIndex)
{
    return FItems.Item(AIndex)->Caption;
}

void TCustomListView::EditCaption(Integer AIndex)
{
    if (FReadOnly || AIndex < 0 || AIndex >= FItems.Count() || !HandleAllocated())
        return;
    bool allow = true;
    if (OnEditing)
        OnEditing(this, FItems.Item(AIndex), allow);
    if (!allow)
        return;
    MakeVisible(AIndex);
    TRect rect = ItemRect(AIndex);
    if (FViewStyle == vsReport && !FColumns.empty())
        rect.Right = rect.Left + FColumns[0]->Width;
    if (FViewStyle == vsIcon)
        rect.Top = rect.Bottom - RowHeight() - 2;
    rect.Bottom = rect.Top + RowHeight() + 2;
    FLabelEdit.Begin(this, rect, CaptionOf(AIndex), [this, AIndex](bool AAccepted, const std::string& AText) {
        if (!AAccepted || AIndex >= FItems.Count())
            return;
        std::string text = AText;
        TListItem* item = FItems.Item(AIndex);
        if (OnEdited)
            OnEdited(this, item, text);
        if (!FOwnerData)
            item->Caption = text;
        Invalidate();
    });
}

// --- input

void TCustomListView::KeyDown(WORD& AKey, TShiftState AShift)
{
    TCustomControl::KeyDown(AKey, AShift);
    TLayout layout = Layout();
    Integer from = std::max(FFocused, 0);
    Integer page = std::max(1, CountPerPage());
    Integer across = FViewStyle == vsList ? layout.PerLine : 1;       // Left and Right
    Integer down = FViewStyle == vsList || FViewStyle == vsReport ? 1 : layout.PerLine;  // Up and Down
    switch (AKey) {
    case VK_UP: MoveFocus(from - down, AShift); break;
    case VK_DOWN: MoveFocus(FFocused < 0 ? 0 : from + down, AShift); break;
    case VK_LEFT:
        if (FViewStyle == vsReport)
            SetOffsets(FOffsetX - 16, FOffsetY);
        else
            MoveFocus(from - across, AShift);
        break;
    case VK_RIGHT:
        if (FViewStyle == vsReport)
            SetOffsets(FOffsetX + 16, FOffsetY);
        else
            MoveFocus(from + across, AShift);
        break;
    case VK_PRIOR: MoveFocus(from - page, AShift); break;
    case VK_NEXT: MoveFocus(from + page, AShift); break;
    case VK_HOME: MoveFocus(0, AShift); break;
    case VK_END: MoveFocus(FItems.Count() - 1, AShift); break;
    case lists::VK_F2: EditCaption(FFocused); break;
    default: return;
    }
    AKey = 0;
}

void TCustomListView::KeyPress(char32_t& AKey)
{
    TCustomControl::KeyPress(AKey);
    if (AKey < 0x20 || AKey == 0x7F)
        return;
    bool fresh = false;
    std::string prefix = FTypeAhead.Add(AKey, fresh);
    Integer count = FItems.Count();
    if (count == 0)
        return;
    Integer start = FFocused < 0 ? 0 : (fresh ? FFocused + 1 : FFocused) % count;
    Integer found = -1;
    if (FOwnerData) {
        if (OnDataFind)
            OnDataFind(this, prefix, start, found);
    } else {
        for (Integer n = 0; n < count && found < 0; ++n)
            if (StartsWithNoCase(FItems.FItems[(start + n) % count]->Caption, prefix))
                found = (start + n) % count;
    }
    if (found >= 0 && found < count)
        MoveFocus(found, {});
}

void TCustomListView::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (CanFocus() && !Focused())
        SetFocus();
    TCustomControl::MouseDown(AButton, AShift, AX, AY);
    if (AShift.Contains(ssDouble))
        return;
    Integer index = ItemAtPos({AX, AY});
    if (index < 0) {
        if (AButton == mbLeft && !AShift.Contains(ssCtrl) && !AShift.Contains(ssShift))
            ClearSelection();
        return;
    }
    if (AButton != mbLeft) {
        if (!IsSelected(index))
            MoveFocus(index, {});
        return;
    }
    if (FMultiSelect && AShift.Contains(ssCtrl) && !AShift.Contains(ssShift)) {
        SetSelected(index, !IsSelected(index));
        FFocused = index;
        FAnchor = index;
        Invalidate();
        return;
    }
    MoveFocus(index, AShift);
}

bool TCustomListView::DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos)
{
    if (TCustomControl::DoMouseWheel(AShift, AWheelDelta, AMousePos))
        return true;
    int notches = AWheelDelta / 120;
    TLayout layout = Layout();
    switch (FViewStyle) {
    case vsReport: SetOffsets(FOffsetX, FOffsetY - notches * 3); break;
    case vsList: SetOffsets(FOffsetX - notches, 0); break;
    default: SetOffsets(0, FOffsetY - notches * layout.CellHeight); break;
    }
    return true;
}

void TCustomListView::Resize()
{
    TCustomControl::Resize();
    FLabelEdit.End(true);
    ClampOffsets();
    UpdateHeader();
    UpdateScrollState();
    Invalidate();
}

void TCustomListView::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateHeader();
    UpdateScrollState();
}

// --- painting

void TCustomListView::DrawItem(TListItem* AItem, const TRect& ARect, TOwnerDrawState AState)
{
    TCanvas* canvas = Canvas();
    bool selected = AState.Contains(odSelected);
    TColor back = selected ? clHighlight : Color();
    canvas->Font()->SetColor(selected ? clHighlightText : clWindowText);
    TCustomImageList* images = FViewStyle == vsIcon ? FLargeImages : FSmallImages;
    int imageWidth = images && AItem->ImageIndex >= 0 ? images->Width() + 2 : 0;
    if (FViewStyle == vsIcon) {
        if (images && AItem->ImageIndex >= 0)
            images->Draw(canvas, ARect.Left + (ARect.Width() - images->Width()) / 2, ARect.Top + 2, AItem->ImageIndex);
        TRect label = Rect(ARect.Left + 1, ARect.Bottom - RowHeight() - 2, ARect.Right - 1, ARect.Bottom - 2);
        canvas->Brush()->SetColor(back);
        canvas->FillRect(label);
        canvas->Brush()->SetStyle(bsClear);
        DrawAlignedText(canvas, label, AItem->Caption, taCenter);
        canvas->Brush()->SetStyle(bsSolid);
        return;
    }
    int firstWidth = FViewStyle == vsReport && !FColumns.empty() ? FColumns[0]->Width : ARect.Width();
    TRect first = Rect(ARect.Left, ARect.Top, ARect.Left + firstWidth, ARect.Bottom);
    TRect highlight = FViewStyle == vsReport ? ARect : first;
    canvas->Brush()->SetColor(back);
    canvas->FillRect(Rect(highlight.Left + imageWidth, highlight.Top, highlight.Right, highlight.Bottom));
    if (imageWidth)
        images->Draw(canvas, first.Left + 1, first.Top + (first.Height() - images->Height()) / 2, AItem->ImageIndex);
    canvas->Brush()->SetStyle(bsClear);
    if (FViewStyle != vsReport || FColumns.empty()) {
        TRect text = Rect(first.Left + imageWidth + 2, first.Top, first.Right - 2, first.Bottom);
        DrawAlignedText(canvas, text, AItem->Caption, taLeftJustify);
    } else {
        int left = ARect.Left;
        for (size_t c = 0; c < FColumns.size(); ++c) {
            const TListColumn& column = *FColumns[c];
            int data = column.DataIndex;
            const std::string* text = data == 0 ? &AItem->Caption
                                     : data - 1 < static_cast<int>(AItem->SubItems.size()) ? &AItem->SubItems[data - 1]
                                                                                        : nullptr;
            int inset = c == 0 ? imageWidth + 2 : 6;
            if (text)
                DrawAlignedText(canvas, Rect(left + inset, ARect.Top, left + column.Width - 4, ARect.Bottom), *text,
                             column.Alignment);
            left += column.Width;
        }
    }
    canvas->Brush()->SetStyle(bsSolid);
    if (AState.Contains(odFocused)) {
        TColor dot = selected ? clHighlightText : clWindowText;
        for (int x = highlight.Left + imageWidth; x < highlight.Right; x += 2) {
            canvas->SetPixels(x, highlight.Top, dot);
            canvas->SetPixels(x, highlight.Bottom - 1, dot);
        }
    }
}

void TCustomListView::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    TLayout layout = Layout();
    Integer count = FItems.Count();
    Integer first = 0, last = 0;  // only what is on screen is asked for
    switch (FViewStyle) {
    case vsReport:
        first = FOffsetY;
        last = FOffsetY + layout.Area.Height() / layout.CellHeight + 1;
        break;
    case vsList:
        first = FOffsetX * layout.PerLine;
        last = first + (layout.Area.Width() / layout.CellWidth + 1) * layout.PerLine;
        break;
    default:
        first = (FOffsetY / layout.CellHeight) * layout.PerLine;
        last = ((FOffsetY + layout.Area.Height() - 1) / layout.CellHeight + 1) * layout.PerLine;
        break;
    }
    last = std::min(last, count);
    bool focused = Focused();
    for (Integer i = std::max(first, 0); i < last; ++i) {
        TOwnerDrawState state;
        if (IsSelected(i))
            state.Include(odSelected);
        if (focused && i == FFocused)
            state.Include(odFocused);
        DrawItem(FItems.Item(i), ItemRect(i), state);
    }
}

void TCustomListView::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case LVM_GETITEMCOUNT: AMessage.Result = FItems.Count(); return;
    case LVM_GETCOUNTPERPAGE: AMessage.Result = CountPerPage(); return;
    case LVM_GETTOPINDEX: AMessage.Result = TopIndex(); return;
    case LVM_GETHEADER:
        AMessage.Result = FHeader && FHeader->HandleAllocated() ? reinterpret_cast<LRESULT>(FHeader->Handle()) : 0;
        return;
    case LVM_GETITEMRECT: {
        auto index = static_cast<Integer>(AMessage.WParam);
        auto* rect = reinterpret_cast<RECT*>(AMessage.LParam);
        AMessage.Result = rect && index >= 0 && index < FItems.Count();
        if (AMessage.Result)
            *rect = ItemRect(index);
        return;
    }
    case LVM_SCROLL:
        Scroll(static_cast<int>(static_cast<intptr_t>(AMessage.WParam)), static_cast<int>(AMessage.LParam));
        AMessage.Result = TRUE;
        return;
    case WM_VSCROLL:
        if (FViewStyle != vsList && HandleAllocated()) {
            int line = FViewStyle == vsReport ? 1 : Layout().CellHeight;
            SetOffsets(FOffsetX, ScrollMessageTarget(Handle(), SB_VERT, AMessage, line));
        }
        return;
    case WM_HSCROLL:
        if (HandleAllocated() && FViewStyle != vsIcon && FViewStyle != vsSmallIcon)
            SetOffsets(ScrollMessageTarget(Handle(), SB_HORZ, AMessage, FViewStyle == vsList ? 1 : 16), FOffsetY);
        return;
    case WM_NOTIFY: {
        auto* notify = reinterpret_cast<const NMHEADER*>(AMessage.LParam);
        if (notify && FHeader && FHeader->HandleAllocated() && notify->hdr.hwndFrom == FHeader->Handle()) {
            HeaderNotify(*notify, AMessage);
            return;
        }
        break;
    }
    case WM_GETDLGCODE: AMessage.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_ERASEBKGND: AMessage.Result = 1; return;
    default: break;
    }
    TCustomControl::WndProc(AMessage);
}
