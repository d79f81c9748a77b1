#pragma once
// The skinned menus' block of the gallery: a menu with a sub-menu open and an item hot, in the default look and,
// given a skin folder, in that skin.
#include <string>

// Writes menus-default.png (and menus-skin.png with a skin folder) into AOut; false when a file was not written.
bool WriteMenuSheets(const std::string& AOut, const std::string& ASkinFolder);
