#pragma once
// The list view: items with sub-items and images, columns, four view styles, an owner-data mode that asks for
// the shown items only, single and multiple selection, keys with type-to-find, sorting hooks, label editing,
// and a scroll state kept without visible bars for skinned frames: icon styles in pixels, the list style
// horizontally in columns, the report style vertically in items and horizontally in pixels.
// In the report style with ShowColumnHeaders the view makes a TListHeader child window ("SysHeader32").
#include "platform/controls/lists/label_edit.h"
#include "platform/controls/lists/list_common.h"
#include "platform/controls/lists/list_header.h"
#include "platform/gui/image_list.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace lists {
inline constexpr win::UINT LVM_GETITEMCOUNT = 0x1004;
inline constexpr win::UINT LVM_GETITEMRECT = 0x100E;      // WParam: item; LParam: RECT* (left = LVIR_ code)
inline constexpr win::UINT LVM_SCROLL = 0x1014;           // WParam: dx, LParam: dy, in pixels
inline constexpr win::UINT LVM_GETTOPINDEX = 0x1027;
inline constexpr win::UINT LVM_GETCOUNTPERPAGE = 0x1028;
inline constexpr win::UINT LVM_GETHEADER = 0x101F;
}  // namespace lists

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemStateItem { isSelected, isFocused };

class TCustomListView;

class TListItem {
public:
    std::string Caption;
    std::vector<std::string> SubItems;
    Integer ImageIndex = -1;
    void* Data = nullptr;
    Integer Index() const { return FIndex; }
    TCustomListView* ListView() const { return FView; }

private:
    friend class TCustomListView;
    friend class TListItems;
    TCustomListView* FView = nullptr;
    Integer FIndex = -1;
};

class TListItems {
public:
    explicit TListItems(TCustomListView* AView) : FView(AView) {}
    Integer Count() const;
    // Owner data: sets how many items there are; nothing is asked for until it is shown.
    void SetCount(Integer AValue);
    // The item at AIndex; in owner-data mode one filled by OnData, valid until the next call.
    TListItem* Item(Integer AIndex);
    TListItem* Add();
    TListItem* Insert(Integer AIndex);
    void Delete(Integer AIndex);
    void Clear();

private:
    friend class TCustomListView;
    void Renumber(Integer AFrom);
    TCustomListView* FView;
    std::vector<std::unique_ptr<TListItem>> FItems;
    Integer FVirtualCount = 0;
    TListItem FScratch;  // the owner-data item handed out
};

class TListColumn {
public:
    std::string Caption;
    Integer Width = 50;
    TAlignment Alignment = taLeftJustify;
    Integer ImageIndex = -1;
    // Which text the column shows: 0 the caption, n the sub-item n - 1. Dragging columns into another order
    // moves them in Columns and keeps this.
    Integer DataIndex = 0;
};

using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
// Type-to-find in owner-data mode: the index of the item starting with AFind at or after AStart (wrapping), or -1.
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, const std::string& Find, Integer Start, Integer& Index)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2, Integer& Compare)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;

class TCustomListView : public TCustomControl {
public:
    static constexpr int kHeaderHeight = 20;
    static constexpr int kIconCellWidth = 76;
    static constexpr int kIconCellHeight = 64;
    static constexpr int kSmallCellWidth = 120;

    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListItems* Items() { return &FItems; }
    Integer ColumnCount() const { return static_cast<Integer>(FColumns.size()); }
    TListColumn* Column(Integer AIndex) { return FColumns.at(AIndex).get(); }
    TListColumn* AddColumn(const std::string& ACaption, Integer AWidth);
    void ClearColumns();
    void ColumnsChanged();  // after changing a column's fields

    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle AValue);
    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool AValue);  // empties the list
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool AValue);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool AValue);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool AValue) { FReadOnly = AValue; }
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* AValue);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* AValue);
    Integer ListColumnWidth() const { return FListColumnWidth; }  // the list style's column width
    void SetListColumnWidth(Integer AValue);

    // The selected item (the focused one when it is selected, else the first selected), or nullptr.
    TListItem* Selected();
    Integer SelectedIndex();
    bool IsSelected(Integer AIndex) const { return FSelection.count(AIndex) > 0; }
    void SetSelected(Integer AIndex, bool AValue);
    Integer SelCount() const { return static_cast<Integer>(FSelection.size()); }
    void ClearSelection();
    Integer ItemFocused() const { return FFocused; }
    void SetItemFocused(Integer AIndex);

    Integer RowHeight() const;
    Integer CountPerPage();
    Integer TopIndex();
    TRect ItemRect(Integer AIndex);  // the whole item, client coordinates
    Integer ItemAtPos(TPoint APos);  // -1 when none
    void MakeVisible(Integer AIndex);
    // Scrolls by pixels; in the report style dy is rounded to whole rows, in the list style dx to columns.
    void Scroll(int ADX, int ADY);
    TListHeader* Header() const { return FHeader; }

    // Orders the items with OnCompare, or by caption without it; an owner-data list is the owner's to order.
    void AlphaSort();
    void CustomSort(std::function<int(TListItem*, TListItem*)> ACompare);

    void EditCaption(Integer AIndex);
    bool IsEditing() const { return FLabelEdit.Active(); }
    TLabelEditSession& LabelEdit() { return FLabelEdit; }

    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVSelectItemEvent OnSelectItem;
    TNotifyEvent OnChange;  // the selection or the focus moved

    void WndProc(TMessage& AMessage) override;

protected:
    friend class TListItems;
    void CreateWnd() override;
    void Paint() override;
    void Resize() override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    bool DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    virtual void DrawItem(TListItem* AItem, const TRect& ARect, TOwnerDrawState AState);

private:
    struct TLayout {
        int CellWidth = 0;
        int CellHeight = 0;
        int PerLine = 1;     // cells across (icon styles) or rows down (list style)
        int Lines = 0;       // rows (icon styles) or columns (list style) of all items
        TRect Area;          // where the items go
    };
    TLayout Layout();
    int ColumnsWidth() const;
    void ItemsChanged();
    void ItemInserted(Integer AIndex);
    void ItemDeleted(Integer AIndex);
    void UpdateScrollState();
    void ClampOffsets();
    void SetOffsets(int AX, int AY);
    void UpdateHeader();
    void HeaderNotify(const lists::NMHEADER& ANotify, TMessage& AMessage);
    void MoveFocus(Integer ATarget, TShiftState AShift);
    void SelectOnly(Integer AIndex);
    void Changed(Integer AIndex, bool ASelected);
    std::string CaptionOf(Integer AIndex);
    void SortWith(const std::function<int(TListItem*, TListItem*)>& ACompare);

    TListItems FItems{this};
    std::vector<std::unique_ptr<TListColumn>> FColumns;
    TViewStyle FViewStyle = vsIcon;
    bool FOwnerData = false;
    bool FShowColumnHeaders = true;
    bool FMultiSelect = false;
    bool FReadOnly = false;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FSmallImages = nullptr;
    Integer FListColumnWidth = 120;
    // Scrolled: the first item row (report) or pixels (icon styles) down; pixels (report, icon styles) or
    // columns (list style) across.
    int FOffsetX = 0;
    int FOffsetY = 0;
    std::set<Integer> FSelection;
    Integer FFocused = -1;
    Integer FAnchor = -1;
    TListHeader* FHeader = nullptr;
    TTypeAhead FTypeAhead;
    TLabelEditSession FLabelEdit;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};
