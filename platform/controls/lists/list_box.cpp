#include "platform/controls/lists/list_box.h"
#include "platform/gdi/dc.h"

#include "platform/win/painting.h"
#include "platform/win/scrolling.h"

#include <algorithm>
#include <cctype>
#include <numeric>

using namespace win;
using namespace lists;

namespace {

bool LessNoCase(const std::string& A, const std::string& B)
{
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

LPARAM TextParam(const std::string& AText)
{
    return reinterpret_cast<LPARAM>(AText.c_str());
}

}  // namespace

// --- TListBoxStrings

Integer TListBoxStrings::Count() const
{
    return FListBox->Count();
}

const std::string& TListBoxStrings::Strings(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    return FListBox->FItems[AIndex].Text;
}

void TListBoxStrings::SetStrings(Integer AIndex, const std::string& AValue)
{
    // As the platform does it: the old item goes and the new one comes at the same place, with its object.
    void* object = Objects(AIndex);
    bool selected = FListBox->Selected(AIndex);
    Integer focus = FListBox->ItemIndex();
    Delete(AIndex);
    InsertObject(AIndex, AValue, object);
    if (selected)
        FListBox->SetSelected(AIndex, true);
    if (focus == AIndex)
        FListBox->SetItemIndex(AIndex);
}

void* TListBoxStrings::Objects(Integer AIndex) const
{
    Strings(AIndex);  // checks the index
    return FListBox->FItems[AIndex].Object;
}

void TListBoxStrings::SetObjects(Integer AIndex, void* AValue)
{
    Strings(AIndex);
    FListBox->FItems[AIndex].Object = AValue;
}

Integer TListBoxStrings::AddObject(const std::string& AText, void* AObject)
{
    auto index = static_cast<Integer>(FListBox->Perform(LB_ADDSTRING, 0, TextParam(AText)));
    if (index >= 0 && index < Count())
        FListBox->FItems[index].Object = AObject;
    return index;
}

void TListBoxStrings::InsertObject(Integer AIndex, const std::string& AText, void* AObject)
{
    if (AIndex < 0 || AIndex > Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    auto index =
        static_cast<Integer>(FListBox->Perform(LB_INSERTSTRING, static_cast<WPARAM>(AIndex), TextParam(AText)));
    if (index >= 0 && index < Count())
        FListBox->FItems[index].Object = AObject;
}

void TListBoxStrings::Delete(Integer AIndex)
{
    Strings(AIndex);
    FListBox->Perform(LB_DELETESTRING, static_cast<WPARAM>(AIndex), 0);
}

void TListBoxStrings::Clear()
{
    FListBox->Perform(LB_RESETCONTENT, 0, 0);
}

Integer TListBoxStrings::IndexOf(const std::string& AText) const
{
    for (Integer i = 0; i < Count(); ++i)
        if (FListBox->FItems[i].Text.size() == AText.size() && StartsWithNoCase(FListBox->FItems[i].Text, AText))
            return i;
    return -1;
}

// --- TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateWnd()
{
    TCustomControl::CreateWnd();
    // An owner-drawn list asks its owner once for the height every item has.
    if (FStyle == lbOwnerDrawFixed && OnMeasureItem) {
        Integer height = FItemHeight;
        OnMeasureItem(this, 0, height);
        SetItemHeight(height);
    }
    UpdateScrollState();
}

void TCustomListBox::SetStyle(TListBoxStyle AValue)
{
    if (FStyle == AValue)
        return;
    FStyle = AValue;
    Invalidate();
}

void TCustomListBox::SetSorted(bool AValue)
{
    if (FSorted == AValue)
        return;
    FSorted = AValue;
    if (!FSorted || FItems.size() < 2)
        return;
    std::vector<Integer> order(FItems.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](Integer a, Integer b) { return LessNoCase(FItems[a].Text, FItems[b].Text); });
    std::vector<Integer> newPlace(FItems.size());
    std::vector<TItem> sorted;
    sorted.reserve(FItems.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newPlace[order[i]] = static_cast<Integer>(i);
        sorted.push_back(std::move(FItems[order[i]]));
    }
    FItems = std::move(sorted);
    std::set<Integer> selection;
    for (Integer i : FSelection)
        selection.insert(newPlace[i]);
    FSelection = std::move(selection);
    if (FItemIndex >= 0)
        FItemIndex = newPlace[FItemIndex];
    if (FAnchor >= 0)
        FAnchor = newPlace[FAnchor];
    Invalidate();
}

void TCustomListBox::SetItemHeight(Integer AValue)
{
    // A skin may give 0; the list keeps a usable height rather than dividing by it.
    if (AValue <= 0 || AValue == FItemHeight)
        return;
    FItemHeight = AValue;
    UpdateScrollState();
    Invalidate();
}

void TCustomListBox::SetColumns(Integer AValue)
{
    AValue = std::max(0, AValue);
    if (FColumns == AValue)
        return;
    FColumns = AValue;
    if (HandleAllocated()) {
        // The bar that carries the state changes: vertical rows for one column, horizontal columns otherwise.
        SetHiddenScrollState(Handle(), FColumns > 0 ? SB_VERT : SB_HORZ, 0, 0, 0);
    }
    FTopIndex = 0;
    UpdateScrollState();
    Invalidate();
}

void TCustomListBox::SetMultiSelect(bool AValue)
{
    if (FMultiSelect == AValue)
        return;
    FMultiSelect = AValue;
    FSelection.clear();
    if (FMultiSelect && FItemIndex >= 0)
        FSelection.insert(FItemIndex);
    Invalidate();
}

void TCustomListBox::SetItemIndex(Integer AValue)
{
    if (AValue < -1 || AValue >= Count())
        AValue = -1;
    if (FItemIndex == AValue)
        return;
    InvalidateItem(FItemIndex);
    FItemIndex = AValue;
    if (AValue >= 0) {
        FAnchor = AValue;
        MakeVisible(AValue);
    }
    InvalidateItem(FItemIndex);
}

bool TCustomListBox::Selected(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    return FMultiSelect ? FSelection.count(AIndex) > 0 : AIndex == FItemIndex;
}

void TCustomListBox::SetSelected(Integer AIndex, bool AValue)
{
    if (AIndex < 0 || AIndex >= Count())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    if (!FMultiSelect) {
        if (AValue)
            SetItemIndex(AIndex);
        else if (FItemIndex == AIndex)
            SetItemIndex(-1);
        return;
    }
    if (AValue)
        FSelection.insert(AIndex);
    else
        FSelection.erase(AIndex);
    InvalidateItem(AIndex);
}

Integer TCustomListBox::SelCount() const
{
    return FMultiSelect ? static_cast<Integer>(FSelection.size()) : -1;
}

void TCustomListBox::ClearSelection()
{
    if (!FMultiSelect) {
        SetItemIndex(-1);
        return;
    }
    for (Integer i : FSelection)
        InvalidateItem(i);
    FSelection.clear();
}

Integer TCustomListBox::RowsPerPage()
{
    return std::max(1, ClientHeight() / FItemHeight);
}

Integer TCustomListBox::VisibleColumns()
{
    return FColumns > 0 ? FColumns : 1;
}

Integer TCustomListBox::MaxTopIndex()
{
    Integer rows = RowsPerPage();
    if (FColumns == 0)
        return std::max(0, Count() - rows);
    Integer columns = (Count() + rows - 1) / rows;
    return std::max(0, columns - FColumns) * rows;
}

void TCustomListBox::SetTopIndex(Integer AValue)
{
    AValue = std::clamp(AValue, 0, MaxTopIndex());
    if (FColumns > 0)
        AValue -= AValue % RowsPerPage();
    if (AValue == FTopIndex)
        return;
    const Integer moved = FTopIndex - AValue;
    FTopIndex = AValue;
    UpdateScrollState();
    // Less than a page in one column: the rows still in view move on screen and only the new ones are painted
    // (every row paints its whole rectangle, so a moved row looks as a repainted one would).
    if (FColumns == 0 && HandleAllocated() && std::abs(moved) < RowsPerPage()) {
        const TRect client = ClientRect();
        ScrollWindowEx(Handle(), 0, moved * FItemHeight, &client, &client, nullptr, nullptr, SW_INVALIDATE);
    } else {
        Invalidate();
    }
}

void TCustomListBox::UpdateScrollState()
{
    if (!HandleAllocated())
        return;
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    Integer rows = RowsPerPage();
    if (FColumns == 0) {
        SetHiddenScrollState(Handle(), SB_VERT, Count() - 1, rows, FTopIndex);
    } else {
        Integer columns = (Count() + rows - 1) / rows;
        SetHiddenScrollState(Handle(), SB_HORZ, columns - 1, FColumns, FTopIndex / rows);
    }
}

TRect TCustomListBox::ItemRect(Integer AIndex)
{
    Integer width = ClientWidth();
    if (FColumns == 0)
        return Bounds(0, (AIndex - FTopIndex) * FItemHeight, width, FItemHeight);
    Integer rows = RowsPerPage();
    Integer columnWidth = std::max(1, width / FColumns);
    Integer column = AIndex / rows - FTopIndex / rows;
    return Bounds(column * columnWidth, (AIndex % rows) * FItemHeight, columnWidth, FItemHeight);
}

Integer TCustomListBox::ItemAtPos(TPoint APos, bool AExisting)
{
    Integer count = Count();
    Integer miss = AExisting ? -1 : count;
    if (APos.X < 0 || APos.Y < 0 || APos.X >= ClientWidth() || APos.Y >= ClientHeight())
        return miss;
    Integer index;
    if (FColumns == 0) {
        index = FTopIndex + APos.Y / FItemHeight;
    } else {
        Integer rows = RowsPerPage();
        Integer row = APos.Y / FItemHeight;
        if (row >= rows)
            return miss;
        index = FTopIndex + (APos.X / std::max(1, ClientWidth() / FColumns)) * rows + row;
    }
    return index < count ? index : miss;
}

Integer TCustomListBox::FindString(const std::string& APrefix, Integer AStart) const
{
    Integer count = Count();
    if (count == 0)
        return -1;
    Integer first = AStart < 0 || AStart >= count ? 0 : AStart + 1;
    for (Integer n = 0; n < count; ++n) {
        Integer i = (first + n) % count;
        if (StartsWithNoCase(FItems[i].Text, APrefix))
            return i;
    }
    return -1;
}

void TCustomListBox::MakeVisible(Integer AIndex)
{
    if (AIndex < 0 || !HandleAllocated())
        return;
    Integer rows = RowsPerPage();
    if (FColumns == 0) {
        if (AIndex < FTopIndex)
            SetTopIndex(AIndex);
        else if (AIndex >= FTopIndex + rows)
            SetTopIndex(AIndex - rows + 1);
        return;
    }
    Integer column = AIndex / rows;
    Integer left = FTopIndex / rows;
    if (column < left)
        SetTopIndex(column * rows);
    else if (column >= left + FColumns)
        SetTopIndex((column - FColumns + 1) * rows);
}

Integer TCustomListBox::InsertItem(Integer AIndex, const std::string& AText)
{
    if (AIndex < 0 || AIndex > Count())
        AIndex = Count();
    FItems.insert(FItems.begin() + AIndex, TItem{AText, nullptr});
    ShiftSelection(AIndex, +1);
    UpdateScrollState();
    Invalidate();
    return AIndex;
}

void TCustomListBox::DeleteItem(Integer AIndex)
{
    FItems.erase(FItems.begin() + AIndex);
    FSelection.erase(AIndex);
    if (FItemIndex == AIndex)
        FItemIndex = -1;
    if (FAnchor == AIndex)
        FAnchor = -1;
    ShiftSelection(AIndex + 1, -1);
    UpdateScrollState();
    Invalidate();
}

void TCustomListBox::ResetContent()
{
    FItems.clear();
    FSelection.clear();
    FItemIndex = -1;
    FAnchor = -1;
    FTopIndex = 0;
    UpdateScrollState();
    Invalidate();
}

Integer TCustomListBox::SortedPosition(const std::string& AText) const
{
    auto at = std::upper_bound(FItems.begin(), FItems.end(), AText,
                               [](const std::string& text, const TItem& item) { return LessNoCase(text, item.Text); });
    return static_cast<Integer>(at - FItems.begin());
}

void TCustomListBox::ShiftSelection(Integer AFrom, int ADelta)
{
    std::set<Integer> moved;
    for (Integer i : FSelection)
        moved.insert(i >= AFrom ? i + ADelta : i);
    FSelection = std::move(moved);
    if (FItemIndex >= AFrom)
        FItemIndex += ADelta;
    if (FAnchor >= AFrom)
        FAnchor += ADelta;
}

void TCustomListBox::InvalidateItem(Integer AIndex)
{
    if (AIndex < 0 || !HandleAllocated())
        return;
    RECT rect = ItemRect(AIndex);
    InvalidateRect(Handle(), &rect, FALSE);
}

void TCustomListBox::SelectRange(Integer AFrom, Integer ATo)
{
    if (AFrom > ATo)
        std::swap(AFrom, ATo);
    for (Integer i = std::max(0, AFrom); i <= ATo && i < Count(); ++i)
        FSelection.insert(i);
    Invalidate();
}

void TCustomListBox::MoveFocus(Integer ATarget, TShiftState AShift)
{
    if (Count() == 0)
        return;
    ATarget = std::clamp(ATarget, 0, Count() - 1);
    if (!FMultiSelect) {
        SetItemIndex(ATarget);
    } else if (!FExtendedSelect || AShift.Contains(ssCtrl)) {
        InvalidateItem(FItemIndex);
        FItemIndex = ATarget;
        InvalidateItem(FItemIndex);
        MakeVisible(ATarget);
        return;  // the focus moved, the selection did not
    } else {
        Integer anchor = AShift.Contains(ssShift) && FAnchor >= 0 ? FAnchor : ATarget;
        ClearSelection();
        SelectRange(anchor, ATarget);
        FItemIndex = ATarget;
        FAnchor = anchor;
        MakeVisible(ATarget);
    }
    SelectionChanged();
}

void TCustomListBox::SelectionChanged()
{
    if (OnSelectionChange)
        OnSelectionChange(this);
}

void TCustomListBox::KeyDown(WORD& AKey, TShiftState AShift)
{
    TCustomControl::KeyDown(AKey, AShift);
    Integer rows = RowsPerPage();
    Integer page = FColumns == 0 ? std::max(1, rows - 1) : rows * FColumns;
    Integer from = std::max(FItemIndex, 0);
    bool started = FItemIndex >= 0;
    switch (AKey) {
    case VK_UP: MoveFocus(started ? from - 1 : 0, AShift); break;
    case VK_DOWN: MoveFocus(started ? from + 1 : 0, AShift); break;
    case VK_PRIOR: MoveFocus(from - page, AShift); break;
    case VK_NEXT: MoveFocus(from + page, AShift); break;
    case VK_HOME: MoveFocus(0, AShift); break;
    case VK_END: MoveFocus(Count() - 1, AShift); break;
    case VK_LEFT:
        if (FColumns > 0)
            MoveFocus(from - rows, AShift);
        break;
    case VK_RIGHT:
        if (FColumns > 0)
            MoveFocus(from + rows, AShift);
        break;
    case VK_SPACE:
        if (FMultiSelect && FItemIndex >= 0) {
            SetSelected(FItemIndex, !Selected(FItemIndex));
            FAnchor = FItemIndex;
            SelectionChanged();
        }
        break;
    default: return;
    }
    AKey = 0;
}

void TCustomListBox::KeyPress(char32_t& AKey)
{
    TCustomControl::KeyPress(AKey);
    if (AKey < 0x20 || AKey == 0x7F)
        return;
    bool fresh = false;
    const std::string& prefix = FTypeAhead.Add(AKey, fresh);
    // A new prefix looks past the current item; a longer one may stay on it.
    Integer found = FindString(prefix, fresh ? FItemIndex : FItemIndex - 1);
    if (found >= 0)
        MoveFocus(found, {});
}

void TCustomListBox::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (AButton == mbLeft && CanFocus() && !Focused())
        SetFocus();
    TCustomControl::MouseDown(AButton, AShift, AX, AY);
    if (AButton != mbLeft || AShift.Contains(ssDouble))
        return;
    Integer index = ItemAtPos({AX, AY}, true);
    if (index < 0)
        return;
    if (!FMultiSelect) {
        SetItemIndex(index);
    } else if (!FExtendedSelect) {
        SetSelected(index, !Selected(index));
        FItemIndex = index;
        FAnchor = index;
    } else if (AShift.Contains(ssShift)) {
        if (FAnchor < 0)
            FAnchor = index;
        if (!AShift.Contains(ssCtrl))
            ClearSelection();
        SelectRange(FAnchor, index);
        FItemIndex = index;
    } else if (AShift.Contains(ssCtrl)) {
        SetSelected(index, !Selected(index));
        FItemIndex = index;
        FAnchor = index;
    } else {
        ClearSelection();
        SetSelected(index, true);
        FItemIndex = index;
        FAnchor = index;
    }
    Invalidate();
    SelectionChanged();
}

