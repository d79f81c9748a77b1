#pragma once
// The two records of a run: the events log (time-stamped lines about what the user did and what came of it,
// shown in the "Events Log" dialog) and the logger history (every line of the media engine's logger). Both live
// for the whole run and are read by the error report. User-interface thread only.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TEventsLog {
public:
    // The time of day as the system's long time format writes it; tests pin it.
    using TTimeOfDay = std::function<std::string()>;
    explicit TEventsLog(TTimeOfDay ATimeOfDay = {});

    // The time of day, "-> " and the text.
    void Add(const std::string& AText);
    void AddEmpty();
    // A line of its own, without time and arrow.
    void AddBare(const std::string& AText);

    const std::vector<std::string>& Lines() const { return FLines; }
    // The dialog's memo follows the log through this.
    std::function<void(const std::string& ALine)> OnLineAdded;

private:
    void Append(std::string ALine);
    TTimeOfDay FTimeOfDay;
    std::vector<std::string> FLines;
};

class TLogHistory {
public:
    TLogHistory();
    // A logger line: "#", the thread id, ".", the level's ordinal (0 quiet .. 7 debug), ": " and the message.
    void AddLoggerLine(uint32_t AThreadID, int ALevel, const std::string& AMessage);
    void Add(const std::string& ALine) { FLines.push_back(ALine); }
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    std::vector<std::string> FLines;
};
