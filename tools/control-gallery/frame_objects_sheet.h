#pragma once
#include <string>

// Writes frame-value-objects.png (a frameless skinned form with value and label objects) and
// form-layered-border.png (the screen with a form and its layered border, on the headless compositor) into AOut,
// which ends with the path delimiter.
bool WriteFrameObjectSheets(const std::string& AOut);
