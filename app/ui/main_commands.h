#pragma once
// The main window's small decisions that need no window: the suite menu by the command line, the web pages its
// Help menu and share buttons open, and where the profile chooser goes above the profile field.
#include <string>

#include "platform/rtl/types.h"

// Without an argument the menu is a "Tools" menu showing the events log; with one it switches to the program
// of that name beside the executable.
struct TSuiteMenu {
    std::string Caption;
    std::string ItemCaption;
    bool SwitchesProgram = false;
};
TSuiteMenu SuiteMenuFor(const std::string& AFirstArgument);

// The web site's pages; the site's address is configuration.
inline constexpr const char* kWebSite = "https://www.brindlewave.example/";
std::string OnlineGuideURL();
std::string SupportURL();
std::string HomePageURL();
std::string FacebookShareURL();
// ATitle with every blank replaced by "+".
std::string TwitterShareURL(const std::string& ATitle);

// The chooser's top-left corner: its bottom-left corner on the field's top-left corner (screen).
TPoint ChooserPosition(TPoint AFieldScreenTopLeft, int AChooserHeight);

// True while the primary mouse button is held: the left one, or the right one when the system swaps them. The
// track bars of the preview and the dialogs ask it while they follow a drag.
bool IsPrimaryButtonDown();

inline constexpr const char* kAudioEditWarning = "Can't edit audio formats. You can click \"Trim\" button.";
