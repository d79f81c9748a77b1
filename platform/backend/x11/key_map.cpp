#include "platform/backend/x11/key_map.h"

#include "platform/win/keys.h"

#include <X11/keysym.h>

#include <unordered_map>

namespace x11 {

int VirtualKeyFromKeysym(unsigned long AKeysym)
{
    if (AKeysym >= XK_a && AKeysym <= XK_z)
        return static_cast<int>('A' + (AKeysym - XK_a));
    if (AKeysym >= XK_A && AKeysym <= XK_Z)
        return static_cast<int>('A' + (AKeysym - XK_A));
    if (AKeysym >= XK_0 && AKeysym <= XK_9)
        return static_cast<int>('0' + (AKeysym - XK_0));
    if (AKeysym >= XK_F1 && AKeysym <= XK_F24)
        return static_cast<int>(win::VK_F1 + (AKeysym - XK_F1));
    if (AKeysym >= XK_KP_0 && AKeysym <= XK_KP_9)
        return static_cast<int>(0x60 + (AKeysym - XK_KP_0));  // VK_NUMPAD0..9
    static const std::unordered_map<unsigned long, int> keys = {
        {XK_BackSpace, win::VK_BACK}, {XK_Tab, win::VK_TAB}, {XK_ISO_Left_Tab, win::VK_TAB},
        {XK_Return, win::VK_RETURN}, {XK_KP_Enter, win::VK_RETURN}, {XK_Shift_L, win::VK_SHIFT},
        {XK_Shift_R, win::VK_SHIFT}, {XK_Control_L, win::VK_CONTROL}, {XK_Control_R, win::VK_CONTROL},
        {XK_Alt_L, win::VK_MENU}, {XK_Alt_R, win::VK_MENU}, {XK_Meta_L, win::VK_MENU}, {XK_ISO_Level3_Shift, win::VK_MENU},
        {XK_Pause, win::VK_PAUSE}, {XK_Caps_Lock, win::VK_CAPITAL}, {XK_Escape, win::VK_ESCAPE},
        {XK_space, win::VK_SPACE}, {XK_Prior, win::VK_PRIOR}, {XK_Next, win::VK_NEXT}, {XK_End, win::VK_END},
        {XK_Home, win::VK_HOME}, {XK_Left, win::VK_LEFT}, {XK_Up, win::VK_UP}, {XK_Right, win::VK_RIGHT},
        {XK_Down, win::VK_DOWN}, {XK_Insert, win::VK_INSERT}, {XK_Delete, win::VK_DELETE},
        {XK_KP_Prior, win::VK_PRIOR}, {XK_KP_Next, win::VK_NEXT}, {XK_KP_End, win::VK_END},
        {XK_KP_Home, win::VK_HOME}, {XK_KP_Left, win::VK_LEFT}, {XK_KP_Up, win::VK_UP},
        {XK_KP_Right, win::VK_RIGHT}, {XK_KP_Down, win::VK_DOWN}, {XK_KP_Insert, win::VK_INSERT},
        {XK_KP_Delete, win::VK_DELETE}, {XK_Super_L, 0x5B}, {XK_Super_R, 0x5C}, {XK_Menu, 0x5D},
        {XK_KP_Multiply, 0x6A}, {XK_KP_Add, 0x6B}, {XK_KP_Subtract, 0x6D}, {XK_KP_Decimal, 0x6E},
        {XK_KP_Divide, 0x6F}, {XK_Num_Lock, 0x90}, {XK_Scroll_Lock, 0x91}, {XK_Print, 0x2C},
        // Punctuation by the keys of the US layout, as the platform numbers them.
        {XK_semicolon, 0xBA}, {XK_colon, 0xBA}, {XK_equal, 0xBB}, {XK_plus, 0xBB}, {XK_comma, 0xBC},
        {XK_less, 0xBC}, {XK_minus, 0xBD}, {XK_underscore, 0xBD}, {XK_period, 0xBE}, {XK_greater, 0xBE},
        {XK_slash, 0xBF}, {XK_question, 0xBF}, {XK_grave, 0xC0}, {XK_asciitilde, 0xC0},
        {XK_bracketleft, 0xDB}, {XK_braceleft, 0xDB}, {XK_backslash, 0xDC}, {XK_bar, 0xDC},
        {XK_bracketright, 0xDD}, {XK_braceright, 0xDD}, {XK_apostrophe, 0xDE}, {XK_quotedbl, 0xDE},
    };
    auto it = keys.find(AKeysym);
    return it != keys.end() ? it->second : 0;
}

char32_t CharFromKeysym(unsigned long AKeysym)
{
    switch (AKeysym) {
    case XK_BackSpace: return 0x08;
    case XK_Tab: return 0x09;
    case XK_Return: case XK_KP_Enter: return 0x0D;
    case XK_Escape: return 0x1B;
    default: break;
    }
    if ((AKeysym >= 0x20 && AKeysym <= 0x7E) || (AKeysym >= 0xA0 && AKeysym <= 0xFF))
        return static_cast<char32_t>(AKeysym);  // Latin-1 keysyms are their own code points
    if ((AKeysym & 0xFF000000) == 0x01000000)
        return static_cast<char32_t>(AKeysym & 0x00FFFFFF);  // direct Unicode keysyms
    return 0;
}

}  // namespace x11
