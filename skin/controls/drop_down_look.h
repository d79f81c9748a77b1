#pragma once
// The face of a menu button that carries a plain button record: "toolbutton" and "bigtoolbutton" cut each part
// from a whole state picture with every edge stretched, "resizebutton" and "resizetoolbutton" compose each part
// by the record's own nine-piece rules. Split, the face is a main part and a drop-down part of
// kDropDownWidth at the right, each drawn in its own state; otherwise one part covers the button.
#include <string>

#include "platform/rtl/types.h"
#include "skin/controls/button_record.h"

class TBitmap;
class TspSkinData;
class TspDataSkinButtonControl;

constexpr Integer kDropDownWidth = 15;

struct TspDropDownFace {
    bool Split = false;
    TspButtonState Main = TspButtonState::Normal;
    TspButtonState Drop = TspButtonState::Normal;
};

// True for the record names whose drop-down part the button builds itself.
bool IsToolDropDownName(const std::string& AName);
bool IsResizableDropDownName(const std::string& AName);

// Draws the face over the whole of B.
void DrawDropDownFace(TBitmap* B, TspSkinData* ASkinData, const TspDataSkinButtonControl& ARecord, bool AResizable,
                      const TspDropDownFace& AFace);
