#pragma once
// What the menu engine tells the control a menu was opened for. The controls open menus, the forms layer runs
// them; both sides take the numbers from here.
#include "platform/rtl/types.h"

// Sent once the menus have closed.
constexpr Cardinal SKM_CLOSEMENU = 1228;
// Sent after a chosen command ran.
constexpr Cardinal SKM_AFTERMENUCOMMAND = 1229;
