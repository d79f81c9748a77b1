#pragma once
// The skinned multi-line text box: the platform's memo with a frame and background painted behind the native
// text (from the skin's memo record, or a plain look), colours that follow hover and focus, an optional
// see-through mode over the parent, a read-only mode enforced at the dispatch point (Ctrl+C still copies), the
// skinned context menu, a painted disabled state, and two optional external skinned scroll bars that mirror the
// native scroll state and scroll the text when moved.
#include <memory>
#include <string>

#include "platform/controls/memo.h"
#include "skin/controls/edit_menu.h"
#include "skin/controls/skin_link.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_file_forms.h"

class TBitmap;
class TspSkinScrollBar;
class TspScrollBarLink;

class TspSkinMemo : public TspSkinLinked<TMemo> {
public:
    explicit TspSkinMemo(TComponent* AOwner);
    ~TspSkinMemo() override;

    // Runs ChangeSkinData unless the value is nil, holds no skin or the control is being designed.
    void SetSkinData(TspSkinData* AValue) override;
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool AValue) { FUseSkinFontColor = AValue; }
    // The control paints the background itself and the text goes over it.
    bool BitMapBG() const { return FBitMapBG; }
    void SetBitMapBG(bool AValue);
    bool Transparent() const { return FAlphaBlend; }
    void SetTransparent(bool AValue);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte AValue);
    // The linked bars are not owned: a bar that goes is forgotten, and a memo that goes detaches its bars.
    TspSkinScrollBar* VScrollBar() const;
    void SetVScrollBar(TspSkinScrollBar* AValue);
    TspSkinScrollBar* HScrollBar() const;
    void SetHScrollBar(TspSkinScrollBar* AValue);

    void ChangeSkinData() override;
    // Range, page and position into the linked bars; they are enabled only while there is something to scroll.
    void UpDateScrollRange();
    void Invalidate() override;
    void WndProc(TMessage& AMessage) override;

    // The native text rectangle last set, in client coordinates.
    const TRect& TextArea() const { return FTextArea; }
    TspEditMenu* SysPopupMenu() const { return FSysPopupMenu.get(); }

    // The skin record's copy.
    TBitmap* Picture = nullptr;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect, SkinRect, ActiveSkinRect;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, BGColor = 0, ActiveBGColor = 0;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TspStretchType StretchType = spstFull;

protected:
    void GetSkinData();
    void AdjustTextRect();
    void CreateParams(TCreateParams& AParams) override;
    void PaintWindow(win::HDC ADC) override;
    void Change() override;

private:
    bool Hot() { return FMouseIn || Focused(); }
    void Refresh();
    void PaintBackground(win::HDC ADC);
    void PaintFrame(TCanvas* ACanvas);
    void PaintDisabledLines(win::HDC ADC);
    void HotColours(bool AActive);
    void MirrorBar(TspScrollBarLink* ALink, int ABar, bool AVertical);
    void ContextMenu(TMessage& AMessage);

    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    bool FUseSkinFontColor = true;
    bool FBitMapBG = true;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 0;
    bool FMouseIn = false;
    bool FDown = false;
    TRect FTextArea;
    TspScrollBarLink* FVLink = nullptr;  // owned as components
    TspScrollBarLink* FHLink = nullptr;
    std::unique_ptr<TspEditMenu> FSysPopupMenu;
};
