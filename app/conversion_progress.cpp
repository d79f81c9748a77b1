#include "app/conversion_progress.h"

#include <algorithm>

#include "platform/rtl/sysutils.h"

std::optional<TGaugeValues> GaugeValues(const TConversionProgress& AProgress, int ATasksCount)
{
    if (AProgress.TotalDuration <= 0 || ATasksCount <= 0) return std::nullopt;
    if (AProgress.TaskIndex < 0 || AProgress.TaskIndex >= ATasksCount) return std::nullopt;
    // A report may run a little past its expected length (the last packet's duration); the gauges end at 100.
    const int64_t current = std::clamp<int64_t>(AProgress.CurrentDuration, 0, AProgress.TotalDuration);
    TGaugeValues values;
    values.Current = static_cast<int>(current * 100 / AProgress.TotalDuration);
    const double share = 100.0 / ATasksCount;
    values.Total = static_cast<int>(
        Round(share * AProgress.TaskIndex + (share * static_cast<double>(current)) / AProgress.TotalDuration));
    return values;
}

std::string ConvertingLabel(const std::string& ASourceTitleExt, const std::string& ADestinationFileName)
{
    return "Converting \"" + ASourceTitleExt + "\" to \"" + ADestinationFileName + "\"";
}
