#pragma once
// The skinned list view: the platform's list view with the font and colours of the skin's "listview" record, two
// optional external skinned bars in place of the native ones (their range read per view style), and a column
// header painted from a skin button record ("resizebutton") through a window procedure put in front of the
// native header's.
#include <functional>
#include <memory>
#include <string>

#include "platform/controls/lists/list_view.h"
#include "skin/controls/skin_link.h"
#include "skin/controls/view_bars.h"
#include "skin/core/skin_file_forms.h"

class TspSkinData;
class TspSkinScrollBar;
class TBitmap;

using TspDrawHeaderSectionEvent =
    std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R)>;

// The skin link lets the skinned form's skin-change walk reach the view.
class TspSkinCustomListView : public TspSkinLinked<TCustomListView> {
public:
    explicit TspSkinCustomListView(TComponent* AOwner);
    ~TspSkinCustomListView() override;

    TspSkinScrollBar* VScrollBar() const { return FBars.VBar(); }
    void SetVScrollBar(TspSkinScrollBar* AValue);
    TspSkinScrollBar* HScrollBar() const { return FBars.HBar(); }
    void SetHScrollBar(TspSkinScrollBar* AValue);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    const std::string& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const std::string& AValue) { FHeaderSkinDataName = AValue; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }

    TspDrawHeaderSectionEvent OnDrawHeaderSection;

    void ChangeSkinData() override;
    void UpDateScrollBars();
    void WndProc(TMessage& AMessage) override;

    // The header window whose procedure the view replaced; nullptr when none (or once it is gone).
    win::HWND HeaderHandle() const { return FHeaderHandle; }
    Integer ActiveSection() const { return FActiveSection; }
    bool HeaderDown() const { return FHeaderDown; }
    bool DividerDown() const { return FDevDown; }
    // Paints the header into ADC, or in the header's own paint cycle when ADC is nullptr.
    void PaintHeader(win::HDC ADC);

protected:
    void CreateParams(TCreateParams& AParams) override;

private:
    void VScrollBarChange(Integer APosition);
    void HScrollBarChange(Integer APosition);
    void UpdateReportBars(bool& AChanged);
    void UpdateListBars(bool& AChanged);
    void UpdateIconBars(bool& AChanged);
    Integer ItemZeroHeight();
    // Header.
    void HookHeader(win::HWND AHeader);
    void ReleaseHeader();
    win::LRESULT HeaderWndProc(win::HWND AWindow, win::UINT AMsg, win::WPARAM AWParam, win::LPARAM ALParam);
    void TrackHeaderMouse(win::UINT AMsg, win::LPARAM ALParam);
    TRect SectionRect(Integer APosition);
    void GetHeaderSkinData();
    void DrawHeaderSection(TCanvas* ACanvas, TListColumn* AColumn, bool APressed, const TRect& R);
    void DrawSectionContent(TCanvas* ACanvas, TListColumn* AColumn, const TRect& L);
    void DrawHeaderFiller(TCanvas* ACanvas, const TRect& F);

    TspViewBars FBars;
    bool FromSB = false;
    Integer FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    std::string FHeaderSkinDataName = "resizebutton";
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    bool FUseSkinFont = true;

    win::HWND FHeaderHandle = nullptr;
    win::WNDPROC FHeaderInstance = nullptr;
    win::WNDPROC FDefHeaderProc = nullptr;
    Integer FActiveSection = -1;
    bool FHeaderDown = false;
    bool FDevDown = false;

    // The header's button record, copied at every paint.
    Integer FHIndex = -1;
    struct THeaderSkin {
        TPoint LTPt, RTPt, LBPt, RBPt;
        TRect SkinRect, ClRect, ActiveSkinRect, DownSkinRect;
        TBitmap* Picture = nullptr;
        TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
        bool StretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false,
             BottomStretch = false;
        TspStretchType StretchType = spstFull;
    } FH;
};

class TspSkinListView : public TspSkinCustomListView {
public:
    using TspSkinCustomListView::TspSkinCustomListView;
};
