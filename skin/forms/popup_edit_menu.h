#pragma once
// The skinned edits' and memo's context menu shown as a skinned popup menu of their form.
// The service is registered with the first menus of a skinned form; the program may register it earlier.
void RegisterSkinEditMenus();
