#pragma once
// The bases of every skinned control: a link to a skin data component and to one control record in it, found
// by name at every paint, skin change and size change; an off-screen paint in one pass per paint, the skinned
// image when a record matches, else the control's plain look; optional blending over what lies behind the
// control; the skin's cursor; and the hint title and image that the skinned hint window shows.
// One core serves both the windowed base (on a window of its own) and the windowless one (painted on the
// parent's surface).
#include <string>

#include "platform/gui/controls.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/types.h"
#include "skin/core/skin_data.h"

class TBitmap;

// Passed down the control tree when the background behind the children changed.
constexpr Cardinal SKM_REPAINT_TRANSPARENT = 1284;

template <typename TBase>
class TspSkinControlCore : public TBase {
public:
    explicit TspSkinControlCore(TComponent* AOwner);

    TspSkinData* SkinData() const { return FSD; }
    // Runs ChangeSkinData unless the value is nil, holds no skin or the control is being designed.
    virtual void SetSkinData(TspSkinData* AValue);
    const std::string& SkinDataName() const { return FSkinDataName; }
    // Takes effect at the next paint or skin change.
    virtual void SetSkinDataName(const std::string& AValue) { FSkinDataName = AValue; }
    const std::string& AreaName() const { return FAreaName; }
    void SetAreaName(const std::string& AValue) { FAreaName = AValue; }
    bool DrawDefault() const { return FDrawDefault; }
    void SetDrawDefault(bool AValue) { FDrawDefault = AValue; }
    bool AlphaBlend() const { return FAlphaBlend; }
    virtual void SetAlphaBlend(bool AValue);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    virtual void SetAlphaBlendValue(Byte AValue);
    bool UseSkinCursor() const { return FUseSkinCursor; }
    void SetUseSkinCursor(bool AValue) { FUseSkinCursor = AValue; }

    // Read by the skinned hint window: shown beside the hint text when the title is set or an image list is.
    const std::string& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const std::string& AValue) { FHintTitle = AValue; }
    Integer HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(Integer AValue) { FHintImageIndex = AValue; }
    TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(TCustomImageList* AValue);

    // Index of the control's record in the skin's control list; -1 while unskinned.
    Integer SkinIndex() const { return FIndex; }
    bool Skinned() const { return FIndex != -1; }
    // The found record as the class a control reads; nullptr while unskinned or for a record of another class.
    template <typename TRecord>
    TRecord* RecordAs() const
    {
        return FIndex < 0 || !FSD ? nullptr : dynamic_cast<TRecord*>(FSD->CtrlList[FIndex].get());
    }

    // The skinned form calls these around a skin change; a new skin is looked up and shown.
    virtual void BeforeChangeSkinData() { FIndex = -1; }
    virtual void ChangeSkinData();
    // The record lookup; subclasses run it first, then copy the fields they use.
    virtual void GetSkinData();

    // The record's cursor index, copied by the subclasses' lookup; -1 the default cursor.
    Integer CursorIndex = -1;

protected:
    virtual void DrawUnskinnedImage(TBitmap* /*B*/) {}
    virtual void DrawSkinnedImage(TBitmap* /*B*/) {}
    // Repaints a blending control; the windowed base also tells its children.
    virtual void CheckParentBackground();

    void Paint() override;
    // One off-screen image of the control's size, drawn by look, then drawn or blended onto the canvas.
    void PaintCycle();
    // B onto the canvas at 0,0, cross-faded over the background behind the control while blending.
    void PaintImage(TBitmap* B);
    void WndProc(TMessage& AMessage) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void ApplySkinCursor();
    bool Designing() const { return this->ComponentState().Contains(csDesigning); }
    bool Loading() const { return this->ComponentState().Contains(csLoading); }

    TspSkinData* FSD = nullptr;
    std::string FAreaName;
    std::string FSkinDataName;
    bool FDrawDefault = true;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 200;
    bool FUseSkinCursor = false;
    std::string FHintTitle;
    Integer FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
    Integer FIndex = -1;
};

extern template class TspSkinControlCore<TCustomControl>;
extern template class TspSkinControlCore<TGraphicControl>;

// The windowed base: a window of its own, erased by nobody, painted whole by the paint cycle.
class TspSkinControl : public TspSkinControlCore<TCustomControl> {
public:
    explicit TspSkinControl(TComponent* AOwner);

    // Sends SKM_REPAINT_TRANSPARENT to every child, in child-list order: windowed children through their
    // window, windowless ones directly.
    void CheckControlsBackground();

    // True while the control handles its own WM_PAINT; an erase handler paints the control into a foreign
    // device context only when it is False.
    bool FromWMPaint = false;

protected:
    void CheckParentBackground() override;
    void WndProc(TMessage& AMessage) override;

    // The window region last given to the window; the window owns it.
    win::HRGN FRgn = nullptr;
};

// The windowless base: painted on the parent's surface.
class TspGraphicSkinControl : public TspSkinControlCore<TGraphicControl> {
public:
    explicit TspGraphicSkinControl(TComponent* AOwner);
    // A windowless control hears no WM_MOVE: a blending one repaints here when it moves.
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
};
