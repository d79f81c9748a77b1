#pragma once
// The skin core's one-time start: called once from main, before the first form is created, never from a static
// constructor (the choices depend on the display the program opened).

// What the drawing utilities may use; the users of each entry take their fallback when it is off.
struct TspDrawingUtilitiesStart {
    bool MonitorFunctions = false;           // per-monitor work areas; else the single desktop work area
    bool SetLayeredWindowAttributes = false;  // window-wide opacity of layered windows
    bool UpdateLayeredWindow = false;         // per-pixel alpha windows (the glow frames)
    bool NTPlatform = false;                  // wide text drawn directly
    bool DwmApi = false;                      // composition and blur behind windows
};

// Runs the bitmap-and-effects unit's start (pixel kernels, transparent blit, blit table), then fills the drawing
// utilities' entries. Later calls do nothing.
void SkinCoreStartUp();
const TspDrawingUtilitiesStart& DrawingUtilitiesStart();
