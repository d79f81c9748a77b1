#include "skin/core/skin_startup.h"

#include "skin/core/blit_routines.h"

namespace {

TspDrawingUtilitiesStart& Entries()
{
    static TspDrawingUtilitiesStart entries;
    return entries;
}

bool GStarted = false;

}  // namespace

void SkinCoreStartUp()
{
    if (GStarted) return;
    GStarted = true;
    SkinEffectsUnitStart();
    // Our window layer always offers the monitor and layered-window calls (whether a layered window really shows
    // translucent is the display's business); there is no desktop composition, and text is UTF-8 throughout.
    auto& entries = Entries();
    entries.MonitorFunctions = true;
    entries.SetLayeredWindowAttributes = true;
    entries.UpdateLayeredWindow = true;
    entries.NTPlatform = true;
    entries.DwmApi = false;
}

const TspDrawingUtilitiesStart& DrawingUtilitiesStart() { return Entries(); }
