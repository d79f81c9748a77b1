#pragma once
#include <string>

// Writes mdi-plain.png and mdi-plain-maximized.png and, with a skin folder, mdi-skin.png and mdi-skin-maximized.png
// into AOut (ending with the path delimiter).
bool WriteMdiSheets(const std::string& AOut, const std::string& ASkinFolder);
