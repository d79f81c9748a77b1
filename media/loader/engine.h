#pragma once
// Start-up and shut-down of the media engine, called once from main around everything else (never from static
// constructors, so the order against the other layers is plain to see).
//
// Start-up creates the loader (looking first in the folder "LibAV" beside the executable) and the interrupt
// registry and sets the floating-point control word FFmpeg's code expects; shut-down restores the word, unloads
// every library and frees what start-up made. No FFmpeg work may run on other threads during either.
void StartMediaEngine();
void StopMediaEngine();
bool MediaEngineStarted();
