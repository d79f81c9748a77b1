#include "app/events_log.h"

#include "platform/rtl/sysutils.h"

TEventsLog::TEventsLog(TTimeOfDay ATimeOfDay) : FTimeOfDay(std::move(ATimeOfDay))
{
    if (!FTimeOfDay)
        FTimeOfDay = [] { return TimeToStr(Time()); };
}

void TEventsLog::Add(const std::string& AText) { Append(FTimeOfDay() + "-> " + AText); }

void TEventsLog::AddEmpty() { Append(""); }

void TEventsLog::AddBare(const std::string& AText) { Append(AText); }

void TEventsLog::Append(std::string ALine)
{
    FLines.push_back(std::move(ALine));
    if (OnLineAdded)
        OnLineAdded(FLines.back());
}

TLogHistory::TLogHistory() { FLines.push_back("FFLOGGER HISTORY:"); }

void TLogHistory::AddLoggerLine(uint32_t AThreadID, int ALevel, const std::string& AMessage)
{
    FLines.push_back("#" + std::to_string(AThreadID) + "." + std::to_string(ALevel) + ": " + AMessage);
}
