#pragma once
// The context menu the skinned edits and the memo share: the eight items with their enable rules, and where
// the menu opens. Every command goes through the edit's own operations, so a read-only edit drops what edits.
#include <memory>
#include <vector>

#include "platform/gui/control_messages.h"
#include "skin/controls/edit_menu.h"

class TCustomEdit;

// Undo, -, Cut, Copy, Paste, Delete, -, Select All, captioned from ATexts (or the built-in texts).
std::vector<TspEditMenuItem> EditMenuItems(TCustomEdit* AEdit, TspResourceStrData* ATexts);

// The screen point a WM_CONTEXTMENU asks for: its own, or the centre of the edit when it came from the keyboard
// (either coordinate negative).
TPoint EditMenuPoint(TCustomEdit* AEdit, const TMessage& AMessage);

// Replaces AMenu by a new menu for AEdit and shows it at the point of AMessage. ATexts may be nullptr.
void ShowEditMenu(TCustomEdit* AEdit, const TMessage& AMessage, TspResourceStrData* ATexts,
                  std::unique_ptr<TspEditMenu>& AMenu);

// The form whose skinned form runs the edit's menu: the main form for an MDI child, else the edit's form.
TCustomForm* EditMenuForm(TCustomEdit* AEdit);
