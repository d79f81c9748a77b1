#pragma once
// The context menu of the skinned edits and the memo (Undo, Cut, Copy, Paste, Delete, Select All). The skinned
// popup menus of the forms layer implement it and register themselves as the service; without a service, or
// when a form has no skinned form, no menu is shown.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/types.h"
#include "skin/controls/menu_messages.h"

class TControl;
class TCustomForm;
class TspResourceStrData;


struct TspEditMenuItem {
    std::string Caption;  // "-" is a separator
    bool Enabled = true;
    std::function<void()> OnClick;
};

class TspEditMenu {
public:
    virtual ~TspEditMenu() = default;
    // Shows the menu for AControl at a screen point; false when nothing was shown (no skinned form).
    virtual bool Popup2(TControl* AControl, TPoint AScreenPoint) = 0;
};

class TspEditMenuService {
public:
    virtual ~TspEditMenuService() = default;
    // A menu holding the items whose commands belong to AComponentForm (the form whose skinned form shows it).
    virtual std::unique_ptr<TspEditMenu> CreateMenu(TControl* AOwner, TCustomForm* AComponentForm,
                                                    std::vector<TspEditMenuItem> AItems) = 0;
    // The interface texts of the skinned form on AForm; nullptr for the built-in texts.
    virtual TspResourceStrData* FormTexts(TCustomForm* AForm) = 0;
};

// The one service of the program; nullptr (the default) shows no menus.
void SetEditMenuService(TspEditMenuService* AService);
TspEditMenuService* EditMenuService();
