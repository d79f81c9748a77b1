#pragma once
// The skinned tree view: the platform's tree with the font and colours of the skin's "treeview" record and two
// optional external skinned bars in place of the native ones.
#include <memory>
#include <string>

#include "platform/controls/lists/tree_view.h"
#include "skin/controls/skin_link.h"
#include "skin/controls/view_bars.h"

class TspSkinData;
class TspSkinScrollBar;

// The skin link lets the skinned form's skin-change walk reach the view.
class TspSkinCustomTreeView : public TspSkinLinked<TCustomTreeView> {
public:
    explicit TspSkinCustomTreeView(TComponent* AOwner);
    ~TspSkinCustomTreeView() override;

    TspSkinScrollBar* VScrollBar() const { return FBars.VBar(); }
    void SetVScrollBar(TspSkinScrollBar* AValue);
    TspSkinScrollBar* HScrollBar() const { return FBars.HBar(); }
    void SetHScrollBar(TspSkinScrollBar* AValue);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }

    void ChangeSkinData() override;
    void UpDateScrollBars();
    void WndProc(TMessage& AMessage) override;

protected:
    void CreateParams(TCreateParams& AParams) override;

private:
    void VScrollBarChange(Integer APosition);
    void HScrollBarChange(Integer APosition);

    TspViewBars FBars;
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    bool FUseSkinFont = true;
};

class TspSkinTreeView : public TspSkinCustomTreeView {
public:
    using TspSkinCustomTreeView::TspSkinCustomTreeView;
};
