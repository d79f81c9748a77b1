#pragma once
// The column header of a report list view: a child window of class "SysHeader32" with sections, a display
// order, a hit test that knows the divider zone, divider dragging and section reordering. Everything a skinned
// view needs goes through messages, so a window procedure put in with SetWindowLong(GWL_WNDPROC) sees it and
// can be taken out again; the header tells its parent through WM_NOTIFY.
#include "platform/controls/lists/list_common.h"

#include <string>
#include <vector>

namespace lists {
inline constexpr char kHeaderClassName[] = "SysHeader32";

inline constexpr win::UINT WM_NOTIFY = 0x004E;  // LParam: NMHDR* (an NMHEADER* from the header)

inline constexpr win::UINT HDM_GETITEMCOUNT = 0x1200;
inline constexpr win::UINT HDM_HITTEST = 0x1206;        // LParam: HDHITTESTINFO*; Result: the section or -1
inline constexpr win::UINT HDM_GETITEMRECT = 0x1207;    // WParam: section; LParam: RECT*
inline constexpr win::UINT HDM_GETORDERARRAY = 0x1211;  // WParam: size; LParam: int[size]
inline constexpr win::UINT HDM_SETORDERARRAY = 0x1212;

inline constexpr win::UINT HHT_NOWHERE = 0x0001;
inline constexpr win::UINT HHT_ONHEADER = 0x0002;
inline constexpr win::UINT HHT_ONDIVIDER = 0x0004;
inline constexpr win::UINT HHT_TOLEFT = 0x0800;
inline constexpr win::UINT HHT_TORIGHT = 0x0400;

inline constexpr win::UINT HDN_ITEMCLICK = static_cast<win::UINT>(-302);
inline constexpr win::UINT HDN_DIVIDERDBLCLICK = static_cast<win::UINT>(-305);
inline constexpr win::UINT HDN_BEGINTRACK = static_cast<win::UINT>(-306);  // Result non-zero refuses
inline constexpr win::UINT HDN_ENDTRACK = static_cast<win::UINT>(-307);
inline constexpr win::UINT HDN_TRACK = static_cast<win::UINT>(-308);
inline constexpr win::UINT HDN_ENDDRAG = static_cast<win::UINT>(-311);     // Result non-zero refuses

struct NMHDR {
    win::HWND hwndFrom = nullptr;
    intptr_t idFrom = 0;
    win::UINT code = 0;
};
struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    int cxy = 0;        // the width (tracking) or the new display position (dragging)
};
struct HDHITTESTINFO {
    TPoint pt;
    win::UINT flags = 0;
    int iItem = -1;
};
}  // namespace lists

struct THeaderSection {
    std::string Text;
    Integer Width = 50;
    TAlignment Alignment = taLeftJustify;
    Integer ImageIndex = -1;
};

class TListHeader : public TCustomControl {
public:
    static constexpr int kDividerZone = 4;   // pixels either side of a divider that grab it
    static constexpr int kDragThreshold = 5;  // pixels a press moves before it drags a section

    explicit TListHeader(TComponent* AOwner);

    Integer SectionCount() const { return static_cast<Integer>(FSections.size()); }
    THeaderSection& Section(Integer AIndex) { return FSections.at(AIndex); }
    void SetSections(std::vector<THeaderSection> ASections);  // the order becomes 0, 1, 2...
    void SetSectionWidth(Integer AIndex, Integer AWidth);
    const std::vector<int>& Order() const { return FOrder; }
    void SetOrder(const std::vector<int>& AOrder);  // ignored unless it holds every section once
    TRect SectionRect(Integer AIndex) const;
    Integer TotalWidth() const;
    // Which section and which part of it a client point is on.
    lists::HDHITTESTINFO HitTest(TPoint APoint) const;

    void WndProc(TMessage& AMessage) override;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;

private:
    win::LRESULT Notify(win::UINT ACode, int AItem, int AValue);
    void MouseMessage(TMessage& AMessage);

    std::vector<THeaderSection> FSections;
    std::vector<int> FOrder;
    enum class TMode { Idle, Pressed, Dragging, Tracking } FMode = TMode::Idle;
    int FActive = -1;
    TPoint FPressedAt;
    int FTrackWidth = 0;
};