bool TCustomListBox::DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos)
{
    if (TCustomControl::DoMouseWheel(AShift, AWheelDelta, AMousePos))
        return true;
    Integer notches = AWheelDelta / 120;
    if (FColumns == 0)
        SetTopIndex(FTopIndex - notches * 3);
    else
        SetTopIndex(FTopIndex - notches * RowsPerPage());
    return true;
}

void TCustomListBox::Resize()
{
    TCustomControl::Resize();
    UpdateScrollState();
    Invalidate();
}

void TCustomListBox::DrawItem(Integer AIndex, const TRect& ARect, TOwnerDrawState AState)
{
    if (FStyle == lbOwnerDrawFixed && OnDrawItem) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->Font()->Assign(Font());
        OnDrawItem(this, AIndex, ARect, AState);
        return;
    }
    DrawPlainRow(Canvas(), ARect, FItems[AIndex].Text, AState);
}

void TCustomListBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    Integer rows = RowsPerPage();
    // Only the rows on screen: a partly shown last row in one column, whole columns otherwise.
    Integer shown = FColumns == 0 ? rows + 1 : rows * FColumns;
    Integer last = std::min(Count(), FTopIndex + shown);
    bool focused = Focused();
    const HDC dc = canvas->Handle();
    for (Integer i = FTopIndex; i < last; ++i) {
        const TRect rect = ItemRect(i);
        if (!RectVisible(dc, &rect))
            continue;  // outside what is being painted
        TOwnerDrawState state;
        if (Selected(i))
            state.Include(odSelected);
        if (focused && i == FItemIndex)
            state.Include(odFocused);
        DrawItem(i, rect, state);
    }
}

