#pragma once
// Puts the GUI's bitmaps and the preview window behind the transcoder's hooks (media/transcode/transcode_hooks.h).
// A program that uses video hooks, preview bitmaps or the preview window calls this once, before converting.
void InstallHookBitmaps();
