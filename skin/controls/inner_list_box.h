#pragma once
// The native list inside every skinned list box (and so inside the combo box's drop-down list): an owner-drawn
// list without border or visible bars that paints its rows in its frame's skinned or plain look, tells the frame
// of every message, mouse, key, click and focus event before handling it, and keeps the frame's skinned bars in
// step with its own scroll state.
#include <string>

#include "platform/controls/lists/list_box.h"
#include "platform/rtl/strings.h"

class TspSkinCustomListBox;
class TBitmap;

// Tab stops from the first ten strings; a string of digits only gives its number, any other string 0.
std::vector<int> ParseTabStops(const TStrings& AWidths);

class TspListBox : public TListBox {
public:
    explicit TspListBox(TComponent* AOwner);

    // The frame that owns the list; set by the frame right after construction. Until then every message passes.
    TspSkinCustomListBox* SkinListBox = nullptr;
    // Pixels by which images and text are shifted left while the frame's horizontal-extent bar is scrolled.
    Integer FHorizontalExtentValue = 0;

    void WndProc(TMessage& AMessage) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    // The state a row paints with when the list paints itself.
    TOwnerDrawState GetItemState(Integer AIndex);
    // Copies of the frame's client picture over W x H at X, Y (clWindow when the frame is unskinned).
    void PaintListBackground(TCanvas* ACanvas);
    void TileClientPicture(TCanvas* ACanvas, Integer AX, Integer AY, Integer AW, Integer AH);

protected:
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyUp(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
    void DoEnter() override;
    void DoExit() override;
    bool DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos) override;
    // A selection made by the user is the list's click, as the platform reports it.
    void SelectionChanged() override;

public:
    void Click() override;
    // Paints row AIndex in its rectangle on ACanvas by the frame's look.
    void PaintItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState);

private:
    void DrawDefaultItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState);
    void DrawStretchedItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState);
    void DrawSkinItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState);
    // Image and text of a row in T (steps shared by the three looks).
    void DrawImageAndText(TCanvas* ACanvas, Integer AIndex, const TRect& T, const TRect& ATabRect);
    void ApplyItemFont(TCanvas* ACanvas, bool ASkinFont);
    // Font, then OnDrawItem or the focus frame, image and text, on a skinned row's picture of ASize.
    void DrawSkinnedContent(TCanvas* ACanvas, Integer AIndex, const TRect& T, TSize ASize, Integer AItemHeight,
                            TOwnerDrawState AState, TColor AColor);
};
