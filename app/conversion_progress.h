#pragma once
// What the "Conversion" dialog shows while a run goes on: the two gauges from a progress report, and which file
// is being converted into which.
#include <cstdint>
#include <optional>
#include <string>

// The part of the encoder's progress report the dialog uses (microseconds).
struct TConversionProgress {
    int TaskIndex = 0;
    int64_t CurrentDuration = 0;
    int64_t TotalDuration = 0;
};

// Both gauges, 0..100.
struct TGaugeValues {
    int Current = 0;
    int Total = 0;
};

// The current task's share done and the whole run's, for ATasksCount tasks run one after another. Empty when the
// report cannot be measured (no expected length, no tasks, a task outside the run): the gauges then stay as they
// are rather than show a guess.
std::optional<TGaugeValues> GaugeValues(const TConversionProgress& AProgress, int ATasksCount);

// "Converting "<source>" to "<destination>"".
std::string ConvertingLabel(const std::string& ASourceTitleExt, const std::string& ADestinationFileName);
