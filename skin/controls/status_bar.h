#pragma once
// The skinned status bar: a panel docked at the bottom of a form that can show a size grip at its right end;
// pressing the mouse on the grip sizes the form from its bottom-right corner.
#include "skin/controls/panel.h"

class TspSkinStatusBar : public TspSkinPanel {
public:
    explicit TspSkinStatusBar(TComponent* AOwner);

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool AValue);
    // The skinned form turns the grip off while the form is maximized.
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool AValue);
    bool GripShown() const { return FSizeGrip && FShowGrip; }
    // The grip's rectangle in client coordinates.
    TRect GripRect();

    // Also gives the skin to every windowed skinned child.
    void SetSkinData(TspSkinData* AValue) override;
    void GetSkinData() override;
    void AdjustClientRect(TRect& ARect) override;

protected:
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;

    bool FSizeGrip = false;
    bool FShowGrip = true;
    // Copies of the record: the grip picture (empty: drawn lines) and its transparent colour.
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

private:
    bool SkinGripPicture() const;
};

// Pairs of diagonal strokes every 3 pixels, rising from G's bottom edge to its right edge.
void DrawGripLines(TCanvas* ACanvas, const TRect& G, TColor ALight, TColor AShadow);
