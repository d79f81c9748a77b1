#pragma once
// The skinned tree view: the platform's tree with the font and colours of the skin's "treeview" record and two
// optional external skinned bars in place of the native ones.
#include <memory>
#include <string>

#include "platform/controls/lists/tree_view.h"
#include "skin/controls/view_bars.h"

class TspSkinData;
class TspSkinScrollBar;

class TspSkinCustomTreeView : public TCustomTreeView {
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
    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* AValue);
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& AValue) { FSkinDataName = AValue; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    Integer SkinIndex() const { return FIndex; }

    virtual void ChangeSkinData();
    void UpDateScrollBars();
    void WndProc(TMessage& AMessage) override;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void VScrollBarChange(Integer APosition);
    void HScrollBarChange(Integer APosition);

    TspViewBars FBars;
    TspSkinData* FSD = nullptr;
    std::string FSkinDataName = "treeview";
    Integer FIndex = -1;
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    bool FUseSkinFont = true;
};

class TspSkinTreeView : public TspSkinCustomTreeView {
public:
    using TspSkinCustomTreeView::TspSkinCustomTreeView;
};