void TCustomListBox::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case LB_ADDSTRING: {
        std::string text = AMessage.LParam ? reinterpret_cast<const char*>(AMessage.LParam) : "";
        AMessage.Result = InsertItem(FSorted ? SortedPosition(text) : Count(), text);
        return;
    }
    case LB_INSERTSTRING: {
        std::string text = AMessage.LParam ? reinterpret_cast<const char*>(AMessage.LParam) : "";
        auto index = static_cast<Integer>(static_cast<intptr_t>(AMessage.WParam));
        if (index > Count()) {
            AMessage.Result = LB_ERR;
            return;
        }
        AMessage.Result = InsertItem(index, text);
        return;
    }
    case LB_DELETESTRING: {
        auto index = static_cast<Integer>(static_cast<intptr_t>(AMessage.WParam));
        if (index < 0 || index >= Count()) {
            AMessage.Result = LB_ERR;
            return;
        }
        DeleteItem(index);
        AMessage.Result = Count();
        return;
    }
    case LB_RESETCONTENT: ResetContent(); return;
    case LB_GETCOUNT: AMessage.Result = Count(); return;
    case LB_GETTOPINDEX: AMessage.Result = FTopIndex; return;
    case LB_SETTOPINDEX: SetTopIndex(static_cast<Integer>(AMessage.WParam)); return;
    case LB_FINDSTRING: {
        std::string text = AMessage.LParam ? reinterpret_cast<const char*>(AMessage.LParam) : "";
        AMessage.Result = FindString(text, static_cast<Integer>(static_cast<intptr_t>(AMessage.WParam)));
        return;
    }
    case WM_VSCROLL:
        if (FColumns == 0 && HandleAllocated())
            SetTopIndex(ScrollMessageTarget(Handle(), SB_VERT, AMessage));
        return;
    case WM_HSCROLL:
        if (FColumns > 0 && HandleAllocated())
            SetTopIndex(ScrollMessageTarget(Handle(), SB_HORZ, AMessage) * RowsPerPage());
        return;
    case WM_GETDLGCODE: AMessage.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_ERASEBKGND: AMessage.Result = 1; return;
    default: break;
    }
    TCustomControl::WndProc(AMessage);
}
