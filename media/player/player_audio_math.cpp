#include "media/player/player_audio.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <cstring>

int SynchronizeAudioBlock(TAudioSync& ASync, uint8_t* ASamples, int ASize, int ACapacity, int AFrameBytes,
                          int ARate, double ADiff)
{
    if (AFrameBytes <= 0 || !(std::fabs(ADiff) < 10.0)) {
        ASync.AvgCount = 0;  // too far apart to follow: start measuring again
        ASync.DiffCum = 0;
        return ASize;
    }
    ASync.DiffCum = ADiff + ASync.AvgCoef * ASync.DiffCum;
    if (ASync.AvgCount < AUDIO_DIFF_AVG_NB) {
        ASync.AvgCount += 1;
        return ASize;
    }
    const double avg = ASync.DiffCum * (1.0 - ASync.AvgCoef);
    if (std::fabs(avg) < ASync.Threshold) return ASize;
    const int frames = ASize / AFrameBytes;
    int wanted = ASize + static_cast<int>(std::lround(ADiff * ARate)) * AFrameBytes;
    const int min = frames * (100 - SAMPLE_CORRECTION_PERCENT_MAX) / 100 * AFrameBytes;
    int max = frames * (100 + SAMPLE_CORRECTION_PERCENT_MAX) / 100 * AFrameBytes;
    max = std::min(max, ACapacity / AFrameBytes * AFrameBytes);
    wanted = std::clamp(wanted, min, std::max(min, max));
    if (wanted > ASize && ASize >= AFrameBytes) {
        const uint8_t* last = ASamples + ASize - AFrameBytes;
        for (uint8_t* at = ASamples + ASize; at < ASamples + wanted; at += AFrameBytes)
            std::memcpy(at, last, static_cast<size_t>(AFrameBytes));
    } else if (wanted > ASize) {
        return ASize;  // nothing to repeat
    }
    return wanted;
}

int AppendSamples(std::vector<int16_t>& ARing, int AIndex, const int16_t* ASamples, int ACount)
{
    const int size = static_cast<int>(ARing.size());
    while (ACount > 0) {
        const int len = std::min(size - AIndex, ACount);
        std::memcpy(ARing.data() + AIndex, ASamples, static_cast<size_t>(len) * sizeof(int16_t));
        ASamples += len;
        AIndex += len;
        if (AIndex >= size) AIndex = 0;
        ACount -= len;
    }
    return AIndex;
}

int WaveTriggerStart(const std::vector<int16_t>& ARing, int AStart, int AChannels)
{
    const int size = static_cast<int>(ARing.size());
    const int c = std::max(AChannels, 1);
    auto at = [&](int AIndex) { return static_cast<int>(ARing[static_cast<size_t>(((AIndex % size) + size) % size)]); };
    int best = INT_MIN;
    int start = AStart;
    for (int i = 0; i < 1000; i += c) {
        const int idx = ((AStart - i) % size + size) % size;
        const int a = at(idx);
        const int b = at(idx + 4 * c);
        const int cc = at(idx + 5 * c);
        const int d = at(idx + 9 * c);
        const int score = a - d;
        if (best < score && (b ^ cc) < 0) {
            best = score;
            start = idx;
        }
    }
    return start;
}

std::vector<float> SpectrumMagnitudes(const std::vector<float>& AValues)
{
    const size_t n = AValues.size();
    std::vector<std::complex<float>> x(AValues.begin(), AValues.end());
    // Iterative radix-2 transform: bit-reversed order, then butterflies.
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const float angle = -2.0f * static_cast<float>(M_PI) / static_cast<float>(len);
        const std::complex<float> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<float> w(1.0f, 0.0f);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<float> u = x[i + k];
                const std::complex<float> v = x[i + k + len / 2] * w;
                x[i + k] = u + v;
                x[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
    std::vector<float> magnitudes(n / 2);
    for (size_t k = 0; k < n / 2; ++k) magnitudes[k] = std::abs(x[k]);
    return magnitudes;
}
