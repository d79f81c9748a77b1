#pragma once
// The owner-draw list box: strings with objects, single, multiple and extended selection, a fixed item height,
// one or several columns, and a scroll state kept without visible bars (items vertically, or columns
// horizontally when there are several), for skinned frames to read and drive.
// Adding, inserting and deleting one item go through LB_ADDSTRING / LB_INSERTSTRING / LB_DELETESTRING, so a
// replaced WindowProc sees every change.
#include "platform/controls/lists/list_common.h"

#include <set>
#include <string>
#include <vector>

namespace lists {
inline constexpr win::UINT LB_ADDSTRING = 0x0180;     // LParam: const char*; Result: the index
inline constexpr win::UINT LB_INSERTSTRING = 0x0181;  // WParam: index (-1 = the end); LParam: const char*
inline constexpr win::UINT LB_DELETESTRING = 0x0182;  // WParam: index; Result: the count left
inline constexpr win::UINT LB_RESETCONTENT = 0x0184;
inline constexpr win::UINT LB_GETCOUNT = 0x018B;
inline constexpr win::UINT LB_GETTOPINDEX = 0x018E;
inline constexpr win::UINT LB_FINDSTRING = 0x018F;    // WParam: start after (-1 = all); LParam: const char*
inline constexpr win::UINT LB_SETTOPINDEX = 0x0197;
inline constexpr win::LRESULT LB_ERR = -1;
}  // namespace lists

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

class TCustomListBox;
using TDrawItemEvent =
    std::function<void(TWinControl* Control, Integer Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, Integer Index, Integer& Height)>;

// The items of a list box: every change goes through the list box's messages.
class TListBoxStrings {
public:
    explicit TListBoxStrings(TCustomListBox* AListBox) : FListBox(AListBox) {}
    Integer Count() const;
    const std::string& Strings(Integer AIndex) const;
    void SetStrings(Integer AIndex, const std::string& AValue);  // keeps the object
    void* Objects(Integer AIndex) const;
    void SetObjects(Integer AIndex, void* AValue);
    Integer Add(const std::string& AText) { return AddObject(AText, nullptr); }
    Integer AddObject(const std::string& AText, void* AObject);  // sorted lists put it in its place
    void Insert(Integer AIndex, const std::string& AText) { InsertObject(AIndex, AText, nullptr); }
    void InsertObject(Integer AIndex, const std::string& AText, void* AObject);
    void Delete(Integer AIndex);
    void Clear();
    Integer IndexOf(const std::string& AText) const;

private:
    TCustomListBox* FListBox;
};

class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TListBoxStrings* Items() { return &FStrings; }
    Integer Count() const { return static_cast<Integer>(FItems.size()); }

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle AValue);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool AValue);  // sorts what is there
    Integer ItemHeight() const { return FItemHeight; }
    void SetItemHeight(Integer AValue);  // values <= 0 are ignored
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer AValue);  // 0 = one column scrolled vertically
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool AValue);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool AValue) { FExtendedSelect = AValue; }

    // The focused item; in a single-selection list also the selected one. -1 = none.
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer AValue);
    bool Selected(Integer AIndex) const;
    void SetSelected(Integer AIndex, bool AValue);
    Integer SelCount() const;  // -1 in a single-selection list, as the platform answers
    void ClearSelection();

    // The first item shown (multi-column: the first item of the first column shown).
    Integer TopIndex() const { return FTopIndex; }
    void SetTopIndex(Integer AValue);
    TRect ItemRect(Integer AIndex);
    // The item at a client point; -1 outside the items, or (unless AExisting) the index one past the last.
    Integer ItemAtPos(TPoint APos, bool AExisting);
    // Case-insensitive prefix search starting after AStart (-1 = from the top), wrapping; -1 when none matches.
    Integer FindString(const std::string& APrefix, Integer AStart) const;
    Integer RowsPerPage();  // whole rows that fit (at least 1)

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TNotifyEvent OnSelectionChange;  // ItemIndex or the selection changed through the user

    void WndProc(TMessage& AMessage) override;

protected:
    friend class TListBoxStrings;
    struct TItem {
        std::string Text;
        void* Object = nullptr;
    };
    void CreateWnd() override;
    void Paint() override;
    void Resize() override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    bool DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos) override;
    virtual void DrawItem(Integer AIndex, const TRect& ARect, TOwnerDrawState AState);
    virtual void SelectionChanged();

    std::vector<TItem> FItems;

private:
    Integer InsertItem(Integer AIndex, const std::string& AText);
    void DeleteItem(Integer AIndex);
    void ResetContent();
    Integer SortedPosition(const std::string& AText) const;
    void ShiftSelection(Integer AFrom, int ADelta);
    void UpdateScrollState();
    Integer VisibleColumns();
    Integer MaxTopIndex();
    void MakeVisible(Integer AIndex);
    void MoveFocus(Integer ATarget, TShiftState AShift);
    void SelectRange(Integer AFrom, Integer ATo);
    void InvalidateItem(Integer AIndex);

    TListBoxStrings FStrings{this};
    TListBoxStyle FStyle = lbStandard;
    bool FSorted = false;
    Integer FItemHeight = 16;
    Integer FColumns = 0;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    Integer FItemIndex = -1;
    Integer FAnchor = -1;
    Integer FTopIndex = 0;
    std::set<Integer> FSelection;  // multi-selection only; kept sparse so clearing costs the selected items
    TTypeAhead FTypeAhead;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};
