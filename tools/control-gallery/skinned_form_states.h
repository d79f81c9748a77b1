#pragma once
#include <string>

// With a skin folder: writes form-states-<w>x<h>-<active|inactive>.png into AOut (ending with the path
// delimiter), the skin's frame on a 400 x 300 and a 560 x 180 form, each active and inactive. Without one, nothing.
bool WriteSkinnedFormStates(const std::string& AOut, const std::string& ASkinFolder);
