#pragma once
// Keys of the X keyboard as the platform's virtual-key codes and typed characters.
#include <cstdint>

namespace x11 {

// 0 when the key has no virtual-key code.
int VirtualKeyFromKeysym(unsigned long AKeysym);
// The character a keysym types when the input method gives no text; 0 for keys that type nothing.
char32_t CharFromKeysym(unsigned long AKeysym);

}  // namespace x11
