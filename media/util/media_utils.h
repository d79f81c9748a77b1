#pragma once
// Small helpers the whole media engine shares: file and size texts, time conversions for file reports, and the
// rule by which engine events reach the main thread.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/sysutils.h"  // FileSizeByName: size of an existing file, -1 when there is none

std::string ExeFileName();
// With a trailing "/".
std::string GetExeFolder();

// Cuts ASource at the first ASeparator (case-sensitive): AHead receives what comes before it, and with ARemove
// ASource keeps what follows it. Without a separator AHead is the whole text (and ASource becomes empty when
// ARemove).
void SplitHead(std::string& ASource, const std::string& ASeparator, bool ARemove, std::string& AHead);

// "1.00 KB"; each bound belongs to the smaller unit ("1024 Byte", "1024.00 KB").
std::string SizeToText(int64_t ASize);

// The local zone's standard offset from UTC in days (daylight saving not applied).
double LocalTimeBiasDays();
// Seconds since 1970 (UTC) to a local date-time (days since 1899-12-30).
double UnixTimeToLocal(int64_t ASeconds);
// The same with the zone rules of that very date, daylight saving included: a date shown to the user.
double UnixTimeToLocalOfDate(int64_t ASeconds);
std::string DateTimeText(const std::string& AFormat, double ADateTime);

// Any thread. Runs AMethod on the main thread and returns once it ran: at once on the main thread, otherwise
// through the main-thread call queue, which the main thread runs from its message loop and its wait loops.
void CallInMainThread(const std::function<void()>& AMethod);
