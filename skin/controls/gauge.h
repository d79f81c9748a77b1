#pragma once
// The skinned gauge (progress bar): a value between MinValue and MaxValue shown as the filled part of a progress
// area, horizontal (filling from the left) or vertical (from the bottom), with an optional centred text: a fixed
// text and/or a percentage. Drawn from a "gauge" record ("gauge", "vgauge") or in the plain look. It takes no
// input and raises no change event.
#include <functional>
#include <string>

#include "skin/controls/skin_custom_control.h"

// The filled part of R for the value: from the left, or from the bottom when vertical; empty at MinValue and
// when MinValue = MaxValue.
TRect GaugeProgressRect(const TRect& R, Integer AValue, Integer AMin, Integer AMax, bool AVertical);
// ProgressText (when shown) followed directly by the truncated percentage and "%" (when shown).
std::string GaugeText(Integer AValue, Integer AMin, Integer AMax, bool AShowProgressText,
                      const std::string& AProgressText, bool AShowPercent);

// Draws the progress itself (and any text) in place of the gauge; no sender.
using TspGaugePaintEvent =
    std::function<void(TCanvas* Cnvs, const TRect& AProgressArea, const TRect& AProgressRect)>;

class TspSkinGauge : public TspSkinCustomControl {
public:
    explicit TspSkinGauge(TComponent* AOwner);

    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer AValue);
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer AValue);
    Integer Value() const { return FValue; }
    // Clamped to the range; a change repaints, nothing else.
    void SetValue(Integer AValue);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool AValue);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue);
    bool ShowProgressText() const { return FShowProgressText; }
    void SetShowProgressText(bool AValue);
    const std::string& ProgressText() const { return FProgressText; }
    void SetProgressText(const std::string& AValue);
    bool ShowPercent() const { return FShowPercent; }
    void SetShowPercent(bool AValue);
    bool TextAlphaBlend() const { return FTextAlphaBlend; }
    void SetTextAlphaBlend(bool AValue);
    Byte TextAlphaBlendValue() const { return FTextAlphaBlendValue; }
    void SetTextAlphaBlendValue(Byte AValue);
    Integer ProgressAnimationPause() const { return FProgressAnimationPause; }
    // Kept only; negative values are ignored.
    void SetProgressAnimationPause(Integer AValue);

    TspGaugePaintEvent OnGaugePaint;

    void GetSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;
    TRect CalcProgressRect(const TRect& R) const;

    // Copied from a gauge record at every lookup; NewProgressArea is the area at the current size.
    TRect ProgressArea, ProgressRect, NewProgressArea;
    Integer BeginOffset = 0, EndOffset = 0;
    bool ProgressTransparent = false, ProgressStretch = false;
    TColor ProgressTransparentColor = 0;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;

protected:
    void Paint() override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;

private:
    bool TextShown() const { return FShowProgressText || FShowPercent; }
    void DrawProgressText(TCanvas* ACanvas);
    // The progress strip for P, built from ProgressRect; false when the picture's middle part is empty.
    bool DrawProgressStrip(TCanvas* ACanvas, const TRect& P);

    Integer FMinValue = 0, FMaxValue = 100, FValue = 50;
    bool FVertical = false, FUseSkinSize = true;
    bool FShowProgressText = false, FShowPercent = false;
    std::string FProgressText;
    bool FTextAlphaBlend = false;
    Byte FTextAlphaBlendValue = 200;
    Integer FProgressAnimationPause = 1000;
};
