#pragma once
// The arithmetic of the player's audio path, free of SDL and of the state record: following a master clock by
// stretching or cutting blocks, the sample ring behind the audio pictures, the wave's trigger point and the
// spectrum's transform.
#include <cstdint>
#include <vector>

// The running average of the difference between the sound's clock and the master clock.
struct TAudioSync {
    double DiffCum = 0;
    double AvgCoef = 0;    // 0.01^(1/20): a measurement weighs 1 % after 20 more
    double Threshold = 0;  // seconds: two device buffers
    int AvgCount = 0;
};

inline constexpr int AUDIO_DIFF_AVG_NB = 20;
inline constexpr int SAMPLE_CORRECTION_PERCENT_MAX = 10;

// The new size of the block of ASize bytes at ASamples (AFrameBytes bytes per sample frame, ARate frames per
// second) for a clock difference of ADiff seconds: cut, or stretched with copies of its last sample frame, by at
// most 10 %, never past ACapacity bytes.
int SynchronizeAudioBlock(TAudioSync& ASync, uint8_t* ASamples, int ASize, int ACapacity, int AFrameBytes,
                          int ARate, double ADiff);

// Appends ACount samples to the ring at AIndex (wrapping); answers the new index.
int AppendSamples(std::vector<int16_t>& ARing, int AIndex, const int16_t* ASamples, int ACount);

// The wave's start in the ring: searching back from AStart over at most 1000 samples, the point with the steepest
// fall across a zero crossing, so that a steady tone stands still on the screen. AStart when none is found.
int WaveTriggerStart(const std::vector<int16_t>& ARing, int AStart, int AChannels);

// The magnitudes of the first ACount / 2 frequency bins of ACount real values (ACount a power of 2).
std::vector<float> SpectrumMagnitudes(const std::vector<float>& AValues);
