#pragma once
#include <string>

// Writes shell-views-plain.png and, with a skin folder, shell-views-skin.png into AOut (ending with the path
// delimiter).
bool WriteShellViewSheets(const std::string& AOut, const std::string& ASkinFolder);
