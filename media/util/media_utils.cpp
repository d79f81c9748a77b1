#include "media/util/media_utils.h"

#include <ctime>

#include "media/util/text_format.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/main_thread_queue.h"

std::string ExeFileName() { return GetExecutablePath(); }

std::string GetExeFolder() { return GetExecutableFolder(); }

void SplitHead(std::string& ASource, const std::string& ASeparator, bool ARemove, std::string& AHead)
{
    const size_t at = ASeparator.empty() ? std::string::npos : ASource.find(ASeparator);
    if (at == std::string::npos) {
        AHead = ASource;
        if (ARemove) ASource.clear();
        return;
    }
    AHead = ASource.substr(0, at);
    if (ARemove) ASource.erase(0, at + ASeparator.size());
}

std::string SizeToText(int64_t ASize)
{
    constexpr int64_t K = 1024;
    if (ASize > K * K * K) return StrFormat("%.2f GB", static_cast<double>(ASize) / (K * K * K));
    if (ASize > K * K) return StrFormat("%.2f MB", static_cast<double>(ASize) / (K * K));
    if (ASize > K) return StrFormat("%.2f KB", static_cast<double>(ASize) / K);
    return StrFormat("%lld Byte", static_cast<long long>(ASize));
}

double LocalTimeBiasDays()
{
    tzset();
    // timezone: seconds west of UTC for standard time, the same sign as the bias in minutes.
    return -static_cast<double>(timezone) / 86400.0;
}

double UnixTimeToLocal(int64_t ASeconds)
{
    return static_cast<double>(ASeconds) / 86400.0 + 25569.0 + LocalTimeBiasDays();
}

double UnixTimeToLocalOfDate(int64_t ASeconds)
{
    const auto seconds = static_cast<std::time_t>(ASeconds);
    std::tm parts{};
    if (localtime_r(&seconds, &parts) == nullptr) return UnixTimeToLocal(ASeconds);
    return static_cast<double>(ASeconds + parts.tm_gmtoff) / 86400.0 + 25569.0;
}

std::string DateTimeText(const std::string& AFormat, double ADateTime) { return FormatDateTime(AFormat, ADateTime); }

void CallInMainThread(const std::function<void()>& AMethod) { SynchronizeInMainThread(nullptr, AMethod); }
