#pragma once
// A skinned panel on whose face the application paints, after the panel's own look.
#include <functional>

#include "skin/controls/panel.h"

// ACanvas is the panel's face; R the area the children are aligned in.
using TspPaintPanelEvent = std::function<void(TCanvas* Cnvs, TRect R)>;

class TspSkinPaintPanel : public TspSkinPanel {
public:
    explicit TspSkinPaintPanel(TComponent* AOwner);

    TspPaintPanelEvent OnPanelPaint;

protected:
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void PaintPanelContent(TCanvas* ACanvas) override;
    void WndProc(TMessage& AMessage) override;

private:
    void PanelPaint(TCanvas* ACanvas);
};
