#pragma once
// The skinned hint window: sized to its text, framed by the skin's hint picture (nine parts), shaped by the
// skin's mask, optionally translucent and faded in, with an optional bold title line and an image beside the
// text. Every activation reads its settings from the application's active hint component; without one it shows
// nothing.
#include <memory>
#include <string>

#include "platform/gui/bitmap.h"
#include "platform/gui/hint_window.h"
#include "platform/gui/image_list.h"
#include "skin/core/skin_data.h"

class TspSkinHint;
class TTimer;

class TspSkinHintWindow : public THintWindow {
public:
    explicit TspSkinHintWindow(TComponent* AOwner);
    ~TspSkinHintWindow() override;

    // The hint's top-left corner goes to Rect's top-left corner; Rect's size is not used.
    void ActivateHint(const TRect& Rect, const std::string& AHint) override;
    void ActivateHintEx(const TRect& Rect, const std::string& AHintTitle, const std::string& AHint,
                        Integer AImageIndex, TCustomImageList* AImageList);
    // Centred on ARect, below it or (ATop) above it.
    void ActivateHintFromRect(const TRect& ARect, const std::string& AHint, bool ATop);

    // Every ASeparator becomes a line feed and a carriage return; an empty separator changes nothing.
    static std::string ReplaceLineSeparator(const std::string& AText, const std::string& ASeparator);
    // The window size for the current caption (and title and image for the titled look); sets the frame points.
    void CalcHintSize(Integer& W, Integer& H);
    void CalcHintSizeEx(Integer& W, Integer& H);

    // The text area and the frame's corners at the current size.
    TRect NewClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TspSkinData* SkinData() const { return FSD; }
    bool ExtendedStyle() const { return AExtendedStyle; }
    const std::string& Title() const { return FTitle; }
    // The alpha last applied to the window; 255 while it is not layered.
    Byte CurrentAlpha() const { return FAlpha; }
    bool Fading() const;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void Paint() override;
    void WndProc(TMessage& AMessage) override;

private:
    // The settings for this activation; false when no active hint component exists.
    bool FindSettings();
    void PrepareFont(TCanvas* C);
    // The rectangle R moved back into the work area of the active or main form across its right and bottom edges.
    void KeepOnScreen(TRect& R);
    // The window size around a content of AContentW x AContentH (ASkinExtraW wider in a skin frame).
    void FitFrame(Integer AContentW, Integer AContentH, Integer ASkinExtraW, Integer& W, Integer& H);
    void ShowAt(const TRect& R);
    void ApplyAlphaState();
    void StartFade();
    void SetHintRegion();
    void DrawFrame(TBitmap* B);
    void PaintPlain(TBitmap* B);
    void PaintEx(TBitmap* B);
    TBitmap* HintPicture() const;
    TspDataSkinHintWindow* Record() const;

    TspSkinHint* FspHint = nullptr;
    TspSkinData* FSD = nullptr;
    std::unique_ptr<TBitmap> SI;  // the screen under the hint, for blending without layered windows
    win::HRGN FRgn = nullptr;
    bool OldAlphaBlend = false;
    Integer OldAlphaBlendValue = 0;
    bool AExtendedStyle = false;
    bool FBlendWithScreen = false;
    std::string FTitle;
    Integer FImageIndex = 0;
    TCustomImageList* FImageList = nullptr;
    Byte FAlpha = 255;
    TTimer* FFadeTimer = nullptr;
};
