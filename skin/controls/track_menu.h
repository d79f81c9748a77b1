#pragma once
// The drop-down menu a menu button opens. The skinned popup menus of the forms layer implement it; the button
// only needs to open one against its rectangle and to hear when it closed.
#include "platform/rtl/types.h"
#include "skin/controls/menu_messages.h"

class TControl;


class TspTrackMenu {
public:
    virtual ~TspTrackMenu() = default;
    // Opens the menu below (or above) AScreenRect for AControl, which later gets SKM_CLOSEMENU. False when no menu
    // opened (no items, no skinned form); then no close notification follows.
    virtual bool PopupFromRect(TControl* AControl, const TRect& AScreenRect) = 0;
};
