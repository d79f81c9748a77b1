#pragma once
// The two video filters of the application: "nativeeq" (brightness and contrast on the luma plane) and
// "nativehue" (hue rotation and saturation on the chroma planes). Both take two settings in -100..100, either as
// fixed numbers ("nativeeq=20:-10") or as the handles of live cells that a preview's sliders write while it
// plays ("nativeeq=20:-10:<handle>:<handle>"); a setting outside the range is put to the nearest bound, in its
// cell, with an error line in the log.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/filters/native_filter.h"

// The pixel routines, integer arithmetic only. Rows advance by each plane's own line size.
void EqAdjustPlane(uint8_t* APlane, int ALineSize, int AColumns, int ARows, int ABrightness, int AContrast);
void HueAdjustPlanes(uint8_t* AU, int AULineSize, uint8_t* AV, int AVLineSize, int AColumns, int ARows, int AHue,
                     int ASaturation);

// A log line of a filter instance: FFmpeg's level (16 error, 48 debug) and the text with its line feed.
using TNativeFilterLog = std::function<void(int AAVLevel, const std::string& AText)>;

// What both filters share: two cells, their range checks and log lines, the choice to touch pixels at all.
class TTwoSettingFilter : public TNativeFilter {
public:
    int FilterFrame(AVFrame* AFrame) final;
    int32_t First() const { return FFirst->load(std::memory_order_relaxed); }
    int32_t Second() const { return FSecond->load(std::memory_order_relaxed); }
    bool Processes() const { return FProcess; }

protected:
    struct TNames {
        const char* Filter;  // "nativeeq" / "nativehue"
        const char* First;   // "brightness" / "hue"
        const char* Second;  // "contrast" / "saturation"
        const char* Values;  // "brightness:%d, contrast %d\n" / "hue:%d, saturation %d\n"
    };
    // Raises Exception for a field that is not an integer or a handle that names no live cell.
    TTwoSettingFilter(const TNames& ANames, const std::string& AArgs, TNativeFilterLog ALog);
    virtual void Adjust(AVFrame* AFrame, int32_t AFirst, int32_t ASecond) = 0;

private:
    int32_t CheckRange(std::atomic<int32_t>& ACell, const char* AName);
    void LogValues(int32_t AFirst, int32_t ASecond);

    TNames FNames;
    TNativeFilterLog FLog;
    TLiveCell FFirst, FSecond;  // own cells, or live cells shared with their owner
    int32_t FLastFirst = 0, FLastSecond = 0;
    bool FProcess = false;
};

class TEqFilter final : public TTwoSettingFilter {
public:
    TEqFilter(const std::string& AArgs, TNativeFilterLog ALog);

private:
    void Adjust(AVFrame* AFrame, int32_t ABrightness, int32_t AContrast) override;
};

class THueFilter final : public TTwoSettingFilter {
public:
    THueFilter(const std::string& AArgs, TNativeFilterLog ALog);

private:
    void Adjust(AVFrame* AFrame, int32_t AHue, int32_t ASaturation) override;
};

// Register the filters with the media engine by name; calling again is harmless.
void RegisterEqFilter();
void RegisterHueFilter();

// The four live cells of a preview (brightness, contrast, hue, saturation), registered for as long as this
// object lives. The owner keeps it until every player built from its chain text has stopped.
class TLiveAdjustments {
public:
    TLiveAdjustments();
    ~TLiveAdjustments();
    TLiveAdjustments(const TLiveAdjustments&) = delete;
    TLiveAdjustments& operator=(const TLiveAdjustments&) = delete;

    // Called by the user-interface thread as sliders move.
    void SetBrightness(int32_t AValue) { FBrightness->store(AValue, std::memory_order_relaxed); }
    void SetContrast(int32_t AValue) { FContrast->store(AValue, std::memory_order_relaxed); }
    void SetSaturation(int32_t AValue) { FSaturation->store(AValue, std::memory_order_relaxed); }
    int32_t Brightness() const { return FBrightness->load(std::memory_order_relaxed); }
    int32_t Contrast() const { return FContrast->load(std::memory_order_relaxed); }
    int32_t Saturation() const { return FSaturation->load(std::memory_order_relaxed); }

    // "nativeeq=b:c:<handle>:<handle>, nativehue=0:s:<handle>:<handle>" with the current values.
    std::string ChainText() const;

private:
    TLiveCell FBrightness, FContrast, FHue, FSaturation;
    int64_t FHandles[4] = {};
};
