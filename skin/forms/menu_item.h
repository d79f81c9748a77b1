#pragma once
// One item of an open skinned menu level: its hot and pressed state, what hovering, keys and clicks do to it,
// and how it paints itself, from the skin's menu-item record or in the default look.
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/menus.h"
#include "skin/core/skin_records.h"

class TspSkinPopupWindow;

class TspSkinMenuItem : public TObject {
public:
    // AData is the level's menu-item record (nullptr in the default look).
    TspSkinMenuItem(TspSkinPopupWindow* AParent, TMenuItem* AMenuItem, TspDataSkinMenuItem* AData);
    ~TspSkinMenuItem() override = default;

    // State rules.
    void MouseEnter(bool Kb);
    void MouseLeave();
    void MouseDown(Integer X, Integer Y);

    // Painting.
    void Draw(TCanvas* Cnvs);
    void DefaultDraw(TCanvas* Cnvs);
    void CreateItemImage(TBitmap* B, bool AActive, bool UseAnimationFrame);
    void DrawMenuHeader(TCanvas* Cnvs, TRect R, const std::string& ACaption);
    TRect GetAnimationFrameRect();
    void DrawCheckImage(TCanvas* Cnvs, TRect R, bool AActive);
    void DrawRadioImage(TCanvas* Cnvs, TRect R, bool AActive);
    void DrawArrowImage(TCanvas* Cnvs, TRect R, bool AActive);

    // Effects.
    bool EnableAnimation();
    bool EnableMorphing();
    virtual bool CanMorphing();
    void DoMorphing();
    // After every state change: starts the level's morph timer or draws the item at once.
    void RedrawState();

    bool IsSeparator() const { return MenuItem->Caption() == "-"; }
    bool Hot() const { return Active || Down; }
    bool Selectable() const { return MenuItem->Enabled() && !IsSeparator(); }

    TspSkinPopupWindow* Parent;
    TspDataSkinMenuItem* MI;
    TBitmap* ActivePicture = nullptr;
    double FMorphKf = 0;
    TMenuItem* MenuItem;
    TRect ObjectRect;
    bool Active = false;
    bool Down = false;
    bool FVisible = true;
    bool WaitCommand = false;
    Integer CurrentFrame = 0;

private:
    void Output(TCanvas* Cnvs, TBitmap* B);
    void DrawGlyphAndMarks(TCanvas* C, const TRect& A, Integer G, TColor AColor, bool AActive);
    bool HasGlyph(Integer& W, Integer& H);
    void DrawGlyph(TCanvas* C, Integer X, Integer Y);
};

// Default pictures of menu items, drawn with pen (and brush) in AColor at X, Y.
void DrawMenuRadioGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);  // a 6 x 6 dot
void DrawSubMenuArrowGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
// The pictures of the skinned form's system and tray items, by item name; false for other names.
bool DrawSystemItemGlyph(TCanvas* Canvas, const std::string& AName, Integer X, Integer Y, TColor Color);
