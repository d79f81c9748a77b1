#pragma once
// The main-menu bar's block of the gallery: a skinned form whose bar has a menu dropped, a narrow bar that hides
// its last items behind the marker, and an images menu open, in the default look and, given a skin folder, in
// that skin.
#include <string>

// Writes menu-bar-default.png (and menu-bar-skin.png with a skin folder) into AOut; false when a file was not
// written.
bool WriteMenuBarSheets(const std::string& AOut, const std::string& ASkinFolder);
