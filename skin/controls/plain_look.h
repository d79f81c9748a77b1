#pragma once
// The plain look every skinned control draws when no skin record matches: one palette for parts at rest, hot
// and pressed, black arrows, and embossed disabled text.
#include <string>

#include "platform/gui/graphics.h"
#include "platform/rtl/types.h"

class TCanvas;

enum class TspPartLook { Normal, Hot, Pressed };

constexpr TColor kPlainHotFrame = static_cast<TColor>(0x800000);
constexpr TColor kPlainHotFill = static_cast<TColor>(0xD2BDB6);
constexpr TColor kPlainPressedFrame = static_cast<TColor>(0x800000);
constexpr TColor kPlainPressedFill = static_cast<TColor>(0xB59385);
constexpr TColor kPlainArrowColor = clBlack;

// Pressed only while the pointer is also over the part; hot while it is over it.
TspPartLook PartLookOf(bool ADown, bool AMouseIn);

// A one-pixel frame inside R and the fill of the look.
void DrawPlainPart(TCanvas* ACanvas, const TRect& R, TspPartLook ALook);
// A plain part with a black arrow of the kind (1 left, 2 right, 3 up, 4 down) centred in it.
void DrawPlainArrowButton(TCanvas* ACanvas, const TRect& R, TspPartLook ALook, Integer AArrowKind);

// Disabled text: once one pixel right and down in AHighlight, then in place in AShadow, without background.
void DrawEmbossedText(TCanvas* ACanvas, const std::string& AText, TRect R, Cardinal AFormat,
                      TColor AHighlight = clBtnHighlight, TColor AShadow = clBtnShadow);
