#pragma once
// The skin-picture bases: controls whose record is a nine-piece picture description. They copy the record's
// pieces at every lookup, derive the resize mode, fit their size to the skin, compose the skinned image at any
// size, and give an unskinned control a default size, font and a plain face. The windowed base also cuts its
// window to the mask picture and can paint a large frame straight onto the canvas.
#include <memory>

#include "platform/gui/graphics.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_geometry.h"
#include "skin/core/skin_file_forms.h"

// A parent that centres its skinned children vertically in its client rectangle (the skinned tool bar with
// AdjustControls set).
class TspCentringParent {
public:
    virtual ~TspCentringParent() = default;
    virtual bool CentresControls() const = 0;
    virtual TRect SkinClientRect() = 0;
};

template <typename TBase>
class TspSkinPictureCore : public TBase {
public:
    explicit TspSkinPictureCore(TComponent* AOwner);

    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    Integer DefaultWidth() const { return FDefaultWidth; }
    // On an unskinned control a positive value also sets the width at once.
    void SetDefaultWidth(Integer AValue);
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer AValue);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    // Fits a requested size to the skin and computes the New* values for it.
    virtual void FitSizeToSkin(Integer& AWidth, Integer& AHeight);

    Integer NewClRectLeft() const { return Fitted.NewClRect.Left; }
    Integer NewClRectTop() const { return Fitted.NewClRect.Top; }
    Integer NewClRectWidth() const { return Fitted.NewClRect.Width(); }
    Integer NewClRectHeight() const { return Fitted.NewClRect.Height(); }

    // The copied picture description and the values at the current size.
    TspSkinPieces Pieces;
    TspFittedPieces Fitted;
    TBitmap* Picture = nullptr;  // the skin's, not owned
    Integer ResizeMode = rmFixed;
    bool StretchEffect = false;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    TspStretchType StretchType = spstFull;

protected:
    virtual void ApplyDefaultFont() {}
    // The window region of the windowed base; nothing for windowless controls.
    virtual void ApplyMaskRegion() {}
    // After a size change through SetBounds, and on every SetBounds of a skinned control.
    virtual void AfterSkinResize();
    virtual void AfterSetBounds() {}
    // Paints B from rectangle R of picture P by the resize mode; every state rectangle has SkinRect's layout.
    void CreateSkinImage(TBitmap* B, TBitmap* P, const TRect& R);
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void Paint() override;
    // A paint without the off-screen image; false when the control paints through the paint cycle.
    virtual bool PaintDirect() { return false; }
    // Fits copies of the current size, so that the New* values belong to it.
    void FitCurrentSize();

    bool FUseSkinFont = true;
    Integer FDefaultWidth = 0;
    Integer FDefaultHeight = 0;
    std::unique_ptr<TFont> FDefaultFont;
    // The windowed base's direct frame paint skips the nine-piece composition.
    bool FForceBackground = false;

private:
    void HandleDefaultFontChange(TObject* ASender);
};

extern template class TspSkinPictureCore<TspSkinControl>;
extern template class TspSkinPictureCore<TspGraphicSkinControl>;

class TspSkinCustomControl : public TspSkinPictureCore<TspSkinControl> {
public:
    explicit TspSkinCustomControl(TComponent* AOwner);

    void GetSkinData() override;
    // S, given in picture-part coordinates, placed in the control at its current size.
    TRect MapSkinRect(const TRect& S) const;

    TBitmap* MaskPicture = nullptr;  // the skin's, not owned

protected:
    bool PaintDirect() override;
    void ApplyMaskRegion() override;
    void AfterSetBounds() override;
    void BuildMaskRegion();
    // The skin's client part over the fitted client rectangle, or over ADest, tiled or stretched as the record says.
    void DrawClientPart(TCanvas* ACanvas);
    void DrawClientPart(TCanvas* ACanvas, const TRect& ADest);

    bool FDrawbackground = true;
};

// APart over ADest (clipped to it): tiled from ADest's top-left corner, or with AStretch stretched over it whole
// (spstFull), to its height and repeated across (spstHorz), or to its width and repeated downwards (spstVert).
void DrawTiledPicture(TCanvas* ACanvas, TBitmap* APart, const TRect& ADest, bool AStretch, TspStretchType AType);

class TspGraphicSkinCustomControl : public TspSkinPictureCore<TspGraphicSkinControl> {
public:
    explicit TspGraphicSkinCustomControl(TComponent* AOwner);
};
