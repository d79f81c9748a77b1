#pragma once
#include <string>

// Writes form-default.png and, with a skin folder, form-skin.png into AOut (ending with the path delimiter).
bool WriteSkinnedFormSheets(const std::string& AOut, const std::string& ASkinFolder);
